#include "platform/SerialLine.h"

#include "platform/Context.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"

// termios2 (any baud rate) comes from the kernel's headers; <termios.h> would clash with it.
#include <asm/termbits.h>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

TSerialLineMaker& Maker()
{
    static TSerialLineMaker maker;
    return maker;
}

// The rate a driver set may differ this much from the wanted one (a UART divisor rounds).
constexpr double kBaudTolerance = 0.03;

// The termios code of a rate; rates without one are set by number (any driver that can).
tcflag_t BaudCode(int32_t baud)
{
    switch (baud) {
    case 110: return B110;
    case 300: return B300;
    case 600: return B600;
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    case 230400: return B230400;
    default: return BOTHER;
    }
}

} // namespace

TTermiosSerialLine::~TTermiosSerialLine()
{
    Close();
}

int32_t TTermiosSerialLine::Open(const QString& node)
{
    Close();
    const QByteArray path = node.toLocal8Bit();
    const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        return error;
    }
    struct termios2 tio {};
    if (::ioctl(fd, TCGETS2, &tio) != 0) {
        const int error = errno;
        ::close(fd);
        return error;
    }
    // Raw: no line editing, no echo, no translation, no signals, no flow control. A read with
    // nothing waiting gives EAGAIN (VMIN 1 with O_NONBLOCK), so that 0 means the end is gone.
    tio.c_iflag &= ~tcflag_t(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON
                             | IXOFF | IXANY | INPCK);
    tio.c_oflag &= ~tcflag_t(OPOST);
    tio.c_lflag &= ~tcflag_t(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    tio.c_cflag &= ~tcflag_t(CRTSCTS);
    tio.c_cflag |= CREAD | CLOCAL;
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    if (::ioctl(fd, TCSETS2, &tio) != 0) {
        const int error = errno;
        ::close(fd);
        return error;
    }
    m_fd = fd;
    return 0;
}

void TTermiosSerialLine::Close()
{
    if (m_fd >= 0) {
        ::close(m_fd); // also drops the lock
        m_fd = -1;
    }
}

int32_t TTermiosSerialLine::ApplyFrame(const TSerialFrame& frame)
{
    if (m_fd < 0)
        return kSerialNotOpen;
    if (frame.DataBits < 5 || frame.DataBits > 8)
        return kSerialDataBitsRefused;
    struct termios2 tio {};
    if (::ioctl(m_fd, TCGETS2, &tio) != 0)
        return errno;
    tio.c_cflag &= ~tcflag_t(CBAUD | CSIZE | PARENB | PARODD | CMSPAR | CSTOPB);
    tio.c_cflag |= FrameControlBits(frame);
    tio.c_ispeed = tio.c_ospeed = speed_t(frame.Baud);
    tio.c_cflag &= ~tcflag_t(CBAUD << IBSHIFT); // input speed follows the output speed
    if (::ioctl(m_fd, TCSETS2, &tio) != 0)
        return errno;
    struct termios2 set {};
    if (::ioctl(m_fd, TCGETS2, &set) != 0)
        return errno;
    if (std::abs(double(set.c_ospeed) - frame.Baud) > kBaudTolerance * frame.Baud)
        return kSerialBaudRefused;
    return 0;
}

uint32_t FrameControlBits(const TSerialFrame& frame)
{
    tcflag_t bits = BaudCode(frame.Baud);
    static constexpr tcflag_t sizes[] = {CS5, CS6, CS7, CS8};
    bits |= sizes[std::clamp(frame.DataBits, 5, 8) - 5];
    switch (frame.Parity) {
    case 1: bits |= PARENB | PARODD; break;
    case 2: bits |= PARENB; break;
    case 3: bits |= PARENB | CMSPAR | PARODD; break; // mark
    case 4: bits |= PARENB | CMSPAR; break;          // space
    default: break;
    }
    // One and a half stop bits: a UART sends them for 5 data bits when asked for two.
    if (frame.StopBits != 0)
        bits |= CSTOPB;
    return bits;
}

int64_t TTermiosSerialLine::Write(const uint8_t* data, int64_t count, int32_t timeoutMs)
{
    if (m_fd < 0)
        return -int64_t(kSerialNotOpen);
    using namespace std::chrono;
    const auto deadline = steady_clock::now() + milliseconds(std::max(timeoutMs, 0));
    int64_t written = 0;
    while (written < count) {
        const ssize_t n = ::write(m_fd, data + written, size_t(count - written));
        if (n > 0) {
            written += n;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN)
            return errno == EIO ? -int64_t(kSerialHungUp) : -int64_t(errno);
        const auto left = duration_cast<milliseconds>(deadline - steady_clock::now()).count();
        pollfd p{m_fd, POLLOUT, 0};
        if (left <= 0 || ::poll(&p, 1, int(left)) == 0) {
            // Nobody takes the rest: drop it instead of sending it later by surprise.
            ::ioctl(m_fd, TCFLSH, TCOFLUSH);
            break;
        }
        if (p.revents & (POLLHUP | POLLERR))
            return -int64_t(kSerialHungUp);
    }
    return written;
}

