#include "components/panel/PanelComponent.h"

#include "platform/Canvas.h"

void TBTPanelComponent::SetLink(TFP_Element* element)
{
    const bool fresh = element && element != Link;
    m_castFrom = nullptr;
    m_castType = nullptr;
    m_castTo = nullptr;
    TBTFront::SetLink(element);
    if (fresh)
        PrepareElement(*element);
}

void TBTPanelComponent::PrepareElement(TFP_Element&) {}

void TBTPanelComponent::BodyPen(TCanvas& canvas, int32_t outline, int32_t fill, int width)
{
    canvas.Pen = TCanvasPen{outline, width, Qt::SolidLine, TPenMode::Copy};
    canvas.Brush = TCanvasBrush{fill, Qt::SolidPattern};
}

void TBTPanelComponent::CentredText(TCanvas& canvas, int cx, int cy, int height, int32_t colour,
                                    const QString& text)
{
    canvas.Font = QFont(QStringLiteral("Arial"));
    canvas.Font.setBold(true);
    canvas.SetFontHeight(height);
    canvas.FontColor = colour;
    canvas.TransparentText = true;
    canvas.TextOut(cx - canvas.TextWidth(text) / 2, cy - canvas.TextHeight(text) / 2, text);
}
