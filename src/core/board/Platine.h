#pragma once
// The circuit board: owner of every item of one circuit (components, wire segments, text
// labels), of their designator numbers and board names, and of the circuit stream format.
// A project has one top board named "MAIN"; every macro block holds an inner board, so boards
// form a tree.
//
// The board is plain model data. Zoom, view offset, mode and the editing tools belong to the
// editor of each board tab (core/editing); the board paints its items on a canvas mapped by
// the caller and reports areas to redraw through OnInvalidateRect and OnRepaint.

#include "core/engine/Engine.h"
#include "core/model/Geometry.h"

#include <QPoint>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QBuffer;
class QIODevice;
class QImage;
class TBauteil;
class TBTPin;
class TDesign;
class TIOBauteil;
class TMakro;
class TReader;
class TSegment;
class TWriter;
// Simulation engine (PlatineSim.cpp) and component state file (PlatineSettings.cpp).
class TBauteilPin;
class TCanvas;
class TEventPump;
class TIniFile;
class TPlatine;

// The step callback that hardware interfaces and their ports hold during a run: a device that
// waits calls it to keep the circuit stepping. Empty when cleared.
using TStepCallback = std::function<void()>;

// What the simulation engine needs of DDE client components and hardware components. Each
// subsystem installs its part at start-up; empty functions do nothing.
struct TSimulationHooks {
    // Connects a DDE client component to the shared conversation for its service and topic,
    // found in the shared list or created and appended to it; a conversation created here
    // reports its closing to board.DdeConversationClosed. Sets the component's connected flag
    // from the link request and attaches its DDE item.
    std::function<void(TIOBauteil& client, TPlatine& board)> ConnectDdeClient;
    // A conversation closed: the client marks itself disconnected when it uses it.
    std::function<void(TIOBauteil& client, const void* conversation)> DdeConversationClosed;
    // Frees every shared DDE conversation and empties the list (end of a run).
    std::function<void()> ReleaseDdeConversations;
    // Hands the step callback to a hardware component's interface and every port of it; an
    // empty callback clears it.
    std::function<void(TBauteil& hardware, const TStepCallback& step)> SetStepCallback;
    // The prepare hook of a hardware component's interface, once per run after every callback
    // is installed.
    std::function<void(TBauteil& hardware)> PrepareInterface;
};

TSimulationHooks& SimulationHooks();
void ResetSimulationHooks();

// Class names by which the engine recognises DDE client components.
inline constexpr const char* kDdeClientClassName = "TBT_DDE_Client";
inline constexpr const char* kDdePokeClassName = "TBT_DDE_Client_Poke";

// Print settings of a board, stored with its circuit in files.
struct TPrintSettings {
    double Scale = 0.5;
    int32_t Size = 120;          // position of the preview's size slider, 0 .. 200
    bool BlackWhite = true;
    bool Centered = true;
    int32_t PrinterIndex = -1;   // -1: the default printer
    int32_t Orientation = 0;
    bool Background = false;
    QPoint Offset;
    QPoint PreviewPosition;
    QString Headline;
    QStringList Comments;
};

// The main window's "Bauteilhinweise anzeigen": item hints follow the mouse on the board.
extern bool ShowComponentHints;

class TPlatine {
public:
    TPlatine();
    ~TPlatine();
    TPlatine(const TPlatine&) = delete;
    TPlatine& operator=(const TPlatine&) = delete;

    // Deepest nesting of macros that a stream may hold.
    static constexpr int kMaxMacroDepth = 64;

    // --- Events ---------------------------------------------------------------------------
    using TNotifyEvent = std::function<void(TPlatine* sender)>;
    // Fired by the board's editor (core/editing) for this board.
    TNotifyEvent OnChange;        // the editor changed Zoom or the view offset itself
    TNotifyEvent OnPopupRequest;  // right button in select mode
    TNotifyEvent OnModeChange;    // the editor changed its own mode
    TNotifyEvent OnAktTools;      // editing tools need updating
    // Once per component read from a stream, after it was added, given its pin segments,
    // numbered and named. The handler reads the element Boolean (and the element's data).
    std::function<void(TPlatine* sender, TIOBauteil* component, TReader& reader, uint8_t version)>
        OnNeuesBauteil;
    // Just before a component is taken out of the board and freed.
    std::function<void(TPlatine* sender, TIOBauteil* component)> OnEntferneBauteil;
    // While a component with a linked element is written, right after the Boolean true.
    std::function<void(TPlatine* sender, TIOBauteil* component, TWriter& writer)> OnWriteFPDaten;
    // While a macro record is read, before the group gets its geometry: the handler gives the
    // macro its inner board and reads the inner circuit and the group's element list.
    std::function<void(TMakro* macro, TReader& reader, TPlatine* board, uint8_t version)>
        OnNeuesMakro;
    // Redraw requests to the board view: an area in board units, or the whole board.
    std::function<void(const TRect& area)> OnInvalidateRect;
    std::function<void()> OnRepaint;

