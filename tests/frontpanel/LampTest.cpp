// The lamp widget (layout, angles, rendering of its two pictures), the gradient button and the
// picture turns it shares with the switch, and the plastic lamp element: its colour by
// voltage, its stream and its dialog.

#include "ElementTestSupport.h"

#include "frontpanel/elements/BitmapRotate.h"
#include "frontpanel/elements/GradBtn.h"
#include "frontpanel/elements/LampWidget.h"
#include "frontpanel/elements/Lampe.h"
#include "platform/ModalDialogs.h"
#include "widgets/BitmapList.h"
#include "platform/MessageBox.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QEnterEvent>
#include <QShortcutEvent>
#include <QLabel>
#include <QLineEdit>

#include <limits>

#include <memory>

namespace {

using LampTest = FrontPanelTest;

int Red(int32_t c)
{
    return c & 0xFF;
}

} // namespace

// --- Lamp widget ----------------------------------------------------------------------------

TEST_F(LampTest, WidgetSizeFollowsBodyMarginAndAngle)
{
    TITemboLED lamp;
    EXPECT_EQ(lamp.size(), QSize(24, 14));  // the constructor alone
    EXPECT_EQ(lamp.Margin(), 2);
    lamp.Layout();
    EXPECT_EQ(lamp.size(), QSize(26, 16));
    lamp.SetAngle(900);
    EXPECT_EQ(lamp.size(), QSize(16, 26));
    lamp.SetAngle(450);
    EXPECT_EQ(lamp.size(), QSize(30, 30));  // round(26 cos 45 + 16 sin 45) = 29.7
    lamp.SetGap(3);
    lamp.SetInnerBorderStyle(ixblsUp);
    lamp.SetInnerBorderDepth(1);
    EXPECT_EQ(lamp.Margin(), 6);
}

TEST_F(LampTest, AngleIsKeptWithinHalfATurn)
{
    const struct {
        int in, stored;
    } cases[] = {{3600, 0}, {-1800, 1800}, {1800, 1800}, {-1799, -1799}, {2700, -900}, {-2700, 900}};
    for (const auto& c : cases) {
        TITemboLED lamp;
        lamp.SetAngle(c.in);
        EXPECT_EQ(lamp.Angle(), c.stored) << c.in;
    }
}

TEST_F(LampTest, OutOfRangeValuesAreIgnored)
{
    TITemboLED lamp;
    lamp.SetLedPlasticDepth(11);
    lamp.SetEmboIntensity(0);
    lamp.SetEmboSize(50);
    lamp.SetGap(-1);
    lamp.SetLedWidth(-3);
    EXPECT_EQ(lamp.LedPlasticDepth(), 5);
    EXPECT_EQ(lamp.EmboIntensity(), 5);
    EXPECT_EQ(lamp.EmboSize(), 10);
    EXPECT_EQ(lamp.Gap(), 0);
    EXPECT_EQ(lamp.LedWidth(), 22);
}

TEST_F(LampTest, UnlitPictureHasAtMostHalfTheColourOfTheLitOne)
{
    TITemboLED lamp;
    lamp.SetOuterBorderStyle(ixblsNone);
    lamp.SetLedWidth(40);
    lamp.SetLedHeight(20);
    const QImage lit = lamp.LitPicture();
    const QImage unlit = lamp.UnlitPicture();
    ASSERT_EQ(lit.size(), QSize(40, 20));
    for (int y = 0; y < 20; y += 3)
        for (int x = 0; x < 40; x += 3) {
            const QColor l = lit.pixelColor(x, y);
            const QColor u = unlit.pixelColor(x, y);
            EXPECT_EQ(l.green(), 0);
            EXPECT_EQ(u.blue(), 0);
            // Each picture has its own grain (up to 3 x depth of shade).
            EXPECT_LE(u.red(), l.red() / 2 + 10) << x << "," << y;
        }
    EXPECT_GT(lit.pixelColor(20, 10).red(), 200);  // bright in the middle
}

