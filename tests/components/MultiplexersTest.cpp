// Multiplexers and demultiplexers: selection on real pins, rewrite only on a changed
// selection, registry, pins and texts, stream records, caption.
#include "ComponentTestSupport.h"
#include "components/digital/Multiplexers.h"
#include "components/digital/RegisterDigital.h"
#include "core/model/ClassRegistry.h"
#include "platform/Canvas.h"
#include "platform/Context.h"
#include "platform/Filer.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <memory>
#include <vector>

namespace {

class MultiplexersTest : public TComponentTest<RegisterCombinationalComponents> {};

struct TMember {
    const char* cls;
    bool mux;
    int bits;
    const char* prefix;
    const char* de;
    const char* en;
    const char* fr;
};
const TMember kMembers[] = {
    {"TBTMUX2", true, 1, "2MUX", "2-Kanal\rMultiplexer", "2-Channel\rMultiplexer",
     "Multiplexeur\r2 canaux"},
    {"TBTMUX4", true, 2, "4MUX", "4-Kanal\rMultiplexer", "4-Channel\rMultiplexer",
     "Multiplexeur\r4 canaux"},
    {"TBTMUX8", true, 3, "8MUX", "8-Kanal\rMultiplexer", "8-Channel\rMultiplexer",
     "Multplixeur\r8 canaux"},
    {"TBTMUX16", true, 4, "16MUX", "16-Kanal\rMultiplexer", "16-Channel\rMultiplexer",
     "Multiplexeur\r16 canaux"},
    {"TBTDMUX2", false, 1, "2DMX", "2-Kanal\rDemultiplexer", "2-Channel\rDemultiplexer",
     "Démultiplexeur\r2 canaux"},
    {"TBTDMUX4", false, 2, "4DMX", "4-Kanal\rDemultiplexer", "4-Channel\rDemultiplexer",
     "Démultiplexeur\r4 canaux"},
    {"TBTDMUX8", false, 3, "8DMX", "8-Kanal\rDemultiplexer", "8-Channel\rDemultiplexer",
     "Démultiplexeur\r8 canaux"},
    {"TBTDMUX16", false, 4, "16DMX", "16-Kanal\rDemultiplexer", "16-Channel\rDemultiplexer",
     "Démultiplexeur\r16 canaux"},
};

TEST_F(MultiplexersTest, RegistryCreatesEveryMemberWithItsPinsAndTexts)
{
    for (const TMember& m : kMembers) {
        SCOPED_TRACE(m.cls);
        auto c = Create(m.cls);
        ASSERT_TRUE(c);
        EXPECT_STREQ(c->ClassName(), m.cls);
        EXPECT_EQ(c->Prefix(), QString::fromLatin1(m.prefix));
        EXPECT_FALSE(c->Editable);
        EXPECT_EQ(c->HelpContext, 27000);
        EXPECT_TRUE(c->ElementClass().isEmpty());
        const int n = 1 << m.bits;
        QStringList inputs = QStringList{QStringLiteral("EN")} + Numbered("S", 0, m.bits - 1);
        if (m.mux) {
            inputs += Numbered("D", 0, n - 1);
            EXPECT_EQ(PinNames(c->Outputs), (QStringList{"/Q", "Q"}));
        } else {
            EXPECT_EQ(PinNames(c->Outputs), Numbered("Q", n - 1, 0));
        }
        EXPECT_EQ(PinNames(c->Inputs), inputs);
        const char* names[] = {m.de, m.en, m.fr};
        for (uint8_t lang = 0; lang < 3; ++lang) {
            Ctx().CurrentLanguage = lang;
            EXPECT_EQ(c->GetTypeName(), QString::fromUtf8(names[lang])) << int(lang);
        }
    }
}

// Every selection passes its own data input, both polarities, through both outputs.
TEST_F(MultiplexersTest, MultiplexerPassesTheSelectedDataInput)
{
    for (const TMember& m : kMembers) {
        if (!m.mux)
            continue;
        SCOPED_TRACE(m.cls);
        auto c = Create(m.cls);
        TDrivers d(*c);
        const int n = 1 << m.bits;
        d.Set(0, true); // EN
        for (int sel = 0; sel < n; ++sel) {
            for (int i = 0; i < m.bits; ++i)
                d.Set(1 + i, (sel >> i) & 1);
            for (bool level : {true, false}) {
                // The selected input carries `level`, every other data input the opposite.
                for (int k = 0; k < n; ++k)
                    d.Set(1 + m.bits + k, k == sel ? level : !level);
                c->Calculate();
                EXPECT_EQ(c->Outputs[1]->Value, level ? 5.0L : 0.0L) << "sel " << sel;
                EXPECT_EQ(c->Outputs[0]->Value, level ? 0.0L : 5.0L) << "sel " << sel;
            }
        }
        // Disabled: "Q" low and "/Q" high whatever the data.
        d.Set(0, false);
        for (int k = 0; k < n; ++k)
            d.Set(1 + m.bits + k, true);
        c->Calculate();
        EXPECT_EQ(c->Outputs[1]->Value, 0.0L);
        EXPECT_EQ(c->Outputs[0]->Value, 5.0L);

        c->Outputs[0]->Value = 0.0L;
        c->Outputs[1]->Value = 5.0L;
        c->SimReset();
        EXPECT_EQ(c->Outputs[0]->Value, 5.0L);
        EXPECT_EQ(c->Outputs[1]->Value, 0.0L);
    }
}

TEST_F(MultiplexersTest, UnconnectedMultiplexerPassesItsLastDataInput)
{
    auto c = Create("TBTMUX4");
    c->Calculate(); // EN and both select inputs read high: "D3", itself open and high
    EXPECT_EQ(c->Outputs[1]->Value, 5.0L);
    EXPECT_EQ(c->Outputs[0]->Value, 0.0L);

    // Inverting "D3" makes the open input read low.
    c->Inputs[6]->SetInverted(true);
    c->Calculate();
    EXPECT_EQ(c->Outputs[1]->Value, 0.0L);
    EXPECT_EQ(c->Outputs[0]->Value, 5.0L);
}

// A sequence on a 4-channel demultiplexer. The outputs are marked with 1.0 after each step;
// a step that leaves the marks in place wrote nothing.
TEST_F(MultiplexersTest, DemultiplexerWritesOnlyWhenTheSelectionChanges)
{
    struct Step {
        bool en;
        int sel;
        int high;    // output number expected high, -1: none
        bool writes; // the step rewrote the outputs
    };
    const Step steps[] = {
        {false, 0, -1, false}, // disabled in the first step after the reset: nothing written
        {true, 2, 2, true},
        {true, 2, 2, false},
        {true, 3, 3, true},
        {false, 3, -1, true},  // EN low: every output low
        {false, 1, -1, false},
        {true, 0, 0, true},
        {true, 0, 0, false},
    };
    auto c = Create("TBTDMUX4");
    TDrivers d(*c);
    c->SimReset();
    for (const auto& out : c->Outputs)
        EXPECT_EQ(out->Value, 0.0L);
    EXPECT_EQ(static_cast<TBTDemuxBase&>(*c).LastSelection, -1);
    for (auto& out : c->Outputs)
        out->Value = 1.0L;
    int index = 0;
    for (const Step& s : steps) {
        SCOPED_TRACE(testing::Message() << "step " << index++);
        d.Set(0, s.en);
        d.Set(1, s.sel & 1);
        d.Set(2, s.sel & 2);
        c->Calculate();
        for (int j = 0; j < 4; ++j) {
            const int number = 3 - j; // output j is "Q" (3 - j)
            const Extended expected = !s.writes ? 1.0L : number == s.high ? 5.0L : 0.0L;
            EXPECT_EQ(c->Outputs[j]->Value, expected) << "Q" << number;
        }
        for (auto& out : c->Outputs)
            out->Value = 1.0L;
    }
}

TEST_F(MultiplexersTest, DemultiplexerDecodesEverySelection)
{
    for (const TMember& m : kMembers) {
        if (m.mux)
            continue;
        SCOPED_TRACE(m.cls);
        auto c = Create(m.cls);
        TDrivers d(*c);
        c->SimReset();
        d.Set(0, true);
        const int n = 1 << m.bits;
        for (int sel = 0; sel < n; ++sel) {
            for (int i = 0; i < m.bits; ++i)
                d.Set(1 + i, (sel >> i) & 1);
            c->Calculate();
            for (int j = 0; j < n; ++j) {
                const QString selected = QStringLiteral("Q") + QString::number(sel);
                const bool high = c->Outputs[j]->Name() == selected;
                EXPECT_EQ(c->Outputs[j]->Value, high ? 5.0L : 0.0L) << "sel " << sel << " j " << j;
            }
        }
    }
}

TEST_F(MultiplexersTest, DemultiplexerEdgeCases)
{
    // Unconnected: enabled, selection 3.
    auto open4 = Create("TBTDMUX4");
    open4->SimReset();
    open4->Calculate();
    EXPECT_EQ(open4->Outputs[0]->Name(), QStringLiteral("Q3"));
    EXPECT_EQ(open4->Outputs[0]->Value, 5.0L);
    for (int j = 1; j < 4; ++j)
        EXPECT_EQ(open4->Outputs[j]->Value, 0.0L);

    // S3..S0 = 1, 0, 1, 0 selects "Q10".
    auto c = Create("TBTDMUX16");
    TDrivers d(*c);
    c->SimReset();
    d.Set(0, true);
    d.Set(1, false); // S0
    d.Set(2, true);  // S1
    d.Set(3, false); // S2
    d.Set(4, true);  // S3
    c->Calculate();
    for (int j = 0; j < 16; ++j) {
        const bool q10 = c->Outputs[j]->Name() == QStringLiteral("Q10");
        EXPECT_EQ(c->Outputs[j]->Value, q10 ? 5.0L : 0.0L) << c->Outputs[j]->Name().toStdString();
    }
    EXPECT_EQ(c->Outputs[5]->Name(), QStringLiteral("Q10"));

    // The reset clears the last selection, so the same selection is written again.
    c->SimReset();
    EXPECT_EQ(c->Outputs[5]->Value, 0.0L);
    c->Calculate();
    EXPECT_EQ(c->Outputs[5]->Value, 5.0L);
}

TEST_F(MultiplexersTest, StreamRoundTripAndRecordsOfOlderVersions)
{
    for (const TMember& m : kMembers) {
        SCOPED_TRACE(m.cls);
        auto c = Create(m.cls);
        c->Inputs[0]->SetInverted(true);
        c->Outputs.back()->SetInverted(true);
        c->SetMirrored(true);
        c->SetLabel(QStringLiteral("Wahl"));
        const QByteArray data = Write(*c);
        auto copy = Create(m.cls);
        ASSERT_TRUE(Read(*copy, data, 44));
        EXPECT_TRUE(copy->Inputs[0]->Inverted());
        EXPECT_TRUE(copy->Outputs.back()->Inverted());
        EXPECT_TRUE(copy->Mirrored);
        EXPECT_EQ(copy->GetLabel(), QStringLiteral("Wahl"));
        EXPECT_EQ(PinNames(copy->Inputs), PinNames(c->Inputs));
        EXPECT_EQ(PinNames(copy->Outputs), PinNames(c->Outputs));
        EXPECT_EQ(Write(*copy), data);
    }

    // Before version 3 no inversion flags, before 40 no label: the label is the type name.
    for (uint8_t version : {2, 39}) {
        SCOPED_TRACE(int(version));
        QByteArray data;
        QBuffer buffer(&data);
        buffer.open(QIODevice::WriteOnly);
        TWriter w(buffer);
        for (int v : {0, 100, 200, 4, 8})
            w.WriteInteger(v); // DataVersion, X, Y, inputs, outputs
        w.WriteBoolean(false);
        if (version >= 3) {
            for (int i = 0; i < 12; ++i)
                w.WriteBoolean(i == 1);
        }
        buffer.close();
        auto c = Create("TBTDMUX8");
        c->SetLabel(QStringLiteral("vorher"));
        ASSERT_TRUE(Read(*c, data, version));
        EXPECT_EQ(c->Inputs[1]->Inverted(), version >= 3);
        EXPECT_EQ(c->GetLabel(), QStringLiteral("8-Kanal Demultiplexer"));
    }
}

// The step reads its pins by fixed positions: a record with other pin counts is refused.
TEST_F(MultiplexersTest, RecordWithOtherPinCountsIsRefused)
{
    struct Case {
        const char* cls;
        int inputs, outputs;
    };
    const Case cases[] = {{"TBTMUX4", 6, 2}, {"TBTMUX4", 7, 1}, {"TBTMUX16", 21, 0},
                          {"TBTDMUX2", 2, 1}, {"TBTDMUX8", 3, 8}, {"TBTDMUX16", 5, 17}};
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << k.cls << " " << k.inputs << "/" << k.outputs);
        TIOBauteil source;
        source.SetInputCount(k.inputs);
        source.SetOutputCount(k.outputs);
        auto c = Create(k.cls);
        try {
            Read(*c, Write(source), 44);
            ADD_FAILURE() << "record accepted";
        } catch (const EFilerError& e) {
            EXPECT_EQ(e.kind(), EFilerError::InvalidData);
        }
    }
}

