#include "core/board/ItemDialogs.h"

TItemDialogHooks& ItemDialogHooks()
{
    static TItemDialogHooks hooks;
    return hooks;
}

int EditTextLabelDialog(TTextLabelDialogValues& values)
{
    const TItemDialogHooks& hooks = ItemDialogHooks();
    return hooks.EditTextLabel ? hooks.EditTextLabel(values) : 0;
}

int EditDesignationDialog(const QString& caption, int32_t helpContext, QString& text, int maxLength,
                          int width)
{
    const TItemDialogHooks& hooks = ItemDialogHooks();
    return hooks.EditDesignation ? hooks.EditDesignation(caption, helpContext, text, maxLength, width)
                                 : 0;
}
