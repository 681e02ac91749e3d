// The counter, the numeric, LED and text displays, the hex digit, the seven-segment digit and
// the decor elements: what they show for a value, their settings, streams and dialogs.

#include "frontpanel/ElementTestSupport.h"

#include "frontpanel/elements/Counter.h"
#include "frontpanel/elements/Decor.h"
#include "frontpanel/elements/HexDisplay.h"
#include "frontpanel/elements/NumDisplay.h"
#include "frontpanel/elements/SevenSegment.h"
#include "platform/IniFile.h"
#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"
#include "ui/Hotkey.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"
#include "widgets/LEDLabel.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPaintEvent>
#include <QRegion>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTemporaryDir>

namespace {

using DigitDisplaysTest = FrontPanelTest;

template <class T>
T* RowNamed(QDialog& d, const QString& caption)
{
    for (const auto& row : static_cast<TDefault_Dlg&>(d).PropScrollbox->Rows())
        if (row->Editor->NameLabel->text() == caption)
            return dynamic_cast<T*>(row->Editor);
    return nullptr;
}

// Pixels of a colour within a rectangle.
int CountColour(const QImage& img, const QRect& r, int32_t colour)
{
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (img.rect().contains(x, y) && PixelAt(img, x, y) == colour)
                ++n;
    return n;
}

// The regions a widget was asked to paint.
class TPaintLog : public QObject {
public:
    explicit TPaintLog(QWidget& w) { w.installEventFilter(this); }
    QRegion painted;
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            painted += static_cast<QPaintEvent*>(event)->region();
            ++paints;
        }
        return false;
    }
};

bool RunUntil(const std::function<bool()>& done)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

} // namespace

// Values that change in every step repaint at the tick, and there only the cells whose
// character differs from what was painted; a hidden display asks for nothing.
TEST_F(DigitDisplaysTest, ShownDisplaysRepaintOnlyChangedCellsAtTheTick)
{
    QWidget page;
    page.resize(400, 100);
    TNumDisplay& d = *NewElement<TNumDisplay>(&page);
    d.resize(220, 40);
    TCounter& c = *NewElement<TCounter>(&page);
    c.move(0, 50);
    d.SetNDValue(1.25);
    c.SetCZaehlerstand(1200);
    TPaintLog displayLog(d), digitsLog(*c.Ziffern);
    page.show();
    ASSERT_TRUE(RunUntil([&] { return displayLog.paints > 0 && digitsLog.paints > 0; }));
    QCoreApplication::processEvents();
    displayLog.painted = digitsLog.painted = QRegion();
    displayLog.paints = digitsLog.paints = 0;
    // Several steps before the tick: only the last values count, once.
    for (int i = 0; i < 10; ++i) {
        d.SetNDValue(1.25 + 0.01 * i);
        c.SetCZaehlerstand(1200 + i);
    }
    ASSERT_TRUE(RunUntil([&] { return displayLog.paints > 0 && digitsLog.paints > 0; }));
    QCoreApplication::processEvents();
    const int changed = int(d.AktText().indexOf(QLatin1Char('4')));  // 1.25 -> 1.34: two cells
    ASSERT_GT(changed, 0);
    EXPECT_EQ(displayLog.painted.boundingRect(), d.CellRect(changed) | d.CellRect(changed + 1));
    const QRect lastCell(QPoint(c.Ziffern->CellLeft(3), 0), QPoint(c.Ziffern->CellLeft(4), c.Ziffern->height()));
    EXPECT_EQ(digitsLog.painted.boundingRect(), lastCell & c.Ziffern->rect());
    EXPECT_EQ(c.Ziffern->ZiffernText(), QStringLiteral("1209"));

    // Hidden: the values follow, no paint is asked for.
    page.hide();
    displayLog.paints = digitsLog.paints = 0;
    d.SetNDValue(7.5);
    c.SetCZaehlerstand(77);
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 120)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(displayLog.paints + digitsLog.paints, 0);
    EXPECT_EQ(d.AktText(), d.Zahlenformat.FormatValue(7.5));
    EXPECT_EQ(c.Ziffern->ZiffernText(), QStringLiteral("0077"));

    // Shown again, they paint what they hold; the next change repaints the cells that differ
    // from that, not from what was shown before they were hidden.
    page.show();
    ASSERT_TRUE(RunUntil([&] { return displayLog.paints > 0 && digitsLog.paints > 0; }));
    QCoreApplication::processEvents();
    displayLog.painted = digitsLog.painted = QRegion();
    displayLog.paints = digitsLog.paints = 0;
    d.SetNDValue(7.25);  // 7.50 -> 7.25: two cells
    c.SetCZaehlerstand(78);
    ASSERT_TRUE(RunUntil([&] { return displayLog.paints > 0 && digitsLog.paints > 0; }));
    QCoreApplication::processEvents();
    const int last = int(d.AktText().indexOf(QLatin1Char('5')));  // the second cell changed
    ASSERT_GT(last, 0);
    EXPECT_EQ(displayLog.painted.boundingRect(), d.CellRect(last) | d.CellRect(last + 1));
    EXPECT_EQ(digitsLog.painted.boundingRect(), lastCell & c.Ziffern->rect());
}

