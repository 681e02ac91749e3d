// LED elements: the colour they show, the shapes of the shape painter at the pixels that
// matter, their stream with its version gates and legacy sizes, the mouse sensors and the
// settings dialog.

#include "ElementTestSupport.h"

#include "frontpanel/Led.h"
#include "frontpanel/LedShape.h"
#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QMouseEvent>

namespace {

using LedTest = FrontPanelTest;

constexpr int32_t kGrey = 0x808080;
constexpr int32_t kPage = 0xFFFFFF;

// A page of one plain colour holding the LED, so that a transparent LED shows it.
struct PageWithLed {
    QWidget page;
    TPLED* led;
    explicit PageWithLed(TPLED* l)
        : led(l)
    {
        page.resize(100, 100);
        page.setAutoFillBackground(true);
        QPalette palette = page.palette();
        palette.setColor(QPalette::Window, TColorToQColor(kPage));
        page.setPalette(palette);
        led->setParent(&page);
        led->move(10, 10);
    }
    // The LED as shown on the page, in LED coordinates.
    QImage Shot()
    {
        const QImage all = Picture(page);
        return all.copy(led->geometry());
    }
};

TEST_F(LedTest, NewLedIsASmallGreyTransparentCircle)
{
    PageWithLed p(new TPLED);
    TPLED& led = *p.led;
    EXPECT_EQ(led.size(), QSize(16, 16));
    EXPECT_TRUE(led.GetBisteTransparent());
    EXPECT_FALSE(led.Eingeschaltet);
    EXPECT_EQ(led.Hint, QStringLiteral("LED"));
    EXPECT_EQ(led.AspectRatio(), 1.0L);
    const QImage pic = p.Shot();
    EXPECT_EQ(PixelAt(pic, 8, 8), kGrey);       // the fill
    EXPECT_EQ(PixelAt(pic, 1, 8), clSilver);    // the outline's leftmost column
    EXPECT_EQ(PixelAt(pic, 14, 8), clSilver);   // ... and rightmost (box 1..15 exclusive)
    EXPECT_EQ(PixelAt(pic, 15, 8), kPage);      // nothing beyond it
    EXPECT_EQ(PixelAt(pic, 1, 1), kPage);       // corners show the page
    EXPECT_EQ(PixelAt(pic, 0, 0), kPage);
}

struct ColourCase {
    const char* what;
    bool duo;
    bool rgb;
    bool on;
    int status;  // -1: leave
    int32_t expected;
};

TEST_F(LedTest, ShownColourFollowsModeStateAndStatus)
{
    const ColourCase cases[] = {
        {"plain off", false, false, false, -1, kGrey},
        {"plain on", false, false, true, -1, clLime},
        {"duo status 1", true, false, false, 1, clLime},
        {"duo status 2", true, false, false, 2, clRed},
        {"duo status 3", true, false, false, 3, clYellow},
        {"duo status 0", true, false, false, 0, kGrey},
        {"duo status 7 becomes 0", true, false, false, 7, kGrey},
        {"rgb off still shows its colour", false, true, false, -1, 0x3366CC},
        {"rgb on", false, true, true, -1, 0x3366CC},
    };
    for (const ColourCase& c : cases) {
        SCOPED_TRACE(c.what);
        TPLED* led = c.duo ? static_cast<TPLED*>(new TDuoLED) : c.rgb ? new TRGBLED : new TPLED;
        PageWithLed p(led);
        led->SetRGBFarbe(0x3366CC);
        if (c.status >= 0)
            led->SetDuoLEDStatus(static_cast<uint8_t>(c.status));
        else
            led->SetEingeschaltet(c.on);
        EXPECT_EQ(led->GetLEDColor(), c.expected);
        EXPECT_EQ(PixelAt(p.Shot(), 8, 8), c.expected);
    }
    // Switching a duo LED off keeps its status.
    TDuoLED duo;
    duo.SetDuoLEDStatus(3);
    duo.SetEingeschaltet(false);
    EXPECT_EQ(duo.DuoLEDStatus, 3);
    EXPECT_EQ(duo.GetLEDColor(), kGrey);
    EXPECT_EQ(duo.Hint, QStringLiteral("Duo-LED"));
    EXPECT_EQ(TRGBLED().Hint, QStringLiteral("RGB-LED"));
}

struct ShapeCase {
    uint8_t style;
    QPoint inside;   // filled with the LED colour
    QPoint outside;  // shows the background
};

TEST_F(LedTest, ShapesCoverTheirPixels)
{
    // A 42 x 42 LED on a white background: r = (1, 1, 41, 41).
    const ShapeCase cases[] = {
        {lsRound, {21, 21}, {3, 3}},
        {lsSquare, {3, 3}, {0, 0}},
        {lsTriangleUp, {21, 35}, {4, 8}},
        {lsTriangleDown, {21, 6}, {4, 34}},
        {lsTriangleLeft, {34, 21}, {8, 4}},
        {lsTriangleRight, {6, 21}, {34, 4}},
    };
    for (const ShapeCase& c : cases) {
        SCOPED_TRACE(int(c.style));
        TPLED led;
        led.SetBisteTransparent(false);
        led.HintergrundFarbe = clWhite;
        led.ColorFromPanel = false;
        led.Color = clWhite;  // the one-pixel border
        led.resize(42, 42);
        led.LEDStil = c.style;
        led.SetEingeschaltet(true);
        const QImage pic = Picture(led);
        EXPECT_EQ(PixelAt(pic, c.inside.x(), c.inside.y()), clLime);
        EXPECT_EQ(PixelAt(pic, c.outside.x(), c.outside.y()), clWhite);
    }
}

int CountColour(const QImage& image, int32_t colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += PixelAt(image, x, y) == colour;
    return n;
}

TEST_F(LedTest, TextOnlyStyleDrawsTheTextInTheLedColour)
{
    TPLED led;
    led.SetBisteTransparent(false);
    led.HintergrundFarbe = clWhite;
    led.resize(60, 30);
    led.LEDStil = lsTextOnly;
    QFont font = led.font();
    font.setPixelSize(20);
    font.setBold(true);
    led.setFont(font);
    led.FontColor = clBlue;

    // No text: nothing but the background inside the frame.
    QImage pic = Picture(led);
    EXPECT_EQ(CountColour(pic.copy(1, 1, 58, 28), clWhite), 58 * 28);

    led.LEDText = QStringLiteral("HI");
    pic = Picture(led);
    EXPECT_GT(CountColour(pic, kGrey), 20);  // off: the text in grey
    EXPECT_EQ(CountColour(pic, clBlue), 0);  // not in the font colour
    EXPECT_EQ(CountColour(pic, clSilver), 0);
    led.SetEingeschaltet(true);
    EXPECT_GT(CountColour(Picture(led), clLime), 20);

    // Other shapes draw the text in the font colour over the shape.
    led.LEDStil = lsSquare;
    EXPECT_GT(CountColour(Picture(led), clBlue), 20);
}

TEST_F(LedTest, StreamRoundTripKeepsEveryField)
{
    TDuoLED source;
    source.FarbeLED1 = 0x010203;
    source.FarbeLED2 = 0x040506;
    source.FarbeLED12 = 0x070809;
    source.ColorFromPanel = false;
    source.Color = 0x0A0B0C;
    source.LEDStil = lsTriangleLeft;
    source.LEDText = QStringLiteral("Ölstand");
    QFont font = source.font();
    font.setFamily(QStringLiteral("DejaVu Serif"));
    font.setPixelSize(13);
    font.setItalic(true);
    font.setStrikeOut(true);
    source.setFont(font);
    source.FontColor = 0x112233;
    source.resize(30, 20);
    const QByteArray bytes = StreamOf([&](TWriter& w) { source.WriteElementData(w); });

    for (uint8_t version : {uint8_t(44), uint8_t(255)}) {
        TDuoLED e;
        EXPECT_EQ(ReadStream(bytes, [&](TReader& r) { e.ReadElementData(r, version); }), 0);
        EXPECT_EQ(e.FarbeLED1, 0x010203);
        EXPECT_EQ(e.FarbeLED2, 0x040506);
        EXPECT_EQ(e.FarbeLED12, 0x070809);
        EXPECT_EQ(e.Color, 0x0A0B0C);
        EXPECT_EQ(e.LEDStil, lsTriangleLeft);
        EXPECT_EQ(e.LEDText, source.LEDText);
        EXPECT_EQ(e.font().family(), QStringLiteral("DejaVu Serif"));
        EXPECT_EQ(e.font().pixelSize(), 13);
        EXPECT_TRUE(e.font().italic());
        EXPECT_FALSE(e.font().bold());
        EXPECT_TRUE(e.font().strikeOut());
        EXPECT_EQ(e.FontColor, 0x112233);
        EXPECT_EQ(e.size(), QSize(30, 20));
    }
}

// The data of an LED as a version-39 or older project holds them.
QByteArray OldLedStream(uint8_t version, int32_t colour, uint8_t style, int16_t size)
{
    return StreamOf([&](TWriter& w) {
        w.WriteInteger(1);      // index
        w.WriteBoolean(true);   // transparent
        if (version >= 3) {
            w.WriteInteger(-10000);
            w.WriteRawInt16(16);
            w.WriteRawInt16(16);
            w.WriteString(QStringLiteral("LED"));
            w.WriteBoolean(false);
        }
        w.WriteRawInt32(0x00FFFF);  // colour 1
        w.WriteRawInt32(colour);    // element colour
        w.WriteRawByte(style);
        w.WriteRawInt16(size);
        if (version >= 3) {
            w.WriteRawInt32(0x0000AA);
            w.WriteRawInt32(0x00AA00);
        }
    });
}

struct LegacyCase {
    uint8_t version;
    uint8_t style;
    int16_t size;
    QSize expectedSize;
    uint8_t expectedStyle;
};

TEST_F(LedTest, OldProjectsTakeTheLegacySize)
{
    const LegacyCase cases[] = {
        {39, lsRound, 20, {20, 20}, lsRound},
        {39, lsSquare, 20, {20, 10}, lsSquare},
        {39, lsTriangleUp, 20, {10, 20}, lsSquare},  // became a narrow rectangle
        {39, lsTriangleDown, 20, {16, 16}, lsTriangleDown},
        {2, lsRound, 12, {12, 12}, lsRound},
    };
    for (const LegacyCase& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.version) << "/" << int(c.style));
        TPLED e;
        const QByteArray bytes = OldLedStream(c.version, 0x00C0C0, c.style, c.size);
        EXPECT_EQ(ReadStream(bytes, [&](TReader& r) { e.ReadElementData(r, c.version); }), 0);
        EXPECT_EQ(e.size(), c.expectedSize);
        EXPECT_EQ(e.LEDStil, c.expectedStyle);
        EXPECT_EQ(e.FarbeLED1, 0x00FFFF);
        EXPECT_EQ(e.Color, 0x00C0C0);
        EXPECT_EQ(e.FarbeLED2, c.version >= 3 ? 0x0000AA : clRed);
    }
    // A negative element colour is not applied; an unknown shape number falls back to round.
    TPLED e;
    e.Color = 0x123456;
    ReadStream(OldLedStream(39, -16, 9, 20), [&](TReader& r) { e.ReadElementData(r, 39); });
    EXPECT_EQ(e.Color, 0x123456);
    EXPECT_EQ(e.LEDStil, lsRound);
}

