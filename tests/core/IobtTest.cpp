// Components with pins: layout, bounds, hint, pin rebuilding and the component record.
#include "core/TestGate.h"
#include "core/model/Iobt.h"
#include "core/model/ViewHooks.h"
#include "platform/Canvas.h"
#include "platform/Context.h"
#include "platform/Filer.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <functional>
#include <vector>

namespace {


class IobtTest : public ::testing::Test {
protected:
    void SetUp() override { ResetContext(); }
    void TearDown() override { ResetContext(); }

    // Serialises through a writer callback and returns the bytes.
    static QByteArray Bytes(const std::function<void(TWriter&)>& write)
    {
        QByteArray data;
        QBuffer buffer(&data);
        buffer.open(QIODevice::WriteOnly);
        TWriter writer(buffer);
        write(writer);
        buffer.close();
        return data;
    }

    // Reads a component record into c; returns whether the record was consumed exactly.
    static bool Read(TIOBauteil& c, QByteArray data, uint8_t version)
    {
        QBuffer buffer(&data);
        buffer.open(QIODevice::ReadOnly);
        TReader reader(buffer);
        c.ReadData(reader, version);
        return reader.AtEnd();
    }
};

std::vector<int32_t> PinYs(const std::vector<std::unique_ptr<TBauteilPin>>& pins, int32_t top)
{
    std::vector<int32_t> ys;
    for (const auto& p : pins)
        ys.push_back(p->Y - top);
    return ys;
}

TEST_F(IobtTest, LayoutPlacesBodyAndPins)
{
    struct Case {
        int inputs, outputs;
        bool mirrored;
        int32_t width, height;
        std::vector<int32_t> inputYs, outputYs; // offsets from the top, by pin number
    };
    const Case cases[] = {
        {9, 0, false, 160, 400, {40, 80, 120, 160, 200, 240, 280, 320, 360}, {}},
        {3, 1, false, 100, 160, {40, 80, 120}, {80}},
        {3, 1, true, 100, 160, {120, 80, 40}, {80}},         // mirrored: input order reversed
        {1, 2, false, 100, 120, {60}, {80, 40}},               // the last output is the top one
        {1, 2, true, 100, 120, {60}, {40, 80}},
        {3, 4, false, 100, 200, {40, 80, 120}, {160, 120, 80, 40}}, // 10/4 = 2.5 rounds to 2
        {3, 6, false, 140, 280, {80, 120, 160}, {240, 200, 160, 120, 80, 40}}, // 14/4 = 3.5 rounds to 4
        {0, 0, false, 100, 80, {}, {}},
        {8, 1, false, 140, 360, {40, 80, 120, 160, 200, 240, 280, 320}, {180}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.inputs << " in, " << c.outputs << " out"
                                        << (c.mirrored ? ", mirrored" : ""));
        TIOBauteil comp;
        comp.X = 1000;
        comp.Y = 2000;
        comp.SetInputCount(c.inputs);
        comp.SetOutputCount(c.outputs);
        comp.SetMirrored(c.mirrored);

        EXPECT_EQ((TRect{1000, 2000, 1000 + c.width, 2000 + c.height}), comp.Body);
        EXPECT_EQ(c.inputYs, PinYs(comp.Inputs, 2000));
        EXPECT_EQ(c.outputYs, PinYs(comp.Outputs, 2000));
        const int32_t inX = c.mirrored ? comp.Body.Right + 40 : comp.Body.Left - 40;
        const int32_t outX = c.mirrored ? comp.Body.Left - 40 : comp.Body.Right + 40;
        for (const auto& p : comp.Inputs) {
            EXPECT_EQ(inX, p->X);
            EXPECT_EQ(40, p->Length);
        }
        for (const auto& p : comp.Outputs) {
            EXPECT_EQ(outX, p->X);
            EXPECT_EQ(40, p->Length);
        }
    }
}

TEST_F(IobtTest, MoveByShiftsBodyAndPins)
{
    auto gate = NewObject<TTestGate>();
    EXPECT_EQ((TRect{300, 300, 400, 420}), gate->Body);
    gate->MoveBy(-20, 40);
    EXPECT_EQ((TRect{280, 340, 380, 460}), gate->Body);
    EXPECT_EQ(240, gate->Inputs[0]->X);
    EXPECT_EQ(380, gate->Inputs[0]->Y);
    EXPECT_EQ(420, gate->Outputs[0]->X);
    EXPECT_EQ(400, gate->Outputs[0]->Y);
}

TEST_F(IobtTest, BoundsGrowTowardsThePins)
{
    struct Case {
        int inputs, outputs;
        bool mirrored;
        TRect bounds; // body at (0, 0)
    };
    const Case cases[] = {
        {2, 1, false, {-68, -8, 168, 128}},
        {2, 1, true, {-68, -8, 168, 128}},
        {2, 0, false, {-68, -8, 108, 128}},
        {2, 0, true, {-8, -8, 168, 128}},
        {0, 1, false, {-8, -8, 168, 88}},
        {0, 1, true, {-68, -8, 108, 88}},
        {0, 0, false, {-68, -8, 108, 88}},
        {0, 0, true, {-68, -8, 108, 88}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.inputs << " in, " << c.outputs << " out"
                                        << (c.mirrored ? ", mirrored" : ""));
        TIOBauteil comp;
        comp.X = 0;
        comp.Y = 0;
        comp.SetInputCount(c.inputs);
        comp.SetOutputCount(c.outputs);
        comp.SetMirrored(c.mirrored);
        EXPECT_EQ(c.bounds, comp.GetBounds());
    }
}

TEST_F(IobtTest, HitTestUsesTheCanvasMapping)
{
    auto gate = NewObject<TTestGate>(); // bounds (232, 292) - (468, 428) in board units
    TCanvas canvas;
    canvas.SetMapping(5.0); // 254 units = 80 px
    const TRect b = gate->GetBounds();
    const QPoint topLeft = canvas.LPtoDP(QPoint(b.Left, b.Top));
    const QPoint bottomRight = canvas.LPtoDP(QPoint(b.Right, b.Bottom));

    EXPECT_TRUE(gate->HitTest(topLeft, canvas));
    EXPECT_TRUE(gate->HitTest(bottomRight - QPoint(1, 1), canvas));
    EXPECT_FALSE(gate->HitTest(bottomRight, canvas));
    EXPECT_FALSE(gate->HitTest(topLeft - QPoint(1, 0), canvas));
    // The board point itself, taken as a device point, lies far outside at this zoom.
    EXPECT_FALSE(gate->HitTest(QPoint(400, 400), canvas));

    canvas.SetIdentityMapping();
    EXPECT_TRUE(gate->HitTest(QPoint(400, 400), canvas));
}

TEST_F(IobtTest, HintListsDesignatorLabelAndTypeName)
{
    auto gate = NewObject<TTestGate>();
    EXPECT_EQ(QStringLiteral("Test"), gate->GetLabel());
    EXPECT_EQ(QStringLiteral("Test"), gate->GetHint());

    gate->SetPrefix(QStringLiteral("AND"));
    gate->SetNumber(3);
    EXPECT_EQ(QStringLiteral("AND 3\rTest"), gate->GetHint());

    gate->SetLabel(QStringLiteral("Pump\ron"));
    EXPECT_EQ(QStringLiteral("Pump on"), gate->GetLabel());
    EXPECT_EQ(QStringLiteral("AND 3\rPump on\rTest"), gate->GetHint());

    gate->SetLabel(QStringLiteral("test")); // the comparison is exact
    EXPECT_EQ(QStringLiteral("AND 3\rtest\rTest"), gate->GetHint());
}

TEST_F(IobtTest, ShortTextsAreCut)
{
    TIOBauteil comp;
    comp.SetPrefix(QStringLiteral("ABCDEFGHIJKL"));
    comp.SetElementClass(QStringLiteral("TAVeryLongElementClassName"));
    EXPECT_EQ(QStringLiteral("ABCDEFGHIJ"), comp.Prefix());
    EXPECT_EQ(QStringLiteral("TAVeryLongElementCla"), comp.ElementClass());

    TBauteilPin pin;
    pin.SetName(QStringLiteral("$0123456789"));
    EXPECT_EQ(QStringLiteral("$012345678"), pin.Name());
    EXPECT_TRUE(pin.IsStringPin());
    pin.SetName(QStringLiteral("A$"));
    EXPECT_FALSE(pin.IsStringPin());
}

TEST_F(IobtTest, PinCountChangesFireEventsAndRebuild)
{
    auto gate = NewObject<TTestGate>();
    std::vector<QString> events;
    gate->OnBeforePinsChange = [&](TIOBauteil* c) {
        EXPECT_EQ(gate.get(), c);
        events.push_back(QStringLiteral("before %1").arg(c->InputCount));
    };
    gate->OnPinsChanged = [&](TIOBauteil* c) {
        events.push_back(QStringLiteral("after %1").arg(c->InputCount));
    };
    gate->Inputs[1]->SetInverted(true);
    gate->Outputs[0]->SetInverted(true);

    gate->SetInputCount(2); // unchanged: only the first event, the pins stay
    EXPECT_EQ((std::vector<QString>{"before 2"}), events);
    EXPECT_TRUE(gate->Inputs[1]->Inverted());

    events.clear();
    gate->SetInputCount(3);
    EXPECT_EQ((std::vector<QString>{"before 2", "after 3"}), events);
    ASSERT_EQ(3u, gate->Inputs.size());
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(QStringLiteral("E%1").arg(k), gate->Inputs[k]->Name());
        EXPECT_FALSE(gate->Inputs[k]->Inverted());
        EXPECT_FALSE(gate->Inputs[k]->Connected);
    }
    EXPECT_EQ(120, gate->Inputs[2]->Y - gate->Y); // laid out again
    EXPECT_TRUE(gate->Outputs[0]->Inverted());      // the other side is untouched

