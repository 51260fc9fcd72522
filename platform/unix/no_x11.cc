// For builds with the Wayland layer alone: there is no X display to fall back to.
#include "unix_screen.h"

namespace screenprobe {

std::unique_ptr<Screen> x11_main_screen() { return nullptr; }

}  // namespace screenprobe
