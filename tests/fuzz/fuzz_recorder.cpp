// A recorder file loaded through the Y(t) recorder's element, as its load command and the run
// start load it: the view applied, the curves rebuilt for it, the chart painted. An input may
// hold two files, the second after a line with a single form feed; both are loaded, one after
// the other, into the same element.

#include "FuzzSupport.h"

#include "frontpanel/FP_Element.h"
#include "frontpanel/elements/YtRecorder.h"
#include "platform/MessageBox.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TScopedMessageResponder& boxes = FuzzSetUp();
    static TFPGraf* element = nullptr;
    if (!element) {
        element = NewElement<TFPGraf>(nullptr);
        element->resize(320, 240);
    }
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype cut = bytes.indexOf("\n\f\n");
    const QByteArray first = cut < 0 ? bytes : bytes.left(cut + 1);
    for (const QByteArray& file : {first, cut < 0 ? QByteArray() : bytes.mid(cut + 3)}) {
        if (file.isEmpty())
            continue;
        element->LoadGRF(WriteFuzzInput(reinterpret_cast<const uint8_t*>(file.constData()),
                                        size_t(file.size()), ".GRF"));
        element->grab();
    }
    boxes.Clear();
    return 0;
}