TEST_F(LampTest, RaisedBorderIsLightTopLeftAndDarkBottomRight)
{
    TITemboLED lamp;
    lamp.SetBorderColor(0x808080);
    lamp.SetOuterBorderStyle(ixblsUp);
    lamp.SetOuterBorderDepth(3);
    lamp.SetLedWidth(30);
    lamp.SetLedHeight(20);
    const QImage pic = lamp.UnlitPicture();
    ASSERT_EQ(pic.size(), QSize(36, 26));
    EXPECT_EQ(PixelAt(pic, 18, 1), 0xA0A0A0);   // top
    EXPECT_EQ(PixelAt(pic, 1, 13), 0xA0A0A0);   // left
    EXPECT_EQ(PixelAt(pic, 18, 24), 0x606060);  // bottom
    EXPECT_EQ(PixelAt(pic, 34, 13), 0x606060);  // right
    lamp.SetOuterBorderStyle(ixblsDown);
    EXPECT_EQ(PixelAt(lamp.UnlitPicture(), 18, 1), 0x606060);
    // The light falls from the top left at every angle: the shading follows the turned edges.
    lamp.SetOuterBorderStyle(ixblsUp);
    lamp.SetAngle(1800);
    EXPECT_EQ(PixelAt(lamp.UnlitPicture(), 18, 1), 0xA0A0A0);
    EXPECT_EQ(PixelAt(lamp.UnlitPicture(), 34, 13), 0x606060);
}

TEST_F(LampTest, GapRingTakesTheGapColour)
{
    TITemboLED lamp;
    lamp.SetOuterBorderStyle(ixblsNone);
    lamp.SetGap(2);
    lamp.SetGapColor(0x00FF00);
    lamp.SetLedWidth(20);
    lamp.SetLedHeight(10);
    EXPECT_EQ(PixelAt(lamp.LitPicture(), 12, 0), 0x00FF00);
    EXPECT_NE(PixelAt(lamp.LitPicture(), 12, 7), 0x00FF00);
}

TEST_F(LampTest, TexturesFromAnImageList)
{
    // Item 0 of a bitmap list: a texture of one colour for the borders; item 1 for the body.
    TWLXBitmapList textures;
    for (QRgb c : {qRgb(0x80, 0x40, 0x20), qRgb(0x00, 0xC8, 0x00)}) {
        textures.AddItem();
        QImage texture(4, 4, QImage::Format_RGB32);
        texture.fill(c);
        static_cast<TWLXBitmapListItem*>(textures.Items(textures.Count() - 1))->SetBitmap(texture);
    }
    TITemboLED lamp;
    lamp.SetBorderColor(0x808080);
    lamp.SetOuterBorderStyle(ixblsUp);
    lamp.SetOuterBorderDepth(3);
    lamp.SetGap(2);
    lamp.SetLedWidth(30);
    lamp.SetLedHeight(20);
    lamp.TakeBorderSubstance(&textures, 0, 0);
    lamp.TakeLedPlasticSubstance(&textures, 1, 0);
    EXPECT_FALSE(lamp.BorderSubstance().isNull());
    const QImage pic = lamp.LitPicture();
    // The light side shows the texture 64 brighter, the dark side 64 darker, the gap as it is.
    EXPECT_EQ(PixelAt(pic, 20, 1), 0x6080C0);
    EXPECT_EQ(PixelAt(pic, 20, 28), 0x000040);
    EXPECT_EQ(PixelAt(pic, 20, 4), 0x204080);
    // The body takes the texture's colour: green, no red.
    const QColor middle = pic.pixelColor(20, 15);
    EXPECT_GT(middle.green(), 100);
    EXPECT_EQ(middle.red(), 0);
    // A picture the list does not have removes the texture.
    lamp.TakeBorderSubstance(&textures, 5, 0);
    EXPECT_TRUE(lamp.BorderSubstance().isNull());
    EXPECT_EQ(PixelAt(lamp.LitPicture(), 20, 1), 0xA0A0A0);
}

// --- Gradient button and picture turns ------------------------------------------------------

