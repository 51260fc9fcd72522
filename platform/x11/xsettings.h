// A reader of the XSETTINGS blob that a settings manager publishes on its selection owner
// window (_XSETTINGS_SETTINGS). Any client can write that property, so the blob is checked, item
// by item, against its real length before anything is read through it.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "x11_replies.h"

namespace screenprobe::x11 {

// The integer setting called `name`, or nothing when the blob does not hold it as an integer,
// holds it twice, or does not add up (byte order, counts, lengths, padding, types).
std::optional<int32_t> read_xsettings_integer(Bytes blob, std::string_view name);

}  // namespace screenprobe::x11
