// Ground, step delay and power-on reset: levels and sequences on real pins, the delay's ring
// across delay changes and stored delays out of range, dialog, records, timing on a fake clock.
#include "ComponentTestSupport.h"
#include "components/digital/GroundDelay.h"
#include "components/digital/RegisterDigital.h"
#include "core/model/ClassRegistry.h"
#include "core/model/Translator.h"
#include "platform/Canvas.h"
#include "platform/Clock.h"
#include "platform/Colors.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QSpinBox>
#include <algorithm>
#include <functional>
#include <limits>
#include <memory>
#include <vector>

namespace {

constexpr Extended Open = std::numeric_limits<Extended>::quiet_NaN(); // input unconnected

class GroundDelayTest : public TComponentTest<RegisterCombinationalComponents, true> {
protected:
    // A one-input component record in the layout of a file version, then `extra`.
    static QByteArray OldRecord(uint8_t version, int inputs, int outputs,
                                const std::function<void(TWriter&)>& extra)
    {
        QByteArray data;
        QBuffer buffer(&data);
        buffer.open(QIODevice::WriteOnly);
        TWriter w(buffer);
        for (int v : {0, 100, 200, inputs, outputs})
            w.WriteInteger(v); // DataVersion, X, Y, inputs, outputs
        w.WriteBoolean(false);
        if (version >= 3) {
            for (int i = 0; i < inputs + outputs; ++i)
                w.WriteBoolean(i == 0);
        }
        if (version >= 40) {
            w.WriteBoolean(true);
            w.WriteString(QStringLiteral("Alt"));
        }
        extra(w);
        return data;
    }
};

// Pixels of the component's own marks (Paint less the plain block symbol) in red and in lime.
struct TMarkPixels {
    int red = 0;
    int lime = 0;
};
TMarkPixels MarkPixels(TIOBauteil& c)
{
    auto paint = [&](bool marks) {
        QImage img(500, 500, QImage::Format_RGB32);
        img.fill(Qt::white);
        QPainter p(&img);
        TCanvas canvas(&p);
        canvas.SetMapping(16.0, QPoint(c.X - 200, c.Y - 200));
        if (marks)
            c.Paint(canvas);
        else
            static_cast<TGrundBT&>(c).TGrundBT::Paint(canvas);
        return img;
    };
    const QImage plain = paint(false);
    const QImage full = paint(true);
    TMarkPixels n;
    for (int y = 0; y < full.height(); ++y) {
        for (int x = 0; x < full.width(); ++x) {
            const QColor q = full.pixelColor(x, y);
            if (q == plain.pixelColor(x, y))
                continue;
            if (q.red() > 160 && q.green() < 100 && q.blue() < 100)
                ++n.red;
            if (q.green() > 160 && q.red() < 100 && q.blue() < 100)
                ++n.lime;
        }
    }
    return n;
}

// --- Ground ----------------------------------------------------------------------------------

TEST_F(GroundDelayTest, GroundHoldsItsOutputLow)
{
    auto g = Create<TBTMasse>();
    ASSERT_TRUE(g);
    EXPECT_TRUE(g->Prefix().isEmpty());
    EXPECT_EQ(g->InputCount, 0);
    ASSERT_EQ(g->OutputCount, 1);
    EXPECT_TRUE(g->Outputs[0]->Name().isEmpty());
    EXPECT_FALSE(g->Editable);
    EXPECT_EQ(g->HelpContext, 18525);
    const char* names[] = {"Masse", "Ground", "Masse"};
    for (uint8_t lang = 0; lang < 3; ++lang) {
        Ctx().CurrentLanguage = lang;
        EXPECT_EQ(g->GetTypeName(), QString::fromUtf8(names[lang]));
    }

    g->Outputs[0]->Value = 5.0L;
    g->SimReset();
    EXPECT_EQ(g->Outputs[0]->Value, 0.0L);
    g->Outputs[0]->Value = 3.0L;
    g->Calculate(); // writes nothing
    EXPECT_EQ(g->Outputs[0]->Value, 3.0L);

    g->Outputs[0]->SetInverted(true);
    g->SimReset();
    EXPECT_EQ(g->Outputs[0]->Value, 5.0L);

    // On a shared net ground contributes low: the other driver decides.
    g->Outputs[0]->SetInverted(false);
    auto other = Create<TBTMasse>();
    other->Outputs[0]->SetInverted(true);
    g->Outputs[0]->SetSameNet({g->Outputs[0].get(), other->Outputs[0].get()});
    other->Outputs[0]->SetSameNet(g->Outputs[0]->SameNet());
    other->SimReset();
    g->SimReset();
    EXPECT_EQ(g->Outputs[0]->Value, 5.0L);
    other->Outputs[0]->SetInverted(false);
    other->SimReset();
    EXPECT_EQ(g->Outputs[0]->Value, 0.0L);
}

// --- Step delay ------------------------------------------------------------------------------

TEST_F(GroundDelayTest, DelayPutsOutTheInputOfDelayStepsAgo)
{
    struct Case {
        const char* name;
        int32_t delay;
        bool invertIn, invertOut;
        std::vector<Extended> in;  // Open: unconnected in that step
        std::vector<Extended> out;
    };
    const Case cases[] = {
        {"three steps", 3, false, false, {1, 2, 3, 4, 5}, {0, 0, 0, 1, 2}},
        {"one step is a register", 1, false, false, {7, -2, 0.5, 9}, {0, 7, -2, 0.5}},
        {"open input", 2, false, false, {Open, Open, Open, Open}, {0, 0, 5, 5}},
        {"inverted input reads levels", 1, true, false, {5, 2.5, 2.6, Open}, {0, 0, 5, 0}},
        {"inverted output", 1, false, true, {5, 0, 2, 9}, {5, 0, 5, -2}},
        {"hundred steps", 100, false, false, {}, {}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        auto c = Create<TBTVerzoegerung>();
        c->Delay = k.delay;
        c->Inputs[0]->SetInverted(k.invertIn);
        c->Outputs[0]->SetInverted(k.invertOut);
        TBauteilPin source;
        c->SimReset();
        std::vector<Extended> in = k.in;
        std::vector<Extended> out = k.out;
        if (in.empty()) {
            for (int t = 0; t < 250; ++t) {
                in.push_back(t + 1);
                out.push_back(t < 100 ? 0 : t + 1 - 100);
            }
        }
        for (size_t t = 0; t < in.size(); ++t) {
            const bool open = in[t] != in[t];
            c->Inputs[0]->SetSource(open ? nullptr : &source);
            source.Value = open ? 0.0L : in[t];
            c->Calculate();
            ASSERT_EQ(c->Outputs[0]->Value, out[t]) << "step " << t + 1;
        }
    }
}

// A run that changes the delay goes on from the ring it has, without leaving it.
TEST_F(GroundDelayTest, DelayChangedDuringARunContinues)
{
    struct Case {
        int32_t from, to;
        int stepsBefore;
    };
    const Case cases[] = {{10, 2, 7}, {10, 2, 10}, {2, 10, 1}, {100, 1, 57}, {1, 100, 3}};
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << k.from << " -> " << k.to << " after " << k.stepsBefore);
        auto c = Create<TBTVerzoegerung>();
        TBauteilPin source;
        c->Inputs[0]->SetSource(&source);
        c->Delay = k.from;
        c->SimReset();
        int t = 0;
        for (; t < k.stepsBefore; ++t) {
            source.Value = t;
            c->Calculate();
        }
        c->Delay = k.to;
        for (int n = 0; n < 3 * k.to + 3; ++n, ++t) {
            source.Value = t;
            c->Calculate();
            EXPECT_GE(c->WritePosition, 1);
            EXPECT_LE(c->WritePosition, std::max(k.from, k.to) + 1);
        }
        // Settled: the input of `to` steps ago.
        for (int n = 0; n < 5; ++n, ++t) {
            source.Value = t;
            c->Calculate();
            EXPECT_EQ(c->Outputs[0]->Value, Extended(t - k.to));
        }
    }
}

