// Components that own a front-panel element: the switches, push buttons and the plastic lamp.
// Their descriptions, the preparation of a newly linked element, the step and reset against
// the element, the live symbol, and the whole road from a switch placed on the board through
// a click on its element during a run to the lamp element lit by the circuit.

#include "ComponentTestSupport.h"

#include "components/panel/Lamp.h"
#include "components/panel/RegisterPanel.h"
#include "components/panel/Switches.h"
#include "core/board/Platine.h"
#include "frontpanel/Design.h"
#include "frontpanel/FrontPanel.h"
#include "frontpanel/elements/LampWidget.h"
#include "frontpanel/elements/Lampe.h"
#include "frontpanel/elements/Schalter.h"
#include "mainwindow/MainWindowTestSupport.h"
#include "platform/Canvas.h"
#include "shell/mainwindow/SimulationControl.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>

#include <memory>

namespace {

using PanelComponentsTest = TComponentTest<RegisterPanelComponents, true>;

// An element linked to a component as the application core links them.
template <class E>
std::unique_ptr<E> LinkNew(TIOBauteil& c)
{
    std::unique_ptr<E> e(NewElement<E>(nullptr));
    e->ElementName = c.Designator();
    c.SetLink(e.get());
    e->Component = &c;
    return e;
}

void Click(QWidget& w, QEvent::Type type)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
    QMouseEvent event(type, QPointF(4, 4), QPointF(w.mapToGlobal(QPoint(4, 4))), Qt::LeftButton,
                      held, Qt::NoModifier);
    QCoreApplication::sendEvent(&w, &event);
}

} // namespace

TEST_F(PanelComponentsTest, DescriptionsInEveryLanguage)
{
    struct Case {
        const char* cls;
        const char* prefix[3];
        const char* type[3];
        int inputs, outputs, help;
        QStringList inNames, outNames;
    } cases[] = {
        {"TBTTaster", {"T", "PB", "BP"}, {"Taster\rlogisch", "Push button", "Boutton-poussoir"}, 0, 1, 18105, {}, {""}},
        {"TBTSchalter", {"S", "SW", "IN"}, {"Schalter\rlogisch", "Switch", "Interrupteur"}, 0, 1, 18100, {}, {""}},
        {"TBTAnalogTaster", {"TB", "PBB", "BP"}, {"Taster\r2 Eingänge", "Push button\r2 inputs", "Bouton-poussoir\r2 Entrées"}, 2, 1, 18165, {"E0", "E1"}, {""}},
        {"TBTAnalogSchalter", {"SB", "SWB", "CM"}, {"Schalter\r2 Eingänge", "Switch\r2 inputs", "Commutateur\r2 Entrées"}, 2, 1, 18165, {"E0", "E1"}, {""}},
        {"TBTAnalogTaster2", {"TA", "PBA", "PBA"}, {"Taster\r2 Ausgänge", "Push button\r2 outputs", "Bouton-poussoir\r2 Sorties"}, 1, 2, 18170, {""}, {"A1", "A0"}},
        {"TBTAnalogSchalter2", {"SA", "SWA", "INA"}, {"Schalter\r2 Ausgänge", "Switch\r2 outputs", "Interrupteur\r2 Sorties"}, 1, 2, 18170, {""}, {"A1", "A0"}},
        {"TBTLampe", {"LA", "LA", "LA"}, {"Plastikleuchte", "Plastic lamp", "Lampe plastique"}, 1, 0, 18015, {""}, {}},
    };
    for (const Case& c : cases) {
        for (int lang = 0; lang < 3; ++lang) {
            SCOPED_TRACE(std::string(c.cls) + " " + std::to_string(lang));
            Ctx().CurrentLanguage = uint8_t(lang);
            auto comp = Create(c.cls);
            ASSERT_TRUE(comp);
            EXPECT_EQ(comp->Prefix(), QString::fromUtf8(c.prefix[lang]));
            EXPECT_EQ(comp->GetTypeName(), QString::fromUtf8(c.type[lang]));
            EXPECT_EQ(comp->InputCount, c.inputs);
            EXPECT_EQ(comp->OutputCount, c.outputs);
            EXPECT_EQ(comp->HelpContext, c.help);
            EXPECT_EQ(PinNames(comp->Inputs), c.inNames);
            EXPECT_EQ(PinNames(comp->Outputs), c.outNames);
            EXPECT_EQ(comp->ElementClass(),
                      QString::fromLatin1(std::string(c.cls) == "TBTLampe" ? "TPLampe" : "TSchalter"));
            EXPECT_FALSE(comp->Editable);
        }
    }
}

