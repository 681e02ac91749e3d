#include "frontpanel/elements/SchalterDlg.h"

#include "core/model/Translator.h"
#include "frontpanel/elements/BitmapRotate.h"
#include "frontpanel/elements/GradBtn.h"
#include "frontpanel/elements/LampWidget.h"
#include "frontpanel/elements/Schalter.h"
#include "frontpanel/elements/SwitchPictures.h"
#include "platform/Colors.h"
#include "platform/Context.h"
#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"
#include "ui/ColorPicker.h"
#include "ui/Hotkey.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFontComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// Lamp shapes in the order of the shape list.
constexpr TIxLedClass kFormShapes[] = {ixlcRect, ixlcRound, ixlcHalfCircle, ixlcTriangle,
                                       ixlcTrapezium, ixlcRomb};

QStringList Lang3List(const QStringList& german, const QStringList& english,
                      const QStringList& french)
{
    switch (Ctx().CurrentLanguage) {
    case 1: return english;
    case 2: return french;
    default: return german;
    }
}

QToolButton* ArrowButton(Qt::ArrowType arrow, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setFixedSize(26, 26);
    return button;
}

QToolButton* StyleButton(const QString& letter, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setText(letter);
    button->setCheckable(true);
    button->setFixedSize(24, 24);
    return button;
}

} // namespace

// --- Colour square --------------------------------------------------------------------------

TColorShape::TColorShape(QWidget* parent)
    : QFrame(parent)
{
    setFixedSize(24, 24);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setCursor(Qt::PointingHandCursor);
}

void TColorShape::SetColor(int32_t color)
{
    m_color = color;
    update();
}

void TColorShape::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.fillRect(rect().adjusted(1, 1, -1, -1), TColorToQColor(ColorToRGB(m_color)));
    QFrame::paintEvent(event);
}

void TColorShape::mousePressEvent(QMouseEvent*)
{
    SetColor(PickColor(m_color));
    if (OnChanged)
        OnChanged(m_color);
}

// --- Dialog ---------------------------------------------------------------------------------

