#include "hardware/cards/PortCard.h"

#include "core/model/Translator.h"
#include "hardware/framework/IoInterface.h"
#include "hardware/framework/PortDriver.h"
#include "ui/PropertySheet.h"

int32_t portcard::GrantRange(uint16_t base, uint16_t span)
{
    if (base < kFirstAddress)
        return 0;
    return PortDriver().SetPortRangeAccess(base, uint16_t(base + span), true);
}

void portcard::AddBaseAddressRow(TIOInterface& device)
{
    if (TPropScrollbox* rows = device.DialogRows())
        rows->AddEditProp(Translate(QStringLiteral("Basisadresse")) + QStringLiteral(" [hex]"),
                          device.AddressText, 4, 50);
}
