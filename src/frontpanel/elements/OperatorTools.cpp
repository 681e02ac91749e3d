#include "frontpanel/elements/OperatorTools.h"

#include "core/model/Translator.h"
#include "frontpanel/ElementRegistry.h"
#include "frontpanel/FP_Element.h"
#include "frontpanel/elements/FPJoystick.h"
#include "frontpanel/elements/HexInput.h"
#include "frontpanel/elements/Poti.h"
#include "frontpanel/elements/Slider.h"
#include "frontpanel/elements/Thumbwheel.h"
#include "frontpanel/web/WebPublishing.h"
#include "ui/Hotkey.h"
#include "ui/PropertySheet.h"

#include <QKeyEvent>

namespace operator_tools {

void AddActionHotkeys(TFP_Element& element, const std::function<void(int)>& press,
                      const std::function<void(int)>& release)
{
    for (int i = 0; i < kHotkeyCount; ++i) {
        THotkey& hotkey = element.AddHotkey();
        hotkey.OnPress = [press](THotkey* sender) { press(sender->Action); };
        if (release)
            hotkey.OnRelease = [release](THotkey* sender) { release(sender->Action); };
    }
}

void AddHotkeyRows(TFP_Element& element, TPropScrollbox& sheet, const QStringList& actions)
{
    sheet.AddCaptionProp(Tr("Hotkeys"));
    for (size_t i = 0; i < element.Hotkeys.size(); ++i)
        sheet.AddHotkeyProp(Tr("Hotkey") + QStringLiteral(" %1").arg(i + 1), *element.Hotkeys[i], &actions);
}

void AddOptionRows(TFP_Element& element, TPropScrollbox& sheet, int32_t* background)
{
    sheet.AddCaptionProp(Tr("Optionen"));
    if (background)
        sheet.AddColorProp(Tr("Hintergrund"), *background);
    sheet.AddEditProp(Tr("Hinweistext"), element.Hint, 0, 190);
    if (element.userEdit)
        sheet.AddCheckProp(Tr("Zur Laufzeit einstellbar"), element.LaufzeitEinstellbar);
}

void WriteMapElementPage(TFP_Element& element, QStringList& lines)
{
    element.WriteWebTitle(lines);
    lines << element.WebHeadLines;
    lines << QStringLiteral("<meta http-equiv=\"refresh\" content=\"3\">");
    element.WriteWebImageMap(lines);
    lines << element.WebFootLines;
}

void WriteMapPicture(TFP_Element& element, QStringList& lines)
{
    element.SaveSnapshot();
    const QString name = HtmlText(WebPictureName(element.GetRelativeName()));
    lines << QStringLiteral("<img src=\"") + WebPictureUrl(element.GetRelativeName()) +
                 QStringLiteral("\" border=\"0\" alt=\"") + HtmlText(element.Hint) +
                 QStringLiteral("\" usemap=\"#") + name + QStringLiteral("\">");
    lines << QStringLiteral("<map name=\"") + name + QStringLiteral("\">");
}

bool IsLongTick(int i, int start, int spacing, int& sinceLong)
{
    ++sinceLong;
    bool isLong = false;
    if (start >= 1) {
        if (i + 1 == start)
            isLong = true;
        else if (i + 1 > start && sinceLong >= spacing)
            isLong = true;
    }
    if (isLong)
        sinceLong = 0;
    return isLong;
}

TOperatingKey OperatingKeyOf(const QKeyEvent& event)
{
    switch (event.key()) {
    case Qt::Key_PageUp: return okUp;
    case Qt::Key_PageDown: return okDown;
    case Qt::Key_End: return okEnd;
    case Qt::Key_Home: return okHome;
    default: return okNone;
    }
}

QString Tr(const char* german)
{
    return Translate(QString::fromUtf8(german));
}

} // namespace operator_tools

void RegisterOperatorElements(TElementRegistry& registry)
{
    registry.RegisterElement<TPoti>();
    registry.RegisterElement<TDPoti>();
    registry.RegisterElement<TSlider>();
    registry.RegisterElement<TDSlider>();
    registry.RegisterElement<THexInput>();
    registry.RegisterElement<TFPJoystick>();
    registry.RegisterElement<TFPRaendel>();
}
