#include "widgets/SysInfo.h"

#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLocale>
#include <QPrinterInfo>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QScreen>
#include <QSysInfo>
#include <QThread>
#include <QTimeZone>
#include <QDateTime>
#include <clocale>
#include <pwd.h>
#include <unistd.h>

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#endif

// ---- processor -----------------------------------------------------------------------------

bool TWLXCPUInfoObject::SystemCpuid(uint32_t leaf, Registers& out)
{
#if defined(__i386__) || defined(__x86_64__)
    unsigned a = 0, b = 0, c = 0, d = 0;
    __cpuid(leaf, a, b, c, d);
    out = {a, b, c, d};
    return true;
#else
    Q_UNUSED(leaf);
    Q_UNUSED(out);
    return false;
#endif
}

TWLXCPUInfoObject::TWLXCPUInfoObject()
{
    Decode(&SystemCpuid);
}

TWLXCPUInfoObject::TWLXCPUInfoObject(CpuidFunction cpuid)
{
    Decode(cpuid);
}

namespace {

void AppendRegisters(QByteArray& bytes, std::initializer_list<uint32_t> regs)
{
    for (uint32_t r : regs)
        for (int i = 0; i < 4; ++i)
            bytes.append(char((r >> (8 * i)) & 0xFF));
}

// The characters up to the first zero byte.
QString TextOf(const QByteArray& bytes)
{
    const int zero = int(bytes.indexOf('\0'));
    return QString::fromLatin1(zero >= 0 ? bytes.left(zero) : bytes);
}

} // namespace

void TWLXCPUInfoObject::Decode(CpuidFunction cpuid)
{
    Registers r;
    ExistCPUInfo = cpuid && cpuid(0, r);
    if (!ExistCPUInfo)
        return;
    QByteArray vendor;
    AppendRegisters(vendor, {r.ebx, r.edx, r.ecx});
    IDString = TextOf(vendor);
    cpuid(1, r);
    Stepping = int(r.eax & 0xF);
    Model = int((r.eax >> 4) & 0xF);
    Family = int((r.eax >> 8) & 0xF);
    auto bit = [&r](int n) { return ((r.edx >> n) & 1u) != 0; };
    FPU = bit(0);
    VirtualModeExtensions = bit(1);
    DebuggingExtensions = bit(2);
    PageSizeExtensions = bit(3);
    TimeStampCoutner = bit(4);
    K86_ModelSpecificRegisters = bit(5);
    MachineCheckException = bit(7);
    CMP_XCHG_8B = bit(8);
    APIC = bit(9);
    MemoryTypeRangeRegisters = bit(12);
    GlobalPaging = bit(13);
    Cond_MOVE_Instruct = bit(15);
    MMX = bit(23);
    if (IDString != QLatin1String("AuthenticAMD"))
        return;
    cpuid(0x80000000u, r);
    const uint32_t maxExtended = r.eax;
    if ((maxExtended & 0xFF) == 0)
        return;
    cpuid(0x80000001u, r);
    SysCallAndSysRet = bit(11);
    FPCond_MOVE_Instruct = bit(16);
    AMD3DNow = bit(31);
    if (maxExtended >= 0x80000004u) {
        QByteArray name;
        for (uint32_t leaf = 0x80000002u; leaf <= 0x80000004u; ++leaf) {
            cpuid(leaf, r);
            AppendRegisters(name, {r.eax, r.ebx, r.ecx, r.edx});
        }
        CPUName = TextOf(name);
    }
}

// ---- system information --------------------------------------------------------------------

namespace {

QString ReadMeminfo()
{
    QFile f(QStringLiteral("/proc/meminfo"));
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromLatin1(f.readAll());
}

int64_t MeminfoValue(const QString& meminfo, const char* key)
{
    const QRegularExpression re(QStringLiteral("^%1:\\s*(\\d+)").arg(QLatin1String(key)),
                                QRegularExpression::MultilineOption);
    const auto m = re.match(meminfo);
    return m.hasMatch() ? m.captured(1).toLongLong() : 0;
}

// The first character of a format that is no format letter: the separator.
QString SeparatorOf(const QString& format)
{
    for (const QChar c : format)
        if (!c.isLetter() && !c.isSpace())
            return QString(c);
    return QString();
}

QString Percent(int value)
{
    return QStringLiteral("%1 %").arg(value & 0x7F);
}

} // namespace

TWLXSysInfo::TWLXSysInfo() = default;

int64_t TWLXSysInfo::MemoryFrom(const QString& meminfo, int index)
{
    switch (index) {
    case 1: return MeminfoValue(meminfo, "MemTotal");
    case 2: return MeminfoValue(meminfo, "MemAvailable");
    case 3: return MeminfoValue(meminfo, "VmallocTotal");
    case 4: return std::max<int64_t>(0, MeminfoValue(meminfo, "VmallocTotal") - MeminfoValue(meminfo, "VmallocUsed"));
    case 5: return MeminfoValue(meminfo, "CommitLimit");
    case 6: return std::max<int64_t>(0, MeminfoValue(meminfo, "CommitLimit") - MeminfoValue(meminfo, "Committed_AS"));
    default: return 0;
    }
}

QString TWLXSysInfo::MemoryLoadFrom(const QString& meminfo)
{
    const int64_t total = MeminfoValue(meminfo, "MemTotal");
    if (total <= 0)
        return Percent(0);
    const int64_t used = total - MeminfoValue(meminfo, "MemAvailable");
    return QStringLiteral("%1 %").arg(int(used * 100 / total));
}

