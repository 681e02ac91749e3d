#include "frontpanel/elements/NumDisplay.h"

#include "frontpanel/elements/PanelRepaint.h"
#include "core/model/Translator.h"
#include "platform/Canvas.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"
#include "widgets/Gradient.h"
#include "widgets/LEDLabel.h"

#include <QFontMetrics>
#include <QPainter>
#include <QResizeEvent>

#include <algorithm>
#include <cmath>

namespace {

QString Tr(const char* german)
{
    return Translate(QString::fromUtf8(german));
}

// A unit no shown unit equals: the next update repaints the unit.
const QString kNoUnit = QString(7, QChar(0xA7));

struct TPrefix {
    double limit;
    double factor;
    const char* prefix;
};

// SI prefix and scaled value for AutoRange: the first line whose limit the magnitude reaches.
void ScaleToPrefix(double v, double& scaled, QString& prefix)
{
    static const TPrefix table[] = {{1e9, 1e9, "G"},  {1e6, 1e6, "M"},     {1000, 1000, "k"},
                                    {1, 1, ""},       {0.001, 0.001, "m"}, {1e-6, 1e-6, "\u00B5"},
                                    {1e-9, 1e-9, "n"}};
    const double a = std::fabs(v);
    if (!(a > 1e-12)) {
        scaled = 0;
        prefix.clear();
        return;
    }
    for (const TPrefix& p : table)
        if (a >= p.limit) {
            scaled = v / p.factor;
            prefix = QString::fromUtf8(p.prefix);
            return;
        }
    scaled = v / 1e-12;
    prefix = QStringLiteral("p");
}

} // namespace

TNumDisplay::TNumDisplay(QWidget* owner)
    : TFP_Element(owner)
{
    Zahlenformat.Options = TFormatOptions{TFormatOption::Float};
    Zahlenformat.Digits = 6;
    Zahlenformat.Decimals = 2;
    HintergrundFarbe = 0xC0C0C0;
    BevelOuter = bvLowered;
    BevelWidth = 2;
    QFont f(QStringLiteral("Arial"));
    f.setBold(true);
    SetFontHeight(f, -20);
    setFont(f);
    FontColor = 0;
    resize(160, 32);
    Hint = Lang3Q("Anzeige", "Display", "Afficheur");
    setFocusPolicy(Qt::NoFocus);
    MeasureCells();
}

TNumDisplay::~TNumDisplay() = default;

void TNumDisplay::MeasureCells()
{
    const QFontMetrics m(font());
    int w = 0;
    for (char c = '0'; c <= '9'; ++c)
        w = std::max(w, int(1.1 * m.horizontalAdvance(QLatin1Char(c))));
    if (Zahlenformat.Options.Contains(TFormatOption::Hexadecimal))
        for (char c = 'A'; c <= 'F'; ++c)
            w = std::max(w, m.horizontalAdvance(QLatin1Char(c)));
    ZeichenBreite = w;
}

int TNumDisplay::x0() const
{
    return FrameWidth() + (-ZeichenBreite) / 2;
}

QRect TNumDisplay::CellRect(int i) const
{
    const int f = FrameWidth();
    return QRect(QPoint(x0() + i * ZeichenBreite, f), QPoint(x0() + (i + 1) * ZeichenBreite, height() - f - 1));
}

void TNumDisplay::UpdateText()
{
    m_textDue = true;
    if (isVisible())
        RequestRepaintChanged(*this, *this);
    else
        m_changedHidden = true;
    TextChanged();
}

void TNumDisplay::FormatDue() const
{
    if (!m_textDue)
        return;
    m_textDue = false;
    if (AutoRange) {
        ScaleToPrefix(NDValue, m_skaliert, m_praefixEinheit);
        m_praefixEinheit += NDEinheit;
    }
    m_aktText = Zahlenformat.FormatValue(AutoRange ? m_skaliert : NDValue);
}

const QString& TNumDisplay::AktText() const
{
    FormatDue();
    return m_aktText;
}

double TNumDisplay::SkalierterWert() const
{
    FormatDue();
    return m_skaliert;
}

const QString& TNumDisplay::PraefixEinheit() const
{
    FormatDue();
    return m_praefixEinheit;
}

