// The palette in the main window: categories from the menu, placing by a press on the palette
// through the real stream, the quick find, keys typed into the palette's edits, the edit
// commands on a small board, macro files and macro tabs.

#include "mainwindow/MainWindowTestSupport.h"
#include "palette/PaletteTestSupport.h"

#include "core/board/BtPin.h"
#include "core/board/Makro.h"
#include "core/board/Segment.h"
#include "core/editing/BoardEditor.h"
#include "core/model/ClassRegistry.h"
#include "widgets/ImageListBox.h"
#include "frontpanel/Design.h"
#include "frontpanel/FP_Element.h"
#include "frontpanel/FrontPanel.h"
#include "platform/Help.h"
#include "platform/MessageBox.h"
#include "shell/boardview/BoardView.h"
#include "shell/mainwindow/ProjectFiles.h"
#include "shell/mainwindow/SimulationControl.h"
#include "shell/palette/Bibo.h"
#include "shell/palette/PaletteCategories.h"
#include "widgets/BrowseEdit.h"

#include <QAction>
#include <QDesktopServices>
#include <QFontMetrics>
#include <QScopeGuard>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QBuffer>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QScrollArea>
#include <QTabBar>
#include <QToolButton>

namespace {

constexpr int kGatter = 2;

class PaletteWindowTest : public MainWindowFixture {
protected:
    TForm1& Shown()
    {
        TForm1& f = Make();
        f.resize(900, 700);
        f.show();
        QApplication::processEvents();
        return f;
    }
    // Presses the left button on palette entry k.
    void PressEntry(TForm1& f, size_t k)
    {
        const QPoint p = f.Bibo->PaletteToDevice(QPoint(250, f.Bibo->Rows[k] - 20));
        SendMouse(f.Bibo, QEvent::MouseButtonPress, Qt::LeftButton, p);
        SendMouse(f.Bibo, QEvent::MouseButtonRelease, Qt::LeftButton, p);
    }
    // Drops what hangs at the mouse where it is.
    void Drop(TForm1& f)
    {
        TBoardEditor& e = f.EditorOf(f.CurrentBoard);
        const QPoint at = e.View.ViewCentre();
        e.Release(kLeftButton, 0, at.x(), at.y());
    }
    template <class T>
    static std::vector<T*> Of(TPlatine& board)
    {
        std::vector<T*> found;
        for (const auto& item : board.Items)
            if (auto* t = dynamic_cast<T*>(item.get()))
                found.push_back(t);
        return found;
    }
    static TIOBauteil* AddByName(TPlatine& board, const char* name, int x, int y)
    {
        std::unique_ptr<TBauteil> item = ClassRegistry().CreateBoardItem(QString::fromLatin1(name));
        auto* c = static_cast<TIOBauteil*>(item.release());
        c->X = x;
        c->Y = y;
        c->LayoutPins();
        return board.AddComponent(std::unique_ptr<TIOBauteil>(c));
    }
};

TEST_F(PaletteWindowTest, TheMenuLoadsACategoryAndTheButtonsStepThrough)
{
    TForm1& f = Shown();
    EXPECT_EQ(f.ShownPaletteRow(), DefaultPaletteRow);
    EXPECT_EQ(f.BiboButton->text(), QStringLiteral("Anzeigen"));

    QMenu* logic = f.ActionByName(QStringLiteral("Frontplattenelemente1"))->menu();
    ASSERT_NE(logic, nullptr);
    QAction* gates = nullptr;
    for (QAction* a : logic->actions())
        if (a->data().toInt() == kGatter && !a->isSeparator())
            gates = a;
    ASSERT_NE(gates, nullptr);
    EXPECT_EQ(gates->text(), QStringLiteral("Gatter"));
    gates->trigger();
    EXPECT_EQ(f.ShownPaletteRow(), kGatter);
    EXPECT_EQ(f.BiboButton->text(), QStringLiteral("Gatter"));
    EXPECT_FALSE(f.Bibo->Entries.empty());
    // The button shows the picture of the category's group, as the group's menu item does.
    auto picture = [](const QIcon& icon) { return icon.pixmap(16, 16).toImage(); };
    const QImage logicPicture = picture(f.ActionByName(QStringLiteral("Frontplattenelemente1"))->icon());
    EXPECT_FALSE(logicPicture.isNull());
    EXPECT_EQ(picture(f.BiboButton->icon()), logicPicture);
    EXPECT_NE(picture(f.ActionByName(QStringLiteral("Frontplattenelemente2"))->icon()), logicPicture);
    f.MakroClick();
    EXPECT_EQ(picture(f.BiboButton->icon()), picture(f.ActionByName(QStringLiteral("Makros1"))->icon()));
    f.LoadPaletteCategory(kGatter);

    f.sb_BiboPlus->click();
    EXPECT_EQ(f.ShownPaletteRow(), NextPaletteRow(kGatter, f.PaletteMenuShown()));
    f.sb_BiboMinus->click();
    EXPECT_EQ(f.ShownPaletteRow(), kGatter);

    // The wheel with the middle button held steps too, from the last category to the first.
    auto wheel = [&f](int delta, Qt::MouseButtons buttons) {
        QWidget* viewport = f.SB_Bibliothek->viewport();
        QWheelEvent event(QPointF(20, 20), viewport->mapToGlobal(QPointF(20, 20)), QPoint(),
                          QPoint(0, delta), buttons, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport, &event);
    };
    const int last = f.PaletteMenuShown().back().back();  // last item of the menu
    f.LoadPaletteCategory(last);
    wheel(-120, Qt::MiddleButton);
    EXPECT_EQ(f.ShownPaletteRow(), DefaultPaletteRow);
    wheel(120, Qt::MiddleButton);
    EXPECT_EQ(f.ShownPaletteRow(), last);
    wheel(-120, Qt::NoButton);  // without the middle button the palette only scrolls
    EXPECT_EQ(f.ShownPaletteRow(), last);

    // "Ram && Rom" shows one "&" on the button (a single one would be an access key).
    f.LoadPaletteCategory(9);
    EXPECT_EQ(f.BiboButton->text(), QStringLiteral("Ram && Rom"));
    EXPECT_EQ(f.BiboButton->toolTip(), QStringLiteral("Ram & Rom"));

    // Every category's caption shows whole on the button, in a smaller font or on two lines
    // where needed.
    for (uint8_t language : {0, 1, 2}) {
        Ctx().CurrentLanguage = language;
        for (int row = 0; row < PaletteCategoryCount; ++row) {
            f.LoadPaletteCategory(row);
            const QString shown = QString(f.BiboButton->text()).replace(QStringLiteral("&&"), QStringLiteral("&"));
            EXPECT_EQ(QString(shown).replace(u'\n', u' '), f.BiboButton->toolTip());
            for (const QString& line : shown.split(u'\n'))
                EXPECT_LE(QFontMetrics(f.BiboButton->font()).horizontalAdvance(line),
                          f.BiboButton->width() - f.BiboButton->iconSize().width() - 34)
                    << shown.toStdString();
        }
    }
    Ctx().CurrentLanguage = 0;

    // Text only follows its button.
    f.LoadPaletteCategory(kGatter);
    f.cb_NurText->click();
    EXPECT_TRUE(f.Bibo->TextOnly);
    EXPECT_EQ(f.Bibo->Rows.front(), 99);
}

TEST_F(PaletteWindowTest, APaletteEntryIsPlacedThroughItsStreamWithTheNextFreeNumber)
{
    TForm1& f = Shown();
    f.LoadPaletteCategory(kGatter);
    TIOBauteil* entry = f.Bibo->Entries[1].get();
    const QString className = QString::fromLatin1(entry->ClassName());

    for (int round = 1; round <= 2; ++round) {
        PressEntry(f, 1);
        TBoardEditor& e = f.EditorOf(f.MainBoard);
        ASSERT_EQ(e.Mode, kModePlacing);
        Drop(f);
        EXPECT_EQ(e.Mode, kModeSelect);
    }
    std::vector<TIOBauteil*> placed;
    for (const auto& item : f.MainBoard->Items)
        if (QString::fromLatin1(item->ClassName()) == className)
            placed.push_back(static_cast<TIOBauteil*>(item.get()));
    ASSERT_EQ(placed.size(), 2u);
    EXPECT_EQ(placed[0]->Number, 1);
    EXPECT_EQ(placed[1]->Number, 2);
    EXPECT_EQ(placed[1]->InputCount, entry->InputCount);
    EXPECT_EQ(placed[1]->OutputCount, entry->OutputCount);
    // The library entry stays where the palette put it.
    EXPECT_EQ(f.Bibo->Entries[1].get(), entry);
}

TEST_F(PaletteWindowTest, AClickOnThePaletteAndOneOnTheBoardPlaceTheComponentThere)
{
    TForm1& f = Shown();
    f.LoadPaletteCategory(kGatter);
    QWidget* board = f.PlatineScrollbox->viewport();
    TBoardEditor& e = f.EditorOf(f.MainBoard);
    const QPoint onEntry = f.Bibo->PaletteToDevice(QPoint(250, f.Bibo->Rows[1] - 20));

    for (const QPoint target : {QPoint(200, 150), QPoint(420, 330)}) {
        // The press hands the mouse to the board, so the release over the palette arrives
        // there: it must not drop the component where the library had it.
        SendMouse(f.Bibo, QEvent::MouseButtonPress, Qt::LeftButton, onEntry);
        SendMouse(board, QEvent::MouseButtonRelease, Qt::LeftButton,
                  board->mapFromGlobal(f.Bibo->mapToGlobal(onEntry)));
        ASSERT_EQ(e.Mode, kModePlacing);

        SendMouse(board, QEvent::MouseMove, Qt::NoButton, target);
        SendMouse(board, QEvent::MouseButtonPress, Qt::LeftButton, target);
        SendMouse(board, QEvent::MouseButtonRelease, Qt::LeftButton, target);
        EXPECT_EQ(e.Mode, kModeSelect);

        const TRect b = Of<TIOBauteil>(*f.MainBoard).back()->GetBounds();
        const QPoint centre = e.View.BoardToDevice(
            QPoint(b.Left + (b.Right - b.Left) / 2, b.Top + (b.Bottom - b.Top) / 2));
        const int grid = e.View.BoardToDevice(QPoint(20, 0)).x() - e.View.BoardToDevice(QPoint()).x();
        EXPECT_LE((centre - target).manhattanLength(), 2 * grid + 2) << centre.x() << "," << centre.y();
    }
}

TEST_F(PaletteWindowTest, QuickFindPlacesTheComponentAndLeavesTheClipboard)
{
    TForm1& f = Shown();
    AddByName(*f.MainBoard, "TBTAnd", 1000, 1000);
    f.MainBoard->SelectAll(true);
    f.CopyCommand();
    const QByteArray clipboard = f.ClipboardStream->data();
    ASSERT_FALSE(clipboard.isEmpty());
    f.MainBoard->SelectAll(false);

    f.SearchBtn->click();
    EXPECT_TRUE(f.SearchPanel->isVisible());
    EXPECT_GT(f.SearchResultListbox->count(), 20);
    QStringList seen;
    for (int i = 0; i < f.SearchResultListbox->count(); ++i)
        seen << f.SearchResultListbox->item(i)->text();
    EXPECT_EQ(seen.removeDuplicates(), 0);

    // Long names break onto a second line in the narrow list instead of being cut.
    f.SearchEdit->setText(QStringLiteral("zähler"));
    QApplication::processEvents();
    const int room = f.SearchResultListbox->viewport()->width();
    const int line = f.SearchResultListbox->fontMetrics().height();
    int wide = 0;
    for (int i = 0; i < f.SearchResultListbox->count(); ++i) {
        QListWidgetItem* item = f.SearchResultListbox->item(i);
        const QRect r = f.SearchResultListbox->visualItemRect(item);
        EXPECT_LE(r.width(), room) << item->text().toStdString();
        if (f.SearchResultListbox->fontMetrics().horizontalAdvance(item->text()) > room) {
            ++wide;
            EXPECT_GE(r.height(), 2 * line) << item->text().toStdString();
        }
    }
    EXPECT_GT(wide, 0) << "the list holds a name wider than itself";

    f.SearchEdit->setText(QStringLiteral("nan"));
    ASSERT_GE(f.SearchResultListbox->count(), 1);
    QListWidgetItem* nand = f.SearchResultListbox->findItems(QStringLiteral("NAND"), Qt::MatchExactly).value(0);
    ASSERT_NE(nand, nullptr);
    f.SearchResultListbox->setCurrentItem(nand);
    f.SearchAddClick();
    ASSERT_EQ(Of<TIOBauteil>(*f.MainBoard).size(), 2u);
    EXPECT_EQ(QString::fromLatin1(Of<TIOBauteil>(*f.MainBoard).back()->ClassName()),
              QStringLiteral("TBTNand"));
    EXPECT_EQ(f.EditorOf(f.MainBoard).Mode, kModePlacing);
    EXPECT_EQ(f.ClipboardStream->data(), clipboard);
    Drop(f);
}

TEST_F(PaletteWindowTest, KeysTypedIntoThePaletteEditsStayThere)
{
    TForm1& f = Shown();
    // An edit that takes the shortcut-override event keeps the key from the window's
    // shortcuts (Delete, Ctrl+X, Ctrl+D ... of the board); other keys stay shortcuts.
    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        bool kept;
    } const cases[] = {
        {Qt::Key_Delete, Qt::NoModifier, true},  {Qt::Key_X, Qt::ControlModifier, true},
        {Qt::Key_C, Qt::ControlModifier, true},  {Qt::Key_V, Qt::ControlModifier, true},
        {Qt::Key_A, Qt::ControlModifier, true},  {Qt::Key_D, Qt::ControlModifier, true},
        {Qt::Key_F9, Qt::NoModifier, false},     {Qt::Key_G, Qt::ControlModifier, false},
    };
    for (QWidget* edit : std::initializer_list<QWidget*>{f.SearchEdit, f.MakroPathEdit}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.key);
            QKeyEvent event(QEvent::ShortcutOverride, c.key, c.modifiers);
            event.ignore();
            QApplication::sendEvent(edit, &event);
            EXPECT_EQ(event.isAccepted(), c.kept);
        }
    }
}

