// The page's part of the project: one element's record (Left, Top, element data), and the
// element list of a page (its decor elements, then its own frame, colours and web fields).
// The elements of components travel with their components; only decor elements are listed.

#include "frontpanel/Design.h"

#include "frontpanel/Sizer.h"
#include "platform/Filer.h"

#include <QBuffer>

#include <algorithm>
#include <climits>

void TDesign::ReadElement(TFP_Element* element, TReader& reader, uint8_t version)
{
    if (IndexOfElement(element) < 0)
        return;
    DeselectElement(element);
    const int32_t left = reader.ReadInteger();
    const int32_t top = reader.ReadInteger();
    element->move(left, top);
    element->ReadElementData(reader, version);
    // A paste from the clipboard lands on the page's own page number.
    if (!reader.IsFileStream())
        element->SetFrontplattenNR(FrontplattenNR);
}

int TDesign::WriteElement(TFP_Element* element, TWriter& writer)
{
    const int index = IndexOfElement(element);
    if (index < 0)
        return -1;
    TSizer* sizer = SizerOf(element);
    if (sizer) {
        // Out of the frame for the moment, so that the stored place is the one on the page.
        element->setParent(this);
        element->move(sizer->x() + 6, sizer->y() + 6);
    }
    writer.WriteInteger(element->x());
    writer.WriteInteger(element->y());
    element->WriteElementData(writer);
    if (sizer) {
        sizer->setGeometry(element->x() - 6, element->y() - 6, element->width() + 12,
                           element->height() + 12);
        element->setParent(sizer);
        element->move(6, 6);
        element->show();
    }
    return index;
}

void TDesign::SaveElements(TWriter& writer)
{
    std::vector<TFP_Element*> decor;
    for (TFP_Element* e : Elements)
        if (IsDecorElement(e))
            decor.push_back(e);
    writer.WriteInteger(static_cast<int32_t>(decor.size()));
    for (TFP_Element* e : decor) {
        writer.WriteString(QString::fromLatin1(e->ClassName()));
        WriteElement(e, writer);
    }
    WriteFrameData(writer);
    WriteWebData(writer);
}

void TDesign::LoadElements(TReader& reader, uint8_t version)
{
    // Every record holds at least a class name, two integers and the element data.
    const int32_t n = reader.ReadCount("elements", 4);
    for (int32_t i = 0; i < n; ++i) {
        const QString className = reader.ReadString();
        TFP_Element* element = AddElement(className);
        ReadElement(element, reader, version);
    }
    if (version >= 40)
        ReadFrameData(reader);
    ReadWebData(reader, version);
}

void TDesign::CopyElementData(TFP_Element& from, TFP_Element& to)
{
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        TWriter writer(buffer);
        from.WriteElementData(writer);
    }
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    TReader reader(buffer);
    to.ReadElementData(reader, 255);
}
