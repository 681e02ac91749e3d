#pragma once
// The shared progress window of long operations (opening a project, preparing a run): a
// caption and a bar, shown while an operation reports through the progress functions.

#include "platform/Progress.h"

#include <QDialog>

class QLabel;
class QProgressBar;

class TProgressWindow : public QDialog, public IProgressSink {
public:
    explicit TProgressWindow(QWidget* parent = nullptr);

    void Begin(const QString& caption, bool showWindow) override;
    void SetCaption(const QString& caption) override;
    void SetPosition(int percent) override;
    void End() override;

    QLabel* Caption = nullptr;
    QProgressBar* Bar = nullptr;

private:
    // Paints the window at once; the operation holds the event loop until it ends.
    void Refresh();
};
