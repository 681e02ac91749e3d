// The main window's palette: category menu and switching, text-only mode, palette drops onto
// the board, the macro palette with its folder edit and delete item, and the quick find.

#include "shell/mainwindow/MainWindow.h"
#include "widgets/ImageListBox.h"

#include "core/board/BoardHooks.h"
#include "core/board/Makro.h"
#include "core/board/Platine.h"
#include "core/editing/BoardEditor.h"
#include "frontpanel/Design.h"
#include "frontpanel/FrontPanel.h"
#include "hardware/framework/HerstellerDlg.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "platform/MessageBox.h"
#include "shell/boardview/BoardView.h"
#include "shell/mainwindow/ProjectFiles.h"
#include "shell/mainwindow/SimulationControl.h"
#include "shell/palette/Bibo.h"
#include "shell/palette/PaletteCategories.h"
#include "widgets/BrowseEdit.h"
#include "widgets/ToolGlyphs.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QScopeGuard>
#include <QScopedValueRollback>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QToolButton>

#include <cmath>

namespace {

constexpr int kMacroPaletteTag = -1;
const char* const kGroupItems[PaletteGroupCount] = {
    "Frontplattenelemente2", "Frontplattenelemente1", "Analoges1", "Diverses1", "Hardware1"};

// The picture of each group on its menu item and on the palette button.
QIcon GroupIcon(int group)
{
    static const TToolGlyph glyphs[PaletteGroupCount] = {
        TToolGlyph::GroupPanel, TToolGlyph::GroupLogic, TToolGlyph::GroupAnalog,
        TToolGlyph::GroupMisc, TToolGlyph::Hardware};
    return ToolGlyphIcon(group >= 0 && group < PaletteGroupCount ? glyphs[group]
                                                                 : TToolGlyph::Library, 16);
}

} // namespace

uint8_t ReadLibraryHeader(TReader& reader)
{
    uint8_t header[TProjectFiles::kHeaderSize] = {};
    reader.ReadBuffer(header, TProjectFiles::kHeaderSize);
    return header[3];
}

void TForm1::SetUpPalette()
{
    m_paletteMenu = PaletteMenu(); // until the categories are built at the first show
    Bibo = new TBibo(SB_Bibliothek);
    Bibo->OnShowInfo = [this](TIOBauteil& entry) {
        ShowManufacturerLinksOf(entry, HardwareLinks.get(), this);
    };
    SB_Bibliothek->setWidget(Bibo);
    Bibo->OnReadHeader = ReadLibraryHeader;
    Bibo->OnComponentDrag = [this](QIODevice& stream) { BiboDropComponent(stream); };
    Bibo->OnMacroDrag = [this](QIODevice&) { BiboDropMacro(); };
    // The palette button's caption keeps fitting when the palette is made wider or narrower.
    BiboButton->installEventFilter(this);
    Bibo->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Bibo, &QWidget::customContextMenuRequested, this, [this](const QPoint& p) {
        PopupBiboPopup(p);
        BiboMenu->popup(Bibo->mapToGlobal(p));
    });
}

void TForm1::BuildPaletteCategories()
{
    m_paletteMenu = ShownPaletteMenu();
    const TPaletteMenu& menu = m_paletteMenu;
    for (int g = 0; g < PaletteGroupCount; ++g) {
        QAction* groupItem = m_actions.value(QString::fromLatin1(kGroupItems[g]));
        groupItem->setIcon(GroupIcon(g));
        QMenu* group = groupItem->menu();
        group->clear();
        for (int row : menu[size_t(g)]) {
            if (row < 0) {
                group->addSeparator();
                continue;
            }
            QAction* item = group->addAction(PaletteCategoryCaption(row));
            item->setIcon(ToolGlyphIcon(TToolGlyph::Library, 16));
            item->setData(row);
            connect(item, &QAction::triggered, this, [this, row] { LoadPaletteCategory(row); });
        }
    }
}

QByteArray TForm1::CategoryLibrary(int row) const
{
    QFile file(LibraryFolder + QString::fromLatin1(PaletteCategoryInfo(row).FileName));
    if (file.open(QIODevice::ReadOnly))
        return file.readAll();
    // Without the installed library files the palette shows the registered classes.
    return BuildCategoryLibrary(row);
}

