#include "platform/WindowMessage.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

QString& FolderOverride()
{
    static QString folder;
    return folder;
}

void PutLittleEndian(unsigned char* at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<unsigned char>(v >> (8 * i));
}

} // namespace

QString WindowMessageSocketPath(const QString& windowClass)
{
    QString folder = FolderOverride();
    if (folder.isEmpty())
        folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return folder + QStringLiteral("/tavrinol-") + windowClass + QStringLiteral(".sock");
}

void SetWindowMessageFolder(const QString& folder)
{
    FolderOverride() = folder;
}

TWindowMessageTarget::TWindowMessageTarget()
    : m_fd(::socket(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0))
{
}

TWindowMessageTarget::~TWindowMessageTarget()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

void TWindowMessageTarget::Aim(const QString& windowClass)
{
    m_path = QFile::encodeName(WindowMessageSocketPath(windowClass));
}

bool TWindowMessageTarget::Send(uint32_t message, uint32_t wParam, int32_t lParam) const
{
    sockaddr_un address{};
    if (m_fd < 0 || m_path.isEmpty() || size_t(m_path.size()) >= sizeof(address.sun_path))
        return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, m_path.constData(), size_t(m_path.size()));
    unsigned char datagram[12];
    PutLittleEndian(datagram, message);
    PutLittleEndian(datagram + 4, wParam);
    PutLittleEndian(datagram + 8, static_cast<uint32_t>(lParam));
    const ssize_t sent = ::sendto(m_fd, datagram, sizeof datagram, MSG_DONTWAIT | MSG_NOSIGNAL,
                                  reinterpret_cast<const sockaddr*>(&address), sizeof address);
    return sent == ssize_t(sizeof datagram);
}
