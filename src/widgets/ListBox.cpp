#include "widgets/ListBox.h"

#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "widgets/Application.h"
#include "widgets/EffectText.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>

namespace {

QFont WithStyle(QFont font, uint8_t style)
{
    if (style & 1)
        font.setBold(true);
    if (style & 2)
        font.setItalic(true);
    if (style & 4)
        font.setUnderline(true);
    if (style & 8)
        font.setStrikeOut(true);
    return font;
}

} // namespace

// ---- delegate ------------------------------------------------------------------------------

TWLXListBoxDelegate::TWLXListBoxDelegate(TWLXCustomListBox* box)
    : QStyledItemDelegate(box)
    , m_box(box)
{
}

void TWLXListBoxDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    painter->save();
    m_box->PaintItem(*painter, option, index.row());
    painter->restore();
}

QSize TWLXListBoxDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex& index) const
{
    int height = m_box->m_itemHeight;
    if (m_box->m_style == TWLXListBoxStyle::lbOwnerDrawVariable)
        m_box->MeasureItem(index.row(), height);
    int width = 0;
    if (m_box->m_largeText == TWLXListBoxLargeTextOptions::lbltHorzScrollBar && !m_box->m_multiLine)
        width = m_box->m_maxTextWidth + 2 * m_box->m_margin;
    return QSize(width, height);
}

// ---- list box ------------------------------------------------------------------------------