TEST_F(PaletteWindowTest, EditCommandsOnASmallBoard)
{
    TForm1& f = Shown();
    struct Case {
        const char* action;
        int componentsAfter;   // of the two on the board, one selected
        bool placing;          // something hangs at the mouse afterwards
        bool clipboardFilled;
    } const cases[] = {
        {"Ausschneiden1", 1, false, true},
        {"Kopieren1", 2, false, true},
        {"Duplizieren1", 3, true, true},
        {"Lschen1", 1, false, false},
        {"Allesauswhlen1", 2, false, false},
        {"Nachvornesetzen1", 2, false, false},
        {"Nachhintensetzen1", 2, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.action);
        f.Projects->NewProject();
        f.ClipboardStream->buffer().clear();
        f.ClipboardStream->seek(0);
        TIOBauteil* a = AddByName(*f.MainBoard, "TBTAnd", 1000, 1000);
        AddByName(*f.MainBoard, "TBTOr", 2000, 1000);
        f.MainBoard->SelectObject(a, true);
        f.UpdateMenuStates();
        QAction* action = f.ActionByName(QString::fromLatin1(c.action));
        ASSERT_TRUE(action->isEnabled());
        action->trigger();
        if (f.EditorOf(f.MainBoard).Mode == kModePlacing)
            Drop(f);
        else
            EXPECT_FALSE(c.placing);
        EXPECT_EQ(int(Of<TIOBauteil>(*f.MainBoard).size()), c.componentsAfter);
        EXPECT_EQ(!f.ClipboardStream->data().isEmpty(), c.clipboardFilled);
    }
    // To front and to back move the selected item in the paint order.
    f.Projects->NewProject();
    TIOBauteil* first = AddByName(*f.MainBoard, "TBTAnd", 1000, 1000);
    TIOBauteil* second = AddByName(*f.MainBoard, "TBTOr", 2000, 1000);
    f.MainBoard->SelectObject(first, true);
    f.UpdateTools();
    f.ActionByName(QStringLiteral("Nachvornesetzen1"))->trigger();
    EXPECT_GT(f.MainBoard->IndexOfItem(first), f.MainBoard->IndexOfItem(second));
    f.ActionByName(QStringLiteral("Nachhintensetzen1"))->trigger();
    EXPECT_LT(f.MainBoard->IndexOfItem(first), f.MainBoard->IndexOfItem(second));

    // Paste is enabled by the clipboard alone; nothing selected disables cut and delete.
    f.MainBoard->SelectAll(false);
    f.UpdateMenuStates();
    EXPECT_FALSE(f.ActionByName(QStringLiteral("Ausschneiden1"))->isEnabled());
    EXPECT_FALSE(f.ActionByName(QStringLiteral("Lschen1"))->isEnabled());
    f.ClipboardStream->buffer().clear();
    f.UpdateMenuStates();
    EXPECT_FALSE(f.ActionByName(QStringLiteral("Einfgen1"))->isEnabled());
}

