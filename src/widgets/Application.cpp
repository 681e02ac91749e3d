#include "widgets/Application.h"

#include "platform/Clock.h"
#include "platform/Colors.h"
#include "platform/MessageBox.h"
#include "widgets/WLXBase.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStyle>
#include <QWidget>

namespace {

std::function<bool()>& ThemeQuery()
{
    static std::function<bool()> query;
    return query;
}

} // namespace

QEvent::Type ThemeChangedEvent()
{
    static const QEvent::Type type = QEvent::Type(QEvent::registerEventType());
    return type;
}

void SetThemesSupportedQuery(std::function<bool()> query)
{
    ThemeQuery() = std::move(query);
}

QString ProgramFileName()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationFilePath();
    return QStringLiteral("tavrinol40");
}

TWLXApplication& Application()
{
    static TWLXApplication application;
    return application;
}

TWLXApplication::TWLXApplication()
    : m_perfFrequency(Clock().PerformanceFrequency()), m_ditherColor(clNone)
{
    AssignLogName(QString());
    // Another instance holds the lock of the program's upper-cased file name.
    const QString name = QFileInfo(ProgramFileName()).fileName().toUpper();
    m_lock = std::make_unique<QLockFile>(QDir::temp().filePath(name + QStringLiteral(".lock")));
    m_lock->setStaleLockTime(0);
    m_prevInstance = !m_lock->tryLock(0) && m_lock->error() == QLockFile::LockFailedError;
}

TWLXApplication::~TWLXApplication() = default;

bool TWLXApplication::ThemesSupported() const
{
    return ThemeQuery() && ThemeQuery()();
}

void TWLXApplication::SetThemeSupport(bool value)
{
    if (value == ThemeSwitch || (value && !ThemesSupported()))
        return;
    ThemeSwitch = value;
    NotifyThemeChange();
}

void TWLXApplication::NotifyThemeChange()
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->isVisible())
            continue;
        for (QWidget* child : window->findChildren<QWidget*>()) {
            QEvent event(ThemeChangedEvent());
            QCoreApplication::sendEvent(child, &event);
        }
        if (!ThemesOnlyLibrary)
            window->update();
    }
}

uint16_t TWLXApplication::AddGlobalTimer(int interval, TNotifyEvent handler)
{
    for (int slot = 0; slot < kGlobalTimerSlots; ++slot) {
        if (m_slots[size_t(slot)])
            continue;
        const uint16_t ident = uint16_t(kGlobalTimerBase + slot + 1);
        try {
            m_pool.AddTimer(ident, interval, std::move(handler));
        } catch (const std::exception&) {
            return 0;
        }
        m_slots[size_t(slot)] = true;
        return ident;
    }
    return 0;
}

void TWLXApplication::RemoveGlobalTimer(uint16_t ident)
{
    if (ident <= kGlobalTimerBase || ident > kGlobalTimerBase + kGlobalTimerSlots)
        return;
    m_pool.RemoveTimer(ident);
    m_slots[size_t(ident - kGlobalTimerBase - 1)] = false;
}

TWLXTimerItem* TWLXApplication::GetGlobalTimer(uint16_t ident) const
{
    return m_pool.GetTimer(ident);
}

QString TWLXApplication::RegistryPath() const
{
    QString path = QStringLiteral("Software\\");
    if (!IsBlank(CompanyName))
        path += CompanyName + QLatin1Char('\\');
    path += (IsBlank(Title) ? ProgramFileName() : Title) + QLatin1Char('\\');
    if (!IsBlank(VersionName))
        path += VersionName + QLatin1Char('\\');
    return path;
}

void TWLXApplication::AssignLogName(const QString& name)
{
    QString log = name;
    if (IsBlank(log)) {
        const QFileInfo program(ProgramFileName());
        log = program.path() + QLatin1Char('/') + program.completeBaseName() + QStringLiteral(".LOG");
    } else if (QFileInfo(log).suffix().isEmpty()) {
        log += QStringLiteral(".LOG");
    }
    if (LogFolder != TWLXPathPrefix::ppFixed)
        log = PrefixFolder(LogFolder, true) + QFileInfo(log).fileName();
    LogFile = log;
}

const QImage& TWLXApplication::DitherPatternBitmap(int32_t color)
{
    if (!m_dither.isNull() && color == m_ditherColor)
        return m_dither;
    m_dither = QImage(8, 8, QImage::Format_RGB32);
    const QRgb c = TColorToQColor(color).rgb();
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            m_dither.setPixel(x, y, (x % 2) == (y % 2) ? qRgb(255, 255, 255) : c);
    m_ditherColor = color;
    return m_dither;
}

int TWLXApplication::CheckBoxWidth() const
{
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        return QApplication::style()->pixelMetric(QStyle::PM_IndicatorWidth);
    return 13;
}

int TWLXApplication::CheckBoxHeight() const
{
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        return QApplication::style()->pixelMetric(QStyle::PM_IndicatorHeight);
    return 13;
}

void TWLXApplication::SetEditMode(uint8_t value)
{
    if (value == m_editMode)
        return;
    m_editMode = value;
    if (OnEditFlagsChange)
        OnEditFlagsChange();
}

void TWLXApplication::HandleException(const std::exception& e)
{
    if (OnException) {
        OnException(e);
        return;
    }
    MessageDlg(QString::fromUtf8(e.what()), mtError, mbOK);
}
