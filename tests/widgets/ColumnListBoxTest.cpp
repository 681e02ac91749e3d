#include "platform/Colors.h"
#include "widgets/ColumnListBox.h"

#include "widgets/SansFont.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QScrollBar>
#include <QTemporaryDir>

namespace {

// A box with four sections of 40 pixels, shown.
struct Table {
    TWLXListBox box;
    explicit Table(int width = 200)
    {
        box.SetFontProp(1, Sans());
        box.Header().ClearSections();
        for (const char* t : {"A", "B", "C", "D"})
            box.Header().AddSection(QString::fromLatin1(t), 40);
        box.resize(width, 120);
        box.show();
        QApplication::processEvents();
    }
    QImage Shot()
    {
        QApplication::processEvents();
        return box.List().viewport()->grab().toImage();
    }
};

// Whether any pixel of the rectangle is dark (text).
bool HasInk(const QImage& image, const QRect& r)
{
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (qGray(image.pixel(x, y)) < 100)
                return true;
    return false;
}

} // namespace

TEST(ColumnListBoxTest, FieldsSplitAtTheDelimiter)
{
    struct Case {
        QString item;
        QStringList fields;
    } cases[] = {
        {"a;b;c;d;e", {"a", "b", "c", "d", "e"}},
        {"a;;c", {"a", "", "c"}},
        {"a;b;", {"a", "b"}},
        {"", {}},
        {";", {""}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TWLXListBox::SplitFields(c.item, u';'), c.fields) << c.item.toStdString();
}

TEST(ColumnListBoxTest, FieldsAreDrawnInTheirColumns)
{
    Table t;
    t.box.List().SetItems({"W;;W;W;W", "   "});
    const QImage shot = t.Shot();
    const TWLXRect row = t.box.List().ItemRect(0);
    const auto column = [&](int k) { return QRect(k * 40 + 1, row.Top, 38, row.Height() - 1); };
    EXPECT_TRUE(HasInk(shot, column(0)));
    EXPECT_FALSE(HasInk(shot, column(1)));
    EXPECT_TRUE(HasInk(shot, column(2)));
    EXPECT_TRUE(HasInk(shot, column(3)));
    // The fifth field has no section.
    EXPECT_FALSE(HasInk(shot, QRect(161, row.Top, 30, row.Height() - 1)));
    // A blank item shows only its background.
    const TWLXRect blank = t.box.List().ItemRect(1);
    EXPECT_FALSE(HasInk(shot, QRect(0, blank.Top, 190, blank.Height())));
}

TEST(ColumnListBoxTest, AFieldIsCutAtItsColumn)
{
    Table t;
    t.box.List().SetItems({"WWWWWWWWWWWWWWWW"});
    QImage shot = t.Shot();
    const TWLXRect row = t.box.List().ItemRect(0);
    EXPECT_TRUE(HasInk(shot, QRect(1, row.Top, 38, row.Height() - 1)));
    EXPECT_FALSE(HasInk(shot, QRect(41, row.Top, 38, row.Height() - 1)));
    t.box.SetColumnOptions(loEndEllipsis);
    shot = t.Shot();
    EXPECT_FALSE(HasInk(shot, QRect(41, row.Top, 38, row.Height() - 1)));
}

TEST(ColumnListBoxTest, RowColoursAndGridLines)
{
    Table t;
    t.box.List().SetItems({"a", "b", "c"});
    t.box.SetBooleanProp(14, true);
    t.box.SetColorProp(5, clYellow);
    t.box.SetGridLines(TWLXLBGridLines::glVertical);
    t.box.SetColorProp(3, clRed);
    int hookRows = 0;
    t.box.OnGetLineSettings = [&](void*, int index, unsigned, int32_t& background, QFont&) {
        ++hookRows;
        if (index == 2)
            background = clLime;
    };
    const QImage shot = t.Shot();
    const int x = 30;
    EXPECT_EQ(QColor(shot.pixel(x, t.box.List().ItemRect(0).Top + 2)), TColorToQColor(clWindow));
    EXPECT_EQ(QColor(shot.pixel(x, t.box.List().ItemRect(1).Top + 2)), QColor(Qt::yellow));
    EXPECT_EQ(QColor(shot.pixel(x, t.box.List().ItemRect(2).Top + 2)), QColor(Qt::green));
    EXPECT_GE(hookRows, 3);
    // A vertical line at the right edge of every column, down to the bottom of the list.
    EXPECT_EQ(QColor(shot.pixel(39, 2)), QColor(Qt::red));
    EXPECT_EQ(QColor(shot.pixel(79, shot.height() - 2)), QColor(Qt::red));
}

TEST(ColumnListBoxTest, IndexedPropertiesReachTheInnerControls)
{
    Table t;
    t.box.List().SetItems({"a", "b", "c"});
    t.box.SetBooleanProp(3, true);
    EXPECT_TRUE(t.box.List().MultiSelect());
    t.box.List().SetSelected(0, true);
    t.box.List().SetSelected(2, true);
    EXPECT_EQ(t.box.GetIntegerProp(3), 2);
    EXPECT_EQ(t.box.GetIntegerProp(5), 4);
    EXPECT_EQ(t.box.GetIntegerProp(99), 0);
    t.box.SetIntegerProp(0, 25);
    EXPECT_EQ(t.box.Header().height(), 25);
    EXPECT_EQ(t.box.List().y(), 25);
    t.box.SetBooleanProp(2, false);
    EXPECT_EQ(t.box.List().y(), 0);
    t.box.SetBooleanProp(5, false);
    EXPECT_FALSE(t.box.Header().isEnabled());
}

TEST(ColumnListBoxTest, AutomaticVirtualWidthScrollsHeaderAndListTogether)
{
    Table t(554);
    t.box.Header().ClearSections();
    for (int w : {150, 150, 150, 140})
        t.box.Header().AddSection(QStringLiteral("x"), w);
    t.box.SetBooleanProp(16, true);
    QApplication::processEvents();
    EXPECT_EQ(t.box.VirtualWidth(), 590);
    EXPECT_EQ(t.box.Header().width(), 590);
    EXPECT_EQ(t.box.List().width(), 590);
    QScrollBar* bar = t.box.horizontalScrollBar();
    EXPECT_GT(bar->maximum(), 0);
    bar->setValue(bar->maximum());
    QApplication::processEvents();
    EXPECT_EQ(t.box.Header().mapTo(&t.box, QPoint(0, 0)).x(), t.box.List().mapTo(&t.box, QPoint(0, 0)).x());
    EXPECT_LT(t.box.Header().mapTo(&t.box, QPoint(0, 0)).x(), 0);
    // Narrower sections fit again: no virtual width.
    t.box.Header().SetSectionWidth(0, 40);
    QApplication::processEvents();
    EXPECT_EQ(t.box.VirtualWidth(), 0);
}

TEST(ColumnListBoxTest, ColumnWidthsInTheIniFile)
{
    QTemporaryDir dir;
    TWLXIniCtrl ini;
    ini.SetTarget(TWLXIniTarget::itIniFile);
    ini.IniPrefix = TWLXPathPrefix::ppFixed;
    ini.SetIniFile(dir.filePath(QStringLiteral("columns.ini")));
    {
        TWLXListBox box;
        box.IniUse = TWLXIniUse::ioUseLink;
        box.SetIniLink(&ini);
        box.Header().SetSectionWidth(0, 77);
        box.Header().AddSection(QStringLiteral("B"), 33);
    }
    EXPECT_EQ(ini.ReadString(QStringLiteral("Common"), QStringLiteral("ListBoxData"), QString()),
              QStringLiteral("77,33"));

    struct Case {
        const char* name;
        QString stored;
        QStringList titles;
        QList<int> widths;
    } cases[] = {
        {"more widths than sections add sections", "60,100,20", {"", "S. 2", "S. 3"}, {60, 100, 20}},
        {"a damaged width keeps its column", "60,x,20", {"", "S. 2", "S. 3"}, {60, 50, 20}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ini.WriteString(QStringLiteral("Common"), QStringLiteral("ListBoxData"), c.stored);
        TWLXListBox box;
        box.IniUse = TWLXIniUse::ioUseLink;
        box.SetIniLink(&ini);
        bool told = false;
        box.OnIniReadData = [&](void*, TWLXIniCtrl* control, const QString& section) {
            told = control == &ini && section == QStringLiteral("Common");
        };
        box.Loaded();
        EXPECT_TRUE(told);
        ASSERT_EQ(box.Header().SectionCount(), c.titles.size());
        for (int k = 0; k < c.titles.size(); ++k) {
            EXPECT_EQ(box.Header().SectionText(k), c.titles[k]);
            EXPECT_EQ(box.Header().SectionWidth(k), c.widths[k]);
        }
        box.SetIniLink(nullptr);
    }

    // Without sections the key goes.
    {
        TWLXListBox box;
        box.IniUse = TWLXIniUse::ioUseLink;
        box.SetIniLink(&ini);
        box.Header().ClearSections();
    }
    EXPECT_EQ(ini.ReadString(QStringLiteral("Common"), QStringLiteral("ListBoxData"), QStringLiteral("gone")),
              QStringLiteral("gone"));
}
