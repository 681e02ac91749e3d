#include "hardware/framework/HardwareDlg.h"

#include "core/board/Platine.h"
#include "core/model/Translator.h"
#include "hardware/framework/HardwareHelpers.h"
#include "hardware/framework/HardwareSettings.h"
#include "hardware/framework/IoPort.h"
#include "platform/Context.h"
#include "platform/Help.h"
#include "platform/IniFile.h"
#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"
#include "ui/Formats.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"
#include "widgets/ColumnListBox.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

struct TKeyKind {
    const char* Key;
    const char* Kind;
};
// The connection keys in the order the rows of one section are listed.
constexpr TKeyKind kKeys[] = {
    {"Basisadresse", "PORT"}, {"COM", "COM"},         {"LPT", "LPT"},
    {"Device", "ID"},         {"DeviceIndex", "ID"},  {"Joystick#", "JOYST"},
    {"MIDIIN", "MIDI IN"},    {"MIDIOUT", "MIDI OUT"}, {"ADDRESS", "ADDRESS"},
};

THardware_Dlg* g_dialog = nullptr;

QStringList NoneAnd(const QStringList& items)
{
    QStringList list{Translate(QStringLiteral("Kein"))};
    list << items;
    return list;
}

// A decimal value of a drop-down kind; 0 (none) for a value that is no number.
int DecimalValue(const QString& value)
{
    bool ok = false;
    const int n = value.trimmed().toInt(&ok, 10);
    return ok ? n : 0;
}

} // namespace

THardwareDialogSources& HardwareDialogSources()
{
    static THardwareDialogSources sources;
    return sources;
}

THardware_Dlg::THardware_Dlg(QWidget* parent) : QDialog(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    NewGrid = new TWLXListBox(this);
    // Tabs never stand in names or values, so the fields come back as they went in.
    NewGrid->SetDelimiter(u'\t');
    NewGrid->SetGridLines(TWLXLBGridLines::glVertical);
    NewGrid->SetBooleanProp(3, true);    // MultiSelect
    NewGrid->SetBooleanProp(14, true);   // AlternateColors
    NewGrid->SetColorProp(5, 0xF5F5F5);  // AltLineColor
    NewGrid->SetColorProp(6, clWindowText);
    NewGrid->Header().ClearSections();
    NewGrid->Header().AddSection(QString(), 90);
    NewGrid->Header().AddSection(QString(), 230);
    NewGrid->Header().AddSection(QString(), 84); // room for "Verbindung" and "Connexion"
    NewGrid->Header().AddSection(QString(), 140);
    NewGrid->Header().setStretchLastSection(true);
    layout->addWidget(NewGrid, 1);
    auto* buttons = new QHBoxLayout;
    ChangeBtn = new QPushButton(this);
    ChangeBtn->setEnabled(false);
    buttons->addWidget(ChangeBtn);
    buttons->addStretch(1);
    OK_Btn = new QPushButton(this);
    OK_Btn->setDefault(true);
    CancelBtn = new QPushButton(this);
    buttons->addWidget(OK_Btn);
    buttons->addWidget(CancelBtn);
    layout->addLayout(buttons);
    connect(OK_Btn, &QPushButton::clicked, this, [this] { SetModalResult(*this, mrOk); accept(); });
    connect(CancelBtn, &QPushButton::clicked, this,
            [this] { SetModalResult(*this, mrCancel); reject(); });
    connect(ChangeBtn, &QPushButton::clicked, this, [this] { ChangeSelected(); });
    connect(&NewGrid->List(), &QListWidget::itemSelectionChanged, this, [this] { UpdateChangeButton(); });
    connect(&NewGrid->List(), &QListWidget::itemDoubleClicked, this, [this] { ChangeSelected(); });
    resize(581, 291);
    TranslateCaptions();
}

void THardware_Dlg::TranslateCaptions()
{
    setWindowTitle(QStringLiteral("Hardware"));
    Header = {Lang3Q("Bezeichnung", "Designation", "Désignation"),
              Lang3Q("Name", "Name", "Nom"),
              Lang3Q("Verbindung", "Connection", "Connexion"),
              Lang3Q("Wert", "Value", "Valeur")};
    OK_Btn->setText(QStringLiteral("&OK"));
    CancelBtn->setText(Lang3Q("&Abbrechen", "&Cancel", "&Annuler"));
    ChangeBtn->setText(Lang3Q("&Ändern...", "&Modify...", "&Modifier..."));
}

