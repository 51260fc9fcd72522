// The part of AppKit the screen layer uses, declared as AppKit declares it (probe_test.mm).
#pragma once

#include <CoreGraphics/CoreGraphics.h>
#include <objc/objc.h>

typedef CGRect NSRect;
typedef struct NSEdgeInsets {
  CGFloat top, left, bottom, right;
} NSEdgeInsets;

static inline BOOL NSIsEmptyRect(NSRect rect) {
  return !(rect.size.width > 0 && rect.size.height > 0);
}

__attribute__((objc_root_class))
@interface NSObject {
  Class isa;
}
+ (instancetype)alloc;
- (instancetype)init;
@end
@interface NSAutoreleasePool : NSObject
- (void)drain;
@end
@interface NSApplication : NSObject
@property(class, readonly) NSApplication* sharedApplication;
@end
@interface NSScreen : NSObject
@property(class, readonly) NSScreen* mainScreen;
@property(readonly) NSRect frame, visibleFrame, auxiliaryTopLeftArea, auxiliaryTopRightArea;
@property(readonly) CGFloat backingScaleFactor;
@property(readonly) NSEdgeInsets safeAreaInsets;
@end
