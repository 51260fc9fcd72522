#include "notch.h"

namespace screenprobe {

void add_notch_entries(Screen& screen, CGRect frame, Report& info) {
  std::optional<CGRect> left = screen.auxiliaryTopLeftArea();
  if (!left) return;
  std::optional<CGRect> right = screen.auxiliaryTopRightArea();
  if (!right) return;

  // Offsets from the screen's own left edge, not from the global origin. The width is its own
  // formula rather than right minus left: the two can differ in the last bit, and callers get
  // the same figure the platform's arithmetic gives.
  const CGFloat screen_width = CGRectGetWidth(frame);
  info.set("notchWidth", (screen_width - CGRectGetWidth(*left)) - CGRectGetWidth(*right));
  info.set("notchLeft", CGRectGetWidth(*left));
  info.set("notchRight", screen_width - CGRectGetWidth(*right));
}

}  // namespace screenprobe
