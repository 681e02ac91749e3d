#include "core/model/FrontPanelHooks.h"

#include "core/model/ClassRegistry.h"
#include "platform/Filer.h"

#include <algorithm>
#include <cstdint>

namespace {

TFrontPanelHooks g_noFrontPanel;
TFrontPanelHooks* g_frontPanel = nullptr;

// Colour of a new front-panel page (the front panel's default colour).
constexpr int32_t kNewPageColor = 14215660;

} // namespace

void TFrontPanelHooks::SetElementName(TFP_Element&, const QString&) {}

QString TFrontPanelHooks::ElementHint(const TFP_Element&)
{
    return QString();
}

void TFrontPanelHooks::UnlinkElement(TFP_Element&) {}
void TFrontPanelHooks::SyncElementSelection(TIOBauteil&, bool) {}
void TFrontPanelHooks::SetGroupCaption(TDesign&, const QString&) {}

int32_t TFrontPanelHooks::IndexOfElement(TDesign&, TDesign&)
{
    return -1;
}

bool TFrontPanelHooks::IsSelected(TDesign&, TDesign&)
{
    return false;
}

void TFrontPanelHooks::DeselectElement(TDesign&, TDesign&) {}
void TFrontPanelHooks::RenumberElements(TDesign&) {}
void TFrontPanelHooks::RestoreZOrder(TDesign&) {}

int32_t TFrontPanelHooks::GetElementIndex(TDesign&)
{
    return -1;
}

void TFrontPanelHooks::SetElementIndex(TDesign&, int32_t) {}

bool TFrontPanelHooks::GetTransparent(TDesign&)
{
    return false;
}

void TFrontPanelHooks::SetTransparent(TDesign&, bool) {}

TElementBounds TFrontPanelHooks::GetBounds(TDesign&)
{
    return TElementBounds{};
}

void TFrontPanelHooks::SetBounds(TDesign&, const TElementBounds&) {}

int32_t TFrontPanelHooks::GetPage(TDesign&)
{
    return 0;
}

void TFrontPanelHooks::SetPage(TDesign&, int32_t) {}
void TFrontPanelHooks::RefreshTransparency(TDesign&) {}

void TFrontPanelHooks::SaveElements(TDesign*, TWriter& writer)
{
    WriteEmptyElementList(writer);
}

void TFrontPanelHooks::LoadElements(TDesign*, TReader& reader, uint8_t version)
{
    const int32_t count = TReader::CheckCount(reader.ReadInteger(), 0, INT32_MAX, "elements");
    if (count > 0) // decor elements need the front panel's classes
        throw EClassNotFound(reader.ReadString());
    if (version >= 40) {
        for (int k = 0; k < 6; ++k) // border, bevel width, inner and outer bevel, two colours
            reader.ReadInteger();
        reader.ReadBoolean();
        reader.ReadBoolean();
    }
    if (version >= 43) {
        reader.ReadInteger();  // web sort order
        reader.ReadBoolean();  // published
        reader.ReadBoolean();  // web title
        for (int list = 0; list < 2; ++list) {
            const int32_t lines = reader.ReadCount("lines");
            for (int32_t k = 0; k < lines; ++k)
                reader.ReadString();
        }
    }
}

void TFrontPanelHooks::StopWebServer() {}
void TFrontPanelHooks::StartWebServer() {}

TFrontPanelHooks& FrontPanelHooks()
{
    return g_frontPanel ? *g_frontPanel : g_noFrontPanel;
}

void InstallFrontPanelHooks(TFrontPanelHooks* hooks)
{
    g_frontPanel = hooks;
}

void WriteEmptyElementList(TWriter& writer)
{
    writer.WriteInteger(0);              // no decor elements
    writer.WriteInteger(0);              // border width
    writer.WriteInteger(1);              // bevel width
    writer.WriteInteger(0);              // inner bevel: none
    writer.WriteInteger(0);              // outer bevel: none
    writer.WriteInteger(kNewPageColor);  // background colour
    writer.WriteInteger(kNewPageColor);  // frame colour
    writer.WriteBoolean(true);           // colour from the panel
    writer.WriteBoolean(true);           // background from the panel
    writer.WriteInteger(0);              // web sort order
    writer.WriteBoolean(false);          // published: no element to publish
    writer.WriteBoolean(true);           // web title
    writer.WriteInteger(0);              // head lines
    writer.WriteInteger(0);              // foot lines
}
