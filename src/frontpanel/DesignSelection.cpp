// Selection frames on a page: selecting and deselecting, hit tests, moving the selection
// within the page, aligning on the grid, the page's own mouse handling (rubber band, hover
// hint) and the grid it paints in edit mode.

#include "frontpanel/Design.h"

#include "frontpanel/FrontPanel.h"
#include "frontpanel/Sizer.h"
#include "platform/Canvas.h"
#include "platform/Context.h"

#include <QCursor>
#include <QMouseEvent>

#include <algorithm>

namespace {

bool Within(const QRect& r, QPoint p)
{
    // Edges count as inside: Left <= X <= Left + Width, likewise Y.
    return p.x() >= r.x() && p.x() <= r.x() + r.width() && p.y() >= r.y()
           && p.y() <= r.y() + r.height();
}

// The rubber band's rectangle with its corners in order (both corners included).
QRect BandRect(const QRect& dragged)
{
    return QRect(QPoint(std::min(dragged.left(), dragged.right()), std::min(dragged.top(), dragged.bottom())),
                 QPoint(std::max(dragged.left(), dragged.right()), std::max(dragged.top(), dragged.bottom())));
}

void ShowElementOnPage(TFP_Element* e)
{
    const auto* nested = dynamic_cast<const TDesign*>(e);
    e->setVisible(!nested || nested->GetisVisible());
}

TFrontplatte* WindowOf(const QWidget* w)
{
    for (const QWidget* p = w; p; p = p->parentWidget())
        if (auto* window = dynamic_cast<TFrontplatte*>(const_cast<QWidget*>(p)))
            return window;
    return nullptr;
}

void MarkModified()
{
    if (FPState().SetProjectModified)
        FPState().SetProjectModified(true);
}

} // namespace

// --- Selecting ----------------------------------------------------------------------------------

TSizer* TDesign::SizerOf(const TFP_Element* element) const
{
    if (!element)
        return nullptr;
    for (TSizer* sizer : Sizers)
        if (sizer->Element == element)
            return sizer;
    return nullptr;
}

bool TDesign::IsSelected(const TFP_Element* element) const
{
    return SizerOf(element) != nullptr;
}

std::vector<TFP_Element*> TDesign::SelectedElements() const
{
    std::vector<TFP_Element*> selected;
    for (TSizer* sizer : Sizers)
        if (sizer->Element)
            selected.push_back(sizer->Element);
    return selected;
}

void TDesign::UpdateSizeable()
{
    for (TSizer* sizer : Sizers)
        sizer->SetSizeable(Sizers.size() == 1);
    update();
}

void TDesign::SelectElement(int index)
{
    if (index >= 0 && index < static_cast<int>(Elements.size())) {
        TFP_Element* e = Elements[index];
        if (!IsSelected(e) && e->parentWidget() == this && !e->isHidden()) {
            auto* sizer = new TSizer(this);
            Sizers.push_back(sizer);
            sizer->MachTransparent = [this](TSizer*) { RefreshTransparency(this); };
            sizer->OnChange = [this](TSizer* s) { MoveSelection(s); };
            sizer->OnSetMoving = [this](TSizer* s) { BeginMoveSelection(s); };
            sizer->OnResetMoving = [this](TSizer* s) { EndMoveSelection(s); };
            sizer->OnSelectUnderCursor = [this](TSizer* s, TFP_Element* el) {
                return SelectUnderCursor(s, el);
            };
            sizer->OnDeselectElement = [this](TSizer* s, TFP_Element* el) {
                DeselectFromFrame(s, el);
            };
            sizer->Color = HintergrundFarbe;
            sizer->SetSizeable(Sizers.size() == 1);
            sizer->Element = e;
            sizer->setGeometry(e->x() - 6, e->y() - 6, e->width() + 12, e->height() + 12);
            sizer->stackUnder(e);
            e->setParent(sizer);
            e->move(6, 6);
            ShowElementOnPage(e);
            sizer->show();
        }
    }
    UpdateSizeable();
}

