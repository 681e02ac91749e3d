#pragma once
// Communication devices stepped directly, against real peers on 127.0.0.1.

#include "hardware/HardwareTestSupport.h"
#include "hardware/framework/IoInterface.h"

#include <QProcess>

#include <arpa/inet.h>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <functional>
#include <netinet/in.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

// A TCP port that nobody listens on at the moment.
inline uint16_t FreePort()
{
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    close(fd);
    return ntohs(address.sin_port);
}

// Steps the devices until the condition holds; gives up after ten seconds of real time (the
// peers are on this machine, so only a fault takes that long).
inline bool StepUntil(const std::vector<TIOInterface*>& devices, const std::function<bool()>& done)
{
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < limit) {
        for (TIOInterface* device : devices)
            device->MachEsJetzt();
        if (done())
            return true;
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return false;
}

inline TPin& PortPin(TIOInterface& device, size_t port, size_t pin)
{
    return *device.Ports.at(port)->Pins.at(pin);
}

// A level on a clock pin, then a step: high, step, low, step gives one falling edge.
inline void ClockEdge(TIOInterface& device, TPin& clock)
{
    SetPinValue(clock, 5.0L);
    device.MachEsJetzt();
    SetPinValue(clock, 0.0L);
    device.MachEsJetzt();
}

// The bytes that wait in a socket's receive queue.
inline int WaitingBytes(int fd)
{
    int count = 0;
    return ioctl(fd, FIONREAD, &count) == 0 ? count : -1;
}

// A hostile peer on 127.0.0.1: it takes one connection and then sends the same bytes over and
// over, as fast as they are taken, until it is stopped or has sent for three seconds. A step
// that waited for it to finish would come back only after the peer gave up by itself.
class TFloodingPeer {
public:
    explicit TFloodingPeer(std::vector<uint8_t> chunk)
    {
        m_listen = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(m_listen, reinterpret_cast<sockaddr*>(&address), sizeof address);
        listen(m_listen, 4);
        socklen_t length = sizeof address;
        getsockname(m_listen, reinterpret_cast<sockaddr*>(&address), &length);
        Port = ntohs(address.sin_port);
        // Sent in large pieces, so that the peer is faster than any reader.
        std::vector<uint8_t> piece;
        while (piece.size() < 65536)
            piece.insert(piece.end(), chunk.begin(), chunk.end());
        m_thread = std::thread([this, piece = std::move(piece)] { Flood(piece); });
    }
    ~TFloodingPeer()
    {
        m_stop = true;
        m_thread.join();
        close(m_listen);
    }
    TFloodingPeer(const TFloodingPeer&) = delete;
    TFloodingPeer& operator=(const TFloodingPeer&) = delete;

    uint16_t Port = 0;
    // Holds the sending (returns once the peer holds) and lets it go on.
    void Pause()
    {
        m_pause = true;
        while (!m_paused && !m_gaveUp)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    void Resume()
    {
        m_pause = false;
        m_paused = false;
    }
    // False once the peer stopped sending by itself.
    bool StillSending() const { return !m_gaveUp; }
    int64_t Sent() const { return m_sent; }

private:
    void Flood(const std::vector<uint8_t>& chunk)
    {
        pollfd waiting{m_listen, POLLIN, 0};
        while (!m_stop && poll(&waiting, 1, 20) == 0) {
        }
        if (m_stop)
            return;
        const int fd = accept4(m_listen, nullptr, nullptr, SOCK_CLOEXEC);
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(3);
        while (!m_stop && std::chrono::steady_clock::now() < end) {
            if (m_pause) {
                m_paused = true;
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
                continue;
            }
            pollfd p{fd, POLLOUT, 0};
            if (poll(&p, 1, 20) <= 0)
                continue;
            const ssize_t n = send(fd, chunk.data(), chunk.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
            if (n < 0 && errno != EAGAIN && errno != EINTR)
                break;
            if (n > 0)
                m_sent += n;
        }
        m_gaveUp = !m_stop;
        close(fd);
    }

    int m_listen = -1;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_pause{false};
    std::atomic<bool> m_paused{false};
    std::atomic<bool> m_gaveUp{false};
    std::atomic<int64_t> m_sent{0};
    std::thread m_thread;
};
