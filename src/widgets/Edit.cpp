#include "widgets/Edit.h"

#include "platform/Canvas.h"
#include "widgets/SpeedButton.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>

// ---- edit ----------------------------------------------------------------------------------

TWLXCustomEdit::TWLXCustomEdit(QWidget* parent)
    : TWLXBaseEdit(parent)
    , m_buttons(this)
{
    SelectAllToLineEnd = true;
    m_buttons.OnChange = [this](void*) { UpdateRects(); };
}

TWLXCustomEdit::~TWLXCustomEdit()
{
    m_buttons.OnChange = nullptr;
}

void TWLXCustomEdit::RebuildDisplayText()
{
    const QString& text = TextRef();
    m_display = m_passwordChar.isNull() ? text : QString(text.size(), m_passwordChar);
}

void TWLXCustomEdit::SetPasswordChar(QChar value)
{
    m_passwordChar = value;
    TextChanged(1);
}

void TWLXCustomEdit::TextAssigned()
{
    SetSelLength(0);
    TextChanged(1);
    if (hasFocus())
        UpdateCaret();
}

void TWLXCustomEdit::TextChanged(int at)
{
    RebuildDisplayText();
    TWLXBaseEdit::TextChanged(at);
}

void TWLXCustomEdit::AfterChange()
{
    if (m_autoComplete)
        m_autoComplete->Complete(this, Text());
}

bool TWLXCustomEdit::BackspaceExtends() const
{
    return m_autoComplete && m_autoComplete->Enabled && (m_autoComplete->Mode & amText);
}

void TWLXCustomEdit::ProcessKey(int& key)
{
    if (key == Qt::Key_Up)
        key = Qt::Key_Left;
    else if (key == Qt::Key_Down)
        key = Qt::Key_Right;
    const int pressed = key;
    TWLXBaseEdit::ProcessKey(key);
    if (!m_autoComplete)
        return;
    // The text shown is offered first, also while the drop-down is open; the drop-down then
    // takes its own keys.
    if ((pressed == Qt::Key_Return || pressed == Qt::Key_Enter) && (m_autoComplete->AddUnknownOn & aaControlReturn))
        m_autoComplete->AddUnknown(this, Text());
    if (m_autoComplete)
        m_autoComplete->EditKeyPress(this, pressed);
}

void TWLXCustomEdit::keyReleaseEvent(QKeyEvent* event)
{
    TWLXBaseEdit::keyReleaseEvent(event);
    if (m_autoComplete)
        m_autoComplete->EditKeyUp(this, event->key());
}

void TWLXCustomEdit::focusOutEvent(QFocusEvent* event)
{
    TWLXBaseEdit::focusOutEvent(event);
    if (!m_autoComplete)
        return;
    // The entry shown is offered, before an open drop-down puts the typed text back.
    if (m_autoComplete->AddUnknownOn & aaControlExit)
        m_autoComplete->AddUnknown(this, Text());
    if (m_autoComplete)
        m_autoComplete->EditFocusLost(this);
}

void TWLXCustomEdit::changeEvent(QEvent* event)
{
    TWLXBaseEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        UpdateAutoSize();
}

void TWLXCustomEdit::SetAutoSize(bool value)
{
    if (value == m_autoSize)
        return;
    m_autoSize = value;
    setSizePolicy(QSizePolicy::Preferred, value ? QSizePolicy::Fixed : QSizePolicy::Preferred);
    UpdateAutoSize();
}

int TWLXCustomEdit::AutoHeight() const
{
    const int h = GetTextHeight(QStringLiteral("Qp"));
    const TWLXRect inner = Bevel().GetInnerRect(ClientRect());
    const int bevel = inner.Left;
    return Bevel().Mode() == TWLXBevelMode::bmWindows ? h * 5 / 4 + 5 : h * 5 / 4 + 2 * bevel;
}

void TWLXCustomEdit::UpdateAutoSize()
{
    if (!m_autoSize)
        return;
    const int width = std::max(this->width(), m_buttons.Count() * m_buttonWidth + 30);
    resize(width, AutoHeight());
    updateGeometry();
}

// In a layout the edit is as high as its font needs (fixed while AutoSize is on).
QSize TWLXCustomEdit::sizeHint() const
{
    return {std::max(121, m_buttons.Count() * m_buttonWidth + 30), AutoHeight()};
}

QSize TWLXCustomEdit::minimumSizeHint() const
{
    return {m_buttons.Count() * m_buttonWidth + 30, AutoHeight()};
}

void TWLXCustomEdit::SetCustomButtonWidth(int value)
{
    if (value == m_buttonWidth)
        return;
    m_buttonWidth = value;
    UpdateRects();
}

void TWLXCustomEdit::SetCustomButtonsStyle(TWLXUserButtonStyle value)
{
    if (value == m_buttonStyle)
        return;
    m_buttonStyle = value;
    LayoutButtons();
}

