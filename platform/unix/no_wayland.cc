// For builds with the X11 layer alone: Wayland is never reached.
#include "unix_screen.h"

namespace screenprobe {

WaylandAnswer wayland_main_screen() { return {}; }

}  // namespace screenprobe
