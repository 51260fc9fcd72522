#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "wayland_events.h"
#include "wayland_outputs.h"

namespace screenprobe::wayland {
namespace {

// An output's size and scale from what it announced; none where nothing may be divided by it.
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
  EXPECT_EQ(main_by_size(outputs, Size{20, 20}), (MainOutput{3, std::nullopt}));
  EXPECT_EQ(main_by_size(outputs, Size{10, 10}), std::nullopt);  // two of that size: ask
  // A maximised window's output: its bounds, else its size, fit best; else the first usable.
  const OutputState wide{Size{1920, 1080}}, tall{Size{1920, 1200}};
  const OutputState desk[] = {gone, wide, tall};
  EXPECT_EQ(maximised_on(desk, Size{1920, 1168}, Size{1920, 1168}), 2u);
  EXPECT_EQ(maximised_on(desk, Size{1856, 1048}, Size{1856, 1048}), 1u);  // a dock at the side
  EXPECT_EQ(maximised_on(desk, std::nullopt, Size{1920, 1168}), 2u);
  EXPECT_EQ(maximised_on(desk, Size{0, 0}, Size{1920, 1168}), 2u);
  EXPECT_EQ(maximised_on(desk, Size{1920, 1168}, Size{0, 0}), 1u);  // bounds in pixels
  EXPECT_EQ(maximised_on(desk, Size{4000, 10}, Size{4000, 10}), 1u);
  const OutputState twins[] = {gone, tall, wide, wide};  // a tie: the first announced
  EXPECT_EQ(maximised_on(twins, Size{1920, 1000}, Size{1920, 1000}), 2u);
  // Where two have its size, the output entered, with the preferred scale; else the first of it.
  const OutputState pair[] = {gone, small, large, small};
  EXPECT_EQ(main_entered(pair, {10, 10}, 3, 240), (MainOutput{3, 240}));
  EXPECT_EQ(main_entered(pair, {10, 10}, 0, 240), (MainOutput{1, std::nullopt}));  // one gone
  EXPECT_EQ(main_entered(pair, {10, 10}, std::nullopt, 240), (MainOutput{1, std::nullopt}));
  EXPECT_EQ(main_entered(pair, {30, 10}, std::nullopt, 240), std::nullopt);
  EXPECT_EQ(layer_band({9, 1050}, {9, 1080}, -30, 0, 1080), 30);  // popups kept in the output
  EXPECT_EQ(layer_band({9, 1080}, {9, 1080}, 44, 44, 1080), 44);  // in the work area (KWin)
  EXPECT_EQ(layer_band({9, 1050}, {9, 1080}, std::nullopt, 0, 1080), 30);  // a popup refused
  EXPECT_EQ(layer_band({9, 1050}, {9, 1080}, 1200, 1200, 1200), 30);       // placed off the output
  EXPECT_EQ(band_within(-5, 100), 0);
  EXPECT_EQ(band_within(int64_t{1} << 40, 100), 100);
  // The notch band over the scale, where the main output is the panel shown whole, not turned.
  const NotchedPanel panel{74, 3024, 1964, "eDP-1"};
  EXPECT_DOUBLE_EQ(notch_top({Size{3024, 1964}, 0, 2, {}, false, "eDP-1"}, 1.5, panel), 74 / 1.5);
  EXPECT_DOUBLE_EQ(notch_top({Size{3024, 1964}, 1, 2, {}, false, "eDP-1"}, 2, panel), 0);
}

// What an output's events leave, event by event: the wl_output version bound, the events ("xdg
// V": the probe asks for xdg-output V), and the output as of them; "-" while one is owed.
TEST(WaylandEvents, OneOutput) {
  const struct {
    uint32_t version;
    std::string events, left;
  } cases[] = {
      {4, "turn 1 mode 1920 1080 scale 2 name eDP-1 done", "1920x1080 turn 1 scale 2 eDP-1"},
      {4, "mode 1920 1080 done turn 1 scale 2", "1920x1080 turn 0 scale 1"},  // no done yet
      {1, "turn 1 mode 1920 1080 scale 2", "1920x1080 turn 1 scale 2"},       // no done ever
      {4, "mode 1920 1080 other 800 600 done", "1920x1080 turn 0 scale 1"},
      {4, "done name " + std::string(65, 'x') + " done", "0x0 turn 0 scale 1 "},
      {4, "gone done mode 1920 1080 done", "gone"},
      {4, "done xdg 2 logical 1280 720 done", "-"},  // xdg-output 2 waits for its own done
      {4, "done xdg 2 logical 1280 720 xdgdone logical 9 9 done", "0x0 turn 0 scale 1 as 1280x720"},
      {4, "done xdg 3 logical 1280 720", "-"},  // owed: the done that follows the logical size
      {4, "xdg 3 mode 1920 1080 scale 2 done", "-"},  // the bind's done, before the size
      {4, "done xdg 3 logical 1280 720 done", "0x0 turn 0 scale 1 as 1280x720"},
      {1, "xdg 3 logical 1280 720", "0x0 turn 0 scale 1 as 1280x720"},
  };
  const std::string kEvents = " name turn mode other scale done xdg logical xdgdone gone ";
  for (const auto& c : cases) {
    OutputEvents output(c.version);
    std::istringstream events(c.events);
    std::string event, name;
    int32_t n = 0, w = 0, h = 0;
    while (events >> event) {
      EXPECT_NE(kEvents.find(" " + event + " "), std::string::npos) << "no such event: " << event;
      if (event == "name") events >> name, output.name(name);
      if (event == "turn") events >> n, output.geometry(n);
      if (event == "mode" || event == "other")
        events >> w >> h, output.mode(event == "mode", {w, h});
      if (event == "scale") events >> n, output.scale(n);
      if (event == "done") output.done();
      if (event == "xdg") events >> n, output.xdg_output_asked(static_cast<uint32_t>(n));
      if (event == "logical") events >> w >> h, output.logical_size({w, h});
      if (event == "xdgdone") output.xdg_done();
      if (event == "gone") output.removed();
    }
    const OutputState& o = output.state();
    const Size mode = o.mode.value_or(Size{}), logical = o.logical.value_or(Size{});
    std::ostringstream left;
    left << mode.width << "x" << mode.height << " turn " << o.transform << " scale "
         << o.integer_scale << (o.name ? " " + *o.name : "");
    if (o.logical) left << " as " << logical.width << "x" << logical.height;
    EXPECT_EQ(!output.described() ? "-" : o.removed ? "gone" : left.str(), c.left) << c.events;
  }
  // Of the maximised toplevel, the first configure sequence; of a surface, its first entry.
  ToplevelConfigure toplevel;
  for (const Size size : {Size{960, 508}, Size{100, 100}}) {
    toplevel.configure(size), toplevel.configure_bounds(size), toplevel.surface_configure();
  }
  EXPECT_TRUE(toplevel.size == (Size{960, 508}) && toplevel.bounds == toplevel.size);
  Entry entry;
  entry.enter(std::nullopt), entry.enter(1);
  EXPECT_EQ(entry.output, std::nullopt);
  LayerConfigure layer;  // the last size, where it is one
  layer.configure(1920, 1080), layer.configure(uint32_t{1} << 31, 5);
  EXPECT_EQ(layer.size, Size{});
  PopupPlacement kept, dismissed;  // settled by its configure, or by a dismissal that unplaces it
  kept.configure(-30), kept.surface_configure(), dismissed.configure(0), dismissed.dismiss();
  EXPECT_EQ(kept.placed(), -30);
  EXPECT_TRUE(kept.settled() && dismissed.settled() && !dismissed.placed());
}

}  // namespace
}  // namespace screenprobe::wayland
