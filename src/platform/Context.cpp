#include "platform/Context.h"

namespace {
TProgramContext g_context;
}

TProgramContext& Ctx()
{
    return g_context;
}

void ResetContext()
{
    g_context = TProgramContext();
}

const char* Lang3(const char* german, const char* english, const char* french)
{
    switch (g_context.CurrentLanguage) {
    case 1:
        return english;
    case 2:
        return french;
    default:
        return german;
    }
}

QString Lang3Q(const char* german, const char* english, const char* french)
{
    return QString::fromUtf8(Lang3(german, english, french));
}
