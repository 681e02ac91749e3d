#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"
#include "widgets/BrowseEdit.h"
#include "widgets/SpeedButton.h"
#include "widgets/WLXBase.h"

#include "FocusForm.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

template <class Edit>
struct Form : TFocusForm<Edit> {
    Form() { this->Leave(); }
};

const QString kLong = QStringLiteral("/home/user/measurements/2026/oven-line/station-4/readings.csv");

} // namespace

TEST(CustomButtons, LiveInTheEditAndReportTheirChanges)
{
    QWidget window;
    auto* edit = new TWLXEdit(&window);
    edit->setGeometry(0, 0, 150, 22);
    window.show();
    QApplication::processEvents();
    const int textRight = edit->TextRect().Right;

    std::vector<std::string> order;
    edit->OnBtnClick = [&](void*, void* button, int index) {
        order.push_back("edit " + std::to_string(index));
        EXPECT_EQ(button, edit->CustomButtons().Items(index).Button());
    };
    int changes = 0;
    edit->CustomButtons().OnChange = [&](void*) { ++changes; };
    TWLXSpecialButton& first = edit->CustomButtons().Add();
    TWLXSpecialButton& second = edit->CustomButtons().Add();
    second.OnClick = [&](void*, int index) { order.push_back("item " + std::to_string(index)); };
    QApplication::processEvents();   // the posted layout
    const QRect placed = second.Button()->geometry();
    EXPECT_EQ(placed.width(), edit->CustomButtonWidth());
    EXPECT_GT(placed.left(), first.Button()->geometry().left());
    EXPECT_LE(placed.right(), edit->width());
    EXPECT_LT(edit->TextRect().Right, textRight);
    EXPECT_EQ(changes, 2);

    QFont font(QStringLiteral("DejaVu Sans"), 15);
    second.SetFont(font);
    EXPECT_EQ(second.Button()->font().pointSize(), 15);
    EXPECT_EQ(changes, 3);
    second.SetCaption(QStringLiteral("X"));
    second.SetGroupIndex(4);
    second.SetAllowAllUp(true);
    EXPECT_EQ(second.Button()->text(), QStringLiteral("X"));
    EXPECT_EQ(second.Button()->GroupIndex(), 4);
    EXPECT_TRUE(second.AllowAllUp());

    QTest::mouseClick(second.Button(), Qt::LeftButton);
    EXPECT_EQ(order, (std::vector<std::string>{"item 1", "edit 1"}));

    TWLXSpecialButton& third = edit->CustomButtons().Add();
    third.Assign(second);
    EXPECT_EQ(third.Caption(), QStringLiteral("X"));
    EXPECT_EQ(third.GroupIndex(), 4);

    QPointer<TWLXSpeedButton> gone = first.Button();
    edit->CustomButtons().Delete(0);
    EXPECT_TRUE(gone.isNull());
    EXPECT_EQ(second.Index(), 0);
    QPointer<TWLXSpeedButton> a = edit->CustomButtons().Items(0).Button();
    QPointer<TWLXSpeedButton> b = edit->CustomButtons().Items(1).Button();
    delete edit;
    EXPECT_TRUE(a.isNull());
    EXPECT_TRUE(b.isNull());
}