TEST_F(GroundDelayTest, DelayRegistryTextsAndHint)
{
    auto c = Create<TBTVerzoegerung>();
    ASSERT_TRUE(c);
    EXPECT_EQ(c->Prefix(), QStringLiteral("DLY"));
    EXPECT_TRUE(c->Editable);
    EXPECT_EQ(c->HelpContext, 18535);
    EXPECT_EQ(c->Delay, 1);
    EXPECT_EQ(c->Inputs[0]->Name(), QStringLiteral("E"));
    EXPECT_EQ(c->Outputs[0]->Name(), QStringLiteral("A"));
    const char* names[] = {"Verzögerung", "Delay", "Délais"};
    for (uint8_t lang = 0; lang < 3; ++lang) {
        Ctx().CurrentLanguage = lang;
        EXPECT_EQ(c->GetTypeName(), QString::fromUtf8(names[lang]));
    }
    Ctx().CurrentLanguage = 0;
    c->SetNumber(4);
    c->Delay = 37;
    EXPECT_EQ(c->GetHint(), QString::fromUtf8("DLY 4\rVerzögerung\r= 37"));
}

TEST_F(GroundDelayTest, DelayDialog)
{
    struct Case {
        bool running;
        int answer;
        int32_t expect;
        size_t rows;
    };
    const Case cases[] = {{false, mrOk, 42, 4u}, {false, mrCancel, 5, 4u}, {true, mrOk, 42, 1u}};
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << k.running << " " << k.answer);
        Ctx().SimRunning = k.running;
        auto c = Create<TBTVerzoegerung>();
        c->Delay = 5;
        c->SetLabel(QStringLiteral("Takt"));
        TScopedDialogResponder responder;
        responder.Answer([&](QDialog& d) {
            EXPECT_EQ(Host(d).PropScrollbox->Rows().size(), k.rows);
            EXPECT_EQ(Host(d).HelpContext, 18535);
            auto* spin = d.findChild<QSpinBox*>(QStringLiteral("Spin"));
            EXPECT_EQ(spin->value(), 5);
            EXPECT_EQ(spin->minimum(), 1);
            EXPECT_EQ(spin->maximum(), 100);
            spin->setValue(42);
            return k.answer;
        });
        EXPECT_EQ(c->EditProperties(), k.answer);
        EXPECT_EQ(responder.Titles().value(0), QStringLiteral("Takt"));
        EXPECT_EQ(c->Delay, k.expect);
    }
}