QString TWLXSysInfo::GetStringProp(int index) const
{
    switch (index) {
    case 0: {
        const passwd* pw = getpwuid(getuid());
        if (pw && pw->pw_name)
            return QString::fromLocal8Bit(pw->pw_name).left(63);
        const QString user = qEnvironmentVariable("USER");
        return user.isEmpty() ? Unknown() : user.left(63);
    }
    case 3: {
        const QStringList parts = QSysInfo::kernelVersion().split(QRegularExpression(QStringLiteral("[.-]")));
        return QStringLiteral("%1.%2").arg(parts.value(0).toInt()).arg(parts.value(1).toInt());
    }
    case 6:
    case 7:
    case 8: return Percent(0);
    case 9: return MemoryLoadFrom(ReadMeminfo());
    case 10: return QSysInfo::prettyProductName();
    case 11: return QDir::tempPath() + QLatin1Char('/');
    case 12: {
        const QString host = QSysInfo::machineHostName();
        return host.isEmpty() ? Unknown() : host;
    }
    case 13: return QSysInfo::currentCpuArchitecture();
    case 14: return QLocale::languageToString(QLocale::system().language());
    case 15: return QTimeZone::systemTimeZone().displayName(QTimeZone::StandardTime, QTimeZone::LongName);
    default: return Unknown();   // registry owner and company, Windows folders
    }
}

int TWLXSysInfo::GetIntegerProp(int index) const
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    switch (index) {
    case 0: {
        const QStringList parts = QSysInfo::kernelVersion().split(QRegularExpression(QStringLiteral("[.-]")));
        return parts.value(2).toInt() & 0xFFFF;
    }
    case 8: return int(QLocale::system().language());
    case 9: return -QDateTime::currentDateTime().offsetFromUtc() / 60;
    case 10: return screen ? screen->size().width() : 0;
    case 11: return screen ? screen->size().height() : 0;
    case 12: return screen ? qRound(screen->logicalDotsPerInchY()) : 0;
    default: return 0;
    }
}

int64_t TWLXSysInfo::GetMemoryProp(int index) const
{
    return MemoryFrom(ReadMeminfo(), index);
}

bool TWLXSysInfo::GetBooleanProp(int index) const
{
    Q_UNUSED(index);
    // The lock keys and the desktop switches cannot be read the same way on every Linux desktop.
    return false;
}

QString TWLXSysInfo::GetLocaleProp(int index) const
{
    const QLocale l = QLocale::system();
    const lconv* c = localeconv();
    auto conv = [](const char* s) { return s && *s ? QString::fromLocal8Bit(s) : QStringLiteral("Hallo"); };
    switch (index) {
    case 0: return QStringLiteral("1");   // Gregorian
    case 1: return c && c->frac_digits != CHAR_MAX ? QString::number(c->frac_digits) : QStringLiteral("Hallo");
    case 2: {
        const QString sample = l.toCurrencyString(1);
        const QString symbol = l.currencySymbol();
        if (symbol.isEmpty())
            return QStringLiteral("Hallo");
        const bool prefix = sample.startsWith(symbol);
        const bool spaced = prefix ? sample.mid(symbol.size(), 1).trimmed().isEmpty()
                                   : sample.mid(sample.size() - symbol.size() - 1, 1).trimmed().isEmpty();
        return QString::number((prefix ? 0 : 1) + (spaced ? 2 : 0));
    }
    case 3: return QString::number(2);
    case 4: return QString::number(int(l.firstDayOfWeek()) - 1);
    case 6: return l.toString(0.5, 'f', 1).startsWith(l.zeroDigit()) ? QStringLiteral("1") : QStringLiteral("0");
    case 7: return l.measurementSystem() == QLocale::MetricSystem ? QStringLiteral("0") : QStringLiteral("1");
    case 9: return QStringLiteral("1");
    case 10: return l.timeFormat(QLocale::ShortFormat).contains(QLatin1String("ap"), Qt::CaseInsensitive)
                        ? QStringLiteral("0") : QStringLiteral("1");
    case 11: return l.amText();
    case 12: return l.pmText();
    case 13: return l.currencySymbol();
    case 14: return SeparatorOf(l.dateFormat(QLocale::ShortFormat));
    case 15: return l.decimalPoint();
    case 18: return l.dateFormat(QLocale::LongFormat);
    case 19: return conv(c ? c->mon_decimal_point : nullptr);
    case 21: return conv(c ? c->mon_thousands_sep : nullptr);
    case 22: return l.negativeSign();
    case 23: return l.positiveSign();
    case 24: return l.dateFormat(QLocale::ShortFormat);
    case 25: return l.groupSeparator();
    case 26: return SeparatorOf(l.timeFormat(QLocale::ShortFormat));
    case 27: return l.timeFormat(QLocale::ShortFormat);
    default: return QStringLiteral("Hallo");   // no Linux counterpart
    }
}

int TWLXSysInfo::GetProcessorNumber() const
{
    return std::min(255, QThread::idealThreadCount());
}

int TWLXSysInfo::GetColorDepth() const
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? std::min(255, screen->depth()) : 0;
}

int TWLXSysInfo::GetKeyboardDelay() const
{
    return 0;
}

int TWLXSysInfo::GetKeyboardSpeed() const
{
    return 0;
}

QStringList TWLXSysInfo::Environment() const
{
    return QProcessEnvironment::systemEnvironment().toStringList();
}

QStringList TWLXSysInfo::AllFonts() const
{
    QStringList fonts = QFontDatabase::families();
    fonts.sort();
    return fonts;
}

QStringList TWLXSysInfo::AllPrinters() const
{
    QStringList printers = QPrinterInfo::availablePrinterNames();
    printers.sort();
    return printers;
}
