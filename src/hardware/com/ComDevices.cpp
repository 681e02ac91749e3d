#include "hardware/com/ComDevices.h"

#include "core/model/Translator.h"
#include "hardware/com/ByteDlg.h"
#include "platform/Context.h"
#include "platform/Cp1252.h"
#include "platform/Filer.h"
#include "platform/ValueText.h"
#include "ui/ByteSequence.h"
#include "ui/PropertySheet.h"

#include <QTableWidget>

namespace {

// Receivers keep this many bytes while no end-of-data sequence came.
constexpr qsizetype kMaxPendingBytes = 250;
// A receiver takes at most this many bytes in one step; the rest waits for the next steps, so
// a peer that sends without end never holds the step.
constexpr int kMostBytesPerStep = 4096;
// The number sender writes at most this many characters of the formatted number.
constexpr qsizetype kMaxNumberText = 30;

bool High(const TPin& pin)
{
    return GetPinValue(pin) > 2.5L;
}

// The data pins 0..7 of a port as one byte.
uint8_t DataByte(const TIOPort& port)
{
    uint8_t b = 0;
    for (size_t i = 0; i < 8 && i < port.Pins.size(); ++i)
        if (High(*port.Pins[i]))
            b = uint8_t(b | (1u << i));
    return b;
}

void WriteBytes(TCate* comm, const std::vector<uint8_t>& bytes)
{
    if (comm && !bytes.empty())
        comm->Write(bytes.data(), int32_t(bytes.size()));
}

void WriteBytes(TCate* comm, const QByteArray& bytes)
{
    if (comm && !bytes.isEmpty())
        comm->Write(bytes.constData(), int32_t(bytes.size()));
}

} // namespace

std::vector<uint8_t> ParseComSequence(const QString& text)
{
    std::vector<uint8_t> bytes = ParseByteSequence(text);
    if (bytes.size() > size_t(kMaxSequenceBytes))
        bytes.resize(size_t(kMaxSequenceBytes));
    return bytes;
}

// --- Sending ports -------------------------------------------------------------------------------

void TComByteOutPort::MachEsJetzt()
{
    const uint8_t b = DataByte(*this);
    if (Comm)
        Comm->Write(&b, 1);
}

void TComByteOutPort::writeToStream(TWriter& writer)
{
    TSerialDOutPort::writeToStream(writer);
    writer.WriteInteger(0);
}

void TComByteOutPort::readFromStream(TReader& reader)
{
    TSerialDOutPort::readFromStream(reader);
    reader.ReadInteger();
}

TComBytefolgeOutPort::TComBytefolgeOutPort()
{
    for (size_t i = 0; i < 8 && i < Pins.size(); ++i)
        Pins[i]->PinName = QStringLiteral("DS") + QString::number(i);
    Sequences << QStringLiteral(" Definition");
    for (int i = 0; i < 256; ++i)
        Sequences << QString();
}

void TComBytefolgeOutPort::MachEsJetzt()
{
    WriteBytes(Comm.get(), ParseComSequence(Sequences.value(DataByte(*this) + 1)));
}

void TComBytefolgeOutPort::writeToStream(TWriter& writer)
{
    TSerialDOutPort::writeToStream(writer);
    writer.WriteInteger(0);
    for (int i = 1; i <= 256; ++i)
        writer.WriteString(Sequences.value(i));
}

void TComBytefolgeOutPort::readFromStream(TReader& reader)
{
    TSerialDOutPort::readFromStream(reader);
    reader.ReadInteger();
    for (int i = 1; i <= 256; ++i)
        Sequences[i] = reader.ReadString();
}

TComZahlOutPort::TComZahlOutPort() = default;

void TComZahlOutPort::MachEsJetzt()
{
    if (Pins.empty())
        return;
    const QString text = NumberFormat.FormatValue(double(GetPinValue(*Pins[0])));
    WriteBytes(Comm.get(), ToCp1252(text).left(kMaxNumberText));
}

void TComZahlOutPort::writeToStream(TWriter& writer)
{
    TSerialDOutPort::writeToStream(writer);
    writer.WriteInteger(0);
    writer.WriteRawByte(LegacyOptions);
    writer.WriteInteger(LegacyFloatDigits);
    writer.WriteInteger(LegacyDigits);
    writer.WriteInteger(255);
    NumberFormat.WriteData(writer);
}

