#include "components/text/SystemInfo.h"

#include "components/analog/Integrators.h"
#include "frontpanel/Design.h"
#include "frontpanel/FrontPanel.h"
#include "frontpanel/web/WebLink.h"
#include "platform/Clock.h"
#include "platform/Context.h"
#include "platform/CpuLoad.h"
#include "platform/Filer.h"
#include "platform/Locale.h"
#include "ui/PropertySheet.h"

#include <QDir>
#include <QFile>
#include <QThread>
#include <QGuiApplication>
#include <QLocale>
#include <QScreen>
#include <QSysInfo>
#include <QTimeZone>

#include <algorithm>
#include <cstring>
#include <iterator>

namespace {

constexpr int kFirstCpuItem = 72;

const char* const kItems[] = {
    "SYS - BuildNumber", "SYS - CapsLock", "SYS - ColorDepth", "SYS - ComputerName",
    "SYS - CurrentUser", "SYS - DefaultLanguage", "SYS - FontSmoothing", "SYS - KeyboardDelay",
    "SYS - KeyboardSpeed", "SYS - LocaleAfternoonSymbol", "SYS - LocaleCalendarType",
    "SYS - LocaleCurrencyDigits", "SYS - LocaleCurrencyGrouping", "SYS - LocaleCurrencySymbol",
    "SYS - LocaleDateSeparator", "SYS - LocaleDecimalSeparator", "SYS - LocaleDigits",
    "SYS - LocaleFirstDayOfWeek", "SYS - LocaleFirstWeekOfYear", "SYS - LocaleCurrency",
    "SYS - LocaleListSeparator", "SYS - LocaleLongDateFormat", "SYS - LocaleMeasureSystem",
    "SYS - LocaleMonthDecimalSeparator", "SYS - LocaleMorningSymbol",
    "SYS - LocaleNegativeCurrencyFormat", "SYS - LocaleNegativeNumberFormat",
    "SYS - LocaleNegativeSign", "SYS - LocaleNumericGrouping", "SYS - LocalePositiveSign",
    "SYS - LocaleShortDateFormat", "SYS - LocaleShortTimeFormat", "SYS - LocaleThousand",
    "SYS - LocaleThousandSeparator", "SYS - LocaleTime", "SYS - LocaleTimeSeparator",
    "SYS - LocaleZero", "SYS - MemoryLoaded", "SYS - MemPageFree", "SYS - MemPageTotal",
    "SYS - MemPhysFree", "SYS - MemPhysTotal", "SYS - MemVirtExtended", "SYS - MemVirtFree",
    "SYS - MemVirtTotal", "SYS - NumLockState", "SYS - Platform", "SYS - PlusAvailable",
    "SYS - ProcessorNumber", "SYS - ProcessorType", "SYS - RegisteredCompany",
    "SYS - RegisteredOwner", "SYS - ScreenHeight", "SYS - ScreenPPI", "SYS - ScreenSaveActive",
    "SYS - ScreenSaverDelay", "SYS - ScreenWidth", "SYS - ScrollLockState",
    "SYS - SnapToDefaultButton", "SYS - TempPath", "SYS - TimeZone", "SYS - TimeZoneDiff",
    "SYS - VersionWIN", "SYS - WarningBeep", "SYS - WindowAnimation", "SYS - WinPath",
    "SYS - WinSysPath", "TV - Caption", "TV - SimFreq", "TV - ActiveFrontPanel",
    "TV - CompiledApplication", "TV - WebServerRunning", "CPU - TotalUsage",
    "CPU - CPU0_Usage", "CPU - CPU1_Usage", "CPU - CPU2_Usage", "CPU - CPU3_Usage",
    "CPU - CPU4_Usage", "CPU - CPU5_Usage", "CPU - Count"};
static_assert(std::size(kItems) == 80);

QString Bool(bool b)
{
    return b ? QStringLiteral("True") : QStringLiteral("False");
}

// A percentage as "%5.2f%%" with the system decimal separator.
QString Percent(double load)
{
    QString text = QStringLiteral("%1").arg(load * 100.0, 5, 'f', 2);
    text.replace(QLatin1Char('.'), LocaleDecimalSeparator());
    return text + QLatin1Char('%');
}

QString ScreenValue(int item)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return QStringLiteral("0");
    switch (item) {
    case 2: return QString::number(screen->depth());
    case 52: return QString::number(screen->size().height());
    case 53: return QString::number(qRound(screen->logicalDotsPerInch()));
    default: return QString::number(screen->size().width());
    }
}

