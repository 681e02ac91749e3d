// The main window's keys held down, the hint box over the board, the mouse beside the drawn
// board, windows brought back onto a (fake) screen area, and the timer that restores the web
// link.

#include "mainwindow/MainWindowTestSupport.h"

#include "core/board/Makro.h"
#include "core/editing/BoardEditor.h"
#include "core/model/ClassRegistry.h"
#include "frontpanel/FrontPanel.h"
#include "frontpanel/web/WebLink.h"
#include "shell/mainwindow/ProjectFiles.h"
#include "shell/mainwindow/SimulationControl.h"

#include <QApplication>
#include <QTabBar>
#include <QWindow>

#include <set>

// The window system's way into the shortcuts (exported by Qt GUI, used by Qt's own test
// library): the key goes through the shortcut map as a key from the keyboard would.
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject* o, ulong timestamp, int k,
                                               Qt::KeyboardModifiers mods,
                                               const QString& text = QString(),
                                               bool autorep = false, ushort count = 1);

namespace {

class MainWindowScreenTest : public MainWindowFixture {
protected:
    TForm1& Shown()
    {
        panel = std::make_unique<TFrontplatte>();
        TForm1& f = Make();
        f.resize(900, 700);
        f.show();
        QApplication::processEvents();
        QApplication::setActiveWindow(&f);  // the front panel shows at the first show, too
        QApplication::processEvents();
        return f;
    }
    std::unique_ptr<TFrontplatte> panel;
};

TEST_F(MainWindowScreenTest, AHeldCtrlShortcutActsOnceUntilTheKeyIsPressedAgain)
{
    TForm1& f = Shown();
    ASSERT_EQ(QApplication::activeWindow(), &f);
    // Three tabs: the main circuit and two macro boards, stepped by Ctrl+Tab.
    for (int i = 0; i < 2; ++i) {
        std::unique_ptr<TBauteil> item = ClassRegistry().CreateBoardItem(QStringLiteral("TMakro"));
        auto* macro = static_cast<TMakro*>(item.release());
        f.MainBoard->CreateInnerBoard(*macro);
        f.MainBoard->AddComponent(std::unique_ptr<TIOBauteil>(macro));
        f.OpenMacroWindow(macro);
    }
    f.ShowBoardTab(0);
    auto key = [&f](bool repeat) {
        qt_sendShortcutOverrideEvent(f.windowHandle(), 0, Qt::Key_Tab, Qt::ControlModifier,
                                     QString(), repeat);
    };
    key(false);
    EXPECT_EQ(f.TabSet->currentIndex(), 1);
    key(true);  // the key is held: the window system repeats it
    key(true);
    EXPECT_EQ(f.TabSet->currentIndex(), 1);
    key(false);  // pressed again
    EXPECT_EQ(f.TabSet->currentIndex(), 2);
}

TEST_F(MainWindowScreenTest, TheBoardHintStandsAboveTheCursorAndInsideTheWindow)
{
    TForm1& f = Shown();
    f.ShowBoardHint(QStringLiteral("UND 1\rEingänge: 2"), QPoint(100, 300));
    ASSERT_TRUE(f.HintBox->isVisible());
    const int w = f.HintBox->width();
    const int h = f.HintBox->height();
    struct Case {
        int cursorX;
        int boxX;
    } const cases[] = {
        {100, 100},
        {f.width() - 10 - w, f.width() - 10 - w},  // just fits
        {f.width() - 5, f.width() - 10 - w},       // shifted left to end 10 pixels before the edge
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cursorX);
        f.ShowBoardHint(QStringLiteral("UND 1\rEingänge: 2"), QPoint(c.cursorX, 300));
        EXPECT_EQ(f.HintBox->pos(), QPoint(c.boxX, 300 - h - 5));
    }
    f.ShowBoardHint(QString(), QPoint(100, 300));
    EXPECT_FALSE(f.HintBox->isVisible());
}

TEST_F(MainWindowScreenTest, BesideTheDrawnBoardTheMouseZoomsInEveryMode)
{
    TForm1& f = Shown();
    TBoardEditor& e = f.EditorOf(f.MainBoard);
    std::unique_ptr<TBauteil> item = ClassRegistry().CreateBoardItem(QStringLiteral("TBTAnd"));
    auto* gate = f.MainBoard->AddComponent(
        std::unique_ptr<TIOBauteil>(static_cast<TIOBauteil*>(item.release())));
    for (const uint8_t mode : {kModeSelect, kModeWiring, kModeZoom, kModeText}) {
        SCOPED_TRACE(int(mode));
        e.Mode = mode;
        f.MainBoard->SelectObject(gate, true);
        e.View.SetZoom(0.7);
        const int outsideX = e.View.ControlWidth() + 10;
        ASSERT_TRUE(e.OutsideBoard(outsideX, 40));
        ASSERT_FALSE(e.OutsideBoard(e.View.ControlWidth() - 10, 40));

        // A click: zoom in by 1.4 about the point; the selection stays, nothing is placed.
        const size_t items = f.MainBoard->Items.size();
        e.Press(kLeftButton, 0, outsideX, 40);
        e.Release(kLeftButton, 0, outsideX, 40);
        EXPECT_NEAR(e.View.Zoom, 0.98, 1e-9);
        EXPECT_TRUE(gate->Selected);
        EXPECT_EQ(f.MainBoard->Items.size(), items);
        EXPECT_EQ(e.Mode, mode);

        // A right press zooms out by 1.4.
        e.View.SetZoom(0.7);
        e.Press(kRightButton, 0, outsideX, 40);
        EXPECT_NEAR(e.View.Zoom, 0.5, 1e-9);
        EXPECT_EQ(e.Mode, mode);
    }
    // A frame dragged from beside the board fits its rectangle into the view.
    e.Mode = kModeSelect;
    e.View.SetZoom(0.7);
    const int x = e.View.ControlWidth() + 10;
    e.Press(kLeftButton, 0, x, 40);
    e.Move(0, x - 200, 240, QPoint(0, 0));
    e.Release(kLeftButton, 0, x - 200, 240);
    EXPECT_NEAR(e.View.Zoom, std::min(double(e.View.ViewWidth), double(e.View.ViewHeight)) / 200.0 * 0.7,
                0.05);
    EXPECT_FALSE(e.ZoomTool.Selector.has_value());
}