TEST_F(LampTest, GradientButtonFrameCaptionAndDown)
{
    TGradBtn b;
    EXPECT_EQ(b.size(), QSize(75, 25));
    b.SetBtnFrameSize(10);
    EXPECT_EQ(b.BtnFrameSize(), 1);  // 25 div 2 - 5 = 7
    b.SetBtnFrameSize(7);
    EXPECT_EQ(b.BtnFrameSize(), 7);

    EXPECT_EQ(TGradBtn::DisplayCaption(QStringLiteral("&Start && Stop")), QStringLiteral("Start & Stop"));
    EXPECT_EQ(TGradBtn::DisplayCaption(QStringLiteral("A&")), QStringLiteral("A&"));

    b.SetBeginColor(0x000001);
    b.SetEndColor(0x000002);
    b.SetDown(true);
    b.SetDown(true);
    EXPECT_EQ(b.BeginColor(), 0x000002);  // exchanged once
    b.SetDown(false);
    EXPECT_EQ(b.BeginColor(), 0x000001);

    int clicks = 0;
    b.OnClick = [&] { ++clicks; };
    b.BisteKnopf = true;
    b.Click();
    EXPECT_EQ(clicks, 0);
    b.BisteKnopf = false;
    b.Click();
    EXPECT_EQ(clicks, 1);
}

TEST_F(LampTest, GradientButtonAcceleratorAndMouseCrossing)
{
    TGradBtn b;
    int clicks = 0, enters = 0, leaves = 0;
    b.OnClick = [&] { ++clicks; };
    b.OnMouseEnter = [&] { ++enters; };
    b.OnMouseLeave = [&] { ++leaves; };
    EXPECT_EQ(b.Presets, TPreset::None);

    b.SetCaption(QStringLiteral("Start"));
    EXPECT_EQ(b.AcceleratorId(), 0);  // no accelerator without "&"
    b.SetCaption(QStringLiteral("&Start"));
    ASSERT_NE(b.AcceleratorId(), 0);
    auto accelerator = [&] {
        QShortcutEvent event(QKeySequence(QStringLiteral("Alt+S")), b.AcceleratorId());
        return QCoreApplication::sendEvent(&b, &event);
    };
    // Handled in every case; a click only for an enabled standalone button.
    struct Case {
        bool face, enabled;
        int clicks;
    } cases[] = {{false, true, 1}, {true, true, 0}, {false, false, 0}};
    for (const Case& c : cases) {
        clicks = 0;
        b.BisteKnopf = c.face;
        b.setEnabled(c.enabled);
        EXPECT_TRUE(accelerator());
        EXPECT_EQ(clicks, c.clicks);
    }

    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QCoreApplication::sendEvent(&b, &enter);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&b, &leave);
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(leaves, 1);
}

TEST_F(LampTest, GradientStepsAndPatterns)
{
    EXPECT_EQ(TGradBtn::GradientStep(0x000000, 0xFFFFFF, 0, 255), 0x000000);
    EXPECT_EQ(TGradBtn::GradientStep(0x000000, 0xFFFFFF, 255, 255), 0xFFFFFF);
    EXPECT_EQ(TGradBtn::GradientStep(0x0000FF, 0x000000, 1, 2), 0x000080);  // 255 - 127
    TGradBtn b;
    b.resize(100, 40);
    b.SetBtnFrameSize(0);
    b.SetCaption(QString());
    b.SetBeginColor(0x000000);
    b.SetEndColor(0xFFFFFF);
    b.SetGradientStyle(gsHorizontal);
    QImage pic = b.Render();
    // 256 strips on 100 pixels: the first pixel column is drawn by strips 0 to 2, the last
    // one wins.
    EXPECT_EQ(PixelAt(pic, 0, 20), 0x020202);
    EXPECT_EQ(PixelAt(pic, 99, 20), 0xFFFFFF);
    b.SetGradientStyle(gsVertCenter);
    pic = b.Render();
    EXPECT_EQ(PixelAt(pic, 50, 0), 0x000000);
    EXPECT_EQ(PixelAt(pic, 50, 39), 0x000000);
    EXPECT_EQ(PixelAt(pic, 50, 20), 0xFFFFFF);
}

