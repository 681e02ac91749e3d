// Board print: the size slider's scale, the page factor and the centring of the items.

#include "components/digital/Gates.h"
#include "core/board/Platine.h"
#include "core/model/ClassRegistry.h"
#include "platform/Canvas.h"
#include "shell/tools/BoardPrint.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

TEST(BoardPrint, SliderPositionGivesScale)
{
    const struct {
        int position;
        double scale;
    } cases[] = {{100, 1.0}, {0, 10.0}, {200, 0.1}, {150, 0.316227766}};
    for (const auto& c : cases)
        EXPECT_NEAR(PrintScaleOf(c.position), c.scale, 1e-6) << c.position;
}

TEST(BoardPrint, PageFactorIsTheSmallerRatioTimesTheScale)
{
    TPlatine board;
    board.BoardWidth = 2540;   // 160 pixels at zoom 1
    board.BoardHeight = 1270;  // 80 pixels
    // Twice as wide and three times as high as the board: the width decides.
    EXPECT_DOUBLE_EQ(PrintZoom(QSize(320, 240), board, 0.5), 2.0 * 0.5);
    EXPECT_DOUBLE_EQ(PrintZoom(QSize(640, 160), board, 1.0), 2.0);
}

// With "Seitenmitte" the items' bounds sit in the middle of the page, whatever the offsets
// were; the offsets found are kept with the board.
TEST(BoardPrint, CentredItemsSitInTheMiddleOfThePage)
{
    TPlatine board;
    board.BoardWidth = 20000;
    board.BoardHeight = 20000;
    std::unique_ptr<TBTAnd> gate = NewObject<TBTAnd>();
    gate->MoveBy(5000, 7000);
    board.AddComponent(std::move(gate));
    board.PrintSettings.Centered = true;
    board.PrintSettings.Scale = 4.0;
    board.PrintSettings.Offset = QPoint(-9999, 1234);

    QImage page(800, 600, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    RenderBoardPrint(board, painter, page.size(), true);
    painter.end();

    const TRect r = board.GetItemsBounds(false);
    TCanvas mapping;
    mapping.SetMapping(PrintZoom(page.size(), board, 4.0), -board.PrintSettings.Offset);
    const QPoint centre = mapping.LPtoDP(QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
    EXPECT_NEAR(centre.x(), 400, 2);
    EXPECT_NEAR(centre.y(), 300, 2);
    // Something of the gate was painted there.
    int dark = 0;
    for (int y = 250; y < 350; ++y)
        for (int x = 350; x < 450; ++x)
            dark += qGray(page.pixel(x, y)) < 128;
    EXPECT_GT(dark, 0);
}
