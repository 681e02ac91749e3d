#include "frontpanel/elements/Counter.h"

#include "frontpanel/elements/PanelRepaint.h"
#include "core/model/Translator.h"
#include "platform/Canvas.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "platform/IniFile.h"
#include "ui/Hotkey.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>

#include <algorithm>

namespace {

constexpr int kHotkeys = 10;

int32_t LargestOf(int digits)
{
    int32_t m = 1;
    for (int i = 0; i < digits; ++i)
        m *= 10;
    return m - 1;
}

} // namespace

TZiffern::TZiffern(QWidget* owner)
    : QWidget(owner)
{
    QFont f(QStringLiteral("Arial"));
    f.setBold(true);
    setFont(f);
}

int TZiffern::CellLeft(int i) const
{
    return int(RoundHalfEven(double(width()) / Stellen * i));
}

void TZiffern::CountChanged()
{
    m_textDue = true;
    m_textDigits = Stellen;
    if (isVisible())
        RequestRepaintChanged(*this, *this);
    else
        m_changedHidden = true;
}

const QString& TZiffern::ZiffernText() const
{
    if (m_textDue) {
        m_textDue = false;
        m_text = QString::number(Zaehlerstand).rightJustified(m_textDigits, QLatin1Char('0')).left(255);
    }
    return m_text;
}

void TZiffern::TakeShownAsPainted()
{
    m_painted = ZiffernText();
    m_changedHidden = false;
}

void TZiffern::RepaintChanged()
{
    if (m_changedHidden) {
        TakeShownAsPainted();
        update();
        return;
    }
    const QString& text = ZiffernText();
    if (m_painted.size() < Stellen || text.size() < Stellen) {
        update();
    } else {
        // Cells compare right-aligned, as they are painted.
        const QString shown = text.right(Stellen);
        const QString before = m_painted.right(Stellen);
        QRect dirty;
        for (int i = 0; i < Stellen; ++i)
            if (shown[i] != before[i])
                dirty |= QRect(QPoint(CellLeft(i), 0), QPoint(CellLeft(i + 1), height()));
        if (!dirty.isEmpty())
            update(dirty);
    }
    m_painted = text;
}

void TZiffern::SetDurchsichtig(bool transparent)
{
    Durchsichtig = transparent;
    // Opaque cells hide the counter's ground: Qt need not paint it below them.
    setAttribute(Qt::WA_OpaquePaintEvent, !transparent);
}

void TZiffern::paintEvent(QPaintEvent* event)
{
    if (m_changedHidden)
        TakeShownAsPainted();
    QPainter painter(this);
    painter.setClipRect(event->rect());  // the cells outside it are skipped
    TCanvas canvas(&painter);
    auto* owner = static_cast<TFP_Element*>(parentWidget());
    canvas.Font = font();
    canvas.SetFontHeight(height());
    canvas.FontColor = ZiffernFarbe;
    canvas.Brush = TCanvasBrush{owner->HintergrundFarbe, Durchsichtig ? Qt::NoBrush : Qt::SolidPattern};
    canvas.Pen = TCanvasPen{owner->HintergrundFarbe, 1, Qt::SolidLine, TPenMode::Copy};
    canvas.TransparentText = true;
    const QString digits = QString::number(Zaehlerstand);
    const int h = height();
    const QRect clip = canvas.ClipRect();
    for (int i = 0; i < Stellen; ++i) {
        const int x0 = CellLeft(i);
        const int x1 = CellLeft(i + 1);
        if (x1 < clip.left() - 1 || x0 > clip.right() + 1)
            continue;  // only the cells to repaint
        if (!Durchsichtig)
            canvas.FillRect(x0, 0, x1, h);
        const int fromRight = Stellen - 1 - i;
        const int at = int(digits.size()) - 1 - fromRight;
        canvas.Painter()->drawImage(x0 + 1, 0, CharacterPicture(canvas.Font, ZiffernFarbe,
                                                               at >= 0 ? digits[at] : QLatin1Char('0')));
        if (!Durchsichtig && i > 0) {
            canvas.Pen = TCanvasPen{owner->Color, 1, Qt::SolidLine, TPenMode::Copy};
            canvas.MoveTo(x0 - 1, 0);
            canvas.LineTo(x0 - 1, h);
        }
    }
}

TCounter::TCounter(QWidget* owner)
    : TFP_Element(owner)
{
    BevelOuter = bvLowered;
    BevelInner = bvLowered;
    Ziffern = new TZiffern(this);
    Ziffern->setAttribute(Qt::WA_TransparentForMouseEvents);
    Ziffern->SetDurchsichtig(false);
    SetHintergrundFarbe(0);
    Hint = Lang3Q("Zähler", "Counter", "Compteur");
    for (int i = 0; i < kHotkeys; ++i) {
        THotkey& hotkey = AddHotkey();
        hotkey.OnPress = [this](THotkey* sender) { HotkeyAction(sender->Action); };
    }
    ActionNames = {QStringLiteral(" ---"), QStringLiteral("= NUL"), QStringLiteral("= RST"),
                   QStringLiteral("= INC"), QStringLiteral("= DEC")};
    resize(width(), 32);
    FitWidth();
    Ziffern->CountChanged();
}

void TCounter::SetCZaehlerstand(int32_t v)
{
    if (v == Ziffern->Zaehlerstand)
        return;
    const int32_t m = LargestOf(Ziffern->Stellen);
    if (v > m)
        v = 0;
    if (v < 0)
        v = m;
    Ziffern->Zaehlerstand = v;
    Ziffern->CountChanged();
}