TEST_F(LampTest, PictureTurns)
{
    QImage p(20, 34, QImage::Format_RGB32);
    for (int y = 0; y < 34; ++y)
        for (int x = 0; x < 20; ++x)
            p.setPixel(x, y, qRgb(x * 10, y * 7, 0));
    QImage left = p;
    RotateBitmapLeft(left);
    ASSERT_EQ(left.size(), QSize(34, 20));
    EXPECT_EQ(left.pixel(5, 20 - 1 - 3), p.pixel(3, 5));  // (x, y) -> (y, W - 1 - x)
    QImage turned = p;
    for (int i = 0; i < 4; ++i)
        RotateBitmapLeft(turned);
    EXPECT_EQ(turned, p);
    QImage back = p;
    RotateBitmapRight(back);
    EXPECT_EQ(back.size(), QSize(34, 20));
    RotateBitmapLeft(back);
    EXPECT_EQ(back, p);
    QImage half = p;
    RotateBitmap180(half);
    EXPECT_EQ(half.pixel(19, 33), p.pixel(0, 0));
    // An indexed picture keeps its format and colours.
    QImage indexed = p.convertToFormat(QImage::Format_Indexed8);
    QImage ti = indexed;
    RotateBitmapRight(ti);
    EXPECT_EQ(ti.format(), QImage::Format_Indexed8);
    EXPECT_EQ(ti.pixel(33, 0), indexed.pixel(0, 0));
}

// --- Lamp element ---------------------------------------------------------------------------

TEST_F(LampTest, ColourFollowsTheVoltage)
{
    TPLampe lamp;
    lamp.GrundFarbe = 200 | (100 << 8);
    const struct {
        double volts;
        int r, g, b;
    } cases[] = {
        {5.0, 200, 100, 0}, {2.5, 100, 50, 0},   {2.4, 60, 30, 0},     {7.5, 228, 128, 28},
        {10.0, 255, 155, 55}, {50.0, 255, 155, 55}, {-5.0, 200, 100, 0}, {0.0, 60, 30, 0},
    };
    for (const auto& c : cases) {
        lamp.SetIstSpannung(c.volts);
        const int32_t shown = lamp.Lampe->LedPlasticColor();
        EXPECT_EQ(shown, c.r | (c.g << 8) | (c.b << 16)) << c.volts;
    }
    lamp.GrundFarbe = 0x0000FF;
    EXPECT_EQ(lamp.ColorAt(9.0L), 0x0000FF);  // no headroom: pure red stays
}

