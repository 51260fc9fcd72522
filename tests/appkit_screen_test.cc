// The AppKit layer's own source, built against the stand-in AppKit: what it reads, in what
// order, what it passes on, and when it lets go of the screen.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "probe.h"
#include "sample_reports.h"
#include "screen.h"
#include "standin_control.h"
#include "temp_stream.h"

namespace screenprobe {
namespace {

using Calls = std::vector<std::string>;
using testing::TempStream;

// run_in_platform_scope takes a plain function, so the run's streams and observations are here.
struct RunContext {
  std::FILE* out = nullptr;
  std::FILE* err = nullptr;
  int pools_during_run = -1;
  int screens_after_report = -1;
  Calls calls_after_report;
  std::vector<double> read;  // values read through the seam, flattened
};
RunContext context;

void begin_run(std::FILE* out, std::FILE* err) {
  context = RunContext{};
  context.out = out;
  context.err = err;
}

int probe_run() {
  context.pools_during_run = standin::open_pools();
  std::unique_ptr<Screen> screen = main_screen();
  const int status = run_probe(screen.get(), context.out, context.err);
  context.screens_after_report = standin::live_screens();
  context.calls_after_report = standin::calls();
  return status;
}

class AppKitScreenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    standin::reset();
    begin_run(out_.get(), err_.get());
  }
  void TearDown() override { standin::reset(); }

  int run() { return run_in_platform_scope(probe_run); }

  TempStream out_;
  TempStream err_;
};

TEST_F(AppKitScreenTest, NoMainScreen) {
  EXPECT_EQ(run(), kExitNoScreen);
  EXPECT_EQ(out_.contents(), "{\"error\":\"sem tela\"}\n");
  EXPECT_EQ(err_.contents(), "");
  EXPECT_EQ(standin::calls(), (Calls{"sharedApplication", "mainScreen"}));
}

TEST_F(AppKitScreenTest, ANotchedScreenEndToEnd) {
  standin::ScreenValues values;
  values.safe_top = 32;
  values.auxiliary_top_left = CGRectMake(0, 950, 662, 32);
  values.auxiliary_top_right = CGRectMake(847, 950, 665, 32);
  standin::set_main_screen(values);

  EXPECT_EQ(run(), kExitReport);
  EXPECT_EQ(out_.contents(), testing::kNotchedLaptopReport);
  // The application object first, then one read per value in the probe's order, and the screen
  // held until the report was written.
  EXPECT_EQ(
      context.calls_after_report,
      (Calls{"sharedApplication", "mainScreen", "frame", "visibleFrame", "backingScaleFactor",
             "safeAreaInsets", "safeAreaInsets", "auxiliaryTopLeftArea", "auxiliaryTopRightArea"}));
  EXPECT_EQ(context.screens_after_report, 1);
}

TEST_F(AppKitScreenTest, TheScreenIsReleasedAfterTheRunInsideOnePool) {
  standin::set_main_screen(standin::ScreenValues{});
  EXPECT_EQ(run(), kExitReport);
  EXPECT_EQ(context.pools_during_run, 1);
  EXPECT_EQ(standin::open_pools(), 0);
  EXPECT_EQ(standin::live_screens(), 0);
  EXPECT_EQ(standin::calls().back(), "dealloc");
  EXPECT_EQ(standin::autoreleased_without_pool(), 0);
}

