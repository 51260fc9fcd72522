// What the Wayland layer reads from the compositor's events, and in which order it believes them,
// one event at a time. No libwayland here: the listeners only forward what arrives, and the
// tests drive these with plain sequences of events.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "wayland_outputs.h"

namespace screenprobe::wayland {

// One output, as its events describe it. An output's events describe one change, which its done
// applies whole: a compositor that turns an output or changes its scale while the probe reads
// never shows it half-changed.
//   - A version-1 wl_output has no done: each of its events stands as it arrives.
//   - xdg-output's logical size is applied at xdg-output's own done (versions 1 and 2), or, from
//     version 3, which deprecates that done, at the wl_output.done that follows it (at once on a
//     version-1 wl_output). The output is described only once its logical size is applied.
//   - Only the current mode counts.
//   - An output removed stays removed, whatever its later events say.
//   - A connector's name is short: a longer one (over 64 bytes) names no connector.
class OutputEvents {
 public:
  explicit OutputEvents(uint32_t output_version) : has_done_(output_version >= 2) {}

  // The probe asked for the output's xdg-output, of this version.
  void xdg_output_asked(uint32_t version);

  void geometry(int32_t transform);
  void mode(bool current, Size size);
  void scale(int32_t factor);
  void name(std::string_view connector);
  void done();
  void logical_size(Size size);
  void xdg_done();
  void removed();

  // As of the last done.
  const OutputState& state() const { return state_; }
  // Whether every done owed has come: the wl_output's, and xdg-output's where its version sends
  // one; with xdg-output 3, the wl_output.done that applies the logical size (the one that
  // follows the bind comes before the size). An output removed is described: it will never
  // finish.
  bool described() const;

 private:
  template <typename Apply>
  void change(const Apply& apply);

  bool has_done_;
  uint32_t xdg_version_ = 0;  // 0: no xdg-output asked for
  OutputState state_;
  OutputState pending_;
  bool done_ = false;
  bool xdg_done_ = false;
};

// The maximised toplevel's configure: only the sequence the first xdg_surface.configure closes
// is read; later ones are not. Settled once that sequence is over.
struct ToplevelConfigure {
  Size size;
  std::optional<Size> bounds;
  bool settled = false;

  void configure(Size configured) {
    if (!settled) size = configured;
  }
  void configure_bounds(Size given) {
    if (!settled) bounds = given;
  }
  void surface_configure() { settled = true; }
};

// A layer surface's configures: the size of the last (a size beyond INT32_MAX is no size, 0x0),
// and whether the compositor closed it.
struct LayerConfigure {
  std::optional<Size> size;
  bool closed = false;

  void configure(uint32_t width, uint32_t height);
  void close() { closed = true; }
};

// A popup's placement: the y its configure gave, unless the compositor dismissed it (popup_done),
// before or after. Settled once its xdg_surface.configure or the dismissal has come.
struct PopupPlacement {
  std::optional<int32_t> y;
  bool configured = false;
  bool dismissed = false;

  void configure(int32_t given_y) { y = given_y; }
  void surface_configure() { configured = true; }
  void dismiss() { dismissed = true; }
  bool settled() const { return configured || dismissed; }
  std::optional<int32_t> placed() const { return dismissed ? std::nullopt : y; }
};

// Which output a surface entered: the first it entered, once it has entered one (none where that
// output is not one the probe kept).
struct Entry {
  std::optional<size_t> output;
  bool entered = false;

  void enter(std::optional<size_t> index) {
    if (entered) return;
    entered = true;
    output = index;
  }
};

}  // namespace screenprobe::wayland