// Kilobyte fields of /proc/meminfo in bytes.
qint64 MemInfo(const char* key)
{
    QFile file(QStringLiteral("/proc/meminfo"));
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : file.readAll().split('\n'))
        if (line.startsWith(key) && line.size() > qsizetype(strlen(key))
            && line[qsizetype(strlen(key))] == ':')
            return line.mid(qsizetype(strlen(key)) + 1).simplified().split(' ').value(0).toLongLong()
                   * 1024;
    return 0;
}

QString MemoryValue(int item)
{
    const qint64 physTotal = MemInfo("MemTotal");
    const qint64 physFree = MemInfo("MemAvailable");
    const qint64 swapTotal = MemInfo("SwapTotal");
    const qint64 swapFree = MemInfo("SwapFree");
    switch (item) {
    case 37:
        return physTotal > 0 ? QString::number((physTotal - physFree) * 100 / physTotal)
                             : QStringLiteral("0");
    case 38: return QString::number(swapFree + physFree);
    case 39: return QString::number(swapTotal + physTotal);
    case 40: return QString::number(physFree);
    case 41: return QString::number(physTotal);
    case 43: return QString::number(MemInfo("VmallocTotal") - MemInfo("VmallocUsed"));
    case 44: return QString::number(MemInfo("VmallocTotal"));
    default: return QStringLiteral("0");
    }
}

QString LocaleValue(int item)
{
    const QLocale l = QLocale::system();
    switch (item) {
    case 9: return l.pmText();
    case 10: return QStringLiteral("1");
    case 11: case 16: return QString::number(2);
    case 12: case 28: return QStringLiteral("3;0");
    case 13: return l.currencySymbol();
    case 14: {
        const QString f = l.dateFormat(QLocale::ShortFormat);
        for (const QChar c : f)
            if (!c.isLetter())
                return QString(c);
        return QString();
    }
    case 15: case 23: return l.decimalPoint();
    case 17: return QString::number((int(l.firstDayOfWeek()) + 6) % 7);
    case 18: return QStringLiteral("0");
    case 19: return QStringLiteral("3");
    case 20: return QStringLiteral(";");
    case 21: return l.dateFormat(QLocale::LongFormat);
    case 22: return l.measurementSystem() == QLocale::MetricSystem ? QStringLiteral("0")
                                                                   : QStringLiteral("1");
    case 24: return l.amText();
    case 25: return QStringLiteral("8");
    case 26: return QStringLiteral("1");
    case 27: return l.negativeSign();
    case 29: return l.positiveSign();
    case 30: return l.dateFormat(QLocale::ShortFormat);
    case 31: return l.timeFormat(QLocale::ShortFormat);
    case 32: case 33: return l.groupSeparator();
    case 34: return l.timeFormat(QLocale::LongFormat);
    case 35: return QStringLiteral(":");
    default: return l.zeroDigit();
    }
}

QString ProgramValue(int item)
{
    TFrontplatte* panel = Frontplatte();
    switch (item) {
    case 67: return panel ? panel->windowTitle() : QString();
    case 68: return QString::number(Ctx().SimFrequency);
    case 69:
        return QString::number(panel && panel->RootDesign ? panel->RootDesign->AktiveFrontplatte + 1
                                                          : 1);
    case 70: return Bool(Ctx().RuntimeMode);
    default: return Bool(panel && panel->WebLink() && panel->WebLink()->Connected());
    }
}

} // namespace

