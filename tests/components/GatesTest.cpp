// Logic gates: truth tables on real pins, registry, pins and texts, stream records, symbols.
#include "ComponentTestSupport.h"
#include "components/digital/Gates.h"
#include "components/digital/RegisterDigital.h"
#include "core/model/ClassRegistry.h"
#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "platform/Context.h"
#include "platform/Filer.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <cstring>
#include <memory>
#include <vector>

namespace {

class GatesTest : public TComponentTest<RegisterGateComponents> {};

// Output pins standing for the nets that drive a component's inputs.
struct TDrivers {
    std::vector<std::unique_ptr<TBauteilPin>> pins;

    // '1' drives 5.0, '0' drives 0.0, 'h' exactly 2.5, 'l' 2.49, '-' leaves the input open.
    void Attach(TIOBauteil& c, const char* levels)
    {
        pins.clear();
        for (int i = 0; i < c.InputCount; ++i) {
            auto pin = std::make_unique<TBauteilPin>();
            switch (levels[i]) {
            case '1': pin->Value = 5.0L; break;
            case '0': pin->Value = 0.0L; break;
            case 'h': pin->Value = 2.5L; break;
            case 'l': pin->Value = 2.49L; break;
            default: break;
            }
            c.Inputs[i]->SetSource(levels[i] == '-' ? nullptr : pin.get());
            pins.push_back(std::move(pin));
        }
    }
};

TEST_F(GatesTest, TruthTables)
{
    struct Case {
        const char* cls;
        int inputs;
        const char* inverted; // per input: 'i' inverted; a trailing 'o' inverts the output
        const char* levels;
        bool out;
    };
    const Case cases[] = {
        {"TBTInverter", 1, "", "1", false},
        {"TBTInverter", 1, "", "0", true},
        {"TBTInverter", 1, "", "-", false},   // an open input reads high
        {"TBTInverter", 1, "i", "-", true},   // an open inverted input reads low
        {"TBTInverter", 1, "", "h", false},   // 2.5 is already high
        {"TBTInverter", 1, "", "l", true},
        {"TBTInverter", 1, "o", "1", true},

        {"TBTAnd", 2, "", "00", false},
        {"TBTAnd", 2, "", "01", false},
        {"TBTAnd", 2, "", "10", false},
        {"TBTAnd", 2, "", "11", true},
        {"TBTAnd", 2, "", "--", true},
        {"TBTAnd", 2, "-i", "10", true},      // inverted input 1: high exactly for 1, 0
        {"TBTAnd", 2, "-i", "11", false},
        {"TBTAnd", 2, "-i", "00", false},
        {"TBTAnd", 2, "--o", "11", false},
        {"TBTAnd", 16, "", "1111111111111111", true},
        {"TBTAnd", 16, "", "111111111111111-", true},
        {"TBTAnd", 16, "", "1111111111111110", false},
        {"TBTAnd", 16, "", "0111111111111111", false},
        {"TBTAnd", 6, "----ii", "111100", true},  // inversions beyond the first four inputs
        {"TBTAnd", 6, "----ii", "111110", false},

        {"TBTNand", 2, "", "00", true},
        {"TBTNand", 2, "", "01", true},
        {"TBTNand", 2, "", "10", true},
        {"TBTNand", 2, "", "11", false},
        {"TBTNand", 2, "", "--", false},
        {"TBTNand", 3, "--i", "110", false},

        {"TBTOr", 2, "", "00", false},
        {"TBTOr", 2, "", "01", true},
        {"TBTOr", 2, "", "10", true},
        {"TBTOr", 2, "", "11", true},
        {"TBTOr", 2, "", "--", true},
        {"TBTOr", 2, "ii", "11", false},
        {"TBTOr", 5, "", "0000l", false},
        {"TBTOr", 5, "", "0000h", true},

        {"TBTNor", 2, "", "00", true},
        {"TBTNor", 2, "", "01", false},
        {"TBTNor", 2, "", "10", false},
        {"TBTNor", 2, "", "11", false},
        {"TBTNor", 2, "", "--", false},

        {"TBTExor", 2, "", "00", false},
        {"TBTExor", 2, "", "01", true},
        {"TBTExor", 2, "", "10", true},
        {"TBTExor", 2, "", "11", false},
        {"TBTExor", 3, "", "000", false},
        {"TBTExor", 3, "", "100", true},
        {"TBTExor", 3, "", "010", true},
        {"TBTExor", 3, "", "110", false},
        {"TBTExor", 3, "", "011", false},
        {"TBTExor", 3, "", "111", true},
        {"TBTExor", 3, "i--", "011", true},
        {"TBTExor", 16, "", "1111111111111111", false},
        {"TBTExor", 16, "", "111111111111111-", false},
        {"TBTExor", 16, "", "1111111111111110", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.cls << " " << c.inverted << " " << c.levels);
        auto gate = Create(c.cls);
        ASSERT_TRUE(gate);
        gate->SetInputCount(c.inputs);
        ASSERT_EQ(gate->InputCount, c.inputs);
        for (int i = 0; c.inverted[i] != 0; ++i) {
            if (c.inverted[i] == 'o')
                gate->Outputs[0]->SetInverted(true);
            else
                gate->Inputs[i]->SetInverted(c.inverted[i] == 'i');
        }
        TDrivers drivers;
        drivers.Attach(*gate, c.levels);
        gate->Outputs[0]->Value = 1.234L; // written in every step, whatever it held
        gate->Calculate();
        EXPECT_EQ(gate->Outputs[0]->Value, c.out ? 5.0L : 0.0L);
    }
}

TEST_F(GatesTest, OutputFollowsInputsFromStepToStep)
{
    auto gate = Create("TBTOr");
    TDrivers drivers;
    drivers.Attach(*gate, "00");
    const Extended expected[] = {0.0L, 5.0L, 5.0L, 0.0L};
    const Extended in0[] = {0.0L, 5.0L, 0.0L, 0.0L};
    const Extended in1[] = {0.0L, 0.0L, 3.0L, 1.0L};
    for (int step = 0; step < 4; ++step) {
        drivers.pins[0]->Value = in0[step];
        drivers.pins[1]->Value = in1[step];
        gate->Calculate();
        EXPECT_EQ(gate->Outputs[0]->Value, expected[step]) << "step " << step;
    }
}

TEST_F(GatesTest, RegistryCreatesEveryGateWithItsSettings)
{
    struct Case {
        const char* cls;
        const char* prefix;
        int inputs;
        bool editable;
        int32_t help;
        const char* de;
        const char* en;
        const char* fr;
    };
    const Case cases[] = {
        {"TBTInverter", "INV", 1, false, 18230, "Inverter", "Inverter", "Inverseur"},
        {"TBTAnd", "AND", 2, true, 18235, "AND", "AND", "AND"},
        {"TBTNand", "NAND", 2, true, 18240, "NAND", "NAND", "NAND"},
        {"TBTOr", "OR", 2, true, 18245, "OR", "OR", "OR"},
        {"TBTNor", "NOR", 2, true, 18250, "NOR", "NOR", "NOR"},
        {"TBTExor", "EXOR", 2, true, 18255, "EXOR", "EXOR", "EXOR"},
    };
    EXPECT_EQ(registry.Count(), int(std::size(cases)));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cls);
        Ctx().CurrentLanguage = 0;
        auto gate = Create(c.cls);
        ASSERT_TRUE(gate);
        EXPECT_STREQ(gate->ClassName(), c.cls);
        EXPECT_NE(dynamic_cast<TGrundBT*>(gate.get()), nullptr);
        EXPECT_EQ(gate->Prefix(), QString::fromLatin1(c.prefix));
        EXPECT_EQ(gate->InputCount, c.inputs);
        EXPECT_EQ(gate->OutputCount, 1);
        EXPECT_EQ(gate->Editable, c.editable);
        EXPECT_FALSE(gate->Clocked);
        EXPECT_EQ(gate->HelpContext, c.help);
        EXPECT_TRUE(gate->ElementClass().isEmpty());
        EXPECT_EQ(gate->GetLabel(), QString::fromUtf8(c.de));
        for (const auto& pin : gate->Inputs)
            EXPECT_TRUE(pin->Name().isEmpty());
        EXPECT_TRUE(gate->Outputs[0]->Name().isEmpty());

