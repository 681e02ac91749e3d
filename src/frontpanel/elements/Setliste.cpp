#include "frontpanel/elements/Setliste.h"

#include "core/model/Translator.h"
#include "frontpanel/FrontPanelRecord.h"
#include "frontpanel/elements/Auswahlliste.h"
#include "frontpanel/elements/EntryField.h"
#include "frontpanel/web/WebPublishing.h"
#include "platform/Colors.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "platform/IniFile.h"
#include "platform/MessageBox.h"
#include "ui/Formats.h"
#include "ui/Hotkey.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFocusEvent>
#include <QPalette>

#include <cmath>

namespace {

constexpr int kHotkeys = 10;

// Clears the flag again however the load ends.
struct TKeepWindowWhileLoading {
    TKeepWindowWhileLoading() { EstKeepWindow() = true; }
    ~TKeepWindowWhileLoading() { EstKeepWindow() = false; }
};

// A settings file the front panel can read: a regular file of a size the INI reader takes,
// which opens.
bool SettingsFileReadable(const QString& file)
{
    const QFileInfo info(file);
    if (!info.isFile() || info.size() > TIniFile::kMaxIniFileSize)
        return false;
    QFile f(file);
    return f.open(QIODevice::ReadOnly);
}

} // namespace

// --- The list box --------------------------------------------------------------------------------

TSetlisteBox::TSetlisteBox(TSetliste* owner)
    : QListWidget(owner)
    , m_owner(owner)
{
}

void TSetlisteBox::focusOutEvent(QFocusEvent* event)
{
    QListWidget::focusOutEvent(event);
    setCurrentRow(-1);
    clearSelection();
}

void TSetlisteBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    QListWidget::mouseDoubleClickEvent(event);
    m_owner->DblClickEdit();
}

// --- The element ---------------------------------------------------------------------------------

TSetliste::TSetliste(QWidget* owner)
    : TFP_Element(owner)
{
    Liste = new TSetlisteBox(this);
    Liste->setFont(QFont(QStringLiteral("Arial")));
    Liste->setFrameShape(QFrame::NoFrame);
    Liste->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(Liste, &QListWidget::itemClicked, this, [this] { LoadSelected(); });
    Hint = Lang3Q("Setliste", "Setlist", "Liste de réglages");
    for (int i = 0; i < kHotkeys; ++i) {
        THotkey& hotkey = AddHotkey();
        hotkey.OnPress = [this](THotkey* sender) { HotkeyAction(sender->Action); };
    }
    ActionNames = {QStringLiteral(" ---"), QStringLiteral("= MIN"), QStringLiteral("= MAX"),
                   QStringLiteral("= RST"), QStringLiteral("= INC"), QStringLiteral("= DEC")};
    SetHintergrundFarbe(0);
    ApplyListColors();
    resize(96, 128);
}

void TSetliste::FillList()
{
    Liste->clear();
    m_files.clear();
    const QString folder = Ctx().ProjectFolder;
    if (folder.isEmpty())
        return;
    const QDir dir(folder);
    const QFileInfoList files = dir.entryInfoList({QStringLiteral("*.EST")},
                                                  QDir::Files | QDir::Hidden | QDir::System,
                                                  QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& info : files) {
        Liste->addItem(info.completeBaseName());
        m_files << info.absoluteFilePath();
    }
}

QString TSetliste::EntryFile(int index) const
{
    return index >= 0 && index < m_files.size() ? m_files[index] : QString();
}

void TSetliste::Select(int index)
{
    Liste->setCurrentRow(index >= 0 && index < Count() ? index : -1);
}

void TSetliste::LoadSelected()
{
    const int index = ItemIndex();
    if (index < 0)
        return;
    const QString file = EntryFile(index);
    if (!SettingsFileReadable(file)) {
        MessageBoxText(QString::fromUtf8(Lang3("Die Einstellungsdatei \"%1\" kann nicht gelesen werden.",
                                               "The settings file \"%1\" cannot be read.",
                                               "Le fichier de réglages \"%1\" ne peut pas être lu."))
                           .arg(QDir::toNativeSeparators(file)),
                       Hint, mbOK, mtError);
        return;
    }
    if (!EstLoadHook())
        return;
    {
        const TKeepWindowWhileLoading keep;
        EstLoadHook()(file);
    }
    FillList();
    Select(index);
}

void TSetliste::HotkeyAction(int32_t action)
{
    Select(ListActionIndex(action, ItemIndex(), Count(), Vorgabe));
    LoadSelected();
}

