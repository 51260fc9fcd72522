#include "wayland_outputs.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace screenprobe::wayland {

namespace {

bool turned(int32_t transform) { return transform % 2 != 0; }

Size as_laid_out(Size mode, int32_t transform) {
  return turned(transform) ? Size{mode.height, mode.width} : mode;
}

bool positive(Size size) { return size.width > 0 && size.height > 0; }

}  // namespace

bool laid_out_in_pixels(const OutputState& output) {
  return output.integer_scale > 1 && output.mode && output.logical &&
         *output.logical == as_laid_out(*output.mode, output.transform);
}

std::optional<Size> logical_size(const OutputState& output) {
  if (!output.mode || !positive(*output.mode)) return std::nullopt;
  if (output.logical && !laid_out_in_pixels(output)) {
    if (!positive(*output.logical)) return std::nullopt;
    return output.logical;
  }
  if (output.integer_scale <= 0) return std::nullopt;
  const Size laid_out = as_laid_out(*output.mode, output.transform);
  const Size size{laid_out.width / output.integer_scale, laid_out.height / output.integer_scale};
  if (!positive(size)) return std::nullopt;
  return size;
}

Frame measure(const OutputState& output, std::optional<uint32_t> preferred) {
  const Size logical = *logical_size(output);
  const Size laid_out = as_laid_out(*output.mode, output.transform);
  if (preferred && *preferred > 0) {
    const double scale = *preferred / 120.0;
    const double width = std::round(laid_out.width / scale);
    const double height = std::round(laid_out.height / scale);
    // A preference so far off that the mode comes to no size at it keeps the logical size.
    if (output.logical || width < 1 || height < 1 || width > INT32_MAX || height > INT32_MAX) {
      return {logical, scale};
    }
    return {Size{static_cast<int32_t>(width), static_cast<int32_t>(height)}, scale};
  }
  if (laid_out_in_pixels(output)) return {logical, static_cast<double>(output.integer_scale)};
  return {logical, std::round(120.0 * laid_out.width / logical.width) / 120.0};
}

bool usable(const OutputState& output) {
  return !output.removed && logical_size(output).has_value();
}

std::optional<size_t> first_match(std::span<const OutputState> outputs, std::optional<Size> size) {
  for (size_t i = 0; i < outputs.size(); ++i) {
    if (usable(outputs[i]) && (!size || *logical_size(outputs[i]) == *size)) return i;
  }
  return std::nullopt;
}

std::optional<MainOutput> main_by_size(std::span<const OutputState> outputs, Size whole) {
  const std::optional<size_t> first = first_match(outputs, whole);
  if (!first || first_match(outputs.subspan(*first + 1), whole)) return std::nullopt;
  return MainOutput{*first, std::nullopt};
}

std::optional<MainOutput> main_entered(std::span<const OutputState> outputs, Size whole,
                                       std::optional<size_t> entered,
                                       std::optional<uint32_t> preferred) {
  if (entered && *entered < outputs.size() && usable(outputs[*entered])) {
    return MainOutput{*entered, preferred};
  }
  const std::optional<size_t> first = first_match(outputs, whole);
  if (!first) return std::nullopt;
  return MainOutput{*first, std::nullopt};
}

std::optional<size_t> maximised_on(std::span<const OutputState> outputs, std::optional<Size> bounds,
                                   Size size) {
  if (bounds && positive(*bounds) && positive(size)) size = *bounds;
  std::optional<size_t> best;
  int64_t least = 0;
  for (size_t i = 0; i < outputs.size() && positive(size); ++i) {
    if (!usable(outputs[i])) continue;
    const Size frame = *logical_size(outputs[i]);
    if (frame.width < size.width || frame.height < size.height) continue;
    const int64_t left = int64_t{frame.width} - size.width + frame.height - size.height;
    if (!best || left < least) {
      best = i;
      least = left;
    }
  }
  return best ? best : first_match(outputs, std::nullopt);
}

double notch_top(const OutputState& output, double scale,
                 const std::optional<NotchedPanel>& panel) {
  if (!output.mode || (output.transform != 0 && output.transform != 4) || !(scale > 0)) return 0;
  return notch_rows(panel, output.mode->width, output.mode->height, output.name) / scale;
}

int64_t layer_band(Size inside, Size whole, std::optional<int32_t> inside_y,
                   std::optional<int32_t> whole_y, int32_t height) {
  if (inside_y && whole_y) {
    const int64_t by_popups = std::max(int64_t{*whole_y}, int64_t{*whole_y} - *inside_y);
    if (by_popups < height) return by_popups;
  }
  return int64_t{whole.height} - inside.height;
}

int32_t band_within(int64_t band, int32_t height) {
  return static_cast<int32_t>(std::clamp<int64_t>(band, 0, height));
}

}  // namespace screenprobe::wayland
