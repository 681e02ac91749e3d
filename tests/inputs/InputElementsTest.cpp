// The operator elements: the knob's and the slider's value rules (tapers, ranges, steps),
// mouse, wheel, key, hotkey and web operation, the hex selector's wrap-around, the joystick's
// pixel grid, detent and spring-back, the thumbwheel's notch queue, and every element's
// stream, settings and dialog.

#include "frontpanel/ElementTestSupport.h"

#include "frontpanel/elements/FPJoystick.h"
#include "frontpanel/elements/HexInput.h"
#include "frontpanel/elements/Poti.h"
#include "frontpanel/elements/Slider.h"
#include "frontpanel/elements/Thumbwheel.h"
#include "platform/Clock.h"
#include "platform/IniFile.h"
#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"
#include "ui/Hotkey.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"
#include "widgets/GraphicControl.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QToolButton>
#include "platform/Colors.h"
#include "widgets/SpeedButton.h"
#include <QWheelEvent>

#include <cmath>
#include <limits>

namespace {

using InputElementsTest = FrontPanelTest;

constexpr double kNan = std::numeric_limits<double>::quiet_NaN();

void Mouse(QWidget& w, QEvent::Type type, QPoint at, Qt::MouseButton button = Qt::LeftButton)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, QPointF(at), QPointF(w.mapToGlobal(at)), type == QEvent::MouseMove ? Qt::NoButton : button,
                      held, Qt::NoModifier);
    QCoreApplication::sendEvent(&w, &event);
}

void Wheel(QWidget& w, int notches, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QWheelEvent event(QPointF(2, 2), QPointF(2, 2), QPoint(), QPoint(0, 120 * notches), Qt::NoButton, mods,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&w, &event);
}

void Key(QWidget& w, int key, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QKeyEvent event(QEvent::KeyPress, key, mods);
    QCoreApplication::sendEvent(&w, &event);
}

void Hotkey(TFP_Element& e, int action)
{
    e.Hotkeys[0]->Action = action;
    e.Hotkeys[0]->Key = 'A';
    e.HotkeyDown('A', 0);
    e.HotkeyUp('A', 0);
}

// The editor of the first dialog row with this caption.
template <class T>
T* RowNamed(QDialog& d, const QString& caption)
{
    for (const auto& row : static_cast<TDefault_Dlg&>(d).PropScrollbox->Rows())
        if (row->Editor->NameLabel->text() == caption)
            return dynamic_cast<T*>(row->Editor);
    return nullptr;
}

QStringList RowCaptions(QDialog& d)
{
    QStringList captions;
    for (const auto& row : static_cast<TDefault_Dlg&>(d).PropScrollbox->Rows())
        captions << row->Editor->NameLabel->text();
    return captions;
}

// Writes the element's data and reads them into a second element of its class.
template <class E>
void RoundTrip(E& from, E& to, uint8_t version = 44)
{
    const QByteArray bytes = StreamOf([&](TWriter& w) { from.WriteElementData(w); });
    EXPECT_EQ(ReadStream(bytes, [&](TReader& r) { to.ReadElementData(r, version); }), 0);
}

} // namespace

// --- Potentiometer ------------------------------------------------------------------------------

TEST_F(InputElementsTest, PotiValueFollowsPositionTaperAndRange)
{
    const struct {
        int taper;
        double lo, hi, set;
        int position;
        double value;
    } cases[] = {
        {0, 0, 100, 50.3, 100, 50.0},    // nearest step at or below
        {0, 0, 100, -5, 0, 0.0},         // below the range
        {0, 0, 100, 1e9, 200, 100.0},    // above it
        {0, 0, 100, kNan, 0, 0.0},       // no number: the low end
        {0, 100, 0, 30, 140, 30.0},      // falling range
        {0, 100, 0, 500, 0, 100.0},
        {1, 0, 100, 24.1, 100, 100 * (std::sqrt(10.0) - 1) / 9},
        {2, 0, 100, 76.1, 100, 100 - 100 * (std::sqrt(10.0) - 1) / 9},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.set);
        TPoti p;
        p.MinWert = c.lo;
        p.MaxWert = c.hi;
        p.SetCharakteristik(uint8_t(c.taper));
        p.SetWert(c.set);
        EXPECT_EQ(p.Stellung, c.position);
        EXPECT_NEAR(double(p.GetWert()), c.value, 1e-9);
        EXPECT_GE(p.GetWert(), std::min(c.lo, c.hi));
        EXPECT_LE(p.GetWert(), std::max(c.lo, c.hi));
    }
    TPoti p;
    p.SetAufloesung(5000);
    EXPECT_EQ(p.Aufloesung, 1000);
    p.SetAufloesung(3);
    EXPECT_EQ(p.Aufloesung, 10);
    // Bounds are never made equal.
    p.SetMinWert(100);
    EXPECT_EQ(p.MinWert, 0);
    TDPoti d;
    d.SetWert(200.7);
    EXPECT_EQ(d.Stellung, 200);
    EXPECT_EQ(d.GetWert(), 200);
}

