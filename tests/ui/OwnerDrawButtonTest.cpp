#include "platform/Colors.h"
#include "platform/Context.h"
#include "platform/Help.h"
#include "ui/OwnerDrawButton.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QEnterEvent>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>

#include <memory>

namespace {

using B = TOrvinCustomButton;

const int32_t kLight = ColorToRGB(clBtnHighlight);
const int32_t kShadow = ColorToRGB(clBtnShadow);
const int32_t kFace = ColorToRGB(clBtnFace);
constexpr int32_t kMagenta = 0xFF00FF;

QImage Render(QWidget& w)
{
    QImage img(w.size(), QImage::Format_RGB32);
    img.fill(Qt::black);
    w.render(&img);
    return img;
}

int32_t Px(const QImage& img, int x, int y)
{
    return QColorToTColor(img.pixelColor(x, y));
}

void Enter(QWidget& w)
{
    QEnterEvent e(QPointF(2, 2), QPointF(2, 2), w.mapToGlobal(QPointF(2, 2)));
    QApplication::sendEvent(&w, &e);
}

void Leave(QWidget& w)
{
    QEvent e(QEvent::Leave);
    QApplication::sendEvent(&w, &e);
}

void Mouse(QWidget& w, QEvent::Type type, QPoint at = QPoint(3, 3))
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, QPointF(at), w.mapToGlobal(QPointF(at)), Qt::LeftButton, held,
                  Qt::NoModifier);
    QApplication::sendEvent(&w, &e);
}

void Key(QWidget& w, int key, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QKeyEvent e(QEvent::KeyPress, key, mods);
    QApplication::sendEvent(&w, &e);
}

// A glyph bitmap of images of size x size side by side, image i in colours[i], each with its
// bottom-left pixel in magenta (the transparent colour).
QImage GlyphBitmap(int size, std::initializer_list<QColor> colours)
{
    QImage img(size * int(colours.size()), size, QImage::Format_RGB32);
    int i = 0;
    for (const QColor& c : colours) {
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                img.setPixelColor(i * size + x, y, c);
        img.setPixelColor(i * size, size - 1, TColorToQColor(kMagenta));
        ++i;
    }
    return img;
}

class OwnerDrawButtonTest : public ::testing::Test {
protected:
    void SetUp() override { ResetContext(); }
    void TearDown() override { SetUrlOpenerForTesting({}); }
};

TEST_F(OwnerDrawButtonTest, SwatchShowsItsColourInARaisedFrameAndAFocusRectangle)
{
    QWidget window;
    auto* swatch = new TOrvinButton(&window);
    swatch->setGeometry(0, 0, 16, 16);
    swatch->SetButtonStyle(B::stRaised);
    swatch->SetColor(clRed);
    EXPECT_EQ(swatch->focusPolicy(), Qt::TabFocus);

    QImage img = Render(*swatch);
    EXPECT_EQ(Px(img, 0, 0), kLight);
    EXPECT_EQ(Px(img, 14, 0), kLight);
    EXPECT_EQ(Px(img, 0, 14), kLight);
    EXPECT_EQ(Px(img, 15, 0), kShadow);
    EXPECT_EQ(Px(img, 0, 15), kShadow);
    EXPECT_EQ(Px(img, 15, 15), kShadow);
    for (QPoint p : {QPoint(1, 1), QPoint(3, 3), QPoint(8, 8), QPoint(14, 14)})
        EXPECT_EQ(Px(img, p.x(), p.y()), clRed) << p.x() << "," << p.y();

    window.show();
    QApplication::setActiveWindow(&window);
    swatch->setFocus();
    ASSERT_TRUE(swatch->hasFocus());
    img = Render(*swatch);
    // A dotted frame 3 pixels inside that inverts the colour below it.
    EXPECT_EQ(Px(img, 3, 3), 0xFFFF00);
    EXPECT_EQ(Px(img, 4, 3), clRed);
    EXPECT_EQ(Px(img, 5, 3), 0xFFFF00);
    EXPECT_EQ(Px(img, 12, 12), 0xFFFF00);
    EXPECT_EQ(Px(img, 2, 2), clRed);
    EXPECT_EQ(Px(img, 8, 8), clRed);

    swatch->SetShowFocused(false);
    EXPECT_EQ(Px(Render(*swatch), 3, 3), clRed);
}

