// The camera housing: where it starts and ends along the top edge, from the two strips the
// platform reports beside it.
#pragma once

#include "report.h"
#include "screen.h"

namespace screenprobe {

// Adds "notchWidth", "notchLeft" and "notchRight" to `info` when the screen has both strips;
// otherwise adds nothing. The top-right strip is read only when the top-left one exists.
void add_notch_entries(Screen& screen, CGRect frame, Report& info);

}  // namespace screenprobe
