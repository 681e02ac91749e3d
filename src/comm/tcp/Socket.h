#pragma once
// TCP sockets with time-outs, for the communication devices. Every wait is bounded by a
// time-out, writing too; a socket that another thread shuts down wakes its reader at once.

#include <QString>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class TTcpSocket {
public:
    TTcpSocket() = default;
    explicit TTcpSocket(int fd) : m_fd(fd) {}
    ~TTcpSocket();
    TTcpSocket(const TTcpSocket&) = delete;
    TTcpSocket& operator=(const TTcpSocket&) = delete;

    // Connects to host:port within timeoutMs; an open connection is closed first.
    bool Connect(const QString& host, uint16_t port, int timeoutMs);
    bool Connected() const { return m_fd.load() >= 0 && !m_broken.load(); }
    int Descriptor() const { return m_fd.load(); }
    // Writes all bytes, waiting at most kSendWaitMs in all for a peer that does not read; a
    // failure marks the connection broken.
    static constexpr int kSendWaitMs = 20;
    bool Send(const uint8_t* data, size_t count);
    bool Send(const std::vector<uint8_t>& bytes) { return Send(bytes.data(), bytes.size()); }
    // Waits up to timeoutMs (0: does not wait) for data and takes at most max bytes.
    // Returns the count, 0 when nothing came in time, -1 when the peer closed or the read failed
    // (the connection is then broken).
    int Receive(uint8_t* buffer, size_t max, int timeoutMs);
    // Drops the bytes that have arrived so far, at most kPurgeBytes of them (a peer that keeps
    // sending cannot hold the caller).
    static constexpr size_t kPurgeBytes = 4096;
    void Purge();
    // Wakes a reader in another thread and refuses further traffic; the descriptor stays until
    // Close.
    void Shutdown();
    void Close();

private:
    std::atomic<int> m_fd{-1};
    std::atomic<bool> m_broken{false};
};

// A listening socket served by one thread of its own, however many peers connect: the thread
// waits on the listening socket and every connection at once, appends what a peer sends to that
// connection's pending bytes and calls the handler, which takes what it can use from them
// (and may answer through the connection) and returns false to close the connection. The
// handler must not wait. A connection whose pending bytes reach the limit is not read until
// the handler took some. Beyond the most connections a new peer is refused (closed at once);
// when accepting fails (no descriptors left) the listener pauses before it tries again.
struct TTcpListenerLimits {
    int MostConnections = 64;
    size_t MostPending = 256 * 1024;
};

class TTcpListener {
public:
    using THandler = std::function<bool(TTcpSocket& connection, std::vector<uint8_t>& pending)>;
    using TLimits = TTcpListenerLimits;

    explicit TTcpListener(THandler handler) : TTcpListener(std::move(handler), TLimits()) {}
    TTcpListener(THandler handler, TLimits limits);
    ~TTcpListener();
    TTcpListener(const TTcpListener&) = delete;
    TTcpListener& operator=(const TTcpListener&) = delete;

    // Why a port cannot be listened on.
    enum class TFailure { None, InUse, NotPermitted, NotThisMachine, Other };
    // Starts listening on the port at the address: an address or name of this machine, "*",
    // "0.0.0.0" or "::" for every interface; empty or "0" (no address given) for this machine
    // alone (127.0.0.1). False with *why when it cannot be bound.
    bool Listen(uint16_t port, const QString& address = QStringLiteral("127.0.0.1"),
                TFailure* why = nullptr);
    bool Listening() const { return m_fd >= 0; }
    // Closes the listening socket and every connection, and ends the thread.
    void Stop();
    int ConnectionCount();
    // Peers refused because the most connections were open.
    int RefusedCount() const { return m_refused.load(); }
    // Accepts that failed for want of descriptors or memory (each followed by a pause).
    int AcceptFailures() const { return m_acceptFailures.load(); }
    // Calls f for every open connection under the connection lock.
    void ForEachConnection(const std::function<void(TTcpSocket&)>& f);
    // Lets the handler look again at every connection's pending bytes (something it waits for
    // changed).
    void Wake();

private:
    struct TConnection {
        TTcpSocket Socket;
        std::vector<uint8_t> Pending; // read and not yet taken by the handler
        std::atomic<bool> Closed{false};  // read by the step's ForEachConnection
        explicit TConnection(int fd) : Socket(fd) {}
    };
    void Serve();
    void AcceptNew();
    void ReadFrom(TConnection& connection, short events);

    THandler m_handler;
    TLimits m_limits;
    int m_fd = -1;
    int m_wakePipe[2] = {-1, -1};
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_refused{0};
    std::atomic<int> m_acceptFailures{0};
    int m_backoffMs = 0;           // pause of the accepting after a failed accept
    int64_t m_acceptAgainMs = 0;   // when accepting starts again (steady clock, ms)
    std::thread m_thread;
    std::mutex m_lock;             // m_connections' membership, against the step's readers
    std::vector<std::unique_ptr<TConnection>> m_connections;
};
