#include "shell/mainwindow/ProjectFiles.h"

#include "core/board/BoardHooks.h"
#include "core/board/BtPin.h"
#include "core/board/Makro.h"
#include "core/board/Platine.h"
#include "core/engine/StateFile.h"
#include "core/model/Iobt.h"
#include "frontpanel/Design.h"
#include "frontpanel/FP_Element.h"
#include "frontpanel/FrontPanel.h"
#include "platform/Context.h"
#include "platform/FileIO.h"
#include "platform/Filer.h"
#include "platform/IniFile.h"
#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QTabBar>

#include <exception>
#include <optional>

namespace {

QString ErrorText(const std::exception& e)
{
    return QString::fromUtf8(e.what());
}

QString FolderOf(const QString& fileName)
{
    return QFileInfo(fileName).absolutePath();
}

QString ShowFileDialog(bool save, const QString& folder)
{
    QFileDialog dialog;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("prj"));
    dialog.setNameFilter(Lang3Q("Projekte (*.prj)", "Projects (*.prj)", "Projets (*.prj)"));
    dialog.setDirectory(folder);
    if (ShowModal(dialog) != mrOk)
        return QString();
    const QStringList files = dialog.selectedFiles();
    return files.isEmpty() ? QString() : files.front();
}

}  // namespace

TProjectFiles::TProjectFiles() = default;
TProjectFiles::~TProjectFiles() = default;

// --- Access --------------------------------------------------------------------------------------

TFrontplatte* TProjectFiles::Panel() const
{
    return FrontPanel ? FrontPanel : Frontplatte();
}

TDesign* TProjectFiles::RootDesign() const
{
    TFrontplatte* panel = Panel();
    return panel ? panel->RootDesign : nullptr;
}

TDesign* TProjectFiles::ActiveDesign() const
{
    return CurrentDesign ? CurrentDesign : RootDesign();
}

TPlatine* TProjectFiles::ActiveBoard() const
{
    return CurrentBoard ? CurrentBoard : MainBoard;
}

void TProjectFiles::BindBoard(TPlatine& board)
{
    board.OnNeuesBauteil = [this](TPlatine* b, TIOBauteil* c, TReader& r, uint8_t v) {
        PlatineNeuesBauteil(b, c, r, v);
    };
    board.OnWriteFPDaten = [this](TPlatine* b, TIOBauteil* c, TWriter& w) {
        PlatineWriteFPDaten(b, c, w);
    };
    board.OnEntferneBauteil = [this](TPlatine* b, TIOBauteil* c) { PlatineEntferneBauteil(b, c); };
}

// --- Header --------------------------------------------------------------------------------------

void TProjectFiles::WriteProjectHeader(TWriter& writer)
{
    if (CompiledCopy)
        for (int i = 0; i < kCompiledNoiseCount; ++i)
            writer.WriteInteger(int32_t(QRandomGenerator::global()->bounded(30000)));
    const uint8_t header[kHeaderSize] = {2, 0, 0, kProjectVersion, 0};
    writer.WriteBuffer(header, kHeaderSize);
}

uint8_t TProjectFiles::ReadProjectHeader(TReader& reader)
{
    if (CompiledCopy)
        for (int i = 0; i < kCompiledNoiseCount; ++i)
            reader.ReadInteger();
    uint8_t header[kHeaderSize] = {};
    reader.ReadBuffer(header, kHeaderSize);
    FileVersion = header[3];
    return FileVersion;
}

bool TProjectFiles::CheckProjectHeader(const QByteArray& header, QString* why)
{
    auto fail = [why](const QString& text) {
        if (why)
            *why = text;
        return false;
    };
    if (header.size() < kHeaderSize)
        return fail(Lang3Q("Die Datei ist zu kurz.", "The file is too short.",
                           "Le fichier est trop court."));
    const auto* b = reinterpret_cast<const uint8_t*>(header.constData());
    if (b[0] != 2 || b[1] != 0 || b[2] != 0 || b[3] == 0)
        return fail(Lang3Q("Die Datei ist keine Projektdatei.", "The file is not a project file.",
                           "Le fichier n'est pas un fichier de projet."));
    if (b[3] > kProjectVersion)
        return fail(Lang3Q("Die Datei stammt von einer neueren Programmversion.",
                           "The file comes from a newer version of the program.",
                           "Le fichier provient d'une version plus récente du programme."));
    return true;
}