TEST_F(PaletteWindowTest, KeyCommandsFollowTheSelectionWithoutAMenuOpened)
{
    TForm1& f = Shown();
    TBoardEditor& e = f.EditorOf(f.MainBoard);
    TIOBauteil* gate = AddByName(*f.MainBoard, "TBTAnd", 1000, 1000);
    f.MainBoard->SelectAll(false);
    f.UpdateTools();
    QWidget* board = f.PlatineScrollbox->viewport();
    const TRect b = gate->GetBounds();
    const QPoint onGate = e.View.BoardToDevice(QPoint((b.Left + b.Right) / 2, (b.Top + b.Bottom) / 2));
    const QPoint empty = e.View.BoardToDevice(QPoint(b.Right + 600, b.Bottom + 600));
    for (const char* name : {"Lschen1", "Kopieren1", "Ausschneiden1", "Duplizieren1"})
        EXPECT_FALSE(f.ActionByName(QString::fromLatin1(name))->isEnabled()) << name;

    SendMouse(board, QEvent::MouseButtonPress, Qt::LeftButton, onGate);
    SendMouse(board, QEvent::MouseButtonRelease, Qt::LeftButton, onGate);
    ASSERT_TRUE(gate->Selected);
    for (const char* name : {"Lschen1", "Kopieren1", "Ausschneiden1", "Duplizieren1"})
        EXPECT_TRUE(f.ActionByName(QString::fromLatin1(name))->isEnabled()) << name;

    SendMouse(board, QEvent::MouseButtonPress, Qt::LeftButton, empty);
    SendMouse(board, QEvent::MouseButtonRelease, Qt::LeftButton, empty);
    EXPECT_FALSE(f.ActionByName(QStringLiteral("Lschen1"))->isEnabled());
}