// --- Counter ----------------------------------------------------------------------------------

TEST_F(DigitDisplaysTest, CounterWrapsAtItsDigits)
{
    const struct {
        int digits, from;
        int set;  // value given to SetCZaehlerstand
        int count;
        const char* text;
    } cases[] = {{4, 9999, 10000, 0, "0000"}, {4, 0, -1, 9999, "9999"}, {4, 0, 12345, 0, "0000"},
                 {4, 5, -3, 9999, "9999"},    {2, 0, 42, 42, "42"},      {1, 9, 10, 0, "0"}};
    for (const auto& c : cases) {
        TCounter counter;
        counter.SetCStellen(c.digits);
        counter.SetCZaehlerstand(c.from);
        counter.SetCZaehlerstand(c.set);
        EXPECT_EQ(counter.GetCZaehlerstand(), c.count) << c.set;
        EXPECT_EQ(counter.Ziffern->ZiffernText(), QString::fromLatin1(c.text)) << c.set;
    }
    TCounter counter;
    counter.SetCZaehlerstand(9999);
    counter.Increment();
    EXPECT_EQ(counter.GetCZaehlerstand(), 0);
    counter.Decrement();
    EXPECT_EQ(counter.GetCZaehlerstand(), 9999);
    counter.SetCStellen(12);
    EXPECT_EQ(counter.Ziffern->Stellen, 8);
}

TEST_F(DigitDisplaysTest, CounterPaintsEachDigitInItsCell)
{
    TCounter counter;
    counter.SetCZaehlerstand(1008);
    const QImage img = Picture(*counter.Ziffern);
    // "1", "0", "0", "8", one to a cell: each cell has ink, equal digits look alike, other
    // digits do not, and the 1 has the least ink (true of any face).
    int width = counter.Ziffern->width();
    for (int i = 0; i < 4; ++i)
        width = std::min(width, counter.Ziffern->CellLeft(i + 1) - counter.Ziffern->CellLeft(i) - 2);
    QImage cell[4];
    int ink[4];
    for (int i = 0; i < 4; ++i) {
        const QRect r(counter.Ziffern->CellLeft(i) + 1, 0, width, img.height());
        cell[i] = img.copy(r);
        ink[i] = r.width() * r.height() - CountColour(img, r, counter.HintergrundFarbe);
        EXPECT_GT(ink[i], 0) << i;
    }
    EXPECT_EQ(cell[1], cell[2]);
    EXPECT_NE(cell[0], cell[1]);
    EXPECT_NE(cell[3], cell[1]);
    EXPECT_NE(cell[3], cell[0]);
    EXPECT_LT(ink[0], ink[1]);
    EXPECT_LT(ink[0], ink[3]);
}

