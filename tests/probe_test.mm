// The probe through the AppKit layer's own source against a stand-in AppKit that logs requests.
#import <AppKit/AppKit.h>
#include <gtest/gtest.h>
#include <objc/runtime.h>

#include <cmath>

#include "json_writer.h"
#include "probe.h"

namespace {

struct Values {
  NSRect frame, visible;
  CGFloat scale, top;
  NSRect left, right;
};
const Values kLaptop{CGRectMake(0, 0, 1512, 982), CGRectMake(0, 0, 1512, 945),  2, 32,
                     CGRectMake(0, 950, 662, 32), CGRectMake(847, 950, 665, 32)};

struct World {
  Values v = kLaptop;
  bool session = true, screen = true;
  std::string log = "";
} world;

template <typename T>
T answer(const char* what, T value) {
  return world.log += std::string(what) + " ", value;
}

}  // namespace

CFDictionaryRef CGSessionCopyCurrentDictionary() {
  return answer("session", world.session ? reinterpret_cast<CFDictionaryRef>(&world) : nullptr);
}
void CFRelease(const void*) { answer("CFRelease", 0); }

@implementation NSObject
+ (instancetype)alloc {
  return class_createInstance(self, 0);
}
- (instancetype)init {
  return answer(class_getName(object_getClass(self)), self);
}
@end

@implementation NSAutoreleasePool
- (void)drain {
  answer("drain", object_dispose(self));
}
@end

@implementation NSApplication
+ (NSApplication*)sharedApplication {
  return answer("sharedApplication", nil);
}
@end

// A property that logs its name and gives the world's value.
#define ANSWER(Type, name, value) \
  -(Type)name {                   \
    return answer(#name, value);  \
  }
@implementation NSScreen
+ (NSScreen*)mainScreen {
  return answer("mainScreen", world.screen ? [[NSScreen alloc] init] : nil);
}
ANSWER(NSRect, frame, world.v.frame)
ANSWER(NSRect, visibleFrame, world.v.visible)
ANSWER(CGFloat, backingScaleFactor, world.v.scale)
ANSWER(NSEdgeInsets, safeAreaInsets, (NSEdgeInsets{world.v.top, 1, 2, 3}))
ANSWER(NSRect, auxiliaryTopLeftArea, world.v.left)
ANSWER(NSRect, auxiliaryTopRightArea, world.v.right)
@end

namespace screenprobe {
namespace {

const std::string kAskedAll =
    "NSAutoreleasePool session CFRelease sharedApplication NSScreen mainScreen frame visibleFrame "
    "backingScaleFactor safeAreaInsets safeAreaInsets auxiliaryTopLeftArea auxiliaryTopRightArea "
    "drain ";

std::string run(World setting) {
  world = setting;
  static std::FILE *out, *err;
  out = std::tmpfile(), err = std::tmpfile();
  const int status =
      run_in_platform_scope([]() -> int { return run_probe(main_screen().get(), out, err); });
  std::string text;
  for (std::FILE* file : {out, err}) {
    char buffer[4096];
    std::rewind(file);
    text.append(buffer, std::fread(buffer, 1, sizeof buffer, file));
    std::fclose(file);
  }
  return text + world.log + std::to_string(status);
}

TEST(Probe, ReportsOfScreens) {
  const double nan = std::nan("");
  // frame, visible, scale, top inset, top-left, top-right; the entries. An empty area is none.
  const std::pair<Values, const char*> cases[] = {
      // A Dock 50 high at the bottom: 80 points outside the visible frame, 50 of them below it.
      {{CGRectMake(0, 0, 800, 600), CGRectMake(0, 50, 800, 520), 2, 0, CGRectMake(10, 950, 0, 0),
        kLaptop.right},
       "hasNotch=false menuBarHeight=30 safeTop=0 scale=2 screenHeight=600 screenWidth=800 "
       "screenX=0 screenY=0 "},
      {{CGRectMake(-300, 982, 1920, 1080), CGRectMake(-300, 1032, 1920, 1005), 2, HUGE_VAL,
        CGRectMake(-300, 1050, 900, 30), CGRectMake(0, 950, -662, 32)},
       "hasNotch=true menuBarHeight=25 safeTop=inf scale=2 screenHeight=1080 screenWidth=1920 "
       "screenX=-300 screenY=982 "},
      {{CGRectMake(1e21, 600, -800, -600), CGRectMake(800, 610, -800, -600), 1.5, -0.0,
        CGRectMake(300, nan, 500, 30), CGRectMake(0, 0, 400, 30)},
       "hasNotch=false menuBarHeight=-10 notchLeft=500 notchRight=400 notchWidth=-100 safeTop=-0 "
       "scale=1.5 screenHeight=600 screenWidth=800 screenX=1e+21 screenY=600 "},
      // Each formula keeps its order of operations: other orders differ in the last bit here.
      {{CGRectMake(5, 0.1, 1, 600.3), CGRectMake(0, 0.7, 1, 575.1), 2, nan,
        CGRectMake(0, 0, 0.1, 1), CGRectMake(0, 0, 0.7, 1)},
       "hasNotch=false menuBarHeight=24.59999999999993 notchLeft=0.1 "
       "notchRight=0.30000000000000004 notchWidth=0.20000000000000007 safeTop=nan scale=2 "
       "screenHeight=600.3 screenWidth=1 screenX=5 screenY=0.1 "},
  };
  for (const auto& [values, expected] : cases) {
    world = {values};
    static std::string entries;
    entries.clear();
    run_in_platform_scope([]() -> int {
      const Report info = measure(*main_screen());
      for (const auto& [key, value] : info.entries()) {
        const double* number = std::get_if<double>(&value);
        entries += key + "=" +
                   (number                  ? json_number(*number)
                    : std::get<bool>(value) ? "true"
                                            : "false") +
                   " ";
      }
      return 0;
    });
    EXPECT_EQ(entries, expected);
  }
}

TEST(Probe, WritesTheReportTheFailureLineOrNothing) {
  const std::string none = "{\"error\":\"sem tela\"}\nNSAutoreleasePool session ";
  EXPECT_EQ(run({.session = false}), none + "drain 1");
  EXPECT_EQ(run({.screen = false}), none + "CFRelease sharedApplication mainScreen drain 1");
  EXPECT_EQ(run({}),
            "{\n  \"hasNotch\" : true,\n  \"menuBarHeight\" : 37,\n  \"notchLeft\" : 662,\n"
            "  \"notchRight\" : 847,\n  \"notchWidth\" : 185,\n  \"safeTop\" : 32,\n"
            "  \"scale\" : 2,\n  \"screenHeight\" : 982,\n  \"screenWidth\" : 1512,\n"
            "  \"screenX\" : 0,\n  \"screenY\" : 0\n}\n" +
                kAskedAll + "0");
  for (const double bad : {std::nan(""), -HUGE_VAL}) {
    EXPECT_EQ(run({{kLaptop.frame, kLaptop.visible, bad, 32, kLaptop.left, kLaptop.right}}),
              "screenprobe: cannot write the report: \"scale\" is not a finite number\n" +
                  kAskedAll + "70");
  }
}

}  // namespace
}  // namespace screenprobe
