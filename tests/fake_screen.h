// A screen whose values a test sets, and which records every read, in order.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "screen.h"

namespace screenprobe::testing {

class FakeScreen : public Screen {
 public:
  CGRect frame_value = CGRectMake(0, 0, 800, 600);
  CGRect visible_value = CGRectMake(0, 0, 800, 576);
  CGFloat scale_value = 2;
  EdgeInsets insets_value;
  std::optional<CGRect> top_left_value;
  std::optional<CGRect> top_right_value;

  std::vector<std::string> reads;

  CGRect frame() override { return record("frame", frame_value); }
  CGRect visibleFrame() override { return record("visibleFrame", visible_value); }
  CGFloat backingScaleFactor() override { return record("backingScaleFactor", scale_value); }
  EdgeInsets safeAreaInsets() override { return record("safeAreaInsets", insets_value); }
  std::optional<CGRect> auxiliaryTopLeftArea() override {
    return record("auxiliaryTopLeftArea", top_left_value);
  }
  std::optional<CGRect> auxiliaryTopRightArea() override {
    return record("auxiliaryTopRightArea", top_right_value);
  }

 private:
  template <typename T>
  T record(const char* name, T value) {
    reads.emplace_back(name);
    return value;
  }
};

}  // namespace screenprobe::testing
