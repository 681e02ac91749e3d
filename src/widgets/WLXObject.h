#pragma once
// Roots of the widget library: settings objects and non-visual components with one change
// event that an update suppresses, and the controller/client link of shared objects.

#include <QString>
#include <functional>
#include <vector>

class TWLXObject;
using TNotifyEvent = std::function<void(void* sender)>;

// Persistent settings object (bevel, caption, gradient, fill ...). BeginUpdate/EndUpdate set and
// clear a flag, not a counter: the first EndUpdate ends the update.
class TWLXObject {
public:
    TWLXObject() = default;
    virtual ~TWLXObject() = default;
    TWLXObject(const TWLXObject&) = delete;
    TWLXObject& operator=(const TWLXObject&) = delete;

    TNotifyEvent OnChange;

    // Fires OnChange (sender: this object) unless an update is in progress.
    virtual void Change();
    // An owned object changed: the change reaches this object's event.
    virtual void GetChange(void* sender);
    // What a designer shows for the object; empty here.
    virtual QString DescriptionText() const { return QString(); }
    void BeginUpdate() { m_locked = true; }
    void EndUpdate(bool notify);
    bool Locked() const { return m_locked; }

private:
    bool m_locked = false;
};

// Non-visual component root; the same change rule.
class TWLXCustomComponent {
public:
    TWLXCustomComponent() = default;
    virtual ~TWLXCustomComponent() = default;
    TWLXCustomComponent(const TWLXCustomComponent&) = delete;
    TWLXCustomComponent& operator=(const TWLXCustomComponent&) = delete;

    QString About;
    TNotifyEvent OnChange;
    virtual void ThemeChange() {}
    virtual void Change();
    virtual void GetChange(void* sender) { Change(); }
    void BeginUpdate() { m_inUpdate = true; }
    void EndUpdate(bool notify);
    bool InUpdate() const { return m_inUpdate; }
    // Set while the component is read from a stream.
    bool Loading = false;

private:
    bool m_inUpdate = false;
};

// Holds a component's update for a scope. Updates are a flag, not a counter: only the
// outermost scope ends the update, with one change (also when left by an exception, since the
// component may have changed).
class TWLXUpdateScope {
public:
    explicit TWLXUpdateScope(TWLXCustomComponent& component)
        : m_component(component), m_outer(!component.InUpdate())
    {
        component.BeginUpdate();
    }
    ~TWLXUpdateScope()
    {
        if (m_outer)
            m_component.EndUpdate(true);
    }
    TWLXUpdateScope(const TWLXUpdateScope&) = delete;
    TWLXUpdateScope& operator=(const TWLXUpdateScope&) = delete;

private:
    TWLXCustomComponent& m_component;
    bool m_outer;
};

class TWLXBaseController;

// A client's registration with a shared object; fires with the controller as sender.
class TWLXChangeLink {
public:
    TWLXChangeLink() = default;
    ~TWLXChangeLink();
    TWLXChangeLink(const TWLXChangeLink&) = delete;
    TWLXChangeLink& operator=(const TWLXChangeLink&) = delete;

    TWLXBaseController* Sender = nullptr;
    TNotifyEvent OnChange;
    // The controller is going away (Sender is already none).
    std::function<void()> OnFree;
    virtual void Change();
};

// A shared object that tells its linked clients when it changed.
class TWLXBaseController : public TWLXCustomComponent {
public:
    TWLXBaseController() = default;
    ~TWLXBaseController() override;

    void AddLink(TWLXChangeLink* link);
    void RemoveLink(TWLXChangeLink* link);
    // Nothing while updating or loading; else OnChange, then every link in list order.
    void Change() override;
    const std::vector<TWLXChangeLink*>& Links() const { return m_links; }

private:
    std::vector<TWLXChangeLink*> m_links;
};
