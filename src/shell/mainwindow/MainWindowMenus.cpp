// The main window's controls: main menu, tool bar with its drawn tool buttons, mode and run
// buttons, palette area, board area with its tabs; and the commands wired to the project files
// and the run control.

#include "shell/mainwindow/MainWindow.h"

#include "core/board/Makro.h"
#include "core/board/Platine.h"
#include "core/model/Iobt.h"
#include "core/editing/BoardEditor.h"
#include "shell/boardview/BoardView.h"
#include "shell/mainwindow/ProjectFiles.h"
#include "shell/mainwindow/SimulationControl.h"
#include "frontpanel/FrontPanel.h"
#include "hardware/framework/HardwareDlg.h"
#include "hardware/framework/HerstellerDlg.h"
#include "platform/Colors.h"
#include "platform/Help.h"
#include "ui/WidgetHelpers.h"
#include "widgets/SpeedButton.h"
#include "widgets/BrowseEdit.h"
#include "widgets/ImageListBox.h"
#include "widgets/ToolGlyphs.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QWheelEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QProgressBar>
#include <QScrollArea>
#include <QShortcut>
#include <QSplitter>
#include <QTabBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QToolButton* NewButton(QWidget* parent, const char* name, bool checkable)
{
    auto* button = Named(new QToolButton(parent), name);
    button->setCheckable(checkable);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setFixedSize(32, 28);
    return button;
}

} // namespace

QAction* TForm1::ActionByName(const QString& name) const
{
    return m_actions.value(name);
}

QToolButton* TForm1::ButtonByName(const QString& name) const
{
    return m_buttons.value(name);
}

