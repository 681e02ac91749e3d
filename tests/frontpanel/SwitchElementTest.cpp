// The switch and push-button element: its picture set and sizes, operation by mouse, wheel,
// keys, hotkeys and published-page clicks, the pulse of such a click on a push button, the
// stream with its version gates, the settings file, and the pixels that show the state.

#include "ElementTestSupport.h"

#include "frontpanel/elements/GradBtn.h"
#include "frontpanel/elements/LampWidget.h"
#include "frontpanel/elements/Schalter.h"
#include "frontpanel/elements/SwitchPictures.h"
#include "frontpanel/web/WebPublishing.h"
#include "platform/Clock.h"
#include "platform/IniFile.h"
#include "ui/Hotkey.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QWheelEvent>

#include <memory>

namespace {

using SwitchElementTest = FrontPanelTest;

std::unique_ptr<TSchalter> NewSwitch(bool pushButton = false)
{
    std::unique_ptr<TSchalter> s(NewElement<TSchalter>(nullptr));
    if (pushButton)
        s->SetTaster(true);
    return s;
}

void Mouse(QWidget& w, QEvent::Type type, Qt::MouseButton button, QPoint at = QPoint(5, 5))
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, QPointF(at), QPointF(w.mapToGlobal(at)), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(&w, &event);
}

void Key(QWidget& w, QEvent::Type type, int key)
{
    QKeyEvent event(type, key, Qt::NoModifier);
    QCoreApplication::sendEvent(&w, &event);
}

void Wheel(QWidget& w, int delta)
{
    QWheelEvent event(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&w, &event);
}

QByteArray Written(TSchalter& s)
{
    return StreamOf([&](TWriter& w) { s.WriteElementData(w); });
}

} // namespace

TEST_F(SwitchElementTest, NewSwitchIsABlackToggleSwitchSnappedToItsPicture)
{
    auto s = NewSwitch();
    EXPECT_EQ(s->Typ, Kippschalter2);
    EXPECT_EQ(s->Farbe, schwarz);
    EXPECT_FALSE(s->State());
    EXPECT_EQ(s->size(), QSize(33, 46));  // 27 x 40 and a frame of 3
    EXPECT_EQ(s->Hint, QStringLiteral("Schalter"));
    EXPECT_EQ(s->Hotkeys.size(), 10u);
    EXPECT_EQ(s->ActionNames,
              QStringList({" ---", "= TOG", "= ON", "= OFF", "= RST"}));
    EXPECT_FALSE(s->GetBisteHSkalierbar());
}

TEST_F(SwitchElementTest, PictureSetSizesTransparencyAndScaling)
{
    struct Case {
        int typ;
        QSize off, on;
        bool transparent, scalable;
    } cases[] = {
        {0, {20, 20}, {20, 20}, true, false},   {1, {20, 20}, {20, 20}, false, false},
        {2, {25, 34}, {25, 34}, false, false},  {3, {40, 40}, {40, 40}, false, false},
        {4, {27, 40}, {27, 40}, true, false},   {5, {100, 144}, {100, 144}, false, true},
        {6, {102, 143}, {102, 143}, false, true}, {7, {102, 143}, {102, 143}, false, true},
        {8, {65, 104}, {66, 104}, false, true}, {9, {50, 50}, {50, 50}, false, false},
        {10, {33, 33}, {33, 33}, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typ);
        for (int farbe = 0; farbe < 5; ++farbe) {
            const QImage off = SwitchPicture(farbe, c.typ, false);
            const QImage on = SwitchPicture(farbe, c.typ, true);
            EXPECT_EQ(off.size(), c.off);
            EXPECT_EQ(on.size(), c.on);
            EXPECT_NE(off, on);  // the state shows
        }
        EXPECT_EQ(IsTransparentTyp(c.typ), c.transparent);
        auto s = NewSwitch();
        s->resize(300, 300);
        s->SetTyp(uint8_t(c.typ));
        EXPECT_EQ(s->GetBisteHSkalierbar(), c.scalable);
        // A picture that does not scale snaps the element to its size plus the frame; the
        // others keep the element's size.
        EXPECT_EQ(s->size(), c.scalable ? QSize(300, 300) : c.on + QSize(6, 6));
    }
    EXPECT_TRUE(SwitchPicture(5, 0, true).isNull());  // no such colour
    auto s = NewSwitch();
    s->SetFarbe(7);
    EXPECT_TRUE(s->BildEin.isNull());
    EXPECT_TRUE(s->BildAus.isNull());
}