TEST_F(PaletteWindowTest, WireAndComponentStatesFollowTheirButtons)
{
    TForm1& f = Shown();
    TIOBauteil* a = AddByName(*f.MainBoard, "TBTAnd", 1000, 1000);
    TIOBauteil* b = AddByName(*f.MainBoard, "TBTOr", 2000, 1000);
    f.MainBoard->AddWire(QPoint(a->Outputs[0]->X, a->Outputs[0]->Y),
                         QPoint(b->Inputs[0]->X, b->Inputs[0]->Y));
    TSegment* wire = nullptr;
    for (TSegment* s : Of<TSegment>(*f.MainBoard))
        if (!s->IsPinSegment())
            wire = s;
    ASSERT_NE(wire, nullptr);

    // Component states follow at once, running or not.
    f.SB_Status->click();
    EXPECT_TRUE(f.MainBoard->ShowComponentStates);
    EXPECT_TRUE(a->ShowStates);
    f.SB_Status->click();
    EXPECT_FALSE(a->ShowStates);

    // The board's background between the gates tells a run from editing.
    f.ZoomCommand(1);
    const QPoint between = f.EditorOf(f.MainBoard).View.BoardToDevice(QPoint(1500, 1400));
    auto background = [&f, between] {
        return f.PlatineScrollbox->viewport()->grab().toImage().pixelColor(between);
    };
    const QColor editing = background();

    // Wire states: the option is kept while idle and the wires follow it during a run.
    f.Simulation->SimFast = false;
    f.SB_HILO->click();
    EXPECT_TRUE(f.MainBoard->ShowWireStates);
    f.Simulation->StartSimulation();
    ASSERT_TRUE(f.Simulation->Running());
    EXPECT_NE(background(), editing);
    EXPECT_TRUE(wire->ShowLineStates);
    f.SB_HILO->click();
    EXPECT_FALSE(wire->ShowLineStates);
    f.SB_HILO->click();
    EXPECT_TRUE(wire->ShowLineStates);
    f.Simulation->StopSimulation();
    EXPECT_FALSE(wire->ShowLineStates);
    EXPECT_TRUE(f.SB_HILO->isChecked()) << "the option stays for the next run";
    EXPECT_EQ(background(), editing) << "the stop repaints the board";
}

