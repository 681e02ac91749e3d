#include "components/panel/Lamp.h"

#include "frontpanel/elements/LampWidget.h"
#include "frontpanel/elements/Lampe.h"
#include "platform/Canvas.h"
#include "platform/Colors.h"

const TComponentDescription TBTLampe::Description{
    .Name = "TBTLampe", .Prefix = {"LA"}, .HelpContext = 18015,
    .TypeName = {"Plastikleuchte", "Plastic lamp", "Lampe plastique"}, .Inputs = {1},
    .InputNames = "-", .Category = TPaletteCategory::Anzeigen};

TBTLampe::TBTLampe()
{
    Describe(Description);
    SetElementClass(QStringLiteral("TPLampe"));
}

void TBTLampe::Calculate()
{
    if (auto* lamp = ElementAs<TPLampe>())
        lamp->SetIstSpannung(GetInputValue(0));
}

int32_t TBTLampe::ElementColor() const
{
    const auto* lamp = ElementAs<TPLampe>();
    return lamp ? lamp->Lampe->LedPlasticColor() : clGray;
}

void TBTLampe::Paint(TCanvas& canvas)
{
    TBTPanelComponent::Paint(canvas);
    const int cx = CenterX();
    const int cy = CenterY();
    canvas.Pen = TCanvasPen{MarkColor(), 2, Qt::SolidLine, TPenMode::Copy};
    canvas.Brush = TCanvasBrush{ShowStates ? ElementColor() : clGray, Qt::SolidPattern};
    canvas.Rectangle(cx - 18, cy - 30, cx + 19, cy + 7);
}

void TBTLampe::PaintPinStates(TCanvas& canvas)
{
    RefreshSymbol(canvas, LastColor, ElementColor());
}