TEST_F(InputElementsTest, PotiTurnsByDragWheelKeysHotkeysAndWeb)
{
    TPoti p;
    p.resize(96, 96);
    p.SetStellung(50);
    // 30 to the right and 10 down: 20 steps.
    Mouse(p, QEvent::MouseButtonPress, {40, 40});
    Mouse(p, QEvent::MouseMove, {70, 50});
    Mouse(p, QEvent::MouseButtonRelease, {70, 50});
    EXPECT_EQ(p.Stellung, 70);
    // The end of the range holds.
    Mouse(p, QEvent::MouseButtonPress, {0, 0});
    Mouse(p, QEvent::MouseMove, {-500, 500});
    Mouse(p, QEvent::MouseButtonRelease, {-500, 500});
    EXPECT_EQ(p.Stellung, 0);
    Wheel(p, -1);
    EXPECT_EQ(p.Stellung, 0);
    Wheel(p, 1);
    EXPECT_EQ(p.Stellung, 1);
    const struct {
        int key, position;
    } keys[] = {{Qt::Key_End, 200}, {Qt::Key_PageUp, 200}, {Qt::Key_PageDown, 199}, {Qt::Key_Home, 0}};
    for (const auto& k : keys) {
        Key(p, k.key);
        EXPECT_EQ(p.Stellung, k.position) << k.key;
    }
    p.Vorgabe = 25;
    const struct {
        int action, position;
    } hotkeys[] = {{2, 200}, {6, 199}, {1, 0}, {5, 1}, {3, 100}, {4, 50}};
    for (const auto& h : hotkeys) {
        Hotkey(p, h.action);
        EXPECT_EQ(p.Stellung, h.position) << h.action;
    }
    p.WebAction(105);
    EXPECT_EQ(p.Stellung, 100);
    p.WebAction(110);
    EXPECT_EQ(p.Stellung, 200);
    p.WebAction(100);
    EXPECT_EQ(p.Stellung, 0);
}

TEST_F(InputElementsTest, PotiDetentStopsAtTheMiddleAndSkipsFifteenMoves)
{
    TPoti p;
    p.Einrasten = true;
    p.SetStellung(90);
    Mouse(p, QEvent::MouseButtonPress, {0, 0});
    Mouse(p, QEvent::MouseMove, {40, 0});
    EXPECT_EQ(p.Stellung, 100);
    for (int i = 1; i <= 15; ++i)
        Mouse(p, QEvent::MouseMove, {40 + 10 * i, 0});
    EXPECT_EQ(p.Stellung, 100);
    Mouse(p, QEvent::MouseMove, {200, 0});
    EXPECT_EQ(p.Stellung, 110);
    Mouse(p, QEvent::MouseButtonRelease, {200, 0});
}

