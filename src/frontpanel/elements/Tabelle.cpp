#include "frontpanel/elements/Tabelle.h"

#include "core/model/Translator.h"
#include "frontpanel/elements/RecorderTools.h"
#include "frontpanel/web/WebPublishing.h"
#include "platform/Context.h"
#include "platform/Colors.h"
#include "platform/Cp1252.h"
#include "platform/FileIO.h"
#include "platform/Filer.h"
#include "platform/Locale.h"
#include "platform/MessageBox.h"
#include "ui/Hotkey.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QAbstractTableModel>
#include <QTableView>

#include <deque>

#include <algorithm>

namespace {

constexpr int kHotkeyCount = 10;
enum : int { cmExport = 1, cmCopy = 2, cmExcel = 3, cmWord = 4, cmNotepad = 5 };

QString TimeHeading()
{
    return Lang3Q("Zeit", "Time", "Heure");
}

QString DateHeading()
{
    return Lang3Q("Datum", "Date", "Date");
}

} // namespace

// The rows of the table: the heading row and the data rows, every row as wide as the table.
class TTableModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    QStringList Headings;
    std::deque<QStringList> Rows;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : int(Rows.size());
    }
    int columnCount(const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : int(Headings.size());
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole || !index.isValid())
            return QVariant();
        return Rows[size_t(index.row())].value(index.column());
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
            return QVariant();
        return Headings.value(section);
    }
    void SetColumns(int count)
    {
        const int old = int(Headings.size());
        if (count == old)
            return;
        if (count > old) {
            beginInsertColumns(QModelIndex(), old, count - 1);
            while (Headings.size() < count)
                Headings << QString();
            for (QStringList& row : Rows)
                while (row.size() < count)
                    row << QString();
            endInsertColumns();
        } else {
            beginRemoveColumns(QModelIndex(), count, old - 1);
            Headings = Headings.mid(0, count);
            for (QStringList& row : Rows)
                row = row.mid(0, count);
            endRemoveColumns();
        }
    }
    void SetHeading(int column, const QString& text)
    {
        Headings[column] = text;
        emit headerDataChanged(Qt::Horizontal, column, column);
    }
    void SetCell(int row, int column, const QString& text)
    {
        Rows[size_t(row)][column] = text;
        const QModelIndex at = index(row, column);
        emit dataChanged(at, at);
    }
    void Append()
    {
        const int n = int(Rows.size());
        beginInsertRows(QModelIndex(), n, n);
        Rows.push_back(QStringList(Headings.size(), QString()));
        endInsertRows();
    }
    // rows empty rows as wide as the table, and nothing else.
    bool IsCleared(int rows) const
    {
        if (Rows.size() != size_t(rows))
            return false;
        for (const QStringList& row : Rows) {
            if (row.size() != Headings.size())
                return false;
            for (const QString& cell : row)
                if (!cell.isEmpty())
                    return false;
        }
        return true;
    }
    void Remove(int row)
    {
        beginRemoveRows(QModelIndex(), row, row);
        Rows.erase(Rows.begin() + row);
        endRemoveRows();
    }
    void Reset(int rows)
    {
        // A table held in reset is cleared in every step: nothing to do when it is already.
        if (IsCleared(rows))
            return;
        beginResetModel();
        Rows.assign(size_t(rows), QStringList(Headings.size(), QString()));
        endResetModel();
    }
};

TTabelle::TTabelle(QWidget* owner)
    : TFP_Element(owner)
{
    BevelOuter = bvLowered;
    BevelWidth = 2;
    for (TFormat& f : Formats) {
        f.Options = TFormatOptions{TFormatOption::Fixed};
        f.Digits = 4;
        f.Decimals = 2;
    }
    m_model = new TTableModel(this);
    m_model->SetColumns(2);
    Grid = new QTableView(this);
    Grid->setModel(m_model);
    Grid->setObjectName(QStringLiteral("Grid"));
    Grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    Grid->verticalHeader()->hide();
    Grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    Grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Grid->setFrameShape(QFrame::NoFrame);
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(8);
    ApplyGridFont(font);
    connect(Grid, &QTableView::doubleClicked, this, [this](const QModelIndex&) { DblClickEdit(); });
    Popup = new QMenu(this);
    auto add = [this](QMenu* menu, int tag, const QString& caption) {
        QAction* a = menu->addAction(caption);
        connect(a, &QAction::triggered, this, [this, tag] { Command(tag); });
    };
    add(Popup, cmExport, Lang3Q("Exportieren", "Export", "Exporter"));
    add(Popup, cmCopy, Lang3Q("Kopieren", "Copy", "Copier"));
    QMenu* create = Popup->addMenu(Translate(QStringLiteral("Erzeugen")) + QStringLiteral("..."));
    add(create, cmExcel, QStringLiteral("Excel"));
    add(create, cmWord, QStringLiteral("Word"));
    add(create, cmNotepad, QStringLiteral("Notepad"));
    resize(192, 160);
    BackgroundFromPanel = false;
    TTabelle::SetHintergrundFarbe(0xFFFFFF);
    SetKanal(1);
    ClearRows();
    Hint = Lang3Q("Tabelle", "Table", "Table");
    for (int i = 0; i < kHotkeyCount; ++i) {
        THotkey& hotkey = AddHotkey();
        hotkey.OnPress = [this](THotkey* sender) { HotkeyPressed(sender->Action); };
        hotkey.OnRelease = [this](THotkey* sender) { HotkeyReleased(sender->Action); };
    }
}

