#pragma once
// One item of information about the computer, the program or the processor load as text on
// "$I", with the item's name on "$N". The processor items take a new load sample at most
// once per second (when the long time text changes) and keep their text in between.

#include "components/text/TextBlock.h"

#include <QStringList>

class TBTStrInfo : public TBTTextBlock {
public:
    TV_CLASS_NAME(TBTStrInfo)
    TBTStrInfo();
    static const TComponentDescription Description;
    enum { OutName, OutInfo };  // drawn "$I" on top

    int32_t Item = 0;  // 0 .. 79

    // The 80 item names in index order.
    static const QStringList& ItemNames();
    // The value of a system or program item (index below 72) now.
    static QString ItemValue(int item);

    void WriteData(TWriter& writer) override;
    void ReadData(TReader& reader, uint8_t version) override;
    int EditProperties() override;
    void Calculate() override;

private:
    QString m_lastTime;  // the time text of the last processor sample
};
