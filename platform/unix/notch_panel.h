// The notch of an Apple-silicon MacBook under Linux. The boot loader writes the height of the band
// that holds the camera housing into the device tree, and the display driver shows those rows
// only when asked to: then the built-in panel's mode is its full height, band included. Nothing
// on Linux gives the housing's width or place, so there are never strips beside it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace screenprobe {

// The small files the rule reads. Each is read whole, or not at all where it is missing or
// longer than `limit` bytes; a folder is listed by its entries' names, at most `limit` of them.
class SystemFiles {
 public:
  virtual ~SystemFiles() = default;
  virtual std::optional<std::string> read(const std::string& path, size_t limit) const;
  virtual std::vector<std::string> list(const std::string& folder, size_t limit) const;
};

struct NotchedPanel {
  int32_t band = 0;   // rows above the largest 16:10 area, in pixels
  int32_t width = 0;  // the panel's mode with those rows shown, in pixels
  int32_t height = 0;
  std::string connector;  // the DRM connector's name, as a compositor names the output
};

// The built-in panel showing its notch rows: the device tree names a band of 1 to 160 rows, the
// display driver shows them, and a connected eDP connector's preferred mode is the panel's.
// Anything missing or malformed is no notch. On a machine with no device tree (a PC), one
// missing file is all that is opened.
std::optional<NotchedPanel> notched_panel(const SystemFiles& files);

// The rows the notch takes from the top of a screen that is `width` x `height` pixels, not turned,
// on the connector named where the platform names it: the band where that is the panel, else 0.
int32_t notch_rows(const std::optional<NotchedPanel>& panel, int64_t width, int64_t height,
                   const std::optional<std::string>& connector);

}  // namespace screenprobe