TEST_F(DigitDisplaysTest, CounterHotkeysAndSettings)
{
    TCounter counter;
    counter.Ziffern->Vorgabe = 17;
    const struct {
        int action, before, after;
    } cases[] = {{0, 5, 5}, {1, 5, 0}, {2, 5, 17}, {3, 5, 6}, {4, 0, 9999}};
    for (const auto& c : cases) {
        counter.SetCZaehlerstand(c.before);
        counter.HotkeyAction(c.action);
        EXPECT_EQ(counter.GetCZaehlerstand(), c.after) << c.action;
    }
    EXPECT_EQ(counter.Hotkeys.size(), 10u);
    EXPECT_EQ(counter.ActionNames.value(2), QStringLiteral("= RST"));

    QTemporaryDir dir;
    TIniFile ini(dir.filePath(QStringLiteral("s.est")));
    counter.ElementName = QStringLiteral("CO1");
    EXPECT_FALSE(counter.LoadSettings(ini, QStringLiteral("P"), true));  // missing
    counter.SetCZaehlerstand(4321);
    counter.SaveSettings(ini, QStringLiteral("P"));
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("P.CO1"), QStringLiteral("Count"), -1), 4321);
    EXPECT_TRUE(counter.LoadSettings(ini, QStringLiteral("P"), true));
    counter.SetCZaehlerstand(1);
    EXPECT_TRUE(counter.LoadSettings(ini, QStringLiteral("P"), false));
    EXPECT_EQ(counter.GetCZaehlerstand(), 4321);
    TIniFile empty(dir.filePath(QStringLiteral("e.est")));
    EXPECT_TRUE(counter.LoadSettings(empty, QStringLiteral("P"), false));
    EXPECT_EQ(counter.GetCZaehlerstand(), 17);  // the preset
    counter.SetCZaehlerstand(3);
    counter.ApplyStartValue();
    EXPECT_EQ(counter.GetCZaehlerstand(), 17);
}

TEST_F(DigitDisplaysTest, CounterDialogDigitsAndPreset)
{
    const struct {
        const char* preset;
        int digits, presetAfter, countAfter;
    } cases[] = {{"12a", 2, 7, 99}, {"55", 4, 55, 1234}, {" 3", 8, 3, 1234}};
    for (const auto& c : cases) {
        TScopedDialogResponder responder;
        responder.Answer([&](QDialog& d) {
            RowNamed<TSpinPropEditor>(d, QStringLiteral("Stellen"))->Spin->setValue(c.digits);
            RowNamed<TEditPropEditor>(d, QStringLiteral("Vorgabe"))->Edit->setText(QString::fromLatin1(c.preset));
            return mrOk;
        });
        TCounter counter;
        counter.Ziffern->Vorgabe = 7;
        counter.SetCZaehlerstand(1234);
        EXPECT_EQ(counter.EditProperties(), mrOk);
        EXPECT_EQ(counter.Ziffern->Vorgabe, c.presetAfter) << c.preset;
        EXPECT_EQ(counter.Ziffern->Stellen, c.digits) << c.preset;
        EXPECT_EQ(counter.GetCZaehlerstand(), c.countAfter) << c.preset;
    }
}

TEST_F(DigitDisplaysTest, CounterStreamRoundTripAndVersionGate)
{
    TCounter a;
    a.SetCStellen(6);
    a.Ziffern->Vorgabe = 314;
    a.Ziffern->ZiffernFarbe = 0x00FFFF;
    a.resize(a.width(), 40);
    a.FitWidth();
    const QByteArray bytes = StreamOf([&](TWriter& w) { a.WriteElementData(w); });
    TCounter b;
    EXPECT_EQ(ReadStream(bytes, [&](TReader& r) { b.ReadElementData(r, 44); }), 0);
    EXPECT_EQ(b.Ziffern->Stellen, 6);
    EXPECT_EQ(b.Ziffern->Vorgabe, 314);
    EXPECT_EQ(b.GetCZaehlerstand(), 314);
    EXPECT_EQ(b.Ziffern->ZiffernFarbe, 0x00FFFF);
    EXPECT_EQ(b.size(), a.size());
}

// --- Numeric, LED and text displays -----------------------------------------------------------

