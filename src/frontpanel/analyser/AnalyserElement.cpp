#include "frontpanel/analyser/AnalyserElement.h"

#include "core/model/Translator.h"
#include "frontpanel/analyser/AnalyserWindow.h"
#include "frontpanel/web/WebPublishing.h"
#include "platform/Filer.h"
#include "platform/IniFile.h"
#include "ui/Hotkey.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QToolButton>

#include <algorithm>
#include <array>

namespace {

constexpr int kHotkeyCount = 10;

// One entry up or down in the combo of the checked clock mode.
void StepClockEntry(TMyAnalyser& w, int delta)
{
    QComboBox* combo = w.RB_System->isChecked() ? w.CB_Systemtakt : w.RB_Time->isChecked() ? w.CB_TimeBase : nullptr;
    if (!combo)
        return;
    const int next = combo->currentIndex() + delta;
    if (next >= 0 && next < combo->count())
        combo->setCurrentIndex(next);
}

QString Key(const char* name, int n = -1)
{
    return n < 0 ? QString::fromLatin1(name) : QString::fromLatin1(name) + QString::number(n);
}

} // namespace

TFP_Analyser::TFP_Analyser(QWidget* owner)
    : TFP_Element(owner)
{
    BevelOuter = bvLowered;
    BevelWidth = 1;
    BackgroundFromPanel = false;
    HintergrundFarbe = 0;
    Hint.clear();
    resize(320, 192);
    for (int i = 0; i < kHotkeyCount; ++i) {
        THotkey& hotkey = AddHotkey();
        hotkey.OnPress = [this](THotkey* sender) { HotkeyPressed(sender->Action); };
        hotkey.OnRelease = [this](THotkey* sender) { HotkeyReleased(sender->Action); };
    }
}

TFP_Analyser::~TFP_Analyser() = default;

QStringList TFP_Analyser::ActionNames()
{
    return {QStringLiteral(" ---"),  QStringLiteral("= T+"),  QStringLiteral("= T-"), QStringLiteral("= SYS"),
            QStringLiteral("= TME"), QStringLiteral("= EXT"), QStringLiteral("= TGD"), QStringLiteral("= TGS"),
            QStringLiteral("= TRG"), QStringLiteral("= PRT")};
}

void TFP_Analyser::SetWindow(TMyAnalyser* window)
{
    m_window = window;
    if (!window)
        return;
    window->setParent(this);
    // Docked, the window takes whatever size the element has.
    window->setMinimumSize(0, 0);
    window->SetDisplayColor(HintergrundFarbe);
    FitWindow();
    window->show();
}

void TFP_Analyser::FitWindow()
{
    if (!m_window)
        return;
    const int f = FrameWidth();
    m_window->setGeometry(rect().adjusted(f, f, -f, -f));
}

void TFP_Analyser::resizeEvent(QResizeEvent* event)
{
    TFP_Element::resizeEvent(event);
    FitWindow();
}

void TFP_Analyser::HotkeyPressed(int32_t action)
{
    if (!m_window)
        return;
    TMyAnalyser& w = *m_window;
    switch (action) {
    case 1: StepClockEntry(w, 1); break;
    case 2: StepClockEntry(w, -1); break;
    case 3: w.RB_System->setChecked(true); break;
    case 4: w.RB_Time->setChecked(true); break;
    case 5: w.RB_Ext->setChecked(true); break;
    case 6: w.TriggerBtnClick(); break;
    case 7: {
        int next = w.TriggerCombo->currentIndex() + 1;
        if (next >= w.TriggerCombo->count())
            next = 0;
        w.SetTriggerIndex(next);
        break;
    }
    case 8: w.SB_StartClick(); break;
    default: break;
    }
}

void TFP_Analyser::HotkeyReleased(int32_t action)
{
    if (action == 9 && m_window)
        m_window->PrintNow();
}

