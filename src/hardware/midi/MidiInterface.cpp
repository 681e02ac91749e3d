#include "hardware/midi/MidiInterface.h"

#include "core/model/Translator.h"
#include "hardware/midi/MidiAdministrator.h"
#include "hardware/midi/MidiReceivePorts.h"
#include "hardware/midi/MidiSendPorts.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "platform/IniFile.h"
#include "platform/MessageBox.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"

#include <QToolButton>

#include <algorithm>

namespace {

constexpr uint8_t kKindCount = 15;
// The system message of kinds 6..14.
constexpr uint8_t kSystemMessage[kKindCount] = {0, 0, 0, 0, 0, 0, 6, 8, 10, 11, 12, 14, 15, 3, 2};

std::unique_ptr<TMidiPort> NewSendPort(uint8_t kind)
{
    switch (kind) {
    case 0: return std::make_unique<TMidiSendNotePort>();
    case 1: return std::make_unique<TMidiSendPolyAftertouchPort>();
    case 2: return std::make_unique<TMidiSendControlChangePort>();
    case 3: return std::make_unique<TMidiSendPrgChangePort>();
    case 4: return std::make_unique<TMidiSendChannelAftertouchPort>();
    case 5: return std::make_unique<TMidiSendPitchwheelPort>();
    default: break;
    }
    auto port = std::make_unique<TMidiSendOthersPort>();
    port->SetKind(kSystemMessage[kind]);
    return port;
}

std::unique_ptr<TMidiPort> NewReceivePort(uint8_t kind)
{
    switch (kind) {
    case 0: return std::make_unique<TMidiReceiveNotePort>();
    case 1: return std::make_unique<TMidiReceivePolyAftertouchPort>();
    case 2: return std::make_unique<TMidiReceiveControlChangePort>();
    case 3: return std::make_unique<TMidiReceivePrgChangePort>();
    case 4: return std::make_unique<TMidiReceiveChannelAftertouchPort>();
    case 5: return std::make_unique<TMidiReceivePitchwheelPort>();
    default: break;
    }
    auto port = std::make_unique<TMidiReceiveOthersPort>();
    port->SetKind(kSystemMessage[kind]);
    return port;
}

// Stored kinds outside the table fall back to the first.
uint8_t ValidKind(int32_t kind)
{
    return kind >= 0 && kind < kKindCount ? uint8_t(kind) : 0;
}

} // namespace

const QStringList& MidiKindNames()
{
    static const QStringList names{
        QStringLiteral("Note On/Off"),   QStringLiteral("Poly Aftertouch"),
        QStringLiteral("Control Change"), QStringLiteral("Program Change"),
        QStringLiteral("Channel Aftertouch"), QStringLiteral("Pitchwheel"),
        QStringLiteral("Tune Request"),  QStringLiteral("Timing Clock"),
        QStringLiteral("Start"),         QStringLiteral("Continue"),
        QStringLiteral("Stop"),          QStringLiteral("Active Sensing"),
        QStringLiteral("System Reset"),  QStringLiteral("Song Select"),
        QStringLiteral("Song Position")};
    return names;
}

const TDeviceDescription TMIDIInterface::Description{
    .Name = "TMIDIInterface",
    .Ports = {ClassEntry<TMidiSendNotePort>(), ClassEntry<TMidiSendPolyAftertouchPort>(),
              ClassEntry<TMidiSendControlChangePort>(), ClassEntry<TMidiSendPrgChangePort>(),
              ClassEntry<TMidiSendChannelAftertouchPort>(),
              ClassEntry<TMidiSendPitchwheelPort>(), ClassEntry<TMidiSendOthersPort>()},
    .Prefix = {"MIDI-"}, .PaletteName = {"MIDI OUT"}, .Caption = {"MIDI"},
    .HelpContext = 35991,
    .Category = TPaletteCategory::MIDI};

const TDeviceDescription TMIDIReceiveInterface::Description{
    .Name = "TMIDIReceiveInterface",
    .Ports = {ClassEntry<TMidiReceiveNotePort>(), ClassEntry<TMidiReceivePolyAftertouchPort>(),
              ClassEntry<TMidiReceiveControlChangePort>(),
              ClassEntry<TMidiReceivePrgChangePort>(),
              ClassEntry<TMidiReceiveChannelAftertouchPort>(),
              ClassEntry<TMidiReceivePitchwheelPort>(), ClassEntry<TMidiReceiveOthersPort>()},
    .Prefix = {"MIDI-"}, .PaletteName = {"MIDI IN"}, .Caption = {"MIDI"},
    .HelpContext = 35991,
    .Category = TPaletteCategory::MIDI};

