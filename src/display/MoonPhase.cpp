#include "display/MoonPhase.h"