const TComponentDescription TBTStrInfo::Description{
    .Name = "TBTStrInfo", .Prefix = {"$Inf"}, .HelpContext = 35010, .TypeName = {"$Info"},
    .Caption = {"INFO"}, .Inputs = {0}, .Outputs = {2}, .OutputNames = "$N $I",
    .Category = TPaletteCategory::Strings};

TBTStrInfo::TBTStrInfo() : TBTTextBlock(Description, true) {}

const QStringList& TBTStrInfo::ItemNames()
{
    static const QStringList names = [] {
        QStringList list;
        for (const char* name : kItems)
            list << QString::fromLatin1(name);
        return list;
    }();
    return names;
}

QString TBTStrInfo::ItemValue(int item)
{
    switch (item) {
    case 0: return QSysInfo::kernelVersion();
    case 3: return QSysInfo::machineHostName();
    case 4: return qEnvironmentVariable("USER");
    case 5: return QLocale::languageToString(QLocale::system().language());
    case 46: return QSysInfo::kernelType();
    case 48: return QString::number(QThread::idealThreadCount());
    case 49: return QSysInfo::currentCpuArchitecture();
    case 59: return QDir::toNativeSeparators(QDir::tempPath() + QLatin1Char('/'));
    case 60: return QString::fromUtf8(QTimeZone::systemTimeZoneId());
    case 61: return QString::number(-QTimeZone::systemTimeZone().offsetFromUtc(
                        QDateTime::currentDateTime()) / 60);
    case 62: return QSysInfo::prettyProductName();
    case 2: case 52: case 53: case 56: return ScreenValue(item);
    case 1: case 6: case 45: case 47: case 54: case 57: case 58: case 63: case 64:
        return Bool(item == 6 || item == 47 || item == 63 || item == 64);
    case 7: case 8: case 55: return QStringLiteral("0");
    case 50: case 51: case 65: case 66: return QString();
    default:
        break;
    }
    if (item >= 9 && item <= 36)
        return LocaleValue(item);
    if (item >= 37 && item <= 44)
        return MemoryValue(item);
    return ProgramValue(item);
}

void TBTStrInfo::WriteData(TWriter& writer)
{
    TBTTextBlock::WriteData(writer);
    writer.WriteInteger(Item);
}

void TBTStrInfo::ReadData(TReader& reader, uint8_t version)
{
    TBTTextBlock::ReadData(reader, version);
    Item = std::clamp(reader.ReadInteger(), 0, 79);
}

int TBTStrInfo::EditProperties()
{
    return BlockSupport::ShowSettings(*this, [&](TPropScrollbox& sheet) {
        sheet.AddComboProp(QStringLiteral("Info"), Item, ItemNames(), 200);
    });
}

void TBTStrInfo::Calculate()
{
    if (Item < kFirstCpuItem) {
        SetOutputText(OutInfo, ItemValue(Item));
    } else if (Item == 79) {
        SetOutputText(OutInfo, QString::number(CpuLoadProbe().ProcessorCount()));
    } else {
        const QString now = Clock().LocalTime().time().toString(QStringLiteral("HH:mm:ss"));
        if (now != m_lastTime) {
            m_lastTime = now;
            TCpuLoadProbe& probe = CpuLoadProbe();
            probe.Sample();
            const int count = probe.ProcessorCount();
            const int instance = Item - kFirstCpuItem - 1;  // -1 for the total usage
            QString text = QStringLiteral("-1");
            if (instance < 0 && count > 0) {
                double sum = 0.0;
                for (int i = 0; i < count; ++i)
                    sum += probe.ProcessorLoad(i);
                text = Percent(sum / count);
            } else if (instance >= 0 && instance < count) {
                text = Percent(probe.ProcessorLoad(instance));
            }
            SetOutputText(OutInfo, text);
        }
    }
    SetOutputText(OutName, ItemNames().at(Item));
}
