// The pointer instrument (value to pointer angle, the painted pointer, inertia, stream and
// dialog) and the two bar elements (value to lit LEDs or bar position, rise and fall, peak
// marker, colours, painted pixels, streams and dialogs).

#include "frontpanel/ElementTestSupport.h"

#include "frontpanel/elements/Bars.h"
#include "frontpanel/elements/Meter.h"
#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

#include <cmath>
#include <limits>
#include <numbers>

namespace {

using MeterAndBarsTest = FrontPanelTest;

// The light bar's colour just past the position of p percent, off its grid lines (every 4
// pixels from 1).
int32_t LightBarColourAt(const QImage& img, const TLeuchtbalken& bar, double p)
{
    const int pos = bar.PercentToPixel(p);
    return PixelAt(img, 8, pos + (pos % 4 == 0 ? 2 : 1));
}

constexpr double kPi = std::numbers::pi;
constexpr double kLeft = 5 * kPi / 4;
constexpr double kRight = 3 * kPi / 4;

// The editor of the first dialog row with this caption.
template <class T>
T* RowNamed(QDialog& d, const QString& caption)
{
    for (const auto& row : static_cast<TDefault_Dlg&>(d).PropScrollbox->Rows())
        if (row->Editor->NameLabel->text() == caption)
            return dynamic_cast<T*>(row->Editor);
    return nullptr;
}

// Red pixels (the pointer) within r pixels of p.
int RedNear(const QImage& img, QPoint p, int r)
{
    int n = 0;
    for (int y = p.y() - r; y <= p.y() + r; ++y)
        for (int x = p.x() - r; x <= p.x() + r; ++x)
            if (img.rect().contains(x, y) && PixelAt(img, x, y) == 0x0000FF)
                ++n;
    return n;
}

} // namespace

// --- Pointer instrument -----------------------------------------------------------------------

TEST_F(MeterAndBarsTest, ValueGivesThePointerAngleWithinTheRange)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        double left, right;
        int characteristic;
        double value, stored, angle;
    } cases[] = {
        {0, 100, 0, 150, 100, kRight},
        {0, 100, 0, -5, 0, kLeft},
        {0, 100, 0, 50, 50, kPi},
        {0, 100, 0, nan, 0, kLeft},
        {100, 0, 0, 25, 25, kRight + kPi / 8},  // falling: three quarters of the travel
        {100, 0, 1, 25, 25, kRight + kPi / 8},  // a falling scale is always linear
        {0, 100, 1, 10, 10, kLeft - std::log10(1.9) * kPi / 2},
        {0, 100, 2, 90, 90, kRight + std::log10(1.9) * kPi / 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.left << ".." << c.right << " " << c.characteristic << " " << c.value);
        TMeter m;
        m.SetMTraegheit(0);
        m.SetRange(c.left, c.right);
        m.MCharakteristik = uint8_t(c.characteristic);
        m.SetMWert(c.value);
        EXPECT_DOUBLE_EQ(m.MWert, c.stored);
        EXPECT_DOUBLE_EQ(m.Messwerk->ZielWinkel, c.angle);
        // Without inertia the pointer is there at once.
        EXPECT_EQ(m.Messwerk->ShownTip(), m.Messwerk->PointerTip(c.angle));
    }
}

TEST_F(MeterAndBarsTest, NewMeterAndItsRangeEnds)
{
    TMeter m;
    EXPECT_EQ(m.size(), QSize(160, 96));
    EXPECT_EQ(m.MEinheit, QStringLiteral("mA"));
    EXPECT_EQ(m.MWert, 0.0);
    EXPECT_DOUBLE_EQ(m.Messwerk->ZielWinkel, kLeft);
    EXPECT_EQ(m.Messwerk->LeftEnd.Text, QStringLiteral("0"));
    EXPECT_EQ(m.Messwerk->RightEnd.Text, QStringLiteral("100"));
    m.SetMRechts(0);  // equal to the left end: refused
    EXPECT_EQ(m.MRechts, 100.0);
    // A range turned round as a pair is taken (one end at a time it would be refused).
    m.SetRange(100, 0);
    EXPECT_EQ(m.MLinks, 100.0);
    EXPECT_EQ(m.MRechts, 0.0);
    m.SetMSkalenteile(150);
    EXPECT_EQ(m.Messwerk->Teilungen, 100);
}

