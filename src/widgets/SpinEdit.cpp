#include "widgets/SpinEdit.h"

#include "widgets/SpeedButton.h"

#include <QKeyEvent>
#include <QWheelEvent>
#include <cmath>

TWLXCustomSpinEdit::TWLXCustomSpinEdit(QWidget* parent)
    : TWLXCustomEdit(parent)
    , m_spin(new TWLXSpinButton(this))
{
    m_spin->SetArrows(TWLXSpinButton::Up | TWLXSpinButton::Down);
    m_spin->SetColor(clBtnFace);
    m_spin->setCursor(Qt::ArrowCursor);
    auto up = [this](void*) {
        if (isVisible())
            setFocus();
        StepUp(m_lineStep);
        if (OnSpinBtnUpClick)
            OnSpinBtnUpClick(this);
    };
    auto down = [this](void*) {
        if (isVisible())
            setFocus();
        StepDown(m_lineStep);
        if (OnSpinBtnDownClick)
            OnSpinBtnDownClick(this);
    };
    m_spin->OnUp = up;
    m_spin->OnLeft = up;
    m_spin->OnDown = down;
    m_spin->OnRight = down;
    BeginUpdate();
    WriteValue(0);
    EndUpdate(false);
    UpdateRects();
    SetAutoSize(true);
    AutoSelect = true;
}

void TWLXCustomSpinEdit::ReadLegacyBorderStyle(const QString& identifier)
{
    Bevel().BeginUpdate();
    if (identifier == QLatin1String("bsSingle")) {
        Bevel().SetMode(TWLXBevelMode::bmWindows);
    } else {
        Bevel().SetStandardStyle(TWLXBorderStyle::lsNone);
        Bevel().SetMode(TWLXBevelMode::bmStandard);
    }
    Bevel().EndUpdate(true);
    UpdateAutoSize();
    UpdateRects();
    update();
}

int TWLXCustomSpinEdit::TextValue() const
{
    QString t = Text();
    if (!m_suffix.isEmpty() && t.endsWith(m_suffix))
        t.chop(m_suffix.size());
    return t.trimmed().toInt();
}

void TWLXCustomSpinEdit::WriteValue(int value)
{
    SetText(QString::number(value) + m_suffix);
}

int TWLXCustomSpinEdit::GetIntegerProp(int index) const
{
    switch (index) {
    case 0: return int(std::trunc(m_lineStep));
    case 1: return int(std::trunc(m_pageStep));
    case 2: return int(std::trunc(m_min));
    case 3: return int(std::trunc(m_max));
    case 4: return TextValue();
    default: return 0;
    }
}

void TWLXCustomSpinEdit::SetIntegerProp(int index, int value)
{
    switch (index) {
    case 0: m_lineStep = value; break;
    case 1: m_pageStep = value; break;
    case 2:
        if (value != m_min) {
            m_min = value;
            if (m_min > m_max)
                m_max = m_min;
        }
        break;
    case 3:
        if (value != m_max) {
            m_max = value;
            if (m_max < m_min)
                m_min = m_max;
        }
        break;
    case 4: SetClampedValue(value); break;
    default: break;
    }
}

// Compared with what the field shows, so that a value set by code always shows, also while a
// spun value that was never set stands in the field.
void TWLXCustomSpinEdit::SetClampedValue(double value)
{
    if (value > m_max)
        value = m_max;
    if (value < m_min)
        value = m_min;
    m_value = value;
    WriteValue(int(std::trunc(m_value)));
}

void TWLXCustomSpinEdit::SetSuffix(const QString& value)
{
    if (value == m_suffix)
        return;
    const int v = TextValue();
    m_suffix = value;
    WriteValue(v);
}

void TWLXCustomSpinEdit::StepUp(double step)
{
    if (ReadOnly())
        return;
    const int caret = SelStart();
    const int v = TextValue();
    const int max = int(std::trunc(m_max));
    const int next = int(std::nearbyint(step));
    WriteValue(v + next >= max ? max : v + next);
    if (caret <= Text().size() + 1)
        SetCaretPos(caret);
}

void TWLXCustomSpinEdit::StepDown(double step)
{
    if (ReadOnly())
        return;
    const int caret = SelStart();
    const int v = TextValue();
    const int min = int(std::trunc(m_min));
    WriteValue(v - step <= min ? min : v - int(std::nearbyint(step)));
    if (caret <= Text().size() + 1)
        SetCaretPos(caret);
}

bool TWLXCustomSpinEdit::CanEdit(const QString& text) const
{
    return EditorEnabled && TWLXCustomEdit::CanEdit(text);
}

void TWLXCustomSpinEdit::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_PageUp: StepUp(m_pageStep); break;
    case Qt::Key_PageDown: StepDown(m_pageStep); break;
    case Qt::Key_Up: StepUp(m_lineStep); break;
    case Qt::Key_Down: StepDown(m_lineStep); break;
    default: TWLXCustomEdit::keyPressEvent(event); return;
    }
    event->accept();
}

void TWLXCustomSpinEdit::wheelEvent(QWheelEvent* event)
{
    const int delta = event->angleDelta().y();
    if (delta > 0)
        StepUp(m_lineStep);
    else if (delta < 0)
        StepDown(m_lineStep);
    event->accept();
}

void TWLXCustomSpinEdit::focusOutEvent(QFocusEvent* event)
{
    TWLXCustomEdit::focusOutEvent(event);
    SetClampedValue(TextValue());
}

void TWLXCustomSpinEdit::mouseMoveEvent(QMouseEvent* event)
{
    TWLXCustomEdit::mouseMoveEvent(event);
    m_spin->ResetHot();
}

void TWLXCustomSpinEdit::leaveEvent(QEvent* event)
{
    TWLXCustomEdit::leaveEvent(event);
    m_spin->ResetHot();
}

void TWLXCustomSpinEdit::SetSpinBtnWidth(int value)
{
    if (value == m_spinBtnWidth)
        return;
    m_spinBtnWidth = value;
    UpdateRects();
    update();
}

// The spin button takes the right end of the text area; the custom buttons stand left of it.
void TWLXCustomSpinEdit::AdjustTextRect(TWLXRect& rect)
{
    const int w = m_spinBtnWidth < 0 ? rect.Height() : m_spinBtnWidth;
    rect.Right -= w;
    m_spin->setGeometry(rect.Right, rect.Top, w, rect.Height());
    TWLXCustomEdit::AdjustTextRect(rect);
}

void TWLXCustomSpinEdit::changeEvent(QEvent* event)
{
    TWLXCustomEdit::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        m_spin->setEnabled(isEnabled());
}
