// The page's context menu: which entries apply, the web order, duplicating and deleting decor
// elements, copying properties to the selection, and new page tabs.

#include "DesignTestSupport.h"

#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"
#include "ui/SettingsDialog.h"

#include <QAction>
#include <QDialog>
#include <QMenu>
#include <QSpinBox>
#include <QTabBar>

namespace {

enum { kProperties = 0, kFrame = 1, kWeb = 2, kToFront = 4, kToBack = 5, kDelete = 13, kDuplicate = 15 };

} // namespace

TEST_F(DesignFixture, MenuEntriesFollowTheSelection)
{
    TTestSwitchElement* s1 = AddSwitch(QStringLiteral("S1"), QRect(10, 10, 40, 20));
    AddSwitch(QStringLiteral("S2"), QRect(60, 10, 40, 20));
    AddLabel(QStringLiteral("L"), QRect(10, 60, 60, 16));
    auto* group = static_cast<TDesign*>(page->AddElement(QStringLiteral("TDesign")));
    group->setGeometry(200, 200, 50, 50);
    (void)s1;

    struct Case {
        std::vector<int> select;
        bool properties, frame, toFront, decorOnly;
    };
    const Case cases[] = {
        {{}, true, true, false, false},
        {{0, 1}, true, false, true, false},    // two of one class
        {{0, 2}, false, false, true, false},   // switch and label: different classes
        {{3}, false, true, true, false},       // a nested page
        {{2}, true, true, true, true},         // a decor element alone
    };
    for (const Case& c : cases) {
        page->Deselect(-1);
        for (int i : c.select)
            page->SelectElement(i);
        page->PopupMenuPopup();
        EXPECT_EQ(page->MenuEntry(kProperties)->isEnabled(), c.properties) << c.select.size();
        EXPECT_EQ(page->MenuEntry(kFrame)->isEnabled(), c.frame);
        EXPECT_EQ(page->MenuEntry(kToFront)->isEnabled(), c.toFront);
        EXPECT_EQ(page->MenuEntry(kToBack)->isEnabled(), c.toFront);
        EXPECT_EQ(page->MenuEntry(kDelete)->isEnabled(), c.decorOnly);
        EXPECT_EQ(page->MenuEntry(kDuplicate)->isEnabled(), c.decorOnly);
    }
    EXPECT_EQ(page->MenuEntry(7)->text(), QStringLiteral("Neuer Text"));
    EXPECT_EQ(page->NewPageEntry(), nullptr) << "only the root page offers new pages";
}

TEST_F(DesignFixture, WebOrderMakesRoomAndCompactsThePublished)
{
    TTestSwitchElement* a = AddSwitch(QStringLiteral("A"), QRect(0, 0, 40, 20));
    TTestSwitchElement* b = AddSwitch(QStringLiteral("B"), QRect(50, 0, 40, 20));
    TTestSwitchElement* c = AddSwitch(QStringLiteral("C"), QRect(100, 0, 40, 20));
    TTestSwitchElement* hiddenOne = AddSwitch(QStringLiteral("D"), QRect(150, 0, 40, 20));
    TTestSwitchElement* edited = AddSwitch(QStringLiteral("E"), QRect(200, 0, 40, 20));
    a->WebSortOrder = 1;
    b->WebSortOrder = 2;
    c->WebSortOrder = 3;
    hiddenOne->WebSortOrder = 7;
    hiddenOne->WebPublish = false;
    edited->WebSortOrder = 0;
    page->SelectElement(page->IndexOfElement(edited));

    TScopedDialogResponder dialogs;
    dialogs.Answer([](QDialog& d) {
        const QList<QSpinBox*> spins = d.findChildren<QSpinBox*>();
        EXPECT_EQ(spins.size(), 1);
        if (!spins.isEmpty())
            spins.front()->setValue(2);
        return int(mrOk);
    });
    page->EditSelectionWeb();
    EXPECT_EQ(dialogs.Count(), 1);
    EXPECT_EQ(a->WebSortOrder, 1);
    EXPECT_EQ(edited->WebSortOrder, 2);
    EXPECT_EQ(b->WebSortOrder, 3);
    EXPECT_EQ(c->WebSortOrder, 4);
    EXPECT_EQ(hiddenOne->WebSortOrder, 8) << "unpublished: made room for, not compacted";
    EXPECT_TRUE(page->Sizers.empty());
}