void TWLXCustomEdit::DoButtonClick(void* button, int index)
{
    if (OnBtnClick)
        OnBtnClick(this, button, index);
}

void TWLXCustomEdit::AdjustTextRect(TWLXRect& rect)
{
    if (m_buttons.Count() > 0)
        rect.Right -= m_buttons.Count() * m_buttonWidth + 1;
}

void TWLXCustomEdit::LayoutButtons()
{
    const TWLXRect area = TextAreaRect();
    for (int i = 0; i < m_buttons.Count(); ++i) {
        TWLXSpeedButton* b = m_buttons.Items(i).Button();
        b->SetButtonStyle(m_buttonStyle);
        b->setGeometry(area.Right + 1 + i * m_buttonWidth, area.Top, m_buttonWidth, area.Height());
    }
}

int TWLXCustomEdit::TextWidth(int count) const
{
    return QFontMetrics(font()).horizontalAdvance(m_display.left(count));
}

int TWLXCustomEdit::TextStartX() const
{
    const TWLXRect r = TextRect();
    switch (Alignment()) {
    case TWLXTextAlignment::taRightJustify: return r.Right - TextWidth(int(m_display.size()));
    case TWLXTextAlignment::taCenter: return r.Left + (r.Width() - TextWidth(int(m_display.size()))) / 2;
    default: return r.Left;
    }
}

int TWLXCustomEdit::CharIndexAt(QPoint p)
{
    const int start = TextStartX();
    const QFontMetrics fm(font());
    const int length = int(m_display.size());
    for (int n = 1;; ++n) {
        if (n >= length + 1)
            return length + 1;
        const int mid = start + TextWidth(n) - ScrollOffset() - fm.horizontalAdvance(m_display.at(n - 1)) / 2;
        if (mid >= p.x())
            return n;
    }
}

void TWLXCustomEdit::UpdateCaret()
{
    if (!hasFocus() || !Caret().Shown())
        return;
    const TWLXRect r = TextRect();
    int a = TextStartX();
    switch (Font3D().Style()) {
    case TWLXThreeDStyle::tdSunken:
    case TWLXThreeDStyle::tdSunkenShadow: a += Font3D().ShadowDepth(); break;
    case TWLXThreeDStyle::tdRaised:
    case TWLXThreeDStyle::tdRaisedShadow: a += Font3D().LightDepth(); break;
    default: break;
    }
    a -= 1;
    int b;
    if (m_display.isEmpty()) {
        b = Alignment() == TWLXTextAlignment::taRightJustify ? r.Right
            : Alignment() == TWLXTextAlignment::taCenter   ? r.Left + r.Width() / 2
                                                            : TextStartX();
    } else {
        b = a + TextWidth(CaretPos() - 1) - ScrollOffset();
    }
    if (b > r.Right) {
        SetScrollOffset(ScrollOffset() + b - r.Right + r.Left + 2);
        PaintText(-1);
    } else if (b < r.Left && ScrollOffset() > 0) {
        SetScrollOffset(std::max(0, ScrollOffset() - std::abs(b) - r.Left - 2));
        PaintText(-1);
    }
    const int x = m_display.isEmpty() ? b : a + TextWidth(CaretPos() - 1) - ScrollOffset() + 1;
    PlaceCaret(x, r.Top);
}

void TWLXCustomEdit::PaintText(int)
{
    update();
}

void TWLXCustomEdit::Paint(TCanvas& canvas)
{
    if (Loading || IsUpdating())
        return;
    TWLXBaseEdit::Paint(canvas);
    QPainter* p = canvas.Painter();
    if (!p)
        return;
    const TWLXRect r = TextRect();
    if (r.IsEmpty())
        return;
    p->save();
    p->setClipRect(r.ToQRect());
    p->setFont(font());
    const QFontMetrics fm(font());
    const int x0 = TextStartX() - ScrollOffset();
    const int y = r.Top + fm.ascent();
    const int h = std::min(GetTextHeight(QStringLiteral("Qp")), r.Height());
    const QColor text = isEnabled() ? palette().color(QPalette::Text) : palette().color(QPalette::Disabled, QPalette::Text);
    p->setPen(text);
    p->drawText(x0, y, m_display);
    if (SelLength() > 0 && !HideSelectionNow()) {
        const int x1 = x0 + TextWidth(SelStart() - 1);
        const int x2 = std::min(x0 + TextWidth(SelStart() - 1 + SelLength()), r.Right);
        const QRect sel(x1, r.Top, x2 - x1, h);
        p->fillRect(sel, TColorToQColor(HighlightBack));
        p->setClipRect(sel.intersected(r.ToQRect()));
        p->setPen(TColorToQColor(HighlightText));
        p->drawText(x0, y, m_display);
    }
    p->restore();
    Caret().DrawCaret(*p, CaretVisiblePhase());
}
