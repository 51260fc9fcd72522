// The wlr layer shell's interfaces (zwlr_layer_shell_v1, versions 1 to 4). No Debian package
// carries its XML, so its tables are written out here, in the layout wayland-scanner gives.
#pragma once

#include <wayland-util.h>

#include <cstdint>

extern "C" {
extern const struct wl_interface zwlr_layer_shell_v1_interface;
extern const struct wl_interface zwlr_layer_surface_v1_interface;
}

namespace screenprobe::wayland::layer_shell {

constexpr uint32_t kMaxVersion = 4;
// zwlr_layer_shell_v1 requests.
constexpr uint32_t kGetLayerSurface = 0;
constexpr uint32_t kShellDestroy = 1;  // since version 3
// zwlr_layer_surface_v1 requests and events.
constexpr uint32_t kSetSize = 0;
constexpr uint32_t kSetAnchor = 1;
constexpr uint32_t kSetExclusiveZone = 2;
constexpr uint32_t kSetKeyboardInteractivity = 4;
constexpr uint32_t kGetPopup = 5;
constexpr uint32_t kAckConfigure = 6;
constexpr uint32_t kSurfaceDestroy = 7;
constexpr uint32_t kConfigureEvent = 0;
constexpr uint32_t kClosedEvent = 1;

constexpr uint32_t kBackgroundLayer = 0;
constexpr uint32_t kOverlayLayer = 3;
constexpr uint32_t kAnchorAllEdges = 1 | 2 | 4 | 8;  // top, bottom, left, right
constexpr uint32_t kNoKeyboard = 0;

}  // namespace screenprobe::wayland::layer_shell
