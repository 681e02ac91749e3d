#include "ComponentTestSupport.h"

#include "platform/Canvas.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>

TInputs& TInputs::Set(int i, Extended v)
{
    if (!m_sources[i])
        m_sources[i] = std::make_unique<TBauteilPin>();
    m_sources[i]->Value = v;
    m_c.Inputs[i]->SetSource(m_sources[i].get());
    return *this;
}

TInputs& TInputs::Unconnect(int i)
{
    m_c.Inputs[i]->SetSource(nullptr);
    return *this;
}

TDrivers::TDrivers(TIOBauteil& c, bool high)
{
    for (int i = 0; i < c.InputCount; ++i) {
        pins.push_back(std::make_unique<TBauteilPin>());
        if (high)
            pins.back()->Value = 5.0L;
        c.Inputs[i]->SetSource(pins.back().get());
    }
}

void TDrivers::SetNumber(int first, int bits, uint32_t value)
{
    for (int i = 0; i < bits; ++i)
        Set(first + i, (value >> i) & 1u);
}

int TDrivenComponent::LastOutputs(int width) const
{
    int v = 0;
    for (int k = 0; k < width; ++k)
        if (c->Outputs[c->OutputCount - 1 - k]->Value >= 2.5L)
            v |= 1 << k;
    return v;
}

QByteArray Write(TBauteil& c)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    TWriter writer(buffer);
    c.WriteData(writer);
    return data;
}

bool Read(TBauteil& c, QByteArray data, uint8_t version)
{
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    TReader reader(buffer);
    c.ReadData(reader, version);
    return reader.AtEnd();
}

QByteArray ComponentPart(int inputs, int outputs, uint8_t version, bool labelShown)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    TWriter w(buffer);
    w.WriteInteger(0);
    w.WriteInteger(200);
    w.WriteInteger(300);
    w.WriteInteger(inputs);
    w.WriteInteger(outputs);
    w.WriteBoolean(false);
    if (version >= 3) {
        for (int i = 0; i < inputs + outputs; ++i)
            w.WriteBoolean(false);
    }
    if (version >= 40) {
        w.WriteBoolean(labelShown);
        w.WriteString(QStringLiteral("Label"));
    }
    return data;
}

QByteArray SamplingPart(int16_t index, double seconds)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    TWriter w(buffer);
    w.WriteRawReal48(seconds);
    w.WriteRawInt16(index);
    return data;
}

QStringList PinNames(const std::vector<std::unique_ptr<TBauteilPin>>& pins)
{
    QStringList names;
    for (const auto& p : pins)
        names << p->Name();
    return names;
}

QStringList Numbered(const char* prefix, int from, int to)
{
    QStringList names;
    for (int i = from; from <= to ? i <= to : i >= to; i += from <= to ? 1 : -1)
        names << QString::fromLatin1(prefix) + QString::number(i);
    return names;
}

size_t RowCount(QDialog& d)
{
    return static_cast<TDefault_Dlg&>(d).PropScrollbox->Rows().size();
}

TMarkPixels MarkPixels(const QImage& img, const QRect& area)
{
    TMarkPixels n;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor q = img.pixelColor(x, y);
            n.lime += q.green() > 160 && q.red() < 120 && q.blue() < 120;
            n.red += q.red() > 160 && q.green() < 120 && q.blue() < 120;
        }
    }
    return n;
}

TMarkPixels MarkPixelsInBody(TIOBauteil& c)
{
    QImage img(200, 200, QImage::Format_RGB32);
    img.fill(Qt::white);
    QRect body;
    {
        QPainter p(&img);
        TCanvas canvas(&p);
        canvas.SetMapping(4.0, QPoint(c.Body.Left - 100, c.Body.Top - 100));
        c.Paint(canvas);
        body = canvas.LPtoDP(QRect(c.Body.Left, c.Body.Top, c.Body.Right - c.Body.Left,
                                   c.Body.Bottom - c.Body.Top));
    }
    return MarkPixels(img, QRect(QPoint(body.left() + 2, body.top() + 2),
                                 QPoint(body.right() - 3, body.bottom() - 3)));
}

std::vector<Extended> OutputValues(const TIOBauteil& c)
{
    std::vector<Extended> values;
    for (const auto& pin : c.Outputs)
        values.push_back(pin->Value);
    return values;
}
