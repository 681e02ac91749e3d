#pragma once
// A small picture to paint on and read back: white paper unless told, a canvas in pixels.

#include "platform/Canvas.h"
#include "platform/Colors.h"

#include <QImage>
#include <QPainter>
#include <memory>

struct Surface {
    explicit Surface(int w = 80, int h = 80, int32_t paper = clWhite)
        : image(w, h, QImage::Format_RGB32)
    {
        image.fill(TColorToQColor(paper));
        painter = std::make_unique<QPainter>(&image);
        canvas = std::make_unique<TCanvas>(painter.get());
    }
    // Ends painting; px reads the finished picture.
    void Done() { canvas.reset(); painter.reset(); }
    int32_t px(int x, int y)
    {
        if (painter)
            Done();
        return QColorToTColor(image.pixelColor(x, y));
    }
    QImage image;
    std::unique_ptr<QPainter> painter;
    std::unique_ptr<TCanvas> canvas;
};

inline int32_t Rgb(int32_t color) { return ColorToRGB(color); }
