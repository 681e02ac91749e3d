// The input-count dialog of the gates and the arithmetic blocks, answered by the dialog
// responder.
#include "components/analog/Arithmetic.h"
#include "components/digital/Gates.h"
#include "core/model/Translator.h"
#include "platform/Context.h"
#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDialog>
#include <functional>
#include <memory>

namespace {

class InputCountDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetContext();
        BuildTranslationTable();
    }
    void TearDown() override { ResetContext(); }
};

struct TMaker {
    const char* name;
    std::function<std::unique_ptr<TIOBauteil>()> make;
    bool namedInputs;  // arithmetic blocks name their inputs "E0" ...
};

const TMaker kMakers[] = {
    {"AND", [] { return NewObject<TBTAnd>(); }, false},
    {"NAND", [] { return NewObject<TBTNand>(); }, false},
    {"OR", [] { return NewObject<TBTOr>(); }, false},
    {"NOR", [] { return NewObject<TBTNor>(); }, false},
    {"EXOR", [] { return NewObject<TBTExor>(); }, false},
    {"ADD", [] { return NewObject<TBTAdd>(); }, true},
    {"SUB", [] { return NewObject<TBTSub>(); }, true},
    {"MUL", [] { return NewObject<TBTMul>(); }, true},
    {"DIV", [] { return NewObject<TBTDiv>(); }, true},
};

// What the dialog showed, and an answer: the combo index to choose and the modal result.
struct TSeen {
    QString caption;
    int helpContext = 0;
    QString rowCaption;
    QStringList items;
    int shownIndex = -2;
};

std::function<int(QDialog&)> Answer(TSeen& seen, int choose, int result)
{
    return [&seen, choose, result](QDialog& d) -> int {
        auto& dlg = static_cast<TDefault_Dlg&>(d);
        seen.caption = dlg.windowTitle();
        seen.helpContext = dlg.HelpContext;
        const auto& rows = dlg.PropScrollbox->Rows();
        if (rows.size() != 1) {
            ADD_FAILURE() << "rows: " << rows.size();
            return mrCancel;
        }
        seen.rowCaption = rows[0]->Caption;
        QComboBox* combo = d.findChild<QComboBox*>(QStringLiteral("Combo"));
        if (!combo) {
            ADD_FAILURE() << "no combo row";
            return mrCancel;
        }
        for (int i = 0; i < combo->count(); ++i)
            seen.items << combo->itemText(i);
        seen.shownIndex = combo->currentIndex();
        combo->setCurrentIndex(choose);
        return result;
    };
}

QStringList TwoToSixteen()
{
    QStringList out;
    for (int n = 2; n <= 16; ++n)
        out << QString::number(n);
    return out;
}

TEST_F(InputCountDialogTest, OkSetsTheChosenInputCount)
{
    Ctx().CurrentLanguage = 1;
    for (const TMaker& m : kMakers) {
        SCOPED_TRACE(m.name);
        std::unique_ptr<TIOBauteil> c = m.make();
        c->SetInputCount(5);
        TScopedDialogResponder responder;
        TSeen seen;
        responder.Answer(Answer(seen, 14, mrOk));  // "16"
        EXPECT_EQ(c->EditProperties(), mrOk);
        EXPECT_EQ(responder.Count(), 1);
        EXPECT_EQ(seen.caption, c->GetTypeName());
        EXPECT_EQ(seen.helpContext, c->HelpContext);
        EXPECT_EQ(seen.rowCaption, QStringLiteral("Inputs"));
        EXPECT_EQ(seen.items, TwoToSixteen());
        EXPECT_EQ(seen.shownIndex, 3);  // "5"
        ASSERT_EQ(c->InputCount, 16);
        ASSERT_EQ(c->Inputs.size(), 16u);
        EXPECT_EQ(c->Inputs[15]->Name(), m.namedInputs ? QStringLiteral("E15") : QString());
        EXPECT_EQ(c->OutputCount, 1);
    }
}

TEST_F(InputCountDialogTest, CancelKeepsThePinsAsTheyWere)
{
    for (const TMaker& m : kMakers) {
        SCOPED_TRACE(m.name);
        std::unique_ptr<TIOBauteil> c = m.make();
        c->SetInputCount(5);
        c->Inputs[1]->SetInverted(true);
        const TBauteilPin* pin = c->Inputs[1].get();
        int rebuilt = 0;
        c->OnPinsChanged = [&rebuilt](TIOBauteil*) { ++rebuilt; };
        TScopedDialogResponder responder;
        TSeen seen;
        responder.Answer(Answer(seen, 0, mrCancel));
        EXPECT_EQ(c->EditProperties(), mrCancel);
        EXPECT_EQ(seen.rowCaption, QString::fromUtf8("Eingänge"));
        EXPECT_EQ(c->InputCount, 5);
        EXPECT_EQ(c->Inputs[1].get(), pin);
        EXPECT_TRUE(c->Inputs[1]->Inverted());
        EXPECT_EQ(rebuilt, 0);
    }
}

TEST_F(InputCountDialogTest, TheInverterHasNoDialog)
{
    auto inverter = NewObject<TBTInverter>();
    TScopedDialogResponder responder;
    EXPECT_FALSE(inverter->Editable);
    EXPECT_EQ(inverter->EditProperties(), 0);
    EXPECT_EQ(responder.Count(), 0);
    EXPECT_EQ(inverter->InputCount, 1);
}

} // namespace