    // --- Items and lists ------------------------------------------------------------------
    // Every item in paint order, which is also the file order. Owned.
    std::vector<std::unique_ptr<TBauteil>> Items;
    std::vector<TSegment*> NetSegments;    // segments gathered for net numbering
    std::vector<TSegment*> WireWork;       // segments being normalised
    // The run of this board: run lists, step, clock tick (the names below are its lists).
    TEngine Engine;
    std::vector<TBauteil*>& ClockedItems = Engine.ClockedItems;
    std::vector<TIOBauteil*>& SimComponents = Engine.SimComponents;
    std::vector<TMakro*>& Macros = Engine.Macros;
    std::vector<TSegment*>& WireRun = Engine.WireRun;
    std::vector<TIOBauteil*> Jumps;        // jump components (CollectJumps)
    TSegment* LastSegment = nullptr;       // last added wire segment

    // --- Hierarchy and names --------------------------------------------------------------
    TPlatine* ParentBoard = nullptr;  // board holding this board's macro block
    TMakro* OwnerMacro = nullptr;     // macro block whose inner board this is
    TPlatine* TopBoard = nullptr;     // the top board (itself for the top board)
    // TopBoard, or this board where it is not set.
    TPlatine* Top() { return TopBoard ? TopBoard : this; }
    const TPlatine* Top() const { return TopBoard ? TopBoard : this; }
    TDesign* Design = nullptr;        // the front-panel design of this board, not owned
    QString BoardName = QStringLiteral("MAIN");
    QBuffer* ClipboardStream = nullptr;  // shared by every board, not owned

    // --- Board size and grid (board units) -------------------------------------------------
    int32_t GridStep = 20;
    int32_t BoardHeight = 20000;
    int32_t BoardWidth = 20000;

    // --- Flags ----------------------------------------------------------------------------
    bool LibraryMode = false;      // the stream writer leaves out front-panel data
    int32_t StepCount = 0;         // steps since the last rate measurement
    bool NoPaint = false;          // set while destroyed or while a selection is deleted
    bool DeletingMacroPin = false; // set while DeleteSelection removes a macro pin
    bool ShowWireStates = false;
    bool ShowComponentStates = false;
    bool MonochromePrint = false;
    bool Running = false;

    TPrintSettings PrintSettings;

    // --- Items ----------------------------------------------------------------------------
    // Appends an item as it is (no numbering, no pin segments) and makes this its board.
    TBauteil* AppendItem(std::unique_ptr<TBauteil> item);
    // Appends a component and completes it as every addition must: the board's handlers,
    // pin segments, numbers of its class, board names and DDE items.
    TIOBauteil* AddComponent(std::unique_ptr<TIOBauteil> component);
    // Installs the board's handlers on an item: pin changes of components, name changes of
    // macro pins, the record handlers of macro blocks, repaints of text labels.
    void BindItem(TBauteil* item);
    // Creates the inner board of a macro held by this board and hands it to the macro. The
    // inner board takes this board's events.
    TPlatine* CreateInnerBoard(TMakro& macro);

    // Takes the item out of the board and frees it. A component fires OnEntferneBauteil first
    // and takes its pin segments with it; its class is numbered anew.
    void RemoveObject(TBauteil* item);
    // Removes every selected item (the web link is stopped meanwhile).
    void DeleteSelection();
    // Numbers the components of exactly this class 1, 2, 3 ... in item order.
    void RenumberClass(const char* className);
    // Names this board and, recursively, the inner boards of its macros.
    void SetBoardName(const QString& name);
    void RegisterDdeServers();
    // One zero-length pin segment per pin of a block-symbol component or macro block.
    void AttachPinSegments(TIOBauteil* component);
    void RemovePinSegments(TIOBauteil* component);
    // A new wire segment from p1 to p2 (normal direction), appended and remembered as the
    // last added segment.
    TSegment* AddSegment(QPoint p1, QPoint p2);

    // Handlers installed on components.
    void BeforePinsChange(TIOBauteil* component);
    void PinsChanged(TIOBauteil* component);
    void MacroPinChanged(TBTPin* pin);

    void CollectJumps();
    int32_t MacroPinCount() const;
    QString MacroPinLabel(int32_t number) const;  // empty when no macro pin has that number

    int IndexOfItem(const TBauteil* item) const;  // -1 when absent
    bool IsInnerBoard() const { return OwnerMacro != nullptr || ParentBoard != nullptr; }

