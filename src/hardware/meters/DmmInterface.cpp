#include "hardware/meters/DmmInterface.h"

#include "core/model/Translator.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"

#include <QToolButton>
#include <algorithm>

namespace {

// The meters on a COM port, in the order of the stored lists, with their types.
constexpr TMeterName ComMeters[] = {
    {"M 3610 D", 0},   {"M 3640 D", 0},    {"M 3650 D", 0},     {"M 3830", 0},
    {"M 3850", 0},     {"M 4650 CR", 0},   {"MS 9150", 0},      {"MS 9160", 0},
    {"Protek 506", 2}, {"M 3860 M", 1},    {"M 4660", 1},       {"GDM 703", 3},
    {"GDM 705", 3},    {"ME-22", 4},       {"ME-32", 5},        {"VC 350 (alt)", 6},
    {"VC 630", 7},     {"VC 650", 7},      {"VC 670", 7},       {"VC 350 (neu)", 8},
    {"MXD 4660A", 1},  {"M 3850 M", 1},    {"ME-42", 11},       {"VC 635", 13},
    {"VC 655", 13},    {"VC 675", 13},     {"GDM 704", 3},      {"VC 820", 14},
    {"VC 840", 14},    {"VC 608", 15},     {"DMM 750", 19},     {"DT 4000 ZC", 20},
    {"MAS-345", 11},   {"DVM 345 DI", 11}, {"UT60E", 14},       {"VC 920", 21},
    {"VC 960", 21},    {"LX 1108", 22},    {"MS-1280", 23},     {"VC 940", 21},
    {"VA18B", 24},     {"Benning MM10", 26}, {"UT803", 27},     {"UT70D", 28},
    {"UT70B", 29},     {"VC 870", 30},     {"VC 850", 31},      {"VC 830", 31},
};

} // namespace

const TDeviceDescription TDMMInterface::Description{
    .Name = "TDMMInterface",
    .Ports = {ClassEntry<TDMMInPort>()},
    .Prefix = {"DMM"},
    .PaletteName = {"Multimeter\r(COM)", "Multimeter\r(COM)", "Multimètre\r(COM)"},
    .Caption = {"DMM"},
    .HelpContext = 36000,
    .Category = TPaletteCategory::Multimeter};

TDMMInterface::TDMMInterface()
{
    Describe(Description);
    FillDeviceList(DeviceNames);
    Ports.push_back(std::make_unique<TDMMInPort>());
    ReplaceMeter(0);
    Name = QStringLiteral("M 3610 D");
    OutputCount = 0;
    BuildPinList();
    PropagateAddress();
}

TDMMInterface::~TDMMInterface()
{
    MeterPort().Meter = nullptr;
}

int32_t TDMMInterface::NameToType(const QString& name) const
{
    return MeterType(ComMeters, name);
}

std::unique_ptr<TSerialMeter> TDMMInterface::CreateDecoder(int32_t type) const
{
    return std::make_unique<TSerialMeter>(SerialMeterKind(type));
}

void TDMMInterface::FillDeviceList(QStringList& list) const
{
    list = MeterNames(ComMeters);
}

void TDMMInterface::ReplaceMeter(int32_t type)
{
    DeviceType = uint8_t(std::clamp(type, 0, 255));
    if (m_meter) {
        m_meter->Stop();
        m_meter->SetComPort(0);
    }
    MeterPort().Meter = nullptr;
    m_meter = CreateDecoder(type);
    MeterPort().Meter = m_meter.get();
    MeterPort().BuildChannelPins();
}

void TDMMInterface::SetDeviceType(int32_t type)
{
    ReplaceMeter(type);
    BuildPinList();
}

void TDMMInterface::PropagateAddress()
{
    // The meter's port opens at run start only, so choosing a COM number opens nothing.
    TSerialInterface::PropagateAddress();
}

void TDMMInterface::SimStart()
{
    TIOInterface::SimStart();
    m_meter->Start();
    m_meter->SetComPort(ComNumber);
    if (ComNumber > 0 && !m_meter->Port().Connected())
        ReportPortFailure(SerialErrorText(m_meter->Port().LastError()));
}

void TDMMInterface::SimStop()
{
    TSerialInterface::SimStop();
    m_meter->Stop();
    m_meter->SetComPort(0);
}

void TDMMInterface::getKonfigData()
{
    if (SortedNames.isEmpty()) {
        SortedNames = DeviceNames;
        std::sort(SortedNames.begin(), SortedNames.end(), [](const QString& a, const QString& b) {
            return QString::compare(a, b, Qt::CaseInsensitive) < 0;
        });
    }
    const qsizetype at = SortedNames.indexOf(Name);
    if (at >= 0)
        ChosenIndex = int32_t(at);
    // A compiled program and a running circuit keep their meter.
    if (!DlgRuntimeMode && !DlgSimRunning)
        if (TPropScrollbox* rows = DialogRows())
            rows->AddComboProp(Translate(QStringLiteral("Gerät")), ChosenIndex, SortedNames, 120);
    TSerialInterface::getKonfigData();
    if (auto* dialog = dynamic_cast<TDefault_Dlg*>(SettingsDialog))
        dialog->PinBtn->hide();
}

void TDMMInterface::ApplySettings()
{
    const int32_t oldCom = ComNumber;
    TSerialInterface::ApplySettings();
    bool changed = false;
    if (!DlgRuntimeMode && !DlgSimRunning && ChosenIndex >= 0
        && ChosenIndex < SortedNames.size()) {
        const QString chosen = SortedNames[ChosenIndex];
        const int32_t type = NameToType(chosen);
        Name = chosen;
        if (type != DeviceType) {
            ReplaceMeter(type);
            changed = true;
        }
    }
    // A running meter goes on with the new meter or port.
    if (Running && (changed || oldCom != ComNumber)) {
        m_meter->Start();
        m_meter->SetComPort(ComNumber);
        if (ComNumber > 0 && !m_meter->Port().Connected())
            ReportPortFailure(SerialErrorText(m_meter->Port().LastError()));
    }
    BuildPinList();
}

void TDMMInterface::writeToStream(TWriter& writer)
{
    TIOInterface::writeToStream(writer);
    writer.WriteInteger(DeviceType);
    writer.WriteInteger(ComNumber);
}

void TDMMInterface::readFromStream(TReader& reader)
{
    TIOInterface::readFromStream(reader);
    // The stored name chooses the meter; the stored type number is not used.
    ReplaceMeter(NameToType(Name));
    reader.ReadInteger();
    SetComPort(reader.ReadInteger());
    BuildPinList();
    PropagateAddress();
}