void TForm1::LoadPaletteCategory(int row)
{
    MakroPathEdit->hide();
    if (row < 0 || row >= PaletteCategoryCount)
        row = DefaultPaletteRow;
    // The caption keeps "&&", which the button shows as one "&" (a single one would mark an
    // access key).
    const QString caption = PaletteCategoryCaption(row);
    BiboButton->setProperty("Caption", caption);
    BiboButton->setToolTip(QString(caption).replace(QStringLiteral("&&"), QStringLiteral("&")));
    FitPaletteButtonText();
    BiboButton->setIcon(GroupIcon(PaletteCategoryInfo(row).Group));
    BiboButton->setProperty("Tag", row);
    Bibo->TextOnly = TextOnly;
    try {
        Bibo->LoadLibrary(CategoryLibrary(row),
                          LibraryFolder + QString::fromLatin1(PaletteCategoryInfo(row).FileName));
    } catch (const std::exception& error) {
        MessageDlg(Lang3Q("Die Bibliothek konnte nicht gelesen werden: ",
                          "The library could not be read: ",
                          "La librairie n'a pas pu être lue : ") +
                       QString::fromLocal8Bit(error.what()),
                   mtError, mbOK);
    }
    SB_Bibliothek->verticalScrollBar()->setValue(0);
}

void TForm1::FitPaletteButtonText()
{
    // Room beside the picture and the menu arrow.
    const int room = BiboButton->width() - BiboButton->iconSize().width() - 34;
    const QString caption = BiboButton->property("Caption").toString();
    if (caption.isEmpty())
        return;
    const auto widest = [](const QFont& font, const QString& text) {
        int w = 0;
        for (const QString& line : QString(text).replace(QStringLiteral("&&"), QStringLiteral("&")).split(u'\n'))
            w = std::max(w, QFontMetrics(font).horizontalAdvance(line));
        return w;
    };
    // A smaller font first; a caption still too wide breaks at its middle blank into two lines.
    const auto fit = [&](const QString& text, double smallest) {
        QFont font = P_Bibo->font();
        while (widest(font, text) > room && font.pointSizeF() > smallest)
            font.setPointSizeF(font.pointSizeF() - 0.5);
        return font;
    };
    QString text = caption;
    QFont font = fit(text, 7.5);
    if (widest(font, text) > room) {
        int blank = -1;
        for (int i = 0; i < caption.size(); ++i)
            if (caption[i] == u' ' && (blank < 0 || std::abs(i - caption.size() / 2) < std::abs(blank - caption.size() / 2)))
                blank = i;
        if (blank > 0) {
            text[blank] = u'\n';
            font = fit(text, 6.0);
        }
    }
    BiboButton->setFont(font);
    BiboButton->setText(text);
}

int TForm1::ShownPaletteRow() const
{
    return BiboButton->property("Tag").toInt();
}

void TForm1::SB_BiboPlusClick()
{
    LoadPaletteCategory(NextPaletteRow(ShownPaletteRow(), m_paletteMenu));
}

void TForm1::SB_BiboMinusClick()
{
    LoadPaletteCategory(PreviousPaletteRow(ShownPaletteRow(), m_paletteMenu));
}

void TForm1::CB_NurTextClick()
{
    TextOnly = cb_NurText->isChecked();
    Bibo->TextOnly = TextOnly;
    Bibo->Relayout();
    Bibo->update();
}

void TForm1::CloseBiboClick()
{
    const bool show = !P_Bibo->isVisible();
    P_Bibo->setVisible(show);
    CloseBibo->setText(show ? QStringLiteral("<<<") : QStringLiteral(">>>"));
    CloseBibo->setChecked(!show);
}

void TForm1::BiboDropComponent(QIODevice& stream)
{
    if (!CurrentBoard || Simulation->Running())
        return;
    TBoardEditor& editor = EditorOf(CurrentBoard);
    editor.PlacingTool.PlacingFromPalette = true;
    editor.PlacingTool.PasteFromStream(stream, uint8_t(FormatVersion));
    if (CurrentDesign)
        CurrentDesign->BringSelectionToFront();
    // The button is still held over the palette: the board takes the mouse until it is
    // released there.
    if (editor.Mode == kModePlacing && QApplication::mouseButtons() != Qt::NoButton)
        PlatineScrollbox->viewport()->grabMouse();
    PlatineScrollbox->viewport()->setFocus();
    PlatineScrollbox->viewport()->update();
}

void TForm1::BiboDropMacro()
{
    TMakro* macro = Bibo->DraggedMacro;
    if (!macro || macro->MacroFile.isEmpty() || !CurrentBoard || Simulation->Running())
        return;
    const QString file = macro->MacroFile;
    ImportMacroFile(file, true, CurrentBoard);
    if (EditorOf(CurrentBoard).Mode == kModePlacing && QApplication::mouseButtons() != Qt::NoButton)
        PlatineScrollbox->viewport()->grabMouse();
}

