#include "hardware/usbio/IoWarrior.h"

#include "core/model/Translator.h"
#include "hardware/usbio/DeviceSettings.h"
#include "hardware/usbio/IowkitLibrary.h"
#include "ui/PropertySheet.h"

#include <algorithm>
#include <array>

namespace {

// The chip's pause after an exchange.
constexpr double kExchangeMs = 10.0;

} // namespace

// --- Port ----------------------------------------------------------------------------------------

void TWarriorDIOPort::SetPortLetter(const QString& letter)
{
    const bool input = IsInput;
    ClearPins();
    Name = QStringLiteral("Port ") + letter
           + (input ? QStringLiteral(" (Read)") : QStringLiteral(" (Write)"));
    for (int n = 0; n < 8; ++n)
        AddPin(QStringLiteral("Port %1 Bit %2").arg(letter).arg(n),
               (input ? QStringLiteral("R") : QStringLiteral("W")) + letter + QLatin1Char('.')
                   + QString::number(n),
               0.0L, 5.0L, false);
    SetInput(input);
}

// --- IO-Warrior 24/40 ----------------------------------------------------------------------------

const TDeviceDescription TWarrior::Description{
    .Name = "TWarrior",
    .Ports = {ClassEntry<TWarriorDIOPort>()},
    .Prefix = {"IOW-"},
    .PaletteName = {"CodeMercs\rIO-Warrior 24/40"},
    .Caption = {"CodeMercs\rIO-Warrior 24/40"},
    .Category = TPaletteCategory::CodeMercenaries,
    .MakerFiles = {"IOWKIT.DLL"}};

TWarrior::TWarrior(const TDeviceDescription& description) : TVendorLibraryDevice(Iowkit())
{
    Describe(description);
    ClearPorts();
    BaseAddress = 0;
}

