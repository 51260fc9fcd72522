// The platform layers a Unix desktop may have, each asked by unix_screen.cc in turn.
#pragma once

#include <memory>
#include <optional>

#include "screen.h"

namespace screenprobe {

// A screen whose values were all read before it is handed over, in the report's space. Neither
// X11 nor Wayland knows a camera housing: nothing is cut from the top and there are no strips
// beside it.
class MeasuredScreen : public Screen {
 public:
  MeasuredScreen(CGRect frame, CGRect visible, CGFloat scale)
      : frame_(frame), visible_(visible), scale_(scale) {}

  CGRect frame() override { return frame_; }
  CGRect visibleFrame() override { return visible_; }
  CGFloat backingScaleFactor() override { return scale_; }
  EdgeInsets safeAreaInsets() override { return {}; }
  std::optional<CGRect> auxiliaryTopLeftArea() override { return std::nullopt; }
  std::optional<CGRect> auxiliaryTopRightArea() override { return std::nullopt; }

 private:
  CGRect frame_;
  CGRect visible_;
  CGFloat scale_;
};

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
