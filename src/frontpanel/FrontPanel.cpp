// The front-panel window: creation, the two modes and their layout, the hint box, grid and
// nudging buttons, the other tool buttons and the window's events. Pages and tabs are in
// FrontPanelPages.cpp, keys and the tool strip in FrontPanelInput.cpp.

#include "frontpanel/FrontPanel.h"

#include "core/board/BoardHooks.h"
#include "core/model/Translator.h"
#include "frontpanel/Design.h"
#include "frontpanel/ElementRegistry.h"
#include "frontpanel/Sizer.h"
#include "frontpanel/web/WebLink.h"
#include "frontpanel/web/WebPublishing.h"
#include "platform/Colors.h"
#include "platform/Context.h"
#include "platform/Help.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/ScreenFit.h"
#include "ui/ColorPicker.h"
#include "ui/ScrollBoxEx.h"
#include "widgets/SpeedButton.h"
#include "widgets/ToolGlyphs.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QDesktopServices>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QImageReader>
#include <QMenu>
#include <QPainter>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

namespace {

TFrontplatte* g_window = nullptr;

// A button of the edit-mode strip: a flat speed button with a caption, as wide as the widest of
// its captions needs.
TWLXSpeedButton* NewStripButton(QWidget* parent, QLayout* layout, const char* name,
                                std::initializer_list<QString> captions)
{
    auto* button = new TWLXSpeedButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->SetButtonStyle(TWLXUserButtonStyle::ubsFlat);
    button->setText(*captions.begin());
    int width = 0;
    for (const QString& caption : captions)
        width = std::max(width, button->fontMetrics().horizontalAdvance(caption));
    button->setFixedSize(std::max(23, width + 10), 22);
    layout->addWidget(button);
    return button;
}

// A flat tool button of the tool strip with a drawn picture; its hint names it.
TWLXSpeedButton* NewToolButton(QWidget* parent, QLayout* layout, const char* name, TToolGlyph glyph)
{
    auto* button = new TWLXSpeedButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->SetButtonStyle(TWLXUserButtonStyle::ubsFlat);
    button->SetGlyph(ToolGlyph(glyph, 16));
    button->setFixedSize(24, 23);
    layout->addWidget(button);
    return button;
}

} // namespace

// --- Hint box -------------------------------------------------------------------------------------

THintBox::THintBox(QWidget* owner)
    : QWidget(owner)
{
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(12);
    setFont(f);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
    setEnabled(false);
}

QStringList THintBox::Lines() const
{
    QString text = Text;
    if (text.indexOf(u'\r') == text.size() - 1 && !text.isEmpty())
        text.chop(1);
    return text.split(u'\r');
}

void THintBox::ShowText(const QString& text)
{
    if (text == Text)
        return;
    Text = text;
    const QFontMetrics metrics(font());
    int w = 0;
    int h = 5;
    for (const QString& line : Lines()) {
        w = std::max(w, metrics.horizontalAdvance(line));
        h += metrics.height();
    }
    resize(w + 7, h);
    update();
}

void THintBox::ShowNear(const QString& text, QPoint cursor)
{
    if (text.isEmpty()) {
        hide();
        return;
    }
    if (Text != text) {
        hide();
        ShowText(text);
        update();
    }
    const int ownerWidth = parentWidget() ? parentWidget()->width() : 0;
    int x = cursor.x();
    if (x + width() > ownerWidth - 10)
        x = ownerWidth - width() - 10;
    move(x, cursor.y() - height() - 5);
    show();
    raise();
}

void THintBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(TColorToQColor(clGray));
    painter.setBrush(TColorToQColor(ColorToRGB(clInfoBk)));
    painter.drawRect(0, 0, width() - 2, height() - 2);
    painter.setPen(Qt::black);
    painter.drawLine(2, height() - 1, width() - 1, height() - 1);
    painter.drawLine(width() - 1, height() - 1, width() - 1, 2);
    const QFontMetrics metrics(font());
    int y = 2;
    for (const QString& line : Lines()) {
        painter.drawText(QRect(3, y, width(), metrics.height()), Qt::AlignLeft | Qt::AlignTop, line);
        y += metrics.height();
    }
}

