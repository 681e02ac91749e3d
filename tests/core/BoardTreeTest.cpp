#include "BoardTestSupport.h"

#include "ui/ComponentTree.h"

#include <QTreeWidget>

namespace {

class BoardTreeTest : public BoardFixture {};

bool AnyComponent(TBauteil* item)
{
    return dynamic_cast<TIOBauteil*>(item) != nullptr;
}

QStringList Texts(const QTreeWidgetItem* node)
{
    QStringList out;
    for (int i = 0; i < node->childCount(); ++i)
        out << node->child(i)->text(0);
    return out;
}

} // namespace

TEST_F(BoardTreeTest, MacrosNestAndEmptyMacrosDisappear)
{
    TPlatine top;
    auto* gate = Add<TTestAnd>(top);
    gate->Editable = true;
    gate->SetLabel(QStringLiteral("Zündung"));
    Add<TTestLed>(top); // not editable: no node

    TMakro* macro = Add<TMakro>(top);
    macro->SetMacroName(QStringLiteral("Regler"));
    TPlatine* inner = top.CreateInnerBoard(*macro);
    auto* pin = Add<TBTPin>(*inner);
    pin->SetPinName(QStringLiteral("IN"));
    auto* innerGate = Add<TTestAnd>(*inner);
    innerGate->Editable = true;
    innerGate->SetLabel(QStringLiteral("Addierer"));

    TMakro* empty = Add<TMakro>(top);
    empty->SetMacroName(QStringLiteral("Leer"));
    top.CreateInnerBoard(*empty);

    QTreeWidget view;
    FillComponentTree(top, view, nullptr, AnyComponent);
    ASSERT_EQ(view.topLevelItemCount(), 2);
    EXPECT_EQ(view.topLevelItem(0)->text(0), QStringLiteral("Regler (MCR1)"));
    EXPECT_EQ(view.topLevelItem(1)->text(0), QStringLiteral("Zündung (G1)"));
    EXPECT_EQ(Texts(view.topLevelItem(0)),
              (QStringList{QStringLiteral("Addierer (G1)"), QStringLiteral("Pin IN (Pin1)")}));
    EXPECT_EQ(gate->TreeNode, view.topLevelItem(1));
}

TEST_F(BoardTreeTest, DuringARunOnlyRunTimeAdjustableItemsAppear)
{
    TPlatine top;
    auto* fixed = Add<TTestAnd>(top);
    fixed->Editable = true;
    fixed->SetLabel(QStringLiteral("Fest"));
    auto* adjustable = Add<TTestAnd>(top);
    adjustable->Editable = true;
    adjustable->RunTimeAdjustable = true;
    adjustable->SetLabel(QStringLiteral("Stellbar"));

    Ctx().SimRunning = true;
    QTreeWidget view;
    FillComponentTree(top, view, nullptr, AnyComponent);
    ASSERT_EQ(view.topLevelItemCount(), 1);
    EXPECT_EQ(view.topLevelItem(0)->text(0), QStringLiteral("Stellbar (G2)"));
}
