#pragma once
// The value link between program instances: single values on channels 0..255 over TCP in
// 16-byte frames. A device is a client that connects to another instance or a server that
// others connect to; clients with the same host and port share one connection and its reader,
// servers with the same port one listening socket.

#include "comm/tcp/SharedPool.h"
#include "comm/tcp/Socket.h"
#include "hardware/framework/IoInterface.h"

#include <array>
#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace valuelink {

constexpr size_t kFrameSize = 16;
constexpr uint8_t kValue = 0;
constexpr uint8_t kRequest = 1;

struct TFrame {
    uint8_t Kind = kValue;
    uint8_t Channel = 0;
    double Value = 0.0;
};

std::array<uint8_t, kFrameSize> Encode(const TFrame& frame);
// The frame, or nothing for a value that is not a finite number.
std::optional<TFrame> Decode(const uint8_t* bytes);

// 256 channel values, written by connection threads and read by the step.
class TSlots {
public:
    double Get(uint8_t channel) const;
    void Set(uint8_t channel, double value);

private:
    mutable std::mutex m_lock;
    std::array<double, 256> m_values{};
};

} // namespace valuelink

// One listening value-link server.
class TTvServer {
public:
    explicit TTvServer(uint16_t port);
    ~TTvServer();
    const uint16_t Port;
    TTcpListener Listener;
    valuelink::TSlots Slots;
    std::atomic<int> RequestedChannel{-1};

private:
    bool Serve(TTcpSocket& connection, std::vector<uint8_t>& pending);
};

class TServers {
public:
    // The server of the port, listening on the address ("*" for every interface); a port that
    // cannot be bound is reported to the user.
    std::shared_ptr<TTvServer> GetServer(uint16_t port, const QString& address);
    int Count() const { return m_pool.Count(); }

private:
    TSharedPool<TTvServer> m_pool;
};
TServers& Servers();

// One client connection with its reader thread.
class TTvClient {
public:
    TTvClient(uint16_t port, const QString& host) : Port(port), Host(host) {}
    ~TTvClient();
    const uint16_t Port;
    const QString Host;
    TTcpSocket Socket;
    valuelink::TSlots Slots;

    bool Connected() const { return Socket.Connected(); }
    // Connects (ending the reader of an old connection first) and starts the reader.
    bool Connect(int timeoutMs);
    bool HasReader() const { return m_reader.joinable(); }
    // Wakes the reader out of its read, waits for it to end, and closes the connection.
    void StopReader();

private:
    void Read();
    std::thread m_reader;
    std::atomic<bool> m_stop{false};
};

class TClients {
public:
    std::shared_ptr<TTvClient> GetClient(uint16_t port, const QString& host);
    int Count() const { return m_pool.Count(); }

private:
    TSharedPool<TTvClient> m_pool;
};
TClients& Clients();

class TTCPOutPort : public TIOPort {
public:
    TV_CLASS_NAME(TTCPOutPort)
    TTCPOutPort();
    Extended LastValue = 0.0L; // the last value sent
};

class TTCPInPort : public TIOPort {
public:
    TV_CLASS_NAME(TTCPInPort)
    TTCPInPort();
};

class TTCP : public TIOInterface {
public:
    TV_CLASS_NAME(TTCP)
    static const TDeviceDescription Description;
    TTCP();
    ~TTCP() override;

    int32_t Mode = 0; // 0 client, 1 server
    QString Host = QStringLiteral("127.0.0.1");
    uint16_t Port = 30000;
    int32_t Channel = 0;
    int32_t SignalKind = 0; // 0 analog, 1 digital

    void getKonfigData() override;
    void ApplySettings() override;
    void SimStart() override;
    void SimStop() override;
    void MachEsJetzt() override;
    void writeToStream(TWriter& writer) override;
    void readFromStream(TReader& reader) override;

    void SetSignalKind(int32_t kind);
    void DialogChanged();

    const std::shared_ptr<TTvClient>& ClientEntry() const { return m_client; }
    const std::shared_ptr<TTvServer>& ServerEntry() const { return m_server; }

private:
    void ClientStep();
    void ServerStep();
    // The value to send while EN is high; nothing while it is low.
    std::optional<Extended> ValueToSend() const;
    void ShowReceived(double value);
    void SetConnected(bool on);
    void MoveLastValue();
    void TryConnect(int timeoutMs);
    TTCPOutPort& Transmit() const;
    TTCPInPort& Receive() const;

    std::shared_ptr<TTvClient> m_client;
    std::shared_ptr<TTvServer> m_server;
    bool m_resend = false;
    int m_refusedSeen = 0;  // refused peers of the server known at run start; -1 once told
    int m_lastMinute = 0; // minute of the hour of the last reconnect attempt
    QString m_portText;
    int32_t m_dlgMode = 0;
    int32_t m_dlgSignal = 0;
    int m_typRow = -1, m_signalRow = -1;
};
