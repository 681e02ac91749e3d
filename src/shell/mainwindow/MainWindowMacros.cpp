// Macro files and macro windows: importing a macro file as a macro block, saving the current
// board as a macro file, and the board tabs of macros' inner boards.

#include "shell/mainwindow/MainWindow.h"

#include "core/board/Makro.h"
#include "core/board/Platine.h"
#include "core/editing/BoardEditor.h"
#include "core/model/FrontPanelHooks.h"
#include "frontpanel/Design.h"
#include "frontpanel/FrontPanel.h"
#include "platform/Context.h"
#include "platform/FileIO.h"
#include "platform/Filer.h"
#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"
#include "shell/boardview/BoardView.h"
#include "shell/mainwindow/ProjectFiles.h"

#include <QBuffer>
#include <QFileDialog>
#include <QFileInfo>
#include <QScopedValueRollback>
#include <QTabBar>
#include <QToolButton>

#include <stdexcept>

namespace {

QString MacroTabCaption(const TMakro& macro)
{
    return u' ' + macro.MacroName() + u' ';
}

} // namespace

TMakro* TForm1::LoadMacroFile(const QString& fileName, TPlatine& board)
{
    QByteArray data;
    if (QString error; !ReadWholeFile(fileName, TProjectFiles::kMaxFileSize, &data, &error))
        throw std::runtime_error(error.toStdString());
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    TReader reader(buffer, true);
    QString why;
    if (!TProjectFiles::CheckProjectHeader(data.left(TProjectFiles::kHeaderSize), &why))
        throw std::runtime_error((QDir::toNativeSeparators(fileName) + u'\n' + why).toStdString());
    const uint8_t version = Projects->ReadProjectHeader(reader);

    std::unique_ptr<TMakro> made = NewObject<TMakro>();
    made->SetMacroName(QFileInfo(fileName).completeBaseName().left(10));
    TMakro* macro = made.get();
    ReadMacroContent(*macro, reader, version, board);
    board.AddComponent(std::move(made));
    return macro;
}

void TForm1::ReadMacroContent(TMakro& macro, TReader& reader, uint8_t version, TPlatine& holder)
{
    // The macro's group: a page of its own inside the design shown now, which takes the
    // elements of the inner circuit.
    TDesign* parent = Projects->ActiveDesign();
    TDesign* group = nullptr;
    if (parent) {
        group = static_cast<TDesign*>(parent->AddElement(QStringLiteral("TDesign")));
        group->OwnerDesign = parent;
        if (TDesign* root = Projects->RootDesign())
            group->SetFrontplattenNR(root->AktiveFrontplatte);
        macro.Design = group;
        macro.ParentDesign = parent;
    }
    TPlatine* inner = holder.CreateInnerBoard(macro);
    {
        const QScopedValueRollback inGroup(Projects->CurrentDesign,
                                           group ? group : Projects->CurrentDesign);
        inner->ReadCircuit(reader, version);
        FrontPanelHooks().LoadElements(group, reader, version);
    }
    if (group) {
        const TRect bounds = group->GetElementsBounds();
        group->resize(bounds.Width() + 12, bounds.Height() + 12);
        group->RestoreZOrder();
        // A group without elements of its own shows nothing on the front panel.
        group->SetisVisible(!TDesign::ContainsOnlyDesigns(group));
    }
    inner->NormaliseAllWires();
    macro.TakePinsFromBoard(*inner);
    macro.OnEdited = [this](TMakro* m) { RenameMacroWindow(m); };
}

TMakro* TForm1::ImportMacroFile(const QString& fileName, bool paste, TPlatine* board)
{
    if (!board)
        return nullptr;
    TMakro* macro = nullptr;
    try {
        macro = LoadMacroFile(fileName, *board);
    } catch (const std::exception& error) {
        MessageDlg(Lang3Q("Das Makro konnte nicht gelesen werden:\n",
                          "The macro could not be read:\n",
                          "La macro n'a pas pu être lue :\n") +
                       QString::fromStdString(error.what()),
                   mtError, mbOK);
        board->Repaint();
        return nullptr;
    }
    board->SelectAll(false);
    board->SelectObject(macro, true);
    if (paste) {
        // The block is taken off and pasted again through its own stream, so that it hangs at
        // the mouse like a pasted item; the clipboard stays as it was.
        QByteArray bytes;
        {
            QBuffer out(&bytes);
            out.open(QIODevice::WriteOnly);
            TWriter writer(out);
            board->WriteCircuit(writer, true);
        }
        board->DeleteSelection();
        macro = nullptr;
        Projects->FileVersion = uint8_t(FormatVersion);
        QBuffer in(&bytes);
        in.open(QIODevice::ReadOnly);
        EditorOf(board).PlacingTool.PasteFromStream(in, uint8_t(FormatVersion));
        for (TBauteil* item : board->SelectedItems())
            if (auto* pasted = dynamic_cast<TMakro*>(item)) {
                pasted->OnEdited = [this](TMakro* m) { RenameMacroWindow(m); };
                macro = pasted;
            }
    }
    board->Repaint();
    return macro;
}