TEST_F(InputElementsTest, PotiStreamSettingsAndVersionGate)
{
    TPoti a;
    a.SetMinWert(-10);
    a.SetMaxWert(10);
    a.SetAufloesung(400);
    a.SetCharakteristik(1);
    a.Vorgabe = 2.5;
    a.Knopf = 7;
    a.ZeigerFarbe = 0x123456;
    a.SkalenFarbe = 0x654321;
    a.Skalenart = 3;
    a.Teilungen = 20;
    a.SkalenStart = 2;
    a.Abstand = 4;
    a.Einrasten = true;
    a.resize(80, 80);
    for (uint8_t version : {uint8_t(44), uint8_t(255)}) {
        TPoti b;
        RoundTrip(a, b, version);
        EXPECT_EQ(b.MinWert, -10);
        EXPECT_EQ(b.MaxWert, 10);
        EXPECT_EQ(b.Aufloesung, 400);
        EXPECT_EQ(b.Charakteristik, 1);
        EXPECT_EQ(b.Vorgabe, 2.5);
        EXPECT_EQ(b.Knopf, 7);
        EXPECT_EQ(b.ZeigerFarbe, 0x123456);
        EXPECT_EQ(b.SkalenFarbe, 0x654321);
        EXPECT_EQ(b.Skalenart, 3);
        EXPECT_EQ(b.Teilungen, 20);
        EXPECT_EQ(b.SkalenStart, 2);
        EXPECT_EQ(b.Abstand, 4);
        EXPECT_TRUE(b.Einrasten);
        EXPECT_EQ(b.size(), QSize(80, 80));
        // The start value is applied: the largest step not above it.
        EXPECT_LE(b.GetWert(), 2.5);
        EXPECT_GT(b.GetWert(), 2.4);
    }
    // Version 2 reads fields 1..6 only and is 40 x 40.
    const QByteArray v2 = StreamOf([](TWriter& w) {
        OldBase(w, 2);
        const double lo = -10, hi = 10, start = 0;
        w.WriteRawInt32(0xFF);
        w.WriteBuffer(&lo, 8);
        w.WriteBuffer(&hi, 8);
        w.WriteRawInt16(100);
        w.WriteRawByte(0);
        w.WriteBuffer(&start, 8);
    });
    TPoti c;
    EXPECT_EQ(ReadStream(v2, [&](TReader& r) { c.ReadElementData(r, 2); }), 0);
    EXPECT_EQ(c.size(), QSize(40, 40));
    EXPECT_EQ(c.Knopf, 0);
    EXPECT_EQ(c.Teilungen, 10);
    EXPECT_EQ(c.MaxWert, 10);

    // Settings: the value, kept within the range when it comes back.
    QTemporaryDir dir;
    TIniFile ini(dir.filePath(QStringLiteral("s.est")));
    a.ElementName = QStringLiteral("PT1");
    a.SetWert(5);
    EXPECT_FALSE(a.LoadSettings(ini, QStringLiteral("MainModul"), true));
    a.SaveSettings(ini, QStringLiteral("MainModul"));
    EXPECT_TRUE(a.LoadSettings(ini, QStringLiteral("MainModul"), true));
    const double saved = double(a.GetWert());
    a.SetWert(-3);
    EXPECT_TRUE(a.LoadSettings(ini, QStringLiteral("MainModul"), false));
    EXPECT_EQ(double(a.GetWert()), saved);
    ini.WriteFloat(QStringLiteral("MainModul.PT1"), QStringLiteral("Value"), 1e6);
    a.LoadSettings(ini, QStringLiteral("MainModul"), false);
    EXPECT_EQ(a.GetWert(), 10);
}

TEST_F(InputElementsTest, PotiDialogRowsAndWriteBack)
{
    const struct {
        bool digital;
        int help;
    } kinds[] = {{false, 18150}, {true, 18110}};
    for (const auto& k : kinds) {
        TScopedDialogResponder responder;
        QStringList captions;
        responder.Answer([&](QDialog& d) {
            captions = RowCaptions(d);
            EXPECT_EQ(static_cast<TDefault_Dlg&>(d).HelpContext, k.help);
            if (auto* range = RowNamed<TRangePropEditor>(d, QStringLiteral("Bereich"))) {
                // A new range that passes through the old one.
                range->MinEdit->setText(QStringLiteral("100"));
                range->MaxEdit->setText(QStringLiteral("300"));
            }
            RowNamed<TEditPropEditor>(d, QStringLiteral("Vorgabe"))->Edit->setText(QStringLiteral("1000"));
            return mrOk;
        });
        std::unique_ptr<TPoti> p(k.digital ? new TDPoti : new TPoti);
        p->userEdit = true;
        EXPECT_EQ(p->EditProperties(), mrOk);
        EXPECT_EQ(captions.contains(QStringLiteral("Bereich")), !k.digital);
        EXPECT_EQ(captions.contains(QStringLiteral("Auflösung")), !k.digital);
        EXPECT_TRUE(captions.contains(QStringLiteral("Zur Laufzeit einstellbar")));
        EXPECT_EQ(captions.count(QStringLiteral("Hotkey 10")), 1);
        // The start value is applied within the range.
        EXPECT_EQ(p->GetWert(), k.digital ? 255 : 300);
        EXPECT_EQ(p->MinWert, k.digital ? 0 : 100);
    }
}

// --- Slider -------------------------------------------------------------------------------------

