// The front-panel window's input: the keys it sees before the focused element (run-mode
// hotkeys, function keys, nudging in edit mode) and the pointer over the tool strip and
// status bar, which opens and closes them.

#include "frontpanel/FrontPanel.h"

#include "frontpanel/Design.h"
#include "platform/Context.h"
#include "platform/Help.h"
#include "ui/Hotkey.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QToolButton>

// --- Keys -----------------------------------------------------------------------------------------

void TFrontplatte::FormKeyDown(uint16_t key, uint8_t shift)
{
    if (key == 27 && StopHook)
        StopHook();
    if (key == 120 && StartHook)
        StartHook();
    if (RunMode) {
        const auto shown = [](const QToolButton* b) { return !b->isHidden(); };
        switch (key) {
        case 112: if (shown(HelpBtn)) HelpBtnClick(); break;
        case 113: if (shown(SaveBtn)) SaveBtnClick(); break;
        case 114: if (shown(OpenBtn)) OpenBtnClick(); break;
        case 115: if (shown(CopyBtn)) CopyBtnClick(); break;
        case 116: if (shown(PrintBtn)) PrintBtnClick(); break;
        case 117:
            if (shown(HWBtn) && HardwareHook)
                HardwareHook();
            break;
        case 118: if (shown(DlgBtn)) SetupBtnClick(); break;
        case 119: HintBtn->setChecked(!HintBtn->isChecked()); break;
        default: break;
        }
        RootDesign->HotkeyDown(key, shift);
        if (HotkeyReceiversDown)
            HotkeyReceiversDown(key, shift);
        return;
    }
    int32_t& grid = FPState().FPGrid;
    const int32_t saved = grid;
    if (shift & hsCtrl)
        grid = 1;
    switch (key) {
    case 37: SB_CursorClick(1); break;
    case 38: SB_CursorClick(2); break;
    case 39: SB_CursorClick(4); break;
    case 40: SB_CursorClick(3); break;
    case 112: OpenHelpTopic(5000); break;  // the front panel's page
    default: break;
    }
    grid = saved;
}

void TFrontplatte::FormKeyUp(uint16_t key, uint8_t shift)
{
    if (!RunMode)
        return;
    RootDesign->HotkeyUp(key, shift);
    if (HotkeyReceiversUp)
        HotkeyReceiversUp(key);
}

bool TFrontplatte::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ToolTip
        && type != QEvent::Enter && type != QEvent::MouseMove)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != this)
        return false;
    if (type == QEvent::ToolTip)
        return !ShowHints;
    if (type == QEvent::Enter || type == QEvent::MouseMove) {
        if (widget == NewToolPanel || NewToolPanel->isAncestorOf(widget))
            ToolStripPointerEntered();
        else if (widget == Statusbar || Statusbar->isAncestorOf(widget))
            StatusbarPointerMoved();
        return false;
    }
    // A key event travels from the focus widget up to the window; take it once, at its first
    // receiver.
    QWidget* first = QApplication::focusWidget();
    if (!first || first->window() != this)
        first = this;
    if (widget != first)
        return false;
    auto* keyEvent = static_cast<QKeyEvent*>(event);
    const uint16_t key = VirtualKeyFromKeyEvent(*keyEvent);
    if (key == 0)
        return false;
    const uint8_t shift = ShiftStateByte(keyEvent->modifiers(), QApplication::mouseButtons());
    if (type == QEvent::KeyPress) {
        FormKeyDown(key, shift);
    } else {
        if (keyEvent->isAutoRepeat())
            return false;
        FormKeyUp(key, shift);
    }
    const bool arrow = key >= 37 && key <= 40;
    const bool functionKey = key == 27 || (key >= 112 && key <= 120);
    return functionKey || (arrow && !RunMode);
}

// --- Tool strip -----------------------------------------------------------------------------------

void TFrontplatte::SetToolStripHeight(int height)
{
    NewToolPanel->setFixedHeight(height);
}

void TFrontplatte::SetStatusbarHeight(int height)
{
    Statusbar->setFixedHeight(height);
}

void TFrontplatte::Timer1Timer()
{
    if (ToolbarMode != 0) {
        const QPoint p = mapFromGlobal(QCursor::pos());
        const QRect strip = NewToolPanel->geometry().adjusted(0, -5, 0, 0);
        if (!strip.contains(p))
            SetToolStripHeight(2);
        const QRect bar = Statusbar->geometry().adjusted(0, -5, 0, 0);
        SetStatusbarHeight(bar.contains(p) ? 24 : 2);
        return;
    }
    SetToolStripHeight(25);
    if (EditLayout())
        SetStatusbarHeight(24);
}

void TFrontplatte::ToolStripPointerEntered()
{
    if (ToolbarMode == 2 && (RunMode || Ctx().RuntimeMode))
        return;
    SetToolStripHeight(25);
}

void TFrontplatte::StatusbarPointerMoved()
{
    SetStatusbarHeight(24);
}
