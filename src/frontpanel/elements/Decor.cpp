#include "frontpanel/elements/Decor.h"

#include "core/model/Translator.h"
#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "platform/Filer.h"
#include "ui/Formats.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"

#include <QFileInfo>
#include <QPainter>

#include <algorithm>

namespace {

QString Tr(const char* german)
{
    return Translate(QString::fromUtf8(german));
}

TDefault_Dlg& OpenDialog(const QString& caption)
{
    TDefault_Dlg& dlg = Default_Dlg();
    dlg.setWindowTitle(caption);
    dlg.HelpContext = 0;
    return dlg;
}

// Ends every decor dialog: the run-time row when the page is in edit mode.
int RunDialog(TDefault_Dlg& dlg, TFP_Element& element)
{
    if (element.userEdit)
        dlg.PropScrollbox->AddCheckProp(Tr("Zur Laufzeit einstellbar"), element.LaufzeitEinstellbar);
    return dlg.Execute();
}

void WriteSize(TWriter& writer, const QWidget& w)
{
    writer.WriteRawInt16(int16_t(w.width()));
    writer.WriteRawInt16(int16_t(w.height()));
}

QSize ReadSize(TReader& reader)
{
    const int w = std::max<int>(reader.ReadRawInt16(), 0);
    const int h = std::max<int>(reader.ReadRawInt16(), 0);
    return {w, h};
}

// The font as the project stores it: name (31 characters), height, style bits.
void WriteFont(TWriter& writer, const QFont& f)
{
    writer.WriteRawShortString(f.family(), 31);
    writer.WriteRawInt16(int16_t(TFP_Element::FontHeightOf(f)));
    writer.WriteRawByte(uint8_t((f.bold() ? 1 : 0) | (f.italic() ? 2 : 0) | (f.underline() ? 4 : 0) |
                                (f.strikeOut() ? 8 : 0)));
}

QFont ReadFont(TReader& reader, QFont f)
{
    const QString family = reader.ReadRawShortString(31);
    if (!family.isEmpty())
        f.setFamily(family);
    TFP_Element::SetFontHeight(f, reader.ReadRawInt16());
    const uint8_t style = reader.ReadRawByte();
    f.setBold(style & 1);
    f.setItalic(style & 2);
    f.setUnderline(style & 4);
    f.setStrikeOut(style & 8);
    return f;
}

bool OwnBackground(const TFP_Element& e)
{
    return !e.GetBisteTransparent() && !e.BackgroundFromPanel;
}

} // namespace

// --- Scale ------------------------------------------------------------------------------------

TSkale::TSkale(QWidget* owner)
    : TFP_Element(owner)
{
    resize(200, 30);
}

void TSkale::SetSKTeile(int n)
{
    SKTeile = int16_t(std::clamp(n, 1, 100));
    update();
}

void TSkale::SetSKGrossSchritt(int n)
{
    SKGrossSchritt = int16_t(std::clamp(n, 1, 100));
    update();
}

void TSkale::SetSKGrossStart(int n)
{
    SKGrossStart = int16_t(std::clamp(n, 1, 100));
    update();
}

void TSkale::SetSKOrientierung(TOrientierung o)
{
    SKOrientierung = o;
    update();
}

int TSkale::MarkPosition(int i) const
{
    const int f = FrameWidth();
    const bool horizontal = SKOrientierung == rechts || SKOrientierung == links;
    const int extent = horizontal ? height() : width();
    return f + ((extent - 2 * f - 1) * (i - 1)) / std::max<int>(SKTeile, 1);
}

bool TSkale::IsLongMark(int i) const
{
    return i >= SKGrossStart && SKGrossSchritt > 0 && (i - SKGrossStart) % SKGrossSchritt == 0;
}

void TSkale::Paint(TCanvas& canvas)
{
    TFP_Element::Paint(canvas);
    const int f = FrameWidth();
    const int w = width();
    const int h = height();
    canvas.Pen = TCanvasPen{SKFarbe, 1, Qt::SolidLine, TPenMode::Copy};
    auto line = [&](int x1, int y1, int x2, int y2) {
        canvas.MoveTo(x1, y1);
        canvas.LineTo(x2, y2);
    };
    for (int i = 1; i <= SKTeile + 1; ++i) {
        const int p = MarkPosition(i);
        const bool isLong = IsLongMark(i);
        switch (SKOrientierung) {
        case rechts:
            if (isLong)
                line(f, p, w - f, p);
            line(f, p, w / 2, p);
            break;
        case links:
            if (isLong)
                line(f, p, w - f, p);
            line(w - f, p, w / 2, p);
            break;
        case oben:
            if (isLong)
                line(p, f, p, h - f);
            line(p, h - f, p, h / 2);
            break;
        case unten:
            if (isLong)
                line(p, f, p, h - f);
            line(p, f, p, h / 2);
            break;
        }
    }
}

