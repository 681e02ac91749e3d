#pragma once

class TClassRegistry;

// The Kolter modules on COM and USB handshake lines, in palette order.
void RegisterKolterDevices(TClassRegistry& registry);
