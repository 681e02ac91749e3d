// Wire segments: direction, inner points, bounds, pin-segment hits, links and the record.
#include "core/BoardTestSupport.h"
#include "platform/Canvas.h"

#include <QImage>
#include <QPainter>
#include <array>

namespace {

class SegmentTest : public BoardFixture {};

TEST_F(SegmentTest, GeometryRules)
{
    struct Case {
        int x1, y1, x2, y2;
        int nx1, ny1, nx2, ny2;  // after Normalize
        bool vertical;
    };
    const Case cases[] = {
        {100, 0, 0, 0, 0, 0, 100, 0, false},    // right-to-left is turned round
        {0, 0, 100, 0, 0, 0, 100, 0, false},
        {5, 90, 5, 10, 5, 10, 5, 90, true},     // bottom-to-top is turned round
        {5, 5, 5, 5, 5, 5, 5, 5, true},         // zero length counts as vertical
        {10, 10, 0, 0, 10, 10, 0, 0, false},    // diagonal: left as it is
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x1 << "," << c.y1 << " " << c.x2 << "," << c.y2);
        TSegment s;
        s.X1 = c.x1;
        s.Y1 = c.y1;
        s.X2 = c.x2;
        s.Y2 = c.y2;
        s.Normalize();
        EXPECT_EQ((std::array<int, 4>{s.X1, s.Y1, s.X2, s.Y2}),
                  (std::array<int, 4>{c.nx1, c.ny1, c.nx2, c.ny2}));
        EXPECT_EQ(s.IsVertical(), c.vertical);
    }

    TSegment h;
    h.X1 = 0, h.Y1 = 0, h.X2 = 100, h.Y2 = 0;
    EXPECT_TRUE(h.ContainsInnerPoint(50, 0));
    EXPECT_FALSE(h.ContainsInnerPoint(0, 0));    // end points are excluded
    EXPECT_FALSE(h.ContainsInnerPoint(100, 0));
    EXPECT_FALSE(h.ContainsInnerPoint(50, 1));
    EXPECT_EQ(h.GetBounds(), (TRect{-8, -8, 108, 8}));
    h.MoveBy(10, -5);
    EXPECT_EQ(h.GetBounds(), (TRect{2, -13, 118, 3}));
}

TEST_F(SegmentTest, OnlyPinSegmentsAnswerEndAndAttachHits)
{
    TPlatine board;
    TTestAnd* gate = Add<TTestAnd>(board);
    auto* in = static_cast<TSegment*>(gate->Inputs[0]->Segment);
    auto* out = static_cast<TSegment*>(gate->Outputs[0]->Segment);
    TSegment* wire = board.AddSegment(QPoint(0, 0), QPoint(100, 0));

    const QPoint inEnd(in->X1, in->Y1);
    ASSERT_NE(in->HitEndPoint(inEnd + QPoint(10, -10)), nullptr);
    EXPECT_EQ(*in->HitEndPoint(inEnd), inEnd);
    EXPECT_EQ(in->HitEndPoint(inEnd + QPoint(11, 0)), nullptr);
    EXPECT_EQ(wire->HitEndPoint(QPoint(0, 0)), nullptr);

    // The inversion spot is on the body edge of the pin's side.
    EXPECT_NE(in->HitAttachPoint(QPoint(gate->Body.Left, in->Y1)), nullptr);
    EXPECT_EQ(in->HitAttachPoint(QPoint(gate->Body.Right, in->Y1)), nullptr);
    EXPECT_NE(out->HitAttachPoint(QPoint(gate->Body.Right + 10, out->Y2 - 10)), nullptr);
    EXPECT_EQ(wire->HitAttachPoint(QPoint(0, 0)), nullptr);

    // Macro blocks have no inversion spots.
    TMakro* macro = Add<TMakro>(board);
    auto* macroIn = static_cast<TSegment*>(macro->Inputs[0]->Segment);
    EXPECT_EQ(macroIn->HitAttachPoint(QPoint(macro->Body.Left, macroIn->Y1)), nullptr);
}

TEST_F(SegmentTest, DestroyingUnlinksFromNeighbours)
{
    TSegment a;
    TSegment c;
    {
        TSegment b;
        a.EndLinks[1] = &b;
        b.StartLinks[0] = &a;
        b.EndLinks[2] = &c;
        c.StartLinks[2] = &b;
    }
    EXPECT_EQ(a.EndLinks[1], nullptr);
    EXPECT_EQ(c.StartLinks[2], nullptr);
}

TEST_F(SegmentTest, PaintsNothingForPinSegments)
{
    QImage image(40, 40, QImage::Format_RGB32);
    for (bool pinSegment : {false, true}) {
        image.fill(Qt::white);
        QPainter painter(&image);
        TCanvas canvas(&painter);
        canvas.SetIdentityMapping();
        TSegment s;
        s.X1 = 5, s.Y1 = 20, s.X2 = 35, s.Y2 = 20;
        TTestLed owner;
        if (pinSegment)
            s.Owner = &owner;
        s.Paint(canvas);
        painter.end();
        EXPECT_EQ(image.pixelColor(20, 20) == QColor(Qt::white), pinSegment);
    }
}

} // namespace
