#include "ui/PanelDlg.h"

#include "platform/Help.h"
#include "platform/Colors.h"
#include "platform/Context.h"
#include "ui/ColorPicker.h"
#include "ui/Formats.h"
#include "ui/OwnerDrawButton.h"
#include "ui/WidgetHelpers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyle>
#include <QVBoxLayout>
#include <QWhatsThis>

namespace {

constexpr int SC_CONTEXTHELP = 61824;
constexpr int kHelpTopic = 5200;

QStringList BevelItems()
{
    switch (Ctx().CurrentLanguage) {
    case 1:
        return {u"None"_qs, u"Lowered"_qs, u"Raised"_qs};
    case 2:
        return {u"Aucun"_qs, u"Enfoncé"_qs, u"Surélevé"_qs};
    default:
        return {u"Kein"_qs, u"Vertiefung"_qs, u"Erhöhung"_qs};
    }
}

void SetItemsKeepingIndex(QComboBox* box, const QStringList& items)
{
    const int index = box->currentIndex();
    const QSignalBlocker block(box);
    box->clear();
    box->addItems(items);
    box->setCurrentIndex(index);
}

} // namespace

// --- TPanelShape ----------------------------------------------------------------------------

TPanelShape::TPanelShape(QWidget* parent)
    : QWidget(parent)
{
}

void TPanelShape::SetBrushColor(int32_t color)
{
    m_brushColor = color;
    update();
}

void TPanelShape::SetPenColor(int32_t color)
{
    m_penColor = color;
    update();
}

void TPanelShape::SetPenStyle(Qt::PenStyle style)
{
    m_penStyle = style;
    update();
}

void TPanelShape::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), TColorToQColor(m_brushColor));
    QPen pen(TColorToQColor(m_penColor));
    pen.setStyle(m_penStyle);
    pen.setWidth(0);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void TPanelShape::mouseReleaseEvent(QMouseEvent* event)
{
    QWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit mouseUp();
}

// --- TPreviewPanel --------------------------------------------------------------------------

TPreviewPanel::TPreviewPanel(QWidget* parent)
    : QWidget(parent)
{
}

void TPreviewPanel::SetColor(int32_t color)
{
    m_color = color;
    update();
}

void TPreviewPanel::SetBevelInner(TBevel bevel)
{
    m_inner = bevel;
    Relayout();
}

void TPreviewPanel::SetBevelOuter(TBevel bevel)
{
    m_outer = bevel;
    Relayout();
}

void TPreviewPanel::SetBevelWidth(int width)
{
    m_bevelWidth = std::max(width, 0);
    Relayout();
}

void TPreviewPanel::SetBorderWidth(int width)
{
    m_borderWidth = std::max(width, 0);
    Relayout();
}

QRect TPreviewPanel::InnerRect() const
{
    int inset = m_borderWidth;
    if (m_outer != bvNone)
        inset += m_bevelWidth;
    if (m_inner != bvNone)
        inset += m_bevelWidth;
    return rect().adjusted(inset, inset, -inset, -inset);
}

void TPreviewPanel::Relayout()
{
    const QRect inner = InnerRect();
    for (QObject* child : children()) {
        if (auto* w = qobject_cast<QWidget*>(child))
            w->setGeometry(inner);
    }
    update();
}

void TPreviewPanel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Relayout();
}

void TPreviewPanel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QColor light = TColorToQColor(clBtnHighlight);
    const QColor dark = TColorToQColor(clBtnShadow);
    const QColor face = TColorToQColor(m_color);
    QRect r = rect();
    auto bevel = [&](TBevel b) {
        if (b == bvRaised)
            DrawFrame3D(p, r, light, dark, m_bevelWidth);
        else if (b == bvLowered)
            DrawFrame3D(p, r, dark, light, m_bevelWidth);
    };
    bevel(m_outer);
    DrawFrame3D(p, r, face, face, m_borderWidth);
    bevel(m_inner);
    p.fillRect(r, face);
}

