// A circuit stream without a file header, as pasted from the clipboard or inserted from a
// macro: read onto a board holding one of every component class.

#include "FuzzSupport.h"

#include "core/board/Platine.h"
#include "core/model/ClassRegistry.h"
#include "platform/MessageBox.h"
#include "shell/mainwindow/ProjectFiles.h"
#include "shell/mainwindow/RegisterClasses.h"

#include <QBuffer>

#include <exception>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TScopedMessageResponder& boxes = FuzzSetUp();
    static bool registered = false;
    if (!registered) {
        registered = true;
        RegisterComponentClasses(ClassRegistry());
    }
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    {
        TPlatine board;
        try {
            board.PasteFromStream(buffer, TProjectFiles::kProjectVersion);
        } catch (const std::exception&) {
        }
    }
    boxes.Clear();
    return 0;
}
