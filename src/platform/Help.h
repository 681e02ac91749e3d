#pragma once
// Help pages: HTML files in the program folder's "help/" folder, one folder per language
// ("help/de", "help/en"; French reads the English pages). A topic number (a window's or a
// component's help context) finds its page as "<number>.html" or through the topic table
// "help/topics.ini" ([Topics] number=page); a page is also opened by its name.

#include <QString>
#include <QUrl>

#include <functional>

// Opens the page of a help topic; without one, the page the fallback names; says so when
// there is none.
void OpenHelpTopic(int context);
// Opens the contents page ("index"); says so when it is missing.
void OpenHelpContents();
// Opens a page by its name (without ".html"); says so when it is missing.
void OpenHelpPage(const QString& name);
// The file of a page in the current language (the English or German one when that language
// has none); empty when there is none.
QString HelpPageFile(const QString& name);

// The page that answers a topic without a page of its own (the program names the group page of
// the topic's component); empty: none.
void SetHelpTopicFallback(std::function<QString(int context)> fallback);
// Shows help pages; without one the desktop's URL opener shows them.
void SetHelpViewer(std::function<bool(const QUrl&)> viewer);
// Replaces viewer and URL opener (tests); an empty function restores them.
void SetUrlOpenerForTesting(std::function<bool(const QUrl&)> opener);

class QEvent;
// True when the event asks a window for its help page: the title bar's help button (the
// what's-this mode is left again at once) or F1. Dialogs call it from event().
bool IsHelpRequest(QEvent* event);
