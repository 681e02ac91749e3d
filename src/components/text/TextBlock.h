#pragma once
// What the text components share: a block without front-panel element whose symbol shows
// its caption in red while selected, and the text rules of a component step.

#include "core/model/GrundBT.h"

#include <QString>

// A text block: the description's caption centred on the body, 24 units above its centre.
class TBTTextBlock : public TGrundBT {
public:
    TV_CLASS_NAME(TBTTextBlock)
    void Paint(TCanvas& canvas) override;

    // Index of the k-th output from the top (outputs are drawn in reverse list order).
    int OutputFromTop(int k) const { return OutputCount - 1 - k; }

protected:
    TBTTextBlock(const TComponentDescription& description, bool editable);
};

namespace TextRules {
// Removes the leading (left) and trailing (right) characters with codes 0 .. 32.
QString Trim(const QString& text, bool left, bool right);
// Only the letters a..z (upper) or A..Z (lower) change.
QString ChangeCase(const QString& text, bool upper);
// The one-character text of the code's low 8 bits (code 0 included), and back: the code of
// the first character (0 for an empty text), both in the 8-bit code page of stored texts.
QString CharacterOf(int code);
int CodeOf(const QString& text);
// "$Old" replaced by "$New": every occurrence or the first; exact or ignoring case. An empty
// "$Old" leaves the text as it is.
QString Replace(const QString& text, const QString& oldText, const QString& newText, bool all,
                bool caseSensitive);
// The parts of text at the separator: n parts, the last holding the rest with its separators.
QStringList Split(const QString& text, QChar separator, int n);
} // namespace TextRules
