#include "ui/ValueFormatForm.h"

#include "ui/WidgetHelpers.h"
#include "platform/Context.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

} // namespace

TFormat_Dlg::TFormat_Dlg(QWidget* parent)
    : QDialog(parent)
{
    FormCreate();
}

void TFormat_Dlg::FormCreate()
{
    setObjectName(QStringLiteral("Format_Dlg"));
    setWindowTitle(QStringLiteral("Zahlenwert formatieren"));

    GroupBox1 = Named(new QGroupBox(QStringLiteral("Ausgabeformat")), "GroupBox1");
    FixedBtn = Named(new QRadioButton(QStringLiteral("Komma &fest:")), "FixedBtn");
    FloatBtn = Named(new QRadioButton(QStringLiteral("&Komma")), "FloatBtn");
    FloatLabel = Named(new QLabel(QString::fromUtf8("fließend:")), "FloatLabel");
    ExpBtn = Named(new QRadioButton(QStringLiteral("&wissenschaftliche Exponentialdarstellung")),
                   "ExpBtn");
    Label1 = Named(new QLabel(QStringLiteral("Vorkomma")), "Label1");
    Label2 = Named(new QLabel(QStringLiteral("Nachkomma")), "Label2");
    Label3 = Named(new QLabel(QStringLiteral("Stellen")), "Label3");
    VK = SpinEdit("VK", 1, 12);
    NK = SpinEdit("NK", 0, 12);
    Zero = Named(new QCheckBox(QString::fromUtf8("führende &Nullen unterdrücken")), "Zero");
    fStellen = SpinEdit("fStellen", 2, 12);
    GroupBox2 = Named(new QGroupBox(QStringLiteral("Bereich")), "GroupBox2");
    von = Named(new QLabel, "von");
    bis = Named(new QLabel, "bis");
    OkBtn = Named(new QPushButton(QStringLiteral("&OK")), "OkBtn");
    CancelBtn = Named(new QPushButton(QStringLiteral("&Abbrechen")), "CancelBtn");

    QFont mono(QStringLiteral("Courier New"));
    mono.setStyleHint(QFont::TypeWriter);
    von->setFont(mono);
    bis->setFont(mono);

    auto* group = new QGridLayout(GroupBox1);
    group->addWidget(FixedBtn, 0, 0);
    group->addWidget(Label1, 0, 1);
    group->addWidget(VK, 0, 2);
    group->addWidget(Label2, 0, 3);
    group->addWidget(NK, 0, 4);
    group->addWidget(Zero, 1, 1, 1, 4);
    auto* floatCaption = new QHBoxLayout;
    floatCaption->addWidget(FloatBtn);
    floatCaption->addWidget(FloatLabel);
    floatCaption->addStretch();
    group->addLayout(floatCaption, 2, 0);
    group->addWidget(Label3, 2, 1);
    group->addWidget(fStellen, 2, 2);
    group->addWidget(ExpBtn, 3, 0, 1, 5);

    auto* range = new QVBoxLayout(GroupBox2);
    range->addWidget(von);
    range->addWidget(bis);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CancelBtn);
    buttons->addWidget(OkBtn);

    auto* main = new QVBoxLayout(this);
    main->addWidget(GroupBox1);
    main->addWidget(GroupBox2);
    main->addLayout(buttons);

    OkBtn->setDefault(true);
    connect(OkBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    connect(FixedBtn, &QRadioButton::toggled, this, [this](bool on) { if (on) FixedBtnClick(); });
    connect(FloatBtn, &QRadioButton::toggled, this, [this](bool on) { if (on) FloatBtnClick(); });
    connect(ExpBtn, &QRadioButton::toggled, this, [this](bool on) { if (on) ExpBtnClick(); });
    connect(Zero, &QCheckBox::toggled, this, [this] { ZeroClick(); });
    const auto refresh = [this] { UpdatePreview(); };
    connect(VK, &QSpinBox::valueChanged, this, refresh);
    connect(NK, &QSpinBox::valueChanged, this, refresh);
    connect(fStellen, &QSpinBox::valueChanged, this, refresh);

    switch (Ctx().CurrentLanguage) {
    case 1:
        setWindowTitle(QStringLiteral("Format value"));
        GroupBox1->setTitle(QStringLiteral("Output format"));
        GroupBox2->setTitle(QStringLiteral("Range"));
        FixedBtn->setText(QStringLiteral("&Fixed"));
        FloatBtn->setText(QStringLiteral("&Float"));
        ExpBtn->setText(QStringLiteral("&Scientific format"));
        Zero->setText(QStringLiteral("Suppress leading zero"));
        CancelBtn->setText(QStringLiteral("&Cancel"));
        break;
    case 2:
        setWindowTitle(QStringLiteral("Valeur format"));
        GroupBox1->setTitle(QStringLiteral("Format sortie"));
        GroupBox2->setTitle(QStringLiteral("Gamme"));
        FixedBtn->setText(QStringLiteral("&Fixe"));
        FloatBtn->setText(QStringLiteral("&Flottante"));
        ExpBtn->setText(QStringLiteral("&Format scientifique"));
        Zero->setText(QString::fromUtf8("Supprimer zéro d´entête"));
        CancelBtn->setText(QStringLiteral("&Annuler"));
        break;
    default:
        break;
    }
    if (Ctx().CurrentLanguage == 1 || Ctx().CurrentLanguage == 2) {
        Label1->setText(QStringLiteral("Digits"));
        Label2->setText(QStringLiteral("Digits"));
        Label3->setText(QStringLiteral("Digits"));
        FloatLabel->clear();
    }

    NK->setValue(2);
    VK->setValue(4);
    fStellen->setValue(4);
}