bool THardware_Dlg::event(QEvent* e)
{
    if (HelpContext != 0 && IsHelpRequest(e)) {
        ShowHelp(HelpContext);
        return true;
    }
    return QDialog::event(e);
}

void THardware_Dlg::LoadHardwareIni(const QString& fileName)
{
    TranslateCaptions();
    TIniFile ini(fileName);
    const QStringList sections = ini.ReadSections();
    Grid.clear();
    m_noHardware = sections.isEmpty();
    if (m_noHardware) {
        Grid.push_back({QStringLiteral("-"),
                        Lang3Q("Projekt verwendet keine Hardware", "No hardware devices in project",
                                 "Aucun module matériel dans le projet"),
                        QStringLiteral("-"), QStringLiteral("-"), QString()});
    } else {
        for (const QString& section : sections) {
            const QString name = ini.ReadString(section, QStringLiteral("Name"), QString());
            for (const TKeyKind& key : kKeys) {
                const QString k = QString::fromLatin1(key.Key);
                if (ini.ValueExists(section, k))
                    Grid.push_back({section, name, QString::fromLatin1(key.Kind),
                                    ini.ReadString(section, k, QString()), k});
            }
        }
    }
    NewGrid->setEnabled(!m_noHardware);
    FillList();
}

void THardware_Dlg::SaveHardwareIni(const QString& fileName)
{
    TIniFile ini(fileName);
    for (const TRow& row : Grid) {
        if (row.Key.isEmpty() || !ini.ValueExists(row.Section, row.Key))
            continue;
        ini.WriteString(row.Section, row.Key, row.Value);
    }
    if (!ini.UpdateFile())
        MessageDlg(ini.LastError(), mtError, mbOK);
}

void THardware_Dlg::FillList()
{
    const QSignalBlocker block(&NewGrid->List());
    for (int k = 0; k < int(Header.size()); ++k)
        NewGrid->Header().SetSectionText(k, Header[size_t(k)]);
    QStringList rows;
    THardwareDialogSources& sources = HardwareDialogSources();
    const QStringList midiIn = NoneAnd(sources.MidiInputs ? sources.MidiInputs() : QStringList());
    const QStringList midiOut = NoneAnd(sources.MidiOutputs ? sources.MidiOutputs() : QStringList());
    for (const TRow& row : Grid) {
        QString value = row.Value;
        if (row.Kind == QLatin1String("MIDI IN") || row.Kind == QLatin1String("MIDI OUT")) {
            const QStringList& names = row.Kind == QLatin1String("MIDI IN") ? midiIn : midiOut;
            bool ok = false;
            const int index = value.toInt(&ok, 10);
            if (ok && index >= 0 && index < names.size())
                value = names[index];
        }
        rows.append(QStringList{row.Section, QString(row.Name).replace(QLatin1Char('\r'), QLatin1Char(' ')), row.Kind, value}
                        .join(NewGrid->Delimiter()));
    }
    NewGrid->List().SetItems(rows);
}

std::vector<int> THardware_Dlg::SelectedRows() const
{
    std::vector<int> rows;
    if (m_noHardware)
        return rows;
    for (int i = 0; i < NewGrid->List().Count(); ++i)
        if (NewGrid->GetSelected(i))
            rows.push_back(i);
    return rows;
}

void THardware_Dlg::UpdateChangeButton()
{
    ChangeBtn->setEnabled(false);
    const std::vector<int> rows = SelectedRows();
    if (rows.empty())
        return;
    SelectedRow = rows.front();
    const QString kind = Grid[size_t(SelectedRow)].Kind;
    for (int row : rows)
        if (Grid[size_t(row)].Kind != kind)
            return;
    ChangeBtn->setEnabled(true);
}

