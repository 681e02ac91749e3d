#include "comm/opc/OpcClientDlg.h"

#include "comm/opc/OpcServerList.h"
#include "core/model/Translator.h"
#include "platform/Context.h"
#include "platform/Help.h"
#include "platform/OpcClient.h"
#include "ui/Formats.h"
#include "widgets/BrowseDlg.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QShowEvent>
#include <QSpinBox>
#include <QVBoxLayout>

TOPCclientDlg::TOPCclientDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("OPCCLIENTDLG"));
    setWindowTitle(QStringLiteral("OPC Data Access 2.0 Client"));
    resize(640, 480);

    m_hostGroup = new QGroupBox(this);
    edHost = new QLineEdit(m_hostGroup);
    BrowseBtn = new QPushButton(m_hostGroup);
    auto* hostRow = new QHBoxLayout(m_hostGroup);
    hostRow->addWidget(edHost, 1);
    hostRow->addWidget(BrowseBtn);

    m_serverGroup = new QGroupBox(this);
    cbServers = new QComboBox(m_serverGroup);
    cbServers->setEditable(true);
    auto* serverRow = new QHBoxLayout(m_serverGroup);
    serverRow->addWidget(cbServers, 1);

    m_rateGroup = new QGroupBox(this);
    seUpdateRate = new QSpinBox(m_rateGroup);
    seUpdateRate->setRange(10, 100000);
    seUpdateRate->setSingleStep(50);
    seUpdateRate->setValue(500);
    auto* rateRow = new QHBoxLayout(m_rateGroup);
    rateRow->addWidget(seUpdateRate);
    rateRow->addWidget(new QLabel(QStringLiteral("ms"), m_rateGroup));
    rateRow->addStretch(1);

    m_itemsGroup = new QGroupBox(this);
    lbItems = new QListWidget(m_itemsGroup);
    AddBtn = new QPushButton(m_itemsGroup);
    lbError = new QLabel(m_itemsGroup);
    lbError->setWordWrap(true);
    lbError->hide();
    auto* itemsColumn = new QVBoxLayout(m_itemsGroup);
    itemsColumn->addWidget(lbItems, 1);
    itemsColumn->addWidget(lbError);
    itemsColumn->addWidget(AddBtn);

    m_usedGroup = new QGroupBox(this);
    lbUsedItems = new QListWidget(m_usedGroup);
    DelBtn = new QPushButton(m_usedGroup);
    ClearBtn = new QPushButton(m_usedGroup);
    UpBtn = new QPushButton(m_usedGroup);
    DownBtn = new QPushButton(m_usedGroup);
    auto* usedButtons = new QGridLayout;
    usedButtons->addWidget(DelBtn, 0, 0);
    usedButtons->addWidget(ClearBtn, 0, 1);
    usedButtons->addWidget(UpBtn, 1, 0);
    usedButtons->addWidget(DownBtn, 1, 1);
    auto* usedColumn = new QVBoxLayout(m_usedGroup);
    usedColumn->addWidget(lbUsedItems, 1);
    usedColumn->addLayout(usedButtons);

    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);

    auto* top = new QGridLayout;
    top->addWidget(m_hostGroup, 0, 0, 1, 2);
    top->addWidget(m_serverGroup, 1, 0);
    top->addWidget(m_rateGroup, 1, 1);
    top->addWidget(m_itemsGroup, 2, 0);
    top->addWidget(m_usedGroup, 2, 1);
    top->setRowStretch(2, 1);
    top->setColumnStretch(0, 3);
    top->setColumnStretch(1, 2);
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(top, 1);
    outer->addLayout(buttons);

    connect(BrowseBtn, &QPushButton::clicked, this, [this] { BrowseBtnClick(); });
    connect(cbServers, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_filling)
            ServerChanged(true);
    });
    connect(lbItems, &QListWidget::currentRowChanged, this, [this] { UpdateButtons(); });
    connect(lbItems, &QListWidget::itemDoubleClicked, this, [this] { AddBtnClick(); });
    connect(lbUsedItems, &QListWidget::currentRowChanged, this, [this] { UpdateButtons(); });
    connect(AddBtn, &QPushButton::clicked, this, [this] { AddBtnClick(); });
    connect(DelBtn, &QPushButton::clicked, this, [this] { DelBtnClick(); });
    connect(ClearBtn, &QPushButton::clicked, this, [this] { ClearBtnClick(); });
    connect(UpBtn, &QPushButton::clicked, this, [this] { UpBtnClick(); });
    connect(DownBtn, &QPushButton::clicked, this, [this] { DownBtnClick(); });
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    TranslateCaptions();
    UpdateButtons();
}

