#include "hardware/ports/LptProtocol.h"

namespace lpt {

uint8_t ControlRegister(uint8_t current, const TControlLines& lines)
{
    uint8_t control = uint8_t(current & 0xF0);
    if (!lines.AutoFeed)
        control |= 0x02;
    if (lines.Init)
        control |= 0x04;
    if (!lines.SelectIn)
        control |= 0x08;
    return control;
}

TStatusLines StatusLines(uint8_t status)
{
    TStatusLines lines;
    lines.Error = (status & 0x08) != 0;
    lines.Select = (status & 0x10) != 0;
    lines.PaperEnd = (status & 0x20) != 0;
    lines.Ack = (status & 0x40) != 0;
    lines.Busy = (status & 0x80) == 0;
    return lines;
}

} // namespace lpt