// Catches the addresses the program hands to the desktop's browser.
class TUrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> Urls;
public slots:
    void Open(const QUrl& url) { Urls << url; }
};

TEST_F(PaletteWindowTest, HelpFromTheMenuThePaletteAndTheForum)
{
    TForm1& f = Shown();
    for (const char* page : {"help/de/index.html", "help/de/gates.html", "help/de/hardware.html",
                             "help/de/mainwindow.html"})
        WriteFile(QString::fromLatin1(page), "<html></html>");
    WriteFile(QStringLiteral("help/topics.ini"), "[Topics]\r\n18235=gates\r\n");
    QStringList opened;
    SetUrlOpenerForTesting([&](const QUrl& url) {
        opened << QFileInfo(url.toLocalFile()).fileName();
        return true;
    });
    const auto restore = qScopeGuard([] { SetUrlOpenerForTesting({}); });

    // Contents with nothing selected, the component's page with one selected.
    f.ActionByName(QStringLiteral("Index"))->trigger();
    TIOBauteil* gate = AddByName(*f.MainBoard, "TBTAnd", 1000, 1000);
    f.MainBoard->SelectObject(gate, true);
    f.ActionByName(QStringLiteral("Index"))->trigger();
    f.ActionByName(QStringLiteral("UntersttzeHardware1"))->trigger();
    EXPECT_EQ(opened, (QStringList{QStringLiteral("index.html"), QStringLiteral("gates.html"),
                                   QStringLiteral("hardware.html")}));

    // The palette's "?" box opens the entry's page and places nothing.
    f.LoadPaletteCategory(kGatter);
    size_t k = 0;
    while (k < f.Bibo->Entries.size() && QString::fromLatin1(f.Bibo->Entries[k]->ClassName()) != "TBTAnd")
        ++k;
    ASSERT_LT(k, f.Bibo->Entries.size());
    opened.clear();
    const QPoint box = f.Bibo->PaletteToDevice(QPoint(20, f.Bibo->Rows[k] - 20));
    SendMouse(f.Bibo, QEvent::MouseButtonPress, Qt::LeftButton, box);
    SendMouse(f.Bibo, QEvent::MouseButtonRelease, Qt::LeftButton, box);
    EXPECT_EQ(opened, QStringList{QStringLiteral("gates.html")});
    EXPECT_EQ(f.EditorOf(f.MainBoard).Mode, kModeSelect);

    // The forum opens in the desktop's browser.
    TUrlCatcher browser;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &browser, "Open");
    f.ActionByName(QStringLiteral("InternetForum1"))->trigger();
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    ASSERT_EQ(browser.Urls.size(), 1);
    EXPECT_TRUE(browser.Urls[0].toString().endsWith(QStringLiteral("/forum/")));
}

