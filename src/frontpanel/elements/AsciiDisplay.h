#pragma once
// The character display of the front panel: a read-only text area like a terminal, to which
// its component appends one character at a time. A few control codes edit the text (8 deletes
// the last character, 13 starts a new line, 18 clears, 7 beeps, 10 is ignored); at most 500
// lines are kept, the oldest going first.

#include "frontpanel/elements/TextAreaElement.h"

#include <cstdint>

class TWLXMemo;

class TASCII_Display : public TTextAreaElement {
public:
    FP_CLASS_NAME(TASCII_Display)

    static constexpr int kMaxLines = 500;

    explicit TASCII_Display(QWidget* owner = nullptr);

    TWLXMemo* Memo = nullptr;

    // Appends character code c (Windows-1252) or carries out its control code.
    void PutChar(uint8_t c);
    // The lines of the text.
    int LineCount() const;

    void WriteWebElement(QStringList& lines) override;
};
