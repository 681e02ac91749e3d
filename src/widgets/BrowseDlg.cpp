#include "widgets/BrowseDlg.h"

#include "platform/Context.h"
#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"
#include "widgets/WLXBase.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

// ---- paths ---------------------------------------------------------------------------------

QString SpecialFolderPath(TWLXSystemFolders folder)
{
    using F = TWLXSystemFolders;
    auto at = [](QStandardPaths::StandardLocation l) { return QStandardPaths::writableLocation(l); };
    switch (folder) {
    case F::bfoDesktop:
    case F::bfoDesktopDirectory:
    case F::bfoCommonDesktopDirectory: return at(QStandardPaths::DesktopLocation);
    case F::bfoPersonal: return at(QStandardPaths::DocumentsLocation);
    case F::bfoAppData: return at(QStandardPaths::GenericConfigLocation);
    case F::bfoFonts: return at(QStandardPaths::FontsLocation);
    case F::bfoInternetChache: return at(QStandardPaths::GenericCacheLocation);
    case F::bfoProfile: return at(QStandardPaths::HomeLocation);
    case F::bfpProfiles: return QFileInfo(at(QStandardPaths::HomeLocation)).absolutePath();
    case F::bfoCommonMusic: return at(QStandardPaths::MusicLocation);
    case F::bfoCommonPictures: return at(QStandardPaths::PicturesLocation);
    case F::bfoCommonVideos: return at(QStandardPaths::MoviesLocation);
    case F::bfoTemplates: return at(QStandardPaths::HomeLocation) + QStringLiteral("/Templates");
    default: return QString();
    }
}

// ---- the window ----------------------------------------------------------------------------

namespace {

// Qt's directory dialog as a part of the window; a typed name that names no folder goes to the
// component's validation first.
class TFolderView : public QFileDialog {
public:
    TFolderView(QWidget* parent, std::function<bool(const QString&)> keepOpen)
        : QFileDialog(parent)
        , m_keepOpen(std::move(keepOpen))
    {
    }
    void accept() override
    {
        const QString chosen = selectedFiles().value(0);
        if (!chosen.isEmpty() && !QFileInfo(chosen).isDir()) {
            if (m_keepOpen(chosen))
                return;
            done(QDialog::Accepted);
            return;
        }
        QFileDialog::accept();
    }

private:
    std::function<bool(const QString&)> m_keepOpen;
};

} // namespace

TBrowseFolderWindow::TBrowseFolderWindow(TWLXBrowseDlg& owner, QWidget* parent)
    : QDialog(parent)
    , m_owner(owner)
{
    setObjectName(QStringLiteral("BrowseFolderWindow"));
    const TWLXBrowseDlgOptions options = owner.Options;
    setWindowTitle(!owner.CaptionTitle.isEmpty() ? owner.CaptionTitle
                   : (options & doBrowseForComputer)
                       ? Lang3Q("Computer suchen", "Browse for computer", "Rechercher un ordinateur")
                       : Lang3Q("Ordner suchen", "Browse for folder", "Rechercher un dossier"));
    auto* layout = new QVBoxLayout(this);
    CaptionLabel = new QLabel(owner.Caption, this);
    CaptionLabel->setWordWrap(true);
    CaptionLabel->setVisible(!owner.Caption.isEmpty());
    layout->addWidget(CaptionLabel);

    if (options & doBrowseForComputer) {
        auto* label = new QLabel(Lang3Q("Name oder Adresse des Computers:", "Name or address of the computer:",
                                        "Nom ou adresse de l'ordinateur :"), this);
        HostEdit = new QLineEdit(this);
        HostEdit->setObjectName(QStringLiteral("HostEdit"));
        label->setBuddy(HostEdit);
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
        buttons->button(QDialogButtonBox::Cancel)->setText(Lang3Q("Abbrechen", "Cancel", "Annuler"));
        QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
        ok->setEnabled(options & doEnableOK);
        connect(HostEdit, &QLineEdit::textChanged, this, [this, ok](const QString& text) {
            ok->setEnabled(!text.trimmed().isEmpty());
            m_owner.SelectionChanged(QString());
        });
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        layout->addWidget(label);
        layout->addWidget(HostEdit);
        StatusLabel = new QLabel(this);
        layout->addWidget(StatusLabel);
        layout->addWidget(buttons);
        resize(360, 10);
    } else {
        auto* view = new TFolderView(this, [this](const QString& typed) { return m_owner.ValidateFailed(typed); });
        Folders = view;
        view->setObjectName(QStringLiteral("Folders"));
        view->setWindowFlags(Qt::Widget);
        view->setOption(QFileDialog::DontUseNativeDialog, true);
        view->setFileMode(QFileDialog::Directory);
        view->setOption(QFileDialog::ShowDirsOnly, !(options & doShowFiles));
        view->setLabelText(QFileDialog::LookIn, Lang3Q("Suchen in:", "Look in:", "Regarder dans :"));
        view->setLabelText(QFileDialog::FileName, Lang3Q("Ordner:", "Folder:", "Dossier :"));
        view->setLabelText(QFileDialog::FileType, Lang3Q("Typ:", "Type:", "Type :"));
        view->setLabelText(QFileDialog::Accept, QStringLiteral("OK"));
        view->setLabelText(QFileDialog::Reject, Lang3Q("Abbrechen", "Cancel", "Annuler"));
        // A list of names: the detail columns and the side bar's places would speak Qt's English.
        view->setViewMode(QFileDialog::List);
        for (const char* name : {"listModeButton", "detailModeButton"})
            if (QWidget* w = view->findChild<QWidget*>(QLatin1String(name)))
                w->hide();
        view->setSidebarUrls({QUrl::fromLocalFile(QDir::homePath()), QUrl::fromLocalFile(QDir::rootPath())});
        const QString root = SpecialFolderPath(owner.StartFolder);
        view->setDirectory(root.isEmpty() ? QDir::homePath() : root);
        // The edit box only with its option; a new folder only in the newer style.
        for (const char* name : {"fileNameEdit", "fileNameLabel", "fileTypeCombo", "fileTypeLabel"})
            if (QWidget* w = view->findChild<QWidget*>(QLatin1String(name)))
                w->setVisible((options & doAllowEdit) && QByteArray(name).startsWith("fileName"));
        if (QWidget* w = view->findChild<QWidget*>(QStringLiteral("newFolderButton")))
            w->setVisible((options & doNewGUI) && !(options & doNewGUINoNewFolderBtn));
        if (auto* box = view->findChild<QDialogButtonBox*>())
            if (QPushButton* ok = box->button(QDialogButtonBox::Open))
                ok->setEnabled(options & doEnableOK);
        connect(view, &QFileDialog::currentChanged, this, [this](const QString& path) { m_owner.SelectionChanged(path); });
        connect(view, &QFileDialog::directoryEntered, this, [this](const QString& path) { m_owner.SelectionChanged(path); });
        connect(view, &QDialog::finished, this, [this](int result) { done(result); });
        layout->addWidget(view, 1);
        StatusLabel = new QLabel(this);
        layout->addWidget(StatusLabel);
        resize(560, 420);
    }
    StatusLabel->setObjectName(QStringLiteral("StatusLabel"));
    StatusLabel->setVisible(options & doStatusText);
}

