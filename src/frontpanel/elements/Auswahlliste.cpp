#include "frontpanel/elements/Auswahlliste.h"

#include "core/model/Translator.h"
#include "frontpanel/web/WebPublishing.h"
#include "platform/Colors.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "platform/IniFile.h"
#include "ui/PropertySheet.h"
#include "widgets/ComboBox.h"

#include <QEvent>
#include <QPalette>

#include <algorithm>

TAuswahlliste::TAuswahlliste(QWidget* owner)
    : TListElement(owner)
{
    Liste = new TWLXComboBox(this);
    Liste->SetStyle(TWLXComboStyle::csDropDownList);
    Liste->setFont(QFont(QStringLiteral("Arial")));
    Liste->setMaxVisibleItems(16);
    Liste->installEventFilter(this);
    connect(Liste, &QComboBox::currentIndexChanged, this, [this](int index) { Auswahl = index; });
    Hint = Lang3Q("Auswahlliste", "Selection", "Sélection");
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

int TAuswahlliste::ItemIndex() const
{
    return Liste->ItemIndex();
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
    if (!Liste)
        return;
    QPalette pal = Liste->palette();
    const QColor back = TColorToQColor(HintergrundFarbe);
    const QColor text = TColorToQColor(ZeichenFarbe);
    for (QPalette::ColorRole role : {QPalette::Base, QPalette::Button, QPalette::Window})
        pal.setColor(role, back);
    for (QPalette::ColorRole role : {QPalette::Text, QPalette::ButtonText, QPalette::WindowText})
        pal.setColor(role, text);
    Liste->setPalette(pal);
}

void TAuswahlliste::SaveSettings(TIniFile& ini, const QString& path)
{
    ini.WriteInteger(path + QLatin1Char('.') + ElementName, QStringLiteral("Value"), ItemIndex());
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
    const int32_t n = reader.ReadCount("Entries");
    QStringList items;
    for (int32_t i = 0; i < n; ++i)
        items << reader.ReadString();
    SetItems(items);
    ZeichenFarbe = reader.ReadRawInt32();
    HintergrundFarbe = reader.ReadRawInt32();
    SetZeichenFarbe(ZeichenFarbe);
    Vorgabe = reader.ReadInteger();
    Select(Vorgabe);
    FitToList();
}

int TAuswahlliste::EditProperties()
{
    int32_t colour = ZeichenFarbe;
    int32_t preset = std::clamp(Vorgabe, 0, 15);
    QStringList items = Items();
    const int result = RunListDialog(18125, Translate(QStringLiteral("Farbe")), colour, [&](TPropScrollbox& sheet) {
        sheet.AddSpinProp(Translate(QStringLiteral("Vorgabe")), preset, 0, 15, 64);
        sheet.AddCaptionProp(Translate(QStringLiteral("Text")));
        sheet.AddMemoProp(Translate(QStringLiteral("Text")), items, 250, 150);
    });
    if (result == 1) {
        ZeichenFarbe = colour;
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

void TAuswahlliste::WriteWebElement(QStringList& lines)
{
    const QString shown = ShownText();
    WriteListForm(lines,
                  QStringLiteral("<form style=\"display:inline;\" action=\"%1/Submit\"> ")
                      .arg(HtmlText(WebState().BaseAddress)),
                  Liste->width(), ZeichenFarbe, &shown);
}
