#include "widgets/Bevel.h"
#include "widgets/FaceController.h"
#include "widgets/FillObject.h"

#include <gtest/gtest.h>

namespace {

struct TControl : IWLXFaceState, IWLXEditState {
    bool focused = false, above = false, enabled = true, transparent = false, ctlXP = true;
    bool modified = false, readOnly = false, wrong = false;
    int32_t color = 0x123456;
    bool StateFocused() const override { return focused; }
    bool StateMouseAbove() const override { return above; }
    bool StateTransparent() const override { return transparent; }
    bool StateCtlXP() const override { return ctlXP; }
    bool StateCtl3D() const override { return true; }
    bool StateEnabled() const override { return enabled; }
    int32_t StateColor() const override { return color; }
    bool StateModified() const override { return modified; }
    bool StateReadOnly() const override { return readOnly; }
    bool StateWrongData() const override { return wrong; }
};

TEST(FaceControllerTest, KindsByPriority)
{
    struct Case {
        const char* name;
        bool focused, above, enabled, modified, readOnly, wrong;
        const char* kind;
    } cases[] = {
        {"disabled and focused", true, false, false, false, false, false, "Disabled"},
        {"focused with wrong data", true, false, true, false, false, true, "Error"},
        {"hot and focused", true, true, true, false, false, false, "Focused"},
        {"hot", false, true, true, false, false, false, "Hot"},
        {"read-only", false, true, true, false, true, false, "ReadOnly"},
        {"modified", false, false, true, true, false, false, "Modified"},
        {"nothing", false, false, true, false, false, false, "Normal"},
    };
    for (const Case& c : cases) {
        TControl control;
        control.focused = c.focused;
        control.above = c.above;
        control.enabled = c.enabled;
        control.modified = c.modified;
        control.readOnly = c.readOnly;
        control.wrong = c.wrong;
        EXPECT_EQ(FaceKindName(ControlFaceKind(control)), QString::fromLatin1(c.kind)) << c.name;
    }
}

TEST(FaceControllerTest, SettingsOfTheStateOrTheControlsOwn)
{
    TWLXFaceController face;
    auto color = std::make_unique<TWLXColorObject>();
    color->SetColor(0x00FF00);
    auto settings = std::make_unique<TWLXCtlSettings>();
    settings->SetBoolProp(0, true);
    EXPECT_EQ(face.SettingObjects().AddSetting(std::move(color), QString()), 0);
    face.SettingObjects().AddSetting(std::move(settings), QStringLiteral("see-through"));
    face.SettingObjects().AddSetting(std::make_unique<TWLXColorObject>(), QString());
    EXPECT_EQ(face.SettingObjects().Name(0), QStringLiteral("TWLXColorObject0"));
    EXPECT_EQ(face.SettingObjects().Name(2), QStringLiteral("TWLXColorObject1"));
    EXPECT_EQ(face.SettingObjects().AddSetting(nullptr, QStringLiteral("x")), -1);

    TWLXCFCStateObject hot;
    hot.Kind = PredefinedFaceKinds()[fkHot];
    hot.Settings = {QStringLiteral("TWLXColorObject0"), QStringLiteral("missing"), QStringLiteral("see-through")};
    face.States.push_back(hot);
    face.ResolveStates();
    EXPECT_EQ(face.States[0].Settings, (QStringList{"TWLXColorObject0", "see-through"}));

    TControl control;
    EXPECT_EQ(face.GetColor(control), 0x123456);     // normal: no state, the control's own
    EXPECT_FALSE(face.GetTransparent(control));
    EXPECT_EQ(face.GetBevel(control), nullptr);
    control.above = true;
    EXPECT_EQ(face.GetColor(control), 0x00FF00);
    EXPECT_TRUE(face.GetTransparent(control));
    EXPECT_TRUE(face.GetCtlXPSetting(control));
    EXPECT_EQ(face.GetFillObject(control), nullptr);

    // A copy holds copies of the objects under the same names.
    TWLXFaceController copy;
    copy.Assign(face);
    EXPECT_EQ(copy.GetColor(control), 0x00FF00);
    EXPECT_NE(copy.SettingObjects().Object(0), face.SettingObjects().Object(0));
    EXPECT_EQ(face.SettingObjects().RemoveSetting(face.SettingObjects().Object(2)), 2);
    EXPECT_EQ(face.SettingObjects().RemoveSetting(nullptr), -1);
}

TEST(FaceControllerTest, StoredKindsAndDescriptions)
{
    EXPECT_EQ(FaceKindFromValues({2, 1, 0, 0, 2, 2, 2}), PredefinedFaceKinds()[fkHot]);
    EXPECT_EQ(FaceKindFromValues({1, 1, 1, 1, 1, 1, 1}), PredefinedFaceKinds()[fkNormal]);
    EXPECT_EQ(FaceKindFromValues({0, 0, 0}), PredefinedFaceKinds()[fkNormal]);
    TWLXCtlSettings settings;
    EXPECT_EQ(settings.DescriptionText(), QStringLiteral("Transp.: False, CtlXP: True"));
    EXPECT_EQ(TWLXCFCSettingObjects::ClassNameOf(TWLXCFCSettingObjects::Create(QStringLiteral("TFont")).get()),
              QStringLiteral("TFont"));
    EXPECT_EQ(TWLXCFCSettingObjects::Create(QStringLiteral("TOther")), nullptr);
}

TEST(FaceControllerTest, LinkedControlsHearWhenItGoes)
{
    TControl a, b;
    bool aTold = false;
    {
        TWLXFaceController face;
        face.AddControl(&a, [&] { aTold = true; });
        face.AddControl(&b, nullptr);
        face.RemoveControl(&b);
        EXPECT_EQ(face.ControlCount(), 1);
    }
    EXPECT_TRUE(aTold);
}

} // namespace
