// The element base: common element data and their version gates, cascade placement, frame and
// background painting, transparency, the link to the component, the frame-and-background
// dialog and the element class registry.

#include "ElementTestSupport.h"

#include "core/model/ClassRegistry.h"
#include "core/model/Iobt.h"
#include "frontpanel/ElementRegistry.h"
#include "frontpanel/Led.h"
#include "platform/IniFile.h"
#include "platform/Locale.h"
#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"
#include "ui/Hotkey.h"
#include "ui/PanelDlg.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QSpinBox>

#include <memory>

namespace {

// An element class with a number of hotkeys, an optional aspect ratio and a published flag
// of its own, counting the calls of its hooks.
class TTestElement : public TFP_Element {
public:
    FP_CLASS_NAME(TTestElement)
    explicit TTestElement(QWidget* owner = nullptr, int hotkeys = 0)
        : TFP_Element(owner)
    {
        for (int i = 0; i < hotkeys; ++i)
            AddHotkey();
    }
    Extended Ratio = 0.0L;
    bool Decor = false;
    int Edits = 0;
    int Applied = 0;
    Extended AspectRatio() const override { return Ratio; }
    bool IsPublished() const override { return !Decor && WebPublish; }
    int EditProperties() override
    {
        ++Edits;
        return mrOk;
    }
    void ApplyProperties() override { ++Applied; }
};

using ElementTest = FrontPanelTest;

// An element with every common field set away from its defaults.
void FillElement(TTestElement& e)
{
    e.ElementIndex = 7;
    e.SetBisteTransparent(true);
    e.SetFrontplattenNR(2);
    e.setGeometry(10, 20, 70, 45);
    e.Hint = QStringLiteral("Pumpe ä");
    e.LaufzeitEinstellbar = true;
    e.BorderWidth = 3;
    e.BevelWidth = 2;
    e.BevelInner = bvLowered;
    e.BevelOuter = bvRaised;
    e.HintergrundFarbe = 0x123456;
    e.Color = 0x654321;
    e.ColorFromPanel = false;
    e.BackgroundFromPanel = true;
    for (size_t i = 0; i < e.Hotkeys.size(); ++i) {
        e.Hotkeys[i]->Key = static_cast<uint16_t>('A' + i);
        e.Hotkeys[i]->ShiftState = hsCtrl;
        e.Hotkeys[i]->Action = static_cast<int32_t>(i + 1);
    }
    e.WebSortOrder = 4;
    e.WebPublish = false;
    e.WebShowTitle = false;
    e.WebHeadLines = QStringList{QStringLiteral("<h1>"), QStringLiteral("kopf")};
    e.WebFootLines = QStringList{QStringLiteral("</p>")};
}

TEST_F(ElementTest, CommonDataStartWithTheirFixedEncoding)
{
    TTestElement e;
    e.ElementIndex = 1;
    e.SetFrontplattenNR(2);
    e.resize(300, 20);
    const QByteArray bytes = StreamOf([&](TWriter& w) { e.WriteElementData(w); });
    // Integer 1, Boolean false, Integer -9998 (16-bit tag), raw width and height.
    const QByteArray head = QByteArray::fromHex("0201" "08" "03f2d8" "2c01" "1400");
    EXPECT_EQ(bytes.left(head.size()).toHex(), head.toHex());
}

struct GateCase {
    uint8_t version;
    bool pageAndHint;  // items 3 to 7
    bool frame;        // items 8 to 16
    bool web;          // items 17 to 21
};

TEST_F(ElementTest, ReadingStopsAtTheVersionGates)
{
    const GateCase cases[] = {
        {2, false, false, false},  {3, true, false, false},   {39, true, false, false},
        {40, true, true, false},   {42, true, true, false},   {43, true, true, true},
        {44, true, true, true},    {255, true, true, true},
    };
    TTestElement source(nullptr, 2);
    FillElement(source);
    const QByteArray bytes = StreamOf([&](TWriter& w) { source.WriteElementData(w); });

    for (const GateCase& c : cases) {
        SCOPED_TRACE(c.version);
        TTestElement e(nullptr, 2);
        e.move(5, 6);
        const QSize size = e.size();
        const qint64 left = ReadStream(bytes, [&](TReader& r) { e.ReadElementData(r, c.version); });
        EXPECT_EQ(e.ElementIndex, 7);
        EXPECT_TRUE(e.GetBisteTransparent());
        EXPECT_EQ(e.FrontplattenNR, c.pageAndHint ? 2 : 0);
        EXPECT_EQ(e.size(), c.pageAndHint ? QSize(70, 45) : size);
        EXPECT_EQ(e.pos(), QPoint(5, 6));  // the position is the page's business
        EXPECT_EQ(e.Hint, c.pageAndHint ? source.Hint : QString());
        EXPECT_EQ(e.LaufzeitEinstellbar, c.pageAndHint);

        EXPECT_EQ(e.BorderWidth, c.frame ? 3 : 0);
        EXPECT_EQ(e.BevelWidth, c.frame ? 2 : 1);
        EXPECT_EQ(e.BevelInner, c.frame ? bvLowered : bvNone);
        EXPECT_EQ(e.BevelOuter, c.frame ? bvRaised : bvNone);
        EXPECT_EQ(e.HintergrundFarbe, c.frame ? 0x123456 : 14215660);
        EXPECT_EQ(e.Color, c.frame ? 0x654321 : 14215660);
        EXPECT_EQ(e.ColorFromPanel, !c.frame);
        EXPECT_EQ(e.BackgroundFromPanel, c.frame);
        EXPECT_EQ(e.Hotkeys[1]->Key, c.frame ? 'B' : 0);
        EXPECT_EQ(e.Hotkeys[1]->ShiftState, c.frame ? hsCtrl : 0);
        EXPECT_EQ(e.Hotkeys[1]->Action, c.frame ? 2 : 0);

        // Below 43 the sort order takes the element index.
        EXPECT_EQ(e.WebSortOrder, c.web ? 4 : c.frame ? 7 : 0);
        EXPECT_EQ(e.WebPublish, !c.web);
        EXPECT_EQ(e.WebShowTitle, !c.web);
        EXPECT_EQ(e.WebHeadLines, c.web ? source.WebHeadLines : QStringList());
        EXPECT_EQ(e.WebFootLines, c.web ? source.WebFootLines : QStringList());
        if (c.web) {
            EXPECT_EQ(left, 0);  // a full read takes exactly what was written
        }
    }
}

TEST_F(ElementTest, OldPageNumberCarriesNoSize)
{
    // Page value 3 (not negative): the page itself, no width and height follow.
    const QByteArray bytes = StreamOf([](TWriter& w) {
        w.WriteInteger(1);
        w.WriteBoolean(false);
        w.WriteInteger(3);
        w.WriteString(QStringLiteral("alt"));
        w.WriteBoolean(true);
    });
    TTestElement e;
    e.resize(33, 44);
    EXPECT_EQ(ReadStream(bytes, [&](TReader& r) { e.ReadElementData(r, 39); }), 0);
    EXPECT_EQ(e.FrontplattenNR, 3);
    EXPECT_EQ(e.size(), QSize(33, 44));
    EXPECT_EQ(e.Hint, QStringLiteral("alt"));
    EXPECT_TRUE(e.LaufzeitEinstellbar);
}

TEST_F(ElementTest, HotkeyRecordsFollowTheConstructorsCount)
{
    TTestElement source(nullptr, 5);
    FillElement(source);
    const QByteArray bytes = StreamOf([&](TWriter& w) { source.WriteElementData(w); });
    TTestElement five(nullptr, 5);
    EXPECT_EQ(ReadStream(bytes, [&](TReader& r) { five.ReadElementData(r, 44); }), 0);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(five.Hotkeys[i]->Key, 'A' + i);

    // A class with fewer hotkeys reads fewer records: the stream no longer lines up, which is
    // why a class must always create the same number.
    TTestElement two(nullptr, 2);
    EXPECT_ANY_THROW(ReadStream(bytes, [&](TReader& r) { two.ReadElementData(r, 44); }));
}

TEST_F(ElementTest, DecorElementStoresUnpublished)
{
    TTestElement decor;
    decor.Decor = true;
    ASSERT_TRUE(decor.WebPublish);
    const QByteArray bytes = StreamOf([&](TWriter& w) { decor.WriteElementData(w); });
    TTestElement e;
    ReadStream(bytes, [&](TReader& r) { e.ReadElementData(r, 44); });
    EXPECT_FALSE(e.WebPublish);
    EXPECT_FALSE(decor.CanPublish());
    TTestElement plain;
    plain.WebPublish = false;
    EXPECT_TRUE(plain.CanPublish());
    EXPECT_FALSE(plain.WebPublish);
}

TEST_F(ElementTest, TruncatedOrCorruptStreamsThrow)
{
    TTestElement source;
    FillElement(source);
    QByteArray bytes = StreamOf([&](TWriter& w) { source.WriteElementData(w); });
    TTestElement e;
    EXPECT_THROW(ReadStream(bytes.left(bytes.size() - 3), [&](TReader& r) { e.ReadElementData(r, 44); }),
                 EFilerError);

    // A head-line count far beyond the stream is refused before anything is built.
    const QByteArray huge = StreamOf([&](TWriter& w) {
        TTestElement plain;
        plain.WebHeadLines.clear();
        plain.WriteElementData(w);
    });
    QByteArray patched = huge;
    // The head count is the third value from the end: Integer 0, Integer 0 -> 0x02 0x00 0x02 0x00.
    patched.chop(4);
    patched += StreamOf([](TWriter& w) { w.WriteInteger(100000000); w.WriteInteger(0); });
    EXPECT_THROW(ReadStream(patched, [&](TReader& r) { e.ReadElementData(r, 44); }), EFilerError);
}

TEST_F(ElementTest, CascadePlacesNewElementsInFiveByFiveSteps)
{
    std::vector<std::unique_ptr<TTestElement>> elements;
    for (int i = 0; i < 26; ++i)
        elements.push_back(std::make_unique<TTestElement>());
    EXPECT_EQ(elements[0]->pos(), QPoint(32, 32));
    EXPECT_EQ(elements[4]->pos(), QPoint(160, 32));
    EXPECT_EQ(elements[5]->pos(), QPoint(32, 64));
    EXPECT_EQ(elements[24]->pos(), QPoint(160, 160));
    EXPECT_EQ(elements[25]->pos(), QPoint(32, 32));

    FPState().CascadePoint = QPoint(-5, 10);
    TTestElement raised;
    EXPECT_EQ(raised.pos(), QPoint(32, 32));
    EXPECT_EQ(FPState().CascadePoint, QPoint(64, 32));
}

TEST_F(ElementTest, FrameBevelsAndBackgroundArePainted)
{
    TTestElement e;
    e.resize(40, 30);
    e.ColorFromPanel = false;
    e.Color = clRed;
    e.SetHintergrundFarbe(clBlue);
    e.Color = clRed;
    e.BevelOuter = bvRaised;
    e.BevelWidth = 2;
    e.BorderWidth = 1;
    e.BevelInner = bvLowered;
    ASSERT_EQ(e.FrameWidth(), 5);
    const QImage pic = Picture(e);
    const int32_t light = ColorToRGB(clBtnHighlight);
    const int32_t shadow = ColorToRGB(clBtnShadow);
    EXPECT_EQ(PixelAt(pic, 0, 10), light);   // outer raised bevel: light top-left
    EXPECT_EQ(PixelAt(pic, 1, 1), light);
    EXPECT_EQ(PixelAt(pic, 39, 10), shadow); // ... dark bottom-right
    EXPECT_EQ(PixelAt(pic, 20, 28), shadow);
    EXPECT_EQ(PixelAt(pic, 2, 15), clRed);   // border in the frame colour
    EXPECT_EQ(PixelAt(pic, 3, 15), shadow);  // inner lowered bevel: dark top-left
    EXPECT_EQ(PixelAt(pic, 36, 15), light);
    EXPECT_EQ(PixelAt(pic, 5, 5), clBlue);   // background inside the frame
    EXPECT_EQ(PixelAt(pic, 34, 24), clBlue);
}

TEST_F(ElementTest, ColoursFollowingThePanelAreAdoptedWhenPainted)
{
    FPState().DesignPanelColor = 0x00AA00;
    TTestElement e;
    e.resize(20, 20);
    e.Color = clRed;
    e.HintergrundFarbe = clBlue;
    e.BackgroundFromPanel = true;
    e.BorderWidth = 2;
    const QImage pic = Picture(e);
    EXPECT_EQ(e.Color, 0x00AA00);
    EXPECT_EQ(e.HintergrundFarbe, 0x00AA00);
    EXPECT_EQ(PixelAt(pic, 0, 0), 0x00AA00);
    EXPECT_EQ(PixelAt(pic, 10, 10), 0x00AA00);
}

TEST_F(ElementTest, TransparentElementShowsWhatLiesBeneath)
{
    QWidget page;
    page.resize(100, 100);
    page.setAutoFillBackground(true);
    QPalette palette = page.palette();
    palette.setColor(QPalette::Window, QColor(0, 200, 0));
    page.setPalette(palette);
    auto* e = new TTestElement(&page);
    e->setGeometry(10, 10, 40, 40);
    e->HintergrundFarbe = clBlue;
    e->BackgroundFromPanel = false;
    e->SetBisteTransparent(false);
    EXPECT_EQ(PixelAt(Picture(page), 30, 30), clBlue);
    e->SetBisteTransparent(true);
    EXPECT_EQ(PixelAt(Picture(page), 30, 30), 0x00C800);

    // The snapshot of a transparent element carries the page beneath it.
    QImage snapshot;
    e->PaintToBitmap(snapshot);
    EXPECT_EQ(snapshot.size(), QSize(40, 40));
    EXPECT_EQ(PixelAt(snapshot, 20, 20), 0x00C800);

    // On the hidden panel a transparent element paints its own background.
    QWidget hidden;
    FPState().HiddenPanel = &hidden;
    e->setParent(&hidden);
    EXPECT_EQ(PixelAt(Picture(*e), 20, 20), clBlue);
    e->setParent(&page);
}

TEST_F(ElementTest, SwitchedOffElementIgnoresTheMouseButIsNotGreyed)
{
    TTestElement e;
    e.resize(30, 30);
    const QImage before = Picture(e);
    e.SetElementEnabled(false);
    EXPECT_TRUE(e.testAttribute(Qt::WA_TransparentForMouseEvents));
    EXPECT_TRUE(e.isEnabled());
    EXPECT_EQ(Picture(e), before);
    e.SetElementEnabled(true);
    EXPECT_FALSE(e.testAttribute(Qt::WA_TransparentForMouseEvents));
}

TEST_F(ElementTest, LinkIsClearedWhicheverSideGoesFirst)
{
    {
        auto component = NewObject<TIOBauteil>();
        auto* element = new TTestElement();
        component->SetLink(element);
        element->Component = component.get();
        delete element;
        EXPECT_EQ(component->Link, nullptr);
    }
    {
        auto* element = new TTestElement();
        auto component = NewObject<TIOBauteil>();
        component->SetLink(element);
        element->Component = component.get();
        component.reset();
        EXPECT_EQ(element->Component, nullptr);
        delete element;  // must not touch the freed component
    }
}

TEST_F(ElementTest, AspectRatioSetsTheWidthFromTheInnerHeight)
{
    TTestElement e;
    e.BorderWidth = 4;
    e.Ratio = 5.0L / 3.0L;
    e.resize(20, 100);
    e.ApplyAspectRatio();
    EXPECT_EQ(e.size(), QSize(161, 100));
    e.Ratio = 0.0L;
    e.resize(20, 100);
    e.ApplyAspectRatio();
    EXPECT_EQ(e.width(), 20);
}

TEST_F(ElementTest, QualifiedNamesAndNumberTexts)
{
    TTestElement e;
    e.ElementName = QStringLiteral("S1");
    EXPECT_TRUE(e.MatchQualifiedName(QStringLiteral("MainModul.Frontplatte"),
                                     QStringLiteral("MainModul.Frontplatte.S1")));
    EXPECT_EQ(e.QualifiedName, QStringLiteral("MainModul.Frontplatte.S1"));
    e.ElementName = QStringLiteral("s1");
    EXPECT_FALSE(e.MatchQualifiedName(QStringLiteral("MainModul.Frontplatte"),
                                      QStringLiteral("MainModul.Frontplatte.S1")));

    EXPECT_EQ(TFP_Element::TextToFloat(QStringLiteral("1,5")), 1.5L);
    EXPECT_EQ(TFP_Element::TextToFloat(QStringLiteral("1,5,0")), 0.0L);  // "1.5,0" is no number
    EXPECT_EQ(TFP_Element::TextToFloat(QStringLiteral("abc")), 0.0L);
    SetDecimalSeparatorForTesting(u',');
    EXPECT_EQ(TFP_Element::FloatToText(1.0L / 3.0L), QStringLiteral("0,33333333"));
    EXPECT_EQ(TFP_Element::FloatToText(1.5e20L), QStringLiteral("1,5E0020"));
    SetDecimalSeparatorForTesting(QChar());
}

TEST_F(ElementTest, HotkeysReceiveTheKeysOfTheRunMode)
{
    TTestElement e(nullptr, 2);
    int presses = 0;
    int releases = 0;
    for (auto& h : e.Hotkeys) {
        h->OnPress = [&](THotkey*) { ++presses; };
        h->OnRelease = [&](THotkey*) { ++releases; };
    }
    e.Hotkeys[0]->Key = 'A';
    e.Hotkeys[1]->Key = 'A';
    e.Hotkeys[1]->ShiftState = hsShift;
    e.HotkeyDown('A', 0);
    e.HotkeyDown('A', 0);  // held: one press
    EXPECT_EQ(presses, 1);
    e.HotkeyUp('A', hsShift);
    EXPECT_EQ(releases, 1);
}

TEST_F(ElementTest, DoubleClickOpensPropertiesOnlyWhenAllowed)
{
    TTestElement e;
    e.DblClickEdit();
    EXPECT_EQ(e.Edits, 0);
    e.LaufzeitEinstellbar = true;
    e.DblClickEdit();
    EXPECT_EQ(e.Edits, 1);
    e.LaufzeitEinstellbar = false;
    e.userEdit = true;
    e.DblClickEdit();
    EXPECT_EQ(e.Edits, 2);
}

TEST_F(ElementTest, FrameDialogAppliesOnlyOnOk)
{
    TTestElement e;
    e.Hint = QStringLiteral("Anzeige");
    e.ElementName = QStringLiteral("D2");
    // Every field changed; the same answer is given once with Cancel, once with OK.
    const auto changeAll = [](TPanelDlg& dlg) {
        dlg.cb_Transparent->setChecked(true);
        dlg.cb_Outer->setCurrentIndex(2);
        dlg.cb_Inner->setCurrentIndex(1);
        dlg.se_Border->setValue(4);
        dlg.se_Bevel->setValue(3);
        dlg.rb_Individuell->setChecked(true);
        dlg.ColorShape->SetBrushColor(clRed);
        dlg.rb_BK_Anpassen->setChecked(true);
        dlg.BK_Shape->SetBrushColor(clYellow);
    };
    TScopedDialogResponder responder;
    QString title;
    responder.Answer([&](QDialog& d) {
        auto& dlg = dynamic_cast<TPanelDlg&>(d);
        title = dlg.windowTitle();
        EXPECT_EQ(dlg.cb_Outer->currentIndex(), 0);
        EXPECT_TRUE(dlg.rb_Anpassen->isChecked());
        EXPECT_TRUE(dlg.rb_BK_Individuell->isChecked());
        changeAll(dlg);
        return mrCancel;
    });
    e.EditFrameAndBackground();
    EXPECT_TRUE(title.endsWith(QStringLiteral(" - Anzeige D2")));
    EXPECT_FALSE(e.GetBisteTransparent());
    EXPECT_EQ(e.BorderWidth, 0);
    EXPECT_TRUE(e.ColorFromPanel);

    responder.Answer([&](QDialog& d) {
        changeAll(dynamic_cast<TPanelDlg&>(d));
        return mrOk;
    });
    e.EditFrameAndBackground();
    EXPECT_TRUE(e.GetBisteTransparent());
    EXPECT_EQ(e.BevelOuter, bvRaised);
    EXPECT_EQ(e.BevelInner, bvLowered);
    EXPECT_EQ(e.BorderWidth, 4);
    EXPECT_EQ(e.BevelWidth, 3);
    EXPECT_FALSE(e.ColorFromPanel);
    EXPECT_EQ(e.Color, clRed);
    EXPECT_TRUE(e.BackgroundFromPanel);
    EXPECT_EQ(e.HintergrundFarbe, clYellow);
}

TEST_F(ElementTest, WebRowsAndPropertyDialog)
{
    TTestElement e;
    e.Hint = QStringLiteral("Schalter");
    TScopedDialogResponder responder;
    QStringList captions;
    int help = 0;
    responder.Answer([&](QDialog& d) {
        auto& dlg = static_cast<TDefault_Dlg&>(d);
        help = dlg.HelpContext;
        for (const auto& row : dlg.PropScrollbox->Rows())
            captions << row->Editor->NameLabel->text();
        return mrOk;
    });
    e.AddWebProperties();
    EXPECT_EQ(Default_Dlg().windowTitle(), QStringLiteral("Schalter"));
    EXPECT_EQ(e.ShowPropertyDialog(), mrOk);
    EXPECT_EQ(help, 48100);
    EXPECT_EQ(captions, (QStringList{QStringLiteral("Web"), QStringLiteral("Veröffentlichen"),
                                     QStringLiteral("Titel"), QStringLiteral("Sortierung"),
                                     QStringLiteral("HTML (Kopf)"), QStringLiteral("HTML (Fuss)")}));
    EXPECT_EQ(e.Applied, 1);
    responder.AnswerResult(mrCancel);
    e.AddWebProperties();
    EXPECT_EQ(e.ShowPropertyDialog(), mrCancel);
    EXPECT_EQ(e.Applied, 1);
}

TEST_F(ElementTest, RegistryCreatesByNameInAnyCase)
{
    TElementRegistry registry;
    RegisterFrontPanelElements(registry);
    QWidget page;
    struct NameCase {
        const char* name;
        const char* className;
    };
    const NameCase cases[] = {{"TPLED", "TPLED"}, {"tpled", "TPLED"}, {"TDuoLED", "TDuoLED"},
                              {"TRGBLED", "TRGBLED"}, {"TDesign", "TDesign"}};
    for (const NameCase& c : cases) {
        TFP_Element* e = registry.CreateElement(QString::fromLatin1(c.name), &page);
        ASSERT_NE(e, nullptr);
        EXPECT_STREQ(e->ClassName(), c.className);
        EXPECT_EQ(e->parentWidget(), &page);
    }
    auto* duo = dynamic_cast<TPLED*>(registry.CreateElement(QStringLiteral("TDuoLED"), &page));
    ASSERT_NE(duo, nullptr);
    EXPECT_TRUE(duo->IstDuoLED);

    const int children = static_cast<int>(page.children().size());
    try {
        registry.CreateElement(QStringLiteral("TGibtEsNicht"), &page);
        ADD_FAILURE() << "no exception";
    } catch (const EClassNotFound& error) {
        EXPECT_EQ(error.ClassName(), QStringLiteral("TGibtEsNicht"));
    }
    EXPECT_EQ(static_cast<int>(page.children().size()), children);
    EXPECT_EQ(registry.RegisteredName(QStringLiteral("trgbled")), QStringLiteral("TRGBLED"));
}

} // namespace