TTabelle::~TTabelle() = default;

void TTabelle::resizeEvent(QResizeEvent* event)
{
    TFP_Element::resizeEvent(event);
    if (Grid)
        Grid->setGeometry(1, 16, std::max(1, width() - 3), std::max(1, height() - 17));
}

void TTabelle::ApplyGridFont(const QFont& font)
{
    Grid->setFont(font);
    Grid->horizontalHeader()->setFont(font);
    const int rowHeight = QFontMetrics(font).height() + 4;
    Grid->verticalHeader()->setDefaultSectionSize(rowHeight);
    Grid->verticalHeader()->setMinimumSectionSize(std::min(rowHeight, 8));
}

void TTabelle::ApplyHeadingColor()
{
    const QColor c = TColorToQColor(HeadingColor);
    Grid->horizontalHeader()->setStyleSheet(
        QStringLiteral("QHeaderView::section { background-color: %1; border: 1px solid gray; }").arg(c.name()));
}

int TTabelle::RowCount() const
{
    return int(m_model->Rows.size()) + 1;
}

QString TTabelle::Cell(int column, int row) const
{
    if (column < 0 || column >= m_model->Headings.size())
        return QString();
    if (row == 0)
        return m_model->Headings.at(column);
    if (row < 1 || row > int(m_model->Rows.size()))
        return QString();
    return m_model->Rows[size_t(row - 1)].value(column);
}

void TTabelle::SetCell(int column, int row, const QString& text)
{
    if (column < 0 || column >= m_model->Headings.size())
        return;
    if (row == 0)
        m_model->SetHeading(column, text);
    else if (row >= 1 && row <= int(m_model->Rows.size()))
        m_model->SetCell(row - 1, column, text);
}

void TTabelle::AppendRow()
{
    m_model->Append();
}

void TTabelle::DeleteRow(int row)
{
    if (row >= 1 && row <= int(m_model->Rows.size()))
        m_model->Remove(row - 1);
}

void TTabelle::ShowLastRow()
{
    if (!m_model->Rows.empty() && Grid->isVisible())
        Grid->scrollTo(m_model->index(int(m_model->Rows.size()) - 1, 0), QAbstractItemView::PositionAtBottom);
}

void TTabelle::SetKanal(int16_t channels)
{
    channels = int16_t(std::clamp<int>(channels, 1, 64));
    SetCell(Kanal, 0, QString());
    Kanal = channels;
    m_model->SetColumns(Kanal + 2);
    SetCell(Kanal, 0, TimeHeading());
    SetCell(Kanal + 1, 0, DateHeading());
}

void TTabelle::ClearRows()
{
    m_model->Reset(1);
}

QStringList TTabelle::BuildLines(QChar separator) const
{
    QStringList lines;
    QString head;
    for (int c = 0; c < Kanal; ++c)
        head += Cell(c, 0) + separator;
    head += TimeHeading() + separator + DateHeading();
    lines << head;
    const QChar decimal = LocaleDecimalSeparator();
    for (int r = 1; r < RowCount(); ++r) {
        QString line;
        for (int c = 0; c < Kanal; ++c)
            line += Cell(c, r) + separator;
        line += Cell(Kanal, r) + separator;
        if (decimal != u'.')
            line.replace(u'.', decimal);
        line += Cell(Kanal + 1, r);
        lines << line;
    }
    return lines;
}

