#pragma once
// The text at a component's input, for displays that read it in every step: a text pin's own
// text, or the text of a number pin's value, formatted again only when that value changes.
// Read in every step, it copies and formats nothing while the input stays the same.

#include "platform/Types.h"

#include <QString>

class TIOBauteil;

class TInputText {
public:
    // The text of input i of c (empty when it is unconnected), as TIOBauteil::GetInputText
    // gives it.
    const QString& Of(const TIOBauteil& c, int i);

private:
    QString m_text;      // the text of m_value
    Extended m_value = 0;
    bool m_known = false;  // m_text holds the text of m_value
};
