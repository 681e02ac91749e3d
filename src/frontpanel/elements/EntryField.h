#pragma once
// What the numeric and the text input of the front panel share: a one-line edit with an
// accept button at its right. Enter, the button and leaving the edit accept what stands in the
// edit; while the operator types, the edit shows the inverse of its text colour, so that an
// entry not yet accepted stands out. The stream record, the published form and the snapshot's
// image map are the same for both; the value itself (a number or a text) is the class's.

#include "frontpanel/FP_Element.h"
#include "widgets/Edit.h"

#include <QStringList>

#include <cstdint>
#include <functional>

class TEntryField;
class TPropScrollbox;
class TWLXSpeedButton;

// The edit of an entry field: passes Enter, the other keys, leaving and the double click to
// its element.
class TEntryEdit : public TWLXEdit {
public:
    explicit TEntryEdit(TEntryField* owner);
    // The element is going: nothing is passed on any more.
    void Detach() { m_owner = nullptr; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    TEntryField* m_owner;
};

class TEntryField : public TFP_Element {
public:
    explicit TEntryField(QWidget* owner = nullptr);
    ~TEntryField() override;

    // Fired after every accepted value; the handler reads the value from the element.
    std::function<void()> OnSetWert;
    int32_t ZeichenFarbe = 0xFFFF00;  // RGB (0, 255, 255)
    TEntryEdit* Edit = nullptr;
    TWLXSpeedButton* AcceptButton = nullptr;
    QStringList ActionNames;

    // Takes what the edit shows as the value and announces it.
    virtual void AcceptInput() = 0;
    // A key that changes the text (a character, Backspace, Delete) went down in the edit,
    // before the edit handles it. Enter is not passed.
    virtual void EditKeyDown() {}
    // The text the edit shows.
    QString EditText() const;
    void SetEditText(const QString& text);
    // True from the operator's first change of the text until the next accept.
    bool Editing() const { return m_editing; }

    void WriteElementData(TWriter& writer) override;
    void ReadElementData(TReader& reader, uint8_t version) override;
    void SetHintergrundFarbe(int32_t color) override;
    void WriteWebElement(QStringList& lines) override;
    void WriteWebSnapshot(QStringList& lines) override;
    void WriteWebImageMap(QStringList& lines) override;

    // Called by the edit.
    void EditTextChanged();
    void EditLeft();

protected:
    // The start value in the stream (after width and height).
    virtual void WriteVorgabe(TWriter& writer) = 0;
    virtual void ReadVorgabe(TReader& reader) = 0;
    // After reading: the edit shows the start value.
    virtual void ShowVorgabe() = 0;
    // Fires OnSetWert when bound.
    void FireSetWert();
    // The edit back in its colours (background, text colour); repaints.
    void ShowAccepted();
    virtual void HotkeyAction(int32_t action) = 0;
    // The colour rows, the hotkey rows and the options of the settings dialog around the
    // start value row that `addVorgabeRow` adds; on OK the edit takes the colours. Returns
    // the modal result.
    int RunPropertyDialog(int helpContext, const std::function<void(TPropScrollbox&)>& addVorgabeRow);

    void resizeEvent(QResizeEvent* event) override;

private:
    void ApplyEditColors(int32_t background, int32_t text);
    bool m_editing = false;
};
