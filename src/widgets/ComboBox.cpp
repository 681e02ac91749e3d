#include "widgets/ComboBox.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>

// ---- items ---------------------------------------------------------------------------------

TWLXComboItemDelegate::TWLXComboItemDelegate(TWLXCustomComboBox* box)
    : QStyledItemDelegate(box)
    , m_box(box)
{
}

void TWLXComboItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    painter->save();
    m_box->DrawItem(*painter, option, index.row());
    painter->restore();
    // The line under the newest-first section of recently chosen items.
    if (m_box->m_mruList && index.row() == m_box->m_mruCount - 1) {
        painter->save();
        painter->setPen(QPen(Qt::black, 0));
        const QRect r = option.rect;
        painter->drawLine(r.left(), r.bottom() - 2, r.right(), r.bottom() - 2);
        painter->drawLine(r.left(), r.bottom(), r.right(), r.bottom());
        painter->restore();
    }
}

QSize TWLXComboItemDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    if (m_box->m_itemHeight > 0)
        size.setHeight(m_box->m_itemHeight);
    if (m_box->m_style == TWLXComboStyle::csOwnerDrawVariable) {
        int height = size.height();
        m_box->MeasureItem(index.row(), height);
        size.setHeight(height);
    }
    if (m_box->m_mruList)
        size.rheight() += 4;
    return size;
}

// ---- combo box -----------------------------------------------------------------------------

TWLXCustomComboBox::TWLXCustomComboBox(QWidget* parent)
    : QComboBox(parent)
{
    setItemDelegate(new TWLXComboItemDelegate(this));
    setInsertPolicy(QComboBox::NoInsert);
    SetStyle(TWLXComboStyle::csDropDown);
    connect(this, &QComboBox::activated, this, [this](int index) { Choose(index); });
    connect(this, &QComboBox::currentTextChanged, this, [this] {
        if (!m_blockChange)
            Change();
    });
}

TWLXCustomComboBox::~TWLXCustomComboBox()
{
    // Clearing the items in Qt's teardown must not call back into this object.
    disconnect(this, nullptr, this, nullptr);
    FreeSearchTimer();
}

void TWLXCustomComboBox::Change()
{
    if (OnChange)
        OnChange(this);
}

void TWLXCustomComboBox::SetStyle(TWLXComboStyle value)
{
    m_style = value;
    const bool editable = value == TWLXComboStyle::csDropDown || value == TWLXComboStyle::csSimple;
    if (editable != isEditable()) {
        setEditable(editable);
        if (editable) {
            setCompleter(nullptr);
            lineEdit()->installEventFilter(this);
        }
    }
}

void TWLXCustomComboBox::SetSorted(bool value)
{
    m_sorted = value;
    if (!value || count() < 2)
        return;
    const QString current = currentText();
    QList<QPair<QString, QVariant>> items;
    for (int i = 0; i < count(); ++i)
        items.append({itemText(i), itemData(i)});
    std::stable_sort(items.begin(), items.end(), [](const auto& a, const auto& b) {
        return QString::compare(a.first, b.first, Qt::CaseInsensitive) < 0;
    });
    const QSignalBlocker block(this);
    clear();
    for (const auto& item : items)
        addItem(item.first, item.second);
    setCurrentIndex(findText(current, Qt::MatchExactly));
}

int TWLXCustomComboBox::AddItem(const QString& text, const QVariant& data)
{
    int at = count();
    if (m_sorted) {
        at = 0;
        while (at < count() && QString::compare(itemText(at), text, Qt::CaseInsensitive) <= 0)
            ++at;
    }
    insertItem(at, text, data);
    return at;
}

void TWLXCustomComboBox::SetItemHeight(int value)
{
    m_itemHeight = value;
    if (view())
        view()->doItemsLayout();
}

void TWLXCustomComboBox::SetText(const QString& value)
{
    if (isEditable())
        setEditText(value);
    else
        setCurrentIndex(findText(value, Qt::MatchExactly));
}

void TWLXCustomComboBox::SetBooleanProp(int index, bool value)
{
    if (index == 0 && value != m_flat) {
        m_flat = value;
        UpdateFrame();
    } else if (index == 1 && value != m_mruList) {
        m_mruList = value;
        if (value) {
            SetStyle(TWLXComboStyle::csOwnerDrawFixed);
        } else {
            for (; m_mruCount > 0; --m_mruCount)
                removeItem(0);
        }
    }
}

void TWLXCustomComboBox::SetIntegerProp(int index, int value)
{
    if (index == 0 && value != m_dropDownWidth) {
        m_dropDownWidth = value;
        view()->setMinimumWidth(value);
    } else if (index == 1 && value != m_mruMax) {
        m_mruMax = value;
        for (; m_mruCount > std::max(0, m_mruMax); --m_mruCount)
            removeItem(m_mruCount - 1);
    }
}

void TWLXCustomComboBox::SetSearch(bool value)
{
    m_search = value;
    if (!m_sorted)
        SetSorted(true);
}

