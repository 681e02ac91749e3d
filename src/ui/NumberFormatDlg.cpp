#include "ui/NumberFormatDlg.h"

#include "ui/WidgetHelpers.h"
#include "platform/Help.h"
#include "platform/Context.h"
#include "platform/ModalDialogs.h"
#include "platform/MessageBox.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <QWhatsThis>

namespace {

constexpr int kPrefixExampleLength = 10;
constexpr int kUnformattedExampleLength = 18;

bool UsesFixedDigits(TFormatOptions o)
{
    return o.Contains(TFormatOption::Fixed);
}

bool UsesDigitCount(TFormatOptions o)
{
    return o.Contains(TFormatOption::Float) || o.Contains(TFormatOption::Expo)
        || o.Contains(TFormatOption::Binary) || o.Contains(TFormatOption::Hexadecimal);
}

} // namespace

TFormatDlg::TFormatDlg(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FormatDlg"));
    setWindowTitle(QStringLiteral("Format"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, true);

    GroupBox1 = Named(new QGroupBox(QStringLiteral("Format")), "GroupBox1");
    FixedBtn = Named(new QRadioButton(QStringLiteral("Komma &fest:")), "FixedBtn");
    Panel2 = Named(new QWidget, "Panel2");
    Label1 = Named(new QLabel(QStringLiteral("Vorkomma")), "Label1");
    Label2 = Named(new QLabel(QStringLiteral("Nachkomma")), "Label2");
    VK = SpinEdit("VK", 1, 12);
    NK = SpinEdit("NK", 0, 12);
    Zero = Named(new QCheckBox(QString::fromUtf8("führende &Nullen unterdrücken")), "Zero");
    FloatBtn = Named(new QRadioButton(QStringLiteral("&Fliesskomma:")), "FloatBtn");
    Panel3 = Named(new QWidget, "Panel3");
    Label3 = Named(new QLabel(QStringLiteral("Stellen")), "Label3");
    fStellen = SpinEdit("fStellen", 2, 12);
    HexBtn = Named(new QRadioButton(QStringLiteral("&Hex:")), "HexBtn");
    BinBtn = Named(new QRadioButton(QStringLiteral("&Bin:")), "BinBtn");
    ExpBtn = Named(new QRadioButton(QStringLiteral("&Exp:")), "ExpBtn");
    UnformBtn = Named(new QRadioButton(QStringLiteral("&Unformatiert/$String")), "UnformBtn");
    cbPlus = Named(new QCheckBox(QStringLiteral("&Pluszeichen anzeigen")), "cbPlus");
    GroupBox3 = Named(new QGroupBox(QStringLiteral("Datenrahmen")), "GroupBox3");
    Label4 = Named(new QLabel(QStringLiteral("Prefix:")), "Label4");
    Label5 = Named(new QLabel(QStringLiteral("Suffix:")), "Label5");
    PrefixEdit = Named(new QLineEdit, "PrefixEdit");
    SuffixEdit = Named(new QLineEdit, "SuffixEdit");
    GroupBox2 = Named(new QGroupBox(QStringLiteral("Formatbeispiele")), "GroupBox2");
    von = Named(new QLabel(QStringLiteral("Min.")), "von");
    bis = Named(new QLabel(QStringLiteral("Max.")), "bis");
    Button1 = Named(new QPushButton(QStringLiteral("&OK")), "Button1");
    Button2 = Named(new QPushButton(QStringLiteral("&Abbrechen")), "Button2");

    Label4->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label5->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont mono(QStringLiteral("Courier New"));
    mono.setStyleHint(QFont::TypeWriter);
    von->setFont(mono);
    bis->setFont(mono);

    // Mode buttons with the controls that belong to them.
    auto* panel2Layout = new QGridLayout(Panel2);
    panel2Layout->setContentsMargins(0, 0, 0, 0);
    panel2Layout->addWidget(Label1, 0, 0);
    panel2Layout->addWidget(VK, 0, 1);
    panel2Layout->addWidget(Label2, 0, 2);
    panel2Layout->addWidget(NK, 0, 3);
    panel2Layout->addWidget(Zero, 1, 0, 1, 4);
    auto* panel3Layout = new QHBoxLayout(Panel3);
    panel3Layout->setContentsMargins(0, 0, 0, 0);
    panel3Layout->addWidget(Label3);
    panel3Layout->addWidget(fStellen);
    panel3Layout->addStretch();

    auto* modes = new QGridLayout(GroupBox1);
    modes->addWidget(FixedBtn, 0, 0, Qt::AlignTop);
    modes->addWidget(Panel2, 0, 1);
    modes->addWidget(FloatBtn, 1, 0);
    modes->addWidget(Panel3, 1, 1, 4, 1, Qt::AlignTop);
    modes->addWidget(HexBtn, 2, 0);
    modes->addWidget(BinBtn, 3, 0);
    modes->addWidget(ExpBtn, 4, 0);
    modes->addWidget(UnformBtn, 5, 0, 1, 2);

    auto* frame = new QGridLayout(GroupBox3);
    frame->addWidget(Label4, 0, 0);
    frame->addWidget(PrefixEdit, 0, 1);
    frame->addWidget(Label5, 1, 0);
    frame->addWidget(SuffixEdit, 1, 1);

    auto* examples = new QVBoxLayout(GroupBox2);
    examples->addWidget(von);
    examples->addWidget(bis);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);

    auto* main = new QVBoxLayout(this);
    main->addWidget(GroupBox1);
    main->addWidget(cbPlus);
    main->addWidget(GroupBox3);
    main->addWidget(GroupBox2);
    main->addLayout(buttons);

    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);

    // Checking a mode button, by the user or by code, runs its handler.
    const auto onChecked = [this](QRadioButton* button, void (TFormatDlg::*handler)()) {
        connect(button, &QRadioButton::toggled, this, [this, handler](bool checked) {
            if (checked)
                (this->*handler)();
        });
    };
    onChecked(FixedBtn, &TFormatDlg::FixedBtnClick);
    onChecked(FloatBtn, &TFormatDlg::FloatBtnClick);
    onChecked(HexBtn, &TFormatDlg::HexBtnClick);
    onChecked(BinBtn, &TFormatDlg::BinBtnClick);
    onChecked(ExpBtn, &TFormatDlg::ExpBtnClick);
    onChecked(UnformBtn, &TFormatDlg::UnformBtnClick);
    connect(Zero, &QCheckBox::toggled, this, [this] { ZeroClick(); });
    connect(cbPlus, &QCheckBox::toggled, this, [this] { ZeroClick(); });
    const auto refresh = [this] { DoBereich(); };
    connect(VK, &QSpinBox::valueChanged, this, refresh);
    connect(NK, &QSpinBox::valueChanged, this, refresh);
    connect(fStellen, &QSpinBox::valueChanged, this, refresh);
    connect(PrefixEdit, &QLineEdit::textChanged, this, refresh);
    connect(SuffixEdit, &QLineEdit::textChanged, this, refresh);

    NK->setValue(2);
    VK->setValue(4);
    fStellen->setValue(4);
    TranslateCaptions();
    cbPlus->setFocus();
}

