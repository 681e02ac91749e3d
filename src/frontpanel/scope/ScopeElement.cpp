#include "frontpanel/scope/ScopeElement.h"

#include "core/model/Translator.h"
#include "frontpanel/scope/Oscillograph.h"
#include "frontpanel/web/WebPublishing.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "platform/IniFile.h"
#include "ui/Hotkey.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"

#include <QComboBox>
#include <QToolButton>

#include <algorithm>

namespace {

// One entry finer (-1) or coarser (+1) when there is one; the change handler runs in every case.
void StepCombo(QComboBox* combo, int direction)
{
    const int index = combo->currentIndex();
    if (direction < 0 && index > 0)
        combo->setCurrentIndex(index - 1);
    else if (direction > 0 && index < combo->count() - 1)
        combo->setCurrentIndex(index + 1);
}

} // namespace

QStringList TFP_Scope::HotkeyActions()
{
    return {QStringLiteral(" ---"),  QStringLiteral("= A+"),  QStringLiteral("= A-"),
            QStringLiteral("= B+"),  QStringLiteral("= B-"),  QStringLiteral("= T+"),
            QStringLiteral("= T-"),  QStringLiteral("= TGS"), QStringLiteral("= TGD"),
            QStringLiteral("= TRG"), QStringLiteral("= PRT")};
}

TFP_Scope::TFP_Scope(QWidget* owner)
    : TFP_Element(owner)
{
    BevelOuter = bvLowered;
    BevelWidth = 1;
    Hint = Lang3Q("2-Kanal-Scope", "2-Channel-Scope", "Oscilloscope\r2 canaux");
    Window = new TOscillograph(this);
    Window->OnDisplayDblClick = [this] { DblClickEdit(); };
    for (int i = 0; i < kHotkeyCount; ++i) {
        THotkey& hotkey = AddHotkey();
        hotkey.OnPress = [this](THotkey* sender) { HotkeyPressed(sender->Action); };
        hotkey.OnRelease = [this](THotkey* sender) { HotkeyReleased(sender->Action); };
    }
    resize(320, 192);
    DockWindow();
}

TFP_Scope::~TFP_Scope() = default;

void TFP_Scope::resizeEvent(QResizeEvent* event)
{
    TFP_Element::resizeEvent(event);
    DockWindow();
}

void TFP_Scope::DockWindow()
{
    const int f = FrameWidth();
    Window->setGeometry(rect().adjusted(f, f, -f, -f));
    Window->LayoutControls();
}

void TFP_Scope::HotkeyPressed(int32_t action)
{
    TOscillograph& w = *Window;
    switch (action) {
    case 1: StepCombo(w.RangeACombo, -1); w.RangeAComboChange(); break;
    case 2: StepCombo(w.RangeACombo, +1); w.RangeAComboChange(); break;
    case 3: StepCombo(w.RangeBCombo, -1); w.RangeBComboChange(); break;
    case 4: StepCombo(w.RangeBCombo, +1); w.RangeBComboChange(); break;
    case 5: StepCombo(w.CB_TimeBase, -1); w.CB_TimeBaseChange(); break;
    case 6: StepCombo(w.CB_TimeBase, +1); w.CB_TimeBaseChange(); break;
    case 7: {
        const int next = w.TriggerCombo->currentIndex() + 1;
        w.TriggerCombo->setCurrentIndex(next >= w.TriggerCombo->count() ? 0 : next);
        w.TriggerComboChange();
        break;
    }
    case 8: w.TriggerBtnClick(); break;
    case 9: w.SB_StartClick(); break;
    default: break;
    }
}

void TFP_Scope::HotkeyReleased(int32_t action)
{
    if (action == 10)
        Window->PrintNow();
}

// --- Element data --------------------------------------------------------------------------------

void TFP_Scope::WriteElementData(TWriter& writer)
{
    TFP_Element::WriteElementData(writer);
    writer.WriteRawInt16(int16_t(std::clamp(width(), -32768, 32767)));
    writer.WriteRawInt16(int16_t(std::clamp(height(), -32768, 32767)));
}

