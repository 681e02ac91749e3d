// The program's composition: the main window's start-up installs every hook, and the hooks
// that join board, front panel and board view work with the real parts.
#include "MainWindowTestSupport.h"
#include "hardware/transport/ByteTransport.h"

#include "components/core/SimulationStop.h"
#include "core/board/ItemDialogs.h"
#include "core/board/Makro.h"
#include "core/model/GrundBT.h"
#include "core/model/ViewHooks.h"
#include "frontpanel/Design.h"
#include "frontpanel/ElementRegistry.h"
#include "frontpanel/FrontPanel.h"
#include "hardware/framework/IoPort.h"
#include "shell/Composition.h"

#include <QRect>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

class TCompFront : public TBTFront {
public:
    TV_CLASS_NAME(TCompFront)
    TCompFront()
    {
        SetInputCount(1);
        SetOutputCount(1);
        SetPrefix(QStringLiteral("LED"));
    }
};

class TCompElement : public TFP_Element {
public:
    FP_CLASS_NAME(TCompElement)
    explicit TCompElement(QWidget* owner = nullptr) : TFP_Element(owner) { resize(30, 30); }
};

using CompositionTest = MainWindowFixture;

// A front panel and a board joined by the program's hooks, with one component linked to its
// element on the root page.
class ComposedBoardTest : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        InstallHooks();
        ElementRegistry().RegisterElement<TCompElement>();
        panel = std::make_unique<TFrontplatte>();
        root = panel->RootDesign;
        component = Place<TCompFront>(300);
        element = root->AddElement(QStringLiteral("TCompElement"));
        element->Component = component;
        component->SetLink(element);
        board.RenumberClass(component->ClassName());
    }
    void TearDown() override
    {
        board.SelectAll(false);
        component->Link = nullptr;
        element->Component = nullptr;
        panel.reset();
        MainWindowFixture::TearDown();
    }
    template <class T>
    T* Place(int x)
    {
        auto item = NewObject<T>();
        item->X = x;
        item->Y = 200;
        item->LayoutPins();
        auto* placed = static_cast<T*>(board.AddComponent(std::move(item)));
        board.AttachPinSegments(placed);
        board.SelectAll(false);
        return placed;
    }

    TPlatine board;
    std::unique_ptr<TFrontplatte> panel;
    TDesign* root = nullptr;
    TCompFront* component = nullptr;
    TFP_Element* element = nullptr;
};

TEST_F(CompositionTest, MainWindowStartInstallsEveryHook)
{
    ResetBoardHooks();
    ResetSimulationHooks();
    SimFastQuery() = nullptr;
    OnStopRequested = nullptr;
    OnRuntimeCloseRequested = nullptr;
    SerialTransportOpener() = nullptr;
    Make();
    const std::pair<const char*, bool> hooks[] = {
        {"front panel", &FrontPanelHooks() == &DesignBoardHooks()},
        {"text label dialog", bool(ItemDialogHooks().EditTextLabel)},
        {"designation dialog", bool(ItemDialogHooks().EditDesignation)},
        {"segment repaint", bool(BoardViewHooks().RepaintSegment)},
        {"stop request", bool(OnStopRequested)},
        {"runtime close request", bool(OnRuntimeCloseRequested)},
        {"analyser caption", bool(BoardServiceHooks().UpdateAnalyserCaption)},
        {"hardware class names", bool(BoardServiceHooks().HardwareClassByName)},
        {"hardware components", bool(BoardServiceHooks().IsHardwareComponent)},
        {"hardware interface release", bool(BoardServiceHooks().ReleaseHardwareInterface)},
        {"hardware step callback", bool(SimulationHooks().SetStepCallback)},
        {"hardware prepare", bool(SimulationHooks().PrepareInterface)},
        {"hardware wait speed", bool(SimFastQuery())},
        {"serial transport of RTU devices", bool(SerialTransportOpener())},
    };
    for (const auto& [name, installed] : hooks)
        EXPECT_TRUE(installed) << name;
}

TEST_F(ComposedBoardTest, BoardSelectionSelectsTheLinkedElementAndMacroGroup)
{
    board.SelectObject(component, true);
    EXPECT_TRUE(root->IsSelected(element));
    board.SelectObject(component, false);
    EXPECT_FALSE(root->IsSelected(element));

    TMakro* macro = Place<TMakro>(900);
    auto* group = static_cast<TDesign*>(root->AddElement(QStringLiteral("TDesign")));
    group->resize(40, 40);
    macro->Design = group;
    macro->ParentDesign = root;
    board.SelectAll(true);
    EXPECT_TRUE(root->IsSelected(element));
    EXPECT_TRUE(root->IsSelected(group));
    board.SelectObject(macro, false);
    EXPECT_FALSE(root->IsSelected(group));
    EXPECT_TRUE(root->IsSelected(element));
    macro->Design = nullptr;
    macro->ParentDesign = nullptr;
}

TEST_F(ComposedBoardTest, HintEndsWithTheElementHintInQuotes)
{
    const QString plain = component->TIOBauteil::GetHint();
    ASSERT_EQ(element->ElementName, QStringLiteral("LED1"));
    element->Hint = QStringLiteral("Pumpe läuft");
    EXPECT_EQ(component->GetHint(), plain + QStringLiteral("\r\"Pumpe läuft\""));

    element->Hint.clear();
    EXPECT_EQ(component->GetHint(), plain);

    component->SetLink(nullptr);
    element->ElementName = QStringLiteral("LED1");
    EXPECT_EQ(component->GetHint(), plain);
    component->SetLink(element);
}

TEST_F(ComposedBoardTest, SelectingAComponentRepaintsItsPinSegments)
{
    std::vector<QRect> invalidated;
    board.OnInvalidateRect = [&](const TRect& r) {
        invalidated.push_back(QRect(QPoint(r.Left, r.Top), QPoint(r.Right, r.Bottom)));
    };
    auto repainted = [&](TBauteil* segment) {
        const TRect b = segment->GetBounds();
        const QRect r(QPoint(b.Left, b.Top), QPoint(b.Right, b.Bottom));
        return std::find(invalidated.begin(), invalidated.end(), r) != invalidated.end();
    };
    board.SelectObject(component, true);
    EXPECT_TRUE(repainted(component->Inputs[0]->Segment));
    EXPECT_TRUE(repainted(component->Outputs[0]->Segment));
    EXPECT_TRUE(component->Outputs[0]->Segment->Selected);

    invalidated.clear();
    board.SelectObject(component, false);
    EXPECT_TRUE(repainted(component->Inputs[0]->Segment));
    EXPECT_FALSE(component->Inputs[0]->Segment->Selected);
    board.OnInvalidateRect = nullptr;
}

} // namespace
