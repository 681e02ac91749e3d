#include "components/panel/PanelComponent.h"

void TBTPanelComponent::SetLink(TFP_Element* element)
{
    const bool fresh = element && element != Link;
    TBTFront::SetLink(element);
    if (fresh)
        PrepareElement(*element);
}

void TBTPanelComponent::PrepareElement(TFP_Element&) {}
