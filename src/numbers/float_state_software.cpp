// With the software arithmetic (extended_software.cpp) no number rule depends on the
// processor's floating-point state: there is nothing to set, and nothing can be wrong.

#include "numbers/float_state.h"

namespace kobrant {

void SetFloatingPointState() {}

bool FloatingPointStateHolds() { return true; }

}  // namespace kobrant
