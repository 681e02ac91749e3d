#include "widgets/IniCtrl.h"

#include "platform/Cp1252.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "widgets/Application.h"
#include "widgets/SysInfo.h"
#include "widgets/TextCoding.h"
#include "widgets/WLXBase.h"

#include <QFileInfo>

namespace {

constexpr int kAlphaMax = 26;

QString ProgramBaseName()
{
    return QFileInfo(ProgramFileName()).completeBaseName();
}

} // namespace

void TWLXIniCtrl::SetAlphaCounter(bool value)
{
    m_alphaCounter = value;
    if (value && m_maxEntries > kAlphaMax)
        m_maxEntries = kAlphaMax;
}

void TWLXIniCtrl::SetIniFile(const QString& value)
{
    m_iniFile = value;
    if (!value.isEmpty() && QFileInfo(value).suffix().isEmpty())
        m_iniFile += QStringLiteral(".INI");
}

void TWLXIniCtrl::SetMaxEntries(int value)
{
    if (value < 0 || value > 255 || (m_alphaCounter && value > kAlphaMax))
        return;
    m_maxEntries = value;
}

void TWLXIniCtrl::SetNetUser(bool value)
{
    m_netUser = value;
    if (value)
        User = NetUserName();
}

QString TWLXIniCtrl::NetUserName() const
{
    const QString name = TWLXSysInfo().GetStringProp(0);
    return name.isEmpty() ? TWLXSysInfo::Unknown() : name;
}

QString TWLXIniCtrl::IniFileName()
{
    if (IsBlank(m_iniFile))
        m_iniFile = ProgramBaseName() + QStringLiteral(".INI");
    if (IniPrefix == TWLXPathPrefix::ppFixed)
        return m_iniFile;
    return PrefixFolder(IniPrefix, true) + QFileInfo(QString(m_iniFile).replace(u'\\', u'/')).fileName();
}

QString TWLXIniCtrl::RegistryKey() const
{
    if (IsBlank(RegPath))
        return Application().RegistryPath();
    return RegPath.endsWith(QLatin1Char('\\')) ? RegPath : RegPath + QLatin1Char('\\');
}

QString TWLXIniCtrl::RegistryFileName()
{
    return ProgramPath(QStringLiteral("Settings/REGISTRY.INI"));
}

QString TWLXIniCtrl::RootName(TWLXRegRootKey root)
{
    switch (root) {
    case TWLXRegRootKey::rpClassesRoot: return QStringLiteral("HKEY_CLASSES_ROOT");
    case TWLXRegRootKey::rpCurrentUser: return QStringLiteral("HKEY_CURRENT_USER");
    case TWLXRegRootKey::rpLocalMachine: return QStringLiteral("HKEY_LOCAL_MACHINE");
    case TWLXRegRootKey::rpUsers: return QStringLiteral("HKEY_USERS");
    case TWLXRegRootKey::rpCurrentConfig: return QStringLiteral("HKEY_CURRENT_CONFIG");
    case TWLXRegRootKey::rpDynData: return QStringLiteral("HKEY_DYN_DATA");
    }
    return QString();
}

QString TWLXIniCtrl::SectionName(const QString& section)
{
    QString name = section;
    if (IsBlank(name))
        name = m_lastSection.isEmpty() ? QStringLiteral("Common") : m_lastSection;
    m_lastSection = name;
    if (EffectiveTarget() == 0) {
        if (Common)
            return name;
        return (m_netUser ? NetUserName() : User) + QLatin1Char('.') + name;
    }
    // In the registry the section is a key below the settings key; "#ROOT" is that key itself.
    QString key = RegistryKey();
    key.chop(1);
    key = RootName(RegRoot) + QLatin1Char('\\') + key;
    return name == QLatin1String("#ROOT") ? key : key + QLatin1Char('\\') + name;
}

QString TWLXIniCtrl::FileOfTarget() const
{
    return EffectiveTarget() == 0 ? const_cast<TWLXIniCtrl*>(this)->IniFileName() : RegistryFileName();
}

QString TWLXIniCtrl::ReadString(const QString& section, const QString& ident, const QString& def)
{
    const QString key = SectionName(section);
    TIniFile file(FileOfTarget());
    if (!Encoded)
        return file.ReadString(key, ident, def);
    const QString stored = file.ReadString(key, ident, Encode(def));
    QString value;
    return Decode(stored, &value) ? value : def;
}

bool TWLXIniCtrl::WriteString(const QString& section, const QString& ident, const QString& value)
{
    const QString key = SectionName(section);
    TIniFile file(FileOfTarget());
    file.WriteString(key, ident, Encoded ? Encode(value) : value);
    if (file.UpdateFile())
        return true;
    file.DiscardChanges();
    return false;
}

bool TWLXIniCtrl::DeleteKey(const QString& section, const QString& ident)
{
    const QString key = SectionName(section);
    TIniFile file(FileOfTarget());
    file.DeleteKey(key, ident);
    if (file.UpdateFile())
        return true;
    file.DiscardChanges();
    return false;
}

QStringList TWLXIniCtrl::ReadSection(const QString& section)
{
    const QString key = SectionName(section);
    return TIniFile(FileOfTarget()).ReadSection(key);
}

QString TWLXIniCtrl::Encode(const QString& value)
{
    switch (CryptMode) {
    case TWLXIniCryptMode::icmKey:
        return FromCp1252(KeyEncode(ToCp1252(value), EncKey));
    case TWLXIniCryptMode::icmTextKey:
        return FromCp1252(TextEncode(KeyEncode(ToCp1252(value), EncKey)));
    case TWLXIniCryptMode::icmCustom:
        break;
    }
    QString data = value;
    if (OnEncodeString)
        OnEncodeString(this, data);
    return data;
}

bool TWLXIniCtrl::Decode(const QString& value, QString* decoded)
{
    switch (CryptMode) {
    case TWLXIniCryptMode::icmKey:
        *decoded = FromCp1252(KeyDecode(ToCp1252(value), EncKey));
        return true;
    case TWLXIniCryptMode::icmTextKey: {
        const std::optional<QByteArray> bytes = TextDecode(ToCp1252(value));
        if (!bytes)
            return false;
        *decoded = FromCp1252(KeyDecode(*bytes, EncKey));
        return true;
    }
    case TWLXIniCryptMode::icmCustom:
        break;
    }
    *decoded = value;
    if (OnDecodeString)
        OnDecodeString(this, *decoded);
    return true;
}