const TDeviceDescription TMIDIThruInterface::Description{
    .Name = "TMIDIThruInterface",
    .Prefix = {"MIDI-"}, .PaletteName = {"MIDI THRU"}, .Caption = {"MIDI"},
    .HelpContext = 35991,
    .Category = TPaletteCategory::MIDI};

TMIDIInterface::TMIDIInterface()
{
    Describe(Description);
    Name = QStringLiteral("MIDI OUT message");
    Kind = 1;
    TMIDIInterface::SetMessageType(0);
}

TMIDIInterface::~TMIDIInterface()
{
    if (m_registered)
        CloseDevices();
}

void TMIDIInterface::SetMessageType(uint8_t kind)
{
    if (kind == Kind && Port)
        return;
    Kind = ValidKind(kind);
    ClearPorts();
    auto port = NewSendPort(Kind);
    Port = port.get();
    Ports.push_back(std::move(port));
    PropagateAddress();
    BuildPinList();
}

TMIDIReceiveInterface::TMIDIReceiveInterface()
{
    Describe(Description);
    Name = QStringLiteral("MIDI IN message");
    Port = nullptr;
    TMIDIReceiveInterface::SetMessageType(0);
}

void TMIDIReceiveInterface::SetMessageType(uint8_t kind)
{
    if (kind == Kind && Port)
        return;
    Kind = ValidKind(kind);
    ClearPorts();
    auto port = NewReceivePort(Kind);
    Port = port.get();
    Ports.push_back(std::move(port));
    PropagateAddress();
    BuildPinList();
}

TMIDIThruInterface::TMIDIThruInterface()
{
    Describe(Description);
    Name = QStringLiteral("MIDI THRU");
    TMIDIThruInterface::SetMessageType(0);
}

void TMIDIThruInterface::SetMessageType(uint8_t kind)
{
    Kind = ValidKind(kind);
    ClearPorts();
    Port = nullptr;
    BuildPinList();
}

QDialog* TMIDIThruInterface::CreateDialog()
{
    QDialog* dialog = TIOInterface::CreateDialog();
    if (auto* generic = dynamic_cast<TDefault_Dlg*>(dialog))
        generic->PinBtn->hide();
    return dialog;
}

void TMIDIInterface::getKonfigData()
{
    const TRole role = Role();
    if (role != TRole::Thru)
        TIOInterface::getKonfigData();
    ListMidiDevices();
    m_dlgSelection = BaseAddress;
    m_dlgKind = Kind;
    m_dlgChannelFilter = Port && Port->ChannelFilter;
    m_dlgValueFilter = Port && Port->ValueFilter;
    TPropScrollbox* rows = DialogRows();
    if (!rows)
        return;
    if (role == TRole::Thru) {
        rows->AddCaptionProp(QStringLiteral("MIDI"));
        rows->AddComboProp(Translate(QStringLiteral("Eingang")), m_dlgSelection,
                           MidiInDeviceNames(), 200);
        rows->AddComboProp(QStringLiteral("Thru to"), SecondSelection, MidiOutDeviceNames(), 200);
        return;
    }
    rows->AddEditProp(Translate(QStringLiteral("Name")), Name, 0, 200);
    rows->AddCaptionProp(QStringLiteral("MIDI"));
    if (role == TRole::Receive)
        rows->AddComboProp(Translate(QStringLiteral("Eingang")), m_dlgSelection,
                           MidiInDeviceNames(), 200);
    else
        rows->AddComboProp(Translate(QStringLiteral("Ausgang")), m_dlgSelection,
                           MidiOutDeviceNames(), 200);
    if (DlgRuntimeMode || DlgSimRunning)
        return;
    rows->AddComboProp(QStringLiteral("MSG"), m_dlgKind, MidiKindNames(), 200);
    if (role == TRole::Receive && Kind < 6) {
        rows->AddCaptionProp(Translate(QStringLiteral("Filter")));
        rows->AddCheckProp(QStringLiteral("Channel"), m_dlgChannelFilter);
        if (Kind < 4) {
            const char* value[] = {"Note", "Note", "Control", "Program"};
            rows->AddCheckProp(QLatin1String(value[Kind]), m_dlgValueFilter);
        }
    }
}

void TMIDIInterface::ApplySettings()
{
    BaseAddress = uint16_t(std::clamp(m_dlgSelection, 0, 0xFFFF));
    PropagateAddress();
    if (Role() != TRole::Thru && !DlgRuntimeMode && !DlgSimRunning) {
        SetMessageType(uint8_t(m_dlgKind));
        if (Port) {
            Port->SetChannelFilter(m_dlgChannelFilter);
            Port->SetValueFilter(m_dlgValueFilter);
        }
    }
    TIOInterface::ApplySettings();
    BuildPinList();
}

