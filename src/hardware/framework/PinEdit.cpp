#include "hardware/framework/PinEdit.h"

#include "core/model/Translator.h"
#include "hardware/framework/IoPort.h"
#include "platform/Context.h"
#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// The grid commits an open cell editor before its cells are read.
class TPinGrid : public QTableWidget {
public:
    using QTableWidget::QTableWidget;
    void CommitEdit()
    {
        QWidget* focus = QApplication::focusWidget();
        if (focus && isAncestorOf(focus) && focus != viewport())
            commitData(focus);
    }
};

QString FixedText(Extended x)
{
    return QString::number(double(x), 'f', 3);
}

QString ShortestText(Extended x)
{
    return QString::number(double(x), 'g', QLocale::FloatingPointShortest);
}

bool ParseNumber(QString text, double& value)
{
    text = text.trimmed().replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    value = text.toDouble(&ok);
    return ok;
}

TPinPortDlg* g_pinDlg = nullptr;

} // namespace

// --- Editor --------------------------------------------------------------------------------------

TPinEdit::TPinEdit(QWidget* parent) : QFrame(parent)
{
    setFrameShape(QFrame::NoFrame);
    resize(210, 274);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);

    PortListBox = new QListWidget(this);
    PortListBox->setFixedHeight(65);
    layout->addWidget(PortListBox);

    PinGrid = new TPinGrid(0, 2, this);
    PinGrid->verticalHeader()->hide();
    PinGrid->verticalHeader()->setDefaultSectionSize(18);
    PinGrid->setColumnWidth(0, 74); // room for the header "Connection"
    PinGrid->horizontalHeader()->setStretchLastSection(true);
    PinGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    PinGrid->setEditTriggers(QAbstractItemView::AllEditTriggers);
    layout->addWidget(PinGrid, 1);

    PinBox = new QGroupBox(this);
    PinBox->setFixedHeight(72);
    auto* boxLayout = new QVBoxLayout(PinBox);
    boxLayout->setContentsMargins(6, 4, 6, 2);
    boxLayout->setSpacing(2);
    ConfigButton = new QPushButton(PinBox);
    ConfigButton->setFixedSize(130, 25);
    boxLayout->addWidget(ConfigButton, 0, Qt::AlignHCenter);
    RangeLabel = new QLabel(PinBox);
    RangeLabel->setAlignment(Qt::AlignCenter);
    RangeLabel->setStyleSheet(QStringLiteral("color: #808080;"));
    boxLayout->addWidget(RangeLabel);
    layout->addWidget(PinBox);

    connect(PortListBox, &QListWidget::currentRowChanged, this, [this](int) { PortClick(); });
    connect(PinGrid, &QTableWidget::currentCellChanged, this,
            [this](int, int, int, int) { PinClick(); });
    connect(ConfigButton, &QPushButton::clicked, this, [this] { ConfigureClick(); });
    TranslateCaptions();
}

void TPinEdit::TranslateCaptions()
{
    PinGrid->setHorizontalHeaderLabels(
        {Lang3Q("Anschluss", "Connection", "Connexion"),
         Lang3Q("Beschreibung", "Comment", "Commentaire")});
    ConfigButton->setText(Lang3Q("&Konfigurieren...", "&Configuration...", "&Configuration..."));
}

TIOPort* TPinEdit::Port(int index) const
{
    if (!m_ports || index < 0 || size_t(index) >= m_ports->size())
        return nullptr;
    return (*m_ports)[size_t(index)].get();
}

TPin* TPinEdit::SelectedPin() const
{
    TIOPort* port = Port(CurrentPort);
    if (!port || m_selectedPin < 0 || size_t(m_selectedPin) >= port->Pins.size())
        return nullptr;
    return port->Pins[size_t(m_selectedPin)].get();
}

