#include "Surface.h"
#include "platform/Context.h"
#include "widgets/Application.h"
#include "widgets/ControlBase.h"
#include "widgets/DialogPlacement.h"
#include "widgets/ThemeManager.h"

#include <QApplication>
#include <QFileInfo>
#include <QMdiArea>
#include <gtest/gtest.h>

namespace {

TEST(ApplicationTest, RegistryPathAndLogName)
{
    TWLXApplication& app = Application();
    EXPECT_EQ(app.RegistryPath(), QStringLiteral("Software\\") + ProgramFileName() + QStringLiteral("\\"));
    app.CompanyName = QStringLiteral("Firm");
    app.Title = QStringLiteral("Tavrinol");
    app.VersionName = QStringLiteral("4.0");
    EXPECT_EQ(app.RegistryPath(), QStringLiteral("Software\\Firm\\Tavrinol\\4.0\\"));
    app.CompanyName = app.Title = app.VersionName = QString();

    ResetContext();
    Ctx().ProgramFolder = QStringLiteral("/opt/tv/");
    app.LogFolder = TWLXPathPrefix::ppProgram;
    app.AssignLogName(QStringLiteral("/var/run"));
    EXPECT_EQ(app.LogFile, QStringLiteral("/opt/tv/run.LOG"));
    app.AssignLogName(QString());
    EXPECT_EQ(app.LogFile, QStringLiteral("/opt/tv/") + QFileInfo(ProgramFileName()).completeBaseName() +
                               QStringLiteral(".LOG"));
    app.LogFolder = TWLXPathPrefix::ppFixed;
    app.AssignLogName(QStringLiteral("/var/x.txt"));
    EXPECT_EQ(app.LogFile, QStringLiteral("/var/x.txt"));
    app.LogFolder = TWLXPathPrefix::ppProgram;
    ResetContext();
}

TEST(ApplicationTest, DitherPatternAndEditMode)
{
    TWLXApplication& app = Application();
    const QImage& dither = app.DitherPatternBitmap(clRed);
    EXPECT_EQ(dither.size(), QSize(8, 8));
    EXPECT_EQ(dither.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(dither.pixel(1, 1), qRgb(255, 255, 255));
    EXPECT_EQ(dither.pixel(1, 0), qRgb(255, 0, 0));
    EXPECT_EQ(dither.pixel(0, 3), qRgb(255, 0, 0));
    EXPECT_EQ(&app.DitherPatternBitmap(clRed), &dither);
    EXPECT_EQ(app.DitherPatternBitmap(clBlue).pixel(1, 0), qRgb(0, 0, 255));

    int told = 0;
    app.OnEditFlagsChange = [&] { ++told; };
    const uint8_t before = app.EditModeFlags();
    app.SetEditMode(before);
    EXPECT_EQ(told, 0);
    app.SetEditMode(before ^ 1);
    EXPECT_EQ(told, 1);
    app.SetEditMode(before);
    app.OnEditFlagsChange = nullptr;
}

// A library control that counts the theme changes it hears of.
class TThemeCounter : public TWLXCustomControl {
public:
    using TWLXCustomControl::TWLXCustomControl;
    int changes = 0;

protected:
    void ThemeChanged() override { ++changes; }
};

TEST(ApplicationTest, ThemeSwitching)
{
    TWLXApplication& app = Application();
    QWidget window;
    auto* control = new TThemeCounter(&window);
    window.show();

    // Without active visual styles switching on changes nothing.
    SetThemesSupportedQuery(nullptr);
    app.ThemeSwitch = false;
    app.SetThemeSupport(true);
    EXPECT_FALSE(app.ThemeSwitch);
    EXPECT_EQ(control->changes, 0);

    SetThemesSupportedQuery([] { return true; });
    app.SetThemeSupport(true);
    EXPECT_TRUE(app.UseThemes());
    EXPECT_EQ(control->changes, 1);

    // A theme manager on the window switches off and on when the platform's look changes.
    TWLXXPThemeManager manager(&window);
    manager.Init();
    // (Qt follows a theme change with a style change: each switches off and on.)
    QEvent themeChange(QEvent::ThemeChange);
    QCoreApplication::sendEvent(&window, &themeChange);
    EXPECT_GE(control->changes, 3);
    EXPECT_EQ(control->changes % 2, 1);
    EXPECT_TRUE(app.UseThemes());

    SetThemesSupportedQuery(nullptr);
    app.InitThemeSupport();
    EXPECT_FALSE(app.ThemeSwitch);
    app.ThemeSwitch = true;
}

// A widget whose native window can be made anew.
class TRecreatable : public QWidget {
public:
    using QWidget::create;
    using QWidget::destroy;
};

TEST(ApplicationTest, WindowProcedureComponentsFollowTheirOwner)
{
    TRecreatable owner;
    int seen = 0;
    class TCounter : public TWLXWndProcComponent {
    public:
        TCounter(QWidget* o, int& n) : TWLXWndProcComponent(o), m_n(n) {}

    protected:
        bool WndProc(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::User)
                ++m_n;
            return false;
        }

    private:
        int& m_n;
    } hook(&owner, seen);
    hook.DesignMode = true;
    hook.Loaded();
    EXPECT_EQ(hook.HookedObject(), nullptr);
    hook.DesignMode = false;
    hook.Loaded();
    EXPECT_EQ(hook.HookedObject(), &owner);
    QEvent user(QEvent::User);
    QCoreApplication::sendEvent(&owner, &user);
    // The owner's native window made anew: the hook stays.
    owner.winId();
    owner.destroy();
    owner.create();
    QCoreApplication::sendEvent(&owner, &user);
    EXPECT_EQ(seen, 2);
    hook.Unhook();
    QCoreApplication::sendEvent(&owner, &user);
    EXPECT_EQ(seen, 2);

    // An MDI frame hooks its area instead, unless told to hook the frame.
    QWidget frame;
    auto* area = new QMdiArea(&frame);
    TWLXWndProcComponent mdi(&frame);
    EXPECT_EQ(mdi.MDIKind(), 2);
    mdi.Init();
    EXPECT_EQ(mdi.HookedObject(), area->viewport());
    EXPECT_EQ(ThemeManager().Owner(), nullptr);
    EXPECT_FALSE(ThemeManager().Hook());
}

TEST(ApplicationTest, WindowPlacement)
{
    using P = TWLXDlgPosition;
    const QRect ref(100, 50, 400, 300);
    const QSize desktop(1000, 800);
    struct Case {
        P position;
        QSize window;
        QPoint at;
    } cases[] = {
        {P::bpTopLeft, {100, 50}, {100, 50}},
        {P::bpTopCenter, {100, 50}, {250, 50}},
        {P::bpTopRight, {100, 50}, {400, 50}},
        {P::bpCenterLeft, {100, 50}, {100, 175}},
        {P::bpCenter, {100, 50}, {250, 175}},
        {P::bpCenterRight, {100, 50}, {400, 175}},
        {P::bpBottomLeft, {100, 50}, {100, 300}},
        {P::bpBottomCenter, {100, 50}, {250, 300}},
        {P::bpBottomRight, {100, 50}, {400, 300}},
        {P::bpCustom, {100, 50}, {100, 50}},
        // Larger than the reference: never before 0.
        {P::bpBottomRight, {600, 500}, {0, 0}},
        // Pulled back inside the desktop.
        {P::bpTopLeft, {950, 50}, {50, 50}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PlacedPosition(c.window, ref, c.position, desktop), c.at) << int(c.position);
    EXPECT_FALSE(ReferenceRect(TWLXDlgPosRel::brScreen).isEmpty());
}

} // namespace
