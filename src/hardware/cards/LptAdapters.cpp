#include "hardware/cards/LptAdapters.h"

#include "core/model/Translator.h"
#include "hardware/cards/PortCard.h"
#include "hardware/framework/PortDriver.h"
#include "hardware/ports/LptProtocol.h"
#include "platform/Context.h"

namespace {

constexpr uint8_t kAck = 0x40; // status bit of the ACK line

uint16_t DataRegister(uint16_t base)
{
    return uint16_t(base + lpt::kDataOffset);
}
uint16_t StatusRegister(uint16_t base)
{
    return uint16_t(base + lpt::kStatusOffset);
}
uint16_t ControlRegister(uint16_t base)
{
    return uint16_t(base + lpt::kControlOffset);
}

// Control register values of the analyser adapter: the strobes of its two latches.
constexpr uint8_t kLowStrobe = 0x00;
constexpr uint8_t kHighStrobe = 0x05;
constexpr uint8_t kLatch = 0x06;
constexpr uint8_t kIdle = 0x04;

} // namespace

// --- Analyser adapter ----------------------------------------------------------------------------

TELVAnalyserDOutPort::TELVAnalyserDOutPort()
{
    ClearPins();
    for (int n = 1; n <= 12; ++n)
        AddPin(Translate(QStringLiteral("Ausgang")) + QStringLiteral(" A") + QString::number(n),
               QStringLiteral("A") + QString::number(n), 0.0L, 5.0L, false);
    SetInput(false);
}

void TELVAnalyserDOutPort::SimStart()
{
    TDOutPort::SimStart();
    m_latched = false;
}

void TELVAnalyserDOutPort::MachEsJetzt()
{
    if (!Running || BaseAddress < portcard::kFirstAddress)
        return;
    const uint16_t data = DataRegister(BaseAddress);
    const uint16_t control = ControlRegister(BaseAddress);
    if (m_latched) {
        if (!m_due.Due())
            return;
        PortWriteByte(data, 0);
        m_latched = false;
        return;
    }
    const uint16_t w = GetPinsAsWord();
    PortWriteByte(data, uint8_t(w & 0xFF));
    PortWriteByte(control, kLowStrobe);
    PortWriteByte(control, kLatch);
    PortWriteByte(data, uint8_t(w >> 8));
    PortWriteByte(control, kHighStrobe);
    PortWriteByte(control, kLatch);
    m_due.Start(kSettleMs);
    m_latched = true;
}

TELVAnalyserDInPort::TELVAnalyserDInPort()
{
    ClearPins();
    for (int n = 1; n <= 12; ++n)
        AddPin(Translate(QStringLiteral("Eingang")) + QStringLiteral(" E") + QString::number(n),
               QStringLiteral("E") + QString::number(n), 0.0L, 5.0L, false);
    SetInput(true);
}

uint8_t TELVAnalyserDInPort::SelectCode(int line)
{
    return line <= 7 ? uint8_t(0x80 + line) : uint8_t(line * 16 - 0x78);
}

void TELVAnalyserDInPort::SimStart()
{
    TDInPort::SimStart();
    m_line = -1;
}

void TELVAnalyserDInPort::Select()
{
    const uint16_t control = ControlRegister(BaseAddress);
    PortWriteByte(DataRegister(BaseAddress), SelectCode(m_line));
    PortWriteByte(control, kLowStrobe);
    PortWriteByte(control, kLatch);
    m_due.Start(kSettleMs);
}

void TELVAnalyserDInPort::MachEsJetzt()
{
    if (!Running || BaseAddress < portcard::kFirstAddress)
        return;
    if (m_line < 0) {
        // A scan goes from E12 down to E1.
        m_line = 11;
        m_bits = 0;
        Select();
        return;
    }
    if (!m_due.Due())
        return;
    const uint8_t status = PortReadByte(StatusRegister(BaseAddress));
    m_bits = uint16_t(m_bits * 2 + ((status & kAck) ? 0 : 1));
    PortWriteByte(DataRegister(BaseAddress), 0);
    if (m_line > 0) {
        --m_line;
        Select();
        return;
    }
    m_line = -1;
    SetPinsFromWord(m_bits);
}

const TDeviceDescription TELVAnalyser::Description{
    .Name = "TELVAnalyser",
    .Ports = {ClassEntry<TELVAnalyserDOutPort>(), ClassEntry<TELVAnalyserDInPort>()},
    .Prefix = {"Analyzer"},
    .PaletteName = {"ELV-Analyzer"},
    .Caption = {"ELV-Analyzer"},
    .HelpContext = 18750,
    .Category = TPaletteCategory::ELV,
    .LegacyNames = {"TBTELV_Analyzer"}};

