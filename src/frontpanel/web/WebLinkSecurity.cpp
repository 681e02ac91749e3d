#include "frontpanel/web/WebLinkSecurity.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageAuthenticationCode>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QThread>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kSecretBytes = 32;
constexpr int kNonceBytes = 16;

QByteArray RandomHex(int bytes)
{
    QByteArray raw(bytes, '\0');
    QRandomGenerator::system()->generate(reinterpret_cast<quint32*>(raw.data()),
                                         reinterpret_cast<quint32*>(raw.data() + bytes));
    return raw.toHex();
}

QString SystemReason()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// Reads the secret through an open descriptor, after checking what the descriptor names.
TWebSecretFault ReadSecret(int fd, QByteArray* secret, QString* reason)
{
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        if (reason)
            *reason = SystemReason();
        return TWebSecretFault::CannotRead;
    }
    if (!S_ISREG(info.st_mode) || info.st_uid != ::geteuid() || (info.st_mode & 077) != 0)
        return TWebSecretFault::Unsafe;
    char buffer[256];
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0) {
        if (reason)
            *reason = SystemReason();
        return TWebSecretFault::CannotRead;
    }
    const QByteArray text = QByteArray(buffer, qsizetype(n)).trimmed();
    if (text.size() < 2 * kSecretBytes)
        return TWebSecretFault::CannotRead;
    *secret = text;
    return TWebSecretFault::None;
}

} // namespace

QString DefaultWebDataFolder()
{
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (base.isEmpty())
        base = QDir::homePath();
    return QDir(base).filePath(QStringLiteral("TvWebServer10")) + u'/';
}

QString WebLinkSecretFile(const QString& dataFolder)
{
    return QDir(dataFolder).filePath(QStringLiteral("link.key"));
}

TWebSecretFault LoadOrCreateWebLinkSecret(const QString& fileName, QByteArray* secret,
                                          QString* reason)
{
    secret->clear();
    const QString folder = QFileInfo(fileName).absolutePath();
    if (!QDir().mkpath(folder)) {
        if (reason)
            *reason = folder;
        return TWebSecretFault::CannotCreate;
    }
    const QByteArray path = QFile::encodeName(fileName);
    // The other side may be writing the file this very moment: a file still too short is read
    // again a few times.
    for (int attempt = 0; attempt < 20; ++attempt) {
        const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
        if (fd >= 0) {
            const TWebSecretFault fault = ReadSecret(fd, secret, reason);
            ::close(fd);
            if (fault != TWebSecretFault::CannotRead || attempt == 19)
                return fault;
            QThread::msleep(25);
            continue;
        }
        if (errno == ELOOP)
            return TWebSecretFault::Unsafe;  // a symbolic link where the secret should be
        if (errno != ENOENT) {
            if (reason)
                *reason = SystemReason();
            return TWebSecretFault::CannotRead;
        }
        // Exclusive: of two that create it at once, one writes and the other reads.
        const int made =
            ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (made < 0) {
            if (errno == EEXIST)
                continue;
            if (reason)
                *reason = SystemReason();
            return TWebSecretFault::CannotCreate;
        }
        const QByteArray fresh = RandomHex(kSecretBytes) + '\n';
        const bool written = ::write(made, fresh.constData(), size_t(fresh.size())) == fresh.size() &&
                             ::fsync(made) == 0;
        if (!written && reason)
            *reason = SystemReason();
        ::close(made);
        if (!written) {
            ::unlink(path.constData());
            return TWebSecretFault::CannotCreate;
        }
        *secret = fresh.trimmed();
        return TWebSecretFault::None;
    }
    return TWebSecretFault::CannotRead;
}

QByteArray NewWebLinkNonce()
{
    return RandomHex(kNonceBytes);
}

QByteArray WebLinkProof(const QByteArray& secret, TWebLinkRole role, const QByteArray& serverNonce,
                        const QByteArray& panelNonce)
{
    const QByteArray message = (role == TWebLinkRole::Server ? QByteArray("server ")
                                                             : QByteArray("panel ")) +
                               serverNonce + ' ' + panelNonce;
    return QMessageAuthenticationCode::hash(message, secret, QCryptographicHash::Sha256).toHex();
}

bool SameWebLinkProof(const QByteArray& received, const QByteArray& expected)
{
    if (received.size() != expected.size() || expected.isEmpty())
        return false;
    unsigned char difference = 0;
    for (qsizetype i = 0; i < expected.size(); ++i)
        difference |= static_cast<unsigned char>(received[i] ^ expected[i]);
    return difference == 0;
}
