#include "core/model/DeviceDescription.h"

namespace {

bool HasText(const TText3& text)
{
    for (int language = 0; language < 3; ++language)
        if (text.In(language).isEmpty())
            return false;
    return true;
}

} // namespace

QString DeviceDescriptionFault(const TDeviceDescription& d)
{
    if (!d.Name || !*d.Name)
        return QStringLiteral("no name");
    if (!HasText(d.Prefix))
        return QStringLiteral("no prefix in every language");
    if (!HasText(d.PaletteName))
        return QStringLiteral("no palette name in every language");
    if (!d.Caption.German)
        return QStringLiteral("no caption");
    if (d.HelpContext <= 0)
        return QStringLiteral("no help context");
    for (const TClassEntry& port : d.Ports)
        if (!port.Name || !port.Make || !port.Type)
            return QStringLiteral("an incomplete port class");
    for (const char* name : d.LegacyNames)
        if (!name || !*name)
            return QStringLiteral("an empty older name");
    for (const char* file : d.MakerFiles)
        if (!file || !*file)
            return QStringLiteral("an empty maker file");
    return QString();
}
