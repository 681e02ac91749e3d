#pragma once
// The library's list box: Qt's list view with every item painted by the box itself (selection
// colours of its own, 3D text, margins, ellipsis or word wrap for long texts), optional grid
// lines under the items and a bevelled focus mark, a flat border, a hint with the full text of an
// item that does not fit, a horizontal scroll range that follows the widest item, and an
// in-place item editor (Delete, F2, Insert; ListBoxEdit.cpp).
//
// Items are plain strings; the box gives no meaning to any character in them.

#include "widgets/Caption3D.h"
#include "widgets/Frames.h"
#include "widgets/WLXObject.h"

#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QStyledItemDelegate>
#include <functional>

class QLabel;
class TCanvas;

enum TWLXListBoxEditOption : uint8_t {
    lboAllowDelete = 1, lboAllowEdit = 2, lboAllowInsert = 4, lboNo3DFrame = 8, lboSelectText = 16
};
// Stored in form data: keep the orders.
enum class TWLXListBoxLargeTextOptions : uint8_t {
    lbltNone, lbltEndEllipsis, lbltPathEllipsis, lbltHorzScrollBar, lbltShowHint
};
enum class TWLXListBoxStyle : uint8_t {
    lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable, lbVirtual, lbVirtualOwnerDraw
};
// The state of an item being drawn.
enum TWLXOwnerDrawState : unsigned { odSelected = 1, odDisabled = 4, odFocused = 16 };

class TWLXCustomListBox;

// The in-place editor: a small plain-text editor laid over the item.
class TWLXCustomListBoxEdit : public QPlainTextEdit {
public:
    explicit TWLXCustomListBoxEdit(QWidget* parent) : QPlainTextEdit(parent) {}
    // The inserted item's index + 255 while inserting, below 255 while editing an item.
    int Tag = 0;
    // Set by the list box; a key it takes is not handed to the editor.
    std::function<bool(QKeyEvent*)> OnKeyDown;
    std::function<void()> OnExit;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

class TWLXListBoxDelegate : public QStyledItemDelegate {
public:
    explicit TWLXListBoxDelegate(TWLXCustomListBox* box);
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    TWLXCustomListBox* m_box;
};

class TWLXCustomListBox : public QListWidget {
public:
    using TDrawItemEvent = std::function<void(TWLXCustomListBox* sender, TCanvas& canvas, int index,
                                              const TWLXRect& rect, unsigned state)>;
    using TMeasureItemEvent = std::function<void(void* sender, int index, int& height)>;
    using TDataEvent = std::function<QString(void* sender, int index)>;
    using TEditShowEvent = std::function<void(void* sender, int index, bool& cancel)>;
    using TEditMeasureEvent = std::function<void(void* sender, int index, int& height)>;
    using TEditChangeEvent = std::function<void(void* sender, int index)>;

    explicit TWLXCustomListBox(QWidget* parent = nullptr);
    ~TWLXCustomListBox() override;

    QString About;
    bool Loading = false;
    bool DesignMode = false;

    // ---- items and selection
    int Count() const { return count(); }
    QString Item(int index) const;
    void SetItem(int index, const QString& text);
    // Adds in order when Sorted (case ignored, after equal texts); gives the index.
    int AddItem(const QString& text);
    void InsertItem(int index, const QString& text);
    void DeleteItem(int index);
    void Clear();
    QStringList Items() const;
    void SetItems(const QStringList& items);
    // Virtual mode: the number of items whose texts OnData gives.
    void SetVirtualCount(int value);
    bool Sorted() const { return m_sorted; }
    void SetSorted(bool value);
    // -1: none. In a single-select list the current item is the selected one.
    int ItemIndex() const { return currentRow(); }
    void SetItemIndex(int value);
    bool Selected(int index) const;
    void SetSelected(int index, bool value);
    int SelCount() const;
    int TopIndex() const;
    void SetTopIndex(int value);
    bool MultiSelect() const { return m_multiSelect; }
    void SetMultiSelect(bool value);
    bool ExtendedSelect() const { return m_extendedSelect; }
    void SetExtendedSelect(bool value);
    // Fixed items are ItemHeight high; variable ones are measured.
    int ItemHeight() const { return m_itemHeight; }
    void SetItemHeight(int value);
    TWLXListBoxStyle Style() const { return m_style; }
    // Deletes the selected items (multi-select) or the current one; the current row stays where
    // it was, or moves to the new last item.
    virtual void DeleteSelected();
    // The item's rectangle in the list's client area (empty for -1 or an item out of the list).
    TWLXRect ItemRect(int index) const;
    // The item under the client point, -1 for none.
    int ItemAtPos(QPoint point) const;

