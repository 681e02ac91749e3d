#include "components/analog/CorrectionTable.h"

#include "components/analog/Averaging.h"
#include "components/analog/Integrators.h"
#include "core/model/Translator.h"
#include "platform/Context.h"
#include "platform/Cp1252.h"
#include "platform/FileIO.h"
#include "platform/Filer.h"
#include "platform/Help.h"
#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"
#include "ui/Formats.h"

#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>
#include <cmath>

using namespace BlockSupport;

namespace {

// Longest text read as the output of an imported line.
constexpr qsizetype kMaxOutputText = 1000;
// Smallest stored size of one point: two values of at least a tag and one byte each.
constexpr qint64 kMinPointBytes = 4;

// Text lines of a file's bytes; a line end is CR LF, LF or CR, and a final line end does not
// start another line.
QStringList SplitLines(const QByteArray& bytes)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n')
            continue;
        lines << FromCp1252(bytes.constData() + start, i - start);
        if (c == '\r' && i + 1 < n && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines << FromCp1252(bytes.constData() + start, n - start);
    return lines;
}

} // namespace

// --- TKorrekturwerte -----------------------------------------------------------------------

TKorrekturwerte::TKorrekturwerte()
{
    Reset();
}

bool TKorrekturwerte::HasInput(Extended input) const
{
    return std::any_of(m_points.begin(), m_points.end(),
                       [input](const TKorrekturwert& p) { return p.Input == input; });
}

bool TKorrekturwerte::AddPoint(Extended input, Extended output)
{
    if (!std::isfinite(input) || HasInput(input))
        return false;
    const auto at = std::upper_bound(
        m_points.begin(), m_points.end(), input,
        [](Extended x, const TKorrekturwert& p) { return x < p.Input; });
    m_points.insert(at, TKorrekturwert{input, output});
    return true;
}

bool TKorrekturwerte::SetPoint(int index, Extended input, Extended output)
{
    if (index < 0 || index >= Count() || !std::isfinite(input))
        return false;
    for (int i = 0; i < Count(); ++i) {
        if (i != index && m_points[static_cast<size_t>(i)].Input == input)
            return false;
    }
    m_points[static_cast<size_t>(index)] = TKorrekturwert{input, output};
    return true;
}

bool TKorrekturwerte::DeletePoint(int index)
{
    if (index < 0 || index >= Count() || Count() <= 2)
        return false;
    m_points.erase(m_points.begin() + index);
    return true;
}

void TKorrekturwerte::Reset()
{
    m_points = {TKorrekturwert{0.0L, 0.0L}, TKorrekturwert{1.0L, 1.0L}};
}

void TKorrekturwerte::Sort()
{
    std::stable_sort(m_points.begin(), m_points.end(),
                     [](const TKorrekturwert& a, const TKorrekturwert& b) {
                         return a.Input < b.Input;
                     });
}

int TKorrekturwerte::FindIndex(Extended x) const
{
    for (int i = 0; i < Count(); ++i) {
        if (m_points[static_cast<size_t>(i)].Input >= x)
            return i;
    }
    return Count() - 1;
}

void TKorrekturwerte::Assign(const TKorrekturwerte& other)
{
    if (&other == this)
        return;
    Clear();
    for (const TKorrekturwert& p : other.m_points)
        AddPoint(p.Input, p.Output);
}

Extended TKorrekturwerte::Interpolate(Extended x) const
{
    const int n = Count();
    if (n == 0)
        return x;
    if (n == 1)
        return m_points[0].Output;
    auto in = [this](int i) { return m_points[static_cast<size_t>(i)].Input; };
    int a = 0;
    int b = 1;
    if (x > in(n - 1)) {
        a = n - 2;
        b = n - 1;
    } else if (!(x < in(0))) {
        int lo = 0;
        int hi = n - 1;
        while (hi - lo > 1) {
            const int mid = lo + (hi - lo) / 2;
            if (x <= in(mid))
                hi = mid;
            else
                lo = mid;
        }
        a = lo;
        b = hi;
    }
    const TKorrekturwert& pa = m_points[static_cast<size_t>(a)];
    const TKorrekturwert& pb = m_points[static_cast<size_t>(b)];
    const Extended dx = pb.Input - pa.Input;
    if (dx == 0.0L)
        return pa.Output;
    const Extended m = (pb.Output - pa.Output) / dx;
    return m * x + (pb.Output - m * pb.Input);
}

