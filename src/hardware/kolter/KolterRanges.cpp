#include "hardware/kolter/KolterRanges.h"

#include "hardware/framework/IoPort.h"

namespace {

struct TRange {
    const char* text;
    Extended min, max;
};

constexpr TRange kRanges[] = {
    {"+/- 10,0 V", -10.0L, 10.0L}, {"0...10,0 V", 0.0L, 10.0L}, {"+/-  5,0 V", -5.0L, 5.0L},
    {"0 .. 5,0 V", 0.0L, 5.0L},    {"0 .. 2,5 V", 0.0L, 2.5L},  {"0 .. 25 mA (Shunt)", 0.0L, 25.0L},
};

} // namespace

const QStringList& KolterRangeList()
{
    static const QStringList list = [] {
        QStringList texts;
        for (const TRange& range : kRanges)
            texts << QString::fromLatin1(range.text);
        return texts;
    }();
    return list;
}

void SetKolterRange(TIOPort& port, int r)
{
    const TRange& range = kRanges[r >= 0 && r < 6 ? r : 0];
    for (auto& pin : port.Pins) {
        pin->Min = range.min;
        pin->Max = range.max;
        pin->RawMin = 0;
        pin->RawMax = 65535;
    }
}