void TPinEdit::SetPortliste(TPortList* list)
{
    m_ports = list;
    CurrentPin = -1;
    const QSignalBlocker block(PortListBox);
    PortListBox->clear();
    if (list)
        for (const auto& port : *list)
            PortListBox->addItem(QString(port->Name).replace(QLatin1Char('\r'), QLatin1Char(' ')));
    PortListBox->setCurrentRow(0);
    CurrentPort = 0;
    ShowPort(0);
}

void TPinEdit::ShowPort(int index)
{
    TIOPort* port = Port(index);
    const int count = port ? int(port->Pins.size()) : 0;
    const QSignalBlocker block(PinGrid);
    PinGrid->setEnabled(count > 0);
    PinGrid->setRowCount(count);
    for (int i = 0; i < count; ++i) {
        const TPin& pin = *port->Pins[size_t(i)];
        auto* name = new QTableWidgetItem(pin.PinName);
        name->setFlags(name->flags() & ~Qt::ItemIsEditable);
        PinGrid->setItem(i, 0, name);
        PinGrid->setItem(i, 1, new QTableWidgetItem(pin.Description));
    }
    if (count == 0) {
        CurrentPort = index;
        ShowPin(-1);
        CurrentPin = -1;
        return;
    }
    CurrentPin = -1;
    CurrentPort = index;
    PinGrid->setCurrentCell(0, 1);
    ShowPin(0);
    CurrentPin = 0;
}

void TPinEdit::ShowPin(int index)
{
    m_selectedPin = index;
    const TPin* pin = SelectedPin();
    if (pin) {
        PinBox->show();
        PinBox->setTitle(pin->Description + QStringLiteral(" [") + pin->PinName
                         + QStringLiteral("]"));
        ConfigButton->setEnabled(pin->Configurable);
        if (pin->Configurable)
            RangeLabel->setText(FixedText(pin->Min) + QStringLiteral(" ... ") + FixedText(pin->Max)
                                + QLatin1Char(' ')
                                + (pin->IsOutput ? Lang3Q("(Ausgang)", "(output)", "(Sortie)")
                                                 : Lang3Q("(Eingang)", "(input)", "(Entrée)")));
        else
            RangeLabel->clear();
    } else {
        m_selectedPin = -1;
        PinBox->hide();
        PinBox->setTitle(QString());
        ConfigButton->setEnabled(false);
    }
    if (OnPinSelect)
        OnPinSelect(this);
}

void TPinEdit::StoreDescriptions(int index)
{
    TIOPort* port = Port(index);
    if (!port)
        return;
    static_cast<TPinGrid*>(PinGrid)->CommitEdit();
    for (size_t i = 0; i < port->Pins.size() && int(i) < PinGrid->rowCount(); ++i)
        if (const QTableWidgetItem* cell = PinGrid->item(int(i), 1))
            port->Pins[i]->Description = cell->text();
}

void TPinEdit::PinClick()
{
    if (CurrentPin >= 0)
        StoreDescriptions(CurrentPort);
    const int row = PinGrid->currentRow();
    ShowPin(row);
    CurrentPin = row;
}

void TPinEdit::PortClick()
{
    StoreDescriptions(CurrentPort);
    const int row = std::max(PortListBox->currentRow(), 0);
    ShowPort(row);
    CurrentPort = row;
}

void TPinEdit::Refresh()
{
    const int port = CurrentPort;
    const int pin = CurrentPin;
    SetPortliste(m_ports);
    if (Port(port) && port > 0) {
        const QSignalBlocker block(PortListBox);
        PortListBox->setCurrentRow(port);
        ShowPort(port);
    }
    TIOPort* shown = Port(CurrentPort);
    if (shown && pin > 0 && size_t(pin) < shown->Pins.size()) {
        const QSignalBlocker block(PinGrid);
        PinGrid->setCurrentCell(pin, 1);
        ShowPin(pin);
        CurrentPin = pin;
    }
}

