#include "frontpanel/elements/NumEingabe.h"

#include "core/model/Translator.h"
#include "frontpanel/elements/ElementRows.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "platform/IniFile.h"
#include "ui/PropertySheet.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace {
constexpr int kHotkeys = 5;
} // namespace

TNumEingabe::TNumEingabe(QWidget* owner)
    : TEntryField(owner)
{
    resize(96, 21);
    Hint = Lang3Q("Numerische Eingabe", "Numeric input", "Entrée numérique");
    AddActionHotkeys(*this, kHotkeys, [this](int32_t action) { HotkeyAction(action); });
    ActionNames = {QStringLiteral(" ---"), QStringLiteral("= NUL"), QStringLiteral("= RST")};
    SetEditText(ShownText(Vorgabe));
}

double TNumEingabe::Finite(double value)
{
    if (std::isnan(value))
        return 0.0;
    constexpr double kLargest = std::numeric_limits<double>::max();
    return std::clamp(value, -kLargest, kLargest);
}

double TNumEingabe::ValueOfText(const QString& text)
{
    return Finite(static_cast<double>(TextToFloat(text)));
}

QString TNumEingabe::ShownText(double value)
{
    return QLatin1Char(' ') + FloatToText(value);
}

void TNumEingabe::AcceptInput()
{
    Wert = ValueOfText(EditText());
    SetEditText(ShownText(Wert));
    FireSetWert();
    ShowAccepted();
    Accepted = true;
}

void TNumEingabe::EditKeyDown()
{
    if (Accepted)
        SetEditText(QString());
    Accepted = false;
}

void TNumEingabe::TakeWert(double value)
{
    Wert = value;
    SetEditText(ShownText(Wert));
    FireSetWert();
    AcceptInput();
}

void TNumEingabe::HotkeyAction(int32_t action)
{
    if (action == 1)
        Wert = 0;
    else if (action == 2)
        Wert = Vorgabe;
    TakeWert(Wert);
}

void TNumEingabe::ApplyStartValue()
{
    TakeWert(Vorgabe);
}

void TNumEingabe::SaveSettings(TIniFile& ini, const QString& path)
{
    ini.WriteString(path + QLatin1Char('.') + ElementName, QStringLiteral("Value"), EditText());
}

bool TNumEingabe::LoadSettings(TIniFile& ini, const QString& path, bool checkOnly)
{
    const QString section = path + QLatin1Char('.') + ElementName;
    bool result = true;
    if (checkOnly) {
        result = ini.ValueExists(section, QStringLiteral("Value"));
    } else {
        const QString text = ini.ReadString(section, QStringLiteral("Value"), QStringLiteral("0"));
        SetEditText(QLatin1Char(' ') + text.trimmed());
        Wert = ValueOfText(text);
        FireSetWert();
    }
    AcceptInput();
    return result;
}

void TNumEingabe::WebSubmit(const QString& value)
{
    TakeWert(ValueOfText(value));
}

int TNumEingabe::EditProperties()
{
    QString preset = FloatToText(Vorgabe);
    const int result = RunPropertyDialog(18160, [&](TPropScrollbox& sheet) {
        sheet.AddEditProp(Translate(QStringLiteral("Vorgabe")), preset, 0, 64);
    });
    // Also after Cancel: the start value is what its row shows.
    Vorgabe = ValueOfText(preset);
    return result;
}

void TNumEingabe::WriteVorgabe(TWriter& writer)
{
    writer.WriteBuffer(&Vorgabe, sizeof(Vorgabe));
}

void TNumEingabe::ReadVorgabe(TReader& reader)
{
    const QByteArray raw = reader.ReadBytes(sizeof(double));
    double value = 0;
    std::memcpy(&value, raw.constData(), sizeof(value));
    Vorgabe = Finite(value);
}

void TNumEingabe::ShowVorgabe()
{
    SetEditText(ShownText(Vorgabe));
    Accepted = true;
}
