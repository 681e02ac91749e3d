#pragma once
// The help window: the program's help pages (HTML files beside the program) in a browser of
// its own, with back, forward and the contents page. One window serves every request; it
// reads only local files.

#include <QUrl>
#include <QWidget>

class QTextBrowser;
class QToolButton;

class THelpWindow : public QWidget {
public:
    explicit THelpWindow(QWidget* parent = nullptr);

    // Shows the page (a local file) and brings the window to the front; false when the file
    // cannot be read.
    bool ShowPage(const QUrl& page);

    QTextBrowser* Browser = nullptr;
    QToolButton* BackBtn = nullptr;
    QToolButton* ForwardBtn = nullptr;
    QToolButton* ContentsBtn = nullptr;

private:
    void LinkClicked(const QUrl& link);
    QUrl m_contents;  // the contents page of the folder last shown
};

// The one help window (nullptr until the first page is shown or after it was closed).
THelpWindow* HelpWindow();
// Makes the help window the viewer of the program's help requests.
void InstallHelpWindow();
