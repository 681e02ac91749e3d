// The front-panel window: modes, page tabs and page activation, keys, the hint box, copying
// and printing the panel's picture, the properties dialog and the board's hooks.

#include "DesignTestSupport.h"

#include "core/board/BoardHooks.h"
#include "core/board/Makro.h"
#include "core/board/Platine.h"
#include "frontpanel/FrontPanel.h"
#include "shell/Composition.h"
#include "platform/Colors.h"
#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"
#include "ui/Hotkey.h"
#include "ui/ScrollBoxEx.h"
#include "widgets/SpeedButton.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QLineEdit>
#include <QPrinter>
#include <QTabBar>
#include <QTemporaryDir>
#include <QToolButton>

namespace {

class FrontPanelWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetContext();
        ResetFrontPanelState();
        BuildTranslationTable();
        RegisterTestElements();
        ASSERT_TRUE(dir.isValid());
        Ctx().ProgramFolder = dir.path() + u'/';
        InstallHooks();
        window = std::make_unique<TFrontplatte>();
        root = window->RootDesign;
    }
    void TearDown() override
    {
        window.reset();
        ResetBoardHooks();
        ResetFrontPanelState();
        ResetContext();
    }

    TTestSwitchElement* AddSwitch(const QString& name, QRect bounds, int32_t pageNumber = 0)
    {
        auto* e = static_cast<TTestSwitchElement*>(root->AddElement(QStringLiteral("TTestSwitchElement")));
        e->ElementName = name;
        e->setGeometry(bounds);
        e->SetFrontplattenNR(pageNumber);
        return e;
    }
    // Tabs "Frontplatte 1" .. n.
    void MakeTabs(int n)
    {
        while (window->TabControl1->count() < n)
            window->NeueFrontplatte1Click();
        window->ActivatePageRequest(1);
    }

    QTemporaryDir dir;
    std::unique_ptr<TFrontplatte> window;
    TDesign* root = nullptr;
};

bool Shown(const QWidget* w)
{
    return !w->isHidden();
}

} // namespace

