// Copy, cut, paste and duplicate through the shared clipboard stream, placing pasted items,
// and the picture of the selection.
#include "core/BoardTestSupport.h"
#include "core/editing/BoardEditor.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

namespace {

class ClipboardTest : public BoardFixture {
protected:
    void SetUp() override
    {
        BoardFixture::SetUp();
        for (TBoardEditor* e : {&sourceEditor, &targetEditor}) {
            e->View.SetZoom(15.875);  // one pixel per board unit
            e->View.ViewWidth = 400;
            e->View.ViewHeight = 300;
            e->Board.ClipboardStream = &clip;
        }
    }

    // A gate with a wire to its first input, everything selected.
    TTestAnd* BuildCircuit(TPlatine& b)
    {
        TTestAnd* gate = Add<TTestAnd>(b);
        b.SelectAll(false);
        b.AddWire(QPoint(100, 340), QPoint(260, 340));
        b.SelectAll(true);
        return gate;
    }

    // Drags the items being placed by (dx, dy) board units and drops them.
    static void Place(TBoardEditor& e, int dx, int dy)
    {
        e.SelectTool.DragSelection(e.DragAnchor.x() + dx, e.DragAnchor.y() + dy);
        e.SelectTool.EndDrag(kLeftButton);
    }

    static std::vector<TSegment*> Wires(const TPlatine& b)
    {
        std::vector<TSegment*> out;
        for (TSegment* s : ItemsOf<TSegment>(b)) {
            if (!s->Owner)
                out.push_back(s);
        }
        return out;
    }

