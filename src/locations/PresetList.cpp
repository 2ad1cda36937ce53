#include "locations/PresetList.h"