void TForm1::BuildMenus()
{
    auto item = [this](QMenu* menu, const char* name, QKeySequence shortcut = {}) {
        QAction* action = menu->addAction(QString());
        action->setObjectName(QString::fromLatin1(name));
        if (!shortcut.isEmpty())
            action->setShortcut(shortcut);
        m_actions.insert(action->objectName(), action);
        return action;
    };
    auto menu = [this](const char* name) {
        QMenu* m = menuBar()->addMenu(QString());
        m->setObjectName(QString::fromLatin1(name));
        return m;
    };

    Datei1 = menu("Datei1");
    item(Datei1, "DateiNeuBtn", QKeySequence(Qt::CTRL | Qt::Key_N));
    item(Datei1, "ffnen2", QKeySequence(Qt::CTRL | Qt::Key_L));
    item(Datei1, "Speichern1", QKeySequence(Qt::CTRL | Qt::Key_S));
    item(Datei1, "Speichernals1");
    Datei1->addSeparator();
    item(Datei1, "Beispiele1", QKeySequence(Qt::CTRL | Qt::Key_B));
    Datei1->addSeparator();
    item(Datei1, "Makroimportieren1", QKeySequence(Qt::CTRL | Qt::Key_J));
    item(Datei1, "MakroSpeichern1", QKeySequence(Qt::CTRL | Qt::Key_M));
    Datei1->addSeparator();
    item(Datei1, "Drucken1", QKeySequence(Qt::CTRL | Qt::Key_P));
    N3 = Datei1->addSeparator();
    N3->setObjectName(QStringLiteral("N3"));
    item(Datei1, "Compilieren");
    HistoryTrenner = Datei1->addSeparator();
    HistoryTrenner->setObjectName(QStringLiteral("HistoryTrenner"));
    for (int i = 0; i < 4; ++i) {
        const QByteArray name = "History" + QByteArray::number(i + 1);
        HistoryItems[i] = item(Datei1, name.constData());
        HistoryItems[i]->setVisible(false);
    }
    HistoryTrenner->setVisible(false);
    Datei1->addSeparator();
    item(Datei1, "Beenden1");
    // The compile command shows in the editor only (from the first show on).
    m_actions.value(QStringLiteral("Compilieren"))->setVisible(false);
    N3->setVisible(false);

    Bearbeiten1 = menu("Bearbeiten1");
    item(Bearbeiten1, "Ausschneiden1", QKeySequence(Qt::CTRL | Qt::Key_X));
    item(Bearbeiten1, "Kopieren1", QKeySequence(Qt::CTRL | Qt::Key_C));
    item(Bearbeiten1, "Einfgen1", QKeySequence(Qt::CTRL | Qt::Key_V));
    item(Bearbeiten1, "Duplizieren1", QKeySequence(Qt::CTRL | Qt::Key_D));
    Bearbeiten1->addSeparator();
    item(Bearbeiten1, "Allesauswhlen1", QKeySequence(Qt::CTRL | Qt::Key_A));
    item(Bearbeiten1, "Aufrumen1", QKeySequence(Qt::CTRL | Qt::Key_Delete));
    item(Bearbeiten1, "Lschen1", QKeySequence(Qt::Key_Delete));
    Bearbeiten1->addSeparator();
    item(Bearbeiten1, "Nachvornesetzen1", QKeySequence(Qt::SHIFT | Qt::Key_PageUp));
    item(Bearbeiten1, "Nachhintensetzen1", QKeySequence(Qt::SHIFT | Qt::Key_PageDown));

    Frontplatte1 = menu("Frontplatte1");
    item(Frontplatte1, "Eigenschaften1", QKeySequence(Qt::CTRL | Qt::Key_F));
    item(Frontplatte1, "NeueFrontplatteerzeugen1", QKeySequence(Qt::CTRL | Qt::Key_O));
    item(Frontplatte1, "Lschen3");
    Frontplatte1->addSeparator();
    item(Frontplatte1, "FPAnzeigen", QKeySequence(Qt::Key_F12));
    Frontplatte1->addSeparator();
    item(Frontplatte1, "Drucken2");
    item(Frontplatte1, "Zwischenablage1");

    Konfiguration1 = menu("Konfiguration1");
    item(Konfiguration1, "Anwendung1", QKeySequence(Qt::CTRL | Qt::Key_I));
    item(Konfiguration1, "Hardware2", QKeySequence(Qt::CTRL | Qt::Key_H));

    Option = menu("Option");
    item(Option, "Raster", QKeySequence(Qt::CTRL | Qt::Key_G))->setCheckable(true);
    item(Option, "Hinweistexte")->setCheckable(true);
    Option->addSeparator();
    item(Option, "Stueckliste");

    Fenster1 = menu("Fenster1");
    item(Fenster1, "naechstes1");
    item(Fenster1, "Makrofensterschliessen1", QKeySequence(Qt::CTRL | Qt::Key_F4));
    // A held Ctrl shortcut acts once: the key has to be released before it acts again.
    for (const char* name : {"Ausschneiden1", "Kopieren1", "Einfgen1", "Duplizieren1",
                             "Allesauswhlen1", "naechstes1", "Makrofensterschliessen1"})
        m_actions.value(QString::fromLatin1(name))->setAutoRepeat(false);

    Hilfe1 = menu("Hilfe1");
    Hilfe1->setTitle(QStringLiteral("&?"));
    item(Hilfe1, "Index", QKeySequence(Qt::CTRL | Qt::Key_F1));
    item(Hilfe1, "UntersttzeHardware1");
    Hilfe1->addSeparator();
    item(Hilfe1, "InternetUpdate1");
    item(Hilfe1, "InternetForum1")->setText(QStringLiteral("Internet &Forum..."));
    Hilfe1->addSeparator();
    item(Hilfe1, "Info")->setText(QStringLiteral("I&nfo..."));

    // Palette categories (filled by the palette) and the quick find's and macro palette's
    // pop-up items.
    BiboMenu = Named(new QMenu(this), "BiboMenu");
    for (const char* name : {"Frontplattenelemente2", "Frontplattenelemente1", "Analoges1",
                             "Diverses1", "Hardware1"}) {
        QMenu* group = Named(new QMenu(BiboMenu), name);
        QAction* action = BiboMenu->addMenu(group);
        action->setObjectName(QString::fromLatin1(name));
        m_actions.insert(action->objectName(), action);
    }
    BiboMenu->addSeparator();
    item(BiboMenu, "Makros1")->setIcon(ToolGlyphIcon(TToolGlyph::GroupMacro, 16));
    BiboMenu->addSeparator();
    Del1 = item(BiboMenu, "Del1");
    Del1->setVisible(false);
    auto* searchMenu = Named(new QMenu(this), "SearchMenu");
    item(searchMenu, "SearchAdd");

    BauteilMenu = Named(new QMenu(this), "BauteilMenu");
    item(BauteilMenu, "Eigenschaften");
    item(BauteilMenu, "Hilfe2");
    item(BauteilMenu, "HerstellerDatenblattVertrieb1");
    BauteilMenu->addSeparator();
    for (const char* name : {"Ausschneiden2", "Kopieren", "Einfgen", "Duplizieren", "Lschen2"})
        item(BauteilMenu, name);
    BauteilMenu->addSeparator();
    for (const char* name : {"NachVorn", "NachHinten", "Tauschen", "Bearbeiten2"})
        item(BauteilMenu, name);
}