TEST_F(InputElementsTest, SliderGeometryStepsAndRange)
{
    TSlider s;
    EXPECT_EQ(s.size(), QSize(32, 160));
    EXPECT_EQ(s.P0(), 11);
    EXPECT_EQ(s.P1(), 149);
    s.SetWert(128);
    EXPECT_EQ(s.GetStellung(), 80);
    EXPECT_EQ(s.Knopf->y() + s.Knopf->height() / 2, 160 - 80);
    // Whole values with fewer pixels than values: the wheel moves one pixel.
    const int before = s.GetStellung();
    Wheel(s, 1);
    EXPECT_EQ(s.GetStellung(), before + 1);
    // Range 0..10: one value per notch.
    s.SetMaxWert(10);
    s.SetWert(4);
    Wheel(s, 1);
    EXPECT_EQ(s.GetWert(), 5);
    Key(s, Qt::Key_PageDown);
    Key(s, Qt::Key_PageDown);
    EXPECT_EQ(s.GetWert(), 3);
    Key(s, Qt::Key_End);
    EXPECT_EQ(s.GetStellung(), s.P1());
    Key(s, Qt::Key_Home);
    EXPECT_EQ(s.GetStellung(), s.P0());
    // Values outside the range, or none at all, stop at its ends for every taper.
    for (int taper = 0; taper < 3; ++taper) {
        s.Charakteristik = uint8_t(taper);
        const struct {
            double set, value;
        } cases[] = {{-50, 0}, {1e9, 10}, {kNan, 0}, {10, 10}, {0, 0}};
        for (const auto& c : cases) {
            s.SetWert(c.set);
            EXPECT_EQ(s.GetWert(), c.value) << taper << " " << c.set;
        }
    }
    s.Charakteristik = 0;
    s.WebAction(110);
    EXPECT_EQ(s.GetStellung(), 80);
    s.WebAction(120);
    EXPECT_EQ(s.GetStellung(), s.P1());
    Hotkey(s, 3);
    EXPECT_EQ(s.GetStellung(), 80);
    // Turning the slider exchanges width and height and keeps the value.
    s.SetWert(7);
    s.SetSenkrecht(false);
    EXPECT_EQ(s.size(), QSize(160, 32));
    EXPECT_EQ(s.Knopf->size(), QSize(10, 26));
    EXPECT_EQ(s.GetWert(), 7);
}

TEST_F(InputElementsTest, SliderKnobDragFollowsThePointerAndSnaps)
{
    TSlider s;
    s.SetWert(0);
    // Drag the knob to 40 pixels above the bottom.
    Mouse(*s.Knopf, QEvent::MouseButtonPress, {13, 5});
    const QPoint target = s.Knopf->mapFromParent(QPoint(16, 160 - 40));
    Mouse(*s.Knopf, QEvent::MouseMove, target);
    EXPECT_EQ(s.GetStellung(), s.PositionOf(s.ValueAt(40)));
    EXPECT_EQ(s.GetWert(), std::round((40.0 - 11) / 138 * 255));
    Mouse(*s.Knopf, QEvent::MouseButtonRelease, target);
    // Past the middle with the detent: it stops there.
    s.Einrasten = true;
    Mouse(*s.Knopf, QEvent::MouseButtonPress, {13, 5});
    Mouse(*s.Knopf, QEvent::MouseMove, s.Knopf->mapFromParent(QPoint(16, 10)));
    EXPECT_EQ(s.GetStellung(), s.PositionOf(s.ValueAt(11 + 69)));
    Mouse(*s.Knopf, QEvent::MouseButtonRelease, {0, 0});
}

