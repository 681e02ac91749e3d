#include "frontpanel/elements/SwitchTimeDlg.h"

#include "core/model/Translator.h"
#include "frontpanel/elements/SchalterDlg.h"
#include "platform/Clock.h"
#include "platform/Colors.h"
#include "platform/Context.h"
#include "platform/Help.h"
#include "platform/MessageBox.h"
#include "ui/Formats.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

QSpinBox* TimeSpin(int max, QWidget* parent)
{
    auto* spin = new QSpinBox(parent);
    spin->setRange(0, max);
    spin->setMinimumWidth(52);
    return spin;
}

QString ColorStyle(int32_t color)
{
    return TColorToQColor(ColorToRGB(color)).name();
}

} // namespace

TWochenUhr_Dlg::TWochenUhr_Dlg(bool withWeekday, QWidget* parent)
    : QDialog(parent), m_withWeekday(withWeekday)
{
    setWindowTitle(Lang3Q("Wochenschaltuhr", "Week timer", "Timer semaine"));
    auto* top = new QHBoxLayout(this);

    // Left: the entry being made and the programme.
    auto* times = new QGroupBox(Lang3Q("Schaltzeiten", "Alarm time", "Heure d´alarme"), this);
    auto* timesLayout = new QGridLayout(times);
    timesLayout->addWidget(new QLabel(QStringLiteral("H   :   M   :   S"), times), 0, 0, 1, 3);
    STD = TimeSpin(23, times);
    MIN = TimeSpin(59, times);
    SEK = TimeSpin(59, times);
    timesLayout->addWidget(STD, 1, 0);
    timesLayout->addWidget(MIN, 1, 1);
    timesLayout->addWidget(SEK, 1, 2);
    TagCombo = new QComboBox(times);
    for (const char* day : {"Sonntag", "Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag"})
        TagCombo->addItem(Translate(QString::fromUtf8(day)));
    TagCombo->setVisible(withWeekday);
    timesLayout->addWidget(TagCombo, 2, 0, 1, 3);
    RB_Ein = new QRadioButton(Lang3Q("E&IN", "O&N", "O&N"), times);
    RB_Aus = new QRadioButton(Lang3Q("A&US", "O&FF", "O&FF"), times);
    RB_Ein->setChecked(true);
    auto* onOff = new QHBoxLayout;
    onOff->addWidget(RB_Ein);
    onOff->addWidget(RB_Aus);
    timesLayout->addLayout(onOff, 3, 0, 1, 3);
    NeuBtn = new QPushButton(Lang3Q("&Neu >>>", "&Add >>>", "&Ajouter >>>"), times);
    DeleteBtn = new QPushButton(Lang3Q("&Löschen", "&Delete", "&Effacer"), times);
    DeleteAllBtn = new QPushButton(Lang3Q("&Alle löschen", "&Delete all", "&Effacer tout"), times);
    timesLayout->addWidget(NeuBtn, 4, 0, 1, 3);
    timesLayout->addWidget(DeleteBtn, 5, 0, 1, 3);
    timesLayout->addWidget(DeleteAllBtn, 6, 0, 1, 3);
    timesLayout->setRowStretch(7, 1);
    auto* listColumn = new QVBoxLayout;
    listColumn->addWidget(new QLabel(Lang3Q("Schaltfolge", "Sequence", "Séquence"), times));
    ZeitenListbox = new QListWidget(times);
    QFont mono(QStringLiteral("Courier New"));
    mono.setStyleHint(QFont::Monospace);
    ZeitenListbox->setFont(mono);
    ZeitenListbox->setMinimumWidth(withWeekday ? 240 : 200);
    listColumn->addWidget(ZeitenListbox);
    timesLayout->addLayout(listColumn, 0, 3, 8, 1);
    top->addWidget(times, 1);

    // Right: preview, colours, hint, run-time editing, the buttons.
    auto* right = new QVBoxLayout;
    auto* preview = new QGroupBox(Lang3Q("Vorschau", "Preview", "Pré-visualisation"), this);
    auto* previewLayout = new QVBoxLayout(preview);
    S_Vorschau = new QFrame(preview);
    S_Vorschau->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    S_Vorschau->setAutoFillBackground(true);
    auto* shapeLayout = new QVBoxLayout(S_Vorschau);
    L_Vorschau = new QLabel(S_Vorschau);
    L_Vorschau2 = new QLabel(S_Vorschau);
    QFont bold(QStringLiteral("Arial"));
    bold.setBold(true);
    L_Vorschau->setFont(bold);
    L_Vorschau2->setFont(bold);
    shapeLayout->addWidget(L_Vorschau);
    shapeLayout->addWidget(L_Vorschau2);
    previewLayout->addWidget(S_Vorschau);
    right->addWidget(preview);

    auto* colours = new QGroupBox(Lang3Q("Farben", "Colour", "Couleur"), this);
    auto* colourLayout = new QGridLayout(colours);
    S_Zeichen = new TColorShape(colours);
    S_BK = new TColorShape(colours);
    colourLayout->addWidget(new QLabel(Lang3Q("Zeichenfarbe:", "Text colour:", "Couleur du texte:"), colours), 0, 0);
    colourLayout->addWidget(S_Zeichen, 0, 1);
    colourLayout->addWidget(new QLabel(Lang3Q("Hintergrund:", "Background:", "Fond:"), colours), 1, 0);
    colourLayout->addWidget(S_BK, 1, 1);
    S_Zeichen->OnChanged = [this](int32_t) { RefreshPreview(); };
    S_BK->OnChanged = [this](int32_t) { RefreshPreview(); };
    right->addWidget(colours);

    auto* hint = new QGroupBox(Lang3Q("Hinweistext", "Hint", "Commentaire"), this);
    auto* hintLayout = new QVBoxLayout(hint);
    HintEdit = new QLineEdit(hint);
    hintLayout->addWidget(HintEdit);
    right->addWidget(hint);
    cb_Editierbar = new QCheckBox(Lang3Q("Eigenschaften zur Laufzeit einstellbar",
                                         "&Editable at run-time", "&Modifiable en mode-RUN"),
                                  this);
    right->addWidget(cb_Editierbar);
    right->addStretch(1);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(Lang3Q("&Abbrechen", "&Cancel", "&Annuler"), QDialogButtonBox::RejectRole);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    right->addWidget(buttons);
    top->addLayout(right);

    connect(NeuBtn, &QPushButton::clicked, this, [this] { NeuBtnClick(); });
    connect(DeleteBtn, &QPushButton::clicked, this, [this] { DeleteBtnClick(); });
    connect(DeleteAllBtn, &QPushButton::clicked, this, [this] { DeleteAllBtnClick(); });
    connect(ZeitenListbox, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { ZeitenListboxClick(ZeitenListbox->row(item)); });
    for (QSpinBox* spin : {STD, MIN, SEK})
        connect(spin, &QSpinBox::valueChanged, this, [this] { ControlsChanged(); });
    connect(RB_Ein, &QRadioButton::toggled, this, [this] { ControlsChanged(); });
    connect(TagCombo, &QComboBox::currentIndexChanged, this, [this] { ControlsChanged(); });
    ShowList();
}

