// The palette on its own: category stepping through the menu order, the quick find's word
// match, and the palette widget's library reading, layout and hit tests on generated libraries.

#include "hardware/framework/BtHardware.h"
#include "core/board/Platine.h"
#include "palette/PaletteTestSupport.h"
#include "core/model/ClassRegistry.h"
#include "core/model/Iobt.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "shell/Composition.h"
#include "shell/mainwindow/RegisterClasses.h"
#include "shell/palette/Bibo.h"
#include "shell/palette/PaletteCategories.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QBuffer>

#include <algorithm>

namespace {

constexpr int kAnzeigen = 16, kBedienungAnalog = 1, kBedienungDigital = 0, kSchreiber = 36,
              kUhren = 22, kHotkeys = 39, kStrings = 35, kDiverses = 11, kSonstige = 15,
              kAllgemeinPC = 12, kHwAndere = 49, kQuancom = 57, kGatter = 2, kVelleman = 41;


TEST(PaletteCategories, StepsFollowTheMenuOverSeparatorsAndAroundTheEnds)
{
    struct Case {
        int from, next, previous;
    } const cases[] = {
        {kAnzeigen, kBedienungAnalog, kHwAndere},      // first of all: back to the last
        {kBedienungDigital, kSchreiber, kBedienungAnalog},
        {kUhren, 14, kSchreiber},                      // last of group 0 on to group 1
        {14, 8, kUhren},
        {kHotkeys, kStrings, 38},
        {kStrings, kDiverses, kHotkeys},               // separator in group 3 stepped over
        {kDiverses, kAllgemeinPC, kStrings},           // group 3 on to group 4
        {45, kSonstige, 44},                           // separator in group 2 stepped over
        {kSonstige, 48, 45},
        {kVelleman, kHwAndere, 55},                    // separator in group 4 stepped over
        {kHwAndere, kAnzeigen, kVelleman},             // last of Hardware: first of group 0
        {-1, kAnzeigen, kHwAndere},                    // the macro palette
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.from);
        EXPECT_EQ(NextPaletteRow(c.from), c.next);
        EXPECT_EQ(PreviousPaletteRow(c.from), c.previous);
    }
    // Rows 17 and 27 have no menu item; every other row has exactly one.
    int items = 0;
    for (const auto& group : PaletteMenu())
        for (int row : group)
            items += row >= 0;
    EXPECT_EQ(items, PaletteCategoryCount - 2);
    EXPECT_EQ(FindPaletteMenuPosition(17).Group, -1);
    EXPECT_EQ(FindPaletteMenuPosition(kQuancom).Group, 4);
    EXPECT_EQ(FindPaletteMenuPosition(kGatter).Group, 1);
}

TEST(PaletteCategories, CaptionsFollowTheLanguage)
{
    ResetContext();
    EXPECT_EQ(PaletteCategoryCaption(4), QString::fromUtf8("Zähler"));
    Ctx().CurrentLanguage = 1;
    EXPECT_EQ(PaletteCategoryCaption(4), QStringLiteral("Counter"));
    Ctx().CurrentLanguage = 2;
    EXPECT_EQ(PaletteCategoryCaption(26), QString::fromUtf8("Port d´accès"));
    ResetContext();
}

TEST(QuickFind, WordsMustAllOccurAndAnEmptyWordFindsNothing)
{
    struct Case {
        const char* text;
        const char* name;
        bool found;
    } const cases[] = {
        {"", "D-Flipflop", true},               // no words: every name
        {"flip", "D-Flipflop", true},
        {"FLOP d-", "D-Flipflop", true},        // every word, any order and case
        {"flop x", "D-Flipflop", false},
        {"d  flop", "D-Flipflop", false},       // two blanks: an empty word
        {" flop", "D-Flipflop", false},         // leading blank: an empty word
        {"flop ", "D-Flipflop", true},          // a trailing blank adds no word
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(MatchesAllWords(QString::fromUtf8(c.name), SearchWords(QString::fromUtf8(c.text))),
                  c.found);
    }
}

class BiboTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        InstallHooks();
        RegisterComponentClasses(ClassRegistry());
    }
    void SetUp() override
    {
        ResetContext();
        bibo.resize(140, 400);
        bibo.OnReadHeader = [](TReader& reader) {
            uint8_t header[5] = {};
            reader.ReadBuffer(header, 5);
            return header[3];
        };
        bibo.OnComponentDrag = [this](QIODevice& stream) { dragged = stream.readAll(); };
    }
    void TearDown() override { ResetContext(); }

    void Load(int row) { bibo.LoadLibrary(BuildCategoryLibrary(row), QString()); }
    // A point inside entry k's slot, x palette units from the left edge.
    QPoint InEntry(size_t k, int x, int aboveCell = 20) const
    {
        return bibo.PaletteToDevice(QPoint(x, bibo.Rows[k] - aboveCell));
    }

    TBibo bibo;
    QByteArray dragged;
};

TEST_F(BiboTest, EveryComponentOfTheCategoryIsAnEntryInRegistrationOrder)
{
    Load(kGatter);
    std::vector<QString> registered;
    for (const auto& group : ClassRegistry().ComponentsByCategory())
        if (int(group.Category) == kGatter)
            for (const TComponentDescription* d : group.Components)
                registered.push_back(QString::fromLatin1(d->Name));
    ASSERT_FALSE(registered.empty());
    ASSERT_EQ(bibo.Entries.size(), registered.size());
    for (size_t k = 0; k < registered.size(); ++k)
        EXPECT_EQ(QString::fromLatin1(bibo.Entries[k]->ClassName()), registered[k]);
    EXPECT_EQ(bibo.Version, 44);
    // Slots go down the palette without overlap, and the control is as high as they are.
    for (size_t k = 1; k < bibo.Rows.size(); ++k)
        EXPECT_LT(bibo.Rows[k - 1], bibo.Entries[k]->GetBounds().Top);
    EXPECT_GE(bibo.minimumHeight(), bibo.PaletteToDevice(QPoint(0, bibo.Rows.back())).y());

    // Text only: 99 units a row from the top.
    bibo.TextOnly = true;
    bibo.Relayout();
    for (size_t k = 0; k < bibo.Rows.size(); ++k)
        EXPECT_EQ(bibo.Rows[k], int32_t(99 * (k + 1)));
}

TEST_F(BiboTest, DevicesAreEntriesOfTheirHardwareCategory)
{
    const int row = int(TPaletteCategory::Portzugriffe);
    size_t devices = 0;
    for (const TDeviceDescription* device : ClassRegistry().Devices())
        devices += int(device->Category) == row;
    ASSERT_GT(devices, 0u);
    Load(row);
    ASSERT_EQ(bibo.Entries.size(), devices);
    for (const auto& entry : bibo.Entries)
        EXPECT_NE(dynamic_cast<TBTHardware*>(entry.get()), nullptr);
}

TEST_F(BiboTest, TheHardwareGroupShowsOnlyCategoriesWithDevices)
{
    const TPaletteMenu shown = ShownPaletteMenu();
    const TPaletteMenu& full = PaletteMenu();
    for (int g = 0; g < PaletteGroupCount; ++g) {
        if (g != HardwarePaletteGroup) {
            EXPECT_EQ(shown[size_t(g)], full[size_t(g)]) << g;
        }
    }

    const std::vector<int>& hardware = shown[size_t(HardwarePaletteGroup)];
    ASSERT_FALSE(hardware.empty());
    EXPECT_NE(hardware.front(), -1);
    EXPECT_NE(hardware.back(), -1);
    for (size_t k = 1; k < hardware.size(); ++k)
        EXPECT_FALSE(hardware[k] == -1 && hardware[k - 1] == -1);
    // Shown in menu order: exactly the full group's categories that hold something.
    std::vector<int> expected;
    for (int row : full[size_t(HardwarePaletteGroup)])
        if (row >= 0 && CategoryHasEntries(row))
            expected.push_back(row);
    std::vector<int> rows;
    for (int row : hardware)
        if (row >= 0)
            rows.push_back(row);
    EXPECT_EQ(rows, expected);
    EXPECT_NE(std::find(rows.begin(), rows.end(), int(TPaletteCategory::RS232)), rows.end());
    // A hardware category that holds nothing yet is not shown.
    for (int category : full[size_t(HardwarePaletteGroup)])
        if (category >= 0 && !CategoryHasEntries(category))
            EXPECT_EQ(std::find(rows.begin(), rows.end(), category), rows.end()) << category;

    // Stepping through the shown menu never lands on a hidden category.
    int row = kAnzeigen;
    for (int step = 0; step < PaletteCategoryCount; ++step) {
        row = NextPaletteRow(row, shown);
        EXPECT_TRUE(CategoryHasEntries(row) || PaletteCategoryInfo(row).Group != HardwarePaletteGroup)
            << row;
    }
}

