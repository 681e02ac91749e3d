// The property sheet's layout (stacking, column fitting, folding), the text row's link button
// and the smooth scroll box.

#include "core/model/Translator.h"
#include "platform/Context.h"
#include "ui/Formats.h"
#include "ui/Hotkey.h"
#include "ui/PropertySheet.h"
#include "ui/ScrollBoxEx.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>
#include <QTemporaryDir>

#include <functional>

namespace {

class PropertySheetTest : public ::testing::Test {
public:
    void SetUp() override
    {
        ResetContext();
        BuildTranslationTable();
        m_sheet.resize(400, 300);
    }
    int TextWidth(const QFont& font, const QString& text) const
    {
        return QFontMetrics(font).horizontalAdvance(text);
    }
    TPropEditor* Row(size_t i) const { return m_sheet.Rows().at(i)->Editor; }

    TPropScrollbox m_sheet;
    int32_t m_int[4] = {1, 2, 3, 4};
    bool m_check = false;
    QString m_text[4];
    QStringList m_lines;
    TFormat m_format;
    THotkey m_hotkey;
};

TEST_F(PropertySheetTest, RowsStackInAddOrderWithTheirHeights)
{
    QList<QPixmap> images{QPixmap(32, 30), QPixmap(32, 30)};
    m_sheet.AddCaptionProp("Gruppe");
    m_sheet.AddSpinProp("Spin", m_int[0], 0, 10, 64);
    m_sheet.AddImageComboProp("Bild", m_int[1], {QString(), QString()}, 50, images);
    m_sheet.AddMemoProp("Memo", m_lines, 100, 50);
    m_sheet.AddCheckProp("Check", m_check);

    EXPECT_EQ(Row(1)->NamePanel->width(), TPropEditor::kNameWidth); // before any fitting
    EXPECT_EQ(Row(1)->width(), m_sheet.width());
    const int expectedTops[] = {0, 16, 16 + 25, 16 + 25 + 38, 16 + 25 + 38 + 55};
    const int expectedHeights[] = {16, 25, 38, 55, 25};
    for (size_t i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(Row(i)->x(), 0);
        EXPECT_EQ(Row(i)->y(), expectedTops[i]);
        EXPECT_EQ(Row(i)->height(), expectedHeights[i]);
    }
    EXPECT_EQ(m_sheet.TotalHeight, 16 + 25 + 38 + 55 + 25);
    m_sheet.ArrangeRows();
    EXPECT_EQ(m_sheet.TotalHeight, 16 + 25 + 38 + 55 + 25);
    // Only the rows with their own dialog show the "..." button.
    for (size_t i = 0; i < 5; ++i)
        EXPECT_TRUE(Row(i)->ChangeBtn->isHidden());
}

// The right edge of the hotkey row's Shift toggle: Ctrl, Alt and Shift side by side from x 65,
// each as wide as its caption needs and at least 25.
int HotkeyTogglesRight()
{
    QToolButton probe;
    int x = 65;
    for (const char* caption : {"Ctrl", "Alt", "Shift"})
        x += std::max(25, probe.fontMetrics().horizontalAdvance(QString::fromLatin1(caption)) + 8) + 1;
    return x - 1;
}

TEST_F(PropertySheetTest, ColumnsFitTheCaptionsAndTheValueControls)
{
    const QString longCaption = QStringLiteral("Anzahl der Messwerte zur Bildung des Mittelwertes");
    const QString longBand = QStringLiteral("Eine sehr lange Gruppenüberschrift über alles hinweg");
    const QFont labelFont = TPropEditor(nullptr).NameLabel->font();
    QFont bandFont = labelFont;
    bandFont.setBold(true);

    struct TCase {
        const char* name;
        std::function<void(PropertySheetTest&)> add;
        int expectedName;
        int expectedValue;
    };
    const TCase cases[] = {
        {"short caption and a check box: both columns at their minimum or the box",
         [](PropertySheetTest& t) { t.m_sheet.AddCheckProp("A", t.m_check); }, 100, 4 + 97 + 4},
        {"long caption widens the name column",
         [&](PropertySheetTest& t) { t.m_sheet.AddCheckProp(longCaption, t.m_check); },
         TextWidth(labelFont, longCaption) + 10, 4 + 97 + 4},
        {"wide spin widens the value column",
         [](PropertySheetTest& t) { t.m_sheet.AddSpinProp("A", t.m_int[0], 0, 9, 250); }, 100, 4 + 250 + 4},
        {"range row: the second edit counts",
         [](PropertySheetTest& t) { t.m_sheet.AddRangeProp("A", t.m_text[0], t.m_text[1]); }, 100, 80 + 64 + 4},
        {"the ... button does not count",
         [](PropertySheetTest& t) { t.m_sheet.AddFormatProp("A", t.m_format); }, 100, 100},
        {"a band's text counts for the values, not for the names",
         [&](PropertySheetTest& t) {
             t.m_sheet.AddCaptionProp(longBand);
             t.m_sheet.AddCheckProp("A", t.m_check);
         },
         100, std::max(TextWidth(bandFont, longBand), 4 + 97) + 4},
        {"hidden value controls do not count",
         [](PropertySheetTest& t) { t.m_sheet.AddHotkeyProp("A", t.m_hotkey); },
         100, HotkeyTogglesRight() + 4},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        m_sheet.Clear();
        c.add(*this);
        m_sheet.ArrangeRows();
        m_sheet.FitNameColumn();
        m_sheet.FitValueColumn();
        for (const auto& b : m_sheet.Rows()) {
            EXPECT_EQ(b->Editor->NameWidth(), c.expectedName);
            EXPECT_EQ(b->Editor->width(), c.expectedName + c.expectedValue);
            if (!b->Editor->NamePanel->isHidden()) {
                EXPECT_EQ(b->Editor->NamePanel->width(), c.expectedName);
            }
        }
    }
}

TEST_F(PropertySheetTest, ToggleAndValueTextsAreNotCut)
{
    m_format.Options = TFormatOptions{TFormatOption::Float};
    m_sheet.AddHotkeyProp("Taste", m_hotkey);
    m_sheet.AddFormatProp("Format", m_format);
    m_sheet.ArrangeRows();
    m_sheet.FitNameColumn();
    m_sheet.FitValueColumn();
    for (const char* name : {"CtrlBtn", "AltBtn", "ShiftBtn"}) {
        auto* toggle = Row(0)->findChild<QToolButton*>(QString::fromLatin1(name));
        ASSERT_TRUE(toggle);
        EXPECT_GE(toggle->width(), toggle->fontMetrics().horizontalAdvance(toggle->text()) + 8) << name;
    }
    auto* label = Row(1)->findChild<QLabel*>(QStringLiteral("ValueLabel"));
    ASSERT_EQ(label->text(), QStringLiteral("Fliesskomma"));
    EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text()));
    EXPECT_LE(label->x() + label->width(), Row(1)->PropPanel->width()) << "the value column fits it";

    // A text longer than the room left ends in an ellipsis instead of being cut.
    label->resize(label->fontMetrics().horizontalAdvance(QStringLiteral("Flies")), label->height());
    const QImage narrow = label->grab().toImage();
    QLabel plain(QStringLiteral("Fliesskomma"));
    plain.setFont(label->font());
    plain.setAlignment(label->alignment());
    plain.resize(label->size());
    EXPECT_NE(narrow, plain.grab().toImage());
}

