#include "vector3.h"
