// Inputs driven by text or number pins of the test's own, and outputs read from the top.
#pragma once

#include "core/model/Iobt.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class TTextInputs {
public:
    explicit TTextInputs(TIOBauteil& c) : m_c(c), m_sources(c.Inputs.size()) {}
    // "t:text" a text pin, "n:3.5" a number pin, "-" unconnected.
    TTextInputs& Set(int i, const QString& spec)
    {
        if (spec == QLatin1String("-")) {
            m_c.Inputs[size_t(i)]->SetSource(nullptr);
            return *this;
        }
        auto& pin = m_sources[size_t(i)];
        pin = std::make_unique<TBauteilPin>();
        if (spec.startsWith(QLatin1String("t:"))) {
            pin->SetName(QStringLiteral("$"));
            pin->SetPinText(spec.mid(2));
        } else {
            pin->Value = spec.mid(2).toDouble();
        }
        m_c.Inputs[size_t(i)]->SetSource(pin.get());
        return *this;
    }
    TTextInputs& SetAll(const QStringList& specs)
    {
        for (int i = 0; i < specs.size(); ++i)
            Set(i, specs[i]);
        return *this;
    }

private:
    TIOBauteil& m_c;
    std::vector<std::unique_ptr<TBauteilPin>> m_sources;
};

// Output k from the top: the text of a text pin, else the number.
inline QString OutFromTop(const TIOBauteil& c, int k)
{
    const TBauteilPin& pin = *c.Outputs[size_t(c.OutputCount - 1 - k)];
    return pin.IsStringPin() ? pin.GetPinText()
                             : QString::number(static_cast<double>(pin.Value.Get()));
}

inline QStringList OutputsFromTop(const TIOBauteil& c)
{
    QStringList out;
    for (int k = 0; k < c.OutputCount; ++k)
        out << OutFromTop(c, k);
    return out;
}