struct StyleCase {
    B::TStyle style;
    bool hot;
    int32_t topLeft, second, bottomRight, inside;   // (0,0), (1,1), (w-1,h-1), (w/2,h/2)
};

TEST_F(OwnerDrawButtonTest, FrameStylesInNormalAndHotState)
{
    constexpr int32_t bg = clYellow;
    const StyleCase cases[] = {
        {B::stFlat, false, bg, bg, bg, bg},
        {B::stFlat, true, kLight, bg, kShadow, bg},
        {B::stNone, true, bg, bg, bg, bg},
        {B::stRaised, false, kLight, bg, kShadow, bg},
        {B::stFlatDot, false, bg, bg, bg, bg},
        {B::stFlatDot, true, kLight, bg, kShadow, bg},
        {B::stRaisedDot, false, kLight, kLight, kShadow, bg},
        {B::stDefault, false, kLight, kLight, clBlack, kFace},
        {B::stFrameLowered, false, kShadow, kLight, kLight, kFace},
        {B::stFrameRaised, false, kLight, kFace, kShadow, kFace},
    };
    for (const StyleCase& c : cases) {
        QWidget window;
        TOrvinButton button(&window);
        button.resize(30, 20);
        button.SetButtonStyle(c.style);
        button.SetColor(bg);
        if (c.hot)
            Enter(button);
        const QImage img = Render(button);
        SCOPED_TRACE(testing::Message() << "style " << int(c.style) << " hot " << c.hot);
        EXPECT_EQ(Px(img, 0, 0), c.topLeft);
        EXPECT_EQ(Px(img, 1, 1), c.second);
        EXPECT_EQ(Px(img, 29, 19), c.bottomRight);
        EXPECT_EQ(Px(img, 15, 10), c.inside);
    }
}

TEST_F(OwnerDrawButtonTest, DottedFramesSetEveryOtherPixel)
{
    TOrvinButton button;
    button.resize(30, 20);
    button.SetButtonStyle(B::stRaisedDot);
    button.SetColor(clYellow);
    const QImage img = Render(button);
    EXPECT_EQ(Px(img, 2, 0), kLight);
    EXPECT_EQ(Px(img, 3, 0), clYellow);
    EXPECT_EQ(Px(img, 2, 1), clYellow);   // second ring
    EXPECT_EQ(Px(img, 3, 1), kLight);
}

TEST_F(OwnerDrawButtonTest, PressingSwapsTheFrameColoursAndInnerEdge)
{
    TOrvinButton button;
    button.resize(30, 20);
    button.SetButtonStyle(B::stFrameRaised);
    Mouse(button, QEvent::MouseButtonPress);
    EXPECT_TRUE(button.IsPressed());
    const QImage img = Render(button);
    EXPECT_EQ(Px(img, 0, 0), kShadow);
    EXPECT_EQ(Px(img, 29, 19), kLight);
    EXPECT_EQ(Px(img, 2, 2), kShadow);     // sunken inner edge
    EXPECT_EQ(Px(img, 27, 17), kLight);
    Mouse(button, QEvent::MouseButtonRelease);
    EXPECT_FALSE(button.IsPressed());
}

TEST_F(OwnerDrawButtonTest, CustomMarginColours)
{
    TOrvinButton button;
    button.resize(30, 20);
    button.SetButtonStyle(B::stRaised);
    button.SetColorMarginLeftTop(clBtnHighlight);   // the style's own colour: still default
    EXPECT_EQ(button.ColorMarginStyle(), B::cmDefault);
    button.SetColorMarginRightBottom(clRed);
    EXPECT_EQ(button.ColorMarginStyle(), B::cmCustom);
    button.SetColorMarginLeftTop(clLime);
    const QImage img = Render(button);
    EXPECT_EQ(Px(img, 0, 0), clLime);
    EXPECT_EQ(Px(img, 29, 19), clRed);

    button.SetColorMarginStyle(B::cmDefault);
    EXPECT_EQ(Px(Render(button), 0, 0), kLight);
}

