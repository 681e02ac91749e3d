// The components behind the input elements: their descriptions, and what their outputs carry
// for what the operator does on the front panel (or, for the character display, what their
// inputs make the element show).

#include "EntryTestSupport.h"

#include "components/ComponentTestSupport.h"
#include "components/entry/EntryComponents.h"
#include "components/entry/RegisterEntry.h"
#include "components/text/RegisterText.h"
#include "components/text/StrEdit.h"
#include "core/board/BoardHooks.h"
#include "shell/Composition.h"
#include "frontpanel/elements/AsciiDisplay.h"
#include "frontpanel/elements/Auswahlliste.h"
#include "frontpanel/elements/NumEingabe.h"
#include "frontpanel/elements/Setliste.h"
#include "frontpanel/elements/StrEdit.h"
#include "frontpanel/elements/Tastatur.h"
#include "platform/ModalDialogs.h"
#include "platform/MessageBox.h"

#include <QComboBox>
#include <QFile>
#include <QTemporaryDir>

#include <cfloat>

namespace {

void RegisterEntryAndText(TClassRegistry& registry)
{
    RegisterEntryComponents(registry);
    RegisterTextComponents(registry);
}

class EntryComponentsTest : public TComponentTest<RegisterEntryAndText, true> {
protected:
    void SetUp() override
    {
        TComponentTest::SetUp();
        ResetFrontPanelState();
        InstallHooks();  // a component that goes unlinks its element
        SetDecimalSeparatorForTesting(QLatin1Char(','));
    }
    void TearDown() override
    {
        SetDecimalSeparatorForTesting(QChar());
        ResetBoardHooks();
        TComponentTest::TearDown();
    }
};

// An element linked to a component as the application core links them.
template <class E>
std::unique_ptr<E> Linked(TIOBauteil& c)
{
    std::unique_ptr<E> e(NewElement<E>(nullptr));
    e->ElementName = c.Designator();
    c.SetLink(e.get());
    e->Component = &c;
    return e;
}

QString Text(const TIOBauteil& c, int i)
{
    return c.Outputs[size_t(i)]->GetPinText();
}

} // namespace

TEST_F(EntryComponentsTest, DescriptionsInEveryLanguage)
{
    struct Case {
        const char* cls;
        const char* prefix[3];
        const char* type[3];
        int help;
        const char* element;
        QStringList inNames, outNames;
        TPaletteCategory category;
    } cases[] = {
        {"TBTNumEingabe", {"NE", "NI", "EN"}, {"Numerisches\rEingabefeld", "Numeric\rinput", "Entrée\rnumérique"},
         18160, "TNumEingabe", {}, {"A"}, TPaletteCategory::BedienungAnalog},
        {"TBTASCII_Display", {"ASCII", "ASCII", "ASCII"}, {"ASCII-Display", "ASCII display", "Afficheur ASCII"},
         18090, "TASCII_Display", {"D0", "D1", "D2", "D3", "D4", "D5", "D6", "D7", "CLK", "/CLR"}, {},
         TPaletteCategory::Anzeigen},
        {"TBTAuswahlliste", {"LI", "LI", "LI"}, {"Auswahlliste\rhexadezimal", "HEX selection", "Sélection HEX"},
         18125, "TAuswahlliste", {}, {"$", "D3", "D2", "D1", "D0"}, TPaletteCategory::BedienungDigital},
        {"TBTSetliste", {"SL", "SL", "SL"}, {"Setliste", "Set list", "Liste de réglages"}, 18140, "TSetliste",
         {}, {"$", "i"}, TPaletteCategory::BedienungDigital},
        {"TBTTastatur", {"KB", "KB", "KB"}, {"ASCII\rEingabe", "ASCII\rInput", "Entrée\rASCII"}, 18130,
         "TTastatur", {"/CLR"}, {"CLK", "D7", "D6", "D5", "D4", "D3", "D2", "D1", "D0"},
         TPaletteCategory::BedienungDigital},
        {"TBTStrEdit", {"$EDT", "$EDT", "$EDT"}, {"$Eingabe", "$Edit", "$Entrée"}, 18180, "TFP_Str_Edit", {},
         {"$"}, TPaletteCategory::Strings},
    };
    for (const Case& c : cases) {
        for (int lang = 0; lang < 3; ++lang) {
            SCOPED_TRACE(std::string(c.cls) + " " + std::to_string(lang));
            Ctx().CurrentLanguage = uint8_t(lang);
            auto comp = Create(c.cls);
            ASSERT_TRUE(comp);
            EXPECT_EQ(comp->Prefix(), QString::fromUtf8(c.prefix[lang]));
            EXPECT_EQ(comp->GetTypeName(), QString::fromUtf8(c.type[lang]));
            EXPECT_EQ(comp->HelpContext, c.help);
            EXPECT_EQ(comp->ElementClass(), QString::fromLatin1(c.element));
            EXPECT_EQ(PinNames(comp->Inputs), c.inNames);
            EXPECT_EQ(PinNames(comp->Outputs), c.outNames);
            ASSERT_TRUE(comp->GetDescription());
            EXPECT_EQ(comp->GetDescription()->Category, c.category);
        }
    }
}

