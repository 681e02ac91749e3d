#pragma once
// The sample-time setting shared by the real-time control components (integrator,
// differentiator, transfer elements, controllers, averaging): one of 21 fixed entries from
// "Max" (compute at every step) to "30 min", kept as the entry index and its time in seconds.

#include <QString>
#include <QStringList>
#include <cstdint>

class TReader;
class TWriter;
class TPropScrollbox;

namespace SampleTimes {
constexpr int Count = 21;
// The 21 list texts, "Max" ... "30 min" (not translated).
const QStringList& Captions();
// The entry's time in seconds as it is stored (48-bit real); -1.0 for "Max". An index outside
// the list gives the "Max" entry.
double Seconds(int index);
// True for 0 .. Count - 1.
bool IsValidIndex(int index);
} // namespace SampleTimes

struct TSampleTime {
    int16_t SampleIndex = 0;   // chosen list entry
    double SampleTime = -1.0;  // seconds; 0 or less means every step

    // Selects an entry: index and time together. An index outside the list keeps both.
    void SetIndex(int index);

    // The stored form: the time as 6 raw bytes (48-bit real), then the index as 2 raw bytes,
    // little-endian.
    void Write(TWriter& writer) const;
    // Reads the stored form. Files older than format version 3 numbered the list 7 entries
    // lower. An index outside the list is replaced by the entry nearest to the stored time
    // ("Max" for a time of 0 or less); the stored time is kept as it is.
    void Read(TReader& reader, uint8_t version);
    // The same for records that never used the old numbering (no version rule).
    void Read(TReader& reader);

    // The dialog row "Abtastrate" (a drop-down of the 21 texts, width 64) bound to itemIndex,
    // which the caller initialises with BeginEdit and hands back to EndEdit after the dialog.
    int32_t BeginEdit() const { return SampleIndex; }
    static void AddRow(TPropScrollbox& sheet, int32_t& itemIndex);
    // Takes the chosen entry; an entry outside the list (nothing chosen) keeps the setting.
    void EndEdit(int32_t itemIndex) { SetIndex(itemIndex); }
};
