// Commands of the main window on the whole project: parts list, board print, compile, the
// configuration tree, the hardware requests of the front panel, the about box, the internet
// update, and the closing of the window.

#include "shell/mainwindow/MainWindow.h"

#include "core/board/Platine.h"
#include "frontpanel/FP_Element.h"
#include "frontpanel/FrontPanel.h"
#include "hardware/framework/HardwareDlg.h"
#include "hardware/framework/HardwareSettings.h"
#include "platform/Context.h"
#include "platform/IniFile.h"
#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"
#include "platform/Paths.h"
#include "platform/VendorLibrary.h"
#include "shell/mainwindow/ProjectFiles.h"
#include "shell/mainwindow/SimulationControl.h"
#include "shell/palette/PaletteCategories.h"
#include "shell/tools/BoardPrint.h"
#include "shell/tools/CompileCommand.h"
#include "shell/tools/ConfigTree.h"
#include "shell/tools/InfoDlg.h"
#include "shell/tools/PartsList.h"
#include "shell/tools/Updater.h"
#include "ui/CompileWindow.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTimer>
#include <QUrl>
#include <QToolButton>

namespace {

const QString kOptions = QStringLiteral("OPTIONS");
const QString kMainWindow = QStringLiteral("HAUPTFENSTER");
const QString kDirectories = QStringLiteral("DIRECTORIES");
constexpr int kCloseDelayMs = 1000;

} // namespace

// --- Parts list -------------------------------------------------------------------------------