TEST_F(SwitchElementTest, PictureLookShowsTheStateAtThePixelsOfTheLever)
{
    QWidget page;
    page.resize(100, 100);
    auto* s = NewElement<TSchalter>(&page);
    s->move(0, 0);
    // Toggle switch II: the lever's ball sits at the top while on, at the bottom while off.
    const QImage off = Picture(*s);
    s->SetEingeschaltet(true);
    const QImage on = Picture(*s);
    const int f = s->FrameWidth();
    EXPECT_EQ(PixelAt(off, f + 13, f + 4), PixelAt(on, f + 13, f + 35));
    EXPECT_NE(PixelAt(off, f + 13, f + 4), PixelAt(on, f + 13, f + 4));
    // The key colour of a transparent type is left out: the frame's background shows.
    EXPECT_EQ(PixelAt(on, f, f), FPState().DesignPanelColor);
}

TEST_F(SwitchElementTest, TurnedPicturesSwapTheirSides)
{
    auto s = NewSwitch();
    s->SetTyp(Wippschalter);  // 25 x 34
    s->Drehung = 1;
    s->SetFarbe(s->Farbe);
    EXPECT_EQ(s->BildEin.size(), QSize(34, 25));
    EXPECT_EQ(s->size(), QSize(40, 31));
}

