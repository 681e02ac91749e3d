// Bus driver and address decoder: widths and pin names, data through and 0.0 V while
// disabled on shared nets, address ranges, settings dialogs, hexadecimal texts, records.
#include "ComponentTestSupport.h"
#include "components/digital/BusDriver.h"
#include "components/digital/RegisterDigital.h"
#include "core/model/ClassRegistry.h"
#include "core/model/Translator.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QComboBox>
#include <QLineEdit>
#include <cstring>
#include <memory>
#include <vector>

namespace {

class BusDriverTest : public TComponentTest<RegisterCombinationalComponents, true> {};

// --- Bus driver ------------------------------------------------------------------------------

TEST_F(BusDriverTest, BusDriverWidthsAndPinNames)
{
    auto c = Create<TBTBustreiber>();
    ASSERT_TRUE(c);
    EXPECT_EQ(c->Prefix(), QStringLiteral("DBus"));
    EXPECT_TRUE(c->Editable);
    EXPECT_EQ(c->HelpContext, 18360);
    EXPECT_EQ(c->InputCount, 9);
    EXPECT_EQ(c->OutputCount, 8);
    EXPECT_EQ(c->WidthIndex(), 2);
    const char* names[] = {"Bustreiber\rdigital", "Digital bus\rdriver", "Driver\rbus digital"};
    for (uint8_t lang = 0; lang < 3; ++lang) {
        Ctx().CurrentLanguage = lang;
        EXPECT_EQ(c->GetTypeName(), QString::fromUtf8(names[lang]));
    }
    for (int index = 0; index < 4; ++index) {
        SCOPED_TRACE(index);
        const int bits = 2 << index;
        c->SetWidth(index);
        EXPECT_EQ(c->WidthIndex(), index);
        EXPECT_EQ(PinNames(c->Inputs), Numbered("D", 0, bits - 1) + QStringList{"EN"});
        EXPECT_EQ(PinNames(c->Outputs), Numbered("D", bits - 1, 0));
    }
}

// Output "Dk" carries input "Dk" while enabled; disabled, every output is at 0.0 V even when
// it is marked inverted; an open "EN" enables.
TEST_F(BusDriverTest, BusDriverPassesDataWhileEnabled)
{
    auto c = Create<TBTBustreiber>();
    c->SetWidth(1); // 4 lines
    c->Outputs[1]->SetInverted(true);  // "D2"
    TDrivers d(*c);
    struct Step {
        bool en;
        uint32_t data;
        Extended out[4]; // "D3", "D2" (inverted), "D1", "D0"
    };
    const Step steps[] = {
        {true, 0b1010, {5, 5, 5, 0}},
        {true, 0b0101, {0, 0, 0, 5}},
        {false, 0b1111, {0, 0, 0, 0}},
        {false, 0b0000, {0, 0, 0, 0}},
        {true, 0b1111, {5, 0, 5, 5}},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(testing::Message() << s.en << " " << s.data);
        d.Set(4, s.en);
        d.SetNumber(0, 4, s.data);
        c->Calculate();
        for (int j = 0; j < 4; ++j)
            EXPECT_EQ(c->Outputs[j]->Value, s.out[j]) << c->Outputs[j]->Name().toStdString();
    }

    for (auto& out : c->Outputs)
        out->Value = 5.0L;
    c->SimReset();
    for (const auto& out : c->Outputs)
        EXPECT_EQ(out->Value, 0.0L);

    auto open = Create<TBTBustreiber>();
    open->Calculate(); // everything open: enabled, all data high
    for (const auto& out : open->Outputs)
        EXPECT_EQ(out->Value, 5.0L);
}

// Two drivers feeding the same nets: the enabled one decides, disabled ones add nothing.
TEST_F(BusDriverTest, TwoBusDriversOnSharedNets)
{
    auto a = Create<TBTBustreiber>();
    auto b = Create<TBTBustreiber>();
    a->SetWidth(0);
    b->SetWidth(0);
    for (int j = 0; j < 2; ++j) {
        a->Outputs[j]->SetSameNet({a->Outputs[j].get(), b->Outputs[j].get()});
        b->Outputs[j]->SetSameNet(a->Outputs[j]->SameNet());
    }
    TDrivers da(*a);
    TDrivers db(*b);
    da.SetNumber(0, 2, 0b01); // a drives D0 high, D1 low
    db.SetNumber(0, 2, 0b10); // b drives D1 high, D0 low
    struct Case {
        bool enA, enB;
        Extended d1, d0;
    };
    const Case cases[] = {
        {true, false, 0, 5}, {false, true, 5, 0}, {false, false, 0, 0}, {true, true, 5, 5}};
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << k.enA << k.enB);
        da.Set(2, k.enA);
        db.Set(2, k.enB);
        a->Calculate();
        b->Calculate();
        for (TBTBustreiber* c : {a.get(), b.get()}) {
            EXPECT_EQ(c->Outputs[0]->Value, k.d1);
            EXPECT_EQ(c->Outputs[1]->Value, k.d0);
        }
    }
}