TWarrior::TWarrior() : TWarrior(Description)
{
    Name = QStringLiteral("CodeMercs\rIO-Warrior 24/40");
    AddPorts({QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")});
}

void TWarrior::AddPorts(const QStringList& letters)
{
    // Keeps the order write ports 0.., read ports 0.. of every chip size.
    std::vector<std::unique_ptr<TIOPort>> reads;
    for (size_t k = m_portCount; k < Ports.size(); ++k)
        reads.push_back(std::move(Ports[k]));
    Ports.resize(m_portCount);
    for (const bool input : {false, true}) {
        for (const QString& letter : letters) {
            auto port = std::make_unique<TWarriorDIOPort>();
            port->SetInput(input);
            port->SetPortLetter(letter);
            (input ? reads : Ports).push_back(std::move(port));
        }
    }
    m_portCount += size_t(letters.size());
    for (auto& port : reads)
        Ports.push_back(std::move(port));
    BuildPinList();
    PropagateAddress();
}

uint8_t TWarrior::WrittenByte(size_t k) const
{
    return uint8_t(Ports[k]->GetPinsAsWord() & 0xFFu);
}

void TWarrior::SetReadByte(size_t k, uint8_t value)
{
    Ports[m_portCount + k]->SetPinsFromWord(value);
}

void TWarrior::getKonfigData()
{
    TVendorLibraryDevice::getKonfigData();
    if (DeviceList.isEmpty()) {
        DeviceList << Translate(QStringLiteral("Kein"));
        if (CheckLibraryForDialog()) {
            const uint32_t count =
                std::min<uint32_t>(Iowkit().IowKitGetNumDevs.Call().value_or(0), 16);
            for (uint32_t n = 1; n <= count; ++n)
                DeviceList << QStringLiteral("IO-Warrior #%1").arg(n);
        }
    }
    if (DlgAddress >= DeviceList.size())
        DlgAddress = 0;
    if (TPropScrollbox* rows = DialogRows())
        rows->AddComboProp(Translate(QStringLiteral("Gerät")), DlgAddress, DeviceList, 130);
}

void TWarrior::ApplySettings()
{
    BaseAddress = uint16_t(DlgAddress);
    TVendorLibraryDevice::ApplySettings();
    BuildPinList();
    PropagateAddress();
}

void TWarrior::SimStart()
{
    if (!CheckLibrary())
        return;
    TIowkitLibrary& lib = Iowkit();
    m_handle = lib.IowKitGetDeviceHandle.Call(BaseAddress).value_or(nullptr);
    // No device behind the number: nothing is asked of the library during the run.
    m_productId = m_handle ? lib.IowKitGetProductId.Call(m_handle).value_or(0) : 0;
    if (m_handle)
        lib.IowKitSetTimeout.Call(m_handle, 1000);
    m_lastOutput = ~uint64_t(0);
    m_started = true;
    TVendorLibraryDevice::SimStart();
    PropagateAddress();
}

void TWarrior::SimStop()
{
    TVendorLibraryDevice::SimStop();
    m_started = false;
    m_handle = nullptr;
}

bool TWarrior::Ready() const
{
    return m_started && m_handle && !Busy && !AnyPortBusy() && Library().IsLoaded();
}

void TWarrior::MachEsJetzt()
{
    if (!Ready())
        return;
    if (Exchange())
        Wait(kExchangeMs);
}

bool TWarrior::Exchange()
{
    TIowkitLibrary& lib = Iowkit();
    size_t written = 0;
    if (m_productId == kIowProduct40)
        written = 4;
    else if (m_productId == kIowProduct24 || m_productId == kIowProduct24Power
             || m_productId == kIowProduct24Sensirion)
        written = 2;
    if (written > 0) {
        std::array<char, 5> report{};
        uint64_t value = 0;
        for (size_t k = 0; k < written; ++k) {
            report[k + 1] = char(WrittenByte(k));
            value |= uint64_t(WrittenByte(k)) << (8 * k);
        }
        if (value != m_lastOutput) {
            lib.IowKitWrite.Call(m_handle, 0, report.data(), uint32_t(written + 1));
            m_lastOutput = value;
        }
    }
    // A reading the chip does not have yet leaves the read ports as they are.
    uint32_t value = 0;
    if (lib.IowKitReadImmediate.Call(m_handle, &value).value_or(0) != 0)
        for (size_t k = 0; k < 4 && k < m_portCount; ++k)
            SetReadByte(k, uint8_t(value >> (8 * k)));
    return true;
}

void TWarrior::writeToIni(TIniFile& ini, const QString& section)
{
    WriteDeviceKey(ini, section, Name, BaseAddress);
}

void TWarrior::readFromIni(TIniFile& ini, const QString& section)
{
    BaseAddress = ReadDeviceKey(ini, section);
    PropagateAddress();
}

// --- IO-Warrior 56 -------------------------------------------------------------------------------

const TDeviceDescription TWarrior56::Description{
    .Name = "TWarrior56",
    .Ports = {ClassEntry<TWarriorDIOPort>()},
    .Prefix = {"IOW-"},
    .PaletteName = {"CodeMercs\rIO-Warrior 56"},
    .Caption = {"CodeMercs\rIO-Warrior 56"},
    .Category = TPaletteCategory::CodeMercenaries,
    .MakerFiles = {"IOWKIT.DLL"}};

TWarrior56::TWarrior56() : TWarrior(Description)
{
    Name = QStringLiteral("CodeMercs\rIO-Warrior 56");
    AddPorts({QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")});
    AddPorts({QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("6")});
}

bool TWarrior56::Exchange()
{
    if (m_productId != kIowProduct56)
        return false;
    TIowkitLibrary& lib = Iowkit();
    std::array<char, 8> report{};
    for (size_t k = 0; k < 7; ++k)
        report[k + 1] = char(WrittenByte(k));
    lib.IowKitWrite.Call(m_handle, 0, report.data(), uint32_t(report.size()));
    std::array<char, 8> answer{};
    const uint32_t got =
        lib.IowKitReadNonBlocking.Call(m_handle, 0, answer.data(), uint32_t(answer.size()))
            .value_or(0);
    if (got > 0)
        for (size_t k = 0; k < 7; ++k)
            SetReadByte(k, uint8_t(answer[k + 1]));
    return true;
}
