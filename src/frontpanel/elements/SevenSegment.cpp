#include "frontpanel/elements/SevenSegment.h"

#include "core/model/Translator.h"
#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"
#include "widgets/Bitmaps.h"

#include <QPainter>
#include <QResizeEvent>

#include <algorithm>
#include <vector>

namespace {

// Lit segments of the digits 0..9, in the order a b c d e f g.
constexpr uint8_t kPatterns[10][7] = {
    {1, 1, 1, 1, 1, 1, 0}, {0, 1, 1, 0, 0, 0, 0}, {1, 1, 0, 1, 1, 0, 1}, {1, 1, 1, 1, 0, 0, 1},
    {0, 1, 1, 0, 0, 1, 1}, {1, 0, 1, 1, 0, 1, 1}, {1, 0, 1, 1, 1, 1, 1}, {1, 1, 1, 0, 0, 0, 0},
    {1, 1, 1, 1, 1, 1, 1}, {1, 1, 1, 1, 0, 1, 1}};

} // namespace

TLcdDisplay::TLcdDisplay(QWidget* owner)
    : QWidget(owner)
{
    resize(168, 36);
    DrawSegments();
    BisteSeg7 = true;
}

void TLcdDisplay::SetSeg(int index, bool on)
{
    bool& seg = Seg[size_t(index - 1)];
    if (seg == on)
        return;
    seg = on;
    DrawSegments();
}

void TLcdDisplay::DrawSegments()
{
    ++m_rebuilds;
    if (BisteSeg7) {
        m_segmentPictureDue = true;  // a step's change: drawn when painted
        return;
    }
    BuildPictures(10);
}

const QImage& TLcdDisplay::DigitPicture(int i)
{
    BuildDuePictures();
    return m_digits[size_t(i)];
}

void TLcdDisplay::BuildDuePictures()
{
    if (m_segmentPictureDue)
        BuildPictures(1);
}

void TLcdDisplay::BuildPictures(int rows)
{
    m_segmentPictureDue = false;
    const int h = std::max(DigitHeight, 1);
    const int w = std::max(DigitWidth, 1);
    const int l = DigitLineWidth;
    const int m = h / 2;
    const int u = m - l / 2;
    const int v = m + l / 2;
    const QPoint p[14] = {{0, 0},         {w - 1, 0},     {l - 1, l - 1}, {w - l, l - 1}, {0, m},
                          {l - 1, u},     {w - l, u},     {w - 1, m},     {l - 1, v},     {w - l, v},
                          {0, h - 1},     {l - 1, h - l}, {w - l, h - l}, {w - 1, h - 1}};
    // Drawing order: a, f, b, g, e, c, d (as indexes into a..g).
    static constexpr int kOrder[7] = {0, 5, 1, 6, 4, 2, 3};
    const std::vector<QPoint> polygons[7] = {
        {p[0], p[1], p[3], p[2]},             // a
        {p[0], p[2], p[5], p[4]},             // f
        {p[1], p[7], p[6], p[3]},             // b
        {p[4], p[5], p[6], p[7], p[9], p[8]}, // g
        {p[4], p[8], p[11], p[10]},           // e
        {p[7], p[13], p[12], p[9]},           // c
        {p[10], p[11], p[12], p[13]}};        // d
    for (int row = 0; row < rows; ++row) {
        QImage& picture = m_digits[size_t(row)];
        picture = QImage(w, h, QImage::Format_RGB32);
        QPainter painter(&picture);
        TCanvas canvas(&painter);
        canvas.Pen = TCanvasPen{BackgroundColor, 1, Qt::SolidLine, TPenMode::Copy};
        canvas.Brush = TCanvasBrush{BackgroundColor, Qt::SolidPattern};
        canvas.Rectangle(0, 0, w - 1, h - 1);
        for (int k = 0; k < 7; ++k) {
            const int segment = kOrder[k];
            const bool lit = BisteSeg7 ? Seg[size_t(segment)] : kPatterns[row][segment] == 1;
            canvas.Brush.Color = lit ? LightOnColor : LightOffColor;
            canvas.Polygon(polygons[k]);
        }
    }
}

void TLcdDisplay::paintEvent(QPaintEvent*)
{
    if (width() <= 0 || height() <= 0)
        return;
    BuildDuePictures();
    QPainter painter(this);
    const int digits = std::max(NumDigits, 1);
    QString text = QString::number(Value).rightJustified(digits, QLatin1Char('0'));
    const int c = width() / digits;
    const int y = (height() - DigitHeight) / 2;
    int x = (c - DigitWidth) / 2;
    QImage frame(size(), QImage::Format_RGB32);
    frame.fill(TColorToQColor(BackgroundColor));
    QPainter fp(&frame);
    for (int i = 0; i < digits && i < text.size(); ++i, x += c) {
        const int d = text[i].digitValue();
        if (d >= 0)  // a minus sign selects no picture
            fp.drawImage(x, y, m_digits[size_t(BisteSeg7 ? 0 : d)]);
    }
    fp.end();
    // Pixels of the background colour let the parent show through.
    painter.drawImage(0, 0, WithoutKeyColor(frame, QPoint(0, 0)));
}