TEST_F(EntryComponentsTest, NumericInputPutsTheAcceptedValueOutAtOnce)
{
    auto c = Create("TBTNumEingabe");
    auto e = Linked<TNumEingabe>(*c);
    Type(e->Edit, QStringLiteral("2,5"));  // standing in the edit, not yet accepted
    c->SimReset();
    EXPECT_EQ(OutputValues(*c)[0], 2.5L) << "the run starts with what stands in the field";

    const struct {
        const char* typed;
        Extended out;
    } cases[] = {{"-7\r", -7}, {"1,5e3\r", 1500}, {"inf\r", DBL_MAX}, {"-inf\r", -DBL_MAX}, {"nan\r", 0}};
    for (const auto& k : cases) {
        Type(e->Edit, QString::fromLatin1(k.typed));
        EXPECT_EQ(OutputValues(*c)[0], k.out) << k.typed << " reaches the circuit clamped, before the next step";
    }
    PressHotkey(*e, 0, 1);
    EXPECT_EQ(OutputValues(*c)[0], 0.0L);

    // Once the component is gone, the element announces to nobody.
    c.reset();
    Type(e->Edit, QStringLiteral("4\r"));
    EXPECT_EQ(e->Wert, 4.0);
}

TEST_F(EntryComponentsTest, TextInputStartsWithTheFieldsText)
{
    auto c = Create("TBTStrEdit");
    auto e = Linked<TFP_Str_Edit>(*c);
    Type(e->Edit, QStringLiteral("Anfang"));
    c->SimReset();
    EXPECT_EQ(Text(*c, 0), QStringLiteral("Anfang"));
    Type(e->Edit, QStringLiteral(" und mehr"));
    EXPECT_EQ(Text(*c, 0), QStringLiteral("Anfang")) << "only an accepted text goes out";
    Type(e->Edit, QStringLiteral("\r"));
    EXPECT_EQ(Text(*c, 0), QStringLiteral("Anfang und mehr"));
    PressHotkey(*e, 0, 1);
    EXPECT_TRUE(Text(*c, 0).isEmpty());
}

TEST_F(EntryComponentsTest, CharacterDisplayTakesAtTheRisingAndShowsAtTheFallingEdge)
{
    auto c = Create("TBTASCII_Display");
    auto e = Linked<TASCII_Display>(*c);
    e->PutChar('x');
    TDrivers in(*c, true);  // all high: CLK high, /CLR high
    c->SimReset();
    EXPECT_TRUE(e->Text().isEmpty()) << "the reset clears";
    const struct {
        int code;
        bool clk, clr;
        const char* shown;
    } steps[] = {
        {'A', true, true, ""},     // rising edge latches A
        {'B', true, true, ""},     // no edge
        {'B', false, true, "A"},   // falling edge shows A
        {'B', true, true, "A"},
        {'C', false, true, "AB"},  // B was latched at the rise
        {0, true, true, "AB"},
        {0, false, true, "AB"},    // the byte 0 is never shown
        {'D', true, true, "AB"},
        {'D', false, false, ""},   // /CLR low clears and forgets the latch
        {'E', false, true, ""},
        {'E', true, true, ""},
        {'E', false, true, "E"},
    };
    for (const auto& s : steps) {
        in.SetNumber(0, 8, uint32_t(s.code));
        in.Set(8, s.clk);
        in.Set(9, s.clr);
        c->Calculate();
        EXPECT_EQ(e->Text(), QString::fromLatin1(s.shown)) << s.code << " " << s.clk << " " << s.clr;
    }
}