int TSkale::EditProperties()
{
    TDefault_Dlg& dlg = OpenDialog(Tr("Skale"));
    TPropScrollbox& sheet = *dlg.PropScrollbox;
    int32_t orientation = SKOrientierung;
    sheet.AddComboProp(Tr("Orientierung"), orientation, {Tr("Rechts"), Tr("Links"), Tr("Auf"), Tr("Ab")}, 120);
    int32_t divisions = SKTeile;
    int32_t step = SKGrossSchritt;
    int32_t start = SKGrossStart;
    sheet.AddSpinProp(Tr("Teilungen"), divisions, 1, 100, 64);
    sheet.AddSpinProp(Tr("Abstand"), step, 1, 100, 64);
    sheet.AddSpinProp(Tr("Start"), start, 1, 100, 64);
    sheet.AddColorProp(Tr("Farbe"), SKFarbe);
    int32_t background = HintergrundFarbe;
    if (OwnBackground(*this))
        sheet.AddColorProp(Tr("Hintergrund"), background);
    const int result = RunDialog(dlg, *this);
    if (result == 1) {
        SetSKTeile(divisions);
        SetSKGrossSchritt(step);
        SetSKGrossStart(start);
        if (OwnBackground(*this))
            SetHintergrundFarbe(background);
        const auto o = TOrientierung(std::clamp(orientation, 0, 3));
        const bool wasHorizontal = SKOrientierung == rechts || SKOrientierung == links;
        if (wasHorizontal != (o == rechts || o == links))
            resize(height(), width());
        SetSKOrientierung(o);
    }
    update();
    return result;
}

void TSkale::WriteElementData(TWriter& writer)
{
    TFP_Element::WriteElementData(writer);
    writer.WriteRawInt16(SKTeile);
    writer.WriteRawInt16(SKGrossStart);
    writer.WriteRawInt16(SKGrossSchritt);
    writer.WriteRawByte(SKOrientierung);
    WriteSize(writer, *this);
    writer.WriteInteger(SKFarbe);
}

void TSkale::ReadElementData(TReader& reader, uint8_t version)
{
    TFP_Element::ReadElementData(reader, version);
    SetSKTeile(reader.ReadRawInt16());
    SetSKGrossStart(reader.ReadRawInt16());
    SetSKGrossSchritt(reader.ReadRawInt16());
    const uint8_t o = reader.ReadRawByte();
    SKOrientierung = o <= unten ? TOrientierung(o) : oben;
    const QSize size = ReadSize(reader);
    if (version > 39)
        SKFarbe = reader.ReadInteger();
    resize(size);
}

// --- Label ------------------------------------------------------------------------------------

TBeschriftung::TBeschriftung(QWidget* owner)
    : TFP_Element(owner)
{
    QFont f(QStringLiteral("Arial"));
    f.setPointSize(9);
    setFont(f);
    FontColor = 0;
    resize(60, 20);
    BackgroundFromPanel = true;
    HintergrundFarbe = FPState().DesignPanelColor;
}

void TBeschriftung::Paint(TCanvas& canvas)
{
    TFP_Element::Paint(canvas);
    const int f = FrameWidth();
    canvas.Painter()->save();
    canvas.Painter()->setClipRect(QRect(f, f, width() - 2 * f, height() - 2 * f), Qt::IntersectClip);
    canvas.TransparentText = true;
    canvas.Font = font();
    canvas.FontColor = FontColor;
    const int tw = canvas.TextWidth(Text);
    const int y = (height() - canvas.TextHeight(Text)) / 2;
    const int x = Alignment == Left ? f : Alignment == Right ? width() - f - tw : (width() - tw) / 2;
    canvas.TextOut(x, y, Text);
    canvas.Painter()->restore();
}

