// Fonts asked for by name and size, as a design gives them.
#pragma once
#include "platform/owners/Gdi.h"

namespace platform {

// A font of normal weight, upright and not underlined, `points` high at the
// resolution `dpi`. The system substitutes the nearest face it has when it
// lacks the one named.
Font CreatePointFont(const wchar_t* face, double points, int dpi, BYTE charset);

}  // namespace platform