void TKorrekturwerte::Complete()
{
    if (Count() == 0)
        AddPoint(0.0L, 0.0L);
    if (Count() == 1 && !AddPoint(1.0L, 1.0L))
        AddPoint(0.0L, 0.0L);
}

void TKorrekturwerte::ImportLines(const QStringList& lines)
{
    Clear();
    for (const QString& line : lines) {
        const qsizetype sep = line.indexOf(u';');
        const QString inputText = sep < 0 ? QString() : line.left(sep);
        const QString outputText = (sep < 0 ? line : line.mid(sep + 1)).left(kMaxOutputText);
        // A repeated input is refused, so the first line's point stays.
        AddPoint(TextToValue(inputText), TextToValue(outputText));
    }
    Complete();
}

void TKorrekturwerte::WriteData(TWriter& writer) const
{
    writer.WriteInteger(Count());
    for (const TKorrekturwert& p : m_points) {
        writer.WriteFloat(p.Input);
        writer.WriteFloat(p.Output);
    }
}

void TKorrekturwerte::ReadData(TReader& reader)
{
    const qint64 room = std::min<qint64>(reader.BytesLeft() / kMinPointBytes, INT32_MAX);
    const int32_t count = TReader::CheckCount(reader.ReadInteger(), 0,
                                              static_cast<int32_t>(room), "Korrekturwerte");
    TKorrekturwerte read;
    read.Clear();
    for (int32_t i = 0; i < count; ++i) {
        const Extended input = reader.ReadFloat();
        const Extended output = reader.ReadFloat();
        read.AddPoint(input, output);
    }
    if (read.Count() < 2)
        read.Reset();
    m_points = std::move(read.m_points);
}

// --- TBTKorrekturtabelle -------------------------------------------------------------------

const TComponentDescription TBTKorrekturtabelle::Description{
    .Name = "TBTKorrekturtabelle", .Prefix = {"KT", "CT", "TC"},
    .HelpContext = TKorrekturtabelleDlg::HelpContext,
    .TypeName = {"Korrekturtabelle", "Correction table", "Table de\rcorrection"}, .Inputs = {1},
    .Outputs = {1}, .InputNames = "E", .OutputNames = "A",
    .Category = TPaletteCategory::Berechnung};

TBTKorrekturtabelle::TBTKorrekturtabelle()
{
    Describe(Description);
    SetElementClass(QString());
    HelpContext = TKorrekturtabelleDlg::HelpContext;
    Editable = true;
}

void TBTKorrekturtabelle::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    PaintSymbolLetters(*this, canvas, Lang3Q("KT", "CT", "TC"));
}

int TBTKorrekturtabelle::EditProperties()
{
    TKorrekturtabelleDlg dlg;
    dlg.setWindowTitle(GetLabel());
    dlg.Werte.Assign(Werte);
    dlg.cb_RuntimeEdit->setChecked(RunTimeAdjustable);
    dlg.cb_RuntimeEdit->setVisible(!Ctx().SimRunning && !Ctx().RuntimeMode);
    dlg.FormShow();
    const int result = ShowModal(dlg);
    if (result == mrOk) {
        RunTimeAdjustable = dlg.cb_RuntimeEdit->isChecked();
        Werte.Assign(dlg.Werte);
        if (Werte.Count() < 2)
            Werte.Reset();
    }
    return result;
}

