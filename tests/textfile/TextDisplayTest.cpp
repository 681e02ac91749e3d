// The text display: its description, the text it puts on its element, and the run-start text.
#include "TextTestSupport.h"
#include "components/ComponentTestSupport.h"
#include "components/text/RegisterText.h"
#include "components/text/TextDisplay.h"
#include "frontpanel/elements/NumDisplay.h"

namespace {

using TextDisplayTest = TComponentTest<RegisterTextComponents, true>;

TEST_F(TextDisplayTest, ShowsItsInputOnTheElementAndStartsWithDollarString)
{
    auto display = Create<TBTStrDisplay>();
    ASSERT_TRUE(display);
    EXPECT_EQ(display->Prefix(), QStringLiteral("$DSP"));
    EXPECT_EQ(display->ElementClass(), QStringLiteral("TTDisplay"));
    ASSERT_EQ(display->Inputs.size(), 1u);
    EXPECT_EQ(display->Inputs[0]->Name(), QStringLiteral("$"));
    EXPECT_TRUE(display->Outputs.empty());

    std::unique_ptr<TTDisplay> element(NewElement<TTDisplay>(nullptr));
    element->Component = display.get();
    display->SetLink(element.get());
    display->SimReset();
    EXPECT_EQ(element->NDUserText, QStringLiteral("$String"));

    TTextInputs inputs(*display);
    inputs.Set(0, QStringLiteral("t:Füllstand 80 %"));
    display->Calculate();
    EXPECT_EQ(element->NDUserText, QStringLiteral("Füllstand 80 %"));

    // The same text again is no change: the element is not asked to repaint it.
    element->LetzteEinheit = QStringLiteral("kept");
    display->Calculate();
    EXPECT_EQ(element->LetzteEinheit, QStringLiteral("kept"));
    display->SetLink(nullptr);
}

} // namespace
