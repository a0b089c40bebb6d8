#include "textio/number_text.h"
