// What the Wayland layer keeps of each output, and the rules that turn it into a frame and a
// scale. No libwayland here: the tests run these on plain values.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "notch_panel.h"

namespace screenprobe::wayland {

struct Size {
  int32_t width = 0;
  int32_t height = 0;
  bool operator==(const Size&) const = default;
};

struct OutputState {
  std::optional<Size> mode;         // the current mode, in pixels
  int32_t transform = 0;            // wl_output's transform: odd values turn by 90 or 270 degrees
  int32_t integer_scale = 1;        // wl_output.scale: the factor clients draw at, an integer
  std::optional<Size> logical;      // zxdg_output_v1.logical_size
  bool removed = false;             // the global went away while the probe ran
  std::optional<std::string> name;  // wl_output.name (version 4): the connector, as "eDP-1"
};

// Whether the compositor lays the output out in pixels while clients draw at an integer scale
// above 1 (GNOME's default layout): xdg-output then gives the mode's size, turned, as the
// logical size, yet surfaces on the output are measured in units of wl_output.scale pixels.
bool laid_out_in_pixels(const OutputState& output);

// The output's size in the units its surfaces are measured in: xdg-output's logical size, else
// (and where the output is laid out in pixels) the current mode divided by the integer scale and
// turned with the output. None where it is zero or less, or the mode is: such an output is
// never the main one, and nothing is ever divided by it.
std::optional<Size> logical_size(const OutputState& output);

struct Frame {
  Size size;
  double scale;  // pixels per logical unit
};

// A usable output's frame and scale. A fractional-scale preference (in 1/120ths) is the
// compositor's own factor; on an output laid out in pixels, wl_output.scale; otherwise the mode's
// width over the logical width, turned with the output, to the nearest 1/120, the finest step a
// compositor can scale by (wl_output.scale would round 1.5 up to 2). The frame is the logical
// size, but where the preference gives the scale and there is no xdg-output: then it is the mode
// at that scale, so that frame and scale agree on the mode (wl_output.scale, an integer, would
// give a frame no output has).
Frame measure(const OutputState& output, std::optional<uint32_t> preferred);

// Whether the output can be the main one: it is still there and has a size.
bool usable(const OutputState& output);

// The first usable output in the order announced whose logical size is `size`, or of any size.
std::optional<size_t> first_match(std::span<const OutputState> outputs, std::optional<Size> size);

// With the layer shell, the main output is the one the whole layer surface, made with no output
// named, was configured for, in two steps.
struct MainOutput {
  size_t index;
  std::optional<uint32_t> preferred;  // the compositor's preferred scale, in 1/120ths
  bool operator==(const MainOutput&) const = default;
};
// First, its size tells it where one usable output alone has that size. Elsewhere (none) the
// compositor is asked which output the surface entered, by showing a pixel on it.
std::optional<MainOutput> main_by_size(std::span<const OutputState> outputs, Size whole);
// Then, of that answer: the output entered, where it is usable, with the compositor's preferred
// scale, which counts only for a surface known to be on the output (KWin prefers 1.0 for a surface
// on none); else the first usable output of the surface's size, with no preferred scale. None
// where neither is.
std::optional<MainOutput> main_entered(std::span<const OutputState> outputs, Size whole,
                                       std::optional<size_t> entered,
                                       std::optional<uint32_t> preferred);

// The output a window asking to be maximised was configured for: the usable output its bounds
// (the work area) fit in with the least width plus height left over, the first announced on a
// tie. Bounds are unknown where absent or empty, and not believed where the size is empty
// (mutter then sends them in pixels): the size stands in for them. Where nothing fits, or
// neither is known, the first usable output.
std::optional<size_t> maximised_on(std::span<const OutputState> outputs, std::optional<Size> bounds,
                                   Size size);

// The height a MacBook's notch rows take from the top of the output, in its surfaces' units: the
// panel's band over the scale, where the output is the built-in panel shown whole (its mode),
// not turned (transform 0, or 4, flipped about its vertical axis), and, where the compositor
// names its outputs, on the panel's connector. Elsewhere 0.
double notch_top(const OutputState& output, double scale, const std::optional<NotchedPanel>& panel);

// The band kept at the top, from where the compositor slid two popups asked to sit far above
// their parents: the whole surface's, which covers the whole output, so that its y counts from
// the output's top, and the inside one's, which starts below the layer-shell bars. A compositor
// keeps popups inside the output (sway: the whole surface's at 0, the inside one's at minus the
// band) or inside its work area, which also leaves out panels that are not layer surfaces (KWin
// with Plasma's panels: the whole surface's at the work area's top, the inside one's that less
// the inside surface's own top). Either way the band is the larger of the whole surface's y and
// the difference of the two. Where either popup was refused or never placed (none given), or the
// popups give a band not less than the output's `height` (no placement at all), the whole
// surface's height less the inside one's: all the height the bars keep, at the top or the bottom.
int64_t layer_band(Size inside, Size whole, std::optional<int32_t> inside_y,
                   std::optional<int32_t> whole_y, int32_t height);

// A band the compositor reports, held within the output's height.
int32_t band_within(int64_t band, int32_t height);

}  // namespace screenprobe::wayland
