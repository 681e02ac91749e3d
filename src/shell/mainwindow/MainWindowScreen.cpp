// The main window's hint box over the board, the pin under the mouse during a run, windows
// brought back onto the screen, and the timer that restores a dropped web link.

#include "shell/mainwindow/MainWindow.h"

#include "core/board/Platine.h"
#include "core/board/Segment.h"
#include "core/editing/BoardEditor.h"
#include "frontpanel/FrontPanel.h"
#include "platform/Canvas.h"
#include "platform/Context.h"
#include "platform/ScreenFit.h"
#include "shell/boardview/BoardView.h"
#include "shell/mainwindow/SimulationControl.h"

#include <QApplication>
#include <QTimer>

void TForm1::ShowBoardHint(const QString& text, QPoint cursor)
{
    HintBox->ShowNear(text, cursor);
    update();
}

void TForm1::HoverOverBoard(QPoint screenPoint, QPoint devicePoint)
{
    TBauteilPin* pin = nullptr;
    if (CurrentBoard) {
        TCanvas canvas;
        EditorOf(CurrentBoard).View.SetMapping(canvas);
        for (TBauteil* item : CurrentBoard->ItemsAt(screenPoint, canvas, false))
            if (auto* segment = dynamic_cast<TSegment*>(item)) {
                if (TBauteilPin* carried = segment->Driver ? segment->Driver : segment->Pin())
                    pin = carried;  // the last one found wins
            }
    }
    Simulation->HoverPin = pin;
    if (pin)
        HintBox->move(PlatineScrollbox->viewport()->mapTo(this, devicePoint) + QPoint(22, -6));
}

void TForm1::ShowPinHint(const QString& text)
{
    if (text.isEmpty()) {
        HintBox->hide();
        return;
    }
    HintBox->ShowText(text);
    HintBox->show();
    HintBox->raise();
}

void TForm1::BringFormsOnScreen(const QRect& area)
{
    int place = 50;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        const Qt::WindowType type = window->windowType();
        if (type != Qt::Window && type != Qt::Dialog && type != Qt::Tool)
            continue;
        // A compiled program keeps its main window off the screen on purpose.
        if (window == this && Ctx().RuntimeMode)
            continue;
        const QRect r = window->frameGeometry();
        const bool off = r.left() > area.right() || r.top() > area.bottom()
                         || r.right() < area.left() || r.bottom() < area.top();
        if (!off)
            continue;
        window->move(area.topLeft() + QPoint(place, place));
        place += 20;
    }
}

void TForm1::KeepFrontPanelOnScreen(const QRect& area)
{
    TFrontplatte* panel = Frontplatte();
    if (!panel || panel->isMaximized())
        return;
    const QRect frame = panel->frameGeometry();
    const QPoint fitted = FitToScreen(frame, area).topLeft();
    if (fitted != frame.topLeft())
        panel->move(fitted);
}

void TForm1::KeepWindowsOnScreen()
{
    const QRect area = AvailableScreenArea();
    KeepFrontPanelOnScreen(area);
    BringFormsOnScreen(area);
}

void TForm1::StartWebLink()
{
    if (TFrontplatte* panel = Frontplatte())
        panel->StartWebServer();
}

void TForm1::StopWebLink()
{
    if (TFrontplatte* panel = Frontplatte())
        panel->StopWebServer();
}

void TForm1::Timer10SecTimer()
{
    const TFrontplatte* panel = Frontplatte();
    // A link that exists reconnects by itself; one that was dropped is started again unless the
    // server has used up its allowance of wrong page tokens.
    if (!panel || panel->WebLink() || panel->PublishMode == 0)
        return;
    if (panel->PublishMode == 1 && !Simulation->Running())
        return;
    if (panel->TokenMisses > 0)
        StartWebLink();
}
