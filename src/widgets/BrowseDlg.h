#pragma once
// The browse-for-folder dialog: a non-visual component that shows Qt's directory dialog inside a
// window of its own with a caption above and a status line below, and gives back the chosen
// folder's path and display name. The start folder is one of the system's special folders (on
// this system the matching standard location, or the whole file system). Browsing for computers
// has no counterpart here: that option shows a host text field instead, whose text becomes the
// display name.

#include "widgets/WLXObject.h"

#include <QDialog>
#include <QPointer>
#include <cstdint>
#include <functional>

class QFileDialog;
class QLabel;
class QLineEdit;
class QWidget;

// Stored in form data: keep the order.
enum class TWLXSystemFolders : uint8_t {
    bfoDesktop, bfoDesktopExpanded, bfoPrograms, bfoControlPanel, bfoPrinters, bfoPersonal,
    bfoFavorites, bfoStartup, bfoRecent, bfoSendto, bfoRecycleBin, bfoStartMenu,
    bfoDesktopDirectory, bfoMyComputer, bfoNetwork, bfoNetworkNeighborhood, bfoInternet,
    bfoFonts, bfoTemplates, bfoCommonStartMenu, bfoCommonPrograms, bfoCommonStartup,
    bfoCommonDesktopDirectory, bfoAppData, bfoPrintHood, bfoAltStartup, bfoCommonAltstartup,
    bfoCommonFavorites, bfoInternetChache, bfoCookies, bfoHistory, bfoProfile, bfoConnections,
    bfoCommonMusic, bfoCommonPictures, bfoCommonVideos, bfoCDBurnArea, bfpProfiles
};

// A 16-bit set of options: bit n is option n.
enum TWLXBrowseDlgOption : uint16_t {
    doBrowseForComputer = 1 << 0,
    doBrowseForPrinter = 1 << 1,
    doDontGoBelowDomain = 1 << 2,
    doReturnFileSysAncestors = 1 << 3,
    doReturnFileSysDirs = 1 << 4,
    doStatusText = 1 << 5,      // a status line
    doShowFiles = 1 << 6,       // files are listed too
    doAllowEdit = 1 << 7,       // an edit box for the folder's name
    doShowPath = 1 << 8,        // the status text follows the selection
    doEnableOK = 1 << 9,        // OK is enabled when the dialog opens
    doNewGUI = 1 << 10,         // with a button for a new folder
    doNewGUINoNewFolderBtn = 1 << 11,
};
using TWLXBrowseDlgOptions = uint16_t;

enum class TWLXDlgPosRel : uint8_t { brActiveWindow, brMainForm, brScreen, brScreenWorkArea };
enum class TWLXDlgPosition : uint8_t { bpDefault, bpCenter, bpTopLeft, bpTopRight, bpBottomLeft, bpBottomRight };

// The folder a special folder stands for here; empty when it names none (the whole file system).
QString SpecialFolderPath(TWLXSystemFolders folder);

class TWLXBrowseDlg;

// The dialog window while it is open.
class TBrowseFolderWindow : public QDialog {
public:
    TBrowseFolderWindow(TWLXBrowseDlg& owner, QWidget* parent);

    QLabel* CaptionLabel;
    QFileDialog* Folders = nullptr;    // none while browsing for a computer
    QLineEdit* HostEdit = nullptr;     // only while browsing for a computer
    QLabel* StatusLabel;

    void SelectFolder(const QString& path);
    // The chosen item: path (empty for a computer) and display name.
    QString ChosenPath() const;
    QString ChosenName() const;

private:
    TWLXBrowseDlg& m_owner;
};

using TWLXBrowseDlgEditValidateEvent = std::function<void(void* sender, const QString& path, bool& cancel)>;
using TWLXBrowseDlgSelectionChangeEvent = std::function<void(void* sender, QWidget* dialog, const QString& path)>;

class TWLXBrowseDlg : public TWLXCustomComponent {
public:
    explicit TWLXBrowseDlg(QWidget* owner = nullptr);

    QString SelectedFolder() const { return m_selectedFolder; }
    void SetSelectedFolder(const QString& value);
    QString DisplayName() const { return m_displayName; }
    QString Caption;        // above the folders
    QString CaptionTitle;   // of the window
    QString StatusText() const { return m_statusText; }
    void SetStatusText(const QString& value);
    TWLXBrowseDlgOptions Options = doReturnFileSysDirs | doShowPath;
    TWLXSystemFolders StartFolder = TWLXSystemFolders::bfoDesktopExpanded;
    TWLXDlgPosRel RelatePos = TWLXDlgPosRel::brActiveWindow;
    TWLXDlgPosition Position = TWLXDlgPosition::bpCenter;
    // The open dialog's window; nullptr when none is open.
    QWidget* DialogWindow() const { return m_window; }

    TNotifyEvent OnInit;
    TWLXBrowseDlgEditValidateEvent OnValidate;
    TWLXBrowseDlgSelectionChangeEvent OnSelectionChanged;

    // With the owner as parent, else the application's active window. True when the user
    // confirmed a choice; a cancelled dialog leaves SelectedFolder and DisplayName alone.
    bool Execute();
    bool ExecuteWithParent(QWidget* parent);

private:
    friend class TBrowseFolderWindow;
    void SelectionChanged(const QString& path);
    // A typed name that names no folder: true keeps the dialog open.
    bool ValidateFailed(const QString& typed);

    QWidget* m_owner;
    QString m_selectedFolder, m_displayName, m_statusText;
    QPointer<TBrowseFolderWindow> m_window;
};
