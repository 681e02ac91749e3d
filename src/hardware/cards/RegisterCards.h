#pragma once
// Registration of the cards: the 8255 card, the ELV converter and I/O cards, the parallel-port
// adapters, the framed serial I/O modules and the relay cards.

class TClassRegistry;

void RegisterCardDevices(TClassRegistry& registry);
