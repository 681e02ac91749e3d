#pragma once
// The edit-mask language of the mask edit: every mask item is an input position of a character
// class or a literal ("\" before a character); "!" before an item makes it required. The blank
// text shows the blank character at each input position and the literal at each literal one.

#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

// Decides a position of class "r": (0-based position, character) → accepted.
using TWLXMaskCheck = std::function<bool(int position, QChar ch)>;

class TWLXEditMask {
public:
    explicit TWLXEditMask(const QString& mask = QString());

    int Size() const { return int(m_items.size()); }
    bool IsLiteral(int position) const;
    bool IsRequired(int position) const;
    QString BlankText(QChar blank) const;
    // Whether the class of the 0-based position accepts c (the blank character always).
    bool Accepts(int position, QChar c, QChar blank, const TWLXMaskCheck& check) const;
    // Not longer than the blank text and every character accepted at its position.
    bool Passes(const QString& text, QChar blank, const TWLXMaskCheck& check) const;
    // The blank text of positions [from, from + count).
    QString BlankRange(int from, int count, QChar blank) const;
    // The first required position whose character is not accepted (a missing one counts as the
    // blank character); -1 when there is none.
    int FirstMissingRequired(const QString& text, QChar blank, const TWLXMaskCheck& check) const;

private:
    // A class position, a literal, a position that takes only its own character, or one that
    // takes nothing but the blank character.
    enum class Kind : uint8_t { Class, Literal, Own, Nothing };
    struct Item {
        Kind kind = Kind::Nothing;
        QChar ch;         // the class character, the literal or the own character
        bool required = false;
    };
    std::vector<Item> m_items;
};
