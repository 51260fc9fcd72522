// The X11 layer's rules: which monitor is the main one, what of it the window manager leaves
// visible, how X11's y-down root coordinates become the report's y-up space, and which scale
// applies. Kept apart from the XCB calls, so every rule is testable without a server.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

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

struct Monitor {
  RootRect rect;
  bool primary = false;
};

// The space a window reserves along the root window's top edge: a band `height` pixels deep
// from the root's top, over the columns start_x to end_x (inclusive).
struct TopStrut {
  uint32_t height = 0;
  uint32_t start_x = 0;
  uint32_t end_x = UINT32_MAX;
};

// The overlap of two rectangles, or nothing when they do not overlap (touching edges or an
// empty rectangle included).
std::optional<RootRect> intersect(RootRect a, RootRect b);

// `rect` in the report's space: y grows upward and the bottom-left corner of `reference` (the
// main monitor) is (0, 0), as on macOS.
CGRect to_report_space(RootRect rect, RootRect reference);

// The main monitor: the primary one if it has an area, else the first that has one. A monitor
// with no width or no height shows nothing and is never the screen.
std::optional<RootRect> main_monitor(std::span<const Monitor> monitors);

// How many of the monitors have an area.
size_t monitors_with_area(std::span<const Monitor> monitors);

// Whether a window manager runs, as GTK decides it: the root window names a check window, and
// that window names itself. Both are _NET_SUPPORTING_WM_CHECK values (empty when missing or
// malformed): the root's, then the named window's.
bool window_manager_runs(std::span<const uint32_t> root_check,
                         std::span<const uint32_t> window_check);

// Whether the hint `hint` (an atom) is the running window manager's: it runs and lists the hint
// in `supported` (_NET_SUPPORTED). Properties outlive the window manager that set them.
bool hint_stands(bool manager_runs, std::span<const uint32_t> supported, uint32_t hint);

// A window's top strut: from the twelve values of _NET_WM_STRUT_PARTIAL where it has them, else
// from the four of _NET_WM_STRUT, which reserve along the whole edge; nothing without either.
std::optional<TopStrut> top_strut(std::span<const uint32_t> partial,
                                  std::span<const uint32_t> whole_edge);

// Whether the panels' struts decide what the window manager leaves to windows: only while one
// runs, and where it keeps no per-monitor work areas. With several monitors they come before its
// work area, which spans the whole root window and cannot say which monitor a panel is on; on one
// monitor they stand in for a work area it does not publish (tiling window managers keep windows
// out of a bar's band by its strut alone).
bool struts_decide(bool manager_runs, bool per_monitor_areas, bool several_monitors,
                   bool desktop_area);

// The part of `monitor` the window manager leaves to windows, from the hints it keeps (each
// empty when it does not keep it, or keeps it malformed, or does not decide), taking the first
// that applies:
// - `per_monitor_areas`: the current desktop's work area of each monitor, four values each; the
//   one lying wholly within this monitor is its own;
// - `top_struts`: the bands panels reserve, where they decide; the deepest one reaching into
//   this monitor;
// - `desktop_area`: the current desktop's work area, which spans the whole root window and so
//   is met with the monitor.
// With none of them the whole monitor is visible.
RootRect visible_area(RootRect monitor, std::span<const uint32_t> per_monitor_areas,
                      std::span<const TopStrut> top_struts, std::optional<RootRect> desktop_area);

// Device pixels per point: the settings manager's window scaling factor where it has one of 1
// or more, else Xft.dpi / 96 where that is a positive finite number, else 1.
CGFloat backing_scale(std::optional<int32_t> window_scaling_factor, std::optional<double> xft_dpi);

}  // namespace screenprobe::x11