void TFP_Analyser::SetHintergrundFarbe(int32_t color)
{
    if (m_window)
        m_window->SetDisplayColor(color);
    TFP_Element::SetHintergrundFarbe(color);
}

// --- Element data ----------------------------------------------------------------------------

void TFP_Analyser::WriteElementData(TWriter& writer)
{
    TFP_Element::WriteElementData(writer);
    const int f = FrameWidth();
    writer.WriteRawInt16(int16_t(std::clamp(width() - 2 * f, -32768, 32767)));
    writer.WriteRawInt16(int16_t(std::clamp(height() - 2 * f, -32768, 32767)));
}

void TFP_Analyser::ReadElementData(TReader& reader, uint8_t version)
{
    TFP_Element::ReadElementData(reader, version);
    int w = 400, h = 300;
    if (version >= 3) {
        w = reader.ReadRawInt16();
        h = reader.ReadRawInt16();
    }
    const int f = FrameWidth();
    setGeometry(x(), y(), std::max(0, w) + 2 * f, std::max(0, h) + 2 * f);
    FitWindow();
}

// --- Property dialog -------------------------------------------------------------------------

int TFP_Analyser::EditProperties()
{
    TDefault_Dlg& dlg = Default_Dlg();
    dlg.setWindowTitle(Hint);
    dlg.HelpContext = 0;
    TPropScrollbox& sheet = *dlg.PropScrollbox;
    const auto tr = [](const char* s) { return Translate(QString::fromUtf8(s)); };
    std::array<QString, kAnalyserChannels> names;
    std::array<int32_t, kAnalyserChannels> colours{};
    for (int i = 0; i < kAnalyserChannels; ++i) {
        names[size_t(i)] = m_window ? m_window->Labels[size_t(i)]->text() : QString();
        colours[size_t(i)] = m_window ? m_window->Channels[size_t(i)]->TraceColor : 0x00FF00;
    }
    sheet.AddCaptionProp(tr("Name"));
    for (int i = 0; i < kAnalyserChannels; ++i)
        sheet.AddEditProp(tr("Kanal") + u' ' + QString::number(i), names[size_t(i)], 0, 100);
    sheet.AddCaptionProp(tr("Farbe"));
    for (int i = 0; i < kAnalyserChannels; ++i)
        sheet.AddColorProp(tr("Kanal") + u' ' + QString::number(i), colours[size_t(i)]);
    int32_t background = HintergrundFarbe;
    if (!BackgroundFromPanel && !GetBisteTransparent())
        sheet.AddColorProp(tr("Hintergrund"), background);
    sheet.AddCaptionProp(tr("Hotkeys"));
    const QStringList actions = ActionNames();
    for (size_t i = 0; i < Hotkeys.size(); ++i)
        sheet.AddHotkeyProp(tr("Hotkey") + QStringLiteral(" %1").arg(i + 1), *Hotkeys[i], &actions);
    sheet.AddCaptionProp(tr("Optionen"));
    sheet.AddEditProp(tr("Hinweistext"), Hint, 0, 200);
    if (userEdit)
        sheet.AddCheckProp(tr("Zur Laufzeit einstellbar"), LaufzeitEinstellbar);
    const int result = dlg.Execute();
    if (result == 1) {
        if (m_window) {
            for (int i = 0; i < kAnalyserChannels; ++i) {
                m_window->Labels[size_t(i)]->setText(names[size_t(i)]);
                m_window->SetChannelColor(i, colours[size_t(i)]);
            }
            m_window->FillTriggerList();
        }
        if (background != HintergrundFarbe)
            SetHintergrundFarbe(background);
    }
    return result;
}

// --- Settings file ---------------------------------------------------------------------------

