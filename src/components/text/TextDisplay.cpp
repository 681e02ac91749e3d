#include "components/text/TextDisplay.h"

#include "frontpanel/elements/NumDisplay.h"
#include "platform/Canvas.h"
#include "platform/Colors.h"

const TComponentDescription TBTStrDisplay::Description{
    .Name = "TBTStrDisplay", .Prefix = {"$DSP"}, .HelpContext = 18042,
    .TypeName = {"$Display", "$Display", "$Afficheur"}, .Inputs = {1}, .Outputs = {0},
    .InputNames = "$", .Category = TPaletteCategory::Strings};

TBTStrDisplay::TBTStrDisplay()
{
    Describe(Description);
    SetElementClass(QStringLiteral("TTDisplay"));
}

void TBTStrDisplay::Paint(TCanvas& canvas)
{
    TBTPanelComponent::Paint(canvas);
    const int cx = CenterX();
    const int cy = CenterY();
    const int32_t colour = Selected ? clRed : clGray;  // grey is RGB 128, 128, 128
    canvas.Pen = TCanvasPen{colour, 2, Qt::SolidLine, TPenMode::Copy};
    canvas.Brush = TCanvasBrush{colour, Qt::SolidPattern};
    canvas.Rectangle(cx - 35, cy - 32, cx + 35, cy + 6);
}

void TBTStrDisplay::Calculate()
{
    auto* display = ElementAs<TNumDisplay>();
    if (!display)
        return;
    const QString& text = m_inputText.Of(*this, 0);
    if (text != display->NDUserText)
        display->SetNDUserText(text);
}

void TBTStrDisplay::SimReset()
{
    if (auto* display = ElementAs<TNumDisplay>())
        display->SetNDUserText(QStringLiteral("$String"));
}