        const char* names[] = {c.de, c.en, c.fr};
        for (uint8_t lang = 0; lang < 3; ++lang) {
            Ctx().CurrentLanguage = lang;
            EXPECT_EQ(gate->GetTypeName(), QString::fromUtf8(names[lang])) << "language " << int(lang);
        }
    }
}

TEST_F(GatesTest, ChangedInputCountKeepsPinsUnnamed)
{
    auto gate = Create("TBTNand");
    gate->SetInputCount(9);
    ASSERT_EQ(gate->Inputs.size(), 9u);
    for (const auto& pin : gate->Inputs)
        EXPECT_TRUE(pin->Name().isEmpty());
    EXPECT_EQ(gate->GetWidth(), 160);
}

TEST_F(GatesTest, StreamRoundTripKeepsInputCountInversionsAndLabel)
{
    for (const char* cls : {"TBTAnd", "TBTNand", "TBTOr", "TBTNor", "TBTExor", "TBTInverter"}) {
        SCOPED_TRACE(cls);
        auto gate = Create(cls);
        const bool multi = std::strcmp(cls, "TBTInverter") != 0;
        if (multi)
            gate->SetInputCount(7);
        gate->Inputs[0]->SetInverted(true);
        gate->Outputs[0]->SetInverted(true);
        gate->SetMirrored(true);
        gate->MoveBy(40, 80);
        gate->SetLabel(QStringLiteral("Freigabe"));
        const QByteArray data = Write(*gate);

        auto copy = Create(cls);
        ASSERT_TRUE(Read(*copy, data, 44));
        EXPECT_EQ(copy->InputCount, multi ? 7 : 1);
        EXPECT_EQ(copy->OutputCount, 1);
        EXPECT_TRUE(copy->Inputs[0]->Inverted());
        if (multi) {
            EXPECT_FALSE(copy->Inputs[6]->Inverted());
        }
        EXPECT_TRUE(copy->Outputs[0]->Inverted());
        EXPECT_TRUE(copy->Mirrored);
        EXPECT_EQ(copy->X, 340);
        EXPECT_EQ(copy->Y, 380);
        EXPECT_EQ(copy->GetLabel(), QStringLiteral("Freigabe"));
        for (const auto& pin : copy->Inputs)
            EXPECT_TRUE(pin->Name().isEmpty());
        EXPECT_TRUE(copy->Outputs[0]->Name().isEmpty());
        EXPECT_EQ(Write(*copy), data);
    }
}

