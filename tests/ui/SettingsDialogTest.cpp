// The generic settings dialog answered by the dialog responder: rows bound to local
// variables, values set through the row controls, OK or cancel, then the variables checked.

#include "core/model/Translator.h"
#include "platform/Colors.h"
#include "platform/Context.h"
#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"
#include "ui/Formats.h"
#include "ui/Hotkey.h"
#include "ui/NumberFormatDlg.h"
#include "ui/OwnerDrawButton.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"
#include "ui/SyncDlg.h"
#include "ui/FrameDlg.h"

#include "UiTestSupport.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyle>
#include <QTemporaryDir>
#include <QToolButton>

namespace {

// The n-th control of that class and name in the dialog (rows in the order they were added).
template <class T>
T* Control(QWidget& dlg, const char* name, int index = 0)
{
    const QList<T*> found = dlg.findChildren<T*>(QString::fromLatin1(name));
    if (index >= found.size()) {
        ADD_FAILURE() << "no control " << name << " #" << index;
        return nullptr;
    }
    return found[index];
}

TDefault_Dlg& Host(QDialog& d)
{
    return static_cast<TDefault_Dlg&>(d);
}

TPropEditor* RowOf(QDialog& d, size_t index)
{
    return Host(d).PropScrollbox->Rows().at(index)->Editor;
}

class SettingsDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetContext();
        BuildTranslationTable();
        ASSERT_TRUE(m_folder.isValid());
        Ctx().ProgramFolder = m_folder.path() + u'/';
    }
    void TearDown() override
    {
        SetPinPortDialogHooks({});
        ResetContext();
    }
    QTemporaryDir m_folder;
};

// --- Write-back of the simple row kinds ----------------------------------------------------

constexpr double kDay = 45123.0;
constexpr double kSeconds131415 = 13 * 3600 + 14 * 60 + 15;

struct TVars {
    int32_t Color = clRed;
    int32_t ComboIndex = 1;
    int32_t ImageIndex = 0;
    QString EditComboText = QStringLiteral("beta");
    QString Text = QStringLiteral("old text");
    QStringList Lines{QStringLiteral("one"), QStringLiteral("two")};
    bool Checked = false;
    QString FileName = QStringLiteral("/data/in.txt");
    QString SaveFileName = QStringLiteral("/data/out.txt");
    int32_t SpinValue = 5;
    QString RangeMin = QStringLiteral("0");
    QString RangeMax = QStringLiteral("10");
    // A date, 13:14:15 and 400 ms.
    double Time = kDay + (kSeconds131415 + 0.4) / 86400.0;
    QFont Font = [] {
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setPointSize(10);
        f.setItalic(true);
        return f;
    }();
    THotkey Hotkey = [] {
        THotkey h;
        h.Key = 'A';
        h.ShiftState = hsCtrl;
        h.Action = 1;
        return h;
    }();
};

QString Dump(const TVars& v)
{
    return QStringList{
        QString::number(v.Color, 16), QString::number(v.ComboIndex), QString::number(v.ImageIndex),
        v.EditComboText, v.Text, v.Lines.join(u'|'), QString::number(v.Checked), v.FileName,
        v.SaveFileName, QString::number(v.SpinValue), v.RangeMin, v.RangeMax,
        QString::number(v.Time, 'g', 17), v.Font.family(), QString::number(v.Font.pointSize()),
        QStringLiteral("b%1i%2u%3s%4").arg(v.Font.bold()).arg(v.Font.italic()).arg(v.Font.underline()).arg(v.Font.strikeOut()),
        QStringLiteral("key %1 shift %2 action %3").arg(v.Hotkey.Key).arg(v.Hotkey.ShiftState).arg(v.Hotkey.Action),
    }.join(QStringLiteral("; "));
}

