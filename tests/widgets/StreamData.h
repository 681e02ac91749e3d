#pragma once
// Bytes written by a writer and read back by a reader, and plain pictures, for the tests of the
// library's stored formats.

#include "platform/Filer.h"

#include <QBuffer>
#include <QImage>

template <class F>
QByteArray Written(F&& write)
{
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    TWriter writer(buffer);
    write(writer);
    return buffer.data();
}

template <class F>
void ReadFrom(const QByteArray& bytes, F&& read)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    TReader reader(buffer);
    read(reader);
}

inline QImage SolidImage(int w, int h, QRgb color)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(color);
    return image;
}
