// Builds the example project in code and saves it: two slow clocks drive an inverter chain,
// an AND and an exclusive-OR gate, an adder with a test point and a named jump; LEDs on the
// front panel show the states.
//
// Usage: make_example <output file>   (default: examples/Example.prj)

#include "components/analog/Arithmetic.h"
#include "components/core/SimulationStop.h"
#include "components/digital/Gates.h"
#include "core/board/Platine.h"
#include "components/core/CoreComponents.h"
#include "shell/mainwindow/ProjectFiles.h"
#include "shell/mainwindow/RegisterClasses.h"
#include "core/model/ClassRegistry.h"
#include "frontpanel/Design.h"
#include "frontpanel/ElementRegistry.h"
#include "frontpanel/FrontPanel.h"
#include "frontpanel/Led.h"
#include "platform/Filer.h"
#include "platform/Fonts.h"

#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QSaveFile>

#include <cstdio>
#include <memory>

namespace {

template <class T>
T* Place(TPlatine& board, int column, int row)
{
    std::unique_ptr<T> c = NewObject<T>();
    c->X = 1000 + column * 500;
    c->Y = 1000 + row * 300;
    c->LayoutPins();
    return static_cast<T*>(board.AddComponent(std::move(c)));
}

// A wire from an output to an input in the next column: out along the output's row to its
// lane, along the lane to the input's row, then in to the input.
void Wire(TPlatine& board, const TBauteilPin& from, const TBauteilPin& to, int lane)
{
    const int x = from.X + 20 * lane;
    if (from.Y == to.Y) {
        board.AddWire(QPoint(from.X, from.Y), QPoint(to.X, to.Y));
        return;
    }
    board.AddWire(QPoint(from.X, from.Y), QPoint(x, from.Y));
    board.AddWire(QPoint(x, from.Y), QPoint(x, to.Y));
    board.AddWire(QPoint(x, to.Y), QPoint(to.X, to.Y));
}

TBTLed* PlaceLed(TPlatine& board, TDesign& design, int column, int row, int left, int top,
                 const QString& text)
{
    auto* led = Place<TBTLed>(board, column, row);
    auto* element = static_cast<TPLED*>(design.AddElement(led->ElementClass()));
    element->ElementName = led->Prefix() + QString::number(led->Number);
    element->Component = led;
    element->LEDText = text;
    element->setGeometry(left, top, 40, 40);
    led->SetLink(element);
    return led;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    SetUpFonts(TFontScope::StandInsOnly);
    QApplication app(argc, argv);
    const QString fileName = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                      : QStringLiteral("examples/Example.prj");

    RegisterComponentClasses(ClassRegistry());
    RegisterFrontPanelElements(ElementRegistry());

    auto panel = std::make_unique<TFrontplatte>();
    TPlatine board;
    TProjectFiles project;
    project.MainBoard = &board;
    project.FrontPanel = panel.get();
    project.BindBoard(board);
    TDesign& design = *panel->RootDesign;

    auto* g1 = Place<TBTTaktgeber>(board, 0, 0);
    g1->Interval = 2;
    auto* g2 = Place<TBTTaktgeber>(board, 0, 4);
    g2->Interval = 5;

    auto* inv1 = Place<TBTInverter>(board, 1, 0);
    auto* andGate = Place<TBTAnd>(board, 1, 1);
    auto* exor = Place<TBTExor>(board, 1, 2);
    auto* add = Place<TBTAdd>(board, 1, 3);
    auto* led2 = PlaceLed(board, design, 1, 5, 80, 20, QStringLiteral("G2"));

    auto* inv2 = Place<TBTInverter>(board, 2, 0);
    auto* led3 = PlaceLed(board, design, 2, 1, 140, 20, QStringLiteral("&"));
    auto* jump = Place<TBTJump>(board, 2, 2);
    jump->SetLabel(QStringLiteral("X"));
    auto* point = Place<TBTTestpunkt>(board, 2, 3);

    auto* led1 = PlaceLed(board, design, 3, 0, 20, 20, QStringLiteral("G1"));
    auto* target = Place<TBTJumpTarget>(board, 3, 2);
    target->SetLabel(QStringLiteral("X"));
    auto* led4 = PlaceLed(board, design, 4, 2, 200, 20, QStringLiteral("=1"));

    Wire(board, *g1->Outputs[0], *inv1->Inputs[0], 1);
    Wire(board, *g1->Outputs[0], *andGate->Inputs[0], 1);
    Wire(board, *g1->Outputs[0], *exor->Inputs[0], 1);
    Wire(board, *g1->Outputs[0], *add->Inputs[0], 1);
    Wire(board, *g2->Outputs[0], *andGate->Inputs[1], 3);
    Wire(board, *g2->Outputs[0], *exor->Inputs[1], 3);
    Wire(board, *g2->Outputs[0], *add->Inputs[1], 3);
    Wire(board, *g2->Outputs[0], *led2->Inputs[0], 3);
    Wire(board, *inv1->Outputs[0], *inv2->Inputs[0], 1);
    Wire(board, *andGate->Outputs[0], *led3->Inputs[0], 1);
    Wire(board, *exor->Outputs[0], *jump->Inputs[0], 2);
    Wire(board, *add->Outputs[0], *point->Inputs[0], 3);
    Wire(board, *inv2->Outputs[0], *led1->Inputs[0], 1);
    Wire(board, *target->Outputs[0], *led4->Inputs[0], 1);
    board.NormaliseAllWires();
    board.SelectAll(false);

    // Check the circuit before saving it: every LED follows its logic for a while.
    board.StartSimulation();
    int faults = 0;
    for (int step = 0; step < 200; ++step) {
        board.TickClockedObjects();
        board.SimStep();
        board.SimStep();
        auto lit = [](TBTLed* led) { return static_cast<TPLED*>(led->Link)->Eingeschaltet; };
        faults += lit(led1) != g1->State;
        faults += lit(led2) != g2->State;
        faults += lit(led3) != (g1->State && g2->State);
        faults += lit(led4) != (g1->State != g2->State);
        faults += point->Value != (g1->State ? 5 : 0) + (g2->State ? 5 : 0);
    }
    board.EndSimulation();
    if (faults) {
        std::fprintf(stderr, "make_example: the circuit does not work (%d faults)\n", faults);
        return 1;
    }
    g1->State = false;
    g2->State = false;

    // The panel opens at the right, clear of the main window's menu and palette.
    panel->SetWindowBounds(QRect(760, 120, 600, 400));
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        TWriter writer(buffer, true);
        project.WriteProject(writer);
    }
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        std::fprintf(stderr, "make_example: cannot write %s\n", qPrintable(fileName));
        return 1;
    }
    // The window outlives the board: take the elements' links back first.
    for (TBTLed* led : {led1, led2, led3, led4}) {
        led->Link->Component = nullptr;
        led->SetLink(nullptr);
    }
    std::printf("%s: %lld bytes\n", qPrintable(fileName), static_cast<long long>(bytes.size()));
    return 0;
}