TEST_F(FrontPanelWindowTest, NewWindowStartsInEditModeWithOneTab)
{
    EXPECT_FALSE(window->RunMode);
    EXPECT_EQ(window->Title, QStringLiteral("Frontplatte"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Frontplatte"));
    ASSERT_EQ(window->TabControl1->count(), 1);
    EXPECT_EQ(window->TabControl1->tabText(0), QStringLiteral("Frontplatte 1"));
    EXPECT_FALSE(Shown(window->TabControl1)) << "the tab row shows from two tabs on";
    EXPECT_TRUE(Shown(window->Statusbar));
    EXPECT_EQ(window->ScrollBox->widget(), root);
    EXPECT_EQ(window->ActiveDesign, root);
    EXPECT_TRUE(root->isEditing);
    EXPECT_EQ(root->ElementName, QStringLiteral("Frontplatte"));
    EXPECT_EQ(FPState().HiddenPanel, window->HiddenPanel);
    EXPECT_EQ(FPState().FPGrid, 16);
    EXPECT_EQ(&FrontPanelHooks(), &DesignBoardHooks());

    window->NeueFrontplatte1Click();
    EXPECT_TRUE(Shown(window->TabControl1));
    EXPECT_EQ(window->TabControl1->currentIndex(), 1);
}

TEST_F(FrontPanelWindowTest, RunModeWorksTheElementsAndEditModeArrangesThem)
{
    TTestSwitchElement* s = AddSwitch(QStringLiteral("S1"), QRect(10, 10, 40, 20));
    window->SavedBounds = QRect(20, 30, 500, 350);
    window->Options.HelpBtn = false;

    window->SetRunMode(true);
    EXPECT_FALSE(Shown(window->Statusbar));
    EXPECT_TRUE(Shown(window->OpenBtn));
    EXPECT_FALSE(Shown(window->HelpBtn)) << "run mode shows the chosen buttons only";
    EXPECT_FALSE(root->isEditing);
    EXPECT_TRUE(s->ElementEnabled());
    EXPECT_FALSE(s->testAttribute(Qt::WA_TransparentForMouseEvents));

    window->resize(640, 480);
    window->SetRunMode(false);
    EXPECT_TRUE(Shown(window->Statusbar));
    EXPECT_FALSE(Shown(window->OpenBtn));
    EXPECT_TRUE(Shown(window->HelpBtn));
    EXPECT_TRUE(root->isEditing);
    EXPECT_FALSE(s->ElementEnabled());
    EXPECT_TRUE(s->isEnabled()) << "not greyed";
    EXPECT_TRUE(s->testAttribute(Qt::WA_TransparentForMouseEvents)) << "but the mouse reaches the page";
    EXPECT_TRUE(root->ElementEnabled()) << "the shown page takes the mouse";
    EXPECT_EQ(window->geometry(), QRect(20, 30, 500, 350)) << "leaving run mode restores the bounds";
}

TEST_F(FrontPanelWindowTest, BringingToFrontRestoresAMinimisedWindow)
{
    window->show();
    window->setWindowState(Qt::WindowMinimized);
    ASSERT_TRUE(window->isMinimized());
    window->BringToFront();
    EXPECT_FALSE(window->isMinimized());
    EXPECT_TRUE(window->isVisible());
}

TEST_F(FrontPanelWindowTest, BorderStyleByModeAndOptions)
{
    struct Case {
        bool run, skalierbar, toolTitel, fullScreen;
        TFormBorderStyle style;
        bool minMax;
    };
    const Case cases[] = {
        {false, false, false, false, bsSizeable, true},
        {true, false, false, false, bsSingle, false},
        {true, true, false, false, bsSizeable, true},
        {false, false, true, false, bsSizeToolWin, true},
        {true, false, true, false, bsToolWindow, false},
        {true, true, true, false, bsSizeToolWin, true},
        {true, true, false, true, bsNone, false},
        {false, false, false, true, bsSizeable, true},
    };
    for (const Case& c : cases) {
        window->RunMode = c.run;
        window->Options.Skalierbar = c.skalierbar;
        window->Options.ToolTitel = c.toolTitel;
        window->Options.FullScreen = c.fullScreen;
        const TBorderStyle b = window->BorderStyleForMode();
        EXPECT_EQ(b.Style, c.style) << c.run << c.skalierbar << c.toolTitel << c.fullScreen;
        EXPECT_EQ(b.MinMaxButtons, c.minMax) << c.run << c.skalierbar << c.toolTitel << c.fullScreen;
    }
}

TEST_F(FrontPanelWindowTest, PageActivationShowsTheTabsElements)
{
    MakeTabs(3);
    TTestSwitchElement* first = AddSwitch(QStringLiteral("S1"), QRect(10, 10, 40, 20), 0);
    TTestSwitchElement* second = AddSwitch(QStringLiteral("S2"), QRect(10, 10, 40, 20), 1);

    window->ActivatePageRequest(0x0002);
    EXPECT_EQ(window->TabControl1->currentIndex(), 1);
    EXPECT_EQ(root->AktiveFrontplatte, 1);
    EXPECT_EQ(second->parentWidget(), root);
    EXPECT_EQ(first->parentWidget(), window->HiddenPanel);

    window->ActivatePageRequest(0x0001);
    EXPECT_EQ(first->parentWidget(), root);
    EXPECT_EQ(second->parentWidget(), window->HiddenPanel);
}

TEST_F(FrontPanelWindowTest, PageRequestWithPrintBitPrintsToPdf)
{
    MakeTabs(2);
    AddSwitch(QStringLiteral("S2"), QRect(10, 10, 40, 20), 1);
    const QString pdf = dir.filePath(QStringLiteral("panel.pdf"));
    int setups = 0;
    window->OnSetupPrinter = [&](QPrinter& printer) {
        ++setups;
        EXPECT_EQ(printer.docName(), QStringLiteral("FPL"));
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
    };
    TScopedDialogResponder dialogs;
    window->ActivatePageRequest(0x1002);
    EXPECT_EQ(window->TabControl1->currentIndex(), 1);
    EXPECT_EQ(setups, 1);
    EXPECT_EQ(dialogs.Count(), 0) << "printed directly, without a preview";
    EXPECT_GT(QFileInfo(pdf).size(), 0);
    EXPECT_EQ(window->NewToolPanel->height(), 2) << "the tool strip is closed for the picture";
}

TEST_F(FrontPanelWindowTest, PrintPreviewKeepsSettingsAndPrintsOnRequest)
{
    const QString pdf = dir.filePath(QStringLiteral("preview.pdf"));
    window->OnSetupPrinter = [&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
    };
    TScopedDialogResponder dialogs;
    dialogs.AnswerResult(mrCancel);
    window->Print.Headline = QStringLiteral("alt");
    window->PrintBtnClick();
    EXPECT_EQ(window->Print.Headline, QStringLiteral("alt"));
    EXPECT_FALSE(QFileInfo::exists(pdf));

    dialogs.Answer([](QDialog& d) {
        d.findChild<QLineEdit*>(QStringLiteral("Headline"))->setText(QStringLiteral("Kessel 2"));
        return int(mrYes);
    });
    window->PrintBtnClick();
    EXPECT_EQ(window->Print.Headline, QStringLiteral("Kessel 2"));
    EXPECT_GT(QFileInfo(pdf).size(), 0);
    EXPECT_EQ(PrintScaleForZoom(100), 1.0L);
    EXPECT_NEAR(double(PrintScaleForZoom(0)), 10.0, 1e-12);
    EXPECT_NEAR(double(PrintScaleForZoom(200)), 0.1, 1e-12);
}

TEST_F(FrontPanelWindowTest, PrintingWithoutAPrinterIsReported)
{
    window->OnSetupPrinter = [](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QStringLiteral("/nonexistent-folder/x/y.pdf"));
    };
    TScopedMessageResponder boxes;
    EXPECT_FALSE(window->PrintDirect(window->CapturePanelImage()));
    EXPECT_EQ(boxes.Requests().size(), 1u);
}

TEST_F(FrontPanelWindowTest, CopyPutsThePictureOnTheClipboard)
{
    AddSwitch(QStringLiteral("S1"), QRect(10, 10, 40, 20));
    QApplication::clipboard()->clear();
    window->CopyBtnClick();
    const QImage image = QApplication::clipboard()->image();
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), window->size());

    QApplication::clipboard()->clear();
    window->Options.CopyBtn = false;
    window->SetRunMode(true);
    window->FormKeyDown(115, 0);  // F4 without its button
    EXPECT_TRUE(QApplication::clipboard()->image().isNull());
}

