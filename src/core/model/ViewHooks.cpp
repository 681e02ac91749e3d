#include "core/model/ViewHooks.h"

TBoardViewHooks& BoardViewHooks()
{
    static TBoardViewHooks hooks;
    return hooks;
}
