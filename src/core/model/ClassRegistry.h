#pragma once
// Class names to factories: objects stored by class name are created back through this
// registry. Registration is explicit (one function per subsystem), never by static objects.

#include "core/model/Bauteil.h"
#include "core/model/ComponentDescription.h"
#include "core/model/DeviceDescription.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>
#include <stdexcept>
#include <type_traits>
#include <typeindex>
#include <typeinfo>
#include <vector>

// A name that no registered class carries. The message is in the current language.
class EClassNotFound : public std::runtime_error {
public:
    explicit EClassNotFound(const QString& className);
    const QString& ClassName() const { return m_className; }

private:
    QString m_className;
};

class TClassRegistry {
public:
    using Factory = std::unique_ptr<TPersistentObject> (*)();

    // Enters class T under name (case as given; lookups are case-sensitive). Entering the
    // same class under the same name again is harmless; another class under a taken name
    // throws std::logic_error.
    template <class T>
    void RegisterClass(const char* name)
    {
        static_assert(std::is_base_of_v<TPersistentObject, T>,
                      "registered classes derive from TPersistentObject");
        Add(name, &Make<T>, std::type_index(typeid(T)));
    }
    // Enters class T under its own class name (TV_CLASS_NAME).
    template <class T>
    void RegisterClass()
    {
        RegisterClass<T>(T::StaticClassName());
    }

    // Enters component class T under the name of its description (T::Description), which
    // must be its own class name (else std::logic_error), and keeps the description.
    template <class T>
    void RegisterComponent()
    {
        static_assert(std::is_base_of_v<TPersistentObject, T>,
                      "registered classes derive from TPersistentObject");
        AddComponent(T::Description, T::StaticClassName(), &Make<T>, std::type_index(typeid(T)));
    }

    // The component classes with their descriptions, in registration order.
    const std::vector<const TComponentDescription*>& Components() const { return m_components; }
    // The description of the component class registered under name; nullptr for other names.
    const TComponentDescription* DescriptionOf(const QString& name) const;
    struct TPaletteGroup {
        TPaletteCategory Category;
        std::vector<const TComponentDescription*> Components;  // in registration order
    };
    // The component classes by palette category, the categories in palette row order.
    std::vector<TPaletteGroup> ComponentsByCategory() const;

    // Enters a device class under the name of its description, which must be its own class
    // name (else std::logic_error), with every port class the description lists and its older
    // stored names (one taken by another device throws std::logic_error); keeps the
    // description. Device classes come through RegisterDevice<T> (hardware/framework).
    void AddDevice(const TDeviceDescription& description, const TClassEntry& device);
    // The device classes with their descriptions, in registration order.
    const std::vector<const TDeviceDescription*>& Devices() const { return m_devices; }
    // The description of the device class registered under name; nullptr for other names.
    const TDeviceDescription* DeviceDescriptionOf(const QString& name) const;
    // The device class that an older project's stored component class name stands for
    // (compared without regard to case); empty for any other name.
    QString DeviceClassOfStoredName(const QString& storedName) const;

    bool IsRegistered(const QString& name) const;
    int Count() const;
    // Every registered name, sorted.
    QStringList Names() const;

    // A new object of the class registered under name; throws EClassNotFound.
    std::unique_ptr<TPersistentObject> CreateByName(const QString& name) const;
    // As CreateByName for items that go onto a board; a name whose class is not a board item
    // counts as not found (EClassNotFound).
    std::unique_ptr<TBauteil> CreateBoardItem(const QString& name) const;

private:
    struct Entry {
        Factory factory;
        std::type_index type;
        const TComponentDescription* description = nullptr;
        const TDeviceDescription* device = nullptr;
    };

    template <class T>
    static std::unique_ptr<TPersistentObject> Make()
    {
        return NewObject<T>();
    }
    // True when the entry is new.
    bool Add(const char* name, Factory factory, std::type_index type,
             const TComponentDescription* description = nullptr);
    void AddComponent(const TComponentDescription& description, const char* className,
                      Factory factory, std::type_index type);

    QHash<QString, Entry> m_entries;
    std::vector<const TComponentDescription*> m_components;
    std::vector<const TDeviceDescription*> m_devices;
    QHash<QString, QString> m_storedNames; // upper-case stored name -> device class
};

// The registry of the running program.
TClassRegistry& ClassRegistry();

// Enters the base classes of the board model: TBauteil and TIOBauteil.
void RegisterCoreBaseClasses(TClassRegistry& registry);
