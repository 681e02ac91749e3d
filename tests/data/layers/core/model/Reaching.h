#pragma once
// A core file that reaches up into the user interface: the layer check must refuse it.
#include "ui/Formats.h"
