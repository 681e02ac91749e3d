#pragma once
// The one way to show a dialog modally. Tests install a responder that sets the dialog's
// values through its API and returns a modal result; a headless run without a responder
// cancels the dialog at once, so no test and no offscreen run can hang on a window.

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>

class QDialog;

// Shows the dialog modally and returns its modal result (mrOk, mrCancel ... of MessageBox.h).
// The dialog's own accept()/reject() give mrOk/mrCancel; a dialog may set another result
// with SetModalResult before it closes.
int ShowModal(QDialog& dialog);

// Sets the result that ShowModal returns when the dialog closes (e.g. mrYes from a button).
void SetModalResult(QDialog& dialog, int result);

using TDialogResponder = std::function<int(QDialog&)>;
void SetDialogResponder(TDialogResponder responder);

// For tests: answers dialogs for its lifetime from a queue of handlers (each gets the dialog
// and returns the modal result); with the queue empty it answers mrCancel. Counts the dialogs
// and remembers their window titles.
class TScopedDialogResponder {
public:
    TScopedDialogResponder();
    ~TScopedDialogResponder();
    TScopedDialogResponder(const TScopedDialogResponder&) = delete;
    TScopedDialogResponder& operator=(const TScopedDialogResponder&) = delete;

    void Answer(std::function<int(QDialog&)> handler);
    void AnswerResult(int result);
    int Count() const { return m_count; }
    const QStringList& Titles() const { return m_titles; }

private:
    int Respond(QDialog& dialog);
    std::deque<std::function<int(QDialog&)>> m_handlers;
    int m_count = 0;
    QStringList m_titles;
    TDialogResponder m_previous;
};
