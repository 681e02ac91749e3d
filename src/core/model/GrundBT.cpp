#include "core/model/GrundBT.h"

#include "platform/Canvas.h"

TGrundBT::TGrundBT() = default;

void TGrundBT::Paint(TCanvas&) {}
void TGrundBT::DrawPin(TCanvas&, TBauteilPin&, bool) {}
void TGrundBT::DrawInversionMark(TCanvas&, int, bool) {}
void TGrundBT::DrawPinLine(TCanvas&, TBauteilPin&, bool, bool) {}
void TGrundBT::PaintPinStates(TCanvas&) {}
void TGrundBT::DrawPinArrow(TCanvas&, TBauteilPin&, bool, bool) {}
void TGrundBT::RepaintPins(TCanvas&) {}
void TGrundBT::DrawPinLabel(TCanvas&, int, const QString&, int) {}
void TGrundBT::DrawClockMarker(TCanvas&, int) {}

TBTFront::TBTFront()
{
    BodyColor1 = 15395562;
    BodyColor2 = 13279392;
    HelpContext = 17900;
}

QString TBTFront::GetHint() const
{
    return TGrundBT::GetHint();
}