TSchalterDlg::TSchalterDlg(TSchalter& element, QWidget* parent)
    : QDialog(parent)
    , m_element(element)
{
    auto* main = new QVBoxLayout(this);

    // Look and start state.
    auto* top = new QHBoxLayout;
    auto* lookBox = new QGroupBox(Lang3Q("Darstellung", "Representation", "Représentation"), this);
    auto* lookLayout = new QVBoxLayout(lookBox);
    TypCombo = new QComboBox(lookBox);
    TypCombo->addItems(Lang3List(
        {QStringLiteral("Schalter / Taster"), QStringLiteral("Schaltfläche"),
         QStringLiteral("Benutzerdefinierte Bitmap"), QStringLiteral("Plastiklampenschalter")},
        {QStringLiteral("Switch / Push button"), QStringLiteral("Active area"),
         QStringLiteral("User-defined bitmap"), QStringLiteral("Plastic lamp switch")},
        {QStringLiteral("Interrupteur / Bouton-poussoir"), QStringLiteral("Zone active"),
         QStringLiteral("Avec image personnalisée"), QStringLiteral("Interrupteur avec lampe plastique")}));
    lookLayout->addWidget(TypCombo);
    top->addWidget(lookBox, 1);
    DefaultBox = new QGroupBox(QStringLiteral("Default"), this);
    auto* defaultLayout = new QHBoxLayout(DefaultBox);
    RB_DefOn = new QRadioButton(QStringLiteral("O&N"), DefaultBox);
    RB_DefOff = new QRadioButton(QStringLiteral("O&FF"), DefaultBox);
    RB_DefOff->setChecked(true);
    defaultLayout->addWidget(RB_DefOn);
    defaultLayout->addWidget(RB_DefOff);
    top->addWidget(DefaultBox);
    main->addLayout(top);

    Pages = new QStackedWidget(this);
    Pages->setMinimumSize(351, 217);

    // Page 0: the picture set.
    GB_Bitmap = new QGroupBox(Lang3Q("Eigenschaften", "Properties", "Propriétés"), Pages);
    {
        auto* grid = new QGridLayout(GB_Bitmap);
        Typ = new QComboBox(GB_Bitmap);
        Typ->setMaxVisibleItems(11);
        Typ->addItems(Lang3List(
            {QStringLiteral("Kippschalter I"), QStringLiteral("Druckschalter"),
             QStringLiteral("Wippschalter"), QStringLiteral("Drehschalter I"),
             QStringLiteral("Kippschalter II"), QStringLiteral("Wippschalter ein/aus"),
             QStringLiteral("Wippschalter einfach"), QStringLiteral("Wippschalter mit Beleuchtung I"),
             QStringLiteral("Wippschalter mit Beleuchtung II"), QStringLiteral("Drehschalter II"),
             QStringLiteral("Drucktaster")},
            {QStringLiteral("Flip switch I"), QStringLiteral("Button switch"),
             QStringLiteral("Bob switch"), QStringLiteral("Rotary switch I"),
             QStringLiteral("Flip switch II"), QStringLiteral("Bob switch on/off"),
             QStringLiteral("Bob switch simple"), QStringLiteral("Bob switch with illumination I"),
             QStringLiteral("Bob switch with illumination II"), QStringLiteral("Rotary switch II"),
             QStringLiteral("Push button")},
            {QStringLiteral("Modèle à levier - 1"), QStringLiteral("Modèle à poussoir carré"),
             QStringLiteral("Modèle à bascule"), QStringLiteral("Modèle rotatif - 1"),
             QStringLiteral("Modèle à levier - 2"), QStringLiteral("Modèle à bascule on/off"),
             QStringLiteral("Modèle à bascule simple"),
             QStringLiteral("Modèle à bascule avec éclairage - 1"),
             QStringLiteral("Modèle à bascule avec éclairage - 2"), QStringLiteral("Modèle rotatif - 2"),
             QStringLiteral("Modèle à poussoir rond")}));
        Farbe = new QComboBox(GB_Bitmap);
        Farbe->addItems(Lang3List(
            {QStringLiteral("schwarz/weiß"), QStringLiteral("grün"), QStringLiteral("gelb"),
             QStringLiteral("rot"), QStringLiteral("blau")},
            {QStringLiteral("Black / White"), QStringLiteral("Green"), QStringLiteral("Yellow"),
             QStringLiteral("Red"), QStringLiteral("Blue")},
            {QStringLiteral("Noir / Blanc"), QStringLiteral("Vert"), QStringLiteral("Jaune"),
             QStringLiteral("Rouge"), QStringLiteral("Bleu")}));
        VorschauPanel = new QFrame(GB_Bitmap);
        VorschauPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        VorschauPanel->setFixedSize(137, 129);
        Image1 = new QLabel(VorschauPanel);
        Image1->setScaledContents(true);
        BitBtn1 = ArrowButton(Qt::LeftArrow, GB_Bitmap);
        BitBtn2 = ArrowButton(Qt::RightArrow, GB_Bitmap);
        auto* turn = new QHBoxLayout;
        turn->addWidget(BitBtn1);
        turn->addWidget(BitBtn2);
        turn->addStretch();
        grid->addWidget(Typ, 0, 0);
        grid->addWidget(Farbe, 1, 0);
        grid->addLayout(turn, 2, 0);
        grid->setRowStretch(3, 1);
        grid->addWidget(VorschauPanel, 0, 1, 4, 1);
        grid->setColumnStretch(0, 1);
    }
    Pages->addWidget(GB_Bitmap);

    // Page 1: the button face.
    GB_Button = new QGroupBox(Pages);
    {
        auto* layout = new QVBoxLayout(GB_Button);
        auto* caption = new QGroupBox(Lang3Q("Beschriftung", "Inscription", "Inscription"), GB_Button);
        auto* cg = new QGridLayout(caption);
        Text = new QLineEdit(caption);
        cbFontName = new QFontComboBox(caption);
        cbFontSize = new QSpinBox(caption);
        cbFontSize->setRange(4, 72);
        BoldBtn = StyleButton(QStringLiteral("B"), caption);
        ItalicBtn = StyleButton(QStringLiteral("I"), caption);
        UnderlineBtn = StyleButton(QStringLiteral("U"), caption);
        StrikeoutBtn = StyleButton(QStringLiteral("S"), caption);
        cbFontFX = new QComboBox(caption);
        cbFontFX->addItems({Translate(QStringLiteral("Kein")), Translate(QStringLiteral("Erhöhung")),
                            Translate(QStringLiteral("Vertiefung"))});
        FontColShape = new TColorShape(caption);
        cg->addWidget(Text, 0, 0, 1, 4);
        cg->addWidget(cbFontName, 1, 0, 1, 3);
        cg->addWidget(cbFontSize, 1, 3);
        auto* styles = new QHBoxLayout;
        styles->addWidget(BoldBtn);
        styles->addWidget(ItalicBtn);
        styles->addWidget(UnderlineBtn);
        styles->addWidget(StrikeoutBtn);
        styles->addWidget(cbFontFX, 1);
        styles->addWidget(FontColShape);
        cg->addLayout(styles, 2, 0, 1, 4);
        layout->addWidget(caption);
        auto* bottom = new QHBoxLayout;
        auto* gradient = new QGroupBox(Lang3Q("Farbverlauf", "Colour", "Couleur"), GB_Button);
        auto* gl = new QHBoxLayout(gradient);
        VonColShape = new TColorShape(gradient);
        cbVerlauf = new QComboBox(gradient);
        cbVerlauf->addItems({Translate(QStringLiteral("Horizontal")), Translate(QStringLiteral("Vertikal"))});
        bisColShape = new TColorShape(gradient);
        gl->addWidget(VonColShape);
        gl->addWidget(cbVerlauf, 1);
        gl->addWidget(bisColShape);
        bottom->addWidget(gradient, 1);
        auto* preview = new QGroupBox(Lang3Q("Vorschau", "Preview", "Vue préliminaire"), GB_Button);
        auto* pl = new QHBoxLayout(preview);
        GradBtn1 = new TGradBtn(preview);
        GradBtn1->setFixedSize(109, 41);
        GradBtn1->ShowFocus = false;
        pl->addWidget(GradBtn1);
        bottom->addWidget(preview);
        layout->addLayout(bottom);
    }
    Pages->addWidget(GB_Button);

    // Page 2: the user's pictures.
    GB_Btmap3 = new QGroupBox(Pages);
    {
        auto* grid = new QGridLayout(GB_Btmap3);
        BitBtn3 = new QPushButton(Lang3Q("Bitmap für &ausgeschalteten Zustand laden...",
                                         "Load bitmap for OFF status", "Charger image pour état OFF"),
                                  GB_Btmap3);
        BitBtn4 = new QPushButton(Lang3Q("Bitmap für &eingeschalteten Zustand laden...",
                                         "Load bitmap for ON status", "Charger image pour état ON"),
                                  GB_Btmap3);
        auto* panel = new QFrame(GB_Btmap3);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setMinimumSize(137, 110);
        auto* pl = new QVBoxLayout(panel);
        Image2 = new QLabel(panel);
        Image2->setAlignment(Qt::AlignCenter);
        pl->addWidget(Image2);
        BitBtn5 = ArrowButton(Qt::LeftArrow, GB_Btmap3);
        BitBtn6 = ArrowButton(Qt::RightArrow, GB_Btmap3);
        cb_Transparent = new QCheckBox(QStringLiteral("&transparent"), GB_Btmap3);
        grid->addWidget(BitBtn3, 0, 0, 1, 3);
        grid->addWidget(BitBtn4, 1, 0, 1, 3);
        grid->addWidget(panel, 2, 0, 2, 1);
        grid->addWidget(BitBtn5, 2, 1);
        grid->addWidget(BitBtn6, 2, 2);
        grid->addWidget(cb_Transparent, 3, 1, 1, 2);
        grid->setColumnStretch(0, 1);
    }
    Pages->addWidget(GB_Btmap3);

    // Page 3: the plastic lamp.
    GB_Plastik = new QGroupBox(Pages);
    {
        auto* layout = new QHBoxLayout(GB_Plastik);
        auto* design = new QGroupBox(QStringLiteral("Design"), GB_Plastik);
        auto* dg = new QGridLayout(design);
        PlastikColShape = new TColorShape(design);
        CB_Form = new QComboBox(design);
        CB_Form->addItems(Lang3List(
            {QStringLiteral("Rechteck"), QStringLiteral("Kreis"), QStringLiteral("Halbkreis"),
             QStringLiteral("Dreieck"), QStringLiteral("Trapez"), QStringLiteral("Raute")},
            {QStringLiteral("Rectangle"), QStringLiteral("Circle"), QStringLiteral("Semicircle"),
             QStringLiteral("Triangle"), QStringLiteral("Trapezium"), QStringLiteral("Rhomb")},
            {QStringLiteral("Rectangle"), QStringLiteral("Cercle"), QStringLiteral("Demi-cercle"),
             QStringLiteral("Triangle"), QStringLiteral("Trapèze"), QStringLiteral("Losange")}));
        cbWinkel = new QComboBox(design);
        cbWinkel->addItems({QStringLiteral("0°"), QStringLiteral("90°"), QStringLiteral("180°"),
                            QStringLiteral("270°")});
        SE_Rand = new QSpinBox(design);
        SE_Rand->setRange(0, 8);
        SE_Rand->setValue(2);
        dg->addWidget(new QLabel(Lang3Q("Farbe:", "Colour:", "Couleur:"), design), 0, 0);
        dg->addWidget(PlastikColShape, 0, 1);
        dg->addWidget(new QLabel(Lang3Q("Form:", "Shape:", "Forme:"), design), 1, 0);
        dg->addWidget(CB_Form, 1, 1);
        dg->addWidget(new QLabel(Lang3Q("Winkel:", "Angle:", "Angle:"), design), 2, 0);
        dg->addWidget(cbWinkel, 2, 1);
        dg->addWidget(new QLabel(Lang3Q("Randstärke:", "Borderwidth:", "Bordure:"), design), 3, 0);
        dg->addWidget(SE_Rand, 3, 1);
        layout->addWidget(design, 1);
        auto* preview = new QGroupBox(Lang3Q("Vorschau", "Preview", "Vue préliminaire"), GB_Plastik);
        preview->setMinimumSize(150, 130);
        auto* holder = new QWidget(preview);
        holder->setFixedSize(130, 100);
        auto* pl = new QVBoxLayout(preview);
        pl->addWidget(holder, 0, Qt::AlignCenter);
        Lampe = new TITemboLED(holder);
        Lampe->SetGap(1);
        Lampe->SetGapColor(0x000000);
        Lampe->SetOuterBorderStyle(ixblsUp);
        Lampe->SetLedOn(true);
        SizePreviewLamp(61);
        layout->addWidget(preview);
    }
    Pages->addWidget(GB_Plastik);
    main->addWidget(Pages);

    auto* hintBox = new QGroupBox(Lang3Q("Hinweistext", "Hint", "Commentaire"), this);
    auto* hl = new QVBoxLayout(hintBox);
    HintEdit = new QLineEdit(hintBox);
    hl->addWidget(HintEdit);
    main->addWidget(hintBox);
    cb_Editierbar = new QCheckBox(Lang3Q("Eigenschaften zur Laufzeit einstellbar",
                                         "&Editable at run-time", "&Modifiable en mode-RUN"),
                                  this);
    main->addWidget(cb_Editierbar);

    auto* buttons = new QHBoxLayout;
    HotBtn = new QPushButton(Lang3Q("&Hotkeys...", "&Hotkeys...", "&Raccourcis..."), this);
    auto* ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setDefault(true);
    auto* cancel = new QPushButton(Lang3Q("A&bbrechen", "&Cancel", "&Annuler"), this);
    buttons->addWidget(HotBtn);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    main->addLayout(buttons);

    VorschauTimer = new QTimer(this);
    VorschauTimer->setInterval(1000);

    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(HotBtn, &QPushButton::clicked, this, [this] { EditHotkeys(); });
    connect(VorschauTimer, &QTimer::timeout, this, [this] { Blink(); });
    connect(TypCombo, &QComboBox::currentIndexChanged, this, [this](int i) { ShowPage(i); });
    connect(Typ, &QComboBox::currentIndexChanged, this, [this] { RefreshPicturePreview(); });
    connect(Farbe, &QComboBox::currentIndexChanged, this, [this] { RefreshPicturePreview(); });
    connect(BitBtn1, &QToolButton::clicked, this, [this] { TurnPictureSet(-1); });
    connect(BitBtn2, &QToolButton::clicked, this, [this] { TurnPictureSet(1); });
    connect(Text, &QLineEdit::textChanged, this, [this](const QString& t) { GradBtn1->SetCaption(t); });
    connect(cbVerlauf, &QComboBox::currentIndexChanged, this, [this](int i) {
        GradBtn1->SetGradientStyle(i != 0 ? gsVertical : gsHorizontal);
    });
    connect(cbFontName, &QFontComboBox::currentFontChanged, this, [this](const QFont& f) {
        QFont font = GradBtn1->font();
        font.setFamily(f.family());
        GradBtn1->setFont(font);
    });
    connect(cbFontSize, &QSpinBox::valueChanged, this, [this](int size) {
        QFont font = GradBtn1->font();
        font.setPointSize(size);
        GradBtn1->setFont(font);
    });
    for (QToolButton* b : {BoldBtn, ItalicBtn, UnderlineBtn, StrikeoutBtn})
        connect(b, &QToolButton::toggled, this, [this] { ApplyFontStyle(); });
    connect(cbFontFX, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (i >= 0 && i <= tsInset)
            GradBtn1->SetTextStyle(TTextStyle(i));
    });
    FontColShape->OnChanged = [this](int32_t c) { GradBtn1->SetFontColor(c); };
    VonColShape->OnChanged = [this](int32_t c) {
        GradBtn1->SetBeginColor(c);
        GradBtn1->SetTxtHiliteClr(c);
    };
    bisColShape->OnChanged = [this](int32_t c) {
        GradBtn1->SetEndColor(c);
        GradBtn1->SetTxtShadowClr(c);
    };
    PlastikColShape->OnChanged = [this](int32_t c) { Lampe->SetLedPlasticColor(c); };
    connect(BitBtn3, &QPushButton::clicked, this, [this] { ChooseUserPicture(false); });
    connect(BitBtn4, &QPushButton::clicked, this, [this] { ChooseUserPicture(true); });
    connect(BitBtn5, &QToolButton::clicked, this, [this] { TurnUserPictures(false); });
    connect(BitBtn6, &QToolButton::clicked, this, [this] { TurnUserPictures(true); });
    connect(cb_Transparent, &QCheckBox::toggled, this, [this] { RefreshUserPreview(); });
    connect(CB_Form, &QComboBox::currentIndexChanged, this, [this](int i) {
        Lampe->SetLedClass(TIxLedClass(ShapeOfFormIndex(i)));
    });
    connect(cbWinkel, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (i >= 0)
            Lampe->SetAngle(i * 900);
        SizePreviewLamp(61);
    });
    connect(SE_Rand, &QSpinBox::valueChanged, this, [this](int v) {
        Lampe->SetOuterBorderDepth(v);
        SizePreviewLamp(60);
    });

    Fill();
}

