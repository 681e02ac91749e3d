#include "widgets/SpinEdit.h"

#include "widgets/SpeedButton.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QWheelEvent>
#include <cmath>

TWLXCustomSpinEdit::TWLXCustomSpinEdit(QWidget* parent)
    : QLineEdit(parent)
    , m_spin(new TWLXSpinButton(this))
    , m_buttons(this)
{
    m_buttons.OnChange = [this](void*) { LayoutSpin(); };
    m_spin->SetArrows(TWLXSpinButton::Up | TWLXSpinButton::Down);
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
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (OnChange)
            OnChange(this);
    });
    WriteValue(0);
    LayoutSpin();
    SetAutoSize(true);
}

void TWLXCustomSpinEdit::SetAutoSize(bool value)
{
    if (value == m_autoSize)
        return;
    m_autoSize = value;
    UpdateAutoSize();
}

void TWLXCustomSpinEdit::UpdateAutoSize()
{
    if (!m_autoSize)
        return;
    const QFontMetrics fm(font());
    const int h = std::max(fm.height(), fm.boundingRect(QStringLiteral("Qp")).height());
    resize(std::max(width(), m_buttons.Count() * m_buttonWidth + 30), h * 5 / 4 + 5);
}

void TWLXCustomSpinEdit::SetCustomButtonWidth(int value)
{
    if (value == m_buttonWidth)
        return;
    m_buttonWidth = value;
    LayoutSpin();
}

void TWLXCustomSpinEdit::ReadLegacyBorderStyle(const QString& identifier)
{
    setFrame(identifier == QLatin1String("bsSingle"));
    LayoutSpin();
}

int TWLXCustomSpinEdit::TextValue() const
{
    QString t = text();
    if (!m_suffix.isEmpty() && t.endsWith(m_suffix))
        t.chop(m_suffix.size());
    return t.trimmed().toInt();
}

void TWLXCustomSpinEdit::WriteValue(int value)
{
    const QString t = QString::number(value) + m_suffix;
    if (t != text())
        setText(t);
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
    if (isReadOnly())
        return;
    const int caret = cursorPosition();
    const int v = TextValue();
    const int max = int(std::trunc(m_max));
    const int next = int(std::nearbyint(step));
    WriteValue(v + next >= max ? max : v + next);
    if (caret <= text().size() + 1)
        setCursorPosition(caret);
}

void TWLXCustomSpinEdit::StepDown(double step)
{
    if (isReadOnly())
        return;
    const int caret = cursorPosition();
    const int v = TextValue();
    const int min = int(std::trunc(m_min));
    WriteValue(v - step <= min ? min : v - int(std::nearbyint(step)));
    if (caret <= text().size() + 1)
        setCursorPosition(caret);
}

void TWLXCustomSpinEdit::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_PageUp: StepUp(m_pageStep); return;
    case Qt::Key_PageDown: StepDown(m_pageStep); return;
    case Qt::Key_Up: StepUp(m_lineStep); return;
    case Qt::Key_Down: StepDown(m_lineStep); return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (TabOnEnter && !(event->modifiers() & Qt::ControlModifier)) {
            focusNextChild();
            return;
        }
        break;
    default: break;
    }
    // Without the editor, keys that change the text are refused.
    const bool typed = !event->text().isEmpty() && !(event->modifiers() & Qt::ControlModifier);
    const bool edits = typed || event->key() == Qt::Key_Backspace ||
                       event->key() == Qt::Key_Delete || event->matches(QKeySequence::Paste) ||
                       event->matches(QKeySequence::Cut) || event->matches(QKeySequence::Undo);
    if (!EditorEnabled && edits)
        return;
    QLineEdit::keyPressEvent(event);
}

void TWLXCustomSpinEdit::inputMethodEvent(QInputMethodEvent* event)
{
    if (EditorEnabled)
        QLineEdit::inputMethodEvent(event);
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
    QLineEdit::focusOutEvent(event);
    SetClampedValue(TextValue());
}

void TWLXCustomSpinEdit::SetSpinBtnWidth(int value)
{
    if (value == m_spinBtnWidth)
        return;
    m_spinBtnWidth = value;
    LayoutSpin();
}

void TWLXCustomSpinEdit::LayoutSpin()
{
    const QRect area = contentsRect().adjusted(1, 1, -1, -1);
    const int w = m_spinBtnWidth < 0 ? area.height() : m_spinBtnWidth;
    m_spin->setGeometry(area.right() + 1 - w, area.top(), w, area.height());
    const int buttons = m_buttons.Count() * m_buttonWidth;
    for (int i = 0; i < m_buttons.Count(); ++i)
        m_buttons.Items(i).Button()->setGeometry(area.right() + 1 - w - buttons + i * m_buttonWidth, area.top(),
                                                 m_buttonWidth, area.height());
    setTextMargins(0, 0, w + buttons, 0);
}

void TWLXCustomSpinEdit::resizeEvent(QResizeEvent* event)
{
    QLineEdit::resizeEvent(event);
    LayoutSpin();
}

void TWLXCustomSpinEdit::changeEvent(QEvent* event)
{
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        m_spin->setEnabled(isEnabled());
    else if (event->type() == QEvent::FontChange)
        UpdateAutoSize();
}
