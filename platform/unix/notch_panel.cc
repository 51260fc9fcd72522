#include "notch_panel.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <memory>
#include <string_view>
#include <system_error>

namespace screenprobe {

namespace {

constexpr const char* kTree = "/sys/firmware/devicetree/base";
constexpr const char* kDrm = "/sys/class/drm";
constexpr int32_t kMostRows = 160;  // the display driver's own limit

// A whole number of 1 to 5 digits and nothing else: no sign, no space.
std::optional<int32_t> number(std::string_view text) {
  const auto digit = [](char c) { return c >= '0' && c <= '9'; };
  if (text.empty() || text.size() > 5 || !std::all_of(text.begin(), text.end(), digit)) {
    return std::nullopt;
  }
  int32_t value = 0;
  const bool read =
      std::from_chars(text.data(), text.data() + text.size(), value).ec == std::errc();
  return read ? std::optional(value) : std::nullopt;
}

// The device tree node the `dcp` alias names: an absolute path, NUL-terminated, of printable
// characters, with no way out of the tree.
std::optional<std::string> node_path(const std::optional<std::string>& alias) {
  if (!alias || alias->size() < 2 || alias->back() != '\0') return std::nullopt;
  const std::string path = alias->substr(0, alias->size() - 1);
  if (path.front() != '/' || path.find("..") != std::string::npos) return std::nullopt;
  const bool printable =
      std::all_of(path.begin(), path.end(), [](char c) { return c > ' ' && c < 127; });
  return printable ? std::optional(path) : std::nullopt;
}

// A big-endian u32 of 1 to 160.
std::optional<int32_t> band_of(const std::optional<std::string>& property) {
  if (!property || property->size() != 4) return std::nullopt;
  uint32_t value = 0;
  for (const char byte : *property) value = value << 8 | static_cast<unsigned char>(byte);
  if (value == 0 || value > kMostRows) return std::nullopt;
  return static_cast<int32_t>(value);
}

// Before kernel 6.18 the driver's module was apple_dcp.
bool rows_shown(const SystemFiles& files) {
  for (const char* module : {"appledrm", "apple_dcp"}) {
    const std::optional<std::string> value =
        files.read(std::string("/sys/module/") + module + "/parameters/show_notch", 8);
    if (value) return *value == "Y\n";
  }
  return false;
}

// A connected eDP connector's first (preferred) mode, `WxH`.
std::optional<NotchedPanel> built_in_panel(const SystemFiles& files) {
  std::vector<std::string> entries = files.list(kDrm, 256);
  std::sort(entries.begin(), entries.end());
  for (const std::string& entry : entries) {
    const size_t dash = entry.find('-');
    if (entry.rfind("card", 0) != 0 || dash == std::string::npos ||
        !number(std::string_view(entry).substr(4, dash - 4)) ||
        entry.compare(dash + 1, 4, "eDP-") != 0) {
      continue;
    }
    const std::string folder = std::string(kDrm) + "/" + entry;
    if (files.read(folder + "/status", 32) != "connected\n") continue;
    const std::optional<std::string> modes = files.read(folder + "/modes", 4096);
    if (!modes) continue;
    const std::string_view first = std::string_view(*modes).substr(0, modes->find('\n'));
    const size_t x = first.find('x');
    if (x == std::string_view::npos) continue;
    const std::optional<int32_t> width = number(first.substr(0, x));
    const std::optional<int32_t> height = number(first.substr(x + 1));
    if (width && height) return NotchedPanel{0, *width, *height, entry.substr(dash + 1)};
  }
  return std::nullopt;
}

struct Descriptor {
  int fd;
  ~Descriptor() { close(fd); }
};

}  // namespace

std::optional<std::string> SystemFiles::read(const std::string& path, size_t limit) const {
  const Descriptor file{open(path.c_str(), O_RDONLY | O_CLOEXEC)};
  if (file.fd == -1) return std::nullopt;
  std::string bytes(limit + 1, '\0');
  size_t got = 0;
  while (got < bytes.size()) {
    const ssize_t n = ::read(file.fd, bytes.data() + got, bytes.size() - got);
    if (n == 0) break;
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return std::nullopt;
    got += static_cast<size_t>(n);
  }
  if (got > limit) return std::nullopt;
  bytes.resize(got);
  return bytes;
}

std::vector<std::string> SystemFiles::list(const std::string& folder, size_t limit) const {
  std::vector<std::string> names;
  const std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.c_str()), closedir);
  if (!dir) return names;
  while (names.size() < limit) {
    const dirent* entry = readdir(dir.get());
    if (entry == nullptr) break;
    names.emplace_back(entry->d_name);
  }
  return names;
}

std::optional<NotchedPanel> notched_panel(const SystemFiles& files) {
  const std::optional<std::string> node =
      node_path(files.read(std::string(kTree) + "/aliases/dcp", 256));
  if (!node) return std::nullopt;
  const std::optional<int32_t> band = band_of(files.read(kTree + *node + "/apple,notch-height", 4));
  if (!band || !rows_shown(files)) return std::nullopt;
  std::optional<NotchedPanel> panel = built_in_panel(files);
  if (panel) panel->band = *band;
  return panel;
}

int32_t notch_rows(const std::optional<NotchedPanel>& panel, int64_t width, int64_t height,
                   const std::optional<std::string>& connector) {
  if (!panel || panel->width != width || panel->height != height) return 0;
  return !connector || *connector == panel->connector ? panel->band : 0;
}

}  // namespace screenprobe
