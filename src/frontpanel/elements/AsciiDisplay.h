#pragma once
// The character display of the front panel: a read-only text area like a terminal, to which
// its component appends one character at a time. A few control codes edit the text (8 deletes
// the last character, 13 starts a new line, 18 clears, 7 beeps, 10 is ignored); at most 500
// lines are kept, the oldest going first.
// The component puts its characters in its step: they are kept and written to the text area
// at the next 50-ms tick, when the element is shown, or when the text is read.

#include "frontpanel/elements/PanelRepaint.h"
#include "frontpanel/elements/TextAreaElement.h"

#include <array>
#include <cstdint>

class TWLXMemo;

class TASCII_Display : public TTextAreaElement, public TTickRepaint {
public:
    FP_CLASS_NAME(TASCII_Display)

    static constexpr int kMaxLines = 500;

    explicit TASCII_Display(QWidget* owner = nullptr);

    TWLXMemo* Memo = nullptr;

    // Appends character code c (Windows-1252) or carries out its control code; 7 beeps at
    // once.
    void PutChar(uint8_t c);
    // The lines of the text.
    int LineCount() const;

    void ClearText() override;
    void WriteWebElement(QStringList& lines) override;
    void RepaintChanged() override { ApplyPending(); }

protected:
    void ApplyPending() const override;
    void showEvent(QShowEvent* event) override;

private:
    // Codes put but not yet written; a full buffer is written at once.
    mutable std::array<uint8_t, 256> m_pending{};
    mutable int m_pendingCount = 0;
};