// --- Macro palette ------------------------------------------------------------------------

void TForm1::MakroClick()
{
    if (!QFileInfo(MacroFolder).isDir()) {
        MacroFolder = Ctx().ProgramFolder;
        if (QFileInfo(Ctx().ProgramFolder + QStringLiteral("Makros")).isDir())
            MacroFolder = Ctx().ProgramFolder + QStringLiteral("Makros/");
        else if (QFileInfo(Ctx().ProgramFolder + QStringLiteral("MAKROS")).isDir())
            MacroFolder = Ctx().ProgramFolder + QStringLiteral("MAKROS/");
        MakroPathEdit->SetPath(MacroFolder);
    }
    BiboButton->setProperty("Caption", Lang3Q("Makros", "Macros", "Macros"));
    BiboButton->setToolTip(BiboButton->property("Caption").toString());
    FitPaletteButtonText();
    BiboButton->setIcon(ToolGlyphIcon(TToolGlyph::GroupMacro, 16));
    BiboButton->setProperty("Tag", kMacroPaletteTag);
    if (!MacroFolder.endsWith(u'/'))
        MacroFolder += u'/';
    QStringList files = QDir(MacroFolder).entryList({QStringLiteral("*.mak")}, QDir::Files,
                                                     QDir::Name | QDir::IgnoreCase);

    // While the files are read the progress bar stands in for the palette.
    SB_Bibliothek->hide();
    ProgressBar1->show();
    ProgressBar1->setValue(0);
    const auto palette = qScopeGuard([this] {
        ProgressBar1->hide();
        SB_Bibliothek->show();
    });

    // Each macro file becomes a macro block on a board of its own making; the blocks are
    // written without their macro records as the palette's library. Their front-panel groups
    // are made in the root design, which is not painted meanwhile, and hidden; they go with
    // the holder.
    TPlatine holder;
    holder.LibraryMode = true;
    holder.ClipboardStream = ClipboardStream.get();
    Projects->BindBoard(holder);
    const QScopedValueRollback design(Projects->CurrentDesign, Projects->RootDesign());
    TDesign* root = Projects->RootDesign();
    const bool painting = root && root->updatesEnabled();
    if (root)
        root->setUpdatesEnabled(false);
    const auto paintAgain = qScopeGuard([root, painting] {
        if (root)
            root->setUpdatesEnabled(painting);
    });
    std::vector<TPlatine*> inner;
    QStringList used;
    for (qsizetype k = 0; k < files.size(); ++k) {
        try {
            TMakro* macro = LoadMacroFile(MacroFolder + files[k], holder);
            if (macro->Design && macro->ParentDesign) {
                macro->ParentDesign->DeselectElement(macro->Design);
                macro->Design->SetisVisible(false);
            }
            macro->OnReadData = nullptr;
            macro->OnWriteData = nullptr;
            inner.push_back(macro->InnerBoard());
            used << files[k];
        } catch (const std::exception&) {
            // A macro file that cannot be read is left out of the palette.
        }
        ProgressBar1->setValue(int(std::lround(double(k + 1) / double(files.size()) * 100.0)));
        ProgressBar1->repaint();
    }
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        TWriter writer(buffer, true);
        Projects->WriteProjectHeader(writer);
        holder.WriteCircuit(writer, false);
    }
    Bibo->TextOnly = TextOnly;
    Bibo->LoadLibrary(bytes, QDir::tempPath() + QStringLiteral("/Temp.bib"));
    for (size_t k = 0; k < Bibo->Entries.size() && k < size_t(used.size()); ++k) {
        auto* entry = dynamic_cast<TMakro*>(Bibo->Entries[k].get());
        if (!entry)
            continue;
        entry->SetMacroName(QFileInfo(used[int(k)]).completeBaseName().left(10));
        entry->MacroFile = MacroFolder + used[int(k)];
        entry->TakePinsFromBoard(*inner[k]);
        entry->LayoutPins();
    }
    Bibo->Relayout();
    Bibo->update();
    MakroPathEdit->setVisible(true);
    MakroPathEdit->setToolTip(MacroFolder);
    SB_Bibliothek->verticalScrollBar()->setValue(0);
}

