#include "hardware/framework/IoInterface.h"

#include "hardware/framework/HardwareHelpers.h"
#include "hardware/framework/PinEdit.h"
#include "hardware/framework/PortDriver.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "platform/IniFile.h"
#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"
#include "platform/PortIo.h"
#include "ui/SettingsDialog.h"

#include <QBuffer>
#include <cerrno>
#include <QToolButton>

const TDeviceDescription TIOInterface::Description{
    .Name = "TIOInterface",
    .Ports = {ClassEntry<TIOPort>(), ClassEntry<TDOutPort>(), ClassEntry<TDInPort>(),
              ClassEntry<TAOutPort>(), ClassEntry<TAInPort>()},
    .Prefix = {"HW"}, .PaletteName = {"Hardware"}, .Caption = {"Interface"},
    .LegacyNames = {"TBTHardware"}};

TIOInterface::TIOInterface()
{
    Describe(Description);
    BaseAddress = 0;
    Busy = false;
}

void TIOInterface::Describe(const TDeviceDescription& description)
{
    m_description = &description;
    HelpContext = description.HelpContext;
}

TIOInterface::~TIOInterface()
{
    ClearPorts();
}

TPin* TIOInterface::FlatOutput(int32_t index) const
{
    return ValidIndex(index) ? Pins[size_t(index)].get() : nullptr;
}

TPin* TIOInterface::FlatInput(int32_t index) const
{
    const int32_t flat = OutputCount + index;
    return ValidIndex(flat) && index >= 0 ? Pins[size_t(flat)].get() : nullptr;
}

QString TIOInterface::GetInputDescription(int32_t index)
{
    const TPin* pin = FlatInput(index);
    return pin ? pin->Description : QStringLiteral("Pin nicht vorhanden!");
}

QString TIOInterface::GetOutputDescription(int32_t index)
{
    const TPin* pin = FlatOutput(index);
    return pin ? pin->Description : QStringLiteral("Pin nicht vorhanden!");
}

QString TIOInterface::GetInputLabel(int32_t index)
{
    const TPin* pin = FlatInput(index);
    return pin ? pin->PinName : QStringLiteral("!!!");
}

QString TIOInterface::GetOutputLabel(int32_t index)
{
    const TPin* pin = FlatOutput(index);
    return pin ? pin->PinName : QStringLiteral("!!!");
}

void TIOInterface::BuildPinList()
{
    ClearPins();
    OutputCount = 0;
    for (int pass = 0; pass < 2; ++pass) {
        const uint8_t wanted = pass == 0 ? 1 : 0;
        for (size_t p = 0; p < Ports.size(); ++p) {
            const auto& pins = Ports[p]->Pins;
            for (size_t i = 0; i < pins.size(); ++i) {
                if ((pins[i]->IsOutput ? 1 : 0) != wanted)
                    continue;
                auto flat = std::make_unique<TPin>();
                flat->PortIndex = int32_t(p);
                flat->PinIndex = int32_t(i);
                AssignPin(*flat, *pins[i]);
                Pins.push_back(std::move(flat));
                if (pass == 0)
                    ++OutputCount;
            }
        }
    }
}

QDialog* TIOInterface::CreateDialog()
{
    TDefault_Dlg& dialog = Default_Dlg();
    dialog.HelpContext = 0;
    dialog.setWindowTitle(QString(Name).replace(QLatin1Char('\r'), QLatin1Char(' ')));
    dialog.PinBtn->show();
    return &dialog;
}

TPropScrollbox* TIOInterface::DialogRows() const
{
    auto* dialog = dynamic_cast<TDefault_Dlg*>(SettingsDialog);
    return dialog ? dialog->PropScrollbox : nullptr;
}

int32_t TIOInterface::ExecuteDialog()
{
    if (!SettingsDialog)
        return mrCancel;
    if (auto* dialog = dynamic_cast<TDefault_Dlg*>(SettingsDialog))
        return dialog->Execute();
    return ShowModal(*SettingsDialog);
}

