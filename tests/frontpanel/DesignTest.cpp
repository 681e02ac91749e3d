// The page's element list: creation, deletion, z-order, page numbers, edit and run mode, and
// what the page forwards to its elements.

#include "DesignTestSupport.h"

#include "core/model/ClassRegistry.h"

#include <QTabBar>
#include <QTemporaryDir>

namespace {

std::vector<QString> Names(const TDesign& page)
{
    std::vector<QString> names;
    for (const TFP_Element* e : page.Elements)
        names.push_back(e->ElementName);
    return names;
}

// The page's child widgets in stacking order (back to front), by element name.
QStringList Stacking(const TDesign& page)
{
    QStringList names;
    for (const QObject* child : page.children()) {
        if (const auto* sizer = dynamic_cast<const TSizer*>(child)) {
            if (sizer->Element)
                names << sizer->Element->ElementName;
        } else if (const auto* e = dynamic_cast<const TFP_Element*>(child)) {
            names << e->ElementName;
        }
    }
    return names;
}

} // namespace

TEST_F(DesignFixture, AddElementAppendsNumbersAndPlacesOnTheActivePage)
{
    page->SetAktiveFrontplatte(2);
    TTestSwitchElement* a = AddSwitch(QStringLiteral("S1"), QRect(10, 10, 40, 20));
    TTestSwitchElement* b = AddSwitch(QStringLiteral("S2"), QRect(60, 10, 40, 20));
    TFP_Element* label = AddLabel(QStringLiteral("Text"), QRect(10, 60, 60, 16));

    ASSERT_EQ(page->Elements.size(), 3u);
    EXPECT_EQ(page->Elements.back(), label);
    EXPECT_EQ(a->ElementIndex, 1);
    EXPECT_EQ(b->ElementIndex, 2);
    EXPECT_EQ(label->ElementIndex, 3);
    for (TFP_Element* e : page->Elements) {
        EXPECT_EQ(e->FrontplattenNR, 2);
        EXPECT_EQ(e->parentWidget(), page);
        EXPECT_EQ(e->OwnerDesign, page);
        EXPECT_TRUE(e->userEdit);
    }
    EXPECT_TRUE(a->ShowHint);
    EXPECT_FALSE(label->ShowHint) << "decor elements show no hint";
    EXPECT_TRUE(TDesign::IsDecorElement(label));
    EXPECT_FALSE(TDesign::IsDecorElement(a));

    EXPECT_THROW(page->AddElement(QStringLiteral("TNoSuchElement")), EClassNotFound);
    EXPECT_EQ(page->Elements.size(), 3u);
}

TEST_F(DesignFixture, DeletingRemovesFromTheListAlsoWhenTheElementIsFreedElsewhere)
{
    TTestSwitchElement* a = AddSwitch(QStringLiteral("S1"), QRect(10, 10, 40, 20));
    TTestSwitchElement* b = AddSwitch(QStringLiteral("S2"), QRect(60, 10, 40, 20));
    AddSwitch(QStringLiteral("S3"), QRect(110, 10, 40, 20));
    page->SelectElement(0);
    page->DeleteElement(a);
    EXPECT_EQ(Names(*page), (std::vector<QString>{"S2", "S3"}));
    EXPECT_TRUE(page->Sizers.empty()) << "the frame of a deleted element goes with it";

    delete b;  // e.g. a component that frees its element itself
    EXPECT_EQ(Names(*page), (std::vector<QString>{"S3"}));
    EXPECT_EQ(page->IndexOfElement(b), -1);

    page->DeleteElement(b);  // not on the page: nothing happens
    EXPECT_EQ(page->Elements.size(), 1u);
}

TEST_F(DesignFixture, DeleteDecorElementsKeepsTheElementsOfComponents)
{
    AddLabel(QStringLiteral("A"), QRect(0, 0, 10, 10));
    AddSwitch(QStringLiteral("S1"), QRect(10, 10, 40, 20));
    AddLabel(QStringLiteral("B"), QRect(0, 0, 10, 10));
    page->DeleteDecorElements();
    EXPECT_EQ(Names(*page), (std::vector<QString>{"S1"}));
}

TEST_F(DesignFixture, RestoreZOrderSortsByIndexAndKeepsOutOfRangeAtTheBack)
{
    const char* names[] = {"A", "B", "C", "D", "E"};
    const int32_t indexes[] = {3, 9, 1, 0, 2};
    for (int i = 0; i < 5; ++i) {
        TTestSwitchElement* e = AddSwitch(QString::fromLatin1(names[i]), QRect(i * 50, 0, 40, 20));
        e->ElementIndex = indexes[i];
    }
    page->RestoreZOrder();
    EXPECT_EQ(Names(*page), (std::vector<QString>{"B", "D", "C", "E", "A"}));
    EXPECT_EQ(Stacking(*page).mid(Stacking(*page).size() - 3), (QStringList{"C", "E", "A"}))
        << "the widgets are stacked in list order";
    page->RenumberElements();
    for (size_t i = 0; i < page->Elements.size(); ++i)
        EXPECT_EQ(page->Elements[i]->ElementIndex, int32_t(i + 1));
}