TELVAnalyser::TELVAnalyser()
{
    Describe(Description);
    Name = QStringLiteral("ELV-Analyzer");
    ClearPorts();
    Ports.push_back(std::make_unique<TELVAnalyserDOutPort>());
    Ports.push_back(std::make_unique<TELVAnalyserDInPort>());
    BuildPinList();
    BaseAddress = 0;
    PropagateAddress();
}

void TELVAnalyser::MachEsJetzt()
{
    if (Ports.size() < 2)
        return;
    auto& out = static_cast<TELVAnalyserDOutPort&>(*Ports[0]);
    auto& in = static_cast<TELVAnalyserDInPort&>(*Ports[1]);
    if (PortToggle) {
        out.MachEsJetzt();
        if (!out.InSequence())
            PortToggle = false;
    } else {
        in.MachEsJetzt();
        if (!in.InSequence())
            PortToggle = true;
    }
}

void TELVAnalyser::SimStop()
{
    if (!Running)
        return;
    // The adapter's control lines back to rest while the port may still be written.
    if (BaseAddress >= portcard::kFirstAddress)
        PortWriteByte(ControlRegister(BaseAddress), kIdle);
    TLPTInterface::SimStop();
}

void TELVAnalyser::ResetPins()
{
    if (Running) {
        TLPTInterface::ResetPins();
        return;
    }
    SimStart();
    TLPTInterface::ResetPins();
    SimStop();
}

// --- CSI 7001 ------------------------------------------------------------------------------------

TCSI7001DOutPort::TCSI7001DOutPort()
{
    Name = Lang3Q("Relaisaugänge", "Relay outputs", "Sorties relais");
    ClearPins();
    for (int n = 1; n <= 8; ++n)
        AddPin(Translate(QStringLiteral("Relais")) + QLatin1Char(' ') + QString::number(n),
               QStringLiteral("R") + QString::number(n), 0.0L, 5.0L, false);
    SetInput(false);
}

void TCSI7001DOutPort::MachEsJetzt()
{
    if (BaseAddress < portcard::kFirstAddress)
        return;
    PortWriteByte(DataRegister(BaseAddress), uint8_t(GetPinsAsWord() & 0xFF));
}

TCSI7001DInPort::TCSI7001DInPort()
{
    Name = Lang3Q("Optoeingänge", "Opto inputs", "Entrées opto");
    ClearPins();
    for (int n = 1; n <= 8; ++n)
        AddPin(Lang3Q("Optoeingang ", "Input ", "Entrée ") + QString::number(n),
               QStringLiteral("IN") + QString::number(n), 0.0L, 5.0L, false);
    SetInput(true);
}

void TCSI7001DInPort::MachEsJetzt()
{
    if (BaseAddress < portcard::kFirstAddress)
        return;
    const uint16_t control = ControlRegister(BaseAddress);
    // A pulse on one control bit, the other bits of the register kept.
    const auto pulse = [control](uint8_t bit) {
        PortWriteByte(control, uint8_t(PortReadByte(control) | bit));
        PortWriteByte(control, uint8_t(PortReadByte(control) & (0x0F & ~bit)));
    };
    pulse(0x02); // load the inputs into the shift register (AUTOFEED)
    uint16_t bits = 0;
    for (int i = 0; i < 8; ++i) {
        bits = uint16_t(bits * 2);
        if (!(PortReadByte(StatusRegister(BaseAddress)) & kAck))
            ++bits;
        pulse(0x01); // the next bit (STROBE)
    }
    SetPinsFromWord(bits);
}

const TDeviceDescription TCSI7001::Description{
    .Name = "TCSI7001",
    .Ports = {ClassEntry<TCSI7001DOutPort>(), ClassEntry<TCSI7001DInPort>()},
    .Prefix = {"CSI"},
    .PaletteName = {"ELV-CSI-7001"},
    .Caption = {"ELV-CSI-7001"},
    .HelpContext = 18750,
    .Category = TPaletteCategory::ELV,
    .LegacyNames = {"TBTCSI7001"}};

TCSI7001::TCSI7001()
{
    Describe(Description);
    Name = QStringLiteral("ELV-CSI 7001");
    ClearPorts();
    Ports.push_back(std::make_unique<TCSI7001DOutPort>());
    Ports.push_back(std::make_unique<TCSI7001DInPort>());
    BuildPinList();
    BaseAddress = 0;
    PropagateAddress();
}
