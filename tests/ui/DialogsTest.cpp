#include "platform/Colors.h"
#include "platform/Context.h"
#include "platform/Help.h"
#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"
#include "ui/CompileWindow.h"
#include "ui/FrameDlg.h"
#include "ui/PanelDlg.h"
#include "ui/SyncDlg.h"
#include "widgets/BrowseDlg.h"

#include "UiTestSupport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QToolButton>
#include <QUrl>

namespace {

class DialogsTest : public ::testing::Test {
protected:
    void SetUp() override { ResetContext(); }
    void TearDown() override { SetUrlOpenerForTesting({}); }

    // Makes help/<topic>.html in a fresh program folder and records the pages opened.
    void PrepareHelp(int topic)
    {
        ASSERT_TRUE(m_tmp.isValid());
        ASSERT_TRUE(QDir().mkpath(m_tmp.path() + "/help"));
        QFile page(m_tmp.path() + QString("/help/%1.html").arg(topic));
        ASSERT_TRUE(page.open(QIODevice::WriteOnly));
        Ctx().ProgramFolder = m_tmp.path() + "/";
        SetUrlOpenerForTesting([this](const QUrl& url) {
            m_opened << url.toLocalFile();
            return true;
        });
    }

    QTemporaryDir m_tmp;
    QStringList m_opened;
};

QString Preview(const QPlainTextEdit* memo)
{
    return memo->toPlainText();
}

void ReleaseMouseOn(QWidget* w)
{
    const QPointF at(w->width() / 2.0, w->height() / 2.0);
    QMouseEvent release(QEvent::MouseButtonRelease, at, w->mapToGlobal(at), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &release);
}

// --- Sync dialog ---------------------------------------------------------------------------

TEST_F(DialogsTest, SyncPreviewFollowsTheEdit)
{
    TSync_Dlg dlg;
    dlg.SynchronEdit->setText("$02 \"AB\" 13");
    EXPECT_EQ(Preview(dlg.MonitorMemo), " 02 41 42 0D");
    dlg.SynchronEdit->setText(QString());
    EXPECT_EQ(Preview(dlg.MonitorMemo), QString());
}

TEST_F(DialogsTest, SyncPreviewShowsAtMost85Bytes)
{
    TSync_Dlg dlg;
    dlg.SynchronEdit->setText('"' + QString(85, 'a') + "b\"");
    const QString line = Preview(dlg.MonitorMemo);
    EXPECT_EQ(line, QString(85, 'a').replace("a", " 61"));
}

TEST_F(DialogsTest, SyncRowEditsTheTextOnOkOnly)
{
    QString text = "$0D";
    {
        TScopedDialogResponder responder;
        responder.Answer([](QDialog& d) {
            auto* edit = d.findChild<QLineEdit*>("SynchronEdit");
            EXPECT_EQ(edit->text(), "$0D");
            edit->setText("\"OK\" $0A");
            return int(mrOk);
        });
        EXPECT_TRUE(EditSyncSequence("Sync row", text));
        EXPECT_EQ(responder.Titles(), QStringList{"Sync row"});
    }
    EXPECT_EQ(text, "\"OK\" $0A");
    {
        TScopedDialogResponder responder;
        responder.Answer([](QDialog& d) {
            d.findChild<QLineEdit*>("SynchronEdit")->setText("1");
            return int(mrCancel);
        });
        EXPECT_FALSE(EditSyncSequence("Sync row", text));
    }
    EXPECT_EQ(text, "\"OK\" $0A");
}

TEST_F(DialogsTest, StoredTextsLongerThanTheEditLimitStayWhole)
{
    QString sync = QString(150, '1').replace("1", "1 ");   // 300 characters
    const QString original = sync;
    QString prefix = QString(250, 'P'), suffix = QString(240, 'S');
    TScopedDialogResponder responder;
    responder.AnswerResult(mrOk);
    responder.AnswerResult(mrOk);
    EXPECT_TRUE(EditSyncSequence("s", sync));
    EXPECT_TRUE(EditFrameTexts("f", prefix, suffix));
    EXPECT_EQ(sync, original);
    EXPECT_EQ(prefix, QString(250, 'P'));
    EXPECT_EQ(suffix, QString(240, 'S'));
}

struct SyncTexts {
    int lang;
    const char* caption;
    const char* cancel;
    const char* monitor;
    const char* label;
    const char* firstHelpLine;
};

TEST_F(DialogsTest, SyncCaptionsByLanguage)
{
    const SyncTexts cases[] = {
        {0, "Synchronzeichen definieren", "&Abbrechen", "Synchronzeichen (HEX):",
         "Definition der Synchronzeichenkette::", "Sobald die Synchronzeichenkette empfangen wird,"},
        {1, "Define sync. bytes", "&Cancel", "Preview sync. bytes [HEX]", "Sync. bytes definition:",
         "When the sync. bytes are recognised"},
        {2, "Definir octets sync.", "&Annuler", "Vue-préliminaire octets sync. [HEX]",
         "Définition octets sync.:", "Lorsque les octets de sync. sont reconnus"},
    };
    for (const SyncTexts& c : cases) {
        Ctx().CurrentLanguage = uint8_t(c.lang);
        TSync_Dlg dlg;
        SCOPED_TRACE(c.lang);
        EXPECT_EQ(dlg.windowTitle(), QString::fromUtf8(c.caption));
        EXPECT_EQ(dlg.findChild<QPushButton*>("Button1")->text(), QString::fromUtf8(c.cancel));
        EXPECT_EQ(dlg.findChild<QPushButton*>("Button2")->text(), "&OK");
        EXPECT_EQ(dlg.findChild<QLabel*>("Monitor")->text(), QString::fromUtf8(c.monitor));
        EXPECT_EQ(dlg.findChild<QLabel*>("Label1")->text(), QString::fromUtf8(c.label));
        const QStringList help = dlg.findChild<QPlainTextEdit*>("Memo1")->toPlainText().split('\n');
        EXPECT_EQ(help.size(), 11);
        EXPECT_EQ(help.value(0), QString::fromUtf8(c.firstHelpLine));
    }
    Ctx().CurrentLanguage = 0;
    TSync_Dlg german;
    const QStringList help = german.Memo1->toPlainText().split('\n');
    EXPECT_EQ(help.value(3), QString::fromUtf8("Für die Definition der Synchronzeichenkette "));
}

// --- Frame dialog --------------------------------------------------------------------------

TEST_F(DialogsTest, FramePreviewPutsThePlaceholderBetweenPrefixAndSuffix)
{
    const char* expected[] = {" 02 <Wert> 0D 0A", " 02 <Data> 0D 0A", " 02 <Donnée> 0D 0A"};
    for (int lang = 0; lang < 3; ++lang) {
        Ctx().CurrentLanguage = uint8_t(lang);
        TFrame_Dlg dlg;
        dlg.PrefixEdit->setText("$02");
        dlg.SuffixEdit->setText("$0D $0A");
        EXPECT_EQ(Preview(dlg.MonitorMemo), QString::fromUtf8(expected[lang])) << lang;
    }
}

TEST_F(DialogsTest, FramePreviewIsCutAt255Characters)
{
    TFrame_Dlg dlg;
    dlg.PrefixEdit->setText(QString(84, '1').replace("1", "1 "));   // 84 bytes, 252 characters
    dlg.SuffixEdit->setText("2");
    EXPECT_EQ(Preview(dlg.MonitorMemo), QString(84, '1').replace("1", " 01") + " <W");
}

TEST_F(DialogsTest, FrameRowEditsBothTexts)
{
    QString prefix = "$02", suffix = "$03";
    TScopedDialogResponder responder;
    responder.Answer([](QDialog& d) {
        EXPECT_EQ(d.findChild<QLineEdit*>("PrefixEdit")->text(), "$02");
        EXPECT_EQ(d.findChild<QLineEdit*>("SuffixEdit")->text(), "$03");
        d.findChild<QLineEdit*>("PrefixEdit")->setText("\"<\"");
        d.findChild<QLineEdit*>("SuffixEdit")->setText("13 10");
        return int(mrOk);
    });
    EXPECT_TRUE(EditFrameTexts("Frame row", prefix, suffix));
    EXPECT_EQ(prefix, "\"<\"");
    EXPECT_EQ(suffix, "13 10");
    EXPECT_EQ(responder.Titles(), QStringList{"Frame row"});
    EXPECT_FALSE(EditFrameTexts("Frame row", prefix, suffix));   // no answer: cancelled
    EXPECT_EQ(prefix, "\"<\"");
}

TEST_F(DialogsTest, FrameCaptionsByLanguage)
{
    struct Case {
        int lang;
        const char *caption, *cancel, *monitor, *label1, *label2, *help;
    };
    const Case cases[] = {
        {0, "Übertragung einrahmen", "&Abbrechen", "Übertragungsvorschau (HEX):",
         "Präfix (wird vor dem Wert gesendet)", "Suffix (wird nach dem Wert gesendet)",
         "Für Pre-/Suffix können Sie verwenden:"},
        {1, "Frame parameters", "&Cancel", "Preview [HEX]", "Prefix (send before data)",
         "Suffix (send after data)", "Enter Prefix and Suffix in the following format:"},
        {2, "Paramètres trame", "&Annuler", "Vue-péliminaire [HEX]",
         "Präfix (wird vor dem Wert gesendet)", "Suffix (wird nach dem Wert gesendet)",
         "Saisissez le Préfixe et le Suffixe aux formats suivants:"},
    };
    for (const Case& c : cases) {
        Ctx().CurrentLanguage = uint8_t(c.lang);
        TFrame_Dlg dlg;
        SCOPED_TRACE(c.lang);
        EXPECT_EQ(dlg.windowTitle(), QString::fromUtf8(c.caption));
        EXPECT_EQ(dlg.findChild<QPushButton*>("Button1")->text(), QString::fromUtf8(c.cancel));
        EXPECT_EQ(dlg.findChild<QLabel*>("Monitor")->text(), QString::fromUtf8(c.monitor));
        EXPECT_EQ(dlg.findChild<QLabel*>("Label1")->text(), QString::fromUtf8(c.label1));
        EXPECT_EQ(dlg.findChild<QLabel*>("Label2")->text(), QString::fromUtf8(c.label2));
        const QStringList help = dlg.Memo1->toPlainText().split('\n');
        EXPECT_EQ(help.size(), 7);
        EXPECT_EQ(help.value(0), QString::fromUtf8(c.help));
    }
}

// --- Frame and background dialog ----------------------------------------------------------

TEST_F(DialogsTest, PanelColourFromFrontPanelReplacesTheShapeColour)
{
    TPanelDlg dlg;
    dlg.DesignPanelColor = 0x123456;
    dlg.rb_Individuell->setChecked(true);
    dlg.ColorShape->SetBrushColor(clRed);
    dlg.rb_BK_Individuell->setChecked(true);
    dlg.BK_Shape->SetBrushColor(clLime);

    dlg.findChild<QRadioButton*>("rb_Anpassen")->setChecked(true);
    EXPECT_EQ(dlg.ColorShape->BrushColor(), 0x123456);
    EXPECT_EQ(dlg.VorschauPanel->Color(), 0x123456);
    dlg.rb_Individuell->setChecked(true);   // individual again: keeps the colour
    EXPECT_EQ(dlg.ColorShape->BrushColor(), 0x123456);

    dlg.findChild<QRadioButton*>("rb_BK_Anpassen")->setChecked(true);
    EXPECT_EQ(dlg.BK_Shape->BrushColor(), 0x123456);
    EXPECT_EQ(dlg.VorschauShape->BrushColor(), 0x123456);
    EXPECT_EQ(dlg.ColorShape->BrushColor(), 0x123456);
}

TEST_F(DialogsTest, ClickingAShapeChecksItsIndividualColourEvenWhenThePickerIsCancelled)
{
    ASSERT_TRUE(m_tmp.isValid());
    Ctx().ProgramFolder = m_tmp.path() + "/";   // the colour dialog keeps its custom colours here
    TPanelDlg dlg;
    dlg.rb_Anpassen->setChecked(true);
    dlg.rb_BK_Anpassen->setChecked(true);
    dlg.ColorShape->SetBrushColor(clNavy);
    dlg.BK_Shape->SetBrushColor(clTeal);
    TScopedDialogResponder responder;
    responder.AnswerResult(mrCancel);
    responder.Answer([](QDialog& d) {
        auto* picker = qobject_cast<QColorDialog*>(&d);
        EXPECT_NE(picker, nullptr);
        if (picker) {
            EXPECT_EQ(picker->currentColor(), QColor(0, 128, 128));
            picker->setCurrentColor(QColor(255, 0, 0));
        }
        return int(mrOk);
    });

    ReleaseMouseOn(dlg.findChild<QWidget*>("ColorShape"));
    EXPECT_TRUE(dlg.rb_Individuell->isChecked());
    EXPECT_EQ(dlg.ColorShape->BrushColor(), clNavy);

    ReleaseMouseOn(dlg.findChild<QWidget*>("BK_Shape"));
    EXPECT_TRUE(dlg.rb_BK_Individuell->isChecked());
    EXPECT_EQ(dlg.BK_Shape->BrushColor(), clRed);
    EXPECT_EQ(dlg.VorschauShape->BrushColor(), clRed);
    EXPECT_EQ(responder.Count(), 2);
}

TEST_F(DialogsTest, TransparencyHidesThePreviewAndDisablesEverySetting)
{
    TPanelDlg dlg;
    const char* settings[] = {"GroupBox1", "GroupBox2", "GroupBox3", "GroupBox4", "se_Border",
                              "cb_Outer", "cb_Inner", "se_Bevel", "rb_Individuell", "rb_Anpassen",
                              "ColorShape", "BK_Shape", "rb_BK_Individuell", "rb_BK_Anpassen"};
    dlg.findChild<QCheckBox*>("cb_Transparent")->setChecked(true);
    EXPECT_TRUE(dlg.VorschauPanel->isHidden());
    for (const char* name : settings)
        EXPECT_FALSE(dlg.findChild<QWidget*>(name)->isEnabled()) << name;
    EXPECT_TRUE(dlg.cb_Transparent->isEnabled());
    EXPECT_TRUE(dlg.OKBtn->isEnabled());

    dlg.cb_Transparent->setChecked(false);
    EXPECT_FALSE(dlg.VorschauPanel->isHidden());
    for (const char* name : settings)
        EXPECT_TRUE(dlg.findChild<QWidget*>(name)->isEnabled()) << name;
}

TEST_F(DialogsTest, PanelPreviewFollowsTheSettings)
{
    TPanelDlg dlg;
    dlg.findChild<QComboBox*>("cb_Outer")->setCurrentIndex(2);
    dlg.findChild<QComboBox*>("cb_Inner")->setCurrentIndex(1);
    dlg.findChild<QSpinBox*>("se_Bevel")->setValue(3);
    dlg.findChild<QSpinBox*>("se_Border")->setValue(4);
    dlg.ColorShape->SetBrushColor(clRed);
    dlg.BK_Shape->SetBrushColor(clBlue);
    dlg.UpdatePreview();
    EXPECT_EQ(dlg.VorschauPanel->BevelOuter(), TPreviewPanel::bvRaised);
    EXPECT_EQ(dlg.VorschauPanel->BevelInner(), TPreviewPanel::bvLowered);
    EXPECT_EQ(dlg.VorschauPanel->BevelWidth(), 3);
    EXPECT_EQ(dlg.VorschauPanel->BorderWidth(), 4);
    EXPECT_EQ(dlg.VorschauPanel->Color(), clRed);
    EXPECT_EQ(dlg.VorschauShape->BrushColor(), clBlue);

    dlg.cb_Outer->setCurrentIndex(-1);   // no item: the bevel stays
    EXPECT_EQ(dlg.VorschauPanel->BevelOuter(), TPreviewPanel::bvRaised);
}

TEST_F(DialogsTest, PreviewPanelPaintsBevelsAndBorderAroundItsChild)
{
    TPreviewPanel panel;
    panel.resize(40, 30);
    auto* child = new TPanelShape(&panel);
    child->SetBrushColor(clBlue);
    child->SetPenColor(clBlue);
    panel.SetColor(clRed);
    panel.SetBevelOuter(TPreviewPanel::bvRaised);
    panel.SetBevelInner(TPreviewPanel::bvLowered);
    panel.SetBevelWidth(1);
    panel.SetBorderWidth(2);
    EXPECT_EQ(child->geometry(), QRect(4, 4, 32, 22));

    QImage img(panel.size(), QImage::Format_RGB32);
    panel.render(&img);
    auto px = [&](int x, int y) { return QColorToTColor(img.pixelColor(x, y)); };
    EXPECT_EQ(px(0, 0), ColorToRGB(clBtnHighlight));   // outer raised
    EXPECT_EQ(px(39, 29), ColorToRGB(clBtnShadow));
    EXPECT_EQ(px(1, 1), clRed);                        // border
    EXPECT_EQ(px(2, 2), clRed);
    EXPECT_EQ(px(3, 3), ColorToRGB(clBtnShadow));      // inner lowered
    EXPECT_EQ(px(36, 26), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(px(4, 4), clBlue);                       // the child
}

TEST_F(DialogsTest, PanelCaptionsByLanguage)
{
    Ctx().CurrentLanguage = 0;
    TPanelDlg german;
    EXPECT_EQ(german.windowTitle(), "Rahmen & Hintergrund");
    EXPECT_EQ(german.cb_Outer->itemText(1), "Vertiefung");
    EXPECT_EQ(german.findChild<QLabel*>("Label1")->text(), QString::fromUtf8("Äusserer Rand:"));
    EXPECT_EQ(german.CancelBtn->text(), "&Abbrechen");

    Ctx().CurrentLanguage = 1;
    TPanelDlg english;
    EXPECT_EQ(english.windowTitle(), "Frame & Background");
    EXPECT_EQ(english.findChild<QGroupBox*>("GroupBox3")->title(), "Preview");
    EXPECT_EQ(english.findChild<QLabel*>("Label4")->text(), "Pen width:");
    EXPECT_EQ(english.cb_Transparent->text(), "transparent (invisible frame)");
    EXPECT_EQ(english.rb_Anpassen->text(), "&match with frontpanel");
    EXPECT_EQ(english.CancelBtn->text(), "&Cancel");
    EXPECT_EQ(english.cb_Inner->itemText(2), "Raised");

    Ctx().CurrentLanguage = 2;
    TPanelDlg french;
    french.cb_Inner->setCurrentIndex(2);
    french.TranslateCaptions();   // replacing the items keeps the choice
    EXPECT_EQ(french.cb_Inner->currentIndex(), 2);
    EXPECT_EQ(french.windowTitle(), "Cadre & Fond");
    EXPECT_EQ(french.findChild<QLabel*>("Label2")->text(), QString::fromUtf8("Bordure intérieur:"));
    EXPECT_EQ(french.rb_BK_Anpassen->text(), QString::fromUtf8("ada&pter avant panneau de contrôle"));
    EXPECT_EQ(french.cb_Outer->itemText(1), QString::fromUtf8("Enfoncé"));
}

TEST_F(DialogsTest, ContextHelpOpensTheWindowsTopic)
{
    PrepareHelp(5200);
    TPanelDlg panel;
    EXPECT_FALSE(panel.WMSysCommand(61728));
    EXPECT_TRUE(m_opened.isEmpty());
    EXPECT_TRUE(panel.WMSysCommand(61824));
    ASSERT_EQ(m_opened.size(), 1);
    EXPECT_TRUE(m_opened.first().endsWith("/help/5200.html"));

    PrepareHelp(45000);
    TCompiler compiler;
    EXPECT_TRUE(compiler.WMSysCommand(61824));
    ASSERT_EQ(m_opened.size(), 2);
    EXPECT_TRUE(m_opened.last().endsWith("/help/45000.html"));
}

// --- Compile window ------------------------------------------------------------------------

TEST_F(DialogsTest, BrowsingSetsTheLowerCasedTargetFolder)
{
    ASSERT_TRUE(m_tmp.isValid());
    const QString chosen = m_tmp.path() + "/Out";
    ASSERT_TRUE(QDir().mkpath(chosen));
    TCompiler dlg;
    dlg.FolderName = "Compilation_TEST";
    dlg.CompilePath->setText(m_tmp.path());

    TScopedDialogResponder responder;
    responder.Answer([&](QDialog& d) {
        auto* browser = dynamic_cast<TBrowseFolderWindow*>(&d);
        EXPECT_NE(browser, nullptr);
        if (!browser)
            return int(mrCancel);
        EXPECT_EQ(QDir(browser->ChosenPath()).canonicalPath(), QDir(m_tmp.path()).canonicalPath());
        browser->SelectFolder(chosen);
        return int(mrOk);
    });
    dlg.findChild<QToolButton*>("SpeedButton1")->click();
    EXPECT_EQ(dlg.CompilePath->text(), (chosen + "/Compilation_TEST/").toLower());

    // Cancelling the browser leaves the path as it is.
    const QString before = dlg.CompilePath->text();
    responder.Answer([](QDialog&) { return int(mrCancel); });
    dlg.SpeedButton1Click();
    EXPECT_EQ(dlg.CompilePath->text(), before);
    EXPECT_EQ(responder.Count(), 2);
}

TEST_F(DialogsTest, CompileWindowClearsItsStatusOnShowAndClosesWithCancel)
{
    TCompiler dlg;
    dlg.StatusLines->addItems({"a", "b"});
    dlg.FormShow();
    EXPECT_EQ(dlg.findChild<QListWidget*>("StatusLines")->count(), 0);
    EXPECT_TRUE(dlg.findChild<QPushButton*>("CompileBtn")->isDefault());

    dlg.show();
    dlg.findChild<QPushButton*>("CancelBtn")->click();
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
}

TEST_F(DialogsTest, CompileWindowCaptionsByLanguage)
{
    struct Case {
        int lang;
        const char *label2, *cancel, *compile, *start;
    };
    const Case cases[] = {
        {0, "Name der ausführbaren Datei: (ohne Endung)", "&Schliessen", "&Compilieren",
         "Compilieren + &Starten"},
        {1, "Name of executable file. (without extension)", "&Close", "C&ompile", "Compile + &Run"},
        {2, "Nom du fichier exécutable. (sans extension)", "&Fermer", "C&ompiler",
         "Compiler + &Exécuter"},
    };
    for (const Case& c : cases) {
        Ctx().CurrentLanguage = uint8_t(c.lang);
        TCompiler dlg;
        SCOPED_TRACE(c.lang);
        EXPECT_EQ(dlg.windowTitle(), "Compiler");
        EXPECT_EQ(dlg.findChild<QLabel*>("Label2")->text(), QString::fromUtf8(c.label2));
        EXPECT_EQ(dlg.findChild<QPushButton*>("CancelBtn")->text(), QString::fromUtf8(c.cancel));
        EXPECT_EQ(dlg.findChild<QPushButton*>("CompileBtn")->text(), QString::fromUtf8(c.compile));
        EXPECT_EQ(dlg.findChild<QPushButton*>("StartBtn")->text(), QString::fromUtf8(c.start));
        EXPECT_EQ(dlg.findChild<QLabel*>("Label3")->text(), ".exe");
    }
    Ctx().CurrentLanguage = 2;
    TCompiler french;
    EXPECT_TRUE(french.Label5->text().startsWith(QString::fromUtf8("Le compilateur créé")));
    EXPECT_TRUE(french.Label1->text().endsWith(QString::fromUtf8("si nécessaire.")));
}

} // namespace