TEST_F(DesignFixture, PropertiesCanBeCopiedToTheWholeSelection)
{
    TTestSwitchElement* a = AddSwitch(QStringLiteral("A"), QRect(0, 0, 40, 20));
    TTestSwitchElement* b = AddSwitch(QStringLiteral("B"), QRect(100, 0, 60, 30));
    a->Hint = QStringLiteral("Motor");
    a->EditResult = mrOk;
    page->SelectElement(0);
    page->SelectElement(1);

    TScopedMessageResponder boxes;
    boxes.Answer(mrNo);
    page->EditSelectionProperties();
    EXPECT_EQ(a->EditCalls, 1) << "the first selected element's dialog";
    ASSERT_EQ(boxes.Requests().size(), 1u);
    EXPECT_EQ(boxes.Requests()[0].buttons, mbYesNo);
    EXPECT_TRUE(b->Hint.isEmpty());
    EXPECT_TRUE(page->Sizers.empty());

    page->SelectElement(0);
    page->SelectElement(1);
    boxes.Answer(mrYes);
    page->EditSelectionProperties();
    EXPECT_EQ(b->Hint, QStringLiteral("Motor"));
    EXPECT_EQ(b->size(), QSize(40, 20));

    // Nothing selected: the page's own properties.
    int pageProperties = 0;
    page->OnPageProperties = [&] { ++pageProperties; };
    page->EditSelectionProperties();
    EXPECT_EQ(pageProperties, 1);
}

TEST_F(DesignFixture, DuplicateAndDeleteDecorElements)
{
    TFP_Element* label = AddLabel(QStringLiteral("Druck"), QRect(40, 50, 60, 16));
    label->BorderWidth = 2;
    label->HintergrundFarbe = 0x00FFFF;
    label->WebHeadLines = QStringList{QStringLiteral("<h1>")};
    int deleteHook = 0;
    FPState().OnDeleteSelection = [&] { ++deleteHook; };

    page->SelectElement(0);
    page->DuplicateSelection();
    ASSERT_EQ(page->Elements.size(), 2u);
    TFP_Element* copy = page->Elements[1];
    EXPECT_STREQ(copy->ClassName(), kDecorClass);
    EXPECT_EQ(copy->geometry(), QRect(44, 54, 60, 16));
    EXPECT_EQ(copy->Hint, QStringLiteral("Druck"));
    EXPECT_EQ(copy->BorderWidth, 2);
    EXPECT_EQ(copy->HintergrundFarbe, 0x00FFFF);
    EXPECT_EQ(copy->WebHeadLines, label->WebHeadLines);
    EXPECT_EQ(copy->ElementIndex, 2);
    EXPECT_EQ(label->ElementIndex, 1);
    EXPECT_TRUE(page->Sizers.empty());

    page->SelectElement(0);
    page->SelectElement(1);
    page->DeleteSelection();
    EXPECT_TRUE(page->Elements.empty());
    EXPECT_EQ(deleteHook, 2);
}

TEST_F(DesignFixture, RootPageOffersNewPagesAndMovingTheSelection)
{
    QTabBar tabs;
    tabs.addTab(QStringLiteral("Frontplatte 1"));
    page->PageTabs = &tabs;
    page->CanMoveToOtherPage = true;
    TTestSwitchElement* a = AddSwitch(QStringLiteral("A"), QRect(0, 0, 40, 20));

    page->PopupMenuPopup();
    ASSERT_NE(page->NewPageEntry(), nullptr);
    ASSERT_NE(page->MovePageMenu(), nullptr);
    EXPECT_FALSE(page->MovePageMenu()->menuAction()->isEnabled()) << "nothing selected";
    page->NewPageEntry()->trigger();
    EXPECT_EQ(tabs.count(), 2);
    EXPECT_EQ(tabs.tabText(1), QStringLiteral("Frontplatte 2"));
    EXPECT_EQ(page->AktiveFrontplatte, 1);
    EXPECT_EQ(a->parentWidget(), hidden);

    {
        const QSignalBlocker block(&tabs);
        tabs.setCurrentIndex(0);
    }
    page->SetAktiveFrontplatte(0);
    page->SelectElement(0);
    page->PopupMenuPopup();  // the entries are built anew each time
    const QList<QAction*> entries = page->MovePageMenu()->actions();
    ASSERT_EQ(entries.size(), 4);  // new page, separator, two tabs
    EXPECT_TRUE(page->MovePageMenu()->menuAction()->isEnabled());
    entries[3]->trigger();         // to "Frontplatte 2"
    EXPECT_EQ(a->FrontplattenNR, 1);
    EXPECT_EQ(tabs.currentIndex(), 1);
    EXPECT_EQ(a->parentWidget(), page);
    EXPECT_TRUE(page->Sizers.empty());
    page->PageTabs = nullptr;
}
