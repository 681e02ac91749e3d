#include "hardware/meters/MeterPort.h"

void BuildChannelPins(TIOPort& port, const TMultimeter& meter)
{
    port.ClearPins();
    const TMeterChannels& channels = meter.Channels();
    for (int i = 0; i < channels.Count(); ++i)
        port.AddPin(channels.Names()[i], channels.ShortNames()[i], 0.0L, 5.0L, true);
    port.AddPin(Lang3Q("Fehler", "Error", "Erreur"), QStringLiteral("ERR"), 0.0L, 5.0L, true);
    port.SetInput(true);
}

int32_t MeterType(std::span<const TMeterName> list, const QString& name)
{
    for (const TMeterName& m : list)
        if (name == QLatin1String(m.Name))
            return m.Type;
    return 0;
}

QStringList MeterNames(std::span<const TMeterName> list)
{
    QStringList names;
    for (const TMeterName& m : list)
        names << QString::fromLatin1(m.Name);
    return names;
}
