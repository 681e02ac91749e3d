#include "comm/tcp/Socket.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

void SetBlocking(int fd, bool blocking)
{
    const int flags = fcntl(fd, F_GETFL, 0);
    fcntl(fd, F_SETFL, blocking ? (flags & ~O_NONBLOCK) : (flags | O_NONBLOCK));
}

// Connects one resolved address within timeoutMs; the descriptor or -1.
int ConnectAddress(const addrinfo& address, int timeoutMs)
{
    const int fd = socket(address.ai_family, address.ai_socktype | SOCK_CLOEXEC,
                          address.ai_protocol);
    if (fd < 0)
        return -1;
    SetBlocking(fd, false);
    int result = connect(fd, address.ai_addr, address.ai_addrlen);
    if (result != 0 && errno == EINPROGRESS) {
        pollfd p{fd, POLLOUT, 0};
        result = -1;
        if (poll(&p, 1, timeoutMs) == 1) {
            int error = 0;
            socklen_t length = sizeof error;
            if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0)
                result = 0;
        }
    }
    if (result != 0) {
        close(fd);
        return -1;
    }
    SetBlocking(fd, true);
    const int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    return fd;
}

} // namespace

TTcpSocket::~TTcpSocket()
{
    Close();
}

bool TTcpSocket::Connect(const QString& host, uint16_t port, int timeoutMs)
{
    Close();
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const QByteArray name = host.trimmed().toUtf8();
    const QByteArray service = QByteArray::number(port);
    if (name.isEmpty() || getaddrinfo(name.constData(), service.constData(), &hints, &found) != 0)
        return false;
    int fd = -1;
    for (addrinfo* a = found; a && fd < 0; a = a->ai_next)
        fd = ConnectAddress(*a, timeoutMs);
    freeaddrinfo(found);
    if (fd < 0)
        return false;
    m_broken = false;
    m_fd = fd;
    return true;
}

bool TTcpSocket::Send(const uint8_t* data, size_t count)
{
    const int fd = m_fd.load();
    if (fd < 0 || m_broken)
        return false;
    const auto start = std::chrono::steady_clock::now();
    while (count > 0) {
        const ssize_t sent = send(fd, data, count, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent > 0) {
            data += sent;
            count -= size_t(sent);
            continue;
        }
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            // The peer does not take what was sent: wait a little, never long.
            const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(
                std::chrono::steady_clock::now() - start).count();
            pollfd p{fd, POLLOUT, 0};
            if (waited < kSendWaitMs && poll(&p, 1, int(kSendWaitMs - waited)) >= 0)
                continue;
        }
        m_broken = true;
        return false;
    }
    return true;
}

int TTcpSocket::Receive(uint8_t* buffer, size_t max, int timeoutMs)
{
    const int fd = m_fd.load();
    if (fd < 0 || m_broken)
        return -1;
    if (max == 0)
        return 0;
    pollfd p{fd, POLLIN, 0};
    const int ready = poll(&p, 1, timeoutMs < 0 ? 0 : timeoutMs);
    if (ready == 0 || (ready < 0 && errno == EINTR))
        return 0;
    const ssize_t got = ready < 0 ? -1 : recv(fd, buffer, max, MSG_DONTWAIT);
    if (got > 0)
        return int(got);
    if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR))
        return 0;
    m_broken = true;
    return -1;
}

void TTcpSocket::Purge()
{
    uint8_t scratch[4096];
    size_t dropped = 0;
    while (dropped < kPurgeBytes) {
        const int got = Receive(scratch, std::min(sizeof scratch, kPurgeBytes - dropped), 0);
        if (got <= 0)
            break;
        dropped += size_t(got);
    }
}

void TTcpSocket::Shutdown()
{
    const int fd = m_fd.load();
    if (fd >= 0)
        shutdown(fd, SHUT_RDWR);
    m_broken = true;
}

