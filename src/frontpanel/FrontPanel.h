#pragma once
// The front-panel window: one root page shown through a row of page tabs, an edit mode in
// which the user arranges elements (grid, nudge and align buttons in the status bar) and a run
// mode in which the elements work and a configurable tool bar offers settings files, print,
// copy, help and configuration. It shows the hint box, activates pages on request (and prints
// them), forwards the keys of the run mode to the elements' hotkeys, and holds the front
// panel's options that the project stores.

#include "frontpanel/FrontPanelRecord.h"

#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <cstdint>
#include <functional>

class QMenu;
class QAction;
class QPainter;
class QPrinter;
class QTabBar;
class QTimer;
class QToolButton;
class TDesign;
class TFrontPanelHooks;
class TIniFile;
class TReader;
class TScrollBoxEx;
class TWLXSpeedButton;
class TWebLink;
class TWriter;

// Border styles of the window by mode.
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsToolWindow, bsSizeToolWin };

struct TBorderStyle {
    TFormBorderStyle Style = bsSizeable;
    bool MinMaxButtons = true;  // minimize and maximize buttons in the caption
};

// The multi-line hint box of the front panel (and of the main window).
class THintBox : public QWidget {
public:
    explicit THintBox(QWidget* owner = nullptr);

    QString Text;  // the text shown

    // Takes a new text: one line per CR (a single CR at the very end is dropped) and sizes
    // the box to the lines. The same text again changes nothing.
    void ShowText(const QString& text);
    QStringList Lines() const;
    // Shows a text above a cursor point of the owner window, moved left so that it ends 10
    // pixels before the owner's right edge; an empty text hides the box.
    void ShowNear(const QString& text, QPoint cursor);

protected:
    void paintEvent(QPaintEvent* event) override;
};

class TFrontplatte : public QWidget {
public:
    explicit TFrontplatte(QWidget* parent = nullptr);
    ~TFrontplatte() override;

    // --- Parts of the window ----------------------------------------------------------------
    QWidget* NewToolPanel = nullptr;    // top strip: tabs and tool bar
    QTabBar* TabControl1 = nullptr;
    QWidget* ToolBar1 = nullptr;
    QToolButton* OpenBtn = nullptr;
    QToolButton* SaveBtn = nullptr;
    QToolButton* PrintBtn = nullptr;
    QToolButton* CopyBtn = nullptr;
    QToolButton* InternalBtn = nullptr;
    QToolButton* HWBtn = nullptr;
    QToolButton* DlgBtn = nullptr;
    QToolButton* HintBtn = nullptr;     // a check button
    QToolButton* HelpBtn = nullptr;
    TScrollBoxEx* ScrollBox = nullptr;  // holds the shown page and the hint box
    QWidget* Statusbar = nullptr;       // edit mode: grid, nudge and align buttons
    QToolButton* SB_Raster = nullptr;   // snapping on/off
    QToolButton* SB_R4 = nullptr;
    QToolButton* SB_R8 = nullptr;
    QToolButton* SB_R16 = nullptr;
    QToolButton* SB_R32 = nullptr;
    QToolButton* SB_ZeichneRaster = nullptr;  // grid shown
    QToolButton* SB_Left = nullptr;
    QToolButton* SB_Up = nullptr;
    QToolButton* SB_Down = nullptr;
    QToolButton* SB_Right = nullptr;
    QToolButton* ar_Links_Btn = nullptr;
    QToolButton* ar_Rechts_Btn = nullptr;
    QToolButton* ar_Oben_Btn = nullptr;
    QToolButton* ar_Unten_Btn = nullptr;
    QToolButton* SpeedButton3 = nullptr;  // horizontal centres
    QToolButton* SpeedButton4 = nullptr;  // vertical centres
    TWLXSpeedButton* GridColorBtn = nullptr;  // its face shows the grid colour
    QWidget* Panel1 = nullptr;
    QWidget* HiddenPanel = nullptr;     // parent of the elements of other page numbers
    QMenu* FPopup = nullptr;            // the tabs' context menu
    QAction* Umbenennen = nullptr;
    QAction* Nachlinks1 = nullptr;
    QAction* Nachrechts1 = nullptr;
    QAction* NeueFrontplatte1 = nullptr;
    QAction* Lschen1 = nullptr;
    QTimer* Timer1 = nullptr;           // tool-strip visibility, every second
    THintBox* HintBox = nullptr;

