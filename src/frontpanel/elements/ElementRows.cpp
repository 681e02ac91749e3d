#include "frontpanel/elements/ElementRows.h"

#include "core/model/Translator.h"
#include "frontpanel/FP_Element.h"
#include "frontpanel/web/WebPublishing.h"
#include "ui/Hotkey.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"

void AddActionHotkeys(TFP_Element& element, int count, const std::function<void(int32_t)>& onAction)
{
    for (int i = 0; i < count; ++i)
        element.AddHotkey().OnPress = [onAction](THotkey* sender) { onAction(sender->Action); };
}

TDefault_Dlg& ElementDialog(TFP_Element& element, int helpContext)
{
    TDefault_Dlg& dlg = Default_Dlg();
    dlg.setWindowTitle(element.Hint);
    dlg.HelpContext = helpContext;
    return dlg;
}

bool AddBackgroundRow(TFP_Element& element, TPropScrollbox& sheet, int32_t& background)
{
    if (element.BackgroundFromPanel || element.GetBisteTransparent())
        return false;
    sheet.AddColorProp(Translate(QStringLiteral("Hintergrund")), background);
    return true;
}

void AddHotkeyAndOptionRows(TFP_Element& element, TPropScrollbox& sheet, const QStringList& actionNames)
{
    sheet.AddCaptionProp(Translate(QStringLiteral("Hotkeys")));
    const QString hotkey = Translate(QStringLiteral("Hotkey"));
    for (size_t i = 0; i < element.Hotkeys.size(); ++i)
        sheet.AddHotkeyProp(hotkey + QStringLiteral(" %1").arg(i + 1), *element.Hotkeys[i], &actionNames);
    sheet.AddCaptionProp(Translate(QStringLiteral("Optionen")));
    sheet.AddEditProp(Translate(QStringLiteral("Hinweistext")), element.Hint, 0, 190);
    if (element.userEdit)
        sheet.AddCheckProp(Translate(QStringLiteral("Zur Laufzeit einstellbar")), element.LaufzeitEinstellbar);
}

void WriteWholeElementImageMap(TFP_Element& element, QStringList& lines)
{
    element.SaveSnapshot();
    const QString name = WebPictureName(element.GetRelativeName());
    lines << QStringLiteral("<img src=\"") + HtmlText(WebPictureUrl(element.GetRelativeName())) +
                 QStringLiteral("\" border=\"0\" alt=\"") + HtmlText(element.Hint) +
                 QStringLiteral("\" usemap=\"#") + HtmlText(name) + QStringLiteral("\">");
    lines << QStringLiteral("<map name=\"") + HtmlText(name) + QStringLiteral("\">");
    lines << element.WriteWebAreaRect(kWebActionRefresh, element.rect(), element.Hint);
    lines << QStringLiteral("</map>");
}