int TBeschriftung::EditProperties()
{
    TDefault_Dlg& dlg = OpenDialog(Tr("Text"));
    TPropScrollbox& sheet = *dlg.PropScrollbox;
    QString text = Text;
    sheet.AddEditProp(Tr("Text"), text, 60, 190);
    QFont f = font();
    sheet.AddFontNameProp(Tr("Schriftart"), f);
    sheet.AddFontStyleProp(Tr("Stil"), f);
    int32_t colour = FontColor;
    sheet.AddColorProp(Tr("Farbe"), colour);
    int32_t background = HintergrundFarbe;
    if (OwnBackground(*this))
        sheet.AddColorProp(Tr("Hintergrund"), background);
    // List order: left, centre, right.
    int32_t alignment = Alignment == Left ? 0 : Alignment == Center ? 1 : 2;
    sheet.AddComboProp(Tr("Ausrichtung"), alignment, {Tr("Links"), Tr("Mitte"), Tr("Rechts")}, 80);
    const int result = RunDialog(dlg, *this);
    if (result == 1) {
        SetText(text);
        setFont(f);
        FontColor = colour;
        if (OwnBackground(*this))
            SetHintergrundFarbe(background);
        static constexpr TAlignment kOrder[] = {Left, Center, Right};
        Alignment = kOrder[std::clamp(alignment, 0, 2)];
    }
    update();
    return result;
}

void TBeschriftung::WriteElementData(TWriter& writer)
{
    TFP_Element::WriteElementData(writer);
    WriteFont(writer, font());
    writer.WriteRawInt32(FontColor);
    writer.WriteRawInt32(Alignment);
    writer.WriteRawShortString(Text, 60);
    WriteSize(writer, *this);
}

void TBeschriftung::ReadElementData(TReader& reader, uint8_t version)
{
    TFP_Element::ReadElementData(reader, version);
    setFont(ReadFont(reader, font()));
    FontColor = reader.ReadRawInt32();
    const int32_t alignment = reader.ReadRawInt32();
    if (version > 2 && alignment >= Left && alignment <= Center)
        Alignment = TAlignment(alignment);
    Text = reader.ReadRawShortString(60);
    resize(ReadSize(reader));
}

// --- Frame ------------------------------------------------------------------------------------

TRahmen::TRahmen(QWidget* owner)
    : TFP_Element(owner)
{
    BackgroundFromPanel = true;
}

void TRahmen::Paint(TCanvas& canvas)
{
    TFP_Element::Paint(canvas);
    const int32_t light = ColorToRGB(clBtnHighlight);
    const int32_t shadow = ColorToRGB(clBtnShadow);
    const int32_t first = Style == bsLowered ? shadow : light;
    const int32_t second = Style == bsLowered ? light : shadow;
    const int r = width() - 1;
    const int b = height() - 1;
    auto line = [&](int32_t colour, int x1, int y1, int x2, int y2) {
        canvas.Pen = TCanvasPen{colour, 1, Qt::SolidLine, TPenMode::Copy};
        canvas.MoveTo(x1, y1);
        canvas.LineTo(x2, y2);
    };
    // A box: the top and left edges in the first colour, bottom and right in the second; a
    // frame: the same twice, one pixel apart, the inner one turned; a line: two lines.
    auto box = [&](int x0, int y0, int x1, int y1, int32_t tl, int32_t br) {
        line(tl, x0, y1, x0, y0);
        line(tl, x0, y0, x1 + 1, y0);
        line(br, x1, y0 + 1, x1, y1);
        line(br, x1, y1, x0 - 1, y1);
    };
    switch (Shape) {
    case bsBox: box(0, 0, r, b, first, second); break;
    case bsFrame:
        box(0, 0, r - 1, b - 1, first, first);
        box(1, 1, r, b, second, second);
        break;
    case bsTopLine:
        line(first, 0, 0, r + 1, 0);
        line(second, 0, 1, r + 1, 1);
        break;
    case bsBottomLine:
        line(first, 0, b - 1, r + 1, b - 1);
        line(second, 0, b, r + 1, b);
        break;
    case bsLeftLine:
        line(first, 0, 0, 0, b + 1);
        line(second, 1, 0, 1, b + 1);
        break;
    case bsRightLine:
        line(first, r - 1, 0, r - 1, b + 1);
        line(second, r, 0, r, b + 1);
        break;
    }
}