void TFP_Analyser::SaveSettings(TIniFile& ini, const QString& path)
{
    if (!m_window)
        return;
    const TMyAnalyser& w = *m_window;
    const QString section = path + u'.' + ElementName;
    ini.WriteBool(section, Key("TriggerPositiv"), w.TriggerPositiv);
    ini.WriteBool(section, Key("ToolsVisible"), w.ToolsVisible);
    ini.WriteInteger(section, Key("TriggerSignal"), w.TriggerIndex);
    ini.WriteBool(section, Key("SysClock"), w.RB_System->isChecked());
    ini.WriteBool(section, Key("TimeClock"), w.RB_Time->isChecked());
    ini.WriteBool(section, Key("ExtClock"), w.RB_Ext->isChecked());
    ini.WriteInteger(section, Key("SysClockIndex"), w.CB_Systemtakt->currentIndex());
    ini.WriteInteger(section, Key("TimeClockIndex"), w.CB_TimeBase->currentIndex());
    for (int n = 0; n < kAnalyserChannels; ++n) {
        ini.WriteString(section, Key("ChName", n), w.Labels[size_t(n)]->text());
        ini.WriteInteger(section, Key("ChColour", n), w.Channels[size_t(n)]->TraceColor);
    }
}

bool TFP_Analyser::LoadSettings(TIniFile& ini, const QString& path, bool checkOnly)
{
    const QString section = path + u'.' + ElementName;
    if (checkOnly) {
        for (const char* key : {"TriggerPositiv", "ToolsVisible", "TriggerSignal", "SysClock", "TimeClock",
                                "ExtClock", "SysClockIndex", "TimeClockIndex"})
            if (!ini.ValueExists(section, Key(key)))
                return false;
        for (int n = 0; n < kAnalyserChannels; ++n)
            if (!ini.ValueExists(section, Key("ChName", n)) || !ini.ValueExists(section, Key("ChColour", n)))
                return false;
        return true;
    }
    if (!m_window)
        return true;
    TMyAnalyser& w = *m_window;
    w.SetTriggerPositiv(ini.ReadBool(section, Key("TriggerPositiv"), w.TriggerPositiv));
    w.SetToolsVisible(ini.ReadBool(section, Key("ToolsVisible"), w.ToolsVisible));
    w.SetTriggerIndex(
        std::clamp(ini.ReadInteger(section, Key("TriggerSignal"), w.TriggerIndex), -1, w.TriggerCombo->count() - 1));
    // Exclusive buttons: only a button that is to be checked changes anything.
    if (ini.ReadBool(section, Key("SysClock"), w.RB_System->isChecked()))
        w.RB_System->setChecked(true);
    if (ini.ReadBool(section, Key("TimeClock"), w.RB_Time->isChecked()))
        w.RB_Time->setChecked(true);
    if (ini.ReadBool(section, Key("ExtClock"), w.RB_Ext->isChecked()))
        w.RB_Ext->setChecked(true);
    const auto readIndex = [&](const char* key, QComboBox* combo) {
        const int i = ini.ReadInteger(section, Key(key), combo->currentIndex());
        if (i >= 0 && i < combo->count())
            combo->setCurrentIndex(i);
    };
    readIndex("SysClockIndex", w.CB_Systemtakt);
    readIndex("TimeClockIndex", w.CB_TimeBase);
    for (int n = 0; n < kAnalyserChannels; ++n) {
        TLabel_D* label = w.Labels[size_t(n)];
        label->setText(ini.ReadString(section, Key("ChName", n), label->text()));
        TKanalDisplay* channel = w.Channels[size_t(n)];
        channel->TraceColor = ini.ReadInteger(section, Key("ChColour", n), channel->TraceColor);
        channel->update();
    }
    w.FillTriggerList();
    return true;
}

// --- Web -------------------------------------------------------------------------------------

