#include "platform/Progress.h"

#include <algorithm>

namespace {
IProgressSink* g_sink = nullptr;
} // namespace

IProgressSink* SetProgressSink(IProgressSink* sink)
{
    IProgressSink* previous = g_sink;
    g_sink = sink;
    return previous;
}

IProgressSink* ProgressSink()
{
    return g_sink;
}

void ProgressBegin(const QString& caption, bool showWindow)
{
    if (g_sink)
        g_sink->Begin(caption, showWindow);
}

void ProgressSetCaption(const QString& caption)
{
    if (g_sink)
        g_sink->SetCaption(caption);
}

void ProgressSetPosition(int percent)
{
    if (g_sink)
        g_sink->SetPosition(std::clamp(percent, 0, 100));
}

void ProgressEnd()
{
    if (g_sink)
        g_sink->End();
}