void TLcdDisplay::SetDigitHeight(int v)
{
    DigitHeight = v;
    DrawSegments();
    update();
}

void TLcdDisplay::SetDigitWidth(int v)
{
    DigitWidth = v;
    DrawSegments();
    update();
}

void TLcdDisplay::SetDigitLineWidth(int v)
{
    DigitLineWidth = v;
    DrawSegments();
    update();
}

void TLcdDisplay::SetDigitSize(int w, int h, int lineWidth)
{
    DigitWidth = w;
    DigitHeight = h;
    DigitLineWidth = lineWidth;
    DrawSegments();
    update();
}

void TLcdDisplay::SetLightOnColor(int32_t c)
{
    LightOnColor = c;
    DrawSegments();
    update();
}

void TLcdDisplay::SetLightOffColor(int32_t c)
{
    LightOffColor = c;
    DrawSegments();
    update();
}

void TLcdDisplay::SetBackgroundColor(int32_t c)
{
    BackgroundColor = c;
    DrawSegments();
}

void TLcdDisplay::SetNumDigits(int n)
{
    NumDigits = std::max(n, 1);
    update();
}

void TLcdDisplay::SetValue(int v)
{
    Value = v;
    update();
}

// --- Element ----------------------------------------------------------------------------------

T7Segment::T7Segment(QWidget* owner)
    : TFP_Element(owner)
{
    BevelOuter = bvNone;
    BevelWidth = 1;
    Display = new TLcdDisplay(this);
    Display->setAttribute(Qt::WA_TransparentForMouseEvents);
    Display->NumDigits = 1;
    Display->SetBackgroundColor(0);
    SetHintergrundFarbe(0);
    BackgroundFromPanel = false;
    setMinimumSize(10, 16);
    Hint = Lang3Q("7-Segment-Anzeige", "7 segment display", "Afficheur 7 segments");
    resize(32, 64);
    FitDisplay();
}

void T7Segment::resizeEvent(QResizeEvent* event)
{
    TFP_Element::resizeEvent(event);
    FitDisplay();
}

void T7Segment::FitDisplay()
{
    const int f = FrameWidth();
    Display->setGeometry(rect().adjusted(f, f, -f, -f));
    Display->SetDigitSize(width() - 2 * f - 4, height() - 2 * f - 4, (height() - 2 * f) / 10 + 2);
}

void T7Segment::SetHintergrundFarbe(int32_t color)
{
    if (Display && Display->BackgroundColor != color)
        Display->SetBackgroundColor(color);
    TFP_Element::SetHintergrundFarbe(color);
}

void T7Segment::WriteElementData(TWriter& writer)
{
    TFP_Element::WriteElementData(writer);
    writer.WriteInteger(width());
    writer.WriteInteger(height());
    writer.WriteRawInt32(Display->LightOnColor);
    writer.WriteRawInt32(Display->LightOffColor);
}

void T7Segment::ReadElementData(TReader& reader, uint8_t version)
{
    TFP_Element::ReadElementData(reader, version);
    const int w = std::clamp(reader.ReadInteger(), 0, 32767);
    const int h = std::clamp(reader.ReadInteger(), 0, 32767);
    resize(w, h);
    FitDisplay();
    Display->SetLightOnColor(reader.ReadRawInt32());
    Display->SetLightOffColor(reader.ReadRawInt32());
}

int T7Segment::EditProperties()
{
    TDefault_Dlg& dlg = Default_Dlg();
    dlg.setWindowTitle(Hint);
    dlg.HelpContext = 18045;
    TPropScrollbox& sheet = *dlg.PropScrollbox;
    int32_t on = Display->LightOnColor;
    int32_t off = Display->LightOffColor;
    sheet.AddColorProp(QStringLiteral("Segment [H]"), on);
    sheet.AddColorProp(QStringLiteral("Segment [L]"), off);
    sheet.AddEditProp(Translate(QStringLiteral("Hinweistext")), Hint, 0, 190);
    if (userEdit)
        sheet.AddCheckProp(Translate(QStringLiteral("Zur Laufzeit einstellbar")), LaufzeitEinstellbar);
    const int result = dlg.Execute();
    if (result == 1) {
        Display->LightOnColor = on;
        Display->LightOffColor = off;
        Display->DrawSegments();
        Display->update();
    }
    return result;
}
