// The block symbol painted into an image at one pixel per board unit: pin lines by state,
// selection red, inversion circles, pin states during a run, the marks of pin names and the
// turned caption.
#include "core/BoardTestSupport.h"
#include "platform/Canvas.h"
#include "platform/Colors.h"

#include <QImage>
#include <QPainter>

namespace {

constexpr double kOneToOne = 15.875;  // round(16 x zoom) = 254

QImage Paint(TIOBauteil& c, const std::function<void(TCanvas&)>& extra = {})
{
    QImage image(600, 600, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    TCanvas canvas(&painter);
    canvas.SetMapping(kOneToOne);
    c.Paint(canvas);
    if (extra)
        extra(canvas);
    return image;
}

QColor Rgb(int32_t color)
{
    return TColorToQColor(color);
}

bool Ink(const QImage& image, int x, int y)
{
    return image.pixelColor(x, y) != QColor(Qt::white);
}

class SymbolTest : public BoardFixture {};

TEST_F(SymbolTest, PinLineColour)
{
    struct Case {
        const char* name;
        bool connected;
        bool selected;
        bool monochrome;
        int32_t expected;
    };
    const Case cases[] = {
        {"unconnected pins are silver", false, false, false, clSilver},
        {"connected pins are black", true, false, false, clBlack},
        {"selection is red", false, true, false, clSilver},
        {"a selected connected pin is red", true, true, false, clRed},
        {"black-and-white print", false, true, true, clBlack},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto gate = NewObject<TTestAnd>();
        gate->Inputs[0]->Connected = c.connected;
        gate->Selected = c.selected;
        gate->MonochromePrint = c.monochrome;
        const QImage image = Paint(*gate);
        // Input 0 runs from (260, 340) to the body at x = 300.
        EXPECT_EQ(image.pixelColor(280, 340), Rgb(c.expected));
    }
}

TEST_F(SymbolTest, SelectedBodyOutlineIsRed)
{
    auto gate = NewObject<TTestAnd>();
    EXPECT_EQ(Paint(*gate).pixelColor(350, gate->Body.Top), Rgb(clGray));
    gate->Selected = true;
    EXPECT_EQ(Paint(*gate).pixelColor(350, gate->Body.Top), Rgb(clRed));
}

TEST_F(SymbolTest, InversionCircleOnTheBodyEdge)
{
    auto gate = NewObject<TTestAnd>();
    const int y = gate->Inputs[0]->Y;
    const int edge = gate->Body.Left;
    EXPECT_EQ(Paint(*gate).pixelColor(edge, y), Rgb(clGray));  // the plain body outline

    gate->Inputs[0]->SetInverted(true);
    const QImage image = Paint(*gate);
    EXPECT_EQ(image.pixelColor(edge, y), QColor(Qt::white));  // the circle's fill
    bool ring = false;
    for (int x = edge - 12; x <= edge - 7; ++x)
        ring = ring || image.pixelColor(x, y) == Rgb(clRed);
    EXPECT_TRUE(ring);
    EXPECT_EQ(image.pixelColor(edge, gate->Inputs[1]->Y), Rgb(clGray));  // only that pin
}

// Pin lines in signal colour (ShowLineStates) and state arrows (ShowStates).
TEST_F(SymbolTest, PinStatesDuringARun)
{
    auto gate = NewObject<TTestAnd>();
    auto macroPin = NewObject<TBTPin>();
    gate->ShowLineStates = true;
    macroPin->ShowLineStates = true;

    // Without a run no input is lit.
    EXPECT_EQ(Paint(*gate).pixelColor(280, 340), Rgb(clBlack));

    Ctx().SimRunning = true;
    // An input without a source reads high, except on a macro pin component.
    EXPECT_EQ(Paint(*gate).pixelColor(280, 340), Rgb(clRed));
    EXPECT_EQ(Paint(*macroPin).pixelColor(280, 340), Rgb(clBlack));

    // With a source the source's value decides.
    TBauteilPin source;
    source.Value = 0.0L;
    gate->Inputs[0]->SetSource(&source);
    EXPECT_EQ(Paint(*gate).pixelColor(280, 340), Rgb(clBlack));
    source.Value = 2.5L;
    EXPECT_EQ(Paint(*gate).pixelColor(280, 340), Rgb(clRed));

    // Arrows: green for a lit input, silver otherwise; outputs only while running.
    gate->ShowLineStates = false;
    gate->ShowStates = true;
    const int arrowX = gate->Body.Left - 3;
    EXPECT_EQ(Paint(*gate).pixelColor(arrowX, gate->Inputs[0]->Y), Rgb(0x00FF00));
    source.Value = 0.0L;
    EXPECT_EQ(Paint(*gate).pixelColor(arrowX, gate->Inputs[0]->Y), Rgb(clSilver));
    gate->Outputs[0]->Value = 5.0L;
    const int outX = gate->Body.Right + 3;
    EXPECT_EQ(Paint(*gate).pixelColor(outX, gate->Outputs[0]->Y), Rgb(0x00FF00));
    Ctx().SimRunning = false;
    EXPECT_EQ(Paint(*gate).pixelColor(outX, gate->Outputs[0]->Y), Rgb(clSilver));
}

TEST_F(SymbolTest, PinNameMarks)
{
    auto paintName = [](const QString& name, int& x, int& y) {
        auto gate = NewObject<TTestAnd>();
        gate->Outputs[0]->SetName(name);
        x = gate->Body.Right + 6;  // names right of the body start here
        y = gate->Outputs[0]->Y - 26;
        return Paint(*gate);
    };
    int x = 0, y = 0;

    // "/" draws an overline over the name.
    const QImage plain = paintName(QStringLiteral("CLR"), x, y);
    const QImage overlined = paintName(QStringLiteral("/CLR"), x, y);
    bool plainInk = false, overlineInk = false;
    for (int col = x + 5; col <= x + 10; ++col) {
        for (int row = y - 2; row <= y - 1; ++row) {
            plainInk = plainInk || Ink(plain, col, row);
            overlineInk = overlineInk || Ink(overlined, col, row);
        }
    }
    EXPECT_FALSE(plainInk);
    EXPECT_TRUE(overlineInk);

    // "|" draws a small arrow beside the name and moves the name right.
    const QImage bare = paintName(QStringLiteral("C"), x, y);
    const QImage edged = paintName(QStringLiteral("|C"), x, y);
    int differing = 0;
    int inked = 0;
    for (int row = y; row <= y + 30; ++row) {
        for (int k = 0; k < 20; ++k) {
            differing += edged.pixel(x + 12 + k, row) != bare.pixel(x + k, row);
            inked += Ink(bare, x + k, row);
        }
    }
    EXPECT_GT(inked, 0);
    EXPECT_EQ(differing, 0);  // the same name, 12 units further right
    EXPECT_TRUE(Ink(edged, x + 7, y + 9));  // the arrow's stem

    // Both marks together.
    const QImage both = paintName(QStringLiteral("/|C"), x, y);
    EXPECT_TRUE(Ink(both, x + 7, y + 9));
    EXPECT_TRUE(Ink(both, x + 6, y - 1) || Ink(both, x + 6, y - 2));
}

TEST_F(SymbolTest, CaptionShrinksOrIsLeftOut)
{
    auto changedInside = [](TIOBauteil& c, const QString& caption) {
        const QImage before = Paint(c);
        const QImage after = Paint(c, [&](TCanvas& canvas) {
            c.DrawSymbolCaption(canvas, caption, clBlack);
        });
        int changed = 0;
        for (int y = c.Body.Top + 3; y < c.Body.Bottom - 3; ++y) {
            for (int x = c.Body.Left + 3; x < c.Body.Right - 3; ++x)
                changed += before.pixel(x, y) != after.pixel(x, y);
        }
        return changed;
    };
    // A body 80 high leaves 5 units: no caption fits.
    auto small = NewObject<TTestLed>();
    EXPECT_EQ(changedInside(*small, QStringLiteral("WWWWWWWWWW")), 0);
    // A body 200 high takes a short caption.
    auto tall = NewObject<TTestAnd>();
    tall->SetInputCount(4);
    EXPECT_GT(changedInside(*tall, QStringLiteral("AND")), 0);
}

TEST_F(SymbolTest, ClockMarker)
{
    auto gate = NewObject<TTestAnd>();
    const int y = gate->Inputs[0]->Y;
    const QImage image = Paint(*gate, [&](TCanvas& canvas) { gate->DrawClockMarker(canvas, 0); });
    // The wedge's tip lies 20 units inside the body.
    EXPECT_EQ(image.pixelColor(gate->Body.Left + 19, y), Rgb(clBlack));
}

} // namespace