TEST_F(DigitDisplaysTest, AutoRangeScalesToAnSiPrefix)
{
    const struct {
        double value, scaled;
        const char* unit;
    } cases[] = {{0.0047, 4.7, "mV"}, {1e-13, 0, "V"},     {-2500, -2.5, "kV"}, {1e-15, 0, "V"},
                 {3e9, 3, "GV"},      {2e6, 2, "MV"},      {5, 5, "V"},         {2e-6, 2, "\u00B5V"},
                 {3e-9, 3, "nV"},     {4e-12, 4, "pV"},
                 // Exactly at a prefix's limit the prefix is taken.
                 {1000, 1, "kV"},     {-1000, -1, "kV"},   {1e6, 1, "MV"},      {1e9, 1, "GV"},
                 {0.001, 1, "mV"},    {1, 1, "V"},         {999.5, 999.5, "V"}, {1e-6, 1, "\u00B5V"}};
    for (const auto& c : cases) {
        TNumDisplay d;
        d.AutoRange = true;
        d.SetNDValue(c.value);
        EXPECT_NEAR(d.SkalierterWert(), c.scaled, 1e-9) << c.value;
        EXPECT_EQ(d.ShownUnit(), QString::fromUtf8(c.unit)) << c.value;
        EXPECT_EQ(d.AktText(), d.Zahlenformat.FormatValue(d.SkalierterWert())) << c.value;
    }
}

TEST_F(DigitDisplaysTest, NumDisplayShowsTheFormattedValueAndItsUnit)
{
    TNumDisplay d;
    d.resize(220, 40);
    d.SetNDValue(-12.5);
    const QImage on = Picture(d);
    const QRect inner = d.rect().adjusted(d.FrameWidth(), d.FrameWidth(), -d.FrameWidth(), -d.FrameWidth());
    EXPECT_GT(CountColour(on, inner, 0), 20);  // black text on the grey gradient
    // Each character has its cell: the cell of a character that is a blank has no ink.
    int blank = -1;
    for (int i = 0; i < d.AktText().size(); ++i)
        if (d.AktText()[i] == QLatin1Char(' '))
            blank = i;
    if (blank >= 0) {
        EXPECT_EQ(CountColour(on, d.CellRect(blank + 1), 0), 0);
    }
    d.SetNDEingeschaltet(false);
    EXPECT_EQ(CountColour(Picture(d), inner, 0), 0);  // off: only the background

    // A text display shows its text in the current language until a component sets it.
    Ctx().CurrentLanguage = 1;
    BuildTranslationTable();
    TTDisplay t;
    EXPECT_EQ(t.NDUserText, QStringLiteral("Text"));
    EXPECT_TRUE(t.TextModus);
}

TEST_F(DigitDisplaysTest, LedDisplayTextFollowsValueUnitAndSwitch)
{
    TLEDDisplay d;
    // The segments show what the display was last painted with.
    auto shown = [&d] {
        Picture(d);
        return d.LedLabel->Caption();
    };
    d.SetNDEinheit(QStringLiteral("V"));
    d.SetNDValue(1.5);
    EXPECT_EQ(shown(), QString(d.AktText()).replace(QLatin1Char(','), QLatin1Char('.')) + QStringLiteral(" V"));
    d.AutoRange = true;
    d.SetNDValue(0.25);
    EXPECT_TRUE(shown().endsWith(QStringLiteral(" mV")));
    d.SetNDValue(2);
    EXPECT_TRUE(shown().endsWith(QStringLiteral(" V ")));  // as long as with a prefix
    d.SetNDEingeschaltet(false);
    EXPECT_EQ(shown().trimmed(), QString());
    EXPECT_FALSE(shown().isEmpty());
}