    gate->SetOutputCount(2);
    ASSERT_EQ(2u, gate->Outputs.size());
    EXPECT_EQ(QStringLiteral("A1"), gate->Outputs[1]->Name());
    EXPECT_FALSE(gate->Outputs[0]->Inverted());
    EXPECT_TRUE(gate->Outputs[0]->SameNet().empty());
    EXPECT_EQ(0.0L, gate->Outputs[0]->Contribution);

    events.clear();
    gate->SetInputCount(-5); // a negative count means no pins
    EXPECT_EQ((std::vector<QString>{"before 3", "after 0"}), events);
    EXPECT_EQ(0, gate->InputCount);
    EXPECT_TRUE(gate->Inputs.empty());
}

TEST_F(IobtTest, SelectionReachesThePinSegments)
{
    auto gate = NewObject<TTestGate>();
    TBauteil seg0, seg2;
    gate->Inputs[0]->Segment = &seg0;
    gate->Outputs[0]->Segment = &seg2;
    std::vector<TBauteil*> repainted;
    BoardViewHooks().RepaintSegment = [&](TBauteil& s) { repainted.push_back(&s); };

    gate->SetSelected(true);
    EXPECT_TRUE(gate->GetSelected());
    EXPECT_TRUE(seg0.Selected);
    EXPECT_TRUE(seg2.Selected);
    EXPECT_EQ((std::vector<TBauteil*>{&seg0, &seg2}), repainted);

    gate->SetSelected(false);
    EXPECT_FALSE(seg0.Selected);
    EXPECT_FALSE(seg2.Selected);
    BoardViewHooks().RepaintSegment = nullptr;

    gate->SetSelected(true); // no hook installed: still selects
    EXPECT_TRUE(seg0.Selected);
}