TEST_F(MeterAndBarsTest, PointerIsPaintedWhereTheValuePutsIt)
{
    TMeter m;
    m.SetMTraegheit(0);
    tmesswerk& mw = *m.Messwerk;
    const QPoint pivot = mw.Pivot();
    auto along = [&](double angle) {
        const QPoint tip = mw.PointerTip(angle);
        return pivot + (tip - pivot) * 0.9;
    };
    const struct {
        double value;
        double lit, dark;  // angles where the pointer is and is not
    } cases[] = {{0, kLeft, kRight}, {100, kRight, kLeft}, {50, kPi, kLeft}};
    for (const auto& c : cases) {
        m.SetMWert(c.value);
        const QImage img = Picture(mw);
        EXPECT_GT(RedNear(img, along(c.lit), 2), 0) << c.value;
        EXPECT_EQ(RedNear(img, along(c.dark), 2), 0) << c.value;
    }
}

TEST_F(MeterAndBarsTest, InertiaMovesAPartOfTheWayPerTick)
{
    const struct {
        int inertia;
        double delta, moved;
    } cases[] = {
        {20, -1.0, -1.0 / 24},         // far: 5/6 of delta / inertia
        {20, -0.3, -0.3 / 10 / 6 * 5}, // close: 5/3 of delta / inertia
        {0, -1.0, 0},                  // no inertia: the timer does nothing
    };
    for (const auto& c : cases) {
        TMeter m;
        tmesswerk& mw = *m.Messwerk;
        mw.Traegheit = int16_t(c.inertia);
        Picture(mw);  // the timer works only after the first paint
        mw.IstWinkel = kLeft;
        mw.ZielWinkel = kLeft + c.delta;
        mw.InertiaTick();
        EXPECT_NEAR(mw.IstWinkel, kLeft + c.moved, 1e-12) << c.inertia << " " << c.delta;
    }
}

TEST_F(MeterAndBarsTest, MeterStreamRoundTripAndVersionGate)
{
    TMeter a;
    a.Messwerk->Typ = 4;  // square
    a.SetRange(100, -20);
    a.SetMEinheit(QStringLiteral("kV"));
    a.SetCaption(QString(25, QLatin1Char('c')));
    a.SetMTraegheit(7);
    a.SetMSkalenteile(30);
    a.SetMGrossStart(2);
    a.SetMGrossSchritt(3);
    a.SetFarbStil(schwarz);
    a.Messwerk->SpiegelFarbe = 0x123456;
    a.Messwerk->SkalenModus = 3;
    a.MCharakteristik = 2;
    a.resize(120, 120);
    const QByteArray bytes = StreamOf([&](TWriter& w) { a.WriteElementData(w); });
    for (uint8_t version : {uint8_t(44), uint8_t(255)}) {
        TMeter b;
        EXPECT_EQ(ReadStream(bytes, [&](TReader& r) { b.ReadElementData(r, version); }), 0);
        EXPECT_EQ(b.MLinks, 100.0);
        EXPECT_EQ(b.MRechts, -20.0);
        EXPECT_EQ(b.MEinheit, QStringLiteral("kV"));
        EXPECT_EQ(b.Caption(), QString(20, QLatin1Char('c')));  // cut to 20
        EXPECT_EQ(b.Messwerk->Traegheit, 7);
        EXPECT_EQ(b.Messwerk->Teilungen, 30);
        EXPECT_EQ(b.Messwerk->GrossStart, 2);
        EXPECT_EQ(b.Messwerk->GrossSchritt, 3);
        EXPECT_EQ(b.FarbStil, schwarz);
        EXPECT_EQ(b.Messwerk->ZeigerFarbe, 0x808000);
        EXPECT_EQ(b.Messwerk->SpiegelFarbe, 0x123456);
        EXPECT_EQ(b.Messwerk->Typ, 4);
        EXPECT_EQ(b.Messwerk->SkalenModus, 3);
        EXPECT_EQ(b.MCharakteristik, 2);
        EXPECT_EQ(b.size(), QSize(120, 120));
    }

    // Version 2 ends after the width; the height follows the ratio of the round movement.
    const QByteArray v2 = StreamOf([](TWriter& w) {
        OldBase(w, 2);
        const double left = -5, right = 5;
        w.WriteBuffer(&left, 8);
        w.WriteBuffer(&right, 8);
        w.WriteRawShortString(QStringLiteral("V"), 255);
        w.WriteRawShortString(QStringLiteral("Volt"), 20);
        for (int16_t v : {3, 10, 1, 5})
            w.WriteRawInt16(v);
        w.WriteRawByte(gelb);
        w.WriteRawInt16(100);
    });
    TMeter c;
    EXPECT_EQ(ReadStream(v2, [&](TReader& r) { c.ReadElementData(r, 2); }), 0);
    EXPECT_EQ(c.MLinks, -5.0);
    EXPECT_EQ(c.Caption(), QStringLiteral("Volt"));
    EXPECT_EQ(c.FarbStil, gelb);
    EXPECT_EQ(c.size(), QSize(100, 60));
}

