#pragma once
// The program-wide progress display of long operations (opening files, preparing a run).
// Callers report through the free functions; the main window installs the sink that shows a
// progress window. Without a sink every call does nothing.

#include <QString>

class IProgressSink {
public:
    virtual ~IProgressSink() = default;
    // Position 0, the caption, and the window shown when showWindow is set.
    virtual void Begin(const QString& caption, bool showWindow) = 0;
    virtual void SetCaption(const QString& caption) = 0;
    virtual void SetPosition(int percent) = 0;  // 0 .. 100
    virtual void End() = 0;                     // closes the window
};

// Installs the sink (not owned); nullptr removes it. Returns the sink installed before.
IProgressSink* SetProgressSink(IProgressSink* sink);
IProgressSink* ProgressSink();

void ProgressBegin(const QString& caption, bool showWindow);
void ProgressSetCaption(const QString& caption);
void ProgressSetPosition(int percent);  // clamped to 0 .. 100
void ProgressEnd();
