// The CoreGraphics rectangle, for platforms that have no CoreGraphics.
//
// Same names, layout and meaning as on macOS, so the probe reads the same on every platform:
// CGRectGetWidth and CGRectGetHeight standardize the rectangle first, so a rectangle stored with
// a negative size still has a non-negative width and height.
#pragma once

#include <cmath>

using CGFloat = double;

struct CGPoint {
  CGFloat x = 0;
  CGFloat y = 0;
};

struct CGSize {
  CGFloat width = 0;
  CGFloat height = 0;
};

struct CGRect {
  CGPoint origin;
  CGSize size;
};

inline CGRect CGRectMake(CGFloat x, CGFloat y, CGFloat width, CGFloat height) {
  return CGRect{CGPoint{x, y}, CGSize{width, height}};
}

inline CGFloat CGRectGetWidth(CGRect rect) { return std::fabs(rect.size.width); }

inline CGFloat CGRectGetHeight(CGRect rect) { return std::fabs(rect.size.height); }
