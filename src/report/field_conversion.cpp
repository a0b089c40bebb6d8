#include "report/field_conversion.h"
