#include "json_writer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>

namespace screenprobe {
namespace {

Report base_report() {
  Report info;
  // Set out of order on purpose: the text is sorted, whatever the order of writing.
  info.set("screenY", 0.0);
  info.set("scale", 2.0);
  info.set("hasNotch", false);
  info.set("screenX", -1512.0);
  info.set("menuBarHeight", 24.5);
  info.set("screenHeight", 1080.0);
  info.set("safeTop", 0.0);
  info.set("screenWidth", 1920.0);
  return info;
}

TEST(JsonWriter, EightKeyReport) {
  std::string key;
  EXPECT_EQ(report_to_json(base_report(), &key),
            "{\n"
            "  \"hasNotch\" : false,\n"
            "  \"menuBarHeight\" : 24.5,\n"
            "  \"safeTop\" : 0,\n"
            "  \"scale\" : 2,\n"
            "  \"screenHeight\" : 1080,\n"
            "  \"screenWidth\" : 1920,\n"
            "  \"screenX\" : -1512,\n"
            "  \"screenY\" : 0\n"
            "}");
}

TEST(JsonWriter, ElevenKeyReportPutsTheNotchKeysBetweenMenuBarAndSafeTop) {
  Report info = base_report();
  info.set("notchWidth", 185.0);
  info.set("notchRight", 847.0);
  info.set("notchLeft", 662.0);
  info.set("hasNotch", true);  // replaces the value, keeps one member
  std::string key;
  EXPECT_EQ(report_to_json(info, &key),
            "{\n"
            "  \"hasNotch\" : true,\n"
            "  \"menuBarHeight\" : 24.5,\n"
            "  \"notchLeft\" : 662,\n"
            "  \"notchRight\" : 847,\n"
            "  \"notchWidth\" : 185,\n"
            "  \"safeTop\" : 0,\n"
            "  \"scale\" : 2,\n"
            "  \"screenHeight\" : 1080,\n"
            "  \"screenWidth\" : 1920,\n"
            "  \"screenX\" : -1512,\n"
            "  \"screenY\" : 0\n"
            "}");
}

TEST(JsonWriter, NumbersInTheShortestFormThatReadsBack) {
  struct Case {
    double value;
    const char* text;
  };
  const Case cases[] = {{30, "30"},
                        {1.5, "1.5"},
                        {-0.0, "-0"},
                        {0.1, "0.1"},
                        {2.0 / 3, "0.6666666666666666"},
                        {1e21, "1e+21"},
                        {123456789012, "123456789012"},
                        {5e-324, "5e-324"},
                        {std::numeric_limits<double>::max(), "1.7976931348623157e+308"},
                        {-2.2250738585072014e-308, "-2.2250738585072014e-308"}};
  for (const Case& c : cases) {
    const std::string text = json_number(c.value);
    EXPECT_EQ(text, c.text);
    const double back = std::strtod(text.c_str(), nullptr);
    EXPECT_EQ(back, c.value);
    EXPECT_EQ(std::signbit(back), std::signbit(c.value));
  }
}

TEST(JsonWriter, ANumberJsonCannotHoldIsRefusedAndNamed) {
  for (double bad : {std::nan(""), std::numeric_limits<double>::infinity(),
                     -std::numeric_limits<double>::infinity()}) {
    Report info = base_report();
    info.set("notchWidth", bad);
    std::string key;
    EXPECT_EQ(report_to_json(info, &key), std::nullopt);
    EXPECT_EQ(key, "notchWidth");
  }
}

TEST(JsonWriter, KeysAreEscaped) {
  Report info;
  info.set("a\"b\\c\n", true);
  std::string key;
  EXPECT_EQ(report_to_json(info, &key), "{\n  \"a\\\"b\\\\c\\u000a\" : true\n}");
}

}  // namespace
}  // namespace screenprobe
