// Class registry: creation by stored class name.
#include "core/TestGate.h"
#include "core/model/ClassRegistry.h"
#include "core/model/Iobt.h"
#include "platform/Context.h"

#include <vector>

#include <gtest/gtest.h>

namespace {


class TOtherGate : public TTestGate {
public:
    TV_CLASS_NAME(TOtherGate)
};

// Stored by name but not a board item (like a device class).
class TTestDevice : public TPersistentObject {
public:
    TV_CLASS_NAME(TTestDevice)
};

// Described components of two palette categories, and one whose description names another
// class.
class TCounterPart : public TIOBauteil {
public:
    TV_CLASS_NAME(TCounterPart)
    static const TComponentDescription Description;
    TCounterPart() { Describe(Description); }
};
const TComponentDescription TCounterPart::Description{
    .Name = "TCounterPart", .HelpContext = 1, .TypeName = {"Zähler"},
    .Category = TPaletteCategory::Zaehler};

class TGatePart : public TIOBauteil {
public:
    TV_CLASS_NAME(TGatePart)
    static const TComponentDescription Description;
    TGatePart() { Describe(Description); }
};
const TComponentDescription TGatePart::Description{
    .Name = "TGatePart", .HelpContext = 1, .TypeName = {"Gatter"},
    .Category = TPaletteCategory::Gatter};

class TMisnamedPart : public TIOBauteil {
public:
    TV_CLASS_NAME(TMisnamedPart)
    static const TComponentDescription Description;
};
const TComponentDescription TMisnamedPart::Description{.Name = "TGatePart"};

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetContext();
        RegisterCoreBaseClasses(registry);
        registry.RegisterClass<TTestGate>();
        registry.RegisterClass<TTestDevice>();
    }
    void TearDown() override { ResetContext(); }
    TClassRegistry registry;
};

TEST_F(RegistryTest, CreatesTheRegisteredClassByName)
{
    for (const char* name : {"TBauteil", "TIOBauteil", "TTestGate", "TTestDevice"}) {
        SCOPED_TRACE(name);
        auto object = registry.CreateByName(QString::fromLatin1(name));
        ASSERT_TRUE(object);
        EXPECT_STREQ(name, object->ClassName());
    }

    // A component made by name is complete: pins from its constructor, label its type name.
    auto item = registry.CreateBoardItem(QStringLiteral("TTestGate"));
    auto* gate = dynamic_cast<TTestGate*>(item.get());
    ASSERT_NE(nullptr, gate);
    EXPECT_EQ(2, gate->InputCount);
    EXPECT_EQ(QStringLiteral("Test"), gate->GetLabel());
    EXPECT_EQ(QStringLiteral("Test"), gate->GetHint());
}

TEST_F(RegistryTest, RegisteringAgainAndNameClashes)
{
    const int count = registry.Count();
    registry.RegisterClass<TTestGate>();
    registry.RegisterClass<TTestGate>("TTestGate");
    EXPECT_EQ(count, registry.Count());

    EXPECT_THROW(registry.RegisterClass<TOtherGate>("TTestGate"), std::logic_error);
    EXPECT_STREQ("TTestGate", registry.CreateByName(QStringLiteral("TTestGate"))->ClassName());

    // The same class may stand under a second name (older names of a class).
    registry.RegisterClass<TTestGate>("TOldGate");
    EXPECT_STREQ("TTestGate", registry.CreateByName(QStringLiteral("TOldGate"))->ClassName());
}

TEST_F(RegistryTest, UnknownNamesFailInTheCurrentLanguage)
{
    EXPECT_TRUE(registry.IsRegistered(QStringLiteral("TTestGate")));
    EXPECT_FALSE(registry.IsRegistered(QStringLiteral("ttestgate"))); // case-sensitive
    EXPECT_FALSE(registry.IsRegistered(QString()));

    struct Case {
        uint8_t language;
        const char* text;
    };
    const Case cases[] = {
        {0, "Klasse ttestgate nicht gefunden"},
        {1, "Class ttestgate not found"},
        {2, "Classe ttestgate introuvable"},
    };
    for (const Case& c : cases) {
        Ctx().CurrentLanguage = c.language;
        try {
            registry.CreateByName(QStringLiteral("ttestgate"));
            ADD_FAILURE() << "no error";
        } catch (const EClassNotFound& e) {
            EXPECT_STREQ(c.text, e.what());
            EXPECT_EQ(QStringLiteral("ttestgate"), e.ClassName());
        }
    }
}

TEST_F(RegistryTest, BoardItemsOnly)
{
    EXPECT_THROW(registry.CreateBoardItem(QStringLiteral("TTestDevice")), EClassNotFound);
    EXPECT_THROW(registry.CreateBoardItem(QStringLiteral("TMissing")), EClassNotFound);
    auto item = registry.CreateBoardItem(QStringLiteral("TBauteil"));
    EXPECT_STREQ("TBauteil", item->ClassName());
}

TEST_F(RegistryTest, ComponentsCarryTheirDescriptionsByPaletteCategory)
{
    registry.RegisterComponent<TCounterPart>();
    registry.RegisterComponent<TGatePart>();
    registry.RegisterComponent<TCounterPart>(); // again: harmless, listed once
    EXPECT_THROW(registry.RegisterComponent<TMisnamedPart>(), std::logic_error);

    EXPECT_EQ(&TGatePart::Description, registry.DescriptionOf(QStringLiteral("TGatePart")));
    EXPECT_EQ(nullptr, registry.DescriptionOf(QStringLiteral("TTestGate"))); // plain class
    EXPECT_EQ(nullptr, registry.DescriptionOf(QStringLiteral("TMissing")));
    EXPECT_STREQ("TGatePart", registry.CreateByName(QStringLiteral("TGatePart"))->ClassName());

    const std::vector<const TComponentDescription*> order{&TCounterPart::Description,
                                                          &TGatePart::Description};
    EXPECT_EQ(order, registry.Components());

    // Categories in palette row order: "Gatter" (row 2) before "Zähler" (row 4).
    const auto groups = registry.ComponentsByCategory();
    ASSERT_EQ(2u, groups.size());
    EXPECT_EQ(TPaletteCategory::Gatter, groups[0].Category);
    EXPECT_EQ(std::vector{&TGatePart::Description}, groups[0].Components);
    EXPECT_EQ(TPaletteCategory::Zaehler, groups[1].Category);
    EXPECT_EQ(QStringLiteral("Zähler"), PaletteCategoryName(groups[1].Category));
}

TEST_F(RegistryTest, FreshRegistriesAreIndependent)
{
    TClassRegistry other;
    EXPECT_EQ(0, other.Count());
    EXPECT_FALSE(other.IsRegistered(QStringLiteral("TTestGate")));
    EXPECT_EQ(&ClassRegistry(), &ClassRegistry());
}

} // namespace
