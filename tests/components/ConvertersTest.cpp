// A/D and D/A converters: codes over the range, rounding, a range without width, the step
// taken at reset, settings dialog, record, hint, texts, pins and symbol.
#include "ComponentTestSupport.h"
#include "components/analog/Converters.h"
#include "components/analog/RegisterAnalog.h"
#include "core/model/ClassRegistry.h"
#include "core/model/Translator.h"
#include "platform/Colors.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"
#include "ui/Formats.h"
#include "ui/SettingsDialog.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDialog>
#include <QLineEdit>
#include <QSpinBox>
#include <cmath>
#include <memory>
#include <vector>

namespace {

class ConvertersTest : public TComponentTest<RegisterFormulaComponents, true> {
protected:
    // The output levels from the first output on, "1" for high.
    static std::string Levels(const TIOBauteil& c)
    {
        std::string s;
        for (const auto& pin : c.Outputs)
            s += pin->Value >= 2.5L ? '1' : '0';
        return s;
    }
};

TEST_F(ConvertersTest, AdcCodes)
{
    struct Case {
        int bits;
        Extended min, max, in;
        const char* levels;  // first output (most significant bit) first
    };
    const Case cases[] = {
        {8, 0, 5, 1.0L, "00110011"},            // code 51 of step 5/255
        {8, 0, 5, 5.5L, "11111111"},            // above the range
        {8, 0, 5, 5.0L, "11111111"},
        {8, 0, 5, -1.0L, "00000000"},           // below the range
        {8, 0, 5, 0.0L, "00000000"},
        {8, 0, 255, 2.5L, "00000010"},          // halves to the even code
        {8, 0, 255, 3.5L, "00000100"},
        {8, 0, 255, 254.5L, "11111110"},
        {8, 0, 255, 200.4L, "11001000"},
        {2, 0, 3, 1.6L, "10"},
        {16, 0, 65535, 65535, "1111111111111111"},
        {16, 0, 65535, 4660, "0001001000110100"},
        {16, -10, 10, -10, "0000000000000000"},
        {16, -10, 10, 10, "1111111111111111"},
        // A range without width has no code step: code 0 for every input.
        {8, 2, 2, 1, "00000000"},
        {8, 2, 2, 2, "00000000"},
        {8, 2, 2, 3, "00000000"},
        // Minimum above maximum: every value clamps to the maximum, the top code.
        {8, 5, 0, -1, "11111111"},
        {8, 5, 0, 7, "11111111"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.bits << " bits " << double(c.min) << ".."
                                        << double(c.max) << " in " << double(c.in));
        auto adc = Create<TBTADC>();
        adc->SetBits(c.bits);
        adc->Minimum = c.min;
        adc->Maximum = c.max;
        adc->SimReset();
        TBauteilPin driver;
        driver.Value = c.in;
        adc->Inputs[0]->SetSource(&driver);
        adc->Calculate();
        EXPECT_EQ(Levels(*adc), c.levels);
        EXPECT_TRUE(std::isfinite(adc->Step));
    }
}

TEST_F(ConvertersTest, DacValues)
{
    struct Case {
        int bits;
        Extended min, max;
        const char* inputs;  // from "D0" on: 1 high, 0 low, o open, i open and inverted
        Extended out;
    };
    const Case cases[] = {
        {8, 0, 5, "oooooooo", 5},                 // open inputs read high
        {8, 0, 5, "10000000", 5.0L / 255},
        {8, 0, 5, "00000000", 0},
        {8, 0, 5, "iiiiiiii", 0},                 // inverted open inputs read low
        {16, -10, 10, "1111111111111111", 10},
        {16, 0, 65535, "0010110001001000", 4660},
        {4, 2, 2, "1111", 2},                     // no width: always the minimum
        {8, 5, 0, "11111111", 0},
        {8, 5, 0, "00000000", 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.inputs);
        auto dac = Create<TBTDAC>();
        dac->SetBits(c.bits);
        dac->Minimum = c.min;
        dac->Maximum = c.max;
        dac->SimReset();
        std::vector<std::unique_ptr<TBauteilPin>> drivers;
        for (int i = 0; i < c.bits; ++i) {
            const char k = c.inputs[i];
            drivers.push_back(std::make_unique<TBauteilPin>());
            drivers.back()->Value = k == '1' ? 5.0L : 0.0L;
            dac->Inputs[size_t(i)]->SetSource((k == '1' || k == '0') ? drivers.back().get() : nullptr);
            dac->Inputs[size_t(i)]->SetInverted(k == 'i');
        }
        dac->Calculate();
        EXPECT_NEAR(double(dac->Outputs[0]->Value), double(c.out), 1e-15 * std::fmax(1.0, std::fabs(double(c.out))));
    }
}

TEST_F(ConvertersTest, StepIsTakenAtResetOnly)
{
    auto adc = Create<TBTADC>();
    TBauteilPin driver;
    driver.Value = 100;
    adc->Inputs[0]->SetSource(&driver);
    adc->Minimum = 0;
    adc->Maximum = 255;
    adc->Calculate();  // before any reset the step is 0
    EXPECT_EQ(Levels(*adc), "00000000");
    adc->SimReset();
    adc->Calculate();
    EXPECT_EQ(Levels(*adc), "01100100");  // 100
    adc->Maximum = 510;
    adc->Calculate();
    EXPECT_EQ(Levels(*adc), "01100100");
    adc->SimEnd();
    adc->Calculate();
    EXPECT_EQ(Levels(*adc), "00110010");  // 50

    auto dac = Create<TBTDAC>();
    dac->Maximum = 255;
    dac->Calculate();
    EXPECT_EQ(dac->Outputs[0]->Value, 0);
    dac->SimReset();
    dac->Calculate();
    EXPECT_EQ(dac->Outputs[0]->Value, 255);
}

TEST_F(ConvertersTest, RegistryTextsPinsAndHint)
{
    struct Case {
        const char* cls;
        const char* prefix;
        int32_t help;
        const char* names[4];
    };
    const Case cases[] = {
        {"TBTADC", "ADC", 18395, {"A/D-Wandler", "ADC", "Convertisseur\rA/N", ""}},
        {"TBTDAC", "DAC", 18400, {"D/A-Wandler", "DAC", "Convertisseur\rN/A", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cls);
        std::unique_ptr<TBauteil> item = registry.CreateBoardItem(QString::fromLatin1(c.cls));
        auto* conv = dynamic_cast<TBTConverter*>(item.get());
        ASSERT_NE(conv, nullptr);
        EXPECT_STREQ(conv->ClassName(), c.cls);
        EXPECT_EQ(conv->Prefix(), QString::fromLatin1(c.prefix));
        EXPECT_EQ(conv->HelpContext, c.help);
        EXPECT_TRUE(conv->Editable);
        EXPECT_TRUE(conv->ElementClass().isEmpty());
        EXPECT_EQ(conv->Bits(), 8);
        EXPECT_EQ(conv->Minimum, 0.0L);
        EXPECT_EQ(conv->Maximum, 5.0L);
        for (uint8_t lang = 0; lang < 4; ++lang) {
            Ctx().CurrentLanguage = lang;
            EXPECT_EQ(conv->GetTypeName(), QString::fromUtf8(c.names[lang])) << int(lang);
        }
        Ctx().CurrentLanguage = 1;
        conv->SetLabel(conv->GetTypeName());
        conv->SetNumber(2);
        const QString range = QStringLiteral("\r") + ValueToText(0) + QStringLiteral(" ... ")
                              + ValueToText(5) + QStringLiteral("\r");
        EXPECT_EQ(conv->GetHint(), QString::fromLatin1(c.prefix) + QStringLiteral(" 2\r")
                                       + QString::fromLatin1(c.names[1]) + range
                                       + QStringLiteral("0000h ... 00FFh"));
        conv->SetBits(16);
        EXPECT_TRUE(conv->GetHint().endsWith(QStringLiteral("\r0000h ... FFFFh")));
        conv->SetBits(2);
        EXPECT_TRUE(conv->GetHint().endsWith(QStringLiteral("\r0000h ... 0003h")));
        Ctx().CurrentLanguage = 0;
    }

    auto adc = Create<TBTADC>();
    adc->SetBits(3);
    ASSERT_EQ(adc->InputCount, 1);
    EXPECT_EQ(adc->Inputs[0]->Name(), QStringLiteral("E"));
    QStringList names;
    for (const auto& p : adc->Outputs)
        names << p->Name();
    EXPECT_EQ(names, QStringList({"D2", "D1", "D0"}));

    auto dac = Create<TBTDAC>();
    dac->SetBits(3);
    names.clear();
    for (const auto& p : dac->Inputs)
        names << p->Name();
    EXPECT_EQ(names, QStringList({"D0", "D1", "D2"}));
    ASSERT_EQ(dac->OutputCount, 1);
    EXPECT_EQ(dac->Outputs[0]->Name(), QStringLiteral("A"));
}

TEST_F(ConvertersTest, SettingsDialog)
{
    struct Case {
        const char* name;
        bool running;
        int answer;
        int bits;         // -1: spin untouched
        const char* min;  // nullptr: untouched
        const char* max;
        int expectedBits;
        Extended expectedMin, expectedMax;
    };
    const Extended exactMin = 0.1234567890123L;  // more digits than the row shows
    const Case cases[] = {
        {"OK with new values", false, mrOk, 12, "-10", "10,5", 12, -10, 10.5L},
        {"OK untouched keeps exact values", false, mrOk, -1, nullptr, nullptr, 8, exactMin, 5},
        {"cancel", false, mrCancel, 4, "7", "9", 8, exactMin, 5},
        {"during a run only the range", true, mrOk, -1, nullptr, "20", 8, exactMin, 20},
    };
    for (bool dac : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << (dac ? "DAC " : "ADC ") << c.name);
            std::unique_ptr<TBTConverter> conv;
            if (dac)
                conv = Create<TBTDAC>();
            else
                conv = Create<TBTADC>();
            conv->Minimum = exactMin;
            conv->SetLabel(QStringLiteral("Wandler"));
            Ctx().SimRunning = c.running;
            TScopedDialogResponder responder;
            responder.Answer([&](QDialog& d) {
                const QList<QSpinBox*> spins = d.findChildren<QSpinBox*>(QStringLiteral("Spin"));
                EXPECT_EQ(spins.size(), c.running ? 0 : 1);
                EXPECT_EQ(d.findChildren<QLineEdit*>(QStringLiteral("Edit")).size(),
                          c.running ? 0 : 1);  // "Name"
                EXPECT_EQ(static_cast<TDefault_Dlg&>(d).HelpContext, dac ? 18400 : 18395);
                auto* minEdit = d.findChild<QLineEdit*>(QStringLiteral("MinEdit"));
                auto* maxEdit = d.findChild<QLineEdit*>(QStringLiteral("MaxEdit"));
                if (!minEdit || !maxEdit) {
                    ADD_FAILURE() << "no range row";
                    return c.answer;
                }
                EXPECT_EQ(minEdit->text(), ValueToText(exactMin));
                EXPECT_EQ(maxEdit->text(), ValueToText(5));
                if (!spins.isEmpty()) {
                    EXPECT_EQ(spins[0]->minimum(), 2);
                    EXPECT_EQ(spins[0]->maximum(), 16);
                    if (c.bits >= 0)
                        spins[0]->setValue(c.bits);
                }
                if (c.min)
                    minEdit->setText(QString::fromLatin1(c.min));
                if (c.max)
                    maxEdit->setText(QString::fromLatin1(c.max));
                return c.answer;
            });
            EXPECT_EQ(conv->EditProperties(), c.answer);
            EXPECT_EQ(responder.Titles().value(0), QStringLiteral("Wandler"));
            EXPECT_EQ(conv->Bits(), c.expectedBits);
            EXPECT_EQ(conv->Minimum, c.expectedMin);
            EXPECT_EQ(conv->Maximum, c.expectedMax);
            Ctx().SimRunning = false;
        }
    }
}

