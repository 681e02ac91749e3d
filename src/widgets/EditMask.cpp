#include "widgets/EditMask.h"

namespace {

bool IsClass(QChar c)
{
    return QStringView(u"0981#*vAabcr").contains(c);
}

bool ClassAccepts(QChar cls, QChar c)
{
    const char16_t u = c.unicode();
    const bool digit = u >= u'0' && u <= u'9';
    const bool sign = u == u'+' || u == u'-';
    switch (cls.unicode()) {
    case u'0': return digit;
    case u'9': return digit && u != u'0';
    case u'8': return digit || u == u' ';
    case u'1': return u == u'0' || u == u'1';
    case u'#': return digit || sign;
    case u'*': return (digit && u != u'0') || sign;
    case u'v': return sign;
    case u'a': return c.isLower();
    case u'A': return c.isUpper();
    case u'b': return c.isLetter();
    case u'c': return c.isLetterOrNumber();
    default: return false;
    }
}

} // namespace

TWLXEditMask::TWLXEditMask(const QString& mask)
{
    bool required = false;
    for (int i = 0; i < mask.size(); ++i) {
        const QChar c = mask.at(i);
        if (c == u'!' && i + 1 < mask.size()) {
            required = true;
            continue;
        }
        Item item;
        item.required = required;
        required = false;
        if (c == u'\\' && i + 1 < mask.size()) {
            item.kind = Kind::Literal;
            item.ch = mask.at(++i);
        } else if (IsClass(c)) {
            item.kind = Kind::Class;
            item.ch = c;
        } else if (m_items.empty()) {
            item.kind = Kind::Nothing;
        } else if (m_items.back().kind == Kind::Literal) {
            item.kind = Kind::Own;
            item.ch = c;
        } else {
            // The class of the item before.
            item.kind = m_items.back().kind;
            item.ch = m_items.back().ch;
        }
        m_items.push_back(item);
    }
}

bool TWLXEditMask::IsLiteral(int position) const
{
    return position >= 0 && position < Size() && m_items[size_t(position)].kind == Kind::Literal;
}

bool TWLXEditMask::IsRequired(int position) const
{
    return position >= 0 && position < Size() && m_items[size_t(position)].required;
}

QString TWLXEditMask::BlankRange(int from, int count, QChar blank) const
{
    QString s;
    for (int i = from; i < from + count && i < Size(); ++i)
        s += IsLiteral(i) ? m_items[size_t(i)].ch : blank;
    return s;
}

QString TWLXEditMask::BlankText(QChar blank) const
{
    return BlankRange(0, Size(), blank);
}

bool TWLXEditMask::Accepts(int position, QChar c, QChar blank, const TWLXMaskCheck& check) const
{
    if (position < 0 || position >= Size())
        return false;
    if (c == blank)
        return true;
    const Item& item = m_items[size_t(position)];
    switch (item.kind) {
    case Kind::Literal:
    case Kind::Own: return c == item.ch;
    case Kind::Nothing: return false;
    case Kind::Class: break;
    }
    if (item.ch == u'r')
        return check && check(position, c);
    return ClassAccepts(item.ch, c);
}

bool TWLXEditMask::Passes(const QString& text, QChar blank, const TWLXMaskCheck& check) const
{
    if (text.size() > Size())
        return false;
    for (int i = 0; i < text.size(); ++i)
        if (!Accepts(i, text.at(i), blank, check))
            return false;
    return true;
}

int TWLXEditMask::FirstMissingRequired(const QString& text, QChar blank, const TWLXMaskCheck& check) const
{
    for (int i = 0; i < Size(); ++i) {
        if (!m_items[size_t(i)].required)
            continue;
        const QChar c = i < text.size() ? text.at(i) : blank;
        if (c == blank || !Accepts(i, c, blank, check))
            return i;
    }
    return -1;
}
