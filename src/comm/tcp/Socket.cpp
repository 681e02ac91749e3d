#include "comm/tcp/Socket.h"

#include <arpa/inet.h>
#include <cerrno>
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
    while (count > 0) {
        const ssize_t sent = send(fd, data, count, MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent <= 0) {
            m_broken = true;
            return false;
        }
        data += sent;
        count -= size_t(sent);
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
    uint8_t scratch[512];
    while (Receive(scratch, sizeof scratch, 0) > 0) {
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

TTcpListener::TTcpListener(THandler handler) : m_handler(std::move(handler)) {}

TTcpListener::~TTcpListener()
{
    Stop();
}

bool TTcpListener::Listen(uint16_t port)
{
    if (m_fd >= 0)
        return true;
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const int one = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0
        || listen(fd, 16) != 0 || pipe2(m_wakePipe, O_CLOEXEC) != 0) {
        close(fd);
        return false;
    }
    m_fd = fd;
    m_stop = false;
    m_acceptThread = std::thread([this] { AcceptLoop(); });
    return true;
}

void TTcpListener::AcceptLoop()
{
    while (!m_stop) {
        pollfd p[2] = {{m_fd, POLLIN, 0}, {m_wakePipe[0], POLLIN, 0}};
        if (poll(p, 2, -1) < 0 && errno != EINTR)
            break;
        if (m_stop || (p[1].revents & POLLIN))
            break;
        if (!(p[0].revents & POLLIN))
            continue;
        const int fd = accept4(m_fd, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0)
            continue;
        const int one = 1;
        setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        Reap();
        std::lock_guard<std::mutex> guard(m_lock);
        auto connection = std::make_unique<TConnection>(fd);
        TConnection* c = connection.get();
        c->Thread = std::thread([this, c] {
            while (!m_stop && c->Socket.Connected() && m_handler(c->Socket, c->Pending)) {
            }
            c->Socket.Shutdown(); // the peer sees the end at once
            c->Done = true;
        });
        m_connections.push_back(std::move(connection));
    }
}

// Frees the connections whose thread has ended.
void TTcpListener::Reap()
{
    std::vector<std::unique_ptr<TConnection>> ended;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        for (auto it = m_connections.begin(); it != m_connections.end();) {
            if ((*it)->Done) {
                ended.push_back(std::move(*it));
                it = m_connections.erase(it);
            } else {
                ++it;
            }
        }
    }
    for (auto& connection : ended)
        connection->Thread.join();
}

void TTcpListener::Stop()
{
    if (m_fd < 0)
        return;
    m_stop = true;
    const char wake = 1;
    [[maybe_unused]] const ssize_t written = write(m_wakePipe[1], &wake, 1);
    if (m_acceptThread.joinable())
        m_acceptThread.join();
    {
        std::lock_guard<std::mutex> guard(m_lock);
        for (auto& connection : m_connections)
            connection->Socket.Shutdown();
    }
    for (auto& connection : m_connections)
        connection->Thread.join();
    m_connections.clear();
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
        if (!connection->Done && connection->Socket.Connected())
            ++count;
    return count;
}

void TTcpListener::ForEachConnection(const std::function<void(TTcpSocket&)>& f)
{
    std::lock_guard<std::mutex> guard(m_lock);
    for (auto& connection : m_connections)
        if (!connection->Done && connection->Socket.Connected())
            f(connection->Socket);
}