TOPCclientDlg::~TOPCclientDlg() = default;

void TOPCclientDlg::TranslateCaptions()
{
    struct TCaption {
        QWidget* control;
        const char* english;
        const char* german;
        QString french;
    };
    const QString add = QStringLiteral("&") + Translate(QStringLiteral("Hinzufügen"));
    const QString remove = QStringLiteral("&") + Translate(QStringLiteral("Löschen"));
    const TCaption captions[] = {
        {m_hostGroup, "Connect to host (Name or IP, empty for local host)",
         "Verbinden mit Host (Name oder IP, leer für lokalen PC)",
         QStringLiteral("Connexion hôte (Nom ou IP, vide pour hôte local)")},
        {m_serverGroup, "Connect to OPC DA2 server (installed on host)",
         "Verbinden OPC DA2 Server-Anwendung",
         QStringLiteral("Connexion serveur OPC DA2 (installé sur hôte)")},
        {m_rateGroup, "Update rate", "Aktualisierungsrate", QStringLiteral("Freq. MAJ")},
        {m_itemsGroup, "Items available at OPC server", "Verfügbare Werte vom Server",
         QStringLiteral("Dispositifs disponibles sur serveur OPC")},
        {m_usedGroup, "Items selected for Tavrinol", "Ausgewählte Werte für Tavrinol",
         QStringLiteral("Dispositifs sélectionnés pour Tavrinol")},
        {AddBtn, "&Add", "&Hinzufügen", add},
        {DelBtn, "&Delete", "&Entfernen", remove},
        {ClearBtn, "&Clear", "Liste &löschen", remove + QStringLiteral(" liste")},
        {BrowseBtn, "&Browse", "&Computer suchen...", QStringLiteral("&Chercher ordinateur...")},
        {UpBtn, "&Up", "A&uf", QStringLiteral("&Haut")},
        {DownBtn, "D&own", "&Ab", QStringLiteral("&Bas")},
        {CancelBtn, "&Cancel", "Abb&rechen", QStringLiteral("&Annuler")},
    };
    const uint8_t language = Ctx().CurrentLanguage;
    for (const TCaption& c : captions) {
        const QString text = language == 0   ? QString::fromUtf8(c.german)
                             : language == 2 ? c.french
                                             : QString::fromUtf8(c.english);
        if (auto* group = qobject_cast<QGroupBox*>(c.control))
            group->setTitle(text);
        else if (auto* button = qobject_cast<QPushButton*>(c.control))
            button->setText(text);
    }
}

QString TOPCclientDlg::Host() const
{
    return edHost->text();
}

void TOPCclientDlg::SetHost(const QString& host)
{
    edHost->setText(host);
}

QString TOPCclientDlg::Server() const
{
    return cbServers->currentText();
}

void TOPCclientDlg::SetServer(const QString& progId)
{
    m_filling = true;
    cbServers->setCurrentText(progId);
    m_filling = false;
}

int TOPCclientDlg::UpdateRate() const
{
    return seUpdateRate->value();
}

void TOPCclientDlg::SetUpdateRate(int ms)
{
    seUpdateRate->setValue(ms);
}

QStringList TOPCclientDlg::SelectedItems() const
{
    QStringList ids;
    for (int i = 0; i < lbUsedItems->count(); ++i)
        ids << lbUsedItems->item(i)->text();
    return ids;
}

void TOPCclientDlg::SetSelectedItems(const QStringList& ids)
{
    lbUsedItems->clear();
    lbUsedItems->addItems(ids);
    UpdateButtons();
}