QString TForm1::AskMacroFile(bool save)
{
    if (AskMacroFileName)
        return AskMacroFileName(save, MacroFolder);
    QFileDialog dialog(this);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("mak"));
    dialog.setNameFilter(Lang3Q("Makro (*.mak)", "Macro (*.mak)", "Macro (*.mak)"));
    dialog.setWindowTitle(save ? FileDialogs.value(QStringLiteral("SaveMakroDialog")).Title
                               : FileDialogs.value(QStringLiteral("OpenDialog1")).Title);
    dialog.setDirectory(MacroFolder);
    if (ShowModal(dialog) != mrOk)
        return QString();
    const QStringList files = dialog.selectedFiles();
    return files.isEmpty() ? QString() : files.front();
}

void TForm1::MakroimportierenClick()
{
    const QString name = AskMacroFile(false);
    if (!name.isEmpty())
        ImportMacroFile(name, true, CurrentBoard);
}

bool TForm1::MakroSpeichernClick()
{
    const QString caption = Lang3Q("Als Makro speichern (", "Save as macro (",
                                   "Sauvegarder comme une macro (") +
                            TabSet->tabText(TabSet->currentIndex()) + u')';
    if (CurrentBoard->MacroPinCount() < 1) {
        MessageBoxText(Lang3Q("Diese Schaltung hat keine Pins für Makros definiert.\r"
                              "Wechseln Sie evt. in das Innenleben eines Makros\r"
                              "um dieses zu ändern und zu speichern.",
                              "Missing macro pins!\r"
                              "Activate a macro circuit or add macro pins\r"
                              "before saving as macro.",
                              "Aucune broche macro n´est présente !\r"
                              "Activez un circuit macro ou ajoutez des broches macro\r"
                              "avant de sauvegarder comme une macro."),
                       caption, mbOK, mtInformation);
        return false;
    }
    TFrontplatte* panel = Frontplatte();
    if (panel && panel->ActiveDesign == panel->RootDesign && panel->TabControl1 &&
        panel->TabControl1->count() >= 2) {
        MessageBoxText(Lang3Q("Diese Schaltung verwendet mehr als eine Frontplatte.\r"
                              "Dies ist für Makros nicht erlaubt. Setzen Sie alle Bedienungs-\r"
                              "elemente des Makros nur auf eine Frontplatte.",
                              "This circuit contains more than one front panel.\r"
                              "Move all macro controls to a single front panel\r"
                              "before saving as macro.",
                              "Ce circuit dispose de plusieurs panneaux de contrôle.\r"
                              "Déplacez toutes les commandes de macro sur un seul panneau de "
                              "contrôle\r"
                              "avant de sauvegarder comme une macro."),
                       caption, mbOK, mtInformation);
        return false;
    }
    QString name = AskMacroFile(true);
    if (name.isEmpty())
        return false;
    if (QFileInfo(name).suffix().toUpper() != QStringLiteral("MAK"))
        name += QStringLiteral(".mak");
    return Projects->SaveProject(name);
}

void TForm1::OpenMacroWindow(TMakro* macro)
{
    if (!macro || !macro->InnerBoard())
        return;
    TPlatine* inner = macro->InnerBoard();
    for (size_t i = 0; i < OpenBoards.size(); ++i)
        if (OpenBoards[i] == inner) {
            ShowBoardTab(int(i));
            return;
        }
    inner->SelectAll(false);
    OpenBoards.push_back(inner);
    TabSet->addTab(MacroTabCaption(*macro));
    ShowBoardTab(int(OpenBoards.size()) - 1);
    EditorOf(inner).ZoomTool.ZoomToObjects(false);
    PlatineScrollbox->SyncScrollBars();
    inner->Repaint();
}

void TForm1::Bearbeiten2Click()
{
    if (!CurrentBoard)
        return;
    for (const auto& item : CurrentBoard->Items)
        if (auto* macro = dynamic_cast<TMakro*>(item.get()); macro && macro->Selected) {
            OpenMacroWindow(macro);
            return;
        }
}

void TForm1::RenameMacroWindow(TMakro* macro)
{
    if (CurrentBoard)
        CurrentBoard->InvalidateObject(macro);
    for (size_t i = 1; i < OpenBoards.size(); ++i)
        if (OpenBoards[i] == macro->InnerBoard())
            TabSet->setTabText(int(i), MacroTabCaption(*macro));
    if (macro->Design)
        FrontPanelHooks().SetGroupCaption(*macro->Design,
                                          QStringLiteral("Makro: ") + macro->MacroName());
}

void TForm1::CloseMacroTab()
{
    const int i = TabSet->currentIndex();
    if (i <= 0 || i >= int(OpenBoards.size()))
        return;
    ShowBoardTab(i < int(OpenBoards.size()) - 1 ? i + 1 : i - 1);
    OpenBoards.erase(OpenBoards.begin() + i);
    TabSet->blockSignals(true);
    TabSet->removeTab(i);
    TabSet->blockSignals(false);
    // The tab bar's index moved with the removal: the board shown stays the same.
    for (size_t k = 0; k < OpenBoards.size(); ++k)
        if (OpenBoards[k] == CurrentBoard)
            TabSet->setCurrentIndex(int(k));
    m_buttons.value(QStringLiteral("ToolButton3"))->setEnabled(TabSet->currentIndex() == 0);
}
