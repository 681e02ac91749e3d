#include "Surface.h"
#include "widgets/ButtonFace.h"
#include "widgets/ButtonGlyph.h"
#include "widgets/EffectText.h"
#include "widgets/GlyphTextLayout.h"
#include "widgets/Panels.h"
#include "widgets/ScrollBar.h"
#include "widgets/SpeedButton.h"
#include "widgets/SpinButton.h"
#include "widgets/SpinEdit.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QPainter>
#include <QMouseEvent>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <memory>

namespace {

using S = TWLXGraphicButtonState;
using U = TWLXUserButtonStyle;

QImage Picture(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    image.setPixel(w / 2, h / 2, qRgb(0, 0, 0));
    return image;
}

void Mouse(QWidget* w, QEvent::Type type, QPoint p, Qt::MouseButtons buttons = Qt::LeftButton)
{
    QMouseEvent event(type, QPointF(p), QPointF(w->mapToGlobal(p)),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

void Leave(QWidget* w)
{
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(w, &event);
}

void Key(QWidget* w, int key, const QString& text = QString())
{
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &event);
}

// ---- glyphs ------------------------------------------------------------------------------

TEST(GlyphTest, PictureCountFollowsTheBitmapShape)
{
    const struct { int w, h, numGlyphs; } cases[] = {{64, 16, 4}, {96, 16, 1}, {20, 16, 3}};
    for (const auto& c : cases) {
        TWLXGlyph glyph;
        glyph.SetNumGlyphs(3);
        glyph.SetGlyph(Picture(c.w, c.h));
        EXPECT_EQ(glyph.NumGlyphs(), c.numGlyphs) << c.w;
    }
}

TEST(GlyphTest, StatesShareOneStripPerSizeAndFreeIt)
{
    {
        TWLXGlyph a, b;
        a.SetGlyph(Picture(16, 16));
        b.SetGlyph(Picture(16, 16));
        const int up = a.GlyphIndex(S::Up);
        EXPECT_EQ(a.GlyphIndex(S::Down), up) << "one picture: down shows the up picture";
        const int disabled = a.GlyphIndex(S::Disabled);
        EXPECT_NE(disabled, up);
        EXPECT_NE(a.StripList()->Image(disabled), a.StripList()->Image(up)) << "embossed";
        b.GlyphIndex(S::Up);
        EXPECT_EQ(a.StripList(), b.StripList());
        EXPECT_EQ(TWLXGlyphCache::Instance()->Count(), 1);
        const int slotCount = a.StripList()->SlotCount();
        a.SetGlyph(Picture(32, 16));          // frees a's slots; b keeps the strip alive
        TWLXGlyph c;
        c.SetGlyph(Picture(16, 16));
        c.GlyphIndex(S::Up);
        c.GlyphIndex(S::Disabled);
        EXPECT_EQ(c.StripList()->SlotCount(), slotCount) << "freed slots are reused";
    }
    EXPECT_EQ(TWLXGlyphCache::Instance(), nullptr) << "the last glyph frees the cache";
}

// ---- layout ------------------------------------------------------------------------------

TEST(GlyphTextLayoutTest, PlacementTable)
{
    TWLXButtonLayout layout;   // agCenter, taRight, spacing 2
    const TWLXRect button{0, 0, 100, 30};
    auto place = [&](TWLXRect text, TWLXRect glyph) {
        return PlaceGlyphText(text, glyph, button, layout, false, 0).Rects;
    };
    TWLXGlyphTextRects r = place({0, 0, 40, 13}, {0, 0, 16, 16});
    EXPECT_EQ(r.Glyph, (TWLXRect{21, 7, 37, 23}));
    EXPECT_EQ(r.Text, (TWLXRect{40, 9, 80, 22}));
    EXPECT_EQ(r.Union, (TWLXRect{21, 7, 80, 23}));

    r = place({0, 0, 40, 13}, {});
    EXPECT_EQ(r.Text.Left, 31) << "no glyph, no spacing: (100 - 40) / 2 + 1";

    layout.SetAlignText2Glyph(TWLXTextArrange::taBottom);
    r = place({0, 0, 40, 13}, {0, 0, 16, 16});
    EXPECT_EQ(r.Glyph, (TWLXRect{42, 0, 58, 16}));
    EXPECT_EQ(r.Text, (TWLXRect{31, 19, 71, 32}));

    layout.SetAlignText2Glyph(TWLXTextArrange::taRight);
    layout.SetArrow(true);
    layout.SetArrowPosition(TWLXArrowPosition::apLeftGlyph);
    // Block 16 + 5 + 3 = 24 wide at 38; the glyph moves right by ArrowIndent + 2 x ArrowSize - 1.
    const TWLXGlyphTextPlacement p = PlaceGlyphText({}, {0, 0, 16, 16}, button, layout, false, 0);
    EXPECT_EQ(p.Rects.Glyph.Left, 38 + 8);
    EXPECT_EQ(p.ArrowX, 38);
}

TEST(GlyphTextLayoutTest, MeasureOnlyDrawsNothing)
{
    Surface s(100, 30);
    TWLXButtonLayout layout;
    TWLXGlyphTextRects rects;
    const QImage glyph = Picture(16, 16);
    const TWLXRect focus = DrawGlyphBitmapText(*s.canvas, QStringLiteral("Text"), nullptr,
                                               {0, 0, 100, 30}, &glyph, nullptr, layout, 0, false,
                                               false, kTextEnabled | kGtMeasure, &rects, QFont());
    EXPECT_EQ(focus, (TWLXRect{rects.Union.Left - 1, rects.Union.Top - 1, rects.Union.Right + 1,
                               rects.Union.Bottom + 1}));
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 100; ++x)
            ASSERT_EQ(Rgb(s.px(x, y)), clWhite) << x << "," << y;
}

// ---- faces -------------------------------------------------------------------------------

TEST(ButtonFaceTest, ContentRectangles)
{
    Surface s(24, 24);
    TWLXRect up{0, 0, 24, 24};
    DrawButtonFace(*s.canvas, false, clBtnFace, 0x05, S::Up, U::ubsWin40, up);
    EXPECT_EQ(up, (TWLXRect{3, 3, 21, 21}));
    TWLXRect down{0, 0, 24, 24};
    DrawButtonFace(*s.canvas, false, clBtnFace, 0x05, S::Down, U::ubsWin40, down);
    EXPECT_EQ(down, (TWLXRect{4, 4, 22, 22}));
}

TEST(ButtonFaceTest, PixelsOfTheLooks)
{
    const int32_t face = 0x30A050;
    auto draw = [&](U style, S state, bool hot) {
        auto s = std::make_unique<Surface>(20, 20, clWhite);
        TWLXRect r{0, 0, 20, 20};
        DrawButtonFace(*s->canvas, hot, face, 0x05, state, style, r);
        s->Done();
        return s;
    };
    auto flatUp = draw(U::ubsFlat, S::Up, false);
    EXPECT_EQ(flatUp->px(0, 0), face) << "a flat button at rest shows only its colour";
    EXPECT_EQ(flatUp->px(19, 19), face);
    auto flatHot = draw(U::ubsFlat, S::Hot, true);
    EXPECT_EQ(Rgb(flatHot->px(0, 0)), Rgb(clBtnHighlight)) << "hot: raised edge";
    EXPECT_EQ(Rgb(flatHot->px(19, 19)), Rgb(clBtnShadow));
    auto flatDown = draw(U::ubsFlat, S::Held, false);
    EXPECT_EQ(Rgb(flatDown->px(0, 0)), Rgb(clBtnShadow)) << "pressed: sunken edge";
    auto latched = draw(U::ubsWin40, S::Down, false);
    EXPECT_NE(latched->px(10, 10), latched->px(11, 10)) << "a latched button is dithered";
    EXPECT_EQ(latched->px(10, 10), latched->px(11, 11));
    auto explorer = draw(U::ubsExplorer, S::Up, false);
    auto officeTransp = draw(U::ubsOfficeTransp, S::Up, false);
    for (const QPoint p : {QPoint(0, 0), QPoint(10, 10), QPoint(19, 19)}) {
        EXPECT_EQ(explorer->px(p.x(), p.y()), clWhite) << "explorer at rest leaves the background";
        EXPECT_EQ(officeTransp->px(p.x(), p.y()), clWhite);
    }
}

// ---- speed buttons -----------------------------------------------------------------------

struct Buttons {
    QWidget parent;
    TWLXSpeedButton* a = new TWLXSpeedButton(&parent);
    TWLXSpeedButton* b = new TWLXSpeedButton(&parent);
    TWLXSpeedButton* other = new TWLXSpeedButton(&parent);
    Buttons(int group)
    {
        a->SetGroupIndex(group);
        b->SetGroupIndex(group);
        other->SetGroupIndex(group + 1);
    }
};

TEST(SpeedButtonTest, GroupRules)
{
    {
        Buttons g(0);
        g.a->SetPressed(true);
        EXPECT_FALSE(g.a->Pressed()) << "an ungrouped button cannot latch";
        g.a->setChecked(true);
        EXPECT_FALSE(g.a->isChecked());
    }
    Buttons g(22);
    g.other->SetPressed(true);
    g.a->SetPressed(true);
    EXPECT_TRUE(g.a->Pressed());
    EXPECT_EQ(g.a->ButtonState(), S::Down);
    g.b->SetPressed(true);
    EXPECT_FALSE(g.a->Pressed()) << "pressing the second releases the first";
    EXPECT_FALSE(g.a->isChecked());
    EXPECT_TRUE(g.other->Pressed()) << "another group is untouched";
    g.b->SetPressed(false);
    EXPECT_TRUE(g.b->Pressed()) << "a latched button cannot release itself";
    g.b->click();
    EXPECT_TRUE(g.b->isChecked()) << "nor by a click";
    g.b->setChecked(false);
    EXPECT_TRUE(g.b->Pressed() && g.b->isChecked()) << "nor through Qt's checked state";

    g.a->SetAllowAllUp(true);
    EXPECT_TRUE(g.b->AllowAllUp()) << "AllowAllUp spreads over the group";
    EXPECT_FALSE(g.other->AllowAllUp());
    g.b->click();
    EXPECT_FALSE(g.b->Pressed()) << "with AllowAllUp a click releases it";
    g.a->setChecked(true);
    EXPECT_TRUE(g.a->Pressed() && !g.b->Pressed());
}

TEST(SpeedButtonTest, MouseStatesAndClicks)
{
    QWidget parent;
    auto* button = new TWLXSpeedButton(&parent);
    button->setGeometry(0, 0, 30, 24);
    int clicks = 0;
    QObject::connect(button, &QAbstractButton::clicked, [&] { ++clicks; });
    parent.show();

    Mouse(button, QEvent::MouseMove, {5, 5}, Qt::NoButton);
    EXPECT_EQ(button->ButtonState(), S::Hot);
    Mouse(button, QEvent::MouseButtonPress, {5, 5});
    EXPECT_EQ(button->ButtonState(), S::Held);
    Mouse(button, QEvent::MouseMove, {50, 5});
    EXPECT_EQ(button->ButtonState(), S::Up) << "held button left: up";
    Mouse(button, QEvent::MouseMove, {5, 5});
    EXPECT_EQ(button->ButtonState(), S::Held) << "back in: held";
    Mouse(button, QEvent::MouseButtonRelease, {5, 5}, Qt::NoButton);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(button->ButtonState(), S::Hot);

    Mouse(button, QEvent::MouseButtonPress, {5, 5});
    Mouse(button, QEvent::MouseButtonRelease, {40, 5}, Qt::NoButton);
    EXPECT_EQ(clicks, 1) << "released outside: no click";

    button->SetGroupIndex(7);
    Mouse(button, QEvent::MouseButtonPress, {5, 5});
    Mouse(button, QEvent::MouseButtonRelease, {5, 5}, Qt::NoButton);
    EXPECT_TRUE(button->Pressed());
    EXPECT_EQ(clicks, 2);
    Mouse(button, QEvent::MouseButtonPress, {5, 5});
    Mouse(button, QEvent::MouseButtonRelease, {5, 5}, Qt::NoButton);
    EXPECT_TRUE(button->Pressed()) << "latched, AllowAllUp off: stays down";
    EXPECT_EQ(clicks, 2) << "and no click";

    button->setEnabled(false);
    EXPECT_EQ(button->ButtonState(), S::DisabledDown);
    button->setEnabled(true);
    EXPECT_EQ(button->ButtonState(), S::Down);
}

TEST(SpeedButtonTest, RepeatedClicks)
{
    QWidget parent;
    auto* button = new TWLXSpeedButton(&parent);
    button->setGeometry(0, 0, 30, 24);
    button->RepeatedClick = true;
    int clicks = 0;
    QObject::connect(button, &QAbstractButton::clicked, [&] { ++clicks; });
    Mouse(button, QEvent::MouseButtonPress, {5, 5});
    EXPECT_EQ(clicks, 1) << "the first click comes at once";
    ASSERT_TRUE(button->RepeatTimer());
    EXPECT_EQ(button->RepeatTimer()->Interval(), 500);
    button->RepeatTimerTick();
    EXPECT_EQ(button->RepeatTimer()->Interval(), 100);
    button->RepeatTimerTick();
    EXPECT_EQ(clicks, 3);
    Mouse(button, QEvent::MouseButtonRelease, {5, 5}, Qt::NoButton);
    EXPECT_EQ(clicks, 3) << "no click on release";
    EXPECT_EQ(button->RepeatTimer(), nullptr);
}

// Counts the repaints a state change asks for.
class CountingButton : public TWLXSpeedButton {
public:
    using TWLXSpeedButton::TWLXSpeedButton;
    int repaints = 0;
    void Hover(bool in) { SetButtonState(in ? S::Hot : S::Up); }

protected:
    void RequestRepaint() override { ++repaints; }
};

TEST(SpeedButtonTest, HotRepaintOnlyWhereTheLookChanges)
{
    const struct { U style; int cells; int repaints; } cases[] = {
        {U::ubsWin40, 1, 0}, {U::ubsFlat, 1, 2}, {U::ubsWin40, 4, 2}};
    for (const auto& c : cases) {
        QWidget parent;
        auto* button = new CountingButton(&parent);
        button->SetButtonStyle(c.style);
        button->SetGlyph(Picture(16 * c.cells, 16));
        parent.show();
        button->Hover(true);
        button->Hover(false);
        EXPECT_EQ(button->repaints, c.repaints) << int(c.style) << " " << c.cells;
    }
}

TEST(SpeedButtonTest, StyleAndLegacyNames)
{
    TWLXSpeedButton button;
    button.SetButtonStyle(U::ubsExplorer);
    EXPECT_EQ(button.GlyphObject().Style(), 1);
    EXPECT_FALSE(button.testAttribute(Qt::WA_OpaquePaintEvent));
    button.SetCtlXP(false);
    button.ReadLegacyStyle(QStringLiteral("ubsWinXPTool"));
    EXPECT_EQ(button.ButtonStyle(), U::ubsExplorer);
    EXPECT_TRUE(button.CtlXP());
    button.ReadLegacyStyle(QStringLiteral("ubsOffice"));
    EXPECT_EQ(button.ButtonStyle(), U::ubsOffice);
    EXPECT_TRUE(button.testAttribute(Qt::WA_OpaquePaintEvent));
}

TEST(SpeedButtonTest, ActionLinkFollowsTheAction)
{
    QWidget parent;
    auto* button = new TWLXSpeedButton(&parent);
    button->setGeometry(0, 0, 30, 24);
    parent.show();
    auto* action = new QAction(QStringLiteral("Öffnen"), &parent);
    action->setToolTip(QStringLiteral("Datei öffnen"));
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    {
        QPainter p(&picture);
        p.fillRect(4, 4, 8, 8, Qt::blue);
    }
    action->setIcon(QIcon(picture));
    int triggered = 0, clicks = 0;
    QObject::connect(action, &QAction::triggered, [&] { ++triggered; });
    QObject::connect(button, &QAbstractButton::clicked, [&] { ++clicks; });

    button->SetAction(action);
    EXPECT_EQ(button->text(), QStringLiteral("Öffnen"));
    EXPECT_EQ(button->toolTip(), QStringLiteral("Datei öffnen"));
    ASSERT_EQ(button->Glyph().size(), QSize(16, 16));
    EXPECT_EQ(button->Glyph().pixel(0, 0), qRgb(255, 0, 255)) << "the picture stands on the key colour";
    EXPECT_EQ(button->Glyph().pixel(8, 8), qRgb(0, 0, 255));

    Mouse(button, QEvent::MouseButtonPress, {5, 5});
    Mouse(button, QEvent::MouseButtonRelease, {5, 5}, Qt::NoButton);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(triggered, 1) << "a click triggers the action";

    action->setEnabled(false);
    EXPECT_FALSE(button->isEnabled());
    EXPECT_EQ(button->ButtonState(), S::Disabled);
    action->setEnabled(true);
    action->setVisible(false);
    EXPECT_TRUE(button->isHidden());
    action->setVisible(true);
    action->setText(QStringLiteral("Open"));
    EXPECT_EQ(button->text(), QStringLiteral("Open"));
    action->setIcon(QIcon());
    EXPECT_TRUE(button->Glyph().isNull()) << "an action without a picture clears the glyph";

    delete action;
    EXPECT_EQ(button->Action(), nullptr);
    button->click();
    EXPECT_EQ(clicks, 2) << "still a button after its action is gone";
}

TEST(SpeedButtonTest, MdiWindowButtonsKeepTheirLookWhileTheApplicationIsInactive)
{
    bool active = true;
    SetApplicationActiveQuery([&] { return active; });
    QMdiArea area;
    auto* form = new QWidget;
    auto* button = new TWLXSpeedButton(form);
    button->setGeometry(0, 0, 30, 24);
    area.addSubWindow(form);
    QWidget plain;
    auto* other = new TWLXSpeedButton(&plain);
    other->setGeometry(0, 0, 30, 24);
    area.show();
    plain.show();

    const struct { bool active; S afterMove; S otherAfterMove; } cases[] = {
        {true, S::Hot, S::Hot}, {false, S::Up, S::Hot}};
    for (const auto& c : cases) {
        active = c.active;
        for (auto* b : {button, other}) {
            Leave(b);
            Mouse(b, QEvent::MouseMove, {5, 5}, Qt::NoButton);
        }
        EXPECT_EQ(button->ButtonState(), c.afterMove) << "MDI child, active " << c.active;
        EXPECT_EQ(other->ButtonState(), c.otherAfterMove) << "plain window, active " << c.active;
        active = true;
        Leave(button);
        EXPECT_EQ(button->ButtonState(), S::Up);
    }
    SetApplicationActiveQuery(nullptr);
}

// ---- spin button and spin edit -----------------------------------------------------------

TEST(SpinButtonTest, DiagonalPartsAndRepeat)
{
    TWLXSpinButton spin;
    spin.SetArrows(TWLXSpinButton::Up | TWLXSpinButton::Down);
    int up = 0, down = 0;
    spin.OnUp = [&](void*) { ++up; };
    spin.OnDown = [&](void*) { ++down; };
    Mouse(&spin, QEvent::MouseButtonPress, {3, 3});
    EXPECT_EQ(up, 1);
    EXPECT_EQ(spin.Timer()->Interval(), 300);
    spin.TimerTick();
    EXPECT_EQ(spin.Timer()->Interval(), 100);
    EXPECT_EQ(up, 2);
    Mouse(&spin, QEvent::MouseButtonRelease, {3, 3}, Qt::NoButton);
    Mouse(&spin, QEvent::MouseMove, {30, 30}, Qt::NoButton);
    Mouse(&spin, QEvent::MouseButtonPress, {17, 17});
    EXPECT_EQ(down, 1);
    EXPECT_EQ(up, 2);
    spin.setEnabled(false);
    EXPECT_EQ(spin.PartState(TWLXSpinButton::Up), TWLXSpinButton::DisabledPart);
}

TEST(SpinEditTest, SteppingAndClamping)
{
    QWidget window;
    auto* edit = new TWLXSpinEdit(&window);
    edit->SetMinValue(1);
    edit->SetMaxValue(12);
    edit->SetValue(1);
    Key(edit, Qt::Key_Down);
    EXPECT_EQ(edit->Text(), QStringLiteral("1"));
    for (int i = 0; i < 13; ++i)
        Key(edit, Qt::Key_Up);
    EXPECT_EQ(edit->Text(), QStringLiteral("12"));
    Key(edit, Qt::Key_PageDown);
    EXPECT_EQ(edit->Text(), QStringLiteral("2"));

    edit->SetMaxValue(-3);
    EXPECT_EQ(edit->MinValue(), -3) << "a maximum below the minimum lowers it";
    EXPECT_EQ(edit->Text(), QStringLiteral("2")) << "the shown value stays";

    edit->SetMinValue(0);
    edit->SetMaxValue(23);
    window.show();
    edit->SetText(QStringLiteral("50"));
    QFocusEvent focusOut(QEvent::FocusOut);
    QApplication::sendEvent(edit, &focusOut);
    EXPECT_EQ(edit->Text(), QStringLiteral("23")) << "leaving the field clamps";

    edit->SetValue(5);
    Key(edit, Qt::Key_Up);
    edit->SetValue(5);
    EXPECT_EQ(edit->Text(), QStringLiteral("5")) << "a value set by code shows over a spun one";

    edit->EditorEnabled = false;
    Key(edit, Qt::Key_7, QStringLiteral("7"));
    EXPECT_EQ(edit->Text(), QStringLiteral("5")) << "typing refused";
    Key(edit, Qt::Key_Up);
    EXPECT_EQ(edit->Text(), QStringLiteral("6")) << "stepping still works";
    edit->SetReadOnly(true);
    Key(edit, Qt::Key_Up);
    EXPECT_EQ(edit->Text(), QStringLiteral("6")) << "read-only: nothing steps";
}

TEST(SpinEditTest, TypedTextIsClampedWhenTheFieldIsLeft)
{
    const struct { int min, max; const char* typed; const char* shown; } cases[] = {
        {0, 23, "50", "23"}, {5, 10, "-3", "5"}, {-10, 10, "-7", "-7"}, {0, 100, "x", "0"},
    };
    for (const auto& c : cases) {
        QWidget window;
        auto* edit = new TWLXSpinEdit(&window);
        auto* other = new TWLXSpinEdit(&window);
        other->move(0, 40);
        edit->SetMinValue(c.min);
        edit->SetMaxValue(c.max);
        window.show();
        QApplication::setActiveWindow(&window);
        edit->setFocus();
        edit->SelectAll();
        for (const QChar ch : QString::fromLatin1(c.typed))
            Key(edit, 0, QString(ch));
        EXPECT_EQ(edit->Text(), QString::fromLatin1(c.typed)) << "typed into the library's edit";
        other->setFocus();
        EXPECT_EQ(edit->Text(), QString::fromLatin1(c.shown)) << c.typed;
        EXPECT_EQ(edit->Value(), QString::fromLatin1(c.shown).toInt());
    }
}

TEST(SpinEditTest, SpinButtonAndWheelStepAndFocusTheField)
{
    QWidget window;
    auto* edit = new TWLXSpinEdit(&window);
    edit->resize(80, 21);
    window.show();
    QApplication::setActiveWindow(&window);
    int ups = 0, changes = 0;
    edit->OnSpinBtnUpClick = [&](void*) { ++ups; };
    edit->OnChange = [&](void*) { ++changes; };
    TWLXSpinButton* spin = edit->SpinButton();
    EXPECT_EQ(spin->geometry().right() + 1, edit->width() - 2) << "at the right edge, inside the frame";
    EXPECT_EQ(spin->height(), edit->TextAreaRect().Height());
    Mouse(spin, QEvent::MouseButtonPress, {2, 2});
    Mouse(spin, QEvent::MouseButtonRelease, {2, 2}, Qt::NoButton);
    EXPECT_EQ(edit->Text(), QStringLiteral("1"));
    EXPECT_EQ(ups, 1);
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(edit->hasFocus());
    QWheelEvent wheel(QPointF(5, 5), QPointF(edit->mapToGlobal(QPoint(5, 5))), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(edit, &wheel);
    QApplication::sendEvent(edit, &wheel);
    EXPECT_EQ(edit->Text(), QStringLiteral("0")) << "the wheel steps down and stops at the minimum";
}

TEST(SpinEditTest, InALayoutTheFieldIsAsHighAsItsFontNeeds)
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* edit = new TWLXSpinEdit;
    layout->addWidget(edit);
    layout->addStretch(1);
    window.resize(120, 200);
    edit->SetValue(42);
    window.show();
    QApplication::processEvents();
    EXPECT_EQ(edit->height(), edit->AutoHeight());
    // The digits are drawn whole inside the text rectangle: dark pixels there, none below it.
    const QImage image = edit->grab().toImage();
    const TWLXRect text = edit->TextRect();
    auto darkRows = [&](int top, int bottom) {
        int rows = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = text.Left; x < text.Left + 30; ++x)
                if (qGray(image.pixel(x, y)) < 100) {
                    ++rows;
                    break;
                }
        return rows;
    };
    EXPECT_GT(darkRows(text.Top, text.Bottom), 4);
    EXPECT_EQ(darkRows(text.Bottom, edit->height() - 3), 0);
}

