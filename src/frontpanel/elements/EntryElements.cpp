#include "frontpanel/elements/EntryElements.h"

#include "frontpanel/ElementRegistry.h"
#include "frontpanel/elements/AsciiDisplay.h"
#include "frontpanel/elements/Auswahlliste.h"
#include "frontpanel/elements/NumEingabe.h"
#include "frontpanel/elements/Setliste.h"
#include "frontpanel/elements/StrEdit.h"
#include "frontpanel/elements/Tastatur.h"

void RegisterEntryElements(TElementRegistry& registry)
{
    registry.RegisterElement<TNumEingabe>();
    registry.RegisterElement<TAuswahlliste>();
    registry.RegisterElement<TSetliste>();
    registry.RegisterElement<TASCII_Display>();
    registry.RegisterElement<TTastatur>();
    registry.RegisterElement<TFP_Str_Edit>();
}
