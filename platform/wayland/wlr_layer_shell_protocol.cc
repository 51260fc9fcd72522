// The wlr layer shell's interface tables: each request's and event's name, its signature as
// libwayland spells it (a leading number is the version that brought it), and the interface of
// each object or new_id argument.
#include "wlr_layer_shell.h"

extern "C" {
extern const struct wl_interface wl_output_interface;
extern const struct wl_interface wl_surface_interface;
extern const struct wl_interface xdg_popup_interface;
}

namespace {

const wl_interface* const kTypes[] = {
    nullptr,  // any number of plain arguments
    nullptr,
    nullptr,
    nullptr,
    &zwlr_layer_surface_v1_interface,  // get_layer_surface
    &wl_surface_interface,
    &wl_output_interface,
    nullptr,
    nullptr,
    &xdg_popup_interface,  // get_popup
};
// libwayland's tables are not const-qualified in their pointees; it never writes through them.
const wl_interface** types(size_t at) { return const_cast<const wl_interface**>(kTypes + at); }

const wl_message kShellRequests[] = {
    {"get_layer_surface", "no?ous", types(4)},
    {"destroy", "3", types(0)},
};

const wl_message kSurfaceRequests[] = {
    {"set_size", "uu", types(0)},
    {"set_anchor", "u", types(0)},
    {"set_exclusive_zone", "i", types(0)},
    {"set_margin", "iiii", types(0)},
    {"set_keyboard_interactivity", "u", types(0)},
    {"get_popup", "o", types(9)},
    {"ack_configure", "u", types(0)},
    {"destroy", "", types(0)},
    {"set_layer", "2u", types(0)},
};

const wl_message kSurfaceEvents[] = {
    {"configure", "uuu", types(0)},
    {"closed", "", types(0)},
};

}  // namespace

extern "C" {
const wl_interface zwlr_layer_shell_v1_interface = {"zwlr_layer_shell_v1", 4, 2,
                                                    kShellRequests,        0, nullptr};
const wl_interface zwlr_layer_surface_v1_interface = {"zwlr_layer_surface_v1", 4, 9,
                                                      kSurfaceRequests,        2, kSurfaceEvents};
}
