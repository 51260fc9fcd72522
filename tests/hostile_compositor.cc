// A compositor that misleads as ROW says.   hostile_compositor ROW SOCKET (in $XDG_RUNTIME_DIR)
//   zero: a 0x0 mode   close: hangs up after the registry   outputs: 1000, the layer surfaces on
//   the third   nomemory: raises no_memory   macbook: a MacBook's panel, eDP-1 at 2   above, never:
//   a second output of one logical size at 2, entered by a surface showing something in a layer
//   above the bars', or never   refuse, lie: a 30-row bar, popups dismissed or placed 100000 down
#include <wayland-server-core.h>

#include <cstring>
#include <string>

#include "wlr_layer_shell.h"

extern "C" const wl_interface wl_compositor_interface, wl_output_interface, xdg_wm_base_interface,
    wl_shm_interface;

namespace {

std::string row;
wl_resource* second_output = nullptr;

struct Object {                 // what a resource's requests have told
  wl_resource* role = nullptr;  // a surface's layer surface or xdg_surface
  wl_resource* popup = nullptr;
  uint32_t layer = 0;   // a surface's, where its role is a layer surface
  bool shows = false;   // a surface: a buffer is attached
  bool inside = false;  // a layer surface with an exclusive zone of 0
  bool configured = false;
};

Object& of(wl_resource* r) { return *static_cast<Object*>(wl_resource_get_user_data(r)); }
// An object argument (a server-side object is a resource), and the resource a new_id made.
wl_resource* resource_of(const wl_argument& a) { return reinterpret_cast<wl_resource*>(a.o); }
wl_resource* made_by(wl_resource* r, const wl_argument& a) {
  return wl_client_get_object(wl_resource_get_client(r), a.n);
}
int dispatch(const void*, void* target, uint32_t, const wl_message* message, wl_argument* args);
wl_resource* make(wl_client* client, const wl_interface* interface, uint32_t version, uint32_t id) {
  wl_resource* resource = wl_resource_create(client, interface, static_cast<int>(version), id);
  wl_resource_set_dispatcher(resource, dispatch, nullptr, new Object,
                             [](wl_resource* r) { delete &of(r); });
  return resource;
}

// The output's mode and scale, the layer surfaces' size (outputs: the third's), a bar's rows.
struct Desk {
  int32_t width, height, scale;
  uint32_t layer_width, layer_height, bar;
};
Desk desk() {
  if (row == "zero") return {0, 0, 1, 1920, 1080, 0};
  if (row == "outputs") return {1000, 500, 1, 1002, 502, 0};
  if (row == "macbook") return {3024, 1964, 2, 1512, 982, 0};
  return {1920, 1080, 1, 1920, 1080, row == "refuse" || row == "lie" ? 30u : 0u};
}

void on_commit(wl_resource* surface) {
  if (row == "above" && of(surface).shows && of(surface).layer >= 2 && second_output != nullptr) {
    wl_resource_post_event(surface, 0, second_output);  // enter
  }
  wl_resource* role = of(surface).role;
  if (role == nullptr || of(role).configured) return;
  of(role).configured = true;
  const uint32_t serial =
      wl_display_next_serial(wl_client_get_display(wl_resource_get_client(surface)));
  const Desk d = desk();
  if (std::strcmp(wl_resource_get_class(role), "zwlr_layer_surface_v1") == 0) {
    wl_resource_post_event(role, 0, serial, d.layer_width,
                           d.layer_height - of(role).inside * d.bar);
  } else if (of(role).popup != nullptr && row == "refuse") {
    wl_resource_post_event(of(role).popup, 1);  // popup_done
  } else if (of(role).popup != nullptr) {
    wl_resource_post_event(of(role).popup, 0, 0, row == "lie" ? 100000 : 0, 1, 1);
    wl_resource_post_event(role, 0, serial);
  }
}

int dispatch(const void*, void* target, uint32_t, const wl_message* message, wl_argument* args) {
  auto* resource = static_cast<wl_resource*>(target);
  const char* signature = message->signature;
  for (int i = 0; *signature != '\0'; ++signature) {
    if (*signature == 'n')
      make(wl_resource_get_client(resource), message->types[i], wl_resource_get_version(resource),
           args[i].n);
    if (std::strchr("0123456789?", *signature) == nullptr) ++i;
  }
  const std::string name = message->name;
  const std::string interface = wl_resource_get_class(resource);
  if (name == "destroy" || name == "release") {
    wl_resource_destroy(resource);
  } else if (interface == "wl_surface" && name == "commit") {
    on_commit(resource);
  } else if (name == "get_layer_surface" || name == "get_xdg_surface") {
    of(resource_of(args[1])).role = made_by(resource, args[0]);  // the surface given the role
    if (name == "get_layer_surface") of(resource_of(args[1])).layer = args[3].u;
  } else if (name == "set_exclusive_zone") {
    of(resource).inside = args[0].i == 0;
  } else if (interface == "wl_surface" && name == "attach") {
    of(resource).shows = args[0].o != nullptr;
  } else if (interface == "xdg_surface" && name == "get_popup") {
    of(resource).popup = made_by(resource, args[0]);
  }
  return 0;
}

void bind(wl_client* client, void* data, uint32_t version, uint32_t id) {
  const auto* interface = static_cast<const wl_interface*>(data);
  make(client, interface, version, id);
  if (interface == &wl_compositor_interface && row == "nomemory") wl_client_post_no_memory(client);
  if (interface == &wl_compositor_interface && row == "close") {
    wl_event_loop_add_idle(
        wl_display_get_event_loop(wl_client_get_display(client)),
        [](void* c) { wl_client_destroy(static_cast<wl_client*>(c)); }, client);
  }
}

void bind_output(wl_client* client, void* data, uint32_t version, uint32_t id) {
  wl_resource* output = make(client, &wl_output_interface, version, id);
  const auto index = static_cast<int32_t>(reinterpret_cast<intptr_t>(data));
  const Desk d = index == 1 && row != "outputs" ? Desk{3840, 2160, 2, 0, 0, 0} : desk();
  const int32_t step = row == "outputs" ? index : 0;  // each a size of its own
  if (index == 1) second_output = output;
  wl_resource_post_event(output, 0, 0, 0, 0, 0, 0, "hostile", "output", 0);       // geometry
  wl_resource_post_event(output, 1, 1u, d.width + step, d.height + step, 60000);  // the mode
  wl_resource_post_event(output, 3, d.scale);
  if (version >= 4) wl_resource_post_event(output, 4, "eDP-1");  // name
  wl_resource_post_event(output, 2);                             // done
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  row = argv[1];
  wl_display* display = wl_display_create();
  if (display == nullptr || wl_display_add_socket(display, argv[2]) != 0) return 1;
  for (const wl_interface* interface : {&wl_compositor_interface, &xdg_wm_base_interface,
                                        &zwlr_layer_shell_v1_interface, &wl_shm_interface}) {
    wl_global_create(display, interface, interface->version, const_cast<wl_interface*>(interface),
                     bind);
  }
  const intptr_t outputs = row == "outputs" ? 1000 : row == "above" || row == "never" ? 2 : 1;
  for (intptr_t i = 0; i < outputs; ++i) {
    wl_global_create(display, &wl_output_interface, 4, reinterpret_cast<void*>(i), bind_output);
  }
  wl_display_run(display);
}
