#include "hardware/meters/HidDmmInterface.h"

#include "core/model/Translator.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "platform/MessageBox.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"

#include <QToolButton>
#include <algorithm>

namespace {

constexpr TMeterName HidMeters[] = {
    {"Multimeter M-3890D USB", 0},
    {"VC920 (@USB via Voltcraft 121598)", 1},
    {"VC960 (@USB via Voltcraft 121598)", 1},
    {"VC820 (@USB via Voltcraft 121598)", 2},
    {"VC840 (@USB via Voltcraft 121598)", 2},
    {"VC940 (@USB via Voltcraft 121598)", 1},
    {"VC1008", 3},
    {"UNI-T UT803", 4},
    {"VC830 (@USB via Voltcraft 120317)", 5},
    {"VC850 (@USB via Voltcraft 120317)", 6},
    {"VC870 (@USB via Voltcraft 120317)", 7},
};

} // namespace

void THIDDMMInPort::SetHandle(std::shared_ptr<IHidDevice> handle)
{
    THIDPort::SetHandle(handle);
    if (auto* meter = dynamic_cast<THidMeter*>(Meter))
        meter->SetDevice(DeviceHandle);
}

const TDeviceDescription THID_DMM::Description{
    .Name = "THID_DMM",
    .Ports = {ClassEntry<THIDDMMInPort>()},
    .Prefix = {"DMM"},
    .PaletteName = {"Multimeter\r(USB)", "Multimeter\r(USB)", "Multimètre\r(USB)"},
    .Caption = {"DMM"},
    .HelpContext = 36000,
    .Category = TPaletteCategory::Multimeter};

THID_DMM::THID_DMM()
{
    Describe(Description);
    Ports.push_back(std::make_unique<THIDDMMInPort>());
    FillDeviceList(DeviceNames);
    ReplaceMeter(0);
    Name = QStringLiteral("Multimeter M-3890D USB");
    OutputCount = 0;
    BuildPinList();
    PropagateAddress();
}

THID_DMM::~THID_DMM()
{
    MeterPort().Meter = nullptr;
}

int32_t THID_DMM::NameToType(const QString& name) const
{
    return MeterType(HidMeters, name);
}

std::unique_ptr<THidMeter> THID_DMM::CreateDecoder(int32_t type) const
{
    return std::make_unique<THidMeter>(HidMeterKind(type));
}

void THID_DMM::FillDeviceList(QStringList& list) const
{
    list = MeterNames(HidMeters);
}

void THID_DMM::ReplaceMeter(int32_t type)
{
    DeviceType = uint8_t(std::clamp(type, 0, 255));
    if (m_meter)
        m_meter->Stop();
    MeterPort().Meter = nullptr;
    m_meter = CreateDecoder(type);
    m_meter->OnLost = [this] { ReportLost(); };
    m_meter->SetDevice(DeviceHandle);
    MeterPort().Meter = m_meter.get();
    MeterPort().BuildChannelPins();
}

void THID_DMM::SetDeviceType(int32_t type)
{
    ReplaceMeter(type);
    BuildPinList();
}

void THID_DMM::ReportLost()
{
    MessageBoxAfterStep(Lang3Q("Das USB-Gerät \"%1\" wurde während der Simulation getrennt.\n"
                               "Die Simulation läuft ohne das Gerät weiter.",
                               "The USB device \"%1\" was disconnected during the simulation.\n"
                               "The simulation goes on without the device.",
                               "L'appareil USB \"%1\" a été déconnecté pendant la simulation.\n"
                               "La simulation continue sans l'appareil.")
                            .arg(Wanted.DisplayName.isEmpty() ? Name : Wanted.DisplayName),
                        QString(Name).replace(QLatin1Char('\r'), QLatin1Char(' ')), mtWarning);
}

void THID_DMM::PropagateAddress()
{
    TIOInterface::PropagateAddress();
    m_meter->SetDevice(DeviceHandle);
}

void THID_DMM::SimStart()
{
    THIDInterface::SimStart();
    m_meter->SetDevice(DeviceHandle);
    m_meter->Start();
}

void THID_DMM::SimStop()
{
    m_meter->Stop();
    THIDInterface::SimStop();
}

void THID_DMM::getKonfigData()
{
    TIOInterface::getKonfigData();
    ListDevices(Devices, 0, 0);
    if (DialogNames.isEmpty())
        DialogNames = DeviceNames;
    PresentNames.clear();
    for (const TDeviceInfo& info : Devices)
        PresentNames << info.DisplayName;
    if (auto* dialog = dynamic_cast<TDefault_Dlg*>(SettingsDialog)) {
        dialog->setWindowTitle(QStringLiteral("DMM (USB)"));
        dialog->PinBtn->hide();
    }
    const qsizetype at = DialogNames.indexOf(Name);
    if (at >= 0)
        ChosenIndex = int32_t(at);
    TPropScrollbox* rows = DialogRows();
    if (!rows)
        return;
    // A compiled program and a running circuit keep their meter.
    if (!DlgRuntimeMode && !DlgSimRunning)
        rows->AddComboProp(Translate(QStringLiteral("Gerät")), ChosenIndex, DialogNames, 250);
    PresentIndex = FindDevice(Wanted);
    rows->AddComboProp(Translate(QStringLiteral("Treiber")) + QStringLiteral(" [HID]"),
                       PresentIndex, PresentNames, 250);
}

void THID_DMM::ApplySettings()
{
    ChooseDevice(PresentIndex);
    BaseAddress = Wanted.Occurrence;
    if (!DlgRuntimeMode && !DlgSimRunning && ChosenIndex >= 0
        && ChosenIndex < DialogNames.size()) {
        const QString chosen = DialogNames[ChosenIndex];
        const int32_t type = NameToType(chosen);
        Name = chosen;
        if (type != DeviceType) {
            ReplaceMeter(type);
            if (Running)
                m_meter->Start();
        }
    }
    BuildPinList();
    TIOInterface::ApplySettings();
}

void THID_DMM::writeToStream(TWriter& writer)
{
    BaseAddress = Wanted.Occurrence;
    TIOInterface::writeToStream(writer);
    writer.WriteRawInt16(int16_t(Wanted.VendorID));
    writer.WriteRawInt16(int16_t(Wanted.ProductID));
}

void THID_DMM::readFromStream(TReader& reader)
{
    TIOInterface::readFromStream(reader);
    Wanted.VendorID = uint16_t(reader.ReadRawInt16());
    Wanted.ProductID = uint16_t(reader.ReadRawInt16());
    Wanted.Occurrence = BaseAddress;
    // The stored name chooses the meter.
    SetDeviceType(NameToType(Name));
}
