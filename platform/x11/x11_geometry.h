// What the X11 layer computes from what the server reports: which work area applies, how it
// meets the monitor, and how X11's y-down root coordinates become the report's y-up space.
// Kept apart from the XCB calls so every rule is testable without a server.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "cg_rect.h"

namespace screenprobe::x11 {

// A rectangle in root-window coordinates: origin at the top-left, y growing downward, pixels.
// 64-bit, so sums of any 32-bit property values cannot overflow.
struct RootRect {
  int64_t x = 0;
  int64_t y = 0;
  int64_t width = 0;
  int64_t height = 0;

  friend bool operator==(const RootRect&, const RootRect&) = default;
};

// The overlap of two rectangles, or nothing when they do not overlap (touching edges or an
// empty rectangle included).
std::optional<RootRect> intersect(RootRect a, RootRect b);

// `rect` in the report's space: y grows upward and the bottom-left corner of `reference` (the
// main monitor) is (0, 0), as on macOS.
CGRect to_report_space(RootRect rect, RootRect reference);

// The visible area of `monitor` from the window manager's work areas, all already checked to be
// CARDINAL/32 (empty when missing or malformed):
// - `gtk_workareas`: per-monitor work areas of the current desktop, four values each; the first
//   lying wholly within the monitor is the monitor's own.
// - otherwise `net_workarea`: four values per desktop, taken at `desktop`.
// Either is intersected with the monitor; with no usable area the whole monitor is visible.
RootRect visible_area(RootRect monitor, std::span<const uint32_t> gtk_workareas,
                      std::span<const uint32_t> net_workarea, uint32_t desktop);

// The desktop whose work area applies: the current one when it is known and `net_workarea`
// holds an entry for it, desktop 0 otherwise.
uint32_t effective_desktop(std::optional<uint32_t> current_desktop,
                           std::span<const uint32_t> net_workarea);

// Device pixels per point from the resource database text (the root's RESOURCE_MANAGER):
// Xft.dpi / 96, or 1 when Xft.dpi is missing, unparsable, non-finite or not positive.
// `truncated` says the text was cut short, so its last line may be incomplete and is ignored.
CGFloat scale_from_resources(std::string_view resources, bool truncated);

}  // namespace screenprobe::x11
