// Fixed value, comparator, sample-and-hold, relays and trigger: their steps, the fixed values
// that share a net, records, the held value in the state file, prefixes and dialogs.
#include "ComponentTestSupport.h"
#include "components/signal/RegisterSignalBlocks.h"
#include "components/signal/ValueBlocks.h"
#include "platform/IniFile.h"
#include "platform/ModalDialogs.h"
#include "platform/ValueText.h"

#include "platform/MessageBox.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

#include <QTemporaryDir>
#include <limits>

namespace {

constexpr Extended Open = std::numeric_limits<Extended>::quiet_NaN(); // unconnected input

class ValueBlocksTest : public TComponentTest<RegisterSignalBlocks, true> {};

// Connects the inputs to the values (Open leaves one unconnected).
void Drive(TInputs& in, const std::vector<Extended>& values)
{
    for (size_t i = 0; i < values.size(); ++i) {
        if (values[i] != values[i])
            in.Unconnect(int(i));
        else
            in.Set(int(i), values[i]);
    }
}

TEST_F(ValueBlocksTest, StepsOfComparatorRelaysSampleAndTrigger)
{
    struct Case {
        const char* cls;
        std::vector<Extended> in;
        std::vector<Extended> out;
    };
    const Extended justAbove = std::nextafter(1.0L, 2.0L);
    const Case cases[] = {
        {"TBTAnalogVgl", {1, 2}, {5, 0, 0}},
        {"TBTAnalogVgl", {2, 2}, {0, 5, 0}},
        {"TBTAnalogVgl", {justAbove, 1}, {0, 0, 5}},  // the last digit counts
        {"TBTAnalogVgl", {Open, -1}, {0, 0, 5}},
        {"TBTRelais", {1, 2, 0}, {1}},
        {"TBTRelais", {1, 2, 5}, {2}},
        {"TBTRelais", {1, 2, Open}, {2}},               // open "SEL" reads high
        {"TBTRelais_2", {7, 0}, {0, 7}},                // "A1", "A0"
        {"TBTRelais_2", {7, 2.5L}, {7, 0}},
        {"TBTRelais_2", {7, Open}, {7, 0}},
        {"TBTSample", {3, Open}, {3}},                  // open "/Hld" follows
        {"TBTSample", {3, 0}, {0}},                     // holds the reset value
        {"TBTTrigger", {0.0001L}, {5}},                 // threshold 0
        {"TBTTrigger", {0}, {0}},
        {"TBTTrigger", {-1}, {0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.cls << " case " << (&c - cases));
        auto comp = Create(c.cls);
        ASSERT_TRUE(comp);
        TInputs in(*comp);
        comp->SimReset();
        Drive(in, c.in);
        comp->Calculate();
        EXPECT_EQ(OutputValues(*comp), c.out);
    }
}

TEST_F(ValueBlocksTest, TriggerThresholdAndSampleHold)
{
    auto t = Create<TBTTrigger>();
    t->Threshold = 2.0L;
    TInputs in(*t);
    for (auto [v, out] : {std::pair{2.0L, 0.0L}, {2.0001L, 5.0L}, {1.9999L, 0.0L}}) {
        in.Set(0, v);
        t->Calculate();
        EXPECT_EQ(t->Outputs[0]->Value, out) << double(v);
    }

    auto s = Create<TBTSample>();
    TInputs sin(*s);
    sin.Set(0, 4).Set(1, 5);
    s->Calculate();
    sin.Set(0, 6).Set(1, 0);
    s->Calculate();
    EXPECT_EQ(s->Outputs[0]->Value, 4.0L);
    sin.Set(1, 5);
    s->Calculate();
    EXPECT_EQ(s->Outputs[0]->Value, 6.0L);
}

// The fixed value writes at the start of a run only, through the value path, so two fixed
// values on one net add up.
TEST_F(ValueBlocksTest, FixedValuesOnOneNetAddUp)
{
    auto a = Create<TBTFest>();
    auto b = Create<TBTFest>();
    a->FixValue = 1.5L;
    b->FixValue = 2.25L;
    TBauteilPin* pa = a->Outputs[0].get();
    TBauteilPin* pb = b->Outputs[0].get();
    pa->SetSameNet({pa, pb});
    pb->SetSameNet(pa->SameNet());
    a->SimReset();
    b->SimReset();
    EXPECT_EQ(pa->Value, 3.75L);
    EXPECT_EQ(pb->Value, 3.75L);

    a->FixValue = 10.0L; // reaches the output at the next start
    a->Calculate();
    EXPECT_EQ(pa->Value, 3.75L);
}

TEST_F(ValueBlocksTest, RecordsHintsAndPrefixes)
{
    auto f = Create<TBTFest>();
    f->FixValue = -1234.5678L;
    const QByteArray data = Write(*f);
    auto back = Create<TBTFest>();
    ASSERT_TRUE(Read(*back, data));
    EXPECT_EQ(back->FixValue, -1234.5678L);
    EXPECT_TRUE(back->GetHint().endsWith(QStringLiteral("\r= ") + ValueToText(-1234.5678L)));

    auto t = Create<TBTTrigger>();
    t->Threshold = 0.125L;
    auto tb = Create<TBTTrigger>();
    ASSERT_TRUE(Read(*tb, Write(*t)));
    EXPECT_EQ(tb->Threshold, 0.125L);

    // The prefix follows the language at creation, also when a record is read.
    for (auto [language, fest, vgl] : {std::tuple{0, "FW", "AVG"}, {1, "FV", "ACP"},
                                       {2, "VF", "CPA"}}) {
        Ctx().CurrentLanguage = uint8_t(language);
        auto c = Create<TBTFest>();
        ASSERT_TRUE(Read(*c, data));
        EXPECT_EQ(c->Prefix(), fest);
        EXPECT_EQ(Create<TBTAnalogVgl>()->Prefix(), vgl);
    }
}

TEST_F(ValueBlocksTest, HeldValueSurvivesInTheStateFile)
{
    QTemporaryDir dir;
    TIniFile ini(dir.filePath(QStringLiteral("state.set")));
    auto s = Create<TBTSample>();
    s->SetNumber(2);
    s->Held = 7.5L;
    s->SaveSettings(ini, QStringLiteral("MAIN"));
    EXPECT_EQ(ini.ReadFloat(QStringLiteral("MAIN.S&H2"), QStringLiteral("Hold"), 0), 7.5);

    auto t = Create<TBTSample>();
    t->SetNumber(2);
    t->SimReset();
    t->LoadSettings(ini, QStringLiteral("MAIN"), false);
    EXPECT_EQ(t->Outputs[0]->Value, 7.5L);
    TInputs in(*t);
    in.Set(0, 1).Set(1, 0);
    t->Calculate();
    EXPECT_EQ(t->Outputs[0]->Value, 7.5L);
}

TEST_F(ValueBlocksTest, ValueDialogs)
{
    Ctx().CurrentLanguage = 1;
    struct Case {
        const char* cls;
        const char* caption;
        int help;
    };
    for (const Case& c : {Case{"TBTFest", "Value", 18440}, Case{"TBTTrigger", "Threshold", 18415}}) {
        SCOPED_TRACE(c.cls);
        auto comp = Create(c.cls);
        auto& block = dynamic_cast<TBTSettingBlock&>(*comp);
        TScopedDialogResponder responder;
        QStringList captions;
        auto answer = [&](const char* text, int result) {
            responder.Answer([&captions, &comp, &c, text, result](QDialog& d) {
                EXPECT_EQ(d.windowTitle(), comp->GetLabel());
                EXPECT_EQ(Host(d).HelpContext, c.help);
                captions.clear();
                for (const auto& row : Host(d).PropScrollbox->Rows())
                    captions << row->Editor->NameLabel->text();
                if (auto* edit = Row<TEditPropEditor>(d, 0))
                    edit->Edit->setText(QString::fromLatin1(text));
                return result;
            });
        };
        answer("2,5", mrOk);
        EXPECT_EQ(comp->EditProperties(), mrOk);
        EXPECT_EQ(captions, (QStringList{c.caption, "Options", "Name", "Editable at run-time"}));
        EXPECT_EQ(block.Setting, 2.5L);
        answer("7", mrCancel);
        EXPECT_EQ(comp->EditProperties(), mrCancel);
        EXPECT_EQ(block.Setting, 2.5L);
    }
}

} // namespace