TEST_F(PropertySheetTest, BandsFoldTheirGroupAndRestack)
{
    m_sheet.AddCaptionProp("Eins");
    m_sheet.AddSpinProp("a", m_int[0], 0, 9, 64);
    m_sheet.AddSpinProp("b", m_int[1], 0, 9, 64);
    m_sheet.AddCaptionProp("Zwei");
    m_sheet.AddSpinProp("c", m_int[2], 0, 9, 64);
    int changed = 0;
    m_sheet.OnRowsChanged = [&](QObject* sender) {
        EXPECT_EQ(sender, &m_sheet);
        ++changed;
    };
    auto* band = static_cast<TCaptionPropEditor*>(Row(0));

    band->PropPanel->OnClick();
    EXPECT_TRUE(band->Folded);
    EXPECT_EQ(band->PropPanel->Caption(), QStringLiteral("Eins..."));
    EXPECT_TRUE(Row(1)->isHidden());
    EXPECT_TRUE(Row(2)->isHidden());
    EXPECT_FALSE(Row(4)->isHidden());
    EXPECT_EQ(m_sheet.TotalHeight, 16 + 16 + 25);
    EXPECT_EQ(Row(3)->y(), 16);
    EXPECT_EQ(Row(4)->y(), 32);
    EXPECT_EQ(changed, 1);

    band->PropPanel->OnClick();
    EXPECT_FALSE(band->Folded);
    EXPECT_EQ(band->PropPanel->Caption(), QStringLiteral("Eins"));
    EXPECT_FALSE(Row(1)->isHidden());
    EXPECT_EQ(m_sheet.TotalHeight, 16 + 25 + 25 + 16 + 25);
    EXPECT_EQ(Row(4)->y(), 16 + 25 + 25 + 16);
    EXPECT_EQ(changed, 2);
}

