// The platform layer for builds where no real one applies: there is never a main screen, so
// the probe runs end to end and reports that.
#include "screen.h"

namespace screenprobe {

std::unique_ptr<Screen> main_screen() { return nullptr; }

int run_in_platform_scope(int (*run)()) { return run(); }

}  // namespace screenprobe
