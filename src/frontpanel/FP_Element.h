#pragma once
// Base class of every control and display on a front-panel page (switches, meters, LEDs,
// recorders, labels, and the page itself). An element is a child widget of its page: it draws
// a frame (border and two bevels) in its frame colour, fills the inside with its background
// colour, and leaves everything unpainted when it is transparent, so that whatever lies
// beneath it shows through. The base also holds the common element data of the project
// stream, the cascade placement of new elements, the element's hotkeys, the frame-and-
// background dialog, the settings protocol and the hooks of a run's start and stop.

#include "platform/Types.h"

#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QComboBox;
class TCanvas;
class TDesign;
class THotkey;
class TIniFile;
class TIOBauteil;
class TReader;
class TWriter;

// --- Front-panel wide state ----------------------------------------------------------------
// Owned by the front-panel window; declared here because every element reads it. Tests call
// ResetFrontPanelState() in SetUp.
struct TFrontPanelState {
    int32_t DesignPanelColor = 14215660;  // front-panel colour (0xD8E9EC)
    int32_t FPGrid = 16;                  // snapping step of the selection frames; 1 = none
    bool FPGridVisible = false;           // grid lines drawn on pages in edit mode
    int32_t FPGridColor = 0x808080;
    QPoint CascadePoint{32, 32};          // where the next new element is placed
    QString RootDesignName;
    // Parent of the elements that are not on the shown page number (never visible).
    QWidget* HiddenPanel = nullptr;
    // The project's "modified" flag, kept by the application core. Unset: never modified.
    std::function<bool()> GetProjectModified;
    std::function<void(bool)> SetProjectModified;
    // Called before elements are deleted or duplicated, and on a mouse-down while the project
    // is modified.
    std::function<void()> OnDeleteSelection;
};
TFrontPanelState& FPState();
void ResetFrontPanelState();

// Bevel codes of the frame (stored as these numbers).
enum TBevelCut : int32_t { bvNone = 0, bvLowered = 1, bvRaised = 2 };