TEST_F(BusDriverTest, BusDriverDialogSetsTheWidth)
{
    for (const int answer : {mrOk, mrCancel}) {
        SCOPED_TRACE(answer);
        auto c = Create<TBTBustreiber>();
        c->SetWidth(1);
        c->Inputs[0]->SetInverted(true);
        TScopedDialogResponder responder;
        responder.Answer([&](QDialog& d) {
            EXPECT_EQ(Host(d).HelpContext, 18360);
            EXPECT_EQ(Host(d).PropScrollbox->Rows().size(), 1u);
            auto* combo = d.findChild<QComboBox*>(QStringLiteral("Combo"));
            EXPECT_EQ(combo->count(), 4);
            EXPECT_EQ(combo->currentIndex(), 1);
            EXPECT_EQ(combo->itemText(3), QStringLiteral("16"));
            combo->setCurrentIndex(3);
            return answer;
        });
        EXPECT_EQ(c->EditProperties(), answer);
        ASSERT_EQ(responder.Titles().size(), 1);
        // The type name, its line break shown as a blank in the title bar.
        EXPECT_EQ(responder.Titles()[0], c->GetTypeName().replace(u'\r', u' '));
        const int bits = answer == mrOk ? 16 : 4;
        EXPECT_EQ(c->OutputCount, bits);
        EXPECT_EQ(c->InputCount, bits + 1);
        // A new width rebuilds the pins and clears the marks; cancel keeps them.
        EXPECT_EQ(c->Inputs[0]->Inverted(), answer != mrOk);
        EXPECT_EQ(c->Inputs.back()->Name(), QStringLiteral("EN"));
    }
}

// --- Address decoder -------------------------------------------------------------------------

TEST_F(BusDriverTest, AddressDecoderPinsAndTexts)
{
    auto c = Create<TBTAdressdekoder>();
    ASSERT_TRUE(c);
    EXPECT_EQ(c->Prefix(), QStringLiteral("ADEC"));
    EXPECT_TRUE(c->Editable);
    EXPECT_EQ(c->HelpContext, 18365);
    EXPECT_EQ(PinNames(c->Inputs), Numbered("A", 0, 7));
    EXPECT_EQ(PinNames(c->Outputs), QStringList{"CS"});
    const char* names[] = {"Adressdekoder", "Address decoder", "Décodeur\rd´adresses"};
    for (uint8_t lang = 0; lang < 3; ++lang) {
        Ctx().CurrentLanguage = lang;
        EXPECT_EQ(c->GetTypeName(), QString::fromUtf8(names[lang]));
    }
    for (int index = 0; index < 4; ++index) {
        c->SetWidth(index);
        EXPECT_EQ(c->WidthIndex(), index);
        EXPECT_EQ(PinNames(c->Inputs), Numbered("A", 0, (2 << index) - 1));
        EXPECT_EQ(c->OutputCount, 1);
    }
}

TEST_F(BusDriverTest, AddressDecoderSelectsItsRange)
{
    struct Case {
        int widthIndex;
        int32_t low, high;
        uint32_t address;
        bool cs;
    };
    const Case cases[] = {
        {2, 16, 31, 15, false}, {2, 16, 31, 16, true},  {2, 16, 31, 31, true},
        {2, 16, 31, 32, false}, {2, 0, 0, 0, true},     {2, 0, 0, 1, false},
        {2, 31, 16, 20, false}, // low above high: never
        {3, 0x8000, 0xFFFF, 0xFFFF, true}, {3, 0x8000, 0xFFFF, 0x7FFF, false},
        {0, 1, 2, 3, false},    {0, 1, 3, 3, true},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << k.low << ".." << k.high << " @" << k.address);
        auto c = Create<TBTAdressdekoder>();
        c->SetWidth(k.widthIndex);
        c->RangeLow = k.low;
        c->RangeHigh = k.high;
        TDrivers d(*c);
        d.SetNumber(0, c->InputCount, k.address);
        c->Calculate();
        EXPECT_EQ(c->Outputs[0]->Value, k.cs ? 5.0L : 0.0L);
    }

    // Eight open inputs read address 255: outside the default range 0000 .. 0000.
    auto open = Create<TBTAdressdekoder>();
    open->Outputs[0]->Value = 5.0L;
    open->Calculate();
    EXPECT_EQ(open->Outputs[0]->Value, 0.0L);
    open->RangeHigh = 255;
    open->RangeLow = 255;
    open->Calculate();
    EXPECT_EQ(open->Outputs[0]->Value, 5.0L);
}

