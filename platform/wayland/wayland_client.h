// libwayland-client, loaded at run time. A run on X11 or with no display at all never loads it
// (nor libffi, which it pulls in): loading them costs a short process about a fifth of its time.
//
// The generated protocol code calls wl_proxy_* functions by name. Those names are pointed at
// a table of functions looked up in the loaded library, before the generated headers are read,
// so that every call the protocol code makes goes through the table.
#pragma once

#include <wayland-client-core.h>

namespace screenprobe::wayland {

struct Library {
  decltype(&::wl_display_connect) display_connect;
  decltype(&::wl_display_disconnect) display_disconnect;
  decltype(&::wl_display_dispatch) display_dispatch;
  decltype(&::wl_display_roundtrip) display_roundtrip;
  decltype(&::wl_display_flush) display_flush;
  decltype(&::wl_display_get_fd) display_get_fd;
  decltype(&::wl_display_prepare_read) display_prepare_read;
  decltype(&::wl_display_cancel_read) display_cancel_read;
  decltype(&::wl_display_read_events) display_read_events;
  decltype(&::wl_display_dispatch_pending) display_dispatch_pending;
  decltype(&::wl_display_get_error) display_get_error;
  decltype(&::wl_display_get_protocol_error) display_get_protocol_error;
  decltype(&::wl_log_set_handler_client) log_set_handler_client;
  decltype(&::wl_proxy_marshal_flags) proxy_marshal_flags;
  decltype(&::wl_proxy_add_listener) proxy_add_listener;
  decltype(&::wl_proxy_destroy) proxy_destroy;
  decltype(&::wl_proxy_get_version) proxy_get_version;
  decltype(&::wl_proxy_get_user_data) proxy_get_user_data;
  decltype(&::wl_proxy_set_user_data) proxy_set_user_data;
};

// Filled by load_library(); the protocol code below reads it.
extern Library library;

// Loads libwayland-client.so.0 and finds every function of the table; false when either fails
// (no libwayland on this machine, or one older than 1.20).
bool load_library();

}  // namespace screenprobe::wayland

#define wl_display_connect screenprobe::wayland::library.display_connect
#define wl_display_disconnect screenprobe::wayland::library.display_disconnect
#define wl_display_dispatch screenprobe::wayland::library.display_dispatch
#define wl_display_roundtrip screenprobe::wayland::library.display_roundtrip
#define wl_display_flush screenprobe::wayland::library.display_flush
#define wl_display_get_fd screenprobe::wayland::library.display_get_fd
#define wl_display_prepare_read screenprobe::wayland::library.display_prepare_read
#define wl_display_cancel_read screenprobe::wayland::library.display_cancel_read
#define wl_display_read_events screenprobe::wayland::library.display_read_events
#define wl_display_dispatch_pending screenprobe::wayland::library.display_dispatch_pending
#define wl_display_get_error screenprobe::wayland::library.display_get_error
#define wl_display_get_protocol_error screenprobe::wayland::library.display_get_protocol_error
#define wl_log_set_handler_client screenprobe::wayland::library.log_set_handler_client
#define wl_proxy_marshal_flags screenprobe::wayland::library.proxy_marshal_flags
#define wl_proxy_add_listener screenprobe::wayland::library.proxy_add_listener
#define wl_proxy_destroy screenprobe::wayland::library.proxy_destroy
#define wl_proxy_get_version screenprobe::wayland::library.proxy_get_version
#define wl_proxy_get_user_data screenprobe::wayland::library.proxy_get_user_data
#define wl_proxy_set_user_data screenprobe::wayland::library.proxy_set_user_data

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
