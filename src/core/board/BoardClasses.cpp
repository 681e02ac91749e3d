#include "core/board/BoardClasses.h"

#include "core/board/BtPin.h"
#include "core/board/Makro.h"
#include "core/board/Segment.h"
#include "core/board/Textlabel.h"
#include "core/model/ClassRegistry.h"
#include "core/model/GrundBT.h"

void RegisterBoardClasses(TClassRegistry& registry)
{
    registry.RegisterClass<TSegment>();
    registry.RegisterClass<TGrundBT>();
    registry.RegisterClass<TText>();
    registry.RegisterClass<TMakro>();
    registry.RegisterClass<TBTPin>();
}