TEST_F(BusDriverTest, HexTextsReadTheirLastFourCharacters)
{
    struct Case {
        const char* text;
        uint16_t value;
    };
    const Case cases[] = {
        {"ff", 255},      {"1ff", 511},    {"12345", 0x2345}, {"xyz", 0},   {"", 0},
        {"FFFF", 65535},  {"fFfF", 65535}, {"1G2", 0x102},    {"00FF", 255}, {"-1", 1},
        {"ABCDEF", 0xCDEF},
    };
    for (const Case& k : cases)
        EXPECT_EQ(HexTextToWord(QString::fromLatin1(k.text)), k.value) << k.text;
}

TEST_F(BusDriverTest, AddressDecoderDialogReadsTheRangeInHex)
{
    struct Case {
        const char* low;
        const char* high;
        int answer;
        int32_t expectLow, expectHigh;
    };
    const Case cases[] = {
        {"ff", "1ff", mrOk, 255, 511},
        {"12345", "xyz", mrOk, 0x2345, 0},
        {"ff", "1ff", mrCancel, 16, 31}, // the texts it started with: 0010 and 001F
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << k.low << " " << k.high << " " << k.answer);
        auto c = Create<TBTAdressdekoder>();
        c->RangeLow = 16;
        c->RangeHigh = 31;
        c->SetLabel(QStringLiteral("Port"));
        TScopedDialogResponder responder;
        responder.Answer([&](QDialog& d) {
            // Inputs, range and the three option rows.
            EXPECT_EQ(Host(d).PropScrollbox->Rows().size(), 5u);
            EXPECT_EQ(Host(d).HelpContext, 18365);
            auto* minEdit = d.findChild<QLineEdit*>(QStringLiteral("MinEdit"));
            auto* maxEdit = d.findChild<QLineEdit*>(QStringLiteral("MaxEdit"));
            EXPECT_EQ(minEdit->text(), QStringLiteral("0010"));
            EXPECT_EQ(maxEdit->text(), QStringLiteral("001F"));
            EXPECT_EQ(Host(d).PropScrollbox->Rows()[1]->Caption,
                      QStringLiteral("Adressbereich [hex]"));
            minEdit->setText(QString::fromLatin1(k.low));
            maxEdit->setText(QString::fromLatin1(k.high));
            d.findChild<QComboBox*>(QStringLiteral("Combo"))->setCurrentIndex(0);
            return k.answer;
        });
        EXPECT_EQ(c->EditProperties(), k.answer);
        EXPECT_EQ(responder.Titles().value(0), QStringLiteral("Port"));
        EXPECT_EQ(c->RangeLow, k.expectLow);
        EXPECT_EQ(c->RangeHigh, k.expectHigh);
        EXPECT_EQ(c->InputCount, k.answer == mrOk ? 2 : 8);
    }
}

// During a run only the range row is offered, and the input count stays.
TEST_F(BusDriverTest, AddressDecoderDialogDuringARunShowsOnlyTheRange)
{
    for (const bool runtime : {false, true}) {
        ResetContext();
        (runtime ? Ctx().RuntimeMode : Ctx().SimRunning) = true;
        auto c = Create<TBTAdressdekoder>();
        c->SetWidth(1);
        TScopedDialogResponder responder;
        responder.Answer([&](QDialog& d) {
            EXPECT_EQ(Host(d).PropScrollbox->Rows().size(), 1u);
            EXPECT_EQ(d.findChild<QComboBox*>(QStringLiteral("Combo")), nullptr);
            d.findChild<QLineEdit*>(QStringLiteral("MaxEdit"))->setText(QStringLiteral("3"));
            return mrOk;
        });
        EXPECT_EQ(c->EditProperties(), mrOk);
        EXPECT_EQ(c->InputCount, 4);
        EXPECT_EQ(c->RangeHigh, 3);
    }
}

TEST_F(BusDriverTest, AddressDecoderHintShowsTheRange)
{
    auto c = Create<TBTAdressdekoder>();
    c->SetNumber(2);
    c->RangeLow = 16;
    c->RangeHigh = 31;
    EXPECT_EQ(c->GetHint(), QStringLiteral("ADEC 2\rAdressdekoder\rh0010 - h001F"));
    c->RangeHigh = 0xABCD;
    EXPECT_TRUE(c->GetHint().endsWith(QStringLiteral("h0010 - hABCD")));
}

