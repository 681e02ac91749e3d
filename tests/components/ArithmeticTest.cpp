// Arithmetic blocks: results on real pins, zero divisors, registry, pins and texts, records.
#include "ComponentTestSupport.h"
#include "components/analog/Arithmetic.h"
#include "components/analog/RegisterAnalog.h"
#include "core/model/ClassRegistry.h"
#include "platform/Colors.h"
#include "platform/Context.h"
#include "platform/Filer.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <limits>
#include <memory>
#include <vector>

namespace {

constexpr Extended Open = std::numeric_limits<Extended>::quiet_NaN(); // unconnected input

class ArithmeticTest : public TComponentTest<RegisterArithmeticComponents> {
protected:
    std::vector<std::unique_ptr<TBauteilPin>> drivers;

    // Drives the inputs with the values (Open leaves an input unconnected).
    void Attach(TIOBauteil& c, const std::vector<Extended>& values)
    {
        drivers.clear();
        c.SetInputCount(int32_t(values.size()));
        for (size_t i = 0; i < values.size(); ++i) {
            auto pin = std::make_unique<TBauteilPin>();
            pin->Value = values[i];
            c.Inputs[i]->SetSource(values[i] != values[i] ? nullptr : pin.get());
            drivers.push_back(std::move(pin));
        }
    }
};

TEST_F(ArithmeticTest, Results)
{
    struct Case {
        const char* cls;
        std::vector<Extended> in;
        const char* inverted; // per input: 'i' inverted; a trailing 'o' inverts the output
        Extended out;
    };
    const Case cases[] = {
        {"TBTAdd", {1.5L, 2.25L}, "", 3.75L},
        {"TBTAdd", {10.0L, 3.0L, 2.0L}, "-i", 9.0L},
        {"TBTAdd", {Open, Open}, "", 0.0L},
        {"TBTAdd", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}, "", 136.0L},
        {"TBTAdd", {1.0L, 2.0L}, "--o", -3.0L},

        {"TBTSub", {10.0L, 3.0L, 2.0L}, "", 5.0L},
        {"TBTSub", {10.0L, 3.0L}, "i", -13.0L},
        {"TBTSub", {Open, 4.0L}, "", -4.0L},

        {"TBTMul", {2.0L, 3.0L, 4.0L}, "", 24.0L},
        {"TBTMul", {5.0L, Open}, "", 0.0L},
        {"TBTMul", {2.0L, 3.0L}, "i", -6.0L},

        {"TBTDiv", {-6.0L, 3.0L}, "", -2.0L},
        {"TBTDiv", {100.0L, 5.0L, 2.0L}, "", 10.0L},
        {"TBTDiv", {1.0L, 3.0L}, "", 1.0L / 3.0L},       // in extended precision
        {"TBTDiv", {6.0L, 0.0L, 2.0L}, "", 1e12L},
        {"TBTDiv", {-6.0L, 0.0L, 2.0L}, "", 1e12L},      // whatever the signs
        {"TBTDiv", {0.0L, 0.0L}, "", 1e12L},
        {"TBTDiv", {6.0L, 3.0L, 0.0L}, "", 1e12L},       // a late zero divisor too
        {"TBTDiv", {6.0L, Open}, "", 1e12L},             // an open input reads 0
        {"TBTDiv", {6.0L, Open}, "-i", 1e12L},           // inverted open input: -0.0
        {"TBTDiv", {6.0L, -3.0L}, "-i", 2.0L},
        {"TBTDiv", {6.0L, 0.0L}, "--o", -1e12L},         // the output's inversion still applies
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.cls << " " << c.in.size() << " inputs " << c.inverted);
        auto comp = Create(c.cls);
        ASSERT_TRUE(comp);
        Attach(*comp, c.in);
        for (int i = 0; c.inverted[i] != 0; ++i) {
            if (c.inverted[i] == 'o')
                comp->Outputs[0]->SetInverted(true);
            else
                comp->Inputs[i]->SetInverted(c.inverted[i] == 'i');
        }
        comp->Outputs[0]->Value = 77.0L;
        comp->Calculate();
        EXPECT_EQ(comp->Outputs[0]->Value, c.out);
    }
}

TEST_F(ArithmeticTest, SimResetClearsTheOutput)
{
    for (const char* cls : {"TBTAdd", "TBTSub", "TBTMul", "TBTDiv"}) {
        auto comp = Create(cls);
        comp->Outputs[0]->Value = 42.0L;
        comp->SimReset();
        EXPECT_EQ(comp->Outputs[0]->Value, 0.0L) << cls;
    }
}

