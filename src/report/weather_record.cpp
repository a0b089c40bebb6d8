#include "report/weather_record.h"