// ---- scroll bar --------------------------------------------------------------------------

TEST(ScrollBarTest, ThumbPlacementAndRange)
{
    TWLXScrollBar bar;
    bar.Bevel().SetStandardStyle(TWLXBorderStyle::lsNone);
    bar.resize(132, 16);   // track 100 between two 16-pixel buttons
    bar.show();
    ASSERT_EQ(bar.TrackLength(), 100);
    bar.SetPosition(50);
    EXPECT_EQ(bar.Thumb()->x(), 16 + 42);
    bar.ThumbMode = TWLXThumbMode::tmAuto;
    bar.SetMax(1000);
    EXPECT_EQ(bar.ThumbLength(), 8);
    bar.SetPosition(2000);
    EXPECT_EQ(bar.Position(), 1000);
    bar.SetMax(10);
    EXPECT_EQ(bar.Position(), 10) << "a lower maximum pulls the position";
    bar.SetMin(20);
    EXPECT_EQ(bar.Min(), 10);
}

TEST(ScrollBarTest, ScrollReports)
{
    TWLXScrollBar bar;
    bar.resize(132, 16);
    bar.show();
    std::vector<int> codes;
    bar.OnScroll = [&](void*, int code, int&) { codes.push_back(code); };
    bar.LineUp();
    EXPECT_TRUE(codes.empty()) << "at Min an up-arrow does nothing";
    bar.SetPosition(1);
    bar.LineUp();
    EXPECT_EQ(codes, (std::vector<int>{scEndScroll, scLineDown}));
    EXPECT_EQ(bar.Position(), 0);

    codes.clear();
    bar.OnScroll = [&](void*, int code, int& pos) { codes.push_back(code); if (code == scPageUp) pos = -5; };
    Key(&bar, Qt::Key_PageDown);
    EXPECT_EQ(bar.Position(), -5) << "a handler may set the position directly";
    EXPECT_EQ(codes, (std::vector<int>{scPageUp}));

    bar.OnScroll = nullptr;
    bar.SetPosition(0);
    const int thumbRight = bar.Thumb()->geometry().right();
    Mouse(&bar, QEvent::MouseButtonPress, {thumbRight + 20, 8});
    EXPECT_EQ(bar.Position(), 10);
    ASSERT_TRUE(bar.PageTimer());
    EXPECT_EQ(bar.PageTimer()->Interval(), 100);
    for (int i = 0; i < 10 && bar.PageTimer(); ++i)
        bar.PageTimerTick();
    EXPECT_EQ(bar.PageTimer(), nullptr) << "paging stops once the thumb is under the mouse";
    const QRect t = bar.Thumb()->geometry();
    EXPECT_TRUE(thumbRight + 20 > t.left() && thumbRight + 20 < t.right());
}