void TFormat_Dlg::FormShow()
{
    const uint8_t shown = Flags;
    if (shown & FlagFixed)
        FixedBtn->setChecked(true);
    if (shown & FlagFloat)
        FloatBtn->setChecked(true);
    if (shown & FlagExpo)
        ExpBtn->setChecked(true);
    Zero->setChecked(shown & FlagNoZero);
    UpdatePreview();
}

void TFormat_Dlg::FixedBtnClick()
{
    Zero->setEnabled(true);
    VK->setEnabled(true);
    NK->setEnabled(true);
    fStellen->setEnabled(false);
    Flags = uint8_t((Flags | FlagFixed) & ~(FlagFloat | FlagExpo));
    UpdatePreview();
}

void TFormat_Dlg::FloatBtnClick()
{
    Zero->setEnabled(false);
    VK->setEnabled(false);
    NK->setEnabled(false);
    fStellen->setEnabled(true);
    Flags = uint8_t((Flags | FlagFloat) & ~(FlagFixed | FlagExpo));
    UpdatePreview();
}

void TFormat_Dlg::ExpBtnClick()
{
    Zero->setEnabled(false);
    VK->setEnabled(false);
    NK->setEnabled(false);
    fStellen->setEnabled(false);
    Flags = uint8_t((Flags | FlagExpo) & ~(FlagFixed | FlagFloat));
    UpdatePreview();
}

void TFormat_Dlg::ZeroClick()
{
    Flags = Zero->isChecked() ? uint8_t(Flags | FlagNoZero) : uint8_t(Flags & ~FlagNoZero);
    UpdatePreview();
}

void TFormat_Dlg::UpdatePreview()
{
    if (!bis)
        return;
    QString w1 = QStringLiteral("von");
    QString w2 = QStringLiteral("bis");
    if (Ctx().CurrentLanguage == 1) {
        w1 = QStringLiteral("from");
        w2 = QStringLiteral("to");
    } else if (Ctx().CurrentLanguage == 2) {
        w1 = QStringLiteral("depuis");
        w2 = QString::fromUtf8("jusqu´à");
    }
    const auto rep = [](int count, char c) { return QString(qMax(count, 0), QChar::fromLatin1(c)); };
    const int n = fStellen->value();
    if (Flags & FlagExpo) {
        von->setText(QStringLiteral("-1.234567890E+/-99"));
        bis->setText(QStringLiteral(" 1.234567890E+/-99"));
    } else if (Flags & FlagFloat) {
        von->setText(LastToOne(w1 + QStringLiteral("  +/- 0,") + rep(n - 1, '0')));
        bis->setText(w2 + QStringLiteral("    +/- ") + rep(n, '9'));
    } else if (Flags & FlagFixed) {
        const QString integer = (Flags & FlagNoZero) ? QStringLiteral("0") : rep(VK->value(), '0');
        von->setText(LastToOne(w1 + QStringLiteral("  +/- ") + integer + u',' + rep(NK->value(), '0')));
        bis->setText(w2 + QStringLiteral("    +/- ") + rep(VK->value(), '9') + u','
                     + rep(NK->value(), '9'));
    }
}