TSchalterDlg::~TSchalterDlg() = default;

int TSchalterDlg::FormIndexOfShape(int shape)
{
    for (int i = 0; i < 6; ++i)
        if (kFormShapes[i] == shape)
            return i;
    return 0;
}

int TSchalterDlg::ShapeOfFormIndex(int index)
{
    return index >= 0 && index < 6 ? kFormShapes[index] : ixlcRect;
}

void TSchalterDlg::Fill()
{
    TSchalter& e = m_element;
    TypCombo->setCurrentIndex(e.Darstellung);
    setWindowTitle(e.Hint);
    Text->setText(e.Schaltflaeche->Caption());
    // The face's colours in their off order.
    const bool swapped = e.Schaltflaeche->Down();
    const int32_t begin = swapped ? e.Schaltflaeche->EndColor() : e.Schaltflaeche->BeginColor();
    const int32_t end = swapped ? e.Schaltflaeche->BeginColor() : e.Schaltflaeche->EndColor();
    VonColShape->SetColor(begin);
    bisColShape->SetColor(end);
    cbVerlauf->setCurrentIndex(e.Schaltflaeche->GradientStyle() != gsHorizontal ? 1 : 0);
    GradBtn1->SetTextStyle(e.Schaltflaeche->TextStyle());
    GradBtn1->SetFontColor(e.Schaltflaeche->FontColor());
    FontColShape->SetColor(e.Schaltflaeche->FontColor());
    SyncPreview();

    Typ->setCurrentIndex(e.Typ);
    Farbe->setCurrentIndex(e.Farbe);
    Drehung = e.Drehung;
    BildEin = e.BildEin;
    BildAus = e.BildAus;
    cb_Transparent->setChecked(e.GetBisteTransparent());

    Lampe->SetLedPlasticColor(e.Lampe->LedPlasticColor());
    Lampe->SetLedClass(e.Lampe->LedClass());
    Lampe->SetAngle(e.Lampe->Angle());
    Lampe->SetOuterBorderDepth(e.Lampe->OuterBorderDepth());
    Lampe->SetOuterBorderStyle(e.Lampe->OuterBorderStyle());
    PlastikColShape->SetColor(Lampe->LedPlasticColor());
    CB_Form->setCurrentIndex(FormIndexOfShape(Lampe->LedClass()));
    switch (Lampe->Angle()) {
    case 0: cbWinkel->setCurrentIndex(0); break;
    case 900: cbWinkel->setCurrentIndex(1); break;
    case 1800: cbWinkel->setCurrentIndex(2); break;
    case -900: cbWinkel->setCurrentIndex(3); break;
    default: break;
    }
    SE_Rand->setValue(Lampe->OuterBorderDepth());
    SizePreviewLamp(61);

    HintEdit->setText(e.Hint);
    if (e.Taster) {
        DefaultBox->setEnabled(false);
        RB_DefOff->setChecked(true);
    } else {
        (e.Vorgabe ? RB_DefOn : RB_DefOff)->setChecked(true);
    }
    GradBtn1->setFont(e.Schaltflaeche->font());
    cb_Editierbar->setChecked(e.LaufzeitEinstellbar);
    cb_Editierbar->hide();
}

