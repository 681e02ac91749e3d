#include "widgets/Caret.h"
#include "widgets/EffectText.h"
#include "widgets/Label.h"
#include "widgets/SpeedButton.h"
#include "widgets/SpinEdit.h"
#include "widgets/SysInfo.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpression>
#include <map>

// ---- label ---------------------------------------------------------------------------------

namespace {

struct OpenRecorder {
    std::function<bool(const QString&)> saved = TWLXCustomSimpleLabel::ShellOpen();
    QStringList opened;
    bool answer = true;
    OpenRecorder()
    {
        TWLXCustomSimpleLabel::ShellOpen() = [this](const QString& target) {
            opened << target;
            return answer;
        };
    }
    ~OpenRecorder() { TWLXCustomSimpleLabel::ShellOpen() = saved; }
};

QImage Render(QWidget& w)
{
    QImage image(w.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    w.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

int DarkPixels(const QImage& image)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += qGray(image.pixel(x, y)) < 128;
    return n;
}

} // namespace

TEST(LabelTest, LinkTargetsAndAFailedInternetLink)
{
    const struct {
        const char* name;
        TWLXJumpModes mode;
        QString caption, jump, target;
    } cases[] = {
        {"mail address", TWLXJumpModes::jmInternet, "info@example.org", "", "mailto:info@example.org"},
        {"web address", TWLXJumpModes::jmInternet, "example.org", "", "example.org"},
        {"jump wins, trimmed", TWLXJumpModes::jmInternet, "a@b", "  http://x/  ", "http://x/"},
        {"application: no mailto", TWLXJumpModes::jmApplication, "a@b", "", "a@b"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        OpenRecorder open;
        TWLXSimpleLabel label;
        label.SetCaption(c.caption);
        label.Jump = c.jump;
        label.SetJumpMode(c.mode);
        label.Click();
        EXPECT_EQ(open.opened, QStringList{c.target});
    }
    OpenRecorder open;
    open.answer = false;
    TWLXSimpleLabel label;
    label.SetCaption(QStringLiteral("nowhere"));
    label.SetJumpMode(TWLXJumpModes::jmInternet);
    label.Click();
    EXPECT_EQ(label.JumpMode(), TWLXJumpModes::jmNone);
    EXPECT_FALSE(label.isEnabled());
    // No link: the ordinary click.
    int clicks = 0;
    label.OnClick = [&](void*) { ++clicks; };
    label.Click();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(open.opened.size(), 1);
}

TEST(LabelTest, LinkLookComesAndGoes)
{
    TWLXSimpleLabel label;
    label.SetFontColor(0x00FF00);
    label.SetJumpMode(TWLXJumpModes::jmInternet);
    EXPECT_EQ(label.FontColor(), label.InActiveColor);
    EXPECT_TRUE(label.font().underline());
    label.SetFontColor(0x123456);
    label.SetJumpMode(TWLXJumpModes::jmNone);
    EXPECT_EQ(label.FontColor(), 0);
    EXPECT_FALSE(label.font().underline());
}

TEST(LabelTest, AutoSizeFollowsTheCaptionUnlessALayoutPlacesIt)
{
    TWLXSimpleLabel label;
    label.SetCaption(QStringLiteral("short"));
    const int shortWidth = label.width();
    label.SetCaption(QStringLiteral("a much longer caption"));
    EXPECT_GT(label.width(), shortWidth);
    QWidget host;
    auto* layout = new QHBoxLayout(&host);
    auto* placed = new TWLXSimpleLabel;
    layout->addWidget(placed);
    placed->resize(77, 33);
    placed->SetCaption(QStringLiteral("a much longer caption"));
    EXPECT_EQ(placed->size(), QSize(77, 33));
}

TEST(LabelTest, EndEllipsisShortensOneLine)
{
    TWLXSimpleLabel label;
    label.SetAutoSize(false);
    label.SetCaption(QStringLiteral("a caption much too long for its label"));
    label.SetOptions(loEndEllipsis);
    EXPECT_TRUE(label.TextFlags() & DT_END_ELLIPSIS);
    EXPECT_TRUE(label.TextFlags() & DT_SINGLELINE);
    const QString shown = label.DisplayText(60);
    EXPECT_TRUE(shown.endsWith(QChar(0x2026)));
    EXPECT_LE(QFontMetrics(label.font()).horizontalAdvance(shown), 60);
    label.SetMultiLine(true);
    EXPECT_EQ(label.DisplayText(60), label.Caption());
}

TEST(LabelTest, TwinklePhasesAndTheirColours)
{
    QWidget host;
    host.resize(120, 40);
    auto* label = new TWLXSimpleLabel(&host);
    label->SetCaption(QStringLiteral("BLINK"));
    QFont f = label->font();
    f.setPixelSize(20);
    label->setFont(f);
    label->SetTwinkle(true);
    ASSERT_NE(label->TwinkleTimer(), nullptr);
    const int visible = DarkPixels(Render(host));
    EXPECT_GT(visible, 0);
    label->TwinkleInVisible = 300;
    label->TwinkleTick();
    EXPECT_FALSE(label->TwinkleVisiblePhase());
    EXPECT_EQ(label->TwinkleTimer()->Interval(), 300);
    EXPECT_EQ(DarkPixels(Render(host)), 0);   // clNone: nothing in the invisible phase
    label->TwinkleColor = 0x000080;
    EXPECT_GT(DarkPixels(Render(host)), 0);
    label->SetTwinkle(false);
    EXPECT_TRUE(label->TwinkleVisiblePhase());
    EXPECT_EQ(label->TwinkleTimer(), nullptr);
}

TEST(LabelTest, EmptyTransparentLabelShowsAFrameOnlyAtDesignTime)
{
    QWidget host;
    host.resize(60, 40);
    auto* label = new TWLXSimpleLabel(&host);
    label->SetAutoSize(false);
    label->setGeometry(5, 5, 40, 20);
    EXPECT_EQ(DarkPixels(Render(host)), 0);
    label->DesignMode = true;
    EXPECT_GT(DarkPixels(Render(host)), 0);
}

TEST(LabelTest, AcceleratorFocusesOnlyAControlThatCanTakeTheFocus)
{
    QWidget window;
    auto* label = new TWLXSimpleLabel(&window);
    auto* target = new QLineEdit(&window);
    target->move(0, 30);
    label->SetCaption(QStringLiteral("&Name"));
    label->SetFocusControl(target);
    window.show();
    QApplication::setActiveWindow(&window);
    target->setEnabled(false);
    EXPECT_FALSE(label->DialogChar(u'n'));
    target->setEnabled(true);
    EXPECT_FALSE(label->DialogChar(u'x'));
    EXPECT_TRUE(label->DialogChar(u'n'));
    EXPECT_TRUE(target->hasFocus());
    label->SetShowAccelChar(false);
    EXPECT_FALSE(label->DialogChar(u'n'));
}

// ---- caret ---------------------------------------------------------------------------------

TEST(CaretTest, ShapeFollowsTheStyleWhenItIsCreated)
{
    QWidget owner;
    TWLXCaret caret(&owner);
    caret.SetWordProp(4, 13);
    caret.SetWordProp(0, 7);
    caret.SetWordProp(1, 9);
    const struct {
        TWLXCaretStyles style;
        QSize size;
    } cases[] = {
        {TWLXCaretStyles::csDefault, {1, 13}}, {TWLXCaretStyles::csBlock, {7, 9}}, {TWLXCaretStyles::csUnderBlock, {7, 9}},
        {TWLXCaretStyles::csUnder, {7, 1}},    {TWLXCaretStyles::csOver, {7, 1}},
    };
    for (const auto& c : cases) {
        caret.Style = c.style;
        caret.CreateShape();
        EXPECT_EQ(caret.ShapeSize(), c.size) << int(c.style);
    }
    // Shown once, a changed style waits for the next creation.
    caret.Style = TWLXCaretStyles::csDefault;
    caret.DestroyShape();
    caret.Show();
    caret.Style = TWLXCaretStyles::csBlock;
    caret.Show();
    EXPECT_EQ(caret.ShapeSize(), QSize(1, 13));
    // A picture stretched to the caret size.
    QImage picture(3, 3, QImage::Format_RGB32);
    picture.fill(Qt::red);
    caret.Style = TWLXCaretStyles::csBitmap;
    caret.CaretBmpMode = TWLXCaretBitmap::cbStretch;
    caret.SetBitmap(picture);
    caret.CreateShape();
    EXPECT_EQ(caret.ShapeImage().size(), QSize(7, 9));
    EXPECT_EQ(caret.ShapeImage().pixel(6, 8), qRgb(255, 0, 0));
}

TEST(CaretTest, ShowAssignAndPosition)
{
    QWidget owner;
    TWLXCaret caret(&owner);
    caret.DesignMode = true;
    caret.Show();
    EXPECT_FALSE(caret.Shown());
    TWLXCaret other(&owner);
    other.BlinkRate = 333;
    other.SetWordProp(0, 5);
    other.SetWordProp(1, 6);
    other.SetWordProp(2, 9);
    other.Style = TWLXCaretStyles::csOver;
    caret.Assign(other);
    EXPECT_EQ(caret.BlinkRate, 333);
    EXPECT_EQ(caret.Width(), 5);
    EXPECT_EQ(caret.Height(), 6);
    EXPECT_EQ(caret.Style, TWLXCaretStyles::csOver);
    EXPECT_EQ(caret.ImageIndex(), 0);
    // Without the owner's focus the caret stays where it was.
    caret.SetPos(10, 10);
    EXPECT_EQ(caret.Pos(), QPoint(0, 0));
}

// ---- spin edit's older settings ------------------------------------------------------------

TEST(SpinEditTest, OlderFormSettings)
{
    TWLXSpinEdit spin;
    spin.ReadLegacyBorderStyle(QStringLiteral("bsNone"));
    EXPECT_EQ(spin.Bevel().Mode(), TWLXBevelMode::bmStandard) << "no frame";
    EXPECT_EQ(spin.Bevel().StandardStyle(), TWLXBorderStyle::lsNone);
    spin.ReadLegacyBorderStyle(QStringLiteral("bsSingle"));
    EXPECT_EQ(spin.Bevel().Mode(), TWLXBevelMode::bmWindows) << "the sunken edit frame";
    // AutoSize is on: the height follows the font.
    QFont f = spin.font();
    f.setPixelSize(30);
    spin.setFont(f);
    const QFontMetrics fm(f);
    EXPECT_EQ(spin.height(), std::max(fm.height(), fm.boundingRect(QStringLiteral("Qp")).height()) * 5 / 4 + 5);
    spin.SetAutoSize(false);
    spin.resize(80, 21);
    f.setPixelSize(10);
    spin.setFont(f);
    EXPECT_EQ(spin.height(), 21);
    // A custom button stands left of the spin button and takes room from the text.
    spin.CustomButtons().Add();
    const QRect button = spin.CustomButtons().Items(0).Button()->geometry();
    EXPECT_EQ(button.right() + 1, spin.SpinButton()->geometry().left());
    // The text area ends where the buttons begin (after the edits' one-pixel gap before custom
    // buttons): it lost exactly the custom button and the spin button.
    EXPECT_EQ(spin.SpinButton()->geometry().right() + 1 - spin.TextAreaRect().Right,
              spin.SpinButton()->width() + 16 + 1);
}

TEST(SpinEditTest, EnterMovesTheFocusWithTabOnEnter)
{
    QWidget window;
    auto* spin = new TWLXSpinEdit(&window);
    auto* next = new QLineEdit(&window);
    next->move(0, 40);
    window.show();
    QApplication::setActiveWindow(&window);
    spin->setFocus();
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(spin, &enter);
    EXPECT_TRUE(spin->hasFocus());
    spin->TabOnEnter = true;
    QApplication::sendEvent(spin, &enter);
    EXPECT_TRUE(next->hasFocus());
}

// ---- system information --------------------------------------------------------------------

TEST(SysInfoTest, FieldsHaveValuesOfTheirKind)
{
    TWLXSysInfo info;
    const std::map<int, QString> patterns = {
        {0, ".+"}, {1, "\\(Unbekannt\\)"}, {3, "\\d+\\.\\d+"}, {6, "0 %"}, {7, "0 %"}, {8, "0 %"},
        {9, "\\d{1,3} %"}, {10, ".+"}, {11, ".+/"}, {12, ".+"}, {13, ".+"}, {14, ".+"}, {15, ".*"},
    };
    for (const auto& [index, pattern] : patterns) {
        const QRegularExpression re(QStringLiteral("^(?:%1)$").arg(pattern));
        EXPECT_TRUE(re.match(info.GetStringProp(index)).hasMatch())
            << index << ": " << info.GetStringProp(index).toStdString();
    }
    EXPECT_GT(info.GetMemoryProp(1), 0);
    EXPECT_LE(info.GetMemoryProp(2), info.GetMemoryProp(1));
    EXPECT_GE(info.GetProcessorNumber(), 1);
    EXPECT_GT(info.GetIntegerProp(10), 0);
    EXPECT_GT(info.GetIntegerProp(11), 0);
    EXPECT_GT(info.GetIntegerProp(12), 0);
    EXPECT_GE(info.GetIntegerProp(9), -24 * 60);
    EXPECT_LE(info.GetIntegerProp(9), 24 * 60);
    EXPECT_EQ(info.GetIntegerProp(5), 0);
    EXPECT_FALSE(info.GetLocaleProp(15).isEmpty());   // decimal separator
    EXPECT_EQ(info.GetLocaleProp(17), QStringLiteral("Hallo"));
    EXPECT_EQ(info.GetLocaleProp(99), QStringLiteral("Hallo"));
    EXPECT_FALSE(info.Environment().isEmpty());
    // Settings of the desktop are never written.
    const bool numLock = info.GetBooleanProp(0);
    info.SetBooleanProp(0, !numLock);
    EXPECT_EQ(info.GetBooleanProp(0), numLock);
}

TEST(SysInfoTest, MemoryFiguresComeFromMeminfo)
{
    const QString meminfo = QStringLiteral("MemTotal:         524288 kB\nMemFree:  1000 kB\nMemAvailable:     131072 kB\n"
                                           "CommitLimit:     800000 kB\nCommitted_AS:    300000 kB\n"
                                           "VmallocTotal:   34359738367 kB\nVmallocUsed:       40000 kB\n");
    const std::pair<int, int64_t> cases[] = {{1, 524288}, {2, 131072}, {3, 34359738367}, {4, 34359698367},
                                             {5, 800000}, {6, 500000}, {7, 0}};
    for (const auto& [index, value] : cases)
        EXPECT_EQ(TWLXSysInfo::MemoryFrom(meminfo, index), value) << index;
    EXPECT_EQ(TWLXSysInfo::MemoryLoadFrom(meminfo), QStringLiteral("75 %"));
    EXPECT_EQ(TWLXSysInfo::MemoryLoadFrom(QString()), QStringLiteral("0 %"));
}

namespace {

using R = TWLXCPUInfoObject::Registers;
std::map<uint32_t, R> g_leaves;

bool FakeCpuid(uint32_t leaf, R& out)
{
    const auto it = g_leaves.find(leaf);
    out = it == g_leaves.end() ? R{} : it->second;
    return true;
}

bool NoCpuid(uint32_t, R&)
{
    return false;
}

uint32_t Chars(const char* four)
{
    return uint32_t(uint8_t(four[0])) | uint32_t(uint8_t(four[1])) << 8 | uint32_t(uint8_t(four[2])) << 16 |
           uint32_t(uint8_t(four[3])) << 24;
}

} // namespace

TEST(SysInfoTest, ProcessorIdentification)
{
    {
        TWLXCPUInfoObject none(&NoCpuid);
        EXPECT_FALSE(none.ExistCPUInfo);
        EXPECT_TRUE(none.IDString.isEmpty());
        EXPECT_FALSE(none.FPU || none.MMX || none.AMD3DNow);
    }
    const uint32_t features = 1u << 0 | 1u << 4 | 1u << 8 | 1u << 15 | 1u << 23;
    const uint32_t signature = 0x00000F4Au;   // family 15, model 4, stepping 10
    const uint32_t extended = 1u << 11 | 1u << 31;
    for (const char* vendor : {"GenuineIntel", "AuthenticAMD"}) {
        SCOPED_TRACE(vendor);
        g_leaves = {
            {0, {1, Chars(vendor), Chars(vendor + 8), Chars(vendor + 4)}},
            {1, {signature, 0, 0, features}},
            {0x80000000u, {0x80000004u, 0, 0, 0}},
            {0x80000001u, {0, 0, 0, extended}},
            {0x80000002u, {Chars("Fast"), Chars(" Chi"), Chars("p\0\0\0"), 0}},
        };
        TWLXCPUInfoObject cpu(&FakeCpuid);
        const bool amd = QString::fromLatin1(vendor) == QLatin1String("AuthenticAMD");
        EXPECT_TRUE(cpu.ExistCPUInfo);
        EXPECT_EQ(cpu.IDString, QString::fromLatin1(vendor));
        EXPECT_EQ(cpu.Family, 15);
        EXPECT_EQ(cpu.Model, 4);
        EXPECT_EQ(cpu.Stepping, 10);
        EXPECT_TRUE(cpu.FPU && cpu.TimeStampCoutner && cpu.CMP_XCHG_8B && cpu.Cond_MOVE_Instruct && cpu.MMX);
        EXPECT_FALSE(cpu.VirtualModeExtensions || cpu.APIC);
        EXPECT_EQ(cpu.AMD3DNow, amd);
        EXPECT_EQ(cpu.SysCallAndSysRet, amd);
        EXPECT_FALSE(cpu.FPCond_MOVE_Instruct);
        EXPECT_EQ(cpu.CPUName, amd ? QStringLiteral("Fast Chip") : QString());
    }
}
