// The platform layers a Unix desktop may have, each asked by unix_screen.cc in turn.
#pragma once

#include <memory>
#include <optional>

#include "screen.h"

namespace screenprobe {

// A screen whose values were all read before it is handed over, in the report's space. Only a
// MacBook's notch rows, shown by its display driver, cut into the top; nothing on X11 or Wayland
// describes the strips beside the housing.
class MeasuredScreen : public Screen {
 public:
  MeasuredScreen(CGRect frame, CGRect visible, CGFloat scale, CGFloat safe_top)
      : frame_(frame), visible_(visible), scale_(scale), safe_top_(safe_top) {}

  CGRect frame() override { return frame_; }
  CGRect visibleFrame() override { return visible_; }
  CGFloat backingScaleFactor() override { return scale_; }
  EdgeInsets safeAreaInsets() override { return {safe_top_, 0, 0, 0}; }
  std::optional<CGRect> auxiliaryTopLeftArea() override { return std::nullopt; }
  std::optional<CGRect> auxiliaryTopRightArea() override { return std::nullopt; }

 private:
  CGRect frame_;
  CGRect visible_;
  CGFloat scale_;
  CGFloat safe_top_;
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
