#include "conditions/ConditionsParser.h"
