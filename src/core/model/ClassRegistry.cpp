#include "core/model/ClassRegistry.h"

#include "core/model/Iobt.h"
#include "platform/Context.h"

namespace {
QString NotFoundMessage(const QString& className)
{
    QString text = Lang3Q("Klasse %s nicht gefunden", "Class %s not found", "Classe %s introuvable");
    return text.replace(QLatin1String("%s"), className);
}
} // namespace

EClassNotFound::EClassNotFound(const QString& className)
    : std::runtime_error(NotFoundMessage(className).toStdString()), m_className(className)
{
}

bool TClassRegistry::Add(const char* name, Factory factory, std::type_index type,
                         const TComponentDescription* description)
{
    const QString key = QString::fromLatin1(name);
    const auto it = m_entries.constFind(key);
    if (it != m_entries.constEnd()) {
        if (it->type == type)
            return false;
        throw std::logic_error(std::string("class name registered twice: ") + name);
    }
    m_entries.insert(key, Entry{factory, type, description});
    return true;
}

void TClassRegistry::AddComponent(const TComponentDescription& description,
                                  const char* className, Factory factory, std::type_index type)
{
    if (!description.Name || std::string(description.Name) != className)
        throw std::logic_error(std::string("description names another class than ") + className);
    if (Add(className, factory, type, &description))
        m_components.push_back(&description);
}

void TClassRegistry::AddDevice(const TDeviceDescription& description, const TClassEntry& device)
{
    if (!description.Name || std::string(description.Name) != device.Name)
        throw std::logic_error(std::string("description names another class than ") + device.Name);
    for (const TClassEntry& port : description.Ports)
        Add(port.Name, port.Make, std::type_index(*port.Type));
    for (const char* stored : description.LegacyNames) {
        const QString key = QString::fromLatin1(stored).toUpper();
        const auto it = m_storedNames.constFind(key);
        if (it != m_storedNames.constEnd() && *it != QLatin1String(device.Name))
            throw std::logic_error(std::string("older name of two devices: ") + stored);
    }
    Add(device.Name, device.Make, std::type_index(*device.Type));
    Entry& entry = *m_entries.find(QString::fromLatin1(device.Name));
    if (entry.device)
        return;
    entry.device = &description;
    m_devices.push_back(&description);
    for (const char* stored : description.LegacyNames)
        m_storedNames.insert(QString::fromLatin1(stored).toUpper(), QString::fromLatin1(device.Name));
}

const TDeviceDescription* TClassRegistry::DeviceDescriptionOf(const QString& name) const
{
    const auto it = m_entries.constFind(name);
    return it == m_entries.constEnd() ? nullptr : it->device;
}

QString TClassRegistry::DeviceClassOfStoredName(const QString& storedName) const
{
    return m_storedNames.value(storedName.toUpper());
}

const TComponentDescription* TClassRegistry::DescriptionOf(const QString& name) const
{
    const auto it = m_entries.constFind(name);
    return it == m_entries.constEnd() ? nullptr : it->description;
}

std::vector<TClassRegistry::TPaletteGroup> TClassRegistry::ComponentsByCategory() const
{
    std::vector<TPaletteGroup> groups;
    for (int row = 0; row < PaletteCategoryCount; ++row) {
        TPaletteGroup group{TPaletteCategory(row), {}};
        for (const TComponentDescription* d : m_components)
            if (d->Category == group.Category)
                group.Components.push_back(d);
        if (!group.Components.empty())
            groups.push_back(std::move(group));
    }
    return groups;
}

bool TClassRegistry::IsRegistered(const QString& name) const
{
    return m_entries.contains(name);
}

int TClassRegistry::Count() const
{
    return int(m_entries.size());
}

std::unique_ptr<TPersistentObject> TClassRegistry::CreateByName(const QString& name) const
{
    const auto it = m_entries.constFind(name);
    if (it == m_entries.constEnd())
        throw EClassNotFound(name);
    return it->factory();
}

std::unique_ptr<TBauteil> TClassRegistry::CreateBoardItem(const QString& name) const
{
    std::unique_ptr<TPersistentObject> object = CreateByName(name);
    auto* item = dynamic_cast<TBauteil*>(object.get());
    if (!item)
        throw EClassNotFound(name);
    object.release();
    return std::unique_ptr<TBauteil>(item);
}

TClassRegistry& ClassRegistry()
{
    static TClassRegistry registry;
    return registry;
}

void RegisterCoreBaseClasses(TClassRegistry& registry)
{
    registry.RegisterClass<TBauteil>();
    registry.RegisterClass<TIOBauteil>();
}

QStringList TClassRegistry::Names() const
{
    QStringList names = m_entries.keys();
    names.sort();
    return names;
}