void TFormatDlg::LoadFromFormat(const TFormat& f)
{
    Options = f.Options;
    if (UsesFixedDigits(f.Options)) {
        VK->setValue(f.Digits);
        NK->setValue(f.Decimals);
    }
    if (UsesDigitCount(f.Options))
        fStellen->setValue(f.Digits);
    SuffixEdit->setText(f.Suffix);
    PrefixEdit->setText(f.Prefix);
    // Zero first: checking cbPlus runs the handler that takes NoZero from Zero, which would
    // otherwise drop a stored NoZero before the dialog is shown.
    Zero->setChecked(f.Options.Contains(TFormatOption::NoZero));
    cbPlus->setChecked(f.ShowPlus);
    FormShow();
}

void TFormatDlg::StoreToFormat(TFormat& f) const
{
    f.Options = Options;
    if (UsesFixedDigits(Options)) {
        f.Digits = VK->value();
        f.Decimals = NK->value();
    }
    if (UsesDigitCount(Options))
        f.Digits = fStellen->value();
    f.Suffix = SuffixEdit->text();
    f.Prefix = PrefixEdit->text();
    f.ShowPlus = cbPlus->isChecked();
}

void TFormatDlg::FormShow()
{
    // Read the set first: each checked button's handler narrows Options to its own mode.
    const TFormatOptions shown = Options;
    const struct {
        TFormatOption mode;
        QRadioButton* button;
    } buttons[] = {
        {TFormatOption::Fixed, FixedBtn},       {TFormatOption::Float, FloatBtn},
        {TFormatOption::Hexadecimal, HexBtn},   {TFormatOption::Binary, BinBtn},
        {TFormatOption::Expo, ExpBtn},          {TFormatOption::Unformatted, UnformBtn},
    };
    for (const auto& b : buttons) {
        if (shown.Contains(b.mode))
            b.button->setChecked(true);
    }
    Zero->setChecked(shown.Contains(TFormatOption::NoZero));
    DoBereich();
}

void TFormatDlg::SetMode(TFormatOption mode, bool fixedControls, bool digitsControl)
{
    const bool noZero = Options.Contains(TFormatOption::NoZero);
    Options = TFormatOptions{mode};
    if (noZero)
        Options.Include(TFormatOption::NoZero);
    Zero->setEnabled(fixedControls);
    VK->setEnabled(fixedControls);
    NK->setEnabled(fixedControls);
    fStellen->setEnabled(digitsControl);
    DoBereich();
}

void TFormatDlg::FixedBtnClick() { SetMode(TFormatOption::Fixed, true, false); }
void TFormatDlg::FloatBtnClick() { SetMode(TFormatOption::Float, false, true); }
void TFormatDlg::HexBtnClick() { SetMode(TFormatOption::Hexadecimal, false, true); }
void TFormatDlg::BinBtnClick() { SetMode(TFormatOption::Binary, false, true); }
void TFormatDlg::ExpBtnClick() { SetMode(TFormatOption::Expo, false, true); }
void TFormatDlg::UnformBtnClick() { SetMode(TFormatOption::Unformatted, false, false); }

