// The probe against real X servers: what a caller gets for ordinary desktops, and that broken
// or hostile root properties never break the report.
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "process_runner.h"
#include "xvfb_server.h"

namespace screenprobe::testing {
namespace {

const std::string kBinary = SCREENPROBE_BINARY;
const std::string kNoScreen = "{\"error\":\"sem tela\"}\n";

ProcessResult probe(const std::string& display, StandardOutput output = StandardOutput::kCaptured) {
  ProcessOptions options;
  options.environment = {{"DISPLAY", display}, {"WAYLAND_DISPLAY", std::nullopt}};
  options.standard_output = output;
  return run_process(kBinary, options);
}

std::string report(double menu_bar, double scale, double width, double height) {
  char text[512];
  std::snprintf(text, sizeof text,
                "{\n"
                "  \"hasNotch\" : false,\n"
                "  \"menuBarHeight\" : %g,\n"
                "  \"safeTop\" : 0,\n"
                "  \"scale\" : %.17g,\n"
                "  \"screenHeight\" : %g,\n"
                "  \"screenWidth\" : %g,\n"
                "  \"screenX\" : 0,\n"
                "  \"screenY\" : 0\n"
                "}\n",
                menu_bar, scale, height, width);
  return text;
}

// Runs the probe and expects a clean report with the given figures.
void expect_report(const XvfbServer& server, double menu_bar, double scale = 1, double width = 1920,
                   double height = 1080) {
  const ProcessResult result = probe(server.display());
  EXPECT_EQ(result.exit_status, 0);
  EXPECT_EQ(result.out, report(menu_bar, scale, width, height));
  EXPECT_EQ(result.err, "");
}

TEST(X11Screen, PlainScreen) {
  XvfbServer server;
  expect_report(server, 0);
}

TEST(X11Screen, PanelsAndDocks) {
  struct Case {
    const char* name;
    std::vector<uint32_t> workarea;
    double menu_bar;
  };
  const Case cases[] = {
      {"top panel", {0, 32, 1920, 1048}, 32},
      {"top panel and a bottom dock", {0, 32, 1920, 988}, 32},
      {"side dock", {64, 0, 1856, 1080}, 0},
      {"top panel and a right dock", {0, 27, 1856, 1053}, 27},
  };
  XvfbServer server;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    server.set_cardinals("_NET_WORKAREA", c.workarea);
    expect_report(server, c.menu_bar);
  }
}

TEST(X11Screen, ScaleFromXftDpi) {
  XvfbServer server;
  server.set_string("RESOURCE_MANAGER", "Xft.antialias:\t1\nXft.dpi:\t192\n");
  expect_report(server, 0, 2);
  server.set_string("RESOURCE_MANAGER", "Xft.dpi:\t130.5\n");
  expect_report(server, 0, 130.5 / 96);
}

TEST(X11Screen, SecondMonitorPrimary) {
  XvfbServer server({.width = 3200, .height = 1200, .auth_file = {}});
  server.xrandr({"--setmonitor", "Left", "1280/338x1024/270+0+0", "none"});
  server.xrandr({"--setmonitor", "*Right", "1920/508x1080/286+1280+0", "none"});
  // One work area over the whole root window, as EWMH has it.
  server.set_cardinals("_NET_WORKAREA", {0, 28, 3200, 1172});
  expect_report(server, 28, 1, 1920, 1080);
}

TEST(X11Screen, TallerSecondaryMonitor) {
  // The main monitor's top is 300 below the root's top, beside a monitor 1400 tall: the visible
  // frame is placed against the main monitor's own bottom edge, not the root window's.
  XvfbServer server({.width = 2360, .height = 1400, .auth_file = {}});
  server.xrandr({"--setmonitor", "*Main", "1280/338x800/211+0+300", "none"});
  server.xrandr({"--setmonitor", "Tall", "1080/286x1400/370+1280+0", "none"});
  server.set_cardinals("_NET_WORKAREA", {0, 330, 2360, 1070});
  expect_report(server, 30, 1, 1280, 800);
  // With per-monitor work areas, the main monitor's own entry holds.
  server.set_cardinals("_GTK_WORKAREAS_D0", {1280, 0, 1080, 1400, 0, 336, 1280, 764});
  expect_report(server, 36, 1, 1280, 800);
}

TEST(X11Screen, CurrentDesktopOtherThanTheFirst) {
  XvfbServer server;
  server.set_cardinals("_NET_WORKAREA", {0, 0, 1920, 1080, 0, 10, 1920, 1070, 0, 40, 1920, 1040});
  server.set_cardinals("_NET_CURRENT_DESKTOP", {2});
  expect_report(server, 40);
  // That desktop's own per-monitor work areas, asked for once the desktop is known.
  server.set_cardinals("_GTK_WORKAREAS_D0", {0, 5, 1920, 1075});
  server.set_cardinals("_GTK_WORKAREAS_D2", {0, 44, 1920, 1036});
  expect_report(server, 44);
}

TEST(X11Screen, BrokenWorkAreasMeanTheWholeMonitor) {
  XvfbServer server;
  const uint32_t area[] = {0, 30, 1920, 1050};
  const uint16_t short_area[] = {0, 30, 1920, 1050};
  struct Case {
    const char* name;
    const char* type;
    uint8_t format;
    const void* data;
    uint32_t count;
  };
  const Case cases[] = {
      {"wrong type", "INTEGER", 32, area, 4},
      {"a string", "STRING", 8, "0 30 1920 1050", 14},
      {"wrong format", "CARDINAL", 16, short_area, 4},
      {"too short", "CARDINAL", 32, area, 3},
      {"empty", "CARDINAL", 32, area, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    server.set_property("_NET_WORKAREA", c.type, c.format, c.data, c.count);
    expect_report(server, 0);
  }
  for (const auto& outside : std::vector<std::vector<uint32_t>>{
           {5000, 5000, 100, 100}, {0, 0, 0, 0}, {0, 1080, 1920, 50}, {0xFFFFFFFF, 0, 10, 10}}) {
    SCOPED_TRACE(outside[0]);
    server.set_cardinals("_NET_WORKAREA", outside);
    expect_report(server, 0);
  }
}

TEST(X11Screen, OutOfRangeOrBrokenDesktopIndexMeansTheFirstDesktop) {
  XvfbServer server;
  server.set_cardinals("_NET_WORKAREA", {0, 25, 1920, 1055});
  for (uint32_t desktop : {1u, 7u, 0x40000000u, 0xFFFFFFFFu}) {
    SCOPED_TRACE(desktop);
    server.set_cardinals("_NET_CURRENT_DESKTOP", {desktop});
    expect_report(server, 25);
  }
  server.set_string("_NET_CURRENT_DESKTOP", "1");
  expect_report(server, 25);
  server.set_cardinals("_NET_CURRENT_DESKTOP", {});
  expect_report(server, 25);
}

TEST(X11Screen, BadResourceDatabasesMeanScaleOne) {
  XvfbServer server;
  for (const char* value : {"nan", "-96", "abc", "1e999", "inf", "0", ""}) {
    SCOPED_TRACE(value);
    server.set_string("RESOURCE_MANAGER", std::string("Xft.dpi:\t") + value + "\n");
    expect_report(server, 0);
  }
  const uint32_t dpi = 192;
  server.set_property("RESOURCE_MANAGER", "CARDINAL", 32, &dpi, 1);
  expect_report(server, 0);
}

TEST(X11Screen, HugeResourceDatabase) {
  XvfbServer server;
  std::string filler;
  for (int i = 0; filler.size() < 4 * 1024 * 1024; ++i) {
    filler += "app" + std::to_string(i) + ".background:\t#202020\n";
  }
  // Read only up to a bound: an entry far beyond it is not seen, and nothing breaks.
  server.set_string("RESOURCE_MANAGER", filler + "Xft.dpi:\t192\n");
  expect_report(server, 0);
  server.set_string("RESOURCE_MANAGER", "Xft.dpi:\t192\n" + filler);
  expect_report(server, 0, 2);
}

TEST(X11Screen, AReportThatCannotBeWrittenFails) {
  XvfbServer server;
  for (StandardOutput output : {StandardOutput::kDevFull, StandardOutput::kBrokenPipe}) {
    const ProcessResult result = probe(server.display(), output);
    EXPECT_EQ(result.exit_status, 74);
    EXPECT_NE(result.err, "");
  }
}

TEST(X11Screen, NoDisplayOrADeadOneMeansNoScreen) {
  XvfbServer server;
  const std::string display = server.display();
  server.stop();
  for (const std::string& target : {std::string(), display, std::string(":abc")}) {
    SCOPED_TRACE(target);
    const ProcessResult result = probe(target);
    EXPECT_EQ(result.exit_status, 1);
    EXPECT_EQ(result.out, kNoScreen);
    EXPECT_EQ(result.err, "");
  }

  // A socket left behind by a server that died: it is there, but nothing answers on it.
  const std::string path = "/tmp/.X11-unix/X" + std::to_string(server.number());
  const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_NE(fd, -1);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
    const ProcessResult result = probe(display);
    EXPECT_EQ(result.exit_status, 1);
    EXPECT_EQ(result.out, kNoScreen);
    EXPECT_EQ(result.err, "");
    unlink(path.c_str());
  }
  close(fd);
}

TEST(X11Screen, RefusedAuthorizationMeansNoScreen) {
  // An authority file with one cookie for any display: family FamilyWild, empty address and
  // display number, MIT-MAGIC-COOKIE-1.
  const std::string auth = ::testing::TempDir() + "/screenprobe-xauth";
  {
    std::string record = {'\xff', '\xff', 0, 0, 0, 0, 0, 18};
    record += "MIT-MAGIC-COOKIE-1";
    record += std::string{0, 16};
    record += "0123456789abcdef";
    std::FILE* file = std::fopen(auth.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(std::fwrite(record.data(), 1, record.size(), file), record.size());
    ASSERT_EQ(std::fclose(file), 0);
  }
  XvfbServer server({.auth_file = auth});
  ProcessOptions options;
  options.environment = {{"DISPLAY", server.display()}, {"XAUTHORITY", "/dev/null"}};
  const ProcessResult refused = run_process(kBinary, options);
  EXPECT_EQ(refused.exit_status, 1);
  EXPECT_EQ(refused.out, kNoScreen);
  EXPECT_EQ(refused.err, "");

  // With the cookie, the same server answers.
  options.environment["XAUTHORITY"] = auth;
  EXPECT_EQ(run_process(kBinary, options).exit_status, 0);
  std::remove(auth.c_str());
}

}  // namespace
}  // namespace screenprobe::testing
