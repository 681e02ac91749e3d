// Analog multiplexer and demultiplexer: sizes and pins, channel selection, the demultiplexer's
// writes on channel changes, refused stored counts and the size dialog.
#include "ComponentTestSupport.h"
#include "components/signal/AnalogMux.h"
#include "components/signal/RegisterSignalBlocks.h"
#include "platform/ModalDialogs.h"

#include "platform/MessageBox.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

namespace {

class AnalogMuxTest : public TComponentTest<RegisterSignalBlocks, true> {};

TEST_F(AnalogMuxTest, SizesGiveThePins)
{
    auto mux = Create<TBTAnalogMux>();
    auto demux = Create<TBTAnalogDemux>();
    EXPECT_EQ(mux->SizeCode(), 2);
    EXPECT_EQ(demux->SizeCode(), 2);
    EXPECT_EQ(PinNames(mux->Inputs), QStringList{"EN"} + Numbered("S", 0, 2) + Numbered("I", 0, 7));
    EXPECT_EQ(PinNames(demux->Inputs), (QStringList{"EN", "IN", "S0", "S1", "S2"}));
    EXPECT_EQ(PinNames(demux->Outputs), Numbered("A", 7, 0));
    const int muxInputs[] = {4, 7, 12, 21};
    const int demuxInputs[] = {3, 4, 5, 6};
    for (int s = 0; s < 4; ++s) {
        SCOPED_TRACE(s);
        mux->SetSize(s);
        demux->SetSize(s);
        const int channels = 2 << s;
        EXPECT_EQ(mux->InputCount, muxInputs[s]);
        EXPECT_EQ(mux->OutputCount, 1);
        EXPECT_EQ(PinNames(mux->Inputs),
                  QStringList{"EN"} + Numbered("S", 0, s) + Numbered("I", 0, channels - 1));
        EXPECT_EQ(demux->InputCount, demuxInputs[s]);
        EXPECT_EQ(PinNames(demux->Outputs), Numbered("A", channels - 1, 0));
        EXPECT_EQ(mux->SizeCode(), s);
        EXPECT_EQ(demux->SizeCode(), s);
    }
}

TEST_F(AnalogMuxTest, MultiplexerPassesTheSelectedInput)
{
    auto mux = Create<TBTAnalogMux>();
    TInputs in(*mux);
    for (int i = 0; i < 8; ++i)
        in.Set(4 + i, 10.0L + i);
    mux->Calculate();
    EXPECT_EQ(mux->Outputs[0]->Value, 17.0L); // open "EN" and selects read high
    in.Set(0, 5);
    for (int k = 0; k < 8; ++k) {
        for (int bit = 0; bit < 3; ++bit)
            in.Set(1 + bit, (k >> bit & 1) ? 5.0L : 0.0L);
        mux->Calculate();
        EXPECT_EQ(mux->Outputs[0]->Value, 10.0L + k) << k;
    }
    in.Set(0, 0);
    mux->Calculate();
    EXPECT_EQ(mux->Outputs[0]->Value, 0.0L);
}

TEST_F(AnalogMuxTest, DemultiplexerFollowsChannelAndValue)
{
    auto d = Create<TBTAnalogDemux>();
    d->SimReset();
    TInputs in(*d);
    in.Set(1, 3.0L);
    d->Calculate(); // open "EN" and selects: channel 7, the first pin
    EXPECT_EQ(OutputValues(*d), (std::vector<Extended>{3, 0, 0, 0, 0, 0, 0, 0}));

    in.Set(0, 5).Set(2, 0).Set(3, 5).Set(4, 0); // channel 2
    in.Set(1, 5.0L);
    d->Calculate();
    EXPECT_EQ(OutputValues(*d), (std::vector<Extended>{0, 0, 0, 0, 0, 5, 0, 0}));
    // The value that was last written before the change no longer counts as written.
    in.Set(1, 3.0L);
    d->Calculate();
    EXPECT_EQ(d->Outputs[5]->Value, 3.0L);
    in.Set(1, 4.0L);
    d->Calculate();
    EXPECT_EQ(d->Outputs[5]->Value, 4.0L);

    // Outputs are written only on a change: an output set from outside keeps its value.
    d->Outputs[5]->Value = 99.0L;
    d->Calculate();
    EXPECT_EQ(d->Outputs[5]->Value, 99.0L);

    in.Set(0, 0);
    d->Calculate();
    EXPECT_EQ(OutputValues(*d), std::vector<Extended>(8, 0.0L));

    auto two = Create<TBTAnalogDemux>();
    two->SetSize(0);
    two->SimReset();
    TInputs in2(*two);
    in2.Set(0, 5).Set(1, 2.0L).Set(2, 0);
    two->Calculate();
    EXPECT_EQ(PinNames(two->Outputs), (QStringList{"A1", "A0"}));
    EXPECT_EQ(OutputValues(*two), (std::vector<Extended>{0, 2}));
}

TEST_F(AnalogMuxTest, StoredCountsOutsideTheTableAreRefused)
{
    struct Case {
        const char* cls;
        int inputs, outputs;
        bool ok;
    };
    const Case cases[] = {
        {"TBTAnalogMux", 21, 1, true},  {"TBTAnalogMux", 4, 1, true},
        {"TBTAnalogMux", 5, 1, false},  {"TBTAnalogMux", 12, 2, false},
        {"TBTAnalogMux", 0, 1, false},  {"TBTAnalogMux", 100000, 1, false},
        {"TBTAnalogDemux", 6, 16, true}, {"TBTAnalogDemux", 3, 2, true},
        {"TBTAnalogDemux", 7, 32, false}, {"TBTAnalogDemux", 4, 8, false},
        {"TBTAnalogDemux", -1, 2, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.cls << " " << c.inputs << "/" << c.outputs);
        auto comp = Create(c.cls);
        const QByteArray part = ComponentPart(c.inputs, c.outputs, 44);
        if (c.ok) {
            EXPECT_TRUE(Read(*comp, part));
            EXPECT_EQ(comp->InputCount, c.inputs);
        } else {
            EXPECT_THROW(Read(*comp, part), EFilerError);
        }
    }
}

TEST_F(AnalogMuxTest, DialogChoosesTheSize)
{
    Ctx().CurrentLanguage = 1;
    auto d = Create<TBTAnalogDemux>();
    TScopedDialogResponder responder;
    responder.Answer([&](QDialog& dlg) {
        EXPECT_EQ(dlg.windowTitle(), "ADMX");
        EXPECT_EQ(Host(dlg).HelpContext, 18460);
        auto* combo = Row<TComboPropEditor>(dlg, 0);
        if (!combo)
            return int(mrCancel);
        EXPECT_EQ(combo->NameLabel->text(), "Channels");
        EXPECT_EQ(combo->Combo->currentIndex(), 2);
        combo->Combo->setCurrentIndex(3);
        return int(mrOk);
    });
    EXPECT_EQ(d->EditProperties(), mrOk);
    EXPECT_EQ(d->OutputCount, 16);
    EXPECT_EQ(d->InputCount, 6);
}

} // namespace