// --- Project streams -----------------------------------------------------------------------------

void TProjectFiles::WriteProject(TWriter& writer, bool asMacro)
{
    TPlatine* board = asMacro ? ActiveBoard() : MainBoard;
    TDesign* design = asMacro ? ActiveDesign() : RootDesign();
    WriteProjectHeader(writer);
    if (board) {
        board->WriteCircuit(writer, false);
    } else {
        TPlatine empty;
        empty.WriteCircuit(writer, false);
    }
    if (design)
        design->SaveElements(writer);
    else
        WriteEmptyElementList(writer);
    if (TFrontplatte* panel = Panel())
        panel->WritePanelData(writer);
}

void TProjectFiles::ReadProjectBody(TReader& reader, uint8_t version)
{
    TFrontplatte* panel = Panel();
    {
        // The tabs are the file's own (its window record): the elements' pages are checked
        // against them once it is read.
        std::optional<QScopedValueRollback<bool>> reading;
        if (panel)
            reading.emplace(panel->ReadingProject, true);
        if (MainBoard)
            MainBoard->ReadCircuit(reader, version);
        if (TDesign* root = RootDesign()) {
            root->LoadElements(reader, version);
            root->RestoreZOrder();
        } else {
            FrontPanelHooks().LoadElements(nullptr, reader, version);
        }
        // A file written without a front panel ends here.
        if (panel && !reader.AtEnd())
            panel->ReadPanelData(reader, version);
    }
    if (panel)
        panel->CheckeFrontplattenNummern(false);
}

QByteArray TProjectFiles::ProjectBytes(bool asMacro)
{
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        TWriter writer(buffer, true);
        WriteProject(writer, asMacro);
    }
    return bytes;
}

void TProjectFiles::ReadProjectBytes(QByteArray& data)
{
    const QScopedValueRollback loading(LoadingProject, true);
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    TReader reader(buffer, true);
    const uint8_t version = ReadProjectHeader(reader);
    ReadProjectBody(reader, version);
}

// --- Save question and New -----------------------------------------------------------------------

bool TProjectFiles::AskSaveChanges()
{
    if (!MainBoard || MainBoard->Items.empty() || Ctx().RuntimeMode)
        return true;
    const int answer = MessageBoxText(
        QString::fromUtf8(Lang3("Möchten Sie die aktuelle Schaltung speichern?", "Save changes?",
                                "Sauvegarder modifications ?")),
        QStringLiteral("Tavrinol"), mbYesNoCancel, mtConfirmation);
    if (answer == mrCancel)
        return false;
    if (answer == mrYes)
        return Save();  // a cancelled or failed save keeps the circuit
    return true;
}

