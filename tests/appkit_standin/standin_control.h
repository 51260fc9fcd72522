// What a test sets and reads back of the stand-in AppKit. Plain C++, so tests compiled by the
// project's C++ compiler can use it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cg_rect.h"

namespace standin {

struct ScreenValues {
  CGRect frame = CGRectMake(0, 0, 1512, 982);
  CGRect visible_frame = CGRectMake(0, 0, 1512, 945);
  CGFloat backing_scale_factor = 2;
  CGFloat safe_top = 0, safe_left = 0, safe_bottom = 0, safe_right = 0;
  CGRect auxiliary_top_left = CGRectMake(0, 0, 0, 0);  // NSZeroRect: no such area
  CGRect auxiliary_top_right = CGRectMake(0, 0, 0, 0);
};

// What +[NSScreen mainScreen] answers from now on: a new screen with these values on each call,
// autoreleased as AppKit's is, or nil.
void set_main_screen(std::optional<ScreenValues> values);

// Every message the stand-in received, in order ("sharedApplication", "mainScreen", "frame",
// ...), with "dealloc" when a screen object is freed; cleared by reset().
const std::vector<std::string>& calls();

// Screen objects alive now.
int live_screens();

// Autorelease pools open now, and objects autoreleased while none was.
int open_pools();
int autoreleased_without_pool();

// Forgets the calls and the screen to answer with.
void reset();

}  // namespace standin
