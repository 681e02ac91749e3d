#pragma once
// Drawing surface of board items and front-panel elements: a thin layer over QPainter with the
// calls the items use and the isotropic board mapping (254 board units = round(16 x Zoom) px).

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QRect>
#include <QString>
#include <cstdint>
#include <vector>

class QPainter;
class QPaintDevice;

// How pen and brush combine with the surface: plain copy, XOR, or NOT-XOR (the complement of
// the XOR, so that drawing twice restores the surface in both XOR modes). The XOR modes need a
// raster surface (QImage, QPixmap, widget).
enum class TPenMode { Copy, Xor, NotXor };

// Pen and brush in the system's own terms; colours are 0x00BBGGRR integers (see Colors.h).
// The pen width is in logical units like every other length: on a mapped canvas it scales with
// the zoom; 0 and anything that maps below one pixel draw one pixel wide. A dashed or dotted pen
// wider than one pixel draws solid.
struct TCanvasPen {
    int32_t Color = 0;
    int Width = 1;
    Qt::PenStyle Style = Qt::SolidLine;
    TPenMode Mode = TPenMode::Copy;
};

struct TCanvasBrush {
    int32_t Color = 0xFFFFFF;
    Qt::BrushStyle Style = Qt::SolidPattern;
};

class TCanvas {
public:
    // Paints on an existing painter (not owned). Without a painter the canvas only maps
    // coordinates and measures text (hit tests work without painting).
    explicit TCanvas(QPainter* painter = nullptr);
    ~TCanvas();

    QPainter* Painter() const { return m_painter; }

    // Board mapping. Zoom 1.0 shows 254 board units as 16 pixels; the origin is the board point
    // shown at device (0, 0). With V = round(16 x zoom) (at least 1):
    //   device  = round((logical - origin) x V / 254)
    //   logical = round(device x 254 / V) + origin
    // each "round" to the nearest integer, halves to even. Lengths map the same way without the
    // origin. Rectangles are Qt's (right = left + width - 1): their left/top corner and their
    // exclusive right/bottom edge are mapped as points.
    void SetMapping(double zoom, QPoint boardOrigin = QPoint(0, 0));
    void SetIdentityMapping();       // logical units are pixels
    bool IsMapped() const { return m_mapped; }
    double Zoom() const { return m_zoom; }
    QPoint LPtoDP(QPoint p) const;   // board units to pixels
    QPoint DPtoLP(QPoint p) const;   // pixels to board units
    QRect LPtoDP(const QRect& r) const;
    QRect DPtoLP(const QRect& r) const;
    int LengthToDP(int boardUnits) const;
    int LengthToLP(int pixels) const;
    // The clip rectangle of the painter (or the whole device when it has none), in logical
    // units; empty without a painter.
    QRect ClipRect() const;

    TCanvasPen Pen;
    TCanvasBrush Brush;
    // Family, style and size of text. The size is in logical units: its pixel size (or its point
    // size at 96 points per 72 pixels) is the character height (em), scaled by the mapping when
    // one is set. SetFontHeight sets it the class library's way.
    QFont Font;
    int32_t FontColor = 0;
    bool TransparentText = true;    // else the text cell is filled with the brush colour first

    // Font height in logical units, the class library's convention: a positive height is the
    // height of the text cell (ascent + descent), a negative one the character height. 0 counts
    // as 1. FontHeight gives back the height last set as long as Font's size was not changed
    // since; otherwise the cell height of Font's size.
    void SetFontHeight(int height);
    int FontHeight() const;

    // Drawing. Coordinates are logical; rectangles given by two corners follow the GDI rules:
    // the right and bottom edges are exclusive. Rectangle fills with the brush and outlines with
    // the pen (with no pen the fill leaves out the right column and bottom row, as GDI does);
    // Ellipse fits the same box; Polygon fills alternate (even-odd); FillRect fills with the
    // brush only. MoveTo/LineTo keep a pen position; LineTo draws up to and including its end
    // point when the pen is wider than one pixel, and up to the pixel before it otherwise.
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    QPoint PenPos() const { return m_penPos; }
    void Rectangle(int x1, int y1, int x2, int y2);
    void Ellipse(int x1, int y1, int x2, int y2);
    void Polygon(const std::vector<QPoint>& points);
    void Polyline(const std::vector<QPoint>& points);
    void FillRect(const QRect& r);                 // Qt's rectangle: all of r's pixels
    void FillRect(int x1, int y1, int x2, int y2);  // right and bottom exclusive
    // Text with its cell's top-left corner at (x, y) in FontColor; the pen position moves to the
    // end of the text.
    void TextOut(int x, int y, const QString& text);
    // The same, the text turned counter-clockwise by `angle` degrees about (x, y).
    void TextOutRotated(int x, int y, const QString& text, double angle);
    int TextWidth(const QString& text) const;   // in logical units
    int TextHeight(const QString& text) const;  // in logical units

private:
    void applyPen();
    void applyBrush();
    int deviceX(int x) const;
    int deviceY(int y) const;
    QRect deviceBox(int x1, int y1, int x2, int y2) const;
    QFont deviceFont() const;
    void drawText(QPoint device, const QString& text, double angle);
    QPainter* m_painter;
    int m_viewportExt = 254;        // round(16 x zoom); equals the window extent when unmapped
    int m_fontHeight = 0;           // last SetFontHeight value (0: none)
    int m_fontHeightPx = -1;        // Font's pixel size that SetFontHeight gave
    bool m_mapped = false;
    double m_zoom = 1.0;
    QPoint m_origin;
    QPoint m_penPos;
};
