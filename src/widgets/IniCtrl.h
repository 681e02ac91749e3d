#pragma once
// The INI control: where the library's components keep settings, strings under a section and
// an identifier, in an INI file or in "the registry", optionally per user and optionally
// scrambled.
//
// Linux has no registry: a registry target is kept in one INI file in the settings folder
// (RegistryFileName()), whose sections are the root's name and the key path, e.g.
// "HKEY_CURRENT_USER\Software\Firm\Program\Columns".

#include "widgets/WLXObject.h"
#include "widgets/WLXTypes.h"

#include <QString>
#include <QStringList>
#include <functional>

enum class TWLXIniTarget : uint8_t { itIniFile, itRegistry, itAuto };
enum class TWLXIniCryptMode : uint8_t { icmKey, icmTextKey, icmCustom };
enum class TWLXIniUse : uint8_t { ioUseLink, ioUseGlobal, ioNone };
enum class TWLXRegRootKey : uint32_t {
    rpClassesRoot = 0x80000000u,
    rpCurrentUser = 0x80000001u,
    rpLocalMachine = 0x80000002u,
    rpUsers = 0x80000003u,
    rpCurrentConfig = 0x80000005u,
    rpDynData = 0x80000006u,
};

class TWLXIniCtrl : public TWLXCustomComponent {
public:
    using TCryptEvent = std::function<void(void* sender, QString& data)>;

    bool AlphaCounter() const { return m_alphaCounter; }
    // Cuts MaxEntries to 26 when it is larger.
    void SetAlphaCounter(bool value);
    bool Common = true;
    const QString& IniFile() const { return m_iniFile; }
    // A name without extension gets ".INI".
    void SetIniFile(const QString& value);
    TWLXPathPrefix IniPrefix = TWLXPathPrefix::ppWindows;
    int MaxEntries() const { return m_maxEntries; }
    // Refused above 26 while AlphaCounter is on.
    void SetMaxEntries(int value);
    bool NetUser() const { return m_netUser; }
    // Switched on, User becomes the logged-on user's name.
    void SetNetUser(bool value);
    QString User;
    QString RegPath;
    TWLXRegRootKey RegRoot = TWLXRegRootKey::rpCurrentUser;
    TWLXIniTarget Target() const { return m_target; }
    void SetTarget(TWLXIniTarget value) { m_target = value; }
    // 0 INI file, 1 registry (itAuto means the registry).
    int EffectiveTarget() const { return m_target == TWLXIniTarget::itIniFile ? 0 : 1; }
    uint16_t EncKey = 31062;
    bool Encoded = false;
    TWLXIniCryptMode CryptMode = TWLXIniCryptMode::icmKey;
    TCryptEvent OnEncodeString, OnDecodeString;

    // With Encoded the value is unscrambled; a value that cannot be unscrambled gives def.
    QString ReadString(const QString& section, const QString& ident, const QString& def);
    // False when the file cannot be written.
    bool WriteString(const QString& section, const QString& ident, const QString& value);
    QStringList ReadSection(const QString& section);
    // False when the file cannot be written.
    bool DeleteKey(const QString& section, const QString& ident);

    virtual QString Encode(const QString& value);
    // False when the value is no scrambled text.
    virtual bool Decode(const QString& value, QString* decoded);
    virtual QString NetUserName() const;

    // The INI file in use (a blank IniFile becomes the program's name with ".INI").
    QString IniFileName();
    // RegPath with a trailing backslash, or the application object's registry path.
    QString RegistryKey() const;
    // The section actually used for a given one (and remembered as the last one).
    QString SectionName(const QString& section);
    const QString& LastSection() const { return m_lastSection; }

    // The INI file that stands for the registry.
    static QString RegistryFileName();
    // "HKEY_CURRENT_USER" ...
    static QString RootName(TWLXRegRootKey root);

private:
    QString FileOfTarget() const;
    bool m_alphaCounter = false;
    QString m_iniFile;
    int m_maxEntries = 16;
    bool m_netUser = false;
    TWLXIniTarget m_target = TWLXIniTarget::itAuto;
    QString m_lastSection;
};
