// An element settings file (".EST") loaded by the front-panel window as the operator loads
// one at run time: the window's options and the state of one element of every class on the
// root page. The question whether a file that does not match the project is to be loaded is
// answered with yes, so that every element reads its part.

#include "FuzzSupport.h"

#include "frontpanel/Design.h"
#include "frontpanel/ElementRegistry.h"
#include "frontpanel/FP_Element.h"
#include "frontpanel/FrontPanel.h"
#include "platform/MessageBox.h"

#include <exception>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TScopedMessageResponder& boxes = FuzzSetUp();
    static TFrontplatte* panel = nullptr;
    if (!panel) {
        panel = new TFrontplatte();
        for (const QString& name : ElementRegistry().Names()) {
            if (name == QStringLiteral("TDesign"))
                continue;
            try {
                if (TFP_Element* element = panel->RootDesign->AddElement(name))
                    element->ElementName = name.mid(1);
            } catch (const std::exception&) {
            }
        }
    }
    try {
        panel->LoadEstFile(WriteFuzzInput(data, size, ".EST"));
    } catch (const std::exception&) {
    }
    boxes.Clear();
    return 0;
}
