#include "hardware/transport/SerialTransport.h"

#include "hardware/transport/ComPort.h"
#include "hardware/transport/SerialInterface.h"

#include <algorithm>

namespace {

class TComTransport final : public IByteTransport {
public:
    explicit TComTransport(std::shared_ptr<TCate> port) : m_port(std::move(port)) {}

    bool Connected() override { return m_port->Connected(); }
    int32_t Write(const uint8_t* data, int32_t count) override
    {
        if (!m_port->Connected())
            return -1;
        const int32_t written = m_port->Write(data, count);
        return written < count ? -1 : written;  // fewer only after the write time-out
    }
    int32_t InQueCount() override { return m_port->InQueCount(); }
    int32_t Read(uint8_t* data, int32_t count) override { return m_port->Read(data, count); }
    void PurgeIn() override { m_port->PurgeIn(); }
    int32_t BaudValue() override { return BaudList().value(int(m_port->BaudRate())).toInt(); }

private:
    std::shared_ptr<TCate> m_port;
};

template <class E>
E Clamped(int32_t index, int32_t last)
{
    return E(std::clamp(index, 0, last));
}

} // namespace

std::shared_ptr<IByteTransport> OpenSerialTransport(int32_t com, const TSerialLineSettings& line)
{
    std::shared_ptr<TCate> port = com > 0 ? ComTableEntry(com) : nullptr;
    if (!port)
        return nullptr;
    try {
        port->SetBaudRate(Clamped<TBaudRate>(line.Baud, int32_t(BaudList().size()) - 1));
        port->SetParity(Clamped<TParity>(line.Parity, int32_t(ParityList().size()) - 1));
        port->SetDatabits(Clamped<TDataBits>(line.DataBits, int32_t(DatabitsList().size()) - 1));
        port->SetStopbits(Clamped<TStopBits>(line.StopBits, int32_t(StopbitsList().size()) - 1));
        if (port->Port() != com)
            port->SetPort(com);
        port->Open();
    } catch (const ECommError&) {
        // A setting the line refuses (4 data bits, a rate the port cannot do): no port.
        return nullptr;
    }
    if (!port->Connected())
        return nullptr;
    return std::make_shared<TComTransport>(std::move(port));
}

void InstallSerialTransport()
{
    SerialTransportOpener() = OpenSerialTransport;
}