void TTcpSocket::Close()
{
    const int fd = m_fd.exchange(-1);
    if (fd >= 0)
        close(fd);
    m_broken = false;
}

// --- Listener ------------------------------------------------------------------------------------

namespace {

int64_t SteadyMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

constexpr int kFirstAcceptPauseMs = 50;
constexpr int kLongestAcceptPauseMs = 2000;
constexpr int kAcceptsPerRound = 16;

} // namespace

TTcpListener::TTcpListener(THandler handler, TLimits limits)
    : m_handler(std::move(handler)), m_limits(limits)
{
}

TTcpListener::~TTcpListener()
{
    Stop();
}

bool TTcpListener::Listen(uint16_t port, const QString& address, TFailure* why)
{
    if (m_fd >= 0)
        return true;
    const auto fail = [why](TFailure failure) {
        if (why)
            *why = failure;
        return false;
    };
    const auto failure = [](int error) {
        switch (error) {
        case EADDRINUSE: return TFailure::InUse;
        case EACCES:
        case EPERM: return TFailure::NotPermitted;
        case EADDRNOTAVAIL: return TFailure::NotThisMachine;
        default: return TFailure::Other;
        }
    };
    QString host = address.trimmed();
    if (host.isEmpty() || host == QStringLiteral("0"))
        host = QStringLiteral("127.0.0.1");
    // "0.0.0.0" and "::" name every interface by themselves.
    const bool every = host == QStringLiteral("*");
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
    addrinfo* found = nullptr;
    const QByteArray name = host.toUtf8();
    const QByteArray service = QByteArray::number(port);
    if (getaddrinfo(every ? nullptr : name.constData(), service.constData(), &hints, &found) != 0)
        return fail(TFailure::NotThisMachine);
    int fd = -1;
    int lastError = 0;
    for (addrinfo* a = found; a && fd < 0; a = a->ai_next) {
        fd = socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK, a->ai_protocol);
        if (fd < 0) {
            lastError = errno;
            continue;
        }
        const int one = 1;
        setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        if (bind(fd, a->ai_addr, a->ai_addrlen) != 0 || listen(fd, 64) != 0) {
            lastError = errno;
            close(fd);
            fd = -1;
        }
    }
    freeaddrinfo(found);
    if (fd < 0)
        return fail(failure(lastError));
    if (pipe2(m_wakePipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        close(fd);
        return fail(TFailure::Other);
    }
    m_fd = fd;
    m_stop = false;
    m_refused = 0;
    m_backoffMs = 0;
    m_acceptAgainMs = 0;
    m_thread = std::thread([this] { Serve(); });
    return true;
}

void TTcpListener::Serve()
{
    std::vector<pollfd> polled;
    while (!m_stop) {
        const int64_t now = SteadyMs();
        const bool accepting = now >= m_acceptAgainMs;
        polled.clear();
        polled.push_back({m_wakePipe[0], POLLIN, 0});
        polled.push_back({accepting ? m_fd : -1, POLLIN, 0});
        for (const auto& c : m_connections) {
            // A connection whose handler took nothing of a full store is not read meanwhile.
            const bool room = c->Pending.size() < m_limits.MostPending;
            polled.push_back({c->Socket.Descriptor(), short(room ? POLLIN : 0), 0});
        }
        const int timeout = accepting ? -1 : int(m_acceptAgainMs - now);
        if (poll(polled.data(), nfds_t(polled.size()), timeout) < 0 && errno != EINTR)
            break;
        if (m_stop)
            break;
        bool woken = false;
        if (polled[0].revents & POLLIN) {
            char drain[64];
            while (read(m_wakePipe[0], drain, sizeof drain) > 0) {
            }
            woken = true;
        }
        if (polled[1].revents & POLLIN)
            AcceptNew();
        // The connections polled are the first ones of the list (AcceptNew only appends).
        for (size_t i = 2; i < polled.size(); ++i)
            if (polled[i].revents)
                ReadFrom(*m_connections[i - 2], polled[i].revents);
        if (woken)
            for (const auto& c : m_connections)
                if (!c->Closed && !c->Pending.empty() && !m_handler(c->Socket, c->Pending))
                    c->Closed = true;
        // The closed ones go; their peers see the end at once.
        std::vector<std::unique_ptr<TConnection>> closed;
        {
            std::lock_guard<std::mutex> guard(m_lock);
            for (auto it = m_connections.begin(); it != m_connections.end();) {
                if ((*it)->Closed || !(*it)->Socket.Connected()) {
                    closed.push_back(std::move(*it));
                    it = m_connections.erase(it);
                } else {
                    ++it;
                }
            }
        }
        for (auto& c : closed)
            c->Socket.Shutdown();
    }
}