// ---- panels and the control base ---------------------------------------------------------

TEST(PanelTest, ChildrenStayInsideBevelAndGrip)
{
    TWLXSimplePanel panel;
    panel.Bevel().SetStyleOuter(TWLXBevelStyle::bvRaised);
    panel.Bevel().SetWidthOuter(3);
    auto* layout = new QVBoxLayout(&panel);
    layout->setSpacing(0);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* child = new QLabel(&panel);
    layout->addWidget(child, 1);
    panel.resize(100, 80);
    panel.show();
    QApplication::processEvents();
    EXPECT_EQ(child->geometry(), QRect(3, 3, 94, 74));
    panel.SetSizeGrip(true);
    QApplication::processEvents();
    EXPECT_EQ(child->geometry().bottom(), 80 - 3 - 16 - 1) << "the grip keeps 16 pixels free";
}

TEST(CustomControlTest, MoveAndSizeHitTest)
{
    QWidget parent;
    auto* control = new TWLXCustomBevelPanel(&parent);
    control->setGeometry(0, 0, 100, 40);
    using H = TWLXHitCode;
    control->AllowSizing = true;
    EXPECT_EQ(control->HitTest({97, 20}), H::Right);
    EXPECT_EQ(control->HitTest({95, 20}), H::Client);
    EXPECT_EQ(control->HitTest({0, 39}), H::BottomLeft);
    control->AllowMoving = true;
    EXPECT_EQ(control->HitTest({95, 20}), H::Caption);
    control->SetSizeGrip(true);
    EXPECT_EQ(control->HitTest({97, 20}), H::Caption) << "with a grip only the grip sizes";
    EXPECT_EQ(control->HitTest({99, 39}), H::BottomRight);
    control->ControlLocked = true;
    EXPECT_EQ(control->HitTest({99, 39}), H::Client);

    control->EndUpdate(true);
    EXPECT_EQ(control->UpdateDepth(), 0);
    control->SetImageIndexProp(0, 3);
    control->SetImageIndexProp(0, -1);
    EXPECT_EQ(control->ImageIndex(), 3);
}

} // namespace
