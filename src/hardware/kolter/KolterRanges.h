#pragma once
// The input ranges of Kolter's A/D converters, set by jumpers on the card or module: the list
// texts of the settings row and the pin range of each (raw range always 0 .. 65535).

#include <QStringList>

class TIOPort;

// "+/- 10,0 V" .. "0 .. 25 mA (Shunt)", indexed by the range number 0..5.
const QStringList& KolterRangeList();
// Min .. Max of every pin of port by range r (any other number is range 0) and the raw range.
void SetKolterRange(TIOPort& port, int r);
