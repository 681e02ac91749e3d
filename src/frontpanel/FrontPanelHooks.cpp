// The core's hooks into the front panel: element names, the component link, the selection of
// elements, macro groups (nested pages), the element lists of pages and the web link,
// answered by the pages, the elements and the window.

#include "core/board/BoardHooks.h"
#include "core/board/Makro.h"
#include "frontpanel/Design.h"
#include "frontpanel/FrontPanel.h"
#include "frontpanel/Sizer.h"

#include <algorithm>

namespace {

class TDesignBoardHooks : public TFrontPanelHooks {
public:
    void SetElementName(TFP_Element& element, const QString& name) override
    {
        element.ElementName = name;
        element.update();
    }

    QString ElementHint(const TFP_Element& element) override { return element.Hint; }

    void UnlinkElement(TFP_Element& element) override { element.Component = nullptr; }

    void SyncElementSelection(TIOBauteil& component, bool select) override
    {
        auto* macro = dynamic_cast<TMakro*>(&component);
        TFP_Element* element = macro ? macro->Design : component.Link;
        TDesign* design = element ? element->OwnerDesign : nullptr;
        if (!design)
            return;
        const int index = design->IndexOfElement(element);
        if (select)
            design->SelectElement(index);
        else if (index < 0)
            design->Deselect(-1);
        else if (design->IsSelected(element))
            design->DeselectElement(element);
    }

    void SetGroupCaption(TDesign& group, const QString& caption) override
    {
        group.ElementName = caption;
    }

    int32_t IndexOfElement(TDesign& design, TDesign& element) override
    {
        return design.IndexOfElement(&element);
    }

    bool IsSelected(TDesign& design, TDesign& element) override
    {
        return design.IsSelected(&element);
    }

    void DeselectElement(TDesign& design, TDesign& element) override
    {
        design.DeselectElement(&element);
    }

    void RenumberElements(TDesign& design) override { design.RenumberElements(); }
    void RestoreZOrder(TDesign& design) override { design.RestoreZOrder(); }
    int32_t GetElementIndex(TDesign& group) override { return group.ElementIndex; }
    void SetElementIndex(TDesign& group, int32_t index) override { group.ElementIndex = index; }
    bool GetTransparent(TDesign& group) override { return group.GetBisteTransparent(); }
    void SetTransparent(TDesign& group, bool transparent) override
    {
        group.SetBisteTransparent(transparent);
    }

    TElementBounds GetBounds(TDesign& group) override
    {
        QRect r = group.geometry();
        if (group.OwnerDesign)
            r = group.OwnerDesign->ElementRect(&group);
        return TElementBounds{r.x(), r.y(), r.width(), r.height()};
    }

    void SetBounds(TDesign& group, const TElementBounds& b) override
    {
        if (group.OwnerDesign)
            group.OwnerDesign->DeselectElement(&group);
        group.setGeometry(b.Left, b.Top, std::max(0, b.Width), std::max(0, b.Height));
    }

    int32_t GetPage(TDesign& group) override { return group.FrontplattenNR; }
    void SetPage(TDesign& group, int32_t page) override { group.SetFrontplattenNR(page); }
    void RefreshTransparency(TDesign& group) override { group.RefreshTransparency(); }

    void SaveElements(TDesign* design, TWriter& writer) override
    {
        if (design)
            design->SaveElements(writer);
        else
            TFrontPanelHooks::SaveElements(design, writer);
    }

    void LoadElements(TDesign* design, TReader& reader, uint8_t version) override
    {
        if (design)
            design->LoadElements(reader, version);
        else
            TFrontPanelHooks::LoadElements(design, reader, version);
    }

    void StopWebServer() override
    {
        if (TFrontplatte* window = Frontplatte())
            window->StopWebServer();
    }

    void StartWebServer() override
    {
        if (TFrontplatte* window = Frontplatte())
            window->StartWebServer();
    }
};

} // namespace

TFrontPanelHooks& DesignBoardHooks()
{
    static TDesignBoardHooks hooks;
    return hooks;
}