void TFP_Scope::ReadElementData(TReader& reader, uint8_t version)
{
    TFP_Element::ReadElementData(reader, version);
    const int w = reader.ReadRawInt16();
    const int h = reader.ReadRawInt16();
    setGeometry(x(), y(), std::max(w, minimumWidth()), std::max(h, minimumHeight()));
    DockWindow();
}

int TFP_Scope::EditProperties()
{
    TDefault_Dlg& dlg = Default_Dlg();
    dlg.setWindowTitle(Hint);
    dlg.HelpContext = 0;
    TPropScrollbox& sheet = *dlg.PropScrollbox;
    auto tr = [](const char* s) { return Translate(QString::fromUtf8(s)); };
    int32_t style = Window->FarbStil;
    sheet.AddCaptionProp(tr("Farbe"));
    sheet.AddComboProp(tr("Anzeige"), style, {tr("Blau"), tr("Grün"), tr("Gelb")}, 80);
    sheet.AddCaptionProp(tr("Hotkeys"));
    const QStringList actions = HotkeyActions();
    for (size_t i = 0; i < Hotkeys.size(); ++i)
        sheet.AddHotkeyProp(tr("Hotkey") + QStringLiteral(" %1").arg(i + 1), *Hotkeys[i], &actions);
    sheet.AddCaptionProp(tr("Optionen"));
    sheet.AddEditProp(tr("Hinweistext"), Hint, 0, 200);
    if (userEdit)
        sheet.AddCheckProp(tr("Zur Laufzeit einstellbar"), LaufzeitEinstellbar);
    const int result = dlg.Execute();
    if (result == 1)
        Window->SetFarbStil(TFarbStil(std::clamp(style, 0, 2)));
    return result;
}

// --- Settings ----------------------------------------------------------------------------------

void TFP_Scope::SaveSettings(TIniFile& ini, const QString& path)
{
    const QString section = path + u'.' + ElementName;
    const TOscillograph& w = *Window;
    ini.WriteInteger(section, QStringLiteral("TimebaseIndex"), w.CB_TimeBase->currentIndex());
    ini.WriteInteger(section, QStringLiteral("TriggerSignal"), w.GetTriggerIndex());
    ini.WriteBool(section, QStringLiteral("TriggerPositiv"), w.TriggerPositiv);
    ini.WriteInteger(section, QStringLiteral("RangeAIndex"), w.RangeACombo->currentIndex());
    ini.WriteInteger(section, QStringLiteral("RangeBIndex"), w.RangeBCombo->currentIndex());
    ini.WriteBool(section, QStringLiteral("ToolsVisible"), w.ToolsVisible);
    ini.WriteFloat(section, QStringLiteral("Triggervoltage"), w.TriggerVoltage);
}

bool TFP_Scope::LoadSettings(TIniFile& ini, const QString& path, bool checkOnly)
{
    const QString section = path + u'.' + ElementName;
    if (checkOnly) {
        for (const char* key : {"TimebaseIndex", "TriggerSignal", "TriggerPositiv", "RangeAIndex", "RangeBIndex",
                                "ToolsVisible", "Triggervoltage"})
            if (!ini.ValueExists(section, QString::fromLatin1(key)))
                return false;
        return true;
    }
    TOscillograph& w = *Window;
    auto index = [&](QComboBox* combo, const char* key) {
        const int i = ini.ReadInteger(section, QString::fromLatin1(key), combo->currentIndex());
        combo->setCurrentIndex(i >= 0 && i < combo->count() ? i : -1);
    };
    index(w.CB_TimeBase, "TimebaseIndex");
    w.SetTriggerIndex(ini.ReadInteger(section, QStringLiteral("TriggerSignal"), w.GetTriggerIndex()));
    w.SetTriggerPositiv(ini.ReadBool(section, QStringLiteral("TriggerPositiv"), w.TriggerPositiv));
    index(w.RangeACombo, "RangeAIndex");
    index(w.RangeBCombo, "RangeBIndex");
    w.SetToolsVisible(ini.ReadBool(section, QStringLiteral("ToolsVisible"), w.ToolsVisible));
    w.TriggerVoltage = ini.ReadFloat(section, QStringLiteral("Triggervoltage"), w.TriggerVoltage);
    w.SetRangeA(TOscillograph::VoltsPerDivision(w.RangeACombo->currentIndex()));
    w.SetRangeB(TOscillograph::VoltsPerDivision(w.RangeBCombo->currentIndex()));
    return true;
}