void TForm1::BuildToolBar()
{
    ToolBar1 = Named(new QToolBar(this), "ToolBar1");
    ToolBar1->setMovable(false);
    ToolBar1->setIconSize(QSize(20, 20));
    addToolBar(Qt::TopToolBarArea, ToolBar1);

    using G = TToolGlyph;
    struct TToolDef {
        const char* Name;
        TToolGlyph Glyph;
        bool Separator;  // a gap before the button
        bool Checkable;
    };
    static const TToolDef kTools[] = {
        {"ToolButton1", G::New, false, false},          {"ToolButton2", G::Open, false, false},
        {"ToolButton3", G::Save, false, false},         {"ToolButton4", G::Print, false, false},
        {"ToolButton6", G::Cut, true, false},           {"ToolButton7", G::Copy, false, false},
        {"ToolButton8", G::Paste, false, false},        {"ToolButton12", G::Duplicate, false, false},
        {"ToolButton9", G::Delete, false, false},       {"ToolButton15", G::Text, true, false},
        {"SB_Raster", G::Grid, false, true},            {"ToolButton17", G::PartsList, false, false},
        {"tb_ZoomPlus", G::ZoomIn, true, false},        {"tb_ZoomMinus", G::ZoomOut, false, false},
        {"tb_ZoomAll", G::ZoomPage, false, false},      {"tb_ZoomObjects", G::ZoomObjects, false, false},
        {"tb_ZoomMarked", G::ZoomMarked, false, false}, {"tb_Frontplatte", G::FrontPanel, true, false},
        {"tb_Config", G::AppSettings, false, false},    {"tb_ConfigHW", G::Hardware, false, false},
        {"tb_Compile", G::Compile, true, false},
    };
    int toggleGroup = 100;   // each toggle is a group of its own whose button may be released
    for (const TToolDef& def : kTools) {
        if (def.Separator)
            ToolBar1->addSeparator();
        auto* button = Named(new TWLXSpeedButton(ToolBar1), def.Name);
        button->SetButtonStyle(TWLXUserButtonStyle::ubsFlat);
        button->SetColor(QColorToTColor(ToolBar1->palette().color(QPalette::Window)));
        button->SetGlyph(ToolGlyph(def.Glyph, 20));
        button->setFixedSize(28, 27);
        if (def.Checkable) {
            button->SetGroupIndex(++toggleGroup);
            button->SetAllowAllUp(true);
        }
        QAction* holder = ToolBar1->addWidget(button);
        if (button->objectName() == QStringLiteral("tb_Compile"))
            m_compileTool = holder;
        m_buttons.insert(button->objectName(), button);
    }
    // Hints that no language changes.
    m_buttons.value(QStringLiteral("tb_ZoomPlus"))->setToolTip(QStringLiteral("Zoom (plus)"));
    m_buttons.value(QStringLiteral("tb_ZoomMinus"))->setToolTip(QStringLiteral("Zoom (minus)"));
    SB_Raster = m_buttons.value(QStringLiteral("SB_Raster"));
    tb_Compile = m_buttons.value(QStringLiteral("tb_Compile"));
    m_compileTool->setVisible(false);

    // Right end of the strip: speed box and step-rate label.
    auto* spacer = new QWidget(ToolBar1);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    ToolBar1->addWidget(spacer);
    cbSpeed = Named(new QComboBox(ToolBar1), "cbSpeed");
    cbSpeed->addItems({QStringLiteral("Fast"), QStringLiteral("Slow")});
    cbSpeed->setToolTip(QStringLiteral("Speed"));
    ToolBar1->addWidget(cbSpeed);
    Status = Named(new QLabel(QStringLiteral("---"), ToolBar1), "Status");
    Status->setToolTip(QStringLiteral("Freq."));
    Status->setMinimumWidth(80);
    Status->setAlignment(Qt::AlignCenter);
    ToolBar1->addWidget(Status);
}