    // ---- look
    bool MultiLine() const { return m_multiLine; }
    void SetMultiLine(bool value);
    TWLX3DCaption& Font3D() { return m_font3D; }
    void SetFont3D(const TWLX3DCaption& value) { m_font3D.Assign(value); }
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool value);
    bool VerticalScrollBar() const { return m_verticalScrollBar; }
    void SetVerticalScrollBar(bool value);
    bool Flat() const { return m_flat; }
    void SetFlat(bool value);
    bool HideFocus() const { return m_hideFocus; }
    void SetHideFocus(bool value);
    bool HorzGridLine() const { return m_horzGridLine; }
    void SetHorzGridLine(bool value);
    int32_t Color() const { return m_color; }
    void SetColor(int32_t value);
    int32_t DisabledColor() const { return m_disabledColor; }
    void SetDisabledColor(int32_t value);
    int32_t SelectedColor() const { return m_selectedColor; }
    void SetSelectedColor(int32_t value);
    int32_t SelectedFontColor() const { return m_selectedFontColor; }
    void SetSelectedFontColor(int32_t value);
    int32_t HorzGridColor() const { return m_horzGridColor; }
    void SetHorzGridColor(int32_t value);
    Qt::PenStyle HorzGridStyle() const { return m_horzGridStyle; }
    void SetHorzGridStyle(Qt::PenStyle value);
    // Bold, italic, underline, strike-out as the class library's font-style bits 0..3.
    uint8_t SelectedFontStyle() const { return m_selectedFontStyle; }
    void SetSelectedFontStyle(uint8_t value);
    // Never on a multi-select list.
    bool HideSelection() const { return m_hideSelection; }
    void SetHideSelection(bool value);
    bool CtlXP() const { return m_ctlXP; }
    void SetCtlXP(bool value);
    // Excludes MultiLine.
    TWLXListBoxLargeTextOptions LargeTextOptions() const { return m_largeText; }
    void SetLargeTextOptions(TWLXListBoxLargeTextOptions value);
    int Margin() const { return m_margin; }
    void SetMargin(int value);
    bool VirtualMode() const { return m_virtualMode; }
    void SetVirtualMode(bool value);
    bool ItemAutoHeight() const { return m_itemAutoHeight; }
    void SetItemAutoHeight(bool value);
    bool MeasureItemEvent() const { return m_measureItemEvent; }
    void SetMeasureItemEvent(bool value);
    bool BeveledFocus() const { return m_beveledFocus; }
    void SetBeveledFocus(bool value);
    int32_t BevelFocusLightColor() const { return m_bevelFocusColors[0]; }
    int32_t BevelFocusShadowColor() const { return m_bevelFocusColors[1]; }
    // 0 light, 1 shadow.
    void SetBevelFocusColor(int index, int32_t value);
    // Visual styles in use for the border.
    bool UseThemes() const;
    // Widest item text (with lbltHorzScrollBar), the horizontal scroll range.
    int MaxTextWidth() const { return m_maxTextWidth; }

    // ---- in-place editor
    uint8_t EditOptions() const { return m_editOptions; }
    void SetEditOptions(uint8_t value);
    TWLXCustomListBoxEdit* Editor() const { return m_editor; }
    int EditIndex() const { return m_editIndex; }
    // Opens the editor over the current item, or over a new empty item inserted at index.
    virtual void ShowEditor(bool insert, int index);
    virtual void HideEditor();

    // ---- long-item hint
    bool ItemHintShowing() const;
    QString ItemHintText() const;
    void HideItemHint();
    // What the mouse over the client point shows (done on every mouse move).
    void UpdateItemHint(QPoint point);

