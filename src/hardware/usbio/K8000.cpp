#include "hardware/usbio/K8000.h"

#include "core/model/Translator.h"
#include "hardware/framework/PortDriver.h"
#include "hardware/usbio/DeviceSettings.h"
#include "hardware/usbio/K8dLibrary.h"
#include "hardware/usbio/NumberedPins.h"
#include "platform/Clock.h"
#include "platform/Context.h"
#include "ui/PropertySheet.h"

#include <cstdlib>

namespace {

// The board is exchanged with at most this often.
constexpr int64_t kExchangeGapMs = 500;

struct TPrinterPort {
    const char* name;
    uint16_t base;
    int32_t select; // the library's number of the port
};
constexpr TPrinterPort kPrinterPorts[] = {
    {"LPT 1 ($378)", 0x378, 1}, {"LPT 2 ($278)", 0x278, 2}, {"LPT 3 ($3BC)", 0x3BC, 0}};

const TPrinterPort& PrinterPortOf(int32_t index)
{
    return kPrinterPorts[index >= 0 && index < 3 ? index : 0];
}

const QStringList& PrinterPortList()
{
    static QStringList list;
    if (list.isEmpty())
        for (const TPrinterPort& port : kPrinterPorts)
            list << QLatin1String(port.name);
    return list;
}

} // namespace

TK8dLibrary& K8dLib()
{
    static TK8dLibrary library;
    return library;
}

// --- Ports ---------------------------------------------------------------------------------------

TK8000_DOutPort::TK8000_DOutPort()
{
    Name = Lang3Q("Digitalausgänge", "Digital outputs", "Sorties digitales");
    AddNumberedPins(*this, 16, "IO", "Digitalausgang ", "Digital output ", "Sortie digitale ",
                    5.0L, false);
    SetInput(false);
}

void TK8000_DOutPort::SimStart()
{
    TK8000_Port::SimStart();
    m_lastWord = 0x10000;
}

void TK8000_DOutPort::MachEsJetzt()
{
    const uint16_t word = GetPinsAsWord();
    const int32_t k = Card();
    for (int32_t half = 0; half < 2; ++half) {
        const uint32_t shift = uint32_t(half) * 8;
        const uint32_t value = uint32_t(word) >> shift & 0xFFu;
        if (m_lastWord > 0xFFFF || (m_lastWord >> shift & 0xFFu) != value)
            K8dLib().IOoutput.Call(2 * k + half, int32_t(value));
    }
    m_lastWord = word;
}

TK8000_DInPort::TK8000_DInPort()
{
    Name = Lang3Q("Digitaleingänge", "Digital inputs", "Entrées digitales");
    AddNumberedPins(*this, 16, "IO", "Digitaleingang ", "Digital input ", "Entrée digitale ",
                    5.0L, false);
    SetInput(true);
}

void TK8000_DInPort::MachEsJetzt()
{
    const int32_t k = Card();
    const auto low = K8dLib().ReadIOchip.Call(2 * k);
    const auto high = K8dLib().ReadIOchip.Call(2 * k + 1);
    if (low && high)
        SetPinsFromWord(uint16_t((*low & 0xFF) | (*high & 0xFF) << 8));
}

TK8000_AInPort::TK8000_AInPort()
{
    Name = Lang3Q("Analogeingänge", "Analogue inputs", "Entrées analogiques");
    AddNumberedPins(*this, 4, "AD", "AD ", "AD ", "AD ", 5.0L, true);
    SetInput(true);
}

void TK8000_AInPort::MachEsJetzt()
{
    const int32_t k = Card();
    for (size_t j = 0; j < Pins.size() && j < 4; ++j)
        if (const auto raw = K8dLib().ReadADchannel.Call(4 * k + int32_t(j) + 1))
            PinRawToValue(*Pins[j], uint16_t(std::clamp(*raw, 0, 0xFFFF)));
}

TK8000_AOutPort::TK8000_AOutPort()
{
    Name = Lang3Q("Analogausgänge", "Analogue outputs", "Sorties analogiques");
    AddNumberedPins(*this, 8, "DAC", "DAC ", "DAC ", "DAC ", 10.0L, true);
    for (auto& pin : Pins)
        pin->RawMax = 63;
    TPin& da = AddPin(QStringLiteral("DA1"), QStringLiteral("DA1"), 0.0L, 2.55L, true);
    da.RawMax = 255;
    SetInput(false);
}

