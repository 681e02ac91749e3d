#include "widgets/WLXBase.h"
#include "widgets/WLXObject.h"

#include "platform/Context.h"
#include "platform/SystemFolders.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

namespace {

TEST(WLXObjectTest, UpdatesAreAFlagNotACounter)
{
    TWLXObject o;
    int changes = 0;
    o.OnChange = [&](void* sender) { ++changes; EXPECT_EQ(sender, &o); };
    o.BeginUpdate();
    o.BeginUpdate();
    o.Change();
    EXPECT_EQ(changes, 0);
    o.EndUpdate(true);
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(o.Locked());
    o.BeginUpdate();
    o.EndUpdate(false);
    EXPECT_EQ(changes, 1);
}

TEST(WLXControllerTest, LinksAreToldInOrderAndOutliveTheirController)
{
    std::vector<int> told;
    TWLXChangeLink a, b;
    a.OnChange = [&](void*) { told.push_back(1); };
    b.OnChange = [&](void*) { told.push_back(2); };
    {
        TWLXBaseController c;
        c.AddLink(&a);
        c.AddLink(&b);
        c.AddLink(nullptr);
        c.Loading = true;
        c.Change();
        EXPECT_TRUE(told.empty());
        c.Loading = false;
        c.Change();
        EXPECT_EQ(told, (std::vector<int>{1, 2}));
        EXPECT_EQ(a.Sender, &c);
        c.RemoveLink(&a);
        EXPECT_EQ(a.Sender, nullptr);
        EXPECT_EQ(c.Links().size(), 1u);
    }
    EXPECT_EQ(b.Sender, nullptr);   // the controller went first
}

TEST(WLXBaseTest, TextHelpers)
{
    EXPECT_TRUE(IsBlank(QStringLiteral("   ")));
    EXPECT_TRUE(IsBlank(QString()));
    EXPECT_FALSE(IsBlank(QStringLiteral(" a ")));
    EXPECT_EQ(FillString(3, QLatin1Char('x')), QStringLiteral("xxx"));
    EXPECT_EQ(TrimText(QStringLiteral("\t a b \r\n")), QStringLiteral("a b"));
    EXPECT_EQ(TextBefore(QStringLiteral("=abc"), QLatin1Char('=')), QString());
    EXPECT_EQ(TextBefore(QStringLiteral("key=v"), QLatin1Char('=')), QStringLiteral("key"));
    EXPECT_EQ(TextAfter(QStringLiteral("abc"), QLatin1Char('=')), QStringLiteral("abc"));
    EXPECT_EQ(TextAfter(QStringLiteral("key=v"), QLatin1Char('=')), QStringLiteral("v"));
    EXPECT_EQ(AddBackslash(QStringLiteral("C:\\a\\")), QStringLiteral("C:\\a\\"));
    EXPECT_EQ(AddBackslash(QStringLiteral("C:\\a")), QStringLiteral("C:\\a\\"));
    EXPECT_EQ(RemoveBackslash(QString()), QString());
    EXPECT_EQ(RemoveBackslash(QStringLiteral("C:\\a\\")), QStringLiteral("C:\\a"));
    QStringList list{QStringLiteral("old")};
    SplitText(QStringLiteral("a;;b;"), QLatin1Char(';'), &list);
    EXPECT_EQ(list, (QStringList{QStringLiteral("a"), QString(), QStringLiteral("b")}));
    SplitText(QString(), QLatin1Char(';'), &list);
    EXPECT_TRUE(list.isEmpty());
    EXPECT_TRUE(RectInside(QRect(1, 1, 3, 3), QRect(0, 0, 5, 5)));
    EXPECT_FALSE(RectInside(QRect(1, 1, 4, 4), QRect(0, 0, 5, 5)));
}

TEST(WLXBaseTest, CompactPathDropsOneFolderPerStep)
{
    const QString path = QStringLiteral("C:\\Alpha\\Beta\\Gamma\\file.txt");
    const std::pair<int, const char*> steps[] = {
        {100, "C:\\Alpha\\Beta\\Gamma\\file.txt"},
        {27, "C:\\...\\Beta\\Gamma\\file.txt"},
        {25, "C:\\...\\Gamma\\file.txt"},
        {20, "C:\\...\\file.txt"},
        {14, "...\\file.txt"},
        {11, "file.txt"},
        {3, "file.txt"},
    };
    for (auto [max, expected] : steps)
        EXPECT_EQ(CompactPath(path, max), QString::fromLatin1(expected)) << max;
}

TEST(WLXBaseTest, PrefixFoldersAndArrayHelpers)
{
    QTemporaryDir dir;
    SetSystemFolderRoot(dir.path() + QStringLiteral("/cfg"));
    Ctx().ProgramFolder = QStringLiteral("/opt/tavrinol/");
    EXPECT_EQ(PrefixFolder(TWLXPathPrefix::ppProgram, true), QStringLiteral("/opt/tavrinol/"));
    EXPECT_EQ(PrefixFolder(TWLXPathPrefix::ppProgram, false), QStringLiteral("/opt/tavrinol"));
    EXPECT_EQ(PrefixFolder(TWLXPathPrefix::ppWindows, true), dir.path() + QStringLiteral("/cfg/"));
    EXPECT_EQ(PrefixFolder(TWLXPathPrefix::ppSystem, false), dir.path() + QStringLiteral("/cfg"));
    EXPECT_TRUE(QFileInfo(dir.path() + QStringLiteral("/cfg")).isDir());
    EXPECT_EQ(PrefixFolder(TWLXPathPrefix::ppFixed, true), QString());
    SetSystemFolderRoot(QString());
    ResetContext();

    const int ints[] = {3, -7, 9, 2};
    EXPECT_EQ(MaxOf(ints, 3), 9);
    EXPECT_EQ(MaxOf(ints, 1), 3);
    EXPECT_EQ(MinOf(ints, 3), -7);
    const double reals[] = {1.5, -0.25};
    EXPECT_EQ(MinOf(reals, 1), -0.25);
    QPoint points[] = {{0, 0}, {1, 1}, {5, 5}};
    OffsetPoints(points, 1, 2, -1);
    EXPECT_EQ(points[0], QPoint(2, -1));
    EXPECT_EQ(points[1], QPoint(3, 0));
    EXPECT_EQ(points[2], QPoint(5, 5));
}

TEST(WLXBaseTest, FreeChildWindowGivesBackTheNativeWindowUntilShownAgain)
{
    QWidget parent;
    QWidget* child = new QWidget(&parent);
    child->setAttribute(Qt::WA_NativeWindow);
    parent.show();
    ASSERT_NE(child->windowHandle(), nullptr);
    ASSERT_NE(child->windowHandle()->handle(), nullptr);
    FreeChildWindow(child);
    EXPECT_EQ(child->windowHandle()->handle(), nullptr);
    child->hide();
    child->show();
    EXPECT_NE(child->windowHandle()->handle(), nullptr);
    FreeChildWindow(&parent);   // top-level windows are left alone
    EXPECT_NE(parent.windowHandle()->handle(), nullptr);
    FreeChildWindow(nullptr);
}

} // namespace