void TComZahlOutPort::readFromStream(TReader& reader)
{
    TSerialDOutPort::readFromStream(reader);
    reader.ReadInteger();
    LegacyOptions = reader.ReadRawByte();
    LegacyFloatDigits = uint8_t(reader.ReadInteger());
    LegacyDigits = uint8_t(reader.ReadInteger());
    const int32_t marker = reader.ReadInteger();
    if (marker == 255) {
        NumberFormat.ReadData(reader);
        return;
    }
    // An old record: the format comes from the legacy fields.
    LegacyDecimals = uint8_t(marker);
    NumberFormat.Options = TFormatOptions::FromByte(LegacyOptions);
    NumberFormat.Digits = NumberFormat.Options.Contains(TFormatOption::Float) ? LegacyFloatDigits
                                                                              : LegacyDigits;
    NumberFormat.Decimals = marker;
}

void TComStringOutPort::MachEsJetzt()
{
    if (!Pins.empty())
        WriteBytes(Comm.get(), ToCp1252(Pins[0]->Text).left(kMaxSentText));
}

void TComControlPort::MachEsJetzt()
{
    if (!Comm || Pins.size() < 2)
        return;
    Comm->SetRTS(High(*Pins[0]));
    Comm->SetDTR(High(*Pins[1]));
}

// --- Receiving ports -----------------------------------------------------------------------------

void TComByteInPort::SimStart()
{
    TComInPort::SimStart();
    Armed = false;
    for (auto& pin : Pins)
        SetPinValue(*pin, 0.0L);
}

void TComByteInPort::ResetReceive()
{
    if (Armed)
        return;
    Armed = true;
    if (Pins.size() > 8)
        SetPinValue(*Pins[8], 5.0L);
}

void TComByteInPort::MachEsJetzt()
{
    if (!Armed || !Comm || Comm->InQueCount() <= 0 || Pins.size() < 9)
        return;
    uint8_t b = 0;
    if (Comm->Read(&b, 1) != 1)
        return;
    for (size_t i = 0; i < 8; ++i)
        SetPinDigital(*Pins[i], (b >> i & 1u) != 0);
    SetPinValue(*Pins[8], 0.0L);
    Armed = false;
}

void TComByteInPort::writeToStream(TWriter& writer)
{
    TComInPort::writeToStream(writer);
    writer.WriteInteger(0);
}

void TComByteInPort::readFromStream(TReader& reader)
{
    TComInPort::readFromStream(reader);
    reader.ReadInteger();
}

TComSyncInPort::TComSyncInPort()
{
    SetSyncString(QStringLiteral("13"));
}

void TComSyncInPort::SetSyncString(const QString& text)
{
    m_syncString = text;
    const std::vector<uint8_t> bytes = ParseComSequence(text);
    // The sequence counts up to its first zero byte, as a text would.
    m_sync.clear();
    for (uint8_t b : bytes) {
        if (b == 0)
            break;
        m_sync.append(char(b));
    }
}

void TComSyncInPort::SimStart()
{
    TComInPort::SimStart();
    Armed = false;
    if (Pins.size() > 1)
        SetPinValue(*Pins[1], 0.0L);
    Clear();
}

void TComSyncInPort::ResetReceive()
{
    if (Armed)
        return;
    if (Pins.size() > 1)
        SetPinValue(*Pins[1], 5.0L);
    Armed = true;
    RxText.clear();
}

void TComSyncInPort::MachEsJetzt()
{
    if (!Comm || !Comm->Connected())
        return;
    for (int taken = 0; Armed && taken < kMostBytesPerStep && Comm->InQueCount() > 0; ++taken) {
        char b = 0;
        if (Comm->Read(&b, 1) != 1)
            break;
        RxText.append(b);
        // Checked after every byte, so a match can only end with the byte just taken.
        if (!m_sync.isEmpty() && RxText.endsWith(m_sync)) {
            Deliver(RxText.left(RxText.size() - m_sync.size()));
            Armed = false;
            RxText.clear();
        } else if (RxText.size() > kMaxPendingBytes) {
            RxText.remove(0, 1);
        }
    }
    if (!Armed && Pins.size() > 1)
        SetPinValue(*Pins[1], 0.0L);
}