void TBTKorrekturtabelle::WriteData(TWriter& writer)
{
    TGrundBT::WriteData(writer);
    Werte.WriteData(writer);
}

void TBTKorrekturtabelle::ReadData(TReader& reader, uint8_t version)
{
    TGrundBT::ReadData(reader, version);
    Werte.ReadData(reader);
}

void TBTKorrekturtabelle::Calculate()
{
    SetOutputValue(0, Werte.Interpolate(GetInputValue(0)));
}

void TBTKorrekturtabelle::SimReset()
{
    SetOutputValue(0, 0.0L);
}

// --- TKorrekturtabelleDlg ------------------------------------------------------------------

TKorrekturtabelleDlg::TKorrekturtabelleDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Korrekturtabelle"));
    setWindowFlags(windowFlags() | Qt::WindowContextHelpButtonHint);

    Grid = new QTableWidget(0, 2, this);
    Grid->setObjectName(QStringLiteral("Grid"));
    Grid->setColumnWidth(0, 79);
    Grid->setColumnWidth(1, 83);
    Grid->verticalHeader()->setVisible(false);
    Grid->verticalHeader()->setDefaultSectionSize(16);
    Grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    Grid->setSelectionMode(QAbstractItemView::SingleSelection);
    Grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid->setMinimumWidth(79 + 83 + 24);

    GroupBox1 = new QGroupBox(this);
    Label1 = new QLabel(GroupBox1);
    E_Edit = new QLineEdit(QStringLiteral("0"), GroupBox1);
    E_Edit->setObjectName(QStringLiteral("E_Edit"));
    Label2 = new QLabel(GroupBox1);
    A_Edit = new QLineEdit(QStringLiteral("0"), GroupBox1);
    A_Edit->setObjectName(QStringLiteral("A_Edit"));
    ChangeBtn = new QPushButton(GroupBox1);
    AddBtn = new QPushButton(GroupBox1);
    DeleteBtn = new QPushButton(this);
    DeleteAllBtn = new QPushButton(this);
    ImportBtn = new QPushButton(this);
    Label3 = new QLabel(this);
    Label3->setWordWrap(true);
    Label3->setStyleSheet(QStringLiteral("color: gray"));
    cb_RuntimeEdit = new QCheckBox(this);
    OKBtn = new QPushButton(this);
    CancelBtn = new QPushButton(this);
    OKBtn->setDefault(true);

    ImportDlg = new QFileDialog(this);
    ImportDlg->setObjectName(QStringLiteral("ImportDlg"));
    ImportDlg->setAcceptMode(QFileDialog::AcceptOpen);
    ImportDlg->setFileMode(QFileDialog::ExistingFile);
    ImportDlg->setNameFilters({QStringLiteral("Text (*.txt)"), QStringLiteral("CSV (*.csv)")});
    ImportDlg->setDefaultSuffix(QStringLiteral("txt"));

    auto* pointLayout = new QGridLayout(GroupBox1);
    pointLayout->addWidget(Label1, 0, 0);
    pointLayout->addWidget(E_Edit, 0, 1);
    pointLayout->addWidget(Label2, 1, 0);
    pointLayout->addWidget(A_Edit, 1, 1);
    pointLayout->addWidget(ChangeBtn, 2, 0, 1, 2);
    pointLayout->addWidget(AddBtn, 3, 0, 1, 2);

    auto* side = new QVBoxLayout;
    side->addWidget(GroupBox1);
    side->addWidget(DeleteBtn);
    side->addWidget(DeleteAllBtn);
    side->addWidget(ImportBtn);
    side->addWidget(Label3);
    side->addStretch();

    auto* top = new QHBoxLayout;
    top->addWidget(Grid, 1);
    top->addLayout(side);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cb_RuntimeEdit);
    buttons->addStretch();
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    TranslateCaptions();

    connect(Grid, &QTableWidget::currentCellChanged, this, [this] {
        if (!m_selecting)
            GridClick();
    });
    connect(E_Edit, &QLineEdit::textChanged, this, [this] { E_EditChange(); });
    connect(A_Edit, &QLineEdit::textChanged, this, [this] { A_EditChange(); });
    connect(ChangeBtn, &QPushButton::clicked, this, [this] { ChangeBtnClick(); });
    connect(AddBtn, &QPushButton::clicked, this, [this] { AddBtnClick(); });
    connect(DeleteBtn, &QPushButton::clicked, this, [this] { DeleteBtnClick(); });
    connect(DeleteAllBtn, &QPushButton::clicked, this, [this] { DeleteAllBtnClick(); });
    connect(ImportBtn, &QPushButton::clicked, this, [this] { ImportBtnClick(); });
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