    // Redraw requests (nothing while NoPaint is set).
    void InvalidateObject(TBauteil* item);
    void InvalidateAndPaint(TBauteil* item);
    void Repaint();

    // --- Wire normalisation around changes ---------------------------------------------------
    void DetachSelectedWires();
    void NormaliseSelectedWires();

    // --- Circuit stream -------------------------------------------------------------------
    // Item count, the items (without pin segments; only the selected ones when selectionOnly),
    // and on file streams the print settings.
    void WriteCircuit(TWriter& writer, bool selectionOnly);
    // Appends the items of a circuit stream; every item read ends selected. A read error stops
    // reading with the items read so far on the board and propagates (EFilerError,
    // EClassNotFound).
    void ReadCircuit(TReader& reader, uint8_t version);
    // The object for a stored class name (a hardware device's name, else the class registry)
    // and the class name an item is stored under.
    static std::unique_ptr<TBauteil> CreateStoredItem(const QString& className);
    static QString StoredClassName(const TBauteil& item);
    // The record of a macro held by this board: tag -2, the group's element index, transparency,
    // bounds and page, the inner circuit and the group's element list.
    void WriteMacroRecord(TMakro* macro, TWriter& writer);
    // Reads a macro record (tags -2, -1 or none) and the inner circuit.
    void ReadMacroGeometry(TMakro* macro, TReader& reader, uint8_t version);
    void WritePrintSettings(TWriter& writer) const;
    void ReadPrintSettings(TReader& reader);

    // --- Simulation (PlatineSim.cpp; the run itself is Engine) -------------------------------
    static constexpr int kMaxStepNesting = TEngine::kMaxStepNesting;
    // Set by the board view while it shows this board: live repaints happen only then.
    bool Visible = false;
    // Set on the top board while a run is prepared: editing and a second start do nothing.
    bool Preparing = false;
    // Live painting during a run, supplied by the board view: runs the painter on a canvas with
    // the board mapping set and shows the result at once.
    std::function<void(const std::function<void(TCanvas&)>& painter)> OnLivePaint;

    // Top board: prepares a run (run lists, nets, sources, shared outputs, DDE clients, reset).
    // Does nothing while a preparation is going on.
    void StartSimulation();
    // Run lists and SimPrepare of every component, recursively over the macro tree.
    void PrepareSimulation();
    // NetSegments := every wire segment of Items, in order.
    void CollectSegments();
    // Without a start segment: numbers every net of this board and of the boards below it,
    // counting on from counter. With one: floods the start segment's net with counter, across
    // macro boundaries.
    void NumberNets(TSegment* startSegment, int32_t& counter);
    // Sources of every input, of every macro pin list and of every wire, recursively.
    void ResolveWireNets();
    // The first output pin on the net in depth-first leaf order of the whole hierarchy.
    TBauteilPin* FindNetSource(int32_t net);
    // The leaf components of this board and the boards below, in depth-first item order.
    void CollectLeafComponents(std::vector<TIOBauteil*>& list);
    void ConnectDdeClients();
    // A shared DDE conversation closed (ignored while clients are being connected).
    void DdeConversationClosed(const void* conversation);
    // Every output pin's SameNet list emptied, recursively.
    void ClearOutputNets();
    // Every output lists every output of the hierarchy on its net (itself included).
    void LinkSharedOutputs();
    void SimResetAll();
    // One step; the top board counts it. Re-entrant up to kMaxStepNesting. No painting.
    void SimStep();
    // The 50-ms tick of clocked items, recursively. No painting.
    void TickClockedObjects();
    // Every shown board of the tree below this one (itself included) recolours its wires and
    // live pins as the top board's buttons ask. The run control calls it between steps.
    void RepaintLiveStates();
    void RefreshWires();
    void RefreshLiveDisplays();
    // The colour of a wire during a run: high when its net has no driver or the driver's
    // value is at least 2.5.
    static bool WireLit(const TSegment& segment);
    // SimEnd of every component, step callbacks cleared, DDE conversations released.
    void EndSimulation();
    void SetShowWireStates(bool flag);
    void SetShowComponentStates(bool flag);
    // Steps of this board running at the moment (1 inside a step, more while nested).
    int StepDepth() const { return Engine.Depth(); }
    // The callback that hardware interfaces get: one step of the top board while its run is
    // prepared, nothing before or after (or once the board is gone).
    TStepCallback MakeStepCallback();

    // --- Component state file (PlatineSettings.cpp) ------------------------------------------
    // Every item of the whole hierarchy saves its state under its board's name.
    void SaveComponentStates(TIniFile& ini);
    // The same walk with LoadSettings; the result is always 0.
    int LoadComponentStates(TIniFile& ini, bool checkOnly);

