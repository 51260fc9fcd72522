// A stand-in for the part of AppKit that the screen layer uses, so that the layer's own source
// builds and runs on Linux (clang with GCC's Objective-C runtime) and in the ARC syntax check.
// Declarations follow AppKit's; what the objects return is set by the tests through
// standin_control.h.
#pragma once

#include <objc/objc.h>

#include "cg_rect.h"

typedef CGRect NSRect;

typedef struct NSEdgeInsets {
  CGFloat top;
  CGFloat left;
  CGFloat bottom;
  CGFloat right;
} NSEdgeInsets;

// As in Foundation: a rectangle is empty unless both its width and its height are positive.
static inline BOOL NSIsEmptyRect(NSRect rect) {
  return !(rect.size.width > 0 && rect.size.height > 0) ? YES : NO;
}

#pragma clang assume_nonnull begin

__attribute__((objc_root_class))
@interface NSObject {
  Class isa;
  long extra_references_;
}
+ (instancetype)alloc;
+ (instancetype)new;
- (instancetype)init;
- (instancetype)retain;
- (oneway void)release;
- (instancetype)autorelease;
- (void)dealloc;
@end

@interface NSAutoreleasePool : NSObject
- (void)drain;
@end

@interface NSApplication : NSObject
@property(class, readonly) NSApplication* sharedApplication;
@end

@interface NSScreen : NSObject
@property(class, readonly, nullable) NSScreen* mainScreen;
@property(readonly) NSRect frame;
@property(readonly) NSRect visibleFrame;
@property(readonly) CGFloat backingScaleFactor;
@property(readonly) NSEdgeInsets safeAreaInsets;
@property(readonly) NSRect auxiliaryTopLeftArea;
@property(readonly) NSRect auxiliaryTopRightArea;
@end

#pragma clang assume_nonnull end