void TDesign::ReleaseFrame(size_t i, bool deferred)
{
    TSizer* sizer = Sizers[i];
    Sizers.erase(Sizers.begin() + static_cast<std::ptrdiff_t>(i));
    if (TFP_Element* e = sizer->Element) {
        e->setParent(this);
        e->move(sizer->x() + 6, sizer->y() + 6);
        e->stackUnder(sizer);
        ShowElementOnPage(e);
    }
    sizer->Element = nullptr;
    if (deferred) {
        sizer->hide();
        sizer->deleteLater();
    } else {
        delete sizer;
    }
}

void TDesign::Deselect(int index, bool deferred)
{
    if (index < 0) {
        while (!Sizers.empty())
            ReleaseFrame(0, deferred);
    } else if (index < static_cast<int>(Sizers.size())) {
        ReleaseFrame(static_cast<size_t>(index), deferred);
    }
    UpdateSizeable();
}

void TDesign::DeselectElement(TFP_Element* element, bool deferred)
{
    for (size_t i = 0; i < Sizers.size(); ++i)
        if (Sizers[i]->Element == element) {
            Deselect(static_cast<int>(i), deferred);
            return;
        }
}

int TDesign::ElementAt(QPoint p) const
{
    for (int i = static_cast<int>(Elements.size()) - 1; i >= 0; --i) {
        const TFP_Element* e = Elements[i];
        if (TSizer* sizer = SizerOf(e)) {
            if (Within(sizer->geometry(), p))
                return i;
        } else if (e->parentWidget() == this && Within(e->geometry(), p)) {
            return i;
        }
    }
    return -1;
}

int TDesign::SelectUnderCursor(TSizer* sender, TFP_Element* element)
{
    const int index = ElementAt(mapFromGlobal(QCursor::pos()));
    if (index < 0 || IsSelected(Elements[index]))
        return 0;
    DeselectElement(element, true);
    (void)sender;
    SelectElement(index);
    return 1;
}

void TDesign::DeselectFromFrame(TSizer*, TFP_Element* element)
{
    DeselectElement(element, true);
}

// --- Moving -------------------------------------------------------------------------------------

void TDesign::MoveSelection(TSizer* sender)
{
    if (!sender || !sender->Moving)
        return;
    MoveSelectionBy(sender->Offset.x(), sender->Offset.y());
}

void TDesign::MoveSelectionBy(int dx, int dy)
{
    for (const TSizer* s : Sizers) {
        if (s->x() + dx < -6)
            dx = -s->x() - 6;
        if (s->y() + dy < -6)
            dy = -s->y() - 6;
        if (s->x() + s->width() + dx > width() + 6)
            dx = 0;
        if (s->y() + s->height() + dy > height() + 6)
            dy = 0;
    }
    if (dx == 0 && dy == 0)
        return;
    MarkModified();
    SelectionMoved = true;
    const int g = FPState().FPGrid;
    const bool gridStep = (dx == 0 || dx == g) && (dy == 0 || dy == g);
    for (TSizer* s : Sizers) {
        s->move(s->x() + dx, s->y() + dy);
        if (s->Element && s->Element->GetBisteTransparent() && !gridStep)
            s->Element->GrabBackground();
    }
    update();
}

void TDesign::MoveSelectionOffCovered()
{
    const auto covers = [this] {
        for (const TFP_Element* e : SelectedElements()) {
            const QPoint at = ElementRect(e).topLeft();
            for (const TFP_Element* other : Elements)
                if (!IsSelected(other) && other->FrontplattenNR == e->FrontplattenNR
                    && ElementRect(other).topLeft() == at)
                    return true;
        }
        return false;
    };
    const int step = std::max(FPState().FPGrid, 8);
    for (int tries = 0; tries < 64 && !Sizers.empty() && covers(); ++tries) {
        const QPoint before = Sizers.front()->pos();
        MoveSelectionBy(step, step);
        if (Sizers.front()->pos() == before)
            break;  // at the page's edge
    }
}

void TDesign::BeginMoveSelection(TSizer*)
{
    for (TSizer* s : Sizers) {
        s->Moving = true;
        s->update();
    }
    SelectionMoved = false;
    FPState().CascadePoint = QPoint(32, 32);
}