TEST_F(InputElementsTest, SliderStreamVersionGateAndDialogMend)
{
    TSlider a;
    a.SetMinWert(-20);
    a.SetMaxWert(20);
    a.GanzWert = false;
    a.Vorgabe = 5;
    a.Charakteristik = 2;
    a.Skalenart = 0;
    a.Teilungen = 7;
    a.SkalenStart = 3;
    a.Abstand = 5;
    a.Einrasten = true;
    a.SetSenkrecht(false);
    TSlider b;
    RoundTrip(a, b);
    EXPECT_EQ(b.MinWert, -20);
    EXPECT_EQ(b.MaxWert, 20);
    EXPECT_FALSE(b.GanzWert);
    EXPECT_FALSE(b.Senkrecht);
    EXPECT_EQ(b.size(), QSize(160, 32));
    EXPECT_EQ(b.Charakteristik, 2);
    EXPECT_EQ(b.Skalenart, 0);
    EXPECT_EQ(b.Teilungen, 7);
    EXPECT_EQ(b.SkalenStart, 3);
    EXPECT_EQ(b.Abstand, 5);
    EXPECT_TRUE(b.Einrasten);
    EXPECT_NEAR(double(b.GetWert()), 5, 0.5);
    // Before version 3 the scale and knob fields keep their defaults.
    TSlider c;
    const QByteArray v2 = StreamOf([](TWriter& w) {
        OldBase(w, 2);
        w.WriteRawInt32(0x808080);
        w.WriteRawInt32(0xD8E9EC);
        w.WriteRawByte(1);
        w.WriteRawInt16(100);
        w.WriteRawInt16(0);
        w.WriteRawByte(1);
        w.WriteRawInt16(160);
        w.WriteRawInt16(32);
        w.WriteInteger(40);
    });
    EXPECT_EQ(ReadStream(v2, [&](TReader& r) { c.ReadElementData(r, 2); }), 0);
    EXPECT_EQ(c.MaxWert, 100);
    EXPECT_EQ(c.GetWert(), 40);
    EXPECT_EQ(c.Teilungen, 20);
    EXPECT_EQ(c.Abstand, 2);
    EXPECT_EQ(c.Charakteristik, 0);
    EXPECT_FALSE(c.Einrasten);

    // The dialog takes the range and start value only as different whole numbers; the start
    // value is kept within the range.
    const struct {
        const char *lo, *hi, *start;
        int min, max, vorgabe;
        bool message;
    } cases[] = {{"10", "50", "70", 10, 50, 50, false},
                 {"10", "50", "abc", 0, 255, 0, true},
                 {"5", "5", "5", 0, 255, 0, true},
                 {"1.5", "9", "3", 0, 255, 0, true}};
    for (const auto& k : cases) {
        TScopedDialogResponder responder;
        TScopedMessageResponder messages;
        responder.Answer([&](QDialog& d) {
            auto* range = RowNamed<TRangePropEditor>(d, QStringLiteral("Bereich"));
            range->MinEdit->setText(QString::fromLatin1(k.lo));
            range->MaxEdit->setText(QString::fromLatin1(k.hi));
            RowNamed<TEditPropEditor>(d, QStringLiteral("Vorgabe"))->Edit->setText(QString::fromLatin1(k.start));
            return mrOk;
        });
        TSlider s;
        s.userEdit = true;
        EXPECT_EQ(s.EditProperties(), mrOk);
        EXPECT_EQ(s.MinWert, k.min);
        EXPECT_EQ(s.MaxWert, k.max);
        EXPECT_EQ(s.Vorgabe, k.vorgabe);
        EXPECT_EQ(s.GetWert(), k.vorgabe);
        EXPECT_EQ(messages.Requests().size(), k.message ? 1u : 0u) << k.lo << " " << k.start;
    }
}

// --- Hex selector -------------------------------------------------------------------------------

TEST_F(InputElementsTest, HexInputWrapsAndStaysInItsModesRange)
{
    const struct {
        bool decimal;
        int from, step, to;
    } cases[] = {{false, 15, +1, 0}, {false, 0, -1, 15}, {true, 9, +1, 0}, {true, 0, -1, 9}, {false, 7, +1, 8}};
    for (const auto& c : cases) {
        THexInput h;
        h.SetDezimal(c.decimal);
        h.SetStand(c.from);
        (c.step > 0 ? h.PlusTaste : h.MinusTaste)->click();
        EXPECT_EQ(h.Stand, c.to) << c.decimal << " " << c.from;
    }
    THexInput h;
    h.SetStand(12);
    h.update();
    EXPECT_EQ(h.Zeichen, u'C');
    // A mode switch, a start value or a settings value outside the mode's range.
    h.SetDezimal(true);
    EXPECT_EQ(h.Stand, 9);
    h.Vorgabe = 14;
    h.ApplyStartValue();
    EXPECT_EQ(h.Stand, 9);
    h.SetStand(42);
    EXPECT_EQ(h.Stand, 9);
    h.SetStand(-7);
    EXPECT_EQ(h.Stand, 0);
    h.SetDezimal(false);
    Wheel(h, -1);
    EXPECT_EQ(h.Stand, 15);
    Key(h, Qt::Key_Home);
    EXPECT_EQ(h.Stand, 0);
    Key(h, Qt::Key_End);
    EXPECT_EQ(h.Stand, 15);
    h.WebAction(1);
    h.WebAction(4);
    EXPECT_EQ(h.Stand, 0);
    h.WebAction(5);
    EXPECT_EQ(h.Stand, 15);
    const struct {
        int action, stand;
    } hotkeys[] = {{1, 0}, {5, 15}, {2, 15}, {4, 0}, {3, 14}};
    for (const auto& k : hotkeys) {
        Hotkey(h, k.action);
        EXPECT_EQ(h.Stand, k.stand) << k.action;
    }
    // The buttons carry the digit's colour and lie flat only while the element is transparent.
    h.SetZeichenFarbe(0x00FF00);
    for (bool transparent : {true, false}) {
        h.SetBisteTransparent(transparent);
        for (TWLXSpeedButton* b : {h.PlusTaste, h.MinusTaste}) {
            EXPECT_EQ(b->FontColor(), transparent ? 0x00FF00 : clBlack) << transparent;
            EXPECT_EQ(b->ButtonStyle() == TWLXUserButtonStyle::ubsFlat, transparent);
        }
    }
}

