#pragma once

class TClassRegistry;

// Program start, e-mail, hotkey sender and the window message to another program.
void RegisterSystemComponents(TClassRegistry& registry);