TEST_F(MeterAndBarsTest, MeterDialogFitsTheSizeToTheTypeAndKeepsTheInertia)
{
    const struct {
        QSize before, after;
    } cases[] = {{{100, 100}, {100, 60}}, {{120, 60}, {100, 60}}};
    for (const auto& c : cases) {
        TScopedDialogResponder responder;
        responder.Answer([&](QDialog& d) {
            RowNamed<TComboPropEditor>(d, QStringLiteral("Typ"))->Combo->setCurrentIndex(0);
            return mrOk;
        });
        TMeter m;
        m.Messwerk->Typ = 1;  // free sizing
        m.resize(c.before);
        EXPECT_EQ(m.EditProperties(), mrOk);
        EXPECT_EQ(m.Messwerk->Typ, 0);
        EXPECT_EQ(m.size(), c.after);
        // The untouched inertia row keeps the meter's 20.
        EXPECT_EQ(m.Messwerk->Traegheit, 20);
        EXPECT_EQ(responder.Titles().value(0), QStringLiteral("Zeigerinstrument"));
    }
}

// --- LED bar ----------------------------------------------------------------------------------

TEST_F(MeterAndBarsTest, LedBarValueGivesLitLeds)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        int mode;
        double value;
        int lit;
        int first;  // first lit LED, 0 for none
    } cases[] = {{Balken, 55, 6, 5}, {Balken, 100, 10, 1}, {Balken, 0, 0, 0}, {Balken, 120, 10, 1},
                 {Balken, nan, 0, 0}, {Balken, -7, 0, 0},  {Punkt, 55, 1, 5}, {Punkt, 0, 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.mode << " " << c.value);
        TLEDBAR bar;
        bar.SetLEDDecay(0);
        bar.LEDModus = TModus(c.mode);
        bar.SetWert(c.value);
        EXPECT_EQ(bar.LitCount(), c.lit);
        for (int i = 1; i <= 10; ++i)
            if (bar.Leds[size_t(i)].Lit) {
                EXPECT_EQ(i, c.first);
                break;
            }
        // The painted LEDs: lit ones in their colour, the others grey.
        const QImage img = Picture(bar);
        for (int i = 1; i <= 10; ++i) {
            const int32_t want = bar.Leds[size_t(i)].Lit ? bar.Leds[size_t(i)].Color : 0x808080;
            EXPECT_EQ(PixelAt(img, bar.LedRect(i).center().x(), bar.LedRect(i).center().y()), want) << i;
        }
    }
}

