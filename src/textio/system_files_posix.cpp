#include "textio/sequential_files.h"
