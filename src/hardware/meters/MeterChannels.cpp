#include "hardware/meters/MeterChannels.h"

#include "platform/Context.h"

#include <algorithm>

void TMeterChannels::SetCount(int count, bool localized)
{
    m_values.assign(static_cast<size_t>(std::max(count, 0)), 0.0);
    m_names.clear();
    m_shortNames.clear();
    const int language = localized ? Ctx().CurrentLanguage : 0;
    const QString name = language == 1 ? QStringLiteral("Channel ")
                       : language == 2 ? QStringLiteral("Canal ")
                                       : QStringLiteral("Kanal ");
    const QString shortName = language == 0 ? QStringLiteral("K") : QStringLiteral("CH");
    for (int n = 1; n <= count; ++n) {
        m_names << name + QString::number(n);
        m_shortNames << shortName + QString::number(n);
    }
}

void TMeterChannels::Rename(int channel, const QString& name, const QString& shortName)
{
    if (channel < 1 || channel > Count())
        return;
    m_names[channel - 1] = name;
    m_shortNames[channel - 1] = shortName;
}

void TMeterChannels::Zero()
{
    std::fill(m_values.begin(), m_values.end(), 0.0);
}

void TMeterChannels::Apply(const TMeterReading& reading)
{
    for (size_t i = 0; i < reading.Values.size() && i < m_values.size(); ++i)
        m_values[i] = reading.Values[i];
    m_display = QString::fromStdString(reading.Display);
    // Kept as a flag, so that the step's read of "ERR" does not search the text.
    m_overload = m_display.contains(QStringLiteral("O.L"));
}

void TMeterChannels::ClearDisplay()
{
    m_display.clear();
    m_overload = false;
}
