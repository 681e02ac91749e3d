// Simulation engine: nets numbered over the macro tree, sources by hierarchy order, outputs
// that share a net, step order and the run lists.
#include "core/EngineTestSupport.h"

#include <algorithm>
#include <limits>

namespace {

class EngineTest : public EngineFixture {};

bool Lists(const TBauteilPin& pin, std::initializer_list<const TBauteilPin*> expected)
{
    return std::vector<const TBauteilPin*>(pin.SameNet().begin(), pin.SameNet().end())
           == std::vector<const TBauteilPin*>(expected);
}

TEST_F(EngineTest, InputsTakeTheOutputOfTheirNetAndWiresTheirDriver)
{
    TPlatine board;
    auto* source = Place<TSimSource>(board, 0);
    auto* a = Place<TSimProbe>(board, 2);
    auto* b = Place<TSimProbe>(board, 3, 1);
    auto* open = Place<TSimProbe>(board, 4, 2);
    WirePins(board, *source->Outputs[0], *a->Inputs[0]);
    WirePins(board, *source->Outputs[0], *b->Inputs[0], 20);
    // A wire from the open probe's input to nowhere: a net without an output.
    WirePoints(board, At(*open->Inputs[0]), QPoint(9000, 9000));

    a->SetSelected(true);
    board.StartSimulation();
    for (const auto& item : board.Items)
        EXPECT_FALSE(item->Selected);  // a run starts with nothing selected

    const TBauteilPin* out = source->Outputs[0].get();
    EXPECT_EQ(a->Inputs[0]->Source(), out);
    EXPECT_EQ(b->Inputs[0]->Source(), out);
    EXPECT_EQ(open->Inputs[0]->Source(), nullptr);
    EXPECT_EQ(NetOfPin(*out), NetOfPin(*a->Inputs[0]));
    EXPECT_EQ(NetOfPin(*out), NetOfPin(*b->Inputs[0]));
    EXPECT_NE(NetOfPin(*out), NetOfPin(*open->Inputs[0]));
    EXPECT_TRUE(Lists(*out, {out}));

    // Every segment is numbered; each wire knows the output of its net.
    std::set<int32_t> nets;
    for (TSegment* segment : ItemsOf<TSegment>(board)) {
        EXPECT_GT(segment->NetNumber, 0);
        nets.insert(segment->NetNumber);
        const bool onOpenNet = segment->NetNumber == NetOfPin(*open->Inputs[0]);
        EXPECT_EQ(segment->Driver, onOpenNet ? nullptr : out);
    }
    EXPECT_EQ(nets.size(), 2u);
    EXPECT_EQ(*nets.begin(), 1);

    // An open input reads as unconnected; a wire without an output is lit.
    source->Value = 5.0L;
    board.SimStep();
    EXPECT_EQ(a->Last(), 5.0L);
    EXPECT_EQ(open->Last(), 0.0L);
    EXPECT_TRUE(open->Digitals.back());
    board.RefreshWires();
    for (TSegment* segment : ItemsOf<TSegment>(board))
        EXPECT_TRUE(segment->Lit);
    source->Value = 1.0L;
    board.SimStep();
    board.RefreshWires();
    for (TSegment* segment : ItemsOf<TSegment>(board))
        EXPECT_EQ(segment->Lit, segment->Driver == nullptr);
}

TEST_F(EngineTest, WiresShowHighFromTwoAndAHalfVolts)
{
    TPlatine board;
    auto* source = Place<TSimSource>(board, 0);
    auto* probe = Place<TSimProbe>(board, 2);
    WirePins(board, *source->Outputs[0], *probe->Inputs[0]);
    board.StartSimulation();
    const struct {
        Extended value;
        bool lit;
    } cases[] = {
        {2.5L, true}, {2.4999L, false}, {2.5L, true}, {0.0L, false}, {5.0L, true}, {-2.5L, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(double(c.value));
        source->Value = c.value;
        board.SimStep();
        board.RefreshWires();
        for (TSegment* segment : ItemsOf<TSegment>(board)) {
            ASSERT_EQ(segment->Driver, source->Outputs[0].get());
            EXPECT_EQ(segment->Lit, c.lit);
        }
    }
}

TEST_F(EngineTest, OutputsOnOneNetMerge)
{
    struct Case {
        const char* name;
        bool digital;
        bool level1, level2;
        Extended value1, value2;
        bool invertSecondOutput;
        bool invertInput;
        Extended expectedNet;  // value of both outputs
        Extended expectedRead; // what the probe reads as a value
    };
    const Case cases[] = {
        {"wired OR high", true, true, false, 0, 0, false, false, 5.0L, 5.0L},
        {"wired OR low", true, false, false, 0, 0, false, false, 0.0L, 0.0L},
        {"wired OR through an inverted output", true, false, true, 0, 0, true, false, 0.0L, 0.0L},
        {"sum", false, false, false, 2.0L, 3.0L, false, false, 5.0L, 5.0L},
        {"sum with an inverted output", false, false, false, 2.0L, 3.0L, true, false, -1.0L, -1.0L},
        {"sum read by an inverted input", false, false, false, 2.0L, 3.0L, false, true, 5.0L, -5.0L},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TPlatine board;
        auto* s1 = Place<TSimSource>(board, 0);
        auto* probe = Place<TSimProbe>(board, 2);
        auto* s2 = Place<TSimSource>(board, 1, 2);
        WirePins(board, *s1->Outputs[0], *probe->Inputs[0]);
        WirePins(board, *s2->Outputs[0], *probe->Inputs[0], 30);
        s2->Outputs[0]->SetInverted(c.invertSecondOutput);
        probe->Inputs[0]->SetInverted(c.invertInput);
        for (TSimSource* s : {s1, s2})
            s->Digital = c.digital;
        s1->Level = c.level1;
        s2->Level = c.level2;
        s1->Value = c.value1;
        s2->Value = c.value2;

        board.StartSimulation();
        const TBauteilPin* o1 = s1->Outputs[0].get();
        const TBauteilPin* o2 = s2->Outputs[0].get();
        EXPECT_EQ(probe->Inputs[0]->Source(), o1);  // the first output in board order
        EXPECT_TRUE(Lists(*o1, {o1, o2}));
        EXPECT_TRUE(Lists(*o2, {o1, o2}));

        board.SimStep();
        board.SimStep();
        EXPECT_EQ(o1->Value, c.expectedNet);
        EXPECT_EQ(o2->Value, c.expectedNet);
        EXPECT_EQ(probe->Last(), c.expectedRead);

        // A second start links the same outputs once, not twice.
        board.StartSimulation();
        EXPECT_TRUE(Lists(*o1, {o1, o2}));
    }
}

TEST_F(EngineTest, ComponentsSeeEarlierOutputsOfThisStepAndLaterOnesOfTheLast)
{
    // source -> copy -> probe, placed in list order or in reverse.
    struct Case {
        bool reverse;
        std::vector<Extended> probeReads;
    };
    const Case cases[] = {{false, {7.0L, 7.0L, 7.0L}}, {true, {0.0L, 0.0L, 7.0L}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reverse ? "reverse order" : "signal order");
        TPlatine board;
        TSimSource* source = nullptr;
        TSimCopy* copy = nullptr;
        TSimProbe* probe = nullptr;
        if (c.reverse) {
            probe = Place<TSimProbe>(board, 4);
            copy = Place<TSimCopy>(board, 2);
            source = Place<TSimSource>(board, 0);
        } else {
            source = Place<TSimSource>(board, 0);
            copy = Place<TSimCopy>(board, 2);
            probe = Place<TSimProbe>(board, 4);
        }
        WirePins(board, *source->Outputs[0], *copy->Inputs[0]);
        WirePins(board, *copy->Outputs[0], *probe->Inputs[0]);
        board.StartSimulation();
        source->Value = 7.0L;
        for (int k = 0; k < 3; ++k)
            board.SimStep();
        EXPECT_EQ(probe->Values, c.probeReads);
        EXPECT_EQ(board.StepCount, 3);
    }
}

// S -> macro input 1 -> inner copy -> macro output -> P
struct TMacroCircuit {
    TPlatine top;
    TSimSource* source = nullptr;
    TMakro* macro = nullptr;
    TSimProbe* probe = nullptr;
    TSimCopy* copy = nullptr;
    TPlatine* inner = nullptr;

    TMacroCircuit()
    {
        source = Place<TSimSource>(top, 0);
        macro = PlaceMacro(top, 2, 1, 1);
        probe = Place<TSimProbe>(top, 4);
        inner = macro->InnerBoard();
        copy = Place<TSimCopy>(*inner, 2);
        WirePins(top, *source->Outputs[0], *macro->Inputs[0]);
        WirePins(top, *macro->Outputs[0], *probe->Inputs[0]);
        WirePins(*inner, *MacroPin(*inner, 1)->Inputs[0], *copy->Inputs[0]);
        WirePins(*inner, *copy->Outputs[0], *MacroPin(*inner, 2)->Inputs[0]);
    }
};

TEST_F(EngineTest, SignalsPassIntoAndOutOfMacros)
{
    TMacroCircuit c;
    EXPECT_EQ(c.inner->BoardName, QStringLiteral("MAIN_MCR1"));
    c.top.StartSimulation();

    const TBauteilPin* in = c.source->Outputs[0].get();
    const TBauteilPin* out = c.copy->Outputs[0].get();
    // One net number on both sides of each boundary.
    EXPECT_EQ(NetOfPin(*in), NetOfPin(*c.macro->Inputs[0]));
    EXPECT_EQ(NetOfPin(*in), NetOfPin(*MacroPin(*c.inner, 1)->Inputs[0]));
    EXPECT_EQ(NetOfPin(*in), NetOfPin(*c.copy->Inputs[0]));
    EXPECT_EQ(NetOfPin(*out), NetOfPin(*MacroPin(*c.inner, 2)->Inputs[0]));
    EXPECT_EQ(NetOfPin(*out), NetOfPin(*c.macro->Outputs[0]));
    EXPECT_EQ(NetOfPin(*out), NetOfPin(*c.probe->Inputs[0]));
    EXPECT_NE(NetOfPin(*in), NetOfPin(*out));
    for (TSegment* segment : ItemsOf<TSegment>(*c.inner))
        EXPECT_GT(segment->NetNumber, 0);

    EXPECT_EQ(c.copy->Inputs[0]->Source(), in);
    EXPECT_EQ(c.probe->Inputs[0]->Source(), out);  // an inner output drives the outer input
    ASSERT_EQ(c.macro->InputSources.size(), 1u);
    ASSERT_EQ(c.macro->OutputSources.size(), 1u);
    EXPECT_EQ(c.macro->InputSources[0], in);
    EXPECT_EQ(c.macro->OutputSources[0], out);
    EXPECT_EQ(c.macro->Inputs[0]->Source(), nullptr);  // the block itself is no leaf

    // The inner board steps after the outer components: the probe sees the value one step on.
    c.source->Value = 4.0L;
    c.top.SimStep();
    EXPECT_EQ(c.copy->Outputs[0]->Value, 4.0L);  // the inner copy saw this step's source
    c.top.SimStep();
    EXPECT_EQ(c.probe->Values, (std::vector<Extended>{0.0L, 4.0L}));
    EXPECT_EQ(c.copy->Calls, 2);
    EXPECT_EQ(c.top.StepCount, 2);
    EXPECT_EQ(c.inner->StepCount, 0);  // only the top board counts
}

TEST_F(EngineTest, NetSourceIsTheFirstOutputInDepthFirstLeafOrder)
{
    // An output inside a macro and an output on the top board drive one net; whichever comes
    // first in the top board's items (the macro standing for its inner components) is the
    // source of every input on the net, inside and outside.
    for (const bool macroFirst : {true, false}) {
        SCOPED_TRACE(macroFirst ? "macro first" : "top output first");
        TPlatine top;
        TSimSource* outer = nullptr;
        TMakro* macro = nullptr;
        if (macroFirst) {
            macro = PlaceMacro(top, 0, 0, 1);
            outer = Place<TSimSource>(top, 2);
        } else {
            outer = Place<TSimSource>(top, 2);
            macro = PlaceMacro(top, 0, 0, 1);
        }
        auto* probe = Place<TSimProbe>(top, 4);
        TPlatine* inner = macro->InnerBoard();
        auto* innerSource = Place<TSimSource>(*inner, 0);
        auto* innerProbe = Place<TSimProbe>(*inner, 3);
        WirePins(*inner, *innerSource->Outputs[0], *MacroPin(*inner, 1)->Inputs[0]);
        WirePins(*inner, *innerSource->Outputs[0], *innerProbe->Inputs[0], 40);
        WirePins(top, *macro->Outputs[0], *probe->Inputs[0]);
        WirePins(top, *outer->Outputs[0], *probe->Inputs[0], 40);

        top.StartSimulation();
        const TBauteilPin* first = macroFirst ? innerSource->Outputs[0].get() : outer->Outputs[0].get();
        const TBauteilPin* second = macroFirst ? outer->Outputs[0].get() : innerSource->Outputs[0].get();
        EXPECT_EQ(probe->Inputs[0]->Source(), first);
        EXPECT_EQ(innerProbe->Inputs[0]->Source(), first);
        EXPECT_EQ(macro->OutputSources[0], first);
        EXPECT_EQ(top.FindNetSource(NetOfPin(*probe->Inputs[0])), first);
        EXPECT_TRUE(Lists(*first, {first, second}));
        EXPECT_TRUE(Lists(*second, {first, second}));

        // Values of both drivers add up, seen inside and outside.
        innerSource->Value = 1.5L;
        outer->Value = 2.0L;
        top.SimStep();
        top.SimStep();
        EXPECT_EQ(probe->Last(), 3.5L);
        EXPECT_EQ(innerProbe->Last(), 3.5L);
    }
}

TEST_F(EngineTest, FloodFromAnInnerSegmentCrossesUpToTheBlock)
{
    TMacroCircuit c;
    c.top.PrepareSimulation();  // every net number back to 0
    TSegment* innerWire = nullptr;
    for (TSegment* segment : ItemsOf<TSegment>(*c.inner)) {
        if (!segment->Owner) {
            innerWire = segment;  // first wire: macro pin 1 to the copy's input
            break;
        }
    }
    ASSERT_NE(innerWire, nullptr);
    int32_t counter = 42;
    c.inner->NumberNets(innerWire, counter);
    EXPECT_EQ(NetOfPin(*c.copy->Inputs[0]), 42);
    EXPECT_EQ(NetOfPin(*c.macro->Inputs[0]), 42);
    EXPECT_EQ(NetOfPin(*c.source->Outputs[0]), 42);
    EXPECT_EQ(NetOfPin(*c.probe->Inputs[0]), 0);  // another net, not flooded
    EXPECT_EQ(counter, 42);
}

TEST_F(EngineTest, RestartFollowsChangedWiring)
{
    TPlatine board;
    auto* source = Place<TSimSource>(board, 0);
    auto* probe = Place<TSimProbe>(board, 2);
    WirePins(board, *source->Outputs[0], *probe->Inputs[0]);
    board.StartSimulation();
    ASSERT_EQ(probe->Inputs[0]->Source(), source->Outputs[0].get());
    board.EndSimulation();

    for (TSegment* segment : ItemsOf<TSegment>(board)) {
        if (!segment->Owner) {
            board.RemoveObject(segment);
            break;
        }
    }
    board.StartSimulation();
    EXPECT_EQ(probe->Inputs[0]->Source(), nullptr);
    EXPECT_TRUE(Lists(*source->Outputs[0], {source->Outputs[0].get()}));
}

// A component on the clocked list that counts its ticks.
class TSimClocked : public TSimProbe {
public:
    TV_CLASS_NAME(TSimClocked)
    TSimClocked() { Clocked = true; }
    void ClockTick() override { ++Ticks; }
    int Ticks = 0;
};

TEST_F(EngineTest, PreparationBuildsTheRunListsOfEveryBoard)
{
    TMacroCircuit c;
    auto* clocked = Place<TSimClocked>(c.top, 6);
    auto* innerClocked = Place<TSimClocked>(*c.inner, 5);
    c.top.ShowWireStates = true;
    c.macro->InputSources.assign(5, c.source->Outputs[0].get());  // left over from elsewhere

    c.top.PrepareSimulation();

    std::vector<TIOBauteil*> expected;
    for (const auto& item : c.top.Items) {
        if (auto* component = dynamic_cast<TIOBauteil*>(item.get()))
            expected.push_back(component);
    }
    EXPECT_EQ(c.top.SimComponents, expected);  // macro blocks included, in item order
    EXPECT_EQ(c.top.Macros, std::vector<TMakro*>{c.macro});
    EXPECT_EQ(c.top.ClockedItems, std::vector<TBauteil*>{clocked});
    EXPECT_EQ(c.inner->ClockedItems, std::vector<TBauteil*>{innerClocked});
    EXPECT_EQ(c.top.WireRun.size(), ItemsOf<TSegment>(c.top).size());
    EXPECT_EQ(c.inner->SimComponents.size(), 4u);  // two macro pins, the copy, the clocked
    EXPECT_EQ(c.macro->InputSources, std::vector<TBauteilPin*>{nullptr});
    EXPECT_EQ(c.macro->OutputSources, std::vector<TBauteilPin*>{nullptr});
    for (const auto& item : c.inner->Items)
        EXPECT_TRUE(item->ShowLineStates);  // the top board's flag everywhere

    c.top.TickClockedObjects();
    c.top.TickClockedObjects();
    EXPECT_EQ(clocked->Ticks, 2);
    EXPECT_EQ(innerClocked->Ticks, 2);
}

} // namespace

namespace {

// Writes a pin in many ways and reads it back through an input after each: the logic level
// that digital reads use must always agree with the value.
TEST(EnginePinValueTest, DigitalReadsFollowEveryWritePath)
{
    ResetContext();
    auto writer = NewObject<TSimSource>();
    writer->SetOutputCount(2);
    auto reader = NewObject<TSimProbe>();
    TBauteilPin& out = *writer->Outputs[0];
    TBauteilPin& other = *writer->Outputs[1];
    reader->Inputs[0]->SetSource(&out);
    const Extended nan = std::numeric_limits<Extended>::quiet_NaN();

    auto check = [&](const char* what) {
        SCOPED_TRACE(what);
        const Extended v = out.DrivenValue();
        EXPECT_EQ(reader->GetInputDigital(0), v >= 2.5L);
        const Extended read = reader->GetInputValue(0);
        EXPECT_TRUE(read == v || (read != read && v != v));
        reader->Inputs[0]->SetInverted(true);
        EXPECT_EQ(reader->GetInputDigital(0), !(v >= 2.5L));
        EXPECT_EQ(reader->GetInputLevel(0), v > 2.5L ? 0.0L : 5.0L);
        reader->Inputs[0]->SetInverted(false);
    };

    out.Value = 2.5L;
    check("assigned 2.5");
    out.Value = 2.4999L;
    check("assigned just below");
    out.Value = nan;
    check("assigned NaN");
    writer->SetOutputDigital(0, true);
    EXPECT_EQ(out.Value, 5.0L);
    check("digital high");
    out.Value -= 3.0L;
    EXPECT_EQ(out.Value, 2.0L);
    check("digital high less 3");
    writer->SetOutputDigital(0, false);
    check("digital low");
    out.Value += 2.5L;
    check("digital low plus 2.5");
    writer->SetOutputValue(0, 1e300L);
    check("value");
    writer->SetOutputAnalog(0, 0.0L);
    check("analog");
    out.SetPinText(QStringLiteral("True"));
    check("text True on a plain pin");
    out.SetName(QStringLiteral("$A"));
    check("text True on a string pin");  // a string pin drives the number of its text
    out.SetPinText(QStringLiteral("3"));
    check("text 3 on a string pin");
    out.SetName(QStringLiteral("A0"));

    // Two drivers on one net: the merged value reaches both pins.
    out.SetSameNet({&out, &other});
    other.SetSameNet(out.SameNet());
    writer->SetOutputDigital(1, true);
    writer->SetOutputDigital(0, false);
    check("wired OR");
    EXPECT_EQ(out.Value, 5.0L);
    writer->SetOutputValue(0, 1.0L);
    writer->SetOutputValue(1, 1.0L);
    check("sum");
    EXPECT_EQ(other.Value, 2.0L);
}

} // namespace
