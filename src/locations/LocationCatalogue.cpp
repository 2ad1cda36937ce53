#include "locations/LocationCatalogue.h"
