#include "components/timing/MemoryEditor.h"

#include "components/timing/Memory.h"
#include "core/model/Translator.h"
#include "platform/Context.h"
#include "platform/FileIO.h"
#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"
#include "ui/Formats.h"
#include "widgets/BrowseEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {
QString HexText(int value, int digits)
{
    return QStringLiteral("%1").arg(value, digits, 16, QLatin1Char('0')).toUpper();
}

bool IsHexDigit(QChar c)
{
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
        || (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
}

QString FileFilter()
{
    return Lang3Q("Alle Dateien (*)", "All files (*)", "Tous fichiers (*)");
}
} // namespace

// --- THexGridModel ---------------------------------------------------------------------------

THexGridModel::THexGridModel(THexEditor& editor) : m_editor(editor) {}

int THexGridModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    return m_editor.Mode == THexEditor::Binary ? m_editor.Size : m_editor.Size / 8;
}

int THexGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 8;
}

QVariant THexGridModel::data(const QModelIndex& index, int role) const
{
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return m_editor.CellText(index.column(), index.row());
}

QVariant THexGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return (m_editor.Mode == THexEditor::Binary ? QStringLiteral("bit ") : QStringLiteral("+"))
            + QString::number(section);
    switch (m_editor.Mode) {
    case THexEditor::Binary:
        return QStringLiteral("$") + HexText(section, 4);
    case THexEditor::Decimal:
        return QString::number(section * 8);
    default:
        return QStringLiteral("$") + HexText(section * 8, 4);
    }
}

Qt::ItemFlags THexGridModel::flags(const QModelIndex& index) const
{
    return QAbstractTableModel::flags(index) | Qt::ItemIsEditable;
}

bool THexGridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !index.isValid())
        return false;
    return m_editor.StoreCell(index.column(), index.row(), value.toString());
}

void THexGridModel::Rebuild()
{
    beginResetModel();
    endResetModel();
}

void THexGridModel::CellsChanged()
{
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, 7));
}

// --- THexGrid --------------------------------------------------------------------------------

THexGrid::THexGrid(THexEditor& editor) : m_editor(editor)
{
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked
                    | QAbstractItemView::EditKeyPressed);
    setSelectionMode(QAbstractItemView::SingleSelection);
    verticalHeader()->setDefaultSectionSize(18);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
}

bool THexGrid::StoreOpenEditor()
{
    if (!m_editing.isValid() || state() != QAbstractItemView::EditingState)
        return true;
    // A closed cell editor is hidden at once and deleted later.
    for (QLineEdit* edit : viewport()->findChildren<QLineEdit*>())
        if (!edit->isHidden())
            return m_editor.StoreCell(m_editing.column(), m_editing.row(), edit->text());
    return true;
}

bool THexGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    const bool editing = QTableView::edit(index, trigger, event);
    if (editing)
        m_editing = index;
    return editing;
}

void THexGrid::commitData(QWidget* editor)
{
    auto* edit = qobject_cast<QLineEdit*>(editor);
    if (edit == nullptr || !m_editing.isValid())
        return QTableView::commitData(editor);
    if (!m_editor.StoreCell(m_editing.column(), m_editing.row(), edit->text()))
        m_refused = m_editing;
}

void THexGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    if (m_refused.isValid()) {
        // Keep the cell editor open with the typed text.
        editor->setFocus();
        return;
    }
    m_editing = QPersistentModelIndex();
    QTableView::closeEditor(editor, hint);
}

void THexGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    if (m_refused.isValid() && current != QModelIndex(m_refused)) {
        const QPersistentModelIndex back = m_refused;
        QTimer::singleShot(0, this, [this, back] {
            if (back.isValid())
                setCurrentIndex(back);
            m_refused = QPersistentModelIndex();
        });
    } else {
        m_refused = QPersistentModelIndex();
    }
}

void THexGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    if (m_editor.Mode == THexEditor::Binary && index.isValid()) {
        setCurrentIndex(index);
        m_editor.ToggleBit(index.column(), index.row());
        return;
    }
    QTableView::mouseDoubleClickEvent(event);
}

// --- THexEditor ------------------------------------------------------------------------------