void TProjectFiles::NewProject()
{
    TFrontplatte* panel = Panel();
    TDesign* root = RootDesign();
    CurrentDesign = nullptr;
    CurrentBoard = nullptr;
    if (panel && root)
        panel->ActivateDesign(root);

    if (MainBoard) {
        {
            const QScopedValueRollback noPaint(MainBoard->NoPaint, true);
            MainBoard->SelectAll(true);
            MainBoard->DeleteSelection();
        }
        MainBoard->Repaint();
    }

    if (panel && root) {
        panel->DeleteAllElements();
        panel->Title = Lang3Q("Frontplatte", "Front panel", "Panneau de contrôle");
        root->ElementName = panel->Title;
        FPState().RootDesignName = panel->Title;
        if (panel->TabControl1) {
            const QSignalBlocker block(panel->TabControl1);
            while (panel->TabControl1->count() > 0)
                panel->TabControl1->removeTab(0);
            panel->TabControl1->addTab(root->GetPageCaption());
            panel->TabControl1->setCurrentIndex(0);
        }
        panel->ActivateDesign(root);
        panel->TabControl1Change();

        TFrontPanelOptions& o = panel->Options;
        o.DlgBtn = true;        // configuration at run time
        o.OpenBtn = true;       // "Einstellungen laden"
        o.SaveBtn = true;       // "Einstellungen speichern"
        o.HelpBtn = false;      // "Hilfe"
        o.ToolTitel = false;    // "Kleine Titelzeile"
        o.Skalierbar = false;   // "Grösse einstellbar"
        o.AutoSave = true;      // "Letzte Einstellung merken"
        panel->HelpFile.clear();
        panel->SetRunMode(false);
        panel->OpenDialogFileName.clear();

        FPState().DesignPanelColor = 14215660;
        root->BorderWidth = 0;
        root->BevelWidth = 1;
        root->BevelInner = bvNone;
        root->BevelOuter = bvNone;
        root->HintergrundFarbe = FPState().DesignPanelColor;
        root->Color = FPState().DesignPanelColor;
        root->userEdit = true;
        root->SetisEditing(true);
        root->setEnabled(true);
        root->SetisVisible(true);
        if (panel->NewToolPanel)
            panel->NewToolPanel->setVisible(true);
        panel->SetPublishMode(0);
        root->update();
    }

    SetProjectName(QString());
    if (OnProjectReset)
        OnProjectReset();
}

bool TProjectFiles::NewCommand()
{
    if (MainBoard && MainBoard->Preparing)
        return false;  // a run is being prepared on the current circuit
    if (!AskSaveChanges())
        return false;
    NewProject();
    return true;
}

// --- Open ----------------------------------------------------------------------------------------

bool TProjectFiles::OpenProject(const QString& fileName)
{
    if (MainBoard && MainBoard->Preparing)
        return false;  // a run is being prepared on the current circuit
    if (!AskSaveChanges())
        return false;

    QString name = fileName;
    if (QFileInfo(name).isRelative())
        name = QDir::current().absoluteFilePath(name);
    const QString folder = FolderOf(name);

    // Everything is checked before the current project is touched.
    QByteArray data;
    if (QString error; !ReadWholeFile(name, kMaxFileSize, &data, &error)) {
        ReportError(Lang3Q("Die Datei kann nicht geöffnet werden:\n",
                           "The file cannot be opened:\n",
                           "Le fichier ne peut pas être ouvert :\n") +
                    error);
        return false;
    }
    {
        QString why;
        QByteArray header;
        try {
            QBuffer buffer(&data);
            buffer.open(QIODevice::ReadOnly);
            TReader reader(buffer, true);
            if (CompiledCopy)
                for (int i = 0; i < kCompiledNoiseCount; ++i)
                    reader.ReadInteger();
            header = reader.ReadBytes(kHeaderSize);
        } catch (const std::exception&) {
            header.clear();
        }
        if (!CheckProjectHeader(header, &why)) {
            ReportError(QDir::toNativeSeparators(name) + QLatin1Char('\n') + why);
            return false;
        }
    }

    // A copy of the current project to come back to when the file turns out to be damaged.
    const QString previousName = ProjectFileName;
    const QString previousFolder = Ctx().ProjectFolder;
    const QString previousCurrent = QDir::currentPath();
    QByteArray snapshot;
    bool haveSnapshot = false;
    try {
        snapshot = ProjectBytes(false);
        haveSnapshot = true;
    } catch (const std::exception&) {
        haveSnapshot = false;
    }

    QDir::setCurrent(folder);
    NewProject();
    Ctx().ProjectFolder = folder;
    QString failure;
    try {
        ReadProjectBytes(data);
    } catch (const std::exception& e) {
        failure = ErrorText(e);
        if (failure.isEmpty())
            failure = QStringLiteral("?");
    }

    if (!failure.isEmpty()) {
        // No part of the damaged file stays; the previous project comes back under its name.
        NewProject();
        QString restoredName;
        if (haveSnapshot) {
            try {
                ReadProjectBytes(snapshot);
                restoredName = previousName;
            } catch (const std::exception&) {
                NewProject();
            }
        }
        if (MainBoard) {
            MainBoard->NormaliseAllWires();
            MainBoard->SelectAll(false);
        }
        SetProjectName(restoredName);
        Ctx().ProjectFolder = previousFolder;
        QDir::setCurrent(previousCurrent);
        if (OnProjectLoaded)
            OnProjectLoaded();
        ReportError(Lang3Q("Fehler beim Lesen der Datei ", "Error while reading the file ",
                           "Erreur de lecture du fichier ") +
                    QDir::toNativeSeparators(name) + QStringLiteral(":\n") + failure);
        return false;
    }

    SetProjectName(name);
    if (MainBoard) {
        MainBoard->NormaliseAllWires();
        MainBoard->SelectAll(false);
    }
    AddToHistory(name);
    if (TFrontplatte* panel = Panel(); panel && !Ctx().RuntimeMode) {
        panel->show();
        if (TDesign* shown = panel->ActiveDesign)
            shown->RefreshTransparency(panel);
    }
    if (OnProjectLoaded)
        OnProjectLoaded();
    return true;
}

