#include "x11_replies.h"

#include <xcb/randr.h>
#include <xcb/xproto.h>

#include <algorithm>
#include <cstring>

namespace screenprobe::x11 {

namespace {

// Takes a `T` off the front of `bytes`, if there is room for one. The bytes are in this
// machine's order: libxcb tells the server to answer in it.
template <typename T>
bool take(Bytes& bytes, T& value) {
  if (bytes.size() < sizeof(T)) return false;
  std::memcpy(&value, bytes.data(), sizeof(T));
  bytes = bytes.subspan(sizeof(T));
  return true;
}

// Skips `count` items of `size` bytes each, if they are all there.
bool skip(Bytes& bytes, uint64_t count, uint64_t size) {
  if (count * size > bytes.size()) return false;
  bytes = bytes.subspan(static_cast<size_t>(count * size));
  return true;
}

}  // namespace

std::optional<SetupScreen> read_setup_screen(Bytes setup, int number) {
  xcb_setup_t header;
  if (number < 0 || !take(setup, header) || !skip(setup, padded4(header.vendor_len), 1) ||
      !skip(setup, header.pixmap_formats_len, sizeof(xcb_format_t))) {
    return std::nullopt;
  }
  for (int i = 0; i < header.roots_len; ++i) {
    xcb_screen_t screen;
    if (!take(setup, screen)) return std::nullopt;
    if (i == number)
      return SetupScreen{screen.root, screen.width_in_pixels, screen.height_in_pixels};
    for (int d = 0; d < screen.allowed_depths_len; ++d) {
      xcb_depth_t depth;
      if (!take(setup, depth) || !skip(setup, depth.visuals_len, sizeof(xcb_visualtype_t))) {
        return std::nullopt;
      }
    }
  }
  return std::nullopt;
}

std::optional<std::vector<Monitor>> read_monitors(Bytes reply) {
  xcb_randr_get_monitors_reply_t header;
  if (!take(reply, header)) return std::nullopt;
  // Each monitor takes at least its fixed part: a count beyond what the bytes hold is a lie,
  // caught before anything is reserved for it.
  if (header.nMonitors > reply.size() / sizeof(xcb_randr_monitor_info_t)) return std::nullopt;
  std::vector<Monitor> monitors;
  monitors.reserve(header.nMonitors);
  for (uint32_t i = 0; i < header.nMonitors; ++i) {
    xcb_randr_monitor_info_t info;
    if (!take(reply, info) || !skip(reply, info.nOutput, sizeof(xcb_randr_output_t))) {
      return std::nullopt;
    }
    monitors.push_back(
        Monitor{RootRect{info.x, info.y, info.width, info.height}, info.primary != 0});
  }
  return monitors;
}

std::optional<PropertyValue> read_property(Bytes reply, uint32_t type, uint8_t format) {
  xcb_get_property_reply_t header;
  if (!take(reply, header) || header.type != type || header.format != format) return std::nullopt;
  const uint64_t length = uint64_t{header.value_len} * (format / 8);
  if (length > reply.size()) return std::nullopt;
  return PropertyValue{reply.first(static_cast<size_t>(length)), header.bytes_after != 0};
}

std::vector<uint32_t> read_items32(Bytes value) {
  std::vector<uint32_t> items(value.size() / sizeof(uint32_t));
  for (uint32_t& item : items) take(value, item);
  return items;
}

std::optional<std::vector<uint32_t>> read_children(Bytes reply, size_t limit) {
  xcb_query_tree_reply_t header;
  if (!take(reply, header)) return std::nullopt;
  if (uint64_t{header.children_len} * sizeof(xcb_window_t) > reply.size()) return std::nullopt;
  const size_t kept = std::min<size_t>(header.children_len, limit);
  return read_items32(reply.first(kept * sizeof(xcb_window_t)));
}

}  // namespace screenprobe::x11