void TIOInterface::RevertSettings()
{
    if (m_snapshot) {
        QBuffer buffer(&*m_snapshot);
        buffer.open(QIODevice::ReadOnly);
        TReader reader(buffer);
        readFromStream(reader);
        m_snapshot.reset();
    }
    BuildPinList();
}

void TIOInterface::PropagateAddress()
{
    for (auto& port : Ports)
        port->BaseAddress = BaseAddress;
}

void TIOInterface::ClearPorts()
{
    ClearPins();
    while (!Ports.empty())
        Ports.pop_back();
}

void TIOInterface::writeToIni(TIniFile& ini, const QString& section)
{
    ini.WriteString(section, QStringLiteral("Name"), Name);
    ini.WriteString(section, QStringLiteral("Basisadresse"), WordToHex(BaseAddress));
}

void TIOInterface::readFromIni(TIniFile& ini, const QString& section)
{
    BaseAddress = HexToWord(ini.ReadString(section, QStringLiteral("Basisadresse"),
                                           QStringLiteral("0000")));
    PropagateAddress();
}

int32_t TIOInterface::GetPinCount() const
{
    int32_t count = 0;
    for (const auto& port : Ports)
        count += port->GetPinCount();
    return count;
}

bool TIOInterface::AnyPortBusy() const
{
    for (const auto& port : Ports)
        if (port->Busy)
            return true;
    return false;
}

void TIOInterface::MachEsJetzt()
{
    // A device waiting inside its own step is not driven again by the steps of its wait.
    for (auto& port : Ports) {
        if (Busy || AnyPortBusy())
            return;
        port->MachEsJetzt();
    }
}

void TIOInterface::SetValue(int32_t index, Extended value)
{
    // Indexes outside the flat list (a clock input a device handles itself) reach no pin.
    if (!ValidIndex(index))
        return;
    const TPin& flat = *Pins[size_t(index)];
    PortOf(flat).SetValue(flat.PinIndex, value);
}

void TIOInterface::SetText(int32_t index, const QString& text)
{
    // Indexes outside the flat list (a clock input a device handles itself) reach no pin.
    if (!ValidIndex(index))
        return;
    const TPin& flat = *Pins[size_t(index)];
    PortOf(flat).SetText(flat.PinIndex, text);
}

Extended TIOInterface::GetValue(int32_t index)
{
    // Indexes outside the flat list (a clock input a device handles itself) reach no pin.
    if (!ValidIndex(index))
        return 0.0L;
    const TPin& flat = *Pins[size_t(index)];
    return PortOf(flat).GetValue(flat.PinIndex);
}

void TIOInterface::SetPinUsed(int32_t index, bool used)
{
    // Indexes outside the flat list (a clock input a device handles itself) reach no pin.
    if (!ValidIndex(index))
        return;
    const TPin& flat = *Pins[size_t(index)];
    PortOf(flat).SetPinUsed(flat.PinIndex, used);
}

Extended TIOInterface::GetInputValue(int32_t index)
{
    const TPin* flat = FlatInput(index);
    return flat ? PortOf(*flat).GetInputValue(flat->PinIndex) : 0.0L;
}

QString TIOInterface::GetInputText(int32_t index)
{
    const TPin* flat = FlatInput(index);
    return flat ? PortOf(*flat).GetInputText(flat->PinIndex) : QString();
}

int64_t TIOInterface::GetInputTime(int32_t index)
{
    const TPin* flat = FlatInput(index);
    return flat ? PortOf(*flat).GetInputTime(flat->PinIndex) : 0;
}

void TIOInterface::SetInputUsed(int32_t index, bool used)
{
    if (const TPin* flat = FlatInput(index))
        PortOf(*flat).SetInputUsed(flat->PinIndex, used);
}

void TIOInterface::ResetPins()
{
    for (auto& port : Ports)
        port->ResetPins();
}

void TIOInterface::ResetReceive()
{
    for (auto& port : Ports)
        port->ResetReceive();
}