TEST_F(ConvertersTest, RecordRoundTripAndCheck)
{
    for (bool dac : {false, true}) {
        SCOPED_TRACE(dac ? "DAC" : "ADC");
        std::unique_ptr<TBTConverter> conv;
        std::unique_ptr<TBTConverter> copy;
        if (dac) {
            conv = Create<TBTDAC>();
            copy = Create<TBTDAC>();
        } else {
            conv = Create<TBTADC>();
            copy = Create<TBTADC>();
        }
        conv->SetBits(12);
        conv->Minimum = -2.5L;
        conv->Maximum = 1.0L / 3.0L;
        const QByteArray data = Write(*conv);

        // Minimum and maximum end the record as 10 raw bytes each.
        uint8_t raw[10];
        EncodeExtended80(-2.5L, raw);
        EXPECT_EQ(data.right(20).left(10), QByteArray(reinterpret_cast<const char*>(raw), 10));
        EncodeExtended80(1.0L / 3.0L, raw);
        EXPECT_EQ(data.right(10), QByteArray(reinterpret_cast<const char*>(raw), 10));

        ASSERT_TRUE(Read(*copy, data, 44));
        EXPECT_EQ(copy->Bits(), 12);
        EXPECT_EQ(copy->Minimum, -2.5L);
        EXPECT_EQ(copy->Maximum, 1.0L / 3.0L);
        EXPECT_EQ(Write(*copy), data);

        // An old record without inversions and label.
        QByteArray old;
        {
            QBuffer buffer(&old);
            buffer.open(QIODevice::WriteOnly);
            TWriter w(buffer);
            w.WriteInteger(0);
            w.WriteInteger(100);
            w.WriteInteger(100);
            w.WriteInteger(dac ? 4 : 1);
            w.WriteInteger(dac ? 1 : 4);
            w.WriteBoolean(false);
            w.WriteRawExtended(1);
            w.WriteRawExtended(2);
        }
        ASSERT_TRUE(Read(*copy, old, 2));
        EXPECT_EQ(copy->Bits(), 4);
        EXPECT_EQ(copy->Minimum, 1);
        EXPECT_EQ(copy->Maximum, 2);
    }

    struct Bad {
        const char* cls;
        int inputs, outputs;
    };
    const Bad bad[] = {
        {"TBTADC", 1, 1}, {"TBTADC", 1, 17}, {"TBTADC", 2, 8}, {"TBTADC", 0, 8},
        {"TBTDAC", 1, 1}, {"TBTDAC", 17, 1}, {"TBTDAC", 8, 2}, {"TBTDAC", 8, 0},
    };
    for (const Bad& b : bad) {
        SCOPED_TRACE(testing::Message() << b.cls << " " << b.inputs << "/" << b.outputs);
        TIOBauteil source;
        source.SetInputCount(b.inputs);
        source.SetOutputCount(b.outputs);
        QByteArray record = Write(source) + QByteArray(20, '\0');
        std::unique_ptr<TBauteil> conv = registry.CreateBoardItem(QString::fromLatin1(b.cls));
        try {
            Read(*static_cast<TIOBauteil*>(conv.get()), record, 44);
            ADD_FAILURE() << "record accepted";
        } catch (const EFilerError& e) {
            EXPECT_EQ(e.kind(), EFilerError::InvalidData);
        }
    }
}

TEST_F(ConvertersTest, SymbolByLanguageInTheSymbolColourOrRedWhenSelected)
{
    for (const char* cls : {"TBTADC", "TBTDAC"}) {
        for (uint8_t lang : {0, 2, 3}) {
            for (bool selected : {false, true}) {
                SCOPED_TRACE(testing::Message() << cls << " language " << int(lang)
                                                << " selected " << selected);
                Ctx().CurrentLanguage = lang;
                std::unique_ptr<TBauteil> item = registry.CreateBoardItem(QString::fromLatin1(cls));
                auto* conv = static_cast<TIOBauteil*>(item.get());
                conv->SymbolColor = clLime;
                conv->Selected = selected;
                const TMarkPixels n = MarkPixelsInBody(*conv);
                EXPECT_EQ(n.lime > 0, !selected && lang <= 2);
                EXPECT_EQ(n.red > 0, selected && lang <= 2);
            }
        }
    }
}

} // namespace
