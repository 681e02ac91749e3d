#pragma once
// The raw TCP device: text messages framed by prefix and suffix bytes go out on a falling edge
// of "|SND"; a falling edge of "|REC" takes the next received message, cut by a delimiter or a
// fixed length. As a client it shares one connection per host and port with every device that
// names them (also the Modbus/TCP devices); as a server one listening socket per port.

#include "comm/tcp/SharedPool.h"
#include "comm/tcp/Socket.h"
#include "hardware/framework/IoInterface.h"

#include <QByteArray>

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

// How received bytes are cut into messages.
struct TFraming {
    uint8_t Mode = 0;                // 0 delimiter, 1 fixed length, anything else: no reading
    std::vector<uint8_t> Delimiter;  // empty: one byte per message
    int32_t FixedLength = 1;         // 1..1000
};

// The longest message cut by a delimiter; longer ones are handed on in pieces of this size.
constexpr size_t kMaxDelimitedMessage = 65536;

// Takes the next complete message out of pending, or nothing while it is incomplete.
std::optional<QByteArray> TakeMessage(std::vector<uint8_t>& pending, const TFraming& framing);

// One client connection of the pool.
class TPureClient {
public:
    TPureClient(uint16_t port, const QString& host) : Port(port), Host(host) {}
    const uint16_t Port;
    const QString Host;
    TTcpSocket Socket;
    TFraming Framing;               // copied from the device at connect time
    std::vector<uint8_t> Pending;   // received and not yet taken (client receive cycle)
    uint16_t Transaction = 0;       // the last Modbus/TCP transaction number on this connection

    // Connects unless connected; false when that failed.
    bool EnsureConnected(int timeoutMs);
};

// Client connections, one per port and exact host text; an entry lives as long as a device
// holds it, so every run builds new connections.
class TPureClients {
public:
    std::shared_ptr<TPureClient> GetClient(uint16_t port, const QString& host);
    int Count() const { return m_pool.Count(); }

private:
    TSharedPool<TPureClient> m_pool;
};
TPureClients& PureClients();

// One listening server of the pool; its connections all feed one received text.
class TPureServer {
public:
    explicit TPureServer(uint16_t port);
    ~TPureServer();
    const uint16_t Port;
    TTcpListener Listener;

    void SetFraming(const TFraming& framing);
    // The received text is handed over by the armed flag: the connection threads store a
    // message only while armed and then disarm; the step takes the text only while disarmed.
    std::atomic<bool> Armed{false};
    // Waits for the next message (a message that already came is taken at once).
    void Arm();
    QByteArray ReceivedText() const;

private:
    bool Serve(TTcpSocket& connection, std::vector<uint8_t>& pending);
    mutable std::mutex m_lock;
    TFraming m_framing;
    QByteArray m_received;
};

class TPureServers {
public:
    // The server of the port, listening on the address ("*" for every interface); a port that
    // cannot be bound is reported to the user.
    std::shared_ptr<TPureServer> GetServer(uint16_t port, const QString& address);
    int Count() const { return m_pool.Count(); }

private:
    TSharedPool<TPureServer> m_pool;
};
TPureServers& PureServers();

// Reads a port text: a decimal number 1..65535, else nothing.
std::optional<uint16_t> ParsePortText(const QString& text);
// Reports a listening port that cannot be bound.
void ReportPortNotBound(uint16_t port, const QString& address, TTcpListener::TFailure why,
                        const QString& caption);
// Tells the user, once per run (seen becomes -1), that the listener refused peers beyond its
// most connections; seen is the refusals known at run start.
void ReportRefusedPeers(const TTcpListener& listener, uint16_t port, int& seen,
                        const QString& caption);
// Reports a port text that is no port; the stored port stays.
void ReportBadPort(const QString& text);

class TPureTCPOutPort : public TIOPort {
public:
    TV_CLASS_NAME(TPureTCPOutPort)
    TPureTCPOutPort();
    bool LastSend = false;
    bool LastReceive = false;
};

class TPureTCPInPort : public TIOPort {
public:
    TV_CLASS_NAME(TPureTCPInPort)
    TPureTCPInPort();
};

class TPureTCP : public TIOInterface {
public:
    TV_CLASS_NAME(TPureTCP)
    static const TDeviceDescription Description;
    TPureTCP();
    ~TPureTCP() override;

    int32_t Mode = 0; // 0 client, 1 server
    QString Host = QStringLiteral("127.0.0.1");
    uint16_t Port = 31000;
    int32_t FramingMode = 0;
    int32_t FixedLength = 1;
    QString DelimiterText = QStringLiteral("13");
    QString PrefixText;
    QString SuffixText;
    int32_t ReadTimeout = 1000;

    void getKonfigData() override;
    void ApplySettings() override;
    void SimStart() override;
    void SimStop() override;
    void MachEsJetzt() override;
    void writeToStream(TWriter& writer) override;
    void readFromStream(TReader& reader) override;
    void writeToIni(TIniFile& ini, const QString& section) override;
    void readFromIni(TIniFile& ini, const QString& section) override;

    // Enables the rows that the chosen mode and framing use.
    virtual void DialogChanged();

    const std::shared_ptr<TPureClient>& ClientEntry() const { return m_client; }
    const std::shared_ptr<TPureServer>& ServerEntry() const { return m_server; }

protected:
    TFraming CurrentFraming() const;
    // A connect attempt of the client entry (unless connected), blocking up to timeoutMs.
    void ConnectClient(int timeoutMs);
    // A reconnect in a step whose second of the minute is 0 or 30 (once in that second).
    void RetryAtHalfMinute(int timeoutMs);
    void ReleaseEntries();
    TPin* PinOf(size_t port, size_t pin) const;

    QString m_portText;        // dialog copy
    int32_t m_dlgFramingMode = 0;
    int32_t m_dlgMode = 0;
    std::shared_ptr<TPureClient> m_client;
    std::shared_ptr<TPureServer> m_server;
    int m_lastAttemptSecond = -1;

private:
    void ClientStep();
    void ServerStep();
    std::vector<uint8_t> Message() const;
    bool SendEdge(TPureTCPOutPort& port);
    bool ReceiveEdge(TPureTCPOutPort& port);

    std::vector<uint8_t> m_prefix;
    std::vector<uint8_t> m_suffix;
    bool m_clientArmed = false;
    int m_refusedSeen = 0;  // refused peers of the server known at run start; -1 once told
    int m_typRow = -1, m_framingRow = -1, m_delimiterRow = -1, m_fixedRow = -1;
};

// One stamp for all raw TCP servers: true when at least 1 ms has passed since the last true.
bool PureServerSendCheckDue();