TEST_F(DesignFixture, StackingCommandsMoveTheSelectionAndRenumber)
{
    for (const char* n : {"A", "B", "C", "D"})
        AddSwitch(QString::fromLatin1(n), QRect(0, 0, 40, 20));
    page->SelectElement(2);  // C
    page->SelectElement(0);  // A
    page->BringSelectionToFront();
    EXPECT_EQ(Names(*page), (std::vector<QString>{"B", "D", "A", "C"}))
        << "the selected keep their list order among themselves";
    EXPECT_EQ(page->Elements.back()->ElementIndex, 4);
    EXPECT_EQ(Stacking(*page).last(), QStringLiteral("C"));

    page->SendSelectionToBack();
    EXPECT_EQ(Names(*page), (std::vector<QString>{"A", "C", "B", "D"}));
    EXPECT_EQ(Stacking(*page).first(), QStringLiteral("A"));
    EXPECT_EQ(page->Elements.front()->ElementIndex, 1);
}

TEST_F(DesignFixture, ShowPageParksTheElementsOfOtherPages)
{
    TTestSwitchElement* a = AddSwitch(QStringLiteral("S1"), QRect(10, 10, 40, 20));
    TTestSwitchElement* b = AddSwitch(QStringLiteral("S2"), QRect(60, 10, 40, 20));
    b->SetFrontplattenNR(1);
    page->SelectElement(0);

    page->SetAktiveFrontplatte(1);
    EXPECT_EQ(a->parentWidget(), hidden);
    EXPECT_EQ(b->parentWidget(), page);
    EXPECT_TRUE(page->Sizers.empty()) << "a parked element leaves its frame";
    EXPECT_EQ(a->geometry(), QRect(10, 10, 40, 20));

    page->SetAktiveFrontplatte(0);
    EXPECT_EQ(a->parentWidget(), page);
    EXPECT_FALSE(a->isHidden());
    EXPECT_EQ(b->parentWidget(), hidden);
}

TEST_F(DesignFixture, NestedPagesFollowPageNumbersAndVisibility)
{
    auto* group = static_cast<TDesign*>(page->AddElement(QStringLiteral("TDesign")));
    group->ElementName = QStringLiteral("Makro 1: M");
    group->setGeometry(100, 100, 200, 100);
    EXPECT_TRUE(TDesign::ContainsOnlyDesigns(page)) << "a page holding only an empty page";

    auto* inner = static_cast<TTestSwitchElement*>(group->AddElement(QStringLiteral("TTestSwitchElement")));
    EXPECT_FALSE(TDesign::ContainsOnlyDesigns(page));

    page->SetFrontplattenNR(3);
    EXPECT_EQ(group->FrontplattenNR, 3);
    EXPECT_EQ(inner->FrontplattenNR, 3) << "a nested page carries its elements along";

    page->SetAktiveFrontplatte(3);
    EXPECT_EQ(group->AktiveFrontplatte, 3);

    // A nested page that holds only pages is hidden.
    group->DeleteElement(inner);
    page->SetisVisible(true);
    EXPECT_FALSE(group->GetisVisible());
    EXPECT_EQ(page->GetElementsBounds(), (TRect{100, 100, 300, 200}));
}

TEST_F(DesignFixture, EmptyPageHasNoBoundsAndPageCaptionsCountTheTabs)
{
    EXPECT_EQ(page->GetElementsBounds(), TRect{});
    QTabBar tabs;
    tabs.addTab(QStringLiteral("x"));
    tabs.addTab(QStringLiteral("y"));
    page->PageTabs = &tabs;
    EXPECT_EQ(page->GetPageCaption(), QStringLiteral("Frontplatte 3"));
    Ctx().CurrentLanguage = 2;
    EXPECT_EQ(page->GetPageCaption(), QString::fromUtf8("Panneau de contrôle 3"));
    page->PageTabs = nullptr;
    Ctx().CurrentLanguage = 1;
    EXPECT_EQ(page->GetPageCaption(), QStringLiteral("Front panel 1"));
}

