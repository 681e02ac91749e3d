// Simulation stop, test point, range check and jump target; jumps across a running board.
#include "components/core/SimulationStop.h"
#include "core/board/Platine.h"
#include "components/core/CoreComponents.h"
#include "components/core/RegisterCore.h"
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
#include <memory>
#include <vector>

namespace {

class SimulationStopTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetContext();
        BuildTranslationTable();
        RegisterCoreComponents(registry);
        OnStopRequested = [this] { ++stops; };
        OnRuntimeCloseRequested = [this] { ++closes; };
    }
    void TearDown() override
    {
        OnStopRequested = nullptr;
        OnRuntimeCloseRequested = nullptr;
        ResetContext();
    }

    template <class T>
    std::unique_ptr<T> Create()
    {
        std::unique_ptr<TBauteil> item = registry.CreateBoardItem(QString::fromLatin1(T::StaticClassName()));
        auto* c = dynamic_cast<T*>(item.get());
        if (!c)
            return nullptr;
        item.release();
        return std::unique_ptr<T>(c);
    }

    // A component placed on the board at a spot of its own.
    template <class T>
    T* Place(TPlatine& board, int column, int row = 0)
    {
        std::unique_ptr<T> c = Create<T>();
        c->X = 1000 + column * 400;
        c->Y = 1000 + row * 400;
        c->LayoutPins();
        return static_cast<T*>(board.AddComponent(std::move(c)));
    }

    static void Wire(TPlatine& board, const TBauteilPin& a, const TBauteilPin& b)
    {
        board.AddWire(QPoint(a.X, a.Y), QPoint(a.X, b.Y));
        board.AddWire(QPoint(a.X, b.Y), QPoint(b.X, b.Y));
    }

    TClassRegistry registry;
    int stops = 0;
    int closes = 0;
};

TEST_F(SimulationStopTest, ClassesPinsAndTypeNames)
{
    struct Case {
        const char* className;
        const char* prefix;
        int helpContext;
        std::vector<const char*> inputs;
        std::vector<const char*> outputs;
        bool editable;
        const char* en;
    };
    const Case cases[] = {
        {"TBTStop", "Stp", 18570, {"|Stp"}, {}, false, "Simulation\rStop"},
        {"TBTTestpunkt", "TP", 18531, {""}, {}, false, "Test"},
        {"TBTRangeCheck", "RGC", 18416, {"XH", "X", "XL"}, {"OL", "OK", "OH"}, false, "Range check"},
        {"TBTJumpTarget", "JMPT", 18532, {}, {"$"}, true, nullptr},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.className);
        std::unique_ptr<TBauteil> item = registry.CreateBoardItem(QString::fromLatin1(k.className));
        auto* c = dynamic_cast<TIOBauteil*>(item.get());
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(c->Prefix(), QString::fromLatin1(k.prefix));
        EXPECT_EQ(c->HelpContext, k.helpContext);
        EXPECT_EQ(c->Editable, k.editable);
        EXPECT_TRUE(c->ElementClass().isEmpty());
        ASSERT_EQ(c->Inputs.size(), k.inputs.size());
        for (size_t i = 0; i < k.inputs.size(); ++i)
            EXPECT_EQ(c->Inputs[i]->Name(), QString::fromLatin1(k.inputs[i]));
        ASSERT_EQ(c->Outputs.size(), k.outputs.size());
        for (size_t i = 0; i < k.outputs.size(); ++i)
            EXPECT_EQ(c->Outputs[i]->Name(), QString::fromLatin1(k.outputs[i]));
        Ctx().CurrentLanguage = 1;
        if (k.en) {
            EXPECT_EQ(c->GetTypeName(), QString::fromLatin1(k.en));
        }
        Ctx().CurrentLanguage = 0;
    }
    auto rgc = Create<TBTRangeCheck>();
    EXPECT_EQ(rgc->GetTypeName(), QStringLiteral("Bereichsprüfung"));
    Ctx().CurrentLanguage = 2;
    EXPECT_EQ(rgc->GetTypeName(), QStringLiteral("Testeur de limites"));
    Ctx().CurrentLanguage = 0;
    auto target = Create<TBTJumpTarget>();
    EXPECT_EQ(target->GetTypeName(), QStringLiteral("Sprung (Ziel)"));
    EXPECT_EQ(target->GetLabel(), QStringLiteral("?"));
    EXPECT_TRUE(target->Outputs[0]->IsStringPin());
}

TEST_F(SimulationStopTest, StopRequestsOnAFallingEdgeOnly)
{
    // Levels per step ('-' unconnected) and the step at which the stop is requested.
    const struct { const char* levels; int stopAt; } cases[] = {
        {"----------", -1},  // unconnected reads high: never stops
        {"0000", -1},        // low from the start is no edge
        {"0110", 3},
        {"1111", -1},
        {"1-0", 2},
        {"10", 1},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.levels);
        auto stop = Create<TBTStop>();
        TBauteilPin driver;
        stop->SimReset();
        stops = 0;
        int stopAt = -1;
        for (int i = 0; k.levels[i]; ++i) {
            const char l = k.levels[i];
            stop->Inputs[0]->SetSource(l == '-' ? nullptr : &driver);
            driver.Value.SetDigital(l == '1');
            stop->Calculate();
            if (stops == 1 && stopAt < 0)
                stopAt = i;
        }
        EXPECT_EQ(stopAt, k.stopAt);
        EXPECT_LE(stops, 1);
        EXPECT_EQ(closes, 0);
    }
}

