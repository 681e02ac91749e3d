#include "components/text/TextBlock.h"

#include "components/signal/SignalSupport.h"
#include "platform/Cp1252.h"

TBTTextBlock::TBTTextBlock(const TComponentDescription& description, bool editable)
{
    Describe(description);
    SignalSupport::MakeBlock(*this, editable);
}

void TBTTextBlock::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    SignalSupport::DrawCentredMark(*this, canvas, CenterX(), CenterY() - 24, 38, SymbolCaption());
}

namespace TextRules {

QString Trim(const QString& text, bool left, bool right)
{
    qsizetype first = 0;
    qsizetype end = text.size();
    if (left)
        while (first < end && text[first].unicode() <= 32)
            ++first;
    if (right)
        while (end > first && text[end - 1].unicode() <= 32)
            --end;
    return text.mid(first, end - first);
}

QString ChangeCase(const QString& text, bool upper)
{
    QString result = text;
    const char16_t from = upper ? u'a' : u'A';
    for (QChar& c : result)
        if (c.unicode() >= from && c.unicode() <= from + 25)
            c = QChar(upper ? c.unicode() - 32 : c.unicode() + 32);
    return result;
}

QString CharacterOf(int code)
{
    const char byte = static_cast<char>(code & 0xFF);
    return FromCp1252(&byte, 1);
}

int CodeOf(const QString& text)
{
    if (text.isEmpty())
        return 0;
    return static_cast<uint8_t>(ToCp1252(text.left(1)).at(0));
}

QString Replace(const QString& text, const QString& oldText, const QString& newText, bool all,
                bool caseSensitive)
{
    if (oldText.isEmpty())
        return text;
    const Qt::CaseSensitivity cs = caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    QString result = text;
    if (all)
        return result.replace(oldText, newText, cs);
    const qsizetype at = result.indexOf(oldText, 0, cs);
    if (at >= 0)
        result.replace(at, oldText.size(), newText);
    return result;
}

QStringList Split(const QString& text, QChar separator, int n)
{
    QStringList parts;
    QString rest = text;
    for (int k = 0; k < n; ++k) {
        const qsizetype at = rest.indexOf(separator);
        if (at < 0) {
            parts << rest;
            rest.clear();
        } else {
            parts << rest.left(at);
            rest = rest.mid(at + 1);
        }
    }
    if (!rest.isEmpty() && n > 0)
        parts.back() += separator + rest;
    return parts;
}

} // namespace TextRules
