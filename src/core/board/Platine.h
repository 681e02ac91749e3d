#pragma once
// The circuit board: owner of every item of one circuit (components, wire segments, text
// labels), of their designator numbers and board names, and of the circuit stream format.
// A project has one top board named "MAIN"; every macro block holds an inner board, so boards
// form a tree.
//
// The board is plain model data. Painting, mouse editing and zooming belong to the board view,
// which reads the view fields kept here (Zoom, Mode, view offset ...); the board reports areas
// to redraw through OnInvalidateRect and OnRepaint.

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

// Class name by which the engine recognises DDE client components.
inline constexpr const char* kDdeClientClassName = "TBT_DDE_Client";

// A rubber-band line while a selection is dragged: from a fixed anchor to a moving end.
struct TGummibandPoint {
    int32_t AnchorX = 0;
    int32_t AnchorY = 0;
    int32_t EndX = 0;
    int32_t EndY = 0;
};

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

// Board modes.
enum : uint8_t { kModeZoom = 0, kModeSelect = 1, kModeWiring = 2, kModePlacing = 3, kModeText = 4 };

// --- Editing helpers of the board view (PlatineEditing.cpp, PlatineWiring.cpp) ----------------
// Mouse buttons and shift-state bits of the board's mouse operations.
enum : int { kLeftButton = 0, kRightButton = 1 };
enum : uint8_t { kShiftKey = 1, kCtrlKey = 4 };

// Cursor numbers a board asks its view for.
enum : int16_t {
    kCursorNone = -1,
    kCursorDefault = 0,
    kCursorZoom = 1,       // "LUPE"
    kCursorFinger = 2,     // "Finger"
    kCursorSolder = 3,     // "LOETEN"
    kCursorHand = 4,       // "HAND"
    kCursorPin = 14,       // "ANSCHLUSS"
    kCursorText = 15,      // "TEXT"
    kCursorInvert = 16,    // "INVERT"
};

// The selection or zoom rectangle while it is dragged, in board units. Plain data: the view
// draws it.
struct TSelector {
    QPoint Start;
    QPoint Corner;        // the dragged corner
    QPoint Opposite;      // the other corner: Start, or mirrored through Start when centred
    bool Active = false;
    bool Square = false;  // Shift held: a square
    bool Centred = false; // Ctrl held: Start is the centre
    void StartAt(QPoint p);
    void DragTo(QPoint p);
    void Finish() { Active = false; }
    // The rectangle between the two corners, edges in order.
    TRect Rect() const;
};

// The wire leg being drawn (board units).
struct TTempline {
    QPoint Start;
    QPoint End;
    int Width = 5;
    int32_t Color = 0xC0C0C0;
    bool Shown = false;
};

// The crosshair of wiring mode at a grid point (board units).
struct TFadenKreuz {
    QPoint Position;
    int32_t Color = 0xC0C0C0;
    bool Shown = false;
};

