#pragma once
// What the circuit model and the board need of the front panel: element names, the link
// between components and elements, the selection of elements, macro groups, element lists and
// the web link. The front panel installs its answers at start-up (see the composition in
// src/shell). Until then the defaults stand for "no front panel": no element and no macro group
// exists and nothing is published.

#include <QString>
#include <cstdint>

class TDesign;
class TFP_Element;
class TIOBauteil;
class TReader;
class TWriter;

// Geometry of a front-panel element in pixels of the front panel.
struct TElementBounds {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Width = 0;
    int32_t Height = 0;
};

// Front-panel operations the board calls. The base class is the board without a front panel:
// every group operation is never reached (a macro then has no group), and the element list of
// a design is the empty list.
class TFrontPanelHooks {
public:
    virtual ~TFrontPanelHooks() = default;

    // The element's name text (designator prefix + number), set when the board renumbers.
    virtual void SetElementName(TFP_Element& element, const QString& name);
    // The element's hint text, which ends the component's hint (empty without a front panel).
    virtual QString ElementHint(const TFP_Element& element);

    // A component destroyed before its element: the element forgets its component.
    virtual void UnlinkElement(TFP_Element& element);

    // Board selection mirrored on the front panel: selecting a component with a linked element
    // (or a macro block with its group) selects that element in its design; deselecting it
    // removes the element's frame, or every frame of the design when the element is not in it.
    virtual void SyncElementSelection(TIOBauteil& component, bool select);

    // Macro groups: a macro's group is an element (a nested design) of the design that holds it.
    virtual void SetGroupCaption(TDesign& group, const QString& caption);
    virtual int32_t IndexOfElement(TDesign& design, TDesign& element);  // -1 when absent
    virtual bool IsSelected(TDesign& design, TDesign& element);
    virtual void DeselectElement(TDesign& design, TDesign& element);
    virtual void RenumberElements(TDesign& design);
    virtual void RestoreZOrder(TDesign& design);
    virtual int32_t GetElementIndex(TDesign& group);
    virtual void SetElementIndex(TDesign& group, int32_t index);
    virtual bool GetTransparent(TDesign& group);
    virtual void SetTransparent(TDesign& group, bool transparent);
    virtual TElementBounds GetBounds(TDesign& group);
    virtual void SetBounds(TDesign& group, const TElementBounds& bounds);
    virtual int32_t GetPage(TDesign& group);
    virtual void SetPage(TDesign& group, int32_t page);
    virtual void RefreshTransparency(TDesign& group);

    // A design's element list; design nullptr stands for a group that does not exist. The base
    // writes the empty list of a new page and reads a list back that holds no elements (an
    // element in it names a class that is not registered without a front panel).
    virtual void SaveElements(TDesign* design, TWriter& writer);
    virtual void LoadElements(TDesign* design, TReader& reader, uint8_t version);

    // The web link, stopped around deleting a selection.
    virtual void StopWebServer();
    virtual void StartWebServer();
};

// The installed front panel (the base object when none is installed).
TFrontPanelHooks& FrontPanelHooks();
// Installs the front panel's hooks (not owned); nullptr returns to "no front panel".
void InstallFrontPanelHooks(TFrontPanelHooks* hooks);

// Writes the element list of an empty new page (version 44 layout).
void WriteEmptyElementList(TWriter& writer);