// --- Save ----------------------------------------------------------------------------------------

bool TProjectFiles::WriteFile(const QString& fileName, bool asMacro, QString* error)
{
    TFrontplatte* panel = Panel();
    TDesign* root = RootDesign();
    TDesign* shownBefore = panel ? panel->ActiveDesign : nullptr;
    if (!asMacro && panel && root) {
        if (shownBefore != root)
            panel->ActivateDesign(root);
        root->RenumberElements();
    }

    QByteArray bytes;
    bool written = false;
    try {
        bytes = ProjectBytes(asMacro);
        written = true;
    } catch (const std::exception& e) {
        if (error)
            *error = ErrorText(e);
    }
    if (panel && shownBefore && panel->ActiveDesign != shownBefore)
        panel->ActivateDesign(shownBefore);
    if (!written)
        return false;

    // The old file is replaced only by a complete new one.
    return WriteWholeFile(fileName, bytes, error);
}

bool TProjectFiles::SaveProject(const QString& fileName)
{
    const bool asMacro = QFileInfo(fileName).suffix().toUpper() == QStringLiteral("MAK");
    QString error;
    if (!WriteFile(fileName, asMacro, &error)) {
        ReportError(Lang3Q("Die Datei konnte nicht gespeichert werden:\n",
                           "The file could not be saved:\n",
                           "Le fichier n'a pas pu être enregistré :\n") +
                    QDir::toNativeSeparators(fileName) + QLatin1Char('\n') + error);
        return false;
    }
    // A macro file is not the project: a later Save still writes the project.
    if (asMacro) {
        if (OnMacroFileSaved)
            OnMacroFileSaved(fileName);
        return true;
    }
    SetProjectName(fileName);
    AddToHistory(fileName);
    return true;
}

bool TProjectFiles::Save()
{
    if (ProjectFileName.isEmpty())
        return SaveAs();
    return SaveProject(ProjectFileName);
}

bool TProjectFiles::SaveAs()
{
    const QString name = AskSaveFileName ? AskSaveFileName(Ctx().ProjectFolder)
                                         : ShowFileDialog(true, Ctx().ProjectFolder);
    if (name.isEmpty())
        return false;
    if (!SaveProject(name))
        return false;
    Ctx().ProjectFolder = FolderOf(name);
    TFrontplatte* panel = Panel();
    // Both write the same state file: a failure is reported once.
    const bool stateFileWritten =
        !(panel && panel->Options.AutoSave) || panel->SaveDefaultSettings(ProjectFileName);
    if (MainBoard && stateFileWritten)
        SaveComponentStateFile(*MainBoard, ProjectFileName);
    if (OnSavedAs)
        OnSavedAs(ProjectFileName);
    return true;
}