// --- Creation -------------------------------------------------------------------------------------

TFrontplatte::TFrontplatte(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("TFrontplatte"));
    TFrontPanelState& state = FPState();

    // The hidden panel lies outside the visible area and never shows.
    Panel1 = new QWidget(this);
    Panel1->setGeometry(-100, -100, 10, 10);
    Panel1->hide();
    HiddenPanel = new QWidget(Panel1);
    state.HiddenPanel = HiddenPanel;
    Print = TPanelPrintSettings();

    state.FPGrid = 16;
    state.FPGridVisible = false;
    state.FPGridColor = clGray;

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    BuildToolStrip();
    layout->addWidget(NewToolPanel);
    ScrollBox = new TScrollBoxEx(this);
    ScrollBox->setWidgetResizable(true);
    layout->addWidget(ScrollBox, 1);
    BuildStatusbar();
    layout->addWidget(Statusbar);
    BuildTabMenu();

    ApplyLanguage();
    Options = TFrontPanelOptions();
    ShowHints = true;
    WebServerPath = Ctx().ProgramFolder + QStringLiteral("TvWebServer\\TvWebServer10.exe");

    RegisterFrontPanelElements(ElementRegistry());
    ElementRegistry().RegisterElement<TDesign>();

    state.DesignPanelColor = 14215660;
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, TColorToQColor(state.DesignPanelColor));
    setPalette(pal);

    RootDesign = new TDesign(ScrollBox);
    RootDesign->OwnerDesign = nullptr;
    RootDesign->SetisEditing(true);
    RootDesign->CanMoveToOtherPage = true;
    RootDesign->PageTabs = TabControl1;
    RootDesign->ElementName = Title;
    state.RootDesignName = Title;
    ActiveDesign = RootDesign;

    {
        const QSignalBlocker block(TabControl1);
        while (TabControl1->count() > 0)
            TabControl1->removeTab(0);
        TabControl1->addTab(RootDesign->GetPageCaption());
    }

    ShownDesign = nullptr;
    HintBox = new THintBox(this);

    // A new panel stands at the right, clear of the main window's menu, tools and palette.
    resize(600, 400);
    const QRect area = AvailableScreenArea();
    move(std::max(area.left(), area.right() - 640), area.top() + 120);
    SavedBounds = WindowBounds();
    RunMode = true;
    SetRunMode(false);
    ActivateDesign(RootDesign);

    EstLoadHook() = [this](const QString& fileName) { LoadEstFile(fileName); };
    ToolbarMode = 0;

    Timer1 = new QTimer(this);
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
    Timer1->start();
    qApp->installEventFilter(this);
    g_window = this;
}

TFrontplatte* Frontplatte()
{
    return g_window;
}

TFrontplatte::~TFrontplatte()
{
    qApp->removeEventFilter(this);
    delete m_webLink;
    m_webLink = nullptr;
    if (g_window == this)
        g_window = nullptr;
    EstLoadHook() = nullptr;
    RestoreShownPage();
    ScrollBox->takeWidget();
    delete RootDesign;
    RootDesign = nullptr;
    ActiveDesign = nullptr;
    if (FPState().HiddenPanel == HiddenPanel)
        FPState().HiddenPanel = nullptr;
}