void TWLXCustomComboBox::Choose(int index)
{
    if (index < 0 || index >= count())
        return;
    DoSelect();
    if (m_mruList && m_mruMax > 0) {
        const QString text = itemText(index);
        const QVariant data = itemData(index);
        int found = -1;
        for (int i = 0; i < m_mruCount && found < 0; ++i)
            if (itemText(i) == text)
                found = i;
        if (found >= 0) {
            setCurrentIndex(found);
        } else {
            if (m_mruCount >= m_mruMax)
                removeItem(m_mruMax - 1);
            else
                ++m_mruCount;
            insertItem(0, text, data);
            setCurrentIndex(0);
        }
    }
    const bool droppedDown = view() && view()->isVisible();
    if (!droppedDown && !m_keyNavigation && m_focusControl)
        HandOverFocus();
    UpdateFrame();
}

void TWLXCustomComboBox::HandOverFocus()
{
    if (!m_focusControl)
        return;
    if (m_focusControl->window() == window()) {
        m_focusControl->setFocus(Qt::OtherFocusReason);
        return;
    }
    // In another window: after the choice has completed.
    QPointer<QWidget> target = m_focusControl;
    QTimer::singleShot(0, this, [target] {
        if (target) {
            target->activateWindow();
            target->setFocus(Qt::OtherFocusReason);
        }
    });
}

void TWLXCustomComboBox::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    m_keyNavigation = key == Qt::Key_PageUp || key == Qt::Key_PageDown || key == Qt::Key_Left ||
                      key == Qt::Key_Up || key == Qt::Key_Right || key == Qt::Key_Down;
    QComboBox::keyPressEvent(event);
    if (!m_searchTimer) {
        m_searchTimer = new QTimer(this);
        m_searchTimer->setSingleShot(true);
        connect(m_searchTimer, &QTimer::timeout, this, [this] { SearchTimerFired(); });
    }
    m_searchTimer->stop();
    if (m_search) {
        const QString text = event->text();
        if (key == Qt::Key_Backspace || key == Qt::Key_Delete)
            m_searchTimer->start(Interval + 1000);
        else if (!text.isEmpty() && text.at(0).unicode() >= 32)
            m_searchTimer->start(Interval);
    }
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && m_focusControl) {
        HandOverFocus();
        UpdateFrame();
    }
}

void TWLXCustomComboBox::SearchTimerFired()
{
    if (m_sorted && isEditable()) {
        const QString text = currentText();
        for (int i = 0; i < count(); ++i) {
            if (!text.isEmpty() && itemText(i).left(text.size()) == text) {
                const int s = lineEdit()->cursorPosition();
                setCurrentIndex(i);
                const int length = int(lineEdit()->text().size());
                lineEdit()->setCursorPosition(length);
                lineEdit()->cursorBackward(true, length - s);
                break;
            }
        }
    }
    FreeSearchTimer();
}

// The timer may be the sender of the running event: it goes once that has returned.
void TWLXCustomComboBox::FreeSearchTimer()
{
    if (!m_searchTimer)
        return;
    m_searchTimer->stop();
    m_searchTimer->deleteLater();
    m_searchTimer = nullptr;
}

void TWLXCustomComboBox::mousePressEvent(QMouseEvent* event)
{
    m_keyNavigation = false;
    QComboBox::mousePressEvent(event);
}

bool TWLXCustomComboBox::eventFilter(QObject* watched, QEvent* event)
{
    if (isEditable() && watched == lineEdit() && event->type() == QEvent::MouseButtonPress) {
        m_keyNavigation = false;
        if (OnEditClick)
            OnEditClick(this);
    }
    return QComboBox::eventFilter(watched, event);
}

void TWLXCustomComboBox::UpdateFrame()
{
    setFrame(!(m_flat && !m_mouseAbove && !hasFocus()));
}

void TWLXCustomComboBox::enterEvent(QEnterEvent* event)
{
    QComboBox::enterEvent(event);
    m_mouseAbove = true;
    UpdateFrame();
}

void TWLXCustomComboBox::leaveEvent(QEvent* event)
{
    QComboBox::leaveEvent(event);
    m_mouseAbove = false;
    UpdateFrame();
}

void TWLXCustomComboBox::focusInEvent(QFocusEvent* event)
{
    QComboBox::focusInEvent(event);
    UpdateFrame();
}

void TWLXCustomComboBox::focusOutEvent(QFocusEvent* event)
{
    QComboBox::focusOutEvent(event);
    UpdateFrame();
    if (m_search)
        FreeSearchTimer();
}

void TWLXCustomComboBox::DrawItem(QPainter& painter, const QStyleOptionViewItem& option, int index) const
{
    const bool selected = option.state & QStyle::State_Selected;
    painter.fillRect(option.rect, option.palette.color(selected ? QPalette::Highlight : QPalette::Base));
    painter.setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    painter.setFont(font());
    painter.drawText(option.rect.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, itemText(index));
}