TWochenUhr_Dlg::~TWochenUhr_Dlg() = default;

void TWochenUhr_Dlg::SetColors(int32_t text, int32_t background)
{
    S_Zeichen->SetColor(text);
    S_BK->SetColor(background);
    RefreshPreview();
}

int32_t TWochenUhr_Dlg::TextColor() const
{
    return S_Zeichen->Color();
}

int32_t TWochenUhr_Dlg::BackgroundColor() const
{
    return S_BK->Color();
}

void TWochenUhr_Dlg::RefreshPreview()
{
    S_Vorschau->setStyleSheet(QStringLiteral("QFrame { background: %1; }").arg(ColorStyle(S_BK->Color())));
    const QString text = QStringLiteral("QLabel { color: %1; background: transparent; }")
                             .arg(ColorStyle(S_Zeichen->Color()));
    L_Vorschau->setStyleSheet(text);
    L_Vorschau2->setStyleSheet(text);
}

void TWochenUhr_Dlg::showEvent(QShowEvent* event)
{
    const QDateTime now = Clock().LocalTime();
    L_Vorschau->setText(QLocale::system().toString(now.date(), QLocale::ShortFormat));
    L_Vorschau2->setText(LongTimeText(now.time()));
    m_ignoreChanges = true;
    TagCombo->setCurrentIndex(0);
    m_ignoreChanges = false;
    ShowList();
    QDialog::showEvent(event);
}

