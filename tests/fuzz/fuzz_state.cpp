// The component state file: read by a board that holds one of every component class, with
// the front panel's part read by its window.

#include "FuzzSupport.h"

#include "core/board/Platine.h"
#include "core/engine/StateFile.h"
#include "core/model/ClassRegistry.h"
#include "core/model/Iobt.h"
#include "frontpanel/FrontPanel.h"
#include "platform/Context.h"
#include "platform/MessageBox.h"
#include "shell/mainwindow/RegisterClasses.h"

#include <QFile>

#include <exception>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TScopedMessageResponder& boxes = FuzzSetUp();
    static TPlatine* board = nullptr;
    static TFrontplatte* panel = nullptr;
    if (!board) {
        RegisterComponentClasses(ClassRegistry());
        panel = new TFrontplatte();
        board = new TPlatine();
        int x = 100;
        for (const QString& name : ClassRegistry().Names()) {
            std::unique_ptr<TBauteil> item;
            try {
                item = ClassRegistry().CreateBoardItem(name);
            } catch (const std::exception&) {
                continue;
            }
            auto* component = dynamic_cast<TIOBauteil*>(item.get());
            if (!component)
                continue;
            item.release();
            component->X = x;
            component->Y = 200;
            x += 200;
            board->AddComponent(std::unique_ptr<TIOBauteil>(component));
        }
    }
    // The state file of a project named "input.prj" is "INPUT_Default.set" beside it.
    const QString project = WriteFuzzInput(nullptr, 0, ".prj");
    WriteFuzzInput(data, size, "");
    QFile::remove(ComponentStateFileName(project));
    QFile::rename(Ctx().ProgramFolder + QStringLiteral("input"), ComponentStateFileName(project));
    try {
        LoadComponentStateFile(*board, project);
        panel->LoadDefaultSettings(project);
    } catch (const std::exception&) {
    }
    boxes.Clear();
    return 0;
}
