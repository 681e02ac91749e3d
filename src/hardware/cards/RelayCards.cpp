#include "hardware/cards/RelayCards.h"

#include "core/model/Translator.h"
#include "hardware/framework/PinEdit.h"
#include "hardware/framework/PortDriver.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "platform/IniFile.h"
#include "platform/PortIo.h"
#include "ui/PropertySheet.h"

#include <QSpinBox>
#include <algorithm>

namespace {

// Commands of the serial cards: a frame is command, card address, data, and the exclusive or
// of the three.
constexpr uint8_t kInitialise = 0x01;
constexpr uint8_t kSetRelays = 0x03;

void WriteFrame(TCate& cate, uint8_t command, uint8_t address, uint8_t data)
{
    const uint8_t frame[4] = {command, address, data, uint8_t(command ^ address ^ data)};
    cate.Write(frame, 4);
}

constexpr int32_t kLptCount = 3;

} // namespace

// --- Serial cards ---------------------------------------------------------------------------------

TSerRelaisOutPort::TSerRelaisOutPort()
{
    SetCardAddress(1);
}

void TSerRelaisOutPort::SetCardAddress(uint8_t n)
{
    ClearPins();
    CardAddress = n;
    for (int i = 1; i <= 8; ++i)
        AddPin(Lang3Q("Relais ", "Relay ", "Relais ") + QString::number(i),
               QString::number(n) + QLatin1Char('K') + QString::number(i), 0.0L, 5.0L, false);
    SetInput(false);
}

void TSerRelaisOutPort::SimStart()
{
    TSerialPort::SimStart();
    LastByte = -1;
}

const TDeviceDescription TSerRelais::Description{
    .Name = "TSerRelais",
    .Ports = {ClassEntry<TSerRelaisOutPort>()},
    .Prefix = {"SREL"},
    .PaletteName = {"Relaiskarte\rseriell (CONRAD)", "Relay card\r(serial)", "Carte relais\r(série)"},
    .Caption = {"Relaiskarte an COM", "Relay card (COM)", "Carte relais (COM)"},
    .HelpContext = 37000,
    .Category = TPaletteCategory::Relaiskarten,
    .LegacyNames = {"TBTRelaisSeriell"}};

TSerRelais::TSerRelais()
{
    Describe(Description);
    Name = Lang3Q("serielle Relaiskarten", "Relay cards (COM)", "Carte relais (COM)");
    SetKartenAnz(1);
    BaseAddress = 0;
    PropagateAddress();
}

void TSerRelais::SetKartenAnz(int32_t value)
{
    KartenAnz = std::clamp(value, 1, kMaxCards);
    ClearPorts();
    for (int32_t n = 1; n <= KartenAnz; ++n) {
        auto card = std::make_unique<TSerRelaisOutPort>();
        card->Name = Lang3Q("Relaiskarte ", "Relay card ", "Carte relais ") + QString::number(n);
        card->SetCardAddress(uint8_t(n));
        Ports.push_back(std::move(card));
    }
    BuildPinList();
    PropagateAddress();
}

void TSerRelais::PreparePort()
{
    TCate& cate = *ComTableEntry(ComNumber);
    if (cate.Port() != 0)
        cate.SetPort(0);
    cate.Multimeter = false;
    cate.BisteGDM = false;
    cate.SetBaudRate(TBaudRate::Baud19200);
    cate.SetDatabits(TDataBits::_8);
    cate.SetParity(TParity::None);
    cate.SetStopbits(TStopBits::_1);
}

void TSerRelais::SimStart()
{
    TSerialInterface::SimStart();
    TCate& cate = GetCate();
    WriteFrame(cate, kInitialise, 1, 0);
    m_nextFrame.Start(kFrameMs);
}

void TSerRelais::MachEsJetzt()
{
    TCate& cate = GetCate();
    if (cate.Port() == 0)
        return;
    // What the cards answer is not needed; it must not pile up. A bounded share per step, so a
    // peer that never stops sending cannot hold the step.
    uint8_t replies[64];
    for (int chunk = 0; chunk < 16 && cate.InQueCount() > 0; ++chunk)
        if (cate.Read(replies, sizeof replies) <= 0)
            break;
    if (!m_nextFrame.Due())
        return;
    for (auto& port : Ports) {
        auto* card = dynamic_cast<TSerRelaisOutPort*>(port.get());
        if (!card)
            continue;
        const uint8_t pattern = uint8_t(card->GetPinsAsWord() & 0xFF);
        if (card->LastByte == pattern)
            continue;
        if (cate.BaudRate() != TBaudRate::Baud19200) {
            try {
                cate.SetBaudRate(TBaudRate::Baud19200);
            } catch (const ECommError& e) {
                ReportPortFailure(SerialErrorText(e.ErrorCode));
                return;
            }
        }
        WriteFrame(cate, kSetRelays, card->CardAddress, pattern);
        card->LastByte = pattern;
        m_nextFrame.Start(kFrameMs);
        return;
    }
}