void TForm1::SB_SListClick()
{
    if (!SList) {
        SList = new TSList(this);
        SList->setWindowFlag(Qt::Window);
        SList->OnChange = [this] { SB_SListClick(); };
    }
    if (!PartsLister) {
        PartsLister = std::make_unique<TPartsLister>();
        PartsLister->Library = [this](int row) { return CategoryLibrary(row); };
        PartsLister->LibraryName = [](int row) {
            return QString::fromLatin1(PaletteCategoryInfo(row).FileName);
        };
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto cursor = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
    PartsLister->Groups = SList->CB_Gruppen->isChecked();
    PartsLister->Macros = SList->CB_Makros->isChecked();
    SList->Memo->setPlainText(PartsListText(*PartsLister, *CurrentBoard).join(u'\n'));
    SList->show();
    SList->raise();
}

// --- Print ------------------------------------------------------------------------------------

void TForm1::Drucken1Click()
{
    PrintBoard(*CurrentBoard, this);
    CurrentBoard->Repaint();
}

// --- Compile ----------------------------------------------------------------------------------

void TForm1::CompilierenClick()
{
    if (!Compiler)
        Compiler = new TCompiler(this);
    TCompileCommand command(*Compiler, *Projects, *MainBoard);
    command.FrontPanel = Frontplatte();
    command.Prepare();
    // The window's buttons act through this command while it is shown.
    const auto compile = connect(Compiler->CompileBtn, &QPushButton::clicked, Compiler,
                                 [&command] { command.CompileButtonClick(false); });
    const auto start = connect(Compiler->StartBtn, &QPushButton::clicked, Compiler,
                               [&command] { command.CompileButtonClick(true); });
    const auto unbind = qScopeGuard([&] {
        disconnect(compile);
        disconnect(start);
    });
    ShowModal(*Compiler);
}

// --- Configuration tree and the front panel's requests ----------------------------------------

void TForm1::Bauteileinstellungenbersicht1Click()
{
    if (!Objektliste)
        Objektliste = new TObjektliste(this);
    Objektliste->Fill(CurrentBoard);
    ShowModal(*Objektliste);
    Objektliste->Fill(nullptr);
}

namespace {

// A run is stopped around a dialog that changes devices or settings and started again after
// it, so that every device is prepared anew with what the dialog set.
template <class F>
void OutsideTheRun(TSimulationControl& simulation, F dialog)
{
    const bool running = simulation.Running();
    if (running)
        simulation.StopSimulation();
    dialog();
    if (running)
        simulation.StartSimulation();
}

} // namespace

void TForm1::FrontPanelHardwareConfig()
{
    OutsideTheRun(*Simulation, [this] { EditHardwareConnections(*MainBoard); });
}

void TForm1::FrontPanelAppConfig()
{
    OutsideTheRun(*Simulation, [this] { Bauteileinstellungenbersicht1Click(); });
}

void TForm1::LoadCompiledHardwareSettings()
{
    if (!Ctx().RuntimeMode)
        return;
    TIniFile ini(ProgramPath(QStringLiteral("Settings\\HARDWARE.INI")));
    int32_t number = 1;
    LoadHardwareSettings(*MainBoard, ini, number);
}

// --- About box and update ---------------------------------------------------------------------

void TForm1::InfoClick()
{
    TInfoDlg dialog(this);
    ShowModal(dialog);
}

void TForm1::InternetForum1Click()
{
    // The discussion pages beside the project's home page, in the desktop's browser.
    const QUrl forum(QString::fromLatin1(kHomePage) + QStringLiteral("forum/"));
    if (!QDesktopServices::openUrl(forum))
        MessageDlg(Lang3Q("Das Forum kann nicht geöffnet werden; seine Adresse ist ",
                          "The forum cannot be opened; its address is ",
                          "Impossible d'ouvrir le forum ; son adresse est ") +
                       forum.toString(),
                   mtError, mbOK);
}

void TForm1::InternetUpdate1Click()
{
    if (Ctx().RuntimeMode)
        return;
    TIUpdater updater(this);
    updater.cb_Auto->show();
    updater.cb_Auto->setChecked(UpdateInfo);
    updater.UpdateFileName = QStringLiteral("Tavrinol-Ombrel40(Update).exe");
    if (OnUpdaterCreated)
        OnUpdaterCreated(updater);
    ShowModal(updater);
    UpdateInfo = updater.cb_Auto->isChecked();
}

void TForm1::CheckForUpdate()
{
    if (Ctx().RuntimeMode)
        return;
    TIUpdater updater(this);
    updater.UpdateFileName = QStringLiteral("Tavrinol-Ombrel40(Update).exe");
    if (OnUpdaterCreated)
        OnUpdaterCreated(updater);
    if (!updater.IsUpdateAvailable())
        return;
    updater.B_SucheUpdatesClick();
    ShowModal(updater);
}

// --- Closing ----------------------------------------------------------------------------------

bool TForm1::FormCloseQuery()
{
    TFrontplatte* panel = Frontplatte();
    if (panel)
        panel->StopWebServer();
    const bool running = Simulation->Running();
    // The save question comes also for a second request while the close timer runs: a close
    // never discards the circuit without asking.
    if (!running && !Projects->AskSaveChanges()) {
        CloseTimer->stop();
        Simulation->Closing = false;
        return false;
    }
    CurrentDesign = RootDesign;
    if (running) {
        Simulation->StopSimulation();
        Simulation->Closing = true;
        CloseTimer->start(kCloseDelayMs);
        return false;
    }
    CloseTimer->stop();
    Simulation->Closing = false;

    if (Ctx().RuntimeMode) {
        if (panel && panel->Options.AutoSave) {
            const bool compiled = Projects->CompiledCopy;
            Projects->CompiledCopy = true;
            Ctx().RuntimeMode = false;
            const auto restore = qScopeGuard([&] {
                Ctx().RuntimeMode = true;
                Projects->CompiledCopy = compiled;
            });
            Projects->SaveProject(ProgramPath(QStringLiteral("comp.mod")));
        }
        // A failure here does not hold up the end of the program.
        WriteHardwareSettingsFile(*MainBoard, ProgramPath(QStringLiteral("Settings\\HARDWARE.INI")),
                                  nullptr);
    }
    CurrentDesign = RootDesign;

    if (!Ctx().RuntimeMode) {
        Projects->NewProject();
        WriteOptions();
    }
    FreeVendorLibraries();  // the makers' libraries that have an unload routine
    return true;
}

void TForm1::CloseTimerTimer()
{
    CloseTimer->stop();
    Simulation->Closing = false;
    close();
}

void TForm1::WriteOptions()
{
    TFrontplatte* panel = Frontplatte();
    Settings->WriteInteger(kOptions, QStringLiteral("FPGridColor"), FPState().FPGridColor);
    Settings->WriteBool(kOptions, QStringLiteral("FPGridVisible"), FPState().FPGridVisible);
    Settings->WriteInteger(kOptions, QStringLiteral("FPGrid"), FPState().FPGrid);
    Settings->WriteBool(kOptions, QStringLiteral("UpdateInfo"), UpdateInfo);
    Settings->WriteBool(kOptions, QStringLiteral("RASTER"), GridVisible);
    Settings->WriteBool(kOptions, QStringLiteral("TextOnly"), cb_NurText->isChecked());
    Settings->WriteBool(kOptions, QStringLiteral("HINT"), ShowHints);
    Settings->WriteBool(kOptions, QStringLiteral("COMPONENTHINT"), HintBtn->isChecked());
    if (panel) {
        const QRect r = panel->WindowBounds();
        Settings->WriteBool(kOptions, QStringLiteral("FPMAX"), panel->isMaximized());
        Settings->WriteInteger(kOptions, QStringLiteral("FPX"), r.x());
        Settings->WriteInteger(kOptions, QStringLiteral("FPY"), r.y());
        Settings->WriteInteger(kOptions, QStringLiteral("FPW"), r.width());
        Settings->WriteInteger(kOptions, QStringLiteral("FPH"), r.height());
    }
    const QRect r(pos(), size());  // with the frame, as it is placed again
    Settings->WriteBool(kMainWindow, QStringLiteral("MAX"), isMaximized());
    Settings->WriteInteger(kMainWindow, QStringLiteral("X"), r.x());
    Settings->WriteInteger(kMainWindow, QStringLiteral("Y"), r.y());
    Settings->WriteInteger(kMainWindow, QStringLiteral("W"), r.width());
    Settings->WriteInteger(kMainWindow, QStringLiteral("H"), r.height());
    Settings->WriteString(kDirectories, QStringLiteral("MACROS"), MacroFolder);
    Settings->WriteString(kDirectories, QStringLiteral("PROJECTS"), Ctx().ProjectFolder);
    Settings->UpdateFile();
}