void THardware_Dlg::ChangeSelected()
{
    if (!ChangeBtn->isEnabled())
        return;
    const std::vector<int> rows = SelectedRows();
    if (rows.empty())
        return;
    const TRow& first = Grid[size_t(SelectedRow)];
    const QString kind = first.Kind;
    TDefault_Dlg& dialog = Default_Dlg();
    dialog.HelpContext = 0;
    dialog.setWindowTitle(rows.size() == 1 ? QString(first.Name).replace(QLatin1Char('\r'), QLatin1Char(' ')) : kind);
    dialog.PinBtn->hide();
    TPropScrollbox& sheet = *dialog.PropScrollbox;

    THardwareDialogSources& sources = HardwareDialogSources();
    const bool combo = kind == QLatin1String("COM") || kind == QLatin1String("JOYST")
                       || kind == QLatin1String("LPT") || kind == QLatin1String("MIDI IN")
                       || kind == QLatin1String("MIDI OUT");
    int32_t index = 0;
    QString text = first.Value;
    std::vector<int> joysticks; // entry k + 1 is joystick joysticks[k]
    QStringList items;
    int width = 120;
    if (kind == QLatin1String("COM")) {
        for (int n = 1; n <= 99; ++n)
            items << QStringLiteral("COM") + QString::number(n);
        index = DecimalValue(first.Value);
    } else if (kind == QLatin1String("LPT")) {
        items << QStringLiteral("LPT1") << QStringLiteral("LPT2") << QStringLiteral("LPT3");
        index = DecimalValue(first.Value);
    } else if (kind == QLatin1String("JOYST")) {
        if (sources.Joysticks)
            joysticks = sources.Joysticks();
        const int current = DecimalValue(first.Value);
        for (size_t k = 0; k < joysticks.size(); ++k) {
            items << QStringLiteral("Joystick #") + QString::number(joysticks[k]);
            if (joysticks[k] == current)
                index = int32_t(k + 1);
        }
        width = 200;
    } else if (kind == QLatin1String("MIDI IN") || kind == QLatin1String("MIDI OUT")) {
        const auto& list = kind == QLatin1String("MIDI IN") ? sources.MidiInputs : sources.MidiOutputs;
        if (list)
            items = list();
        index = DecimalValue(first.Value);
        width = 200;
    }
    if (combo) {
        items = NoneAnd(items);
        if (index < 0 || index >= items.size())
            index = 0;
        sheet.AddComboProp(kind, index, items, width);
    } else if (kind == QLatin1String("ADDRESS")) {
        sheet.AddEditProp(kind, text, 15, 120);
    } else {
        sheet.AddEditProp(kind, text, 4, 120);
    }
    if (dialog.Execute() != mrOk)
        return;
    QString value;
    if (kind == QLatin1String("JOYST"))
        value = QString::number(index > 0 ? joysticks[size_t(index - 1)] : 0);
    else if (combo)
        value = QString::number(index);
    else if (kind == QLatin1String("ADDRESS"))
        value = text;
    else
        value = WordToHex(HexToWord(text));
    for (int row : rows)
        Grid[size_t(row)].Value = value;
    FillList();
    for (int row : rows)
        NewGrid->List().SetSelected(row, true);
    UpdateChangeButton();
}

THardware_Dlg& Hardware_Dlg()
{
    if (!g_dialog) {
        g_dialog = new THardware_Dlg;
        qAddPostRoutine([] {
            delete g_dialog;
            g_dialog = nullptr;
        });
    }
    return *g_dialog;
}

int EditHardwareConnections(TPlatine& topBoard)
{
    const QString fileName = QDir(QDir::tempPath()).filePath(QStringLiteral("TEMP.INI"));
    QFile::remove(fileName);
    {
        TIniFile ini(fileName);
        int32_t number = 1;
        SaveHardwareSettings(topBoard, ini, number);
        if (!ini.UpdateFile()) {
            MessageDlg(ini.LastError(), mtError, mbOK);
            return mrCancel;
        }
    }
    THardware_Dlg& dialog = Hardware_Dlg();
    dialog.LoadHardwareIni(fileName);
    dialog.setWindowFlag(Qt::WindowContextHelpButtonHint, !Ctx().RuntimeMode);
    const int result = ShowModal(dialog);
    if (result == mrOk) {
        dialog.SaveHardwareIni(fileName);
        TIniFile ini(fileName);
        int32_t number = 1;
        LoadHardwareSettings(topBoard, ini, number);
    }
    QFile::remove(fileName);
    return result;
}
