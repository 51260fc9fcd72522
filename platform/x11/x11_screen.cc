// The main screen of an X11 display, through XCB and RandR 1.5 monitors.
//
// Everything is read when the screen is made, with every request that does not depend on an
// earlier reply sent before any reply is awaited: a run costs a few round trips, not one per
// property. Every root property can be set by any client, so each reply's type, format and
// length is checked, and anything off counts as "not set".
#include <fcntl.h>
#include <unistd.h>
#include <xcb/randr.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "screen.h"
#include "x11_geometry.h"

namespace screenprobe {

namespace {

using x11::RootRect;

struct FreeDeleter {
  void operator()(void* pointer) const { std::free(pointer); }
};
template <typename Reply>
using ReplyPtr = std::unique_ptr<Reply, FreeDeleter>;

struct DisconnectDeleter {
  void operator()(xcb_connection_t* connection) const { xcb_disconnect(connection); }
};
using Connection = std::unique_ptr<xcb_connection_t, DisconnectDeleter>;

// Bounds on what is read of a property, in 32-bit units. Work areas: four values for each of
// 1024 desktops or monitors. The resource database: 256 KiB, far beyond any real one.
constexpr uint32_t kMaxAreaValues = 4 * 1024;
constexpr uint32_t kMaxResourceUnits = 64 * 1024;

// The reply to a request, or null when the server answered with an error; the error is freed.
template <typename Reply, typename Cookie>
ReplyPtr<Reply> await(xcb_connection_t* connection, Cookie cookie,
                      Reply* (*reply_of)(xcb_connection_t*, Cookie, xcb_generic_error_t**)) {
  xcb_generic_error_t* error = nullptr;
  ReplyPtr<Reply> reply(reply_of(connection, cookie, &error));
  std::free(error);
  return reply;
}

xcb_atom_t await_atom(xcb_connection_t* connection, xcb_intern_atom_cookie_t cookie) {
  ReplyPtr<xcb_intern_atom_reply_t> reply = await(connection, cookie, xcb_intern_atom_reply);
  return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

xcb_get_property_cookie_t request_property(xcb_connection_t* connection, xcb_window_t window,
                                           xcb_atom_t property, xcb_atom_t type,
                                           uint32_t max_units) {
  return xcb_get_property(connection, 0, window, property, type, 0, max_units);
}

// A CARDINAL property of the root window, asked for when its atom exists.
std::optional<xcb_get_property_cookie_t> request_root_property(xcb_connection_t* connection,
                                                               xcb_window_t root, xcb_atom_t name,
                                                               uint32_t max_units) {
  if (name == XCB_ATOM_NONE) return std::nullopt;
  return request_property(connection, root, name, XCB_ATOM_CARDINAL, max_units);
}

// A property's value as the server sent it, if it has the given type and format and its stated
// length fits in the reply that carries it.
struct PropertyValue {
  std::string_view bytes;
  bool truncated = false;  // the property is longer than what was asked for
};

std::optional<PropertyValue> checked_value(const xcb_get_property_reply_t* reply, xcb_atom_t type,
                                           uint8_t format) {
  if (reply == nullptr || reply->type != type || reply->format != format) return std::nullopt;
  const uint64_t stated = uint64_t{reply->value_len} * (format / 8);
  const uint64_t carried = uint64_t{reply->length} * 4;
  if (stated > carried) return std::nullopt;
  const auto* data = static_cast<const char*>(xcb_get_property_value(reply));
  return PropertyValue{std::string_view(data, stated), reply->bytes_after != 0};
}

// The CARDINAL/32 values of a property; empty when it is missing or malformed.
std::vector<uint32_t> cardinals(const xcb_get_property_reply_t* reply) {
  std::optional<PropertyValue> value = checked_value(reply, XCB_ATOM_CARDINAL, 32);
  if (!value) return {};
  std::vector<uint32_t> result(value->bytes.size() / sizeof(uint32_t));
  for (size_t i = 0; i < result.size(); ++i) {
    // The reply buffer is 32-bit aligned, but copy rather than cast: no aliasing assumptions.
    std::memcpy(&result[i], value->bytes.data() + i * sizeof(uint32_t), sizeof(uint32_t));
  }
  return result;
}

std::vector<uint32_t> await_cardinals(xcb_connection_t* connection,
                                      std::optional<xcb_get_property_cookie_t> cookie) {
  if (!cookie) return {};
  return cardinals(await(connection, *cookie, xcb_get_property_reply).get());
}

std::string gtk_workareas_name(uint32_t desktop) {
  return "_GTK_WORKAREAS_D" + std::to_string(desktop);
}

// The primary active monitor, else the first active one; none when RandR 1.5 is not there or
// lists no monitor.
std::optional<RootRect> pick_monitor(const xcb_randr_get_monitors_reply_t* reply) {
  if (reply == nullptr) return std::nullopt;
  std::optional<RootRect> first;
  for (xcb_randr_monitor_info_iterator_t it = xcb_randr_get_monitors_monitors_iterator(reply);
       it.rem > 0; xcb_randr_monitor_info_next(&it)) {
    const RootRect rect{it.data->x, it.data->y, it.data->width, it.data->height};
    if (it.data->primary) return rect;
    if (!first) first = rect;
  }
  return first;
}

class X11Screen : public Screen {
 public:
  X11Screen(CGRect frame, CGRect visible, CGFloat scale)
      : frame_(frame), visible_(visible), scale_(scale) {}

  CGRect frame() override { return frame_; }
  CGRect visibleFrame() override { return visible_; }
  CGFloat backingScaleFactor() override { return scale_; }
  // X11 knows no camera housing: nothing is cut from the top and there are no strips beside it.
  EdgeInsets safeAreaInsets() override { return {}; }
  std::optional<CGRect> auxiliaryTopLeftArea() override { return std::nullopt; }
  std::optional<CGRect> auxiliaryTopRightArea() override { return std::nullopt; }

 private:
  CGRect frame_;
  CGRect visible_;
  CGFloat scale_;
};

const xcb_screen_t* screen_of(const xcb_setup_t* setup, int number) {
  for (xcb_screen_iterator_t it = xcb_setup_roots_iterator(setup); it.rem > 0;
       xcb_screen_next(&it), --number) {
    if (number == 0) return it.data;
  }
  return nullptr;
}

// libxcb writes a server's reason for refusing a connection ("Authorization required, ...")
// straight to descriptor 2. A refused connection is the ordinary no-screen answer, which the
// probe gives on standard output alone, so descriptor 2 points at /dev/null while connecting.
// Should any step fail, the connection is made all the same, only not quietly.
class QuietStandardError {
 public:
  QuietStandardError() : saved_(fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 3)) {
    if (saved_ == -1) return;
    const int null_fd = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (null_fd == -1) return;
    quiet_ = dup2(null_fd, STDERR_FILENO) != -1;
    close(null_fd);
  }
  ~QuietStandardError() {
    if (quiet_) dup2(saved_, STDERR_FILENO);
    if (saved_ != -1) close(saved_);
  }
  QuietStandardError(const QuietStandardError&) = delete;
  QuietStandardError& operator=(const QuietStandardError&) = delete;

 private:
  int saved_;
  bool quiet_ = false;
};

Connection connect_quietly(int* screen_number) {
  QuietStandardError quiet;
  return Connection(xcb_connect(nullptr, screen_number));
}

xcb_intern_atom_cookie_t request_atom(xcb_connection_t* connection, std::string_view name) {
  // Only atoms that exist: a property under an atom nobody interned cannot be set.
  return xcb_intern_atom(connection, 1, static_cast<uint16_t>(name.size()), name.data());
}

}  // namespace

std::unique_ptr<Screen> main_screen() {
  // The display is found as every X client finds it ($DISPLAY, with $XAUTHORITY's cookies). No
  // connection, whatever the reason, means there is no screen to measure.
  int screen_number = 0;
  Connection owner = connect_quietly(&screen_number);
  xcb_connection_t* c = owner.get();
  if (c == nullptr || xcb_connection_has_error(c) != 0) return nullptr;
  const xcb_setup_t* setup = xcb_get_setup(c);
  const xcb_screen_t* screen = screen_of(setup, screen_number);
  // The resource database lives on the first screen's root, whichever screen is in use.
  const xcb_screen_t* first_screen = screen_of(setup, 0);
  if (screen == nullptr || first_screen == nullptr) return nullptr;
  const xcb_window_t root = screen->root;

  // First round: everything that needs nothing but the root window. The per-monitor work areas
  // are asked for desktop 0 before the current desktop is known: that is where nearly every
  // session is, and it saves a round trip.
  xcb_prefetch_extension_data(c, &xcb_randr_id);
  const xcb_intern_atom_cookie_t workarea_atom = request_atom(c, "_NET_WORKAREA");
  const xcb_intern_atom_cookie_t desktop_atom = request_atom(c, "_NET_CURRENT_DESKTOP");
  const xcb_intern_atom_cookie_t gtk_atom_0 = request_atom(c, gtk_workareas_name(0));
  const xcb_get_property_cookie_t resources = request_property(
      c, first_screen->root, XCB_ATOM_RESOURCE_MANAGER, XCB_ATOM_STRING, kMaxResourceUnits);

  // Second round: the monitors, and the properties under the atoms just learnt.
  const xcb_query_extension_reply_t* randr = xcb_get_extension_data(c, &xcb_randr_id);
  std::optional<xcb_randr_query_version_cookie_t> version;
  std::optional<xcb_randr_get_monitors_cookie_t> monitors;
  if (randr != nullptr && randr->present) {
    version = xcb_randr_query_version(c, 1, 5);
    monitors = xcb_randr_get_monitors(c, root, 1);
  }
  const auto workarea =
      request_root_property(c, root, await_atom(c, workarea_atom), kMaxAreaValues);
  const auto desktop = request_root_property(c, root, await_atom(c, desktop_atom), 1);
  const auto gtk_workareas_0 =
      request_root_property(c, root, await_atom(c, gtk_atom_0), kMaxAreaValues);

  std::optional<RootRect> monitor;
  if (version) {
    ReplyPtr<xcb_randr_query_version_reply_t> server_version =
        await(c, *version, xcb_randr_query_version_reply);
    ReplyPtr<xcb_randr_get_monitors_reply_t> listed =
        await(c, *monitors, xcb_randr_get_monitors_reply);
    const bool has_monitors =
        server_version &&
        (server_version->major_version > 1 ||
         (server_version->major_version == 1 && server_version->minor_version >= 5));
    if (has_monitors) monitor = pick_monitor(listed.get());
  }
  if (!monitor) monitor = RootRect{0, 0, screen->width_in_pixels, screen->height_in_pixels};

  const std::vector<uint32_t> net_workarea = await_cardinals(c, workarea);
  const std::vector<uint32_t> current = await_cardinals(c, desktop);
  const uint32_t desktop_index = x11::effective_desktop(
      current.empty() ? std::nullopt : std::optional<uint32_t>(current.front()), net_workarea);
  std::vector<uint32_t> gtk_workareas = await_cardinals(c, gtk_workareas_0);
  if (desktop_index != 0) {
    // Third and fourth rounds, only away from desktop 0.
    const xcb_atom_t name = await_atom(c, request_atom(c, gtk_workareas_name(desktop_index)));
    gtk_workareas = await_cardinals(c, request_root_property(c, root, name, kMaxAreaValues));
  }

  CGFloat scale = 1.0;
  ReplyPtr<xcb_get_property_reply_t> resource_reply = await(c, resources, xcb_get_property_reply);
  if (std::optional<PropertyValue> text = checked_value(resource_reply.get(), XCB_ATOM_STRING, 8)) {
    scale = x11::scale_from_resources(text->bytes, text->truncated);
  }

  // A server that went away part-way leaves replies missing that were never "not set": what
  // is left would only look like a measurement.
  if (xcb_connection_has_error(c) != 0) return nullptr;

  const RootRect visible = x11::visible_area(*monitor, gtk_workareas, net_workarea, desktop_index);
  return std::make_unique<X11Screen>(x11::to_report_space(*monitor, *monitor),
                                     x11::to_report_space(visible, *monitor), scale);
}

int run_in_platform_scope(int (*run)()) { return run(); }

}  // namespace screenprobe
