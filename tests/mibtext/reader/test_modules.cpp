#include "readerfixture.h"