QString TProjectFiles::BackupFileName() const
{
    return Ctx().ProgramFolder + QStringLiteral("Backup.prj");
}

bool TProjectFiles::SaveBackup()
{
    // A backup is a copy: the project keeps its name and the history stays as it is. An empty
    // board is never worth one: it would only replace the last good backup.
    if (!MainBoard || MainBoard->Items.empty())
        return true;
    QString error;
    if (WriteFile(BackupFileName(), false, &error))
        return true;
    ReportError(Lang3Q("Die Sicherungskopie konnte nicht gespeichert werden:\n",
                       "The backup copy could not be saved:\n",
                       "La copie de sauvegarde n'a pas pu être enregistrée :\n") +
                QDir::toNativeSeparators(BackupFileName()) + QLatin1Char('\n') + error);
    return false;
}

// --- Open, Examples, History commands ------------------------------------------------------------

bool TProjectFiles::OpenCommand()
{
    const QString name = AskOpenFileName ? AskOpenFileName(Ctx().ProjectFolder)
                                         : ShowFileDialog(false, Ctx().ProjectFolder);
    return !name.isEmpty() && OpenProject(name);
}

bool TProjectFiles::ExamplesCommand()
{
    const QString folder =
        Ctx().ProgramFolder + QString::fromUtf8(Lang3("Beispiele", "Examples", "Exemples"));
    const QString name = AskOpenFileName ? AskOpenFileName(folder) : ShowFileDialog(false, folder);
    return !name.isEmpty() && OpenProject(name);
}

bool TProjectFiles::OpenHistory(int tag)
{
    if (tag < 1 || tag > kHistorySize)
        return false;
    const QString name = History[size_t(tag - 1)];
    return name.size() > 1 && OpenProject(name);
}

// --- Name and history ----------------------------------------------------------------------------

void TProjectFiles::SetProjectName(const QString& fileName)
{
    ProjectFileName = fileName;
    if (OnProjectNameChanged)
        OnProjectNameChanged(fileName);
}

static QString HistoryFile(const QString& configured)
{
    return configured.isEmpty() ? Ctx().ProgramFolder + QStringLiteral("Settings/QUORIN.INI")
                                : configured;
}

void TProjectFiles::ReadHistory()
{
    TIniFile ini(HistoryFile(HistoryIniFile));
    for (int i = 0; i < kHistorySize; ++i)
        History[size_t(i)] =
            ini.ReadString(QStringLiteral("History"), QStringLiteral("D%1").arg(i + 1), QString());
    if (OnHistoryChanged)
        OnHistoryChanged();
}

void TProjectFiles::WriteHistory()
{
    if (Ctx().RuntimeMode)
        return;
    TIniFile ini(HistoryFile(HistoryIniFile));
    for (int i = 0; i < kHistorySize; ++i)
        ini.WriteString(QStringLiteral("History"), QStringLiteral("D%1").arg(i + 1),
                        History[size_t(i)]);
    if (!ini.UpdateFile()) {
        ReportError(ini.LastError());
        ini.DiscardChanges();
    }
}

void TProjectFiles::AddToHistory(const QString& fileName)
{
    if (Ctx().RuntimeMode || !fileName.toLower().endsWith(QStringLiteral(".prj")))
        return;
    for (const QString& entry : History)
        if (entry.compare(fileName, Qt::CaseInsensitive) == 0)
            return;
    for (int i = kHistorySize - 1; i > 0; --i)
        History[size_t(i)] = History[size_t(i - 1)];
    History[0] = fileName;
    WriteHistory();
    if (OnHistoryChanged)
        OnHistoryChanged();
}

// --- Board events --------------------------------------------------------------------------------

