#include "frontpanel/elements/HexInput.h"

#include "widgets/SpeedButton.h"

#include "frontpanel/elements/OperatorTools.h"
#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "platform/IniFile.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"

#include <QKeyEvent>
#include <QResizeEvent>
#include <QWheelEvent>

#include <algorithm>

using namespace operator_tools;

namespace {

TWLXSpeedButton* NewButton(QWidget* owner, const QString& caption)
{
    auto* b = new TWLXSpeedButton(owner);
    b->setText(caption);
    QFont f = b->font();
    f.setBold(true);
    b->setFont(f);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

} // namespace

THexInput::THexInput(QWidget* owner)
    : TFP_Element(owner)
{
    BevelOuter = bvLowered;
    BevelWidth = 1;
    MinusTaste = NewButton(this, QStringLiteral("-"));
    PlusTaste = NewButton(this, QStringLiteral("+"));
    QObject::connect(PlusTaste, &TWLXSpeedButton::clicked, this, [this] { Plus(); });
    QObject::connect(MinusTaste, &TWLXSpeedButton::clicked, this, [this] { Minus(); });
    resize(27, 41);
    LayoutButtons();
    SetHintergrundFarbe(0);
    Hint = Lang3Q("Einsteller (HEX)", "HEX selector", "Sélecteur HEX");
    setFocusPolicy(Qt::StrongFocus);
    AddActionHotkeys(*this, [this](int action) { HotkeyAction(action); });
    ActionNames = {QStringLiteral(" ---"), QStringLiteral("= MIN"), QStringLiteral("= MAX"),
                   QStringLiteral("= RST"), QStringLiteral("= INC"), QStringLiteral("= DEC")};
    UpdateButtonColours();
}

QChar THexInput::DigitChar(int32_t v)
{
    return v < 10 ? QChar(u'0' + v) : QChar(u'A' + (v - 10));
}

void THexInput::SetStand(int32_t v)
{
    const int32_t top = Largest();
    if (v == -1)
        v = top;
    else if (v == top + 1)
        v = 0;
    Stand = std::clamp(v, 0, top);
    Zeichen = DigitChar(Stand);
    update();
}

void THexInput::SetDezimal(bool decimal)
{
    Dezimal = decimal;
    SetStand(std::min(Stand, Largest()));
}

void THexInput::SetZeichenFarbe(int32_t c)
{
    ZeichenFarbe = c;
    UpdateButtonColours();
    update();
}

void THexInput::UpdateButtonColours()
{
    const int32_t c = GetBisteTransparent() ? ZeichenFarbe : clBlack;
    for (TWLXSpeedButton* b : {PlusTaste, MinusTaste})
        if (b)
            b->SetFontColor(c);
}

void THexInput::Plus()
{
    ClickFocus();
    SetStand(Stand + 1);
}

void THexInput::Minus()
{
    ClickFocus();
    SetStand(Stand - 1);
}

void THexInput::HotkeyAction(int action)
{
    switch (action) {
    case 1: SetStand(0); break;
    case 2: SetStand(Largest()); break;
    case 3: SetStand(Vorgabe); break;
    case 4: SetStand(Stand + 1); break;
    case 5: SetStand(Stand - 1); break;
    default: break;
    }
}

void THexInput::resizeEvent(QResizeEvent* event)
{
    TFP_Element::resizeEvent(event);
    LayoutButtons();
}

void THexInput::LayoutButtons()
{
    const int fw = FrameWidth();
    const int w = std::max((width() - 2 * fw) / 2 - 1, 1);
    const int inner = height() - 2 * fw;
    const int h = std::max(inner > w ? w : inner, 1);
    MinusTaste->setGeometry(fw + 1, height() - fw - h, w, h);
    PlusTaste->setGeometry(fw + w + 2, height() - fw - h, w, h);
    for (TWLXSpeedButton* b : {PlusTaste, MinusTaste}) {
        QFont f = b->font();
        f.setPixelSize(std::max(h, 1));
        b->setFont(f);
    }
}

void THexInput::wheelEvent(QWheelEvent* event)
{
    const int delta = event->angleDelta().y();
    if (delta > 0)
        Plus();
    else if (delta < 0)
        Minus();
    event->accept();
}

void THexInput::keyPressEvent(QKeyEvent* event)
{
    switch (OperatingKeyOf(*event)) {
    case okUp: Plus(); break;
    case okDown: Minus(); break;
    case okEnd: SetStand(Largest()); break;
    case okHome: SetStand(0); break;
    case okNone: TFP_Element::keyPressEvent(event); break;
    }
}

void THexInput::Paint(TCanvas& canvas)
{
    TFP_Element::Paint(canvas);
    UpdateButtonColours();
    const int fw = FrameWidth();
    const int bh = PlusTaste->height();
    const bool focused = hasFocus();
    const int32_t fill = focused ? clHighlight : HintergrundFarbe;
    if (focused || !GetBisteTransparent()) {
        canvas.Pen = TCanvasPen{fill, 1, Qt::SolidLine, TPenMode::Copy};
        canvas.Brush = TCanvasBrush{fill, Qt::SolidPattern};
        canvas.FillRect(fw, fw, width() - fw, height() - bh - fw - 1);
    }
    canvas.Brush.Style = Qt::NoBrush;
    canvas.Font = QFont(QStringLiteral("Arial"));
    canvas.Font.setBold(true);
    canvas.SetFontHeight(std::max(height() - 2 * fw - bh, 1));
    canvas.FontColor = focused ? clHighlightText : ZeichenFarbe;
    canvas.TransparentText = true;
    Zeichen = DigitChar(Stand);
    const QString text(Zeichen);
    canvas.TextOut((width() - canvas.TextWidth(text)) / 2,
                   fw + (height() - 2 * fw - bh) / 2 - canvas.TextHeight(text) / 2, text);
}

void THexInput::SetBisteTransparent(bool transparent)
{
    TFP_Element::SetBisteTransparent(transparent);
    for (TWLXSpeedButton* b : {PlusTaste, MinusTaste})
        if (b)
            b->SetButtonStyle(transparent ? TWLXUserButtonStyle::ubsFlat
                                          : TWLXUserButtonStyle::ubsWin40);
    SetZeichenFarbe(ZeichenFarbe);
}

void THexInput::ApplyStartValue()
{
    SetStand(Vorgabe);
}

void THexInput::SaveSettings(TIniFile& ini, const QString& path)
{
    ini.WriteInteger(path + QLatin1Char('.') + ElementName, QStringLiteral("Value"), Stand);
}

bool THexInput::LoadSettings(TIniFile& ini, const QString& path, bool checkOnly)
{
    const QString section = path + QLatin1Char('.') + ElementName;
    if (checkOnly)
        return ini.ValueExists(section, QStringLiteral("Value"));
    SetStand(ini.ReadInteger(section, QStringLiteral("Value"), Vorgabe));
    return true;
}

void THexInput::WriteElementData(TWriter& writer)
{
    TFP_Element::WriteElementData(writer);
    writer.WriteRawInt32(ZeichenFarbe);
    writer.WriteRawInt32(HintergrundFarbe);
    writer.WriteInteger(Vorgabe);
    writer.WriteBoolean(Dezimal);
}

void THexInput::ReadElementData(TReader& reader, uint8_t version)
{
    TFP_Element::ReadElementData(reader, version);
    ZeichenFarbe = reader.ReadRawInt32();
    HintergrundFarbe = reader.ReadRawInt32();
    Vorgabe = std::clamp(reader.ReadInteger(), 0, 15);
    SetStand(Vorgabe);
    if (version >= 3)
        SetDezimal(reader.ReadBoolean());
    UpdateButtonColours();
    update();
}

int THexInput::EditProperties()
{
    TDefault_Dlg& dlg = Default_Dlg();
    dlg.setWindowTitle(Hint);
    dlg.HelpContext = 18120;
    TPropScrollbox& sheet = *dlg.PropScrollbox;
    int32_t colour = ZeichenFarbe;
    sheet.AddColorProp(Tr("Farbe"), colour);
    int32_t background = HintergrundFarbe;
    if (!BackgroundFromPanel)
        sheet.AddColorProp(Tr("Hintergrund"), background);
    int32_t range = Dezimal ? 0 : 1;
    sheet.AddComboProp(Tr("Bereich"), range, {QStringLiteral("0..9"), QStringLiteral("0..15")}, 64);
    int32_t start = Vorgabe;
    sheet.AddSpinProp(Tr("Vorgabe"), start, 0, 15, 64);
    AddHotkeyRows(*this, sheet, ActionNames);
    AddOptionRows(*this, sheet, nullptr);
    const int result = dlg.Execute();
    if (result == 1) {
        SetZeichenFarbe(colour);
        if (!BackgroundFromPanel)
            SetHintergrundFarbe(background);
        Vorgabe = std::clamp(start, 0, 15);
        SetDezimal(range == 0);
    }
    update();
    return result;
}

void THexInput::WriteWebElement(QStringList& lines)
{
    WriteMapElementPage(*this, lines);
}

void THexInput::WriteWebSnapshot(QStringList& lines)
{
    WriteWebImageMap(lines);
}

void THexInput::WriteWebImageMap(QStringList& lines)
{
    WriteMapPicture(*this, lines);
    lines << WriteWebAreaRect(4, ControlRectInElement(PlusTaste), PlusTaste->toolTip());
    lines << WriteWebAreaRect(5, ControlRectInElement(MinusTaste), MinusTaste->toolTip());
    lines << WriteWebAreaRect(0, rect(), Hint);
    lines << QStringLiteral("</map>");
}

void THexInput::WebAction(int32_t action)
{
    if (action == 4)
        Plus();
    else if (action == 5)
        Minus();
}
