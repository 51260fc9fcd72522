#include <gtest/gtest.h>
#include <sys/socket.h>
#include <xcb/randr.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <thread>

#include "x11_connection.h"
#include "x11_geometry.h"
#include "x11_replies.h"
#include "x11_resources.h"
#include "xsettings.h"

namespace screenprobe::x11 {
namespace {

struct Blob : std::vector<uint8_t> {
  template <typename T>
  Blob& add(const T& value) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(&value);
    return insert(end(), bytes, bytes + sizeof value), *this;
  }
};

// Each monitor carries its outputs, unless it claims more than any monitor has.
Blob monitors_reply(uint32_t claimed, std::vector<xcb_randr_monitor_info_t> monitors) {
  Blob reply = Blob().add(xcb_randr_get_monitors_reply_t{.nMonitors = claimed});
  for (const auto& m : monitors)
    reply.add(m).insert(reply.end(), m.nOutput < 16 ? 4 * m.nOutput : 0, 0);
  return reply;
}

TEST(X11Replies, WhatDoesNotAddUpIsNotRead) {
  const xcb_setup_t two{.vendor_len = 5, .roots_len = 2, .pixmap_formats_len = 1};
  const xcb_screen_t first{.root = 1, .width_in_pixels = 9, .allowed_depths_len = 1};
  Blob setup = Blob().add(two).add(uint64_t{0}).add(xcb_format_t{}).add(first);
  setup.add(xcb_depth_t{.visuals_len = 2}).add(std::array<xcb_visualtype_t, 2>{});
  EXPECT_EQ(read_setup_screen(setup, 0), (SetupScreen{1, 9, 0}));
  EXPECT_EQ(read_setup_screen(setup, 1), std::nullopt);  // claims a second screen, has none
  EXPECT_EQ(read_setup_screen(Blob(setup).add(xcb_screen_t{.root = 2}), 1), (SetupScreen{2}));
  setup[sizeof two + 16 + sizeof first + 2] = 3;  // a third visual that is not there
  EXPECT_EQ(read_setup_screen(Blob(setup).add(xcb_screen_t{.root = 2}), 1), std::nullopt);

  const Blob tree = Blob().add(xcb_query_tree_reply_t{.children_len = 2}).add(uint64_t{7});
  EXPECT_EQ(read_children(tree, 9), (std::vector<uint32_t>{7, 0}));
  EXPECT_EQ(read_children(tree, 1), (std::vector<uint32_t>{7}));  // keeps no more than the budget
  EXPECT_EQ(read_children(Bytes(tree).first(tree.size() - 1), 9), std::nullopt);

  const auto items = [](uint32_t type, uint8_t format, uint32_t units) {
    const xcb_get_property_reply_t header{
        .format = format, .length = 4, .type = type, .bytes_after = units == 3, .value_len = units};
    const Blob reply = Blob().add(header).add(std::array<uint32_t, 4>{0, 30, 9, 9});
    const auto value = read_property(reply, XCB_ATOM_CARDINAL, 32);
    return value ? read_items32(value->bytes).size() + 10 * value->truncated : 99;
  };
  EXPECT_EQ(items(XCB_ATOM_CARDINAL, 32, 4), 4u);
  EXPECT_EQ(items(XCB_ATOM_CARDINAL, 32, 3), 13u);
  EXPECT_EQ(items(XCB_ATOM_CARDINAL, 16, 8), 99u);
  EXPECT_EQ(items(XCB_ATOM_CARDINAL, 16, 4), 99u);
  EXPECT_EQ(items(XCB_ATOM_INTEGER, 32, 4), 99u);
  EXPECT_EQ(items(XCB_ATOM_CARDINAL, 32, 5), 99u);

  const xcb_randr_monitor_info_t listed_first{.nOutput = 1, .width = 1280, .height = 1024},
      primary{.primary = 1, .nOutput = 1, .x = 1280, .width = 1920, .height = 1080},
      no_area{.primary = 1, .width = 1920}, lying{.nOutput = 60000, .width = 1, .height = 1};
  const std::pair<Blob, std::optional<RootRect>> cases[] = {
      {monitors_reply(2, {listed_first, primary}), RootRect{1280, 0, 1920, 1080}},
      {monitors_reply(2, {no_area, listed_first}), RootRect{0, 0, 1280, 1024}},
      {monitors_reply(1, {no_area}), std::nullopt},
      {monitors_reply(3, {lying, primary, primary}), std::nullopt},
      {monitors_reply(UINT32_MAX, {primary}), std::nullopt},
  };
  for (const auto& [reply, main] : cases) {
    const auto monitors = read_monitors(reply);
    EXPECT_EQ(monitors ? main_monitor(*monitors) : std::nullopt, main);
  }
}

// libxcb will not allocate a reply that claims 2 GiB and calls that running out of memory; with
// memory to spare it is the server's lie: no screen.
TEST(X11Connection, AReplyClaiming2GiBIsNoScreen) {
  char request[12], answer[112] = {1, 0, 11, 0, 0, 0, 18};  // a setup of 80 bytes, then the lie
  answer[80] = 1, answer[87] = 0x20;                        // a reply of 2^29 four-byte units
  int ends[2];
  ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, ends), 0);
  std::thread server(
      [&] { EXPECT_EQ(read(ends[1], request, 12) + write(ends[1], answer, 112), 124); });
  const Connection c(xcb_connect_to_fd(ends[0], nullptr));
  server.join();
  std::free(xcb_poll_for_event(c.get()));  // reads the lie
  EXPECT_EQ(xcb_connection_has_error(c.get()), XCB_CONN_CLOSED_MEM_INSUFFICIENT);
  EXPECT_FALSE(connected(c.get()));
  close(ends[1]);
}