void TForm1::BuildModePanel()
{
    Panel7 = Named(new QWidget(this), "Panel7");
    Panel7->setFixedWidth(40);
    auto* layout = new QVBoxLayout(Panel7);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(2);
    // group: 0 a plain button; a latching group shares its index; a toggle (allUp) has its own.
    auto add = [this, layout](const char* name, TToolGlyph glyph, int group, bool allUp) {
        auto* button = Named(new TWLXSpeedButton(Panel7), name);
        button->SetButtonStyle(TWLXUserButtonStyle::ubsFlat);
        button->SetColor(QColorToTColor(Panel7->palette().color(QPalette::Window)));
        button->SetGlyph(ToolGlyph(glyph, 20));
        button->setFixedSize(32, 28);
        button->SetGroupIndex(group);
        button->SetAllowAllUp(allUp);
        layout->addWidget(button);
        m_buttons.insert(button->objectName(), button);
        return button;
    };
    StandardBtn = add("StandardBtn", TToolGlyph::Pointer, 1, false);
    StandardBtn->setProperty("Tag", 1);
    LineBtn = add("LineBtn", TToolGlyph::Wire, 1, false);
    LineBtn->setProperty("Tag", 3);
    ZoomBtn = add("ZoomBtn", TToolGlyph::Zoom, 1, false);
    ZoomBtn->setProperty("Tag", 2);
    layout->addSpacing(8);
    SB_Start = add("SB_Start", TToolGlyph::Start, 22, false);
    SB_Start->installEventFilter(this);
    SB_Stop = add("SB_Stop", TToolGlyph::Stop, 22, false);
    layout->addSpacing(8);
    SB_HILO = add("SB_HILO", TToolGlyph::WireStatus, 23, true);
    SB_Status = add("SB_Status", TToolGlyph::PinStatus, 24, true);
    layout->addSpacing(8);
    SB_Front = add("SB_Front", TToolGlyph::FrontPanel, 0, false);
    HintBtn = add("HintBtn", TToolGlyph::Hints, 25, true);
    layout->addStretch(1);
    CloseBibo = add("CloseBibo", TToolGlyph::Library, 26, true);
    static_cast<TWLXSpeedButton*>(CloseBibo)->SetGlyph(QImage());  // its caption "<<<" / ">>>" says where the palette goes
}

void TForm1::BuildPalettePanel()
{
    P_Bibo = Named(new QWidget(this), "P_Bibo");
    P_Bibo->setMinimumSize(100, 100);
    auto* layout = new QVBoxLayout(P_Bibo);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    BiboButton = Named(new QToolButton(P_Bibo), "BiboButton");
    BiboButton->setFixedHeight(30);
    BiboButton->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    BiboButton->setPopupMode(QToolButton::InstantPopup);
    BiboButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    BiboButton->setMenu(BiboMenu);
    layout->addWidget(BiboButton);

    ProgressBar1 = Named(new QProgressBar(P_Bibo), "ProgressBar1");
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setFixedHeight(16);
    ProgressBar1->hide();
    layout->addWidget(ProgressBar1);

    SB_Bibliothek = Named(new QScrollArea(P_Bibo), "SB_Bibliothek");
    SB_Bibliothek->setWidgetResizable(true);
    SB_Bibliothek->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    SetUpPalette();
    MakroPathEdit = Named(new TWLXBrowseEdit(P_Bibo), "MakroPathEdit");
    MakroPathEdit->Options = doReturnFileSysDirs;
    MakroPathEdit->StartWithLast = true;
    MakroPathEdit->hide();
    layout->addWidget(MakroPathEdit);
    layout->addWidget(SB_Bibliothek, 1);

    SearchPanel = Named(new QWidget(P_Bibo), "SearchPanel");
    SearchPanel->setFixedHeight(218);
    auto* searchLayout = new QVBoxLayout(SearchPanel);
    searchLayout->setContentsMargins(0, 0, 0, 0);
    SearchResultListbox = Named(new TWLXImageListBox(SearchPanel), "SearchResultListbox");
    SearchResultListbox->SetSorted(true);
    // Long names break onto a second line instead of running out of the narrow palette.
    SearchResultListbox->SetMultiLine(true);
    SearchResultListbox->SetOptions(lboCheckImageNr | lboCalcHeight);
    SearchResultListbox->setResizeMode(QListView::Adjust);
    SearchEdit = Named(new QLineEdit(SearchPanel), "SearchEdit");
    searchLayout->addWidget(SearchResultListbox, 1);
    searchLayout->addWidget(SearchEdit);
    SearchPanel->hide();
    layout->addWidget(SearchPanel);

    auto* strip = Named(new QWidget(P_Bibo), "P_NurText");
    strip->setFixedHeight(25);
    auto* stripLayout = new QHBoxLayout(strip);
    stripLayout->setContentsMargins(0, 0, 0, 0);
    stripLayout->setSpacing(1);
    auto add = [this, strip, stripLayout](const char* name, bool checkable, const QString& text) {
        QToolButton* button = NewButton(strip, name, checkable);
        button->setFixedSize(24, 22);
        button->setText(text);
        stripLayout->addWidget(button);
        m_buttons.insert(button->objectName(), button);
        return button;
    };
    cb_NurText = add("cb_NurText", true, QString());
    cb_NurText->setIcon(ToolGlyphIcon(TToolGlyph::Text, 16));
    SearchBtn = add("SearchBtn", true, QString());
    SearchBtn->setIcon(ToolGlyphIcon(TToolGlyph::Zoom, 16));
    stripLayout->addStretch(1);
    sb_BiboMinus = add("sb_BiboMinus", false, QStringLiteral("<"));
    sb_BiboPlus = add("sb_BiboPlus", false, QStringLiteral(">"));
    layout->addWidget(strip);
}