TEST_F(InputElementsTest, HexInputStreamSettingsAndWebMap)
{
    THexInput a;
    a.ZeichenFarbe = 0x0000FF;
    a.SetHintergrundFarbe(0x202020);
    a.Vorgabe = 6;
    a.SetDezimal(true);
    THexInput b;
    RoundTrip(a, b);
    EXPECT_EQ(b.ZeichenFarbe, 0x0000FF);
    EXPECT_EQ(b.HintergrundFarbe, 0x202020);
    EXPECT_EQ(b.Vorgabe, 6);
    EXPECT_TRUE(b.Dezimal);
    EXPECT_EQ(b.Stand, 6);

    QTemporaryDir dir;
    TIniFile ini(dir.filePath(QStringLiteral("s.est")));
    b.ElementName = QStringLiteral("HI1");
    b.SetStand(3);
    b.SaveSettings(ini, QStringLiteral("M"));
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("M.HI1"), QStringLiteral("Value"), -1), 3);
    ini.WriteInteger(QStringLiteral("M.HI1"), QStringLiteral("Value"), 13);
    EXPECT_TRUE(b.LoadSettings(ini, QStringLiteral("M"), false));
    EXPECT_EQ(b.Stand, 9);

    QStringList lines;
    b.resize(54, 82);
    b.WriteWebImageMap(lines);
    ASSERT_EQ(lines.size(), 6);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("<img src=\"")));
    EXPECT_TRUE(lines[2].contains(QStringLiteral("Action=4")));
    EXPECT_TRUE(lines[3].contains(QStringLiteral("Action=5")));
    EXPECT_EQ(lines[5], QStringLiteral("</map>"));
}

// --- Joystick -----------------------------------------------------------------------------------

TEST_F(InputElementsTest, JoystickPixelGridDetentAndReturn)
{
    TFPJoystick j;
    EXPECT_EQ(j.size(), QSize(96, 96));
    // Border 6 and two bevels: 60 pixels of travel.
    EXPECT_EQ(j.Limits(), QRect(QPoint(18, 18), QPoint(78, 78)));
    EXPECT_EQ(j.GetPosition(), QPoint(0, 0));
    const struct {
        QPoint value, pixel;
    } grid[] = {{{-100, -100}, {18, 18}}, {{100, 100}, {78, 78}}, {{50, -50}, {63, 33}}, {{0, 0}, {48, 48}}};
    for (const auto& g : grid) {
        EXPECT_EQ(j.ValueToPixel(g.value), g.pixel);
        EXPECT_EQ(j.PixelToValue(g.pixel), g.value);
    }
    // Values beyond the range stop at its ends.
    j.SetPositionValue(500, -500);
    EXPECT_EQ(j.GetPosition(), QPoint(100, -100));

    // A drag within 4 pixels of the centre lines gives exactly 0 there; the knob is held.
    auto dragTo = [&](QPoint elementPoint) {
        Mouse(*j.Knopf, QEvent::MouseMove, j.Knopf->mapFromParent(elementPoint));
    };
    Mouse(*j.Knopf, QEvent::MouseButtonPress, {7, 7});
    EXPECT_TRUE(j.KnobHeld);
    dragTo({52, 96 - 70});
    EXPECT_EQ(j.GetPosition(), QPoint(0, j.PixelToValue({0, 70}).y()));
    dragTo({70, 96 - 45});
    EXPECT_EQ(j.GetPosition(), QPoint(j.PixelToValue({70, 0}).x(), 0));
    j.AutoReturn = true;
    j.StartPosition = QPoint(-50, 20);
    Mouse(*j.Knopf, QEvent::MouseButtonRelease, {7, 7});
    EXPECT_FALSE(j.KnobHeld);
    EXPECT_EQ(j.GetPosition(), QPoint(-50, 20));
    // A direction hotkey springs back when released.
    j.Hotkeys[0]->Action = 10;
    j.Hotkeys[0]->Key = 'A';
    j.HotkeyDown('A', 0);
    EXPECT_EQ(j.GetPosition(), QPoint(100, 100));
    j.HotkeyUp('A', 0);
    EXPECT_EQ(j.GetPosition(), QPoint(-50, 20));
    // Keys and the wheel: up the Y axis, across with Shift.
    j.AutoReturn = false;
    j.SetPositionValue(0, 0);
    Key(j, Qt::Key_End);
    EXPECT_EQ(j.GetPosition().y(), 100);
    Key(j, Qt::Key_Home, Qt::ShiftModifier);
    EXPECT_EQ(j.GetPosition().x(), -100);
    Wheel(j, 1, Qt::ShiftModifier);
    EXPECT_EQ(j.KnobPixel().x(), 19);
    // Resizing moves the knob to the start position.
    j.show();
    j.resize(120, 120);
    QCoreApplication::processEvents();
    EXPECT_EQ(j.Limits(), QRect(QPoint(18, 18), QPoint(102, 102)));
    EXPECT_EQ(j.KnobPixel(), j.ValueToPixel(QPoint(-50, 20)));
}