void TNumDisplay::TakeShownAsPainted()
{
    // Shown again, it paints everything: what it asks for later compares with this.
    LetzterText = AktText();
    LetzteEinheit = ShownUnit();
    m_changedHidden = false;
}

void TNumDisplay::RepaintChanged()
{
    // A display that paints its own ground hides whatever lies below it.
    setAttribute(Qt::WA_OpaquePaintEvent, !GetBisteTransparent() && !BackgroundFromPanel);
    if (m_changedHidden) {
        TakeShownAsPainted();
        update();
        return;
    }
    const QString& text = AktText();
    const int f = FrameWidth();
    const QRect inner(QPoint(f, f), QPoint(width() - f - 1, height() - f - 1));
    QRect dirty;
    int unitFrom = x0() + 2 * ZeichenBreite;
    if (text.size() == LetzterText.size()) {
        for (int i = 0; i < text.size(); ++i)
            if (text[i] != LetzterText[i])
                dirty |= CellRect(i + 1);
        unitFrom = x0() + (int(text.size()) + 2) * ZeichenBreite;
    } else {
        dirty = inner;
    }
    const QString unit = ShownUnit();
    if (unit != LetzteEinheit)
        dirty |= QRect(QPoint(unitFrom, f), QPoint(width() - f - 1, height() - f - 1));
    LetzterText = text;
    LetzteEinheit = unit;
    if (!dirty.isEmpty())
        update(dirty);
}

void TNumDisplay::SetNDValue(double v)
{
    NDValue = v;
    UpdateText();
}

void TNumDisplay::SetNDUserText(const QString& text)
{
    NDUserText = text;
    LetzteEinheit = kNoUnit;
    LetzterText.clear();
    RequestRepaint(*this);
    TextChanged();
}

void TNumDisplay::SetNDEingeschaltet(bool on)
{
    if (on == NDEingeschaltet)
        return;
    NDEingeschaltet = on;
    UpdateText();
    update();
}

void TNumDisplay::SetNDEinheit(const QString& text)
{
    NDEinheit = text.left(255);
    MeasureCells();
    UpdateText();
}

void TNumDisplay::SetNDFormat(TFormatOptions options)
{
    Zahlenformat.Options = options;
    update();
    UpdateText();
}

void TNumDisplay::SetNDVorKomma(int n)
{
    NDVorKomma = std::min(n, 12);
    MeasureCells();
}

void TNumDisplay::SetNDNachKomma(int n)
{
    NDNachKomma = std::min(n, 12);
    MeasureCells();
}

void TNumDisplay::resizeEvent(QResizeEvent* event)
{
    TFP_Element::resizeEvent(event);
    MeasureCells();
}

void TNumDisplay::SetBisteTransparent(bool transparent)
{
    TFP_Element::SetBisteTransparent(transparent);
}

void TNumDisplay::SetHintergrundFarbe(int32_t color)
{
    if (color == HintergrundFarbe)
        return;
    HintergrundFarbe = color;
    update();
}