TKorrekturtabelleDlg::~TKorrekturtabelleDlg() = default;

void TKorrekturtabelleDlg::TranslateCaptions()
{
    setWindowTitle(Lang3Q("Korrekturtabelle", "Table of correction", "Table de correction"));
    Grid->setHorizontalHeaderLabels(
        {Lang3Q("Eingang", "Input", "Entrée"), Lang3Q("Ausgang", "Output", "Sortie")});
    GroupBox1->setTitle(
        Lang3Q("Korrekturwert", "Correction value", "Valeur de correction"));
    Label1->setText(Lang3Q("Eingang", "Input", "Entrée"));
    Label2->setText(Lang3Q("Ausgang", "Output", "Sortie"));
    ChangeBtn->setText(Lang3Q("<<< Ä&ndern", "<<< Cha&nge", "<<< Cha&nger"));
    AddBtn->setText(Lang3Q("<<< &Hinzufügen", "<<< &Add", "<<< &Ajouter"));
    DeleteBtn->setText(Lang3Q("&Löschen", "&Delete", "&Effacer"));
    DeleteAllBtn->setText(Lang3Q("All&es löschen", "C&lear", "En&lever"));
    ImportBtn->setText(QStringLiteral("&Import..."));
    Label3->setText(Lang3Q(
        "Ausgangswerte zwischen, unter und über den Eingangswerte werden linear interpoliert. "
        "Dazu sind mindestens zwei Wertepaare erforderlich.",
        "Output values between, below and above the input values are linear interpolated. "
        "Therefore at least two points are required.",
        "Les valeurs de sortie en dessous et au dessus des valeurs saisies seront linéairement "
        "interpolées. Aussi deux points sont au minimum requis."));
    cb_RuntimeEdit->setText(Translate(QStringLiteral("Zur Laufzeit einstellbar")));
    OKBtn->setText(QStringLiteral("&OK"));
    CancelBtn->setText(Lang3Q("&Abbrechen", "&Cancel", "&Annuler"));
}

int TKorrekturtabelleDlg::SelectedRow() const
{
    return Grid->currentRow() + 1;
}

void TKorrekturtabelleDlg::FormShow()
{
    RefreshGrid();
}

void TKorrekturtabelleDlg::RefreshGrid()
{
    m_selecting = true;
    Grid->setRowCount(Werte.Count());
    for (int i = 0; i < Werte.Count(); ++i) {
        const TKorrekturwert& p = Werte.Point(i);
        Grid->setItem(i, 0, new QTableWidgetItem(ValueToText(p.Input)));
        Grid->setItem(i, 1, new QTableWidgetItem(ValueToText(p.Output)));
    }
    m_selecting = false;
    SelectRow(Werte.FindIndex(TextToValue(E_Edit->text())) + 1, false);
    E_Edit->selectAll();
    UpdateButtons();
}

void TKorrekturtabelleDlg::SelectRow(int row, bool fromEdit)
{
    if (row < 1 || row > Werte.Count())
        return;
    m_selecting = true;
    Grid->setCurrentCell(row - 1, 0);
    Grid->selectRow(row - 1);
    m_selecting = false;
    if (!fromEdit)
        GridClick();
}