TEST(BrowseDialog, CompactPathShortensWindowsAndSystemPaths)
{
    struct Case {
        const char* path;
        int length;
        const char* result;
    } cases[] = {
        {"C:\\aaaa\\bbbb\\cccc\\file.txt", 20, "C:\\...\\cccc\\file.txt"},
        {"/home/user/projects/tavrinol/file.prj", 25, "/.../tavrinol/file.prj"},
        {"/home/user/file.prj", 3, "file.prj"},
        {"file.txt", 3, "file.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(CompactPath(QString::fromLatin1(c.path), c.length), QString::fromLatin1(c.result));
    }
}

TEST(BrowseDialog, ReturnsTheChosenFolderAndFollowsTheSelection)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("measurements/oven"));
    const QString chosen = dir.path() + QStringLiteral("/measurements/oven");
    TWLXBrowseDlg dlg;
    int inits = 0;
    dlg.OnInit = [&](void*) {
        ++inits;
        EXPECT_NE(dlg.DialogWindow(), nullptr);
    };
    QStringList selections;
    dlg.OnSelectionChanged = [&](void*, QWidget* window, const QString& path) {
        EXPECT_EQ(window, dlg.DialogWindow());
        selections << path;
    };
    dlg.SetSelectedFolder(dir.path() + QStringLiteral("/measurements"));
    TScopedDialogResponder responder;
    responder.Answer([&](QDialog& d) {
        auto* w = dynamic_cast<TBrowseFolderWindow*>(&d);
        EXPECT_TRUE(w);
        if (!w)
            return int(mrCancel);
        EXPECT_EQ(w->ChosenPath(), QDir(dir.path()).absoluteFilePath(QStringLiteral("measurements")));
        EXPECT_FALSE(w->StatusLabel->isVisibleTo(w));   // no status line without its option
        EXPECT_FALSE(w->CaptionLabel->isVisibleTo(w));
        dlg.SetSelectedFolder(chosen);   // reaches the open dialog
        return int(mrOk);
    });
    responder.AnswerResult(mrCancel);
    EXPECT_TRUE(dlg.Execute());
    EXPECT_EQ(dlg.SelectedFolder(), chosen);
    EXPECT_EQ(dlg.DisplayName(), QStringLiteral("oven"));
    EXPECT_EQ(dlg.DialogWindow(), nullptr);
    EXPECT_EQ(inits, 1);
    EXPECT_FALSE(selections.isEmpty());
    EXPECT_TRUE(dlg.StatusText().endsWith(QStringLiteral("oven")));
    EXPECT_LE(dlg.StatusText().size(), 40);
    // Cancelled: nothing changes.
    EXPECT_FALSE(dlg.Execute());
    EXPECT_EQ(dlg.SelectedFolder(), chosen);
    EXPECT_EQ(dlg.DisplayName(), QStringLiteral("oven"));
}

TEST(BrowseDialog, OptionsShapeTheWindowAndValidateTypedNames)
{
    TWLXBrowseDlg dlg;
    dlg.Options = doStatusText | doAllowEdit;
    dlg.Caption = QStringLiteral("Zielordner");
    dlg.SetStatusText(QStringLiteral("bereit"));
    QStringList typed;
    bool keepOpen = true;
    dlg.OnValidate = [&](void*, const QString& path, bool& cancel) {
        typed << path;
        cancel = keepOpen;
    };
    TScopedDialogResponder responder;
    responder.Answer([&](QDialog& d) {
        auto& w = dynamic_cast<TBrowseFolderWindow&>(d);
        EXPECT_TRUE(w.StatusLabel->isVisibleTo(&w));
        EXPECT_EQ(w.StatusLabel->text(), QStringLiteral("bereit"));
        EXPECT_EQ(w.CaptionLabel->text(), QStringLiteral("Zielordner"));
        auto* box = w.Folders->findChild<QDialogButtonBox*>();
        EXPECT_FALSE(box && box->button(QDialogButtonBox::Open)->isEnabled());   // OK starts disabled
        w.Folders->selectFile(QStringLiteral("/no/such/folder"));
        QMetaObject::invokeMethod(w.Folders, "accept");
        EXPECT_EQ(w.result(), 0);   // kept open
        keepOpen = false;
        QMetaObject::invokeMethod(w.Folders, "accept");
        EXPECT_EQ(w.result(), int(QDialog::Accepted));
        return int(mrCancel);
    });
    EXPECT_FALSE(dlg.Execute());
    EXPECT_EQ(typed.size(), 2);
}

TEST(BrowseDialog, BrowsingForAComputerTakesAHostName)
{
    TWLXBrowseDlg dlg;
    dlg.StartFolder = TWLXSystemFolders::bfoNetwork;
    dlg.Options = doBrowseForComputer | doShowPath;
    TScopedDialogResponder responder;
    responder.Answer([](QDialog& d) {
        auto& w = dynamic_cast<TBrowseFolderWindow&>(d);
        EXPECT_EQ(w.Folders, nullptr);
        auto* ok = w.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
        EXPECT_FALSE(ok->isEnabled());
        w.HostEdit->setText(QStringLiteral(" plc-7 "));
        EXPECT_TRUE(ok->isEnabled());
        return int(mrOk);
    });
    EXPECT_TRUE(dlg.Execute());
    EXPECT_EQ(dlg.SelectedFolder(), QString());
    EXPECT_EQ(dlg.DisplayName(), QStringLiteral("plc-7"));
}

