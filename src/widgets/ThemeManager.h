#pragma once
// A component that sees the events of its owner control before the control does (and, when
// asked, those of the main window), and the theme manager built on it, which re-applies the
// library's theme use when the platform's look changes.
//
// The hook is an event filter: it stays with the control when its native window is made anew.
// An owner inside an MDI area's child window counts as MDI child (kind 1); an owner holding an
// MDI area as MDI frame (kind 2), whose area is hooked instead unless HookFormWindow is set.

#include "widgets/WLXObject.h"

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <memory>

class QEvent;

class TWLXWndProcComponent : public TWLXCustomComponent {
public:
    explicit TWLXWndProcComponent(QWidget* owner = nullptr);
    ~TWLXWndProcComponent() override;

    bool HookEnabled = true;
    bool HookAtDesign = false;
    bool KeepProcedure = false;
    bool HookFormWindow = false;
    bool HookMainWindow = false;
    bool DesignMode = false;
    bool IgnoreMessages = false;

    QWidget* Owner() const { return m_owner; }
    // 0 none, 1 MDI child, 2 MDI frame.
    int MDIKind() const { return m_mdiKind; }
    // The object whose events the component sees (none while not hooked).
    QObject* HookedObject() const { return m_hooked; }
    bool MainHooked() const { return m_mainHooked != nullptr; }

    // Hooks when enabled and not hooked yet.
    void Init();
    // False without an owner, when hooked already, or while designing without HookAtDesign.
    bool Hook();
    void Restore();
    virtual void Unhook() { Restore(); }
    // After being read: hooks unless designing without HookAtDesign.
    void Loaded();
    void DesignModeSwitched();

protected:
    // An event of the hooked object; true when it is handled and goes no further.
    virtual bool WndProc(QObject* target, QEvent* event);
    // An event of the main window; true passes it on.
    virtual bool MainWindowHook(QEvent* event) { Q_UNUSED(event); return true; }

private:
    class TFilter;
    QPointer<QWidget> m_owner;
    QPointer<QObject> m_hooked;
    QPointer<QWidget> m_mainHooked;
    std::unique_ptr<TFilter> m_filter;
    int m_mdiKind = 0;
};

class TWLXXPThemeManager : public TWLXWndProcComponent {
public:
    using TWLXWndProcComponent::TWLXWndProcComponent;

protected:
    // Shown: theme use follows the platform. The platform's look changed: theme use is
    // switched off and on, so that every control takes the new look.
    bool WndProc(QObject* target, QEvent* event) override;
};

// The theme manager without owner that the library keeps (it hooks nothing).
TWLXXPThemeManager& ThemeManager();