TEST_F(LampTest, LampLightsAtTheFirstNonZeroVoltage)
{
    TPLampe lamp;
    EXPECT_EQ(lamp.size(), QSize(32, 32));
    EXPECT_EQ(lamp.Hint, QStringLiteral("Plastiklampe"));
    lamp.SetIstSpannung(0.0L);
    EXPECT_FALSE(lamp.Eingeschaltet);  // equals the last value 0
    lamp.SetIstSpannung(5.0L);
    EXPECT_TRUE(lamp.Eingeschaltet);
    EXPECT_TRUE(lamp.Lampe->LedOn());
    lamp.SetIstSpannung(0.0L);
    EXPECT_TRUE(lamp.Lampe->LedOn());  // stays lit, at 30 %
    EXPECT_EQ(Red(lamp.Lampe->LedPlasticColor()), 76);
    // A nominal voltage of 0 shows the base colour and fails nowhere.
    lamp.SetNennSpannung(0.0L);
    lamp.SetIstSpannung(3.0L);
    EXPECT_EQ(lamp.Lampe->LedPlasticColor(), lamp.GrundFarbe);
    lamp.SetIstSpannung(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(lamp.IstSpannung, 0.0L);
}

TEST_F(LampTest, LampPicturesShowOnAndOff)
{
    QWidget page;
    page.resize(80, 80);
    auto* lamp = NewElement<TPLampe>(&page);
    lamp->setGeometry(0, 0, 40, 30);
    page.show();
    EXPECT_EQ(lamp->Lampe->geometry(), QRect(0, 0, 40, 30));
    const QImage off = Picture(page).copy(lamp->geometry());
    lamp->SetIstSpannung(5.0L);
    const QImage on = Picture(page).copy(lamp->geometry());
    EXPECT_GT(Red(PixelAt(on, 20, 15)), 200);
    EXPECT_LT(Red(PixelAt(off, 20, 15)), 140);
}

TEST_F(LampTest, StreamRoundTripAndVersionGate)
{
    TPLampe a;
    a.resize(50, 20);
    a.GrundFarbe = 0x00FF00;
    a.Lampe->FillsParent = false;
    a.Lampe->SetLedClass(ixlcRound);
    a.Lampe->SetAngle(900);
    a.Lampe->SetOuterBorderDepth(4);
    a.Lampe->SetOuterBorderStyle(ixblsUp);
    a.Lampe->FillsParent = true;
    a.NennSpannung = 12.0L;
    const QByteArray bytes = StreamOf([&](TWriter& w) { a.WriteElementData(w); });
    TPLampe b;
    EXPECT_EQ(ReadStream(bytes, [&](TReader& r) { b.ReadElementData(r, 44); }), 0);
    EXPECT_EQ(b.size(), QSize(50, 20));
    EXPECT_EQ(b.GrundFarbe, 0x00FF00);
    EXPECT_EQ(b.Lampe->LedClass(), ixlcRound);
    EXPECT_EQ(b.Lampe->Angle(), 900);
    EXPECT_EQ(b.Lampe->OuterBorderDepth(), 4);
    EXPECT_EQ(b.Lampe->OuterBorderStyle(), ixblsUp);
    EXPECT_EQ(b.NennSpannung, 12.0L);
    EXPECT_EQ(b.Lampe->LedPlasticColor(), 0x00FF00);  // recoloured at its nominal voltage

    // Version 2: no nominal voltage.
    const QByteArray v2 = StreamOf([](TWriter& w) {
        w.WriteInteger(1);
        w.WriteBoolean(false);
        w.WriteInteger(40);
        w.WriteInteger(40);
        w.WriteRawInt32(0xFF0000);
        w.WriteRawByte(ixlcRomb);
        w.WriteInteger(0);
        w.WriteInteger(2);
        w.WriteRawByte(ixblsDown);
    });
    TPLampe c;
    EXPECT_EQ(ReadStream(v2, [&](TReader& r) { c.ReadElementData(r, 2); }), 0);
    EXPECT_EQ(c.Lampe->LedClass(), ixlcRomb);
    EXPECT_EQ(c.NennSpannung, 5.0L);
}

TEST_F(LampTest, DialogRowsAreWrittenBack)
{
    TScopedDialogResponder responder;
    QStringList captions;
    responder.Answer([&](QDialog& d) {
        auto& dlg = static_cast<TDefault_Dlg&>(d);
        const auto& rows = dlg.PropScrollbox->Rows();
        for (const auto& row : rows)
            captions << row->Editor->NameLabel->text();
        auto combo = [&](int i) { return static_cast<TComboPropEditor*>(rows.at(size_t(i))->Editor)->Combo; };
        static_cast<TEditPropEditor*>(rows.at(0)->Editor)->Edit->setText(QStringLiteral("12,5"));
        combo(2)->setCurrentIndex(4);  // triangle
        combo(3)->setCurrentIndex(3);  // 270°
        combo(5)->setCurrentIndex(2);  // no border
        return mrOk;
    });
    TPLampe lamp;
    lamp.GrundFarbe = 200;
    EXPECT_EQ(lamp.EditProperties(), mrOk);
    EXPECT_EQ(captions.mid(0, 7), (QStringList{"Spannung [V]", "Farbe", "Form", "Drehung", "Rand",
                                               "Stil", "Breite"}));
    EXPECT_EQ(lamp.NennSpannung, 12.5L);
    EXPECT_EQ(lamp.Lampe->LedClass(), ixlcTriangle);
    EXPECT_EQ(lamp.Lampe->Angle(), -900);
    EXPECT_EQ(lamp.Lampe->OuterBorderStyle(), ixblsNone);
    EXPECT_EQ(responder.Titles().value(0), QStringLiteral("Plastiklampe"));
}
