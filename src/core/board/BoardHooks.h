#pragma once
// What the circuit board needs of its neighbours: the front panel (element names, macro
// groups, element lists, the web link), the logic analyser, DDE server components and the
// hardware framework. Each neighbour installs its part at start-up. Until then the defaults
// stand for "not present": no element and no macro group exists, nothing is published, and no
// class name is a hardware name.

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

class TBauteil;
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

    // The element's name text (designator prefix + number).
    virtual void SetElementName(TFP_Element& element, const QString& name);

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

// Creates the hardware component for a stored class name.
using THardwareFactory = std::function<std::unique_ptr<TBauteil>()>;

// Hooks of the logic analyser, the DDE server components and the hardware framework. Empty
// functions do nothing (and answer "no").
struct TBoardServiceHooks {
    // Sets the analyser window's caption with the component's current number.
    std::function<void(TIOBauteil& analyser)> UpdateAnalyserCaption;
    // Sets a DDE server component's topic and clears its DDE items.
    std::function<void(TIOBauteil& server, const QString& topic)> SetDdeServerTopic;
    // Creates the DDE items of a DDE server component.
    std::function<void(TIOBauteil& server)> CreateDdeServerItems;
    // Factory for one of the older per-device hardware class names (compared without regard
    // to case); an empty function for any other name.
    std::function<THardwareFactory(const QString& name)> HardwareClassByName;
    // True for hardware components, which are stored under the class name "TBTHardware".
    std::function<bool(const TBauteil& item)> IsHardwareComponent;
};

TBoardServiceHooks& BoardServiceHooks();

// Class names by which the board recognises components of other subsystems.
inline constexpr const char* kAnalyserClassName = "TBT_Analyser";
inline constexpr const char* kDdeServerClassName = "TBT_DDE_Server";
inline constexpr const char* kJumpClassName = "TBTJump";
inline constexpr const char* kHardwareClassName = "TBTHardware";

THardwareFactory HardwareClassByName(const QString& name);
bool IsHardwareComponent(const TBauteil& item);

// Back to no front panel and empty service hooks (tests).
void ResetBoardHooks();