TEST_F(FrontPanelWindowTest, DeletingPagesOnlyWhenEmpty)
{
    MakeTabs(3);
    TTestSwitchElement* onThird = AddSwitch(QStringLiteral("S3"), QRect(0, 0, 40, 20), 2);
    TScopedMessageResponder boxes;

    window->ActivatePageRequest(3);
    window->Lschen1Click();
    ASSERT_EQ(boxes.Requests().size(), 1u);
    EXPECT_EQ(boxes.Requests()[0].text, QString::fromUtf8("Es können nur leere Frontplatten gelöscht werden!"));
    EXPECT_EQ(boxes.Requests()[0].caption, QString::fromUtf8("Frontplatte löschen"));
    EXPECT_EQ(window->TabControl1->count(), 3);

    window->ActivatePageRequest(2);
    window->Lschen1Click();
    EXPECT_EQ(window->TabControl1->count(), 2);
    EXPECT_EQ(onThird->FrontplattenNR, 1) << "pages after the deleted one move down";
    EXPECT_EQ(window->TabControl1->currentIndex(), 1);

    root->DeleteElement(onThird);
    window->Lschen1Click();  // the last tab
    EXPECT_EQ(window->TabControl1->count(), 1);
    EXPECT_EQ(window->TabControl1->currentIndex(), 0);
    window->Lschen1Click();
    EXPECT_EQ(window->TabControl1->count(), 1) << "one page always stays";
}