bool TTabelle::ExportText(const QString& fileName, QString* error)
{
    QByteArray bytes;
    for (const QString& line : BuildLines(u';')) {
        bytes += ToCp1252(line);
        bytes += "\r\n";
    }
    return WriteWholeFile(fileName, bytes, error);
}

void TTabelle::CopyToClipboard()
{
    QString text;
    for (const QString& line : BuildLines(u'\t'))
        text += line + QStringLiteral("\r\n");
    QApplication::clipboard()->setText(text);
}

void TTabelle::Command(int tag)
{
    switch (tag) {
    case cmExport: {
        const QString file = AskRecorderFile(
            this, true, Lang3Q("Textdateien (*.txt)", "Text files (*.txt)", "Fichier texte (*.txt)"),
            QStringLiteral("TXT"));
        QString error;
        if (!file.isEmpty() && !ExportText(file, &error))
            MessageDlg(error, mtError, mbOK);
        break;
    }
    // The office programs and the text editor the table once handed its rows to do not
    // exist here; the rows go to the clipboard, from where any program takes them.
    case cmCopy:
    case cmExcel:
    case cmWord:
    case cmNotepad: CopyToClipboard(); break;
    default: break;
    }
}

void TTabelle::contextMenuEvent(QContextMenuEvent* event)
{
    if (ElementEnabled())
        Popup->popup(event->globalPos());
}

void TTabelle::HotkeyPressed(int32_t action)
{
    switch (action) {
    case 1:
        if (OnAdd)
            OnAdd();
        break;
    case 2: ClearRows(); break;
    case 3: CopyToClipboard(); break;
    default: break;
    }
}

void TTabelle::HotkeyReleased(int32_t action)
{
    if (action >= 4 && action <= 6)
        CopyToClipboard();
}

void TTabelle::SetHintergrundFarbe(int32_t color)
{
    QPalette pal = Grid->palette();
    pal.setColor(QPalette::Base, TColorToQColor(color));
    Grid->setPalette(pal);
    TFP_Element::SetHintergrundFarbe(color);
}

void TTabelle::WriteElementData(TWriter& writer)
{
    TFP_Element::WriteElementData(writer);
    writer.WriteRawInt16(int16_t(std::clamp(height(), -32768, 32767)));
    writer.WriteRawInt32(QColorToTColor(Grid->palette().color(QPalette::Text)));
    writer.WriteRawInt32(QColorToTColor(Grid->palette().color(QPalette::Base)));
    writer.WriteRawInt16(Kanal);
    for (int c = 0; c < Kanal; ++c)
        writer.WriteString(Cell(c, 0));
    for (int c = 0; c < Kanal; ++c)
        Formats[size_t(c)].WriteData(writer);
    for (int c = 0; c < Kanal + 2; ++c)
        writer.WriteInteger(Grid->columnWidth(c));
    writer.WriteString(Grid->font().family());
    writer.WriteInteger(FontHeightOf(Grid->font()));
    writer.WriteInteger(HeadingColor);
    writer.WriteString(WordTemplate);
    writer.WriteString(ExcelTemplate);
}

void TTabelle::ReadElementData(TReader& reader, uint8_t version)
{
    TFP_Element::ReadElementData(reader, version);
    const int h = reader.ReadRawInt16();
    resize(width(), std::max(h, 20));
    const int32_t fontColor = reader.ReadRawInt32();
    const int32_t gridColor = reader.ReadRawInt32();
    QPalette pal = Grid->palette();
    if (fontColor >= 0)
        pal.setColor(QPalette::Text, TColorToQColor(fontColor));
    if (gridColor >= 0)
        pal.setColor(QPalette::Base, TColorToQColor(gridColor));
    Grid->setPalette(pal);
    SetKanal(reader.ReadRawInt16());
    const int headings = version < 2 ? 4 : Kanal;
    for (int c = 0; c < headings; ++c) {
        const QString text = version >= 40 ? reader.ReadString() : reader.ReadRawShortString(4);
        if (c < Kanal)
            SetCell(c, 0, text);
    }
    if (version >= 40) {
        for (int c = 0; c < Kanal; ++c)
            Formats[size_t(c)].ReadData(reader);
        for (int c = 0; c < Kanal + 2; ++c)
            Grid->setColumnWidth(c, std::clamp(reader.ReadInteger(), 0, 2000));
        QFont font = Grid->font();
        font.setFamily(reader.ReadString());
        SetFontHeight(font, reader.ReadInteger());
        ApplyGridFont(font);
        HeadingColor = reader.ReadInteger();
        ApplyHeadingColor();
        WordTemplate = reader.ReadString();
        ExcelTemplate = reader.ReadString();
    }
}