TEST_F(IobtTest, RecordRoundTripAtCurrentVersion)
{
    auto original = NewObject<TTestGate>();
    original->X = -40;
    original->Y = 70000;
    original->SetInputCount(3);
    original->Inputs[2]->SetInverted(true);
    original->Outputs[0]->SetInverted(true);
    original->SetMirrored(true);
    original->RunTimeAdjustable = true;
    original->SetLabel(QString::fromUtf8("Förderband"));
    const QByteArray data = Bytes([&](TWriter& w) { original->WriteData(w); });

    // The record in order: DataVersion, X, Y, counts, mirrored, inversions, option, label.
    const QByteArray expected = Bytes([](TWriter& w) {
        w.WriteInteger(0);
        w.WriteInteger(-40);
        w.WriteInteger(70000);
        w.WriteInteger(3);
        w.WriteInteger(1);
        w.WriteBoolean(true);
        for (bool inv : {false, false, true, true})
            w.WriteBoolean(inv);
        w.WriteBoolean(true);
        w.WriteString(QString::fromUtf8("Förderband"));
    });
    EXPECT_EQ(expected.toHex(' '), data.toHex(' '));

    auto copy = NewObject<TTestGate>();
    copy->Inputs[0]->SetInverted(true); // overwritten by the record
    ASSERT_TRUE(Read(*copy, data, 44));
    EXPECT_EQ(-40, copy->X);
    EXPECT_EQ(70000, copy->Y);
    ASSERT_EQ(3, copy->InputCount);
    ASSERT_EQ(1, copy->OutputCount);
    EXPECT_TRUE(copy->Mirrored);
    EXPECT_FALSE(copy->Inputs[0]->Inverted());
    EXPECT_FALSE(copy->Inputs[1]->Inverted());
    EXPECT_TRUE(copy->Inputs[2]->Inverted());
    EXPECT_TRUE(copy->Outputs[0]->Inverted());
    EXPECT_TRUE(copy->RunTimeAdjustable);
    EXPECT_EQ(QString::fromUtf8("Förderband"), copy->GetLabel());
    EXPECT_EQ(original->Body, copy->Body);
    EXPECT_EQ(original->Inputs[0]->X, copy->Inputs[0]->X);
    EXPECT_EQ(original->Inputs[0]->Y, copy->Inputs[0]->Y);
}