void TNumDisplay::Paint(TCanvas& canvas)
{
    const int f = FrameWidth();
    const int w = width();
    const int h = height();
    if (!GetBisteTransparent() && !BackgroundFromPanel) {
        // Frame and gradient are kept as a picture: a changing value repaints only its cells.
        const TBackgroundKey key{w, h, f, HintergrundFarbe, FPState().DesignPanelColor, Color};
        if (!(key == m_backgroundKey)) {
            QPixmap picture(w, h);
            QPainter p(&picture);
            TCanvas c(&p);
            TFP_Element::Paint(c);
            FillGradient(c, f, f, w - f, h - f, HintergrundFarbe, ScaleColor(HintergrundFarbe, 0.92), true);
            p.end();
            m_background = picture;
            m_backgroundKey = key;
        }
        canvas.Painter()->drawPixmap(0, 0, m_background);
    } else {
        TFP_Element::Paint(canvas);
    }
    if (m_changedHidden)
        TakeShownAsPainted();
    if (!NDEingeschaltet || OhneText)
        return;
    canvas.Painter()->save();
    canvas.Painter()->setClipRect(QRect(f, f, w - 2 * f, h - 2 * f), Qt::IntersectClip);
    canvas.Font = font();
    canvas.FontColor = FontColor;
    canvas.TransparentText = true;
    const int y = f + h / 10 - 2;
    const bool unformatted = Zahlenformat.Options.Contains(TFormatOption::Unformatted);
    if (TextModus || unformatted) {
        const QString text = unformatted ? Zahlenformat.FormatText(NDUserText) : NDUserText;
        const int iw = canvas.TextWidth(QStringLiteral("I"));
        const int tw = canvas.TextWidth(text);
        int x = w / 2 - tw / 2;
        if (Alignment == Left)
            x = iw + f;
        else if (Alignment == Right)
            x = w - f - tw - iw;
        canvas.TextOut(x, y, text);
    } else {
        int x = x0();
        const QRect clip = canvas.ClipRect();
        for (const QChar c : AktText()) {
            x += ZeichenBreite;
            if (x + 2 * ZeichenBreite < clip.left() || x - ZeichenBreite > clip.right())
                continue;  // only the cells to repaint
            const bool separator = c == QLatin1Char(',') || c == QLatin1Char('.');
            canvas.Painter()->drawImage(separator ? x + ZeichenBreite / 4 : x, y,
                                        CharacterPicture(canvas.Font, canvas.FontColor, c));
        }
        // The unit when it is to be painted (a changed value repaints only its cells).
        if (x + ZeichenBreite < clip.right())
            canvas.TextOut(x + 2 * ZeichenBreite, y, ShownUnit());
    }
    canvas.Painter()->restore();
}

void TNumDisplay::WriteElementData(TWriter& writer)
{
    TFP_Element::WriteElementData(writer);
    const QFont f = font();
    writer.WriteRawShortString(f.family(), 31);
    writer.WriteRawInt16(int16_t(FontHeightOf(f)));
    writer.WriteRawByte(uint8_t((f.bold() ? 1 : 0) | (f.italic() ? 2 : 0) | (f.underline() ? 4 : 0) |
                                (f.strikeOut() ? 8 : 0)));
    writer.WriteRawInt32(FontColor);
    writer.WriteRawInt32(HintergrundFarbe);
    writer.WriteRawByte(AutoRange ? 1 : 0);
    writer.WriteRawShortString(NDEinheit, 255);
    writer.WriteRawByte(Zahlenformat.Options.ToByte());
    writer.WriteRawInt16(int16_t(Zahlenformat.Digits));
    writer.WriteRawInt16(int16_t(Zahlenformat.Decimals));
    writer.WriteRawInt16(int16_t(width()));
    writer.WriteRawInt16(int16_t(height()));
    Zahlenformat.WriteData(writer);
    writer.WriteInteger(Alignment);
}

void TNumDisplay::ReadElementData(TReader& reader, uint8_t version)
{
    TFP_Element::ReadElementData(reader, version);
    QFont f = font();
    const QString family = reader.ReadRawShortString(31);
    if (!family.isEmpty())
        f.setFamily(family);
    SetFontHeight(f, reader.ReadRawInt16());
    const uint8_t style = reader.ReadRawByte();
    f.setBold(style & 1);
    f.setItalic(style & 2);
    f.setUnderline(style & 4);
    f.setStrikeOut(style & 8);
    setFont(f);
    const int32_t fontColor = reader.ReadRawInt32();
    if (fontColor >= 0)
        FontColor = fontColor;
    const int32_t background = reader.ReadRawInt32();
    if (background >= 0)
        SetHintergrundFarbe(background);
    AutoRange = reader.ReadRawByte() != 0;
    const QString unit = reader.ReadRawShortString(255);
    Zahlenformat.Options = TFormatOptions::FromByte(reader.ReadRawByte());
    NDVorKomma = reader.ReadRawInt16();
    NDNachKomma = reader.ReadRawInt16();
    Zahlenformat.Digits = NDVorKomma;
    Zahlenformat.Decimals = NDNachKomma;
    const int w = std::max<int>(reader.ReadRawInt16(), 0);
    const int h = std::max<int>(reader.ReadRawInt16(), 0);
    if (version > 39) {
        Zahlenformat.ReadData(reader);
        const int32_t a = reader.ReadInteger();
        Alignment = a >= Left && a <= Center ? TAlignment(a) : Center;
    }
    MeasureCells();
    SetNDEinheit(unit);
    resize(w, h);
}

