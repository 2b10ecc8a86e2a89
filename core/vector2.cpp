#include "vector2.h"
