#pragma once
// The channel model every meter shares, whatever its line: the channel values (base units)
// with their long and short names and the display text, and what a meter device reads of a
// meter (the channels and whether data arrive).

#include "hardware/meters/frames/MeterText.h"

#include <QString>
#include <QStringList>
#include <vector>

class TMeterChannels {
public:
    // Count channels named "Kanal n"/"Kn"; localized: in English "Channel n"/"CHn", in French
    // "Canal n"/"CHn".
    void SetCount(int count, bool localized = true);
    int Count() const { return static_cast<int>(m_values.size()); }
    void Rename(int channel, const QString& name, const QString& shortName); // from 1
    // The value of a channel counted from 1; 0 beyond the channels. Read by every step.
    double Value(int channel) const
    {
        return channel >= 1 && channel <= Count() ? m_values[static_cast<size_t>(channel - 1)]
                                                  : 0.0;
    }
    void Zero();
    // The values a frame set (any beyond the channels are ignored).
    void Apply(const TMeterReading& reading);
    const QStringList& Names() const { return m_names; }
    const QStringList& ShortNames() const { return m_shortNames; }
    // The display as last decoded, and whether it shows an overload ("O.L").
    const QString& DisplayText() const { return m_display; }
    bool Overload() const { return m_overload; }
    void ClearDisplay();

private:
    QString m_display;
    bool m_overload = false;
    std::vector<double> m_values;
    QStringList m_names;
    QStringList m_shortNames;
};

class TMultimeter {
public:
    virtual ~TMultimeter() = default;
    TMeterChannels& Channels() { return m_channels; }
    const TMeterChannels& Channels() const { return m_channels; }
    virtual bool Receiving() const = 0;
    // 5.0 while no data arrive and while the display shows an overload, else 0.
    double ErrorValue() const { return !Receiving() || m_channels.Overload() ? 5.0 : 0.0; }

protected:
    TMeterChannels m_channels;
};