TEST(FileEdits, ShortenLongNamesWhileUnfocused)
{
    Form<TWLXFileOpenEdit> f;
    f.edit->SetMinimizeName(true);
    f.edit->SetFilename(kLong);
    EXPECT_TRUE(f.edit->Text().startsWith(QStringLiteral("/...")));
    EXPECT_TRUE(f.edit->Text().endsWith(QStringLiteral("readings.csv")));
    EXPECT_EQ(f.edit->Filename(), kLong);
    f.Focus();
    EXPECT_EQ(f.edit->Text(), kLong);
    EXPECT_EQ(f.edit->Filename(), kLong);
    f.Leave();
    EXPECT_NE(f.edit->Text(), kLong);
    EXPECT_EQ(f.edit->Filename(), kLong);

    Form<TWLXFileOpenEdit> bare;
    bare.edit->SetFilenameOnly(true);
    bare.edit->SetFilename(kLong);
    EXPECT_EQ(bare.edit->Text(), QStringLiteral("readings.csv"));
    EXPECT_EQ(bare.edit->Filename(), QStringLiteral("readings.csv"));

    Form<TWLXBrowseEdit> folder;
    folder.edit->SetText(kLong);
    folder.edit->Loaded();
    folder.edit->SetMinimizeName(true);
    EXPECT_EQ(folder.edit->Path(), kLong);
    EXPECT_NE(folder.edit->Text(), kLong);
    folder.edit->SetMinimizeName(false);
    EXPECT_EQ(folder.edit->Text(), kLong);
}

TEST(FileEdits, BrowseRunsTheDialogAndFiresItsEvents)
{
    Form<TWLXFileSaveEdit> f;
    f.edit->Filter = QStringLiteral("Tabellen|*.csv;*.txt|Alle|*.*");
    f.edit->DefaultExt = QStringLiteral("csv");
    int changes = 0, delivered = 0;
    std::vector<void*> browsed;
    f.edit->OnChange = [&](void*) { ++changes; };
    f.edit->OnDlgChange = [&](void* sender) {
        EXPECT_EQ(sender, f.edit);
        ++delivered;
    };
    f.edit->OnBrowse = [&](void* sender) { browsed.push_back(sender); };
    void* before = nullptr;
    f.edit->OnBeforeBrowse = [&](void* dialog) { before = dialog; };
    TScopedDialogResponder responder;
    responder.Answer([&](QDialog& d) {
        auto& dialog = dynamic_cast<QFileDialog&>(d);
        EXPECT_EQ(&d, before);
        EXPECT_EQ(dialog.nameFilters(), (QStringList{QStringLiteral("Tabellen (*.csv *.txt)"), QStringLiteral("Alle (*.*)")}));
        EXPECT_EQ(dialog.defaultSuffix(), QStringLiteral("csv"));
        dialog.selectFile(QStringLiteral("/tmp/out.csv"));
        return int(mrOk);
    });
    QTest::mouseClick(f.edit->BrowseButton().Button(), Qt::LeftButton);
    EXPECT_EQ(f.edit->Text(), QStringLiteral("/tmp/out.csv"));
    EXPECT_EQ(changes, 2);   // the bare name, then the whole name
    EXPECT_EQ(delivered, 1);
    ASSERT_EQ(browsed.size(), 2u);
    EXPECT_EQ(browsed[0], before);
    EXPECT_EQ(browsed[1], f.edit);

    // A cancelled dialog leaves the text and delivers nothing, OnBrowse still fires twice.
    browsed.clear();
    QTest::mouseClick(f.edit->BrowseButton().Button(), Qt::LeftButton);
    EXPECT_EQ(f.edit->Text(), QStringLiteral("/tmp/out.csv"));
    EXPECT_EQ(delivered, 1);
    EXPECT_EQ(browsed.size(), 2u);
}

TEST(FileEdits, FolderEditStartsAtItsFolder)
{
    QTemporaryDir dir;
    Form<TWLXBrowseEdit> f;
    f.edit->StartWithLast = true;
    f.edit->SetPath(dir.path());
    TWLXBrowseDlg* seen = nullptr;
    f.edit->OnExecute = [&](void* sender, TWLXBrowseDlg& dialog) {
        EXPECT_EQ(sender, f.edit);
        seen = &dialog;
        EXPECT_EQ(dialog.SelectedFolder(), dir.path());
    };
    TScopedDialogResponder responder;
    responder.Answer([&](QDialog& d) {
        auto& w = dynamic_cast<TBrowseFolderWindow&>(d);
        EXPECT_EQ(w.ChosenPath(), QDir(dir.path()).absolutePath());
        QDir(dir.path()).mkdir(QStringLiteral("sub"));
        w.SelectFolder(dir.path() + QStringLiteral("/sub"));
        return int(mrOk);
    });
    int delivered = 0;
    f.edit->OnDlgChange = [&](void*) { ++delivered; };
    QTest::mouseClick(f.edit->BrowseButton().Button(), Qt::LeftButton);
    EXPECT_NE(seen, nullptr);
    EXPECT_EQ(f.edit->Path(), dir.path() + QStringLiteral("/sub"));
    EXPECT_EQ(delivered, 1);
}