TEST_F(DigitDisplaysTest, NumDisplayStreamRoundTripAndSystemColours)
{
    TLEDDisplay a;
    QFont f = a.font();
    f.setFamily(QStringLiteral("Courier"));
    f.setItalic(true);
    a.setFont(f);
    a.FontColor = 0x0000FF;
    a.SetHintergrundFarbe(0x00FF00);
    a.AutoRange = true;
    a.SetNDEinheit(QStringLiteral("Hz"));
    a.Zahlenformat.Options = TFormatOptions{TFormatOption::Fixed};
    a.Zahlenformat.Digits = 5;
    a.Zahlenformat.Decimals = 1;
    a.Alignment = TNumDisplay::Right;
    a.LedLabel->LED().SetThickness(3);
    a.LedLabel->LED().SetInActiveColor(0x202020);
    a.resize(200, 50);
    const QByteArray bytes = StreamOf([&](TWriter& w) { a.WriteElementData(w); });
    TLEDDisplay b;
    EXPECT_EQ(ReadStream(bytes, [&](TReader& r) { b.ReadElementData(r, 44); }), 0);
    EXPECT_EQ(b.font().family(), QStringLiteral("Courier"));
    EXPECT_TRUE(b.font().italic());
    EXPECT_EQ(b.FontColor, 0x0000FF);
    EXPECT_EQ(b.HintergrundFarbe, 0x00FF00);
    EXPECT_TRUE(b.AutoRange);
    EXPECT_EQ(b.NDEinheit, QStringLiteral("Hz"));
    EXPECT_TRUE(b.Zahlenformat.Options.Contains(TFormatOption::Fixed));
    EXPECT_EQ(b.Zahlenformat.Digits, 5);
    EXPECT_EQ(b.Zahlenformat.Decimals, 1);
    EXPECT_EQ(b.Alignment, TNumDisplay::Right);
    EXPECT_EQ(b.LedLabel->LED().Thickness(), 3);
    EXPECT_EQ(b.LedLabel->LED().InActiveColor(), 0x202020);
    EXPECT_EQ(b.size(), QSize(200, 50));

    // A stored system colour (negative) is not applied as the font colour. (The background
    // colour travels in the common frame data too.)
    TNumDisplay s;
    s.FontColor = int32_t(0x80000005);
    const QByteArray sys = StreamOf([&](TWriter& w) { s.WriteElementData(w); });
    TNumDisplay t;
    EXPECT_EQ(ReadStream(sys, [&](TReader& r) { t.ReadElementData(r, 44); }), 0);
    EXPECT_EQ(t.FontColor, 0);
}

// --- Hex digit --------------------------------------------------------------------------------

TEST_F(DigitDisplaysTest, HexDigitShowsItsValue)
{
    THexDisplay h;
    EXPECT_EQ(h.Character(), QLatin1Char('0'));
    const struct {
        int value;
        char shown;
    } cases[] = {{11, 'B'}, {9, '9'}, {15, 'F'}, {16, 'F'}, {-1, 'F'}, {0, '0'}};
    for (const auto& c : cases) {
        h.SetStand(c.value);
        Picture(h);
        EXPECT_EQ(h.Shown, QLatin1Char(c.shown)) << c.value;
    }
    h.resize(40, 50);
    h.SetStand(8);
    EXPECT_GT(CountColour(Picture(h), h.rect(), 0x00FF00), 50);
    h.SetZeichenFarbe(0x0000FF);
    const QImage red = Picture(h);
    EXPECT_EQ(CountColour(red, h.rect(), 0x00FF00), 0);
    EXPECT_GT(CountColour(red, h.rect(), 0x0000FF), 50);

    const QByteArray bytes = StreamOf([&](TWriter& w) { h.WriteElementData(w); });
    THexDisplay g;
    EXPECT_EQ(ReadStream(bytes, [&](TReader& r) { g.ReadElementData(r, 44); }), 0);
    EXPECT_EQ(g.ZeichenFarbe, 0x0000FF);
    EXPECT_EQ(g.HintergrundFarbe, 0);
}

// --- Seven-segment digit ----------------------------------------------------------------------

TEST_F(DigitDisplaysTest, SevenSegmentSizeAndSegments)
{
    T7Segment e;
    TLcdDisplay& d = *e.Display;
    EXPECT_EQ(e.size(), QSize(32, 64));
    EXPECT_EQ(d.DigitWidth, 28);
    EXPECT_EQ(d.DigitHeight, 60);
    EXPECT_EQ(d.DigitLineWidth, 8);

    // A segment set to what it holds does not rebuild; a change rebuilds once.
    const int builds = d.RebuildCount();
    d.SetSeg(3, false);
    EXPECT_EQ(d.RebuildCount(), builds);
    d.SetSeg(3, true);
    EXPECT_EQ(d.RebuildCount(), builds + 1);

    // The picture: a point inside each segment shows lit or dark.
    const QImage& pic = d.DigitPicture(0);
    const int w = d.DigitWidth, h = d.DigitHeight, l = d.DigitLineWidth;
    const QPoint inside[7] = {{w / 2, l / 2},         {w - l / 2 - 1, h / 4},    {w - l / 2 - 1, 3 * h / 4},
                              {w / 2, h - l / 2 - 1}, {l / 2, 3 * h / 4},        {l / 2, h / 4},
                              {w / 2, h / 2}};
    for (int s = 0; s < 7; ++s)
        EXPECT_EQ(PixelAt(pic, inside[s].x(), inside[s].y()), s == 2 ? 0x00FF00 : 0x008000) << s;
    EXPECT_EQ(PixelAt(pic, w / 2, h / 4), 0);  // the background between the segments
}