void TComSyncInPort::writeToStream(TWriter& writer)
{
    TComInPort::writeToStream(writer);
    writer.WriteInteger(0);
    writer.WriteString(m_syncString);
}

void TComSyncInPort::readFromStream(TReader& reader)
{
    TComInPort::readFromStream(reader);
    reader.ReadInteger();
    SetSyncString(reader.ReadString());
}

void TComZahlInPort::Deliver(const QByteArray& data)
{
    if (!Pins.empty())
        SetPinValue(*Pins[0], ParseValue(FromCp1252(data)));
}

void TComZahlInPort::Clear()
{
    if (!Pins.empty())
        SetPinValue(*Pins[0], 0.0L);
}

void TComStringInPort::Deliver(const QByteArray& data)
{
    if (!Pins.empty()) {
        Pins[0]->Text = FromCp1252(data);
        SetPinValue(*Pins[0], Pins[0]->Value); // the time stamp of the change
    }
}

void TComStringInPort::Clear()
{
    if (!Pins.empty())
        Pins[0]->Text.clear();
}

// --- The device ----------------------------------------------------------------------------------

TComInterface::TComInterface()
{
    Describe(Description);
    Name = Lang3Q("serielle Schnittstelle", "Serial interface", "Interface série");
    SetKind(3);
    SetComPort(0);
    BuildPinList();
    PropagateAddress();
    PrefixText.clear();
    SuffixText.clear();
}

void TComInterface::SetKind(uint8_t kind)
{
    Kind = kind;
    ClearPorts();
    std::unique_ptr<TSerialPort> port;
    const QString send = Lang3Q("Senden bei neg. Flanke", "Send at neg. edge",
                                  "Envoyer sur front desc.");
    auto replacePins = [](TIOPort& p) { p.ClearPins(); };
    switch (kind) {
    case 0:
        port = std::make_unique<TComByteOutPort>();
        port->Name = Lang3Q("Byte senden", "Send byte", "Envoyer octet");
        port->AddPin(send, QStringLiteral("|SND"), 0.0L, 5.0L, false);
        break;
    case 1:
        port = std::make_unique<TComBytefolgeOutPort>();
        port->Name = Lang3Q("Bytefolge senden", "Send sequence", "Envoyer séquence");
        port->AddPin(send, QStringLiteral("|SND"), 0.0L, 5.0L, false);
        break;
    case 2:
        port = std::make_unique<TComZahlOutPort>();
        replacePins(*port);
        port->Name = Lang3Q("Zahlenwert senden", "Send value", "Envoyer valeur");
        port->AddPin(Lang3Q("Zahlenwert", "Value", "Valeur"), QStringLiteral("Z"), -1e99L,
                     1e99L, false);
        port->AddPin(send, QStringLiteral("|SND"), 0.0L, 5.0L, false);
        break;
    case 3:
        port = std::make_unique<TComByteInPort>();
        port->Name = Lang3Q("Byte empfangen", "Receive byte", "Recevoir octet");
        port->AddPin(Lang3Q("BSY - Warten auf Byte", "BSY - Wait for data",
                              "BSY - Attente données"),
                     QStringLiteral("BSY"), 0.0L, 5.0L, false);
        break;
    case 4:
    case 7: {
        if (kind == 4)
            port = std::make_unique<TComZahlInPort>();
        else
            port = std::make_unique<TComStringInPort>();
        replacePins(*port);
        if (kind == 4) {
            port->Name = Lang3Q("Zahlenwert empfangen", "Receive value", "Valeur reçue");
            port->AddPin(Lang3Q("Zahlenwert", "Value", "Value"), QStringLiteral("Z"), -1e99L,
                         1e99L, false);
        } else {
            port->Name = Lang3Q("String empfangen", "Receive String", "String reçue");
            port->AddPin(QStringLiteral("String"), QStringLiteral("$"), -1e99L, 1e99L, false);
        }
        port->AddPin(Lang3Q("BSY - Warten auf Zahl", "BSY - Wait for data",
                              "BSY - Attente données"),
                     QStringLiteral("BSY"), 0.0L, 5.0L, false);
        break;
    }
    case 5:
        port = std::make_unique<TComControlPort>();
        replacePins(*port);
        port->Name = QStringLiteral("RTS / DTR");
        port->AddPin(QStringLiteral("RTS"), QStringLiteral("RTS"), 0.0L, 5.0L, false);
        port->AddPin(QStringLiteral("DTR"), QStringLiteral("DTR"), 0.0L, 5.0L, false);
        break;
    default:
        port = std::make_unique<TComStringOutPort>();
        replacePins(*port);
        port->Name = Lang3Q("String senden", "Send string", "Envoyer string");
        port->AddPin(QStringLiteral("String"), QStringLiteral("$"), -1e99L, 1e99L, false);
        port->AddPin(send, QStringLiteral("|SND"), 0.0L, 5.0L, false);
        Kind = 6;
        break;
    }
    port->SetInput(Receives());
    Ports.push_back(std::move(port));
    if (Kind == 1 || Kind == 2 || Kind == 6)
        SuffixText = QStringLiteral("13 10");
    else if (Kind == 0)
        SuffixText.clear();
    BuildPinList();
    if (Receives())
        OutputCount = 1;
}