TEST_F(ArithmeticTest, RegistryCreatesEveryBlockWithItsSettingsAndNames)
{
    struct Case {
        const char* cls;
        const char* prefix;
        int32_t help;
        const char* de;
        const char* en;
        const char* fr;
    };
    const Case cases[] = {
        {"TBTAdd", "ADD", 18465, "Addierer", "Addition", "Addition"},
        {"TBTSub", "SUB", 18470, "Subtrahierer", "Subtraction", "Soustraction"},
        {"TBTMul", "MUL", 18475, "Multiplizierer", "Multiplication", "Multiplication"},
        {"TBTDiv", "DIV", 18480, "Dividierer", "Division", "Division"},
    };
    EXPECT_EQ(registry.Count(), int(std::size(cases)));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cls);
        Ctx().CurrentLanguage = 2;
        auto comp = Create(c.cls);
        ASSERT_TRUE(comp);
        EXPECT_STREQ(comp->ClassName(), c.cls);
        EXPECT_NE(dynamic_cast<TGrundBT*>(comp.get()), nullptr);
        EXPECT_EQ(comp->Prefix(), QString::fromLatin1(c.prefix));
        EXPECT_EQ(comp->HelpContext, c.help);
        EXPECT_TRUE(comp->Editable);
        EXPECT_TRUE(comp->ElementClass().isEmpty());
        EXPECT_EQ(comp->GetLabel(), QString::fromUtf8(c.fr));
        ASSERT_EQ(comp->InputCount, 2);
        ASSERT_EQ(comp->OutputCount, 1);
        EXPECT_EQ(comp->Inputs[0]->Name(), QStringLiteral("E0"));
        EXPECT_EQ(comp->Inputs[1]->Name(), QStringLiteral("E1"));
        EXPECT_EQ(comp->Outputs[0]->Name(), QStringLiteral("A"));

        const char* names[] = {c.de, c.en, c.fr, ""};
        for (uint8_t lang = 0; lang < 4; ++lang) {
            Ctx().CurrentLanguage = lang;
            EXPECT_EQ(comp->GetTypeName(), QString::fromUtf8(names[lang])) << "language " << int(lang);
        }
    }
}

TEST_F(ArithmeticTest, ChangedInputCountNamesInputsAgain)
{
    auto comp = Create("TBTMul");
    comp->SetInputCount(16);
    ASSERT_EQ(comp->Inputs.size(), 16u);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(comp->Inputs[i]->Name(), QStringLiteral("E%1").arg(i));
    comp->SetInputCount(3);
    ASSERT_EQ(comp->Inputs.size(), 3u);
    EXPECT_EQ(comp->Inputs[2]->Name(), QStringLiteral("E2"));
    EXPECT_EQ(comp->Outputs[0]->Name(), QStringLiteral("A"));
}

TEST_F(ArithmeticTest, StreamRoundTripAndOldLayouts)
{
    auto comp = Create("TBTSub");
    comp->SetInputCount(5);
    comp->Inputs[3]->SetInverted(true);
    comp->RunTimeAdjustable = true;
    comp->SetLabel(QStringLiteral("Differenz"));
    const QByteArray data = Write(*comp);

    auto copy = Create("TBTSub");
    ASSERT_TRUE(Read(*copy, data, 44));
    EXPECT_EQ(copy->InputCount, 5);
    EXPECT_TRUE(copy->Inputs[3]->Inverted());
    EXPECT_FALSE(copy->Inputs[2]->Inverted());
    EXPECT_TRUE(copy->RunTimeAdjustable);
    EXPECT_EQ(copy->GetLabel(), QStringLiteral("Differenz"));
    EXPECT_EQ(copy->Inputs[4]->Name(), QStringLiteral("E4"));
    EXPECT_EQ(Write(*copy), data);

    // Version 39 carries the inversions but no label; version 2 neither.
    struct Case {
        uint8_t version;
        bool inversions;
    };
    for (const Case& c : {Case{2, false}, Case{39, true}}) {
        SCOPED_TRACE(int(c.version));
        QByteArray old;
        QBuffer buffer(&old);
        buffer.open(QIODevice::WriteOnly);
        TWriter w(buffer);
        w.WriteInteger(0);
        w.WriteInteger(300);
        w.WriteInteger(300);
        w.WriteInteger(3);
        w.WriteInteger(1);
        w.WriteBoolean(false);
        if (c.inversions) {
            for (bool inv : {true, false, false, false})
                w.WriteBoolean(inv);
        }
        buffer.close();
        auto div = Create("TBTDiv");
        ASSERT_TRUE(Read(*div, old, c.version));
        EXPECT_EQ(div->InputCount, 3);
        EXPECT_EQ(div->Inputs[0]->Inverted(), c.inversions);
        EXPECT_EQ(div->GetLabel(), QStringLiteral("Dividierer"));
    }
}

TEST_F(ArithmeticTest, RecordWithUnusablePinCountsIsRefused)
{
    for (auto [inputs, outputs] : {std::pair{0, 1}, std::pair{2, 0}, std::pair{2, 2}}) {
        SCOPED_TRACE(testing::Message() << inputs << "/" << outputs);
        TIOBauteil source;
        source.SetInputCount(inputs);
        source.SetOutputCount(outputs);
        auto comp = Create("TBTDiv");
        try {
            Read(*comp, Write(source), 44);
            ADD_FAILURE() << "record accepted";
        } catch (const EFilerError& e) {
            EXPECT_EQ(e.kind(), EFilerError::InvalidData);
        }
    }
}

TEST_F(ArithmeticTest, SymbolInTheSymbolColourOrRedWhenSelected)
{
    for (bool selected : {false, true}) {
        auto comp = Create("TBTAdd");
        comp->SymbolColor = clLime;
        comp->Selected = selected;
        const TMarkPixels n = MarkPixelsInBody(*comp);
        EXPECT_EQ(n.lime > 0, !selected);
        EXPECT_EQ(n.red > 0, selected);
    }
}

} // namespace