TEST_F(MainWindowScreenTest, WindowsOffTheScreenComeBack)
{
    TForm1& f = Shown();
    const QRect area(0, 0, 800, 800);
    // Windows beyond the right or lower edge, or wholly left of the area, and one inside.
    std::vector<std::unique_ptr<QWidget>> windows;
    for (const QPoint at : {QPoint(900, 100), QPoint(100, 850), QPoint(-700, 100), QPoint(300, 300)}) {
        windows.push_back(std::make_unique<QWidget>(nullptr, Qt::Window));
        windows.back()->setGeometry(QRect(at, QSize(200, 150)));
    }
    f.BringFormsOnScreen(area);
    std::set<int> places;
    for (size_t k = 0; k < 3; ++k) {
        const QPoint p = windows[k]->pos();
        EXPECT_EQ(p.x(), p.y());
        EXPECT_EQ((p.x() - 50) % 20, 0);
        EXPECT_TRUE(area.contains(windows[k]->frameGeometry()));
        places.insert(p.x());
    }
    EXPECT_EQ(places.size(), 3u) << "each window gets a place of its own";
    EXPECT_EQ(windows[3]->pos(), QPoint(300, 300));

    // The front panel is moved, not resized, to lie within the area, at the edge it crossed.
    struct Case {
        QPoint at;
        Qt::Edge crossed;  // Qt::Edge(0): inside already
    } const cases[] = {
        {QPoint(-30, 100), Qt::LeftEdge},   {QPoint(100, -20), Qt::TopEdge},
        {QPoint(700, 100), Qt::RightEdge},  {QPoint(100, 650), Qt::BottomEdge},
        {QPoint(100, 100), Qt::Edge(0)},
    };
    panel->resize(400, 300);
    const QSize size = panel->frameGeometry().size();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.at.x() * 1000 + c.at.y());
        panel->move(c.at);
        f.KeepFrontPanelOnScreen(area);
        const QRect r = panel->frameGeometry();
        EXPECT_EQ(r.size(), size);
        EXPECT_TRUE(area.contains(r));
        switch (c.crossed) {
        case Qt::LeftEdge: EXPECT_EQ(r.topLeft(), QPoint(0, 100)); break;
        case Qt::TopEdge: EXPECT_EQ(r.topLeft(), QPoint(100, 0)); break;
        case Qt::RightEdge: EXPECT_EQ(r.topLeft(), QPoint(800 - size.width(), 100)); break;
        case Qt::BottomEdge: EXPECT_EQ(r.topLeft(), QPoint(100, 800 - size.height())); break;
        default: EXPECT_EQ(r.topLeft(), c.at); break;
        }
    }
}

TEST_F(MainWindowScreenTest, TheTimerStartsADroppedWebLinkOnlyWhenThePanelPublishes)
{
    TForm1& f = Shown();
    ASSERT_EQ(Frontplatte(), panel.get());
    int launched = 0;
    WebLinkConfig().Port = 1;  // nothing listens there
    WebLinkConfig().Launch = [&](const QString&, const QStringList&) {
        ++launched;
        return false;
    };
    struct Case {
        int32_t mode;
        int32_t misses;
        bool linked;
    } const cases[] = {
        {0, 25, false},  // never published
        {1, 25, false},  // only at run time, and no run
        {2, 25, true},
        {2, 0, false},   // the server used up its allowance of wrong tokens
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode * 100 + c.misses);
        panel->StopWebServer();
        panel->PublishMode = c.mode;
        panel->TokenMisses = c.misses;
        f.Timer10SecTimer();
        EXPECT_EQ(panel->WebLink() != nullptr, c.linked);
    }
    // A link that is there is left to reconnect by itself.
    TWebLink* link = panel->WebLink();
    f.Timer10SecTimer();
    EXPECT_EQ(panel->WebLink(), link);
    panel->StopWebServer();
    ResetWebLinkConfig();
}

} // namespace
