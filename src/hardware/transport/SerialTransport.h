#pragma once
// The Modbus RTU devices' byte stream on the serial-port driver: a COM number's shared port
// object from the COM table, set to the device's line settings.

#include "hardware/transport/ByteTransport.h"

// Installs the opener the RTU devices ask for their port (once, at start-up).
void InstallSerialTransport();
// Opens (or shares) COM com with the line settings; nullptr when the port cannot be opened or
// refuses the settings.
std::shared_ptr<IByteTransport> OpenSerialTransport(int32_t com, const TSerialLineSettings& line);