    // --- State ------------------------------------------------------------------------------
    TDesign* RootDesign = nullptr;      // owned
    TDesign* ActiveDesign = nullptr;    // the page the window works on
    TDesign* ShownDesign = nullptr;     // the page placed in the scroll box now
    bool RunMode = false;
    QString Title;
    QRect SavedBounds;                  // restored when leaving run mode (unless AutoSave)
    QString IconFile;
    QString HelpFile;
    TFrontPanelOptions Options;
    int32_t ToolbarMode = 0;            // 0 open, 1 auto, 2 closed
    int32_t PublishMode = 0;            // 0 never, 1 only at run time, 2 always
    TPanelPrintSettings Print;
    int32_t TokenMisses = 25;
    QString WebServerPath;
    int32_t WebRefreshSeconds = 5;
    bool ShowHints = true;              // the window's hint display
    QString OpenDialogFileName;         // the file of the last settings load
    bool JustShown = false;
    bool TabMenuAttached = false;       // the tabs' context menu (edit mode only)

    // --- Hooks of the application core -------------------------------------------------------
    std::function<void()> StopHook;       // Esc, closing during a run
    std::function<void()> StartHook;      // F9
    std::function<void()> CloseHook;      // close request in compiled-program mode
    std::function<void()> HardwareHook;   // HWBtn, F6
    std::function<void()> AppConfigHook;  // InternalBtn
    std::function<QString()> ProjectFileNameHook;  // the project's file name (empty: unsaved)
    // The hot-key receiver components of the circuit.
    std::function<void(uint16_t key, uint8_t shift)> HotkeyReceiversDown;
    std::function<void(uint16_t key)> HotkeyReceiversUp;
    // Called with every printer after the window configured it and before it prints (a test
    // points the printer at a PDF file here).
    std::function<void(QPrinter& printer)> OnSetupPrinter;

    // --- Pages and modes (FrontPanel.cpp) ----------------------------------------------------
    void DeleteAllElements();
    void ActivateDesign(TDesign* page);
    void SetDesignEditing(bool edit, TDesign* page);
    void TabControl1Change();
    void SetRunMode(bool run);
    void ApplyModeLayout();
    // The border of the current mode.
    TBorderStyle BorderStyleForMode() const;
    TBorderStyle CurrentBorderStyle() const { return m_border; }
    bool ToolbarHasButtons() const;
    bool EditLayout() const;  // not RunMode and not RuntimeMode
    // Adds tabs until every element of the root page has one for its page number (addTabs),
    // within a fixed most; an element beyond the tabs goes to the last tab. Waits while a
    // project is read.
    void CheckeFrontplattenNummern(bool addTabs = true);
    // While a project is read its tabs come from its window record, and the elements' pages
    // are checked against them afterwards: no file makes tabs that it does not hold.
    bool ReadingProject = false;
    void NeueFrontplatte1Click();
    void Lschen1Click();
    void Nachlinks1Click();
    void Nachrechts1Click();
    void FPopupPopup();
    // Page activation request (message 0x47B): bits 0..11 the page from 1, bit 12 print.
    void ActivatePageRequest(uint32_t lParam);
    // Hint text request (message 0x410): an empty text hides the box. The box goes near the
    // mouse cursor (given in window coordinates by the second form).
    void HintMessage(const QString& text);
    void HintMessage(const QString& text, QPoint cursor);
    // Grid and nudging.
    void SetRaster(int grid);
    void SB_RasterClick();
    void SB_ZeichneRasterClick();
    void GridColorBtnClick();
    // The grid colour button shows color.
    void ShowGridColor(int32_t color);
    void SB_CursorClick(int tag);
    void AlignClick(int tag);
    // Keys (the window sees every key first).
    void FormKeyDown(uint16_t key, uint8_t shift);
    void FormKeyUp(uint16_t key, uint8_t shift);
    // The tool strip's and status bar's heights by ToolbarMode and the pointer.
    void Timer1Timer();
    void ToolStripPointerEntered();
    void StatusbarPointerMoved();
    void SetToolStripHeight(int height);
    void SetStatusbarHeight(int height);
    void HelpBtnClick();
    void HintBtnClick();
    void SetIcon(const QString& file);
    void ApplyLanguage();
    // The web-server link (a later addition): start, stop, publish mode.
    void StartWebServer();
    void StopWebServer();
    void SetPublishMode(int32_t mode);
    // A page mismatch token: counts down TokenMisses, and past it stops the link.
    void CheckToken(const QString& line);
    // The published page n (frontpanel/web/ElementWeb.cpp): nothing with PublishMode 0; the
    // page head, then the page's elements (only the detail page of `path` when one is given).
    void BuildWebPage(int32_t page, const QString& path, QStringList& lines);
    void WritePageHead(int32_t page, QStringList& lines);
    TWebLink* WebLink() const { return m_webLink; }