TEST_F(DesignFixture, EditModeSwitchesInputOffWithoutGreying)
{
    TTestSwitchElement* a = AddSwitch(QStringLiteral("S1"), QRect(10, 10, 40, 20));
    const QPoint inside(20, 15);

    ASSERT_TRUE(page->isEditing);
    EXPECT_FALSE(a->ElementEnabled());
    EXPECT_TRUE(a->isEnabled()) << "elements are not greyed in edit mode";
    EXPECT_TRUE(a->testAttribute(Qt::WA_TransparentForMouseEvents));
    EXPECT_NE(page->childAt(inside), a) << "the page takes the mouse";
    page->PageMouseDown(Qt::LeftButton, Qt::NoModifier, inside);
    EXPECT_TRUE(page->IsSelected(a));

    page->SetisEditing(false);
    EXPECT_TRUE(page->Sizers.empty()) << "run mode selects nothing";
    EXPECT_TRUE(a->ElementEnabled());
    EXPECT_TRUE(a->isEnabled());
    EXPECT_FALSE(a->userEdit);
    EXPECT_EQ(page->childAt(inside), a) << "the element takes the mouse";
    page->PageMouseDown(Qt::LeftButton, Qt::NoModifier, inside);
    EXPECT_TRUE(page->Sizers.empty());

    TTestSwitchElement* b = AddSwitch(QStringLiteral("S2"), QRect(80, 10, 40, 20));
    EXPECT_TRUE(b->ElementEnabled()) << "a new element follows the page's mode";
}

TEST_F(DesignFixture, SettingsAndNamesUseThePathOfNestedPages)
{
    TTestSwitchElement* top = AddSwitch(QStringLiteral("S1"), QRect(0, 0, 40, 20));
    auto* group = static_cast<TDesign*>(page->AddElement(QStringLiteral("TDesign")));
    group->ElementName = QStringLiteral("M1");
    auto* inner = static_cast<TTestSwitchElement*>(group->AddElement(QStringLiteral("TTestSwitchElement")));
    inner->ElementName = QStringLiteral("S1");
    top->Status = 4;
    inner->Status = 7;

    QTemporaryDir dir;
    TIniFile ini(dir.filePath(QStringLiteral("states.ini")));
    page->SaveSettings(ini, QStringLiteral("MainModul"));
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("MainModul.Frontplatte.S1"), QStringLiteral("Status"), -1), 4);
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("MainModul.Frontplatte.M1.S1"), QStringLiteral("Status"), -1), 7);

    EXPECT_TRUE(page->MatchQualifiedName(QStringLiteral("MainModul"), QStringLiteral("MainModul.Frontplatte.M1.S1")));
    EXPECT_EQ(inner->QualifiedName, QStringLiteral("MainModul.Frontplatte.M1.S1"));
    EXPECT_FALSE(page->MatchQualifiedName(QStringLiteral("MainModul"), QStringLiteral("MainModul.Frontplatte.m1.S1")));

    top->Status = inner->Status = 0;
    EXPECT_TRUE(page->LoadSettings(ini, QStringLiteral("MainModul"), true));
    EXPECT_EQ(top->Status, 0) << "checking changes nothing";
    EXPECT_TRUE(page->LoadSettings(ini, QStringLiteral("MainModul"), false));
    EXPECT_EQ(top->Status, 4);
    EXPECT_EQ(inner->Status, 7);

    ini.EraseSection(QStringLiteral("MainModul.Frontplatte.M1.S1"));
    EXPECT_FALSE(page->LoadSettings(ini, QStringLiteral("MainModul"), true))
        << "one element missing its key fails the check";
}

TEST_F(DesignFixture, StartValuesAndHotkeysReachEveryElement)
{
    TTestSwitchElement* a = AddSwitch(QStringLiteral("A"), QRect(0, 0, 40, 20));
    auto* group = static_cast<TDesign*>(page->AddElement(QStringLiteral("TDesign")));
    auto* inner = static_cast<TTestSwitchElement*>(group->AddElement(QStringLiteral("TTestSwitchElement")));
    inner->ElementName = QStringLiteral("B");
    a->StartValue = 3;
    inner->StartValue = 5;
    page->ApplyStartValue();
    EXPECT_EQ(a->Status, 3);
    EXPECT_EQ(inner->Status, 5);

    TTestSwitchElement* c = AddSwitch(QStringLiteral("C"), QRect(0, 0, 40, 20));
    page->HotkeyDown(65, 0);
    page->HotkeyUp(65, 0);
    // Last to first: C before A.
    EXPECT_EQ(c->KeyLog, QStringLiteral("C+65 C-65 "));
    EXPECT_EQ(inner->KeyLog, QStringLiteral("B+65 B-65 "));
}

TEST(DesignNames, UpperFileTitleDropsFolderAndExtension)
{
    EXPECT_EQ(UpperFileTitle(QStringLiteral("C:\\Projekte\\Anlage.prj")), QStringLiteral("ANLAGE"));
    EXPECT_EQ(UpperFileTitle(QStringLiteral("/tmp/my.plant.prj")), QStringLiteral("MY.PLANT"));
    EXPECT_EQ(UpperFileTitle(QString()), QString());
}