const QStringList kAbc{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")};
const QStringList kActions{QStringLiteral("Drücken"), QStringLiteral("Umschalten")};

struct TWriteBackCase {
    const char* name;
    std::function<void(TDefault_Dlg&, TVars&)> add;
    std::function<void(QDialog&)> edit;     // what the user does
    std::function<void(TVars&)> expect;     // how OK changes the variables
};

const TWriteBackCase kWriteBackCases[] = {
    {"colour", [](TDefault_Dlg& d, TVars& v) { d.PropScrollbox->AddColorProp("Farbe", v.Color); },
     [](QDialog& d) { Control<TOrvinButton>(d, "ColorBtn")->SetColor(clBlue); },
     [](TVars& v) { v.Color = clBlue; }},
    {"combo", [](TDefault_Dlg& d, TVars& v) { d.PropScrollbox->AddComboProp("Liste", v.ComboIndex, kAbc, 80); },
     [](QDialog& d) { Control<QComboBox>(d, "Combo")->setCurrentIndex(2); },
     [](TVars& v) { v.ComboIndex = 2; }},
    {"image combo",
     [](TDefault_Dlg& d, TVars& v) {
         d.PropScrollbox->AddImageComboProp("Typ", v.ImageIndex, QStringList(8, QString()), 50, d.MeterBitmaps);
     },
     [](QDialog& d) { Control<QComboBox>(d, "Combo")->setCurrentIndex(5); },
     [](TVars& v) { v.ImageIndex = 5; }},
    {"edit combo",
     [](TDefault_Dlg& d, TVars& v) {
         d.PropScrollbox->AddEditComboProp("Server", v.EditComboText, {QStringLiteral("alpha"), QStringLiteral("beta")}, 90);
     },
     [](QDialog& d) { Control<QComboBox>(d, "Combo")->setEditText(QStringLiteral("gamma")); },
     [](TVars& v) { v.EditComboText = QStringLiteral("gamma"); }},
    {"text goes through the 8-bit code page",
     [](TDefault_Dlg& d, TVars& v) { d.PropScrollbox->AddEditProp("Name", v.Text, 0, 120); },
     [](QDialog& d) { Control<QLineEdit>(d, "Edit")->setText(QString::fromUtf8("Grün € Ω")); },
     [](TVars& v) { v.Text = QString::fromUtf8("Grün € ?"); }},
    {"memo", [](TDefault_Dlg& d, TVars& v) { d.PropScrollbox->AddMemoProp("Text", v.Lines, 120, 60); },
     [](QDialog& d) { Control<QPlainTextEdit>(d, "Memo")->setPlainText(QStringLiteral("x\n\ny\n")); },
     [](TVars& v) { v.Lines = QStringList{QStringLiteral("x"), QString(), QStringLiteral("y")}; }},
    {"check", [](TDefault_Dlg& d, TVars& v) { d.PropScrollbox->AddCheckProp("Aktiv", v.Checked); },
     [](QDialog& d) { Control<QCheckBox>(d, "Check")->setChecked(true); },
     [](TVars& v) { v.Checked = true; }},
    {"file",
     [](TDefault_Dlg& d, TVars& v) {
         d.PropScrollbox->AddFileProp("Datei", v.FileName, 255, 150, QStringLiteral("Text|*.txt"), QStringLiteral("txt"));
     },
     [](QDialog& d) { Control<TFileEdit>(d, "FileEdit")->SetText(QStringLiteral("/data/other.txt")); },
     [](TVars& v) { v.FileName = QStringLiteral("/data/other.txt"); }},
    {"save file",
     [](TDefault_Dlg& d, TVars& v) {
         d.PropScrollbox->AddSaveFileProp("Ziel", v.SaveFileName, 255, 150, QString(), QString());
     },
     [](QDialog& d) { Control<TFileEdit>(d, "FileEdit")->SetText(QStringLiteral("/data/new.csv")); },
     [](TVars& v) { v.SaveFileName = QStringLiteral("/data/new.csv"); }},
    {"spin", [](TDefault_Dlg& d, TVars& v) { d.PropScrollbox->AddSpinProp("Anzahl", v.SpinValue, 0, 10, 64); },
     [](QDialog& d) { Control<QSpinBox>(d, "Spin")->setValue(7); },
     [](TVars& v) { v.SpinValue = 7; }},
    {"range",
     [](TDefault_Dlg& d, TVars& v) { d.PropScrollbox->AddRangeProp("Bereich", v.RangeMin, v.RangeMax, 0); },
     [](QDialog& d) {
         Control<QLineEdit>(d, "MinEdit")->setText(QStringLiteral("-5"));
         Control<QLineEdit>(d, "MaxEdit")->setText(QStringLiteral("5,5"));
     },
     [](TVars& v) {
         v.RangeMin = QStringLiteral("-5");
         v.RangeMax = QStringLiteral("5,5");
     }},
    {"day time edited", [](TDefault_Dlg& d, TVars& v) { d.PropScrollbox->AddDayTimeProp("Zeit", v.Time); },
     [](QDialog& d) { Control<QSpinBox>(d, "MinuteSpin")->setValue(30); },
     [](TVars& v) { v.Time = (13 * 3600 + 30 * 60 + 15) / 86400.0; }},
    {"day time keeps only the time of day",
     [](TDefault_Dlg& d, TVars& v) { d.PropScrollbox->AddDayTimeProp("Zeit", v.Time); },
     [](QDialog&) {},
     [](TVars& v) { v.Time = kSeconds131415 / 86400.0; }},
    {"font name and size",
     [](TDefault_Dlg& d, TVars& v) { d.PropScrollbox->AddFontNameProp("Schriftart", v.Font); },
     [](QDialog& d) {
         auto* fonts = Control<QComboBox>(d, "FontCombo");
         ASSERT_EQ(fonts->currentText(), QStringLiteral("DejaVu Sans")); // filled when shown
         fonts->setCurrentIndex(fonts->findText(QStringLiteral("DejaVu Serif")));
         Control<QComboBox>(d, "SizeCombo")->setEditText(QStringLiteral("14"));
     },
     [](TVars& v) {
         v.Font.setFamily(QStringLiteral("DejaVu Serif"));
         v.Font.setPointSize(14);
     }},
    {"font style",
     [](TDefault_Dlg& d, TVars& v) { d.PropScrollbox->AddFontStyleProp("Stil", v.Font); },
     [](QDialog& d) {
         EXPECT_TRUE(Control<QToolButton>(d, "ItalicBtn")->isChecked());
         Control<QToolButton>(d, "BoldBtn")->setChecked(true);
         Control<QToolButton>(d, "ItalicBtn")->setChecked(false);
         Control<QToolButton>(d, "UnderBtn")->setChecked(true);
     },
     [](TVars& v) {
         v.Font.setBold(true);
         v.Font.setItalic(false);
         v.Font.setUnderline(true);
     }},
    {"hotkey",
     [](TDefault_Dlg& d, TVars& v) { d.PropScrollbox->AddHotkeyProp("Hotkey", v.Hotkey, &kActions); },
     [](QDialog& d) {
         auto* keys = Control<QComboBox>(d, "KeyCombo");
         EXPECT_EQ(keys->count(), HotkeyKeyCount);
         EXPECT_EQ(keys->currentIndex(), KeyToHotkeyIndex('A'));
         EXPECT_TRUE(Control<QToolButton>(d, "CtrlBtn")->isChecked());
         EXPECT_EQ(Control<QComboBox>(d, "ActionCombo")->currentIndex(), 1);
         keys->setCurrentIndex(KeyToHotkeyIndex('7'));
         Control<QToolButton>(d, "CtrlBtn")->setChecked(false);
         Control<QToolButton>(d, "ShiftBtn")->setChecked(true);
         Control<QToolButton>(d, "AltBtn")->setChecked(true);
         Control<QComboBox>(d, "ActionCombo")->setCurrentIndex(0);
     },
     [](TVars& v) {
         v.Hotkey.Key = '7';
         v.Hotkey.ShiftState = hsShift | hsAlt;
         v.Hotkey.Action = 0;
     }},
    {"hotkey without action names has no action",
     [](TDefault_Dlg& d, TVars& v) { d.PropScrollbox->AddHotkeyProp("Hotkey", v.Hotkey); },
     [](QDialog& d) { EXPECT_TRUE(Control<QComboBox>(d, "ActionCombo")->isHidden()); },
     [](TVars& v) { v.Hotkey.Action = -1; }},
};

TEST_F(SettingsDialogTest, RowsWriteBackOnOkAndKeepTheVariablesOnCancel)
{
    for (const TWriteBackCase& c : kWriteBackCases) {
        SCOPED_TRACE(c.name);
        for (const int answer : {mrOk, mrCancel}) {
            TVars vars;
            TDefault_Dlg& dlg = Default_Dlg();
            dlg.setWindowTitle(QStringLiteral("Test"));
            c.add(dlg, vars);
            TScopedDialogResponder responder;
            responder.Answer([&](QDialog& d) {
                c.edit(d);
                return answer;
            });
            EXPECT_EQ(dlg.Execute(), answer);
            EXPECT_EQ(responder.Count(), 1);

            TVars expected;
            if (answer == mrOk)
                c.expect(expected);
            EXPECT_EQ(Dump(vars), Dump(expected)) << (answer == mrOk ? "OK" : "cancel");
        }
    }
}

// --- Mends: nothing selected, unusable font size, untouched spin values ----------------

TEST_F(SettingsDialogTest, ComboWithoutSelectionKeepsTheOldValue)
{
    struct TCase {
        const char* name;
        QStringList items;
        int32_t initial;
        int pick; // -2: leave alone, -1: clear the selection, else the item chosen
        int32_t expected;
    } const cases[] = {
        {"empty list", {}, 3, -2, 3},
        {"initial value out of range", kAbc, 7, -2, 7},
        {"initial value negative", kAbc, -1, -2, -1},
        {"selection cleared", kAbc, 1, -1, 1},
        {"out of range, then chosen", kAbc, 7, 2, 2},
        {"in range, untouched", kAbc, 2, -2, 2},
    };
    for (const bool image : {false, true}) {
        for (const TCase& c : cases) {
            SCOPED_TRACE(std::string(image ? "image combo: " : "combo: ") + c.name);
            int32_t value = c.initial;
            TDefault_Dlg& dlg = Default_Dlg();
            if (image)
                dlg.PropScrollbox->AddImageComboProp("Typ", value, c.items, 50, dlg.MeterBitmaps);
            else
                dlg.PropScrollbox->AddComboProp("Liste", value, c.items, 80);
            TScopedDialogResponder responder;
            responder.Answer([&](QDialog& d) {
                auto* combo = Control<QComboBox>(d, "Combo");
                if (c.pick == -2 && (c.initial < 0 || c.initial >= c.items.size())) {
                    EXPECT_EQ(combo->currentIndex(), -1); // shows no selection
                }
                if (c.pick != -2)
                    combo->setCurrentIndex(c.pick);
                return mrOk;
            });
            dlg.Execute();
            EXPECT_EQ(value, c.expected);
        }
    }
}

TEST_F(SettingsDialogTest, FontRowWithoutUsableSizeOrNameKeepsTheOldOne)
{
    struct TCase {
        const char* name;
        const char* sizeText;
        bool clearName;
        const char* expectedFamily;
        int expectedSize;
    } const cases[] = {
        {"empty size", "", false, "DejaVu Serif", 11},
        {"size not a number", "abc", false, "DejaVu Serif", 11},
        {"size zero", "0", false, "DejaVu Serif", 11},
        {"no font chosen", "12", true, "DejaVu Serif", 12},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        QFont font(QStringLiteral("DejaVu Serif"));
        font.setPointSize(11);
        TDefault_Dlg& dlg = Default_Dlg();
        dlg.PropScrollbox->AddFontNameProp("Schriftart", font);
        TScopedDialogResponder responder;
        responder.Answer([&](QDialog& d) {
            auto* sizes = Control<QComboBox>(d, "SizeCombo");
            EXPECT_EQ(sizes->currentText(), QStringLiteral("11"));
            sizes->setEditText(QString::fromLatin1(c.sizeText));
            if (c.clearName)
                Control<QComboBox>(d, "FontCombo")->setCurrentIndex(-1);
            return mrOk;
        });
        dlg.Execute();
        EXPECT_EQ(font.family(), QString::fromLatin1(c.expectedFamily));
        EXPECT_EQ(font.pointSize(), c.expectedSize);
    }
}

TEST_F(SettingsDialogTest, SpinValueOutsideItsRangeStaysUnlessTheUserEditsIt)
{
    struct TCase {
        const char* name;
        int32_t initial;
        int setTo; // -1: untouched
        int32_t expected;
    } const cases[] = {
        {"above the maximum, untouched", 20, -1, 20},
        {"below the minimum, untouched", -3, -1, -3},
        {"above the maximum, edited", 20, 3, 3},
        {"in range, untouched", 4, -1, 4},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        int32_t inertia = c.initial;
        TDefault_Dlg& dlg = Default_Dlg();
        dlg.PropScrollbox->AddSpinProp(QString::fromUtf8("Trägheit"), inertia, 0, 10, 64);
        TScopedDialogResponder responder;
        responder.Answer([&](QDialog& d) {
            if (c.setTo >= 0)
                Control<QSpinBox>(d, "Spin")->setValue(c.setTo);
            return mrOk;
        });
        dlg.Execute();
        EXPECT_EQ(inertia, c.expected);
    }
}

// --- Rows that write at once ---------------------------------------------------------------

TEST_F(SettingsDialogTest, RowsWithTheirOwnDialogWriteAtOnceAndKeepItOnCancel)
{
    TFormat format;
    format.Options = TFormatOptions{TFormatOption::Fixed};
    format.Digits = 4;
    format.Decimals = 2;
    QString sync = QStringLiteral("$0D");
    QString prefix = QStringLiteral("$02");
    QString suffix = QStringLiteral("$03");
    int32_t dialogValue = 0;
    QDialog form;

    TDefault_Dlg& dlg = Default_Dlg();
    dlg.PropScrollbox->AddFormatProp("Format", format);
    dlg.PropScrollbox->AddSyncProp("Synchron", sync);
    dlg.PropScrollbox->AddFrameProp("Rahmen", prefix, suffix);
    dlg.PropScrollbox->AddDialogProp("Bytes", dialogValue, form);

    TScopedDialogResponder responder;
    QStringList labels;
    responder.Answer([&](QDialog& d) {
        for (size_t i = 0; i < 4; ++i) {
            TPropEditor* row = RowOf(d, i);
            EXPECT_FALSE(row->ChangeBtn->isHidden());
            if (i == 3) {
                // The value label reacts like the "..." button.
                auto* label = row->findChild<QLabel*>(QStringLiteral("ValueLabel"));
                QMouseEvent press(QEvent::MouseButtonPress, QPointF(2, 2), QPointF(2, 2),
                                  Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
                QMouseEvent release(QEvent::MouseButtonRelease, QPointF(2, 2), QPointF(2, 2),
                                    Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
                QCoreApplication::sendEvent(label, &press);
                QCoreApplication::sendEvent(label, &release);
            } else {
                row->ChangeBtn->click();
            }
            labels << row->findChild<QLabel*>(QStringLiteral("ValueLabel"))->text();
        }
        return mrCancel;
    });
    responder.Answer([](QDialog& d) {
        auto* f = dynamic_cast<TFormatDlg*>(&d);
        EXPECT_TRUE(f);
        if (f) {
            f->HexBtn->setChecked(true);
            f->fStellen->setValue(6);
        }
        return mrOk;
    });
    responder.Answer([](QDialog& d) {
        auto* s = dynamic_cast<TSync_Dlg*>(&d);
        EXPECT_TRUE(s);
        if (s)
            s->SynchronEdit->setText(QStringLiteral("\"OK\" 13"));
        return mrOk;
    });
    responder.Answer([](QDialog& d) {
        auto* f = dynamic_cast<TFrame_Dlg*>(&d);
        EXPECT_TRUE(f);
        if (f) {
            f->PrefixEdit->setText(QStringLiteral("$01"));
            f->SuffixEdit->setText(QStringLiteral("$0D $0A"));
        }
        return mrOk;
    });
    responder.AnswerResult(7);

    EXPECT_EQ(dlg.Execute(), mrCancel);
    ASSERT_EQ(responder.Count(), 5);
    EXPECT_EQ(responder.Titles().mid(1),
              (QStringList{QStringLiteral("Format"), QStringLiteral("Synchron"), QStringLiteral("Rahmen"),
                           QStringLiteral("Bytes")}));

    EXPECT_TRUE(format.Options.Contains(TFormatOption::Hexadecimal));
    EXPECT_EQ(format.Digits, 6);
    EXPECT_EQ(sync, QStringLiteral("\"OK\" 13"));
    EXPECT_EQ(prefix, QStringLiteral("$01"));
    EXPECT_EQ(suffix, QStringLiteral("$0D $0A"));
    EXPECT_EQ(dialogValue, 7);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Bytes"));
    EXPECT_EQ(labels, (QStringList{FormatOptionName(format.Options), QStringLiteral("\"OK\" 13"),
                                   QStringLiteral("$01 // $0D $0A"),
                                   Translate(QStringLiteral("Bearbeiten")) + QStringLiteral("...")}));
}

TEST_F(SettingsDialogTest, CancelledSubDialogLeavesTheRowAlone)
{
    TFormat format;
    QString sync = QStringLiteral("$0D");
    TDefault_Dlg& dlg = Default_Dlg();
    dlg.PropScrollbox->AddFormatProp("Format", format);
    dlg.PropScrollbox->AddSyncProp("Synchron", sync);
    TScopedDialogResponder responder;
    responder.Answer([&](QDialog& d) {
        RowOf(d, 0)->ChangeBtn->click();
        RowOf(d, 1)->ChangeBtn->click();
        return mrOk;
    });
    responder.Answer([](QDialog& d) {
        static_cast<TFormatDlg&>(d).UnformBtn->setChecked(true);
        return mrCancel;
    });
    responder.Answer([](QDialog& d) {
        static_cast<TSync_Dlg&>(d).SynchronEdit->setText(QStringLiteral("1 2"));
        return mrCancel;
    });
    dlg.Execute();
    EXPECT_EQ(format.Options, TFormatOptions{TFormatOption::Float});
    EXPECT_EQ(sync, QStringLiteral("$0D"));
}

TEST_F(SettingsDialogTest, ColourRowPicksIntoTheSwatchAndWritesOnlyOnOk)
{
    for (const int answer : {mrOk, mrCancel}) {
        int32_t color = clRed;
        TDefault_Dlg& dlg = Default_Dlg();
        dlg.PropScrollbox->AddColorProp("Farbe", color);
        TScopedDialogResponder responder;
        responder.Answer([&](QDialog& d) {
            auto* swatch = Control<TOrvinButton>(d, "ColorBtn");
            swatch->Click();
            EXPECT_EQ(swatch->Color(), clLime);
            return answer;
        });
        responder.Answer([](QDialog& d) {
            d.setProperty("currentColor", QColor(0, 255, 0));
            return mrOk;
        });
        dlg.Execute();
        EXPECT_EQ(responder.Count(), 2);
        EXPECT_EQ(color, answer == mrOk ? clLime : clRed);
    }
}

// --- The options tail ------------------------------------------------------------------------

TEST_F(SettingsDialogTest, OptionRowsOnlyWhenIdleAndNotCompiled)
{
    struct TCase {
        bool simRunning;
        bool runtimeMode;
        bool expectRows;
    } const cases[] = {
        {false, false, true},
        {true, false, false},
        {false, true, false},
        {true, true, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "running " << c.simRunning << ", runtime " << c.runtimeMode);
        Ctx().SimRunning = c.simRunning;
        Ctx().RuntimeMode = c.runtimeMode;
        int32_t delay = 3;
        QString label = QStringLiteral("T1");
        bool adjustable = false;
        TDefault_Dlg& dlg = Default_Dlg();
        dlg.PropScrollbox->AddSpinProp("Systemtakte", delay, 1, 100, 64);
        dlg.AddOptionRows(label, adjustable);
        ASSERT_EQ(dlg.PropScrollbox->Rows().size(), c.expectRows ? 4u : 1u);
        TScopedDialogResponder responder;
        responder.Answer([&](QDialog& d) {
            if (c.expectRows) {
                EXPECT_EQ(RowOf(d, 1)->PropPanel->Caption(), Translate(QStringLiteral("Optionen")));
                EXPECT_EQ(RowOf(d, 2)->NameLabel->text(), Translate(QStringLiteral("Name")));
                EXPECT_EQ(Control<QLineEdit>(d, "Edit")->width(), 120);
                Control<QLineEdit>(d, "Edit")->setText(QStringLiteral("Takt"));
                Control<QCheckBox>(d, "Check")->setChecked(true);
            }
            return mrOk;
        });
        dlg.Execute();
        EXPECT_EQ(label, c.expectRows ? QStringLiteral("Takt") : QStringLiteral("T1"));
        EXPECT_EQ(adjustable, c.expectRows);
    }
}

// --- The dialog itself ---------------------------------------------------------------------

TEST_F(SettingsDialogTest, SizesItselfToItsRows)
{
    TDefault_Dlg dlg;
    const int screenHeight = dlg.screen()->geometry().height();
    const int maxHeight = screenHeight - screenHeight / 4;
    const int bar = std::max(18, dlg.style()->pixelMetric(QStyle::PM_ScrollBarExtent));

    for (const int count : {3, 40}) {
        SCOPED_TRACE(count);
        std::vector<int32_t> values(size_t(count), 1);
        for (int32_t& v : values)
            dlg.PropScrollbox->AddSpinProp("Wert", v, 0, 10, 64);
        TScopedDialogResponder responder;
        responder.Answer([&](QDialog& d) {
            const int rowWidth = RowOf(d, 0)->width();
            if (25 * count + 47 <= maxHeight) {
                EXPECT_EQ(d.width(), rowWidth);
                EXPECT_EQ(d.height(), 25 * count + 47);
            } else {
                EXPECT_EQ(d.height(), maxHeight);
                EXPECT_EQ(d.width(), rowWidth + bar);
            }
            return mrCancel;
        });
        dlg.Execute();
    }
}

TEST_F(SettingsDialogTest, ALongCaptionWidensTheDialogSoThatItShowsWhole)
{
    TDefault_Dlg dlg;
    const QString caption = QStringLiteral("Meilhaus ME-4680 Multifunktionskarte, Kanal 16");
    dlg.setWindowTitle(caption);
    int32_t v = 1;
    dlg.PropScrollbox->AddSpinProp("Wert", v, 0, 10, 64);
    TScopedDialogResponder responder;
    responder.Answer([&](QDialog& d) {
        QFont bold = d.font();
        bold.setBold(true);
        EXPECT_GE(d.width(), QFontMetrics(bold).horizontalAdvance(caption) + 100);
        EXPECT_GT(d.width(), RowOf(d, 0)->width());
        return mrCancel;
    });
    dlg.Execute();
}

TEST_F(SettingsDialogTest, FoldingAGroupRefitsTheDialog)
{
    int32_t a = 1, b = 2, c = 3;
    TDefault_Dlg& dlg = Default_Dlg();
    dlg.PropScrollbox->AddCaptionProp("Gruppe 1");
    dlg.PropScrollbox->AddSpinProp("A", a, 0, 10, 64);
    dlg.PropScrollbox->AddSpinProp("B", b, 0, 10, 64);
    dlg.PropScrollbox->AddCaptionProp("Gruppe 2");
    dlg.PropScrollbox->AddSpinProp("C", c, 0, 10, 64);
    TScopedDialogResponder responder;
    responder.Answer([&](QDialog& d) {
        EXPECT_EQ(d.height(), 16 + 25 + 25 + 16 + 25 + 47);
        RowOf(d, 0)->PropPanel->OnClick();
        EXPECT_EQ(d.height(), 16 + 16 + 25 + 47);
        return mrOk;
    });
    dlg.Execute();
}

TEST_F(SettingsDialogTest, CaptionCarriageReturnBecomesABlank)
{
    TDefault_Dlg& dlg = Default_Dlg();
    dlg.setWindowTitle(QStringLiteral("Zeile 1\r\nZeile 2\r\n"));
    TScopedDialogResponder responder;
    responder.AnswerResult(mrCancel);
    dlg.Execute();
    EXPECT_EQ(responder.Titles().value(0), QStringLiteral("Zeile 1 \nZeile 2\r\n"));
}

TEST_F(SettingsDialogTest, HelpButtonOnlyWithHelpContextAndNotCompiled)
{
    struct TCase {
        int helpContext;
        bool runtimeMode;
        bool expectHelp;
    } const cases[] = {{18035, false, true}, {0, false, false}, {18035, true, false}};
    for (const TCase& c : cases) {
        Ctx().RuntimeMode = c.runtimeMode;
        TDefault_Dlg& dlg = Default_Dlg();
        dlg.HelpContext = c.helpContext;
        TScopedDialogResponder responder;
        bool help = false;
        responder.Answer([&](QDialog& d) {
            help = d.windowFlags().testFlag(Qt::WindowContextHelpButtonHint);
            return mrCancel;
        });
        dlg.Execute();
        EXPECT_EQ(help, c.expectHelp) << c.helpContext << " " << c.runtimeMode;
    }
}

TEST_F(SettingsDialogTest, NextUseStartsEmptyWithHiddenPinButton)
{
    QString shownCaption;
    int cleared = 0;
    SetPinPortDialogHooks({[&](const QString& caption) { shownCaption = caption; }, [&] { ++cleared; }});

    int32_t v = 1;
    QPointer<QWidget> row;
    {
        TDefault_Dlg dlg;
        dlg.setWindowTitle(QStringLiteral("Karte 1"));
        dlg.PinBtn->show();
        dlg.PropScrollbox->AddSpinProp("Wert", v, 0, 10, 64);
        row = dlg.PropScrollbox->Rows().front()->Editor;
        TScopedDialogResponder responder;
        responder.Answer([&](QDialog& d) {
            Control<QToolButton>(d, "PinBtn")->click();
            return mrOk;
        });
        dlg.Execute();
        EXPECT_EQ(shownCaption, QStringLiteral("Karte 1"));
        EXPECT_TRUE(row.isNull()); // rows freed on close
        EXPECT_TRUE(dlg.PropScrollbox->Rows().empty());
        EXPECT_EQ(dlg.PropScrollbox->TotalHeight, 0);
        EXPECT_TRUE(dlg.PinBtn->isHidden());
        EXPECT_EQ(cleared, 0);
    }
    EXPECT_EQ(cleared, 1); // the pin editor's hooks are cleared with the dialog
}

TEST_F(SettingsDialogTest, ButtonsAndPinHintFollowTheLanguage)
{
    struct TCase {
        uint8_t language;
        const char* cancel;
        const char* pinHint;
    } const cases[] = {
        {0, "&Abbrechen", "Anschlüsse..."},
        {1, "&Cancel", "Pins connections..."},
        {2, "&Annuler", "Raccordements..."},
    };
    for (const TCase& c : cases) {
        Ctx().CurrentLanguage = c.language;
        TDefault_Dlg dlg;
        EXPECT_EQ(dlg.Button1->text(), QString::fromUtf8(c.cancel));
        EXPECT_EQ(dlg.PinBtn->toolTip(), QString::fromUtf8(c.pinHint));
        EXPECT_EQ(dlg.OKBtn->text(), QStringLiteral("&OK"));
    }
}

} // namespace
