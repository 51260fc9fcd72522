#include <gtest/gtest.h>

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

}  // namespace
}  // namespace screenprobe::wayland
