// Formula component: evaluation on real pins, when it evaluates again, settings dialog,
// record, hint, texts and symbol.
#include "ComponentTestSupport.h"
#include "components/analog/Formula.h"
#include "components/analog/RegisterAnalog.h"
#include "core/model/ClassRegistry.h"
#include "core/model/Translator.h"
#include "platform/Colors.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"
#include "ui/SettingsDialog.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDialog>
#include <QLineEdit>
#include <QSpinBox>
#include <memory>
#include <vector>

namespace {

class FormulaTest : public TComponentTest<RegisterFormulaComponents, true> {
protected:
    void SetUp() override
    {
        TComponentTest::SetUp();
        comp = Create();
    }
    std::unique_ptr<TBTFormel> Create()
    {
        std::unique_ptr<TBauteil> item = registry.CreateBoardItem(QStringLiteral("TBTFormel"));
        auto* f = dynamic_cast<TBTFormel*>(item.get());
        if (!f)
            return nullptr;
        item.release();
        return std::unique_ptr<TBTFormel>(f);
    }

    // Drives every input from a pin of its own.
    void Attach(int count)
    {
        comp->SetInputCount(count);
        drivers.clear();
        for (int i = 0; i < count; ++i) {
            drivers.push_back(std::make_unique<TBauteilPin>());
            comp->Inputs[size_t(i)]->SetSource(drivers.back().get());
        }
    }
    Extended Step()
    {
        comp->Calculate();
        return comp->Outputs[0]->Value;
    }