TEST_F(OwnerDrawButtonTest, ButtonFaceStylesIgnoreTheirColour)
{
    QWidget parent;
    QPalette pal = parent.palette();
    pal.setColor(QPalette::Window, Qt::blue);
    parent.setPalette(pal);
    TOrvinButton button(&parent);
    button.resize(30, 20);
    EXPECT_TRUE(button.ParentColor());
    EXPECT_EQ(Px(Render(button), 15, 10), clBlue);   // stFlat shows the parent's colour

    button.SetButtonStyle(B::stDefault);
    button.SetColor(clRed);
    button.SetParentColor(true);
    EXPECT_EQ(button.Color(), clBtnFace);
    EXPECT_FALSE(button.ParentColor());
    EXPECT_EQ(Px(Render(button), 15, 10), kFace);
}

TEST_F(OwnerDrawButtonTest, GlyphCountFollowsTheBitmapShape)
{
    struct Case {
        int w, h, before, after;
    };
    const Case cases[] = {
        {64, 16, 2, 4}, {80, 16, 2, 1}, {16, 16, 3, 1}, {8, 16, 3, 1}, {48, 20, 3, 3}, {32, 16, 1, 2},
    };
    for (const Case& c : cases) {
        TOrvinButton button;
        button.SetNumGlyphs(c.before);
        button.SetNumGlyphsHot(c.before);
        QImage bitmap(c.w, c.h, QImage::Format_RGB32);
        bitmap.fill(Qt::white);
        button.SetGlyph(bitmap);
        button.SetGlyphHot(bitmap);
        EXPECT_EQ(button.NumGlyphs(), c.after) << c.w << "x" << c.h;
        EXPECT_EQ(button.NumGlyphsHot(), c.after) << c.w << "x" << c.h;
    }
    TOrvinButton button;
    button.SetGlyph(QImage());
    EXPECT_EQ(button.NumGlyphs(), 2);   // an empty bitmap changes nothing
}

TEST_F(OwnerDrawButtonTest, GlyphImageByStateWithItsTransparentColour)
{
    QWidget window;
    TOrvinButton button(&window);
    button.resize(30, 30);
    button.SetButtonStyle(B::stNone);
    button.SetColor(clYellow);
    button.SetGlyph(GlyphBitmap(8, {Qt::green, Qt::blue}));
    ASSERT_EQ(button.NumGlyphs(), 2);
    // Centred: (30 - 8) div 2 = 11.
    QImage img = Render(button);
    EXPECT_EQ(Px(img, 12, 12), clLime);
    EXPECT_EQ(Px(img, 18, 11), clLime);
    EXPECT_EQ(Px(img, 11, 18), clYellow);   // the transparent corner
    EXPECT_EQ(Px(img, 10, 12), clYellow);
    EXPECT_EQ(Px(img, 19, 12), clYellow);

    button.SetGlyphHot(GlyphBitmap(8, {Qt::red}));
    Enter(button);
    EXPECT_EQ(Px(Render(button), 12, 12), clRed);
    Leave(button);

    button.setEnabled(false);   // the second image
    img = Render(button);
    EXPECT_EQ(Px(img, 12, 12), clBlue);
    EXPECT_EQ(Px(img, 11, 18), clYellow);
}

TEST_F(OwnerDrawButtonTest, DisabledGlyphWithoutItsOwnImageIsEmbossed)
{
    TOrvinButton button;
    button.resize(30, 30);
    button.SetButtonStyle(B::stNone);
    button.SetColor(clYellow);
    button.SetGlyph(GlyphBitmap(8, {Qt::green}));
    button.setEnabled(false);
    const QImage img = Render(button);
    EXPECT_EQ(Px(img, 12, 12), kShadow);
    EXPECT_EQ(Px(img, 19, 12), kLight);   // the highlight copy one pixel right and down
    EXPECT_EQ(Px(img, 13, 19), kLight);
    EXPECT_EQ(Px(img, 12, 19), clYellow); // below the transparent corner
    EXPECT_EQ(Px(img, 20, 12), clYellow);
}

