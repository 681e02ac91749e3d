// Wire normalisation around board changes. Merging, splitting, junction dots and pin marks
// come with the wire drawing code; until it is in place a change leaves the wires as they are.
#include "core/board/Platine.h"

void TPlatine::DetachSelectedWires() {}

void TPlatine::NormaliseSelectedWires() {}