TEST_F(PaletteWindowTest, CleanUpSelectsDanglingWiresOnly)
{
    TForm1& f = Shown();
    TIOBauteil* a = AddByName(*f.MainBoard, "TBTAnd", 1000, 1000);
    TIOBauteil* b = AddByName(*f.MainBoard, "TBTOr", 2000, 1000);
    // A wire from pin to pin and a dangling chain of two segments.
    f.MainBoard->AddWire(QPoint(a->Outputs[0]->X, a->Outputs[0]->Y),
                         QPoint(b->Inputs[0]->X, b->Inputs[0]->Y));
    f.MainBoard->AddWire(QPoint(5000, 5000), QPoint(5400, 5000));
    f.MainBoard->AddWire(QPoint(5400, 5000), QPoint(5400, 5400));
    f.CleanUpCommand();
    int selected = 0;
    for (TSegment* s : Of<TSegment>(*f.MainBoard))
        if (s->Selected) {
            ++selected;
            EXPECT_FALSE(s->IsPinSegment());
            EXPECT_GE(std::max(s->X1, s->X2), 5000);
        }
    EXPECT_EQ(selected, 2);
    f.DeleteCommand();
    f.CleanUpCommand();
    EXPECT_FALSE(f.MainBoard->HasSelection());
}

} // namespace