TEST_F(OwnerDrawButtonTest, GlyphBesideOrAboveTheCaption)
{
    TOrvinButton button;
    button.resize(75, 40);
    button.SetButtonStyle(B::stNone);
    button.SetColor(clWhite);
    button.setText("Ab");
    button.SetGlyph(GlyphBitmap(10, {Qt::green}));
    const QSize text = button.fontMetrics().size(Qt::TextShowMnemonic, "Ab");

    // Left: x = (75 - tw - 10) div 2 - 3, vertically centred.
    const int gx = (75 - text.width() - 10) / 2 - 3;
    QImage img = Render(button);
    EXPECT_EQ(Px(img, gx + 1, 15), clLime);
    EXPECT_EQ(Px(img, gx + 9, 24), clLime);
    EXPECT_EQ(Px(img, gx - 1, 20), clWhite);
    EXPECT_EQ(Px(img, gx + 10, 20), clWhite);

    // Top: y = (40 - 10) div 2 - th div 2 - 3, horizontally centred.
    button.SetLayout(B::blGlyphTop);
    const int gy = (40 - 10) / 2 - text.height() / 2 - 3;
    img = Render(button);
    EXPECT_EQ(Px(img, 33, gy + 1), clLime);
    EXPECT_EQ(Px(img, 41, gy + 9), clLime);
    EXPECT_EQ(Px(img, 36, gy - 1), clWhite);
    EXPECT_EQ(Px(img, 31, gy + 5), clWhite);
}

bool HasBluePixel(const QImage& img)
{
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QColor c = img.pixelColor(x, y);
            if (c.blue() > 200 && c.red() < 60 && c.green() < 60)
                return true;
        }
    return false;
}

TEST_F(OwnerDrawButtonTest, CaptionTakesTheHotTrackColourOnlyWhenEnabledAndHot)
{
    TOrvinButton button;
    button.resize(75, 25);
    QFont f = button.font();
    f.setPixelSize(18);
    f.setBold(true);
    button.setFont(f);
    button.setText("WWW");
    button.SetColor(clWhite);
    int over = 0, out = 0;
    button.OnMouseOver = [&] { ++over; };
    button.OnMouseOut = [&] { ++out; };

    EXPECT_FALSE(HasBluePixel(Render(button)));
    Enter(button);
    EXPECT_TRUE(button.IsHot());
    EXPECT_EQ(button.cursor().shape(), Qt::PointingHandCursor);
    EXPECT_TRUE(HasBluePixel(Render(button)));
    Leave(button);
    EXPECT_FALSE(HasBluePixel(Render(button)));
    EXPECT_EQ(over, 1);
    EXPECT_EQ(out, 1);

    button.SetHotTrack(false);
    Enter(button);
    EXPECT_FALSE(HasBluePixel(Render(button)));
    Leave(button);

    button.SetHotTrack(true);
    button.setEnabled(false);
    Enter(button);
    EXPECT_FALSE(button.IsHot());
    EXPECT_FALSE(HasBluePixel(Render(button)));
    EXPECT_EQ(over, 2);
}

