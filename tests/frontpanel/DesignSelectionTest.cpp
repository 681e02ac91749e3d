// Selection frames on a page: selecting, hit tests, moving within the page, aligning on the
// grid, and the rubber band.

#include "DesignTestSupport.h"

TEST_F(DesignFixture, SelectingPutsTheElementIntoAFrameAndDeselectingBack)
{
    TTestSwitchElement* a = AddSwitch(QStringLiteral("A"), QRect(50, 60, 40, 20));
    TTestSwitchElement* b = AddSwitch(QStringLiteral("B"), QRect(150, 60, 40, 20));
    page->SelectElement(0);
    ASSERT_EQ(page->Sizers.size(), 1u);
    TSizer* frame = page->Sizers[0];
    EXPECT_EQ(frame->geometry(), QRect(44, 54, 52, 32));
    EXPECT_EQ(a->parentWidget(), frame);
    EXPECT_EQ(a->geometry(), QRect(6, 6, 40, 20));
    EXPECT_TRUE(frame->GetSizeable());
    EXPECT_EQ(page->ElementRect(a), QRect(50, 60, 40, 20));

    page->SelectElement(0);  // already selected: no second frame
    page->SelectElement(1);
    EXPECT_EQ(page->Sizers.size(), 2u);
    EXPECT_FALSE(page->Sizers[0]->GetSizeable()) << "several frames cannot size";
    EXPECT_EQ(page->SelectedElements(), (std::vector<TFP_Element*>{a, b}));

    page->Deselect(-1);
    EXPECT_TRUE(page->Sizers.empty());
    EXPECT_EQ(a->parentWidget(), page);
    EXPECT_EQ(a->geometry(), QRect(50, 60, 40, 20));

    b->SetFrontplattenNR(1);
    page->SetAktiveFrontplatte(0);  // b is parked
    page->SelectElement(1);
    EXPECT_TRUE(page->Sizers.empty()) << "an element of another page gets no frame";
}

TEST_F(DesignFixture, HitTestCountsEdgesAndPrefersTheFront)
{
    AddSwitch(QStringLiteral("A"), QRect(10, 10, 40, 20));
    AddSwitch(QStringLiteral("B"), QRect(30, 10, 40, 20));
    EXPECT_EQ(page->ElementAt(QPoint(35, 15)), 1) << "the front one of two";
    EXPECT_EQ(page->ElementAt(QPoint(10, 10)), 0);
    EXPECT_EQ(page->ElementAt(QPoint(70, 30)), 1) << "right and bottom edges count";
    EXPECT_EQ(page->ElementAt(QPoint(71, 30)), -1);
    page->SelectElement(0);
    EXPECT_EQ(page->ElementAt(QPoint(5, 5)), 0) << "a selected element is hit on its frame";
}

