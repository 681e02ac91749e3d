#pragma once
// The library's combo box: Qt's combo box with a flat border that shows the normal one while the
// mouse is above or it has the focus, a section of most recently chosen items at the top of the
// list, an incremental search that completes the typed text with the first matching item after a
// pause, and a focus hand-over to another control once an item is chosen.

#include "widgets/WLXObject.h"

#include <QComboBox>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QTimer>

// Stored in form data: keep the order.
enum class TWLXComboStyle : uint8_t { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

class TWLXCustomComboBox;

// Draws the items: the item text (or what a derived box draws) and the line under the last
// most-recently-used entry; items are ItemHeight high (4 more with the MRU section).
class TWLXComboItemDelegate : public QStyledItemDelegate {
public:
    explicit TWLXComboItemDelegate(TWLXCustomComboBox* box);
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    TWLXCustomComboBox* m_box;
};

class TWLXCustomComboBox : public QComboBox {
public:
    explicit TWLXCustomComboBox(QWidget* parent = nullptr);
    ~TWLXCustomComboBox() override;

    QString About;
    TWLXComboStyle Style() const { return m_style; }
    void SetStyle(TWLXComboStyle value);
    bool Sorted() const { return m_sorted; }
    void SetSorted(bool value);
    // Adds an item, in order when Sorted.
    int AddItem(const QString& text, const QVariant& data = QVariant());
    int ItemHeight() const { return m_itemHeight; }
    void SetItemHeight(int value);
    // -1: no current item; an index outside the items also leaves none.
    int ItemIndex() const { return currentIndex(); }
    void SetItemIndex(int value) { setCurrentIndex(value >= 0 && value < count() ? value : -1); }
    QString Text() const { return currentText(); }
    void SetText(const QString& value);

    // 0 Flat, 1 MRUList.
    void SetBooleanProp(int index, bool value);
    // 0 DropDownWidth, 1 MRUMax.
    void SetIntegerProp(int index, int value);
    bool Flat() const { return m_flat; }
    void SetFlat(bool value) { SetBooleanProp(0, value); }
    bool MRUList() const { return m_mruList; }
    void SetMRUList(bool value) { SetBooleanProp(1, value); }
    int DropDownWidth() const { return m_dropDownWidth; }
    void SetDropDownWidth(int value) { SetIntegerProp(0, value); }
    int MRUMax() const { return m_mruMax; }
    void SetMRUMax(int value) { SetIntegerProp(1, value); }
    int MRUCount() const { return m_mruCount; }
    bool Search() const { return m_search; }
    // The search needs a sorted list: Sorted is switched on.
    void SetSearch(bool value);
    int Interval = 1500;
    bool UseGlobalTimer = false;
    QWidget* FocusControl() const { return m_focusControl; }
    void SetFocusControl(QWidget* value) { m_focusControl = value; }

    TNotifyEvent OnSelect, OnChange, OnEditClick;

    // The user chose the item at index (the list's choice or Enter).
    void Choose(int index);
    // The pause after typing ended: complete with the first item starting with the text.
    void SearchTimerFired();
    const QTimer* SearchTimer() const { return m_searchTimer; }
    bool KeyNavigation() const { return m_keyNavigation; }

protected:
    virtual void DoSelect() { if (OnSelect) OnSelect(this); }
    // Draws one item; the base draws its text at left + 2.
    virtual void DrawItem(QPainter& painter, const QStyleOptionViewItem& option, int index) const;
    // The height of an item of the variable style (given ItemHeight); nothing to add here.
    virtual void MeasureItem(int index, int& height) const { Q_UNUSED(index); Q_UNUSED(height); }
    virtual void Change();
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool m_blockChange = false;

private:
    friend class TWLXComboItemDelegate;
    void UpdateFrame();
    void HandOverFocus();
    void FreeSearchTimer();

    TWLXComboStyle m_style = TWLXComboStyle::csDropDown;
    bool m_sorted = false;
    int m_itemHeight = 0;
    bool m_flat = false;
    bool m_mouseAbove = false;
    bool m_mruList = false;
    int m_mruMax = 5;
    int m_mruCount = 0;
    int m_dropDownWidth = 0;
    bool m_search = false;
    bool m_keyNavigation = false;
    QTimer* m_searchTimer = nullptr;
    QPointer<QWidget> m_focusControl;
};

class TWLXComboBox : public TWLXCustomComboBox {
public:
    using TWLXCustomComboBox::TWLXCustomComboBox;
};
