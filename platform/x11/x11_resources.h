// Xft.dpi from the X resource database, found as Xft finds it: XGetDefault(dpy, "Xft", "dpi").
#pragma once

#include <optional>
#include <string_view>

namespace screenprobe::x11 {

// The value Xft reads for "dpi" from `database` (the text of the root window's
// RESOURCE_MANAGER): the entry matching the name Xft.dpi, class Program.Name, that the resource
// manager ranks highest, whatever its place in the text, read as a number from the start of its
// value. Nothing when no entry matches or the best one does not start with a number.
// `truncated` says the text was cut short, so its last line may be incomplete and is not used.
std::optional<double> xft_dpi(std::string_view database, bool truncated);

}  // namespace screenprobe::x11