TEST_F(OwnerDrawButtonTest, StockKindsSetCaptionDefaultsAndModalResult)
{
    struct Case {
        B::TKind kind;
        const char* caption;
        bool isDefault, isCancel;
        int result;
    };
    const Case cases[] = {
        {B::skOK, "OK", true, false, 1},       {B::skCancel, "Cancel", false, true, 2},
        {B::skYes, "&Yes", true, false, 6},    {B::skNo, "&No", false, true, 7},
        {B::skAbort, "Abort", false, false, 3}, {B::skRetry, "&Retry", false, false, 4},
        {B::skIgnore, "&Ignore", false, false, 5}, {B::skAll, "&All", false, false, 8},
    };
    for (const Case& c : cases) {
        QDialog dialog;
        auto* button = new TOrvinButton(&dialog);
        button->SetButtonKind(c.kind);
        SCOPED_TRACE(c.caption);
        EXPECT_EQ(button->text(), c.caption);
        EXPECT_EQ(button->Default(), c.isDefault);
        EXPECT_EQ(button->Cancel(), c.isCancel);
        EXPECT_EQ(button->NumGlyphs(), 1);
        EXPECT_FALSE(button->Glyph().isNull());
        int clicks = 0;
        QObject::connect(button, &QAbstractButton::clicked, [&] { ++clicks; });
        dialog.show();
        button->Click();
        EXPECT_EQ(clicks, 1);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), c.result);
    }

    TOrvinButton button;
    button.SetButtonKind(B::skSilly);
    EXPECT_EQ(button.text(), "&Silly");
    button.SetGlyph(GlyphBitmap(8, {Qt::red}));
    EXPECT_EQ(button.ButtonKind(), B::skCustom);
    EXPECT_EQ(button.text(), "&Silly");
}

TEST_F(OwnerDrawButtonTest, CloseAndHelpKinds)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    ASSERT_TRUE(QDir().mkpath(tmp.path() + "/help"));
    QFile page(tmp.path() + "/help/777.html");
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    Ctx().ProgramFolder = tmp.path() + "/";
    QStringList opened;
    SetUrlOpenerForTesting([&](const QUrl& url) {
        opened << url.toLocalFile();
        return true;
    });

    QWidget window;
    window.setProperty("HelpContext", 777);
    auto* group = new QWidget(&window);
    auto* help = new TOrvinButton(group);
    help->SetButtonKind(B::skHelp);
    auto* close = new TOrvinButton(group);
    close->SetButtonKind(B::skClose);
    window.show();

    help->Click();
    ASSERT_EQ(opened.size(), 1);
    EXPECT_TRUE(opened.first().endsWith("/help/777.html"));
    EXPECT_TRUE(window.isVisible());
    close->Click();
    EXPECT_FALSE(window.isVisible());
}

TEST_F(OwnerDrawButtonTest, EnterAndEscapeInADialog)
{
    QDialog dialog;
    auto* edit = new QLineEdit(&dialog);
    auto* ok = new TOrvinButton(&dialog);
    ok->SetButtonKind(B::skOK);
    auto* cancel = new TOrvinButton(&dialog);
    cancel->SetButtonKind(B::skCancel);
    int okClicks = 0, cancelClicks = 0;
    QObject::connect(ok, &QAbstractButton::clicked, [&] { ++okClicks; });
    QObject::connect(cancel, &QAbstractButton::clicked, [&] { ++cancelClicks; });
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    edit->setFocus();

    Key(*edit, Qt::Key_Return, Qt::ShiftModifier);   // with Shift: nothing
    EXPECT_EQ(okClicks, 0);
    Key(*edit, Qt::Key_Return);
    EXPECT_EQ(okClicks, 1);
    EXPECT_EQ(dialog.result(), 1);

    dialog.show();
    edit->setFocus();
    Key(*edit, Qt::Key_Escape);
    EXPECT_EQ(cancelClicks, 1);
    EXPECT_EQ(dialog.result(), 2);

    // With a button of this class focused, Enter belongs to that button.
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    cancel->setFocus();
    ASSERT_TRUE(cancel->hasFocus());
    EXPECT_FALSE(ok->IsDefaultStyle());
    EXPECT_TRUE(cancel->IsDefaultStyle());
    Key(*cancel, Qt::Key_Return);
    EXPECT_EQ(okClicks, 1);
    EXPECT_EQ(cancelClicks, 2);
}

class RepeatButton : public TOrvinButton {
public:
    using TOrvinButton::RepeatStartTick;
    using TOrvinButton::RepeatTick;
};

