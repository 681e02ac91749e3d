#pragma once
// Help pages: HTML files in the program folder's "help/" folder, one per topic number.

#include <QUrl>

#include <functional>

// Opens help/<context>.html; says so when the topic has no page.
void OpenHelpTopic(int context);
// Opens help/index.html; says so when it is missing.
void OpenHelpContents();

// Replaces the desktop's URL opener (tests); an empty function restores it.
void SetUrlOpenerForTesting(std::function<bool(const QUrl&)> opener);

class QEvent;
// True when the event asks a window for its help page: the title bar's help button (the
// what's-this mode is left again at once) or F1. Dialogs call it from event().
bool IsHelpRequest(QEvent* event);