TEST_F(SimulationStopTest, StopInACompiledProgramEndsTheProgram)
{
    Ctx().RuntimeMode = true;
    auto stop = Create<TBTStop>();
    TBauteilPin driver;
    stop->Inputs[0]->SetSource(&driver);
    stop->SimReset();
    driver.Value.SetDigital(true);
    stop->Calculate();
    driver.Value.SetDigital(false);
    stop->Calculate();
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(stops, 0);
    // Without installed hooks nothing happens.
    OnRuntimeCloseRequested = nullptr;
    driver.Value.SetDigital(true);
    stop->Calculate();
    driver.Value.SetDigital(false);
    stop->Calculate();
}

TEST_F(SimulationStopTest, StopOnABoardEndsTheRunInThatStep)
{
    TPlatine board;
    auto* clock = Place<TBTTaktgeber>(board, 0);
    auto* stop = Place<TBTStop>(board, 2);
    Wire(board, *clock->Outputs[0], *stop->Inputs[0]);
    clock->State = true;
    board.StartSimulation();
    int stepOfStop = -1;
    int step = 0;
    OnStopRequested = [&] { stepOfStop = step; };
    for (step = 0; step < 6; ++step) {
        if (step == 3)
            clock->State = false;
        board.SimStep();
    }
    board.EndSimulation();
    EXPECT_EQ(stepOfStop, 3);
}

TEST_F(SimulationStopTest, RangeCheckOutputs)
{
    auto rgc = Create<TBTRangeCheck>();
    TBauteilPin xh, x, xl;
    rgc->Inputs[0]->SetSource(&xh);
    rgc->Inputs[1]->SetSource(&x);
    rgc->Inputs[2]->SetSource(&xl);
    const struct { Extended xh, x, xl; bool ol, ok, oh; } cases[] = {
        {10, 5, 0, false, true, false},
        {10, 10, 0, false, false, true},   // X = XH
        {10, 0, 0, false, true, false},    // X = XL
        {10, -1, 0, true, false, false},
        {10, 11, 0, false, false, true},
        {0, 5, 10, true, false, true},     // XL > XH: OK never high
        {0, -1, 10, true, false, false},
        {0, 0, 10, true, false, true},     // both ends high
        {-2.5L, -2.5L, -2.6L, false, false, true},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(double(k.x));
        xh.Value = k.xh;
        x.Value = k.x;
        xl.Value = k.xl;
        rgc->Calculate();
        EXPECT_EQ(rgc->Outputs[0]->Value.High(), k.ol);
        EXPECT_EQ(rgc->Outputs[1]->Value.High(), k.ok);
        EXPECT_EQ(rgc->Outputs[2]->Value.High(), k.oh);
    }
}

TEST_F(SimulationStopTest, TestPointShowsItsValueOnlyWhileRunning)
{
    auto tp = Create<TBTTestpunkt>();
    TBauteilPin source;
    tp->Inputs[0]->SetSource(&source);
    source.Value = 1.23456L;
    tp->Calculate();
    EXPECT_EQ(tp->Value, 1.23456L);
    tp->SimReset();
    EXPECT_NE(tp->LastDrawn, tp->Value);  // the first painting of a run happens

    const struct { bool states, running; bool value; } cases[] = {
        {true, true, true}, {false, true, false}, {true, false, false}, {false, false, false},
    };
    for (const auto& k : cases) {
        tp->ShowStates = k.states;
        Ctx().SimRunning = k.running;
        const QString text = tp->DisplayText();
        if (k.value) {
            EXPECT_TRUE(text == QStringLiteral("1,23") || text == QStringLiteral("1.23")) << text.toStdString();
        } else {
            EXPECT_EQ(text, QStringLiteral("TEST"));
        }
    }
    const TRect full = tp->TGrundBT::GetBounds();
    EXPECT_EQ(tp->GetBounds().Top, full.Top + 20);
    EXPECT_EQ(tp->GetBounds().Bottom, full.Bottom - 20);
    tp->Inputs[0]->SetSource(nullptr);
}

