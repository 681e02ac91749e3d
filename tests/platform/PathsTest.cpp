#include "platform/Context.h"
#include "platform/Paths.h"
#include "platform/ProgramFolder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

class PathsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetContext();
        ASSERT_TRUE(dir.isValid());
        root = dir.path() + u'/';
        for (const char* name : {"settings/quorin.ini", "Data/log.TXT", "Mixed/Sub/file.TXT",
                                 "same/ABC", "same/abc"})
            Touch(name);
    }

    void Touch(const QString& name) const
    {
        QDir().mkpath(QFileInfo(root + name).absolutePath());
        QFile f(root + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }

    QTemporaryDir dir;
    QString root;
};

TEST_F(PathsTest, MatchesEachExistingComponentWithoutRegardToCase)
{
    struct Case {
        const char* stored;
        const char* expected; // under root
    };
    const Case cases[] = {
        {"Settings\\QUORIN.INI", "settings/quorin.ini"},
        {"SETTINGS\\Speed.ini", "settings/Speed.ini"},       // a new file in an existing folder
        {"mixed\\SUB\\File.txt", "Mixed/Sub/file.TXT"},
        {"Missing\\Sub\\x.INI", "Missing/Sub/x.INI"},         // nothing below is matched
        {"settings\\quorin.ini\\deeper", "settings/quorin.ini/deeper"},
        {"Settings\\", "settings/"},                           // a folder keeps its separator
        {"data\\\\LOG.txt", "Data/log.TXT"},                   // doubled separators fold
        {"same\\abc", "same/abc"},                             // the exact name first
        {"same\\ABC", "same/ABC"},
        {"./Data/../settings/QUORIN.ini", "./Data/../settings/quorin.ini"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        EXPECT_EQ(ResolvePath(c.stored, dir.path()), root + c.expected);
        EXPECT_EQ(ResolvePath(c.stored, root), root + c.expected);
    }
    // Of several matches one that exists is taken.
    const QString some = ResolvePath("same\\Abc", root);
    EXPECT_TRUE(some == root + "same/ABC" || some == root + "same/abc") << some.toStdString();
}

TEST_F(PathsTest, AbsoluteNamesIgnoreTheBaseAndLoseTheirDrive)
{
    QString windows = dir.path();
    windows.replace(u'/', u'\\');
    EXPECT_EQ(ResolvePath("C:" + windows + "\\SETTINGS\\Quorin.ini", "/elsewhere"),
              root + "settings/quorin.ini");
    EXPECT_EQ(ResolvePath(root + "DATA/Log.txt", "/elsewhere"), root + "Data/log.TXT");
    EXPECT_EQ(ResolvePath("d:\\Projekte\\a.prj"), "/Projekte/a.prj");
}

TEST_F(PathsTest, RelativeNamesWithoutBaseStayRelativeToTheCurrentFolder)
{
    const QString saved = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    const QString resolved = ResolvePath("SETTINGS\\quorin.INI");
    QDir::setCurrent(saved);
    EXPECT_EQ(resolved, "settings/quorin.ini");
}

TEST_F(PathsTest, ProgramPathIsUnderTheProgramFolder)
{
    Ctx().ProgramFolder = root;
    EXPECT_EQ(ProgramPath("Settings\\QUORIN.INI"), root + "settings/quorin.ini");
    EXPECT_EQ(ProgramPath("SPRACHE.INI"), root + "SPRACHE.INI");
}

TEST_F(PathsTest, EnsureFolderForCreatesTheFolderOrSaysWhyNot)
{
    QString error;
    EXPECT_TRUE(EnsureFolderFor(root + "a/b/c/file.ini", &error));
    EXPECT_TRUE(QFileInfo(root + "a/b/c").isDir());
    EXPECT_TRUE(EnsureFolderFor(root + "a/b/c/file.ini", &error)); // already there

    Ctx().CurrentLanguage = 1;
    EXPECT_FALSE(EnsureFolderFor(root + "settings/quorin.ini/x/file.ini", &error));
    EXPECT_EQ(error, "The folder \"" + root + "settings/quorin.ini/x\" cannot be created.");
}

TEST_F(PathsTest, ProgramFolderIsTheExecutablesFolderWhenWritable)
{
    EXPECT_EQ(DetermineProgramFolder(dir.path()), root);
    EXPECT_EQ(DetermineProgramFolder(root), root);

    // A folder the program cannot write to (here: one that cannot exist) falls back to the
    // per-user data folder.
    QTemporaryDir home;
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", home.path().toUtf8());
    const QString folder = DetermineProgramFolder(root + "settings/quorin.ini");
    if (saved.isNull())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", saved);
    EXPECT_TRUE(folder.startsWith(home.path() + u'/')) << folder.toStdString();
    EXPECT_TRUE(folder.endsWith(u'/'));
    EXPECT_TRUE(QFileInfo(folder).isDir());
}

} // namespace
