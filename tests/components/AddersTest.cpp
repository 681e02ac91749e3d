// Full adders and magnitude comparators: sums and comparisons over their whole input space on
// real pins, cascading, registry, pins and texts, records.
#include "ComponentTestSupport.h"
#include "components/digital/Adders.h"
#include "components/digital/RegisterDigital.h"
#include "core/model/ClassRegistry.h"
#include "platform/Context.h"
#include "platform/Filer.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <memory>
#include <tuple>
#include <utility>
#include <vector>

namespace {

class AddersTest : public TComponentTest<RegisterCombinationalComponents> {};

// The number on the adder's outputs: output 0 is the carry, output j the sum bit n - j.
uint32_t AdderResult(const TIOBauteil& c, int bits)
{
    uint32_t sum = 0;
    for (int i = 0; i < bits; ++i) {
        if (c.Outputs[bits - i]->Value == 5.0L)
            sum |= 1u << i;
        else
            EXPECT_EQ(c.Outputs[bits - i]->Value, 0.0L);
    }
    if (c.Outputs[0]->Value == 5.0L)
        sum |= 1u << bits;
    return sum;
}

// "=", ">" or "<": the one comparator output that is high; "?" when not exactly one.
char ComparatorResult(const TIOBauteil& c)
{
    const char marks[] = {'=', '>', '<'};
    char result = 0;
    for (int j = 0; j < 3; ++j) {
        if (c.Outputs[j]->Value == 5.0L)
            result = result ? '?' : marks[j];
        else if (c.Outputs[j]->Value != 0.0L)
            return '?';
    }
    return result ? result : '?';
}

TEST_F(AddersTest, RegistryCreatesEveryMemberWithItsPinsAndTexts)
{
    struct Case {
        const char* cls;
        int bits;
        bool adder;
        const char* prefix[3];
        const char* name[3];
    };
    const Case cases[] = {
        {"TBTADD2", 2, true, {"2ADD", "2ADD", "2ADD"},
         {"2-bit-Volladdierer", "Full adder (2 bit)", "Additionneur\rcomplet 2 bits"}},
        {"TBTADD4", 4, true, {"4ADD", "4ADD", "4ADD"},
         {"4-bit-Volladdierer", "Full adder (4 bit)", "Additionneur\rcomplet 4 bits"}},
        {"TBTADD8", 8, true, {"8ADD", "8ADD", "8ADD"},
         {"8-bit-Volladdierer", "Full adder (8 bit)", "Additionneur\rcomplet 8 bits"}},
        {"TBTVGL4", 4, false, {"VGL", "CMP", "CMP"},
         {"4-bit Vergleicher", "Comparator (4 bit)", "Comparateur\r4 bits"}},
        {"TBTVGL8", 8, false, {"VGL", "CMP", "CMP"},
         {"8-bit Vergleicher", "Comparator (8 bit)", "Comparateur\r8 bits"}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.cls);
        for (uint8_t lang = 0; lang < 3; ++lang) {
            Ctx().CurrentLanguage = lang;
            auto c = Create(k.cls);
            ASSERT_TRUE(c);
            // The prefix follows the language at creation.
            EXPECT_EQ(c->Prefix(), QString::fromLatin1(k.prefix[lang]));
            EXPECT_EQ(c->GetTypeName(), QString::fromUtf8(k.name[lang]));
            EXPECT_FALSE(c->Editable);
            EXPECT_EQ(c->HelpContext, k.adder ? 18375 : 18380);
            EXPECT_TRUE(c->ElementClass().isEmpty());
            const QStringList operands =
                Numbered("A", 0, k.bits - 1) + Numbered("B", 0, k.bits - 1);
            if (k.adder) {
                EXPECT_EQ(PinNames(c->Inputs), operands + QStringList{"C0"});
                const QStringList outputs =
                    QStringList{QStringLiteral("C") + QString::number(k.bits)}
                    + Numbered("S", k.bits - 1, 0);
                EXPECT_EQ(PinNames(c->Outputs), outputs);
            } else {
                EXPECT_EQ(PinNames(c->Inputs), (operands + QStringList{"A<B", "A>B", "A=B"}));
                EXPECT_EQ(PinNames(c->Outputs), (QStringList{"A=B", "A>B", "A<B"}));
            }
        }
    }
}

// Every input combination of the 2- and 4-bit adders, a sweep of the 8-bit one.
TEST_F(AddersTest, AddersSumTheirOperandsAndCarry)
{
    for (const auto& [cls, bits, stride] : {std::tuple{"TBTADD2", 2, 1u},
                                             std::tuple{"TBTADD4", 4, 1u},
                                             std::tuple{"TBTADD8", 8, 37u}}) {
        SCOPED_TRACE(cls);
        auto c = Create(cls);
        TDrivers d(*c);
        const uint32_t limit = 1u << bits;
        for (uint32_t a = 0; a < limit; a += stride) {
            for (uint32_t b = 0; b < limit; b += stride) {
                for (uint32_t carry : {0u, 1u}) {
                    d.SetNumber(0, bits, a);
                    d.SetNumber(bits, bits, b);
                    d.Set(2 * bits, carry);
                    c->Calculate();
                    ASSERT_EQ(AdderResult(*c, bits), a + b + carry)
                        << a << "+" << b << "+" << carry;
                }
            }
        }
        d.SetNumber(0, bits, limit - 1);
        d.SetNumber(bits, bits, limit - 1);
        d.Set(2 * bits, true);
        c->Calculate();
        EXPECT_EQ(AdderResult(*c, bits), 2 * limit - 1);
        c->SimReset();
        EXPECT_EQ(AdderResult(*c, bits), 0u);
    }
}

TEST_F(AddersTest, AdderEdgeCases)
{
    // Every input open reads high: 255 + 255 + 1 = 511, every output high.
    auto open = Create("TBTADD8");
    open->Calculate();
    for (const auto& out : open->Outputs)
        EXPECT_EQ(out->Value, 5.0L);

    // 2 + 1 without carry: "S1" and "S0" high, "C2" low.
    auto c = Create("TBTADD2");
    TDrivers d(*c);
    d.SetNumber(0, 2, 2);
    d.SetNumber(2, 2, 1);
    c->Calculate();
    EXPECT_EQ(c->Outputs[0]->Value, 0.0L);
    EXPECT_EQ(c->Outputs[1]->Value, 5.0L);
    EXPECT_EQ(c->Outputs[2]->Value, 5.0L);

    // Inversion marks apply on both sides.
    c->Inputs[4]->SetInverted(true);  // "C0" reads the low driver as high
    c->Outputs[0]->SetInverted(true); // "C2"
    d.Set(4, false);
    c->Calculate(); // 2 + 1 + 1 = 4: carry out high, drawn as 0.0 V
    EXPECT_EQ(c->Outputs[0]->Value, 0.0L);
    EXPECT_EQ(c->Outputs[1]->Value, 0.0L);
    EXPECT_EQ(c->Outputs[2]->Value, 0.0L);
}

// Unequal numbers decide alone; equal ones follow the cascade inputs.
TEST_F(AddersTest, ComparatorsCompareAndCascade)
{
    struct Case {
        const char* cascade; // GL, GG, GE: '1' high, '0' low, '-' open
        char equal;          // result for A = B
    };
    const Case cascades[] = {
        {"---", '='}, {"000", '='}, {"001", '='}, {"111", '='}, {"011", '='},
        {"010", '>'}, {"110", '>'}, {"100", '<'},
    };
    for (const char* cls : {"TBTVGL4", "TBTVGL8"}) {
        SCOPED_TRACE(cls);
        auto c = Create(cls);
        const int bits = cls[6] == '4' ? 4 : 8;
        const uint32_t stride = bits == 4 ? 1 : 13;
        TDrivers d(*c);
        for (const Case& k : cascades) {
            SCOPED_TRACE(k.cascade);
            for (int i = 0; i < 3; ++i) {
                d.Set(2 * bits + i, k.cascade[i] == '1');
                TBauteilPin* driver = d.pins[2 * bits + i].get();
                c->Inputs[2 * bits + i]->SetSource(k.cascade[i] == '-' ? nullptr : driver);
            }
            for (uint32_t a = 0; a < (1u << bits); a += stride) {
                for (uint32_t b = 0; b < (1u << bits); b += stride) {
                    d.SetNumber(0, bits, a);
                    d.SetNumber(bits, bits, b);
                    c->Calculate();
                    const char expected = a < b ? '<' : a > b ? '>' : k.equal;
                    ASSERT_EQ(ComparatorResult(*c), expected) << a << " vs " << b;
                }
            }
        }
        c->SimReset();
        for (const auto& out : c->Outputs)
            EXPECT_EQ(out->Value, 0.0L);
    }
}

// Two 4-bit comparators in cascade compare 8-bit numbers as one 8-bit comparator does.
TEST_F(AddersTest, TwoCascadedComparatorsMatchTheEightBitOne)
{
    auto low = Create("TBTVGL4");
    auto high = Create("TBTVGL4");
    auto wide = Create("TBTVGL8");
    TDrivers dl(*low);
    TDrivers dh(*high);
    TDrivers dw(*wide);
    // The lower stage's outputs on the upper stage's cascade inputs "A<B", "A>B", "A=B".
    high->Inputs[8]->SetSource(low->Outputs[2].get());
    high->Inputs[9]->SetSource(low->Outputs[1].get());
    high->Inputs[10]->SetSource(low->Outputs[0].get());
    for (int i = 0; i < 3; ++i)
        wide->Inputs[16 + i]->SetSource(nullptr); // open: a single stage
    for (uint32_t a = 0; a < 256; a += 3) {
        for (uint32_t b : {a, a ^ 1u, a ^ 16u, a ^ 0x81u, 255u - a, 0u}) {
            dl.SetNumber(0, 4, a & 15);
            dl.SetNumber(4, 4, b & 15);
            dh.SetNumber(0, 4, a >> 4);
            dh.SetNumber(4, 4, b >> 4);
            dw.SetNumber(0, 8, a);
            dw.SetNumber(8, 8, b);
            low->Calculate();
            high->Calculate();
            wide->Calculate();
            const char expected = a < b ? '<' : a > b ? '>' : '=';
            ASSERT_EQ(ComparatorResult(*high), expected) << a << " vs " << b;
            ASSERT_EQ(ComparatorResult(*wide), expected) << a << " vs " << b;
        }
    }
}

TEST_F(AddersTest, StreamRoundTripAndRefusedPinCounts)
{
    for (const char* cls : {"TBTADD2", "TBTADD4", "TBTADD8", "TBTVGL4", "TBTVGL8"}) {
        SCOPED_TRACE(cls);
        auto c = Create(cls);
        c->Inputs[1]->SetInverted(true);
        c->Outputs[0]->SetInverted(true);
        c->SetLabel(QStringLiteral("Summe"));
        c->MoveBy(20, 40);
        const QByteArray data = Write(*c);
        auto copy = Create(cls);
        ASSERT_TRUE(Read(*copy, data, 44));
        EXPECT_TRUE(copy->Inputs[1]->Inverted());
        EXPECT_TRUE(copy->Outputs[0]->Inverted());
        EXPECT_EQ(copy->GetLabel(), QStringLiteral("Summe"));
        EXPECT_EQ(PinNames(copy->Inputs), PinNames(c->Inputs));
        EXPECT_EQ(Write(*copy), data);

        // One input or one output too many or too few.
        for (const auto& [di, dout] :
             {std::pair{1, 0}, std::pair{-1, 0}, std::pair{0, 1}, std::pair{0, -1}}) {
            TIOBauteil source;
            source.SetInputCount(c->InputCount + di);
            source.SetOutputCount(c->OutputCount + dout);
            auto r = Create(cls);
            EXPECT_THROW(Read(*r, Write(source), 44), EFilerError) << di << "/" << dout;
        }
    }
}

} // namespace
