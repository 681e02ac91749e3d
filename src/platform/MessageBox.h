#pragma once
// The one message-box layer. Every box of the program goes through here: tests install a
// responder that answers and records; a headless run (offscreen or minimal platform, no
// QApplication) prints the box to stderr and takes its default, so it never waits for a click.

#include <QString>

#include <deque>
#include <functional>
#include <vector>

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

using TMsgDlgButtons = int;
enum : int {
    mbYes = 1,
    mbNo = 2,
    mbOK = 4,
    mbCancel = 8,
    mbAbort = 16,
    mbRetry = 32,
    mbIgnore = 64,
};
constexpr TMsgDlgButtons mbYesNo = mbYes | mbNo;
constexpr TMsgDlgButtons mbYesNoCancel = mbYes | mbNo | mbCancel;
constexpr TMsgDlgButtons mbOKCancel = mbOK | mbCancel;

enum : int {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7,
};

struct TMessageRequest {
    QString text;
    QString caption;
    TMsgDlgType type = mtCustom;
    TMsgDlgButtons buttons = mbOK;
    // The result the box gives when nobody chooses: the caller's default, else the first of
    // OK, Yes, Cancel, No, Abort, Ignore, Retry that the buttons hold.
    int defaultResult = mrOk;
};

using TMessageResponder = std::function<int(const TMessageRequest&)>;

// A box with a caption by type in the current language. Returns the chosen mr* result.
int MessageDlg(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext = 0,
               int defaultResult = mrNone);
// A plain information box with an OK button and the application's title.
void ShowMessage(const QString& text);
// A box with the caller's caption.
int MessageBoxText(const QString& text, const QString& caption, TMsgDlgButtons buttons,
                   TMsgDlgType type);

// An OK box with the caller's caption (the type's caption when empty), shown once the running
// simulation step is over: the event loop shows it, so that the step never waits for a click
// (a box inside the step would run the event loop in the middle of it). Without an
// application it is answered at once.
void MessageBoxAfterStep(const QString& text, const QString& caption, TMsgDlgType type);

// Installs a function that answers every box instead of the user; an empty one removes it.
void SetMessageResponder(TMessageResponder responder);

// True when no window can be shown to a person: no QApplication, not the GUI thread, or the
// offscreen/minimal platform.
bool IsHeadlessSession();

// The caption a box of this type carries in the current language.
QString MessageCaption(TMsgDlgType type);

// For tests: answers boxes for its lifetime, records every request, and answers from a queue
// (the request's default once the queue is empty). Restores the previous responder.
class TScopedMessageResponder {
public:
    TScopedMessageResponder();
    ~TScopedMessageResponder();
    TScopedMessageResponder(const TScopedMessageResponder&) = delete;
    TScopedMessageResponder& operator=(const TScopedMessageResponder&) = delete;

    // Queues the result of the next unanswered box.
    void Answer(int result);
    const std::vector<TMessageRequest>& Requests() const { return m_requests; }
    void Clear() { m_requests.clear(); }

private:
    int Respond(const TMessageRequest& request);

    std::vector<TMessageRequest> m_requests;
    std::deque<int> m_answers;
    TMessageResponder m_previous;
};