TEST_F(MeterAndBarsTest, LedBarFallsOneLedPerTickAndKeepsThePeak)
{
    TLEDBAR bar;
    bar.SetLEDPeakHold(false);
    bar.SetLEDDecay(0);
    bar.SetWert(100);
    bar.SetLEDDecay(50);
    bar.SetWert(0);
    EXPECT_EQ(bar.Target, 11);
    for (int shown : {2, 3, 4}) {
        bar.FallTick();
        EXPECT_EQ(bar.Shown, shown);
        EXPECT_EQ(bar.LitCount(), 11 - shown);
    }
    bar.RiseTick();  // nothing to rise: stays
    EXPECT_EQ(bar.Shown, 4);

    // Peak hold: the level of the latest rise stays lit after a fall.
    TLEDBAR peak;
    peak.SetLEDDecay(0);
    peak.SetWert(0);
    peak.SetWert(80);
    peak.SetWert(20);
    EXPECT_TRUE(peak.Leds[3].Lit);  // the 80 % LED
    EXPECT_EQ(peak.LitCount(), 3);
    peak.SetWert(30);
    EXPECT_FALSE(peak.Leds[3].Lit);
    EXPECT_TRUE(peak.Leds[8].Lit);
    EXPECT_EQ(peak.LitCount(), 3);
}

TEST_F(MeterAndBarsTest, LedBarColoursByPositionAndUpToAHundredLeds)
{
    TLEDBAR bar;
    const int32_t want[11] = {0, 0x0000FF, 0x0000FF, 0x0080FF, 0x0080FF, 0x00FFFF, 0x00FFFF,
                              0x00FF80, 0x00FF80, 0x00FF80, 0x00FF80};
    for (int i = 1; i <= 10; ++i)
        EXPECT_EQ(bar.Leds[size_t(i)].Color, want[i]) << i;
    // Every count the setter accepts has its LEDs.
    bar.SetLEDAnzahl(150);
    EXPECT_EQ(bar.LEDAnzahl, 100);
    bar.SetLEDDecay(0);
    bar.SetWert(100);
    EXPECT_EQ(bar.LitCount(), 100);
    bar.SetLEDAnzahl(1);
    EXPECT_EQ(bar.LEDAnzahl, 3);
}

TEST_F(MeterAndBarsTest, LedBarStreamRoundTripAndOldShapes)
{
    TLEDBAR a;
    a.BalkenFarbe = {1, 2, 3, 4};
    a.Grenze = {10, 20, 30};
    a.LEDForm = 3;
    a.LEDAbstand = 5;
    a.SetLEDAnzahl(20);
    a.LEDModus = Punkt;
    a.SetLEDPeakHold(false);
    a.SetLEDAttack(7);
    a.SetLEDDecay(9);
    a.LEDOrientation = LBlinks;
    a.Von = -1;
    a.Bis = 1;
    const QByteArray bytes = StreamOf([&](TWriter& w) { a.WriteElementData(w); });
    TLEDBAR b;
    EXPECT_EQ(ReadStream(bytes, [&](TReader& r) { b.ReadElementData(r, 44); }), 0);
    EXPECT_EQ(b.BalkenFarbe, a.BalkenFarbe);
    EXPECT_EQ(b.Grenze, a.Grenze);
    EXPECT_EQ(b.LEDForm, 3);
    EXPECT_EQ(b.LEDAbstand, 5);
    EXPECT_EQ(b.LEDAnzahl, 20);
    EXPECT_EQ(b.LEDModus, Punkt);
    EXPECT_FALSE(b.LEDPeakHold);
    EXPECT_EQ(b.LEDAttack, 7);
    EXPECT_EQ(b.LEDDecay, 9);
    EXPECT_EQ(b.LEDOrientation, LBlinks);
    EXPECT_EQ(b.Von, -1.0);
    EXPECT_EQ(b.Bis, 1.0);

    // Before version 40 there is no gap: round LEDs get 2, other shapes none, and the old
    // shape 2 becomes the rectangle.
    const struct {
        uint8_t form, wantForm;
        int gap;
    } old[] = {{0, 0, 2}, {2, 1, 0}, {4, 4, 0}};
    for (const auto& c : old) {
        const QByteArray v39 = StreamOf([&](TWriter& w) {
            OldBase(w, 39);
            for (int32_t colour : {1, 2, 3, 4})
                w.WriteRawInt32(colour);
            for (int16_t g : {40, 60, 80})
                w.WriteRawInt16(g);
            w.WriteRawByte(c.form);
            w.WriteRawInt16(10);
            w.WriteRawByte(0);
            w.WriteRawByte(1);
            w.WriteRawInt16(0);
            w.WriteRawInt16(50);
            w.WriteRawByte(0);
            w.WriteRawInt16(0);
            const double von = 0, bis = 100;
            w.WriteBuffer(&von, 8);
            w.WriteBuffer(&bis, 8);
        });
        TLEDBAR e;
        EXPECT_EQ(ReadStream(v39, [&](TReader& r) { e.ReadElementData(r, 39); }), 0);
        EXPECT_EQ(e.LEDForm, c.wantForm);
        EXPECT_EQ(e.LEDAbstand, c.gap);
    }
}

