#include "probe.h"

#include <cerrno>
#include <cstring>
#include <optional>
#include <string>

#include "json_writer.h"
#include "notch.h"

namespace screenprobe {

namespace {

// Writes all of `text` and flushes it. False when any of it did not reach the descriptor:
// a full disk, a closed descriptor, a reader that went away.
bool write_fully(std::FILE* out, std::string_view text) {
  if (std::fwrite(text.data(), 1, text.size(), out) != text.size()) return false;
  return std::fflush(out) == 0 && std::ferror(out) == 0;
}

ExitStatus output_failed(std::FILE* err) {
  const int error = errno;
  std::fprintf(err, "screenprobe: cannot write to standard output: %s\n",
               error != 0 ? std::strerror(error) : "write failed");
  return kExitIoError;
}

}  // namespace

Report measure(Screen& screen) {
  const CGRect frame = screen.frame();
  const CGRect visible = screen.visibleFrame();

  Report info;
  info.set("screenX", frame.origin.x);
  info.set("screenY", frame.origin.y);
  info.set("screenWidth", CGRectGetWidth(frame));
  info.set("screenHeight", CGRectGetHeight(frame));
  info.set("scale", screen.backingScaleFactor());
  info.set("safeTop", screen.safeAreaInsets().top);
  // NaN and negative insets are not a housing: the comparison is false for both.
  info.set("hasNotch", screen.safeAreaInsets().top > 0.0);

  // With y growing upward: all the height outside the visible frame, less the part of it below
  // the visible frame (a Dock at the bottom), leaves the band above it, the menu bar. Neither
  // clamped nor rounded: callers see what the platform reported.
  const CGFloat outside = CGRectGetHeight(frame) - CGRectGetHeight(visible);
  const CGFloat below = visible.origin.y - frame.origin.y;
  info.set("menuBarHeight", outside - below);

  add_notch_entries(screen, frame, info);
  return info;
}

ExitStatus run_probe(Screen* screen, std::FILE* out, std::FILE* err) {
  errno = 0;
  if (screen == nullptr) {
    if (!write_fully(out, kNoScreenLine)) return output_failed(err);
    return kExitNoScreen;
  }

  const Report info = measure(*screen);
  std::string unwritable_key;
  std::optional<std::string> data = report_to_json(info, &unwritable_key);
  if (!data) {
    std::fprintf(err, "screenprobe: cannot write the report: \"%s\" is not a finite number\n",
                 unwritable_key.c_str());
    return kExitSoftware;
  }
  *data += '\n';
  if (!write_fully(out, *data)) return output_failed(err);
  return kExitReport;
}

}  // namespace screenprobe
