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
#include <vector>

class QBuffer;
class TBauteil;
class TBTPin;
class TDesign;
class TIOBauteil;
class TMakro;
class TReader;
class TSegment;
class TWriter;

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

private:
    void LoadMacroContent(TMakro* macro, TReader& reader, uint8_t version);
    void ReadElementFlag(TIOBauteil* component, TReader& reader, uint8_t version);
    bool m_destroying = false;
};
