#pragma once
// A front-panel page: the element that holds the other elements. The front-panel window owns
// one root page; every macro owns a nested page that is an element of the page holding the
// macro. A page keeps its elements in z-order, lets the user select, move, size, align and
// stack them in edit mode (each selected element sits in a selection frame), shows only the
// elements of its active page number (the others are parked on the hidden panel), writes its
// decor elements and its own appearance into the project, and forwards start values,
// settings and hotkeys to its elements.

#include "core/model/Geometry.h"
#include "frontpanel/FP_Element.h"

#include <QRect>
#include <QString>

#include <functional>
#include <vector>

class QAction;
class QMenu;
class QTabBar;
class TSizer;

class TDesign : public TFP_Element {
public:
    FP_CLASS_NAME(TDesign)

    explicit TDesign(QWidget* owner = nullptr);
    // Frees the selection frames and every element (also those parked on the hidden panel).
    ~TDesign() override;

    // --- Fields ---------------------------------------------------------------------------
    // The page's elements, owned; list order is the z-order (last = in front).
    std::vector<TFP_Element*> Elements;
    // One selection frame per selected element, in the order of selection (owned).
    std::vector<TSizer*> Sizers;
    bool isEditing = true;          // edit mode (write with SetisEditing)
    int32_t AktiveFrontplatte = 0;  // the page number whose elements are shown
    QMenu* PagePopup = nullptr;     // context menu of edit mode
    QTabBar* PageTabs = nullptr;    // the window's tabs; root page only
    bool CanMoveToOtherPage = false;
    // "Properties..." with nothing selected; the window sets it on the root page.
    std::function<void()> OnPageProperties;
    // The window was resized: the next mouse move refreshes transparency.
    bool TransparencyPending = false;
    // The rubber band being dragged (page coordinates, corners as dragged) and whether shown.
    QRect RubberBand;
    bool RubberBandShown = false;
    bool SelectionMoved = false;

    // Set by the window when it leaves run mode: the next mouse-up repaints the page.
    static bool RepaintAfterRunMode;

    // The visibility flag of the page (published property "isVisible"; QWidget has a method
    // of that name, hence the accessor).
    bool GetisVisible() const { return m_isVisible; }
    void SetisVisible(bool visible);
    void SetisEditing(bool editing);
    void SetAktiveFrontplatte(int32_t page);

    // --- Elements and z-order (Design.cpp) ------------------------------------------------
    // A new element of the class registered under className as the last element; throws
    // EClassNotFound for a name that is not registered (nothing is added then).
    TFP_Element* AddElement(const QString& className);
    void DeleteElement(TFP_Element* element);
    int IndexOfElement(const TFP_Element* element) const;
    void DeleteDecorElements();
    void RestoreZOrder();
    void RenumberElements();
    // Brings transparent elements up to date (also those of nested pages).
    void RefreshTransparency(QObject* sender = nullptr);
    // Deselects all, then the rectangle around every element; (0, 0, 0, 0) for none.
    TRect GetElementsBounds();
    void MoveSelectionToPage(int32_t page);
    // "Frontplatte " + (number of tabs + 1), by the language.
    QString GetPageCaption() const;
    // True when every element is a page that itself holds only pages (an empty page too).
    static bool ContainsOnlyDesigns(const TDesign* page);
    static bool IsDecorElement(const TFP_Element* element);
    // Parks the elements of other page numbers and brings those of page n onto the page.
    void ShowPage(int32_t page);
    // An element's rectangle on the page (its frame's inner place when it is selected).
    QRect ElementRect(const TFP_Element* element) const;
    // The parent of elements that are not on the shown page number.
    QWidget* ParkingPanel();

    // --- Element stream (DesignStream.cpp) ------------------------------------------------
    // One element's Left, Top and data; nothing for an element not on the page.
    void ReadElement(TFP_Element* element, TReader& reader, uint8_t version);
    // Returns the element's index, -1 when it is not on the page.
    int WriteElement(TFP_Element* element, TWriter& writer);
    // The decor elements and the page's own appearance and web fields.
    void LoadElements(TReader& reader, uint8_t version);
    void SaveElements(TWriter& writer);
    // Copies one element's data into another of the same class (version 255).
    static void CopyElementData(TFP_Element& from, TFP_Element& to);