int TTabelle::EditProperties()
{
    TDefault_Dlg& dlg = Default_Dlg();
    dlg.setWindowTitle(Hint);
    dlg.HelpContext = 18060;
    TPropScrollbox& sheet = *dlg.PropScrollbox;
    auto tr = [](const char* s) { return Translate(QString::fromUtf8(s)); };
    int32_t text = QColorToTColor(Grid->palette().color(QPalette::Text));
    int32_t background = HintergrundFarbe;
    int32_t heading = HeadingColor;
    sheet.AddCaptionProp(tr("Farbe"));
    sheet.AddColorProp(tr("Text"), text);
    sheet.AddColorProp(tr("Hintergrund"), background);
    sheet.AddColorProp(tr("Titel"), heading);
    std::vector<QString> headings(static_cast<size_t>(Kanal));
    std::vector<int32_t> widths(static_cast<size_t>(Kanal));
    sheet.AddCaptionProp(tr("Überschrift"));
    for (int c = 0; c < Kanal; ++c) {
        headings[size_t(c)] = Cell(c, 0);
        sheet.AddEditProp(tr("Spalte") + QStringLiteral(" %1").arg(c + 1), headings[size_t(c)], 0, 140);
    }
    sheet.AddCaptionProp(tr("Breite"));
    for (int c = 0; c < Kanal; ++c) {
        widths[size_t(c)] = Grid->columnWidth(c);
        sheet.AddSpinProp(tr("Spalte") + QStringLiteral(" %1").arg(c + 1), widths[size_t(c)], 10, 400, 64);
    }
    sheet.AddCaptionProp(tr("Format"));
    for (int c = 0; c < Kanal; ++c)
        sheet.AddFormatProp(tr("Spalte") + QStringLiteral(" %1").arg(c + 1), Formats[size_t(c)]);
    QFont font = Grid->font();
    sheet.AddCaptionProp(tr("Schriftart"));
    sheet.AddFontNameProp(tr("Schriftart"), font);
    sheet.AddCaptionProp(tr("Vorlagen"));
    sheet.AddFileProp(QStringLiteral("MS-Word"), WordTemplate, 0, 180, QStringLiteral("*.DOT"), QStringLiteral("DOT"));
    sheet.AddFileProp(QStringLiteral("MS-Excel"), ExcelTemplate, 0, 180, QStringLiteral("*.XLT"), QStringLiteral("XLT"));
    sheet.AddCaptionProp(tr("Hotkeys"));
    const QStringList actions{QStringLiteral(" ---"), QStringLiteral("= ADD"), QStringLiteral("= RST"),
                              QStringLiteral("= CPY"), QStringLiteral("= XLS"), QStringLiteral("= DOC"),
                              QStringLiteral("= TXT")};
    for (size_t i = 0; i < Hotkeys.size(); ++i)
        sheet.AddHotkeyProp(tr("Hotkey") + QStringLiteral(" %1").arg(i + 1), *Hotkeys[i], &actions);
    sheet.AddCaptionProp(tr("Optionen"));
    sheet.AddEditProp(tr("Hinweistext"), Hint, 0, 140);
    if (userEdit)
        sheet.AddCheckProp(tr("Zur Laufzeit einstellbar"), LaufzeitEinstellbar);
    const int result = dlg.Execute();
    if (result == 1) {
        QPalette pal = Grid->palette();
        pal.setColor(QPalette::Text, TColorToQColor(text));
        Grid->setPalette(pal);
        SetHintergrundFarbe(background);
        HeadingColor = heading;
        ApplyHeadingColor();
    }
    ApplyGridFont(font);
    for (int c = 0; c < Kanal; ++c) {
        SetCell(c, 0, headings[size_t(c)]);
        Grid->setColumnWidth(c, widths[size_t(c)]);
    }
    return result;
}

void TTabelle::WriteWebElement(QStringList& lines)
{
    WriteWebTitle(lines);
    lines << QStringLiteral("</BR></BR>") << QStringLiteral("<PRE>");
    for (QString line : BuildLines(u'\t')) {
        line.replace(u'\t', u';');
        line.remove(u' ');
        lines << HtmlText(line) + QStringLiteral("</BR>");
    }
    lines << QStringLiteral("</PRE>");
}