void TFrontplatte::BuildToolStrip()
{
    NewToolPanel = new QWidget(this);
    NewToolPanel->setObjectName(QStringLiteral("NewToolPanel"));
    NewToolPanel->setFixedHeight(25);
    NewToolPanel->setMouseTracking(true);
    auto* row = new QHBoxLayout(NewToolPanel);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    TabControl1 = new QTabBar(NewToolPanel);
    TabControl1->setObjectName(QStringLiteral("TabControl1"));
    TabControl1->setDrawBase(false);
    TabControl1->setFocusPolicy(Qt::NoFocus);
    TabControl1->setContextMenuPolicy(Qt::CustomContextMenu);
    row->addWidget(TabControl1);
    row->addStretch(1);
    ToolBar1 = new QWidget(NewToolPanel);
    auto* tools = new QHBoxLayout(ToolBar1);
    tools->setContentsMargins(0, 0, 0, 0);
    tools->setSpacing(0);
    OpenBtn = NewToolButton(ToolBar1, tools, "OpenBtn", TToolGlyph::Open);
    SaveBtn = NewToolButton(ToolBar1, tools, "SaveBtn", TToolGlyph::Save);
    PrintBtn = NewToolButton(ToolBar1, tools, "PrintBtn", TToolGlyph::Print);
    CopyBtn = NewToolButton(ToolBar1, tools, "CopyBtn", TToolGlyph::Copy);
    InternalBtn = NewToolButton(ToolBar1, tools, "InternalBtn", TToolGlyph::AppSettings);
    HWBtn = NewToolButton(ToolBar1, tools, "HWBtn", TToolGlyph::Hardware);
    DlgBtn = NewToolButton(ToolBar1, tools, "DlgBtn", TToolGlyph::PanelSettings);
    TWLXSpeedButton* hints = NewToolButton(ToolBar1, tools, "HintBtn", TToolGlyph::Hints);
    // A toggle: a group of its own whose button may be released.
    hints->SetGroupIndex(1);
    hints->SetAllowAllUp(true);
    hints->SetPressed(true);
    HintBtn = hints;
    HelpBtn = NewToolButton(ToolBar1, tools, "HelpBtn", TToolGlyph::Help);
    row->addWidget(ToolBar1);

    connect(TabControl1, &QTabBar::currentChanged, this, [this](int) { TabControl1Change(); });
    connect(TabControl1, &QTabBar::customContextMenuRequested, this, [this](const QPoint& p) {
        if (!TabMenuAttached)
            return;
        FPopupPopup();
        FPopup->exec(TabControl1->mapToGlobal(p));
    });
    connect(OpenBtn, &QToolButton::clicked, this, [this] { OpenBtnClick(); });
    connect(SaveBtn, &QToolButton::clicked, this, [this] { SaveBtnClick(); });
    connect(PrintBtn, &QToolButton::clicked, this, [this] { PrintBtnClick(); });
    connect(CopyBtn, &QToolButton::clicked, this, [this] { CopyBtnClick(); });
    connect(InternalBtn, &QToolButton::clicked, this, [this] {
        if (AppConfigHook)
            AppConfigHook();
    });
    connect(HWBtn, &QToolButton::clicked, this, [this] {
        if (HardwareHook)
            HardwareHook();
    });
    connect(DlgBtn, &QToolButton::clicked, this, [this] { SetupBtnClick(); });
    connect(HintBtn, &QToolButton::clicked, this, [this] { HintBtnClick(); });
    connect(HelpBtn, &QToolButton::clicked, this, [this] { HelpBtnClick(); });
}