// --- TPanelDlg ------------------------------------------------------------------------------

TPanelDlg::TPanelDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowMinMaxButtonsHint | Qt::WindowContextHelpButtonHint
                          | Qt::WindowCloseButtonHint)
{
    setObjectName(u"TPanelDlg"_qs);
    QFont f(u"MS Sans Serif"_qs);
    f.setPixelSize(11);
    setFont(f);
    PickColor = [](int32_t color) { return ::PickColor(color); };

    // Frame settings.
    GroupBox1 = Named(new QGroupBox(this), "GroupBox1");
    Label3 = Named(new QLabel(GroupBox1), "Label3");
    se_Border = Named(new QSpinBox(GroupBox1), "se_Border");
    se_Border->setRange(0, 999);
    Label1 = Named(new QLabel(GroupBox1), "Label1");
    cb_Outer = Named(new QComboBox(GroupBox1), "cb_Outer");
    Label2 = Named(new QLabel(GroupBox1), "Label2");
    cb_Inner = Named(new QComboBox(GroupBox1), "cb_Inner");
    Label4 = Named(new QLabel(GroupBox1), "Label4");
    se_Bevel = Named(new QSpinBox(GroupBox1), "se_Bevel");
    se_Bevel->setRange(0, 999);
    Label3->setBuddy(se_Border);
    Label1->setBuddy(cb_Outer);
    Label2->setBuddy(cb_Inner);
    Label4->setBuddy(se_Bevel);
    auto* g1 = new QGridLayout(GroupBox1);
    g1->addWidget(Label3, 0, 0);
    g1->addWidget(se_Border, 0, 1);
    g1->addWidget(Label1, 1, 0);
    g1->addWidget(cb_Outer, 1, 1);
    g1->addWidget(Label2, 2, 0);
    g1->addWidget(cb_Inner, 2, 1);
    g1->addWidget(Label4, 3, 0);
    g1->addWidget(se_Bevel, 3, 1);

    // Frame colour.
    GroupBox2 = Named(new QGroupBox(this), "GroupBox2");
    rb_Individuell = Named(new QRadioButton(GroupBox2), "rb_Individuell");
    rb_Anpassen = Named(new QRadioButton(GroupBox2), "rb_Anpassen");
    ColorShape = Named(new TPanelShape(GroupBox2), "ColorShape");
    ColorShape->setFixedSize(25, 22);
    auto* g2 = new QGridLayout(GroupBox2);
    g2->addWidget(rb_Individuell, 0, 0);
    g2->addWidget(ColorShape, 0, 1);
    g2->addWidget(rb_Anpassen, 1, 0, 1, 2);

    // Preview.
    GroupBox3 = Named(new QGroupBox(this), "GroupBox3");
    VorschauPanel = Named(new TPreviewPanel(GroupBox3), "VorschauPanel");
    VorschauPanel->setMinimumSize(80, 60);
    VorschauShape = Named(new TPanelShape(VorschauPanel), "VorschauShape");
    VorschauShape->SetBrushColor(clSilver);
    VorschauShape->SetPenColor(clGray);
    VorschauShape->SetPenStyle(Qt::DotLine);
    auto* g3 = new QVBoxLayout(GroupBox3);
    g3->addWidget(VorschauPanel);

    cb_Transparent = Named(new QCheckBox(this), "cb_Transparent");

    // Background colour.
    GroupBox4 = Named(new QGroupBox(this), "GroupBox4");
    rb_BK_Individuell = Named(new QRadioButton(GroupBox4), "rb_BK_Individuell");
    rb_BK_Anpassen = Named(new QRadioButton(GroupBox4), "rb_BK_Anpassen");
    BK_Shape = Named(new TPanelShape(GroupBox4), "BK_Shape");
    BK_Shape->setFixedSize(25, 22);
    auto* g4 = new QGridLayout(GroupBox4);
    g4->addWidget(rb_BK_Individuell, 0, 0);
    g4->addWidget(BK_Shape, 0, 1);
    g4->addWidget(rb_BK_Anpassen, 1, 0, 1, 2);

    OKBtn = Named(new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), u"&OK"_qs,
                                  this),
                  "OKBtn");
    OKBtn->setDefault(true);
    CancelBtn = Named(new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton),
                                      u"&Abbrechen"_qs, this),
                      "CancelBtn");

    auto* left = new QVBoxLayout;
    left->addWidget(GroupBox1);
    left->addWidget(GroupBox2);
    left->addWidget(GroupBox4);
    auto* right = new QVBoxLayout;
    right->addWidget(GroupBox3, 1);
    right->addWidget(cb_Transparent);
    right->addStretch();
    right->addWidget(OKBtn);
    right->addWidget(CancelBtn);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(right);

    setWindowTitle(u"Rahmen & Hintergrund"_qs);
    GroupBox1->setTitle(u"Rand"_qs);
    GroupBox2->setTitle(u"Randfarbe"_qs);
    GroupBox3->setTitle(u"Vorschau"_qs);
    GroupBox4->setTitle(u"Hintergrundfarbe"_qs);
    Label3->setText(u"Randbreite:"_qs);
    Label1->setText(u"Äusserer Rand:"_qs);
    Label2->setText(u"Innerer Rand:"_qs);
    Label4->setText(u"Höhe/Tiefe:"_qs);
    rb_Individuell->setText(u"&individuelle Farbe:"_qs);
    rb_Anpassen->setText(u"an &Frontplatte anpassen"_qs);
    cb_Transparent->setText(u"&transparent (Rahmen unsichtbar)"_qs);
    rb_BK_Individuell->setText(u"i&ndividuelle Farbe:"_qs);
    rb_BK_Anpassen->setText(u"an F&rontplatte anpassen"_qs);
    cb_Outer->addItems(BevelItems());
    cb_Inner->addItems(BevelItems());

    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(ColorShape, &TPanelShape::mouseUp, this, [this] { ColorShapeMouseUp(); });
    connect(BK_Shape, &TPanelShape::mouseUp, this, [this] { BK_ShapeMouseUp(); });
    for (QRadioButton* rb : {rb_Individuell, rb_Anpassen})
        connect(rb, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                rb_IndividuellClick();
        });
    for (QRadioButton* rb : {rb_BK_Individuell, rb_BK_Anpassen})
        connect(rb, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                rb_BK_IndividuellClick();
        });
    connect(cb_Transparent, &QCheckBox::toggled, this, [this] { cb_TransparentClick(); });
    for (QSpinBox* se : {se_Border, se_Bevel})
        connect(se, &QSpinBox::valueChanged, this, [this] { UpdatePreview(); });
    for (QComboBox* cb : {cb_Outer, cb_Inner})
        connect(cb, &QComboBox::currentIndexChanged, this, [this] { UpdatePreview(); });

    TranslateCaptions();
}

