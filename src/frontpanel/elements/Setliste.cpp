#include "frontpanel/elements/Setliste.h"

#include "core/model/Translator.h"
#include "frontpanel/FrontPanelRecord.h"
#include "frontpanel/web/WebPublishing.h"
#include "platform/Colors.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "platform/IniFile.h"
#include "platform/MessageBox.h"
#include "ui/Formats.h"
#include "ui/PropertySheet.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFocusEvent>
#include <QPalette>

#include <cmath>

namespace {

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
    : TListElement(owner)
{
    Liste = new TSetlisteBox(this);
    Liste->setFont(QFont(QStringLiteral("Arial")));
    Liste->setFrameShape(QFrame::NoFrame);
    Liste->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(Liste, &QListWidget::itemClicked, this, [this] { LoadSelected(); });
    Hint = Lang3Q("Setliste", "Setlist", "Liste de réglages");
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
    TListElement::HotkeyAction(action);
    LoadSelected();
}

QStringList TSetliste::Items() const
{
    QStringList items;
    for (int i = 0; i < Count(); ++i)
        items << Liste->item(i)->text();
    return items;
}

void TSetliste::ApplyListColors()
{
    if (!Liste)
        return;
    QPalette pal = Liste->palette();
    pal.setColor(QPalette::Base, TColorToQColor(HintergrundFarbe));
    pal.setColor(QPalette::Window, TColorToQColor(HintergrundFarbe));
    pal.setColor(QPalette::Text, TColorToQColor(ListFontColor));
    Liste->setPalette(pal);
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
    int32_t colour = ListFontColor;
    const int result = RunListDialog(18140, Translate(QStringLiteral("Text")), colour, [](TPropScrollbox&) {});
    if (result == 1) {
        ListFontColor = colour;
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
    WriteListForm(lines,
                  QStringLiteral("<form style=\"display:inline;\" action=\"%1/Submit\">")
                      .arg(HtmlText(WebState().BaseAddress)),
                  int(std::nearbyint(1.5 * Liste->width())), ListFontColor, nullptr);
}