THexEditor::THexEditor(QWidget* parent)
    : QDialog(parent), Memory(TBTMemory::MemorySize, 0)
{
    setObjectName(QStringLiteral("HexEditor"));
    m_model = new THexGridModel(*this);
    m_model->setParent(this);
    HexGrid = new THexGrid(*this);
    HexGrid->setParent(this);
    HexGrid->setModel(m_model);
    // Room for the row headers and eight columns of the widest (binary) view.
    HexGrid->setMinimumSize(440, 300);

    GroupBox1 = new QGroupBox(this);
    RB_Hex = new QRadioButton(GroupBox1);
    RB_Bin = new QRadioButton(GroupBox1);
    RB_Dez = new QRadioButton(GroupBox1);
    RB_Hex->setChecked(true);
    auto* modes = new QVBoxLayout(GroupBox1);
    for (QRadioButton* rb : {RB_Hex, RB_Bin, RB_Dez}) {
        modes->addWidget(rb);
        connect(rb, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                ModeClicked();
        });
    }

    Label1 = new QLabel(this);
    cb_Groesse = new QComboBox(this);
    cb_Groesse->addItems({QStringLiteral("256"), QStringLiteral("512"), QStringLiteral("1k"),
                          QStringLiteral("2k"), QStringLiteral("4k"), QStringLiteral("8k"),
                          QStringLiteral("16k"), QStringLiteral("32k"), QStringLiteral("64k")});
    cb_Groesse->setCurrentIndex(2);
    connect(cb_Groesse, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (i >= 0)
            SetSize(1 << (i + 8));
    });

    Label2 = new QLabel(this);
    SE_Fill = new QSpinBox(this);
    SE_Fill->setRange(0, 255);
    Button5 = new QPushButton(this);
    Button3 = new QPushButton(this);
    Button4 = new QPushButton(this);
    connect(Button5, &QPushButton::clicked, this, [this] { FillClick(); });
    connect(Button3, &QPushButton::clicked, this, [this] { LoadClick(); });
    connect(Button4, &QPushButton::clicked, this, [this] { SaveClick(); });

    GroupBox2 = new QGroupBox(this);
    CB_AutoLoad = new QCheckBox(GroupBox2);
    E_Datei = new TWLXFileOpenEdit(GroupBox2);
    E_Datei->setObjectName(QStringLiteral("E_Datei"));
    E_Datei->OnBeforeBrowse = [](void* dialog) { static_cast<QFileDialog*>(dialog)->setNameFilter(FileFilter()); };
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(E_Datei, 1);
    auto* fileBox = new QVBoxLayout(GroupBox2);
    fileBox->addWidget(CB_AutoLoad);
    fileBox->addLayout(fileRow);

    L_Bin = new QLabel(this);
    cb_RuntimeEdit = new QCheckBox(this);
    Button1 = new QPushButton(QStringLiteral("&OK"), this);
    Button1->setDefault(true);
    Button2 = new QPushButton(this);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);

    auto* side = new QVBoxLayout;
    side->addWidget(GroupBox1);
    side->addWidget(Label1);
    side->addWidget(cb_Groesse);
    side->addSpacing(8);
    side->addWidget(Label2);
    side->addWidget(SE_Fill);
    side->addWidget(Button5);
    side->addSpacing(8);
    side->addWidget(Button3);
    side->addWidget(Button4);
    side->addStretch(1);
    side->addWidget(Button1);
    side->addWidget(Button2);

    auto* top = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(HexGrid, 1);
    left->addWidget(L_Bin);
    top->addLayout(left, 1);
    top->addLayout(side);

    auto* all = new QVBoxLayout(this);
    all->addLayout(top, 1);
    all->addWidget(GroupBox2);
    all->addWidget(cb_RuntimeEdit);

    TranslateCaptions();
    FillGrid();
}

THexEditor::~THexEditor()
{
    // The grid calls back into the editor while it goes; it goes first.
    delete HexGrid;
    HexGrid = nullptr;
}

