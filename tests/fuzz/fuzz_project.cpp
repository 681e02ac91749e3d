// Opening a project (or macro) file: header, circuit with every component class, the root
// page's elements and the front-panel window record, then the restore after a failure.

#include "FuzzSupport.h"

#include "core/board/Platine.h"
#include "core/model/ClassRegistry.h"
#include "frontpanel/FrontPanel.h"
#include "platform/Context.h"
#include "platform/MessageBox.h"
#include "shell/mainwindow/ProjectFiles.h"
#include "shell/mainwindow/RegisterClasses.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TScopedMessageResponder& boxes = FuzzSetUp();
    static TPlatine* board = nullptr;
    static TFrontplatte* panel = nullptr;
    static TProjectFiles* files = nullptr;
    if (!files) {
        RegisterComponentClasses(ClassRegistry());
        panel = new TFrontplatte();
        board = new TPlatine();
        files = new TProjectFiles();
        files->MainBoard = board;
        files->FrontPanel = panel;
        files->HistoryIniFile = Ctx().ProgramFolder + QStringLiteral("history.ini");
        files->BindBoard(*board);
    }
    files->OpenProject(WriteFuzzInput(data, size, ".prj"));
    files->NewProject();
    boxes.Clear();
    return 0;
}