// Records in the layouts of older file versions: inversion flags from version 3, run-time flag
// and label from version 40.
TEST_F(GatesTest, OlderRecordLayoutsReadByVersion)
{
    struct Case {
        uint8_t version;
        bool hasInversions;
        bool hasLabel;
    };
    const Case cases[] = {{2, false, false}, {3, true, false}, {39, true, false},
                          {40, true, true}, {44, true, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "version " << int(c.version));
        QByteArray data;
        QBuffer buffer(&data);
        buffer.open(QIODevice::WriteOnly);
        TWriter w(buffer);
        w.WriteInteger(0);    // DataVersion
        w.WriteInteger(500);  // X
        w.WriteInteger(600);  // Y
        w.WriteInteger(3);    // inputs
        w.WriteInteger(1);    // outputs
        w.WriteBoolean(false);
        if (c.hasInversions) {
            for (bool inv : {false, true, false, true})
                w.WriteBoolean(inv);
        }
        if (c.hasLabel) {
            w.WriteBoolean(true);
            w.WriteString(QStringLiteral("Tor"));
        }
        buffer.close();

        Ctx().CurrentLanguage = 1;
        auto gate = Create("TBTExor");
        gate->SetLabel(QStringLiteral("vorher"));
        gate->Inputs[0]->SetInverted(true);
        ASSERT_TRUE(Read(*gate, data, c.version));
        EXPECT_EQ(gate->InputCount, 3);
        EXPECT_FALSE(gate->Inputs[0]->Inverted());
        EXPECT_EQ(gate->Inputs[1]->Inverted(), c.hasInversions);
        EXPECT_EQ(gate->Outputs[0]->Inverted(), c.hasInversions);
        EXPECT_EQ(gate->RunTimeAdjustable, c.hasLabel);
        EXPECT_EQ(gate->GetLabel(), c.hasLabel ? QStringLiteral("Tor") : QStringLiteral("EXOR"));
        for (const auto& pin : gate->Inputs)
            EXPECT_TRUE(pin->Name().isEmpty());
    }
}