void TK8000_AOutPort::SimStart()
{
    TK8000_Port::SimStart();
    m_lastRaw.fill(-1);
}

void TK8000_AOutPort::MachEsJetzt()
{
    const int32_t k = Card();
    for (size_t j = 0; j < Pins.size() && j < m_lastRaw.size(); ++j) {
        const int32_t raw = PinValueToRaw(*Pins[j]);
        if (raw == m_lastRaw[j])
            continue;
        m_lastRaw[j] = raw;
        if (j < 8)
            K8dLib().OutputDACchannel.Call(8 * k + int32_t(j) + 1, raw);
        else
            K8dLib().OutputDAchannel.Call(k + 1, raw);
    }
}

// --- Device --------------------------------------------------------------------------------------

const TDeviceDescription TK8000::Description{
    .Name = "TK8000",
    .Ports = {ClassEntry<TK8000_DOutPort>(), ClassEntry<TK8000_DInPort>(),
              ClassEntry<TK8000_AInPort>(), ClassEntry<TK8000_AOutPort>()},
    .Prefix = {"K8000-"},
    .PaletteName = {"Velleman K8000\rInterface"},
    .Caption = {"Velleman K8000"},
    .Category = TPaletteCategory::Velleman,
    .MakerFiles = {"K8D.DLL", "DLPORTIO.SYS", "DLPORTIO.DLL", "K8E.exe"}};

TK8000::TK8000() : TVendorLibraryDevice(K8dLib())
{
    Describe(Description);
    ClearPorts();
    Name = QStringLiteral("Velleman K8000");
    Ports.push_back(std::make_unique<TK8000_DOutPort>());
    Ports.push_back(std::make_unique<TK8000_DInPort>());
    Ports.push_back(std::make_unique<TK8000_AInPort>());
    Ports.push_back(std::make_unique<TK8000_AOutPort>());
    BaseAddress = 0;
    BuildPinList();
    PropagateAddress();
}

void TK8000::getKonfigData()
{
    TVendorLibraryDevice::getKonfigData();
    DlgAddress = PrinterPort();
    DlgCard = Card();
    if (TPropScrollbox* rows = DialogRows()) {
        rows->AddComboProp(QStringLiteral("Port [LPT]"), DlgAddress, PrinterPortList(), 140);
        rows->AddComboProp(Translate(QStringLiteral("Karte")), DlgCard, CardList(), 140);
    }
}

void TK8000::ApplySettings()
{
    TVendorLibraryDevice::ApplySettings();
    BaseAddress = uint16_t(std::clamp(DlgCard, 0, 3) * 16 + (std::clamp(DlgAddress, 0, 2) & 15));
    PropagateAddress();
}

int32_t TK8000::GrantPortAccess()
{
    const uint16_t base = PrinterPortOf(PrinterPort()).base;
    return PortDriver().SetPortRangeAccess(base, uint16_t(base + 3), true);
}

void TK8000::SimStart()
{
    // Without the library the board stays closed for the run.
    if (!CheckLibrary())
        return;
    PropagateAddress();
    TK8dLibrary& lib = K8dLib();
    lib.Start_K8000.Call();
    lib.SelectI2CprinterPort.Call(PrinterPortOf(PrinterPort()).select);
    lib.ConfigAllIOasOutput.Call();
    m_lastExchange = Clock().TickCount();
    m_started = true;
    TVendorLibraryDevice::SimStart();
}

void TK8000::SimStop()
{
    TVendorLibraryDevice::SimStop();
    if (m_started)
        K8dLib().Stop_K8000.Call();
    m_started = false;
}

void TK8000::MachEsJetzt()
{
    if (!m_started)
        return;
    const uint32_t now = Clock().TickCount();
    if (std::abs(int64_t(int32_t(now - m_lastExchange))) < kExchangeGapMs)
        return;
    m_lastExchange = now;
    TVendorLibraryDevice::MachEsJetzt();
}

void TK8000::writeToIni(TIniFile& ini, const QString& section)
{
    WriteDeviceKey(ini, section, Name, BaseAddress, 2);
}

void TK8000::readFromIni(TIniFile& ini, const QString& section)
{
    BaseAddress = ReadDeviceKey(ini, section) & 0xFF;
    PropagateAddress();
}
