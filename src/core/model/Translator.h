#pragma once
// The program-wide word table: German words and phrases of the settings dialogs mapped to
// the current language, and the language number read from "SPRACHE.INI".

#include <QString>
#include <vector>

// One entry of the word table.
struct TTranslation {
    QString German;
    QString English;
    QString French;
};

// Creates the table with its standard entries (a table built before is replaced).
void BuildTranslationTable();
// Appends one entry.
void AddTranslation(const QString& german, const QString& english, const QString& french);
// The word in the current language: the first entry whose German text equals germanWord
// exactly (case-sensitive); "???" when none matches or the table is not built.
QString Translate(const QString& germanWord);
// Frees the table; lookups then answer "???".
void FreeTranslationTable();
// The entries in table order (empty when the table is not built).
const std::vector<TTranslation>& TranslationEntries();

// Key "Sprache" of section "Sprache" in "SPRACHE.INI" beside the program: 0 German,
// 1 English, 2 French. A missing file or key, and any other value, give 0.
int ReadLanguageSetting();
