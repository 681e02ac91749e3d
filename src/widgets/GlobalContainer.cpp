#include "widgets/GlobalContainer.h"

TWLXContainer::TWLXContainer()
{
    TWLXCustomContainer* lists[] = {&BitmapList, &ImageList, &StringList, &WaveList};
    for (TWLXCustomContainer* list : lists)
        list->OnChange = [this](void* sender) { GetChange(sender); };
}

TWLXContainer::~TWLXContainer()
{
    TWLXCustomContainer* lists[] = {&BitmapList, &ImageList, &StringList, &WaveList};
    for (TWLXCustomContainer* list : lists)
        list->OnChange = nullptr;
}

void TWLXContainer::GetChange(void* sender)
{
    TWLXContainer& global = GlobalContainer();
    if (DesignMode && this != &global) {
        if (sender == &BitmapList)
            global.BitmapList.Assign(BitmapList);
        else if (sender == &ImageList)
            global.ImageList.Assign(ImageList);
        else if (sender == &StringList)
            global.StringList.Assign(StringList);
        else if (sender == &WaveList)
            global.WaveList.Assign(WaveList);
    }
    TWLXBaseController::GetChange(sender);
}

TWLXContainer& GlobalContainer()
{
    static TWLXContainer global;
    return global;
}

bool IsGlobalList(const TWLXCustomImageList* list)
{
    return list && (list == &GlobalContainer().BitmapList || list == &GlobalContainer().ImageList);
}

QString GlobalListName(const TWLXCustomImageList* list)
{
    if (!list)
        return QString();
    if (list == &GlobalContainer().BitmapList)
        return QStringLiteral("WLXBML30");
    if (list == &GlobalContainer().ImageList)
        return QStringLiteral("WLXIML30");
    return QString();
}

TWLXCustomImageList* GlobalListByName(const QString& name)
{
    if (name == QLatin1String("WLXBML30"))
        return &GlobalContainer().BitmapList;
    if (name == QLatin1String("WLXIML30"))
        return &GlobalContainer().ImageList;
    return nullptr;
}