// True when the rubber-band line runs horizontally or vertically.
inline bool IsStraight(const TGummibandPoint& p)
{
    return p.AnchorX == p.EndX || p.AnchorY == p.EndY;
}

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
    TNotifyEvent OnChange;        // the board changed Zoom or the view offset itself
    TNotifyEvent OnPopupRequest;  // right button in select mode
    TNotifyEvent OnModeChange;    // the board changed its own mode
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
    std::vector<TBauteil*> ClockedItems;   // run lists: references into Items
    std::vector<TIOBauteil*> SimComponents;
    std::vector<TMakro*> Macros;
    std::vector<TSegment*> WireRun;
    std::vector<TIOBauteil*> Jumps;        // jump components (CollectJumps)
    std::vector<TGummibandPoint> RubberPoints;
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

    // --- View and editing state (used by the board view) -----------------------------------
    int32_t GridStep = 20;
    int16_t SavedCursor = 0;
    bool IgnoreNextPress = false;
    bool Moved = false;
    int32_t BoardHeight = 20000;
    int32_t BoardWidth = 20000;
    double Zoom = 5.0;
    int32_t ViewOffsetX = 0;  // pixels
    int32_t ViewOffsetY = 0;
    uint8_t SavedMode = kModeSelect;
    uint8_t Mode = kModeSelect;
    bool Dragging = false;
    QPoint DragAnchor;  // pixels while moving, board units (wire start) while wiring
    QPoint WireEnd;     // board units
    uint8_t AutoScrollDirection = 0;  // 0 none, 1 up, 2 down, 3 left, 4 right
    bool AutoScrollEnabled = false;
    bool DragStarted = true;
    int32_t SavedScrollX = 0;
    int32_t SavedScrollY = 0;

    // --- Flags ----------------------------------------------------------------------------
    bool LibraryMode = false;      // the stream writer leaves out front-panel data
    int32_t StepCount = 0;         // steps since the last rate measurement
    bool NoPaint = false;          // set while destroyed or while a selection is deleted
    bool DeletingMacroPin = false; // set while DeleteSelection removes a macro pin
    bool ShowWireStates = false;
    bool ShowComponentStates = false;
    bool GridVisible = false;
    bool MonochromePrint = false;
    bool Running = false;
    bool PlacingFromPalette = false;

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
    // The record of a macro held by this board: tag -2, the group's element index, transparency,
    // bounds and page, the inner circuit and the group's element list.
    void WriteMacroRecord(TMakro* macro, TWriter& writer);
    // Reads a macro record (tags -2, -1 or none) and the inner circuit.
    void ReadMacroGeometry(TMakro* macro, TReader& reader, uint8_t version);
    void WritePrintSettings(TWriter& writer) const;
    void ReadPrintSettings(TReader& reader);

    // --- Simulation (PlatineSim.cpp) --------------------------------------------------------
    // Deepest nesting of steps run from inside a step (a waiting device steps the circuit
    // through its step callback); a step asked for deeper than that returns without stepping.
    static constexpr int kMaxStepNesting = 16;
    // Set by the board view while it shows this board: live repaints happen only then.
    bool Visible = false;
    // Live painting during a run, supplied by the board view: runs the painter on a canvas with
    // the board mapping set and shows the result at once.
    std::function<void(const std::function<void(TCanvas&)>& painter)> OnLivePaint;

    // Top board: prepares a run (run lists, nets, sources, shared outputs, DDE clients, reset).
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
    // One step; the top board counts it. Re-entrant up to kMaxStepNesting.
    void SimStep();
    // The 50-ms tick of clocked items, recursively, then the live repaints.
    void TickClockedObjects();
    void RefreshWires();
    void RefreshLiveDisplays();
    // SimEnd of every component, step callbacks cleared, DDE conversations released.
    void EndSimulation();
    void SetShowWireStates(bool flag);
    void SetShowComponentStates(bool flag);
    // Steps of this board running at the moment (1 inside a step, more while nested).
    int StepDepth() const { return m_stepDepth; }
    // The callback that hardware interfaces get: one step of the top board while its run is
    // prepared, nothing before or after (or once the board is gone).
    TStepCallback MakeStepCallback();

    // --- Component state file (PlatineSettings.cpp) ------------------------------------------
    // Every item of the whole hierarchy saves its state under its board's name.
    void SaveComponentStates(TIniFile& ini);
    // The same walk with LoadSettings; the result is always 0.
    int LoadComponentStates(TIniFile& ini, bool checkOnly);

    // --- Painting and coordinates (PlatinePaint.cpp) ------------------------------------------
    // "Screen" points are pixels of the whole board control (0, 0 at the board's origin);
    // "device" points are pixels of the visible area, i.e. screen points less the view offset.
    int16_t Cursor = kCursorDefault;  // cursor the view shows over the board
    int32_t ViewWidth = 0;   // size of the visible area in pixels, set by the view
    int32_t ViewHeight = 0;
    // Moves the mouse cursor onto a screen point (view; empty: the cursor stays).
    std::function<void(QPoint screenPoint)> OnMoveCursor;

    void SetMapping(TCanvas& canvas) const;
    QPoint ScreenToBoard(QPoint p) const;
    QPoint BoardToScreen(QPoint p) const;
    QPoint BoardToDevice(QPoint p) const;
    static TRect NormaliseRect(const TRect& r) { return r.Normalized(); }
    // Board rectangle in screen pixels.
    TRect BoardRectToScreen(const TRect& r) const;
    // Size of the board control: 20000 x round(16 x Zoom) div 254 pixels.
    int32_t ControlWidth() const;
    int32_t ControlHeight() const;
    // Background, grid and items on a canvas whose painter shows screen pixels.
    void Paint(TCanvas& canvas);
    // Every item whose bounds meet the canvas's clip rectangle, in list order.
    void PaintItems(TCanvas& canvas);
    void PaintGrid(TCanvas& canvas);
    // Grid line spacing at the current zoom: the grid step doubled until it spans 10 pixels.
    int32_t GridSpacing() const;
    // The rubber-band lines of the current drag (red, width 3).
    void PaintRubberBand(TCanvas& canvas);
    // The selected items without their selection colours.
    void PaintSelected(TCanvas& canvas);

    // --- Zoom (PlatinePaint.cpp) -----------------------------------------------------------
    // Zoom := value clamped to 0.5 .. 20.0 (anything not >= 0.5 gives 0.5).
    void SetZoom(double value);
    // Moves the view offset so that the board point shows in the middle of the visible area.
    void CentreOn(QPoint boardPoint);
    // Keeps the view offset inside the board control (what the scroll bars allow).
    void ClampViewOffset();
    void ZoomToBoard();
    void ZoomToObjects(bool selectedOnly);
    void ZoomInAt(QPoint screenPoint);
    void ZoomOutAt(QPoint screenPoint);
    // Left release in zoom mode: fits the zoom rectangle, or zooms in at the mouse for a
    // rectangle under 5 pixels.
    void FinishZoomRect(int x, int y);
    // Wheel zoom by 1.1 about the board point under the mouse (screen point).
    void WheelZoom(bool up, QPoint mouse);

    // --- Editing (PlatineEditing.cpp) ------------------------------------------------------
    bool RubberBandActive = false;       // rubber-band lines are shown for the current drag
    std::optional<TSelector> Selector;   // selection or zoom rectangle
    std::optional<TTempline> TempLine;   // wire leg being drawn
    std::optional<TFadenKreuz> Crosshair;

    // Mouse press on the screen point (x, y) in select mode: hit items are selected (Shift
    // toggles); the left button starts a move, or a selection rectangle when nothing is hit.
    void SelectAt(int x, int y, uint8_t shift, int button);
    void SelectObject(TBauteil* item, bool flag);
    void SyncElementSelection(TIOBauteil* component, bool flag);
    void SelectAll(bool flag);
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
    // Release of a selection rectangle: every item whose bounds meet it gets selected.
    void FinishSelector();

    void DragSelection(int x, int y);
    void CollectRubberPoints();
    void AddRubberPoint(QPoint p);
    void EndDrag(int button);
    TRect GetItemsBounds(bool selectedOnly) const;
    void ConfineCursor();
    // Auto-scroll direction from a point of the visible area (device pixels).
    void UpdateAutoScroll(QPoint devicePoint);
    void AutoScrollTick();

    void EditSelectedProperties();
    void MirrorSelected();
    void BringSelectionToFront();
    void SendSelectionToBack();
    void RemoveDegenerateSegments();
    bool SelectLooseSegment();
    // The hint of the first item under the screen point; empty when hints are off or none.
    QString HintAt(int x, int y);
    void UpdateCursor(int x, int y);
    bool WireEndAt(QPoint boardPoint);
    TSegment* PinSegmentAt(QPoint boardPoint);
    // Inverts the pin of a pin segment.
    void TogglePinInversion(TSegment* pinSegment);
    // Text mode: a new text label at the grid point, selected, its dialog shown; back to
    // select mode.
    TBauteil* PlaceText(QPoint boardPoint);
    void MoveCrosshair(int x, int y);

    // --- Wire drawing and normalisation (PlatineWiring.cpp) ----------------------------------
    void WireClick(int x, int y, int button);
    // Mouse move while a wire is drawn: the preview follows the orthogonal corner.
    void UpdateWirePreview(int x, int y);
    static QPoint OrthogonalCorner(QPoint start, QPoint p);
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
    // The selection as a circuit stream into ClipboardStream, and as a picture on the system
    // clipboard.
    void CopySelection();
    void CutSelection();
    // Pasted items follow the mouse (placing mode) until EndDrag.
    void PasteFromStream(QIODevice& stream, uint8_t version);
    void DuplicateSelection(uint8_t version);
    void CopyAsPicture();
    // The selected items as an SVG picture (1 board unit = 0.2 mm) and as an image at the
    // current zoom.
    QByteArray SelectionToSvg();
    QImage SelectionToImage();

private:
    void LoadMacroContent(TMakro* macro, TReader& reader, uint8_t version);
    void ReadElementFlag(TIOBauteil* component, TReader& reader, uint8_t version);
    bool m_destroying = false;

    // Simulation engine state (PlatineSim.cpp).
    struct TNetScratch;
    void NumberNetsFrom(TSegment* startSegment, int32_t counter);
    void ReleaseNetScratch();
    int m_stepDepth = 0;
    bool m_ddeConnecting = false;
    std::shared_ptr<TNetScratch> m_netScratch;        // flood index while nets are numbered
    std::shared_ptr<std::vector<TBauteilPin*>> m_sourceCache;  // top board: net -> source
    std::shared_ptr<bool> m_runToken;                  // live while a run is prepared
};