TEST_F(PropertySheetTest, FoldingTheLastGroupScrollsToTheTop)
{
    std::vector<int32_t> values(20, 0);
    for (int32_t& v : values)
        m_sheet.AddSpinProp("x", v, 0, 9, 64);
    m_sheet.AddCaptionProp("Letzte");
    m_sheet.AddCaptionProp("Leer");
    m_sheet.resize(300, 100);
    m_sheet.show();
    QApplication::processEvents();
    ASSERT_GT(m_sheet.verticalScrollBar()->maximum(), 0);

    // A band followed by another band folds nothing and keeps the position.
    m_sheet.verticalScrollBar()->setValue(60);
    Row(20)->PropPanel->OnClick();
    EXPECT_EQ(m_sheet.verticalScrollBar()->value(), 60);
    EXPECT_EQ(Row(20)->PropPanel->Caption(), QStringLiteral("Letzte..."));

    // The last band, with no rows below it, only gains its "..." and scrolls to the top.
    Row(21)->PropPanel->OnClick();
    EXPECT_EQ(m_sheet.verticalScrollBar()->value(), 0);
    EXPECT_EQ(Row(21)->PropPanel->Caption(), QStringLiteral("Leer..."));
    EXPECT_EQ(m_sheet.TotalHeight, 20 * 25 + 16 + 16);
}

TEST_F(PropertySheetTest, TextRowShowsItsLinkButtonForAddressesAndFiles)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("notes.txt"));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();

    struct TCase {
        QString text;
        bool link;
    } const cases[] = {
        {QStringLiteral("Besuchen Sie www.example.org"), true},
        {QStringLiteral("hTtP://example.org"), true},
        {QStringLiteral("https://example.org"), false},
        {QStringLiteral("Nur ein Text"), false},
        {QStringLiteral("info@example.org"), true},
        {QStringLiteral("@example.org"), false},
        {QStringLiteral("info@.example"), false},
        {QStringLiteral("info@example"), false},
        {file, true},
        {dir.path(), false}, // a folder is no file
        {dir.filePath(QStringLiteral("missing.txt")), false},
        {QString(), false},
    };
    m_sheet.AddEditProp("Link", m_text[0], 0, 200);
    auto* row = static_cast<TEditPropEditor*>(Row(0));
    EXPECT_EQ(row->ChangeBtn->parentWidget(), row->NamePanel);
    for (const TCase& c : cases) {
        row->Edit->setText(c.text);
        EXPECT_EQ(!row->ChangeBtn->isHidden(), c.link) << c.text.toStdString();
    }

    // The initial text decides too.
    QString mail = QStringLiteral("a@b.de");
    m_sheet.AddEditProp("Mail", mail, 0, 200);
    EXPECT_FALSE(Row(1)->ChangeBtn->isHidden());
    EXPECT_EQ(TEditPropEditor::LinkUrl(mail).toString(), QStringLiteral("mailto:a@b.de"));
    EXPECT_TRUE(TEditPropEditor::LinkUrl(file).isLocalFile());
}

TEST_F(PropertySheetTest, TextLimitStopsTypingButKeepsALongerStoredText)
{
    QString text = QStringLiteral("0123456789");
    m_sheet.AddEditProp("Text", text, 5, 100);
    auto* edit = static_cast<TEditPropEditor*>(Row(0))->Edit;
    EXPECT_EQ(edit->text(), text);
    edit->end(false);
    edit->insert(QStringLiteral("X")); // typing beyond the limit is refused
    EXPECT_EQ(edit->text(), text);
    edit->backspace(); // shortening is allowed
    EXPECT_EQ(edit->text(), QStringLiteral("012345678"));
    edit->clear();
    edit->insert(QStringLiteral("abcdefgh"));
    EXPECT_LE(edit->text().size(), 5);
}