void TMIDIInterface::writeToStream(TWriter& writer)
{
    TIOInterface::writeToStream(writer);
    writer.WriteInteger(Kind);
    writer.WriteInteger(SecondSelection);
    if (Port) {
        writer.WriteBoolean(Port->ChannelFilter);
        writer.WriteBoolean(Port->ValueFilter);
    }
}

void TMIDIInterface::readFromStream(TReader& reader)
{
    TIOInterface::readFromStream(reader);
    SetMessageType(ValidKind(reader.ReadInteger()));
    SecondSelection = reader.ReadInteger();
    if (Port) {
        Port->SetChannelFilter(reader.ReadBoolean());
        Port->SetValueFilter(reader.ReadBoolean());
    }
    BuildPinList();
}

void TMIDIInterface::OpenDevices()
{
    TMidiAdministrator& administrator = MidiAdministrator();
    const int32_t selection = BaseAddress;
    m_registered = true;
    switch (Role()) {
    case TRole::Thru:
        if (selection == 0)
            return;
        Handle = administrator.OpenIn(this, selection - 1);
        ThruHandle = administrator.OpenOut(this, SecondSelection - 1);
        if (Handle != 0 && ThruHandle != 0)
            MidiSystem().Connect(Handle, ThruHandle);
        if (Handle == 0)
            ReportUnopened(MidiInDeviceNames(), selection);
        if (ThruHandle == 0 && SecondSelection > 0)
            ReportUnopened(MidiOutDeviceNames(), SecondSelection);
        return;
    case TRole::Receive:
        if (selection == 0)
            return;
        Handle = administrator.OpenIn(this, selection - 1);
        if (Handle == 0)
            ReportUnopened(MidiInDeviceNames(), selection);
        return;
    case TRole::Send:
        Handle = administrator.OpenOut(this, selection - 1);
        if (Handle == 0 && selection > 0)
            ReportUnopened(MidiOutDeviceNames(), selection);
        return;
    }
}

void TMIDIInterface::CloseDevices()
{
    TMidiAdministrator& administrator = MidiAdministrator();
    if (Role() == TRole::Thru && Handle != 0 && ThruHandle != 0)
        MidiSystem().Disconnect(Handle, ThruHandle);
    administrator.CloseIn(this);
    administrator.CloseOut(this);
    Handle = 0;
    ThruHandle = 0;
    m_registered = false;
}

void TMIDIInterface::ReportUnopened(const QStringList& names, int32_t selection)
{
    const QString device = selection < names.size() ? names[selection]
                                                     : QStringLiteral("#%1").arg(selection);
    MessageBoxText(Lang3Q("Das MIDI-Gerät \"%1\" lässt sich nicht öffnen.\n"
                          "Die Simulation läuft ohne das Gerät weiter.",
                          "The MIDI device \"%1\" cannot be opened.\n"
                          "The simulation goes on without the device.",
                          "Le périphérique MIDI « %1 » ne peut pas être ouvert.\n"
                          "La simulation continue sans le périphérique.")
                       .arg(device),
                   QString(Name).replace(QLatin1Char('\r'), QLatin1Char(' ')), mbOK, mtWarning);
}

void TMIDIInterface::SimStart()
{
    PropagateAddress();
    if (MidiOutDeviceNames().isEmpty())
        ListMidiDevices();
    OpenDevices();
    if (Port)
        Port->MidiHandle = Role() == TRole::Send ? Handle : 0;
    TIOInterface::SimStart();
}

void TMIDIInterface::SimStop()
{
    TIOInterface::SimStop();
    CloseDevices();
    if (Port)
        Port->MidiHandle = 0;
}

void TMIDIInterface::writeToIni(TIniFile& ini, const QString& section)
{
    ini.WriteString(section, QStringLiteral("Name"), Name);
    const TRole role = Role();
    if (role == TRole::Send) {
        ini.WriteInteger(section, QStringLiteral("MIDIOUT"), BaseAddress);
        return;
    }
    ini.WriteInteger(section, QStringLiteral("MIDIIN"), BaseAddress);
    if (role == TRole::Thru)
        ini.WriteInteger(section, QStringLiteral("MIDIOUT"), SecondSelection);
}

void TMIDIInterface::readFromIni(TIniFile& ini, const QString& section)
{
    const TRole role = Role();
    const QString key = role == TRole::Send ? QStringLiteral("MIDIOUT") : QStringLiteral("MIDIIN");
    BaseAddress = uint16_t(std::clamp(ini.ReadInteger(section, key, 0), 0, 0xFFFF));
    if (role == TRole::Thru)
        SecondSelection = ini.ReadInteger(section, QStringLiteral("MIDIOUT"), 0);
    PropagateAddress();
}
