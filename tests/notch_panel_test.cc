#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "notch_panel.h"

namespace screenprobe {
namespace {

// The notch rows of a screen on a MacBook: a 14" whose driver shows the notch rows, but for one
// file changed, or removed where empty. A node outside the device tree holds a band too.
TEST(NotchPanel, RowsOfAScreen) {
  const std::string tree = "/sys/firmware/devicetree/base/", drm = "/sys/class/drm/card1-eDP-1/";
  const std::string alias = tree + "aliases/dcp", height = tree + "soc/dcp/apple,notch-height";
  const std::string shown = "/sys/module/appledrm/parameters/show_notch", band("\0\0\0\x4a", 4);
  struct Machine : SystemFiles, std::map<std::string, std::string> {
    std::optional<std::string> read(const std::string& path, size_t limit) const override {
      const auto file = find(path);
      return file == end() || file->second.size() > limit ? std::nullopt
                                                          : std::optional(file->second);
    }
    std::vector<std::string> list(const std::string&, size_t) const override {
      return {"card0-DP-1", "card1-eDP-1", "version"};
    }
  };
  const std::optional<std::string> panel = "eDP-1";
  const struct {
    std::string file, bytes;
    int64_t width, height;
    std::optional<std::string> connector;
    int32_t rows;
  } cases[] = {
      {"", "", 3024, 1964, panel, 74},
      {height, std::string("\0\0\0\x40", 4), 3024, 1964, std::nullopt, 64},  // an Air's band
      {shown, "", 3024, 1964, panel, 74},                                    // the older module's Y
      {shown, "N\n", 3024, 1964, panel, 0},
      {"", "", 3024, 1964, "DP-1", 0},  // a monitor of the panel's size
      {"", "", 3024, 1890, panel, 0},
      {"", "", 2880, 1964, panel, 0},
      {drm + "status", "disconnected\n", 3024, 1964, panel, 0},
      {drm + "modes", "-3024x1964\n", -3024, 1964, panel, 0},
      {height, std::string("\0\0\x4a", 3), 3024, 1964, panel, 0},
      {height, std::string("\0\0\0\xa1", 4), 3024, 1964, panel, 0},
      {alias, "", 3024, 1964, panel, 0},
      {alias, std::string("/../base/soc/dcp\0", 17), 3024, 1964, panel, 0},
  };
  for (const auto& c : cases) {
    Machine machine;
    machine.insert({{alias, std::string("/soc/dcp\0", 9)},
                    {height, band},
                    {tree + "../base/soc/dcp/apple,notch-height", band},
                    {shown, "Y\n"},
                    {"/sys/module/apple_dcp/parameters/show_notch", "Y\n"},
                    {"/sys/class/drm/card0-DP-1/status", "connected\n"},
                    {"/sys/class/drm/card0-DP-1/modes", "3024x1964\n"},
                    {drm + "status", "connected\n"},
                    {drm + "modes", "3024x1964\n1512x982\n"}});
    if (!c.file.empty()) machine[c.file] = c.bytes;
    if (c.bytes.empty()) machine.erase(c.file);
    EXPECT_EQ(notch_rows(notched_panel(machine), c.width, c.height, c.connector), c.rows) << c.file;
  }
}

}  // namespace
}  // namespace screenprobe
