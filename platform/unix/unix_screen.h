// The platform layers a Unix desktop may have, each asked by unix_screen.cc in turn.
#pragma once

#include <memory>

#include "screen.h"

namespace screenprobe {

// What the Wayland layer found. Not reached (no libwayland-client, or no compositor took the
// connection): another layer may answer. Reached: the compositor's answer, which may be that
// there is no screen.
struct WaylandAnswer {
  bool reached = false;
  std::unique_ptr<Screen> screen;
};

WaylandAnswer wayland_main_screen();

// The main screen of the X display $DISPLAY names, or none.
std::unique_ptr<Screen> x11_main_screen();

}  // namespace screenprobe
