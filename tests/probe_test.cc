#include "probe.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "fake_screen.h"
#include "sample_reports.h"
#include "temp_stream.h"

namespace screenprobe {
namespace {

using testing::FakeScreen;
using testing::TempStream;
using Reads = std::vector<std::string>;

double number(const Report& report, std::string_view key) {
  std::optional<ReportValue> value = report.get(key);
  if (!value || !std::holds_alternative<double>(*value)) {
    ADD_FAILURE() << "no number under " << key;
    return std::nan("");
  }
  return std::get<double>(*value);
}

bool flag(const Report& report, std::string_view key) {
  std::optional<ReportValue> value = report.get(key);
  if (!value || !std::holds_alternative<bool>(*value)) {
    ADD_FAILURE() << "no boolean under " << key;
    return false;
  }
  return std::get<bool>(*value);
}

TEST(ProbeRun, NoScreenWritesTheFailureLineAndNothingElse) {
  TempStream out, err;
  EXPECT_EQ(run_probe(nullptr, out.get(), err.get()), kExitNoScreen);
  EXPECT_EQ(out.contents(), "{\"error\":\"sem tela\"}\n");
  EXPECT_EQ(out.contents().size(), 21u);
  EXPECT_EQ(err.contents(), "");
}

TEST(ProbeRun, ReadsEachValueOnceInOrderAndBuildsTheEightBaseEntries) {
  FakeScreen screen;
  screen.frame_value = CGRectMake(0, 0, 800, 600);
  screen.visible_value = CGRectMake(0, 50, 800, 520);  // a Dock 50 high at the bottom
  screen.scale_value = 2;
  screen.insets_value = EdgeInsets{0, 1, 2, 3};

  const Report info = measure(screen);

  EXPECT_EQ(screen.reads, (Reads{"frame", "visibleFrame", "backingScaleFactor", "safeAreaInsets",
                                 "safeAreaInsets", "auxiliaryTopLeftArea"}));
  EXPECT_EQ(info.entries().size(), 8u);
  EXPECT_EQ(number(info, "screenX"), 0);
  EXPECT_EQ(number(info, "screenY"), 0);
  EXPECT_EQ(number(info, "screenWidth"), 800);
  EXPECT_EQ(number(info, "screenHeight"), 600);
  EXPECT_EQ(number(info, "scale"), 2);
  EXPECT_EQ(number(info, "safeTop"), 0);
  EXPECT_FALSE(flag(info, "hasNotch"));
  // 80 points outside the visible frame, 50 of them below it.
  EXPECT_EQ(number(info, "menuBarHeight"), 30);
}

TEST(ProbeRun, MenuBarHeightAcrossDockPlacementsAndOrigins) {
  struct Case {
    const char* name;
    CGRect frame;
    CGRect visible;
    double screen_x, screen_y, width, height, menu_bar;
  };
  const Case cases[] = {
      {"no dock", CGRectMake(0, 0, 1512, 982), CGRectMake(0, 0, 1512, 945), 0, 0, 1512, 982, 37},
      {"dock on the left", CGRectMake(0, 0, 800, 600), CGRectMake(70, 0, 730, 575), 0, 0, 800, 600,
       25},
      {"dock on the right", CGRectMake(0, 0, 800, 600), CGRectMake(0, 0, 730, 575), 0, 0, 800, 600,
       25},
      {"hidden menu bar", CGRectMake(0, 0, 800, 600), CGRectMake(0, 0, 800, 600), 0, 0, 800, 600,
       0},
      // A secondary screen above and left of the primary one: only the origins' difference counts.
      {"screen above", CGRectMake(-300, 982, 1920, 1080), CGRectMake(-300, 1032, 1920, 1005), -300,
       982, 1920, 1080, 25},
      // Negative stored sizes: widths are standardized, origins stay as stored.
      {"negative sizes", CGRectMake(800, 600, -800, -600), CGRectMake(800, 600, -800, -570), 800,
       600, 800, 600, 30},
      // The band formula is not clamped: a visible frame reaching above the frame gives a
      // negative height, reported as computed.
      {"visible above frame", CGRectMake(0, 0, 800, 600), CGRectMake(0, 10, 800, 600), 0, 0, 800,
       600, -10},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeScreen screen;
    screen.frame_value = c.frame;
    screen.visible_value = c.visible;
    const Report info = measure(screen);
    EXPECT_EQ(number(info, "screenX"), c.screen_x);
    EXPECT_EQ(number(info, "screenY"), c.screen_y);
    EXPECT_EQ(number(info, "screenWidth"), c.width);
    EXPECT_EQ(number(info, "screenHeight"), c.height);
    EXPECT_EQ(number(info, "menuBarHeight"), c.menu_bar);
  }
}

TEST(ProbeRun, MenuBarHeightKeepsTheOrderOfOperations) {
  // a - b and (H(frame) - (H(visible) + b)) differ in the last bit for these values.
  FakeScreen screen;
  screen.frame_value = CGRectMake(0, 0.1, 800, 600.3);
  screen.visible_value = CGRectMake(0, 0.7, 800, 575.1);
  const double a = 600.3 - 575.1;
  const double b = 0.7 - 0.1;
  ASSERT_NE(a - b, 600.3 - (575.1 + b));
  EXPECT_EQ(number(measure(screen), "menuBarHeight"), a - b);
}

TEST(ProbeRun, HasNotchOnlyForAStrictlyPositiveTopInset) {
  struct Case {
    double top;
    bool has_notch;
  };
  const Case cases[] = {{32, true},
                        {0.5, true},
                        {0, false},
                        {-0.0, false},
                        {-5, false},
                        {std::nan(""), false},
                        {std::numeric_limits<double>::infinity(), true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.top);
    FakeScreen screen;
    screen.insets_value.top = c.top;
    const Report info = measure(screen);
    EXPECT_EQ(flag(info, "hasNotch"), c.has_notch);
    const double safe_top = number(info, "safeTop");
    if (std::isnan(c.top)) {
      EXPECT_TRUE(std::isnan(safe_top));  // passed on as read, for the writer to refuse
    } else {
      EXPECT_EQ(safe_top, c.top);
      EXPECT_EQ(std::signbit(safe_top), std::signbit(c.top));
    }
  }
}

TEST(ProbeRun, WritesTheReportAndStatusZero) {
  FakeScreen screen;
  screen.frame_value = CGRectMake(0, 0, 1512, 982);
  screen.visible_value = CGRectMake(0, 0, 1512, 945);
  screen.insets_value.top = 32;
  screen.top_left_value = CGRectMake(0, 950, 662, 32);
  screen.top_right_value = CGRectMake(847, 950, 665, 32);
  TempStream out, err;

  EXPECT_EQ(run_probe(&screen, out.get(), err.get()), kExitReport);
  EXPECT_EQ(out.contents(), testing::kNotchedLaptopReport);
  EXPECT_EQ(err.contents(), "");
}

TEST(ProbeRun, ANumberJsonCannotHoldWritesNothingAndFails) {
  FakeScreen screen;
  screen.scale_value = std::numeric_limits<double>::infinity();
  TempStream out, err;

  EXPECT_EQ(run_probe(&screen, out.get(), err.get()), kExitSoftware);
  EXPECT_EQ(out.contents(), "");
  const std::string diagnostic = err.contents();
  EXPECT_NE(diagnostic.find("\"scale\""), std::string::npos) << diagnostic;
  EXPECT_EQ(diagnostic.back(), '\n');
  EXPECT_EQ(diagnostic.find('\n'), diagnostic.size() - 1) << "one line";
}

TEST(ProbeRun, AnOutputThatCannotBeWrittenIsAnError) {
  std::FILE* full = std::fopen("/dev/full", "w");
  if (full == nullptr) GTEST_SKIP() << "no /dev/full here";
  TempStream err;
  FakeScreen screen;
  EXPECT_EQ(run_probe(&screen, full, err.get()), kExitIoError);
  EXPECT_EQ(run_probe(nullptr, full, err.get()), kExitIoError);
  std::fclose(full);
  EXPECT_NE(err.contents().find("cannot write to standard output"), std::string::npos);
}

}  // namespace
}  // namespace screenprobe