TSerialPort* TComInterface::DevicePort() const
{
    return Ports.empty() ? nullptr : static_cast<TSerialPort*>(Ports.front().get());
}

QString TComInterface::GetOutputLabel(int32_t index)
{
    if (index == 0 && Receives())
        return QStringLiteral("|CK");
    return TSerialInterface::GetOutputLabel(index);
}

int32_t TComInterface::ClockInput() const
{
    return Receives() ? 0 : -1;
}

void TComInterface::SetValue(int32_t index, Extended value)
{
    if (index != 0 || !Receives()) {
        TSerialInterface::SetValue(index, value);
        return;
    }
    const bool level = value > 2.5L;
    if (level == TriggerLevel)
        return;
    TriggerLevel = level;
    if (level)
        return;
    auto* port = dynamic_cast<TComInPort*>(DevicePort());
    if (!port || port->Armed)
        return;
    SkipReceive = true;
    ResetReceive();
}

void TComInterface::SetPinUsed(int32_t index, bool used)
{
    // The clock input of a receiver reaches no pin.
    if (!Receives())
        TSerialInterface::SetPinUsed(index, used);
}

void TComInterface::SimStart()
{
    TriggerLevel = false;
    SkipReceive = false;
    TSerialInterface::SimStart();
    GetCate().PurgeIn();
}

void TComInterface::MachEsJetzt()
{
    TSerialPort* port = DevicePort();
    if (ComNumber < 1 || !port)
        return;
    switch (Kind) {
    case 0:
    case 1:
    case 2:
    case 6: {
        const size_t trigger = Kind <= 1 ? 8 : 1;
        if (trigger >= port->Pins.size())
            return;
        const bool level = High(*port->Pins[trigger]);
        if (!level && TriggerLevel) {
            WriteBytes(port->Comm.get(), PrefixBytes);
            port->MachEsJetzt();
            WriteBytes(port->Comm.get(), SuffixBytes);
        }
        TriggerLevel = level;
        break;
    }
    case 5:
        port->MachEsJetzt();
        break;
    default:
        if (SkipReceive)
            SkipReceive = false;
        else
            port->MachEsJetzt();
        break;
    }
}

void TComInterface::ParseFrame()
{
    PrefixBytes = ParseComSequence(PrefixText);
    SuffixBytes = ParseComSequence(SuffixText);
}

