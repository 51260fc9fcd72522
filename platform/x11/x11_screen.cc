// The main screen of an X11 display, through XCB and RandR 1.5 monitors.
//
// Everything is read when the screen is made, round by round: each round sends every request
// that does not wait on an answer still to come, then reads the answers, so a run costs a few
// round trips, not one per property. This file only sends the requests and hands each reply's
// bytes to the readers (x11_replies.h, xsettings.h, x11_resources.h); the rules that combine
// what they read are in x11_geometry.h, the connection in x11_connection.h.
//
// Round trips after the connection's handshake:
//  1. the atoms, the RandR extension and the resource database;
//  2. the monitors, the root window's hints and the settings manager's selection owner;
//  3. the window manager's check window and the settings;
//  4. only on a desktop other than the first, with per-monitor work areas: that desktop's areas;
//  5-7. only where the panels' struts decide (several monitors and no per-monitor work areas, or
//     one monitor and no work area at all, as on tiling window managers): the struts, one round
//     trip per level of windows below the root.
#include <xcb/randr.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "notch_panel.h"
#include "screen.h"
#include "unix_screen.h"
#include "x11_connection.h"
#include "x11_geometry.h"
#include "x11_replies.h"
#include "x11_resources.h"
#include "x11_struts.h"
#include "xsettings.h"

