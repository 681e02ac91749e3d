#pragma once
// Helpers of the element tests: a clean program state, in-memory streams and pictures.

#include "core/board/BoardHooks.h"
#include "core/model/Translator.h"
#include "frontpanel/FP_Element.h"
#include "platform/Colors.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "shell/Composition.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QWidget>

#include <functional>

// Fresh program and front-panel state for every test.
class FrontPanelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetContext();
        ResetFrontPanelState();
        BuildTranslationTable();
        InstallHooks();
    }
    void TearDown() override
    {
        ResetBoardHooks();
        ResetFrontPanelState();
        ResetContext();
    }
};

// The bytes that `write` puts into a stream.
inline QByteArray StreamOf(const std::function<void(TWriter&)>& write)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    TWriter writer(buffer);
    write(writer);
    buffer.close();
    return bytes;
}

// Runs `read` on a reader over the bytes; returns the number of bytes left unread.
inline qint64 ReadStream(const QByteArray& bytes, const std::function<void(TReader&)>& read)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    TReader reader(buffer);
    read(reader);
    return reader.BytesLeft();
}

// The common element data as a project older than version 40 holds them.
inline void OldBase(TWriter& w, uint8_t version)
{
    w.WriteInteger(1);
    w.WriteBoolean(false);
    if (version >= 3) {
        w.WriteInteger(0);
        w.WriteString(QStringLiteral("hint"));
        w.WriteBoolean(false);
    }
}

// The widget painted into an image of its size.
inline QImage Picture(QWidget& widget)
{
    QImage image(widget.size(), QImage::Format_RGB32);
    image.fill(Qt::magenta);
    widget.render(&image);
    return image;
}

// The colour of a pixel as a 0x00BBGGRR value.
inline int32_t PixelAt(const QImage& image, int x, int y)
{
    return QColorToTColor(image.pixelColor(x, y));
}
