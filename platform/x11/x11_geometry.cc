#include "x11_geometry.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace screenprobe::x11 {

namespace {

constexpr size_t kValuesPerArea = 4;

RootRect area_at(std::span<const uint32_t> values, size_t index) {
  const size_t at = index * kValuesPerArea;
  return RootRect{values[at], values[at + 1], values[at + 2], values[at + 3]};
}

bool contains(RootRect outer, RootRect inner) {
  return inner.width > 0 && inner.height > 0 && inner.x >= outer.x && inner.y >= outer.y &&
         inner.x + inner.width <= outer.x + outer.width &&
         inner.y + inner.height <= outer.y + outer.height;
}

std::string_view trim(std::string_view text) {
  constexpr std::string_view kSpace = " \t\r";
  const size_t first = text.find_first_not_of(kSpace);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kSpace) - first + 1);
}

std::optional<double> parse_number(std::string_view text) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double value = 0;
  const char* end = text.data() + text.size();
  auto [stop, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc() || stop != end) return std::nullopt;
  return value;
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

uint32_t effective_desktop(std::optional<uint32_t> current_desktop,
                           std::span<const uint32_t> net_workarea) {
  if (!current_desktop) return 0;
  // Compare counts, not offsets: *current_desktop * 4 could wrap around.
  const size_t desktops = net_workarea.size() / kValuesPerArea;
  return *current_desktop < desktops ? *current_desktop : 0;
}

RootRect visible_area(RootRect monitor, std::span<const uint32_t> gtk_workareas,
                      std::span<const uint32_t> net_workarea, uint32_t desktop) {
  // A per-monitor work area says exactly what this monitor leaves free; the desktop-wide one
  // spans the whole root window, so only its overlap with the monitor is this monitor's.
  for (size_t i = 0; i < gtk_workareas.size() / kValuesPerArea; ++i) {
    const RootRect area = area_at(gtk_workareas, i);
    if (contains(monitor, area)) return area;
  }
  if (desktop < net_workarea.size() / kValuesPerArea) {
    if (std::optional<RootRect> overlap = intersect(monitor, area_at(net_workarea, desktop))) {
      return *overlap;
    }
  }
  return monitor;
}

CGFloat scale_from_resources(std::string_view resources, bool truncated) {
  if (truncated) {
    const size_t last_newline = resources.rfind('\n');
    resources = resources.substr(0, last_newline == std::string_view::npos ? 0 : last_newline);
  }
  // Later entries override earlier ones, as when the database is loaded.
  std::optional<double> dpi;
  while (!resources.empty()) {
    const size_t end = resources.find('\n');
    const std::string_view line = resources.substr(0, end);
    resources = end == std::string_view::npos ? std::string_view() : resources.substr(end + 1);
    const size_t colon = line.find(':');
    if (colon == std::string_view::npos || trim(line.substr(0, colon)) != "Xft.dpi") continue;
    dpi = parse_number(trim(line.substr(colon + 1)));
  }
  if (!dpi || !std::isfinite(*dpi) || *dpi <= 0) return 1.0;
  return *dpi / 96.0;
}

}  // namespace screenprobe::x11