TEST(X11Settings, TheFactorInEitherByteOrderOnceInABlobThatAddsUp) {
  using namespace std::string_literals;
  const std::string lsb = "\0\0\x17\0Gdk/WindowScalingFactor\0\0\0\0\0\2\0\0\0"s;
  const std::string msb = "\0\0\0\x17Gdk/WindowScalingFactor\0\0\0\0\0\0\0\0\2"s;
  const auto read = [](const std::string& blob) {
    return read_xsettings_integer(Bytes(reinterpret_cast<const uint8_t*>(blob.data()), blob.size()),
                                  "Gdk/WindowScalingFactor");
  };
  const std::string theme = "\1\0\x0d\0Net/ThemeName\0\0\0\0\0\0\0\7\0\0\0Adwaita\0"s;
  EXPECT_EQ(read("\0\0\0\0\0\0\0\0\2\0\0\0"s + theme + lsb), 2);
  EXPECT_EQ(read("\1\0\0\0\0\0\0\0\0\0\0\1"s + msb), 2);
  EXPECT_EQ(read("\0\0\0\0\0\0\0\0\2\0\0\0"s + lsb + lsb), std::nullopt);  // said twice
  EXPECT_EQ(read("\0\0\0\0\0\0\0\0\2\0\0\0"s + lsb), std::nullopt);        // one missing
  EXPECT_EQ(read("\0\0\0\0\0\0\0\0\1\0\0\0"s + lsb.substr(0, 35)), std::nullopt);
}

TEST(X11Resources, XftDpiAsTheResourceManagerResolvesIt) {
  const std::pair<const char*, std::optional<double>> cases[] = {
      {"  Xft.dpi  :  0x90 trailing\r", 144},
      {"Xft.dpi: 1\\\n44", 144},
      {"?.dpi: 96\n*dpi: 144", 96},
      {".Xft.dpi: 144", 144},
      {"Xft.dpi: 192\nXft*dpi: 96", 192},
      {"Xft*dpi: 96\nXft.dpi: 192", 192},
      {"Xft.dpi: 192\nXft.dpi: abc", std::nullopt},
      {"dpi: 1\nXft.dpix: 1\nXft.dpi.x: 1\nXft.?: 1\n!Xft.dpi: 1\nXft.dpi", std::nullopt},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(xft_dpi(text, false), expected) << text;
  EXPECT_EQ(xft_dpi("Xft.dpi: 192\nXft.dpi: 19", true), 192);
  EXPECT_EQ(xft_dpi("Xft.dpi: 19", true), std::nullopt);
  EXPECT_EQ(backing_scale(std::nullopt, xft_dpi("Xft.dpi: " + std::string(400, '9'), false)), 1);
}

TEST(X11Geometry, TheVisibleAreaAndTheScale) {
  // A monitor 300 down, right of another: the deepest strut reaching into it wins, in either order;
  // one taking only its first or last column, or a hostile one, does not count; a partial strut
  // with no range covers the edge. Another monitor's area is not its; one over several is cut.
  const RootRect main{960, 300, 960, 780};
  const std::vector<uint32_t> no_range = {0, 0, 340, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  const std::pair<std::vector<TopStrut>, int64_t> cases[] = {
      {{{326, 1000, 1100}, {310, 0, UINT32_MAX}}, 26},
      {{{UINT32_MAX, 0, 959},
        {400, 0, 960},
        {400, 1919, 2500},
        {330, 1919, 960},
        {400, 1920, 2879}},
       0},
      {{{400, 1919, 1919}, {2000, 959, 961}}, 780},
      {{*top_strut(no_range, {}), {320, 960, 960}}, 40},
  };
  for (auto [struts, band] : cases) {
    for (int pass = 0; pass < 2; ++pass, std::reverse(struts.begin(), struts.end())) {
      EXPECT_EQ(visible_area(main, std::vector<uint32_t>{2000, 328, 9, 9}, struts, main).y,
                300 + band);
    }
  }
  EXPECT_EQ(visible_area({0, 1080, 1920, 1080}, {}, {}, RootRect{0, 30, 1920, 2130}).y, 1080);
  EXPECT_EQ(to_report_space(RootRect{1280, 0, 1080, 1400}, main).origin.y, -320);
  EXPECT_FALSE(window_manager_runs(std::vector<uint32_t>{7}, std::vector<uint32_t>{8}));
  for (const double bad : {0.0, -96.0, 1e-322, std::nan(""), HUGE_VAL}) {
    EXPECT_EQ(backing_scale(-2, bad), 1);
  }
  EXPECT_EQ(backing_scale(0, 144), 1.5);  // a factor of 0 is none
}

}  // namespace
}  // namespace screenprobe::x11
