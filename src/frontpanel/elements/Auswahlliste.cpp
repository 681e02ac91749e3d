#include "frontpanel/elements/Auswahlliste.h"

#include "core/model/Translator.h"
#include "frontpanel/elements/EntryField.h"
#include "frontpanel/web/WebPublishing.h"
#include "platform/Colors.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "platform/IniFile.h"
#include "ui/Formats.h"
#include "ui/Hotkey.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"
#include "widgets/ComboBox.h"

#include <QEvent>
#include <QPalette>

#include <algorithm>

namespace {
constexpr int kHotkeys = 10;
} // namespace

// --- Shared by the two lists -------------------------------------------------------------------

int ListActionIndex(int32_t action, int index, int count, int start)
{
    switch (action) {
    case 1: return count > 0 ? 0 : -1;
    case 2: return count - 1;
    case 3: return start;
    case 4: return index + 1 < count ? index + 1 : index;
    case 5: return index > 0 ? index - 1 : index;
    default: return index;
    }
}

void WriteListWebForm(TFP_Element& element, QStringList& lines, const QString& formLine,
                      const QString& selectStyle, const QString* shownText,
                      const QStringList& entries, int selected)
{
    element.WriteWebTitle(lines);
    lines << QStringLiteral("</BR>");
    lines << formLine;
    QString select = QStringLiteral("<select style=\"") + selectStyle + QStringLiteral("\" name=\"") +
                     HtmlText(element.WebFieldName());
    if (shownText)
        select += QStringLiteral("\" Value=\"") + HtmlText(*shownText) + QStringLiteral("\">");
    else
        select += QStringLiteral("\">");
    lines << select;
    for (int i = 0; i < entries.size(); ++i)
        lines << QStringLiteral("<option VALUE=\"") + QString::number(i) +
                     (i == selected ? QStringLiteral("\"selected>") : QStringLiteral("\">")) +
                     HtmlText(entries[i]);
    lines << QStringLiteral("</select>");
    lines << QStringLiteral("<input type=\"submit\" value=\"") +
                 HtmlText(Translate(QStringLiteral("Absenden"))) + QStringLiteral("\">");
    lines << QStringLiteral("</form>");
}

int SubmittedListIndex(const QString& text, int count)
{
    bool ok = false;
    const int index = text.trimmed().toInt(&ok);
    return ok && index >= 0 && index < count ? index : -1;
}

// --- The selection list ------------------------------------------------------------------------

TAuswahlliste::TAuswahlliste(QWidget* owner)
    : TFP_Element(owner)
{
    Liste = new TWLXComboBox(this);
    Liste->SetStyle(TWLXComboStyle::csDropDownList);
    Liste->setFont(QFont(QStringLiteral("Arial")));
    Liste->setMaxVisibleItems(16);
    Liste->installEventFilter(this);
    connect(Liste, &QComboBox::currentIndexChanged, this, [this](int index) { Auswahl = index; });
    Hint = Lang3Q("Auswahlliste", "Selection", "Sélection");
    for (int i = 0; i < kHotkeys; ++i) {
        THotkey& hotkey = AddHotkey();
        hotkey.OnPress = [this](THotkey* sender) { HotkeyAction(sender->Action); };
    }
    ActionNames = {QStringLiteral(" ---"), QStringLiteral("= MIN"), QStringLiteral("= MAX"),
                   QStringLiteral("= RST"), QStringLiteral("= INC"), QStringLiteral("= DEC")};
    SetHintergrundFarbe(0);
    ApplyListColors();
    resize(96, 21);
    FitToList();
}

QStringList TAuswahlliste::Items() const
{
    QStringList items;
    for (int i = 0; i < Liste->count(); ++i)
        items << Liste->itemText(i);
    return items;
}

void TAuswahlliste::SetItems(const QStringList& items)
{
    const int keep = Auswahl;
    const QSignalBlocker block(Liste);
    Liste->clear();
    Liste->addItems(items);
    Liste->SetItemIndex(keep);
    Auswahl = Liste->ItemIndex();
}

int TAuswahlliste::Count() const
{
    return Liste->count();
}

void TAuswahlliste::Select(int index)
{
    Liste->SetItemIndex(index);
    Auswahl = Liste->ItemIndex();
}

QString TAuswahlliste::ShownText() const
{
    return Liste->ItemIndex() >= 0 ? Liste->currentText() : QString();
}

void TAuswahlliste::SetZeichenFarbe(int32_t colour)
{
    ZeichenFarbe = colour;
    ApplyListColors();
    update();
}

void TAuswahlliste::ApplyListColors()
{
    QPalette pal = Liste->palette();
    const QColor back = TColorToQColor(HintergrundFarbe);
    const QColor text = TColorToQColor(ZeichenFarbe);
    for (QPalette::ColorRole role : {QPalette::Base, QPalette::Button, QPalette::Window})
        pal.setColor(role, back);
    for (QPalette::ColorRole role : {QPalette::Text, QPalette::ButtonText, QPalette::WindowText})
        pal.setColor(role, text);
    Liste->setPalette(pal);
}

void TAuswahlliste::HotkeyAction(int32_t action)
{
    Select(ListActionIndex(action, Liste->ItemIndex(), Count(), Vorgabe));
}

void TAuswahlliste::ApplyStartValue()
{
    Select(Vorgabe);
}

void TAuswahlliste::SetHintergrundFarbe(int32_t color)
{
    const bool changed = color != HintergrundFarbe;
    TFP_Element::SetHintergrundFarbe(color);
    if (changed && Liste)
        ApplyListColors();
}