void TTcpListener::AcceptNew()
{
    for (int i = 0; i < kAcceptsPerRound; ++i) {
        const int fd = accept4(m_fd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0) {
            if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR || errno == ECONNABORTED)
                return;
            // No descriptor or no memory left: try again later, and later each time, instead of
            // being woken by the same waiting peer at once.
            ++m_acceptFailures;
            m_backoffMs = m_backoffMs == 0 ? kFirstAcceptPauseMs
                                           : std::min(2 * m_backoffMs, kLongestAcceptPauseMs);
            m_acceptAgainMs = SteadyMs() + m_backoffMs;
            return;
        }
        m_backoffMs = 0;
        if (int(m_connections.size()) >= m_limits.MostConnections) {
            close(fd);  // refused: the peer sees its connection end at once
            ++m_refused;
            continue;
        }
        const int one = 1;
        setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        std::lock_guard<std::mutex> guard(m_lock);
        m_connections.push_back(std::make_unique<TConnection>(fd));
    }
}

void TTcpListener::ReadFrom(TConnection& c, short events)
{
    const size_t room = m_limits.MostPending - std::min(m_limits.MostPending, c.Pending.size());
    if (room == 0) {
        // Not read while full; a peer that went away meanwhile is let go.
        if (events & (POLLHUP | POLLERR))
            c.Closed = true;
        return;
    }
    uint8_t buffer[16384];
    const int got = c.Socket.Receive(buffer, std::min(sizeof buffer, room), 0);
    if (got < 0) {
        c.Closed = true;
        return;
    }
    if (got == 0)
        return;
    c.Pending.insert(c.Pending.end(), buffer, buffer + got);
    if (!m_handler(c.Socket, c.Pending))
        c.Closed = true;
}

void TTcpListener::Wake()
{
    if (m_wakePipe[1] < 0)
        return;
    const char wake = 1;
    [[maybe_unused]] const ssize_t written = write(m_wakePipe[1], &wake, 1);
}

void TTcpListener::Stop()
{
    if (m_fd < 0)
        return;
    m_stop = true;
    Wake();
    if (m_thread.joinable())
        m_thread.join();
    {
        std::lock_guard<std::mutex> guard(m_lock);
        for (auto& connection : m_connections)
            connection->Socket.Shutdown();
        m_connections.clear();
    }
    close(m_fd);
    close(m_wakePipe[0]);
    close(m_wakePipe[1]);
    m_fd = -1;
    m_wakePipe[0] = m_wakePipe[1] = -1;
}

int TTcpListener::ConnectionCount()
{
    std::lock_guard<std::mutex> guard(m_lock);
    int count = 0;
    for (auto& connection : m_connections)
        if (!connection->Closed && connection->Socket.Connected())
            ++count;
    return count;
}

void TTcpListener::ForEachConnection(const std::function<void(TTcpSocket&)>& f)
{
    std::lock_guard<std::mutex> guard(m_lock);
    for (auto& connection : m_connections)
        if (!connection->Closed && connection->Socket.Connected())
            f(connection->Socket);
}