// The delay follows the component record as an Integer, in every file version.
TEST_F(GroundDelayTest, DelayRecordRoundTripAndOlderVersions)
{
    auto c = Create<TBTVerzoegerung>();
    c->Delay = 37;
    c->Inputs[0]->SetInverted(true);
    c->SetLabel(QStringLiteral("Puffer"));
    const QByteArray data = Write(*c);
    auto copy = Create<TBTVerzoegerung>();
    ASSERT_TRUE(Read(*copy, data, 44));
    EXPECT_EQ(copy->Delay, 37);
    EXPECT_TRUE(copy->Inputs[0]->Inverted());
    EXPECT_EQ(copy->GetLabel(), QStringLiteral("Puffer"));
    EXPECT_EQ(Write(*copy), data);
    // The Integer is the record's last value: tag 2, one byte.
    EXPECT_EQ(data.right(2), QByteArray::fromHex("0225"));

    for (uint8_t version : {2, 3, 39, 40}) {
        SCOPED_TRACE(int(version));
        const QByteArray old = OldRecord(version, 1, 1, [](TWriter& w) { w.WriteInteger(12); });
        auto r = Create<TBTVerzoegerung>();
        ASSERT_TRUE(Read(*r, old, version));
        EXPECT_EQ(r->Delay, 12);
        EXPECT_EQ(r->Inputs[0]->Inverted(), version >= 3);
        EXPECT_EQ(r->GetLabel(),
                  version >= 40 ? QStringLiteral("Alt") : QString::fromUtf8("Verzögerung"));
    }
}

// The ring has 100 places: a stored delay outside 1 .. 100 is clamped into that range, and the
// component steps safely with it.
TEST_F(GroundDelayTest, StoredDelayOutsideTheRingIsClamped)
{
    struct Case {
        int32_t stored, expect;
    };
    const Case cases[] = {{0, 1},
                          {-5, 1},
                          {std::numeric_limits<int32_t>::min(), 1},
                          {101, 100},
                          {1000000, 100},
                          {std::numeric_limits<int32_t>::max(), 100},
                          {50, 50}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.stored);
        const QByteArray data =
            OldRecord(44, 1, 1, [&](TWriter& w) { w.WriteInteger(k.stored); });
        auto c = Create<TBTVerzoegerung>();
        ASSERT_TRUE(Read(*c, data, 44));
        EXPECT_EQ(c->Delay, k.expect);
        c->Inputs[0]->SetInverted(false); // the record marks it; values pass plain here
        TBauteilPin source;
        c->Inputs[0]->SetSource(&source);
        c->SimReset();
        for (int t = 1; t <= 2 * k.expect + 1; ++t) {
            source.Value = t;
            c->Calculate();
            EXPECT_EQ(c->Outputs[0]->Value, t > k.expect ? Extended(t - k.expect) : 0.0L);
        }
    }
}

