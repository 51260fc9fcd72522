#include "wayland_events.h"

#include <string>

namespace screenprobe::wayland {

namespace {

constexpr size_t kMaxConnectorName = 64;

}  // namespace

template <typename Apply>
void OutputEvents::change(const Apply& apply) {
  apply(pending_);
  if (!has_done_) apply(state_);
}

void OutputEvents::xdg_output_asked(uint32_t version) { xdg_version_ = version; }

void OutputEvents::geometry(int32_t transform) {
  change([&](OutputState& o) { o.transform = transform; });
}

void OutputEvents::mode(bool current, Size size) {
  if (current) change([&](OutputState& o) { o.mode = size; });
}

void OutputEvents::scale(int32_t factor) {
  change([&](OutputState& o) { o.integer_scale = factor; });
}

void OutputEvents::name(std::string_view connector) {
  change([&](OutputState& o) {
    o.name = connector.size() <= kMaxConnectorName ? std::string(connector) : "";
  });
}

void OutputEvents::done() {
  const OutputState applied = state_;
  state_ = pending_;
  state_.removed = applied.removed;
  if (xdg_version_ < 3) state_.logical = applied.logical;  // that is xdg-output's own done's
  done_ = true;
}

void OutputEvents::logical_size(Size size) {
  pending_.logical = size;
  if (!has_done_ && xdg_version_ >= 3) state_.logical = size;
}

void OutputEvents::xdg_done() {
  state_.logical = pending_.logical;
  xdg_done_ = true;
}

void OutputEvents::removed() { state_.removed = true; }

bool OutputEvents::described() const {
  const bool xdg_sends_done = xdg_version_ == 1 || xdg_version_ == 2;
  const bool size_applied = xdg_version_ < 3 || state_.logical.has_value();
  return state_.removed ||
         ((!has_done_ || done_) && (!xdg_sends_done || xdg_done_) && size_applied);
}

void LayerConfigure::configure(uint32_t width, uint32_t height) {
  const bool fits = width <= INT32_MAX && height <= INT32_MAX;
  size = fits ? Size{static_cast<int32_t>(width), static_cast<int32_t>(height)} : Size{};
}

}  // namespace screenprobe::wayland
