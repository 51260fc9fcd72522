#include "x11_struts.h"

#include <optional>
#include <utility>

#include "x11_connection.h"

namespace screenprobe::x11 {

namespace {

// Struts are looked for this many levels below the root: panels are top-level windows or sit in
// a window manager's frame; a window manager's own taskbar may sit deeper (icewm's is three
// levels down). At most this many windows are looked at, or kept, whatever a server claims.
constexpr int kStrutLevels = 3;
constexpr size_t kMaxStrutWindows = 16384;

using Windows = std::vector<uint32_t>;

}  // namespace

// A window counts only while it is viewable (mapped, as all its ancestors are): a hidden panel
// reserves nothing, and nothing inside a hidden window is looked at.
std::vector<TopStrut> find_top_struts(xcb_connection_t* c, Bytes root_tree, xcb_atom_t partial_name,
                                      xcb_atom_t strut_name) {
  struct Asked {
    xcb_get_window_attributes_cookie_t attributes;
    xcb_get_property_cookie_t partial;
    xcb_get_property_cookie_t strut;
    std::optional<xcb_query_tree_cookie_t> tree;
  };
  std::vector<TopStrut> struts;
  Windows level = read_children(root_tree, kMaxStrutWindows).value_or(Windows());
  size_t budget = kMaxStrutWindows - level.size();  // windows still to be looked at
  for (int depth = 1; depth <= kStrutLevels && !level.empty(); ++depth) {
    std::vector<Asked> asked;
    asked.reserve(level.size());
    for (const xcb_window_t window : level) {
      asked.push_back(Asked{xcb_get_window_attributes(c, window),
                            ask_property(c, window, partial_name, XCB_ATOM_CARDINAL, 0, 12),
                            ask_property(c, window, strut_name, XCB_ATOM_CARDINAL, 0, 4),
                            depth < kStrutLevels && budget > 0
                                ? std::optional(xcb_query_tree(c, window))
                                : std::nullopt});
    }
    Windows next;
    for (const Asked& window : asked) {
      const auto attributes = await(c, window.attributes, xcb_get_window_attributes_reply);
      const std::vector<uint32_t> partial = await_items(c, window.partial, XCB_ATOM_CARDINAL);
      const std::vector<uint32_t> strut = await_items(c, window.strut, XCB_ATOM_CARDINAL);
      ReplyPtr<xcb_query_tree_reply_t> tree;
      if (window.tree) tree = await(c, *window.tree, xcb_query_tree_reply);
      if (!attributes || attributes->map_state != XCB_MAP_STATE_VIEWABLE) continue;
      if (std::optional<TopStrut> top = top_strut(partial, strut)) struts.push_back(*top);
      if (std::optional<Windows> children = read_children(bytes_of(tree), budget - next.size())) {
        next.insert(next.end(), children->begin(), children->end());
      }
    }
    budget -= next.size();
    level = std::move(next);
  }
  return struts;
}

}  // namespace screenprobe::x11