void TForm1::MakroPathEditChange()
{
    const QString text = MakroPathEdit->Path();
    if (!MakroPathEdit->isVisible() || text.isEmpty() || !QFileInfo(text).isDir())
        return;
    MacroFolder = text;
    MakroPathEdit->setToolTip(text);
    MakroClick();
}

void TForm1::PopupBiboPopup(QPoint palettePoint)
{
    TMakro* macro = nullptr;
    if (ShownPaletteRow() == kMacroPaletteTag)
        macro = dynamic_cast<TMakro*>(Bibo->EntryAt(palettePoint));
    m_deleteMacro = macro ? macro->MacroFile : QString();
    Del1->setVisible(macro != nullptr);
    if (macro)
        Del1->setText(DeleteMacroPrefix + macro->GetTypeName());
    Bibo->DraggedMacro = nullptr;
}

void TForm1::Del1Click()
{
    if (m_deleteMacro.isEmpty())
        return;
    const QString name = QFileInfo(m_deleteMacro).completeBaseName().left(10);
    const QString quoted = u'"' + name + u'"';
    const int answer = MessageBoxText(
        Lang3Q("Möchten Sie das Makro ", "OK to delete macro ", "OK pour effacer la macro ") +
            quoted + Lang3Q(" wirklich löschen?", " ?", " ?"),
        Lang3Q("Makro löschen", "Delete macro", "Effacer macro"), mbOKCancel, mtConfirmation);
    if (answer != mrOk)
        return;
    if (!QFile::remove(m_deleteMacro))
        MessageDlg(Lang3Q("Die Datei konnte nicht gelöscht werden: ",
                          "The file could not be deleted: ",
                          "Le fichier n'a pas pu être effacé : ") +
                       QDir::toNativeSeparators(m_deleteMacro),
                   mtError, mbOK);
    m_deleteMacro.clear();
    MakroClick();
}

// --- Quick find -----------------------------------------------------------------------------

void TForm1::BuildSearchIndex()
{
    SearchNames.clear();
    SearchClasses.clear();
    TBibo index;
    index.OnReadHeader = ReadLibraryHeader;
    index.NoPaint = true;
    for (int row = 0; row < PaletteCategoryCount; ++row) {
        try {
            index.LoadLibrary(CategoryLibrary(row), QString());
        } catch (const std::exception&) {
            continue;  // an unreadable library is left out of the search
        }
        for (const auto& entry : index.Entries) {
            if (dynamic_cast<const TMakro*>(entry.get()))
                continue;
            const QString name = TBibo::OneLineCaption(*entry);
            if (SearchNames.contains(name))
                continue;
            SearchNames << name;
            SearchClasses << (IsHardwareComponent(*entry)
                                  ? QStringLiteral("Hardware") + QString::fromLatin1(entry->ClassName())
                                  : QString::fromLatin1(entry->ClassName()));
        }
    }
}

void TForm1::SearchBtnClick()
{
    SearchPanel->setVisible(SearchBtn->isChecked());
    if (SearchPanel->isVisible()) {
        if (SearchNames.isEmpty())
            BuildSearchIndex();
        SearchEditChange();
        SearchEdit->setFocus();
    }
}

void TForm1::SearchEditChange()
{
    const QStringList words = SearchWords(SearchEdit->text());
    QStringList found;
    for (const QString& name : SearchNames)
        if (MatchesAllWords(name, words))
            found.append(name);
    SearchResultListbox->SetItems(found);
}

void TForm1::SearchAddClick()
{
    QListWidgetItem* selected = SearchResultListbox->currentItem();
    if (!selected || !CurrentBoard || Simulation->Running())
        return;
    const int index = SearchNames.indexOf(selected->text());
    if (index < 0)
        return;
    QString className = SearchClasses[index];
    if (className.startsWith(QStringLiteral("Hardware")))
        className = className.mid(8);
    std::unique_ptr<TBauteil> item = TPlatine::CreateStoredItem(className);
    auto* component = dynamic_cast<TIOBauteil*>(item.get());
    if (!component)
        return;
    component->LayoutPins();
    // Placed like a pasted component, through its own stream: the clipboard stays as it was.
    QByteArray bytes = TBibo::DragStream(*component);
    QBuffer stream(&bytes);
    stream.open(QIODevice::ReadOnly);
    CurrentBoard->SelectAll(false);
    EditorOf(CurrentBoard).PlacingTool.PasteFromStream(stream, uint8_t(FormatVersion));
    if (CurrentDesign)
        CurrentDesign->BringSelectionToFront();
    PlatineScrollbox->viewport()->setFocus();
    CurrentBoard->Repaint();
}