void TSchalterDlg::SizePreviewLamp(int height)
{
    // The body takes what the borders leave of the preview's size; a turned lamp is centred.
    const int m = Lampe->Margin();
    Lampe->SetLedWidth(95 - 2 * m);
    Lampe->SetLedHeight(height - 2 * m);
    const QWidget* holder = Lampe->parentWidget();
    Lampe->move((holder->width() - Lampe->width()) / 2, (holder->height() - Lampe->height()) / 2);
}

void TSchalterDlg::SyncPreview()
{
    GradBtn1->SetCaption(Text->text());
    GradBtn1->SetGradientStyle(cbVerlauf->currentIndex() != 0 ? gsVertical : gsHorizontal);
    GradBtn1->SetEndColor(bisColShape->Color());
    GradBtn1->SetTxtShadowClr(bisColShape->Color());
    GradBtn1->SetBeginColor(VonColShape->Color());
    GradBtn1->SetTxtHiliteClr(VonColShape->Color());
}

void TSchalterDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    const QFont f = GradBtn1->font();
    BoldBtn->setChecked(f.bold());
    ItalicBtn->setChecked(f.italic());
    UnderlineBtn->setChecked(f.underline());
    StrikeoutBtn->setChecked(f.strikeOut());
    cbFontName->setCurrentFont(f);
    cbFontSize->setValue(f.pointSize() > 0 ? f.pointSize() : 8);
    cbFontFX->setCurrentIndex(GradBtn1->TextStyle());
    ShowPage(TypCombo->currentIndex());
}