// A record whose pin counts a gate cannot step (no output, several outputs, an inverter with
// other than one input) is refused instead of being stepped out of range.
TEST_F(GatesTest, RecordWithUnusablePinCountsIsRefused)
{
    struct Case {
        const char* cls;
        int inputs, outputs;
    };
    const Case cases[] = {
        {"TBTAnd", 2, 0}, {"TBTOr", 3, 2}, {"TBTExor", 0, 1}, {"TBTInverter", 0, 1},
        {"TBTInverter", 2, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.cls << " " << c.inputs << "/" << c.outputs);
        TIOBauteil source;
        source.SetInputCount(c.inputs);
        source.SetOutputCount(c.outputs);
        const QByteArray data = Write(source);
        auto gate = Create(c.cls);
        try {
            Read(*gate, data, 44);
            ADD_FAILURE() << "record accepted";
        } catch (const EFilerError& e) {
            EXPECT_EQ(e.kind(), EFilerError::InvalidData);
        }
    }
}

// The marks are drawn in the symbol colour (red while selected) inside the body; NAND, NOR and
// the inverter add the negation stroke on the output side.
TEST_F(GatesTest, SymbolMarkAndNegationStroke)
{
    struct Case {
        const char* cls;
        bool stroke;
    };
    const Case cases[] = {{"TBTInverter", true}, {"TBTAnd", false}, {"TBTNand", true},
                          {"TBTOr", false},      {"TBTNor", true},  {"TBTExor", false}};
    // Pixels of a colour family in a board-unit rectangle of a picture at zoom 4 (4 units/px)
    // whose top-left corner is board point (200, 200).
    auto count = [](const QImage& img, TRect r, auto match) {
        int n = 0;
        for (int y = (r.Top - 200) * 64 / 254; y < (r.Bottom - 200) * 64 / 254; ++y)
            for (int x = (r.Left - 200) * 64 / 254; x < (r.Right - 200) * 64 / 254; ++x)
                if (match(img.pixelColor(x, y)))
                    ++n;
        return n;
    };
    auto lime = [](QColor c) { return c.green() > 160 && c.red() < 120 && c.blue() < 120; };
    auto red = [](QColor c) { return c.red() > 160 && c.green() < 120 && c.blue() < 120; };

    for (const Case& c : cases) {
        for (bool mirrored : {false, true}) {
            for (bool selected : {false, true}) {
                SCOPED_TRACE(testing::Message() << c.cls << (mirrored ? " mirrored" : "")
                                                << (selected ? " selected" : ""));
                auto gate = Create(c.cls);
                gate->SymbolColor = clLime;
                gate->SetMirrored(mirrored);
                gate->Selected = selected;
                QImage img(120, 120, QImage::Format_RGB32);
                img.fill(Qt::white);
                {
                    QPainter p(&img);
                    TCanvas canvas(&p);
                    canvas.SetMapping(4.0, QPoint(200, 200));
                    gate->Paint(canvas);
                }
                const TRect body = gate->Body;
                const int cx = (body.Left + body.Right) / 2;
                const int cy = (body.Top + body.Bottom) / 2;
                const TRect middle{cx - 30, cy - 36, cx + 30, cy + 30};
                auto markColour = [&](QColor q) { return selected ? red(q) : lime(q); };
                EXPECT_GT(count(img, middle, markColour), 0);
                EXPECT_EQ(count(img, middle, selected ? lime : red), 0);
                if (selected)
                    continue;
                const TRect right{body.Right + 2, cy - 20, body.Right + 24, cy + 4};
                const TRect left{body.Left - 24, cy - 20, body.Left - 2, cy + 4};
                EXPECT_EQ(count(img, mirrored ? left : right, lime) > 0, c.stroke);
                EXPECT_EQ(count(img, mirrored ? right : left, lime), 0);
            }
        }
    }
}

} // namespace
