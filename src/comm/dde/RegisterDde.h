#pragma once

class TClassRegistry;

// The DDE server, client and poke client components, in palette order.
void RegisterDdeComponents(TClassRegistry& registry);
