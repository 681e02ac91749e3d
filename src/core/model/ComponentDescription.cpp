#include "core/model/ComponentDescription.h"

#include "platform/Context.h"

namespace {

// Most pins a stored component may declare on one side.
constexpr int32_t MaxPinsPerSide = 256;

const char* const CategoryNames[PaletteCategoryCount] = {
    "Bedienung digital", "Bedienung analog", "Gatter", "Flipflops", "Zähler", "Register",
    "Schieberegister", "Multiplexer", "Arithmetik", "Ram && Rom", "Zeitgeber", "Diverses",
    "Allgemein, PC", "Berechnung", "AD/DA-Wandler", "Sonstige", "Anzeigen", "Digitales",
    "Kolter", "ELV", "ModulBus", "RS-232", "Uhren", "Dekoder", "Multimeter", "Relaiskarten",
    "Portzugriffe", "Digitales", "BMC", "Meilhaus", "Phidgets", "LabJack", "Hygrosens",
    "fischertechnik", "Regler", "Strings", "Schreiber", "Dateizugriff", "DDE", "Hotkeys",
    "Conrad", "Velleman", "OPC", "MIDI", "Vergleicher", "Verstärker", "Multiplexer", "Quellen",
    "Plus,Masse,Test", "Andere Hersteller", "Data Translation", "Modbus/TCP", "Modbus/RTU",
    "Korvan", "Code Mercenaries", "Toradex", "H-TRONIC", "Quancom"};

// "D0..3" as "D0", "D1", "D2", "D3"; false when token is no range.
bool ExpandRange(const QString& token, QStringList& names)
{
    const int dots = token.indexOf(QLatin1String(".."));
    if (dots < 0)
        return false;
    const QString left = token.left(dots);
    int digits = int(left.size());
    while (digits > 0 && left[digits - 1].isDigit())
        --digits;
    bool okFirst = false;
    bool okLast = false;
    const int first = left.mid(digits).toInt(&okFirst);
    const int last = token.mid(dots + 2).toInt(&okLast);
    if (!okFirst || !okLast)
        return false;
    const QString stem = left.left(digits);
    const int step = last >= first ? 1 : -1;
    for (int k = first;; k += step) {
        names << stem + QString::number(k);
        if (k == last)
            break;
    }
    return true;
}

QString PinCountFault(const TPinCount& count, const char* side)
{
    if (count.Lowest() < 0 || count.Lowest() > count.Default || count.Default > count.Highest()
        || count.Highest() > MaxPinsPerSide)
        return QStringLiteral("%1 count range").arg(QLatin1String(side));
    return QString();
}

} // namespace

QString TText3::In(int language) const
{
    if (language < 0 || language > 2)
        return QString();  // a language the program does not have
    const char* text = language == 1 ? English : language == 2 ? French : German;
    return QString::fromUtf8(text ? text : German);
}

QString TText3::Current() const
{
    return In(Ctx().CurrentLanguage);
}

QString PaletteCategoryName(TPaletteCategory category)
{
    const int row = int(category);
    if (row < 0 || row >= PaletteCategoryCount)
        return QString();
    return QString::fromUtf8(CategoryNames[row]);
}

QStringList ExpandPinNames(const char* list)
{
    QStringList names;
    if (!list)
        return names;
    const QStringList tokens =
        QString::fromUtf8(list).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString& token : tokens) {
        if (token == QLatin1String("-"))
            names << QString();
        else if (!ExpandRange(token, names))
            names << token;
    }
    return names;
}

QString DescriptionFault(const TComponentDescription& d)
{
    if (!d.Name || !*d.Name)
        return QStringLiteral("no name");
    if (!d.TypeName.German || !*d.TypeName.German)
        return QStringLiteral("no type name");
    if (d.HelpContext <= 0)
        return QStringLiteral("no help context");
    if (PaletteCategoryName(d.Category).isEmpty())
        return QStringLiteral("no palette category");
    QString fault = PinCountFault(d.Inputs, "input");
    if (fault.isEmpty())
        fault = PinCountFault(d.Outputs, "output");
    if (!fault.isEmpty())
        return fault;
    if (ExpandPinNames(d.InputNames).size() > d.Inputs.Highest())
        return QStringLiteral("more input names than inputs");
    if (ExpandPinNames(d.OutputNames).size() > d.Outputs.Highest())
        return QStringLiteral("more output names than outputs");
    return QString();
}
