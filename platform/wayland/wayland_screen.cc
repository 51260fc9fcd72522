// The main screen of a Wayland compositor: its focused output, measured by asking the compositor
// to place surfaces that are never shown.
//
// With the wlr layer shell (sway, KWin and most compositors built on wlroots), two layer surfaces
// are made with no output named, so they land on the focused output: the inside surface, in the
// background layer with an exclusive zone of 0, placed inside what bars leave free, and the whole
// surface, in the overlay layer with -1, covering the whole output. Once both are configured,
// each gets a popup asked to sit far above and left of its parent and allowed to slide back: the
// compositor slides both to the same edge, so the difference of their y is the band the bars keep
// at the top.
//
// Round trips after connecting: the registry; the layer surfaces' configures with the outputs'
// details; the popups' configures. Where two outputs have the whole surface's size, one more: a
// transparent pixel is shown on it for that round trip, in which the compositor says which output
// it entered. The overlay layer is above bars, windows and full-screen windows, and compositors
// built on wlroots 0.18 and later tell a surface's entry only where some output shows it.
//
// Without the layer shell (GNOME, weston), an xdg_toplevel asking to be maximised, never mapped:
// the output its size (or its bounds) fits best, and that output's height less the configured
// height. Two round trips after connecting.
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "screen.h"
#include "unix_screen.h"
#include "wayland_client.h"
#include "wayland_events.h"
#include "wayland_outputs.h"

namespace screenprobe {

namespace {

using namespace wayland;

// More outputs than any desk has; a compositor announcing more is not believed about them.
constexpr size_t kMaxOutputs = 64;

// Every proxy is owned, and destroyed with the request its protocol gives for it.
template <typename T, void (*Destroy)(T*)>
struct Destroyer {
  void operator()(T* object) const { Destroy(object); }
};
template <typename T, void (*Destroy)(T*)>
using Owned = std::unique_ptr<T, Destroyer<T, Destroy>>;

// For objects whose interface has no destructor request.
template <typename T>
void forget(T* object) {
  wl_proxy_destroy(reinterpret_cast<wl_proxy*>(object));
}
void release_output(wl_output* output) {
  if (wl_output_get_version(output) >= WL_OUTPUT_RELEASE_SINCE_VERSION) {
    wl_output_release(output);
  } else {
    forget(output);
  }
}
// Whatever is still unsent when the probe leaves is only the teardown, which the compositor
// does for a client that goes away anyway; the measurement is complete by then.
void disconnect(wl_display* display) {
  (void)wl_display_flush(display);
  wl_display_disconnect(display);
}

// A listener table with every entry empty but those `fill` sets. Newer libwayland and
// wayland-protocols headers give a listener members for events of versions the probe never
// binds, which a braced list would leave out (and a newer compiler warn about); each table below
// sets every event the bound version can send, as libwayland aborts on an empty entry it is sent.
template <typename Listener>
Listener table(void (*fill)(Listener&)) {
  Listener listener{};
  fill(listener);
  return listener;
}

template <typename Listener>
void listen(void* proxy, const Listener& listener, void* data) {
  // Adding a listener fails only when one is set already, which nothing here does.
  (void)wl_proxy_add_listener(static_cast<wl_proxy*>(proxy),
                              reinterpret_cast<void (**)(void)>(const_cast<Listener*>(&listener)),
                              data);
}

// A request that makes an object fails only when libwayland could not allocate it.
template <typename T>
T* made(T* object) {
  if (object == nullptr) throw std::bad_alloc();
  return object;
}

uint32_t version_for(uint32_t offered, const wl_interface& known, uint32_t cap) {
  return std::min({offered, static_cast<uint32_t>(known.version), cap});
}

using Surface = Owned<wl_surface, wl_surface_destroy>;
using Fractional = Owned<wp_fractional_scale_v1, wp_fractional_scale_v1_destroy>;
using XdgSurface = Owned<xdg_surface, xdg_surface_destroy>;

struct Output {
  Output(uint32_t global, uint32_t version) : name(global), events(version) {}