void TDesign::EndMoveSelection(TSizer*)
{
    for (TSizer* s : Sizers) {
        s->Moving = false;
        s->update();
    }
    if (SelectionMoved) {
        RefreshTransparency(this);
        SelectionMoved = false;
    }
}

// --- Aligning -----------------------------------------------------------------------------------

void TDesign::AlignSelection(int t)
{
    if (Sizers.empty())
        return;
    const int g = FPState().FPGrid;
    const auto round = [](Extended v) { return static_cast<int>(RoundHalfEven(v)); };
    if (Sizers.size() == 1) {
        if (g < 2)
            return;
        TFP_Element* e = Sizers.front()->Element;
        Deselect(0);
        if (!e)
            return;
        const Extended G = g;
        int left = e->x();
        int top = e->y();
        const int w = e->width();
        const int h = e->height();
        switch (t) {
        case 0: left = round(left / G) * g; break;
        case 1: left = round((left + w) / G) * g - w; break;
        case 2: top = round(top / G) * g; break;
        case 3: top = round((top + h) / G) * g - h; break;
        case 4: left = round((left + w / 2.0L) / G) * g - round(w / 2.0L); break;
        case 5: top = round((top + h / 2.0L) / G) * g - round(h / 2.0L); break;
        default: break;
        }
        e->move(left, top);
        RefreshTransparency(this);
        SelectElement(IndexOfElement(e));
        return;
    }
    TFP_Element* reference = Sizers.back()->Element;
    Deselect(static_cast<int>(Sizers.size()) - 1);
    if (!reference) {
        Deselect(-1);
        return;
    }
    int value = 0;
    switch (t) {
    case 0: value = reference->x(); break;
    case 1: value = reference->x() + reference->width(); break;
    case 2: value = reference->y(); break;
    case 3: value = reference->y() + reference->height(); break;
    case 4: value = reference->x() + reference->width() / 2; break;
    case 5: value = reference->y() + reference->height() / 2; break;
    default: break;
    }
    while (!Sizers.empty()) {
        TFP_Element* e = Sizers.front()->Element;
        Deselect(0);
        if (!e)
            continue;
        switch (t) {
        case 0: e->move(value, e->y()); break;
        case 1: e->move(value - e->width(), e->y()); break;
        case 2: e->move(e->x(), value); break;
        case 3: e->move(e->x(), value - e->height()); break;
        case 4: e->move(value - e->width() / 2, e->y()); break;
        case 5: e->move(e->x(), value - e->height() / 2); break;
        default: break;
        }
    }
    RefreshTransparency(this);
}

// --- Mouse of the page --------------------------------------------------------------------------

void TDesign::PageMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint p)
{
    if (!isEditing || Ctx().RuntimeMode)
        return;
    const TFrontPanelState& state = FPState();
    if (state.GetProjectModified && state.GetProjectModified() && state.OnDeleteSelection)
        state.OnDeleteSelection();
    const bool shift = modifiers & Qt::ShiftModifier;
    const int index = ElementAt(p);
    if (index >= 0) {
        if (!shift)
            Deselect(-1);
        SelectElement(index);
        return;
    }
    if (!Sizers.empty() && !shift) {
        Deselect(-1);
        RefreshTransparency(this);
    }
    if (button == Qt::LeftButton) {
        RubberBand = QRect(p, p);
        RubberBandShown = false;
        m_rubberStarted = true;
    }
}

void TDesign::PageMouseMove(Qt::MouseButtons buttons, QPoint p)
{
    if (TransparencyPending)
        RefreshTransparency(this);
    if (!isEditing || Ctx().RuntimeMode)
        return;
    if (buttons & Qt::LeftButton) {
        if (m_rubberStarted) {
            RubberBand.setBottomRight(p);
            RubberBandShown = true;
            update();
        }
        return;
    }
    ShowHoverHint(p);
}

