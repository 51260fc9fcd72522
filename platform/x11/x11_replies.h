// Readers of the X server's answers. Each takes the bytes of one reply (or of the connection
// setup) exactly as libxcb received them and returns what they say, or nothing when they do not
// add up. libxcb checks a reply's total length but none of the counts inside it, and the display
// can be remote (ssh -X, a TCP display), so every count is held against the bytes really there
// before anything is read through it.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "x11_geometry.h"

namespace screenprobe::x11 {

using Bytes = std::span<const uint8_t>;

// A length rounded up to a multiple of four, as X pads strings and lists.
inline uint64_t padded4(uint64_t length) { return (length + 3) & ~uint64_t{3}; }

// One screen of the connection setup: its root window and its size in pixels.
struct SetupScreen {
  uint32_t root = 0;
  uint16_t width = 0;
  uint16_t height = 0;

  friend bool operator==(const SetupScreen&, const SetupScreen&) = default;
};

// Screen `number` of the setup, or nothing when the setup does not list it or does not add up
// as far as it.
std::optional<SetupScreen> read_setup_screen(Bytes setup, int number);

// The monitors of a RandR 1.5 GetMonitors reply, or nothing when the reply does not add up.
std::optional<std::vector<Monitor>> read_monitors(Bytes reply);

// The value of a GetProperty reply, if the property has the given type and format and the value
// it states fits in the reply; otherwise nothing, which callers take as "not set".
struct PropertyValue {
  Bytes bytes;
  bool truncated = false;  // the property goes on beyond what was asked for
};
std::optional<PropertyValue> read_property(Bytes reply, uint32_t type, uint8_t format);

// The 32-bit items of a format-32 property value.
std::vector<uint32_t> read_items32(Bytes value);

// The first `limit` children of a QueryTree reply, or nothing when the reply does not add up. The
// limit bounds what is kept, whatever number of children the server lists.
std::optional<std::vector<uint32_t>> read_children(Bytes reply, size_t limit);

}  // namespace screenprobe::x11