TEST_F(DesignFixture, MouseSelectsReplacesOrAddsWithShift)
{
    TTestSwitchElement* a = AddSwitch(QStringLiteral("A"), QRect(10, 10, 40, 20));
    TTestSwitchElement* b = AddSwitch(QStringLiteral("B"), QRect(100, 10, 40, 20));
    page->PageMouseDown(Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    page->PageMouseDown(Qt::LeftButton, Qt::NoModifier, QPoint(110, 20));
    EXPECT_EQ(page->SelectedElements(), (std::vector<TFP_Element*>{b}));
    page->PageMouseDown(Qt::LeftButton, Qt::ShiftModifier, QPoint(20, 20));
    EXPECT_EQ(page->SelectedElements(), (std::vector<TFP_Element*>{b, a}));
    page->PageMouseDown(Qt::LeftButton, Qt::NoModifier, QPoint(300, 300));
    page->PageMouseUp(Qt::LeftButton, QPoint(300, 300));
    EXPECT_TRUE(page->Sizers.empty()) << "a click on empty space deselects";
}

TEST_F(DesignFixture, RubberBandSelectsWhatItTouches)
{
    TTestSwitchElement* inside = AddSwitch(QStringLiteral("A"), QRect(60, 60, 20, 20));
    TTestSwitchElement* edge = AddSwitch(QStringLiteral("B"), QRect(95, 40, 10, 11));  // reaches y = 50
    AddSwitch(QStringLiteral("C"), QRect(200, 200, 20, 20));
    AddSwitch(QStringLiteral("D"), QRect(30, 30, 15, 15));

    page->PageMouseDown(Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
    page->PageMouseMove(Qt::LeftButton, QPoint(70, 70));
    page->PageMouseMove(Qt::LeftButton, QPoint(50, 50));
    EXPECT_TRUE(page->RubberBandShown);
    page->PageMouseUp(Qt::LeftButton, QPoint(50, 50));
    EXPECT_FALSE(page->RubberBandShown);
    EXPECT_EQ(page->SelectedElements(), (std::vector<TFP_Element*>{inside, edge}));
}

TEST_F(DesignFixture, MovingStopsAtThePageEdges)
{
    TTestSwitchElement* a = AddSwitch(QStringLiteral("A"), QRect(16, 100, 40, 20));
    TTestSwitchElement* b = AddSwitch(QStringLiteral("B"), QRect(100, 100, 40, 20));
    TTestSwitchElement* c = AddSwitch(QStringLiteral("C"), QRect(200, 150, 40, 20));
    for (int i = 0; i < 3; ++i)
        page->SelectElement(i);

    page->MoveSelectionBy(-40, 0);
    EXPECT_EQ(page->ElementRect(a).topLeft(), QPoint(0, 100)) << "the frame may reach -6";
    EXPECT_EQ(page->ElementRect(b).topLeft(), QPoint(84, 100));
    EXPECT_EQ(page->ElementRect(c).topLeft(), QPoint(184, 150));
    EXPECT_TRUE(page->SelectionMoved);

    TTestSwitchElement* d = AddSwitch(QStringLiteral("D"), QRect(550, 10, 40, 20));
    page->SelectElement(3);
    page->MoveSelectionBy(16, 16);
    EXPECT_EQ(page->ElementRect(d).topLeft(), QPoint(550, 26))
        << "no frame may leave the right edge; the vertical part still moves";
    EXPECT_EQ(page->ElementRect(a).topLeft(), QPoint(0, 116));
}

TEST_F(DesignFixture, FramesMoveOnlyWhileDragged)
{
    TTestSwitchElement* a = AddSwitch(QStringLiteral("A"), QRect(100, 100, 40, 20));
    page->SelectElement(0);
    TSizer* frame = page->Sizers[0];
    frame->Offset = QPoint(16, 0);
    page->MoveSelection(frame);
    EXPECT_EQ(page->ElementRect(a).topLeft(), QPoint(100, 100)) << "a frame that is not dragged";

    FPState().CascadePoint = QPoint(96, 64);
    page->BeginMoveSelection(frame);
    EXPECT_EQ(FPState().CascadePoint, QPoint(32, 32));
    EXPECT_TRUE(frame->Moving);
    page->MoveSelection(frame);
    EXPECT_EQ(page->ElementRect(a).topLeft(), QPoint(116, 100));
    page->EndMoveSelection(frame);
    EXPECT_FALSE(frame->Moving);
    EXPECT_FALSE(page->SelectionMoved);
}

TEST_F(DesignFixture, AligningOneElementSnapsToTheGrid)
{
    struct Case {
        int t;
        QRect start;
        QPoint expected;
    };
    const Case cases[] = {
        {0, QRect(37, 5, 30, 20), QPoint(32, 5)},
        {0, QRect(40, 5, 30, 20), QPoint(32, 5)},   // 2.5 rounds to 2
        {1, QRect(10, 5, 30, 20), QPoint(2, 5)},    // round(40/16) = 2 -> 32 - 30
        {2, QRect(5, 24, 30, 20), QPoint(5, 32)},   // 1.5 rounds to 2
        {3, QRect(5, 10, 30, 20), QPoint(5, 12)},   // round(30/16) = 2 -> 32 - 20
        {4, QRect(10, 5, 30, 20), QPoint(17, 5)},   // round(25/16) = 2 -> 32 - 15
        {5, QRect(5, 10, 30, 21), QPoint(5, 6)},    // round(20.5/16) = 1 -> 16 - round(10.5)
    };
    FPState().FPGrid = 16;
    for (const Case& c : cases) {
        TTestSwitchElement* e = AddSwitch(QStringLiteral("E"), c.start);
        page->Deselect(-1);
        page->SelectElement(page->IndexOfElement(e));
        page->AlignSelection(c.t);
        EXPECT_EQ(page->ElementRect(e).topLeft(), c.expected) << "type " << c.t;
        EXPECT_TRUE(page->IsSelected(e)) << "a single element stays selected";
        page->DeleteElement(e);
    }

    FPState().FPGrid = 1;
    TTestSwitchElement* e = AddSwitch(QStringLiteral("E"), QRect(37, 5, 30, 20));
    page->SelectElement(page->IndexOfElement(e));
    page->AlignSelection(0);
    EXPECT_EQ(page->ElementRect(e).topLeft(), QPoint(37, 5)) << "no grid, no aligning";
}

TEST_F(DesignFixture, AligningSeveralUsesTheElementSelectedLast)
{
    TTestSwitchElement* a = AddSwitch(QStringLiteral("A"), QRect(10, 10, 40, 20));
    TTestSwitchElement* b = AddSwitch(QStringLiteral("B"), QRect(70, 50, 60, 30));
    TTestSwitchElement* c = AddSwitch(QStringLiteral("C"), QRect(200, 90, 50, 20));
    page->SelectElement(0);
    page->SelectElement(2);
    page->SelectElement(1);  // reference: right edge at 130

    page->AlignSelection(1);
    EXPECT_TRUE(page->Sizers.empty()) << "nothing stays selected";
    EXPECT_EQ(a->geometry(), QRect(90, 10, 40, 20));
    EXPECT_EQ(c->geometry(), QRect(80, 90, 50, 20));
    EXPECT_EQ(b->geometry(), QRect(70, 50, 60, 30));

    page->SelectElement(0);
    page->SelectElement(1);  // reference: vertical centre 50 + 30 div 2 = 65
    page->AlignSelection(5);
    EXPECT_EQ(a->y(), 55);

    page->AlignSelection(0);  // nothing selected: nothing happens
    EXPECT_EQ(a->x(), 90);
}

TEST_F(DesignFixture, PastedElementsMoveOffTheElementsTheyWouldHide)
{
    FPState().FPGrid = 16;
    AddSwitch(QStringLiteral("Original"), QRect(50, 60, 40, 20));
    AddSwitch(QStringLiteral("Next"), QRect(66, 76, 40, 20));
    TTestSwitchElement* copy = AddSwitch(QStringLiteral("Copy"), QRect(50, 60, 40, 20));
    TTestSwitchElement* other = AddSwitch(QStringLiteral("Other"), QRect(300, 60, 40, 20));
    page->SelectElement(2);
    page->SelectElement(3);
    page->MoveSelectionOffCovered();
    // The first step would hide "Next": the copies go one step further, together.
    EXPECT_EQ(page->ElementRect(copy), QRect(82, 92, 40, 20));
    EXPECT_EQ(page->ElementRect(other), QRect(332, 92, 40, 20));

    page->MoveSelectionOffCovered();  // nothing hidden: nothing moves
    EXPECT_EQ(page->ElementRect(copy), QRect(82, 92, 40, 20));
}