void TDesign::PageMouseUp(Qt::MouseButton button, QPoint)
{
    if (button == Qt::RightButton)
        return;
    if (RubberBandShown) {
        RubberBandShown = false;
        const QRect band = BandRect(RubberBand);
        const TRect area{band.left(), band.top(), band.right() + 1, band.bottom() + 1};
        for (size_t i = 0; i < Elements.size(); ++i) {
            const TFP_Element* e = Elements[i];
            if (e->parentWidget() == this && area.Intersects(TRect::FromQRect(e->geometry())))
                SelectElement(static_cast<int>(i));
        }
        update();
    }
    RubberBand = QRect();
    m_rubberStarted = false;
    if (RepaintAfterRunMode) {
        RepaintAfterRunMode = false;
        update();
    }
}

void TDesign::ShowHoverHint(QPoint p)
{
    TFrontplatte* window = WindowOf(this);
    if (!window)
        return;
    const bool busy = std::any_of(Sizers.begin(), Sizers.end(), [](const TSizer* s) {
        return s->Moving || s->SizingHandle() != 0;
    });
    const int index = busy ? -1 : ElementAt(p);
    if (index < 0) {
        window->HintMessage(QString());
        return;
    }
    const TFP_Element* e = Elements[index];
    const QWidget* place = SizerOf(e) ? static_cast<const QWidget*>(SizerOf(e)) : e;
    const bool shown = place->isVisibleTo(this);
    const QString text = shown ? e->Hint + u' ' + e->ElementName : QString();
    if (!text.isEmpty() && text != QStringLiteral(" "))
        window->HintMessage(text);
}

void TDesign::mousePressEvent(QMouseEvent* event)
{
    PageMouseDown(event->button(), event->modifiers(), event->position().toPoint());
}

void TDesign::mouseMoveEvent(QMouseEvent* event)
{
    PageMouseMove(event->buttons(), event->position().toPoint());
}

void TDesign::mouseReleaseEvent(QMouseEvent* event)
{
    PageMouseUp(event->button(), event->position().toPoint());
}

void TDesign::mouseDoubleClickEvent(QMouseEvent* event)
{
    event->accept();
}

// --- Grid ---------------------------------------------------------------------------------------

QPoint TDesign::GridOffset() const
{
    const int g = FPState().FPGrid;
    if (g == 0)
        return QPoint(0, 0);
    QPoint offset(-(x() % g), -(y() % g));
    QWidget* parent = parentWidget();
    if (const auto* page = dynamic_cast<const TDesign*>(parent))
        offset += page->GridOffset();
    else if (const auto* sizer = dynamic_cast<const TSizer*>(parent))
        offset += QPoint(-(sizer->x() % g), -(sizer->y() % g));
    return offset;
}

void TDesign::Paint(TCanvas& canvas)
{
    TFP_Element::Paint(canvas);
    const TFrontPanelState& state = FPState();
    const int g = state.FPGrid;
    QWidget* parent = parentWidget();
    const bool nestedPlace =
        dynamic_cast<TDesign*>(parent) != nullptr || dynamic_cast<TSizer*>(parent) != nullptr;
    if (state.FPGridVisible && g >= 2 && !nestedPlace && !Ctx().RuntimeMode
        && !Ctx().SimRunning) {
        const QPoint o = GridOffset();
        canvas.Pen = TCanvasPen{state.FPGridColor, 0, Qt::SolidLine, TPenMode::Copy};
        for (int i = 0; i <= width() / g + 1; ++i) {
            canvas.MoveTo(i * g + o.x(), 0);
            canvas.LineTo(i * g + o.x(), height());
        }
        for (int i = 0; i <= height() / g + 1; ++i) {
            canvas.MoveTo(0, i * g + o.y());
            canvas.LineTo(width(), i * g + o.y());
        }
    }
    if (RubberBandShown) {
        const QRect band = BandRect(RubberBand);
        canvas.Pen = TCanvasPen{0, 1, Qt::DotLine, TPenMode::Copy};
        canvas.Brush = TCanvasBrush{0, Qt::NoBrush};
        canvas.Rectangle(band.left() - 1, band.top() - 1, band.right() + 2, band.bottom() + 2);
    }
}