    std::unique_ptr<TBTFormel> comp;
    std::vector<std::unique_ptr<TBauteilPin>> drivers;
};

TEST_F(FormulaTest, OutputsTheFormulaOfItsInputs)
{
    struct Case {
        const char* formula;
        std::vector<Extended> in;
        Extended out;
    };
    const Case cases[] = {
        {"E0*2", {3}, 6},
        {"1/E0", {0}, 0},                    // no value: 0.0
        {"E0+E1*E2", {1, 2, 3}, 7},
        {"SIN(E0)", {0}, 0},
        {"E5", {1, 2}, 0},                   // no such input
        {"E1-E0", {0.1L, 0.3L}, 0.2},          // 0.3 - 0.1 rounded to 15 digits
        {"E0", {1.0L / 3.0L}, 0.333333333333333}, // 15 significant digits
        {"(E0", {1}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.formula);
        comp = Create();
        Attach(int(c.in.size()));
        for (size_t i = 0; i < c.in.size(); ++i)
            drivers[i]->Value = c.in[i];
        comp->SetFormula(QString::fromLatin1(c.formula));
        comp->SimReset();
        EXPECT_EQ(Step(), c.out);
    }
}

TEST_F(FormulaTest, EvaluatesAgainOnlyWhenAnInputTextOrTheFormulaChanges)
{
    Attach(2);
    comp->SetFormula(QStringLiteral("E0*2"));
    drivers[0]->Value = 3;
    comp->SimReset();
    EXPECT_EQ(Step(), 6);

    // A value put on the output stays while nothing the formula reads changes.
    comp->Outputs[0]->Value = 99;
    EXPECT_EQ(Step(), 99);
    drivers[1]->Value = 5;                  // not in the formula
    EXPECT_EQ(Step(), 99);
    drivers[0]->Value = 3.0L + 1e-17L;      // the same 15-digit text
    EXPECT_EQ(Step(), 99);
    drivers[0]->Value = 4;
    EXPECT_EQ(Step(), 8);

    // A new formula, and a reset, evaluate at the next step.
    comp->Outputs[0]->Value = 99;
    comp->SetFormula(QStringLiteral("E0*2"));  // unchanged
    EXPECT_EQ(Step(), 99);
    comp->SetFormula(QStringLiteral("E0+E1"));
    EXPECT_EQ(Step(), 9);
    comp->SimReset();
    EXPECT_EQ(comp->Outputs[0]->Value, 0);
    EXPECT_EQ(Step(), 9);

    // An empty formula leaves the output alone.
    comp->SetFormula(QString());
    comp->Outputs[0]->Value = 42;
    EXPECT_EQ(Step(), 42);
}

TEST_F(FormulaTest, SettingsDialog)
{
    struct Case {
        const char* name;
        bool running;
        int answer;
        const char* typed;          // nullptr: formula row untouched
        int inputs;                 // -1: spin untouched
        const char* formula;        // expected afterwards
        int32_t inputCount;
    };
    const Case cases[] = {
        {"lower case and comma", false, mrOk, "sin(e0)*1,5", 2, "SIN(E0)*1.5", 2},
        {"cancel keeps everything", false, mrCancel, "e1", 3, "E0*2", 1},
        {"during a run only the formula", true, mrOk, "e0+1", -1, "E0+1", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        comp = Create();
        comp->SetFormula(QStringLiteral("e0*2")); // as stored by an older editor
        comp->SetLabel(QStringLiteral("Rechner"));
        Ctx().SimRunning = c.running;
        TScopedDialogResponder responder;
        responder.Answer([&](QDialog& d) {
            const QList<QLineEdit*> edits = d.findChildren<QLineEdit*>(QStringLiteral("Edit"));
            const QList<QSpinBox*> spins = d.findChildren<QSpinBox*>(QStringLiteral("Spin"));
            EXPECT_EQ(spins.size(), c.running ? 0 : 1);
            EXPECT_EQ(edits.size(), c.running ? 1 : 2);  // formula, then "Name"
            EXPECT_EQ(static_cast<TDefault_Dlg&>(d).HelpContext, 18500);
            if (!edits.isEmpty()) {
                EXPECT_EQ(edits[0]->text(), QStringLiteral("e0*2"));
                if (c.typed)
                    edits[0]->setText(QString::fromLatin1(c.typed));
            }
            if (c.inputs >= 0 && !spins.isEmpty()) {
                EXPECT_EQ(spins[0]->minimum(), 1);
                EXPECT_EQ(spins[0]->maximum(), 16);
                spins[0]->setValue(c.inputs);
            }
            return c.answer;
        });
        EXPECT_EQ(comp->EditProperties(), c.answer);
        EXPECT_EQ(responder.Count(), 1);
        EXPECT_EQ(responder.Titles().value(0), QStringLiteral("Rechner"));
        EXPECT_EQ(comp->Formula(), QString::fromLatin1(c.formula));
        EXPECT_EQ(comp->InputCount, c.inputCount);
        EXPECT_EQ(comp->Inputs.back()->Name(), QStringLiteral("E%1").arg(c.inputCount - 1));
        Ctx().SimRunning = false;
    }

    // The upper-cased formula computes.
    comp = Create();
    TScopedDialogResponder responder;
    responder.Answer([](QDialog& d) {
        d.findChildren<QLineEdit*>(QStringLiteral("Edit")).value(0)->setText(
            QStringLiteral("abs(e0)*0,5"));
        return mrOk;
    });
    comp->EditProperties();
    Attach(1);
    drivers[0]->Value = -3;
    comp->SimReset();
    EXPECT_EQ(Step(), 1.5);
}

TEST_F(FormulaTest, RegistryTextsPinsAndHint)
{
    EXPECT_TRUE(registry.IsRegistered(QStringLiteral("TBTFormel")));
    EXPECT_EQ(comp->Prefix(), QStringLiteral("FRM"));
    EXPECT_EQ(comp->HelpContext, 18500);
    EXPECT_TRUE(comp->Editable);
    EXPECT_TRUE(comp->ElementClass().isEmpty());
    ASSERT_EQ(comp->InputCount, 1);
    ASSERT_EQ(comp->OutputCount, 1);
    EXPECT_EQ(comp->Inputs[0]->Name(), QStringLiteral("E0"));
    EXPECT_EQ(comp->Outputs[0]->Name(), QStringLiteral("A"));
    EXPECT_TRUE(comp->Formula().isEmpty());
    comp->SetInputCount(16);
    EXPECT_EQ(comp->Inputs[15]->Name(), QStringLiteral("E15"));

    const char* names[] = {"Formel\runiversell", "Formula", "Formule", ""};
    for (uint8_t lang = 0; lang < 4; ++lang) {
        Ctx().CurrentLanguage = lang;
        EXPECT_EQ(comp->GetTypeName(), QString::fromUtf8(names[lang])) << int(lang);
    }
    Ctx().CurrentLanguage = 1;
    comp = Create();
    comp->SetNumber(4);
    EXPECT_EQ(comp->GetHint(), QStringLiteral("FRM 4\rFormula"));
    comp->SetFormula(QStringLiteral("E0*2"));
    EXPECT_EQ(comp->GetHint(), QStringLiteral("FRM 4\rFormula\rE0*2"));
}

TEST_F(FormulaTest, RecordRoundTripAndCheck)
{
    comp->SetInputCount(3);
    comp->SetFormula(QStringLiteral("E0*E2-1.5E+3"));
    comp->SetLabel(QStringLiteral("Rechnung"));
    const QByteArray data = Write(*comp);

    auto copy = Create();
    ASSERT_TRUE(Read(*copy, data, 44));
    EXPECT_EQ(copy->Formula(), comp->Formula());
    EXPECT_EQ(copy->InputCount, 3);
    EXPECT_EQ(copy->GetLabel(), QStringLiteral("Rechnung"));
    EXPECT_EQ(Write(*copy), data);

    // An old record (no inversions, no label) with the formula behind it.
    {
        QByteArray old;
        QBuffer buffer(&old);
        buffer.open(QIODevice::WriteOnly);
        TWriter w(buffer);
        w.WriteInteger(0);
        w.WriteInteger(100);
        w.WriteInteger(200);
        w.WriteInteger(2);
        w.WriteInteger(1);
        w.WriteBoolean(false);
        w.WriteString(QStringLiteral("E1/E0"));
        buffer.close();
        auto f = Create();
        ASSERT_TRUE(Read(*f, old, 2));
        EXPECT_EQ(f->Formula(), QStringLiteral("E1/E0"));
        EXPECT_EQ(f->InputCount, 2);
    }

    for (auto [inputs, outputs] : {std::pair{0, 1}, std::pair{17, 1}, std::pair{2, 2}}) {
        SCOPED_TRACE(testing::Message() << inputs << "/" << outputs);
        TIOBauteil source;
        source.SetInputCount(inputs);
        source.SetOutputCount(outputs);
        QByteArray record = Write(source);
        auto f = Create();
        try {
            Read(*f, record, 44);
            ADD_FAILURE() << "record accepted";
        } catch (const EFilerError& e) {
            EXPECT_EQ(e.kind(), EFilerError::InvalidData);
        }
    }
}

TEST_F(FormulaTest, SymbolInTheSymbolColourOrRedWhenSelected)
{
    for (int inputs : {1, 3}) {
        for (bool selected : {false, true}) {
            SCOPED_TRACE(testing::Message() << inputs << " inputs, selected " << selected);
            comp = Create();
            comp->SetInputCount(inputs);
            comp->SymbolColor = clLime;
            comp->Selected = selected;
            const TMarkPixels n = MarkPixelsInBody(*comp);
            EXPECT_EQ(n.lime > 0, !selected);
            EXPECT_EQ(n.red > 0, selected);
        }
    }
}

} // namespace
