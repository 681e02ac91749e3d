#include "hardware/usbio/NumberedPins.h"

#include "platform/Context.h"

void AddNumberedPins(TIOPort& port, int32_t count, const char* prefix, const char* german,
                     const char* english, const char* french, Extended max, bool configurable,
                     int32_t first)
{
    port.ClearPins();
    const QString description = Lang3Q(german, english, french);
    for (int32_t n = first; n < first + count; ++n)
        port.AddPin(description + QString::number(n), QLatin1String(prefix) + QString::number(n),
                    0.0L, max, configurable);
}
