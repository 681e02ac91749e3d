#include "hardware/instruments/SerialInstrument.h"

#include "platform/Filer.h"
#include "platform/ValueText.h"

#include <algorithm>

void TSerialInstrument::PreparePort()
{
    TCate& cate = *ComTableEntry(ComNumber);
    // Settings on a closed object are only stored; an open one that refuses them is reported
    // when the run opens it.
    try {
        cate.SetBaudRate(m_line.Baud);
        cate.SetDatabits(TDataBits::_8);
        cate.SetParity(TParity::None);
        cate.SetStopbits(m_line.Stopbits);
    } catch (const ECommError&) {
    }
    cate.Multimeter = false;
    cate.BisteGDM = false;
}

void TSerialInstrument::SimStart()
{
    TSerialInterface::SimStart();
    TCate& cate = GetCate();
    if (!cate.Connected())
        return;
    if (m_line.Rts)
        cate.SetRTS(*m_line.Rts);
    cate.SetDTR(m_line.Dtr);
}

void TSerialInstrument::ApplySettings()
{
    TSerialInterface::ApplySettings();
    PreparePort();
}

void TSerialInstrument::writeToStream(TWriter& writer)
{
    TSerialInterface::writeToStream(writer);
    writer.WriteRawByte(uint8_t(ComNumber));
}

void TSerialInstrument::readFromStream(TReader& reader)
{
    TSerialInterface::readFromStream(reader);
    SetComPort(reader.ReadRawByte());
    PreparePort();
    PropagateAddress();
}

bool PortOpen(const TSerialPort& port)
{
    return port.Comm && port.Comm->Connected();
}

void WriteText(TSerialPort& port, const std::string& text)
{
    if (PortOpen(port) && !text.empty())
        port.Comm->Write(text.data(), int32_t(text.size()));
}

void ReadInto(TSerialPort& port, TLineSplitter& lines, int32_t maxBytes)
{
    if (!PortOpen(port))
        return;
    char buffer[1000];
    const int32_t wanted = std::min<int32_t>(std::min(port.Comm->InQueCount(), maxBytes),
                                             int32_t(sizeof buffer));
    if (wanted <= 0)
        return;
    const int32_t got = port.Comm->Read(buffer, wanted);
    if (got > 0)
        lines.Append(buffer, size_t(got));
}

std::optional<Extended> TextValue(const QString& text)
{
    const QString upper = text.toUpper();
    const bool holdsValue = std::any_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); })
                            || upper.contains(QStringLiteral("TRUE"))
                            || upper.contains(QStringLiteral("FALSE"));
    if (!holdsValue)
        return std::nullopt;
    return ParseValue(text);
}
