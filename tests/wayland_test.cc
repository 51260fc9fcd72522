#include <gtest/gtest.h>

#include <map>
#include <string>

#include "wayland_outputs.h"

namespace screenprobe::wayland {
namespace {

// An output's size and scale from what it announced; none where nothing may be divided by it.
// (Turned outputs, fractional scales and xdg-output sizes are judged on sway.)
TEST(WaylandOutputs, SizeAndScale) {
  struct Case {
    OutputState output;
    std::optional<uint32_t> preferred;
    std::optional<Size> size;
    double scale;
  };
  const Case cases[] = {
      {{Size{1920, 1080}, 0, 2, Size{1280, 720}}, 144, Size{1280, 720}, 1.2},  // the preference
      {{Size{1920, 1080}, 7, 2}, std::nullopt, Size{540, 960}, 2},  // no xdg-output: by the mode
      {{Size{1920, 1080}, 1, 2, Size{1080, 1920}}, std::nullopt, Size{540, 960}, 2},  // in pixels
      {{Size{2880, 1800}, 0, 2}, 180, Size{1920, 1200}, 1.5},  // the preference, no xdg-output
      {{Size{1920, 1080}, 0, 0}, std::nullopt, std::nullopt, 0},
      {{Size{0, 1080}, 0, 1, Size{1920, 1080}}, std::nullopt, std::nullopt, 0},
      {{Size{1920, 1080}, 0, 1, Size{1920, 0}}, std::nullopt, std::nullopt, 0},
      {{std::nullopt, 0, 1, Size{1920, 1080}}, std::nullopt, std::nullopt, 0},
      {{Size{1, 1}, 0, 2}, std::nullopt, std::nullopt, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.output.transform << " " << c.output.integer_scale);
    if (!c.size) {
      EXPECT_EQ(logical_size(c.output), std::nullopt);
      continue;
    }
    const Frame frame = measure(c.output, c.preferred);
    EXPECT_EQ(frame.size, *c.size);
    EXPECT_DOUBLE_EQ(frame.scale, c.scale);
  }
}

TEST(WaylandOutputs, MainOutput) {
  const OutputState gone{Size{10, 10}, 0, 1, std::nullopt, true};
  const OutputState small{Size{10, 10}}, large{Size{20, 20}}, empty{Size{0, 0}};
  const OutputState outputs[] = {gone, empty, small, large, small};
  EXPECT_EQ(only_match(outputs, Size{20, 20}), 3u);
  EXPECT_EQ(only_match(outputs, Size{10, 10}), std::nullopt);  // two of that size
  EXPECT_EQ(first_match(outputs, Size{10, 10}), 2u);
  EXPECT_EQ(first_match(outputs, std::nullopt), 2u);
  EXPECT_EQ(first_match(outputs, Size{0, 0}), std::nullopt);
  // A maximised window's output: its bounds, else its size, fit best; else the first usable.
  const OutputState wide{Size{1920, 1080}}, tall{Size{1920, 1200}};
  const OutputState desk[] = {gone, wide, tall};
  EXPECT_EQ(maximised_on(desk, Size{1920, 1168}, Size{1920, 1168}), 2u);
  EXPECT_EQ(maximised_on(desk, Size{1856, 1048}, Size{1856, 1048}), 1u);  // a dock at the side
  EXPECT_EQ(maximised_on(desk, std::nullopt, Size{1920, 1168}), 2u);
  EXPECT_EQ(maximised_on(desk, Size{0, 0}, Size{1920, 1168}), 2u);
  EXPECT_EQ(maximised_on(desk, Size{1920, 1168}, Size{0, 0}), 1u);  // bounds in pixels
  EXPECT_EQ(maximised_on(desk, Size{4000, 10}, Size{4000, 10}), 1u);
  EXPECT_EQ(band_within(-5, 100), 0);
  EXPECT_EQ(band_within(int64_t{1} << 40, 100), 100);
}

// A MacBook under Linux, by its files: a 14" whose driver shows the notch rows, unless changed.
struct Machine : SystemFiles {
  std::map<std::string, std::string> files{
      {"/sys/firmware/devicetree/base/aliases/dcp", std::string("/soc/dcp\0", 9)},
      {"/sys/firmware/devicetree/base/soc/dcp/apple,notch-height", std::string("\0\0\0\x4a", 4)},
      {"/sys/module/appledrm/parameters/show_notch", "Y\n"},
      {"/sys/class/drm/card0-DP-1/status", "connected\n"},
      {"/sys/class/drm/card0-DP-1/modes", "3024x1964\n"},
      {"/sys/class/drm/card1-eDP-1/status", "connected\n"},
      {"/sys/class/drm/card1-eDP-1/modes", "3024x1964\n1512x982\n"}};
  std::optional<std::string> read(const std::string& path, size_t limit) const override {
    const auto file = files.find(path);
    if (file == files.end() || file->second.size() > limit) return std::nullopt;
    return file->second;
  }
  std::vector<std::string> list(const std::string& folder, size_t) const override {
    std::vector<std::string> names;
    for (const auto& [path, bytes] : files) {
      const std::string rest = path.substr(folder.size() + 1);
      if (path.rfind(folder + "/", 0) == 0) names.push_back(rest.substr(0, rest.find('/')));
    }
    return names;
  }
};

// The notch band from the machine's files and the main output's state, in its surfaces' units.
TEST(WaylandOutputs, NotchBand) {
  const std::string tree = "/sys/firmware/devicetree/base", drm = "/sys/class/drm/card1-eDP-1";
  const std::string shown = "/sys/module/appledrm/parameters/show_notch";
  struct Case {
    std::map<std::string, std::string> changed;  // "" removes the file
    OutputState output;
    double scale;
    double top;
  };
  const OutputState panel{Size{3024, 1964}, 0, 2, std::nullopt, false, "eDP-1"};
  const OutputState air{Size{2560, 1664}};  // a version-3 output: no name
  const OutputState hidden{Size{3024, 1890}, 0, 2, std::nullopt, false, "eDP-1"};
  const OutputState turned{Size{3024, 1964}, 1, 2, std::nullopt, false, "eDP-1"};
  const OutputState external{Size{3024, 1964}, 0, 2, std::nullopt, false, "DP-1"};
  const Case cases[] = {
      {{}, panel, 2, 37},
      {{}, panel, 1.5, 74 / 1.5},
      {{{tree + "/soc/dcp/apple,notch-height", std::string("\0\0\0\x40", 4)},
        {drm + "/modes", "2560x1664\n"}},
       air,
       1,
       64},
      {{{shown, ""}, {"/sys/module/apple_dcp/parameters/show_notch", "Y\n"}}, panel, 2, 37},
      {{{shown, "N\n"}, {drm + "/modes", "3024x1890\n"}}, hidden, 2, 0},
      {{}, turned, 2, 0},
      {{}, external, 2, 0},  // a monitor of the panel's size on another connector
      {{{drm + "/status", "disconnected\n"}}, panel, 2, 0},
      {{{tree + "/soc/dcp/apple,notch-height", std::string("\0\0\x4a", 3)}}, panel, 2, 0},
      {{{tree + "/soc/dcp/apple,notch-height", std::string("\0\0\0\x4a\0", 5)}}, panel, 2, 0},
      {{{tree + "/soc/dcp/apple,notch-height", std::string("\0\0\0\xa1", 4)}}, panel, 2, 0},
      {{{tree + "/aliases/dcp", ""}}, panel, 2, 0},
      {{{tree + "/aliases/dcp", std::string("/soc/../soc/dcp\0", 16)}}, panel, 2, 0},
  };
  for (const Case& c : cases) {
    Machine machine;
    for (const auto& [path, bytes] : c.changed) {
      if (bytes.empty())
        machine.files.erase(path);
      else
        machine.files[path] = bytes;
    }
    SCOPED_TRACE(testing::Message() << c.output.mode->height << " " << c.changed.size());
    EXPECT_DOUBLE_EQ(notch_top(c.output, c.scale, notched_panel(machine)), c.top);
  }
}

}  // namespace
}  // namespace screenprobe::wayland