void TNumDisplay::AddFormatRows(QString& unit)
{
    TPropScrollbox& sheet = *Default_Dlg().PropScrollbox;
    sheet.AddCaptionProp(Tr("Anzeige"));
    sheet.AddFormatProp(Tr("Format"), Zahlenformat);
    sheet.AddEditProp(Tr("Einheit"), unit, 10, 64);
    sheet.AddCheckProp(QStringLiteral("AutoRange"), AutoRange);
}

int TNumDisplay::FinishDialog(int helpContext, QString& unit)
{
    TDefault_Dlg& dlg = Default_Dlg();
    dlg.setWindowTitle(Hint);
    dlg.HelpContext = helpContext;
    TPropScrollbox& sheet = *dlg.PropScrollbox;
    sheet.AddCaptionProp(Tr("Optionen"));
    sheet.AddEditProp(Tr("Hinweistext"), Hint, 0, 190);
    if (userEdit)
        sheet.AddCheckProp(Tr("Zur Laufzeit einstellbar"), LaufzeitEinstellbar);
    const int result = dlg.Execute();
    SetNDEinheit(unit);
    return result;
}

int TNumDisplay::EditProperties()
{
    TPropScrollbox& sheet = *Default_Dlg().PropScrollbox;
    sheet.AddCaptionProp(Tr("Farbe"));
    int32_t fontColor = FontColor;
    sheet.AddColorProp(Tr("Text"), fontColor);
    int32_t background = HintergrundFarbe;
    const bool ownBackground = !GetBisteTransparent() && !BackgroundFromPanel;
    if (ownBackground)
        sheet.AddColorProp(Tr("Hintergrund"), background);
    sheet.AddCaptionProp(Tr("Schriftart"));
    QFont f = font();
    sheet.AddFontNameProp(Tr("Schriftart"), f);
    sheet.AddFontStyleProp(Tr("Stil"), f);
    // Row order of the list: left, centre, right.
    static constexpr TAlignment kOrder[] = {Left, Center, Right};
    int32_t alignment = Alignment == Left ? 0 : Alignment == Center ? 1 : 2;
    if (TextModus)
        sheet.AddComboProp(Tr("Ausrichtung"), alignment, {Tr("Links"), Tr("Mitte"), Tr("Rechts")}, 80);
    QString unit = NDEinheit;
    if (!TextModus)
        AddFormatRows(unit);
    const int help = ClassName() == QLatin1String("TTDisplay") ? 18042 : TextModus ? 18035 : 18030;
    const int result = FinishDialog(help, unit);
    if (result == 1) {
        FontColor = fontColor;
        if (ownBackground)
            SetHintergrundFarbe(background);
        setFont(f);
        MeasureCells();
        Alignment = kOrder[std::clamp(alignment, 0, 2)];
        LetzterText.clear();
        UpdateText();
    }
    update();
    return result;
}

// --- LED display ------------------------------------------------------------------------------

TLEDDisplay::TLEDDisplay(QWidget* owner)
    : TNumDisplay(owner)
{
    Zahlenformat.Digits = 4;
    SetInitialText(QStringLiteral(" 0,000"));
    OhneText = true;
    LedLabel = new TWLXLEDLabel(this);
    LedLabel->SetTransparent(true);
    LedLabel->setAttribute(Qt::WA_TransparentForMouseEvents);
    LedLabel->Bevel().SetBorderInnerWidth(3);
    LedLabel->Bevel().SetBorderColor(0);
    LedLabel->LED().SetActiveColor(0xFFFFFF);
    LedLabel->LED().SetInActiveColor(0x808080);
    LedLabel->LED().SetVertsize(5);
    LedLabel->LED().SetHorzsize(8);
    LedLabel->setGeometry(rect());
    UpdateCaption();
}

QString TLEDDisplay::LedText() const
{
    QString text = Zahlenformat.Options.Contains(TFormatOption::Unformatted) ? Zahlenformat.FormatText(NDUserText)
                                                                             : AktText();
    if (AutoRange) {
        text += QLatin1Char(' ') + PraefixEinheit();
        if (PraefixEinheit().size() == NDEinheit.size())
            text += QLatin1Char(' ');
    } else {
        text += QLatin1Char(' ') + NDEinheit;
    }
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    if (!NDEingeschaltet)
        text.fill(QLatin1Char(' '));
    return text;
}

