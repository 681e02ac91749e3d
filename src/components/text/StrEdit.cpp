#include "components/text/StrEdit.h"

#include "frontpanel/elements/StrEdit.h"

const TComponentDescription TBTStrEdit::Description{
    .Name = "TBTStrEdit", .Prefix = {"$EDT"}, .HelpContext = 18180,
    .TypeName = {"$Eingabe", "$Edit", "$Entrée"}, .Outputs = {1}, .OutputNames = "$",
    .Category = TPaletteCategory::Strings};

TBTStrEdit::TBTStrEdit()
{
    Describe(Description);
    SetElementClass(QStringLiteral("TFP_Str_Edit"));
}

void TBTStrEdit::SimReset()
{
    auto* edit = ElementAs<TFP_Str_Edit>();
    if (!edit)
        return;
    // Through the element's link: the handler stays harmless once this component is gone.
    edit->OnSetWert = [edit] {
        if (auto* owner = dynamic_cast<TBTStrEdit*>(edit->Component))
            owner->TakeText();
    };
    edit->AcceptInput();
}

void TBTStrEdit::TakeText()
{
    if (const auto* edit = ElementAs<TFP_Str_Edit>())
        SetOutputText(0, edit->Wert);
}