    // --- Properties dialog (FrontPanelSetup.cpp) ---------------------------------------------
    void SetupBtnClick();

    // --- Picture, clipboard, printing (FrontPanelPrint.cpp) ----------------------------------
    // The window's picture with the tool strip closed and the hidden panel out of the way.
    QImage CapturePanelImage();
    void CopyBtnClick();
    void PrintBtnClick();
    // The preview (print settings), then printing on request.
    void PrintPanel(const QImage& image);
    // Prints the picture with the stored settings, without a preview; false when nothing
    // could be printed (the user was told).
    bool PrintDirect(const QImage& image);
    // Draws the print page: on the printer (paintRect the page) or in the preview.
    void DrawPrintPage(QPainter& painter, const QImage& image, const QRect& paintRect,
                       bool onPrinter);

    // --- Window record and settings files (FrontPanelRecord.cpp) -----------------------------
    void WritePanelData(TWriter& writer);
    void ReadPanelData(TReader& reader, uint8_t version);
    void WriteWindowOptions(TIniFile& ini);
    void ReadWindowOptions(TIniFile& ini);
    void SaveBtnClick();
    void OpenBtnClick();
    // Saves the options and element states into a settings file; false when it could not be
    // written (the user was told).
    bool SaveEstFile(const QString& fileName);
    void LoadEstFile(const QString& fileName);
    bool SaveDefaultSettings(const QString& projectFile);
    void LoadDefaultSettings(const QString& projectFile);
    bool SaveDefaultWindowOptions(const QString& projectFile);
    // The front panel's part of a run's start and stop: the bounds to return to, and with
    // AutoSave the states from and to the state file, else the elements' start values.
    void RunStarting(const QString& projectFile);
    void RunStopped(const QString& projectFile);
    // 0 normal, 1 minimized, 2 maximized.
    int32_t WindowStateCode() const;
    void SetWindowStateCode(int32_t code);
    // Sets the bounds also when the current border fixes the size. Bounds are the window's
    // position with its frame and the size of its client area, as stored in projects.
    void SetWindowBounds(const QRect& bounds);
    QRect WindowBounds() const;
    // Shows the window in front, also when it was minimised.
    void BringToFront();
    QString ProjectFileName() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void BuildToolStrip();
    void BuildStatusbar();
    void BuildTabMenu();
    void ApplyBorderStyle(const TBorderStyle& border);
    void MoveTabPage(int from, int to);
    void ShowPageInScrollBox(TDesign* page);
    void RestoreShownPage();

    QWidget* m_shownParent = nullptr;
    QRect m_shownBounds;
    TBorderStyle m_border;
    TWebLink* m_webLink = nullptr;  // owned; exists while the link is up
};

// The front-panel window of the program (nullptr before it is created). Other parts reach
// it here, e.g. the page-activation component with ActivatePageRequest.
TFrontplatte* Frontplatte();

// The core's front-panel hooks answered by the front panel's pages and elements, installed by
// the composition at start-up. The web link goes to the window of Frontplatte() and does
// nothing without one.
TFrontPanelHooks& DesignBoardHooks();
