#include "net/TNMHTTP.h"
