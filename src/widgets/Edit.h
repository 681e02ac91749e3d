#pragma once
// The single-line edit: the base edit with caret placement and horizontal scrolling, hit
// testing, drawing of the text and its selection, a password character, automatic height, a row
// of custom buttons at the right edge and the auto-complete link.

#include "widgets/AutoComplete.h"
#include "widgets/BaseEdit.h"
#include "widgets/ButtonGlyph.h"
#include "widgets/SpecialButtons.h"

#include <QPointer>
#include <memory>
#include <vector>

using TWLXOnBtnClick = std::function<void(void* sender, void* button, int index)>;

class TWLXCustomEdit : public TWLXBaseEdit {
public:
    explicit TWLXCustomEdit(QWidget* parent = nullptr);
    ~TWLXCustomEdit() override;

    QChar PasswordChar() const { return m_passwordChar; }
    void SetPasswordChar(QChar value);
    QString DisplayText() const { return m_display; }
    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool value);
    TWLXSpecialButtons& CustomButtons() { return m_buttons; }
    int CustomButtonWidth() const { return m_buttonWidth; }
    void SetCustomButtonWidth(int value);
    TWLXUserButtonStyle CustomButtonsStyle() const { return m_buttonStyle; }
    void SetCustomButtonsStyle(TWLXUserButtonStyle value);
    TWLXEditAutoComplete* AutoComplete() const { return m_autoComplete; }
    void SetAutoComplete(TWLXEditAutoComplete* value) { m_autoComplete = value; }
    TWLXOnBtnClick OnBtnClick;

    void UpdateAutoSize();
    // The height AutoSize gives: the font's text height with room for the frame.
    int AutoHeight() const;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    void DoButtonClick(void* button, int index);
    // Lays the custom buttons out at the right of the text area.
    void LayoutButtons();
    // The x where the display text starts (alignment and scrolling not yet applied).
    int TextStartX() const;
    int TextWidth(int count) const;
    void ProcessKey(int& key) override;
    void Paint(TCanvas& canvas) override;

protected:
    void TextAssigned() override;
    void TextChanged(int at) override;
    void AfterChange() override;
    bool BackspaceExtends() const override;
    bool CanCopy() const override { return m_passwordChar.isNull(); }
    void AdjustTextRect(TWLXRect& rect) override;
    void AfterRectsUpdated() override { LayoutButtons(); }
    int CharIndexAt(QPoint p) override;
    void UpdateCaret() override;
    void PaintText(int from) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void RebuildDisplayText();
    QChar m_passwordChar;
    QString m_display;
    bool m_autoSize = false;
    TWLXSpecialButtons m_buttons;
    int m_buttonWidth = 16;
    TWLXUserButtonStyle m_buttonStyle = TWLXUserButtonStyle::ubsIntegrated;
    QPointer<TWLXEditAutoComplete> m_autoComplete;
};

class TWLXEdit : public TWLXCustomEdit {
public:
    using TWLXCustomEdit::TWLXCustomEdit;
};
