// The stand-in AppKit's objects: a minimal reference-counted root class, autorelease pools,
// NSApplication and NSScreen, all recording what they are asked.
#import <AppKit/AppKit.h>

#include <objc/runtime.h>

#include <map>

#include "standin_control.h"

namespace {

struct State {
  std::optional<standin::ScreenValues> main_screen;
  // Each live screen's values. Kept here because the runtime cannot add instance variables
  // outside the public interface.
  std::map<const void*, standin::ScreenValues> screens;
  std::vector<std::string> calls;
  std::vector<std::vector<id>> pools;
  int live_screens = 0;
  int orphans = 0;
};

State& state() {
  static State instance;
  return instance;
}

void record(const char* call) { state().calls.emplace_back(call); }

}  // namespace

@implementation NSObject
+ (instancetype)alloc {
  return class_createInstance(self, 0);
}
+ (instancetype)new {
  return [[self alloc] init];
}
- (instancetype)init {
  return self;
}
- (instancetype)retain {
  ++extra_references_;
  return self;
}
- (oneway void)release {
  if (extra_references_ == 0) {
    [self dealloc];
  } else {
    --extra_references_;
  }
}
- (instancetype)autorelease {
  if (state().pools.empty()) {
    ++state().orphans;  // as on macOS, such an object is never released
  } else {
    state().pools.back().push_back(self);
  }
  return self;
}
- (void)dealloc {
  object_dispose(self);
}
@end

@implementation NSAutoreleasePool
- (instancetype)init {
  state().pools.emplace_back();
  return self;
}
- (void)drain {
  std::vector<id> objects = std::move(state().pools.back());
  state().pools.pop_back();
  for (id object : objects) [object release];
  [self release];
}
@end

@implementation NSApplication
+ (NSApplication*)sharedApplication {
  record("sharedApplication");
  static NSApplication* shared = [[NSApplication alloc] init];
  return shared;
}
@end

namespace {

const standin::ScreenValues& values_of(NSScreen* screen) { return state().screens.at(screen); }

}  // namespace

@implementation NSScreen
+ (NSScreen*)mainScreen {
  record("mainScreen");
  if (!state().main_screen) return nil;
  NSScreen* screen = [[NSScreen alloc] init];
  state().screens[screen] = *state().main_screen;
  ++state().live_screens;
  return [screen autorelease];
}
- (void)dealloc {
  record("dealloc");
  state().screens.erase(self);
  --state().live_screens;
  [super dealloc];
}
- (NSRect)frame {
  record("frame");
  return values_of(self).frame;
}
- (NSRect)visibleFrame {
  record("visibleFrame");
  return values_of(self).visible_frame;
}
- (CGFloat)backingScaleFactor {
  record("backingScaleFactor");
  return values_of(self).backing_scale_factor;
}
- (NSEdgeInsets)safeAreaInsets {
  record("safeAreaInsets");
  const standin::ScreenValues& values = values_of(self);
  return NSEdgeInsets{values.safe_top, values.safe_left, values.safe_bottom, values.safe_right};
}
- (NSRect)auxiliaryTopLeftArea {
  record("auxiliaryTopLeftArea");
  return values_of(self).auxiliary_top_left;
}
- (NSRect)auxiliaryTopRightArea {
  record("auxiliaryTopRightArea");
  return values_of(self).auxiliary_top_right;
}
@end

namespace standin {

void set_main_screen(std::optional<ScreenValues> values) { state().main_screen = values; }

const std::vector<std::string>& calls() { return state().calls; }

int live_screens() { return state().live_screens; }

int open_pools() { return static_cast<int>(state().pools.size()); }

int autoreleased_without_pool() { return state().orphans; }

void reset() {
  state().main_screen.reset();
  state().calls.clear();
}

}  // namespace standin