// Gives an element class its class name (the name it is registered and stored under). Place
// it in the public section of the class body.
#define FP_CLASS_NAME(Class)                                                                   \
    static constexpr const char* StaticClassName() { return #Class; }                          \
    const char* ClassName() const override { return #Class; }

class TFP_Element : public QWidget {
public:
    static constexpr const char* StaticClassName() { return "TFP_Element"; }
    virtual const char* ClassName() const { return "TFP_Element"; }

    // Creates the element with `owner` as its parent widget, placed at the cascade point.
    explicit TFP_Element(QWidget* owner = nullptr);
    // Frees the hotkeys and clears the linked component's pointer to this element.
    ~TFP_Element() override;

    // Runs once after the whole constructor chain (the registry calls it), when virtual calls
    // reach the final class. Base: nothing.
    virtual void AfterConstruction() {}

    // --- Fields ---------------------------------------------------------------------------
    bool userEdit = false;             // on a page in edit mode: dialogs open, "Zur Laufzeit..." row
    QString ElementName;               // designator prefix + number (S3); empty for decor
    QString QualifiedName;             // path + "." + ElementName (MatchQualifiedName)
    int32_t ElementIndex = 0;          // 1-based z-order position on the page
    bool LaufzeitEinstellbar = false;  // properties open by double-click during a run
    bool ColorFromPanel = true;        // frame colour follows DesignPanelColor
    bool BackgroundFromPanel = false;  // background follows DesignPanelColor
    TDesign* OwnerDesign = nullptr;    // the page whose element this is (not owned)
    TIOBauteil* Component = nullptr;   // the owning circuit component (not owned); nullptr for decor
    QString Hint;                      // the element's hint text
    bool ShowHint = true;              // the hint shows as a tool tip

    // Frame: border width, bevel width, inner and outer bevel; frame and background colours.
    int32_t BorderWidth = 0;
    int32_t BevelWidth = 1;
    TBevelCut BevelInner = bvNone;
    TBevelCut BevelOuter = bvNone;
    int32_t Color = 14215660;          // frame colour (the panel's colour)
    int32_t HintergrundFarbe = 14215660;  // background colour (write with SetHintergrundFarbe)
    int32_t FontColor = 0;             // colour of the element's font

    int32_t FrontplattenNR = 0;        // page (tab) number, from 0 (write with SetFrontplattenNR)

    // The element's hotkeys; each element class adds a fixed number in its constructor.
    std::vector<std::unique_ptr<THotkey>> Hotkeys;

    // Web publishing.
    bool WebPublish = true;
    bool WebShowTitle = true;
    int32_t WebSortOrder = 0;
    QStringList WebHeadLines;
    QStringList WebFootLines;

    // --- Virtual operations ---------------------------------------------------------------
    // The common element data; element classes write/read these first, then their own.
    // `version` is the project's format version, or 255 for a copy between two elements of
    // one class.
    virtual void WriteElementData(TWriter& writer);
    virtual void ReadElementData(TReader& reader, uint8_t version);
    // The element's settings dialog; returns the modal result (base: nothing, 0).
    virtual int EditProperties();
    // Appends the "Web" rows to the shared settings dialog and sets its caption to the hint.
    virtual void AddWebProperties();
    // Shows the shared settings dialog (help context 48100); ApplyProperties on OK.
    virtual int ShowPropertyDialog();
    virtual void ApplyProperties();
    // The frame-and-background dialog.
    virtual void EditFrameAndBackground();
    // Refreshes what a transparent element shows of the page beneath it.
    virtual void GrabBackground();
    virtual void SetBisteTransparent(bool transparent);
    virtual bool GetBisteTransparent() const;
    // Puts an input element into its configured start state (base: nothing).
    virtual void ApplyStartValue();
    // End-of-run hook (base: nothing).
    virtual void SimStopped();
    // Whether the selection frame may change the width / the height.
    virtual bool GetBisteHSkalierbar() const;
    virtual bool GetBisteVSkalierbar() const;
    virtual void SetFrontplattenNR(int32_t page);
    // Element states in INI files, section path + "." + ElementName (base: no keys).
    virtual void SaveSettings(TIniFile& ini, const QString& path);
    virtual bool LoadSettings(TIniFile& ini, const QString& path, bool checkOnly);
    // QualifiedName := path + "." + ElementName; true when it equals name exactly.
    virtual bool MatchQualifiedName(const QString& path, const QString& name);
    // Width-to-height ratio that sizing keeps (inside the frame); 0 = free.
    virtual Extended AspectRatio() const;
    // When different: store, repaint, and take it as the frame colour too.
    virtual void SetHintergrundFarbe(int32_t color);
    // Keys of the run mode, passed to every hotkey.
    virtual void HotkeyDown(uint16_t key, uint8_t shift);
    virtual void HotkeyUp(uint16_t key, uint8_t shift);

    // Web publishing (the web link fills these in; base blocks are empty).
    virtual void WriteWebPage(QStringList& lines);
    virtual void WriteWebElement(QStringList& lines);
    virtual void WriteWebSnapshot(QStringList& lines);
    virtual void WriteWebTitle(QStringList& lines);
    virtual void WriteWebImageMap(QStringList& lines);
    virtual void WebAction(int32_t action);
    virtual void WebSubmit(const QString& value);
    // Paints the element and its children into the image at (0, 0); a transparent element
    // brings the page beneath it along. The image is sized to the element.
    virtual void PaintToBitmap(QImage& bitmap);
    // Whether the element is shown on the published page (base: WebPublish).
    virtual bool IsPublished() const;

    // --- Web publishing helpers for element classes (frontpanel/web/ElementWeb.cpp) --------
    // QualifiedName without any "<root page name>." in it: the element's name on the web.
    QString GetRelativeName() const;
    // Paints the element and saves the picture as its JPEG file (nothing without a data
    // folder); false when the file could not be written.
    bool SaveSnapshot();
    // "ClientNo=..&FPLNo=..&Control=<web name>&Action=<action>" and its HREF attribute.
    QString WebActionQuery(int32_t action) const;
    QString WebActionHref(int32_t action) const;
    // A picture that links to an action of the element.
    QString WriteWebImageLink(const QString& picture, const QString& text, int32_t action) const;
    // Areas of an image map that link to actions of the element.
    QString WriteWebAreaRect(int32_t action, const QRect& rect, const QString& text) const;
    QString WriteWebAreaPoly(int32_t action, const QPoint (&points)[3], const QString& text) const;
    // The control's rectangle in the element's client coordinates.
    QRect ControlRectInElement(const QWidget* control) const;
    // A drop-down form field of the list's items, the selected one marked; option values
    // are prefix + index.
    void WriteWebClientSelect(QStringList& lines, const QComboBox* list, QChar prefix) const;
    // The form field name of the element: "Client<n>.FPL<page>.<web name>".
    QString WebFieldName() const;

    // Paints the element: frame and background (nothing for a transparent element). Element
    // classes paint their face after calling the base.
    virtual void Paint(TCanvas& canvas);

    // --- Non-virtual operations -----------------------------------------------------------
    // Whether the element takes mouse and keyboard input. A page in edit mode switches its
    // elements off: they ignore the mouse (it reaches the page or the selection frame beneath)
    // but still paint normally, not greyed.
    void SetElementEnabled(bool enabled);
    bool ElementEnabled() const { return m_elementEnabled; }

    // Adds one hotkey to Hotkeys and returns it.
    THotkey& AddHotkey();

    // Border width, plus the bevel width per bevel that is not none.
    int32_t FrameWidth() const;
    // Width := round(AspectRatio x (Height - 2 FrameWidth)) + 2 FrameWidth when the ratio is
    // above 0.
    void ApplyAspectRatio();
    // The small red focus triangle in the top-left corner.
    void DrawFocusMark(TCanvas& canvas);
    // Published when IsPublished, or when it would be with WebPublish set.
    bool CanPublish();
    // Double-click: EditProperties when userEdit or LaufzeitEinstellbar, then repaint.
    void DblClickEdit();
    // Click: takes the keyboard focus when enabled and visible.
    void ClickFocus();

    // Places the element at the cascade point and advances it.
    void PlaceAtCascadePoint();
    static void AdvanceCascade();

    // General number format: 8 significant digits, exponent of at least 4 digits, the
    // locale's decimal separator.
    static QString FloatToText(Extended x);
    // The first "," becomes "."; a text that is no number gives 0.
    static Extended TextToFloat(const QString& text);

    // Font heights the way the project stores them: negative = character height in pixels,
    // positive = cell height in pixels.
    static int32_t FontHeightOf(const QFont& font);
    static void SetFontHeight(QFont& font, int32_t height);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool event(QEvent* event) override;

    // Paints the panel's frame (outer bevel, border in Color, inner bevel) and fills the rest
    // with Color.
    void PaintPanelFrame(TCanvas& canvas);

    // Parts of the element data that the page's own record stores too: the frame (border,
    // bevels, colours) and the web fields (before version 43 only the sort order, taken from
    // ElementIndex).
    void WriteFrameData(TWriter& writer);
    void ReadFrameData(TReader& reader);
    void WriteWebData(TWriter& writer);
    void ReadWebData(TReader& reader, uint8_t version);

private:
    bool m_transparent = false;
    bool m_elementEnabled = true;
};

// Constructs an element and completes it with AfterConstruction.
template <class T>
T* NewElement(QWidget* owner)
{
    T* element = new T(owner);
    element->AfterConstruction();
    return element;
}