void TFrontplatte::BuildStatusbar()
{
    Statusbar = new QWidget(this);
    Statusbar->setObjectName(QStringLiteral("Statusbar"));
    Statusbar->setFixedHeight(24);
    Statusbar->setMouseTracking(true);
    auto* row = new QHBoxLayout(Statusbar);
    row->setContentsMargins(2, 1, 2, 1);
    row->setSpacing(1);
    auto add = [this, row](const char* name, std::initializer_list<QString> captions) {
        return NewStripButton(Statusbar, row, name, captions);
    };
    // Snapping and grid shown are toggles (groups of their own whose button may be released);
    // the four sizes latch in one group.
    enum { kSnapGroup = 1, kSizeGroup = 2, kShowGroup = 3 };
    TWLXSpeedButton* snap = add("SB_Raster", {QStringLiteral("Raster"), QStringLiteral("Grid"),
                                              QStringLiteral("Grille")});
    snap->SetGroupIndex(kSnapGroup);
    snap->SetAllowAllUp(true);
    snap->SetPressed(true);
    SB_Raster = snap;
    const std::pair<QToolButton**, int> gridButtons[] = {{&SB_R4, 4}, {&SB_R8, 8}, {&SB_R16, 16}, {&SB_R32, 32}};
    for (const auto& [field, tag] : gridButtons) {
        const QByteArray name = "SB_R" + QByteArray::number(tag);
        TWLXSpeedButton* button = add(name.constData(), {QString::number(tag)});
        button->SetGroupIndex(kSizeGroup);
        *field = button;
        const int grid = tag;
        connect(button, &QToolButton::clicked, this, [this, grid] { SetRaster(grid); });
    }
    SB_R16->setChecked(true);
    TWLXSpeedButton* show = add("SB_ZeichneRaster", {QStringLiteral("V")});
    show->SetGroupIndex(kShowGroup);
    show->SetAllowAllUp(true);
    SB_ZeichneRaster = show;
    row->addSpacing(8);
    SB_Left = add("SB_Left", {QStringLiteral("←")});
    SB_Up = add("SB_Up", {QStringLiteral("↑")});
    SB_Down = add("SB_Down", {QStringLiteral("↓")});
    SB_Right = add("SB_Right", {QStringLiteral("→")});
    row->addSpacing(8);
    ar_Links_Btn = add("ar_Links_Btn", {QStringLiteral("|◂")});
    ar_Rechts_Btn = add("ar_Rechts_Btn", {QStringLiteral("▸|")});
    ar_Oben_Btn = add("ar_Oben_Btn", {QStringLiteral("▴")});
    ar_Unten_Btn = add("ar_Unten_Btn", {QStringLiteral("▾")});
    SpeedButton3 = add("SpeedButton3", {QStringLiteral("↔")});
    SpeedButton4 = add("SpeedButton4", {QStringLiteral("↕")});
    row->addSpacing(8);
    // Its face shows the grid colour; the raised frame sets it off from the strip.
    GridColorBtn = new TWLXSpeedButton(Statusbar);
    GridColorBtn->setObjectName(QStringLiteral("GridColorBtn"));
    GridColorBtn->setFixedSize(23, 22);
    row->addWidget(GridColorBtn);
    ShowGridColor(clGray);
    row->addStretch(1);

    connect(SB_Raster, &QToolButton::clicked, this, [this] { SB_RasterClick(); });
    connect(SB_ZeichneRaster, &QToolButton::clicked, this, [this] { SB_ZeichneRasterClick(); });
    connect(GridColorBtn, &QToolButton::clicked, this, [this] { GridColorBtnClick(); });
    const std::pair<QToolButton*, int> nudges[] = {{SB_Left, 1}, {SB_Up, 2}, {SB_Down, 3}, {SB_Right, 4}};
    for (const auto& [button, tag] : nudges) {
        const int t = tag;
        connect(button, &QToolButton::clicked, this, [this, t] { SB_CursorClick(t); });
    }
    QToolButton* aligns[] = {ar_Links_Btn, ar_Rechts_Btn, ar_Oben_Btn, ar_Unten_Btn, SpeedButton3, SpeedButton4};
    for (int t = 0; t < 6; ++t)
        connect(aligns[t], &QToolButton::clicked, this, [this, t] { AlignClick(t); });
}

void TFrontplatte::BuildTabMenu()
{
    FPopup = new QMenu(this);
    Umbenennen = FPopup->addAction(QStringLiteral("Eigenschaften..."));
    FPopup->addSeparator();
    Nachlinks1 = FPopup->addAction(QStringLiteral("Nach links setzen"));
    Nachrechts1 = FPopup->addAction(QStringLiteral("Nach rechts setzen"));
    FPopup->addSeparator();
    NeueFrontplatte1 = FPopup->addAction(QString::fromUtf8("Neue Frontplatte hinzufügen"));
    FPopup->addSeparator();
    Lschen1 = FPopup->addAction(QString::fromUtf8("Frontplatte löschen"));
    connect(Umbenennen, &QAction::triggered, this, [this] { SetupBtnClick(); });
    connect(Nachlinks1, &QAction::triggered, this, [this] { Nachlinks1Click(); });
    connect(Nachrechts1, &QAction::triggered, this, [this] { Nachrechts1Click(); });
    connect(NeueFrontplatte1, &QAction::triggered, this, [this] { NeueFrontplatte1Click(); });
    connect(Lschen1, &QAction::triggered, this, [this] { Lschen1Click(); });
}

