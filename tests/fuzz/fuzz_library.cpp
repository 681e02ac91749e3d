// A palette library file (".bib") read as the palette reads a category: its header, the entries
// of every component class, their layout, and a paint of the palette.

#include "FuzzSupport.h"

#include "core/model/ClassRegistry.h"
#include "platform/MessageBox.h"
#include "shell/mainwindow/RegisterClasses.h"
#include "shell/palette/Bibo.h"
#include "shell/palette/PaletteCategories.h"

#include <exception>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TScopedMessageResponder& boxes = FuzzSetUp();
    static TBibo* palette = nullptr;
    if (!palette) {
        RegisterComponentClasses(ClassRegistry());
        palette = new TBibo();
        palette->OnReadHeader = ReadLibraryHeader;
        palette->resize(160, 400);
    }
    try {
        palette->LoadBiboFile(WriteFuzzInput(data, size, ".bib"));
    } catch (const std::exception&) {
        // told by the palette's caller; what was read stays
    }
    palette->grab();
    boxes.Clear();
    return 0;
}
