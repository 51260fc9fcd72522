// The seam between the probe and the platform: the main screen, read one value at a time.
//
// One function per value the probe needs, each a platform call on the real screen, so a
// scripted screen in the tests can tell exactly what the probe read and in what order.
#pragma once

#include <memory>
#include <optional>

#include "cg_rect.h"

namespace screenprobe {

// Distances from each edge of the screen to the part that nothing physical covers, in points.
struct EdgeInsets {
  CGFloat top = 0;
  CGFloat left = 0;
  CGFloat bottom = 0;
  CGFloat right = 0;
};

class Screen {
 public:
  virtual ~Screen() = default;

  // The whole screen, in the global screen space (points, y growing upward).
  virtual CGRect frame() = 0;
  // The part of the screen that the menu bar and the Dock leave free, in the same space.
  virtual CGRect visibleFrame() = 0;
  // Device pixels per point.
  virtual CGFloat backingScaleFactor() = 0;
  virtual EdgeInsets safeAreaInsets() = 0;
  // The unobscured strips left and right of a camera housing; absent when there is none.
  virtual std::optional<CGRect> auxiliaryTopLeftArea() = 0;
  virtual std::optional<CGRect> auxiliaryTopRightArea() = 0;
};

// The platform's main screen, or none when the platform has no screen to offer (no display,
// no window-server session). Never writes to standard output or standard error.
std::unique_ptr<Screen> main_screen();

// Runs `run` inside whatever the platform wants around a whole run (an autorelease pool on
// macOS) and returns its result.
int run_in_platform_scope(int (*run)());

}  // namespace screenprobe
