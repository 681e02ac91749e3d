#include "frontpanel/elements/ListElement.h"

#include "core/model/Translator.h"
#include "frontpanel/elements/ElementRows.h"
#include "frontpanel/web/WebPublishing.h"
#include "ui/Formats.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"

namespace {
constexpr int kHotkeys = 10;
} // namespace

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

int SubmittedListIndex(const QString& text, int count)
{
    bool ok = false;
    const int index = text.trimmed().toInt(&ok);
    return ok && index >= 0 && index < count ? index : -1;
}

TListElement::TListElement(QWidget* owner)
    : TFP_Element(owner)
{
    AddActionHotkeys(*this, kHotkeys, [this](int32_t action) { HotkeyAction(action); });
    ActionNames = {QStringLiteral(" ---"), QStringLiteral("= MIN"), QStringLiteral("= MAX"),
                   QStringLiteral("= RST"), QStringLiteral("= INC"), QStringLiteral("= DEC")};
}

void TListElement::HotkeyAction(int32_t action)
{
    Select(ListActionIndex(action, ItemIndex(), Count(), Vorgabe));
}

void TListElement::ApplyStartValue()
{
    Select(Vorgabe);
}

void TListElement::SetHintergrundFarbe(int32_t color)
{
    const bool changed = color != HintergrundFarbe;
    TFP_Element::SetHintergrundFarbe(color);
    if (changed)
        ApplyListColors();
}

void TListElement::WriteWebSnapshot(QStringList& lines)
{
    WriteWebImageMap(lines);
}

void TListElement::WriteWebImageMap(QStringList& lines)
{
    WriteWholeElementImageMap(*this, lines);
}

void TListElement::WebSubmit(const QString& value)
{
    const int index = SubmittedListIndex(value, Count());
    if (index < 0)
        return;
    Select(index);
    Submitted();
}

int TListElement::RunListDialog(int helpContext, const QString& colourCaption, int32_t& colour,
                                const std::function<void(TPropScrollbox&)>& ownRows)
{
    TDefault_Dlg& dlg = ElementDialog(*this, helpContext);
    TPropScrollbox& sheet = *dlg.PropScrollbox;
    sheet.AddColorProp(colourCaption, colour);
    int32_t background = HintergrundFarbe;
    const bool ownBackground = AddBackgroundRow(*this, sheet, background);
    ownRows(sheet);
    AddHotkeyAndOptionRows(*this, sheet, ActionNames);
    const int result = dlg.Execute();
    if (result == 1 && ownBackground)
        SetHintergrundFarbe(background);
    return result;
}

void TListElement::WriteListForm(QStringList& lines, const QString& formLine, int width, int32_t fontColor,
                                 const QString* shownText)
{
    WriteWebTitle(lines);
    lines << QStringLiteral("</BR>");
    lines << formLine;
    QString select = QStringLiteral("<select style=\"width:") + QString::number(width) +
                     QStringLiteral("px; color:") + ColorToHtml(fontColor) +
                     QStringLiteral(";BACKGROUND-COLOR:") + ColorToHtml(HintergrundFarbe) +
                     QStringLiteral("\" name=\"") + HtmlText(WebFieldName());
    if (shownText)
        select += QStringLiteral("\" Value=\"") + HtmlText(*shownText);
    lines << select + QStringLiteral("\">");
    const QStringList entries = Items();
    const int selected = ItemIndex();
    for (int i = 0; i < entries.size(); ++i)
        lines << QStringLiteral("<option VALUE=\"") + QString::number(i) +
                     (i == selected ? QStringLiteral("\"selected>") : QStringLiteral("\">")) +
                     HtmlText(entries[i]);
    lines << QStringLiteral("</select>");
    lines << QStringLiteral("<input type=\"submit\" value=\"") +
                 HtmlText(Translate(QStringLiteral("Absenden"))) + QStringLiteral("\">");
    lines << QStringLiteral("</form>");
}