TEST_F(DigitDisplaysTest, SevenSegmentDigitModeAndStream)
{
    TLcdDisplay d;
    d.BisteSeg7 = false;
    d.DrawSegments();
    d.SetNumDigits(6);
    d.SetValue(1234567);
    // Digit 1 lights only b and c: its top is dark.
    const QImage one = d.DigitPicture(1);
    EXPECT_EQ(PixelAt(one, d.DigitWidth / 2, 1), 0x008000);
    EXPECT_EQ(PixelAt(d.DigitPicture(8), d.DigitWidth / 2, 1), 0x00FF00);
    const QImage img = Picture(d);
    // Six cells: the first shows "1" (top dark), the fourth "4" (top dark), the second "2".
    const int c = d.width() / 6;
    const int y = (d.height() - d.DigitHeight) / 2 + 1;
    auto topOf = [&](int cell) { return PixelAt(img, cell * c + c / 2, y); };
    EXPECT_EQ(topOf(0), 0x008000);
    EXPECT_EQ(topOf(1), 0x00FF00);
    EXPECT_EQ(topOf(3), 0x008000);
    EXPECT_EQ(topOf(5), 0x00FF00);  // the sixth digit, 6; the 7 is not shown

    T7Segment a;
    a.Display->SetLightOnColor(0x0000FF);
    a.Display->SetLightOffColor(0x000040);
    a.resize(40, 80);
    const QByteArray bytes = StreamOf([&](TWriter& w) { a.WriteElementData(w); });
    T7Segment b;
    EXPECT_EQ(ReadStream(bytes, [&](TReader& r) { b.ReadElementData(r, 44); }), 0);
    EXPECT_EQ(b.size(), QSize(40, 80));
    EXPECT_EQ(b.Display->LightOnColor, 0x0000FF);
    EXPECT_EQ(b.Display->LightOffColor, 0x000040);
    EXPECT_EQ(PixelAt(b.Display->DigitPicture(0), b.Display->DigitWidth / 2, 2), 0x000040);
}

// --- Decor ------------------------------------------------------------------------------------

TEST_F(DigitDisplaysTest, ScaleMarks)
{
    TSkale s;
    ASSERT_EQ(s.size(), QSize(200, 30));
    const QImage img = Picture(s);
    int longMarks = 0;
    for (int i = 1; i <= 21; ++i) {
        const int x = s.MarkPosition(i);
        const bool top = PixelAt(img, x, 2) == 0;
        const bool bottom = PixelAt(img, x, 27) == 0;
        EXPECT_TRUE(bottom) << i;
        EXPECT_EQ(top, s.IsLongMark(i)) << i;
        longMarks += top ? 1 : 0;
    }
    EXPECT_EQ(longMarks, 5);
    for (int i : {1, 6, 11, 16, 21})
        EXPECT_TRUE(s.IsLongMark(i)) << i;
    const struct {
        int set, stored;
    } limits[] = {{150, 100}, {0, 1}, {-4, 1}, {50, 50}};
    for (const auto& c : limits) {
        s.SetSKTeile(c.set);
        EXPECT_EQ(s.SKTeile, c.stored);
    }
}