void TFormatDlg::ZeroClick()
{
    if (Zero->isChecked())
        Options.Include(TFormatOption::NoZero);
    else
        Options.Exclude(TFormatOption::NoZero);
    DoBereich();
}

void TFormatDlg::DoBereich()
{
    // Runs from signals during construction, before every control exists.
    if (!bis || !SuffixEdit)
        return;
    const bool signedMode = FixedBtn->isChecked() || FloatBtn->isChecked() || ExpBtn->isChecked();
    QString p1 = PrefixEdit->text().left(kPrefixExampleLength);
    QString p2 = p1;
    if (cbPlus->isChecked() && signedMode) {
        p1 = (p1 + u'-').left(kPrefixExampleLength);
        p2 = (p2 + u'+').left(kPrefixExampleLength);
    }

    const int n = fStellen->value();
    const int v = VK->value();
    const int k = NK->value();
    const auto rep = [](int count, char c) { return QString(qMax(count, 0), QChar::fromLatin1(c)); };

    QString minText;
    QString maxText;
    if (Options.Contains(TFormatOption::Unformatted)) {
        const QString word = QStringLiteral("\"String\"");
        minText = (p1 + word).left(kUnformattedExampleLength);
        maxText = (p2 + word).left(kUnformattedExampleLength);
    } else if (Options.Contains(TFormatOption::Expo)) {
        minText = LastToOne(p1 + QStringLiteral("0,") + rep(n - 1, '0')) + QStringLiteral("E-99");
        maxText = p2 + QStringLiteral("9,") + rep(n - 1, '9') + QStringLiteral("E+99");
    } else if (Options.Contains(TFormatOption::Float)) {
        minText = LastToOne(p1 + QStringLiteral("0,") + rep(n - 1, '0'));
        maxText = p2 + rep(n, '9');
    } else if (Options.Contains(TFormatOption::Fixed)) {
        minText = p1 + (Options.Contains(TFormatOption::NoZero) ? QStringLiteral("0") : rep(v, '0'));
        if (k > 0)
            minText = LastToOne(minText + u',' + rep(k, '0'));
        maxText = p2 + rep(v, '9');
        if (k > 0)
            maxText += u',' + rep(k, '9');
    } else if (Options.Contains(TFormatOption::Hexadecimal)) {
        minText = p1 + rep(n, '0');
        maxText = p2 + rep(n, 'F');
    } else if (Options.Contains(TFormatOption::Binary)) {
        minText = p1 + rep(n, '0');
        maxText = p2 + rep(n, '1');
    }
    von->setText(minText + SuffixEdit->text());
    bis->setText(maxText + SuffixEdit->text());
    cbPlus->setEnabled(signedMode);
}

void TFormatDlg::TranslateCaptions()
{
    const uint8_t language = Ctx().CurrentLanguage;
    if (language != 1 && language != 2)
        return;
    const bool en = language == 1;
    Button2->setText(en ? QStringLiteral("&Cancel") : QStringLiteral("&Annuler"));
    FixedBtn->setText(en ? QStringLiteral("&Fixed:") : QStringLiteral("&Fixe:"));
    FloatBtn->setText(en ? QStringLiteral("F&loat:") : QStringLiteral("F&lottante:"));
    UnformBtn->setText(QStringLiteral("&Unformated/$String"));
    Zero->setText(en ? QStringLiteral("Suppress leading zero")
                     : QString::fromUtf8("Suppression zéro d´entête"));
    Label1->setText(QStringLiteral("Digits"));
    Label2->setText(QStringLiteral("Digits"));
    Label3->setText(QStringLiteral("Digits"));
    cbPlus->setText(en ? QString::fromUtf8("Add ´+´ to positive values")
                       : QString::fromUtf8("Ajouter ´+´ aux valeurs positives"));
    GroupBox3->setTitle(en ? QStringLiteral("Data frame") : QStringLiteral("Trame"));
    if (!en) {
        Label4->setText(QString::fromUtf8("Préfixe"));
        Label5->setText(QStringLiteral("Suffixe"));
    }
    GroupBox2->setTitle(en ? QStringLiteral("Format examples") : QStringLiteral("Exemples de format"));
}

bool TFormatDlg::event(QEvent* e)
{
    // The title bar's help button (and F1) open the dialog's help page.
    if (IsHelpRequest(e)) {
        ShowHelp(HelpContextId);
        return true;
    }
    return QDialog::event(e);
}

bool EditFormat(TFormat& f, const QString& caption)
{
    TFormatDlg dialog;
    dialog.setWindowTitle(caption);
    dialog.LoadFromFormat(f);
    if (ShowModal(dialog) != mrOk)
        return false;
    dialog.StoreToFormat(f);
    return true;
}
