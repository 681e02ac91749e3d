#include "platform/Context.h"
#include "ui/ValueFormatForm.h"

#include "UiTestSupport.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>

namespace {

class ValueFormatFormTest : public ::testing::Test {
protected:
    void SetUp() override { ResetContext(); }
};

TEST_F(ValueFormatFormTest, PreviewFollowsModeAndPlaces)
{
    struct Case {
        const char* name;
        uint8_t flags;
        int vk, nk, stellen;
        uint8_t language;
        const char* von;
        const char* bis;
    };
    const Case cases[] = {
        {"fixed", TFormat_Dlg::FlagFixed, 4, 2, 4, 0, "von  +/- 0000,01", "bis    +/- 9999,99"},
        {"fixed without leading zeros", TFormat_Dlg::FlagFixed | TFormat_Dlg::FlagNoZero, 4, 2, 4,
         0, "von  +/- 0,01", "bis    +/- 9999,99"},
        {"float", TFormat_Dlg::FlagFloat, 4, 2, 3, 1, "from  +/- 0,01", "to    +/- 999"},
        {"scientific", TFormat_Dlg::FlagExpo, 4, 2, 4, 2, "-1.234567890E+/-99",
         " 1.234567890E+/-99"},
        {"float, French", TFormat_Dlg::FlagFloat, 4, 2, 2, 2, "depuis  +/- 0,1",
         "jusqu´à    +/- 99"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Ctx().CurrentLanguage = c.language;
        TFormat_Dlg form;
        form.Flags = c.flags;
        form.VK->setValue(c.vk);
        form.NK->setValue(c.nk);
        form.fStellen->setValue(c.stellen);
        form.FormShow();
        EXPECT_EQ(form.von->text(), QString::fromUtf8(c.von));
        EXPECT_EQ(form.bis->text(), QString::fromUtf8(c.bis));
        EXPECT_EQ(form.Flags, c.flags);
    }
}

TEST_F(ValueFormatFormTest, ButtonsSetOneModeBitAndKeepLeadingZeroBit)
{
    TFormat_Dlg form;
    EXPECT_EQ(form.VK->value(), 4);
    EXPECT_EQ(form.NK->value(), 2);
    EXPECT_EQ(form.fStellen->value(), 4);
    form.Flags = TFormat_Dlg::FlagFixed;
    form.FormShow();
    EXPECT_TRUE(form.VK->isEnabled());
    EXPECT_FALSE(form.fStellen->isEnabled());

    form.Zero->click();
    EXPECT_EQ(form.Flags, TFormat_Dlg::FlagFixed | TFormat_Dlg::FlagNoZero);
    EXPECT_EQ(form.von->text(), QStringLiteral("von  +/- 0,01"));

    form.FloatBtn->click();
    EXPECT_EQ(form.Flags, TFormat_Dlg::FlagFloat | TFormat_Dlg::FlagNoZero);
    EXPECT_FALSE(form.Zero->isEnabled());
    EXPECT_TRUE(form.fStellen->isEnabled());
    form.fStellen->setValue(5);
    EXPECT_EQ(form.bis->text(), QStringLiteral("bis    +/- 99999"));

    form.ExpBtn->click();
    EXPECT_EQ(form.Flags, TFormat_Dlg::FlagExpo | TFormat_Dlg::FlagNoZero);
    EXPECT_FALSE(form.fStellen->isEnabled());
    EXPECT_FALSE(form.VK->isEnabled());
}

} // namespace