TEST_F(LedTest, MouseSensorsFollowButtonsAndPointer)
{
    TPLED led;
    led.LEDMouseMove(QPoint(8, 8));
    EXPECT_TRUE(led.MausUeber);
    led.LEDMouseDown(Qt::LeftButton);
    EXPECT_TRUE(led.MausLinks);
    led.LEDMouseMove(QPoint(30, 8));  // out with the button held
    EXPECT_TRUE(led.MausLinks);
    EXPECT_FALSE(led.MausUeber);
    led.LEDMouseUp(Qt::LeftButton);
    EXPECT_FALSE(led.MausLinks);
    led.LEDMouseDown(Qt::RightButton);
    EXPECT_TRUE(led.MausRechts);
    EXPECT_FALSE(led.MausLinks);
    led.LEDMouseMove(QPoint(16, 16));  // the far edge still counts as inside
    EXPECT_TRUE(led.MausUeber);

    // The widget's own mouse events drive the sensors.
    TPLED other;
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(4, 4), QPointF(4, 4), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&other, &press);
    EXPECT_TRUE(other.MausLinks);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(40, 4), QPointF(40, 4),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&other, &release);
    EXPECT_FALSE(other.MausLinks);
    EXPECT_FALSE(other.MausUeber);
}

QStringList RowCaptions(QDialog& d)
{
    QStringList captions;
    for (const auto& row : static_cast<TDefault_Dlg&>(d).PropScrollbox->Rows())
        captions << row->Editor->NameLabel->text();
    return captions;
}

