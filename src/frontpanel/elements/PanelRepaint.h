#pragma once
// Repaints that a simulation step asks for are gathered and handed to the widgets at most
// every 50 ms, so that displays changing in every step cost one paint per tick, not one per
// event run of the fast loop.

#include <QRect>

#include <cstdint>

class QWidget;

// The part r of w is repainted at the next 50-ms tick (at once when no tick is due yet, the
// first request starts the tick).
void RequestRepaint(QWidget& w, const QRect& r);
// The whole widget.
void RequestRepaint(QWidget& w);

// An element whose value may change in every step works out at the tick what to repaint: the
// step only marks it (once per tick), and RepaintChanged compares what it shows now with what
// it asked to paint last and updates the changed part.
class TTickRepaint {
public:
    virtual ~TTickRepaint() = default;
    virtual void RepaintChanged() = 0;

private:
    friend void RequestRepaintChanged(QWidget& w, TTickRepaint& element);
    friend class TRepaintQueue;
    bool m_due = false;  // marked for the next tick
};

// element's RepaintChanged runs at the next 50-ms tick (not for a hidden widget: it paints
// everything when it is shown). w is the element's widget.
void RequestRepaintChanged(QWidget& w, TTickRepaint& element);

class QFont;
class QImage;
class QChar;

// The picture of one character as TCanvas::TextOut draws it in font and colour, its cell's
// top-left corner at (0, 0), on a transparent ground. Kept for reuse: displays draw their
// digits from it instead of laying out text at every paint.
const QImage& CharacterPicture(const QFont& font, int32_t colour, QChar c);
