#pragma once
// The simple text operations: constant, text to value, concatenation, copy, replace, compare,
// character from code and back, insert, length, position, trim, upper/lower case, character
// at index and delete. Positions count from 1; P, N, i and codes are word reads (0..65535).

#include "components/text/TextBlock.h"

// The text on "$", written once at the start of a run.
class TBT_Str_Fest : public TBTTextBlock {
public:
    TV_CLASS_NAME(TBT_Str_Fest)
    TBT_Str_Fest();
    static const TComponentDescription Description;

    QString Text;

    void WriteData(TWriter& writer) override;
    void ReadData(TReader& reader, uint8_t version) override;
    int EditProperties() override;
    QString GetHint() const override;
    void SimReset() override;
};

#define TV_TEXT_OPERATION(Class)                                                               \
    class Class : public TBTTextBlock {                                                        \
    public:                                                                                    \
        TV_CLASS_NAME(Class)                                                                   \
        Class();                                                                               \
        static const TComponentDescription Description;                                        \
        void Calculate() override;                                                             \
    };

TV_TEXT_OPERATION(TBT_Str_Value)   // "V" := the number of the text
TV_TEXT_OPERATION(TBTStrCopy)      // N characters from P (P 0 counts as 1)
TV_TEXT_OPERATION(TBTStrReplace)   // "$Old" by "$New"; "All" every one, "CS" exact case
TV_TEXT_OPERATION(TBTStrCompare)   // ordinal comparison of the character codes
TV_TEXT_OPERATION(TBTStrChr)       // the character of a code
TV_TEXT_OPERATION(TBTStrASCII)     // the code of the first character
TV_TEXT_OPERATION(TBTStrInsert)    // "$Ins" before Pos (0 counts as 1; beyond the end appends)
TV_TEXT_OPERATION(TBTStrLength)    // the number of characters
TV_TEXT_OPERATION(TBTStrPos)       // the position of "$S" in "$M", 0 when absent or empty
TV_TEXT_OPERATION(TBTStrTrim)      // control characters and blanks off the ends
TV_TEXT_OPERATION(TBTStrUpper)     // a..z up while "U/L" is high, A..Z down while low
TV_TEXT_OPERATION(TBTStrIndex)     // the character at i, empty outside the text
TV_TEXT_OPERATION(TBTStrDelete)    // N characters removed from P (P 0 leaves the text)

#undef TV_TEXT_OPERATION

// "$1" .. "$n" joined without separator (2 to 16 inputs).
class TBTStrPlus : public TBTTextBlock {
public:
    TV_CLASS_NAME(TBTStrPlus)
    TBTStrPlus();
    static const TComponentDescription Description;

    int EditProperties() override;
    void Calculate() override;
    void NameInputs() override;
};
