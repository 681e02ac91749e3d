#pragma once
// The widget library's application object, one for the program: whether the library's controls
// use the platform's visual styles, the shared timer pool with its 250 global timers, the shared
// INI control, the registry path of settings, whether another instance of the program runs, the
// edit-mode flags all edits share, and small shared resources.
//
// Visual styles: this platform draws the library's classic looks; ThemesSupported() is false
// unless a query says otherwise (SetThemesSupportedQuery). Switching theme support tells every
// library control of every visible window (ThemeChangedEvent()).

#include "widgets/IniCtrl.h"
#include "widgets/TimerPool.h"
#include "widgets/WLXTypes.h"

#include <QEvent>
#include <QImage>
#include <QString>
#include <array>
#include <exception>
#include <functional>
#include <memory>

class QLockFile;

class TWLXApplication {
public:
    TWLXApplication();
    ~TWLXApplication();
    TWLXApplication(const TWLXApplication&) = delete;
    TWLXApplication& operator=(const TWLXApplication&) = delete;

    static constexpr int kGlobalTimerSlots = 250;
    static constexpr uint16_t kGlobalTimerBase = 0xFD00;

    uint32_t LibOptions = 0x36;  // bit 0: no palette realizing on screens of 8 bits or fewer
    bool ThemeSwitch = true;
    bool ThemesOnlyLibrary = false;
    QString CompanyName, VersionName;
    // The application's title; blank means the program's full path in RegistryPath.
    QString Title;
    QString LogFile;
    TWLXPathPrefix LogFolder = TWLXPathPrefix::ppProgram;
    int LogSizeLimit = -1;
    int EffectPause = 3;

    bool ThemesSupported() const;
    bool UseThemes() const { return ThemeSwitch && ThemesSupported(); }
    void InitThemeSupport() { ThemeSwitch = ThemesSupported(); }
    // Nothing when unchanged or when asked to switch on without support; otherwise tells
    // every control.
    void SetThemeSupport(bool value);
    void NotifyThemeChange();

    TWLXTimerPool& SharedPool() { return m_pool; }
    TWLXIniCtrl& SharedIni() { return m_ini; }
    // The first free of the 250 slots as identifier 0xFD00 + slot; 0 when none is free or the
    // pool refuses the interval.
    uint16_t AddGlobalTimer(int interval, TNotifyEvent handler);
    void RemoveGlobalTimer(uint16_t ident);
    TWLXTimerItem* GetGlobalTimer(uint16_t ident) const;

    // "Software\" [company "\"] (title or the program's path) "\" [version "\"].
    QString RegistryPath() const;
    // A blank name becomes the program's path with ".LOG", a name without extension gets
    // ".LOG"; unless LogFolder is ppFixed the file goes into that folder.
    void AssignLogName(const QString& name);
    // 8 x 8: white where x and y are both even or both odd, the colour elsewhere.
    const QImage& DitherPatternBitmap(int32_t color);
    int CheckBoxWidth() const;
    int CheckBoxHeight() const;
    int64_t PerfFrequency() const { return m_perfFrequency; }
    // Another instance of the program held the program's lock when this one started.
    bool PrevInstance() const { return m_prevInstance; }

    // Bit 0 insert, 1 Shift, 2 Ctrl, 3 Alt; shared by every edit of the program.
    uint8_t EditModeFlags() const { return m_editMode; }
    void SetEditMode(uint8_t value);
    std::function<void()> OnEditFlagsChange;

    // Where an error raised by a timer handler goes: OnException, else an error box.
    std::function<void(const std::exception&)> OnException;
    void HandleException(const std::exception& e);

private:
    TWLXTimerPool m_pool{50};
    TWLXIniCtrl m_ini;
    std::array<bool, kGlobalTimerSlots> m_slots{};
    int64_t m_perfFrequency;
    bool m_prevInstance = false;
    std::unique_ptr<QLockFile> m_lock;
    QImage m_dither;
    int32_t m_ditherColor;
    uint8_t m_editMode = 1;
};

// The program's application object (made on first use).
TWLXApplication& Application();
// The running program's file (its path; "tavrinol40" before Qt knows it).
QString ProgramFileName();
// Replaces the platform's answer whether visual styles are active (an empty one: none are).
void SetThemesSupportedQuery(std::function<bool()> query);
// The event every library control receives when theme use changed.
QEvent::Type ThemeChangedEvent();
