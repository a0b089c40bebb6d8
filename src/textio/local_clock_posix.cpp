#include "textio/local_clock.h"
