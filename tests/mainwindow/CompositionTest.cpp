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
#include "frontpanel/FrontPanelRecord.h"
#include "hardware/framework/IoPort.h"
#include "shell/Composition.h"
#include "shell/mainwindow/SimulationControl.h"
#include "ui/SettingsDialog.h"

#include <QRect>

#include <algorithm>
#include <functional>
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

// One hook: whether it is installed, and whether it belongs to a part of the program that is
// not built yet, in which case it must still be empty.
struct THookState {
    const char* name;
    bool installed;
    bool notYetPresent = false;
};

// All members of a hook interface, which is a struct of functions only: its size says how many
// members it has, so a member added later and not listed here fails to compile.
template <class THooks, size_t N>
void AddAllMembers(std::vector<THookState>& hooks, const THooks&, const THookState (&members)[N])
{
    static_assert(sizeof(THooks) == N * sizeof(std::function<void()>),
                  "list every member of the hook interface");
    hooks.insert(hooks.end(), members, members + N);
}

TEST_F(CompositionTest, MainWindowStartInstallsEveryHook)
{
    ResetBoardHooks();
    ResetSimulationHooks();
    SetPinPortDialogHooks({});
    SimFastQuery() = nullptr;
    OnStopRequested = nullptr;
    OnRuntimeCloseRequested = nullptr;
    SerialTransportOpener() = nullptr;
    TFrontplatte window;
    TForm1& f = Make();
    f.FormShow();

    std::vector<THookState> hooks = {
        {"front panel", &FrontPanelHooks() == &DesignBoardHooks()},
        {"stop request", bool(OnStopRequested)},
        {"runtime close request", bool(OnRuntimeCloseRequested)},
        {"hardware wait speed", bool(SimFastQuery())},
        {"serial transport of RTU devices", bool(SerialTransportOpener())},
        {"settings list file", bool(EstLoadHook())},
    };
    const TItemDialogHooks& dialogs = ItemDialogHooks();
    AddAllMembers(hooks, dialogs, {{"text label dialog", bool(dialogs.EditTextLabel)},
                                   {"designation dialog", bool(dialogs.EditDesignation)}});
    const TBoardViewHooks& view = BoardViewHooks();
    AddAllMembers(hooks, view, {{"segment repaint", bool(view.RepaintSegment)}});
    const TBoardServiceHooks& services = BoardServiceHooks();
    AddAllMembers(
        hooks, services,
        {{"analyser caption", bool(services.UpdateAnalyserCaption)},
         {"DDE server topic", bool(services.SetDdeServerTopic)},
         {"DDE server items", bool(services.CreateDdeServerItems)},
         {"hardware class names", bool(services.HardwareClassByName)},
         {"hardware components", bool(services.IsHardwareComponent)},
         {"hardware interface release", bool(services.ReleaseHardwareInterface)}});
    const TSimulationHooks& simulation = SimulationHooks();
    AddAllMembers(hooks, simulation,
                  {{"DDE client connection", bool(simulation.ConnectDdeClient)},
                   {"DDE conversation closed", bool(simulation.DdeConversationClosed)},
                   {"DDE conversations released", bool(simulation.ReleaseDdeConversations)},
                   {"hardware step callback", bool(simulation.SetStepCallback)},
                   {"hardware prepare", bool(simulation.PrepareInterface)}});
    const TPinPortDialogHooks& pins = PinPortDialogHooks();
    AddAllMembers(hooks, pins, {{"pin-and-port dialog", bool(pins.Show)},
                                {"pin editor hooks cleared", bool(pins.ClearPinEditorHooks)}});
    // The front panel window's hooks into the main window (its printer hook is for tests).
    hooks.insert(hooks.end(), {
        {"front panel stop", bool(window.StopHook)},
        {"front panel start", bool(window.StartHook)},
        {"front panel close", bool(window.CloseHook)},
        {"front panel hardware dialog", bool(window.HardwareHook)},
        {"front panel program settings", bool(window.AppConfigHook)},
        {"front panel project name", bool(window.ProjectFileNameHook)},
        {"front panel hot keys down", bool(window.HotkeyReceiversDown)},
        {"front panel hot keys up", bool(window.HotkeyReceiversUp)},
    });
    // The run control's calls into the main window.
    const TSimulationControl& run = *f.Simulation;
    hooks.insert(hooks.end(), {
        {"run status text", bool(run.OnStatusText)},
        {"run editing lock", bool(run.OnLockEditing)},
        {"run state", bool(run.OnRunStateChanged)},
        {"run shows the front panel", bool(run.OnShowFrontPanel)},
        {"run pin hint", bool(run.OnPinHint)},
        {"run speed stored", bool(run.OnSpeedStored)},
        {"run device preparation", bool(run.OnPrepareDevices)},
    });
    for (const THookState& hook : hooks)
        EXPECT_EQ(hook.installed, !hook.notYetPresent) << hook.name;

    // The front panel names the project's state file after the project the window holds.
    const QString project = dir.filePath(QStringLiteral("Anlage.prj"));
    f.SetProjectName(project);
    EXPECT_EQ(window.ProjectFileName(), project);
    f.SetProjectName(QString());
    EXPECT_EQ(window.ProjectFileName(), QString());

    // The window's end leaves the front panel no hook into it.
    form.reset();
    EXPECT_FALSE(window.StopHook);
    EXPECT_FALSE(window.ProjectFileNameHook);
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