namespace screenprobe {

namespace {

using namespace x11;

std::string gtk_workareas_name(uint32_t desktop) {
  return "_GTK_WORKAREAS_D" + std::to_string(desktop);
}

enum AtomName {
  kWmCheck,
  kSupported,
  kWorkarea,
  kCurrentDesktop,
  kGtkWorkareas,
  kGtkWorkareasD0,
  kStrutPartial,
  kStrut,
  kSettingsSelection,
  kSettings,
  kAtomCount,
};
using Atoms = std::array<xcb_atom_t, kAtomCount>;

// Round 1, asked and answered: the atoms the probe names properties by. Per-monitor work areas
// are named for desktop 0 before the current desktop is known: nearly every session is there,
// and it saves a round trip.
Atoms intern_atoms(xcb_connection_t* c, int screen_number) {
  const std::array<std::string, kAtomCount> names = {
      "_NET_SUPPORTING_WM_CHECK", "_NET_SUPPORTED", "_NET_WORKAREA",
      "_NET_CURRENT_DESKTOP",     "_GTK_WORKAREAS", gtk_workareas_name(0),
      "_NET_WM_STRUT_PARTIAL",    "_NET_WM_STRUT",  "_XSETTINGS_S" + std::to_string(screen_number),
      "_XSETTINGS_SETTINGS"};
  std::array<xcb_intern_atom_cookie_t, kAtomCount> cookies;
  for (size_t i = 0; i < kAtomCount; ++i) cookies[i] = ask_atom(c, names[i]);
  Atoms atoms;
  for (size_t i = 0; i < kAtomCount; ++i) atoms[i] = await_atom(c, cookies[i]);
  return atoms;
}

// RandR 1.5's monitors, asked for in round 2; none without RandR 1.5 or when the answer does not
// add up.
struct MonitorsAsked {
  std::optional<xcb_randr_query_version_cookie_t> version;
  std::optional<xcb_randr_get_monitors_cookie_t> monitors;
};

MonitorsAsked ask_monitors(xcb_connection_t* c, xcb_window_t root) {
  const xcb_query_extension_reply_t* randr = xcb_get_extension_data(c, &xcb_randr_id);
  if (randr == nullptr || !randr->present) return {};
  return {xcb_randr_query_version(c, 1, 5), xcb_randr_get_monitors(c, root, 1)};
}

std::vector<Monitor> await_monitors(xcb_connection_t* c, const MonitorsAsked& asked) {
  if (!asked.version) return {};
  const auto version = await(c, *asked.version, xcb_randr_query_version_reply);
  const auto listed = await(c, *asked.monitors, xcb_randr_get_monitors_reply);
  if (!version || version->major_version < 1 ||
      (version->major_version == 1 && version->minor_version < 5)) {
    return {};
  }
  return read_monitors(bytes_of(listed)).value_or(std::vector<Monitor>());
}

// What the root window says in round 2, each value empty when missing or malformed.
struct RootHints {
  std::vector<uint32_t> check;          // _NET_SUPPORTING_WM_CHECK
  std::vector<uint32_t> supported;      // _NET_SUPPORTED
  std::vector<uint32_t> workarea;       // the first desktop's _NET_WORKAREA
  std::vector<uint32_t> desktop;        // _NET_CURRENT_DESKTOP
  std::vector<uint32_t> gtk_workareas;  // _GTK_WORKAREAS_D0
  xcb_window_t settings_owner = XCB_WINDOW_NONE;
};

struct RootHintsAsked {
  xcb_get_property_cookie_t check, supported, workarea, desktop, gtk_workareas;
  xcb_get_selection_owner_cookie_t settings_owner;
};

RootHintsAsked ask_root_hints(xcb_connection_t* c, xcb_window_t root, const Atoms& atom) {
  return {ask_property(c, root, atom[kWmCheck], XCB_ATOM_WINDOW, 0, 1),
          ask_property(c, root, atom[kSupported], XCB_ATOM_ATOM, 0, kMaxSupported),
          ask_property(c, root, atom[kWorkarea], XCB_ATOM_CARDINAL, 0, 4),
          ask_property(c, root, atom[kCurrentDesktop], XCB_ATOM_CARDINAL, 0, 1),
          ask_property(c, root, atom[kGtkWorkareasD0], XCB_ATOM_CARDINAL, 0, kMaxAreaValues),
          xcb_get_selection_owner(c, atom[kSettingsSelection])};
}

RootHints await_root_hints(xcb_connection_t* c, const RootHintsAsked& asked) {
  const auto owner = await(c, asked.settings_owner, xcb_get_selection_owner_reply);
  return {await_items(c, asked.check, XCB_ATOM_WINDOW),
          await_items(c, asked.supported, XCB_ATOM_ATOM),
          await_items(c, asked.workarea, XCB_ATOM_CARDINAL),
          await_items(c, asked.desktop, XCB_ATOM_CARDINAL),
          await_items(c, asked.gtk_workareas, XCB_ATOM_CARDINAL),
          owner ? owner->owner : xcb_window_t{XCB_WINDOW_NONE}};
}

// Round 3: whether the window manager that set the root's hints still runs, the settings
// manager's settings, and on a desktop other than the first that desktop's own work area and
// the name of its per-monitor ones. Offsets count 32-bit units, four per desktop, so the first
// 2^30 desktops are within reach; past them, and where the window manager keeps one work area
// for all desktops, the first desktop's stands.
struct ManagerAsked {
  xcb_get_property_cookie_t check, settings;
  std::optional<xcb_get_property_cookie_t> workarea;
  std::optional<xcb_intern_atom_cookie_t> gtk_name;
};

ManagerAsked ask_manager(xcb_connection_t* c, xcb_window_t root, const Atoms& atom,
                         const RootHints& hints, uint32_t desktop) {
  const xcb_window_t check_window = hints.check.empty() ? 0 : hints.check.front();
  ManagerAsked asked{
      ask_property(c, check_window, atom[kWmCheck], XCB_ATOM_WINDOW, 0, 1),
      ask_property(c, hints.settings_owner, atom[kSettings], atom[kSettings], 0, kMaxTextUnits),
      std::nullopt, std::nullopt};
  if (desktop != 0 && desktop < (uint32_t{1} << 30)) {
    asked.workarea = ask_property(c, root, atom[kWorkarea], XCB_ATOM_CARDINAL, desktop * 4, 4);
    asked.gtk_name = ask_atom(c, gtk_workareas_name(desktop));
  }
  return asked;
}

// What the window manager stands behind: each hint only while it runs and advertises it.
struct WorkAreas {
  bool manager_runs = false;
  std::vector<uint32_t> per_monitor;  // the current desktop's _GTK_WORKAREAS_D<n>
  std::optional<RootRect> desktop;    // the current desktop's _NET_WORKAREA entry
};

// Awaits round 3, and asks and awaits the current desktop's per-monitor work areas (round 4)
// where the window manager keeps them on a desktop other than the first. Takes over `hints`.
WorkAreas await_manager(xcb_connection_t* c, xcb_window_t root, const Atoms& atom, RootHints hints,
                        uint32_t desktop, const ManagerAsked& asked) {
  WorkAreas areas;
  areas.manager_runs =
      window_manager_runs(hints.check, await_items(c, asked.check, XCB_ATOM_WINDOW));
  const bool per_monitor = hint_stands(areas.manager_runs, hints.supported, atom[kGtkWorkareas]);
  if (desktop == 0 && per_monitor) areas.per_monitor = std::move(hints.gtk_workareas);
  // The first desktop's work area, unless the current desktop has its own.
  std::vector<uint32_t> workarea = std::move(hints.workarea);
  if (asked.workarea) {
    std::vector<uint32_t> own = await_items(c, *asked.workarea, XCB_ATOM_CARDINAL);
    if (own.size() >= 4) workarea = std::move(own);
    const xcb_atom_t gtk_name = await_atom(c, *asked.gtk_name);
    if (gtk_name != XCB_ATOM_NONE && per_monitor) {
      areas.per_monitor =
          await_items(c, ask_property(c, root, gtk_name, XCB_ATOM_CARDINAL, 0, kMaxAreaValues),
                      XCB_ATOM_CARDINAL);
    }
  }
  if (hint_stands(areas.manager_runs, hints.supported, atom[kWorkarea]) && workarea.size() >= 4) {
    areas.desktop = RootRect{workarea[0], workarea[1], workarea[2], workarea[3]};
  }
  return areas;
}

}  // namespace

std::unique_ptr<Screen> x11_main_screen() {
  // The display is found as every X client finds it ($DISPLAY, with $XAUTHORITY's cookies). No
  // connection, whatever the reason, means there is no screen to measure.
  int screen_number = 0;
  Connection connection = connect_quietly(&screen_number);
  xcb_connection_t* c = connection.get();
  if (!connected(c)) return nullptr;
  const xcb_setup_t* setup = xcb_get_setup(c);
  const Bytes setup_bytes(reinterpret_cast<const uint8_t*>(setup), 8 + size_t{setup->length} * 4);
  const std::optional<SetupScreen> screen = read_setup_screen(setup_bytes, screen_number);
  // The resource database lives on the first screen's root, whichever screen is in use.
  const std::optional<SetupScreen> first = read_setup_screen(setup_bytes, 0);
  if (!screen || !first) return nullptr;
  const xcb_window_t root = screen->root;

  // Round 1.
  xcb_prefetch_extension_data(c, &xcb_randr_id);
  const auto resources_cookie =
      ask_property(c, first->root, XCB_ATOM_RESOURCE_MANAGER, XCB_ATOM_STRING, 0, kMaxTextUnits);
  const Atoms atom = intern_atoms(c, screen_number);

  // Round 2.
  const MonitorsAsked monitors_asked = ask_monitors(c, root);
  const RootHintsAsked hints_asked = ask_root_hints(c, root, atom);
  const std::vector<Monitor> monitors = await_monitors(c, monitors_asked);
  const RootRect monitor =
      main_monitor(monitors).value_or(RootRect{0, 0, screen->width, screen->height});
  const bool several_monitors = monitors_with_area(monitors) > 1;
  RootHints hints = await_root_hints(c, hints_asked);

  // Rounds 3 and 4, and the root's children where the struts may decide. Whether the window
  // manager still runs is known only after round 3, so they are asked for alongside.
  const uint32_t desktop = hints.desktop.empty() ? 0 : hints.desktop.front();
  const ManagerAsked manager_asked = ask_manager(c, root, atom, hints, desktop);
  // The rule is taken at its widest: a window manager may run, with no per-monitor work areas.
  const bool workarea_listed =
      hints.workarea.size() >= 4 && hint_stands(true, hints.supported, atom[kWorkarea]);
  std::optional<xcb_query_tree_cookie_t> tree_cookie;
  if (struts_decide(!hints.check.empty(), false, several_monitors, workarea_listed)) {
    tree_cookie = xcb_query_tree(c, root);
  }
  ReplyPtr<xcb_get_property_reply_t> settings_reply;
  const std::optional<PropertyValue> settings =
      await_property(c, manager_asked.settings, atom[kSettings], 8, settings_reply);
  ReplyPtr<xcb_query_tree_reply_t> tree;
  if (tree_cookie) tree = await(c, *tree_cookie, xcb_query_tree_reply);
  const WorkAreas areas = await_manager(c, root, atom, std::move(hints), desktop, manager_asked);

  // Rounds 5 to 7: window managers place windows by the panels' struts, and so does the probe
  // where no work area of theirs says more.
  std::vector<TopStrut> struts;
  if (tree && struts_decide(areas.manager_runs, !areas.per_monitor.empty(), several_monitors,
                            areas.desktop.has_value())) {
    struts = find_top_struts(c, bytes_of(tree), atom[kStrutPartial], atom[kStrut]);
  }

  ReplyPtr<xcb_get_property_reply_t> resources_reply;
  const std::optional<PropertyValue> resources =
      await_property(c, resources_cookie, XCB_ATOM_STRING, 8, resources_reply);
  const std::optional<double> dpi =
      resources ? xft_dpi(text_of(resources->bytes), resources->truncated) : std::nullopt;
  const std::optional<int32_t> factor =
      settings ? read_xsettings_integer(settings->bytes, "Gdk/WindowScalingFactor") : std::nullopt;

  // A server that went away part-way leaves replies missing that were never "not set": what is
  // left would only look like a measurement.
  if (!connected(c)) return nullptr;

  const RootRect visible = visible_area(monitor, areas.per_monitor, struts, areas.desktop);
  // A monitor turned by 90 or 270 degrees is no longer the panel's size; an upside-down one is
  // not looked for (another round trip), and would give its notch rows at the top.
  const int32_t notch =
      notch_rows(notched_panel(SystemFiles()), monitor.width, monitor.height, std::nullopt);
  return std::make_unique<MeasuredScreen>(to_report_space(monitor, monitor),
                                          to_report_space(visible, monitor),
                                          backing_scale(factor, dpi), notch);
}

}  // namespace screenprobe