TEST_F(GroundDelayTest, RecordsWithOtherPinCountsAreRefused)
{
    struct Case {
        int which; // 0 ground, 1 delay, 2 power-on reset
        int inputs, outputs;
    };
    const Case cases[] = {{0, 1, 1}, {0, 0, 2}, {1, 0, 1}, {1, 1, 0},
                          {1, 2, 1}, {2, 0, 0}, {2, 1, 1}};
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << k.which << " " << k.inputs << "/" << k.outputs);
        const QByteArray data =
            OldRecord(44, k.inputs, k.outputs, [](TWriter& w) { w.WriteInteger(1); });
        std::unique_ptr<TIOBauteil> c;
        if (k.which == 0)
            c = Create<TBTMasse>();
        else if (k.which == 1)
            c = Create<TBTVerzoegerung>();
        else
            c = Create<TBTPowerOnReset>();
        try {
            Read(*c, data, 44);
            ADD_FAILURE() << "record accepted";
        } catch (const EFilerError& e) {
            EXPECT_EQ(e.kind(), EFilerError::InvalidData);
        }
    }
}

// --- Power-on reset --------------------------------------------------------------------------

TEST_F(GroundDelayTest, PowerOnResetTimesFromTheFirstStep)
{
    struct Case {
        const char* name;
        uint32_t startMs; // tick count at the reset
        std::vector<std::pair<uint32_t, Extended>> steps; // ms after the reset, output after it
    };
    const Case cases[] = {
        {"ordinary",
         1000,
         {{3, 5}, {8, 5}, {13, 5}, {14, 0}, {60, 0}, {103, 0}, {104, 5}, {500, 5}}},
        {"late second step skips the low phase", 0, {{0, 5}, {200, 5}, {210, 5}}},
        {"counter wraps", 0xFFFFFFF0u, {{0, 5}, {11, 0}, {100, 0}, {101, 5}}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        TScopedFakeClock fake;
        fake.clock.AdvanceMs(k.startMs);
        auto c = Create<TBTPowerOnReset>();
        c->Outputs[0]->Value = 0.0L;
        c->SimReset();
        EXPECT_EQ(c->Outputs[0]->Value, 5.0L);
        EXPECT_TRUE(c->Active);
        uint32_t now = 0;
        for (const auto& [ms, out] : k.steps) {
            fake.clock.AdvanceMs(ms - now);
            now = ms;
            c->Calculate();
            EXPECT_EQ(c->Outputs[0]->Value, out) << "at " << ms << " ms";
        }
        EXPECT_FALSE(c->Active);
        // Done: later steps write nothing.
        c->Outputs[0]->Value = 1.0L;
        c->Calculate();
        EXPECT_EQ(c->Outputs[0]->Value, 1.0L);
        // A new run times afresh.
        c->SimReset();
        fake.clock.AdvanceMs(1);
        c->Calculate();
        fake.clock.AdvanceMs(11);
        c->Calculate();
        EXPECT_EQ(c->Outputs[0]->Value, 0.0L);
    }
}

TEST_F(GroundDelayTest, PowerOnResetPinsAndTexts)
{
    auto c = Create<TBTPowerOnReset>();
    ASSERT_TRUE(c);
    EXPECT_EQ(c->Prefix(), QStringLiteral("PON"));
    EXPECT_EQ(c->InputCount, 0);
    ASSERT_EQ(c->OutputCount, 1);
    EXPECT_TRUE(c->Outputs[0]->Name().isEmpty());
    EXPECT_FALSE(c->Editable);
    EXPECT_EQ(c->HelpContext, 18540);
    const char* names[] = {"Power-On-Reset", "Power-On-Reset", "Reset à la mise\rsous tension"};
    for (uint8_t lang = 0; lang < 3; ++lang) {
        Ctx().CurrentLanguage = lang;
        EXPECT_EQ(c->GetTypeName(), QString::fromUtf8(names[lang]));
    }
    const QByteArray data = Write(*c);
    auto copy = Create<TBTPowerOnReset>();
    ASSERT_TRUE(Read(*copy, data, 44));
    EXPECT_EQ(Write(*copy), data);
}

// Ground's plate, the delay's dots and the reset's "R" in the symbol colour, red while selected.
TEST_F(GroundDelayTest, SymbolMarks)
{
    std::vector<std::unique_ptr<TIOBauteil>> items;
    items.push_back(Create<TBTMasse>());
    items.push_back(Create<TBTVerzoegerung>());
    items.push_back(Create<TBTPowerOnReset>());
    for (auto& c : items) {
        SCOPED_TRACE(c->ClassName());
        c->SymbolColor = clLime;
        TMarkPixels plain = MarkPixels(*c);
        EXPECT_GT(plain.lime, 0);
        EXPECT_EQ(plain.red, 0);
        c->Selected = true;
        TMarkPixels selected = MarkPixels(*c);
        EXPECT_GT(selected.red, 0);
        EXPECT_EQ(selected.lime, 0);
    }
}

} // namespace