TEST_F(SimulationStopTest, JumpTargetsTakeTheValueOfTheLastJumpWithTheirLabel)
{
    TPlatine board;
    auto* clock = Place<TBTTaktgeber>(board, 0);
    auto* jumpA = Place<TBTJump>(board, 2);
    auto* jumpB = Place<TBTJump>(board, 2, 2);   // later in the jump list, unconnected
    auto* jumpC = Place<TBTJump>(board, 2, 4);
    auto* targetA = Place<TBTJumpTarget>(board, 4);
    auto* targetNone = Place<TBTJumpTarget>(board, 4, 2);
    auto* targetC = Place<TBTJumpTarget>(board, 4, 4);
    auto* point = Place<TBTTestpunkt>(board, 6, 4);
    Wire(board, *clock->Outputs[0], *jumpA->Inputs[0]);
    Wire(board, *targetC->Outputs[0], *point->Inputs[0]);
    jumpA->SetLabel(QStringLiteral("A"));
    jumpB->SetLabel(QStringLiteral("B"));
    jumpC->SetLabel(QStringLiteral("B"));
    Wire(board, *clock->Outputs[0], *jumpC->Inputs[0]);
    targetA->SetLabel(QStringLiteral("A"));
    targetNone->SetLabel(QStringLiteral("Z"));
    targetC->SetLabel(QStringLiteral("B"));
    targetNone->Outputs[0]->SetPinText(QStringLiteral("untouched"));

    clock->State = true;
    board.StartSimulation();
    EXPECT_EQ(targetC->Source, jumpC);
    EXPECT_EQ(targetNone->Source, nullptr);
    board.SimStep();
    board.SimStep();
    EXPECT_EQ(targetA->Outputs[0]->GetPinText(), jumpA->JumpText);
    EXPECT_FALSE(jumpA->JumpText.isEmpty());
    EXPECT_EQ(targetC->Outputs[0]->GetPinText(), jumpA->JumpText);
    EXPECT_EQ(point->Value, 5.0L);
    EXPECT_EQ(targetNone->Outputs[0]->GetPinText(), QStringLiteral("untouched"));
    clock->State = false;
    board.SimStep();
    board.SimStep();
    EXPECT_EQ(point->Value, 0.0L);
    board.EndSimulation();

    // Relabelled between runs: the target finds the unconnected jump and carries empty text.
    jumpC->SetLabel(QStringLiteral("C"));
    board.StartSimulation();
    EXPECT_EQ(targetC->Source, jumpB);
    board.SimStep();
    EXPECT_EQ(targetC->Outputs[0]->GetPinText(), QString());
    board.EndSimulation();
}

TEST_F(SimulationStopTest, JumpTargetDialogListsTheJumps)
{
    TPlatine board;
    Place<TBTJump>(board, 0)->SetLabel(QStringLiteral("P1"));
    Place<TBTJump>(board, 0, 1)->SetLabel(QStringLiteral("P2"));
    auto* target = Place<TBTJumpTarget>(board, 2);
    // Label before, chosen index (-1: none), answer and the label afterwards.
    const struct { const char* before; int choose; int answer; const char* label; } steps[] = {
        {"P2", 0, mrCancel, "P2"}, {"P2", 0, mrOk, "P1"}, {"ZZ", -1, mrOk, "?"}, {"P1", 1, mrOk, "P2"},
    };
    const QStringList labels{QStringLiteral("P1"), QStringLiteral("P2")};
    for (const auto& s : steps) {
        target->SetLabel(QString::fromLatin1(s.before));
        TScopedDialogResponder responder;
        responder.Answer([&](QDialog& d) {
            auto* combo = d.findChild<QComboBox*>(QStringLiteral("Combo"));
            EXPECT_NE(combo, nullptr);
            if (combo) {
                EXPECT_EQ(combo->count(), 2);
                EXPECT_EQ(combo->currentIndex(), int(labels.indexOf(QString::fromLatin1(s.before))));
                combo->setCurrentIndex(s.choose);
            }
            return s.answer;
        });
        EXPECT_EQ(target->EditProperties(), s.answer);
        EXPECT_EQ(target->GetLabel(), QString::fromLatin1(s.label));
    }
}

TEST_F(SimulationStopTest, StreamRecordsRoundTrip)
{
    for (const char* name : {"TBTStop", "TBTTestpunkt", "TBTRangeCheck", "TBTJumpTarget"}) {
        SCOPED_TRACE(name);
        std::unique_ptr<TBauteil> a = registry.CreateBoardItem(QString::fromLatin1(name));
        std::unique_ptr<TBauteil> b = registry.CreateBoardItem(QString::fromLatin1(name));
        auto* ca = dynamic_cast<TIOBauteil*>(a.get());
        ca->SetLabel(QStringLiteral("L7"));
        ca->SetMirrored(true);
        QByteArray data;
        {
            QBuffer buffer(&data);
            buffer.open(QIODevice::WriteOnly);
            TWriter writer(buffer);
            a->WriteData(writer);
        }
        QBuffer buffer(&data);
        buffer.open(QIODevice::ReadOnly);
        TReader reader(buffer);
        b->ReadData(reader, 44);
        EXPECT_TRUE(reader.AtEnd());
        auto* cb = dynamic_cast<TIOBauteil*>(b.get());
        EXPECT_EQ(cb->GetLabel(), QStringLiteral("L7"));
        EXPECT_TRUE(cb->Mirrored);
    }
}

} // namespace