void TSerRelais::getKonfigData()
{
    TSerialInterface::getKonfigData();
    TPropScrollbox* rows = DialogRows();
    if (!rows || DlgRuntimeMode || DlgSimRunning)
        return;
    rows->AddSpinProp(Translate(QStringLiteral("Karten")), KartenAnz, 1, kMaxCards, 90);
    auto* editor = dynamic_cast<TSpinPropEditor*>(rows->Rows().back()->Editor);
    CardCountSpin = editor ? editor->Spin : nullptr;
    if (CardCountSpin)
        QObject::connect(CardCountSpin, &QSpinBox::valueChanged, CardCountSpin, [this](int value) {
            SetKartenAnz(value);
            PinPortDlg().PinEdit->SetPortliste(&Ports);
        });
}

void TSerRelais::ApplySettings()
{
    TSerialInterface::ApplySettings();
    PropagateAddress();
}

void TSerRelais::writeToStream(TWriter& writer)
{
    writer.WriteInteger(KartenAnz);
    TSerialInterface::writeToStream(writer);
    writer.WriteInteger(ComNumber);
}

void TSerRelais::readFromStream(TReader& reader)
{
    SetKartenAnz(reader.ReadInteger());
    TSerialInterface::readFromStream(reader);
    SetComPort(reader.ReadInteger());
    PropagateAddress();
}

// --- Parallel-port card ---------------------------------------------------------------------------

TRelaiskarteOutPort::TRelaiskarteOutPort()
{
    Name = Lang3Q("Relais der Relaiskarte", "Relay outputs", "Sorties relais");
    ClearPins();
    for (int i = 0; i < 8; ++i)
        AddPin(Lang3Q("Relais an D", "Relay at D", "Relais en D") + QString::number(i),
               QStringLiteral("RL") + QString::number(i + 1), 0.0L, 5.0L, false);
    SetInput(false);
}

void TRelaiskarteOutPort::MachEsJetzt()
{
    const uint16_t address = TRelaiskarte::DataRegister(BaseAddress);
    if (address == 0)
        return;
    const uint8_t pattern = uint8_t(GetPinsAsWord() & 0xFF);
    if (LastWritten == pattern)
        return;
    // A port the system refused is tried again in the next step (the run start told the user).
    if (!PortIo().Permitted(address))
        return;
    PortWriteByte(address, pattern);
    LastWritten = pattern;
}

void TRelaiskarteOutPort::ResetPins()
{
    LastWritten = -1;
    TDOutPort::ResetPins();
}

void TRelaiskarteOutPort::SimStart()
{
    TDOutPort::SimStart();
    LastWritten = -1;
}

const TDeviceDescription TRelaiskarte::Description{
    .Name = "TRelaiskarte",
    .Ports = {ClassEntry<TRelaiskarteOutPort>()},
    .Prefix = {"PREL"},
    .PaletteName = {"Relaiskarte\ran LPT", "Relay card\r(parallel)", "Carte relais\r(parallèle)"},
    .Caption = {"Relaiskarte an LPT", "Relay card (LPT)", "Carte relais (LPT)"},
    .HelpContext = 37000,
    .Category = TPaletteCategory::Relaiskarten,
    .LegacyNames = {"TBTRelaiskarte"}};

TRelaiskarte::TRelaiskarte()
{
    Describe(Description);
    Name = Lang3Q("LPT-Relaiskarte", "Relay card (LPT)", "Carte relais (LPT)");
    Ports.push_back(std::make_unique<TRelaiskarteOutPort>());
    BuildPinList();
    BaseAddress = 0;
    PropagateAddress();
}

uint16_t TRelaiskarte::DataRegister(int32_t lpt)
{
    switch (lpt) {
    case 1: return 0x0378;
    case 2: return 0x0278;
    case 3: return 0x03BC;
    default: return 0;
    }
}

int32_t TRelaiskarte::GrantPortAccess()
{
    const uint16_t address = DataRegister(BaseAddress);
    return address ? PortDriver().SetPortRangeAccess(address, address, true) : 0;
}

void TRelaiskarte::getKonfigData()
{
    TIOInterface::getKonfigData();
    if (LptList.isEmpty())
        LptList << Translate(QStringLiteral("Kein")) << QStringLiteral("LPT 1")
                << QStringLiteral("LPT 2") << QStringLiteral("LPT 3");
    if (TPropScrollbox* rows = DialogRows())
        rows->AddComboProp(QStringLiteral("LPT"), DlgAddress, LptList, 130);
}

void TRelaiskarte::ApplySettings()
{
    BaseAddress = uint16_t(std::clamp(DlgAddress, 0, kLptCount));
    TIOInterface::ApplySettings();
    PropagateAddress();
}

void TRelaiskarte::MakeInfoLines()
{
    InfoLines.clear();
    if (DataRegister(BaseAddress) == 0)
        InfoLines << Name + QStringLiteral(": keine");
    else
        InfoLines << Name + QStringLiteral(": LPT ") + QString::number(BaseAddress);
}

void TRelaiskarte::writeToIni(TIniFile& ini, const QString& section)
{
    ini.WriteString(section, QStringLiteral("Name"), Name);
    ini.WriteInteger(section, QStringLiteral("LPT"), BaseAddress);
}

void TRelaiskarte::readFromIni(TIniFile& ini, const QString& section)
{
    const int32_t lpt = ini.ReadInteger(section, QStringLiteral("LPT"), 0);
    BaseAddress = uint16_t(lpt >= 0 && lpt <= kLptCount ? lpt : 0);
    PropagateAddress();
}