TEST_F(PropertySheetTest, ClearFreesRowsAndStartsAtTheTop)
{
    m_sheet.AddSpinProp("a", m_int[0], 0, 9, 64);
    m_sheet.AddCaptionProp("b");
    QPointer<QWidget> row = Row(0);
    m_sheet.Clear();
    EXPECT_TRUE(row.isNull());
    EXPECT_TRUE(m_sheet.Rows().empty());
    EXPECT_EQ(m_sheet.TotalHeight, 0);
    m_sheet.AddCheckProp("c", m_check);
    EXPECT_EQ(Row(0)->y(), 0);
}

// --- The smooth scroll box -------------------------------------------------------------------

class ScrollBoxExTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto* content = new QWidget;
        content->resize(200, 2000);
        m_box.setWidget(content);
        m_box.resize(150, 100);
        m_box.show();
        QApplication::processEvents();
        m_bar = m_box.verticalScrollBar();
        m_bar->setValue(100);
        m_box.OnScroll = [this](TScrollBoxEx*, uint16_t code, bool horz) {
            m_codes.push_back(code);
            m_horz = horz;
        };
        m_box.OnZoomUp = [this](TScrollBoxEx*) { ++m_zoomUp; };
        m_box.OnZoomDown = [this](TScrollBoxEx*) { ++m_zoomDown; };
    }
    TScrollBoxEx m_box;
    QScrollBar* m_bar = nullptr;
    std::vector<uint16_t> m_codes;
    bool m_horz = true;
    int m_zoomUp = 0;
    int m_zoomDown = 0;
};

TEST_F(ScrollBoxExTest, ArrowsScrollAndNotify)
{
    m_bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(m_bar->value(), 100 + m_bar->singleStep());
    m_bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(m_codes, (std::vector<uint16_t>{SB_LINEDOWN, SB_PAGEUP}));
    EXPECT_FALSE(m_horz);
    EXPECT_EQ(m_zoomUp + m_zoomDown, 0);
}

TEST_F(ScrollBoxExTest, ZoomModeTurnsScrollingWithoutTheMouseIntoZoomRequests)
{
    m_box.WillsteZoom = true;
    m_bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(m_zoomDown, 1);
    EXPECT_EQ(m_zoomUp, 0);
    EXPECT_EQ(m_bar->value(), 100);
    m_bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(m_zoomUp, 1);
    EXPECT_EQ(m_zoomDown, 1);
    EXPECT_EQ(m_bar->value(), 100);
    EXPECT_TRUE(m_codes.empty());
}

TEST_F(ScrollBoxExTest, ThumbDragFollowsOnlyWithSmoothScrolling)
{
    for (const bool smooth : {true, false}) {
        SCOPED_TRACE(smooth);
        m_box.SetSmoothScrolling(smooth);
        m_bar->setValue(0);
        m_codes.clear();
        m_bar->setSliderDown(true);
        m_bar->setSliderPosition(300);
        EXPECT_EQ(m_bar->value(), smooth ? 300 : 0);
        m_bar->setSliderDown(false);
        EXPECT_EQ(m_bar->value(), 300);
        EXPECT_EQ(m_codes, (std::vector<uint16_t>{SB_THUMBTRACK, SB_THUMBPOSITION, SB_ENDSCROLL}));
    }
}

TEST_F(ScrollBoxExTest, OwnerClaimsSpecialKeys)
{
    std::vector<uint16_t> asked;
    std::vector<uint16_t> down;
    m_box.OnWantSpecialKey = [&](TScrollBoxEx*, uint16_t key, bool& wanted) {
        asked.push_back(key);
        wanted = key == 0x25; // the left arrow only
    };
    m_box.OnKeyDown = [&](TScrollBoxEx*, uint16_t& key, uint8_t) { down.push_back(key); };
    QKeyEvent left(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier);
    QCoreApplication::sendEvent(&m_box, &left);
    EXPECT_EQ(asked, (std::vector<uint16_t>{0x25}));
    EXPECT_EQ(down, (std::vector<uint16_t>{0x25}));
    EXPECT_TRUE(left.isAccepted());

    EXPECT_FALSE(m_box.WantSpecialKey(0x09));
    m_box.OnWantSpecialKey = nullptr;
    EXPECT_FALSE(m_box.WantSpecialKey(0x25));
    EXPECT_EQ(asked, (std::vector<uint16_t>{0x25, 0x09}));
}

} // namespace
