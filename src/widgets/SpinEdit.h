#pragma once
// The integer spin edit: the library's single-line edit with a spin button at its right edge,
// stepping by `LineSize` (arrows, keys, wheel) and `PageSize` (Page Up/Down) between `MinValue`
// and `MaxValue`; leaving the field clamps what was typed. Custom buttons stand left of the spin
// button.

#include "widgets/Edit.h"
#include "widgets/SpinButton.h"
#include "widgets/WLXObject.h"

class TWLXCustomSpinEdit : public TWLXCustomEdit {
public:
    explicit TWLXCustomSpinEdit(QWidget* parent = nullptr);

    // 0 LineSize, 1 PageSize, 2 MinValue, 3 MaxValue, 4 Value; other indexes read 0.
    int GetIntegerProp(int index) const;
    void SetIntegerProp(int index, int value);
    int LineSize() const { return GetIntegerProp(0); }
    int PageSize() const { return GetIntegerProp(1); }
    int MinValue() const { return GetIntegerProp(2); }
    int MaxValue() const { return GetIntegerProp(3); }
    int Value() const { return GetIntegerProp(4); }
    void SetLineSize(int v) { SetIntegerProp(0, v); }
    void SetPageSize(int v) { SetIntegerProp(1, v); }
    void SetMinValue(int v) { SetIntegerProp(2, v); }
    void SetMaxValue(int v) { SetIntegerProp(3, v); }
    void SetValue(int v) { SetIntegerProp(4, v); }

    QString Suffix() const { return m_suffix; }
    void SetSuffix(const QString& value);
    // Typing allowed; stepping works either way.
    bool EditorEnabled = true;
    int SpinBtnWidth() const { return m_spinBtnWidth; }
    void SetSpinBtnWidth(int value);   // -1: as wide as the text area is high
    TWLXSpinButton* SpinButton() const { return m_spin; }

    TNotifyEvent OnSpinBtnUpClick, OnSpinBtnDownClick;

    // "BorderStyle" of older form data: "bsSingle" gives the sunken edit frame, any other none.
    void ReadLegacyBorderStyle(const QString& identifier);

    void StepUp(double step);
    void StepDown(double step);

protected:
    bool CanEdit(const QString& text) const override;
    void AdjustTextRect(TWLXRect& rect) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    int TextValue() const;
    void WriteValue(int value);
    void SetClampedValue(double value);

    TWLXSpinButton* m_spin;
    QString m_suffix;
    int m_spinBtnWidth = -1;
    double m_value = 0;
    double m_lineStep = 1;
    double m_pageStep = 10;
    double m_min = 0;
    double m_max = 100;
};

class TWLXSpinEdit : public TWLXCustomSpinEdit {
public:
    using TWLXCustomSpinEdit::TWLXCustomSpinEdit;
};
