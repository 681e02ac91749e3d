// The whole road: operator components placed on the board get their elements on the front
// panel (the digital ones prepared for 0..255), a run starts from the elements' start values,
// input on the elements reaches the outputs in the next step, and a saved project brings the
// elements back with their settings.

#include "components/operator/Operators.h"
#include "frontpanel/Design.h"
#include "frontpanel/FrontPanel.h"
#include "frontpanel/elements/HexInput.h"
#include "frontpanel/elements/Slider.h"
#include "frontpanel/elements/Thumbwheel.h"
#include "mainwindow/MainWindowTestSupport.h"
#include "shell/mainwindow/ProjectFiles.h"
#include "shell/mainwindow/SimulationControl.h"

#include <QCoreApplication>
#include <QToolButton>
#include "widgets/SpeedButton.h"
#include <QWheelEvent>

namespace {

using OperatorRoadTest = MainWindowFixture;

template <class T>
T* Find(TPlatine& board)
{
    for (const auto& item : board.Items)
        if (auto* c = dynamic_cast<T*>(item.get()))
            return c;
    return nullptr;
}

int Bits(const TIOBauteil& c, int first, int n)
{
    int v = 0;
    for (int i = first; i < first + n; ++i)
        v = v * 2 + (c.Outputs[size_t(i)]->Value >= 2.5L ? 1 : 0);
    return v;
}

} // namespace

TEST_F(OperatorRoadTest, PlacedAdjustorsRunFromTheirElementsAndComeBackFromTheProject)
{
    TForm1& f = Make();
    auto panel = std::make_unique<TFrontplatte>();
    TPlatine& board = *f.MainBoard;
    PasteAsPlaced(board, [](TPlatine& scratch) {
        scratch.AddComponent(NewObject<TBTDSlider>());
        scratch.AddComponent(NewObject<TBTHexInput>())->MoveBy(300, 0);
        scratch.AddComponent(NewObject<TBTRaendel>())->MoveBy(600, 0);
    });
    auto* dslider = Find<TBTDSlider>(board);
    auto* hex = Find<TBTHexInput>(board);
    auto* rdl = Find<TBTRaendel>(board);
    ASSERT_TRUE(dslider && hex && rdl);
    auto* slider = dynamic_cast<TSlider*>(dslider->Link);
    auto* digit = dynamic_cast<THexInput*>(hex->Link);
    auto* wheel = dynamic_cast<TFPRaendel*>(rdl->Link);
    ASSERT_TRUE(slider && digit && wheel);
    EXPECT_TRUE(slider->BisteDigital);
    EXPECT_EQ(slider->ElementName, QStringLiteral("DSR1"));
    EXPECT_EQ(digit->OwnerDesign, Frontplatte()->RootDesign);

    slider->Vorgabe = 255;
    digit->Vorgabe = 10;
    wheel->TurnUp();  // before the run: dropped at its start
    f.Simulation->SimFast = false;
    f.Simulation->StartSimulation();
    ASSERT_TRUE(f.Simulation->Running());
    f.Simulation->RunSteps(1);
    EXPECT_EQ(Bits(*dslider, 0, 8), 255);
    EXPECT_EQ(Bits(*hex, 0, 4), 10);
    EXPECT_EQ(hex->Outputs[4]->GetPinText(), QStringLiteral("A"));
    EXPECT_EQ(rdl->Outputs[0]->Value, 0);

    slider->HotkeyAction(1);
    digit->PlusTaste->click();
    QWheelEvent turn(QPointF(2, 2), QPointF(2, 2), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                     Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(wheel, &turn);
    f.Simulation->RunSteps(1);
    EXPECT_EQ(Bits(*dslider, 0, 8), 0);
    EXPECT_EQ(Bits(*hex, 0, 4), 11);
    EXPECT_EQ(rdl->Outputs[0]->Value, 5);  // the notch's pulse
    EXPECT_EQ(rdl->Outputs[1]->Value, 0);  // down
    f.Simulation->StopSimulation();

    // Saved and opened again: the elements come back with their settings.
    digit->SetDezimal(true);
    slider->SetSenkrecht(false);
    const QString name = dir.filePath(QStringLiteral("inputs.prj"));
    ASSERT_TRUE(f.Projects->SaveProject(name));
    f.Projects->NewProject();
    ASSERT_TRUE(f.Projects->OpenProject(name));
    auto* hex2 = Find<TBTHexInput>(*f.MainBoard);
    auto* dslider2 = Find<TBTDSlider>(*f.MainBoard);
    ASSERT_TRUE(hex2 && dslider2);
    auto* digit2 = dynamic_cast<THexInput*>(hex2->Link);
    auto* slider2 = dynamic_cast<TSlider*>(dslider2->Link);
    ASSERT_TRUE(digit2 && slider2);
    EXPECT_TRUE(digit2->Dezimal);
    EXPECT_EQ(digit2->Vorgabe, 10);
    EXPECT_EQ(digit2->Stand, 9);  // the start value brought into the decimal range
    EXPECT_FALSE(slider2->Senkrecht);
    EXPECT_TRUE(slider2->BisteDigital);
    EXPECT_EQ(slider2->Vorgabe, 255);
    form.reset();
}
