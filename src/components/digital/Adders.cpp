#include "components/digital/Adders.h"

#include "platform/Context.h"
#include "platform/Filer.h"

#include <initializer_list>

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

// Inputs "A0" ... "A(n-1)", "B0" ... "B(n-1)"; the remaining ones from `tail`.
void NameOperandInputs(TIOBauteil& c, int bits, std::initializer_list<const char*> tail)
{
    for (int i = 0; i < c.InputCount; ++i) {
        QString name;
        if (i < bits)
            name = QStringLiteral("A") + QString::number(i);
        else if (i < 2 * bits)
            name = QStringLiteral("B") + QString::number(i - bits);
        else if (i - 2 * bits < static_cast<int>(tail.size()))
            name = QString::fromLatin1(tail.begin()[i - 2 * bits]);
        c.Inputs[i]->SetName(name);
    }
}

// Comparator pins: the cascade inputs follow the operands; the outputs' order differs.
enum { CascadeLess = 0, CascadeGreater = 1, CascadeEqual = 2 };
enum { OutEqual = 0, OutGreater = 1, OutLess = 2 };

} // namespace

// --- Adders ----------------------------------------------------------------------------------

TBTAdderBase::TBTAdderBase(int bits, const char* prefix) : m_bits(bits)
{
    SetInputCount(2 * bits + 1);
    SetOutputCount(bits + 1);
    SetElementClass(QString());
    SetPrefix(QString::fromLatin1(prefix));
    Editable = false;
    HelpContext = AdderHelpContext;
}

void TBTAdderBase::NameInputs()
{
    NameOperandInputs(*this, m_bits, {"C0"});
}

// Output 0 is the carry "C(n)", output j > 0 the sum bit "S(n-j)".
void TBTAdderBase::NameOutputs()
{
    for (int j = 0; j < OutputCount; ++j) {
        Outputs[j]->SetName(j == 0 ? QStringLiteral("C") + QString::number(m_bits)
                                   : QStringLiteral("S") + QString::number(m_bits - j));
    }
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
    DrawSymbolCaption(canvas, Caption(), 0);
}

void TBTAdderBase::ReadData(TReader& reader, uint8_t version)
{
    TGrundBT::ReadData(reader, version);
    CheckStoredPins(2 * m_bits + 1, m_bits + 1);
}

// --- Comparators -----------------------------------------------------------------------------

TBTComparatorBase::TBTComparatorBase(int bits) : m_bits(bits)
{
    SetInputCount(2 * bits + 3);
    SetOutputCount(3);
    SetElementClass(QString());
    SetPrefix(QString::fromLatin1(Lang3("VGL", "CMP", "CMP")));
    Editable = false;
    HelpContext = ComparatorHelpContext;
}

void TBTComparatorBase::NameInputs()
{
    NameOperandInputs(*this, m_bits, {"A<B", "A>B", "A=B"});
}

void TBTComparatorBase::NameOutputs()
{
    NamePins(Outputs, {"A=B", "A>B", "A<B"});
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
    DrawSymbolCaption(canvas, Caption(), 0);
}

void TBTComparatorBase::ReadData(TReader& reader, uint8_t version)
{
    TGrundBT::ReadData(reader, version);
    CheckStoredPins(2 * m_bits + 3, 3);
}

// --- Members ---------------------------------------------------------------------------------

TBTADD2::TBTADD2() : TBTAdderBase(2, "2ADD") {}
QString TBTADD2::GetTypeName() const
{
    return Lang3Q("2-bit-Volladdierer", "Full adder (2 bit)", "Additionneur\rcomplet 2 bits");
}
QString TBTADD2::Caption() const
{
    return Lang3Q("Addierer (2)", "Full Adder", "Additionneur");
}

TBTADD4::TBTADD4() : TBTAdderBase(4, "4ADD") {}
QString TBTADD4::GetTypeName() const
{
    return Lang3Q("4-bit-Volladdierer", "Full adder (4 bit)", "Additionneur\rcomplet 4 bits");
}
QString TBTADD4::Caption() const
{
    return Lang3Q("Addierer (4)", "Full adder (4)", "Additionneur (4)");
}

TBTADD8::TBTADD8() : TBTAdderBase(8, "8ADD") {}
QString TBTADD8::GetTypeName() const
{
    return Lang3Q("8-bit-Volladdierer", "Full adder (8 bit)", "Additionneur\rcomplet 8 bits");
}
QString TBTADD8::Caption() const
{
    return Lang3Q("Addierer (8)", "Full Adder (8)", "Additionneur (8)");
}

TBTVGL4::TBTVGL4() : TBTComparatorBase(4) {}
QString TBTVGL4::GetTypeName() const
{
    return Lang3Q("4-bit Vergleicher", "Comparator (4 bit)", "Comparateur\r4 bits");
}
QString TBTVGL4::Caption() const
{
    return Lang3Q("Vergleicher (4)", "Comparator (4)", "Comparateur (4)");
}

TBTVGL8::TBTVGL8() : TBTComparatorBase(8) {}
QString TBTVGL8::GetTypeName() const
{
    return Lang3Q("8-bit Vergleicher", "Comparator (8 bit)", "Comparateur\r8 bits");
}
QString TBTVGL8::Caption() const
{
    return Lang3Q("Vergleicher (8)", "Comparator (8)", "Comparateur (8)");
}