void TIOInterface::ApplySettings()
{
    m_snapshot.reset();
}

void TIOInterface::getKonfigData()
{
    m_snapshot.emplace();
    {
        QBuffer buffer(&*m_snapshot);
        buffer.open(QIODevice::WriteOnly);
        TWriter writer(buffer);
        writeToStream(writer);
    }
    DlgAddress = BaseAddress;
    AddressText = WordToHex(BaseAddress);
    BoardList();
    if (!Ports.empty())
        PinPortDlg().PinEdit->SetPortliste(&Ports);
}

void TIOInterface::writeToStream(TWriter& writer)
{
    TIOPort::writeToStream(writer);
    for (auto& port : Ports)
        port->writeToStream(writer);
}

void TIOInterface::readFromStream(TReader& reader)
{
    TIOPort::readFromStream(reader);
    for (auto& port : Ports)
        port->readFromStream(reader);
    BuildPinList();
}

void TIOInterface::SimStart()
{
    TNT40& driver = PortDriver();
    const int32_t opened = driver.OpenDevice();
    int32_t granted = GrantPortAccess();
    const int32_t activated = driver.ActivateIopm();
    if (!driver.GrantedRanges.empty()) {
        int32_t code = opened != 0 ? opened : granted != 0 ? granted : activated;
        if (code == 0 && !driver.GrantedRangesPermitted())
            code = EPERM;
        if (code != 0) {
            const auto& [first, last] = driver.GrantedRanges.front();
            MessageBoxText(Lang3Q("Kein Zugriff auf die Ports %1h bis %2h.",
                                  "No access to the ports %1h to %2h.",
                                  "Pas d'accès aux ports %1h à %2h.")
                                   .arg(WordToHex(first), WordToHex(last))
                               + QLatin1Char('\n') + PortIoErrorText(code),
                           QString(Name).replace(QLatin1Char('\r'), QLatin1Char(' ')), mbOK,
                           mtWarning);
        }
    }
    Running = true;
    for (auto& port : Ports)
        port->SimStart();
}

void TIOInterface::SimStop()
{
    Running = false;
    PortDriver().CloseDevice();
    StepCallback = nullptr;
    for (auto& port : Ports) {
        port->SimStop();
        port->StepCallback = nullptr;
    }
}

void TIOInterface::MakeInfoLines()
{
    InfoLines.clear();
    for (auto& port : Ports) {
        port->MakeInfoLines();
        InfoLines << port->InfoLines;
    }
}

int32_t GetInputCount(TIOInterface& device)
{
    device.BuildPinList();
    return device.GetPinCount() - device.OutputCount;
}

const QStringList& BoardList()
{
    static const QStringList list = [] {
        QStringList l;
        for (int i = 0; i < 128; ++i)
            l << QStringLiteral("Board #") + QString::number(i);
        return l;
    }();
    return list;
}

// --- Standard ports ------------------------------------------------------------------------------

namespace {

void AddBitPins(TIOPort& port, const char* prefix, int count)
{
    for (int i = 0; i < count; ++i)
        port.AddPin(QStringLiteral("Bit ") + QString::number(i),
                    QString::fromLatin1(prefix) + QString::number(i), 0.0L, 5.0L, false);
}

} // namespace

TDOutPort::TDOutPort()
{
    Name = Lang3Q("Digitalausgänge", "Digital outputs", "Sorties digitales");
    AddBitPins(*this, "DO", 8);
    SetInput(false);
}

TDInPort::TDInPort()
{
    Name = Lang3Q("Digitaleingänge", "Digital inputs", "Entrées digitales");
    SetInput(true);
    AddBitPins(*this, "DI", 8);
    SetInput(true);
}

TAOutPort::TAOutPort()
{
    Name = Lang3Q("Analogausgänge", "Analogue outputs", "Sorties analogiques");
    SetInput(false);
}

TAInPort::TAInPort()
{
    Name = Lang3Q("Analogeingänge", "Analogue inputs", "Entrées analogiques");
    SetInput(true);
}
