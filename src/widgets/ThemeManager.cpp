#include "widgets/ThemeManager.h"

#include "widgets/Application.h"

#include <QApplication>
#include <QEvent>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>

class TWLXWndProcComponent::TFilter : public QObject {
public:
    explicit TFilter(TWLXWndProcComponent& component) : m_component(component) {}
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (m_component.IgnoreMessages)
            return false;
        if (watched == m_component.m_mainHooked && watched != m_component.m_hooked)
            return !m_component.MainWindowHook(event);
        return m_component.WndProc(watched, event);
    }

private:
    TWLXWndProcComponent& m_component;
};

TWLXWndProcComponent::TWLXWndProcComponent(QWidget* owner) : m_owner(owner)
{
    if (!owner)
        return;
    if (owner->findChild<QMdiArea*>())
        m_mdiKind = 2;
    for (QWidget* w = owner->parentWidget(); w; w = w->parentWidget())
        if (qobject_cast<QMdiSubWindow*>(w))
            m_mdiKind = 1;
}

TWLXWndProcComponent::~TWLXWndProcComponent()
{
    Restore();
}

void TWLXWndProcComponent::Init()
{
    if (HookEnabled && !m_hooked)
        Hook();
}

bool TWLXWndProcComponent::Hook()
{
    if (!m_owner || m_hooked || (DesignMode && !HookAtDesign))
        return false;
    m_filter = std::make_unique<TFilter>(*this);
    QObject* target = m_owner;
    if (m_mdiKind == 2 && !HookFormWindow)
        if (QMdiArea* area = m_owner->findChild<QMdiArea*>())
            target = area->viewport();
    target->installEventFilter(m_filter.get());
    m_hooked = target;
    if (HookMainWindow) {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<QMainWindow*>(w)) {
                w->installEventFilter(m_filter.get());
                m_mainHooked = w;
                break;
            }
    }
    return true;
}

void TWLXWndProcComponent::Restore()
{
    if (!KeepProcedure && m_filter) {
        if (m_hooked)
            m_hooked->removeEventFilter(m_filter.get());
        if (m_mainHooked)
            m_mainHooked->removeEventFilter(m_filter.get());
        m_filter.reset();
    }
    m_hooked = nullptr;
    m_mainHooked = nullptr;
    KeepProcedure = false;
    IgnoreMessages = false;
}

void TWLXWndProcComponent::Loaded()
{
    Loading = false;
    if (!DesignMode || HookAtDesign)
        Init();
}

void TWLXWndProcComponent::DesignModeSwitched()
{
    if (DesignMode && !HookAtDesign)
        Restore();
}

bool TWLXWndProcComponent::WndProc(QObject* target, QEvent* event)
{
    Q_UNUSED(target);
    Q_UNUSED(event);
    return false;
}

bool TWLXXPThemeManager::WndProc(QObject* target, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Show:
        Application().InitThemeSupport();
        break;
    case QEvent::ThemeChange:
    case QEvent::StyleChange:
        if (Application().UseThemes()) {
            Application().SetThemeSupport(false);
            Application().SetThemeSupport(true);
        }
        break;
    default:
        break;
    }
    return TWLXWndProcComponent::WndProc(target, event);
}

TWLXXPThemeManager& ThemeManager()
{
    static TWLXXPThemeManager manager;
    return manager;
}
