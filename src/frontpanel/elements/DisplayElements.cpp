#include "frontpanel/elements/DisplayElements.h"

#include "frontpanel/ElementRegistry.h"
#include "frontpanel/elements/Bars.h"
#include "frontpanel/elements/Counter.h"
#include "frontpanel/elements/Decor.h"
#include "frontpanel/elements/HexDisplay.h"
#include "frontpanel/elements/Meter.h"
#include "frontpanel/elements/NumDisplay.h"
#include "frontpanel/elements/SevenSegment.h"

void RegisterDisplayElements(TElementRegistry& registry)
{
    registry.RegisterElement<TMeter>();
    registry.RegisterElement<TLEDBAR>();
    registry.RegisterElement<TLeuchtbalken>();
    registry.RegisterElement<TCounter>();
    registry.RegisterElement<TNumDisplay>();
    registry.RegisterElement<TLEDDisplay>();
    registry.RegisterElement<TTDisplay>();
    registry.RegisterElement<THexDisplay>();
    registry.RegisterElement<T7Segment>();
    registry.RegisterElement<TSkale>();
    registry.RegisterElement<TBeschriftung>();
    registry.RegisterElement<TRahmen>();
    registry.RegisterElement<TLogo>();
    registry.RegisterElement<TFlaeche>();
}
