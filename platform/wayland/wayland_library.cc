#include <dlfcn.h>

#include "wayland_client.h"

namespace screenprobe::wayland {

Library library{};

namespace {

template <typename Function>
bool find(void* handle, const char* name, Function& slot) {
  slot = reinterpret_cast<Function>(dlsym(handle, name));
  return slot != nullptr;
}

}  // namespace

bool load_library() {
  // The versioned name: the unversioned one exists only where the -dev package is installed.
  // The library stays loaded for the rest of this short process. Lazy binding leaves its own
  // calls into libffi and libc unresolved until made: a run makes few of them.
  void* handle = dlopen("libwayland-client.so.0", RTLD_LAZY | RTLD_LOCAL);
  if (handle == nullptr) return false;
  Library& l = library;
  return find(handle, "wl_display_connect", l.display_connect) &&
         find(handle, "wl_display_disconnect", l.display_disconnect) &&
         find(handle, "wl_display_dispatch", l.display_dispatch) &&
         find(handle, "wl_display_roundtrip", l.display_roundtrip) &&
         find(handle, "wl_display_flush", l.display_flush) &&
         find(handle, "wl_display_get_fd", l.display_get_fd) &&
         find(handle, "wl_display_prepare_read", l.display_prepare_read) &&
         find(handle, "wl_display_cancel_read", l.display_cancel_read) &&
         find(handle, "wl_display_read_events", l.display_read_events) &&
         find(handle, "wl_display_dispatch_pending", l.display_dispatch_pending) &&
         find(handle, "wl_display_get_error", l.display_get_error) &&
         find(handle, "wl_display_get_protocol_error", l.display_get_protocol_error) &&
         find(handle, "wl_log_set_handler_client", l.log_set_handler_client) &&
         find(handle, "wl_proxy_marshal_flags", l.proxy_marshal_flags) &&
         find(handle, "wl_proxy_add_listener", l.proxy_add_listener) &&
         find(handle, "wl_proxy_destroy", l.proxy_destroy) &&
         find(handle, "wl_proxy_get_version", l.proxy_get_version) &&
         find(handle, "wl_proxy_get_user_data", l.proxy_get_user_data) &&
         find(handle, "wl_proxy_set_user_data", l.proxy_set_user_data);
}

}  // namespace screenprobe::wayland
