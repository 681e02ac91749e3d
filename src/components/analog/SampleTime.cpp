#include "components/analog/SampleTime.h"

#include "core/model/Translator.h"
#include "platform/Filer.h"
#include "ui/PropertySheet.h"

#include <cmath>

namespace {

// The stored 48-bit form of each entry; the times are these values, so that a setting read
// from a file compares equal with the list.
constexpr uint8_t kStored[SampleTimes::Count][6] = {
    {0x81, 0x00, 0x00, 0x00, 0x00, 0x80}, // -1 (every step)
    {0x77, 0x8D, 0x97, 0x6E, 0x12, 0x03}, // 0.001
    {0x78, 0x8D, 0x97, 0x6E, 0x12, 0x03}, // 0.002
    {0x79, 0x71, 0x3D, 0x0A, 0xD7, 0x23}, // 0.005
    {0x7A, 0x71, 0x3D, 0x0A, 0xD7, 0x23}, // 0.01
    {0x7B, 0x71, 0x3D, 0x0A, 0xD7, 0x23}, // 0.02
    {0x7C, 0xCD, 0xCC, 0xCC, 0xCC, 0x4C}, // 0.05
    {0x7D, 0xCD, 0xCC, 0xCC, 0xCC, 0x4C}, // 0.1
    {0x7E, 0xCD, 0xCC, 0xCC, 0xCC, 0x4C}, // 0.2
    {0x80, 0x00, 0x00, 0x00, 0x00, 0x00}, // 0.5
    {0x81, 0x00, 0x00, 0x00, 0x00, 0x00}, // 1
    {0x82, 0x00, 0x00, 0x00, 0x00, 0x00}, // 2
    {0x83, 0x00, 0x00, 0x00, 0x00, 0x20}, // 5
    {0x84, 0x00, 0x00, 0x00, 0x00, 0x20}, // 10
    {0x85, 0x00, 0x00, 0x00, 0x00, 0x70}, // 30
    {0x86, 0x00, 0x00, 0x00, 0x00, 0x70}, // 60
    {0x87, 0x00, 0x00, 0x00, 0x00, 0x70}, // 120
    {0x89, 0x00, 0x00, 0x00, 0x00, 0x16}, // 300
    {0x8A, 0x00, 0x00, 0x00, 0x00, 0x16}, // 600
    {0x8B, 0x00, 0x00, 0x00, 0x00, 0x16}, // 1200
    {0x8B, 0x00, 0x00, 0x00, 0x00, 0x61}, // 1800
};

struct TTable {
    QStringList captions;
    double seconds[SampleTimes::Count];
    TTable()
    {
        captions = QStringList{
            QStringLiteral("Max"),    QStringLiteral("1 ms"),   QStringLiteral("2 ms"),
            QStringLiteral("5 ms"),   QStringLiteral("10 ms"),  QStringLiteral("20 ms"),
            QStringLiteral("50 ms"),  QStringLiteral("100 ms"), QStringLiteral("200 ms"),
            QStringLiteral("500 ms"), QStringLiteral("1 s"),    QStringLiteral("2 s"),
            QStringLiteral("5 s"),    QStringLiteral("10 s"),   QStringLiteral("30 s"),
            QStringLiteral("1 min"),  QStringLiteral("2 min"),  QStringLiteral("5 min"),
            QStringLiteral("10 min"), QStringLiteral("20 min"), QStringLiteral("30 min"),
        };
        for (int i = 0; i < SampleTimes::Count; ++i)
            seconds[i] = DecodeReal48(kStored[i]);
    }
};

const TTable& Table()
{
    static const TTable table;
    return table;
}

// Files before format version 3 numbered the list from "100 ms".
constexpr uint8_t kFirstVersionWithFullList = 3;
constexpr int kOldListOffset = 7;

// The entry whose time is nearest to seconds; a time of 0 or less is "Max".
int16_t NearestEntry(double seconds)
{
    if (!(seconds > 0.0))
        return 0;
    int16_t best = 1;
    for (int i = 2; i < SampleTimes::Count; ++i) {
        if (std::fabs(Table().seconds[i] - seconds) < std::fabs(Table().seconds[best] - seconds))
            best = static_cast<int16_t>(i);
    }
    return best;
}

} // namespace

namespace SampleTimes {

const QStringList& Captions()
{
    return Table().captions;
}

double Seconds(int index)
{
    return IsValidIndex(index) ? Table().seconds[index] : Table().seconds[0];
}

bool IsValidIndex(int index)
{
    return index >= 0 && index < Count;
}

} // namespace SampleTimes

void TSampleTime::SetIndex(int index)
{
    if (!SampleTimes::IsValidIndex(index))
        return;
    SampleIndex = static_cast<int16_t>(index);
    SampleTime = SampleTimes::Seconds(index);
}

void TSampleTime::Write(TWriter& writer) const
{
    writer.WriteRawReal48(SampleTime);
    writer.WriteRawInt16(SampleIndex);
}

void TSampleTime::Read(TReader& reader, uint8_t version)
{
    SampleTime = reader.ReadRawReal48();
    int index = reader.ReadRawInt16();
    if (version < kFirstVersionWithFullList)
        index += kOldListOffset;
    SampleIndex = SampleTimes::IsValidIndex(index) ? static_cast<int16_t>(index)
                                                   : NearestEntry(SampleTime);
}

void TSampleTime::Read(TReader& reader)
{
    Read(reader, kFirstVersionWithFullList);
}

void TSampleTime::AddRow(TPropScrollbox& sheet, int32_t& itemIndex)
{
    sheet.AddComboProp(Translate(QStringLiteral("Abtastrate")), itemIndex,
                       SampleTimes::Captions(), 64);
}
