#pragma once
// The two larger fonts of the entry dialog, "Enter" and the web address: a bold "MS Sans
// Serif" of a point size on the screen (entry_layout.h has the sizes). The benchmark's
// same-UI program makes its fonts with this too.
//
//   MakeBoldFont(14) at 96 dpi -> lfHeight -18     at 120 dpi -> -23    at 144 dpi -> -28
//   MakeBoldFont(12) at 96 dpi -> lfHeight -16     at 120 dpi -> -20    at 144 dpi -> -24

#include "host/win32.h"

namespace kobrant {

// The font, owned by the caller: its height is BoldFontHeight (entry_layout.h),
// -(LOGPIXELSY x points) / 72 pixels, the division truncated. nullptr when the system
// cannot make it (the control then keeps its font).
HFONT MakeBoldFont(int points);

}  // namespace kobrant