int TRahmen::EditProperties()
{
    TDefault_Dlg& dlg = OpenDialog(Tr("Rahmen"));
    TPropScrollbox& sheet = *dlg.PropScrollbox;
    // List entries in their order, as shapes.
    static constexpr TShape kShapes[] = {bsFrame, bsBox, bsLeftLine, bsRightLine, bsTopLine, bsBottomLine};
    int32_t shape = int32_t(std::find(std::begin(kShapes), std::end(kShapes), Shape) - std::begin(kShapes));
    const QString line = Tr("Linie") + QLatin1Char(' ');
    sheet.AddComboProp(Tr("Stil"), shape,
                       {Tr("Rahmen"), Tr("Panel"), line + Tr("Links"), line + Tr("Rechts"), line + Tr("Oben"),
                        line + Tr("Unten")},
                       130);
    int32_t style = Style == bsRaised ? 0 : 1;
    sheet.AddComboProp(Tr("Linie"), style, {Tr("Erhöhung"), Tr("Vertiefung")}, 130);
    const int result = RunDialog(dlg, *this);
    if (result == 1) {
        Shape = kShapes[std::clamp(shape, 0, 5)];
        Style = style == 0 ? bsRaised : bsLowered;
    }
    update();
    return result;
}

void TRahmen::WriteElementData(TWriter& writer)
{
    TFP_Element::WriteElementData(writer);
    WriteSize(writer, *this);
    writer.WriteRawByte(Shape);
    writer.WriteRawByte(Style);
}

void TRahmen::ReadElementData(TReader& reader, uint8_t version)
{
    TFP_Element::ReadElementData(reader, version);
    resize(ReadSize(reader));
    const uint8_t shape = reader.ReadRawByte();
    const uint8_t style = reader.ReadRawByte();
    Shape = shape <= bsRightLine ? TShape(shape) : bsBox;
    Style = style == bsRaised ? bsRaised : bsLowered;
}

// --- Picture ----------------------------------------------------------------------------------

TLogo::TLogo(QWidget* owner)
    : TFP_Element(owner)
{
    Hint = QStringLiteral("Bitmap");
    LoadPicture();
}

void TLogo::LoadPicture()
{
    BildDatei = FindDataFile(BildDatei);
    Picture = QImage();
    if (!BildDatei.isEmpty() && QFileInfo::exists(BildDatei))
        Picture.load(BildDatei);
    if (Picture.isNull()) {
        Picture = QImage(40, 40, QImage::Format_RGB32);
        Picture.fill(Qt::white);
        QPainter p(&Picture);
        p.setPen(Qt::black);
        p.drawRect(0, 0, 39, 39);
        p.drawLine(0, 0, 39, 39);
        p.drawLine(0, 39, 39, 0);
        p.end();
        FitToPicture();
    }
    update();
}

void TLogo::FitToPicture()
{
    const int f2 = 2 * FrameWidth();
    resize(Picture.width() + f2, Picture.height() + f2);
}

void TLogo::Paint(TCanvas& canvas)
{
    TFP_Element::Paint(canvas);
    const int f = FrameWidth();
    canvas.Painter()->drawImage(QRect(f, f, width() - 2 * f, height() - 2 * f), Picture);
}

int TLogo::EditProperties()
{
    TDefault_Dlg& dlg = OpenDialog(Hint);
    TPropScrollbox& sheet = *dlg.PropScrollbox;
    QString file = BildDatei;
    sheet.AddFileProp(QStringLiteral("Bitmap"), file, 255, 300,
                      QStringLiteral("Bitmap (*.bmp)|*.bmp|Bitmap (*.gif)|*.gif|Bitmap (*.jpg)|*.jpg"),
                      QStringLiteral("BMP"));
    bool oneToOne = false;
    sheet.AddCheckProp(Tr("Grösse") + QStringLiteral(" 1:1"), oneToOne);
    const int result = RunDialog(dlg, *this);
    if (result == 1) {
        BildDatei = file;
        LoadPicture();
        if (oneToOne)
            FitToPicture();
        update();
    }
    return result;
}

void TLogo::EditFrameAndBackground()
{
    TFP_Element::EditFrameAndBackground();
    FitToPicture();
}

void TLogo::WriteElementData(TWriter& writer)
{
    TFP_Element::WriteElementData(writer);
    writer.WriteRawShortString(BildDatei, 255);
    WriteSize(writer, *this);
}

void TLogo::ReadElementData(TReader& reader, uint8_t version)
{
    TFP_Element::ReadElementData(reader, version);
    BildDatei = reader.ReadRawShortString(255);
    const QSize size = ReadSize(reader);
    if (size.width() != 0 && size.height() != 0) {
        const QSize kept = this->size();
        LoadPicture();
        // The size comes from the base data; the placeholder does not change it.
        resize(kept);
    }
}