// --- Modes ----------------------------------------------------------------------------------------

bool TFrontplatte::EditLayout() const
{
    return !RunMode && !Ctx().RuntimeMode;
}

void TFrontplatte::SetRunMode(bool run)
{
    if (!run)
        TDesign::RepaintAfterRunMode = true;
    RunMode = run;
    ApplyModeLayout();
    if (ActiveDesign)
        ActiveDesign->RefreshTransparency(this);
    TabMenuAttached = !run && !Ctx().RuntimeMode;
    TokenMisses = 25;
}

TBorderStyle TFrontplatte::BorderStyleForMode() const
{
    const bool edit = EditLayout();
    const bool runtime = Ctx().RuntimeMode;
    TBorderStyle b;
    b.Style = (edit || (RunMode && Options.Skalierbar)) ? bsSizeable : bsSingle;
    if (Options.ToolTitel && (Options.Skalierbar || edit))
        b.Style = bsSizeToolWin;
    if (Options.ToolTitel && !Options.Skalierbar && (RunMode || runtime))
        b.Style = bsToolWindow;
    if (Options.FullScreen && (runtime || RunMode))
        b.Style = bsNone;
    b.MinMaxButtons = (Options.Skalierbar && !Options.FullScreen) || edit;
    return b;
}

void TFrontplatte::ApplyBorderStyle(const TBorderStyle& border)
{
    m_border = border;
    if (parentWidget())
        return;  // embedded (tests may place the window inside another widget)
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                            | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (border.Style == bsToolWindow || border.Style == bsSizeToolWin)
        flags |= Qt::Tool;
    if (border.Style == bsNone)
        flags = Qt::Window | Qt::FramelessWindowHint;
    if (border.MinMaxButtons && border.Style != bsNone)
        flags |= Qt::WindowMinMaxButtonsHint;
    if (flags != windowFlags()) {
        const bool wasVisible = isVisible();
        setWindowFlags(flags);
        if (wasVisible)
            show();
    }
    const bool sizeable = border.Style == bsSizeable || border.Style == bsSizeToolWin
                          || border.Style == bsNone;
    if (sizeable) {
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
}

void TFrontplatte::SetWindowBounds(const QRect& bounds)
{
    const bool fixed = minimumSize() == maximumSize();
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    // Left and top place the window with its frame, so that the title bar stays on the
    // screen; the size is the client area's.
    resize(bounds.size());
    move(bounds.topLeft());
    if (fixed)
        setFixedSize(size());
}

QRect TFrontplatte::WindowBounds() const
{
    return QRect(pos(), size());
}

void TFrontplatte::BringToFront()
{
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void TFrontplatte::ApplyModeLayout()
{
    const bool edit = EditLayout();
    const TBorderStyle border = BorderStyleForMode();
    if ((!Options.FullScreen && m_border.Style == bsNone) || edit) {
        ApplyBorderStyle(border);
        setWindowState(Qt::WindowNoState);
        if (!Options.AutoSave && SavedBounds.isValid())
            SetWindowBounds(SavedBounds);
    }
    ApplyBorderStyle(border);
    if (border.Style == bsNone)
        setWindowState(Qt::WindowMaximized);
    else if (border.Style != bsSizeable && border.Style != bsSizeToolWin)
        setFixedSize(size());

    NewToolPanel->show();
    OpenBtn->setVisible(Options.OpenBtn && RunMode);
    SaveBtn->setVisible(Options.SaveBtn && RunMode);
    HintBtn->setVisible(Options.HintBtn && RunMode);
    DlgBtn->setVisible(Options.DlgBtn || edit);
    HelpBtn->setVisible(Options.HelpBtn || edit);
    HWBtn->setVisible(Options.HWBtn || edit);
    PrintBtn->setVisible(Options.PrintBtn || edit);
    CopyBtn->setVisible(Options.CopyBtn || edit);
    InternalBtn->setVisible(Options.InternalBtn || edit);
    Statusbar->setVisible(edit);
    SetDesignEditing(edit, RootDesign);
    if (RootDesign && RootDesign != ShownDesign)
        RootDesign->move(RootDesign->x(), 0);
}

bool TFrontplatte::ToolbarHasButtons() const
{
    const QToolButton* buttons[] = {OpenBtn, SaveBtn, PrintBtn, CopyBtn, InternalBtn,
                                    HWBtn,   DlgBtn,  HintBtn,  HelpBtn};
    const bool any = std::any_of(std::begin(buttons), std::end(buttons),
                                 [](const QToolButton* b) { return !b->isHidden(); });
    return (any || !TabControl1->isHidden()) && ShownDesign == RootDesign && RunMode;
}

void TFrontplatte::SetDesignEditing(bool edit, TDesign* page)
{
    if (!page)
        return;
    for (TFP_Element* e : page->Elements)
        if (auto* nested = dynamic_cast<TDesign*>(e)) {
            nested->SetElementEnabled(!edit);
            SetDesignEditing(edit, nested);
        }
    page->SetisEditing(edit);
    // Pages other than the shown one take no input of their own in edit mode: a click on them
    // reaches the page beneath, which selects them.
    page->SetElementEnabled(!edit || page == ShownDesign);
}

// --- Hint box -------------------------------------------------------------------------------------

void TFrontplatte::HintMessage(const QString& text)
{
    HintMessage(text, mapFromGlobal(QCursor::pos()));
}

void TFrontplatte::HintMessage(const QString& text, QPoint cursor)
{
    HintBox->ShowNear(text, cursor);
}

// --- Grid and nudging -----------------------------------------------------------------------------

void TFrontplatte::SetRaster(int grid)
{
    FPState().FPGrid = grid;
    if (ActiveDesign) {
        ActiveDesign->update();
        ActiveDesign->RefreshTransparency(this);
    }
}

void TFrontplatte::SB_RasterClick()
{
    const bool on = SB_Raster->isChecked();
    for (QToolButton* b : {SB_R4, SB_R8, SB_R16, SB_R32, SB_ZeichneRaster})
        b->setEnabled(on);
    if (!on) {
        FPState().FPGrid = 1;
        return;
    }
    const std::pair<QToolButton*, int> sizes[] = {{SB_R4, 4}, {SB_R8, 8}, {SB_R16, 16}, {SB_R32, 32}};
    for (const auto& [button, tag] : sizes)
        if (button->isChecked())
            SetRaster(tag);
}

void TFrontplatte::SB_ZeichneRasterClick()
{
    FPState().FPGridVisible = SB_ZeichneRaster->isChecked();
    if (ActiveDesign) {
        ActiveDesign->update();
        ActiveDesign->RefreshTransparency(this);
    }
}

void TFrontplatte::GridColorBtnClick()
{
    const int32_t color = PickColor(GridColorBtn->Color());
    ShowGridColor(color);
    FPState().FPGridColor = color;
    if (ActiveDesign) {
        ActiveDesign->update();
        ActiveDesign->RefreshTransparency(this);
    }
}

void TFrontplatte::ShowGridColor(int32_t color)
{
    GridColorBtn->SetColor(color);
}

void TFrontplatte::SB_CursorClick(int tag)
{
    if (!ActiveDesign || ActiveDesign->Sizers.empty())
        return;
    const int g = FPState().FPGrid;
    switch (tag) {
    case 1: ActiveDesign->MoveSelectionBy(-g, 0); break;
    case 2: ActiveDesign->MoveSelectionBy(0, -g); break;
    case 3: ActiveDesign->MoveSelectionBy(0, g); break;
    case 4: ActiveDesign->MoveSelectionBy(g, 0); break;
    default: break;
    }
}

void TFrontplatte::AlignClick(int tag)
{
    if (ActiveDesign)
        ActiveDesign->AlignSelection(tag);
}

// --- Other tool buttons ---------------------------------------------------------------------------

void TFrontplatte::HelpBtnClick()
{
    if (!RunMode) {
        OpenHelpTopic(5000);
        return;
    }
    if (!HelpFile.isEmpty()) {
        QString name = HelpFile;
        name.replace(u'\\', u'/');
        const QString local = ProgramPath(QFileInfo(name).fileName());
        if (QFileInfo::exists(local))
            HelpFile = local;
    }
    if (!HelpFile.isEmpty())
        QDesktopServices::openUrl(QUrl::fromLocalFile(ResolvePath(HelpFile)));
}

void TFrontplatte::HintBtnClick()
{
    ShowHints = HintBtn->isChecked();
}

void TFrontplatte::SetIcon(const QString& file)
{
    QString path = file;
    if (!path.isEmpty()) {
        QString name = path;
        name.replace(u'\\', u'/');
        const QString local = ProgramPath(QFileInfo(name).fileName());
        if (QFileInfo::exists(local))
            path = local;
        else
            path = ResolvePath(path);
    }
    if (!path.isEmpty() && QFileInfo::exists(path)) {
        QImageReader reader(path);
        const QImage image = reader.read();
        if (!image.isNull()) {
            setWindowIcon(QIcon(QPixmap::fromImage(image)));
            IconFile = path;
            return;
        }
    }
    setWindowIcon(QApplication::windowIcon());
    IconFile.clear();
}

// --- Web link -------------------------------------------------------------------------------------

void TFrontplatte::StartWebServer()
{
    if (PublishMode == 0)
        return;
    // The server program: the stored path when it names a file, else the one beside this
    // program.
    QString program = WebServerPath;
    program.replace(u'\\', u'/');
    if (!program.isEmpty() && !QFileInfo(program).isFile()) {
        const QString local = Ctx().ProgramFolder + QStringLiteral("tvwebserver");
        program = QFileInfo(local).isFile() ? local : QString();
        if (!program.isEmpty())
            WebServerPath = program;
    }
    StopWebServer();
    m_webLink = new TWebLink(this, program);
    m_webLink->Start();
}

void TFrontplatte::StopWebServer()
{
    if (!m_webLink)
        return;
    m_webLink->Close();
    m_webLink->deleteLater();
    m_webLink = nullptr;
}

void TFrontplatte::CheckToken(const QString& line)
{
    if (line == QLatin1String(kWebPageToken))
        return;
    if (TokenMisses > 0)
        --TokenMisses;
    else
        StopWebServer();
}

void TFrontplatte::SetPublishMode(int32_t mode)
{
    PublishMode = mode;
    if (mode == 2 || (mode == 1 && RunMode))
        StartWebServer();
    else
        StopWebServer();
}

// --- Window events --------------------------------------------------------------------------------

void TFrontplatte::closeEvent(QCloseEvent* event)
{
    if (Ctx().RuntimeMode) {
        event->ignore();
        if (CloseHook)
            CloseHook();
        return;
    }
    if (RunMode) {
        event->ignore();
        if (StopHook)
            StopHook();
        return;
    }
    event->accept();
}

void TFrontplatte::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (ActiveDesign == RootDesign)
        TabControl1Change();
    JustShown = true;
}

void TFrontplatte::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (!ActiveDesign)
        return;
    if (Ctx().RuntimeMode && JustShown) {
        JustShown = false;
        ActiveDesign->RefreshTransparency(this);
    }
    ActiveDesign->TransparencyPending = true;
}

void TFrontplatte::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && ActiveDesign)
        ActiveDesign->RefreshTransparency(this);
}
