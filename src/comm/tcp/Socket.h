#pragma once
// Blocking TCP sockets with time-outs, for the communication devices. Every wait is bounded by
// a time-out; a socket that another thread shuts down wakes its reader at once.

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
    // Writes all bytes; a failure marks the connection broken.
    bool Send(const uint8_t* data, size_t count);
    bool Send(const std::vector<uint8_t>& bytes) { return Send(bytes.data(), bytes.size()); }
    // Waits up to timeoutMs (0: does not wait) for data and takes at most max bytes.
    // Returns the count, 0 when nothing came in time, -1 when the peer closed or the read failed
    // (the connection is then broken).
    int Receive(uint8_t* buffer, size_t max, int timeoutMs);
    // Drops every byte that has arrived so far.
    void Purge();
    // Wakes a reader in another thread and refuses further traffic; the descriptor stays until
    // Close.
    void Shutdown();
    void Close();

private:
    std::atomic<int> m_fd{-1};
    std::atomic<bool> m_broken{false};
};

// A listening socket on all interfaces with one thread per accepted connection. The handler
// runs in the connection's thread with the connection's own byte store, repeatedly, until it returns false, the peer is gone or the
// listener stops; it must not block longer than briefly (use short receive time-outs).
class TTcpListener {
public:
    using THandler = std::function<bool(TTcpSocket& connection, std::vector<uint8_t>& pending)>;

    explicit TTcpListener(THandler handler);
    ~TTcpListener();
    TTcpListener(const TTcpListener&) = delete;
    TTcpListener& operator=(const TTcpListener&) = delete;

    // Starts listening; false when the port cannot be bound.
    bool Listen(uint16_t port);
    bool Listening() const { return m_fd >= 0; }
    // Closes the listening socket and every connection, and joins every thread.
    void Stop();
    int ConnectionCount();
    // Calls f for every open connection under the connection lock.
    void ForEachConnection(const std::function<void(TTcpSocket&)>& f);

private:
    struct TConnection {
        TTcpSocket Socket;
        std::thread Thread;
        std::atomic<bool> Done{false};
        std::vector<uint8_t> Pending; // bytes read and not yet taken, for the handler
        explicit TConnection(int fd) : Socket(fd) {}
    };
    void AcceptLoop();
    void Reap();

    THandler m_handler;
    int m_fd = -1;
    int m_wakePipe[2] = {-1, -1};
    std::atomic<bool> m_stop{false};
    std::thread m_acceptThread;
    std::mutex m_lock;
    std::vector<std::unique_ptr<TConnection>> m_connections;
};