void TKorrekturtabelleDlg::GridClick()
{
    const int index = SelectedRow() - 1;
    if (index < 0 || index >= Werte.Count())
        return;
    const TKorrekturwert p = Werte.Point(index);
    E_Edit->setText(ValueToText(p.Input));
    A_Edit->setText(ValueToText(p.Output));
}

void TKorrekturtabelleDlg::E_EditChange()
{
    SelectRow(Werte.FindIndex(TextToValue(E_Edit->text())) + 1, true);
    UpdateButtons();
}

void TKorrekturtabelleDlg::A_EditChange()
{
    UpdateButtons();
}

void TKorrekturtabelleDlg::UpdateButtons()
{
    const bool spare = Werte.Count() > 2;
    DeleteBtn->setEnabled(spare);
    DeleteAllBtn->setEnabled(spare);
    const int index = SelectedRow() - 1;
    const Extended e = TextToValue(E_Edit->text());
    const Extended a = TextToValue(A_Edit->text());
    if (index < 0 || index >= Werte.Count()) {
        AddBtn->setEnabled(true);
        ChangeBtn->setEnabled(false);
        return;
    }
    const TKorrekturwert& p = Werte.Point(index);
    AddBtn->setEnabled(e != p.Input);
    ChangeBtn->setEnabled(e != p.Input || a != p.Output);
}

void TKorrekturtabelleDlg::SayDuplicateInput()
{
    MessageDlg(Lang3Q("Es gibt bereits einen Korrekturwert mit diesem Eingangswert.",
                      "There is already a correction value with this input value.",
                      "Il existe déjà une valeur de correction avec cette valeur d'entrée."),
               mtError, mbOK);
}

void TKorrekturtabelleDlg::ChangeBtnClick()
{
    // Two points of one input would leave the line between them undefined.
    if (!Werte.SetPoint(SelectedRow() - 1, TextToValue(E_Edit->text()),
                        TextToValue(A_Edit->text())))
        SayDuplicateInput();
    RefreshGrid();
}

void TKorrekturtabelleDlg::AddBtnClick()
{
    if (!Werte.AddPoint(TextToValue(E_Edit->text()), TextToValue(A_Edit->text())))
        SayDuplicateInput();
    RefreshGrid();
}

void TKorrekturtabelleDlg::DeleteBtnClick()
{
    if (Werte.Count() > 2)
        Werte.DeletePoint(SelectedRow() - 1);
    RefreshGrid();
}

void TKorrekturtabelleDlg::DeleteAllBtnClick()
{
    const int answer =
        MessageDlg(Lang3Q("Liste mit Korrekturwerten komplett löschen?",
                          "Clear list of correction values?",
                          "Effacer la liste des valeurs de correction ?"),
                   mtConfirmation, mbYesNo);
    if (answer == mrYes)
        Werte.Reset();
    RefreshGrid();
}

void TKorrekturtabelleDlg::ImportBtnClick()
{
    if (ShowModal(*ImportDlg) != mrOk)
        return;
    const QStringList chosen = ImportDlg->selectedFiles();
    if (chosen.isEmpty() || chosen.constFirst().isEmpty())
        return;
    ImportFile(chosen.constFirst());
}

bool TKorrekturtabelleDlg::ImportFile(const QString& fileName)
{
    // A table of far more points than anyone edits still stays below the limit.
    QByteArray bytes;
    if (QString error; !ReadWholeFile(fileName, 4 * 1024 * 1024, &bytes, &error)) {
        MessageDlg(error, mtError, mbOK);
        return false;
    }
    Werte.ImportLines(SplitLines(bytes));
    RefreshGrid();
    return true;
}

bool TKorrekturtabelleDlg::event(QEvent* e)
{
    if (IsHelpRequest(e)) {
        ShowHelp(HelpContext);
        return true;
    }
    return QDialog::event(e);
}
