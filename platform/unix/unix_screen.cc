// Chooses between Wayland and X11 at run time. Wayland comes first wherever it is asked for,
// even with $DISPLAY set too: there X11 is XWayland, which knows neither the bars' band nor the
// scale. X11 answers only where no compositor could be reached.
#include "unix_screen.h"

#include <cstdlib>

namespace screenprobe {

namespace {

bool wayland_asked() {
  const char* display = std::getenv("WAYLAND_DISPLAY");
  return (display != nullptr && *display != '\0') || std::getenv("WAYLAND_SOCKET") != nullptr;
}

}  // namespace

std::unique_ptr<Screen> main_screen() {
  if (wayland_asked()) {
    WaylandAnswer answer = wayland_main_screen();
    if (answer.reached) return std::move(answer.screen);
  }
  return x11_main_screen();
}

int run_in_platform_scope(int (*run)()) { return run(); }

}  // namespace screenprobe