namespace {

class MacroWindowTest : public PaletteWindowTest {
protected:
    // A board with two macro pins around an AND gate.
    void BuildMacroCircuit(TPlatine& board)
    {
        AddByName(board, "TBTPin", 400, 1000);
        AddByName(board, "TBTAnd", 1000, 1000);
        AddByName(board, "TBTPin", 2000, 1000);
    }
    static QByteArray ReadAll(const QString& name)
    {
        QFile file(name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

TEST_F(MacroWindowTest, AMacroFileReadsBackAndSavesByteForByte)
{
    TForm1& f = Shown();
    TScopedMessageResponder messages;
    BuildMacroCircuit(*f.MainBoard);
    const QString first = dir.filePath(QStringLiteral("Zaehlerbaustein.mak"));
    const QString second = dir.filePath(QStringLiteral("zweites.mak"));
    QString answer = first;
    f.AskMacroFileName = [&](bool save, const QString&) { return save ? answer : QString(); };
    ASSERT_TRUE(f.MakroSpeichernClick());
    // The macro file is not the project: Save still asks for the project's own name.
    EXPECT_TRUE(f.Projects->ProjectFileName.isEmpty());

    f.Projects->NewProject();
    TMakro* macro = f.ImportMacroFile(first, false, f.MainBoard);
    ASSERT_NE(macro, nullptr);
    EXPECT_EQ(macro->MacroName(), QStringLiteral("Zaehlerbau"));  // first 10 characters
    EXPECT_EQ(macro->PinTotal, 2);
    f.OpenMacroWindow(macro);
    ASSERT_EQ(f.CurrentBoard, macro->InnerBoard());
    answer = second;
    ASSERT_TRUE(f.MakroSpeichernClick());
    EXPECT_EQ(ReadAll(second), ReadAll(first));
    EXPECT_TRUE(messages.Requests().empty());
}

TEST_F(MacroWindowTest, SaveAsMacroNeedsMacroPins)
{
    TForm1& f = Shown();
    TScopedMessageResponder messages;
    AddByName(*f.MainBoard, "TBTAnd", 1000, 1000);
    int asked = 0;
    f.AskMacroFileName = [&](bool, const QString&) {
        ++asked;
        return QString();
    };
    EXPECT_FALSE(f.MakroSpeichernClick());
    EXPECT_EQ(asked, 0);
    ASSERT_EQ(messages.Requests().size(), 1u);
    EXPECT_TRUE(messages.Requests()[0].text.startsWith(
        QString::fromUtf8("Diese Schaltung hat keine Pins für Makros definiert.")));
    EXPECT_TRUE(messages.Requests()[0].caption.startsWith(QStringLiteral("Als Makro speichern (")));
}

TEST_F(MacroWindowTest, MacroTabsOpenOnceAndCloseToTheirNeighbour)
{
    TForm1& f = Shown();
    BuildMacroCircuit(*f.MainBoard);
    const QString file = dir.filePath(QStringLiteral("m.mak"));
    f.AskMacroFileName = [&](bool, const QString&) { return file; };
    ASSERT_TRUE(f.MakroSpeichernClick());
    f.Projects->NewProject();
    std::vector<TMakro*> macros;
    for (int i = 0; i < 3; ++i)
        macros.push_back(f.ImportMacroFile(file, false, f.MainBoard));

    for (TMakro* m : macros)
        f.OpenMacroWindow(m);
    f.OpenMacroWindow(macros[0]);  // already open: its tab is selected
    EXPECT_EQ(f.TabSet->count(), 4);
    EXPECT_EQ(f.TabSet->currentIndex(), 1);
    EXPECT_EQ(f.TabSet->tabText(1), QStringLiteral(" m "));

    // Closing the last of three macro tabs shows the second one.
    f.ShowBoardTab(3);
    f.CloseMacroTab();
    EXPECT_EQ(f.CurrentBoard, macros[1]->InnerBoard());
    EXPECT_EQ(f.TabSet->currentIndex(), 2);
    // Closing the middle one shows the one after it.
    f.OpenMacroWindow(macros[2]);
    f.ShowBoardTab(2);
    f.CloseMacroTab();
    EXPECT_EQ(f.CurrentBoard, macros[2]->InnerBoard());
    EXPECT_EQ(f.OpenBoards.size(), 3u);
    EXPECT_EQ(f.TabSet->count(), 3);
    // The main circuit's tab stays.
    f.ShowBoardTab(0);
    f.CloseMacroTab();
    EXPECT_EQ(f.TabSet->count(), 3);
}

TEST_F(MacroWindowTest, TheMacroPaletteShowsTheFolder)
{
    TForm1& f = Shown();
    BuildMacroCircuit(*f.MainBoard);
    const QString folder = dir.filePath(QStringLiteral("mak")) + u'/';
    QDir().mkpath(folder);
    f.AskMacroFileName = [&](bool, const QString&) { return folder + QStringLiteral("Langer Makroname.mak"); };
    ASSERT_TRUE(f.MakroSpeichernClick());  // the palette follows the saved macro's folder
    EXPECT_EQ(f.ShownPaletteRow(), -1);
    EXPECT_EQ(f.MacroFolder, folder);
    ASSERT_EQ(f.Bibo->Entries.size(), 1u);
    auto* entry = dynamic_cast<TMakro*>(f.Bibo->Entries[0].get());
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->MacroName(), QStringLiteral("Langer Mak"));
    EXPECT_EQ(entry->PinTotal, 2);

    // A press on the entry imports the macro and lets it hang at the mouse.
    f.Projects->NewProject();
    PressEntry(f, 0);
    ASSERT_EQ(f.EditorOf(f.MainBoard).Mode, kModePlacing);
    Drop(f);
    ASSERT_EQ(Of<TMakro>(*f.MainBoard).size(), 1u);
    EXPECT_EQ(Of<TMakro>(*f.MainBoard)[0]->InnerBoard()->MacroPinCount(), 2);

    // Next category from the macro palette: the first of group 0.
    f.sb_BiboPlus->click();
    EXPECT_EQ(f.ShownPaletteRow(), DefaultPaletteRow);
}

TEST_F(MacroWindowTest, AMacroKeepsItsElementsInAGroupOfItsOwn)
{
    TFrontplatte panel;
    TForm1& f = Shown();
    TScopedMessageResponder messages;
    BuildMacroCircuit(*f.MainBoard);
    const QString folder = dir.filePath(QStringLiteral("mak")) + u'/';
    QDir().mkpath(folder);
    // The circuit without any element first (kept out of the macro folder): its macro's group
    // holds nothing to show.
    const QString empty = dir.filePath(QStringLiteral("leer.mak"));
    f.AskMacroFileName = [&](bool, const QString&) { return empty; };
    ASSERT_TRUE(f.MakroSpeichernClick());
    // A switch with its front-panel element, placed through its stream as the palette does.
    std::unique_ptr<TBauteil> item = TPlatine::CreateStoredItem(QStringLiteral("TBTSchalter"));
    auto* made = static_cast<TIOBauteil*>(item.get());
    made->LayoutPins();
    QByteArray bytes = TBibo::DragStream(*made);
    QBuffer stream(&bytes);
    stream.open(QIODevice::ReadOnly);
    f.EditorOf(f.MainBoard).PlacingTool.PasteFromStream(stream, uint8_t(f.FormatVersion));
    Drop(f);
    f.AskMacroFileName = [&](bool, const QString&) { return folder + QStringLiteral("schalter.mak"); };
    ASSERT_TRUE(f.MakroSpeichernClick());
    ASSERT_TRUE(QFile::copy(folder + QStringLiteral("schalter.mak"), folder + QStringLiteral("zwei.mak")));

    f.Projects->NewProject();
    TDesign* root = f.RootDesign;
    ASSERT_NE(root, nullptr);
    const size_t rootElements = root->Elements.size();
    // Imported, saved with the project and read back: the switch's element lies in the macro's
    // group, the only new element of the root design, which is visible since it holds it.
    ASSERT_NE(f.ImportMacroFile(folder + QStringLiteral("schalter.mak"), false, f.MainBoard), nullptr);
    const QString project = dir.filePath(QStringLiteral("gruppe.prj"));
    ASSERT_TRUE(f.Projects->SaveProject(project));
    ASSERT_TRUE(f.Projects->OpenProject(project));
    const std::vector<TMakro*> read = Of<TMakro>(*f.MainBoard);
    ASSERT_EQ(read.size(), 1u);
    {
        TMakro* macro = read[0];
        ASSERT_NE(macro->Design, nullptr);
        EXPECT_EQ(macro->ParentDesign, root);
        EXPECT_EQ(root->Elements.size(), rootElements + 1);
        EXPECT_TRUE(macro->Design->GetisVisible());
        ASSERT_EQ(macro->Design->Elements.size(), 1u);
        bool linked = false;
        for (const auto& inner : macro->InnerBoard()->Items)
            if (auto* c = dynamic_cast<TIOBauteil*>(inner.get()); c && c->Link)
                linked = c->Link->OwnerDesign == macro->Design;
        EXPECT_TRUE(linked);
        // The macro's tab shows its group on the front panel; the main circuit's the root.
        f.OpenMacroWindow(macro);
        EXPECT_EQ(f.CurrentDesign, macro->Design);
        EXPECT_EQ(panel.ActiveDesign, macro->Design);
        EXPECT_EQ(f.Projects->ActiveDesign(), macro->Design);
        f.ShowBoardTab(0);
        EXPECT_EQ(f.CurrentDesign, root);
        EXPECT_EQ(panel.ActiveDesign, root);
    }

    // A macro without elements nested in another: both groups stay hidden until a component
    // with an element is placed inside, then both show.
    f.Projects->NewProject();
    TMakro* outer = f.ImportMacroFile(empty, false, f.MainBoard);
    ASSERT_NE(outer, nullptr);
    f.OpenMacroWindow(outer);
    TMakro* nested = f.ImportMacroFile(empty, false, outer->InnerBoard());
    ASSERT_NE(nested, nullptr);
    ASSERT_TRUE(outer->Design && nested->Design);
    EXPECT_EQ(nested->ParentDesign, outer->Design);
    EXPECT_FALSE(outer->Design->GetisVisible());
    EXPECT_FALSE(nested->Design->GetisVisible());
    f.OpenMacroWindow(nested);
    PasteAsPlaced(*nested->InnerBoard(), [](TPlatine& scratch) {
        std::unique_ptr<TBauteil> sw = TPlatine::CreateStoredItem(QStringLiteral("TBTSchalter"));
        static_cast<TIOBauteil*>(sw.get())->LayoutPins();
        scratch.AddComponent(std::unique_ptr<TIOBauteil>(static_cast<TIOBauteil*>(sw.release())));
    });
    EXPECT_TRUE(nested->Design->GetisVisible());
    EXPECT_TRUE(outer->Design->GetisVisible());
    f.ShowBoardTab(0);

    // The macro palette reads both files behind a progress bar; their groups never reach the
    // root design for good.
    f.Projects->NewProject();
    std::vector<std::pair<int, bool>> progress;  // value, palette hidden meanwhile
    QObject::connect(f.ProgressBar1, &QProgressBar::valueChanged, f.ProgressBar1, [&](int v) {
        progress.emplace_back(v, f.ProgressBar1->isVisible() && !f.SB_Bibliothek->isVisible());
    });
    f.MakroClick();
    EXPECT_EQ(progress, (std::vector<std::pair<int, bool>>{{0, true}, {50, true}, {100, true}}));
    EXPECT_FALSE(f.ProgressBar1->isVisible());
    EXPECT_TRUE(f.SB_Bibliothek->isVisible());
    EXPECT_EQ(f.Bibo->Entries.size(), 2u);
    EXPECT_EQ(root->Elements.size(), rootElements);
    EXPECT_TRUE(root->updatesEnabled());
    // The only question was the save question of the open.
    ASSERT_EQ(messages.Requests().size(), 1u);
    EXPECT_EQ(messages.Requests()[0].text,
              QString::fromUtf8("Möchten Sie die aktuelle Schaltung speichern?"));
}

} // namespace

#include "PaletteWindowTest.moc"