TEST_F(PanelComponentsTest, PushButtonComponentsMakeTheirElementAPushButton)
{
    const struct {
        const char* cls;
        bool push;
    } cases[] = {{"TBTTaster", true},        {"TBTAnalogTaster", true},    {"TBTAnalogTaster2", true},
                 {"TBTSchalter", false},     {"TBTAnalogSchalter", false}, {"TBTAnalogSchalter2", false}};
    for (const auto& c : cases) {
        auto comp = Create(c.cls);
        auto element = LinkNew<TSchalter>(*comp);
        EXPECT_EQ(element->Taster, c.push) << c.cls;
        EXPECT_EQ(element->Typ, c.push ? Druckschalter : Kippschalter2) << c.cls;
        comp->SetLink(nullptr);
    }
}

TEST_F(PanelComponentsTest, LogicSwitchDrivesItsOutputOnChangesAndAtReset)
{
    auto sw = Create<TBTSchalter>();
    auto element = LinkNew<TSchalter>(*sw);
    element->SetEingeschaltet(true);
    // A switch that is on at the start drives its output high in the reset.
    sw->SimReset();
    EXPECT_EQ(sw->Outputs[0]->Value, 5.0L);
    // While the state stays the same the output is not written again.
    sw->Outputs[0]->Value = 1.0L;
    sw->Calculate();
    EXPECT_EQ(sw->Outputs[0]->Value, 1.0L);
    element->SetEingeschaltet(false);
    sw->Calculate();
    EXPECT_EQ(sw->Outputs[0]->Value, 0.0L);
    // The end of a run drives the output once more with the element's state.
    element->SetEingeschaltet(true);
    sw->SimEnd();
    EXPECT_EQ(sw->Outputs[0]->Value, 5.0L);
    sw->Outputs[0]->SetInverted(true);
    element->SetEingeschaltet(false);
    sw->Calculate();
    EXPECT_EQ(sw->Outputs[0]->Value, 5.0L);  // an inverted output inverts
    sw->SetLink(nullptr);
}

TEST_F(PanelComponentsTest, PushButtonSeenOnlyAcrossSteps)
{
    auto pb = Create<TBTTaster>();
    auto element = LinkNew<TSchalter>(*pb);
    pb->SimReset();
    element->Press();
    element->Release();
    pb->Calculate();
    EXPECT_EQ(pb->Outputs[0]->Value, 0.0L);  // pressed and released within one step
    element->Press();
    pb->Calculate();
    EXPECT_EQ(pb->Outputs[0]->Value, 5.0L);
    element->Release();
    pb->Calculate();
    EXPECT_EQ(pb->Outputs[0]->Value, 0.0L);
    pb->SetLink(nullptr);
}

TEST_F(PanelComponentsTest, AnalogSwitchesSelectAndRoute)
{
    auto select = Create<TBTAnalogTaster>();
    auto e1 = LinkNew<TSchalter>(*select);
    TInputs in(*select);
    in.Unconnect(0).Set(1, 3.5L);
    select->Calculate();
    EXPECT_EQ(select->Outputs[0]->Value, 0.0L);  // "E0" unconnected while released
    e1->Press();
    select->Calculate();
    EXPECT_EQ(select->Outputs[0]->Value, 3.5L);

    auto route = Create<TBTAnalogSchalter2>();
    auto e2 = LinkNew<TSchalter>(*route);
    TInputs rin(*route);
    rin.Set(0, 2.0L);
    route->Inputs[0]->SetInverted(true);
    route->Calculate();
    EXPECT_EQ(route->Outputs[0]->Value, 0.0L);   // "A1"
    EXPECT_EQ(route->Outputs[1]->Value, -2.0L);  // "A0" carries the negated input
    e2->SetEingeschaltet(true);
    route->Calculate();
    EXPECT_EQ(route->Outputs[0]->Value, -2.0L);
    EXPECT_EQ(route->Outputs[1]->Value, 0.0L);
    select->SetLink(nullptr);
    route->SetLink(nullptr);
}

TEST_F(PanelComponentsTest, LampPassesItsInputEveryStepAndShowsTheColour)
{
    auto lamp = Create<TBTLampe>();
    auto element = LinkNew<TPLampe>(*lamp);
    TInputs in(*lamp);
    in.Set(0, 5.0L);
    lamp->Calculate();
    EXPECT_TRUE(element->Eingeschaltet);
    EXPECT_EQ(element->Lampe->LedPlasticColor(), 0x0000FF);
    in.Set(0, 2.5L);
    lamp->Calculate();
    EXPECT_EQ(element->Lampe->LedPlasticColor(), 0x000080);

    // The symbol's lamp: grey without states, the element's colour with them.
    lamp->ShowStates = false;
    TMarkPixels grey = MarkPixelsInBody(*lamp);
    lamp->ShowStates = true;
    element->GrundFarbe = 0x00FF00;
    element->SetNennSpannung(5.0L);
    TMarkPixels lime = MarkPixelsInBody(*lamp);
    EXPECT_EQ(grey.lime, 0);
    EXPECT_GT(lime.lime, 30);
    lamp->SetLink(nullptr);
}

