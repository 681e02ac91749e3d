#pragma once

class TElementRegistry;

// Enters the display and decor element classes.
void RegisterDisplayElements(TElementRegistry& registry);