TEST_F(FrontPanelWindowTest, MovingATabSwapsCaptionsAndPageNumbers)
{
    MakeTabs(2);
    window->TabControl1->setTabText(0, QStringLiteral("Kessel"));
    window->TabControl1->setTabText(1, QStringLiteral("Pumpen"));
    TTestSwitchElement* a = AddSwitch(QStringLiteral("A"), QRect(0, 0, 40, 20), 0);
    TTestSwitchElement* b = AddSwitch(QStringLiteral("B"), QRect(0, 0, 40, 20), 1);

    window->ActivatePageRequest(2);
    window->FPopupPopup();
    EXPECT_TRUE(window->Nachlinks1->isEnabled());
    EXPECT_FALSE(window->Nachrechts1->isEnabled());
    window->Nachlinks1Click();
    EXPECT_EQ(window->TabControl1->tabText(0), QStringLiteral("Pumpen"));
    EXPECT_EQ(window->TabControl1->tabText(1), QStringLiteral("Kessel"));
    EXPECT_EQ(a->FrontplattenNR, 1);
    EXPECT_EQ(b->FrontplattenNR, 0);
    EXPECT_EQ(window->TabControl1->currentIndex(), 0);
    EXPECT_EQ(b->parentWidget(), root);
}

TEST_F(FrontPanelWindowTest, CheckPageNumbersAddsMissingTabs)
{
    AddSwitch(QStringLiteral("A"), QRect(0, 0, 40, 20), 2);
    AddSwitch(QStringLiteral("B"), QRect(0, 0, 40, 20), 100000);  // a damaged file
    window->CheckeFrontplattenNummern();
    EXPECT_GE(window->TabControl1->count(), 3);
    EXPECT_LE(window->TabControl1->count(), 1000);
    EXPECT_EQ(window->TabControl1->tabText(2), QStringLiteral("Frontplatte 3"));
    EXPECT_EQ(window->TabControl1->currentIndex(), window->TabControl1->count() - 1);
}

TEST_F(FrontPanelWindowTest, ArrowKeysNudgeTheSelectionInEditMode)
{
    window->resize(640, 480);
    window->show();
    QApplication::processEvents();
    ASSERT_GT(root->width(), 300) << "the page fills the scroll box";
    TTestSwitchElement* s = AddSwitch(QStringLiteral("S1"), QRect(100, 100, 40, 20));
    root->SelectElement(0);
    window->FormKeyDown(39, 0);  // right: one grid step
    EXPECT_EQ(root->ElementRect(s).topLeft(), QPoint(116, 100));
    window->FormKeyDown(40, hsCtrl);  // down with Ctrl: one pixel
    EXPECT_EQ(root->ElementRect(s).topLeft(), QPoint(116, 101));
    EXPECT_EQ(FPState().FPGrid, 16) << "Ctrl changes the grid only for the key";

    window->SB_Raster->setChecked(false);
    window->SB_RasterClick();
    EXPECT_FALSE(window->SB_R8->isEnabled());
    window->FormKeyDown(37, 0);
    EXPECT_EQ(root->ElementRect(s).topLeft(), QPoint(115, 101)) << "no snapping: one pixel";
    window->SB_Raster->setChecked(true);
    window->SB_R8->setChecked(true);
    window->SB_RasterClick();
    EXPECT_EQ(FPState().FPGrid, 8);
}

