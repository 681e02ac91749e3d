#pragma once
// A container of one list of each kind: bitmap list, image list, string list and wave list.
// One global instance serves the whole program; controls name its bitmap list and its image
// list in their stream property "Internal" ("WLXBML30", "WLXIML30") instead of storing the
// reference.

#include "widgets/BitmapList.h"
#include "widgets/StringList.h"

class TWLXComponentReader;
class TWLXComponentWriter;

class TWLXContainer : public TWLXBaseController {
public:
    TWLXContainer();
    ~TWLXContainer() override;

    TWLXBitmapList BitmapList;
    TWLXImageList ImageList;
    TWLXStringList StringList;
    TWLXWaveList WaveList;

    // While designing, a change of a list of another container is copied into the global
    // container's list of the same kind.
    bool DesignMode = false;
    void GetChange(void* sender) override;
};

// The program's global container (made on first use, freed at exit).
TWLXContainer& GlobalContainer();

// True for the global bitmap list and the global image list.
bool IsGlobalList(const TWLXCustomImageList* list);
// "WLXBML30" for the global bitmap list, "WLXIML30" for the global image list, else empty.
QString GlobalListName(const TWLXCustomImageList* list);
// The global list of that name; null for any other text.
TWLXCustomImageList* GlobalListByName(const QString& name);
