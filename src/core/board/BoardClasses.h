#pragma once
// Registration of the board's own item classes.

class TClassRegistry;

// Enters TSegment, TGrundBT, TText, TMakro and TBTPin.
void RegisterBoardClasses(TClassRegistry& registry);