TEST_F(LedTest, DialogRowsDependOnTheKindOfLed)
{
    TScopedDialogResponder responder;
    QStringList captions;
    int help = 0;
    responder.Answer([&](QDialog& d) {
        captions = RowCaptions(d);
        help = static_cast<TDefault_Dlg&>(d).HelpContext;
        return mrCancel;
    });
    TDuoLED duo;
    duo.userEdit = true;
    EXPECT_EQ(duo.EditProperties(), mrCancel);
    EXPECT_EQ(help, 18010);
    EXPECT_EQ(captions,
              (QStringList{"Farbe [LED1]", "Farbe [LED2]", "Farbe [LED1 + LED2]", "Stil", "Text",
                           "Text", "Schriftart", "Stil", "Farbe", "Optionen", "Hinweistext",
                           "Zur Laufzeit einstellbar"}));

    // An opaque LED with its own background offers the background row; without userEdit
    // there is no run-time row.
    responder.Answer([&](QDialog& d) {
        captions = RowCaptions(d);
        help = static_cast<TDefault_Dlg&>(d).HelpContext;
        return mrCancel;
    });
    TRGBLED rgb;
    rgb.SetBisteTransparent(false);
    rgb.EditProperties();
    EXPECT_EQ(help, 18012);
    EXPECT_EQ(captions, (QStringList{"Farbe", "Hintergrund", "Stil", "Text", "Text", "Schriftart",
                                     "Stil", "Farbe", "Optionen", "Hinweistext"}));
}