void TLEDDisplay::TextChanged()
{
    m_captionDue = true;
}

void TLEDDisplay::UpdateCaption()
{
    if (!m_captionDue || !LedLabel)
        return;
    m_captionDue = false;
    LedLabel->SetCaption(LedText());
}

void TLEDDisplay::RepaintChanged()
{
    TNumDisplay::RepaintChanged();
    UpdateCaption();
}

void TLEDDisplay::Paint(TCanvas& canvas)
{
    TNumDisplay::Paint(canvas);
    UpdateCaption();
}

void TLEDDisplay::resizeEvent(QResizeEvent* event)
{
    TNumDisplay::resizeEvent(event);
    if (LedLabel)
        LedLabel->setGeometry(rect());
}

void TLEDDisplay::SetBisteTransparent(bool transparent)
{
    if (LedLabel)
        LedLabel->SetTransparent(transparent);
    TNumDisplay::SetBisteTransparent(transparent);
}

void TLEDDisplay::SetHintergrundFarbe(int32_t color)
{
    if (LedLabel) {
        if (LedLabel->Color() != color)
            LedLabel->SetColor(color);
        if (LedLabel->Bevel().BorderColor() != color)
            LedLabel->Bevel().SetBorderColor(color);
    }
    TNumDisplay::SetHintergrundFarbe(color);
}

void TLEDDisplay::WriteElementData(TWriter& writer)
{
    TNumDisplay::WriteElementData(writer);
    writer.WriteInteger(LedLabel->LED().Thickness());
    writer.WriteInteger(LedLabel->LED().Vertsize());
    writer.WriteInteger(LedLabel->LED().Horzsize());
    writer.WriteInteger(LedLabel->LED().InActiveColor());
}

void TLEDDisplay::ReadElementData(TReader& reader, uint8_t version)
{
    TNumDisplay::ReadElementData(reader, version);
    LedLabel->LED().SetThickness(reader.ReadInteger());
    LedLabel->LED().SetVertsize(reader.ReadInteger());
    LedLabel->LED().SetHorzsize(reader.ReadInteger());
    LedLabel->LED().SetInActiveColor(reader.ReadInteger());
    LedLabel->setGeometry(rect());
    TextChanged();
    UpdateCaption();
}

int TLEDDisplay::EditProperties()
{
    TPropScrollbox& sheet = *Default_Dlg().PropScrollbox;
    sheet.AddCaptionProp(Tr("Farbe"));
    int32_t inactive = LedLabel->LED().InActiveColor();
    sheet.AddColorProp(Tr("Inaktive Segmente"), inactive);
    int32_t background = HintergrundFarbe;
    const bool ownBackground = !GetBisteTransparent() && !BackgroundFromPanel;
    if (ownBackground)
        sheet.AddColorProp(Tr("Hintergrund"), background);
    sheet.AddCaptionProp(QStringLiteral("LED"));
    int32_t vert = LedLabel->LED().Vertsize();
    int32_t horz = LedLabel->LED().Horzsize();
    int32_t thick = LedLabel->LED().Thickness();
    sheet.AddSpinProp(Tr("Höhe"), vert, 1, 255, 64);
    sheet.AddSpinProp(Tr("Breite"), horz, 1, 255, 64);
    sheet.AddSpinProp(Tr("Dicke"), thick, 1, 255, 64);
    QString unit = NDEinheit;
    AddFormatRows(unit);
    const int result = FinishDialog(18044, unit);
    if (result == 1) {
        LedLabel->LED().SetInActiveColor(inactive);
        LedLabel->LED().SetVertsize(vert);
        LedLabel->LED().SetHorzsize(horz);
        LedLabel->LED().SetThickness(thick);
        if (ownBackground)
            SetHintergrundFarbe(background);
        TextChanged();
        UpdateCaption();
    }
    update();
    return result;
}

// --- Text display -----------------------------------------------------------------------------

TTDisplay::TTDisplay(QWidget* owner)
    : TNumDisplay(owner)
{
    TextModus = true;
    SetNDUserText(Translate(QStringLiteral("Text")));
}
