// The main window's edit, zoom and view commands, the enabled states of the menus, and the
// keys that act on the board only while the board has the focus.

#include "shell/mainwindow/MainWindow.h"

#include "core/board/BoardHooks.h"
#include "core/board/Makro.h"
#include "core/board/Platine.h"
#include "core/editing/BoardEditor.h"
#include "frontpanel/Design.h"
#include "frontpanel/FrontPanel.h"
#include "shell/boardview/BoardView.h"
#include "shell/mainwindow/ProjectFiles.h"
#include "shell/mainwindow/SimulationControl.h"
#include "platform/Context.h"
#include "platform/Help.h"
#include "ui/Formats.h"

#include <QBuffer>

#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QScrollBar>
#include <QTabBar>
#include <QToolButton>

void TForm1::CutCommand()
{
    CurrentBoard->CopySelection(EditorOf(CurrentBoard).View.Zoom);
    CurrentBoard->DeleteSelection();
    UpdateTools();
}

void TForm1::CopyCommand()
{
    CurrentBoard->CopySelection(EditorOf(CurrentBoard).View.Zoom);
    UpdateTools();
}

void TForm1::PasteCommand()
{
    EditorOf(CurrentBoard).PlacingTool.PasteFromStream(*ClipboardStream, uint8_t(FormatVersion));
    if (CurrentDesign) {
        CurrentDesign->BringSelectionToFront();
        CurrentDesign->MoveSelectionOffCovered();
    }
    UpdateTools();
}

void TForm1::DuplicateCommand()
{
    EditorOf(CurrentBoard).PlacingTool.DuplicateSelection(uint8_t(FormatVersion));
    if (CurrentDesign) {
        CurrentDesign->BringSelectionToFront();
        CurrentDesign->MoveSelectionOffCovered();
    }
    CurrentBoard->SetShowComponentStates(SB_Status->isChecked());
    UpdateTools();
}

void TForm1::SelectAllCommand()
{
    CurrentBoard->SelectAll(true);
    CurrentBoard->Repaint();
    UpdateTools();
}

void TForm1::DeleteCommand()
{
    CurrentBoard->DeleteSelection();
    UpdateTools();
}

void TForm1::CleanUpCommand()
{
    CurrentBoard->SelectAll(false);
    do
        CurrentBoard->RemoveDegenerateSegments();
    while (CurrentBoard->SelectLooseSegment());
    CurrentBoard->Repaint();
    UpdateTools();
}

void TForm1::ZoomInCentre()
{
    TBoardEditor& e = EditorOf(CurrentBoard);
    e.ZoomTool.ZoomInAt(e.View.ViewCentre());
    PlatineScrollbox->SyncScrollBars();
    CurrentBoard->Repaint();
}

void TForm1::ZoomOutCentre()
{
    TBoardEditor& e = EditorOf(CurrentBoard);
    e.ZoomTool.ZoomOutAt(e.View.ViewCentre());
    PlatineScrollbox->SyncScrollBars();
    CurrentBoard->Repaint();
}

void TForm1::ZoomCommand(int which)
{
    TBoardEditor& e = EditorOf(CurrentBoard);
    if (which == 0)
        e.ZoomTool.ZoomToBoard();
    else
        e.ZoomTool.ZoomToObjects(which == 2);
    PlatineScrollbox->SyncScrollBars();
    CurrentBoard->Repaint();
}

void TForm1::HelpCommand()
{
    TBauteil* single = CurrentBoard ? CurrentBoard->SingleSelected() : nullptr;
    if (auto* component = dynamic_cast<TIOBauteil*>(single))
        ShowHelp(component->HelpContext);
    else
        OpenHelpContents();
}

bool TForm1::KeepsBoardKey(const QKeyEvent& key)
{
    // Keys of the board's edit commands typed into an edit (quick find, macro folder) belong to
    // the edit: Delete and the Ctrl letters of cut, copy, paste, duplicate and select all.
    if (key.key() == Qt::Key_Delete || key.key() == Qt::Key_Backspace)
        return true;
    if (!(key.modifiers() & Qt::ControlModifier))
        return false;
    switch (key.key()) {
    case Qt::Key_X:
    case Qt::Key_C:
    case Qt::Key_V:
    case Qt::Key_A:
    case Qt::Key_D:
        return true;
    default:
        return false;
    }
}

void TForm1::UpdateMenuStates()
{
    TPlatine* board = CurrentBoard;
    const bool selected = board->HasSelection();
    const bool items = !board->Items.empty();
    auto enable = [this](const char* name, bool on) {
        if (QAction* a = m_actions.value(QString::fromLatin1(name)))
            a->setEnabled(on);
    };
    enable("Drucken1", items);
    const bool mainTab = TabSet->currentIndex() <= 0;
    enable("Speichern1", mainTab);
    enable("Speichernals1", mainTab);
    for (const char* name : {"Ausschneiden1", "Duplizieren1", "Kopieren1", "Lschen1",
                             "Nachvornesetzen1", "Nachhintensetzen1"})
        enable(name, selected);
    enable("Einfgen1", board->CanPaste());
    enable("Allesauswhlen1", items);
    enable("Aufrumen1", items);
    TFrontplatte* panel = Frontplatte();
    const bool rootShown = !panel || panel->ActiveDesign == panel->RootDesign;
    enable("NeueFrontplatteerzeugen1", rootShown);
    enable("Eigenschaften1", rootShown);
    enable("Lschen3", panel && panel->TabControl1 && panel->TabControl1->count() > 1);
    enable("Makrofensterschliessen1", board != MainBoard);
    enable("naechstes1", TabSet->count() > 1);
    m_actions.value(QStringLiteral("Raster"))->setChecked(GridVisible);
    m_actions.value(QStringLiteral("Hinweistexte"))->setChecked(ShowHints);
}

void TForm1::PlatinePopupRequest()
{
    TPlatine* board = CurrentBoard;
    auto set = [this](const char* name, bool enabled, bool visible = true) {
        QAction* a = m_actions.value(QString::fromLatin1(name));
        a->setEnabled(enabled);
        a->setVisible(visible);
    };
    const bool selected = board->HasSelection();
    for (const char* name : {"Ausschneiden2", "Duplizieren", "Kopieren", "Lschen2", "NachVorn",
                             "NachHinten"})
        set(name, selected);
    set("Einfgen", board->CanPaste());
    set("Eigenschaften", board->CanEditProperties());
    set("Tauschen", board->IsSingleComponent());
    set("Bearbeiten2", board->IsSingleMacro());
    auto* component = dynamic_cast<TIOBauteil*>(board->SelectedCount() == 1 ? board->SingleSelected()
                                                                            : nullptr);
    QAction* help = m_actions.value(QStringLiteral("Hilfe2"));
    help->setVisible(component != nullptr);
    if (component) {
        QString name = component->GetTypeName();
        name.replace(QChar(13), u' ');
        name.remove(QChar(10));
        help->setText(Lang3Q("Hilfe zu ´", "Help for ´", "Aide pour ´") + name + QStringLiteral("´"));
    }
    m_actions.value(QStringLiteral("HerstellerDatenblattVertrieb1"))
        ->setVisible(component && IsHardwareComponent(*component));
}
