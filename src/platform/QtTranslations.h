#pragma once
// Qt's own texts (file dialogs, standard buttons, edit menus) in the program's language: the
// translation files of Qt ("qtbase_de.qm", "qtbase_fr.qm") from Qt's translation folder.

#include <QString>

// Installs Qt's translation for language 0 (German), 1 (English) or 2 (French), replacing the
// one installed before; English needs none. From `folder` (empty: Qt's own folder). False when
// a translation was wanted but could not be read.
bool InstallQtTranslations(int language, const QString& folder = QString());