TEST_F(IobtTest, OlderRecordsAndLibraryReading)
{
    struct Case {
        const char* what;
        uint8_t version;
        bool fromLibrary;
        bool hasFlags, hasOption; // what the stored record carries
        bool expectInverted, expectOption;
        const char* expectLabel;
    };
    const Case cases[] = {
        {"version 2: no inversion flags", 2, false, false, false, false, false, "Test"},
        {"version 3: inversion flags", 3, false, true, false, true, false, "Test"},
        {"version 39: no label", 39, false, true, false, true, false, "Test"},
        {"version 40: label", 40, false, true, true, true, true, "Motor"},
        {"library: label dropped", 44, true, true, true, true, true, "Test"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QByteArray data = Bytes([&](TWriter& w) {
            w.WriteInteger(0);
            w.WriteInteger(100);
            w.WriteInteger(200);
            w.WriteInteger(2);
            w.WriteInteger(1);
            w.WriteBoolean(false);
            if (c.hasFlags)
                for (bool inv : {true, false, true})
                    w.WriteBoolean(inv);
            if (c.hasOption) {
                w.WriteBoolean(true);
                w.WriteString(QStringLiteral("Motor"));
            }
        });
        auto gate = NewObject<TTestGate>();
        gate->SetLabel(QStringLiteral("Old"));
        gate->RunTimeAdjustable = true;
        gate->Inputs[0]->SetInverted(true);
        gate->Outputs[0]->SetInverted(true);
        if (c.fromLibrary)
            gate->SetLabel(gate->GetTypeName());
        Ctx().LoadingFromLibrary = c.fromLibrary;

        EXPECT_TRUE(Read(*gate, data, c.version)) << "record not consumed exactly";
        EXPECT_EQ(100, gate->X);
        EXPECT_EQ(200, gate->Y);
        EXPECT_EQ(c.expectInverted, gate->Inputs[0]->Inverted());
        EXPECT_FALSE(gate->Inputs[1]->Inverted());
        EXPECT_EQ(c.expectInverted, gate->Outputs[0]->Inverted());
        EXPECT_EQ(c.expectOption, gate->RunTimeAdjustable);
        EXPECT_EQ(QString::fromUtf8(c.expectLabel), gate->GetLabel());
        EXPECT_EQ((TRect{100, 200, 200, 320}), gate->Body);
        Ctx().LoadingFromLibrary = false;
    }
}

TEST_F(IobtTest, AbsurdStoredPinCountsAreRefused)
{
    struct Case {
        int32_t inputs, outputs;
    };
    const Case cases[] = {{-1, 1}, {100000, 1}, {2, 257}, {2, INT32_MIN}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.inputs << " / " << c.outputs);
        const QByteArray data = Bytes([&](TWriter& w) {
            for (int32_t v : {0, 0, 0, c.inputs, c.outputs})
                w.WriteInteger(v);
            w.WriteBoolean(false);
        });
        auto gate = NewObject<TTestGate>();
        try {
            Read(*gate, data, 44);
            ADD_FAILURE() << "no error";
        } catch (const EFilerError& e) {
            EXPECT_EQ(EFilerError::InvalidData, e.kind());
        }
        EXPECT_LE(gate->Inputs.size(), 256u);
        EXPECT_LE(gate->Outputs.size(), 256u);
    }

    // The largest accepted count still reads.
    const QByteArray data = Bytes([](TWriter& w) {
        for (int32_t v : {0, 0, 0, 256, 0})
            w.WriteInteger(v);
        w.WriteBoolean(false);
    });
    TIOBauteil comp;
    EXPECT_TRUE(Read(comp, data, 2));
    EXPECT_EQ(256u, comp.Inputs.size());
}

} // namespace