    // --- Painting (PlatinePaint.cpp) --------------------------------------------------------
    // The canvas comes mapped by the caller (a board view's zoom and offset, a print).
    // Background, grid (when gridVisible, and the top board is not running) and items.
    void Paint(TCanvas& canvas, bool gridVisible);
    // Every item whose bounds meet the canvas's clip rectangle, in list order.
    void PaintItems(TCanvas& canvas);
    void PaintGrid(TCanvas& canvas);
    // Grid line spacing on a mapped canvas: the grid step doubled until it spans 10 pixels.
    int32_t GridSpacing(const TCanvas& mapping) const;
    // The selected items without their selection colours.
    void PaintSelected(TCanvas& canvas);

    // --- Selection and editing operations (PlatineEditing.cpp) --------------------------------
    void SelectObject(TBauteil* item, bool flag);
    void SyncElementSelection(TIOBauteil* component, bool flag);
    void SelectAll(bool flag);
    // Selects every item (pin segments aside) whose bounds meet the area.
    void SelectItemsIn(const TRect& area);
    bool HasSelection() const;
    // The selected items other than pin segments, in item order: a snapshot for walks that
    // change the list.
    std::vector<TBauteil*> SelectedItems() const;
    int SelectedCount() const;  // selected items other than wire segments
    TBauteil* SingleSelected() const;
    bool IsSingleComponent() const;
    bool IsSingleMacro() const;
    bool CanPaste() const;
    bool CanEditProperties() const;
    // The items other than pin segments that the screen point hits on the mapped canvas, in
    // item order (only the first with firstOnly).
    std::vector<TBauteil*> ItemsAt(QPoint screenPoint, TCanvas& mapping, bool firstOnly = false);
    TRect GetItemsBounds(bool selectedOnly) const;
    // Moves the selected items (and the pin segments of selected components) by delta and
    // redraws the selection's former bounds and the moved ones.
    void MoveSelectionBy(QPoint delta, const TRect& formerBounds);

    void EditSelectedProperties();
    void MirrorSelected();
    void BringSelectionToFront();
    void SendSelectionToBack();
    void RemoveDegenerateSegments();
    bool SelectLooseSegment();
    bool WireEndAt(QPoint boardPoint);
    // A wire segment (not a pin's) that ends at the point or passes through it.
    TSegment* WireAt(QPoint boardPoint) const;
    TSegment* PinSegmentAt(QPoint boardPoint);
    // Inverts the pin of a pin segment.
    void TogglePinInversion(TSegment* pinSegment);

    // --- Wires and their normalisation (PlatineWiring.cpp) -----------------------------------
    // Each coordinate rounded to the nearest multiple of the grid step, halves to even.
    QPoint SnapToGrid(QPoint p) const;
    void AddWire(QPoint p1, QPoint p2);
    void NormaliseAllWires();
    void CollectTouching(TSegment* segment);
    static bool SegmentsTouch(const TSegment& a, const TSegment& b);
    int CountEndsAt(QPoint p) const;
    void MergeWires();
    bool CanMergeSegments(const TSegment& a, const TSegment& b) const;
    void MergeSegments(TSegment* a, TSegment* b);
    void SplitWires();
    void SplitSegment(TSegment* segment, QPoint p);
    void UpdateJunctionDots();
    void MarkConnectedPins();
    void UnmarkFreePins();

    // --- Clipboard (PlatineClipboard.cpp) --------------------------------------------------
    // Zoom of the clipboard image when no view gives one.
    static constexpr double kPictureZoom = 5.0;
    // The selection as a circuit stream into ClipboardStream, and as a picture on the system
    // clipboard (the image at the given zoom).
    void CopySelection(double pictureZoom = kPictureZoom);
    void CutSelection(double pictureZoom = kPictureZoom);
    // Appends the stream's circuit (nothing for a stream under 3 bytes) with the new items
    // alone selected, and rewinds the stream. Letting them follow the mouse is the placing
    // tool's part (core/editing).
    void PasteFromStream(QIODevice& stream, uint8_t version);
    void CopyAsPicture(double zoom = kPictureZoom);
    // The selected items as an SVG picture (1 board unit = 0.2 mm) and as an image at a zoom.
    QByteArray SelectionToSvg();
    QImage SelectionToImage(double zoom = kPictureZoom);

private:
    void LoadMacroContent(TMakro* macro, TReader& reader, uint8_t version);
    void ReadElementFlag(TIOBauteil* component, TReader& reader, uint8_t version);
    bool m_destroying = false;

    // Simulation state (PlatineSim.cpp).
    void PrepareRun(TEventPump& pump);
    bool m_ddeConnecting = false;
    std::shared_ptr<bool> m_runToken;                  // live while a run is prepared
};