void TPanelDlg::TranslateCaptions()
{
    const int lang = Ctx().CurrentLanguage;
    if (lang != 1 && lang != 2)
        return;
    const bool en = lang == 1;
    auto t = [en](const char* english, const char* french) {
        return QString::fromUtf8(en ? english : french);
    };
    setWindowTitle(t("Frame & Background", "Cadre & Fond"));
    GroupBox1->setTitle(t("Frame", "Bordure"));
    GroupBox2->setTitle(t("Frame colour", "Couleur bordure"));
    GroupBox3->setTitle(t("Preview", "Prévision"));
    GroupBox4->setTitle(t("Background colour", "Couleur fond"));
    Label3->setText(t("Frame width:", "Largeur bordure:"));
    Label1->setText(t("Outer frame:", "Bordure externe:"));
    Label2->setText(t("Inner frame:", "Bordure intérieur:"));
    Label4->setText(t("Pen width:", "Pen width:"));
    cb_Transparent->setText(t("transparent (invisible frame)", "&transparent"));
    rb_Individuell->setText(t("&individual colour:", "&couleur individuellement:"));
    rb_Anpassen->setText(t("&match with frontpanel", "a&dapter avant panneau de contrôle"));
    rb_BK_Individuell->setText(t("&individual colour:", "c&ouleur individuellement:"));
    rb_BK_Anpassen->setText(t("&match with frontpanel", "ada&pter avant panneau de contrôle"));
    CancelBtn->setText(t("&Cancel", "&Annuler"));
    SetItemsKeepingIndex(cb_Outer, BevelItems());
    SetItemsKeepingIndex(cb_Inner, BevelItems());
}