  Owned<wl_output, release_output> proxy;
  Owned<zxdg_output_v1, zxdg_output_v1_destroy> xdg;
  uint32_t name = 0;
  OutputEvents events;
};

struct LayerProbe {
  Surface surface;
  Fractional fractional;
  Owned<zwlr_layer_surface_v1, layer_surface_destroy> layer;
  LayerConfigure configure;
};

struct PopupProbe {
  Surface surface;
  XdgSurface xdg;
  Owned<xdg_popup, xdg_popup_destroy> popup;
  PopupPlacement placement;
};

struct ToplevelProbe {
  Surface surface;
  XdgSurface xdg;
  Owned<xdg_toplevel, xdg_toplevel_destroy> toplevel;
  ToplevelConfigure configure;
};

// Members are destroyed in the reverse of their order here, which is the order xdg-shell asks
// for: popups before the surfaces they belong to, each role before its wl_surface, the
// fractional-scale object before its surface, the globals after every surface, xdg_wm_base
// last of them, and the connection after all.
struct Session {
  Owned<wl_display, disconnect> display;
  Owned<wl_registry, forget> registry;
  Owned<xdg_wm_base, xdg_wm_base_destroy> wm_base;
  Owned<wl_compositor, forget> compositor;
  Owned<wl_shm, forget> shm;
  Owned<zwlr_layer_shell_v1, layer_shell_destroy> layer_shell;
  Owned<zxdg_output_manager_v1, zxdg_output_manager_v1_destroy> output_manager;
  Owned<wp_fractional_scale_manager_v1, wp_fractional_scale_manager_v1_destroy> fractional_manager;
  std::vector<Output> outputs;
  LayerProbe inside;  // exclusive zone 0: placed inside what bars leave free
  LayerProbe whole;   // exclusive zone -1: the whole output
  PopupProbe inside_popup;
  PopupProbe whole_popup;
  ToplevelProbe maximized;
  std::optional<uint32_t> preferred_scale;  // the whole surface's
  Entry entry;                              // the whole surface's
  bool synced = false;
  bool out_of_memory = false;  // a bind failed inside a listener, which cannot throw
};

// Listeners. Each event the bound versions can send has one: libwayland calls whatever is set.

// For the events the probe has no use for, of any signature.
template <typename... Arguments>
void ignore(void*, Arguments...) {}

extern const wl_output_listener kOutputListener;
extern const xdg_wm_base_listener kWmBaseListener;

void on_global(void* data, wl_registry* registry, uint32_t name, const char* interface,
               uint32_t version) {
  Session& s = *static_cast<Session*>(data);
  const auto bind = [&](auto& slot, const wl_interface& known, uint32_t cap) {
    using T = typename std::remove_reference_t<decltype(slot)>::element_type;
    if (slot) return false;
    slot.reset(static_cast<T*>(
        wl_registry_bind(registry, name, &known, version_for(version, known, cap))));
    if (!slot) s.out_of_memory = true;
    return bool(slot);
  };
  const std::string_view offered(interface);
  if (offered == wl_compositor_interface.name) {
    bind(s.compositor, wl_compositor_interface, 4);
  } else if (offered == wl_shm_interface.name) {
    bind(s.shm, wl_shm_interface, 1);
  } else if (offered == xdg_wm_base_interface.name) {
    if (bind(s.wm_base, xdg_wm_base_interface, 5)) listen(s.wm_base.get(), kWmBaseListener, &s);
  } else if (offered == zwlr_layer_shell_v1_interface.name) {
    bind(s.layer_shell, zwlr_layer_shell_v1_interface, layer_shell::kMaxVersion);
  } else if (offered == zxdg_output_manager_v1_interface.name) {
    bind(s.output_manager, zxdg_output_manager_v1_interface, 3);
  } else if (offered == wp_fractional_scale_manager_v1_interface.name) {
    bind(s.fractional_manager, wp_fractional_scale_manager_v1_interface, 1);
  } else if (offered == wl_output_interface.name && s.outputs.size() < kMaxOutputs) {
    // Within the capacity reserved.
    Output& output = s.outputs.emplace_back(name, version_for(version, wl_output_interface, 4));
    if (bind(output.proxy, wl_output_interface, 4)) {
      listen(output.proxy.get(), kOutputListener, &output);
    } else {
      s.outputs.pop_back();
    }
  }
}

void on_global_remove(void* data, wl_registry*, uint32_t name) {
  for (Output& output : static_cast<Session*>(data)->outputs) {
    if (output.name == name) output.events.removed();
  }
}

const wl_registry_listener kRegistryListener = table<wl_registry_listener>([](auto& l) {
  l.global = on_global;
  l.global_remove = on_global_remove;
});

// An output's listeners get its events.
OutputEvents& events_of(void* data) { return static_cast<Output*>(data)->events; }

void on_geometry(void* data, wl_output*, int32_t, int32_t, int32_t, int32_t, int32_t, const char*,
                 const char*, int32_t transform) {
  events_of(data).geometry(transform);
}
void on_mode(void* data, wl_output*, uint32_t flags, int32_t width, int32_t height, int32_t) {
  events_of(data).mode((flags & WL_OUTPUT_MODE_CURRENT) != 0, Size{width, height});
}
void on_output_done(void* data, wl_output*) { events_of(data).done(); }
void on_output_scale(void* data, wl_output*, int32_t factor) { events_of(data).scale(factor); }
void on_output_name(void* data, wl_output*, const char* name) { events_of(data).name(name); }

extern const wl_output_listener kOutputListener = table<wl_output_listener>([](auto& l) {
  l.geometry = on_geometry;
  l.mode = on_mode;
  l.done = on_output_done;
  l.scale = on_output_scale;
  l.name = on_output_name;
  l.description = ignore;
});

void on_logical_size(void* data, zxdg_output_v1*, int32_t width, int32_t height) {
  events_of(data).logical_size(Size{width, height});
}
void on_xdg_output_done(void* data, zxdg_output_v1*) { events_of(data).xdg_done(); }

const zxdg_output_v1_listener kXdgOutputListener = table<zxdg_output_v1_listener>([](auto& l) {
  l.logical_position = ignore;
  l.logical_size = on_logical_size;
  l.done = on_xdg_output_done;
  l.name = ignore;
  l.description = ignore;
});

void on_ping(void*, xdg_wm_base* base, uint32_t serial) { xdg_wm_base_pong(base, serial); }
extern const xdg_wm_base_listener kWmBaseListener =
    table<xdg_wm_base_listener>([](auto& l) { l.ping = on_ping; });

void on_layer_configure(void* data, zwlr_layer_surface_v1* layer, uint32_t serial, uint32_t width,
                        uint32_t height) {
  layer_request(layer, layer_shell::kAckConfigure, serial);
  static_cast<LayerConfigure*>(data)->configure(width, height);
}
void on_layer_closed(void* data, zwlr_layer_surface_v1*) {
  static_cast<LayerConfigure*>(data)->close();
}
const LayerSurfaceListener kLayerListener = {on_layer_configure, on_layer_closed};

void on_preferred_scale(void* data, wp_fractional_scale_v1*, uint32_t scale) {
  static_cast<Session*>(data)->preferred_scale = scale;
}
const wp_fractional_scale_v1_listener kFractionalListener =
    table<wp_fractional_scale_v1_listener>([](auto& l) { l.preferred_scale = on_preferred_scale; });

// For a popup's xdg_surface (`Capture` PopupPlacement) or the toplevel's (ToplevelConfigure).
template <typename Capture>
void on_surface_configure(void* data, xdg_surface* surface, uint32_t serial) {
  xdg_surface_ack_configure(surface, serial);
  static_cast<Capture*>(data)->surface_configure();
}
const xdg_surface_listener kXdgSurfaceListener = table<xdg_surface_listener>(
    [](auto& l) { l.configure = on_surface_configure<PopupPlacement>; });
const xdg_surface_listener kToplevelSurfaceListener = table<xdg_surface_listener>(
    [](auto& l) { l.configure = on_surface_configure<ToplevelConfigure>; });

void on_popup_configure(void* data, xdg_popup*, int32_t, int32_t y, int32_t, int32_t) {
  static_cast<PopupPlacement*>(data)->configure(y);
}
void on_popup_done(void* data, xdg_popup*) { static_cast<PopupPlacement*>(data)->dismiss(); }
const xdg_popup_listener kPopupListener = table<xdg_popup_listener>([](auto& l) {
  l.configure = on_popup_configure;
  l.popup_done = on_popup_done;
  l.repositioned = ignore;
});

void on_toplevel_configure(void* data, xdg_toplevel*, int32_t width, int32_t height, wl_array*) {
  static_cast<ToplevelConfigure*>(data)->configure(Size{width, height});
}
void on_toplevel_bounds(void* data, xdg_toplevel*, int32_t width, int32_t height) {
  static_cast<ToplevelConfigure*>(data)->configure_bounds(Size{width, height});
}
const xdg_toplevel_listener kToplevelListener = table<xdg_toplevel_listener>([](auto& l) {
  l.configure = on_toplevel_configure;
  l.close = ignore;
  l.configure_bounds = on_toplevel_bounds;
  l.wm_capabilities = ignore;
});

void on_enter(void* data, wl_surface*, wl_output* output) {
  Session& s = *static_cast<Session*>(data);
  const auto kept =
      std::ranges::find(s.outputs, output, [](const Output& o) { return o.proxy.get(); });
  s.entry.enter(kept == s.outputs.end() ? std::nullopt
                                        : std::optional<size_t>(kept - s.outputs.begin()));
}
const wl_surface_listener kSurfaceListener = table<wl_surface_listener>([](auto& l) {
  l.enter = on_enter;
  l.leave = ignore;
});

void on_synced(void* data, wl_callback*, uint32_t) { static_cast<Session*>(data)->synced = true; }
const wl_callback_listener kSyncListener =
    table<wl_callback_listener>([](auto& l) { l.done = on_synced; });

// The connection broke, or the compositor raised a protocol error: no answer. Running out of
// memory is not that, and is not taken for a missing screen.
struct Broken {};

[[noreturn]] void fail(const Session& s) {
  // libwayland says ENOMEM both where it could not allocate and where the compositor raised
  // wl_display's no_memory error. Only the first is the probe's: the compositor's error names
  // the interface it was raised on.
  if (wl_display_get_error(s.display.get()) == ENOMEM) {
    const wl_interface* raised_on = nullptr;
    (void)wl_display_get_protocol_error(s.display.get(), &raised_on, nullptr);
    if (raised_on == nullptr) throw std::bad_alloc();
  }
  throw Broken{};
}

void dispatch_until(Session& s, const auto& done) {
  while (!done()) {
    if (wl_display_dispatch(s.display.get()) == -1) fail(s);
  }
}

bool outputs_done(const Session& s) {
  return std::ranges::all_of(s.outputs, [](const Output& o) { return o.events.described(); });
}

wl_surface* new_surface(Session& s) { return wl_compositor_create_surface(s.compositor.get()); }

// A layer surface on the surface `probe` holds, anchored to every edge with no size of its own,
// so that the compositor configures it to the area its exclusive zone places it in.
void make_layer_probe(Session& s, LayerProbe& probe, uint32_t layer, int32_t exclusive_zone) {
  probe.layer.reset(
      made(get_layer_surface(s.layer_shell.get(), probe.surface.get(), layer, "screenprobe")));
  listen(probe.layer.get(), kLayerListener, &probe.configure);
  layer_request(probe.layer.get(), layer_shell::kSetAnchor, layer_shell::kAnchorAllEdges);
  layer_request(probe.layer.get(), layer_shell::kSetSize, 0u, 0u);
  layer_request(probe.layer.get(), layer_shell::kSetExclusiveZone, exclusive_zone);
  layer_request(probe.layer.get(), layer_shell::kSetKeyboardInteractivity,
                layer_shell::kNoKeyboard);
  wl_surface_commit(probe.surface.get());
}

// A 1x1 popup asked to sit far above and left of its parent, and allowed to slide: the
// compositor slides it back to the top-left corner of the area it keeps popups in.
void make_popup(Session& s, LayerProbe& parent, PopupProbe& popup, xdg_positioner* positioner) {
  popup.surface.reset(made(new_surface(s)));
  popup.xdg.reset(made(xdg_wm_base_get_xdg_surface(s.wm_base.get(), popup.surface.get())));
  listen(popup.xdg.get(), kXdgSurfaceListener, &popup.placement);
  popup.popup.reset(made(xdg_surface_get_popup(popup.xdg.get(), nullptr, positioner)));
  listen(popup.popup.get(), kPopupListener, &popup.placement);
  layer_get_popup(parent.layer.get(), popup.popup.get());
  wl_surface_commit(popup.surface.get());
}

void make_popups(Session& s) {
  const Owned<xdg_positioner, xdg_positioner_destroy> owned(
      made(xdg_wm_base_create_positioner(s.wm_base.get())));
  xdg_positioner* positioner = owned.get();
  xdg_positioner_set_size(positioner, 1, 1);
  xdg_positioner_set_anchor_rect(positioner, 0, 0, 1, 1);
  xdg_positioner_set_anchor(positioner, XDG_POSITIONER_ANCHOR_TOP_LEFT);
  xdg_positioner_set_gravity(positioner, XDG_POSITIONER_GRAVITY_TOP_LEFT);
  xdg_positioner_set_offset(positioner, -100000, -100000);
  xdg_positioner_set_constraint_adjustment(
      positioner,
      XDG_POSITIONER_CONSTRAINT_ADJUSTMENT_SLIDE_X | XDG_POSITIONER_CONSTRAINT_ADJUSTMENT_SLIDE_Y);
  make_popup(s, s.inside, s.inside_popup, positioner);
  make_popup(s, s.whole, s.whole_popup, positioner);
}

// Which output the whole surface is on, told by the compositor once the surface shows something:
// a transparent pixel that takes no input, taken down again after one round trip, which brings
// the entry and the output's preferred scale that follows it. In the overlay layer nothing but
// another client's overlay surface covers it; where one does, no entry comes. The index of that
// output, where the probe kept it.
std::optional<size_t> entered_output(Session& s) {
  if (!s.shm) return std::nullopt;
  // A file that cannot be made or sized (a full or broken tmpfs) is no pixel, as is one nothing
  // shows: the probe's own failure to allocate is only where libwayland makes no object.
  const int fd = memfd_create("screenprobe-pixel", MFD_CLOEXEC);
  if (fd == -1) return std::nullopt;
  constexpr int32_t kPixelBytes = 4;
  const bool sized = ftruncate(fd, kPixelBytes) == 0;
  wl_shm_pool* pool = sized ? wl_shm_create_pool(s.shm.get(), fd, kPixelBytes) : nullptr;
  close(fd);  // the request carries a copy of it
  if (!sized) return std::nullopt;
  const Owned<wl_shm_pool, wl_shm_pool_destroy> pixels(made(pool));
  const Owned<wl_buffer, wl_buffer_destroy> pixel(
      made(wl_shm_pool_create_buffer(pixels.get(), 0, 1, 1, kPixelBytes, WL_SHM_FORMAT_ARGB8888)));
  wl_surface* surface = s.whole.surface.get();
  const Owned<wl_region, wl_region_destroy> nowhere(
      made(wl_compositor_create_region(s.compositor.get())));
  wl_surface_set_input_region(surface, nowhere.get());
  wl_surface_attach(surface, pixel.get(), 0, 0);
  wl_surface_commit(surface);
  const Owned<wl_callback, forget> sync(made(wl_display_sync(s.display.get())));
  listen(sync.get(), kSyncListener, &s);
  dispatch_until(s, [&] { return s.synced; });
  wl_surface_attach(surface, nullptr, 0, 0);
  wl_surface_commit(surface);
  return s.entry.output;
}

std::vector<OutputState> states_of(const Session& s) {
  std::vector<OutputState> states;
  states.reserve(s.outputs.size());
  for (const Output& output : s.outputs) states.push_back(output.events.state());
  return states;
}

// The main output (its index, as it stands after the last round trip), its frame and scale, and
// the band kept at its top.
struct Measurement {
  size_t output;
  Frame frame;
  int64_t band;
};

std::optional<Measurement> measure_with_layer_shell(Session& s) {
  // The whole surface tells which output it entered and the compositor's scale for it. It is
  // above bars and windows, so that nothing of the desktop's own hides the pixel it may show;
  // neither surface's placement depends on its layer.
  s.inside.surface.reset(made(new_surface(s)));
  s.whole.surface.reset(made(new_surface(s)));
  listen(s.whole.surface.get(), kSurfaceListener, &s);
  if (s.fractional_manager) {
    s.whole.fractional.reset(made(wp_fractional_scale_manager_v1_get_fractional_scale(
        s.fractional_manager.get(), s.whole.surface.get())));
    listen(s.whole.fractional.get(), kFractionalListener, &s);
  }
  make_layer_probe(s, s.inside, layer_shell::kBackgroundLayer, 0);
  make_layer_probe(s, s.whole, layer_shell::kOverlayLayer, -1);
  dispatch_until(s, [&] {
    if (s.inside.configure.closed || s.whole.configure.closed) throw Broken{};
    return s.inside.configure.size && s.whole.configure.size && outputs_done(s);
  });
  const Size inside = *s.inside.configure.size;
  const Size whole = *s.whole.configure.size;

  // Popups are made only now that both parents are configured: a compositor may place a layer
  // surface only when it first configures it, and popups made earlier land all in one place.
  if (s.wm_base) {
    make_popups(s);
    dispatch_until(
        s, [&] { return s.inside_popup.placement.settled() && s.whole_popup.placement.settled(); });
  }

  std::vector<OutputState> states = states_of(s);
  std::optional<MainOutput> main = main_by_size(states, whole);
  if (!main) {
    const std::optional<size_t> entered = entered_output(s);
    states = states_of(s);  // as they stand after that round trip
    main = main_entered(states, whole, entered, s.preferred_scale);
  }
  if (!main) return std::nullopt;
  const Frame frame = measure(states[main->index], main->preferred);
  return Measurement{main->index, frame,
                     layer_band(inside, whole, s.inside_popup.placement.placed(),
                                s.whole_popup.placement.placed(), frame.size.height)};
}

std::optional<Measurement> measure_with_toplevel(Session& s) {
  ToplevelProbe& probe = s.maximized;
  probe.surface.reset(made(new_surface(s)));
  probe.xdg.reset(made(xdg_wm_base_get_xdg_surface(s.wm_base.get(), probe.surface.get())));
  listen(probe.xdg.get(), kToplevelSurfaceListener, &probe.configure);
  probe.toplevel.reset(made(xdg_surface_get_toplevel(probe.xdg.get())));
  listen(probe.toplevel.get(), kToplevelListener, &probe.configure);
  xdg_toplevel_set_maximized(probe.toplevel.get());
  wl_surface_commit(probe.surface.get());
  dispatch_until(s, [&] { return probe.configure.settled && outputs_done(s); });

  // The window is configured for the output the compositor would put a new window on (GNOME:
  // the one with the pointer, or the primary), with the bounds of that output's work area.
  const std::vector<OutputState> states = states_of(s);
  const ToplevelConfigure& configured = probe.configure;
  const std::optional<size_t> main = maximised_on(states, configured.bounds, configured.size);
  if (!main) return std::nullopt;
  // A height of 0 leaves the size to the client: nothing is known to be reserved. One taller
  // than the output is not this output's: band_within holds it at 0.
  const int32_t height = configured.size.height;
  const int64_t band = height > 0 ? int64_t{logical_size(states[*main])->height} - height : 0;
  // Never mapped, so the compositor's preferred scale does not count.
  return Measurement{*main, measure(states[*main], std::nullopt), band};
}

void ignore_log(const char*, va_list) {}

}  // namespace

WaylandAnswer wayland_main_screen() {
  if (!load_library()) return {};
  // libwayland writes its complaints (no runtime directory, a protocol error) to standard error,
  // which stays the probe's own.
  wl_log_set_handler_client(ignore_log);
  Session s;
  s.display.reset(wl_display_connect(nullptr));
  if (!s.display) {
    if (errno == ENOMEM) throw std::bad_alloc();
    return {};
  }
  // From here on, Wayland answers: whatever goes wrong is no screen, never X11's answer.
  WaylandAnswer answer{true, nullptr};
  s.outputs.reserve(kMaxOutputs);  // listeners hold each output's address
  std::optional<Measurement> measured;
  try {
    s.registry.reset(made(wl_display_get_registry(s.display.get())));
    listen(s.registry.get(), kRegistryListener, &s);
    if (wl_display_roundtrip(s.display.get()) == -1) fail(s);
    if (s.out_of_memory) throw std::bad_alloc();
    if (!s.compositor || (!s.layer_shell && !s.wm_base)) return answer;
    for (Output& output : s.outputs) {
      if (!s.output_manager) break;
      output.xdg.reset(
          made(zxdg_output_manager_v1_get_xdg_output(s.output_manager.get(), output.proxy.get())));
      listen(output.xdg.get(), kXdgOutputListener, &output);
      // mutter (xdg-output 3) sends geometry, mode, scale, done, and only then logical_size, done.
      output.events.xdg_output_asked(zxdg_output_v1_get_version(output.xdg.get()));
    }
    measured = s.layer_shell ? measure_with_layer_shell(s) : measure_with_toplevel(s);
  } catch (const Broken&) {
    return answer;
  }
  if (!measured) return answer;
  // The report's space is the main output's own, y growing upward: the band is at its top.
  const OutputState& main = s.outputs[measured->output].events.state();
  const Frame& frame = measured->frame;
  const Size size = frame.size;
  const int32_t band = band_within(measured->band, size.height);
  answer.screen = std::make_unique<MeasuredScreen>(
      CGRectMake(0, 0, size.width, size.height), CGRectMake(0, 0, size.width, size.height - band),
      frame.scale, notch_top(main, frame.scale, notched_panel(SystemFiles())));
  return answer;
}

}  // namespace screenprobe
