// Program entry of Tavrinol: the application, the program folder, the main window and the
// front-panel window; the main window's first show reads the command line.
#include "shell/mainwindow/MainWindow.h"
#include "frontpanel/FrontPanel.h"
#include "frontpanel/web/WebLink.h"
#include "platform/Fonts.h"
#include "platform/ProgramFolder.h"

#include <QApplication>

#include <memory>

int main(int argc, char** argv)
{
    SetUpFonts(TFontScope::Installed);
    QApplication app(argc, argv);
    InitProgramFolder();

    // The main window first, then the shared windows; all live until the program ends.
    auto form = std::make_unique<TForm1>();
    auto frontPanel = std::make_unique<TFrontplatte>();

    // Closing the main window ends the program, also while the front panel is open.
    form->OnClosed = [] { QCoreApplication::exit(0); };
    // The editor shows its main window; a compiled program shows only its front panel.
    form->ShowAtStart();
    const int code = app.exec();
    form.reset();
    frontPanel.reset();
    // The web-server program started for the published front panel ends with the program.
    EndLaunchedWebServers();
    return code;
}