void TPinEdit::ConfigureClick()
{
    if (OnConfigure) {
        OnConfigure(this);
        if (OnPinSelect)
            OnPinSelect(this);
        return;
    }
    TPin* pin = SelectedPin();
    if (!pin)
        return;
    // A dialog of its own: the shared settings dialog may be the one that opened this editor.
    TDefault_Dlg dialog;
    dialog.HelpContext = 0;
    dialog.setWindowTitle(pin->Description);
    dialog.PinBtn->hide();
    if (pin->Option3 == 1) {
        int32_t direction = pin->IsOutput ? 1 : 0;
        dialog.PropScrollbox->AddComboProp(Translate(QStringLiteral("Richtung")), direction,
                                           {Translate(QStringLiteral("Eingang")),
                                            Translate(QStringLiteral("Ausgang"))},
                                           200);
        if (dialog.Execute() == mrOk) {
            // The row wrote back on OK; the pin is looked up again (the dialog may have run
            // events that rebuilt the ports).
            if (TPin* again = SelectedPin())
                again->IsOutput = direction == 1 ? 1 : 0;
            ShowPin(m_selectedPin);
        }
        return;
    }
    QString minText = ShortestText(pin->Min);
    QString maxText = ShortestText(pin->Max);
    dialog.PropScrollbox->AddRangeProp(Translate(QStringLiteral("Bereich"))
                                           + QStringLiteral(" [min/max]"),
                                       minText, maxText);
    if (dialog.Execute() == mrOk) {
        if (TPin* again = SelectedPin()) {
            double min = 0.0;
            double max = 0.0;
            if (ParseNumber(minText, min) && ParseNumber(maxText, max)) {
                again->Min = min;
                again->Max = max;
            } else {
                again->Min = 0.0L;
                again->Max = 5.0L;
            }
        }
        ShowPin(m_selectedPin);
    }
}

// --- Dialog --------------------------------------------------------------------------------------

TPinPortDlg::TPinPortDlg(QWidget* parent) : QDialog(parent)
{
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    PinEdit = new TPinEdit(this);
    layout->addWidget(PinEdit, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    CancelBtn = new QPushButton(this);
    OKBtn = new QPushButton(this);
    OKBtn->setDefault(true);
    buttons->addWidget(CancelBtn);
    buttons->addWidget(OKBtn);
    layout->addLayout(buttons);
    connect(OKBtn, &QPushButton::clicked, this, [this] { SetModalResult(*this, mrOk); accept(); });
    connect(CancelBtn, &QPushButton::clicked, this,
            [this] { SetModalResult(*this, mrCancel); reject(); });
    resize(260, 394);   // wide enough for the longest LPT pin name in every language
    TranslateCaptions();
}

void TPinPortDlg::TranslateCaptions()
{
    setWindowTitle(QStringLiteral("Pins & Ports"));
    CancelBtn->setText(Lang3Q("&Abbrechen", "&Cancel", "&Annuler"));
    OKBtn->setText(QStringLiteral("&OK"));
    PinEdit->TranslateCaptions();
}

void TPinPortDlg::FormShow()
{
    const QSignalBlocker block(PinEdit->PortListBox);
    PinEdit->PortListBox->setCurrentRow(0);
    PinEdit->PortClick();
}

void TPinPortDlg::FormClose()
{
    PinEdit->PinClick();
}

int TPinPortDlg::Execute(const QString& caption)
{
    TranslateCaptions();
    setWindowTitle(caption);
    FormShow();
    const int result = ShowModal(*this);
    FormClose();
    return result;
}

TPinPortDlg& PinPortDlg()
{
    if (!g_pinDlg) {
        g_pinDlg = new TPinPortDlg;
        qAddPostRoutine([] {
            delete g_pinDlg;
            g_pinDlg = nullptr;
        });
    }
    return *g_pinDlg;
}

void ClearPinEditorHooks()
{
    if (g_pinDlg) {
        g_pinDlg->PinEdit->OnConfigure = nullptr;
        g_pinDlg->PinEdit->OnPinSelect = nullptr;
    }
}
