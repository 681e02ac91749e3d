#include "core/model/Translator.h"

#include "platform/Context.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"

#include <memory>

namespace {
std::unique_ptr<std::vector<TTranslation>> g_table;
}

void AddTranslation(const QString& german, const QString& english, const QString& french)
{
    if (!g_table)
        g_table = std::make_unique<std::vector<TTranslation>>();
    g_table->push_back({german, english, french});
}

QString Translate(const QString& germanWord)
{
    if (g_table) {
        for (const TTranslation& entry : *g_table) {
            if (entry.German != germanWord)
                continue;
            switch (Ctx().CurrentLanguage) {
            case 0:
                return entry.German;
            case 1:
                return entry.English;
            case 2:
                return entry.French;
            default:
                return QStringLiteral("???");
            }
        }
    }
    return QStringLiteral("???");
}

void FreeTranslationTable()
{
    g_table.reset();
}

const std::vector<TTranslation>& TranslationEntries()
{
    static const std::vector<TTranslation> empty;
    return g_table ? *g_table : empty;
}

int ReadLanguageSetting()
{
    // The file name is matched without regard to case ("Sprache.ini" is found as well).
    const TIniFile ini(ProgramPath(QStringLiteral("SPRACHE.INI")));
    const int language = ini.ReadInteger(QStringLiteral("Sprache"), QStringLiteral("Sprache"), 0);
    // Only 0..2 name a language; anything else would leave every translated text as "???".
    return (language >= 0 && language <= 2) ? language : 0;
}