void TBrowseFolderWindow::SelectFolder(const QString& path)
{
    if (HostEdit) {
        HostEdit->setText(path);
        return;
    }
    const QFileInfo info(path);
    if (info.isDir()) {
        Folders->setDirectory(info.absoluteFilePath());
        Folders->selectFile(info.absoluteFilePath());
    } else {
        Folders->setDirectory(info.absolutePath());
        Folders->selectFile(info.fileName());
    }
    m_owner.SelectionChanged(ChosenPath());
}

QString TBrowseFolderWindow::ChosenPath() const
{
    if (HostEdit)
        return QString();
    const QString chosen = Folders->selectedFiles().value(0);
    return chosen.isEmpty() ? Folders->directory().absolutePath() : QDir::cleanPath(chosen);
}

QString TBrowseFolderWindow::ChosenName() const
{
    if (HostEdit)
        return HostEdit->text().trimmed();
    const QString path = ChosenPath();
    const QString name = QFileInfo(path).fileName();
    return name.isEmpty() ? path : name;
}

// ---- the component -------------------------------------------------------------------------

TWLXBrowseDlg::TWLXBrowseDlg(QWidget* owner)
    : m_owner(owner)
{
}

void TWLXBrowseDlg::SetSelectedFolder(const QString& value)
{
    if (value == m_selectedFolder)
        return;
    m_selectedFolder = value;
    if (m_window)
        m_window->SelectFolder(value);
}

void TWLXBrowseDlg::SetStatusText(const QString& value)
{
    if (value == m_statusText)
        return;
    m_statusText = value;
    if (m_window)
        m_window->StatusLabel->setText(value);
}

void TWLXBrowseDlg::SelectionChanged(const QString& path)
{
    if (!(Options & doShowPath) && !OnSelectionChanged)
        return;
    if (Options & doShowPath)
        SetStatusText(CompactPath(QDir::toNativeSeparators(path), 40));
    if (OnSelectionChanged)
        OnSelectionChanged(this, m_window, path);
}

bool TWLXBrowseDlg::ValidateFailed(const QString& typed)
{
    bool cancel = false;
    if (OnValidate)
        OnValidate(this, typed, cancel);
    return cancel;
}

bool TWLXBrowseDlg::Execute()
{
    return ExecuteWithParent(m_owner ? m_owner : QApplication::activeWindow());
}

bool TWLXBrowseDlg::ExecuteWithParent(QWidget* parent)
{
    TBrowseFolderWindow window(*this, parent ? parent->window() : nullptr);
    m_window = &window;
    // Prepared: the caption, the status text and the preset folder.
    if (!m_statusText.isEmpty())
        window.StatusLabel->setText(m_statusText);
    if (!m_selectedFolder.isEmpty())
        window.SelectFolder(m_selectedFolder);
    if (OnInit)
        OnInit(this);
    const bool confirmed = ShowModal(window) == mrOk;
    QString path, name;
    if (confirmed) {
        path = window.ChosenPath();
        name = window.ChosenName();
    }
    m_window = nullptr;
    if (!confirmed || (name.isEmpty() && path.isEmpty()))
        return false;
    m_selectedFolder = path;
    m_displayName = name;
    return true;
}