    virtual QString GetItemText(int index) const;
    virtual int GetItemTextWidth(int index) const;

    TNotifyEvent OnSelect, OnEditHide;
    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;
    TDataEvent OnData;
    TEditShowEvent OnEditShow;
    TEditMeasureEvent OnEditMeasure;
    TEditChangeEvent OnEditChange;

protected:
    friend class TWLXListBoxDelegate;
    // Paints one item: background, selection, DrawItem, grid line and focus mark.
    void PaintItem(QPainter& painter, const QStyleOptionViewItem& option, int index);
    // Draws the item's text (or what a derived box draws) inside rect.
    virtual void DrawItem(TCanvas& canvas, int index, const TWLXRect& rect, unsigned state);
    virtual void MeasureItem(int index, int& height);
    virtual bool CanShowEditor() const { return !m_virtualMode; }
    virtual TWLXRect GetEditRect(int index) const { return ItemRect(index); }
    virtual void DoSelect() { if (OnSelect) OnSelect(this); }
    virtual void Font3DChanged() { viewport()->update(); }
    // The text rectangle of an item rectangle: Margin off left and right, 1 off the bottom.
    TWLXRect TextRect(const TWLXRect& rect) const;
    // The DrawText flags of the bidirectional mode.
    unsigned BiDiFlags(unsigned flags) const;
    void RecalcMaxTextWidth();
    // Re-lays out the items (heights or widths changed).
    void Relayout();
    void Invalidate() { viewport()->update(); }

    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool event(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    void UpdateStyle();
    void UpdateSelectionMode();
    void UpdateScrollBars();
    void UpdateViewportBackground();
    void PaintFrame(QPainter& painter);
    void ItemAdded(int index);
    // Before the item goes: true when it is the widest (the width is measured anew after).
    bool RemovesWidest(int index);
    // The editor's keys; true when taken.
    bool EditorKeyDown(QKeyEvent* event);
    void EditorExit();
    bool IsItemVisible(int index) const;
    QListWidgetItem* NewItem(const QString& text) const;

    bool m_multiLine = false;
    TWLX3DCaption m_font3D;
    bool m_transparent = false;
    uint8_t m_editOptions = 0;
    int m_editIndex = -1;
    // The current item when the editor opened (current again after Esc on an insertion).
    int m_editReturnIndex = -1;
    bool m_verticalScrollBar = true;
    bool m_mouseAbove = false;
    bool m_flat = false;
    bool m_hideFocus = false;
    bool m_horzGridLine = false;
    int32_t m_color;
    int32_t m_disabledColor;
    int32_t m_selectedColor;
    int32_t m_selectedFontColor;
    int32_t m_horzGridColor = 0xC0C0C0;
    Qt::PenStyle m_horzGridStyle = Qt::SolidLine;
    int m_maxTextWidth = 0;
    bool m_hideSelection = false;
    bool m_ctlXP = true;
    QPointer<TWLXCustomListBoxEdit> m_editor;
    TWLXListBoxLargeTextOptions m_largeText = TWLXListBoxLargeTextOptions::lbltNone;
    int m_margin = 1;
    uint8_t m_selectedFontStyle = 0;
    QLabel* m_hint = nullptr;
    int m_hintItem = -1;
    bool m_virtualMode = false;
    bool m_itemAutoHeight = false;
    bool m_beveledFocus = false;
    int32_t m_bevelFocusColors[2] = {0xFFFFFF, 0x808080};
    bool m_measureItemEvent = false;
    TWLXListBoxStyle m_style = TWLXListBoxStyle::lbOwnerDrawFixed;
    bool m_sorted = false;
    bool m_multiSelect = false;
    bool m_extendedSelect = true;
    int m_itemHeight = 16;
    // Selection changes while this is set come from the user (OnSelect fires).
    int m_userInput = 0;
};

// Publishes the rest of the list box's properties; nothing of its own.
class TWLXExtListBox : public TWLXCustomListBox {
public:
    using TWLXCustomListBox::TWLXCustomListBox;
};
