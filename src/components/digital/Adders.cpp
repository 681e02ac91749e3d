#include "components/digital/Adders.h"

#include "platform/Context.h"
#include "platform/Filer.h"


namespace {

constexpr int32_t AdderHelpContext = 18375;
constexpr int32_t ComparatorHelpContext = 18380;

// Number read from `bits` inputs starting at `first`, the first being the least significant.
inline uint32_t ReadNumber(const TIOBauteil& c, int first, int bits)
{
    uint32_t n = 0;
    for (int i = 0; i < bits; ++i) {
        if (c.GetInputDigital(first + i))
            n |= 1u << i;
    }
    return n;
}

// Comparator pins: the cascade inputs follow the operands; the outputs' order differs.
enum { CascadeLess = 0, CascadeGreater = 1, CascadeEqual = 2 };
enum { OutEqual = 0, OutGreater = 1, OutLess = 2 };

} // namespace

// --- Adders ----------------------------------------------------------------------------------

TBTAdderBase::TBTAdderBase(const TComponentDescription& description)
{
    Describe(description);
    SetElementClass(QString());
    Editable = false;
    m_bits = OutputCount - 1;
}

void TBTAdderBase::SimReset()
{
    for (int j = 0; j < OutputCount; ++j)
        SetOutputDigital(j, false);
}

void TBTAdderBase::Calculate()
{
    const uint32_t a = ReadNumber(*this, 0, m_bits);
    const uint32_t b = ReadNumber(*this, m_bits, m_bits);
    const uint32_t carry = GetInputDigital(2 * m_bits) ? 1 : 0;
    const uint32_t sum = a + b + carry;
    for (int i = 0; i < m_bits; ++i)
        SetOutputDigital(m_bits - i, ((sum >> i) & 1u) != 0);
    SetOutputDigital(0, ((sum >> m_bits) & 1u) != 0);
}

void TBTAdderBase::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    DrawSymbolCaption(canvas, SymbolCaption(), 0);
}

// --- Comparators -----------------------------------------------------------------------------

TBTComparatorBase::TBTComparatorBase(const TComponentDescription& description)
{
    Describe(description);
    SetElementClass(QString());
    Editable = false;
    m_bits = (InputCount - 3) / 2;
}

void TBTComparatorBase::SimReset()
{
    for (int j = 0; j < OutputCount; ++j)
        SetOutputDigital(j, false);
}

void TBTComparatorBase::Calculate()
{
    const uint32_t a = ReadNumber(*this, 0, m_bits);
    const uint32_t b = ReadNumber(*this, m_bits, m_bits);
    const int cascade = 2 * m_bits;
    const bool less = GetInputDigital(cascade + CascadeLess);
    const bool greater = GetInputDigital(cascade + CascadeGreater);
    const bool equal = GetInputDigital(cascade + CascadeEqual);
    int high;
    if (a < b)
        high = OutLess;
    else if (a > b)
        high = OutGreater;
    else if (equal)
        high = OutEqual;
    else if (greater)
        high = OutGreater;
    else if (less)
        high = OutLess;
    else
        high = OutEqual;
    for (int j = 0; j < 3; ++j)
        SetOutputDigital(j, j == high);
}

void TBTComparatorBase::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    DrawSymbolCaption(canvas, SymbolCaption(), 0);
}

// --- Members ---------------------------------------------------------------------------------

const TComponentDescription TBTADD2::Description{
    .Name = "TBTADD2", .Prefix = {"2ADD"}, .HelpContext = AdderHelpContext,
    .TypeName = {"2-bit-Volladdierer", "Full adder (2 bit)", "Additionneur\rcomplet 2 bits"},
    .Caption = {"Addierer (2)", "Full Adder", "Additionneur"},
    .Inputs = {5}, .Outputs = {3}, .InputNames = "A0..1 B0..1 C0", .OutputNames = "C2 S1..0",
    .Category = TPaletteCategory::Arithmetik};
TBTADD2::TBTADD2() : TBTAdderBase(Description) {}

const TComponentDescription TBTADD4::Description{
    .Name = "TBTADD4", .Prefix = {"4ADD"}, .HelpContext = AdderHelpContext,
    .TypeName = {"4-bit-Volladdierer", "Full adder (4 bit)", "Additionneur\rcomplet 4 bits"},
    .Caption = {"Addierer (4)", "Full adder (4)", "Additionneur (4)"},
    .Inputs = {9}, .Outputs = {5}, .InputNames = "A0..3 B0..3 C0", .OutputNames = "C4 S3..0",
    .Category = TPaletteCategory::Arithmetik};
TBTADD4::TBTADD4() : TBTAdderBase(Description) {}

const TComponentDescription TBTADD8::Description{
    .Name = "TBTADD8", .Prefix = {"8ADD"}, .HelpContext = AdderHelpContext,
    .TypeName = {"8-bit-Volladdierer", "Full adder (8 bit)", "Additionneur\rcomplet 8 bits"},
    .Caption = {"Addierer (8)", "Full Adder (8)", "Additionneur (8)"},
    .Inputs = {17}, .Outputs = {9}, .InputNames = "A0..7 B0..7 C0", .OutputNames = "C8 S7..0",
    .Category = TPaletteCategory::Arithmetik};
TBTADD8::TBTADD8() : TBTAdderBase(Description) {}

const TComponentDescription TBTVGL4::Description{
    .Name = "TBTVGL4", .Prefix = {"VGL", "CMP", "CMP"}, .HelpContext = ComparatorHelpContext,
    .TypeName = {"4-bit Vergleicher", "Comparator (4 bit)", "Comparateur\r4 bits"},
    .Caption = {"Vergleicher (4)", "Comparator (4)", "Comparateur (4)"},
    .Inputs = {11}, .Outputs = {3}, .InputNames = "A0..3 B0..3 A<B A>B A=B", .OutputNames = "A=B A>B A<B",
    .Category = TPaletteCategory::Arithmetik};
TBTVGL4::TBTVGL4() : TBTComparatorBase(Description) {}

const TComponentDescription TBTVGL8::Description{
    .Name = "TBTVGL8", .Prefix = {"VGL", "CMP", "CMP"}, .HelpContext = ComparatorHelpContext,
    .TypeName = {"8-bit Vergleicher", "Comparator (8 bit)", "Comparateur\r8 bits"},
    .Caption = {"Vergleicher (8)", "Comparator (8)", "Comparateur (8)"},
    .Inputs = {19}, .Outputs = {3}, .InputNames = "A0..7 B0..7 A<B A>B A=B", .OutputNames = "A=B A>B A<B",
    .Category = TPaletteCategory::Arithmetik};
TBTVGL8::TBTVGL8() : TBTComparatorBase(Description) {}