// --- Shape ------------------------------------------------------------------------------------

TFlaeche::TFlaeche(QWidget* owner)
    : TFP_Element(owner)
{
}

void TFlaeche::Paint(TCanvas& canvas)
{
    TFP_Element::Paint(canvas);
    int x0 = 0, y0 = 0, x1 = width(), y1 = height();
    const int pw = PenWidth;
    // The pen lies inside the area.
    x0 += pw / 2;
    y0 += pw / 2;
    x1 -= (pw - 1) / 2;
    y1 -= (pw - 1) / 2;
    if (Shape == stSquare || Shape == stRoundSquare || Shape == stCircle) {
        const int side = std::min(x1 - x0, y1 - y0);
        x0 += (x1 - x0 - side) / 2;
        y0 += (y1 - y0 - side) / 2;
        x1 = x0 + side;
        y1 = y0 + side;
    }
    canvas.Pen = TCanvasPen{PenColor, pw, pw == 0 ? Qt::NoPen : Qt::SolidLine, TPenMode::Copy};
    canvas.Brush = TCanvasBrush{FillColor, Qt::SolidPattern};
    switch (Shape) {
    case stEllipse:
    case stCircle: canvas.Ellipse(x0, y0, x1, y1); break;
    case stRoundRect:
    case stRoundSquare: {
        const int r = std::min(x1 - x0, y1 - y0) / 4;
        canvas.Painter()->save();
        canvas.Painter()->setPen(pw == 0 ? QPen(Qt::NoPen) : QPen(TColorToQColor(PenColor), pw));
        canvas.Painter()->setBrush(TColorToQColor(FillColor));
        canvas.Painter()->drawRoundedRect(QRect(x0, y0, x1 - x0 - 1, y1 - y0 - 1), r, r);
        canvas.Painter()->restore();
        break;
    }
    default: canvas.Rectangle(x0, y0, x1, y1); break;
    }
}

int TFlaeche::EditProperties()
{
    TDefault_Dlg& dlg = OpenDialog(Tr("Fläche"));
    TPropScrollbox& sheet = *dlg.PropScrollbox;
    // List entries in their order, as shape types.
    static constexpr TShapeType kShapes[] = {stCircle, stEllipse, stRectangle, stRoundRect, stSquare, stRoundSquare};
    int32_t shape = int32_t(std::find(std::begin(kShapes), std::end(kShapes), Shape) - std::begin(kShapes));
    sheet.AddComboProp(Tr("Stil"), shape,
                       {Tr("Kreis"), Tr("Ellipse"), Tr("Rechteck"), Tr("Rechteck, abgerundet"), Tr("Quadrat"),
                        Tr("Quadrat, abgerundet")},
                       130);
    int32_t pen = PenWidth;
    sheet.AddSpinProp(Tr("Stiftbreite"), pen, 0, 20, 64);
    int32_t penColour = PenColor;
    int32_t fill = FillColor;
    sheet.AddColorProp(Tr("Stiftfarbe"), penColour);
    sheet.AddColorProp(Tr("Füllfarbe"), fill);
    const int result = RunDialog(dlg, *this);
    if (result == 1) {
        Shape = kShapes[std::clamp(shape, 0, 5)];
        PenWidth = int16_t(std::clamp(pen, 0, 20));
        PenColor = penColour;
        FillColor = fill;
    }
    update();
    return result;
}

void TFlaeche::WriteElementData(TWriter& writer)
{
    TFP_Element::WriteElementData(writer);
    writer.WriteRawByte(Shape);
    writer.WriteRawInt32(FillColor);
    writer.WriteRawInt32(PenColor);
    writer.WriteRawInt16(PenWidth);
    WriteSize(writer, *this);
}

void TFlaeche::ReadElementData(TReader& reader, uint8_t version)
{
    TFP_Element::ReadElementData(reader, version);
    const uint8_t shape = reader.ReadRawByte();
    Shape = shape <= stCircle ? TShapeType(shape) : stRectangle;
    FillColor = reader.ReadRawInt32();
    PenColor = reader.ReadRawInt32();
    PenWidth = int16_t(std::clamp<int>(reader.ReadRawInt16(), 0, 20));
    resize(ReadSize(reader));
}
