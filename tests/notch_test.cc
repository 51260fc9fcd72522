#include "notch.h"

#include <gtest/gtest.h>

#include "fake_screen.h"
#include "probe.h"

namespace screenprobe {
namespace {

using testing::FakeScreen;
using Reads = std::vector<std::string>;

double number(const Report& report, std::string_view key) {
  return std::get<double>(report.get(key).value());
}

TEST(Notch, BothAreasGiveTheHousingsExtent) {
  FakeScreen screen;
  screen.frame_value = CGRectMake(0, 0, 800, 600);
  screen.top_left_value = CGRectMake(0, 570, 300, 30);
  screen.top_right_value = CGRectMake(480, 570, 320, 30);

  const Report info = measure(screen);

  EXPECT_EQ(info.entries().size(), 11u);
  EXPECT_EQ(number(info, "notchWidth"), 180);
  EXPECT_EQ(number(info, "notchLeft"), 300);
  EXPECT_EQ(number(info, "notchRight"), 480);
  EXPECT_EQ(screen.reads.back(), "auxiliaryTopRightArea");
}

TEST(Notch, AMissingAreaAddsNothingAndAMissingLeftOneStopsTheReads) {
  FakeScreen left_only;
  left_only.top_left_value = CGRectMake(0, 570, 300, 30);
  EXPECT_EQ(measure(left_only).entries().size(), 8u);
  EXPECT_EQ(left_only.reads.back(), "auxiliaryTopRightArea");

  FakeScreen right_only;
  right_only.top_right_value = CGRectMake(480, 570, 320, 30);
  EXPECT_EQ(measure(right_only).entries().size(), 8u);
  EXPECT_EQ(right_only.reads.back(), "auxiliaryTopLeftArea");
  EXPECT_EQ(std::count(right_only.reads.begin(), right_only.reads.end(), "auxiliaryTopRightArea"),
            0);
}

TEST(Notch, IndependentOfTheSafeAreaInset) {
  FakeScreen inset_without_areas;
  inset_without_areas.insets_value.top = 32;
  const Report first = measure(inset_without_areas);
  EXPECT_TRUE(std::get<bool>(first.get("hasNotch").value()));
  EXPECT_FALSE(first.get("notchWidth").has_value());

  FakeScreen areas_without_inset;
  areas_without_inset.top_left_value = CGRectMake(0, 570, 300, 30);
  areas_without_inset.top_right_value = CGRectMake(480, 570, 320, 30);
  const Report second = measure(areas_without_inset);
  EXPECT_FALSE(std::get<bool>(second.get("hasNotch").value()));
  EXPECT_EQ(number(second, "notchWidth"), 180);
}

TEST(Notch, MeasuredFromTheScreensOwnLeftEdgeWhereverTheScreenIs) {
  auto notch_of = [](CGRect frame) {
    FakeScreen screen;
    screen.frame_value = frame;
    screen.top_left_value = CGRectMake(frame.origin.x, 570, 300, 30);
    screen.top_right_value = CGRectMake(frame.origin.x + 480, 570, 320, 30);
    Report info;
    add_notch_entries(screen, frame, info);
    return std::vector<double>{number(info, "notchWidth"), number(info, "notchLeft"),
                               number(info, "notchRight")};
  };
  const std::vector<double> at_origin = notch_of(CGRectMake(0, 0, 800, 600));
  EXPECT_EQ(notch_of(CGRectMake(1512, 0, 800, 600)), at_origin);
  EXPECT_EQ(notch_of(CGRectMake(-800, 982, 800, 600)), at_origin);
}

TEST(Notch, ValuesAreReportedAsComputed) {
  // Areas wider together than the screen: a negative width, not corrected.
  Report wide;
  FakeScreen overlapping;
  overlapping.top_left_value = CGRectMake(0, 0, 500, 30);
  overlapping.top_right_value = CGRectMake(0, 0, 400, 30);
  add_notch_entries(overlapping, CGRectMake(0, 0, 800, 600), wide);
  EXPECT_EQ(number(wide, "notchWidth"), -100);

  // Only widths count, standardized: a negative stored width reads as positive.
  Report flipped;
  FakeScreen negative;
  negative.top_left_value = CGRectMake(300, 0, -300, 30);
  negative.top_right_value = CGRectMake(800, 0, -320, -30);
  add_notch_entries(negative, CGRectMake(0, 0, 800, 600), flipped);
  EXPECT_EQ(number(flipped, "notchLeft"), 300);
  EXPECT_EQ(number(flipped, "notchRight"), 480);

  // The width is its own formula, not right minus left; here the two differ in the last bit.
  Report fractional;
  FakeScreen thirds;
  thirds.top_left_value = CGRectMake(0, 0, 0.1, 1);
  thirds.top_right_value = CGRectMake(0, 0, 0.7, 1);
  add_notch_entries(thirds, CGRectMake(0, 0, 1, 1), fractional);
  ASSERT_NE((1 - 0.1) - 0.7, (1 - 0.7) - 0.1);
  EXPECT_EQ(number(fractional, "notchWidth"), (1 - 0.1) - 0.7);
}

}  // namespace
}  // namespace screenprobe
