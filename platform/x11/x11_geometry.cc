#include "x11_geometry.h"

#include <algorithm>
#include <cmath>

namespace screenprobe::x11 {

namespace {

constexpr size_t kValuesPerArea = 4;

bool has_area(RootRect rect) { return rect.width > 0 && rect.height > 0; }

bool contains(RootRect outer, RootRect inner) {
  return has_area(inner) && inner.x >= outer.x && inner.y >= outer.y &&
         inner.x + inner.width <= outer.x + outer.width &&
         inner.y + inner.height <= outer.y + outer.height;
}

// Whether a strut's columns, start_x to end_x inclusive as EWMH counts them, lie over the
// monitor's. Bars do not all count so: i3bar writes its end as x + width, one column past the
// bar, which lands on the first column of the monitor to its right. No bar means to reserve a band
// across one column of a monitor it is not on, so a range that takes only the monitor's first
// column from the left, or only its last column from the right, does not count for it.
bool over_columns(const TopStrut& strut, RootRect monitor) {
  const int64_t start = strut.start_x;
  const int64_t end = strut.end_x;
  const int64_t first = monitor.x;
  const int64_t last = monitor.x + monitor.width - 1;
  if (start > end || start > last || end < first) return false;
  return !(end == first && start < first) && !(start == last && end > last);
}

// The band panels keep at the top of `monitor`, or nothing when no window reserves space. A
// strut counts where it lies over the monitor's columns and its band reaches below the
// monitor's top edge; the deepest one wins.
std::optional<int64_t> top_band(RootRect monitor, std::span<const TopStrut> struts) {
  if (struts.empty()) return std::nullopt;
  int64_t band = 0;
  for (const TopStrut& strut : struts) {
    if (over_columns(strut, monitor)) band = std::max(band, int64_t{strut.height} - monitor.y);
  }
  return std::min(band, monitor.height);
}

}  // namespace

std::optional<RootRect> intersect(RootRect a, RootRect b) {
  const int64_t left = std::max(a.x, b.x);
  const int64_t top = std::max(a.y, b.y);
  const int64_t right = std::min(a.x + a.width, b.x + b.width);
  const int64_t bottom = std::min(a.y + a.height, b.y + b.height);
  if (right <= left || bottom <= top) return std::nullopt;
  return RootRect{left, top, right - left, bottom - top};
}

CGRect to_report_space(RootRect rect, RootRect reference) {
  const int64_t x = rect.x - reference.x;
  const int64_t y = (reference.y + reference.height) - (rect.y + rect.height);
  return CGRectMake(static_cast<CGFloat>(x), static_cast<CGFloat>(y),
                    static_cast<CGFloat>(rect.width), static_cast<CGFloat>(rect.height));
}

std::optional<RootRect> main_monitor(std::span<const Monitor> monitors) {
  std::optional<RootRect> first;
  for (const Monitor& monitor : monitors) {
    if (!has_area(monitor.rect)) continue;
    if (monitor.primary) return monitor.rect;
    if (!first) first = monitor.rect;
  }
  return first;
}

size_t monitors_with_area(std::span<const Monitor> monitors) {
  return static_cast<size_t>(std::count_if(monitors.begin(), monitors.end(),
                                           [](const Monitor& m) { return has_area(m.rect); }));
}

bool window_manager_runs(std::span<const uint32_t> root_check,
                         std::span<const uint32_t> window_check) {
  return !root_check.empty() && root_check.front() != 0 && !window_check.empty() &&
         window_check.front() == root_check.front();
}

bool hint_stands(bool manager_runs, std::span<const uint32_t> supported, uint32_t hint) {
  return manager_runs && hint != 0 &&
         std::find(supported.begin(), supported.end(), hint) != supported.end();
}

std::optional<TopStrut> top_strut(std::span<const uint32_t> partial,
                                  std::span<const uint32_t> whole_edge) {
  // _NET_WM_STRUT_PARTIAL: left, right, top, bottom, then where each band starts and ends; the
  // top band's columns are the ninth and tenth values. Both 0 is no range at all (awesome's wibar
  // writes that for a bar across the whole edge), as window managers read it.
  if (partial.size() >= 12) {
    if (partial[8] == 0 && partial[9] == 0) return TopStrut{partial[2]};
    return TopStrut{partial[2], partial[8], partial[9]};
  }
  if (whole_edge.size() >= 4) return TopStrut{whole_edge[2]};
  return std::nullopt;
}

bool struts_decide(bool manager_runs, bool per_monitor_areas, bool several_monitors,
                   bool desktop_area) {
  return manager_runs && !per_monitor_areas && (several_monitors || !desktop_area);
}

RootRect visible_area(RootRect monitor, std::span<const uint32_t> per_monitor_areas,
                      std::span<const TopStrut> top_struts, std::optional<RootRect> desktop_area) {
  for (size_t at = 0; at + kValuesPerArea <= per_monitor_areas.size(); at += kValuesPerArea) {
    const RootRect area{per_monitor_areas[at], per_monitor_areas[at + 1], per_monitor_areas[at + 2],
                        per_monitor_areas[at + 3]};
    if (contains(monitor, area)) return area;
  }
  // Only the top band reaches the report (bands at the bottom or the sides cancel out of the
  // menu bar's height), so only the top is taken off.
  if (std::optional<int64_t> band = top_band(monitor, top_struts)) {
    return RootRect{monitor.x, monitor.y + *band, monitor.width, monitor.height - *band};
  }
  if (desktop_area) {
    if (std::optional<RootRect> overlap = intersect(monitor, *desktop_area)) return *overlap;
  }
  return monitor;
}

CGFloat backing_scale(std::optional<int32_t> window_scaling_factor, std::optional<double> xft_dpi) {
  if (window_scaling_factor && *window_scaling_factor >= 1) return *window_scaling_factor;
  if (xft_dpi) {
    const double scale = *xft_dpi / 96.0;
    if (std::isfinite(scale) && scale > 0) return scale;
  }
  return 1.0;
}

}  // namespace screenprobe::x11
