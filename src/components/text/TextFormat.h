#pragma once
// Number to text with a number format, and a text split into parts at a separator.

#include "components/text/TextBlock.h"
#include "ui/Formats.h"

// "$" := the value at "V" in the component's number format.
class TBTStrFormat : public TBTTextBlock {
public:
    TV_CLASS_NAME(TBTStrFormat)
    TBTStrFormat();
    static const TComponentDescription Description;

    TFormat Format;

    void WriteData(TWriter& writer) override;
    void ReadData(TReader& reader, uint8_t version) override;
    int EditProperties() override;
    void Calculate() override;
};

// "$1" .. "$n" (2 to 16 outputs) take the parts of "$" between separators; the last output
// keeps everything from its part to the end of the text.
class TBTStrParts : public TBTTextBlock {
public:
    TV_CLASS_NAME(TBTStrParts)
    TBTStrParts();
    static const TComponentDescription Description;

    int32_t Separator = ';';  // character code 0 .. 255

    void WriteData(TWriter& writer) override;
    void ReadData(TReader& reader, uint8_t version) override;
    int EditProperties() override;
    void Calculate() override;
    void NameOutputs() override;
};
