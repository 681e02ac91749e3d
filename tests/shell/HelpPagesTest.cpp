// The help pages shipped with the program: both languages have the same pages, every link
// between pages and to a place in a page leads somewhere, every entry of the topic table names
// a page, and a component's topic without a page of its own finds its palette group's page.

#include "core/model/ClassRegistry.h"
#include "platform/Context.h"
#include "platform/IniFile.h"
#include "shell/Composition.h"
#include "shell/mainwindow/RegisterClasses.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

QDir HelpFolder()
{
    return QDir(QFileInfo(QStringLiteral(__FILE__)).dir().filePath(QStringLiteral("../../help")));
}

QStringList Pages(const QString& language)
{
    return QDir(HelpFolder().filePath(language))
        .entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
}

QString Read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

TEST(HelpPages, BothLanguagesHoldTheSamePagesAndEveryLinkLeadsSomewhere)
{
    const QStringList german = Pages(QStringLiteral("de"));
    ASSERT_FALSE(german.isEmpty());
    EXPECT_EQ(german, Pages(QStringLiteral("en")));
    for (const char* page : {"index.html", "mainwindow.html", "palette.html", "hardware.html",
                             "group-panel.html", "group-logic.html", "group-analog.html",
                             "group-misc.html", "group-hardware.html"})
        EXPECT_TRUE(german.contains(QString::fromLatin1(page))) << page;

    const QRegularExpression link(QStringLiteral("href=\"([^\"#]*)(?:#([^\"]*))?\""));
    for (const char* language : {"de", "en"}) {
        const QDir folder(HelpFolder().filePath(QString::fromLatin1(language)));
        for (const QString& page : german) {
            const QString text = Read(folder.filePath(page));
            EXPECT_TRUE(text.contains(QStringLiteral("<html lang=\"%1\">").arg(QLatin1String(language))))
                << language << "/" << page.toStdString();
            for (auto m = link.globalMatch(text); m.hasNext();) {
                const auto hit = m.next();
                const QString target = hit.captured(1).isEmpty() ? page : hit.captured(1);
                ASSERT_TRUE(QFileInfo::exists(folder.filePath(target)))
                    << language << "/" << page.toStdString() << " -> " << target.toStdString();
                if (!hit.captured(2).isEmpty()) {
                    EXPECT_TRUE(Read(folder.filePath(target))
                                    .contains(QStringLiteral("id=\"%1\"").arg(hit.captured(2))))
                        << language << "/" << page.toStdString() << " -> " << hit.captured(0).toStdString();
                }
            }
        }
    }
}

TEST(HelpPages, TheTopicTableNamesPagesThatExist)
{
    const TIniFile topics(HelpFolder().filePath(QStringLiteral("topics.ini")));
    const QStringList keys = topics.ReadSection(QStringLiteral("Topics"));
    ASSERT_GT(keys.size(), 20);
    for (const QString& key : keys) {
        bool number = false;
        key.toInt(&number);
        EXPECT_TRUE(number) << key.toStdString();
        const QString page = topics.ReadString(QStringLiteral("Topics"), key, QString()) + ".html";
        for (const char* language : {"de", "en"})
            EXPECT_TRUE(QFileInfo::exists(HelpFolder().filePath(QString::fromLatin1(language) + u'/' + page)))
                << key.toStdString() << " -> " << language << "/" << page.toStdString();
    }
}

TEST(HelpPages, AComponentsTopicFallsBackToItsGroupsPage)
{
    ResetContext();
    RegisterComponentClasses(ClassRegistry());
    EXPECT_EQ(HelpGroupPage(18300), QStringLiteral("group-logic"));   // RS flip-flop
    EXPECT_EQ(HelpGroupPage(18440), QStringLiteral("group-analog"));  // fixed value
    EXPECT_EQ(HelpGroupPage(18005), QStringLiteral("group-panel"));   // LED
    EXPECT_EQ(HelpGroupPage(1), QString()) << "no component has that topic";
}

} // namespace
