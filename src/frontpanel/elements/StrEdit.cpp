#include "frontpanel/elements/StrEdit.h"

#include "core/model/Translator.h"
#include "frontpanel/elements/ElementRows.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "platform/IniFile.h"
#include "ui/PropertySheet.h"

namespace {
constexpr int kHotkeys = 5;
} // namespace

TFP_Str_Edit::TFP_Str_Edit(QWidget* owner)
    : TEntryField(owner)
{
    resize(160, 21);
    Hint = Lang3Q("Texteingabe", "Text input", "Entrée texte");
    AddActionHotkeys(*this, kHotkeys, [this](int32_t action) { HotkeyAction(action); });
    ActionNames = {QStringLiteral(" ---"), QStringLiteral("= CLR"), QStringLiteral("= RST")};
    SetEditText(Vorgabe);
}

void TFP_Str_Edit::AcceptInput()
{
    Wert = EditText();
    FireSetWert();
    ShowAccepted();
}

void TFP_Str_Edit::TakeText(const QString& text)
{
    SetEditText(text);
    FireSetWert();
    AcceptInput();
}

void TFP_Str_Edit::HotkeyAction(int32_t action)
{
    if (action == 1)
        Wert.clear();
    else if (action == 2)
        Wert = Vorgabe;
    TakeText(Wert);
}

void TFP_Str_Edit::ApplyStartValue()
{
    Wert = Vorgabe;
    TakeText(Wert);
}

void TFP_Str_Edit::SaveSettings(TIniFile& ini, const QString& path)
{
    ini.WriteString(path + QLatin1Char('.') + ElementName, QStringLiteral("Value"), Wert);
}

bool TFP_Str_Edit::LoadSettings(TIniFile& ini, const QString& path, bool checkOnly)
{
    const QString section = path + QLatin1Char('.') + ElementName;
    bool result = true;
    if (checkOnly) {
        result = ini.ValueExists(section, QStringLiteral("Value"));
    } else {
        Wert = ini.ReadString(section, QStringLiteral("Value"), QString());
        SetEditText(Wert);
        FireSetWert();
    }
    AcceptInput();
    return result;
}

void TFP_Str_Edit::WebSubmit(const QString& value)
{
    TakeText(value);
}

int TFP_Str_Edit::EditProperties()
{
    QString preset = Vorgabe;
    const int result = RunPropertyDialog(18180, [&](TPropScrollbox& sheet) {
        sheet.AddEditProp(Translate(QStringLiteral("Vorgabe")), preset, 0, 190);
    });
    if (result == 1)
        Vorgabe = preset;
    return result;
}

void TFP_Str_Edit::WriteVorgabe(TWriter& writer)
{
    writer.WriteString(Vorgabe);
}

void TFP_Str_Edit::ReadVorgabe(TReader& reader)
{
    Vorgabe = reader.ReadString();
}

void TFP_Str_Edit::ShowVorgabe()
{
    SetEditText(Vorgabe);
}