TEST_F(OwnerDrawButtonTest, HeldButtonRepeatsItsClickAndClicksOnceMoreOnRelease)
{
    RepeatButton button;
    button.SetRepeatAction(true);
    int clicks = 0;
    QObject::connect(&button, &QAbstractButton::clicked, [&] { ++clicks; });
    auto* start = button.findChild<QTimer*>("RepeatStartTimer");
    auto* repeat = button.findChild<QTimer*>("RepeatTimer");
    ASSERT_TRUE(start && repeat);

    Mouse(button, QEvent::MouseButtonPress);
    EXPECT_TRUE(start->isActive());
    EXPECT_EQ(start->interval(), 50);
    EXPECT_EQ(clicks, 0);
    button.RepeatStartTick();
    EXPECT_FALSE(start->isActive());
    EXPECT_TRUE(repeat->isActive());
    EXPECT_EQ(repeat->interval(), 50);
    button.RepeatTick();
    button.RepeatTick();
    button.RepeatTick();
    EXPECT_EQ(clicks, 3);
    Mouse(button, QEvent::MouseButtonRelease);
    EXPECT_EQ(clicks, 4);
    EXPECT_FALSE(repeat->isActive());

    // Leaving while held stops the repetition; releasing outside does not click.
    Mouse(button, QEvent::MouseButtonPress);
    button.RepeatStartTick();
    Mouse(button, QEvent::MouseMove, QPoint(-5, -5));
    EXPECT_FALSE(repeat->isActive());
    Mouse(button, QEvent::MouseButtonRelease, QPoint(-5, -5));
    EXPECT_EQ(clicks, 4);
}

TEST_F(OwnerDrawButtonTest, DoubleClickCountsAsTwoClicks)
{
    TOrvinButton button;
    int clicks = 0;
    QObject::connect(&button, &QAbstractButton::clicked, [&] { ++clicks; });
    Mouse(button, QEvent::MouseButtonPress);
    Mouse(button, QEvent::MouseButtonRelease);
    Mouse(button, QEvent::MouseButtonDblClick);
    Mouse(button, QEvent::MouseButtonRelease);
    EXPECT_EQ(clicks, 2);
}

TEST_F(OwnerDrawButtonTest, PopupMenuPositionsAndLifetime)
{
    QWidget window;
    auto* button = new TOrvinButton(&window);
    button->setGeometry(40, 30, 75, 25);
    auto menu = std::make_unique<QMenu>();
    button->SetPopupMenu(menu.get());
    const QPoint origin = button->mapToGlobal(QPoint(0, 0));

    EXPECT_EQ(button->PopupPosition(100), origin + QPoint(-1, 25));
    button->SetPositionPopup(B::puLeft);
    EXPECT_EQ(button->PopupPosition(100), origin + QPoint(-101, 0));   // right edge at left - 1
    button->SetPositionPopup(B::puRight);
    EXPECT_EQ(button->PopupPosition(100), origin + QPoint(76, 0));

    menu.reset();
    EXPECT_EQ(button->PopupMenu(), nullptr);
    button->Click();   // no menu left to open

    // Pressing opens the menu at once; closing it ends the pressed drawing.
    auto* attached = new QMenu(&window);
    attached->addAction("item");
    button->SetPopupMenu(attached);
    window.show();
    Mouse(*button, QEvent::MouseButtonPress);
    EXPECT_TRUE(attached->isVisible());
    EXPECT_TRUE(button->IsPressed());
    attached->hide();
    EXPECT_FALSE(button->IsPressed());
}

TEST_F(OwnerDrawButtonTest, HintSecondLineExtendsAnExistingHint)
{
    TOrvinButton button;
    button.SetHintSecondLine("second");
    EXPECT_TRUE(button.toolTip().isEmpty());
    button.setToolTip("first");
    button.SetHintSecondLine("second");
    EXPECT_EQ(button.toolTip(), "first\nsecond");
}

TEST_F(OwnerDrawButtonTest, CreatedAt75By25)
{
    TOrvinButton button;
    EXPECT_EQ(button.size(), QSize(75, 25));
    EXPECT_EQ(button.ButtonStyle(), B::stFlat);
    EXPECT_EQ(button.HotTrackColor(), clBlue);
}

} // namespace
