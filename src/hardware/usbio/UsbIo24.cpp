#include "hardware/usbio/UsbIo24.h"

#include "core/model/Translator.h"
#include "hardware/usbio/SerialLineSettings.h"
#include "hardware/usbio/UsbIoProtocol.h"
#include "platform/Clock.h"
#include "platform/Filer.h"
#include "ui/PropertySheet.h"

namespace {

// A request the module has not answered within this time is dropped, and the poll moves on.
constexpr uint32_t kAnswerTimeoutMs = 1000;

QStringList DirectionList()
{
    return {Translate(QStringLiteral("Eingang")), Translate(QStringLiteral("Ausgang"))};
}

} // namespace

// --- Port ----------------------------------------------------------------------------------------

TRavar_USB_IO24_Port::TRavar_USB_IO24_Port()
{
    SetLetter('A');
    SetInput(true);
}

void TRavar_USB_IO24_Port::SetLetter(char letter)
{
    m_letter = letter;
    const QString text(QLatin1Char{letter});
    Name = QStringLiteral("Port ") + text;
    const bool input = IsInput;
    ClearPins();
    for (int bit = 0; bit < 8; ++bit)
        AddPin(QStringLiteral("Port %1; Bit %2").arg(text).arg(bit), text + QString::number(bit),
               0.0L, 5.0L, false);
    SetInput(input);
}

void TRavar_USB_IO24_Port::SimStart()
{
    TSerialPort::SimStart();
    if (!Comm || Comm->Port() == 0)
        return;
    SetSerial8N1(*Comm, TBaudRate::Baud9600);
    const auto frame = usbio::Io24DirectionFrame(m_letter, IsInput);
    Comm->Write(frame.data(), int32_t(frame.size()));
}

void TRavar_USB_IO24_Port::ResetPins()
{
    m_lastSent = 0xFFFF;
    m_requested = false;
}

void TRavar_USB_IO24_Port::WriteOutput()
{
    if (IsInput || !Comm || Comm->Port() == 0)
        return;
    const uint8_t value = uint8_t(GetPinsAsWord() & 0xFFu);
    if (value == m_lastSent)
        return;
    const auto frame = usbio::Io24WriteFrame(m_letter, value);
    Comm->Write(frame.data(), int32_t(frame.size()));
    m_lastSent = value;
}

bool TRavar_USB_IO24_Port::Poll()
{
    if (!Comm)
        return true;
    TCate& cate = *Comm;
    if (!m_requested) {
        if (cate.Port() != 0) {
            const uint8_t request = usbio::Io24ReadRequest(m_letter);
            cate.Write(&request, 1);
        }
        m_requested = true;
        m_requestedAt = Clock().TickCount();
        return false;
    }
    int32_t waiting = cate.InQueCount();
    if (waiting <= 0) {
        if (Clock().TickCount() - m_requestedAt < kAnswerTimeoutMs)
            return false;
        // Silent module: forget the request, so that it is asked again.
        cate.PurgeIn();
        m_requested = false;
        return true;
    }
    // Everything that came; the last byte is the newest state of the port.
    uint8_t last = 0;
    bool any = false;
    uint8_t buffer[64];
    while (waiting > 0) {
        const int32_t got = cate.Read(buffer, std::min<int32_t>(waiting, sizeof buffer));
        if (got <= 0)
            break;
        last = buffer[got - 1];
        any = true;
        waiting -= got;
    }
    if (any)
        SetPinsFromWord(last);
    m_requested = false;
    return true;
}

// --- Device --------------------------------------------------------------------------------------

const TDeviceDescription TRavar_USB_IO24::Description{
    .Name = "TRavar_USB_IO24",
    .Ports = {ClassEntry<TRavar_USB_IO24_Port>()},
    .Prefix = {"USB-IO"},
    .PaletteName = {"Ravar/Elexol\rUSB I/O 24 II"},
    .Caption = {"USB I/O 24 II"},
    .Category = TPaletteCategory::AndereHersteller};

TRavar_USB_IO24::TRavar_USB_IO24()
{
    Describe(Description);
    ClearPorts();
    Name = QStringLiteral("USB I/O 24 II");
    for (char letter : {'A', 'B', 'C'}) {
        auto port = std::make_unique<TRavar_USB_IO24_Port>();
        port->SetLetter(letter);
        Ports.push_back(std::move(port));
    }
    BuildPinList();
    PropagateAddress();
}

TRavar_USB_IO24_Port& TRavar_USB_IO24::Port(size_t i) const
{
    return static_cast<TRavar_USB_IO24_Port&>(*Ports[i]);
}

void TRavar_USB_IO24::PreparePort()
{
    SetSerial8N1(*ComTableEntry(ComNumber), TBaudRate::Baud9600);
}

void TRavar_USB_IO24::getKonfigData()
{
    TSerialInterface::getKonfigData();
    for (size_t i = 0; i < DlgDirections.size(); ++i)
        DlgDirections[i] = Port(i).IsInput ? 0 : 1;
    TPropScrollbox* rows = DialogRows();
    if (!rows)
        return;
    rows->AddCaptionProp(Translate(QStringLiteral("Digital")));
    for (size_t i = 0; i < DlgDirections.size(); ++i)
        rows->AddComboProp(Port(i).Name, DlgDirections[i], DirectionList(), 120);
}

void TRavar_USB_IO24::ApplySettings()
{
    TSerialInterface::ApplySettings();
    for (size_t i = 0; i < DlgDirections.size(); ++i)
        Port(i).SetInput(DlgDirections[i] == 0);
    BuildPinList();
}

void TRavar_USB_IO24::SimStart()
{
    // Forgetting the values first: resetting the shared port after the start would purge the
    // direction frames before they are on the line.
    TSerialInterface::ResetPins();
    TSerialInterface::SimStart();
}

void TRavar_USB_IO24::MachEsJetzt()
{
    if (GetCate().Port() != 0)
        for (size_t i = 0; i < Ports.size(); ++i)
            Port(i).WriteOutput();
    TRavar_USB_IO24_Port& polled = Port(m_pollIndex % Ports.size());
    if (polled.IsInput && !polled.Poll())
        return;
    m_pollIndex = uint8_t((m_pollIndex + 1) % Ports.size());
}

void TRavar_USB_IO24::writeToStream(TWriter& writer)
{
    TSerialInterface::writeToStream(writer);
    writer.WriteRawByte(uint8_t(ComNumber));
    BuildPinList();
}

void TRavar_USB_IO24::readFromStream(TReader& reader)
{
    TSerialInterface::readFromStream(reader);
    SetComPort(reader.ReadRawByte());
}