void TCounter::SetCStellen(int n)
{
    Ziffern->Stellen = int16_t(std::clamp(n, 1, 8));
    SetCZaehlerstand(GetCZaehlerstand());
    FitWidth();
    Ziffern->update();
}

void TCounter::HotkeyAction(int32_t action)
{
    switch (action) {
    case 1: SetCZaehlerstand(0); break;
    case 2: SetCZaehlerstand(Ziffern->Vorgabe); break;
    case 3: Increment(); break;
    case 4: Decrement(); break;
    default: break;
    }
}

void TCounter::FitWidth()
{
    const int f = FrameWidth();
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    SetFontHeight(font, std::max(1, height() - 2 * f));
    const int w = (QFontMetrics(font).horizontalAdvance(QLatin1Char('5')) + 2) * Ziffern->Stellen + 2 * f - 1;
    if (w != width())
        resize(w, height());
    Ziffern->setGeometry(rect().adjusted(f, f, -f, -f));
}

void TCounter::resizeEvent(QResizeEvent* event)
{
    TFP_Element::resizeEvent(event);
    FitWidth();
}

void TCounter::ApplyStartValue()
{
    SetCZaehlerstand(Ziffern->Vorgabe);
}

void TCounter::SaveSettings(TIniFile& ini, const QString& path)
{
    ini.WriteInteger(path + QLatin1Char('.') + ElementName, QStringLiteral("Count"), GetCZaehlerstand());
}

bool TCounter::LoadSettings(TIniFile& ini, const QString& path, bool checkOnly)
{
    const QString section = path + QLatin1Char('.') + ElementName;
    if (checkOnly)
        return ini.ValueExists(section, QStringLiteral("Count"));
    SetCZaehlerstand(ini.ReadInteger(section, QStringLiteral("Count"), Ziffern->Vorgabe));
    Ziffern->update();
    return true;
}

void TCounter::SetBisteTransparent(bool transparent)
{
    TFP_Element::SetBisteTransparent(transparent);
    if (Ziffern)
        Ziffern->SetDurchsichtig(transparent);
}

void TCounter::WriteElementData(TWriter& writer)
{
    TFP_Element::WriteElementData(writer);
    writer.WriteRawInt16(Ziffern->Stellen);
    writer.WriteRawInt32(Ziffern->Vorgabe);
    writer.WriteRawInt16(int16_t(height()));
    writer.WriteRawInt16(int16_t(width()));
    writer.WriteInteger(Ziffern->ZiffernFarbe);
}

void TCounter::ReadElementData(TReader& reader, uint8_t version)
{
    TFP_Element::ReadElementData(reader, version);
    const int digits = reader.ReadRawInt16();
    Ziffern->Vorgabe = reader.ReadRawInt32();
    SetCStellen(digits);
    SetCZaehlerstand(Ziffern->Vorgabe);
    const int h = std::max<int>(reader.ReadRawInt16(), 0);
    const int w = std::max<int>(reader.ReadRawInt16(), 0);
    resize(w, h);
    Ziffern->ZiffernFarbe = version >= 40 ? reader.ReadInteger() : 0xFFFFFF;
    FitWidth();
}

int TCounter::EditProperties()
{
    TDefault_Dlg& dlg = Default_Dlg();
    dlg.setWindowTitle(Hint);
    dlg.HelpContext = 18050;
    TPropScrollbox& sheet = *dlg.PropScrollbox;
    auto tr = [](const char* german) { return Translate(QString::fromUtf8(german)); };
    int32_t digits = Ziffern->Stellen;
    sheet.AddSpinProp(tr("Stellen"), digits, 1, 8, 64);
    QString preset = QString::number(Ziffern->Vorgabe);
    sheet.AddEditProp(tr("Vorgabe"), preset, 8, 64);
    int32_t colour = Ziffern->ZiffernFarbe;
    sheet.AddColorProp(tr("Farbe"), colour);
    int32_t background = HintergrundFarbe;
    if (!BackgroundFromPanel)
        sheet.AddColorProp(tr("Hintergrund"), background);
    sheet.AddCaptionProp(tr("Hotkeys"));
    for (int i = 0; i < kHotkeys; ++i)
        sheet.AddHotkeyProp(tr("Hotkey") + QStringLiteral(" %1").arg(i + 1), *Hotkeys[size_t(i)], &ActionNames);
    sheet.AddCaptionProp(tr("Optionen"));
    sheet.AddEditProp(tr("Hinweistext"), Hint, 0, 190);
    if (userEdit)
        sheet.AddCheckProp(tr("Zur Laufzeit einstellbar"), LaufzeitEinstellbar);
    const int result = dlg.Execute();
    if (result == 1) {
        Ziffern->ZiffernFarbe = colour;
        if (!BackgroundFromPanel)
            SetHintergrundFarbe(background);
        bool ok = false;
        const int32_t value = preset.trimmed().toInt(&ok);
        if (ok)
            Ziffern->Vorgabe = value;
        SetCStellen(digits);
        if (userEdit)
            SetCZaehlerstand(Ziffern->Vorgabe);
        // Up one and down one again: redraws the strip, and a count above the new largest
        // value wraps to 0 and from there to the largest value.
        SetCZaehlerstand(GetCZaehlerstand() + 1);
        SetCZaehlerstand(GetCZaehlerstand() - 1);
        Ziffern->update();
    }
    return result;
}
