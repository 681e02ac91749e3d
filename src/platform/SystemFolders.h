#pragma once
// The folders a Windows program finds through the system: its Windows folder and its system
// folder. Linux has neither; the files programs kept there (INI files, logs) belong in the
// user's configuration folder, so both name that folder here.

#include <QString>

// The user's configuration folder of the program (created when missing), without a trailing
// separator. Tests may point it elsewhere with SetSystemFolderRoot.
QString WindowsFolder();
QString SystemFolder();

// Replaces the folder both functions name (an empty text restores the default).
void SetSystemFolderRoot(const QString& folder);