// Clicks a button of the window with the mouse (press and release in its middle).
static void ClickButton(QWidget* button)
{
    const QPoint p(button->width() / 2, button->height() / 2);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(p), QPointF(button->mapToGlobal(p)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(p), QPointF(button->mapToGlobal(p)),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(button, &press);
    QApplication::sendEvent(button, &release);
}

TEST_F(FrontPanelWindowTest, StatusStripButtonsLatchByTheirGroups)
{
    window->resize(640, 480);
    window->show();
    QApplication::processEvents();
    // Each row: the button clicked, then grid step, snapping, grid shown and the size button down.
    const struct {
        QToolButton* TFrontplatte::*button;
        int grid;
        bool snap, shown;
        QToolButton* TFrontplatte::*sizeDown;
    } steps[] = {
        {&TFrontplatte::SB_R4, 4, true, false, &TFrontplatte::SB_R4},
        {&TFrontplatte::SB_R4, 4, true, false, &TFrontplatte::SB_R4},      // a latched size stays down
        {&TFrontplatte::SB_R32, 32, true, false, &TFrontplatte::SB_R32},   // and is released by another
        {&TFrontplatte::SB_Raster, 1, false, false, &TFrontplatte::SB_R32},
        {&TFrontplatte::SB_Raster, 32, true, false, &TFrontplatte::SB_R32},
        {&TFrontplatte::SB_ZeichneRaster, 32, true, true, &TFrontplatte::SB_R32},
        {&TFrontplatte::SB_ZeichneRaster, 32, true, false, &TFrontplatte::SB_R32},
    };
    int row = 0;
    for (const auto& step : steps) {
        ClickButton(window.get()->*step.button);
        EXPECT_EQ(FPState().FPGrid, step.grid) << "row " << row;
        EXPECT_EQ(window->SB_Raster->isChecked(), step.snap) << "row " << row;
        EXPECT_EQ(FPState().FPGridVisible, step.shown) << "row " << row;
        for (QToolButton* size : {window->SB_R4, window->SB_R8, window->SB_R16, window->SB_R32})
            EXPECT_EQ(size->isChecked(), size == window.get()->*step.sizeDown) << "row " << row;
        ++row;
    }
}

TEST_F(FrontPanelWindowTest, GridColourButtonShowsThePickedColour)
{
    window->resize(640, 480);
    window->show();
    QApplication::processEvents();
    TScopedDialogResponder responder;
    responder.Answer([](QDialog& d) {
        auto& dialog = dynamic_cast<QColorDialog&>(d);
        EXPECT_EQ(dialog.currentColor(), TColorToQColor(clGray)) << "starts from the button's colour";
        dialog.setCurrentColor(TColorToQColor(clRed));
        return mrOk;
    });
    ClickButton(window->GridColorBtn);
    EXPECT_EQ(FPState().FPGridColor, clRed);
    QWidget* button = window->GridColorBtn;
    const QImage face = button->grab().toImage();
    EXPECT_EQ(face.pixelColor(face.width() / 2, face.height() / 2), TColorToQColor(clRed));
    EXPECT_NE(face.pixelColor(0, face.height() / 2), TColorToQColor(clRed)) << "framed";
}

TEST_F(FrontPanelWindowTest, RunModeKeysGoToHotkeysAndShownButtons)
{
    TTestSwitchElement* s = AddSwitch(QStringLiteral("S1"), QRect(0, 0, 40, 20));
    QString receivers;
    window->HotkeyReceiversDown = [&](uint16_t key, uint8_t) { receivers += QString::number(key) + u'v'; };
    window->HotkeyReceiversUp = [&](uint16_t key) { receivers += QString::number(key) + u'^'; };
    int stops = 0;
    window->StopHook = [&] { ++stops; };

    window->FormKeyDown(65, 0);  // edit mode: no hotkeys
    EXPECT_TRUE(s->KeyLog.isEmpty());

    window->Options.DlgBtn = false;
    window->SetRunMode(true);
    TScopedDialogResponder dialogs;
    window->FormKeyDown(118, 0);  // F7 without its button
    EXPECT_EQ(dialogs.Count(), 0);
    window->FormKeyDown(65, hsShift);
    window->FormKeyUp(65, 0);
    EXPECT_EQ(s->KeyLog, QStringLiteral("S1+118 S1+65 S1-65 ")) << "every key of the run mode";
    EXPECT_TRUE(receivers.endsWith(QStringLiteral("65v65^")));
    const bool pressed = window->HintBtn->isChecked();
    window->FormKeyDown(119, 0);  // F8
    EXPECT_NE(window->HintBtn->isChecked(), pressed);
    window->FormKeyDown(27, 0);
    EXPECT_EQ(stops, 1);
}

TEST_F(FrontPanelWindowTest, HintBoxStaysInsideAndAboveTheCursor)
{
    window->resize(400, 300);
    window->HintMessage(QStringLiteral("Pumpe P1"), QPoint(390, 100));
    THintBox* box = window->HintBox;
    EXPECT_TRUE(Shown(box));
    EXPECT_LE(box->x() + box->width(), 390);
    EXPECT_EQ(box->x() + box->width(), 400 - 10);
    EXPECT_EQ(box->y(), 100 - box->height() - 5);
    window->HintMessage(QString());
    EXPECT_FALSE(Shown(box));

    THintBox lines;
    lines.ShowText(QStringLiteral("a\r"));
    EXPECT_EQ(lines.Lines().size(), 1);
    const int oneLine = lines.height();
    lines.ShowText(QStringLiteral("a\rb"));
    EXPECT_EQ(lines.Lines(), (QStringList{"a", "b"}));
    EXPECT_GT(lines.height(), oneLine);
}

TEST_F(FrontPanelWindowTest, ClosingDuringARunStopsItAndStaysOpen)
{
    int stops = 0;
    window->StopHook = [&] { ++stops; };
    window->SetRunMode(true);
    EXPECT_FALSE(window->close());
    EXPECT_EQ(stops, 1);
    window->SetRunMode(false);
    EXPECT_TRUE(window->close());
}

TEST_F(FrontPanelWindowTest, PropertiesDialogAppliesAndStoresTheOptions)
{
    TScopedDialogResponder dialogs;
    dialogs.Answer([](QDialog& d) {
        const QList<QLineEdit*> edits = d.findChildren<QLineEdit*>();
        EXPECT_GE(edits.size(), 2);
        if (edits.size() >= 2) {
            edits[0]->setText(QStringLiteral("Anlage"));  // "Titel"
            edits[1]->setText(QStringLiteral("Kessel"));  // "Name" of the tab
        }
        return int(mrOk);
    });
    TTestSwitchElement* s = AddSwitch(QStringLiteral("S1"), QRect(0, 0, 40, 20));
    window->SetupBtnClick();
    EXPECT_EQ(s->StartCalls, 1) << "edit mode without auto-save: start values";
    EXPECT_EQ(dialogs.Titles().value(0), QStringLiteral("Frontplatte"));
    EXPECT_EQ(window->Title, QStringLiteral("Anlage"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Anlage"));
    EXPECT_EQ(window->TabControl1->tabText(0), QStringLiteral("Kessel"));
    EXPECT_EQ(root->ElementName, QStringLiteral("Anlage"));
    EXPECT_TRUE(QFileInfo::exists(dir.filePath(QStringLiteral("UNSAVED_Default.set"))))
        << "the options go into the state file at once";

    dialogs.AnswerResult(mrCancel);
    window->SetupBtnClick();
    EXPECT_EQ(window->Title, QStringLiteral("Anlage"));
}

TEST_F(FrontPanelWindowTest, BoardHooksGiveMacrosRealGroups)
{
    auto* group = static_cast<TDesign*>(root->AddElement(QStringLiteral("TDesign")));
    TFP_Element* label = group->AddElement(QString::fromLatin1(kDecorClass));
    label->Hint = QStringLiteral("im Makro");
    label->setGeometry(5, 5, 50, 16);
    group->setGeometry(40, 50, 120, 80);
    TFrontPanelHooks& hooks = FrontPanelHooks();
    hooks.SetGroupCaption(*group, QStringLiteral("Makro 1: Mix"));
    EXPECT_EQ(group->ElementName, QStringLiteral("Makro 1: Mix"));
    EXPECT_EQ(hooks.IndexOfElement(*root, *group), 0);

    TPlatine board;
    auto macro = NewObject<TMakro>();
    macro->Design = group;
    macro->ParentDesign = root;
    const QByteArray record = BytesOf([&](TWriter& w) { board.WriteMacroRecord(macro.get(), w); }, true);

    auto* copy = static_cast<TDesign*>(root->AddElement(QStringLiteral("TDesign")));
    auto macro2 = NewObject<TMakro>();
    macro2->Design = copy;
    macro2->ParentDesign = root;
    EXPECT_EQ(ReadBytes(record, [&](TReader& r) { board.ReadMacroGeometry(macro2.get(), r, 44); }, true), 0);
    EXPECT_EQ(copy->geometry(), QRect(40, 50, 120, 80));
    ASSERT_EQ(copy->Elements.size(), 1u);
    EXPECT_EQ(copy->Elements[0]->Hint, QStringLiteral("im Makro"));
    EXPECT_EQ(copy->Elements[0]->geometry(), QRect(5, 5, 50, 16));

    // Without a group: the list of an empty page.
    EXPECT_EQ(BytesOf([&](TWriter& w) { hooks.SaveElements(nullptr, w); }),
              BytesOf([](TWriter& w) { WriteEmptyElementList(w); }));
}

TEST_F(FrontPanelWindowTest, AMacroPageCanBeShownInsteadOfTheRoot)
{
    MakeTabs(2);
    auto* group = static_cast<TDesign*>(root->AddElement(QStringLiteral("TDesign")));
    group->ElementName = QStringLiteral("Makro 1: Mix");
    group->setGeometry(40, 50, 120, 80);
    group->SetFrontplattenNR(1);
    root->SetAktiveFrontplatte(1);

    window->ActivateDesign(group);
    EXPECT_EQ(window->ScrollBox->widget(), group);
    EXPECT_EQ(window->ActiveDesign, group);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("MAKRO 1: MIX"));
    EXPECT_FALSE(Shown(window->TabControl1));
    EXPECT_EQ(window->TabControl1->currentIndex(), 1);

    window->ActivateDesign(root);
    EXPECT_EQ(window->ScrollBox->widget(), root);
    EXPECT_EQ(group->parentWidget(), root);
    EXPECT_EQ(group->geometry(), QRect(40, 50, 120, 80)) << "the page gets its place back";
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Frontplatte"));

    // A shown macro page that goes with its macro.
    window->ActivateDesign(group);
    root->DeleteElement(group);
    EXPECT_EQ(window->ActiveDesign, root);
    QApplication::processEvents();
    EXPECT_EQ(window->ScrollBox->widget(), root);
    EXPECT_EQ(Frontplatte(), window.get());
}

TEST_F(FrontPanelWindowTest, NestedPagesTakeNoInputInEditMode)
{
    auto* group = static_cast<TDesign*>(root->AddElement(QStringLiteral("TDesign")));
    auto* inner = static_cast<TTestSwitchElement*>(group->AddElement(QStringLiteral("TTestSwitchElement")));
    window->SetRunMode(true);
    EXPECT_TRUE(group->ElementEnabled());
    EXPECT_TRUE(inner->ElementEnabled());
    window->SetRunMode(false);
    EXPECT_FALSE(group->ElementEnabled()) << "a click reaches the root page, which selects the group";
    EXPECT_FALSE(inner->ElementEnabled());
    EXPECT_TRUE(root->ElementEnabled());
    EXPECT_TRUE(group->isEnabled());
}

TEST_F(FrontPanelWindowTest, HoverHintNamesTheElementUnderThePointer)
{
    TTestSwitchElement* s = AddSwitch(QStringLiteral("P1"), QRect(10, 10, 40, 20));
    s->Hint = QStringLiteral("Pumpe");
    root->ShowHoverHint(QPoint(20, 20));
    EXPECT_EQ(window->HintBox->Text, QStringLiteral("Pumpe P1"));
    EXPECT_TRUE(Shown(window->HintBox));
    root->ShowHoverHint(QPoint(300, 300));
    EXPECT_FALSE(Shown(window->HintBox));
}

TEST_F(FrontPanelWindowTest, ToolStripClosedModeStaysClosedDuringARun)
{
    window->ToolbarMode = 2;
    window->SetRunMode(true);
    window->SetToolStripHeight(2);
    window->ToolStripPointerEntered();
    EXPECT_EQ(window->NewToolPanel->height(), 2);
    window->SetRunMode(false);
    window->ToolStripPointerEntered();
    EXPECT_EQ(window->NewToolPanel->height(), 25);
    window->ToolbarMode = 0;
    window->SetToolStripHeight(2);
    window->Timer1Timer();
    EXPECT_EQ(window->NewToolPanel->height(), 25) << "mode 0 keeps the strip open";
}

TEST_F(FrontPanelWindowTest, KeyEventsReachTheWindowFirst)
{
    TTestSwitchElement* s = AddSwitch(QStringLiteral("S1"), QRect(0, 0, 40, 20));
    window->SetRunMode(true);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QApplication::sendEvent(window.get(), &press);
    QApplication::sendEvent(window.get(), &release);
    EXPECT_EQ(s->KeyLog, QStringLiteral("S1+65 S1-65 "));
}