TEST_F(PanelComponentsTest, SwitchSymbolShowsTheElementStateWhileStatesAreShown)
{
    auto sw = Create<TBTSchalter>();
    auto element = LinkNew<TSchalter>(*sw);
    sw->ShowStates = true;
    QImage image(400, 400, QImage::Format_RGB32);
    QPainter painter(&image);
    TCanvas canvas(&painter);
    sw->PaintPinStates(canvas);
    EXPECT_FALSE(sw->LastDrawn);
    element->SetEingeschaltet(true);
    sw->PaintPinStates(canvas);
    EXPECT_TRUE(sw->LastDrawn);
    sw->SetLink(nullptr);
}

// --- The whole road -------------------------------------------------------------------------

using PanelRoadTest = MainWindowFixture;

TEST_F(PanelRoadTest, ClickOnThePlacedSwitchLightsTheLamp)
{
    TForm1& f = Make();
    auto panel = std::make_unique<TFrontplatte>();
    TPlatine& board = *f.MainBoard;
    PasteAsPlaced(board, [](TPlatine& scratch) {
        auto* sw = scratch.AddComponent(NewObject<TBTSchalter>());
        auto* lamp = scratch.AddComponent(NewObject<TBTLampe>());
        lamp->MoveBy(400, 0);
        const QPoint out(sw->Outputs[0]->X, sw->Outputs[0]->Y);
        const QPoint in(lamp->Inputs[0]->X, lamp->Inputs[0]->Y);
        const int lane = (out.x() + in.x()) / 2;
        scratch.AddWire(out, QPoint(lane, out.y()));
        scratch.AddWire(QPoint(lane, out.y()), QPoint(lane, in.y()));
        scratch.AddWire(QPoint(lane, in.y()), in);
    });
    TBTSchalter* sw = nullptr;
    TBTLampe* lampComponent = nullptr;
    for (const auto& item : board.Items) {
        if (auto* s = dynamic_cast<TBTSchalter*>(item.get()))
            sw = s;
        if (auto* l = dynamic_cast<TBTLampe*>(item.get()))
            lampComponent = l;
    }
    ASSERT_TRUE(sw && lampComponent);
    auto* element = dynamic_cast<TSchalter*>(sw->Link);
    auto* lamp = dynamic_cast<TPLampe*>(lampComponent->Link);
    ASSERT_TRUE(element && lamp);
    EXPECT_EQ(element->Component, sw);
    EXPECT_EQ(element->ElementName, QStringLiteral("S1"));
    EXPECT_EQ(lamp->ElementName, QStringLiteral("LA1"));
    ASSERT_TRUE(Frontplatte());
    EXPECT_EQ(element->OwnerDesign, Frontplatte()->RootDesign);

    f.Simulation->SimFast = false;
    f.Simulation->StartSimulation();
    ASSERT_TRUE(f.Simulation->Running());
    f.Simulation->RunSteps(3);
    EXPECT_FALSE(lamp->Eingeschaltet);
    Click(*element, QEvent::MouseButtonPress);
    Click(*element, QEvent::MouseButtonRelease);
    EXPECT_TRUE(element->State());
    f.Simulation->RunSteps(3);
    EXPECT_TRUE(lamp->Eingeschaltet);
    EXPECT_EQ(lamp->Lampe->LedPlasticColor(), 0x0000FF);  // 5 V: the full base colour
    const QImage lit = lamp->Lampe->LitPicture();
    EXPECT_GT(qRed(lit.pixel(lit.width() / 2, lit.height() / 2)), 200);
    Click(*element, QEvent::MouseButtonPress);
    f.Simulation->RunSteps(3);
    EXPECT_EQ(lamp->Lampe->LedPlasticColor(), 0x00004C);  // 0 V: 30 %
    f.Simulation->StopSimulation();

    // Deleting the component deletes its element.
    const size_t before = Frontplatte()->RootDesign->Elements.size();
    board.SelectAll(false);
    sw->SetSelected(true);
    board.DeleteSelection();
    EXPECT_EQ(Frontplatte()->RootDesign->Elements.size(), before - 1);
    form.reset();
}