TEST_F(MeterAndBarsTest, BarDialogsTurnTheBarAndRefuseAnEmptyRange)
{
    const struct {
        const char* from;
        const char* to;
        double von, bis;
    } cases[] = {{"-10", "10", -10, 10}, {"5", "5,00001", 0, 100}, {"7", "3", 0, 100}};
    for (const auto& c : cases) {
        for (bool lightBar : {false, true}) {
            SCOPED_TRACE(testing::Message() << c.from << ".." << c.to << " light bar " << lightBar);
            TScopedDialogResponder responder;
            responder.Answer([&](QDialog& d) {
                auto* range = RowNamed<TRangePropEditor>(d, QStringLiteral("Bereich"));
                range->MinEdit->setText(QString::fromLatin1(c.from));
                range->MaxEdit->setText(QString::fromLatin1(c.to));
                RowNamed<TComboPropEditor>(d, QStringLiteral("Orientierung"))->Combo->setCurrentIndex(LBrechts);
                return mrOk;
            });
            std::unique_ptr<TBarElement> bar;
            if (lightBar)
                bar = std::make_unique<TLeuchtbalken>();
            else
                bar = std::make_unique<TLEDBAR>();
            bar->resize(16, 160);
            EXPECT_EQ(bar->EditProperties(), mrOk);
            EXPECT_EQ(bar->size(), QSize(160, 16));
            EXPECT_EQ(bar->LEDOrientation, LBrechts);
            EXPECT_EQ(bar->Von, c.von);
            EXPECT_EQ(bar->Bis, c.bis);
            // The untouched fall row keeps its 50 ms.
            EXPECT_EQ(bar->LEDDecay, 50);
        }
    }
}

// --- Light bar --------------------------------------------------------------------------------

