// The report as JSON text: one object, keys in ascending order, laid out as macOS's own
// pretty printer lays it out, so the text is the same on every platform.
#pragma once

#include <optional>
#include <string>

#include "report.h"

namespace screenprobe {

// The JSON text of `report`, without a trailing newline, or nothing when a value has no JSON
// form (NaN, an infinity); then `unwritable_key` names the first such key.
std::optional<std::string> report_to_json(const Report& report, std::string* unwritable_key);

// A number in the shortest form that reads back to the same double: 30, 1.5, -0, 1e+300.
// `value` must be finite.
std::string json_number(double value);

}  // namespace screenprobe