TEST_F(LedTest, DialogTakesTheChosenShapeOnOk)
{
    TPLED led;
    TScopedDialogResponder responder;
    QStringList items;
    auto chooseTriangle = [&](QDialog& d) {
        auto& dlg = static_cast<TDefault_Dlg&>(d);
        auto* row = static_cast<TComboPropEditor*>(dlg.PropScrollbox->Rows().at(1)->Editor);
        items.clear();
        for (int i = 0; i < row->Combo->count(); ++i)
            items << row->Combo->itemText(i);
        row->Combo->setCurrentIndex(lsTriangleDown);
        return 0;
    };
    responder.Answer([&](QDialog& d) {
        chooseTriangle(d);
        return mrCancel;
    });
    led.EditProperties();
    EXPECT_EQ(led.LEDStil, lsRound);
    EXPECT_EQ(items, (QStringList{"Rund", "Eckig", "Dreieck oben", "Dreieck unten",
                                  "Dreieck links", "Dreieck rechts", "Leuchttext"}));
    responder.Answer([&](QDialog& d) {
        chooseTriangle(d);
        return mrOk;
    });
    EXPECT_EQ(led.EditProperties(), mrOk);
    EXPECT_EQ(led.LEDStil, lsTriangleDown);
    EXPECT_EQ(led.AspectRatio(), 0.0L);
}

} // namespace