void TSetliste::ApplyListColors()
{
    QPalette pal = Liste->palette();
    pal.setColor(QPalette::Base, TColorToQColor(HintergrundFarbe));
    pal.setColor(QPalette::Window, TColorToQColor(HintergrundFarbe));
    pal.setColor(QPalette::Text, TColorToQColor(ListFontColor));
    Liste->setPalette(pal);
}

void TSetliste::ApplyStartValue()
{
    Select(Vorgabe);
}

void TSetliste::SetHintergrundFarbe(int32_t color)
{
    const bool changed = color != HintergrundFarbe;
    TFP_Element::SetHintergrundFarbe(color);
    if (changed && Liste)
        ApplyListColors();
}

void TSetliste::SaveSettings(TIniFile& ini, const QString& path)
{
    ini.WriteInteger(path + QLatin1Char('.') + ElementName, QStringLiteral("Index"), ItemIndex());
}

bool TSetliste::LoadSettings(TIniFile& ini, const QString& path, bool checkOnly)
{
    const QString section = path + QLatin1Char('.') + ElementName;
    if (checkOnly)
        return ini.ValueExists(section, QStringLiteral("Index"));
    const int index = ini.ReadInteger(section, QStringLiteral("Index"), Vorgabe);
    if (index < Count())
        Select(index);
    return true;
}

void TSetliste::WriteElementData(TWriter& writer)
{
    TFP_Element::WriteElementData(writer);
    writer.WriteInteger(ListFontColor);
    writer.WriteInteger(Vorgabe);
}

void TSetliste::ReadElementData(TReader& reader, uint8_t version)
{
    TFP_Element::ReadElementData(reader, version);
    ListFontColor = reader.ReadInteger();
    Vorgabe = reader.ReadInteger();
    ApplyListColors();
    Select(Vorgabe);
    update();
}

int TSetliste::EditProperties()
{
    TDefault_Dlg& dlg = Default_Dlg();
    dlg.setWindowTitle(Hint);
    dlg.HelpContext = 18140;
    TPropScrollbox& sheet = *dlg.PropScrollbox;
    auto tr = [](const char* german) { return Translate(QString::fromUtf8(german)); };
    int32_t colour = ListFontColor;
    sheet.AddColorProp(tr("Text"), colour);
    int32_t background = HintergrundFarbe;
    const bool ownBackground = !BackgroundFromPanel && !GetBisteTransparent();
    if (ownBackground)
        sheet.AddColorProp(tr("Hintergrund"), background);
    sheet.AddCaptionProp(tr("Hotkeys"));
    for (int i = 0; i < kHotkeys; ++i)
        sheet.AddHotkeyProp(tr("Hotkey") + QStringLiteral(" %1").arg(i + 1), *Hotkeys[size_t(i)], &ActionNames);
    sheet.AddCaptionProp(tr("Optionen"));
    sheet.AddEditProp(tr("Hinweistext"), Hint, 0, 190);
    if (userEdit)
        sheet.AddCheckProp(tr("Zur Laufzeit einstellbar"), LaufzeitEinstellbar);
    const int result = dlg.Execute();
    if (result == 1) {
        ListFontColor = colour;
        if (ownBackground)
            SetHintergrundFarbe(background);
        ApplyListColors();
    }
    update();
    return result;
}

void TSetliste::resizeEvent(QResizeEvent* event)
{
    TFP_Element::resizeEvent(event);
    const int f = FrameWidth();
    Liste->setGeometry(f, f, std::max(0, width() - 2 * f), std::max(0, height() - 2 * f));
}

// --- Web -----------------------------------------------------------------------------------------

void TSetliste::WriteWebElement(QStringList& lines)
{
    const int w = int(std::nearbyint(1.5 * Liste->width()));
    const QString style = QStringLiteral("width:") + QString::number(w) + QStringLiteral("px; color:") +
                          ColorToHtml(ListFontColor) + QStringLiteral(";BACKGROUND-COLOR:") +
                          ColorToHtml(HintergrundFarbe);
    QStringList entries;
    for (int i = 0; i < Count(); ++i)
        entries << Liste->item(i)->text();
    WriteListWebForm(*this, lines,
                     QStringLiteral("<form style=\"display:inline;\" action=\"%1/Submit\">")
                         .arg(HtmlText(WebState().BaseAddress)),
                     style, nullptr, entries, ItemIndex());
}

void TSetliste::WriteWebSnapshot(QStringList& lines)
{
    WriteWebImageMap(lines);
}

void TSetliste::WriteWebImageMap(QStringList& lines)
{
    WriteWholeElementImageMap(*this, lines);
}

void TSetliste::WebSubmit(const QString& value)
{
    const int index = SubmittedListIndex(value, Count());
    if (index < 0)
        return;
    Select(index);
    LoadSelected();
}