TWLXCustomListBox::TWLXCustomListBox(QWidget* parent)
    : QListWidget(parent)
    , m_color(clWindow)
    , m_disabledColor(clWindow)
    , m_selectedColor(clHighlight)
    , m_selectedFontColor(clHighlightText)
{
    setItemDelegate(new TWLXListBoxDelegate(this));
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(2);
    setMouseTracking(true);
    setEditTriggers(NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_font3D.OnChange = [this](void*) { Font3DChanged(); };
    UpdateSelectionMode();
    UpdateStyle();
    UpdateViewportBackground();
    connect(this, &QListWidget::itemSelectionChanged, this, [this] {
        if (m_userInput > 0)
            DoSelect();
    });
}

TWLXCustomListBox::~TWLXCustomListBox()
{
    disconnect(this, nullptr, this, nullptr);
    m_font3D.OnChange = nullptr;
    if (m_editor) {
        m_editor->OnExit = nullptr;
        m_editor->OnKeyDown = nullptr;
    }
}

// ---- items ---------------------------------------------------------------------------------

QListWidgetItem* TWLXCustomListBox::NewItem(const QString& text) const
{
    auto* item = new QListWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return item;
}

QString TWLXCustomListBox::Item(int index) const
{
    const QListWidgetItem* it = item(index);
    return it ? it->text() : QString();
}

void TWLXCustomListBox::SetItem(int index, const QString& text)
{
    QListWidgetItem* it = item(index);
    if (!it)
        return;
    // As a delete and an insert, so that the widest text is kept up to date.
    const bool widest = RemovesWidest(index);
    it->setText(text);
    if (widest)
        RecalcMaxTextWidth();
    else
        ItemAdded(index);
}

int TWLXCustomListBox::AddItem(const QString& text)
{
    int at = count();
    if (m_sorted) {
        at = 0;
        while (at < count() && QString::compare(item(at)->text(), text, Qt::CaseInsensitive) <= 0)
            ++at;
    }
    insertItem(at, NewItem(text));
    ItemAdded(at);
    return at;
}

void TWLXCustomListBox::InsertItem(int index, const QString& text)
{
    const int at = std::clamp(index, 0, count());
    insertItem(at, NewItem(text));
    ItemAdded(at);
}

void TWLXCustomListBox::DeleteItem(int index)
{
    if (index < 0 || index >= count())
        return;
    const bool widest = RemovesWidest(index);
    delete takeItem(index);
    if (widest)
        RecalcMaxTextWidth();
}

void TWLXCustomListBox::Clear()
{
    clear();
    m_maxTextWidth = 0;
    Relayout();
    horizontalScrollBar()->setValue(0);
}

QStringList TWLXCustomListBox::Items() const
{
    QStringList list;
    for (int i = 0; i < count(); ++i)
        list.append(item(i)->text());
    return list;
}

void TWLXCustomListBox::SetItems(const QStringList& items)
{
    setUpdatesEnabled(false);
    Clear();
    for (const QString& text : items)
        AddItem(text);
    setUpdatesEnabled(true);
}

void TWLXCustomListBox::SetVirtualCount(int value)
{
    setUpdatesEnabled(false);
    while (count() > std::max(0, value))
        delete takeItem(count() - 1);
    while (count() < value)
        addItem(NewItem(QString()));
    setUpdatesEnabled(true);
}

void TWLXCustomListBox::SetSorted(bool value)
{
    if (value == m_sorted)
        return;
    m_sorted = value;
    if (!value)
        return;
    const QString current = Item(currentRow());
    QStringList items = Items();
    std::stable_sort(items.begin(), items.end(), [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    for (int i = 0; i < items.size(); ++i)
        item(i)->setText(items[i]);
    if (!current.isNull())
        SetItemIndex(int(items.indexOf(current)));
}

void TWLXCustomListBox::ItemAdded(int index)
{
    if (m_largeText != TWLXListBoxLargeTextOptions::lbltHorzScrollBar)
        return;
    const int width = GetItemTextWidth(index);
    if (width > m_maxTextWidth) {
        m_maxTextWidth = width;
        Relayout();
    }
}

bool TWLXCustomListBox::RemovesWidest(int index)
{
    // Only the widest item's going away needs a full measuring (once it is gone).
    if (m_largeText != TWLXListBoxLargeTextOptions::lbltHorzScrollBar || GetItemTextWidth(index) < m_maxTextWidth)
        return false;
    horizontalScrollBar()->setValue(0);
    return true;
}

void TWLXCustomListBox::RecalcMaxTextWidth()
{
    int widest = 0;
    if (m_largeText == TWLXListBoxLargeTextOptions::lbltHorzScrollBar)
        for (int i = 0; i < count(); ++i)
            widest = std::max(widest, GetItemTextWidth(i));
    m_maxTextWidth = widest;
    Relayout();
}

void TWLXCustomListBox::Relayout()
{
    scheduleDelayedItemsLayout();
    viewport()->update();
}

void TWLXCustomListBox::SetItemIndex(int value)
{
    if (value < 0 || value >= count()) {
        clearSelection();
        setCurrentRow(-1);
        return;
    }
    if (m_multiSelect)
        setCurrentRow(value, QItemSelectionModel::NoUpdate);
    else
        setCurrentRow(value, QItemSelectionModel::ClearAndSelect);
}

bool TWLXCustomListBox::Selected(int index) const
{
    const QListWidgetItem* it = item(index);
    return it && it->isSelected();
}

void TWLXCustomListBox::SetSelected(int index, bool value)
{
    if (QListWidgetItem* it = item(index))
        it->setSelected(value);
}

int TWLXCustomListBox::SelCount() const
{
    return int(selectedItems().size());
}

int TWLXCustomListBox::TopIndex() const
{
    return count() ? indexAt(QPoint(1, 1)).row() : -1;
}

void TWLXCustomListBox::SetTopIndex(int value)
{
    if (QListWidgetItem* it = item(value))
        scrollToItem(it, PositionAtTop);
}

void TWLXCustomListBox::SetMultiSelect(bool value)
{
    if (value == m_multiSelect)
        return;
    m_multiSelect = value;
    if (value)
        m_hideSelection = false;
    UpdateSelectionMode();
}

void TWLXCustomListBox::SetExtendedSelect(bool value)
{
    if (value == m_extendedSelect)
        return;
    m_extendedSelect = value;
    UpdateSelectionMode();
}

void TWLXCustomListBox::UpdateSelectionMode()
{
    if (!m_multiSelect)
        setSelectionMode(SingleSelection);
    else
        setSelectionMode(m_extendedSelect ? ExtendedSelection : MultiSelection);
}

void TWLXCustomListBox::SetItemHeight(int value)
{
    if (value < 1 || value == m_itemHeight)
        return;
    m_itemHeight = value;
    Relayout();
}

TWLXRect TWLXCustomListBox::ItemRect(int index) const
{
    const QListWidgetItem* it = item(index);
    return it ? TWLXRect::From(visualItemRect(it)) : TWLXRect{};
}

int TWLXCustomListBox::ItemAtPos(QPoint point) const
{
    return indexAt(point).row();
}

bool TWLXCustomListBox::IsItemVisible(int index) const
{
    const TWLXRect r = ItemRect(index);
    return !r.IsEmpty() && viewport()->rect().contains(r.Left, r.Top);
}

void TWLXCustomListBox::DeleteSelected()
{
    if (m_multiSelect) {
        setUpdatesEnabled(false);
        for (int i = count() - 1; i >= 0; --i)
            if (item(i)->isSelected())
                DeleteItem(i);
        setUpdatesEnabled(true);
        return;
    }
    const int i = currentRow();
    if (i < 0)
        return;
    DeleteItem(i);
    if (count() > 0)
        SetItemIndex(i < count() ? i : i - 1);
    else
        SetItemIndex(-1);
}

QString TWLXCustomListBox::GetItemText(int index) const
{
    if (m_virtualMode)
        return OnData ? OnData(const_cast<TWLXCustomListBox*>(this), index) : QString();
    return Item(index);
}

int TWLXCustomListBox::GetItemTextWidth(int index) const
{
    TWLXRect r{0, 0, 0, 0};
    MeasureText(GetItemText(index), const_cast<TWLX3DCaption*>(&m_font3D), r, DT_EXPANDTABS, -1, false,
                false, font());
    return r.Width() + 4;
}

// ---- properties ----------------------------------------------------------------------------

void TWLXCustomListBox::UpdateStyle()
{
    if (m_virtualMode)
        m_style = TWLXListBoxStyle::lbVirtualOwnerDraw;
    else if (m_itemAutoHeight || m_measureItemEvent)
        m_style = TWLXListBoxStyle::lbOwnerDrawVariable;
    else
        m_style = TWLXListBoxStyle::lbOwnerDrawFixed;
    setUniformItemSizes(m_style != TWLXListBoxStyle::lbOwnerDrawVariable);
    if (!Loading)
        Relayout();
}

void TWLXCustomListBox::UpdateScrollBars()
{
    setVerticalScrollBarPolicy(m_verticalScrollBar ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(m_largeText == TWLXListBoxLargeTextOptions::lbltHorzScrollBar && !m_multiLine
                                     ? Qt::ScrollBarAsNeeded
                                     : Qt::ScrollBarAlwaysOff);
    // An item scrolled out to the right comes back with the bar gone.
    setHorizontalScrollMode(ScrollPerPixel);
}

void TWLXCustomListBox::UpdateViewportBackground()
{
    // Transparent: Qt shows the parent's painting under the list.
    setAutoFillBackground(false);
    viewport()->setAutoFillBackground(!m_transparent);
    QPalette pal = viewport()->palette();
    pal.setColor(QPalette::Base, TColorToQColor(isEnabled() ? m_color : m_disabledColor));
    viewport()->setPalette(pal);
    update();
}

void TWLXCustomListBox::SetMultiLine(bool value)
{
    if (value == m_multiLine)
        return;
    m_multiLine = value;
    if (value)
        m_largeText = TWLXListBoxLargeTextOptions::lbltNone;
    UpdateScrollBars();
    Relayout();
}

void TWLXCustomListBox::SetLargeTextOptions(TWLXListBoxLargeTextOptions value)
{
    if (value == m_largeText)
        return;
    m_largeText = value;
    if (value != TWLXListBoxLargeTextOptions::lbltNone)
        m_multiLine = false;
    if (value != TWLXListBoxLargeTextOptions::lbltShowHint)
        HideItemHint();
    m_maxTextWidth = 0;
    UpdateScrollBars();
    RecalcMaxTextWidth();
}

void TWLXCustomListBox::SetTransparent(bool value)
{
    if (value == m_transparent)
        return;
    m_transparent = value;
    UpdateViewportBackground();
}

void TWLXCustomListBox::SetVerticalScrollBar(bool value)
{
    if (value == m_verticalScrollBar)
        return;
    m_verticalScrollBar = value;
    UpdateScrollBars();
}

void TWLXCustomListBox::SetFlat(bool value)
{
    if (value == m_flat)
        return;
    m_flat = value;
    update();
}

void TWLXCustomListBox::SetHideFocus(bool value)
{
    if (value != m_hideFocus) {
        m_hideFocus = value;
        Invalidate();
    }
}

void TWLXCustomListBox::SetHorzGridLine(bool value)
{
    if (value != m_horzGridLine) {
        m_horzGridLine = value;
        Invalidate();
    }
}

void TWLXCustomListBox::SetColor(int32_t value)
{
    if (value != m_color) {
        m_color = value;
        UpdateViewportBackground();
    }
}

void TWLXCustomListBox::SetDisabledColor(int32_t value)
{
    if (value != m_disabledColor) {
        m_disabledColor = value;
        UpdateViewportBackground();
    }
}

void TWLXCustomListBox::SetSelectedColor(int32_t value)
{
    if (value != m_selectedColor) {
        m_selectedColor = value;
        if (!DesignMode)
            Invalidate();
    }
}

void TWLXCustomListBox::SetSelectedFontColor(int32_t value)
{
    if (value != m_selectedFontColor) {
        m_selectedFontColor = value;
        if (!DesignMode)
            Invalidate();
    }
}

void TWLXCustomListBox::SetSelectedFontStyle(uint8_t value)
{
    if (value != m_selectedFontStyle) {
        m_selectedFontStyle = value;
        if (!DesignMode)
            Invalidate();
    }
}

void TWLXCustomListBox::SetHorzGridColor(int32_t value)
{
    if (value != m_horzGridColor) {
        m_horzGridColor = value;
        Invalidate();
    }
}

void TWLXCustomListBox::SetHorzGridStyle(Qt::PenStyle value)
{
    if (value != m_horzGridStyle) {
        m_horzGridStyle = value;
        Invalidate();
    }
}

void TWLXCustomListBox::SetHideSelection(bool value)
{
    // A multi-select list always shows its selection.
    const bool effective = value && !m_multiSelect;
    if (effective == m_hideSelection)
        return;
    m_hideSelection = effective;
    Invalidate();
}

void TWLXCustomListBox::SetCtlXP(bool value)
{
    if (value == m_ctlXP)
        return;
    m_ctlXP = value;
    setLineWidth(UseThemes() ? 1 : 2);
    update();
}

bool TWLXCustomListBox::UseThemes() const
{
    return Application().UseThemes() && m_ctlXP;
}

void TWLXCustomListBox::SetMargin(int value)
{
    value = std::clamp(value, 0, 255);
    if (value == m_margin)
        return;
    m_margin = value;
    Relayout();
}

void TWLXCustomListBox::SetVirtualMode(bool value)
{
    if (value == m_virtualMode)
        return;
    m_virtualMode = value;
    if (value)
        HideEditor();
    UpdateStyle();
}

void TWLXCustomListBox::SetItemAutoHeight(bool value)
{
    if (value == m_itemAutoHeight)
        return;
    m_itemAutoHeight = value;
    UpdateStyle();
}

void TWLXCustomListBox::SetMeasureItemEvent(bool value)
{
    if (value == m_measureItemEvent)
        return;
    m_measureItemEvent = value;
    UpdateStyle();
}

void TWLXCustomListBox::SetBeveledFocus(bool value)
{
    if (value == m_beveledFocus)
        return;
    m_beveledFocus = value;
    if (!Loading && hasFocus())
        Invalidate();
}

void TWLXCustomListBox::SetBevelFocusColor(int index, int32_t value)
{
    if (index < 0 || index > 1 || value == m_bevelFocusColors[index])
        return;
    m_bevelFocusColors[index] = value;
    if (m_beveledFocus && hasFocus())
        Invalidate();
}

void TWLXCustomListBox::SetEditOptions(uint8_t value)
{
    if (value == m_editOptions)
        return;
    m_editOptions = value;
    if (DesignMode)
        HideEditor();
}

// ---- painting ------------------------------------------------------------------------------

unsigned TWLXCustomListBox::BiDiFlags(unsigned flags) const
{
    return layoutDirection() == Qt::RightToLeft ? flags | DT_RIGHT : flags;
}

TWLXRect TWLXCustomListBox::TextRect(const TWLXRect& rect) const
{
    return {rect.Left + m_margin, rect.Top, rect.Right - m_margin, rect.Bottom - 1};
}

void TWLXCustomListBox::PaintItem(QPainter& painter, const QStyleOptionViewItem& option, int index)
{
    TCanvas canvas(&painter);
    canvas.Font = font();
    canvas.FontColor = QColorToTColor(palette().color(QPalette::Text));
    const bool enabled = isEnabled();
    bool hideFocus = m_hideFocus;
    int32_t selColor = m_selectedColor;
    int32_t brush = m_color;
    if (enabled) {
        if (m_hideSelection && !hasFocus())
            selColor = clNone;
    } else {
        brush = m_disabledColor;
        hideFocus = true;
        selColor = clNone;
    }
    unsigned state = 0;
    if (option.state & QStyle::State_Selected)
        state |= odSelected;
    if (option.state & QStyle::State_HasFocus)
        state |= odFocused;
    if (!enabled)
        state |= odDisabled;
    if (count() == 0)
        index = -1;

    TWLXRect rect = TWLXRect::From(option.rect);
    const bool selected = (state & odSelected) && selColor != clNone;
    if (selected) {
        brush = m_selectedColor;
        canvas.FontColor = m_selectedFontColor;
        canvas.Font = WithStyle(canvas.Font, m_selectedFontStyle);
    }
    // A transparent list shows the parent under its unselected items.
    if (selected || !m_transparent)
        FillSolid(canvas, rect, brush);
    canvas.Brush.Color = brush;

    if (index >= 0) {
        TWLXRect itemRect = rect;
        if (width() < m_maxTextWidth)
            itemRect.Right = std::max(itemRect.Right, m_maxTextWidth + 2 * m_margin);
        DrawItem(canvas, index, itemRect, state);
    }
    if (m_horzGridLine) {
        painter.setPen(QPen(TColorToQColor(m_horzGridColor), 1, m_horzGridStyle));
        painter.drawLine(rect.Left, rect.Bottom - 1, rect.Right, rect.Bottom - 1);
    }
    if ((state & odFocused) && !hideFocus) {
        painter.setRenderHint(QPainter::Antialiasing, false);
        if (m_beveledFocus) {
            painter.setPen(QPen(TColorToQColor(m_bevelFocusColors[1]), 1));
            painter.drawLine(rect.Left, rect.Bottom - 1, rect.Left, rect.Top);
            painter.drawLine(rect.Left, rect.Top, rect.Right - 1, rect.Top);
            painter.setPen(QPen(TColorToQColor(m_bevelFocusColors[0]), 1));
            painter.drawLine(rect.Right - 1, rect.Top, rect.Right - 1, rect.Bottom - 1);
            painter.drawLine(rect.Right - 1, rect.Bottom - 1, rect.Left, rect.Bottom - 1);
        } else {
            // The dotted focus rectangle, drawn so that it shows on any background.
            QPen pen(TColorToQColor(brush == clNone ? clWindow : brush).rgb() ^ 0xFFFFFF);
            pen.setStyle(Qt::DotLine);
            painter.setPen(pen);
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(rect.Left, rect.Top, rect.Width() - 1, rect.Height() - 1);
        }
    }
}

void TWLXCustomListBox::DrawItem(TCanvas& canvas, int index, const TWLXRect& rect, unsigned state)
{
    const TWLXRect textRect = TextRect(rect);
    if (OnDrawItem) {
        OnDrawItem(this, canvas, index, textRect, state);
        return;
    }
    unsigned flags = BiDiFlags(DT_NOPREFIX | DT_VCENTER);
    flags |= m_multiLine ? DT_WORDBREAK : DT_SINGLELINE;
    if (m_largeText == TWLXListBoxLargeTextOptions::lbltEndEllipsis)
        flags |= DT_END_ELLIPSIS;
    else if (m_largeText == TWLXListBoxLargeTextOptions::lbltPathEllipsis)
        flags |= DT_PATH_ELLIPSIS;
    DrawEffectText(canvas, GetItemText(index), &m_font3D, nullptr, isEnabled() ? kTextEnabled : 0, flags,
                   textRect);
}

void TWLXCustomListBox::MeasureItem(int index, int& height)
{
    if (OnMeasureItem)
        OnMeasureItem(this, index, height);
    if (index == -1 || !m_itemAutoHeight)
        return;
    TWLXRect r{0, 0, viewport()->width(), 0};
    if (m_multiLine)
        MeasureText(GetItemText(index), &m_font3D, r, DT_WORDBREAK | DT_EXPANDTABS, -1, true, false, font());
    else
        MeasureText(QStringLiteral("Wq"), &m_font3D, r, DT_EXPANDTABS, -1, false, false, font());
    if (height < r.Bottom)
        height = r.Bottom + 1;
}

void TWLXCustomListBox::PaintFrame(QPainter& painter)
{
    TCanvas canvas(&painter);
    const TWLXRect whole{0, 0, width(), height()};
    const int w = frameWidth();
    if (w <= 0)
        return;
    if (UseThemes()) {
        FrameRect(canvas, whole, hasFocus() ? clHighlight : m_mouseAbove ? clBtnShadow : clGray);
        return;
    }
    if (!m_flat || hasFocus() || m_mouseAbove) {
        TWLXRect r = whole;
        DrawEdge(canvas, r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
        DrawEdge(canvas, r, BDR_SUNKENINNER, BF_RECT | BF_ADJUST);
        return;
    }
    // Flat and inactive: the border disappears in the list's colour (or the parent's painting).
    if (m_transparent)
        return;
    const int32_t color = isEnabled() ? m_color : m_disabledColor;
    FillSolid(canvas, {0, 0, width(), w}, color);
    FillSolid(canvas, {0, height() - w, width(), height()}, color);
    FillSolid(canvas, {0, 0, w, height()}, color);
    FillSolid(canvas, {width() - w, 0, width(), height()}, color);
}

// ---- events --------------------------------------------------------------------------------

bool TWLXCustomListBox::event(QEvent* event)
{
    if (event->type() == QEvent::Paint) {
        QPainter painter(this);
        PaintFrame(painter);
        return true;
    }
    if (event->type() == ThemeChangedEvent()) {
        setLineWidth(UseThemes() ? 1 : 2);
        update();
        return true;
    }
    return QListWidget::event(event);
}

bool TWLXCustomListBox::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::Leave)
        HideItemHint();
    return QListWidget::viewportEvent(event);
}

void TWLXCustomListBox::keyPressEvent(QKeyEvent* event)
{
    HideItemHint();
    const int key = event->key();
    if (key == Qt::Key_Insert && (m_editOptions & lboAllowInsert)) {
        ShowEditor(true, currentRow() + ((event->modifiers() & Qt::ControlModifier) ? 1 : 0));
        return;
    }
    if (key == Qt::Key_Delete && (m_editOptions & lboAllowDelete)) {
        ++m_userInput;
        DeleteSelected();
        --m_userInput;
        return;
    }
    if (key == Qt::Key_F2 && (m_editOptions & lboAllowEdit)) {
        ShowEditor(false, -1);
        return;
    }
    ++m_userInput;
    QListWidget::keyPressEvent(event);
    --m_userInput;
}

void TWLXCustomListBox::mousePressEvent(QMouseEvent* event)
{
    ++m_userInput;
    QListWidget::mousePressEvent(event);
    --m_userInput;
    HideItemHint();
}

void TWLXCustomListBox::mouseMoveEvent(QMouseEvent* event)
{
    ++m_userInput;
    QListWidget::mouseMoveEvent(event);
    --m_userInput;
    UpdateItemHint(event->position().toPoint());
}

void TWLXCustomListBox::mouseReleaseEvent(QMouseEvent* event)
{
    ++m_userInput;
    QListWidget::mouseReleaseEvent(event);
    --m_userInput;
}

void TWLXCustomListBox::resizeEvent(QResizeEvent* event)
{
    QListWidget::resizeEvent(event);
    HideEditor();
    if (m_itemAutoHeight && m_multiLine)
        Relayout();
    else if (m_largeText == TWLXListBoxLargeTextOptions::lbltEndEllipsis ||
             m_largeText == TWLXListBoxLargeTextOptions::lbltPathEllipsis)
        Invalidate();
}

void TWLXCustomListBox::changeEvent(QEvent* event)
{
    QListWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange) {
        HideItemHint();
        UpdateViewportBackground();
    } else if (event->type() == QEvent::FontChange) {
        RecalcMaxTextWidth();
    }
}

void TWLXCustomListBox::focusInEvent(QFocusEvent* event)
{
    QListWidget::focusInEvent(event);
    update();
}

void TWLXCustomListBox::focusOutEvent(QFocusEvent* event)
{
    QListWidget::focusOutEvent(event);
    update();
    if (m_hideSelection)
        Invalidate();
}

void TWLXCustomListBox::enterEvent(QEnterEvent* event)
{
    QListWidget::enterEvent(event);
    m_mouseAbove = true;
    if (m_flat)
        update();
}

void TWLXCustomListBox::leaveEvent(QEvent* event)
{
    QListWidget::leaveEvent(event);
    m_mouseAbove = false;
    HideItemHint();
    if (m_flat)
        update();
}

// ---- long-item hint ------------------------------------------------------------------------

void TWLXCustomListBox::UpdateItemHint(QPoint point)
{
    if (m_largeText != TWLXListBoxLargeTextOptions::lbltShowHint || DesignMode || m_editor)
        return;
    const int index = viewport()->rect().contains(point) ? ItemAtPos(point) : -1;
    // The current or a selected item never gets a hint, nor one that fits.
    if (index < 0 || index == currentRow() || (m_multiSelect && Selected(index))) {
        HideItemHint();
        return;
    }
    const TWLXRect r = ItemRect(index);
    if (GetItemTextWidth(index) < r.Width()) {
        HideItemHint();
        return;
    }
    const QString text = GetItemText(index);
    const QPoint at = viewport()->mapToGlobal(QPoint(r.Left, r.Top));
    if (!ItemHintShowing() || m_hint->y() != at.y()) {
        if (!m_hint) {
            m_hint = new QLabel(this, Qt::ToolTip | Qt::FramelessWindowHint);
            m_hint->setPalette(QToolTip::palette());
            m_hint->setAutoFillBackground(true);
            m_hint->setFrameStyle(QFrame::Box | QFrame::Plain);
            m_hint->setMargin(1);
        }
        m_hint->setFont(font());
        m_hint->setText(text);
        m_hint->setWordWrap(false);
        m_hint->adjustSize();
        if (parentWidget() && m_hint->width() > parentWidget()->width()) {
            m_hint->setWordWrap(true);
            m_hint->setFixedWidth(parentWidget()->width());
            m_hint->adjustSize();
        }
        m_hint->move(at);
        m_hint->show();
        m_hintItem = index;
    } else if (m_hint->text() != text) {
        HideItemHint();
    }
}

bool TWLXCustomListBox::ItemHintShowing() const
{
    return m_hint && m_hint->isVisible();
}

QString TWLXCustomListBox::ItemHintText() const
{
    return ItemHintShowing() ? m_hint->text() : QString();
}

void TWLXCustomListBox::HideItemHint()
{
    if (m_hint) {
        m_hint->hide();
        m_hint->setMinimumWidth(0);
        m_hint->setMaximumWidth(QWIDGETSIZE_MAX);
    }
    m_hintItem = -1;
}
