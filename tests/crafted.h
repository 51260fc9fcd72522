#pragma once

#include <xcb/randr.h>

#include <vector>

namespace screenprobe::testing {

struct Blob : std::vector<uint8_t> {
  template <typename T>
  Blob& add(const T& value) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(&value);
    return insert(end(), bytes, bytes + sizeof value), *this;
  }
};

// Each monitor carries its outputs, unless it claims more than any monitor has.
inline Blob monitors_reply(uint32_t claimed, std::vector<xcb_randr_monitor_info_t> monitors) {
  Blob reply = Blob().add(xcb_randr_get_monitors_reply_t{.nMonitors = claimed});
  for (const auto& m : monitors)
    reply.add(m).insert(reply.end(), m.nOutput < 16 ? 4 * m.nOutput : 0, 0);
  return reply;
}

}  // namespace screenprobe::testing
