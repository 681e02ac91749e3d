#include "platform/Context.h"
#include "platform/IniFile.h"
#include "platform/SystemFolders.h"
#include "widgets/Application.h"
#include "widgets/IniCtrl.h"
#include "widgets/TextCoding.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class IniCtrlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetContext();
        Ctx().ProgramFolder = m_dir.path() + QLatin1Char('/');
        SetSystemFolderRoot(m_dir.filePath(QStringLiteral("config")));
    }
    void TearDown() override
    {
        SetSystemFolderRoot(QString());
        ResetContext();
    }
    QTemporaryDir m_dir;
};

TEST_F(IniCtrlTest, ByteScramblerAndTextEncoding)
{
    const QByteArray texts[] = {"", "a", "Passwort 123", QByteArray("\0\xff\x80 ", 4)};
    for (const QByteArray& text : texts) {
        const QByteArray scrambled = KeyEncode(text, 31062);
        EXPECT_EQ(scrambled.size(), text.size());
        EXPECT_EQ(KeyDecode(scrambled, 31062), text);
        if (!text.isEmpty()) {
            EXPECT_NE(KeyDecode(scrambled, 4711), text);
        }
        EXPECT_EQ(TextDecode(TextEncode(text)), text);
    }
    // The first byte is xored with the key's high byte (31062 = 0x7956).
    EXPECT_EQ(uint8_t(KeyEncode("A", 31062)[0]), 0x41 ^ 0x79);
    // Four bytes: "4:" and two groups of four characters, the second padded with blanks.
    EXPECT_EQ(TextEncode("ABCD"), QByteArray("4:@D93A20P"));
    for (const QByteArray& bad : {QByteArray("x:0000"), QByteArray("0000"), QByteArray("3:00"),
                                  QByteArray("3:~~~~"), QByteArray("9:0000")})
        EXPECT_FALSE(TextDecode(bad).has_value()) << bad.constData();
}

TEST_F(IniCtrlTest, SectionsOfFilesAndOfTheRegistry)
{
    TWLXIniCtrl ini;
    ini.SetTarget(TWLXIniTarget::itIniFile);
    ini.SetIniFile(QStringLiteral("tool"));
    EXPECT_EQ(ini.IniFile(), QStringLiteral("tool.INI"));
    EXPECT_EQ(ini.SectionName(QString()), QStringLiteral("Common"));
    EXPECT_EQ(ini.SectionName(QStringLiteral("Grid")), QStringLiteral("Grid"));
    EXPECT_EQ(ini.SectionName(QStringLiteral(" ")), QStringLiteral("Grid"));
    ini.Common = false;
    ini.User = QStringLiteral("anna");
    EXPECT_EQ(ini.SectionName(QStringLiteral("Grid")), QStringLiteral("anna.Grid"));

    ini.SetTarget(TWLXIniTarget::itAuto);
    ini.RegPath = QStringLiteral("Software\\Firm\\Tool");
    EXPECT_EQ(ini.SectionName(QStringLiteral("Grid")),
              QStringLiteral("HKEY_CURRENT_USER\\Software\\Firm\\Tool\\Grid"));
    EXPECT_EQ(ini.SectionName(QStringLiteral("#ROOT")), QStringLiteral("HKEY_CURRENT_USER\\Software\\Firm\\Tool"));
}

TEST_F(IniCtrlTest, ValuesGoToTheFileOrTheRegistryFile)
{
    TWLXIniCtrl file;
    file.SetTarget(TWLXIniTarget::itIniFile);
    file.IniPrefix = TWLXPathPrefix::ppProgram;
    file.SetIniFile(QStringLiteral("Tool.ini"));
    EXPECT_TRUE(file.WriteString(QString(), QStringLiteral("Width"), QStringLiteral("120")));
    EXPECT_EQ(TIniFile(m_dir.filePath(QStringLiteral("Tool.ini"))).ReadString(
                  QStringLiteral("Common"), QStringLiteral("Width"), QString()),
              QStringLiteral("120"));
    EXPECT_EQ(file.ReadString(QString(), QStringLiteral("Width"), QString()), QStringLiteral("120"));
    EXPECT_EQ(file.ReadSection(QStringLiteral("Common")), QStringList{QStringLiteral("Width")});

    TWLXIniCtrl registry;
    registry.RegPath = QStringLiteral("Software\\Firm\\Tool\\");
    registry.Encoded = true;
    registry.CryptMode = TWLXIniCryptMode::icmTextKey;
    EXPECT_TRUE(registry.WriteString(QStringLiteral("Login"), QStringLiteral("Password"), QStringLiteral("geheim")));
    const QString stored = TIniFile(TWLXIniCtrl::RegistryFileName())
                               .ReadString(QStringLiteral("HKEY_CURRENT_USER\\Software\\Firm\\Tool\\Login"),
                                           QStringLiteral("Password"), QString());
    EXPECT_TRUE(stored.startsWith(QStringLiteral("6:")));
    EXPECT_EQ(registry.ReadString(QStringLiteral("Login"), QStringLiteral("Password"), QString()),
              QStringLiteral("geheim"));
    // A stored value that is no scrambled text reads as the default.
    TIniFile raw(TWLXIniCtrl::RegistryFileName());
    raw.WriteString(QStringLiteral("HKEY_CURRENT_USER\\Software\\Firm\\Tool\\Login"), QStringLiteral("Password"),
                    QStringLiteral("plain"));
    raw.UpdateFile();
    EXPECT_EQ(registry.ReadString(QStringLiteral("Login"), QStringLiteral("Password"), QStringLiteral("none")),
              QStringLiteral("none"));
    // Without a key path the application's registry path is used.
    registry.RegPath.clear();
    EXPECT_EQ(registry.RegistryKey(), Application().RegistryPath());
}

TEST_F(IniCtrlTest, EntryLimits)
{
    TWLXIniCtrl ini;
    ini.SetMaxEntries(30);
    EXPECT_EQ(ini.MaxEntries(), 30);
    ini.SetAlphaCounter(true);
    EXPECT_EQ(ini.MaxEntries(), 26);
    ini.SetMaxEntries(30);
    EXPECT_EQ(ini.MaxEntries(), 26);
    ini.SetMaxEntries(20);
    EXPECT_EQ(ini.MaxEntries(), 20);
}

TEST_F(IniCtrlTest, CustomScrambling)
{
    TWLXIniCtrl ini;
    ini.CryptMode = TWLXIniCryptMode::icmCustom;
    EXPECT_EQ(ini.Encode(QStringLiteral("abc")), QStringLiteral("abc"));
    ini.OnEncodeString = [](void*, QString& data) { data = data.toUpper(); };
    EXPECT_EQ(ini.Encode(QStringLiteral("abc")), QStringLiteral("ABC"));
}

} // namespace