bool TWochenUhr_Dlg::event(QEvent* event)
{
    if (HelpContext != 0 && !Ctx().RuntimeMode && IsHelpRequest(event)) {
        ShowHelp(HelpContext);
        return true;
    }
    return QDialog::event(event);
}

int TWochenUhr_Dlg::SelectedIndex() const
{
    for (size_t i = 0; i < Zeiten.size(); ++i)
        if (Zeiten[i]->Selected)
            return int(i);
    return -1;
}

void TWochenUhr_Dlg::ShowList()
{
    const bool wasIgnoring = m_ignoreChanges;
    m_ignoreChanges = true;
    ZeitenListbox->clear();
    for (const auto& e : Zeiten)
        ZeitenListbox->addItem(e->LineText(m_withWeekday));
    const int selected = SelectedIndex();
    ZeitenListbox->setCurrentRow(selected);
    DeleteBtn->setEnabled(selected >= 0);
    DeleteAllBtn->setEnabled(!Zeiten.empty());
    m_ignoreChanges = wasIgnoring;
}

void TWochenUhr_Dlg::NeuBtnClick()
{
    auto entry = std::make_unique<TSchaltZeit>();
    entry->Hour = uint16_t(STD->value());
    entry->Minute = uint16_t(MIN->value());
    entry->Second = uint16_t(SEK->value());
    entry->Day = uint16_t(m_withWeekday ? TagCombo->currentIndex() + 1 : 0);
    entry->SwitchOn = RB_Ein->isChecked();
    for (auto& e : Zeiten)
        e->Selected = false;
    entry->Selected = true;
    Zeiten.push_back(std::move(entry));
    SortSwitchTimes(Zeiten);
    ShowList();
}

void TWochenUhr_Dlg::DeleteBtnClick()
{
    DeleteSwitchTime(Zeiten, SelectedIndex());
    SortSwitchTimes(Zeiten);
    ShowList();
}

void TWochenUhr_Dlg::DeleteAllBtnClick()
{
    if (MessageDlg(Lang3Q("Liste mit Schaltzeiten komplett löschen?", "Delete all times from list?",
                          "Effacer toutes les heures de la liste ?"),
                   mtConfirmation, mbYesNo) != mrYes)
        return;
    Zeiten.clear();
    ShowList();
}

void TWochenUhr_Dlg::ZeitenListboxClick(int row)
{
    if (row < 0 || size_t(row) >= Zeiten.size())
        return;
    m_ignoreChanges = true;
    for (size_t i = 0; i < Zeiten.size(); ++i)
        Zeiten[i]->Selected = int(i) == row;
    const TSchaltZeit& e = *Zeiten[size_t(row)];
    if (e.Day >= 1 && e.Day <= 7)
        TagCombo->setCurrentIndex(e.Day - 1);
    STD->setValue(e.Hour);
    MIN->setValue(e.Minute);
    SEK->setValue(e.Second);
    (e.SwitchOn ? RB_Ein : RB_Aus)->setChecked(true);
    DeleteBtn->setEnabled(true);
    m_ignoreChanges = false;
}

void TWochenUhr_Dlg::ControlsChanged()
{
    const int selected = SelectedIndex();
    if (m_ignoreChanges || selected < 0)
        return;
    TSchaltZeit& e = *Zeiten[size_t(selected)];
    e.Hour = uint16_t(STD->value());
    e.Minute = uint16_t(MIN->value());
    e.Second = uint16_t(SEK->value());
    if (m_withWeekday)
        e.Day = uint16_t(TagCombo->currentIndex() + 1);
    e.SwitchOn = RB_Ein->isChecked();
    SortSwitchTimes(Zeiten);
    ShowList();
}