    // --- Selection, moving, aligning (DesignSelection.cpp) --------------------------------
    void SelectElement(int index);
    bool IsSelected(const TFP_Element* element) const;
    TSizer* SizerOf(const TFP_Element* element) const;
    // Removes frame i, or every frame for -1. `deferred`: the frames are freed later (inside
    // a frame's own mouse handler).
    void Deselect(int index, bool deferred = false);
    void DeselectElement(TFP_Element* element, bool deferred = false);
    // The selected elements in the order of selection.
    std::vector<TFP_Element*> SelectedElements() const;
    // The topmost element whose rectangle (its frame's when selected) holds the point, edges
    // included; -1 when none.
    int ElementAt(QPoint p) const;
    // A frame reports a drag by its offset; every selected frame moves by it within the page.
    void MoveSelection(TSizer* sender);
    void MoveSelectionBy(int dx, int dy);
    void BeginMoveSelection(TSizer* sender = nullptr);
    void EndMoveSelection(TSizer* sender = nullptr);
    // t: 0 left, 1 right, 2 top, 3 bottom, 4 horizontal centre, 5 vertical centre.
    void AlignSelection(int t);
    void BringSelectionToFront();
    void SendSelectionToBack();
    // Pasted elements that would lie exactly on an element of their page number move right
    // and down together, a grid step (at least 8 pixels) at a time, until they hide none.
    void MoveSelectionOffCovered();
    // The frame messages: select the element under the cursor instead of the sender's (1 when
    // done), and deselect one element (Shift-click).
    int SelectUnderCursor(TSizer* sender, TFP_Element* element);
    void DeselectFromFrame(TSizer* sender, TFP_Element* element);

    // Mouse of the page (edit mode), p in page coordinates.
    void PageMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint p);
    void PageMouseMove(Qt::MouseButtons buttons, QPoint p);
    void PageMouseUp(Qt::MouseButton button, QPoint p);
    // Hint of the element under the point to the front-panel window (empty hides it).
    void ShowHoverHint(QPoint p);
    // The offset of the grid lines so that they run on through nested pages and frames.
    QPoint GridOffset() const;

    // --- Context menu (DesignMenu.cpp) ----------------------------------------------------
    void BuildPopupMenu();
    // Sets the enabled states and the entries of the page tabs before the menu shows.
    void PopupMenuPopup();
    // The menu's entries by their index (0 .. 16), and the entries added per opening.
    QAction* MenuEntry(int index) const;
    QAction* NewPageEntry() const { return m_newPageEntry; }
    QMenu* MovePageMenu() const { return m_movePageMenu; }
    void EditSelectionProperties();
    void EditSelectionFrame();
    void EditSelectionWeb();
    void DuplicateSelection();
    void DeleteSelection();
    // Adds a page tab captioned GetPageCaption, selects and shows it (root page).
    void AddPageTab();
    // Moves the selection to page n (a new tab when n equals the tab count) and shows it.
    void MoveSelectionToTab(int32_t page);

    // --- Overrides ------------------------------------------------------------------------
    void ApplyStartValue() override;
    void SimStopped() override;
    void HotkeyDown(uint16_t key, uint8_t shift) override;
    void HotkeyUp(uint16_t key, uint8_t shift) override;
    void SaveSettings(TIniFile& ini, const QString& path) override;
    bool LoadSettings(TIniFile& ini, const QString& path, bool checkOnly) override;
    bool MatchQualifiedName(const QString& path, const QString& name) override;
    bool IsPublished() const override;
    void SetFrontplattenNR(int32_t page) override;
    void Paint(TCanvas& canvas) override;

    // --- Web publishing (frontpanel/web/ElementWeb.cpp) -----------------------------------
    // The published elements of page n (every page for n < 0), in web sort order; with a
    // path only the detail page of the element of that web name.
    void WriteWebElements(int32_t page, const QString& path, QStringList& lines);
    void WriteWebElement(QStringList& lines) override;
    void WriteWebTitle(QStringList& lines) override;
    // Hands a browser request (raw query text) to the published elements it names, here
    // and in nested pages: action 12 submits each value, any other action goes to WebAction.
    void HandleWebRequest(const QString& request, int32_t action);
    void DispatchWebRequest(const QString& name, const QString& value, int32_t action);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // The path of the elements' settings sections.
    QString SettingsPath(const QString& path) const;
    void Forget(QObject* element);
    void UpdateSizeable();
    // Puts the element of frame i back onto the page and frees (or schedules freeing) the frame.
    void ReleaseFrame(size_t i, bool deferred);
    void WebRenumber(TFP_Element* edited);
    void AskCopyToSelection(TFP_Element* source);
    void ClearTabEntries();

    bool m_isVisible = true;
    bool m_rubberStarted = false;   // a left button went down on empty space
    QWidget* m_parking = nullptr;   // parking place when the window's hidden panel is absent
    std::vector<QAction*> m_entries;
    QAction* m_newPageEntry = nullptr;
    QMenu* m_movePageMenu = nullptr;
};

// The file name without folder and extension, in capitals.
QString UpperFileTitle(const QString& fileName);