void TAuswahlliste::SaveSettings(TIniFile& ini, const QString& path)
{
    ini.WriteInteger(path + QLatin1Char('.') + ElementName, QStringLiteral("Value"), Liste->ItemIndex());
}

bool TAuswahlliste::LoadSettings(TIniFile& ini, const QString& path, bool checkOnly)
{
    const QString section = path + QLatin1Char('.') + ElementName;
    if (checkOnly)
        return ini.ValueExists(section, QStringLiteral("Value"));
    Select(ini.ReadInteger(section, QStringLiteral("Value"), Vorgabe));
    return true;
}

void TAuswahlliste::WriteElementData(TWriter& writer)
{
    TFP_Element::WriteElementData(writer);
    const QStringList items = Items();
    writer.WriteInteger(int32_t(items.size()));
    for (const QString& item : items)
        writer.WriteString(item);
    writer.WriteRawInt32(ZeichenFarbe);
    writer.WriteRawInt32(HintergrundFarbe);
    writer.WriteInteger(Vorgabe);
}

void TAuswahlliste::ReadElementData(TReader& reader, uint8_t version)
{
    TFP_Element::ReadElementData(reader, version);
    const int32_t n = TReader::CheckCount(reader.ReadInteger(), 0, 1000000, "Entries");
    QStringList items;
    for (int32_t i = 0; i < n; ++i)
        items << reader.ReadString();
    SetItems(items);
    SetZeichenFarbe(reader.ReadRawInt32());
    HintergrundFarbe = reader.ReadRawInt32();
    ApplyListColors();
    Vorgabe = reader.ReadInteger();
    Select(Vorgabe);
    FitToList();
    update();
}

int TAuswahlliste::EditProperties()
{
    TDefault_Dlg& dlg = Default_Dlg();
    dlg.setWindowTitle(Hint);
    dlg.HelpContext = 18125;
    TPropScrollbox& sheet = *dlg.PropScrollbox;
    auto tr = [](const char* german) { return Translate(QString::fromUtf8(german)); };
    int32_t colour = ZeichenFarbe;
    sheet.AddColorProp(tr("Farbe"), colour);
    int32_t background = HintergrundFarbe;
    const bool ownBackground = !BackgroundFromPanel && !GetBisteTransparent();
    if (ownBackground)
        sheet.AddColorProp(tr("Hintergrund"), background);
    int32_t preset = std::clamp(Vorgabe, 0, 15);
    sheet.AddSpinProp(tr("Vorgabe"), preset, 0, 15, 64);
    sheet.AddCaptionProp(tr("Text"));
    QStringList items = Items();
    sheet.AddMemoProp(tr("Text"), items, 250, 150);
    sheet.AddCaptionProp(tr("Hotkeys"));
    for (int i = 0; i < kHotkeys; ++i)
        sheet.AddHotkeyProp(tr("Hotkey") + QStringLiteral(" %1").arg(i + 1), *Hotkeys[size_t(i)], &ActionNames);
    sheet.AddCaptionProp(tr("Optionen"));
    sheet.AddEditProp(tr("Hinweistext"), Hint, 0, 190);
    if (userEdit)
        sheet.AddCheckProp(tr("Zur Laufzeit einstellbar"), LaufzeitEinstellbar);
    const int result = dlg.Execute();
    if (result == 1) {
        ZeichenFarbe = colour;
        if (ownBackground)
            SetHintergrundFarbe(background);
        Vorgabe = preset;
        SetItems(items);
        FitToList();
    }
    SetZeichenFarbe(ZeichenFarbe);
    if (OnItemsChanged)
        OnItemsChanged();
    return result;
}

void TAuswahlliste::FitToList()
{
    const int f = FrameWidth();
    const int listHeight = Liste->sizeHint().height();
    setFixedHeight(listHeight + 2 * f);
    Liste->setGeometry(f, f, std::max(0, width() - 2 * f), listHeight);
}

void TAuswahlliste::resizeEvent(QResizeEvent* event)
{
    TFP_Element::resizeEvent(event);
    FitToList();
}

bool TAuswahlliste::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Liste && event->type() == QEvent::MouseButtonDblClick) {
        DblClickEdit();
        return true;
    }
    return TFP_Element::eventFilter(watched, event);
}

// --- Web ---------------------------------------------------------------------------------------

void TAuswahlliste::WriteWebElement(QStringList& lines)
{
    const QString style = QStringLiteral("width:") + QString::number(Liste->width()) +
                          QStringLiteral("px; color:") + ColorToHtml(ZeichenFarbe) +
                          QStringLiteral(";BACKGROUND-COLOR:") + ColorToHtml(HintergrundFarbe);
    const QString shown = ShownText();
    WriteListWebForm(*this, lines,
                     QStringLiteral("<form style=\"display:inline;\" action=\"%1/Submit\"> ")
                         .arg(HtmlText(WebState().BaseAddress)),
                     style, &shown, Items(), Liste->ItemIndex());
}

void TAuswahlliste::WriteWebSnapshot(QStringList& lines)
{
    WriteWebImageMap(lines);
}

void TAuswahlliste::WriteWebImageMap(QStringList& lines)
{
    WriteWholeElementImageMap(*this, lines);
}

void TAuswahlliste::WebSubmit(const QString& value)
{
    const int index = SubmittedListIndex(value, Count());
    if (index >= 0)
        Select(index);
}
