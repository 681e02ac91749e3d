#pragma once
// Element classes by name: a page creates the elements it reads from a project by their
// stored class names. Names are looked up without regard to case. Registration is explicit:
// RegisterFrontPanelElements enters every element class (the front-panel window calls it when
// it is created).

#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>

class QWidget;
class TFP_Element;

class TElementRegistry {
public:
    // Creates a new element with `owner` as its parent widget (completed with
    // AfterConstruction).
    using Factory = std::function<TFP_Element*(QWidget* owner)>;

    // Enters element class T under its class name (FP_CLASS_NAME).
    template <class T>
    void RegisterElement()
    {
        Register(QString::fromLatin1(T::StaticClassName()), [](QWidget* owner) -> TFP_Element* {
            T* element = new T(owner);
            element->AfterConstruction();
            return element;
        });
    }
    // Enters a factory under name; a name taken already is replaced.
    void Register(const QString& name, Factory factory);

    bool IsRegistered(const QString& name) const;
    int Count() const;
    // Every registered name, sorted.
    QStringList Names() const;
    // The name as registered (its case), or empty for a name that is not registered.
    QString RegisteredName(const QString& name) const;

    // A new element of the class registered under name (any case), parented to owner; throws
    // EClassNotFound (core/model/ClassRegistry.h) for a name that is not registered.
    TFP_Element* CreateElement(const QString& name, QWidget* owner) const;

private:
    struct Entry {
        QString name;
        Factory factory;
    };
    QHash<QString, Entry> m_entries;  // key: the name in upper case
};

// The registry of the running program.
TElementRegistry& ElementRegistry();

// Enters every front-panel element class.
void RegisterFrontPanelElements(TElementRegistry& registry);
