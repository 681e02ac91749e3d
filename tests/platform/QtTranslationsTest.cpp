// Qt's own texts follow the program's language: German and French load Qt's translation,
// English and a missing file leave Qt's English texts.

#include "platform/QtTranslations.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTemporaryDir>

namespace {

QString Cancel()
{
    return QCoreApplication::translate("QPlatformTheme", "Cancel");
}

TEST(QtTranslations, QtsButtonsSpeakTheProgramsLanguage)
{
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!QFileInfo::exists(folder + QStringLiteral("/qtbase_de.qm")))
        GTEST_SKIP() << "Qt's translations are not installed (scripts/deps.sh installs them)";
    ASSERT_TRUE(InstallQtTranslations(0));
    EXPECT_EQ(Cancel(), QStringLiteral("Abbrechen"));
    ASSERT_TRUE(InstallQtTranslations(2));
    EXPECT_EQ(Cancel(), QStringLiteral("Annuler"));
    ASSERT_TRUE(InstallQtTranslations(1));
    EXPECT_EQ(Cancel(), QStringLiteral("Cancel"));

    QTemporaryDir empty;
    ASSERT_TRUE(empty.isValid());
    EXPECT_FALSE(InstallQtTranslations(0, empty.path())) << "a missing file is told";
    EXPECT_EQ(Cancel(), QStringLiteral("Cancel"));
}

} // namespace
