// The main screen on macOS, from AppKit's NSScreen.
//
// Each operation is one property read on the screen, made when the probe asks for it: no
// caching and no extra reads. The file is valid with and without ARC: under ARC the screen is
// held by this object's strong reference; without it, by the autorelease pool around the run.
#import <AppKit/AppKit.h>
#import <CoreGraphics/CoreGraphics.h>

#include "screen.h"

namespace screenprobe {

namespace {

// AppKit reports "no such area" as NSZeroRect. Any empty rectangle counts as absent, whatever
// its origin: comparing with NSZeroRect would take an empty area at (10, 950) for a real one.
std::optional<CGRect> area_if_present(NSRect area) {
  if (NSIsEmptyRect(area)) return std::nullopt;
  return area;
}

class AppKitScreen : public Screen {
 public:
  explicit AppKitScreen(NSScreen* screen) : screen_(screen) {}

  CGRect frame() override { return [screen_ frame]; }
  CGRect visibleFrame() override { return [screen_ visibleFrame]; }
  CGFloat backingScaleFactor() override { return [screen_ backingScaleFactor]; }
  EdgeInsets safeAreaInsets() override {
    const NSEdgeInsets insets = [screen_ safeAreaInsets];
    return EdgeInsets{insets.top, insets.left, insets.bottom, insets.right};
  }
  std::optional<CGRect> auxiliaryTopLeftArea() override {
    return area_if_present([screen_ auxiliaryTopLeftArea]);
  }
  std::optional<CGRect> auxiliaryTopRightArea() override {
    return area_if_present([screen_ auxiliaryTopRightArea]);
  }

 private:
  NSScreen* screen_;
};

// Outside a window-server session (ssh with nobody at the console, a launchd daemon, another
// user's session) the first AppKit call complains on standard error and can hang. CoreGraphics
// answers the question without either: no session dictionary, no session, and so no screen.
bool in_window_server_session() {
  CFDictionaryRef session = CGSessionCopyCurrentDictionary();
  if (session == nullptr) return false;
  CFRelease(session);
  return true;
}

}  // namespace

std::unique_ptr<Screen> main_screen() {
  if (!in_window_server_session()) return nullptr;
  // AppKit's documentation asks for the application object to exist before NSScreen is used.
  // Command-line tools often skip it and mostly get away with it, but a probe that scripts
  // trust should not rest on undocumented behaviour: creating the object is one call, it only
  // sets up what the screen query would set up anyway, and without -run or -finishLaunching it
  // starts no event loop and shows nothing in the Dock.
  [NSApplication sharedApplication];
  NSScreen* screen = [NSScreen mainScreen];
  if (screen == nil) return nullptr;
  return std::make_unique<AppKitScreen>(screen);
}

int run_in_platform_scope(int (*run)()) {
  // AppKit hands out autoreleased objects, the main screen among them: one pool around the
  // whole run releases them when the run is over.
  @autoreleasepool {
    return run();
  }
}

}  // namespace screenprobe