TEST_F(EntryComponentsTest, SelectionListOutputsItsIndexInBitsOrAsNumber)
{
    auto c = Create<TBTAuswahlliste>();
    auto e = Linked<TAuswahlliste>(*c);
    e->SetItems({"a", "b", "c", "d", "e"});
    c->AdjustOutputs();
    ASSERT_EQ(PinNames(c->Outputs), (QStringList{"$", "D2", "D1", "D0"})) << "five entries: three bits";
    e->Select(4);
    c->SimReset();
    EXPECT_EQ(e->Liste->maxVisibleItems(), 5) << "the list drops down whole in a run";
    c->Calculate();
    EXPECT_EQ(Text(*c, 0), QStringLiteral("e"));
    EXPECT_EQ(OutputValues(*c), (std::vector<Extended>{0, 5, 0, 0}));
    e->Select(-1);
    c->Calculate();
    EXPECT_EQ(OutputValues(*c), (std::vector<Extended>{0, 5, 5, 5})) << "no entry: all bits high";
    EXPECT_TRUE(Text(*c, 0).isEmpty());

    const struct {
        int entries, outputs;
    } sizes[] = {{9, 5}, {1, 3}, {0, 3}, {4, 3}, {16, 5}, {17, 6}};
    for (const auto& s : sizes) {
        QStringList items;
        for (int i = 0; i < s.entries; ++i)
            items << QString::number(i);
        e->SetItems(items);
        c->AdjustOutputs();
        EXPECT_EQ(c->OutputCount, s.outputs) << s.entries;
    }

    // The settings dialog switches to analog mode ("$" and "Z") and back.
    TScopedDialogResponder responder;
    responder.Answer([](QDialog& d) {
        Row<TComboPropEditor>(d, 0)->Combo->setCurrentIndex(1);
        return int(mrOk);
    });
    EXPECT_EQ(c->EditProperties(), mrOk);
    ASSERT_EQ(PinNames(c->Outputs), (QStringList{"$", "Z"}));
    e->SetItems({"x", "y", "z"});
    e->Select(2);
    c->SimReset();
    c->Calculate();
    EXPECT_EQ(Text(*c, 0), QStringLiteral("z"));
    EXPECT_EQ(OutputValues(*c)[1], 2.0L);
    responder.Answer([](QDialog& d) {
        Row<TComboPropEditor>(d, 0)->Combo->setCurrentIndex(0);
        return int(mrOk);
    });
    c->EditProperties();
    EXPECT_EQ(PinNames(c->Outputs), (QStringList{"$", "D1", "D0"}));

    // The element's own dialog fits the outputs to its entries.
    responder.Answer([](QDialog& d) {
        for (size_t i = 0; i < RowCount(d); ++i)
            if (auto* memo = Row<TMemoPropEditor>(d, i))
                memo->SetLines({"1", "2", "3", "4", "5", "6", "7", "8", "9"});
        return int(mrOk);
    });
    e->EditProperties();
    EXPECT_EQ(c->OutputCount, 5);

    // A record may hold 2 .. 33 outputs.
    auto read = Create<TBTAuswahlliste>();
    EXPECT_TRUE(Read(*read, Write(*c)));
    EXPECT_EQ(read->OutputCount, 5);
    EXPECT_THROW(Read(*read, ComponentPart(0, 1, 44)), EFilerError);
}

TEST_F(EntryComponentsTest, KeyboardOutputsCodeHeldFlagAndClearsOnAFallingEdge)
{
    auto c = Create("TBTTastatur");
    auto e = Linked<TTastatur>(*c);
    TDrivers in(*c, false);  // "/CLR" low at the start
    Type(e->Field, QStringLiteral("x"));
    c->SimReset();
    c->Calculate();
    EXPECT_TRUE(e->Text().isEmpty()) << "a low /CLR in the first step clears once";
    Type(e->Field, QStringLiteral("y"));
    c->Calculate();
    EXPECT_EQ(e->Text(), QStringLiteral("y")) << "holding /CLR low clears no more";

    in.Set(0, true);
    SendKey(e->Field, QEvent::KeyPress, Qt::Key_A, QStringLiteral("A"));
    c->Calculate();
    EXPECT_EQ(OutputValues(*c), (std::vector<Extended>{5, 0, 5, 0, 0, 0, 0, 0, 5}));  // CLK, 65
    SendKey(e->Field, QEvent::KeyRelease, Qt::Key_A, QStringLiteral("A"));
    c->Calculate();
    EXPECT_EQ(OutputValues(*c), (std::vector<Extended>{0, 0, 5, 0, 0, 0, 0, 0, 5})) << "the code stays";
    in.Set(0, false);
    c->Calculate();
    EXPECT_TRUE(e->Text().isEmpty());
}

TEST_F(EntryComponentsTest, SettingsListSeesNewFilesAtTheNextRun)
{
    QTemporaryDir dir;
    Ctx().ProjectFolder = dir.path() + u'/';
    auto touch = [&](const char* name) {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    };
    touch("Tag.EST");
    touch("Nacht.est");
    touch("Notiz.txt");
    auto c = Create("TBTSetliste");
    auto e = Linked<TSetliste>(*c);
    c->SimPrepare();
    c->SimReset();
    ASSERT_EQ(e->Count(), 2);
    c->Calculate();
    EXPECT_EQ(OutputValues(*c)[1], -1.0L);
    EXPECT_TRUE(Text(*c, 0).isEmpty());
    e->Select(1);
    c->Calculate();
    EXPECT_EQ(OutputValues(*c)[1], 1.0L);
    EXPECT_EQ(Text(*c, 0), QStringLiteral("Tag"));

    touch("Abend.EST");
    c->Calculate();
    EXPECT_EQ(e->Count(), 2);
    c->SimPrepare();
    EXPECT_EQ(e->Count(), 3);
}