TEST_F(MeterAndBarsTest, LightBarPositionsAndMovement)
{
    TLeuchtbalken bar;
    ASSERT_EQ(bar.size(), QSize(16, 160));
    EXPECT_EQ(bar.CurrentPos, 1);    // starts full
    EXPECT_EQ(bar.TargetPos, 159);   // and falls to empty with the fall timer
    const struct {
        int orientation;
        double percent;
        int pos;
    } cases[] = {{LBoben, 50, 80}, {LBoben, 100, 1}, {LBoben, 0, 159}, {LBunten, 25, 40}};
    for (const auto& c : cases) {
        bar.LEDOrientation = TOrientation(c.orientation);
        EXPECT_EQ(bar.PercentToPixel(c.percent), c.pos) << c.orientation << " " << c.percent;
    }
    bar.LEDOrientation = LBoben;
    // A rise with attack 0 jumps; a fall moves a tenth of the way per tick.
    bar.CurrentPos = 159;
    bar.SetWert(50);
    EXPECT_EQ(bar.CurrentPos, 80);
    bar.SetWert(90);
    EXPECT_EQ(bar.CurrentPos, bar.PercentToPixel(90));
    const int from = bar.CurrentPos;
    bar.SetWert(10);
    EXPECT_EQ(bar.CurrentPos, from);
    bar.FallTick();
    EXPECT_EQ(bar.CurrentPos, from + (bar.TargetPos - from) / 10);
    bar.RiseTick();  // nothing to rise
    EXPECT_EQ(bar.CurrentPos, from + (bar.TargetPos - from) / 10);
    // Out of range and not a number.
    bar.SetWert(-50);
    EXPECT_EQ(bar.LEDProzent, 0);
    bar.SetWert(500);
    EXPECT_EQ(bar.LEDProzent, 100);
    bar.SetWert(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(bar.LEDProzent, 0);
}

TEST_F(MeterAndBarsTest, LightBarPaintsTheZoneOfItsTarget)
{
    const struct {
        double value;
        int32_t lowColour;  // colour at the 10 % position
    } cases[] = {{90, 0x00FF80}, {10, 0x00FF80}, {50, 0x00FF80}};
    for (const auto& c : cases) {
        TLeuchtbalken bar;
        bar.SetLEDDecay(0);
        bar.SetWert(c.value);
        const QImage img = Picture(bar);
        auto at = [&](double p) { return LightBarColourAt(img, bar, p); };
        EXPECT_EQ(at(10), c.lowColour) << c.value;
        EXPECT_EQ(at(c.value + 5 > 100 ? 99 : c.value + 5), 0x808080) << c.value;  // above the level
        if (c.value > 80) {
            EXPECT_EQ(at(85), 0x0000FF) << c.value;  // zone 4
        }
    }
    // While it falls slowly the whole lit part takes the colour of the new target's zone.
    TLeuchtbalken falling;
    falling.SetLEDDecay(0);
    falling.SetWert(90);
    falling.SetLEDDecay(50);
    falling.SetWert(10);
    const QImage img = Picture(falling);
    EXPECT_EQ(LightBarColourAt(img, falling, 85), 0x00FF80);
}

TEST_F(MeterAndBarsTest, LightBarSnapsItsLengthAndStreams)
{
    TLeuchtbalken bar;
    bar.show();
    bar.resize(16, 162);
    QCoreApplication::processEvents();
    EXPECT_EQ(bar.height(), 161);
    bar.hide();

    TLeuchtbalken a;
    a.BalkenFarbe = {5, 6, 7, 8};
    a.Grenze = {1, 2, 3};
    a.LEDModus = Punkt;
    a.SetLEDAttack(3);
    a.SetLEDDecay(4);
    a.LEDOrientation = LBunten;
    a.Von = 2;
    a.Bis = 4;
    a.resize(20, 101);
    const QByteArray bytes = StreamOf([&](TWriter& w) { a.WriteElementData(w); });
    TLeuchtbalken b;
    EXPECT_EQ(ReadStream(bytes, [&](TReader& r) { b.ReadElementData(r, 44); }), 0);
    EXPECT_EQ(b.BalkenFarbe, a.BalkenFarbe);
    EXPECT_EQ(b.Grenze, a.Grenze);
    EXPECT_EQ(b.LEDModus, Punkt);
    EXPECT_EQ(b.LEDAttack, 3);
    EXPECT_EQ(b.LEDDecay, 4);
    EXPECT_EQ(b.LEDOrientation, LBunten);
    EXPECT_EQ(b.Von, 2.0);
    EXPECT_EQ(b.Bis, 4.0);
    EXPECT_EQ(b.size(), QSize(20, 101));
}