void TProjectFiles::PlatineNeuesBauteil(TPlatine* board, TIOBauteil* component, TReader& reader,
                                        uint8_t version)
{
    TDesign* design = ActiveDesign();
    if (!component->ElementClass().isEmpty() && design) {
        TFP_Element* element = design->AddElement(component->ElementClass());
        element->ElementName = component->Prefix() + QString::number(component->Number);
        element->OwnerDesign = design;
        component->SetLink(element);
        element->Component = component;
        if (reader.ReadBoolean()) {
            TDesign* root = RootDesign();
            // Pasted elements land on the page that is shown.
            if (root && design == root)
                root->FrontplattenNR = root->AktiveFrontplatte;
            design->ReadElement(element, reader, version);
        }
        UpdateMacroGroupVisibility(board);
        if (TFrontplatte* panel = Panel(); panel && design == panel->RootDesign)
            panel->CheckeFrontplattenNummern();
    } else if (reader.ReadBoolean() && !component->ElementClass().isEmpty()) {
        // Element data without a page to read them into cannot be skipped.
        throw EFilerError(EFilerError::InvalidData,
                          Lang3Q("Frontplattendaten ohne Frontplatte",
                                 "Front-panel data without a front panel",
                                 "Données de panneau sans panneau de contrôle"));
    }

    if (auto* pin = dynamic_cast<TBTPin*>(component); pin && board && board->OwnerMacro) {
        TMakro* macro = board->OwnerMacro;
        macro->SetPinTotal(board->MacroPinCount());
        for (int32_t k = 1; k <= macro->PinTotal; ++k)
            macro->SetPinName(k, board->MacroPinLabel(k));
    }
}

void TProjectFiles::DetachNestedMacroGroups(TMakro& macro)
{
    TPlatine* inner = macro.InnerBoard();
    if (!inner)
        return;
    for (const auto& item : inner->Items)
        if (auto* nested = dynamic_cast<TMakro*>(item.get())) {
            DetachNestedMacroGroups(*nested);
            nested->Design = nullptr;
            nested->ParentDesign = nullptr;
        }
}

void TProjectFiles::UpdateMacroGroupVisibility(TPlatine* board)
{
    for (; board && board->OwnerMacro; board = board->ParentBoard)
        if (TDesign* group = board->OwnerMacro->Design)
            group->SetisVisible(!TDesign::ContainsOnlyDesigns(group));
}

void TProjectFiles::PlatineWriteFPDaten(TPlatine*, TIOBauteil* component, TWriter& writer)
{
    TFP_Element* element = component->Link;
    if (!element)
        return;
    TDesign* design = element->OwnerDesign;
    if (design && design->WriteElement(element, writer) >= 0)
        return;
    // The flag true is written already: the record follows in every case.
    writer.WriteInteger(element->x());
    writer.WriteInteger(element->y());
    element->WriteElementData(writer);
}

void TProjectFiles::PlatineEntferneBauteil(TPlatine* board, TIOBauteil* component)
{
    if (auto* macro = dynamic_cast<TMakro*>(component)) {
        if (OnMacroRemoving)
            OnMacroRemoving(*macro);
        // The group takes the groups of nested macros with it: those macros must not reach
        // for them when their inner boards are freed later.
        DetachNestedMacroGroups(*macro);
        if (macro->Design && macro->ParentDesign)
            macro->ParentDesign->DeleteElement(macro->Design);
        macro->Design = nullptr;
    }

    if (auto* pin = dynamic_cast<TBTPin*>(component);
        pin && board && board->DeletingMacroPin && board->OwnerMacro) {
        TMakro* macro = board->OwnerMacro;
        macro->SetPinTotal(board->MacroPinCount() - 1);
        for (int32_t k = 1; k <= macro->PinTotal; ++k)
            macro->SetPinName(k, board->MacroPinLabel(k));
    }

    if (TFP_Element* element = component->Link) {
        component->SetLink(nullptr);
        element->Component = nullptr;
        if (TDesign* design = element->OwnerDesign)
            design->DeleteElement(element);
    }
}

void TProjectFiles::ReportError(const QString& text)
{
    MessageDlg(text, mtError, mbOK);
}
