#include "core/model/Bauteil.h"

#include "platform/Filer.h"

void TBauteil::Paint(TCanvas&) {}

void TBauteil::SetSelected(bool selected)
{
    Selected = selected;
}

bool TBauteil::GetSelected() const
{
    return Selected;
}

bool TBauteil::HitTest(QPoint, TCanvas&)
{
    return false;
}

QPoint* TBauteil::HitEndPoint(QPoint)
{
    return nullptr;
}

const void* TBauteil::HitAttachPoint(QPoint) const
{
    return nullptr;
}

void TBauteil::MoveBy(int32_t, int32_t) {}

TRect TBauteil::GetBounds() const
{
    return TRect{};
}

void TBauteil::WriteData(TWriter& writer)
{
    writer.WriteInteger(DataVersion);
}

void TBauteil::ReadData(TReader& reader, uint8_t)
{
    DataVersion = reader.ReadInteger();
}

void TBauteil::ClockTick() {}

int TBauteil::EditProperties()
{
    return 0;
}

QString TBauteil::GetHint() const
{
    return QString();
}

void TBauteil::SaveSettings(TIniFile&, const QString&) {}

bool TBauteil::LoadSettings(TIniFile&, const QString&, bool)
{
    return false;
}