void TSchalterDlg::ShowPage(int look)
{
    if (look < 0 || look > 3)
        return;
    Pages->setCurrentIndex(look);
    if (look == 1)
        VorschauTimer->stop();
    else
        VorschauTimer->start();
    if (look == 0)
        RefreshPicturePreview();
    if (look == 2)
        RefreshUserPreview();
}

void TSchalterDlg::Blink()
{
    Blinker = !Blinker;
    switch (Pages->currentIndex()) {
    case 0:
        RefreshPicturePreview();
        break;
    case 2:
        RefreshUserPreview();
        break;
    case 3:
        Lampe->SetLedOn(Blinker);
        Lampe->SetOuterBorderStyle(Blinker ? ixblsDown : ixblsUp);
        break;
    default:
        break;
    }
}

void TSchalterDlg::RefreshPicturePreview()
{
    const int typ = Typ->currentIndex();
    QImage picture = SwitchPicture(Farbe->currentIndex(), typ, Blinker);
    RotateBitmapQuarters(picture, Drehung);
    if (picture.isNull()) {
        Image1->clear();
        return;
    }
    if (IsTransparentTyp(typ)) {
        picture = picture.convertToFormat(QImage::Format_ARGB32);
        const QRgb key = picture.pixel(0, 0);
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                if (picture.pixel(x, y) == key)
                    picture.setPixel(x, y, 0);
    }
    QSize size = picture.size();
    if (typ >= Wippe1 && typ <= Wippe4)
        size /= 2;
    Image1->setPixmap(QPixmap::fromImage(picture));
    Image1->setGeometry((VorschauPanel->width() - size.width()) / 2,
                        (VorschauPanel->height() - size.height()) / 2, size.width(), size.height());
}

