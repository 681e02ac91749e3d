#include "widgets/FontListBox.h"

#include <gtest/gtest.h>

#include <QApplication>

TEST(FontListBoxTest, ListsEveryFaceOnceAndSelectsIgnoringCase)
{
    TWLXFontListBox box;
    const QStringList items = box.Items();
    QStringList sorted = items;
    sorted.sort(Qt::CaseInsensitive);
    sorted.removeDuplicates();
    EXPECT_EQ(items, sorted);
    ASSERT_TRUE(items.contains(QStringLiteral("DejaVu Sans")));

    int hooks = 0;
    box.FontChangeHook = [&] { ++hooks; };
    box.SetFontName(QStringLiteral("dejavu sans"));
    EXPECT_EQ(box.GetFontName(), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(hooks, 1);
    box.SetFontName(QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(hooks, 1);
    box.SetFontName(QStringLiteral("No Such Face"));
    EXPECT_EQ(box.ItemIndex(), -1);
    EXPECT_EQ(box.GetFontName(), QString());

    // A new option keeps the chosen face.
    box.SetFontName(QStringLiteral("DejaVu Serif"));
    box.SetOptions(foScreenFonts | foTrueTypeOnly | foDisplayFont);
    EXPECT_EQ(box.GetFontName(), QStringLiteral("DejaVu Serif"));
    for (int i = 0; i < box.Count(); ++i)
        EXPECT_EQ(box.FontTypeOf(i) & ftTrueType, ftTrueType) << box.Item(i).toStdString();
}

TEST(FontListBoxTest, SizeBoxFollowsTheListOrTheComboOneAtATime)
{
    auto* list = new TWLXFontListBox;
    TWLXFontComboBox combo;
    TWLXFontSizeComboBox sizes;
    sizes.SetFontCombo(&combo);
    sizes.SetFontList(list);
    EXPECT_EQ(sizes.FontCombo(), nullptr);
    EXPECT_FALSE(combo.FontChangeHook);
    EXPECT_EQ(sizes.FontList(), list);
    list->SetFontName(QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(sizes.FontName(), QStringLiteral("DejaVu Sans"));
    sizes.SetFontSize(14);
    list->SetFontName(QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(sizes.FontName(), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(sizes.currentText(), QStringLiteral("14"));
    delete list;
    EXPECT_EQ(sizes.FontList(), nullptr);
    {
        auto linked = std::make_unique<TWLXFontSizeComboBox>();
        TWLXFontListBox other;
        linked->SetFontList(&other);
        linked.reset();
        EXPECT_FALSE(other.FontChangeHook);
    }
}

TEST(FontListBoxTest, TheSampleShowsOncePerItem)
{
    TWLXFontListBox box;
    box.resize(160, 200);
    box.ShowExample = true;
    box.show();
    QApplication::processEvents();
    const TWLXRect r0 = box.ItemRect(0), r1 = box.ItemRect(1);
    box.ShowExampleAt(QPoint(r0.Left + 5, r0.Top + 2));
    EXPECT_TRUE(box.ExampleShowing());
    box.ShowExampleAt(QPoint(r0.Left + 30, r0.Top + 4));
    EXPECT_EQ(box.ExampleShows(), 1);
    // Leaving and coming back to the same item shows nothing new until another item was visited.
    box.HideExample();
    box.ShowExampleAt(QPoint(r0.Left + 5, r0.Top + 2));
    EXPECT_FALSE(box.ExampleShowing());
    box.ShowExampleAt(QPoint(r1.Left + 5, r1.Top + 2));
    box.ShowExampleAt(QPoint(r0.Left + 5, r0.Top + 2));
    EXPECT_EQ(box.ExampleShows(), 3);
    // Below the last item: hidden.
    box.ShowExampleAt(QPoint(5, 1000));
    EXPECT_FALSE(box.ExampleShowing());
}