TEST_F(SwitchElementTest, MouseOperatesSwitchesAndPushButtons)
{
    auto s = NewSwitch();
    Mouse(*s, QEvent::MouseButtonPress, Qt::LeftButton);
    EXPECT_TRUE(s->State());
    Mouse(*s, QEvent::MouseButtonRelease, Qt::LeftButton);
    EXPECT_TRUE(s->State());  // a switch ignores releases
    Mouse(*s, QEvent::MouseButtonPress, Qt::RightButton);
    Mouse(*s, QEvent::MouseButtonRelease, Qt::RightButton);
    EXPECT_TRUE(s->State());  // the right button only gives the focus
    Mouse(*s, QEvent::MouseButtonPress, Qt::LeftButton);
    EXPECT_FALSE(s->State());

    auto p = NewSwitch(true);
    Mouse(*p, QEvent::MouseButtonPress, Qt::LeftButton);
    EXPECT_TRUE(p->State());
    QMouseEvent away(QEvent::MouseMove, QPointF(500, 500), QPointF(500, 500), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(p.get(), &away);
    EXPECT_TRUE(p->State());  // held, also outside
    Mouse(*p, QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(500, 500));
    EXPECT_FALSE(p->State());
}

TEST_F(SwitchElementTest, WheelSwitchesOnlySwitches)
{
    auto s = NewSwitch();
    Wheel(*s, 120);
    EXPECT_TRUE(s->State());
    Wheel(*s, 120);
    EXPECT_TRUE(s->State());
    Wheel(*s, -120);
    EXPECT_FALSE(s->State());
    auto p = NewSwitch(true);
    Wheel(*p, 120);
    EXPECT_FALSE(p->State());
}

TEST_F(SwitchElementTest, KeysOfAFocusedElement)
{
    struct Case {
        int key;
        bool from, to;
    } cases[] = {
        {Qt::Key_PageUp, false, true},   {Qt::Key_End, false, true},
        {Qt::Key_PageDown, true, false}, {Qt::Key_Home, true, false},
        {Qt::Key_Space, false, true},    {Qt::Key_Space, true, false},
        {Qt::Key_A, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        auto s = NewSwitch();
        s->SetEingeschaltet(c.from);
        Key(*s, QEvent::KeyPress, c.key);
        EXPECT_EQ(s->State(), c.to);
        Key(*s, QEvent::KeyRelease, c.key);
        EXPECT_EQ(s->State(), c.to);

        auto p = NewSwitch(true);
        Key(*p, QEvent::KeyPress, c.key);
        EXPECT_EQ(p->State(), c.key != Qt::Key_A);
        Key(*p, QEvent::KeyRelease, c.key);
        EXPECT_FALSE(p->State());
    }
}

TEST_F(SwitchElementTest, HotkeyActions)
{
    auto s = NewSwitch();
    const uint16_t keys[] = {'A', 'B', 'C', 'D'};
    for (int i = 0; i < 4; ++i) {
        s->Hotkeys[size_t(i)]->Key = keys[i];
        s->Hotkeys[size_t(i)]->Action = i + 1;
    }
    s->Vorgabe = true;
    auto tap = [&](uint16_t key) {
        s->HotkeyDown(key, 0);
        s->HotkeyUp(key, 0);
    };
    tap('A');
    EXPECT_TRUE(s->State());  // toggle
    tap('A');
    EXPECT_FALSE(s->State());
    tap('B');
    EXPECT_TRUE(s->State());  // on
    tap('C');
    EXPECT_FALSE(s->State());  // off
    tap('D');
    EXPECT_TRUE(s->State());  // start value

    auto p = NewSwitch(true);
    p->Hotkeys[0]->Key = 'A';
    p->Hotkeys[0]->Action = 1;
    p->HotkeyDown('A', 0);
    EXPECT_TRUE(p->State());
    p->HotkeyUp('A', 0);
    EXPECT_FALSE(p->State());
}

TEST_F(SwitchElementTest, SetTasterMakesAPushButtonAndKeepsActionNumbers)
{
    auto s = NewSwitch();
    s->Hotkeys[0]->Action = 3;
    s->SetTaster(true);
    EXPECT_TRUE(s->Taster);
    EXPECT_EQ(s->Typ, Druckschalter);
    EXPECT_EQ(s->Hint, QStringLiteral("Taster"));
    EXPECT_EQ(s->ActionNames, QStringList({" --- ", "= PSH"}));
    EXPECT_EQ(s->Hotkeys[0]->Action, 3);
    s->SetTaster(false);
    EXPECT_EQ(s->Typ, Druckschalter);  // false keeps type and hint
    EXPECT_EQ(s->Hint, QStringLiteral("Taster"));
    EXPECT_EQ(s->ActionNames.size(), 5);
}

TEST_F(SwitchElementTest, PublishedPageClickPulsesAPushButtonFor250ms)
{
    TScopedFakeClock clock;
    clock.clock.AdvanceMs(1000);
    auto p = NewSwitch(true);
    p->WebAction(2);
    EXPECT_TRUE(p->GetEingeschaltet());
    clock.clock.AdvanceMs(250);
    EXPECT_TRUE(p->GetEingeschaltet());  // not more than 250 ms yet
    clock.clock.AdvanceMs(1);
    EXPECT_TRUE(p->GetEingeschaltet());  // the read that ends the pulse still says on
    EXPECT_FALSE(p->GetEingeschaltet());

    // A click at tick count 0 pulses too.
    TScopedFakeClock zero;
    auto q = NewSwitch(true);
    q->WebAction(2);
    zero.clock.AdvanceMs(300);
    EXPECT_TRUE(q->GetEingeschaltet());
    EXPECT_FALSE(q->GetEingeschaltet());

    auto s = NewSwitch();
    s->WebAction(2);
    EXPECT_TRUE(s->State());
    zero.clock.AdvanceMs(1000);
    EXPECT_TRUE(s->GetEingeschaltet());  // a switch toggles and starts no pulse
    EXPECT_TRUE(s->GetEingeschaltet());
    s->WebAction(2);
    EXPECT_FALSE(s->State());
}

TEST_F(SwitchElementTest, PublishedPictureOperatesTheSwitch)
{
    QTemporaryDir dir;
    WebState().DataFolder = dir.path() + u'/';
    WebState().ClientNumber = 2;
    auto s = NewSwitch();
    s->QualifiedName = QStringLiteral("Anlage:1.S1");
    s->Hint = QStringLiteral("Pumpe");
    QStringList lines;
    s->WriteWebSnapshot(lines);
    // One linked picture whose click comes back as action 2; no image map.
    EXPECT_EQ(lines, QStringList{QStringLiteral(
                         "<A HREF=\"/Details?ClientNo=2&amp;FPLNo=0&amp;Control=Anlage%3A1.S1&amp;Action=2\">"
                         "<IMG BORDER=\"0\" SRC=\"/TempFiles/Anlage%201.S1.jpg\" Alt=\"Pumpe\"></A> ")});
    const QImage picture(dir.path() + QStringLiteral("/TempFiles/Anlage 1.S1.jpg"));
    EXPECT_EQ(picture.size(), s->size());
    ResetWebState();
}

TEST_F(SwitchElementTest, StreamRoundTripOfEveryLook)
{
    for (int16_t look = dsBild; look <= dsPlastik; ++look) {
        SCOPED_TRACE(look);
        auto a = NewSwitch();
        a->Darstellung = look;
        a->SetTyp(Wippe2);
        a->SetFarbe(blau);
        a->Drehung = 2;
        a->SetFarbe(blau);
        a->Vorgabe = true;
        a->Hint = QStringLiteral("Pumpe");
        a->Schaltflaeche->SetCaption(QStringLiteral("Start"));
        a->Schaltflaeche->SetBeginColor(0x112233);
        a->Schaltflaeche->SetEndColor(0x445566);
        a->Schaltflaeche->SetGradientStyle(gsVertical);
        a->Schaltflaeche->SetTextStyle(tsInset);
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setPixelSize(13);
        f.setBold(true);
        f.setUnderline(true);
        a->Schaltflaeche->setFont(f);
        a->Schaltflaeche->SetFontColor(0x0000FF);
        a->BildEin = QImage(7, 5, QImage::Format_RGB32);
        a->BildEin.fill(Qt::green);
        a->BildAus = QImage(7, 5, QImage::Format_RGB32);
        a->BildAus.fill(Qt::red);
        a->Lampe->SetLedPlasticColor(0x00FF00);
        a->Lampe->SetLedClass(ixlcTriangle);
        a->Lampe->SetAngle(-900);
        a->Lampe->SetOuterBorderDepth(4);
        a->resize(120, 90);
        a->ShowLookFaces();
        // Written while on: the face shows its colours exchanged, the stream its off order.
        a->SetEingeschaltet(true);
        const QByteArray bytes = Written(*a);

        auto b = NewSwitch();
        EXPECT_EQ(ReadStream(bytes, [&](TReader& r) { b->ReadElementData(r, 44); }), 0);
        EXPECT_EQ(b->Darstellung, look);
        EXPECT_EQ(b->Typ, Wippe2);
        EXPECT_EQ(b->Farbe, blau);
        EXPECT_EQ(b->Drehung, 2);
        EXPECT_TRUE(b->Vorgabe);
        EXPECT_TRUE(b->State());
        EXPECT_EQ(b->Hint, QStringLiteral("Pumpe"));
        EXPECT_EQ(b->size(), QSize(120, 90));
        EXPECT_EQ(b->Schaltflaeche->Caption(), QStringLiteral("Start"));
        EXPECT_EQ(b->Schaltflaeche->BeginColor(), a->Schaltflaeche->BeginColor());
        EXPECT_EQ(b->Schaltflaeche->EndColor(), a->Schaltflaeche->EndColor());
        EXPECT_EQ(b->Schaltflaeche->GradientStyle(), gsVertical);
        EXPECT_EQ(b->Schaltflaeche->TextStyle(), tsInset);
        EXPECT_EQ(b->Schaltflaeche->font().family(), QStringLiteral("DejaVu Sans"));
        EXPECT_EQ(TFP_Element::FontHeightOf(b->Schaltflaeche->font()), -13);
        EXPECT_TRUE(b->Schaltflaeche->font().bold());
        EXPECT_TRUE(b->Schaltflaeche->font().underline());
        EXPECT_FALSE(b->Schaltflaeche->font().italic());
        EXPECT_EQ(b->Schaltflaeche->FontColor(), 0x0000FF);
        EXPECT_EQ(b->Schaltflaeche->isVisibleTo(b.get()), look == dsSchaltflaeche);
        EXPECT_EQ(b->Lampe->isVisibleTo(b.get()), look == dsPlastik);
        b->SetEingeschaltet(false);
        a->SetEingeschaltet(false);
        EXPECT_EQ(b->Schaltflaeche->BeginColor(), a->Schaltflaeche->BeginColor());
        EXPECT_EQ(b->Schaltflaeche->BeginColor(), 0x112233);
        if (look == dsBenutzerBild) {
            EXPECT_EQ(b->BildEin.pixel(3, 3), QColor(Qt::green).rgb());
            EXPECT_EQ(b->BildAus.size(), QSize(7, 5));
        }
        if (look == dsPlastik) {
            EXPECT_EQ(b->Lampe->LedPlasticColor(), 0x00FF00);
            EXPECT_EQ(b->Lampe->LedClass(), ixlcTriangle);
            EXPECT_EQ(b->Lampe->Angle(), -900);
            EXPECT_EQ(b->Lampe->OuterBorderDepth(), 4);
        }
    }
}

TEST_F(SwitchElementTest, OlderStreamsStopAtTheirVersion)
{
    // Version 1: index, transparency, colour, type, start state.
    const QByteArray v1 = StreamOf([](TWriter& w) {
        w.WriteInteger(1);
        w.WriteBoolean(false);
        w.WriteRawByte(rot);
        w.WriteRawByte(Drehschalter);
        w.WriteBoolean(true);
    });
    auto a = NewSwitch();
    EXPECT_EQ(ReadStream(v1, [&](TReader& r) { a->ReadElementData(r, 1); }), 0);
    EXPECT_EQ(a->Typ, Drehschalter);
    EXPECT_EQ(a->Farbe, rot);
    EXPECT_TRUE(a->State());
    EXPECT_EQ(a->Darstellung, dsBild);
    EXPECT_EQ(a->Schaltflaeche->Caption(), QStringLiteral("Click"));  // the default face
    EXPECT_EQ(a->size(), QSize(46, 46));

    // Version 2 adds the face: a button look, no rotation.
    const QByteArray v2 = StreamOf([](TWriter& w) {
        w.WriteInteger(1);
        w.WriteBoolean(false);
        w.WriteRawByte(gruen);
        w.WriteRawByte(Wippschalter);
        w.WriteBoolean(false);
        w.WriteBoolean(true);
        w.WriteString(QStringLiteral("Los"));
        w.WriteRawInt32(0x0000FF);
        w.WriteRawInt32(0x00FF00);
        w.WriteRawByte(gsHorizontal);
        w.WriteRawByte(tsRaised);
        w.WriteInteger(80);
        w.WriteInteger(30);
        w.WriteRawShortString(QStringLiteral("Arial"), 31);
        w.WriteRawInt16(-11);
        w.WriteRawByte(2);
        w.WriteRawInt32(0x808080);
    });
    auto b = NewSwitch();
    EXPECT_EQ(ReadStream(v2, [&](TReader& r) { b->ReadElementData(r, 2); }), 0);
    EXPECT_EQ(b->Darstellung, dsSchaltflaeche);
    EXPECT_EQ(b->Drehung, 0);
    EXPECT_EQ(b->Schaltflaeche->Caption(), QStringLiteral("Los"));
    EXPECT_EQ(b->Schaltflaeche->TxtHiliteClr(), 0x0000FF);
    EXPECT_EQ(b->Schaltflaeche->TxtShadowClr(), 0x00FF00);
    EXPECT_TRUE(b->Schaltflaeche->font().italic());
    EXPECT_EQ(b->size(), QSize(80, 30));
    EXPECT_TRUE(b->Schaltflaeche->isVisibleTo(b.get()));
}

TEST_F(SwitchElementTest, ButtonFaceShowsExchangedColoursWhileOn)
{
    auto s = NewSwitch();
    s->Darstellung = dsSchaltflaeche;
    s->resize(80, 30);
    s->ShowLookFaces();
    const QImage off = s->Schaltflaeche->Render();
    s->SetEingeschaltet(true);
    const QImage on = s->Schaltflaeche->Render();
    // Horizontal gradient from 0xC0C0C0 to 0x808080: while on it runs the other way.
    EXPECT_EQ(PixelAt(off, 3, 15), PixelAt(on, 76, 15));
    EXPECT_NE(PixelAt(off, 3, 15), PixelAt(on, 3, 15));
    EXPECT_TRUE(s->Schaltflaeche->Lowered());
}

TEST_F(SwitchElementTest, PlasticLampLookLightsWithTheState)
{
    auto s = NewSwitch();
    s->Darstellung = dsPlastik;
    s->resize(60, 40);
    s->ShowLookFaces();
    s->SetEingeschaltet(true);
    EXPECT_TRUE(s->Lampe->LedOn());
    EXPECT_EQ(s->Lampe->OuterBorderStyle(), ixblsDown);
    s->SetEingeschaltet(false);
    EXPECT_FALSE(s->Lampe->LedOn());
    EXPECT_EQ(s->Lampe->OuterBorderStyle(), ixblsUp);
    EXPECT_EQ(s->Lampe->size(), QSize(60, 40));
}

TEST_F(SwitchElementTest, SettingsFileKeepsTheStateOfSwitchesOnly)
{
    QTemporaryDir dir;
    TIniFile ini(dir.filePath(QStringLiteral("a.set")));
    auto s = NewSwitch();
    s->ElementName = QStringLiteral("S1");
    auto p = NewSwitch(true);
    p->ElementName = QStringLiteral("T1");
    EXPECT_FALSE(s->LoadSettings(ini, QStringLiteral("MainModul"), true));
    EXPECT_TRUE(p->LoadSettings(ini, QStringLiteral("MainModul"), true));
    s->SetEingeschaltet(true);
    p->SetEingeschaltet(true);
    s->SaveSettings(ini, QStringLiteral("MainModul"));
    p->SaveSettings(ini, QStringLiteral("MainModul"));
    EXPECT_TRUE(ini.ValueExists(QStringLiteral("MainModul.S1"), QStringLiteral("Status")));
    EXPECT_FALSE(ini.SectionExists(QStringLiteral("MainModul.T1")));
    auto t = NewSwitch();
    t->ElementName = QStringLiteral("S1");
    EXPECT_TRUE(t->LoadSettings(ini, QStringLiteral("MainModul"), true));
    EXPECT_TRUE(t->LoadSettings(ini, QStringLiteral("MainModul"), false));
    EXPECT_TRUE(t->State());
    // Without the key the start value applies.
    auto u = NewSwitch();
    u->ElementName = QStringLiteral("S9");
    u->Vorgabe = true;
    EXPECT_TRUE(u->LoadSettings(ini, QStringLiteral("MainModul"), false));
    EXPECT_TRUE(u->State());
}