// The decoder appends its range as two raw little-endian integers, read back without a
// version test; the record before them follows the file version.
TEST_F(BusDriverTest, AddressDecoderRecordCarriesTheRangeRaw)
{
    auto c = Create<TBTAdressdekoder>();
    c->SetWidth(3);
    c->RangeLow = 0x1234;
    c->RangeHigh = 0xFFFF;
    c->Inputs[5]->SetInverted(true);
    c->SetLabel(QStringLiteral("RAM"));
    const QByteArray data = Write(*c);
    ASSERT_GE(data.size(), 8);
    EXPECT_EQ(data.right(8), QByteArray::fromHex("34120000ffff0000"));
    auto copy = Create<TBTAdressdekoder>();
    ASSERT_TRUE(Read(*copy, data, 44));
    EXPECT_EQ(copy->InputCount, 16);
    EXPECT_EQ(copy->RangeLow, 0x1234);
    EXPECT_EQ(copy->RangeHigh, 0xFFFF);
    EXPECT_TRUE(copy->Inputs[5]->Inverted());
    EXPECT_EQ(copy->GetLabel(), QStringLiteral("RAM"));
    EXPECT_EQ(Write(*copy), data);

    for (uint8_t version : {2, 3, 39, 40}) {
        SCOPED_TRACE(int(version));
        QByteArray old;
        QBuffer buffer(&old);
        buffer.open(QIODevice::WriteOnly);
        TWriter w(buffer);
        for (int v : {0, 100, 200, 4, 1})
            w.WriteInteger(v); // DataVersion, X, Y, inputs, outputs
        w.WriteBoolean(false);
        if (version >= 3) {
            for (int i = 0; i < 5; ++i)
                w.WriteBoolean(i == 2);
        }
        if (version >= 40) {
            w.WriteBoolean(true);
            w.WriteString(QStringLiteral("Alt"));
        }
        w.WriteRawInt32(3);
        w.WriteRawInt32(12);
        buffer.close();
        auto r = Create<TBTAdressdekoder>();
        ASSERT_TRUE(Read(*r, old, version));
        EXPECT_EQ(r->InputCount, 4);
        EXPECT_EQ(r->Inputs[2]->Inverted(), version >= 3);
        EXPECT_EQ(r->RunTimeAdjustable, version >= 40);
        EXPECT_EQ(r->GetLabel(),
                  version >= 40 ? QStringLiteral("Alt") : QStringLiteral("Adressdekoder"));
        EXPECT_EQ(r->RangeLow, 3);
        EXPECT_EQ(r->RangeHigh, 12);
    }
}

TEST_F(BusDriverTest, BusDriverRecordKeepsItsWidth)
{
    auto c = Create<TBTBustreiber>();
    c->SetWidth(3);
    c->Outputs[0]->SetInverted(true);
    const QByteArray data = Write(*c);
    auto copy = Create<TBTBustreiber>();
    ASSERT_TRUE(Read(*copy, data, 44));
    EXPECT_EQ(copy->InputCount, 17);
    EXPECT_EQ(copy->OutputCount, 16);
    EXPECT_TRUE(copy->Outputs[0]->Inverted());
    EXPECT_EQ(PinNames(copy->Outputs), Numbered("D", 15, 0));
    EXPECT_EQ(Write(*copy), data);
}

// Only the four widths can be stepped; anything else in a record is refused.
TEST_F(BusDriverTest, RecordWithUnknownWidthIsRefused)
{
    struct Case {
        bool driver;
        int inputs, outputs;
    };
    const Case cases[] = {{true, 8, 8},  {true, 4, 3},   {true, 0, 0},  {true, 18, 17},
                          {true, 10, 8}, {false, 3, 1},  {false, 8, 0}, {false, 32, 1},
                          {false, 0, 1}, {false, 8, 2}};
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << k.driver << " " << k.inputs << "/" << k.outputs);
        TIOBauteil source;
        source.SetInputCount(k.inputs);
        source.SetOutputCount(k.outputs);
        QByteArray data = Write(source);
        data += QByteArray(8, '\0'); // the decoder's range
        std::unique_ptr<TIOBauteil> c;
        if (k.driver)
            c = Create<TBTBustreiber>();
        else
            c = Create<TBTAdressdekoder>();
        try {
            Read(*c, data, 44);
            ADD_FAILURE() << "record accepted";
        } catch (const EFilerError& e) {
            EXPECT_EQ(e.kind(), EFilerError::InvalidData);
        }
    }
}

} // namespace
