#include "x11_geometry.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace screenprobe::x11 {
namespace {

using Values = std::vector<uint32_t>;

void expect_rect(CGRect rect, CGFloat x, CGFloat y, CGFloat width, CGFloat height) {
  EXPECT_EQ(rect.origin.x, x);
  EXPECT_EQ(rect.origin.y, y);
  EXPECT_EQ(rect.size.width, width);
  EXPECT_EQ(rect.size.height, height);
}

TEST(X11Geometry, ReportSpaceFlipsYAroundTheMainMonitorsBottomEdge) {
  // The main monitor sits lower than the top of the root window, beside a taller one.
  const RootRect main{0, 200, 1280, 800};
  const RootRect tall{1280, 0, 1080, 1400};
  expect_rect(to_report_space(main, main), 0, 0, 1280, 800);
  // A 30-pixel panel at the top of the main monitor leaves the lower 770 pixels.
  expect_rect(to_report_space(RootRect{0, 230, 1280, 770}, main), 0, 0, 1280, 770);
  // The taller monitor reaches 200 above the main one's top and 400 below its bottom.
  expect_rect(to_report_space(tall, main), 1280, -400, 1080, 1400);
  // A monitor left of and above the main one.
  expect_rect(to_report_space(RootRect{0, 0, 1920, 1080}, RootRect{1920, 1080, 1280, 1024}), -1920,
              1024, 1920, 1080);
}

TEST(X11Geometry, PerMonitorWorkAreasWinWhenOneLiesWithinTheMonitor) {
  const RootRect left{0, 0, 1280, 1024};
  const RootRect right{1280, 0, 1920, 1080};
  const Values gtk = {0, 0, 1280, 1024, 1280, 28, 1920, 1052};
  const Values net = {0, 10, 3200, 1000};
  EXPECT_EQ(visible_area(right, gtk, net, 0), (RootRect{1280, 28, 1920, 1052}));
  EXPECT_EQ(visible_area(left, gtk, net, 0), left);
  // None inside this monitor (or a partial set): back to the desktop-wide area.
  EXPECT_EQ(visible_area(right, Values{0, 0, 1280, 1024}, net, 0),
            (RootRect{1280, 10, 1920, 1000}));
  EXPECT_EQ(visible_area(right, Values{1280, 28, 1920}, net, 0), (RootRect{1280, 10, 1920, 1000}));
}

TEST(X11Geometry, DesktopIndex) {
  const Values two_desktops(8, 0);
  EXPECT_EQ(effective_desktop(std::nullopt, two_desktops), 0u);
  EXPECT_EQ(effective_desktop(1, two_desktops), 1u);
  EXPECT_EQ(effective_desktop(2, two_desktops), 0u);
  EXPECT_EQ(effective_desktop(1, Values(7, 0)), 0u);  // the second set is incomplete
  // Would wrap to a small offset if the index were multiplied out in 32 bits.
  EXPECT_EQ(effective_desktop(0x40000000u, two_desktops), 0u);
  EXPECT_EQ(effective_desktop(0xFFFFFFFFu, two_desktops), 0u);
}

// Bad values (nan, -96, abc, 1e999, ...) are run against a real server in x11_screen_test.cc.
TEST(X11Geometry, ScaleFromXftDpi) {
  struct Case {
    const char* resources;
    CGFloat scale;
  };
  const Case cases[] = {
      {"Xft.dpi:\t192\n", 2},
      {"Xft.antialias:\t1\nXft.dpi:\t144\nXft.hinting:\t1\n", 1.5},
      {"Xft.dpi: 130.5", 130.5 / 96},
      {"  Xft.dpi  :  120  \r\n", 1.25},
      {"Xft.dpi:\t96\nXft.dpi:\t192\n", 2},  // the later entry holds
      {"", 1},
      {"Xft.dpix:\t192\n*dpi:\t192\n", 1},
      {"Xft.dpi:\t96dpi\n", 1},
      {"Xft.dpi:\n", 1},
      {"Xft.dpi:\t192\nXft.dpi:\tabc\n", 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(scale_from_resources(c.resources, false), c.scale) << c.resources;
  }
}

TEST(X11Geometry, ATruncatedDatabaseLosesItsCutLastLine) {
  EXPECT_EQ(scale_from_resources("Xft.dpi:\t192\nXft.dpi:\t19", true), 2);
  EXPECT_EQ(scale_from_resources("Xft.dpi:\t19", true), 1);
  EXPECT_EQ(scale_from_resources("Xft.dpi:\t19", false), 19.0 / 96);
}

}  // namespace
}  // namespace screenprobe::x11