void TSchalterDlg::RefreshUserPreview()
{
    const QImage& picture = Blinker ? BildEin : BildAus;
    if (picture.isNull())
        Image2->clear();
    else
        Image2->setPixmap(QPixmap::fromImage(picture));
}

void TSchalterDlg::TurnPictureSet(int step)
{
    Drehung = (Drehung + step + 4) % 4;
    RefreshPicturePreview();
}

void TSchalterDlg::TurnUserPictures(bool clockwise)
{
    for (QImage* picture : {&BildEin, &BildAus}) {
        if (picture->isNull())
            continue;
        if (clockwise)
            RotateBitmapRight(*picture);
        else
            RotateBitmapLeft(*picture);
    }
    RefreshUserPreview();
}

void TSchalterDlg::LoadUserPicture(bool on, const QString& fileName)
{
    QImage picture(fileName);
    if (picture.isNull()) {
        MessageDlg(Lang3Q("Das Bild kann nicht gelesen werden: ", "The picture cannot be read: ",
                          "Impossible de lire l'image : ")
                       + fileName,
                   mtError, mbOK);
        return;
    }
    (on ? BildEin : BildAus) = picture;
    RefreshUserPreview();
}

void TSchalterDlg::ChooseUserPicture(bool on)
{
    QFileDialog dialog(this);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(QStringLiteral("Bitmaps (*.bmp)"));
    dialog.setDefaultSuffix(QStringLiteral("BMP"));
    if (ShowModal(dialog) != mrOk || dialog.selectedFiles().isEmpty())
        return;
    LoadUserPicture(on, dialog.selectedFiles().first());
}