    QBuffer clip;
    TPlatine source;
    TPlatine target;
    TBoardEditor sourceEditor{source};
    TBoardEditor targetEditor{target};
};

TEST_F(ClipboardTest, CopyAndPasteIntoAnotherBoard)
{
    BuildCircuit(source);
    int aktTools = 0;
    source.OnAktTools = [&](TPlatine*) { ++aktTools; };
    EXPECT_FALSE(target.CanPaste());
    source.CopySelection();
    EXPECT_EQ(aktTools, 1);
    EXPECT_TRUE(target.CanPaste());

    // The stream holds the selection without pin segments and without print settings.
    EXPECT_EQ(clip.data(), WriteBoard(source, false, true));
    {
        QBuffer copy;
        copy.setData(clip.data());
        copy.open(QIODevice::ReadOnly);
        TReader reader(copy);
        EXPECT_EQ(reader.ReadInteger(), 2);  // the gate and the wire
    }

    targetEditor.PlacingTool.PasteFromStream(clip, 44);
    EXPECT_EQ(targetEditor.Mode, kModePlacing);
    EXPECT_TRUE(targetEditor.Dragging);
    EXPECT_EQ(targetEditor.View.Cursor, kCursorHand);
    EXPECT_EQ(clip.pos(), 0);
    auto gates = ItemsOf<TTestAnd>(target);
    ASSERT_EQ(gates.size(), 1u);
    TTestAnd* pasted = gates[0];
    EXPECT_TRUE(pasted->Selected);
    EXPECT_EQ(QPoint(pasted->X, pasted->Y), QPoint(300, 300));  // where it was copied
    EXPECT_EQ(PinSegments(target).size(), 3u);

    Place(targetEditor, 200, 100);
    EXPECT_EQ(targetEditor.Mode, kModeSelect);
    EXPECT_FALSE(targetEditor.Dragging);
    EXPECT_EQ(targetEditor.View.Cursor, kCursorDefault);
    EXPECT_EQ(QPoint(pasted->X, pasted->Y), QPoint(500, 400));
    auto wires = Wires(target);
    ASSERT_EQ(wires.size(), 1u);
    EXPECT_EQ(QPoint(wires[0]->X1, wires[0]->Y1), QPoint(300, 440));
    EXPECT_EQ(QPoint(wires[0]->X2, wires[0]->Y2), QPoint(460, 440));
    EXPECT_TRUE(pasted->Inputs[0]->Connected);
    // The source is untouched.
    EXPECT_EQ(ItemsOf<TTestAnd>(source)[0]->X, 300);
}

TEST_F(ClipboardTest, PastingTwiceGivesIndependentNumberedCopies)
{
    TTestAnd* original = BuildCircuit(source);
    source.CopySelection();
    sourceEditor.PlacingTool.PasteFromStream(clip, 44);
    EXPECT_FALSE(original->Selected);  // the board's own items are deselected
    Place(sourceEditor, 400, 0);
    sourceEditor.PlacingTool.PasteFromStream(clip, 44);
    Place(sourceEditor, 0, 400);

    auto gates = ItemsOf<TTestAnd>(source);
    ASSERT_EQ(gates.size(), 3u);
    EXPECT_EQ(gates[0]->Number, 1);
    EXPECT_EQ(gates[1]->Number, 2);
    EXPECT_EQ(gates[2]->Number, 3);
    EXPECT_EQ(QPoint(gates[1]->X, gates[1]->Y), QPoint(700, 300));
    EXPECT_EQ(QPoint(gates[2]->X, gates[2]->Y), QPoint(300, 700));
    EXPECT_EQ(Wires(source).size(), 3u);
    for (TTestAnd* g : gates)
        EXPECT_TRUE(g->Inputs[0]->Connected);
}

TEST_F(ClipboardTest, NothingIsPastedFromAnEmptyClipboardOrWhilePlacing)
{
    targetEditor.PlacingTool.PasteFromStream(clip, 44);
    EXPECT_EQ(targetEditor.Mode, kModeSelect);
    EXPECT_TRUE(target.Items.empty());

    BuildCircuit(source);
    source.CopySelection();
    targetEditor.PlacingTool.PasteFromStream(clip, 44);
    const size_t afterFirst = target.Items.size();
    targetEditor.PlacingTool.PasteFromStream(clip, 44);
    EXPECT_EQ(target.Items.size(), afterFirst);
}

TEST_F(ClipboardTest, RightClickWhilePlacingRemovesTheGroup)
{
    BuildCircuit(source);
    source.CopySelection();
    TTestLed* kept = Add<TTestLed>(target);
    targetEditor.PlacingTool.PasteFromStream(clip, 44);
    const QPoint anchor = targetEditor.DragAnchor;
    targetEditor.SelectTool.DragSelection(anchor.x() + 200, anchor.y());
    targetEditor.SelectTool.EndDrag(kRightButton);
    EXPECT_EQ(targetEditor.Mode, kModeSelect);
    EXPECT_FALSE(targetEditor.Dragging);
    ASSERT_EQ(target.Items.size(), 2u);  // the LED and its pin segment
    EXPECT_EQ(target.Items[0].get(), kept);
}

TEST_F(ClipboardTest, CutAndDuplicate)
{
    BuildCircuit(source);
    source.CutSelection();
    EXPECT_TRUE(source.Items.empty());
    targetEditor.PlacingTool.PasteFromStream(clip, 44);
    Place(targetEditor, 0, 0);
    EXPECT_EQ(ItemsOf<TTestAnd>(target).size(), 1u);

    target.SelectAll(true);
    targetEditor.PlacingTool.DuplicateSelection(44);
    EXPECT_EQ(targetEditor.Mode, kModePlacing);
    Place(targetEditor, 0, 200);
    auto gates = ItemsOf<TTestAnd>(target);
    ASSERT_EQ(gates.size(), 2u);
    EXPECT_EQ(gates[1]->Y, gates[0]->Y + 200);
}

TEST_F(ClipboardTest, PictureOfTheSelection)
{
    BuildCircuit(source);
    const TRect bounds = source.GetItemsBounds(true);

    // One board unit is 0.2 mm.
    const QByteArray svg = source.SelectionToSvg();
    ASSERT_TRUE(svg.contains("<svg"));
    const QString width = QStringLiteral("width=\"%1mm\"").arg(bounds.Width() * 0.2);
    EXPECT_TRUE(svg.contains(width.toUtf8())) << svg.left(400).constData();

    // Drawn without the selection colour although everything is selected.
    const QImage image = source.SelectionToImage(sourceEditor.View.Zoom);
    ASSERT_EQ(image.size(), QSize(bounds.Width(), bounds.Height()));
    bool red = false;
    bool black = false;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            red = red || (c.red() > 200 && c.green() < 60 && c.blue() < 60);
            black = black || (c.red() < 40 && c.green() < 40 && c.blue() < 40);
        }
    }
    EXPECT_FALSE(red);
    EXPECT_TRUE(black);
    EXPECT_TRUE(source.Items.front()->Selected);

    source.CopySelection();
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(mime, nullptr);
    EXPECT_TRUE(mime->hasFormat(QStringLiteral("image/svg+xml")));
    EXPECT_TRUE(mime->hasImage());
}

} // namespace