void TComInterface::getKonfigData()
{
    TSerialInterface::getKonfigData();
    TPropScrollbox* rows = DialogRows();
    if (!rows || Kind == 5)
        return;
    TSerialDialogValues& values = SerialDialogValues();
    rows->AddCaptionProp(Translate(QStringLiteral("Parameter")));
    rows->AddComboProp(QStringLiteral("Baud"), values.Baud, BaudList(), 90);
    rows->AddComboProp(QStringLiteral("Data"), values.Databits, DatabitsList(), 90);
    rows->AddComboProp(QStringLiteral("Parity"), values.Parity, ParityList(), 90);
    rows->AddComboProp(QStringLiteral("Stop"), values.Stopbits, StopbitsList(), 90);
    rows->AddCaptionProp(Translate(QStringLiteral("Optionen")));
    if (Kind == 1) {
        if (auto* port = dynamic_cast<TComBytefolgeOutPort*>(DevicePort()))
            Byte_Dlg().SetSequences(port->Sequences);
        SequenceDlgResult = 1;
        rows->AddDialogProp(Translate(QStringLiteral("Abfolgen")), SequenceDlgResult, Byte_Dlg());
    }
    if (Kind == 2)
        if (auto* port = dynamic_cast<TComZahlOutPort*>(DevicePort()))
            rows->AddFormatProp(Translate(QStringLiteral("Format")), port->NumberFormat);
    if (Kind == 4 || Kind == 7)
        if (auto* port = dynamic_cast<TComSyncInPort*>(DevicePort())) {
            m_syncEdit = port->SyncString();
            rows->AddSyncProp(Translate(QStringLiteral("Trennzeichen")), m_syncEdit);
        }
    if (Kind == 0 || Kind == 1 || Kind == 2 || Kind == 6)
        rows->AddFrameProp(Translate(QStringLiteral("Rahmen")), PrefixText, SuffixText);
}

void TComInterface::ApplySettings()
{
    TSerialInterface::ApplySettings();
    if (Kind == 1 && SequenceDlgResult == 1)
        if (auto* port = dynamic_cast<TComBytefolgeOutPort*>(DevicePort()))
            port->Sequences = Byte_Dlg().Sequences();
    TCate& cate = GetCate();
    cate.BisteGDM = false;
    cate.Multimeter = true;
    if (Receives())
        OutputCount = 1;
    if (Kind == 4 || Kind == 7)
        if (auto* port = dynamic_cast<TComSyncInPort*>(DevicePort()))
            port->SetSyncString(m_syncEdit);
    ParseFrame();
    PropagateAddress();
}

void TComInterface::writeToStream(TWriter& writer)
{
    writer.WriteInteger(Kind);
    TSerialInterface::writeToStream(writer);
    writer.WriteInteger(ComNumber);
    TCate& cate = GetCate();
    writer.WriteInteger(int32_t(cate.BaudRate()));
    writer.WriteInteger(int32_t(cate.Parity()));
    writer.WriteInteger(int32_t(cate.Databits()));
    writer.WriteInteger(int32_t(cate.Stopbits()));
    writer.WriteString(PrefixText);
    writer.WriteString(SuffixText);
}

void TComInterface::readFromStream(TReader& reader)
{
    SetKind(uint8_t(TReader::CheckCount(reader.ReadInteger(), 0, 7, "Kind")));
    TSerialInterface::readFromStream(reader);
    SetComPort(reader.ReadInteger());
    const int32_t baud = reader.ReadInteger();
    const int32_t parity = reader.ReadInteger();
    const int32_t databits = reader.ReadInteger();
    const int32_t stopbits = reader.ReadInteger();
    TCate& cate = GetCate();
    try {
        cate.SetBaudRate(TBaudRate(std::clamp(baud, 0, int32_t(TBaudRate::Baud256000))));
        cate.SetParity(TParity(std::clamp(parity, 0, int32_t(TParity::Space))));
        cate.SetDatabits(TDataBits(std::clamp(databits, 0, int32_t(TDataBits::_8))));
        cate.SetStopbits(TStopBits(std::clamp(stopbits, 0, int32_t(TStopBits::_2))));
    } catch (const ECommError&) {
        // Refused by a port open for another device; reported when this device opens it.
    }
    PrefixText = reader.ReadString();
    SuffixText = reader.ReadString();
    ParseFrame();
    PropagateAddress();
    if (Receives())
        OutputCount = 1;
}

// --- Descriptions ------------------------------------------------------------------------------

namespace {

constexpr int32_t kComHelpContext = 41000;

// A stored kind may give any of the COM devices any of these ports.
std::vector<TClassEntry> ComPorts()
{
    return {ClassEntry<TComByteOutPort>(),   ClassEntry<TComBytefolgeOutPort>(),
            ClassEntry<TComZahlOutPort>(),   ClassEntry<TComStringOutPort>(),
            ClassEntry<TComControlPort>(),   ClassEntry<TComByteInPort>(),
            ClassEntry<TComZahlInPort>(),    ClassEntry<TComStringInPort>()};
}

} // namespace