TEST_F(AppKitScreenTest, ValuesPassThroughUnchanged) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  standin::ScreenValues values;
  values.frame = CGRectMake(-1512.5, 982.25, -800, -600);
  values.visible_frame = CGRectMake(nan, -0.0, 1e300, -5e-324);
  values.backing_scale_factor = nan;
  values.safe_top = -3;
  values.safe_left = nan;
  values.safe_bottom = -0.0;
  values.safe_right = 1e-300;
  values.auxiliary_top_left = CGRectMake(-7, nan, 300, 30);
  values.auxiliary_top_right = CGRectMake(500, 950, 1e308, 1e-320);
  standin::set_main_screen(values);

  auto same = [](double a, double b) {
    return (std::isnan(a) && std::isnan(b)) || (a == b && std::signbit(a) == std::signbit(b));
  };
  auto same_rect = [&](CGRect a, CGRect b) {
    return same(a.origin.x, b.origin.x) && same(a.origin.y, b.origin.y) &&
           same(a.size.width, b.size.width) && same(a.size.height, b.size.height);
  };
  run_in_platform_scope([] {
    std::unique_ptr<Screen> screen = main_screen();
    if (screen == nullptr) return 1;
    const CGRect frame = screen->frame();
    const CGRect visible = screen->visibleFrame();
    const CGFloat scale = screen->backingScaleFactor();
    const EdgeInsets insets = screen->safeAreaInsets();
    const std::optional<CGRect> left = screen->auxiliaryTopLeftArea();
    const std::optional<CGRect> right = screen->auxiliaryTopRightArea();
    context.read = {frame.origin.x,     frame.origin.y,      frame.size.width,
                    frame.size.height,  visible.origin.x,    visible.origin.y,
                    visible.size.width, visible.size.height, scale,
                    insets.top,         insets.left,         insets.bottom,
                    insets.right,       left ? 1.0 : 0.0,    right ? 1.0 : 0.0};
    if (left)
      context.read.insert(context.read.end(), {left->origin.x, left->origin.y, left->size.width});
    return 0;
  });
  const std::vector<double>& seen = context.read;
  ASSERT_EQ(seen.size(), 18u);
  EXPECT_TRUE(same_rect(CGRectMake(seen[0], seen[1], seen[2], seen[3]), values.frame));
  EXPECT_TRUE(same_rect(CGRectMake(seen[4], seen[5], seen[6], seen[7]), values.visible_frame));
  EXPECT_TRUE(same(seen[8], nan));
  EXPECT_TRUE(same(seen[9], -3));
  EXPECT_TRUE(same(seen[10], nan));
  EXPECT_TRUE(same(seen[11], -0.0));
  EXPECT_TRUE(same(seen[12], 1e-300));
  EXPECT_EQ(seen[13], 1.0) << "a NaN origin does not make an area empty";
  EXPECT_EQ(seen[14], 1.0) << "a tiny positive height is still an area";
  EXPECT_TRUE(same(seen[15], -7));
  EXPECT_TRUE(same(seen[16], nan));
  EXPECT_TRUE(same(seen[17], 300));
}

TEST_F(AppKitScreenTest, EmptyAuxiliaryAreasAreAbsentWhereverTheyAre) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (const CGRect empty :
       {CGRectMake(0, 0, 0, 0), CGRectMake(10, 950, 0, 0), CGRectMake(0, 950, 662, 0),
        CGRectMake(0, 950, 0, 32), CGRectMake(0, 950, -662, 32), CGRectMake(0, 950, nan, 32)}) {
    SCOPED_TRACE(empty.size.width);
    standin::reset();
    standin::ScreenValues values;
    values.auxiliary_top_left = CGRectMake(0, 950, 662, 32);
    values.auxiliary_top_right = empty;
    standin::set_main_screen(values);
    TempStream out, err;
    begin_run(out.get(), err.get());
    EXPECT_EQ(run(), kExitReport);
    EXPECT_EQ(out.contents().find("notch"), std::string::npos);
  }
}

TEST_F(AppKitScreenTest, TheTopRightAreaIsNotReadWithoutATopLeftOne) {
  standin::ScreenValues values;
  values.auxiliary_top_left = CGRectMake(24, 950, 0, 0);
  values.auxiliary_top_right = CGRectMake(847, 950, 665, 32);
  standin::set_main_screen(values);
  EXPECT_EQ(run(), kExitReport);
  EXPECT_EQ(context.calls_after_report.back(), "auxiliaryTopLeftArea");
  EXPECT_EQ(std::count(standin::calls().begin(), standin::calls().end(), "auxiliaryTopRightArea"),
            0);
}

}  // namespace
}  // namespace screenprobe
