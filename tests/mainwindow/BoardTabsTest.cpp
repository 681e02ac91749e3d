// Board tabs of the main window: each tab has its own editor (zoom, scroll position, mode),
// the board view shows the editor of the current tab, and the mode buttons and the grid
// option reach every tab.
#include "MainWindowTestSupport.h"
#include "core/editing/BoardEditor.h"
#include "shell/boardview/BoardView.h"

#include <QApplication>
#include <QScrollBar>
#include <QTabBar>
#include <QToolButton>

namespace {

class BoardTabsTest : public MainWindowFixture {
protected:
    // A second board shown in a tab of its own, as a macro's inner board is.
    void OpenSecondTab(TForm1& f)
    {
        second.TopBoard = f.MainBoard;
        second.OnModeChange = f.MainBoard->OnModeChange;  // what an inner board takes over
        f.OpenBoards.push_back(&second);
        f.TabSet->addTab(QStringLiteral("MCR1"));
    }
    TPlatine second;  // outlives the window, which goes in TearDown
};

TEST_F(BoardTabsTest, EachTabKeepsItsOwnZoomAndScrollPosition)
{
    TForm1& f = Make();
    f.resize(900, 700);
    f.show();
    QApplication::processEvents();
    OpenSecondTab(f);

    TBoardEditor& main = f.EditorOf(f.MainBoard);
    main.View.SetZoom(10.0);
    main.View.ViewOffsetX = 700;
    main.View.ViewOffsetY = 500;
    f.PlatineScrollbox->SyncScrollBars();

    f.ShowBoardTab(1);
    TBoardEditor& inner = f.EditorOf(&second);
    EXPECT_EQ(f.PlatineScrollbox->Editor(), &inner);
    EXPECT_EQ(f.CurrentBoard, &second);
    EXPECT_DOUBLE_EQ(inner.View.Zoom, 5.0);
    EXPECT_EQ(f.PlatineScrollbox->horizontalScrollBar()->value(), 0);
    f.PlatineScrollbox->horizontalScrollBar()->setValue(300);
    EXPECT_EQ(inner.View.ViewOffsetX, 300);

    f.ShowBoardTab(0);
    EXPECT_EQ(f.PlatineScrollbox->Editor(), &main);
    EXPECT_DOUBLE_EQ(main.View.Zoom, 10.0);
    EXPECT_EQ(QPoint(main.View.ViewOffsetX, main.View.ViewOffsetY), QPoint(700, 500));
    EXPECT_EQ(f.PlatineScrollbox->horizontalScrollBar()->value(), 700);
    EXPECT_EQ(inner.View.ViewOffsetX, 300);
}

TEST_F(BoardTabsTest, ModeButtonsAndGridReachEveryTab)
{
    TForm1& f = Make();
    OpenSecondTab(f);

    f.SpeedBtnClick(f.LineBtn);
    for (TPlatine* board : {f.MainBoard, &second}) {
        EXPECT_EQ(f.EditorOf(board).Mode, kModeWiring);
        EXPECT_EQ(f.EditorOf(board).View.Cursor, kCursorNone);
    }
    // A board that leaves wiring by itself takes the buttons, and so every tab, along.
    f.EditorOf(&second).ChangeMode(kModeSelect);
    EXPECT_TRUE(f.StandardBtn->isChecked());
    EXPECT_EQ(f.EditorOf(f.MainBoard).Mode, kModeSelect);

    f.SB_Raster->click();
    EXPECT_TRUE(f.EditorOf(f.MainBoard).View.GridVisible);
    EXPECT_TRUE(f.EditorOf(&second).View.GridVisible);
}

} // namespace
