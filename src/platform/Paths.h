#pragma once
// File names as the program stores them (Windows style: "Settings\QUORIN.INI", "C:\a\b.prj")
// turned into paths of this system.

#include <QString>

// "\" becomes "/", a drive prefix ("C:") is dropped, a relative name is taken under baseFolder
// (the current folder when baseFolder is empty), and every component is matched without regard
// to case against what exists on disk (an exact match first, else the first match in name
// order). Components that do not exist are kept as written, so the result can name a file that
// is about to be created. A trailing separator is kept.
QString ResolvePath(const QString& stored, const QString& baseFolder = QString());

// A name relative to the program folder (Ctx().ProgramFolder), resolved as above.
QString ProgramPath(const QString& relative);

// Creates the missing folder of a file about to be written. False with *error (a text in the
// current language naming the folder) when it cannot be made.
bool EnsureFolderFor(const QString& filePath, QString* error = nullptr);