// --- Web -------------------------------------------------------------------------------------

void TFP_Scope::WriteWebElement(QStringList& lines)
{
    if (!LaufzeitEinstellbar) {
        WriteWebPage(lines);
        return;
    }
    const TOscillograph& w = *Window;
    WriteWebTitle(lines);
    lines << QStringLiteral("</BR>");
    lines << QStringLiteral("<form action=\"%1/Submit\">").arg(WebState().BaseAddress);
    WriteWebClientSelect(lines, w.TriggerCombo, u'T');
    lines << QStringLiteral("<input style=\"width:%1px;\" name=\"").arg(qRound(w.TriggerCombo->width() * 1.5)) +
                 HtmlText(WebFieldName()) + QStringLiteral("\" type=\"text\" size=\"30\" maxlength=\"30\" Value=\"") +
                 HtmlText(FloatToText(w.TriggerVoltage)) + QStringLiteral("\"> ") +
                 HtmlText(w.SchwelleBtn->toolTip()) + QStringLiteral("</BR>");
    WriteWebClientSelect(lines, w.CB_TimeBase, u'I');
    lines << QStringLiteral("<HR>");
    WriteWebClientSelect(lines, w.RangeACombo, u'A');
    WriteWebClientSelect(lines, w.RangeBCombo, u'B');
    lines << QStringLiteral("<HR>") << QStringLiteral("</BR>");
    lines << QStringLiteral("<input type=\"submit\" value=\"") + HtmlText(Translate(QStringLiteral("Absenden"))) +
                 QStringLiteral("\">");
    lines << QStringLiteral("</form>");
}

void TFP_Scope::WebSubmit(const QString& value)
{
    TOscillograph& w = *Window;
    QComboBox* combo = nullptr;
    std::function<void()> changed;
    switch (value.isEmpty() ? 0 : int(value.front().unicode())) {
    case 'A': combo = w.RangeACombo; changed = [&w] { w.RangeAComboChange(); }; break;
    case 'B': combo = w.RangeBCombo; changed = [&w] { w.RangeBComboChange(); }; break;
    case 'I': combo = w.CB_TimeBase; changed = [&w] { w.CB_TimeBaseChange(); }; break;
    case 'T': combo = w.TriggerCombo; changed = [&w] { w.TriggerComboChange(); }; break;
    default: break;
    }
    if (combo) {
        // A value that names no entry is ignored.
        bool ok = false;
        const int index = value.mid(1, 1000).toInt(&ok);
        if (ok && index >= 0 && index < combo->count()) {
            combo->setCurrentIndex(index);
            changed();
        }
    } else {
        w.TriggerVoltage = double(TextToFloat(value));
    }
    update();
}

void TFP_Scope::WriteWebSnapshot(QStringList& lines)
{
    WriteWebImageMap(lines);
}

void TFP_Scope::WriteWebImageMap(QStringList& lines)
{
    const TOscillograph& w = *Window;
    WriteWebImageMapHead(*this, lines);
    if (w.GetTriggerIndex() == 1)
        lines << WriteWebAreaRect(6, ControlRectInElement(w.SB_Start), w.SB_Start->toolTip());
    if (w.ToolsVisible)
        lines << WriteWebAreaRect(4, ControlRectInElement(w.TriggerBtn), w.TriggerBtn->toolTip());
    lines << WriteWebAreaRect(16, ControlRectInElement(w.ToolBtn), w.ToolBtn->toolTip());
    lines << WriteWebAreaRect(kWebActionRefresh, rect(), Hint);
    lines << QStringLiteral("</map>");
}

void TFP_Scope::WebAction(int32_t action)
{
    switch (action) {
    case 4: Window->TriggerBtnClick(); break;
    case 6: Window->SB_StartClick(); break;
    case 16: Window->ToolBtnClick(); break;
    default: TFP_Element::WebAction(action); break;
    }
}