void TFP_Analyser::WriteWebElement(QStringList& lines)
{
    if (!LaufzeitEinstellbar || !m_window) {
        WriteWebPage(lines);
        return;
    }
    const TMyAnalyser& w = *m_window;
    WriteWebTitle(lines);
    lines << QStringLiteral("</BR>");
    lines << QStringLiteral("<form action=\"%1/Submit\">").arg(WebState().BaseAddress);
    WriteWebClientSelect(lines, w.TriggerCombo, u'T');
    lines << QStringLiteral("<select style=\"width:%1px;\" name=\"").arg(qRound(w.TriggerCombo->width() * 1.5)) +
                 HtmlText(WebFieldName()) + QStringLiteral("\">");
    const std::array<const QRadioButton*, 3> modes{w.RB_System, w.RB_Time, w.RB_Ext};
    const std::array<const char*, 3> texts{"Sys", "Time", "Ext"};
    if (w.RB_System->isChecked() || w.RB_Time->isChecked() || w.RB_Ext->isChecked())
        for (size_t k = 0; k < modes.size(); ++k)
            lines << QStringLiteral("<option VALUE=\"K%1\"%2>%3")
                         .arg(k)
                         .arg(modes[k]->isChecked() ? QStringLiteral("selected") : QString())
                         .arg(QString::fromLatin1(texts[k]));
    lines << QStringLiteral("</select> Clock mode</BR>");
    WriteWebClientSelect(lines, w.CB_Systemtakt, u'S');
    WriteWebClientSelect(lines, w.CB_TimeBase, u'I');
    lines << QStringLiteral("<HR>") << QStringLiteral("</BR>");
    lines << QStringLiteral("<input type=\"submit\" value=\"") + HtmlText(Translate(QStringLiteral("Absenden"))) +
                 QStringLiteral("\">");
    lines << QStringLiteral("</form>");
}

void TFP_Analyser::WebSubmit(const QString& value)
{
    if (value.isEmpty() || !m_window)
        return;
    TMyAnalyser& w = *m_window;
    bool ok = false;
    const int n = value.mid(1, 1000).toInt(&ok);
    // A value that is no number or out of range is ignored.
    const auto setIndex = [&](QComboBox* combo) {
        if (ok && n >= 0 && n < combo->count())
            combo->setCurrentIndex(n);
    };
    switch (value.at(0).unicode()) {
    case 'I': setIndex(w.CB_TimeBase); break;
    case 'S': setIndex(w.CB_Systemtakt); break;
    case 'K':
        if (ok && n == 0)
            w.RB_System->setChecked(true);
        else if (ok && n == 1)
            w.RB_Time->setChecked(true);
        else if (ok && n == 2)
            w.RB_Ext->setChecked(true);
        break;
    case 'T':
        if (ok && n >= 0 && n < w.TriggerCombo->count())
            w.SetTriggerIndex(n);
        break;
    default: break;
    }
    update();
}

void TFP_Analyser::WriteWebSnapshot(QStringList& lines)
{
    WriteWebImageMap(lines);
}

void TFP_Analyser::WriteWebImageMap(QStringList& lines)
{
    WriteWebImageMapHead(*this, lines);
    if (m_window) {
        const TMyAnalyser& w = *m_window;
        if (w.TriggerIndex == 0)
            lines << WriteWebAreaRect(6, ControlRectInElement(w.SB_Start), w.SB_Start->toolTip());
        if (w.ToolsVisible)
            lines << WriteWebAreaRect(4, ControlRectInElement(w.TriggerBtn), w.TriggerBtn->toolTip());
        lines << WriteWebAreaRect(16, ControlRectInElement(w.ToolBtn), w.ToolBtn->toolTip());
    }
    lines << WriteWebAreaRect(kWebActionRefresh, rect(), Hint);
    lines << QStringLiteral("</map>");
}

void TFP_Analyser::WebAction(int32_t action)
{
    if (m_window) {
        switch (action) {
        case 4: m_window->TriggerBtnClick(); return;
        case 6: m_window->SB_StartClick(); return;
        case 16: m_window->ToolBtnClick(); return;
        default: break;
        }
    }
    TFP_Element::WebAction(action);
}