void TPanelDlg::UpdatePreview()
{
    VorschauPanel->setVisible(!cb_Transparent->isChecked());
    VorschauPanel->SetColor(ColorShape->BrushColor());
    auto bevelOf = [](int index, TPreviewPanel::TBevel current) {
        switch (index) {
        case 0: return TPreviewPanel::bvNone;
        case 1: return TPreviewPanel::bvLowered;
        case 2: return TPreviewPanel::bvRaised;
        default: return current;
        }
    };
    VorschauPanel->SetBevelInner(bevelOf(cb_Inner->currentIndex(), VorschauPanel->BevelInner()));
    VorschauPanel->SetBevelOuter(bevelOf(cb_Outer->currentIndex(), VorschauPanel->BevelOuter()));
    VorschauPanel->SetBevelWidth(se_Bevel->value());
    VorschauPanel->SetBorderWidth(se_Border->value());
    VorschauShape->SetBrushColor(BK_Shape->BrushColor());
}

bool TPanelDlg::WMSysCommand(int command)
{
    if (command != SC_CONTEXTHELP)
        return false;
    ShowHelp(kHelpTopic);
    return true;
}

void TPanelDlg::PickShapeColor(QRadioButton* individual, TPanelShape* shape)
{
    individual->setFocus();
    individual->setChecked(true);
    shape->SetBrushColor(PickColor ? PickColor(shape->BrushColor()) : shape->BrushColor());
    UpdatePreview();
}

void TPanelDlg::FollowPanelColor(QRadioButton* individual, TPanelShape* shape)
{
    if (!individual->isChecked())
        shape->SetBrushColor(DesignPanelColor);
    UpdatePreview();
}

void TPanelDlg::ColorShapeMouseUp()
{
    PickShapeColor(rb_Individuell, ColorShape);
}

void TPanelDlg::BK_ShapeMouseUp()
{
    PickShapeColor(rb_BK_Individuell, BK_Shape);
}

void TPanelDlg::rb_IndividuellClick()
{
    FollowPanelColor(rb_Individuell, ColorShape);
}

void TPanelDlg::rb_BK_IndividuellClick()
{
    FollowPanelColor(rb_BK_Individuell, BK_Shape);
}

void TPanelDlg::cb_TransparentClick()
{
    const bool enabled = !cb_Transparent->isChecked();
    const QList<QWidget*> settings = {GroupBox1,      GroupBox2,   GroupBox3,         GroupBox4,
                                      se_Border,      cb_Outer,    cb_Inner,          se_Bevel,
                                      rb_Individuell, rb_Anpassen, ColorShape,        BK_Shape,
                                      rb_BK_Individuell, rb_BK_Anpassen};
    for (QWidget* w : settings)
        w->setEnabled(enabled);
    UpdatePreview();
}

void TPanelDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    UpdatePreview();
}

bool TPanelDlg::event(QEvent* event)
{
    if (IsHelpRequest(event)) {
        WMSysCommand(SC_CONTEXTHELP);
        return true;
    }
    return QDialog::event(event);
}
