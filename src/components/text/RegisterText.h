#pragma once

class TClassRegistry;

// Text operations, buffer, multiplexer, hold, number format, split and system information.
void RegisterTextComponents(TClassRegistry& registry);
