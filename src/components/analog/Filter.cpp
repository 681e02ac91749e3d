#include "components/analog/Filter.h"

#include "core/model/Translator.h"
#include "platform/Clock.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "ui/Formats.h"
#include "ui/PropertySheet.h"

#include <algorithm>

namespace {
constexpr Extended kStageLimit = 1e20L;
constexpr int32_t kStages = 4;
constexpr Extended kPi = 3.14159265358979323846264338327950288L;
} // namespace

Extended TFilter::Step(Extended x)
{
    if (!Active)
        return x;
    const int64_t now = Clock().PerformanceCounter();
    Extended a = static_cast<Extended>(now - LastCount) / Ctx().PerfFrequency * Omega;
    LastCount = now;
    // A stage may at most reach its input within one step: a long pause (a dialog, slow
    // steps) must not make the stages overshoot and diverge. A negative coefficient (the
    // clock going back, a negative frequency) leaves the stages as they are.
    if (!(a > 0.0L))
        a = 0.0L;
    else if (a > 1.0L)
        a = 1.0L;
    Extended u = x;
    for (Extended& stage : Stage) {
        stage += a * (u - stage);
        if (stage > kStageLimit)
            stage = kStageLimit;
        else if (stage < -kStageLimit)
            stage = -kStageLimit;
        u = stage;
    }
    return Stage[kStages - 1];
}

void TFilter::Reset()
{
    LastCount = Clock().PerformanceCounter();
    for (int32_t i = 0; i < std::clamp(StageCount, 0, kStages); ++i)
        Stage[i] = 0.0L;
}

void TFilter::WriteRecord(TWriter& writer) const
{
    writer.WriteInteger(IntParam);
    writer.WriteBoolean(Active);
    writer.WriteFloat(Omega);
    writer.WriteInteger(ByteParam);
    writer.WriteInteger(StageCount);
}

void TFilter::ReadRecord(TReader& reader)
{
    IntParam = reader.ReadInteger();
    Active = reader.ReadBoolean();
    Omega = reader.ReadFloat();
    ByteParam = static_cast<uint8_t>(reader.ReadInteger());
    // The stages are a fixed array: a stored count outside it must not reach past it.
    StageCount = std::clamp(reader.ReadInteger(), 0, kStages);
}

TFilter::TEdit TFilter::BeginEdit() const
{
    return TEdit{Active, ValueToText(Omega / TwoPi)};
}

void TFilter::AddRows(TPropScrollbox& sheet, TEdit& edit)
{
    sheet.AddCaptionProp(Translate(QStringLiteral("Filter")));
    sheet.AddCheckProp(Translate(QStringLiteral("Aktivieren")), edit.Active);
    sheet.AddEditProp(Translate(QStringLiteral("Filter")) + QStringLiteral(" fo [Hz]"),
                      edit.FrequencyText, 0, 64);
}

void TFilter::EndEdit(const TEdit& edit)
{
    Active = edit.Active;
    Omega = TextToValue(edit.FrequencyText) * 2.0L * kPi;
}