void THexEditor::TranslateCaptions()
{
    cb_RuntimeEdit->setText(Translate(QStringLiteral("Zur Laufzeit einstellbar")));
    setWindowTitle(Lang3Q("Speicher RAM/ROM", "Memory RAM/ROM", "Mémoire RAM/ROM"));
    GroupBox1->setTitle(Lang3Q("Darstellung", "Display", "Affichage"));
    GroupBox2->setTitle(Lang3Q("", "File", "Fichier"));
    RB_Hex->setText(Lang3Q("&Hex", "Hex", "Hex"));
    RB_Bin->setText(Lang3Q("&Binär", "Binary", "Binaire"));
    RB_Dez->setText(Lang3Q("&Dezimal", "Decimal", "Décimal"));
    Label2->setText(Lang3Q("Füllbyte (dez):", "Fill byte [Dec]", "Remplir octet"));
    Button5->setText(Lang3Q("&Füllen... ", "&Fill...", "&Remplir..."));
    Button3->setText(Lang3Q("&Laden...", "&Load...", "&Charger..."));
    Button4->setText(Lang3Q("&Speichern...", "&Save...", "&Sauver..."));
    Button2->setText(Lang3Q("&Abbrechen", "&Cancel", "&Annuler"));
    L_Bin->setText(Lang3Q("(Doppelklick invertiert die Bits)", "Invert bits with double click!",
                          "Inverser octets avec double click !"));
    CB_AutoLoad->setText(Lang3Q("Datei bei Si&mulationsbeginn einlesen:",
                                "Load file &on project start",
                                "Charger fichier &au démarrage du projet"));
    Label1->setText(Lang3Q("Speichergrösse [Byte] :", "Memory size [bytes] :",
                           "Taille mémoire [octets] :"));
}

void THexEditor::SetMode(uint8_t mode)
{
    QRadioButton* rb = mode == Binary ? RB_Bin : mode == Decimal ? RB_Dez : RB_Hex;
    if (rb->isChecked())
        ModeClicked();
    else
        rb->setChecked(true);  // rebuilds through its toggled signal
}

void THexEditor::SetSize(int32_t size)
{
    Size = std::clamp(size, 256, TBTMemory::MemorySize);
    FillGrid();
}

int32_t THexEditor::TopVisibleAddress() const
{
    const int row = std::max(0, HexGrid->rowAt(0));
    return Mode == Binary ? row : row * 8;
}

void THexEditor::ModeClicked()
{
    TopAddress = TopVisibleAddress();
    Mode = RB_Bin->isChecked() ? Binary : RB_Dez->isChecked() ? Decimal : Hex;
    FillGrid();
}

void THexEditor::FillGrid()
{
    Busy = true;
    m_model->Rebuild();
    const int row = Mode == Binary ? TopAddress : TopAddress / 8;
    if (m_model->rowCount() > 0) {
        const QModelIndex top = m_model->index(std::min(row, m_model->rowCount() - 1), 0);
        HexGrid->scrollTo(top, QAbstractItemView::PositionAtTop);
        // Where the view cannot scroll yet (not laid out), the scroll bar takes the row.
        HexGrid->verticalScrollBar()->setValue(top.row());
    }
    L_Bin->setVisible(Mode == Binary);
    Busy = false;
}

QString THexEditor::CellText(int column, int row) const
{
    switch (Mode) {
    case Binary:
        return (Memory[row] >> column) & 1 ? QStringLiteral("1") : QStringLiteral("0");
    case Decimal:
        return QString::number(Memory[row * 8 + column]);
    default:
        return HexText(Memory[row * 8 + column], 2);
    }
}

bool THexEditor::ValidateCell(uint8_t mode, QString& text)
{
    switch (mode) {
    case Binary:
        if (text.isEmpty())
            text = QStringLiteral("0");
        return text == QLatin1String("0") || text == QLatin1String("1");
    case Decimal: {
        if (text.size() > 3)
            return false;
        if (text.isEmpty())
            text = QStringLiteral("0");
        for (QChar c : text)
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return false;
        const int v = text.toInt();
        if (v > 255)
            return false;
        text = QString::number(v);
        return true;
    }
    default:
        if (text.size() > 2)
            return false;
        text = text.rightJustified(2, QLatin1Char('0')).toUpper();
        return IsHexDigit(text[0]) && IsHexDigit(text[1]);
    }
}

