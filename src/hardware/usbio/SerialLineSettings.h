#pragma once
// The line settings of the small devices on a shared COM port.

#include "hardware/transport/ComPort.h"

// baud, 8 data bits, no parity, 1 stop bit, no power from the modem lines. A setting the open
// line refuses is kept and told when the port opens.
void SetSerial8N1(TCate& cate, TBaudRate baud);
