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

void TClassRegistry::Add(const char* name, Factory factory, std::type_index type)
{
    const QString key = QString::fromLatin1(name);
    const auto it = m_entries.constFind(key);
    if (it != m_entries.constEnd()) {
        if (it->type == type)
            return;
        throw std::logic_error(std::string("class name registered twice: ") + name);
    }
    m_entries.insert(key, Entry{factory, type});
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