bool THexEditor::StoreCell(int column, int row, QString text)
{
    if (Busy)
        return true;
    if (!ValidateCell(Mode, text)) {
        const char* const what[3][3] = {
            {"Kein gültiger HEX-Wert", "Invalid HEX value", "Valeur HEX incorrecte"},
            {"Kein gültiger Binärwert", "Invalid binary value", "Valeur binaire incorrecte"},
            {"Kein gültiger Dezimalwert", "Invalid decimal value", "Valeur décimale incorrecte"}};
        const auto& m = what[Mode <= Decimal ? Mode : 0];
        MessageBoxText(Lang3Q(m[0], m[1], m[2]),
                       Lang3Q("Fehleingabe", "Invalid entry", "Saisie incorrecte"), mbOK,
                       mtWarning);
        return false;
    }
    switch (Mode) {
    case Binary: {
        const uint8_t bit = uint8_t(1u << column);
        Memory[row] = text == QLatin1String("1") ? uint8_t(Memory[row] | bit)
                                                 : uint8_t(Memory[row] & ~bit);
        break;
    }
    case Decimal:
        Memory[row * 8 + column] = uint8_t(text.toInt());
        break;
    default:
        Memory[row * 8 + column] = uint8_t(text.toInt(nullptr, 16));
        break;
    }
    const QModelIndex cell = m_model->index(row, column);
    emit m_model->dataChanged(cell, cell);
    return true;
}

void THexEditor::ToggleBit(int column, int row)
{
    if (Mode != Binary)
        return;
    Memory[row] ^= uint8_t(1u << column);
    const QModelIndex cell = m_model->index(row, column);
    emit m_model->dataChanged(cell, cell);
}

int THexEditor::LoadFile(const QString& name)
{
    QString error;
    const int n = LoadMemoryFile(FindDataFile(name), Size, Memory.data(), &error);
    if (n < 0)
        MessageDlg(error, mtError, mbOK);
    return n;
}

bool THexEditor::SaveFile(const QString& name)
{
    QString error;
    if (WriteWholeFile(name, MemoryText(Memory.data(), Size), &error))
        return true;
    MessageDlg(error, mtError, mbOK);
    return false;
}

void THexEditor::FillClick()
{
    const int answer = MessageBoxText(
        Lang3Q("Soll der gesamte Inhalt gefüllt werden?\rDer alte Inhalt geht dabei verloren.",
               "Current contents will be overwritten!.", "Le contenu actuel sera écrasé !."),
        Lang3Q("Füllen", "Fill", "Fill"), mbOKCancel, mtConfirmation);
    if (answer != mrOk)
        return;
    std::fill_n(Memory.begin(), Size, uint8_t(SE_Fill->value()));
    TopAddress = 0;
    FillGrid();
}

void THexEditor::LoadClick()
{
    QFileDialog dlg(this);
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    dlg.setFileMode(QFileDialog::ExistingFile);
    dlg.setNameFilter(FileFilter());
    if (ShowModal(dlg) != mrOk || dlg.selectedFiles().isEmpty())
        return;
    const int n = LoadFile(dlg.selectedFiles().constFirst());
    if (n < 0)
        return;
    TopAddress = 0;
    FillGrid();
    const QString count = QString::number(n);
    MessageBoxText(Lang3Q("Es wurden %1 Bytes eingelesen.", "%1 bytes imported.",
                          "%1 octets importés.").arg(count),
                   QStringLiteral("Tavrinol"), mbOK, mtInformation);
}

void THexEditor::SaveClick()
{
    QFileDialog dlg(this);
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setFileMode(QFileDialog::AnyFile);
    dlg.setNameFilter(FileFilter());
    if (ShowModal(dlg) != mrOk || dlg.selectedFiles().isEmpty())
        return;
    SaveFile(dlg.selectedFiles().constFirst());
}

void THexEditor::FormClose()
{
    HexGrid->StoreOpenEditor();
}

void THexEditor::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1 && !Ctx().RuntimeMode) {
        ShowHelp(HelpContext);
        return;
    }
    QDialog::keyPressEvent(event);
}