void TSchalterDlg::ApplyFontStyle()
{
    QFont f = GradBtn1->font();
    f.setBold(BoldBtn->isChecked());
    f.setItalic(ItalicBtn->isChecked());
    f.setUnderline(UnderlineBtn->isChecked());
    f.setStrikeOut(StrikeoutBtn->isChecked());
    GradBtn1->setFont(f);
}

void TSchalterDlg::EditHotkeys()
{
    TDefault_Dlg& dlg = Default_Dlg();
    dlg.setWindowTitle(Translate(QStringLiteral("Hotkeys")));
    int n = 1;
    for (auto& hotkey : m_element.Hotkeys)
        dlg.PropScrollbox->AddHotkeyProp(Translate(QStringLiteral("Hotkey")) + u' ' + QString::number(n++),
                                         *hotkey, &m_element.ActionNames);
    dlg.Execute();
}

int TSchalterDlg::Run()
{
    const int result = ShowModal(*this);
    VorschauTimer->stop();
    if (result == mrOk)
        WriteBack();
    return result;
}

void TSchalterDlg::WriteBack()
{
    TSchalter& e = m_element;
    e.LaufzeitEinstellbar = cb_Editierbar->isChecked();
    e.Hint = HintEdit->text();
    const int look = TypCombo->currentIndex();
    // The face goes back to its off order before its colours are replaced.
    e.SetEingeschaltet(false);
    e.Darstellung = int16_t(look >= 0 && look <= 3 ? look : 0);
    switch (e.Darstellung) {
    case dsBild:
        e.SetFarbe(uint8_t(Farbe->currentIndex()));
        e.SetTyp(uint8_t(Typ->currentIndex()));
        e.Drehung = uint8_t(Drehung);
        e.SetFarbe(uint8_t(Farbe->currentIndex()));
        break;
    case dsSchaltflaeche:
        e.Schaltflaeche->SetCaption(Text->text());
        e.Schaltflaeche->SetBeginColor(VonColShape->Color());
        e.Schaltflaeche->SetEndColor(bisColShape->Color());
        e.Schaltflaeche->SetTxtHiliteClr(VonColShape->Color());
        e.Schaltflaeche->SetTxtShadowClr(bisColShape->Color());
        e.Schaltflaeche->SetGradientStyle(cbVerlauf->currentIndex() != 0 ? gsVertical : gsHorizontal);
        e.Schaltflaeche->SetTextStyle(GradBtn1->TextStyle());
        e.Schaltflaeche->SetFontColor(GradBtn1->FontColor());
        e.Schaltflaeche->setFont(GradBtn1->font());
        break;
    case dsBenutzerBild:
        e.BildAus = BildAus;
        e.BildEin = BildEin;
        e.SetBisteTransparent(cb_Transparent->isChecked());
        break;
    case dsPlastik:
        e.Lampe->SetLedPlasticColor(Lampe->LedPlasticColor());
        e.Lampe->SetLedClass(Lampe->LedClass());
        e.Lampe->SetAngle(Lampe->Angle());
        e.Lampe->SetOuterBorderDepth(Lampe->OuterBorderDepth());
        e.Lampe->SetOuterBorderStyle(Lampe->OuterBorderStyle());
        break;
    default:
        break;
    }
    e.ShowLookFaces();
    e.Vorgabe = !e.Taster && RB_DefOn->isChecked();
    e.SetEingeschaltet(!e.Vorgabe);
    e.SetEingeschaltet(e.Vorgabe);
}