TEST_F(InputElementsTest, JoystickWebClickHoldsAQuarterSecond)
{
    TScopedFakeClock clock;
    clock.clock.AdvanceNs(int64_t(5000) * 1000000);
    TFPJoystick j;
    j.AutoReturn = true;
    j.WebAction(100 + 5 * 0 + 4);  // top right cell
    EXPECT_EQ(j.GetPosition(), QPoint(100, 100));
    clock.clock.AdvanceNs(int64_t(250) * 1000000);
    EXPECT_EQ(j.GetPosition(), QPoint(100, 100));
    clock.clock.AdvanceNs(int64_t(1) * 1000000);
    EXPECT_EQ(j.GetPosition(), QPoint(100, 100));  // the reading that ends the hold still sees it
    EXPECT_EQ(j.GetPosition(), QPoint(0, 0));
    j.AutoReturn = false;
    j.WebAction(100 + 5 * 3 + 1);
    EXPECT_EQ(j.GetPosition(), QPoint(-50, -50));
}

TEST_F(InputElementsTest, JoystickStreamSettingsAndDialog)
{
    TFPJoystick a;
    a.StartPosition = QPoint(30, -40);
    a.Mittelstellung = false;
    a.AutoReturn = true;
    a.SetKnobColour(0x00FF00);
    a.resize(120, 100);
    TFPJoystick b;
    RoundTrip(a, b);
    EXPECT_EQ(b.StartPosition, QPoint(30, -40));
    EXPECT_FALSE(b.Mittelstellung);
    EXPECT_TRUE(b.AutoReturn);
    EXPECT_EQ(b.Knopf->Farbe, 0x00FF00);
    EXPECT_EQ(b.size(), QSize(120, 100));
    // The knob stands on the pixel grid: the start position's nearest whole values.
    const QPoint start = b.PixelToValue(b.ValueToPixel(QPoint(30, -40)));
    EXPECT_EQ(b.GetPosition(), start);

    QTemporaryDir dir;
    TIniFile ini(dir.filePath(QStringLiteral("s.est")));
    b.ElementName = QStringLiteral("JST1");
    EXPECT_FALSE(b.LoadSettings(ini, QStringLiteral("M"), true));
    EXPECT_TRUE(b.LoadSettings(ini, QStringLiteral("M"), false));
    EXPECT_EQ(b.GetPosition(), start);
    b.SetPositionValue(-100, 100);
    b.SaveSettings(ini, QStringLiteral("M"));
    ini.WriteInteger(QStringLiteral("M.JST1"), QStringLiteral("ValueY"), 900);
    b.SetPositionValue(0, 0);
    EXPECT_TRUE(b.LoadSettings(ini, QStringLiteral("M"), true));
    b.LoadSettings(ini, QStringLiteral("M"), false);
    EXPECT_EQ(b.GetPosition(), QPoint(-100, 100));

    TScopedDialogResponder responder;
    responder.Answer([&](QDialog& d) {
        EXPECT_EQ(static_cast<TDefault_Dlg&>(d).HelpContext, 18175);
        RowNamed<TCheckPropEditor>(d, QStringLiteral("Automatische Rückstellung"))->Check->setChecked(false);
        return mrOk;
    });
    EXPECT_EQ(b.EditProperties(), mrOk);
    EXPECT_FALSE(b.AutoReturn);
}