int64_t TTermiosSerialLine::Read(uint8_t* data, int64_t count)
{
    if (m_fd < 0)
        return -int64_t(kSerialNotOpen);
    if (count <= 0)
        return 0;
    for (;;) {
        const ssize_t n = ::read(m_fd, data, size_t(count));
        if (n > 0)
            return n;
        if (n == 0)
            return -int64_t(kSerialHungUp);
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN)
            return 0;
        return errno == EIO ? -int64_t(kSerialHungUp) : -int64_t(errno);
    }
}

int32_t TTermiosSerialLine::InQueue()
{
    int n = 0;
    if (m_fd < 0)
        return -1;
    if (::ioctl(m_fd, FIONREAD, &n) != 0)
        return errno == EIO ? -kSerialHungUp : -1; // a hung-up line answers EIO
    if (n == 0) {
        // Nothing waiting: perhaps because the other end is gone.
        pollfd p{m_fd, POLLIN, 0};
        if (::poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLERR)))
            return -kSerialHungUp;
    }
    return n;
}

int32_t TTermiosSerialLine::OutQueue()
{
    int n = 0;
    if (m_fd < 0 || ::ioctl(m_fd, TIOCOUTQ, &n) != 0)
        return -1;
    return n;
}

void TTermiosSerialLine::Purge(bool input, bool output)
{
    if (m_fd < 0 || (!input && !output))
        return;
    ::ioctl(m_fd, TCFLSH, input && output ? TCIOFLUSH : input ? TCIFLUSH : TCOFLUSH);
}

int32_t TTermiosSerialLine::SetModemLine(TModemLine line, bool on)
{
    if (m_fd < 0)
        return kSerialNotOpen;
    int bits = line == TModemLine::Dtr ? TIOCM_DTR : TIOCM_RTS;
    return ::ioctl(m_fd, on ? TIOCMBIS : TIOCMBIC, &bits) == 0 ? 0 : errno;
}

int32_t TTermiosSerialLine::SetBreak(bool on)
{
    if (m_fd < 0)
        return kSerialNotOpen;
    return ::ioctl(m_fd, on ? TIOCSBRK : TIOCCBRK) == 0 ? 0 : errno;
}

int32_t TTermiosSerialLine::GetModemStatus(uint32_t& status)
{
    status = 0;
    if (m_fd < 0)
        return kSerialNotOpen;
    int bits = 0;
    if (::ioctl(m_fd, TIOCMGET, &bits) != 0)
        return errno;
    if (bits & TIOCM_CTS)
        status |= kModemCts;
    if (bits & TIOCM_DSR)
        status |= kModemDsr;
    if (bits & TIOCM_RNG)
        status |= kModemRing;
    if (bits & TIOCM_CAR)
        status |= kModemRlsd;
    return 0;
}

std::unique_ptr<ISerialLine> MakeSerialLine()
{
    if (Maker())
        return Maker()();
    return std::make_unique<TTermiosSerialLine>();
}

void SetSerialLineMaker(TSerialLineMaker maker)
{
    Maker() = std::move(maker);
}

QString ComDeviceNode(int32_t n)
{
    const QString fallback = QStringLiteral("/dev/ttyS") + QString::number(n - 1);
    const TIniFile table(ProgramPath(QStringLiteral("Settings\\COMPORTS.INI")));
    const QString node = table.ReadString(QStringLiteral("Ports"),
                                          QStringLiteral("COM") + QString::number(n), fallback)
                             .trimmed();
    return node.isEmpty() ? fallback : node;
}

QString SerialErrorText(int32_t code)
{
    switch (code) {
    case 0:
        return {};
    case kSerialNotOpen:
        return Lang3Q("Die Schnittstelle ist nicht geöffnet.", "The port is not open.",
                      "Le port n'est pas ouvert.");
    case kSerialDataBitsRefused:
        return Lang3Q("Eine serielle Schnittstelle kann keine 4 Datenbits übertragen.",
                      "A serial port cannot transfer 4 data bits.",
                      "Un port série ne peut pas transmettre 4 bits de données.");
    case kSerialBaudRefused:
        return Lang3Q("Die Schnittstelle kann diese Baudrate nicht einstellen.",
                      "The port cannot be set to this baud rate.",
                      "Le port ne peut pas être réglé à cette vitesse.");
    case kSerialHungUp:
        return Lang3Q("Die Verbindung zum Gerät ist abgebrochen.",
                      "The connection to the device was lost.",
                      "La connexion à l'appareil est interrompue.");
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return Lang3Q("Die Schnittstelle gibt es nicht.", "The port does not exist.",
                      "Le port n'existe pas.");
    case EWOULDBLOCK:
    case EBUSY:
        return Lang3Q("Die Schnittstelle wird schon benutzt.", "The port is already in use.",
                      "Le port est déjà utilisé.");
    case EACCES:
    case EPERM:
        return Lang3Q("Keine Berechtigung für die Schnittstelle (Gruppe \"dialout\").",
                      "No permission for the port (group \"dialout\").",
                      "Pas d'autorisation pour le port (groupe \"dialout\").");
    default:
        return Lang3Q("Systemfehler %1", "System error %1", "Erreur système %1").arg(code)
               + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(code));
    }
}