TEST_F(DigitDisplaysTest, DecorStreamsAndLimits)
{
    TSkale sa;
    sa.SetSKTeile(7);
    sa.SetSKGrossStart(2);
    sa.SetSKGrossSchritt(3);
    sa.SKOrientierung = TSkale::links;
    sa.SKFarbe = 0x123456;
    sa.resize(30, 150);
    TSkale sb;
    EXPECT_EQ(ReadStream(StreamOf([&](TWriter& w) { sa.WriteElementData(w); }),
                         [&](TReader& r) { sb.ReadElementData(r, 44); }),
              0);
    EXPECT_EQ(sb.SKTeile, 7);
    EXPECT_EQ(sb.SKGrossStart, 2);
    EXPECT_EQ(sb.SKGrossSchritt, 3);
    EXPECT_EQ(sb.SKOrientierung, TSkale::links);
    EXPECT_EQ(sb.SKFarbe, 0x123456);
    EXPECT_EQ(sb.size(), QSize(30, 150));

    TBeschriftung la;
    la.SetText(QString(70, QLatin1Char('x')));
    EXPECT_EQ(la.Text.size(), 60);
    la.Alignment = TBeschriftung::Center;
    la.FontColor = 0x0000FF;
    la.resize(90, 25);
    TBeschriftung lb;
    EXPECT_EQ(ReadStream(StreamOf([&](TWriter& w) { la.WriteElementData(w); }),
                         [&](TReader& r) { lb.ReadElementData(r, 44); }),
              0);
    EXPECT_EQ(lb.Text, la.Text);
    EXPECT_EQ(lb.Alignment, TBeschriftung::Center);
    EXPECT_EQ(lb.FontColor, 0x0000FF);
    EXPECT_EQ(lb.size(), QSize(90, 25));

    TRahmen ra;
    ra.Shape = TRahmen::bsLeftLine;
    ra.Style = TRahmen::bsRaised;
    TRahmen rb;
    EXPECT_EQ(ReadStream(StreamOf([&](TWriter& w) { ra.WriteElementData(w); }),
                         [&](TReader& r) { rb.ReadElementData(r, 44); }),
              0);
    EXPECT_EQ(rb.Shape, TRahmen::bsLeftLine);
    EXPECT_EQ(rb.Style, TRahmen::bsRaised);

    TFlaeche fa;
    fa.Shape = TFlaeche::stEllipse;
    fa.FillColor = 0x00FF00;
    fa.PenColor = 0x0000FF;
    fa.PenWidth = 3;
    fa.resize(50, 30);
    TFlaeche fb;
    EXPECT_EQ(ReadStream(StreamOf([&](TWriter& w) { fa.WriteElementData(w); }),
                         [&](TReader& r) { fb.ReadElementData(r, 44); }),
              0);
    EXPECT_EQ(fb.Shape, TFlaeche::stEllipse);
    EXPECT_EQ(fb.FillColor, 0x00FF00);
    EXPECT_EQ(fb.PenColor, 0x0000FF);
    EXPECT_EQ(fb.PenWidth, 3);
    EXPECT_EQ(PixelAt(Picture(fb), 25, 15), 0x00FF00);

    // Decor but the picture stays off the published page.
    EXPECT_FALSE(sb.IsPublished());
    EXPECT_FALSE(lb.IsPublished());
    EXPECT_FALSE(rb.IsPublished());
    EXPECT_FALSE(fb.IsPublished());
}

TEST_F(DigitDisplaysTest, MissingPictureShowsTheCrossedPlaceholder)
{
    TLogo logo;
    logo.BildDatei = QStringLiteral("/nonexistent/none.bmp");
    logo.LoadPicture();
    EXPECT_EQ(logo.size(), QSize(40, 40));
    const QImage img = Picture(logo);
    EXPECT_EQ(PixelAt(img, 20, 20), 0);   // the diagonals cross in the middle
    EXPECT_EQ(PixelAt(img, 10, 20), 0xFFFFFF);
    EXPECT_EQ(PixelAt(img, 0, 20), 0);    // the border
}

TEST_F(DigitDisplaysTest, FrameDialogChangesOnlyOnOk)
{
    for (int result : {int(mrCancel), int(mrOk)}) {
        TScopedDialogResponder responder;
        responder.Answer([&](QDialog& d) {
            RowNamed<TComboPropEditor>(d, QStringLiteral("Stil"))->Combo->setCurrentIndex(2);  // line left
            RowNamed<TComboPropEditor>(d, QStringLiteral("Linie"))->Combo->setCurrentIndex(0);  // raised
            return result;
        });
        TRahmen r;
        EXPECT_EQ(r.EditProperties(), result);
        EXPECT_EQ(r.Shape, result == mrOk ? TRahmen::bsLeftLine : TRahmen::bsBox);
        EXPECT_EQ(r.Style, result == mrOk ? TRahmen::bsRaised : TRahmen::bsLowered);
    }
}