// --- Thumbwheel ---------------------------------------------------------------------------------

TEST_F(InputElementsTest, ThumbwheelQueuesOneNotchPerMove)
{
    TFPRaendel r;
    EXPECT_EQ(r.size(), QSize(16, 32));
    QWidget& face = *r.Face;
    Mouse(face, QEvent::MouseButtonPress, {8, 16});
    Mouse(face, QEvent::MouseMove, {8, 2});     // far up: one notch
    Mouse(face, QEvent::MouseMove, {8, 2});     // no movement: none
    Mouse(face, QEvent::MouseMove, {8, 20});    // down
    Mouse(face, QEvent::MouseButtonRelease, {8, 20});
    Mouse(face, QEvent::MouseMove, {8, 0});     // not dragging
    Wheel(r, 1);
    Key(r, Qt::Key_End);
    Hotkey(r, 1);
    r.WebAction(5);
    EXPECT_EQ(std::vector<bool>(r.Events.begin(), r.Events.end()),
              (std::vector<bool>{true, false, true, false, true, false}));
    // The double-click that opens the dialog does not start a drag.
    TScopedDialogResponder responder;
    responder.Answer([&](QDialog& d) {
        RowNamed<TCheckPropEditor>(d, QStringLiteral("Waagerecht"))->Check->setChecked(true);
        return mrOk;
    });
    r.EditProperties();
    EXPECT_EQ(r.size(), QSize(32, 16));
    Mouse(face, QEvent::MouseButtonPress, {8, 8});
    Mouse(face, QEvent::MouseMove, {20, 8});
    EXPECT_EQ(r.Events.size(), 6u);
    // Horizontal: to the right is up.
    Mouse(face, QEvent::MouseButtonPress, {8, 8});
    Mouse(face, QEvent::MouseMove, {20, 8});
    EXPECT_EQ(r.Events.back(), true);

    QStringList lines;
    r.WriteWebImageMap(lines);
    ASSERT_EQ(lines.size(), 5);
    EXPECT_TRUE(lines[2].contains(QStringLiteral("coords=\"16,0,32,16\"")) && lines[2].contains(QStringLiteral("UP")));
    EXPECT_TRUE(lines[3].contains(QStringLiteral("coords=\"0,0,16,16\"")) && lines[3].contains(QStringLiteral("DOWN")));

    TFPRaendel copy;
    r.RaendelFarbe = 0x112233;
    RoundTrip(r, copy);
    EXPECT_TRUE(copy.Waagerecht);
    EXPECT_EQ(copy.RaendelFarbe, 0x112233);
    EXPECT_EQ(copy.size(), QSize(32, 16));
}

// --- Published pages ----------------------------------------------------------------------------

TEST_F(InputElementsTest, ImageMapsCarryEveryAction)
{
    TPoti poti;
    TSlider slider;
    TFPJoystick joystick;
    const struct {
        TFP_Element* element;
        int areas, first, last;
        const char* shape;
    } cases[] = {{&poti, 11, 100, 110, "poly"}, {&slider, 21, 100, 120, "rect"}, {&joystick, 25, 100, 124, "rect"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.element->ClassName());
        QStringList lines;
        c.element->WriteWebElement(lines);
        EXPECT_TRUE(lines.contains(QStringLiteral("<meta http-equiv=\"refresh\" content=\"3\">")));
        const QStringList areas = lines.filter(QStringLiteral("<area shape=\"") + QLatin1String(c.shape));
        ASSERT_EQ(areas.size(), c.areas);
        EXPECT_TRUE(areas.first().contains(QStringLiteral("Action=%1").arg(c.first)));
        EXPECT_TRUE(areas.last().contains(QStringLiteral("Action=%1").arg(c.last)));
    }
    // The slider's bottom band is 0 %, the top band 100 %.
    QStringList lines;
    slider.WriteWebImageMap(lines);
    const QStringList areas = lines.filter(QStringLiteral("<area"));
    EXPECT_TRUE(areas.first().contains(QStringLiteral("coords=\"0,142,32,149\"")));
    EXPECT_TRUE(areas.first().contains(QStringLiteral("alt=\"0%\"")));
    EXPECT_TRUE(areas.last().contains(QStringLiteral("alt=\"100%\"")));
}
