#include "components/panel/InputText.h"

#include "core/model/Iobt.h"
#include "platform/ValueText.h"

#include <cmath>

const QString& TInputText::Of(const TIOBauteil& c, int i)
{
    static const QString kNone;
    const TBauteilPin* source = c.Inputs[size_t(i)]->Source();
    if (!source)
        return kNone;
    if (source->IsStringPin())
        return source->GetPinText();
    const Extended v = source->Value;
    // -0 and 0 are equal as numbers but may differ as texts.
    if (!m_known || !(v == m_value) || std::signbit(v) != std::signbit(m_value)) {
        m_text = ValueToText(v);
        m_value = v;
        m_known = true;
    }
    return m_text;
}