// The caption stands inside the body, black, red while selected: the pixels that the
// component's Paint adds to the plain block symbol.
TEST_F(MultiplexersTest, CaptionIsDrawnInsideTheBody)
{
    for (const TMember& m : kMembers) {
        for (bool selected : {false, true}) {
            SCOPED_TRACE(testing::Message() << m.cls << (selected ? " selected" : ""));
            auto c = Create(m.cls);
            c->Selected = selected;
            auto paint = [&](bool withCaption) {
                QImage img(200, 400, QImage::Format_RGB32);
                img.fill(Qt::white);
                QPainter p(&img);
                TCanvas canvas(&p);
                canvas.SetMapping(4.0, QPoint(c->X - 100, c->Y - 100));
                if (withCaption)
                    c->Paint(canvas);
                else
                    static_cast<TGrundBT&>(*c).TGrundBT::Paint(canvas);
                return img;
            };
            const QImage plain = paint(false);
            const QImage full = paint(true);
            const QRect body(100 * 64 / 254, 100 * 64 / 254,
                             (c->Body.Right - c->Body.Left) * 64 / 254,
                             (c->Body.Bottom - c->Body.Top) * 64 / 254);
            int dark = 0, red = 0, outside = 0;
            for (int y = 0; y < full.height(); ++y) {
                for (int x = 0; x < full.width(); ++x) {
                    const QColor q = full.pixelColor(x, y);
                    if (q == plain.pixelColor(x, y))
                        continue;
                    if (!body.contains(x, y))
                        ++outside;
                    else if (q.red() > 160 && q.green() < 100)
                        ++red;
                    else if (q.red() < 100 && q.green() < 100 && q.blue() < 100)
                        ++dark;
                }
            }
            EXPECT_GT(selected ? red : dark, 0);
            EXPECT_EQ(selected ? dark : red, 0);
            EXPECT_EQ(outside, 0);
        }
    }
}

} // namespace