QStringList TOPCclientDlg::AvailableItems() const
{
    QStringList ids;
    for (int i = 0; i < lbItems->count(); ++i)
        ids << lbItems->item(i)->text();
    return ids;
}

void TOPCclientDlg::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!e->spontaneous())
        FormShow();
}

void TOPCclientDlg::FormShow()
{
    ListServers();
    // Opening the dialog keeps the selected items.
    ServerChanged(false);
}

void TOPCclientDlg::BrowseBtnClick()
{
    TWLXBrowseDlg browse(this);
    browse.Options = doBrowseForComputer;
    browse.StartFolder = TWLXSystemFolders::bfoNetwork;
    browse.SetSelectedFolder(edHost->text());
    if (!browse.Execute())
        return;
    edHost->setText(browse.DisplayName());
    m_filling = true;
    cbServers->clear();
    m_filling = false;
    ListServers();
}

void TOPCclientDlg::ListServers()
{
    const QString text = cbServers->currentText();
    m_servers = std::make_unique<TOPCServerList>(edHost->text().trimmed(), true);
    m_servers->Update();
    m_filling = true;
    cbServers->clear();
    cbServers->addItems(m_servers->Items());
    const int found = cbServers->findText(text, Qt::MatchFixedString);
    if (found >= 0)
        cbServers->setCurrentIndex(found);
    else
        cbServers->setCurrentText(text);
    m_filling = false;
}

void TOPCclientDlg::ServerChanged(bool fromBox)
{
    UpdateButtons();
    if (cbServers->currentText().trimmed().isEmpty())
        return;
    if (fromBox)
        lbUsedItems->clear();
    ListItems();
}

void TOPCclientDlg::ListItems()
{
    lbItems->clear();
    m_server.reset();
    m_browseError.clear();
    m_server = ConnectOpcServer(edHost->text().trimmed(), cbServers->currentText().trimmed(),
                                &m_browseError);
    if (m_server)
        lbItems->addItems(m_server->BrowseItemIds());
    // Why the list stays empty shows where the items would be.
    lbError->setText(m_browseError);
    lbError->setVisible(!m_browseError.isEmpty());
    UpdateButtons();
}

void TOPCclientDlg::AddBtnClick()
{
    if (QListWidgetItem* item = lbItems->currentItem())
        lbUsedItems->addItem(item->text());
    UpdateButtons();
}

void TOPCclientDlg::DelBtnClick()
{
    delete lbUsedItems->takeItem(lbUsedItems->currentRow());
    UpdateButtons();
}

void TOPCclientDlg::ClearBtnClick()
{
    lbUsedItems->clear();
    UpdateButtons();
}

void TOPCclientDlg::Exchange(int offset)
{
    const int row = lbUsedItems->currentRow();
    const int other = row + offset;
    if (row < 0 || other < 0 || other >= lbUsedItems->count())
        return;
    QListWidgetItem* item = lbUsedItems->takeItem(row);
    lbUsedItems->insertItem(other, item);
    lbUsedItems->setCurrentRow(other);
}

void TOPCclientDlg::UpBtnClick()
{
    Exchange(-1);
    UpdateButtons();
}

void TOPCclientDlg::DownBtnClick()
{
    Exchange(1);
    UpdateButtons();
}

void TOPCclientDlg::UpdateButtons()
{
    const int row = lbUsedItems->currentRow();
    AddBtn->setEnabled(lbItems->currentRow() >= 0);
    DelBtn->setEnabled(row >= 0);
    ClearBtn->setEnabled(lbUsedItems->count() > 0);
    UpBtn->setEnabled(row > 0);
    DownBtn->setEnabled(row >= 0 && row < lbUsedItems->count() - 1);
}

bool TOPCclientDlg::event(QEvent* e)
{
    if (IsHelpRequest(e)) {
        ShowHelp(kHelpContext);
        return true;
    }
    return QDialog::event(e);
}

TOPCclientDlg& OPCclientDlg()
{
    static QPointer<TOPCclientDlg> dialog;
    if (!dialog) {
        dialog = new TOPCclientDlg;
        // Freed while the application still exists.
        qAddPostRoutine([] { delete dialog.data(); });
    }
    return *dialog;
}