TEST_F(BiboTest, ALibraryOfOneByteOrLessIsAnEmptyPalette)
{
    Load(kGatter);
    for (const QByteArray& bytes : {QByteArray(), QByteArray(1, '\2')}) {
        bibo.LoadLibrary(bytes, QString());
        EXPECT_TRUE(bibo.Entries.empty());
        EXPECT_EQ(bibo.EntryAt(QPoint(60, 10)), nullptr);
    }
}

TEST_F(BiboTest, PressesStartADragOnlyOutsideTheHelpBox)
{
    Load(kGatter);
    ASSERT_GE(bibo.Entries.size(), 2u);
    EXPECT_EQ(bibo.EntryAt(InEntry(1, 200)), bibo.Entries[1].get());
    EXPECT_EQ(bibo.EntryAt(bibo.PaletteToDevice(QPoint(200, bibo.Rows.back() + 10))), nullptr);

    // "?" box: no drag.
    ASSERT_TRUE(bibo.HelpBoxAt(InEntry(1, 10)));
    SendMouse(&bibo, QEvent::MouseButtonPress, Qt::LeftButton, InEntry(1, 10));
    EXPECT_TRUE(dragged.isEmpty());
    // The "i" box of a component that is no hardware is part of the entry.
    ASSERT_TRUE(bibo.InfoBoxAt(InEntry(1, 10, 60)));
    SendMouse(&bibo, QEvent::MouseButtonPress, Qt::LeftButton, InEntry(1, 10, 60));
    EXPECT_FALSE(dragged.isEmpty());
    // A right press on a component does nothing.
    dragged.clear();
    SendMouse(&bibo, QEvent::MouseButtonPress, Qt::RightButton, InEntry(1, 200));
    EXPECT_TRUE(dragged.isEmpty());

    // The stream of a left press holds that one entry at (0, 0), without an element.
    SendMouse(&bibo, QEvent::MouseButtonPress, Qt::LeftButton, InEntry(1, 200));
    QBuffer buffer(&dragged);
    buffer.open(QIODevice::ReadOnly);
    TReader reader(buffer);
    EXPECT_EQ(reader.ReadInteger(), 1);
    EXPECT_EQ(reader.ReadString(), QString::fromLatin1(bibo.Entries[1]->ClassName()));
    TPlatine board;
    buffer.seek(0);
    board.PasteFromStream(buffer, 44);
    ASSERT_EQ(board.SelectedCount(), 1);
    auto* placed = dynamic_cast<TIOBauteil*>(board.SingleSelected());
    ASSERT_NE(placed, nullptr);
    EXPECT_EQ(QPoint(placed->X, placed->Y), QPoint(0, 0));
    EXPECT_EQ(placed->InputCount, bibo.Entries[1]->InputCount);
    EXPECT_EQ(placed->GetTypeName(), bibo.Entries[1]->GetTypeName());
}

TEST_F(BiboTest, EveryCategoryPaintsWithItsSymbolsAndNames)
{
    // Every category's library reads back and paints, with symbols and in text-only mode.
    QImage image(140, 3000, QImage::Format_RGB32);
    for (bool textOnly : {false, true}) {
        bibo.TextOnly = textOnly;
        for (int row = 0; row < PaletteCategoryCount; ++row) {
            SCOPED_TRACE(row);
            Load(row);
            bibo.resize(140, std::min(3000, std::max(100, bibo.ContentHeight())));
            bibo.render(&image);
        }
    }
    // The first symbol draws its lines on the light background.
    bibo.TextOnly = false;
    Load(kGatter);
    bibo.resize(140, bibo.ContentHeight());
    image.fill(Qt::white);
    bibo.render(&image);
    const QRect firstSymbol(0, 0, 140, bibo.PaletteToDevice(QPoint(0, bibo.Rows[0] - 80)).y());
    int dark = 0;
    for (int y = firstSymbol.top(); y < firstSymbol.bottom(); ++y)
        for (int x = 0; x < 140; ++x)
            dark += qGray(image.pixel(x, y)) < 128;
    EXPECT_GT(dark, 40);
}

} // namespace
