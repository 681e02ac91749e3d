// Wire drawing and normalisation: corners and grid, merging, splitting, junction dots, pin
// marks, and the wiring-mode clicks.
#include "core/BoardTestSupport.h"
#include "core/editing/BoardEditor.h"

#include <algorithm>
#include <tuple>
#include <vector>

namespace {

// A wire segment as (x1, y1, x2, y2, start dot, end dot).
using TWire = std::tuple<int, int, int, int, bool, bool>;

std::vector<TWire> Wires(const TPlatine& board)
{
    std::vector<TWire> out;
    for (TSegment* s : ItemsOf<TSegment>(board)) {
        if (!s->Owner)
            out.emplace_back(s->X1, s->Y1, s->X2, s->Y2, s->StartDot, s->EndDot);
    }
    std::sort(out.begin(), out.end());
    return out;
}

struct TLeg {
    int x1, y1, x2, y2;
};

class WiringTest : public BoardFixture {
protected:
    void SetUp() override
    {
        BoardFixture::SetUp();
        editor.View.SetZoom(15.875);  // one pixel per board unit
    }
    TPlatine board;
    TBoardEditor editor{board};
};

TEST_F(WiringTest, CornerAndGrid)
{
    const QPoint start(0, 0);
    EXPECT_EQ(TWireTool::OrthogonalCorner(start, QPoint(100, 35)), QPoint(100, 0));
    EXPECT_EQ(TWireTool::OrthogonalCorner(start, QPoint(35, 100)), QPoint(0, 100));
    EXPECT_EQ(TWireTool::OrthogonalCorner(start, QPoint(50, 50)), QPoint(0, 50));  // tie: vertical
    EXPECT_EQ(TWireTool::OrthogonalCorner(start, QPoint(-80, 20)), QPoint(-80, 0));

    EXPECT_EQ(board.SnapToGrid(QPoint(30, 10)), QPoint(40, 0));  // halves go to the even step
    EXPECT_EQ(board.SnapToGrid(QPoint(50, -30)), QPoint(40, -40));
    EXPECT_EQ(board.SnapToGrid(QPoint(71, 69)), QPoint(80, 60));
}

// Each case draws its legs one by one (AddWire) and checks the normalised wire set.
TEST_F(WiringTest, AddWireNormalises)
{
    struct Case {
        const char* name;
        std::vector<TLeg> legs;
        std::vector<TWire> expected;
    };
    const Case cases[] = {
        {"collinear legs merge",
         {{0, 0, 100, 0}, {100, 0, 200, 0}},
         {{0, 0, 200, 0, false, false}}},
        {"a leg drawn backwards merges too",
         {{0, 0, 100, 0}, {200, 0, 100, 0}},
         {{0, 0, 200, 0, false, false}}},
        {"vertical legs merge",
         {{0, 0, 0, 100}, {0, 100, 0, 200}},
         {{0, 0, 0, 200, false, false}}},
        {"overlapping pieces merge",
         {{0, 0, 100, 0}, {60, 0, 160, 0}},
         {{0, 0, 160, 0, false, false}}},
        {"a corner stays two segments without a dot",
         {{0, 0, 100, 0}, {100, 0, 100, 100}},
         {{0, 0, 100, 0, false, false}, {100, 0, 100, 100, false, false}}},
        {"an end on a wire splits it with a junction dot",
         {{0, 0, 200, 0}, {100, 100, 100, 0}},
         {{0, 0, 100, 0, false, true},
          {100, 0, 100, 100, true, false},
          {100, 0, 200, 0, true, false}}},
        {"a new wire over an existing end is split",
         {{100, 0, 100, 100}, {0, 0, 200, 0}},
         {{0, 0, 100, 0, false, true},
          {100, 0, 100, 100, true, false},
          {100, 0, 200, 0, true, false}}},
        {"collinear pieces at a junction stay apart",
         {{0, 0, 100, 0}, {100, 0, 100, 100}, {100, 0, 200, 0}},
         {{0, 0, 100, 0, false, true},
          {100, 0, 100, 100, true, false},
          {100, 0, 200, 0, true, false}}},
        {"a crossing without a shared point is no junction",
         {{0, 50, 100, 50}, {50, 0, 50, 100}},
         {{0, 50, 100, 50, false, false}, {50, 0, 50, 100, false, false}}},
        {"four ways meet",
         {{0, 0, 200, 0}, {100, -100, 100, 0}, {100, 0, 100, 100}},
         {{0, 0, 100, 0, false, true},
          {100, -100, 100, 0, false, true},
          {100, 0, 100, 100, true, false},
          {100, 0, 200, 0, true, false}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TPlatine b;
        for (const TLeg& leg : c.legs)
            b.AddWire(QPoint(leg.x1, leg.y1), QPoint(leg.x2, leg.y2));
        EXPECT_EQ(Wires(b), c.expected);
        EXPECT_TRUE(b.WireWork.empty());
    }
}

TEST_F(WiringTest, DetachingABranchMergesWhatRemains)
{
    board.AddWire(QPoint(0, 0), QPoint(200, 0));
    board.AddWire(QPoint(100, 0), QPoint(100, 100));
    TSegment* branch = nullptr;
    for (TSegment* s : ItemsOf<TSegment>(board)) {
        if (s->IsVertical())
            branch = s;
    }
    ASSERT_NE(branch, nullptr);
    branch->Selected = true;
    board.DetachSelectedWires();
    EXPECT_EQ(Wires(board), (std::vector<TWire>{{0, 0, 200, 0, false, false},
                                                {100, 0, 100, 100, false, false}}));

    // Deleting the branch leaves one plain wire.
    board.DeleteSelection();
    EXPECT_EQ(Wires(board), (std::vector<TWire>{{0, 0, 200, 0, false, false}}));
}

TEST_F(WiringTest, PinsAreMarkedConnectedAndFree)
{
    TTestAnd* gate = Add<TTestAnd>(board);  // input 0 ends at (260, 340), input 1 at (260, 380)
    board.SelectAll(false);
    ASSERT_EQ(QPoint(gate->Inputs[0]->X, gate->Inputs[0]->Y), QPoint(260, 340));

    board.AddWire(QPoint(100, 340), QPoint(260, 340));
    EXPECT_TRUE(gate->Inputs[0]->Connected);
    EXPECT_FALSE(gate->Inputs[1]->Connected);
    EXPECT_EQ(Wires(board), (std::vector<TWire>{{100, 340, 260, 340, false, false}}));

    // A wire passing over a pin's end is split there and connects the pin.
    board.AddWire(QPoint(260, 360), QPoint(260, 400));
    EXPECT_TRUE(gate->Inputs[1]->Connected);
    EXPECT_EQ(Wires(board), (std::vector<TWire>{{100, 340, 260, 340, false, false},
                                                {260, 360, 260, 380, false, true},
                                                {260, 380, 260, 400, true, false}}));

    // Taking the first wire away frees its pin.
    for (TSegment* s : ItemsOf<TSegment>(board)) {
        if (!s->Owner && s->Y1 == 340)
            s->Selected = true;
    }
    board.DetachSelectedWires();
    EXPECT_FALSE(gate->Inputs[0]->Connected);
    EXPECT_TRUE(gate->Inputs[1]->Connected);
}

TEST_F(WiringTest, NormaliseAllWiresAfterLoading)
{
    TTestLed* led = Add<TTestLed>(board);
    const QPoint pin(led->Inputs[0]->X, led->Inputs[0]->Y);
    board.AddSegment(QPoint(0, pin.y()), QPoint(100, pin.y()));
    board.AddSegment(QPoint(100, pin.y()), pin);
    board.SelectAll(false);
    board.NormaliseAllWires();
    EXPECT_EQ(Wires(board), (std::vector<TWire>{{0, pin.y(), pin.x(), pin.y(), false, false}}));
    EXPECT_TRUE(led->Inputs[0]->Connected);
    // Pin segments are never merged away.
    EXPECT_EQ(PinSegments(board).size(), 1u);
}

TEST_F(WiringTest, WiringClicks)
{
    int modeChanges = 0;
    board.OnModeChange = [&](TPlatine*) { ++modeChanges; };
    editor.Mode = kModeWiring;

    editor.WireTool.WireClick(3, -4, kLeftButton);  // snapped to (0, 0)
    ASSERT_TRUE(editor.Dragging);
    ASSERT_TRUE(editor.WireTool.TempLine.has_value());
    EXPECT_EQ(editor.WireTool.TempLine->Start, QPoint(0, 0));

    editor.WireTool.UpdateWirePreview(100, 35);
    EXPECT_EQ(editor.WireTool.TempLine->End, QPoint(100, 0));
    EXPECT_TRUE(editor.WireTool.TempLine->Shown);

    editor.WireTool.WireClick(100, 35, kLeftButton);
    EXPECT_EQ(Wires(board), (std::vector<TWire>{{0, 0, 100, 0, false, false}}));
    EXPECT_EQ(editor.WireTool.TempLine->Start, QPoint(100, 0));

    editor.WireTool.WireClick(104, 5, kLeftButton);  // on the leg's own start: nothing to add
    EXPECT_EQ(Wires(board).size(), 1u);

    editor.WireTool.WireClick(110, 200, kLeftButton);  // vertical leg
    EXPECT_EQ(Wires(board), (std::vector<TWire>{{0, 0, 100, 0, false, false},
                                                {100, 0, 100, 200, false, false}}));

    // Right click: the wire ends, its legs stay; a second right click leaves wiring mode.
    editor.WireTool.WireClick(300, 300, kRightButton);
    EXPECT_FALSE(editor.Dragging);
    EXPECT_FALSE(editor.WireTool.TempLine.has_value());
    EXPECT_EQ(Wires(board).size(), 2u);
    EXPECT_EQ(editor.Mode, kModeWiring);
    EXPECT_EQ(modeChanges, 0);
    editor.WireTool.WireClick(300, 300, kRightButton);
    EXPECT_EQ(editor.Mode, kModeSelect);
    EXPECT_EQ(modeChanges, 1);
}

TEST_F(WiringTest, ALegThatReachesAPinOrAWireFinishesTheWire)
{
    TTestAnd* gate = Add<TTestAnd>(board);  // inputs end at (260, 340) and (260, 380)
    int modeChanges = 0;
    board.OnModeChange = [&](TPlatine*) { ++modeChanges; };
    auto click = [this](int x, int y) {
        editor.Press(kLeftButton, 0, x, y);
        editor.Release(kLeftButton, 0, x, y);
    };
    editor.Mode = kModeWiring;

    // A corner short of the clicked point goes on; the leg onto the pin ends the wire.
    click(100, 300);
    click(140, 342);  // the leg turns at (100, 340), away from the click
    EXPECT_TRUE(editor.Dragging);
    click(262, 338);
    EXPECT_FALSE(editor.Dragging);
    EXPECT_FALSE(editor.WireTool.TempLine.has_value());
    EXPECT_TRUE(gate->Inputs[0]->Connected);
    EXPECT_EQ(editor.Mode, kModeWiring);  // chosen with the mode button: it stays
    // The double click that ends on the pin starts no new wire there.
    editor.DoubleClick();
    editor.Press(kLeftButton, 0, 262, 338);
    EXPECT_FALSE(editor.Dragging);

    // A leg onto the inside of a wire ends there, at a junction.
    click(180, 500);
    click(180, 345);
    EXPECT_FALSE(editor.Dragging);
    const auto wires = Wires(board);
    EXPECT_NE(std::find(wires.begin(), wires.end(), TWire{180, 340, 260, 340, true, false}),
              wires.end());

    // Begun at a pin in select mode, the wire returns to select mode when it is connected.
    editor.Mode = kModeSelect;
    modeChanges = 0;
    click(262, 378);
    EXPECT_EQ(editor.Mode, kModeWiring);
    click(180, 382);  // onto the vertical wire at (180, 380)
    EXPECT_FALSE(editor.Dragging);
    EXPECT_TRUE(gate->Inputs[1]->Connected);
    EXPECT_EQ(editor.Mode, kModeSelect);
    EXPECT_EQ(modeChanges, 2);

    // A double click in open space ends the wire where it stands.
    editor.Mode = kModeWiring;
    click(600, 600);
    click(700, 600);
    editor.DoubleClick();
    editor.Press(kLeftButton, 0, 700, 600);
    EXPECT_FALSE(editor.Dragging);
    EXPECT_EQ(editor.Mode, kModeWiring);
}

TEST_F(WiringTest, CrosshairFollowsTheGrid)
{
    editor.Mode = kModeWiring;
    editor.WireTool.MoveCrosshair(47, 12);
    ASSERT_TRUE(editor.WireTool.Crosshair.has_value());
    EXPECT_EQ(editor.WireTool.Crosshair->Position, QPoint(40, 20));
    EXPECT_TRUE(editor.WireTool.Crosshair->Shown);
}

} // namespace