void TForm1::BuildBoardArea()
{
    Panel4 = Named(new QWidget(this), "Panel4");
    auto* layout = new QVBoxLayout(Panel4);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    PlatineScrollbox = Named(new TBoardView(Panel4), "PlatineScrollbox");
    layout->addWidget(PlatineScrollbox, 1);
    TabSet = Named(new QTabBar(Panel4), "TabSet");
    TabSet->setShape(QTabBar::RoundedSouth);
    TabSet->setFixedHeight(18 + 4);
    TabSet->addTab(QString());
    layout->addWidget(TabSet);

    auto* central = new QWidget(this);
    auto* row = new QHBoxLayout(central);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(Panel7);
    Splitter1 = Named(new QSplitter(Qt::Horizontal, central), "Splitter1");
    Splitter1->addWidget(P_Bibo);
    Splitter1->addWidget(Panel4);
    Splitter1->setStretchFactor(1, 1);
    Splitter1->setSizes({140, 800});
    row->addWidget(Splitter1, 1);
    setCentralWidget(central);
}

void TForm1::ConnectCommands()
{
    auto onAction = [this](const char* name, auto handler) {
        connect(m_actions.value(QString::fromLatin1(name)), &QAction::triggered, this, handler);
    };
    auto onButton = [this](const char* name, auto handler) {
        connect(m_buttons.value(QString::fromLatin1(name)), &QToolButton::clicked, this, handler);
    };

    // Project files.
    onAction("DateiNeuBtn", [this] { Projects->NewCommand(); });
    onButton("ToolButton1", [this] { Projects->NewCommand(); });
    onAction("ffnen2", [this] { Projects->OpenCommand(); });
    onButton("ToolButton2", [this] { Projects->OpenCommand(); });
    onAction("Speichern1", [this] { Projects->Save(); });
    onButton("ToolButton3", [this] { Projects->Save(); });
    onAction("Speichernals1", [this] { Projects->SaveAs(); });
    onAction("Beispiele1", [this] { Projects->ExamplesCommand(); });
    // The devices' connections of every board, edited in one dialog.
    auto editHardware = [this] {
        if (MainBoard)
            EditHardwareConnections(*MainBoard);
    };
    onAction("Hardware2", editHardware);
    onAction("HerstellerDatenblattVertrieb1", [this] {
        if (auto* component = dynamic_cast<TIOBauteil*>(
                CurrentBoard->SelectedCount() == 1 ? CurrentBoard->SingleSelected() : nullptr))
            ShowManufacturerLinksOf(*component, HardwareLinks.get(), this);
    });
    onButton("tb_ConfigHW", editHardware);
    for (int i = 0; i < 4; ++i)
        connect(HistoryItems[i], &QAction::triggered, this, [this, i] { Projects->OpenHistory(i + 1); });
    onAction("Beenden1", [this] { close(); });
    // Whole-project commands and windows.
    onAction("Stueckliste", [this] { SB_SListClick(); });
    onButton("ToolButton17", [this] { SB_SListClick(); });
    onAction("Drucken1", [this] { Drucken1Click(); });
    onButton("ToolButton4", [this] { Drucken1Click(); });
    onAction("Compilieren", [this] { CompilierenClick(); });
    onButton("tb_Compile", [this] { CompilierenClick(); });
    onAction("Anwendung1", [this] { Bauteileinstellungenbersicht1Click(); });
    onButton("tb_Config", [this] { Bauteileinstellungenbersicht1Click(); });
    onAction("Info", [this] { InfoClick(); });
    onAction("InternetUpdate1", [this] { InternetUpdate1Click(); });

    // Runs.
    connect(SB_Start, &QToolButton::clicked, this, [this] { Simulation->StartButtonPressed(); });
    connect(SB_Stop, &QToolButton::clicked, this, [this] { Simulation->StopSimulation(); });
    connect(cbSpeed, qOverload<int>(&QComboBox::activated), this,
            [this](int index) { Simulation->SetSpeed(index == 0); });
    connect(SB_HILO, &QToolButton::clicked, this,
            [this] { Simulation->SetShowWireStates(SB_HILO->isChecked()); });
    connect(SB_Status, &QToolButton::clicked, this,
            [this] { Simulation->SetShowComponentStates(SB_Status->isChecked()); });

    // Editing modes, grid, board tabs, front panel.
    for (QToolButton* button : {StandardBtn, LineBtn, ZoomBtn})
        connect(button, &QToolButton::clicked, this, [this, button] { SpeedBtnClick(button); });
    auto toggleGrid = [this] {
        GridVisible = !GridVisible;
        for (auto& [board, editor] : m_editors)
            editor->View.GridVisible = GridVisible;
        SB_Raster->setChecked(GridVisible);
        m_actions.value(QStringLiteral("Raster"))->setChecked(GridVisible);
        CurrentBoard->Repaint();
    };
    onButton("SB_Raster", toggleGrid);
    onAction("Raster", toggleGrid);
    auto showFrontPanel = [] {
        if (TFrontplatte* panel = Frontplatte())
            panel->BringToFront();
    };
    onAction("FPAnzeigen", showFrontPanel);
    onButton("SB_Front", showFrontPanel);
    connect(TabSet, &QTabBar::currentChanged, this, [this](int index) { ShowBoardTab(index); });
    // F9 and Esc reach the window before any of its controls.
    auto* startKey = new QShortcut(QKeySequence(Qt::Key_F9), this);
    connect(startKey, &QShortcut::activated, this, [this] { StartSimulationKey(); });
    auto* stopKey = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(stopKey, &QShortcut::activated, this, [this] { StopSimulationKey(); });
    // Edit commands: menu, tool bar and component pop-up.
    onAction("Ausschneiden1", [this] { CutCommand(); });
    onAction("Ausschneiden2", [this] { CutCommand(); });
    onButton("ToolButton6", [this] { CutCommand(); });
    onAction("Kopieren1", [this] { CopyCommand(); });
    onAction("Kopieren", [this] { CopyCommand(); });
    onButton("ToolButton7", [this] { CopyCommand(); });
    onAction("Einfgen1", [this] { PasteCommand(); });
    onAction("Einfgen", [this] { PasteCommand(); });
    onButton("ToolButton8", [this] { PasteCommand(); });
    onAction("Duplizieren1", [this] { DuplicateCommand(); });
    onAction("Duplizieren", [this] { DuplicateCommand(); });
    onButton("ToolButton12", [this] { DuplicateCommand(); });
    onAction("Allesauswhlen1", [this] { SelectAllCommand(); });
    onAction("Aufrumen1", [this] { CleanUpCommand(); });
    onAction("Lschen1", [this] { DeleteCommand(); });
    onAction("Lschen2", [this] { DeleteCommand(); });
    onButton("ToolButton9", [this] { DeleteCommand(); });
    auto toFront = [this] { CurrentBoard->BringSelectionToFront(); };
    auto toBack = [this] { CurrentBoard->SendSelectionToBack(); };
    onAction("Nachvornesetzen1", toFront);
    onAction("NachVorn", toFront);
    onAction("Nachhintensetzen1", toBack);
    onAction("NachHinten", toBack);
    onAction("Eigenschaften", [this] { CurrentBoard->EditSelectedProperties(); });
    onAction("Tauschen", [this] { CurrentBoard->MirrorSelected(); });
    onAction("Hilfe2", [this] { HelpCommand(); });
    onAction("Index", [this] { HelpCommand(); });
    auto* helpKey = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(helpKey, &QShortcut::activated, this, [this] { HelpCommand(); });
    onAction("UntersttzeHardware1", [] { OpenHelpPage(QStringLiteral("hardware")); });
    onAction("InternetForum1", [this] { InternetForum1Click(); });
    onAction("Bearbeiten2", [this] { Bearbeiten2Click(); });
    onButton("ToolButton15", [this] {
        TBoardEditor& e = EditorOf(CurrentBoard);
        e.Mode = kModeText;
        e.View.Cursor = kCursorText;
        PlatineScrollbox->ApplyCursor();
    });
    onButton("tb_ZoomPlus", [this] { ZoomInCentre(); });
    onButton("tb_ZoomMinus", [this] { ZoomOutCentre(); });
    onButton("tb_ZoomAll", [this] { ZoomCommand(0); });
    onButton("tb_ZoomObjects", [this] { ZoomCommand(1); });
    onButton("tb_ZoomMarked", [this] { ZoomCommand(2); });
    onAction("Hinweistexte", [this] { ShowHints = !ShowHints; });
    connect(HintBtn, &QToolButton::clicked, this,
            [this] { ShowComponentHints = HintBtn->isChecked(); });
    for (QMenu* menu : {Datei1, Bearbeiten1, Frontplatte1, Option, Fenster1})
        connect(menu, &QMenu::aboutToShow, this, [this] { UpdateMenuStates(); });

    // Front-panel commands.
    auto onPanel = [&onAction](const char* name, void (TFrontplatte::*command)(),
                                     bool thenShow) {
        onAction(name, [command, thenShow] {
            TFrontplatte* panel = Frontplatte();
            if (!panel)
                return;
            (panel->*command)();
            if (thenShow)
                panel->show();
        });
    };
    onPanel("NeueFrontplatteerzeugen1", &TFrontplatte::NeueFrontplatte1Click, true);
    onAction("Lschen3", [] {
        TFrontplatte* panel = Frontplatte();
        if (panel && panel->TabControl1->count() > 1)
            panel->Lschen1Click();
    });
    onPanel("Eigenschaften1", &TFrontplatte::SetupBtnClick, false);
    onButton("tb_Frontplatte", [] {
        if (TFrontplatte* panel = Frontplatte())
            panel->SetupBtnClick();
    });
    onPanel("Drucken2", &TFrontplatte::PrintBtnClick, false);
    onPanel("Zwischenablage1", &TFrontplatte::CopyBtnClick, false);

    // Macro files and windows.
    onAction("Makroimportieren1", [this] { MakroimportierenClick(); });
    onAction("MakroSpeichern1", [this] { MakroSpeichernClick(); });
    onAction("Makrofensterschliessen1", [this] { CloseMacroTab(); });

    // Palette, macro palette and quick find.
    onAction("Makros1", [this] { MakroClick(); });
    onAction("Del1", [this] { Del1Click(); });
    connect(BiboMenu, &QMenu::aboutToHide, this, [this] { Del1->setVisible(false); });
    onButton("sb_BiboPlus", [this] { SB_BiboPlusClick(); });
    onButton("sb_BiboMinus", [this] { SB_BiboMinusClick(); });
    onButton("cb_NurText", [this] { CB_NurTextClick(); });
    onButton("CloseBibo", [this] { CloseBiboClick(); });
    CloseBibo->setText(QStringLiteral("<<<"));
    SB_Bibliothek->viewport()->installEventFilter(this);
    onButton("SearchBtn", [this] { SearchBtnClick(); });
    MakroPathEdit->OnChange = [this](void*) { MakroPathEditChange(); };
    connect(SearchEdit, &QLineEdit::textChanged, this, [this] { SearchEditChange(); });
    onAction("SearchAdd", [this] { SearchAddClick(); });
    connect(SearchResultListbox, &QListWidget::itemDoubleClicked, this,
            [this] { m_searchMouseDown = true; });
    SearchResultListbox->viewport()->installEventFilter(this);
    SearchEdit->installEventFilter(this);
    MakroPathEdit->installEventFilter(this);
    SearchResultListbox->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(SearchResultListbox, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& p) {
                QAction* add = m_actions.value(QStringLiteral("SearchAdd"));
                add->setEnabled(SearchResultListbox->currentItem() != nullptr);
                if (auto* menu = findChild<QMenu*>(QStringLiteral("SearchMenu")))
                    menu->popup(SearchResultListbox->viewport()->mapToGlobal(p));
            });

    onAction("naechstes1", [this] {
        if (TabSet->count() > 1)
            TabSet->setCurrentIndex((TabSet->currentIndex() + 1) % TabSet->count());
    });
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == BiboButton && event->type() == QEvent::Resize)
        FitPaletteButtonText();
    // The start button arms the start; the next mouse move over it starts the run.
    if (watched == SB_Start && event->type() == QEvent::MouseMove && Simulation)
        Simulation->StartButtonMouseMove();
    if ((watched == SearchEdit || watched == MakroPathEdit) &&
        event->type() == QEvent::ShortcutOverride &&
        KeepsBoardKey(*static_cast<QKeyEvent*>(event))) {
        event->accept();
        return false;
    }
    // The wheel over the palette steps the category while the middle button is held.
    if (SB_Bibliothek && watched == SB_Bibliothek->viewport() && event->type() == QEvent::Wheel) {
        auto* wheel = static_cast<QWheelEvent*>(event);
        if (wheel->buttons() & Qt::MiddleButton) {
            if (wheel->angleDelta().y() > 0)
                SB_BiboMinusClick();
            else if (wheel->angleDelta().y() < 0)
                SB_BiboPlusClick();
            return true;
        }
    }
    // A double click in the search results places the component once the button is released.
    if (SearchResultListbox && watched == SearchResultListbox->viewport() &&
        event->type() == QEvent::MouseButtonRelease && m_searchMouseDown) {
        m_searchMouseDown = false;
        SearchAddClick();
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::StartSimulation()
{
    Simulation->StartSimulation();
}

void TForm1::StartSimulationKey()
{
    if (!Simulation->Running())
        SB_Start->setChecked(true);
    Simulation->StartSimulationKey();
}

void TForm1::StopSimulationKey()
{
    if (Simulation->Running())
        SB_Stop->setChecked(true);
    Simulation->StopSimulationKey();
}

void TForm1::SpeedBtnClick(QToolButton* button)
{
    button->setChecked(true);
    uint8_t mode = kModeSelect;
    int16_t cursor = kCursorDefault;
    if (button == ZoomBtn) {
        mode = kModeZoom;
        cursor = kCursorZoom;
    } else if (button == LineBtn) {
        mode = kModeWiring;
        cursor = kCursorNone;
    }
    for (TPlatine* board : OpenBoards) {
        TBoardEditor& editor = EditorOf(board);
        editor.Mode = mode;
        editor.SavedMode = mode;
        editor.View.Cursor = cursor;
    }
    PlatineScrollbox->ApplyCursor();
}

void TForm1::PlatineModeChange(TPlatine* board)
{
    switch (EditorOf(board).Mode) {
    case kModeZoom:
        SpeedBtnClick(ZoomBtn);
        break;
    case kModeSelect:
        SpeedBtnClick(StandardBtn);
        break;
    case kModeWiring:
        SpeedBtnClick(LineBtn);
        break;
    default:
        break;
    }
}

void TForm1::PlatineChange(TPlatine* board)
{
    if (board == PlatineScrollbox->Board())
        PlatineScrollbox->SyncScrollBars();
}

void TForm1::UpdateTools()
{
    TPlatine* board = CurrentBoard;
    if (!board)
        return;
    const bool selected = board->HasSelection();
    for (const char* name : {"ToolButton6", "ToolButton7", "ToolButton9", "ToolButton12",
                             "tb_ZoomMarked"})
        m_buttons.value(QString::fromLatin1(name))->setEnabled(selected);
    m_buttons.value(QStringLiteral("ToolButton8"))->setEnabled(board->CanPaste());
    m_buttons.value(QStringLiteral("tb_ZoomObjects"))->setEnabled(!board->Items.empty());
    // The menu items carry the shortcuts (Del, Ctrl+C ...): a disabled item takes no key, so
    // their states follow the selection at once, not only when a menu opens.
    UpdateMenuStates();
}

void TForm1::ShowBoardTab(int index)
{
    if (index < 0 || index >= int(OpenBoards.size()))
        return;
    // Each tab's editor keeps its own zoom and scroll position.
    CurrentBoard = OpenBoards[size_t(index)];
    PlatineScrollbox->SetEditor(&EditorOf(CurrentBoard));
    if (TabSet->currentIndex() != index)
        TabSet->setCurrentIndex(index);
    if (Projects)
        Projects->CurrentBoard = CurrentBoard;
    // The front panel shows the group of the macro whose board this is (the root design for
    // the main board); new elements go there.
    TMakro* owner = CurrentBoard->OwnerMacro;
    TDesign* design = owner && owner->Design ? owner->Design : RootDesign;
    CurrentDesign = design;
    if (Projects)
        Projects->CurrentDesign = design == RootDesign ? nullptr : design;
    if (TFrontplatte* panel = Frontplatte(); panel && design) {
        panel->ActivateDesign(design);
        panel->NewToolPanel->setVisible(design == RootDesign);
        if (Simulation && Simulation->Running())
            panel->SetDesignEditing(false, RootDesign);
    }
    UpdateTools();
    m_buttons.value(QStringLiteral("ToolButton3"))->setEnabled(index == 0);
}