const TDeviceDescription TComInterface::Description{
    .Name = "TComInterface", .Ports = ComPorts(),
    .Prefix = {"HW"}, .PaletteName = {"Hardware"}, .Caption = {"Interface"},
    .HelpContext = kComHelpContext};

const TDeviceDescription TComByteSenden::Description{
    .Name = "TComByteSenden", .Ports = ComPorts(),
    .Prefix = {"CBS"},
    .PaletteName = {"COM\rByte senden", "COM\rSend byte", "COM\rEnvoyer octet"},
    .Caption = {"Byte senden", "Send byte", "Envoyer octet"},
    .HelpContext = kComHelpContext, .Category = TPaletteCategory::RS232,
    .LegacyNames = {"TBTCOM_SendByte"}};

const TDeviceDescription TComBytefolgeSenden::Description{
    .Name = "TComBytefolgeSenden", .Ports = ComPorts(),
    .Prefix = {"CTS"},
    .PaletteName = {"COM\rBytefolge senden", "COM\rSend sequence", "COM\rEnvoyer séquence"},
    .Caption = {"Bytefolge senden", "Send sequence", "Envoyer séquence"},
    .HelpContext = kComHelpContext, .Category = TPaletteCategory::RS232,
    .LegacyNames = {"TBTCOM_SendText"}};

const TDeviceDescription TComZahlSenden::Description{
    .Name = "TComZahlSenden", .Ports = ComPorts(),
    .Prefix = {"CVS"},
    .PaletteName = {"COM\rZahl senden", "COM\rSend value", "COM\rEnvoyer valeur"},
    .Caption = {"COM"},
    .HelpContext = kComHelpContext, .Category = TPaletteCategory::RS232,
    .LegacyNames = {"TBTCOM_SendValue"}};

const TDeviceDescription TComStringSenden::Description{
    .Name = "TComStringSenden", .Ports = ComPorts(),
    .Prefix = {"$CS"},
    .PaletteName = {"COM\rString senden", "COM\rSend string", "COM\rEnvoyer string"},
    .Caption = {"COM"},
    .HelpContext = kComHelpContext, .Category = TPaletteCategory::RS232};

const TDeviceDescription TComByteEmpfangen::Description{
    .Name = "TComByteEmpfangen", .Ports = ComPorts(),
    .Prefix = {"CRB"},
    .PaletteName = {"COM\rByte empfangen", "COM\rReceive byte", "COM\rRecevoir octet"},
    .Caption = {"Byte empfangen", "Receive byte", "Recevoir octet"},
    .HelpContext = kComHelpContext, .Category = TPaletteCategory::RS232,
    .LegacyNames = {"TBTCOM_ReceiveByte"}};

const TDeviceDescription TComZahlEmpfangen::Description{
    .Name = "TComZahlEmpfangen", .Ports = ComPorts(),
    .Prefix = {"CRV"},
    .PaletteName = {"COM\rZahl empfangen", "COM\rReceive value", "COM\rRecevoir valeur"},
    .Caption = {"COM"},
    .HelpContext = kComHelpContext, .Category = TPaletteCategory::RS232,
    .LegacyNames = {"TBTCOM_ReceiveValue"}};

const TDeviceDescription TComStringEmpfangen::Description{
    .Name = "TComStringEmpfangen", .Ports = ComPorts(),
    .Prefix = {"$CR"},
    .PaletteName = {"COM\rString empfangen", "COM\rReceive string", "COM\rRecevoir string"},
    .Caption = {"COM"},
    .HelpContext = kComHelpContext, .Category = TPaletteCategory::RS232};

const TDeviceDescription TComControl::Description{
    .Name = "TComControl", .Ports = ComPorts(),
    .Prefix = {"OCTR"}, .PaletteName = {"COM\rRTS / DTR"}, .Caption = {"OCTR"},
    .HelpContext = kComHelpContext, .Category = TPaletteCategory::RS232};
