#include "platform/ActiveXControl.h"

#include <map>

namespace {

std::map<QString, TActiveXMaker>& Makers()
{
    static std::map<QString, TActiveXMaker> makers;
    return makers;
}

QString Key(const QString& classId)
{
    QString key = classId.trimmed().toUpper();
    if (key.startsWith(QLatin1Char('{')) && key.endsWith(QLatin1Char('}')))
        key = key.mid(1, key.size() - 2);
    return key;
}

} // namespace

void RegisterActiveXControl(const QString& classId, TActiveXMaker maker)
{
    if (maker)
        Makers()[Key(classId)] = std::move(maker);
    else
        Makers().erase(Key(classId));
}

std::unique_ptr<IActiveXControl> CreateActiveXControl(const QString& classId)
{
    const auto it = Makers().find(Key(classId));
    return it == Makers().end() ? nullptr : it->second();
}
