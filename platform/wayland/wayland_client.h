// libwayland-client, loaded at run time. A run on X11 or with no display at all never loads it
// (nor libffi, which it pulls in): loading them costs a short process about a fifth of its time.
//
// The generated protocol code calls wl_proxy_* functions by name. Those names are pointed at
// a table of functions looked up in the loaded library, before the generated headers are read,
// so that every call the protocol code makes goes through the table. The functions are listed
// once, in this folder's CMakeLists.txt.
#pragma once

#include <wayland-client-core.h>

#include <array>
#include <iterator>

#include "wayland_functions.h"

namespace screenprobe::wayland {

// The functions kFunctionNames names, in its order: filled by load_library(), and called through
// the macros beside kFunctionNames by the protocol code below and by the probe.
extern std::array<void*, std::size(kFunctionNames)> library;

// Loads libwayland-client.so.0 and finds every function of the table; false when either fails
// (no libwayland on this machine, or one older than 1.20).
bool load_library();

}  // namespace screenprobe::wayland

// clang-format off
#include "wayland-protocol.h"
#include "xdg-shell-protocol.h"
#include "xdg-output-protocol.h"
#include "fractional-scale-protocol.h"
// clang-format on
#include "wlr_layer_shell.h"

namespace screenprobe::wayland {

struct zwlr_layer_shell_v1;
struct zwlr_layer_surface_v1;

struct LayerSurfaceListener {
  void (*configure)(void* data, zwlr_layer_surface_v1* surface, uint32_t serial, uint32_t width,
                    uint32_t height);
  void (*closed)(void* data, zwlr_layer_surface_v1* surface);
};

// The layer shell's requests, as wayland-scanner would write them.
inline wl_proxy* as_proxy(void* object) { return static_cast<wl_proxy*>(object); }

inline zwlr_layer_surface_v1* get_layer_surface(zwlr_layer_shell_v1* shell, wl_surface* surface,
                                                uint32_t layer, const char* name) {
  wl_proxy* shell_proxy = as_proxy(shell);
  return reinterpret_cast<zwlr_layer_surface_v1*>(wl_proxy_marshal_flags(
      shell_proxy, layer_shell::kGetLayerSurface, &zwlr_layer_surface_v1_interface,
      wl_proxy_get_version(shell_proxy), 0, nullptr, surface, nullptr, layer, name));
}

// A request that makes no object, with arguments of the types its signature names.
template <typename... Arguments>
void layer_request(zwlr_layer_surface_v1* surface, uint32_t opcode, Arguments... arguments) {
  wl_proxy* proxy = as_proxy(surface);
  wl_proxy_marshal_flags(proxy, opcode, nullptr, wl_proxy_get_version(proxy), 0, arguments...);
}

inline void layer_get_popup(zwlr_layer_surface_v1* surface, xdg_popup* popup) {
  wl_proxy* proxy = as_proxy(surface);
  wl_proxy_marshal_flags(proxy, layer_shell::kGetPopup, nullptr, wl_proxy_get_version(proxy), 0,
                         popup);
}

inline void layer_surface_destroy(zwlr_layer_surface_v1* surface) {
  wl_proxy* proxy = as_proxy(surface);
  wl_proxy_marshal_flags(proxy, layer_shell::kSurfaceDestroy, nullptr, wl_proxy_get_version(proxy),
                         WL_MARSHAL_FLAG_DESTROY);
}

// Version 3 brought a destroy request; before it, forgetting the proxy is all there is.
inline void layer_shell_destroy(zwlr_layer_shell_v1* shell) {
  wl_proxy* proxy = as_proxy(shell);
  if (wl_proxy_get_version(proxy) >= 3) {
    wl_proxy_marshal_flags(proxy, layer_shell::kShellDestroy, nullptr, wl_proxy_get_version(proxy),
                           WL_MARSHAL_FLAG_DESTROY);
  } else {
    wl_proxy_destroy(proxy);
  }
}

}  // namespace screenprobe::wayland
