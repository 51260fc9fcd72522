// The report record: what the probe measured, by key, before it becomes JSON text.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace screenprobe {

// A report value: a number (a CGFloat, which is a double) or a boolean.
using ReportValue = std::variant<double, bool>;

class Report {
 public:
  using Entries = std::map<std::string, ReportValue, std::less<>>;

  // Stores `value` under `key`, replacing the value a present key had.
  void set(std::string_view key, ReportValue value);

  std::optional<ReportValue> get(std::string_view key) const;

  // The entries in ascending byte order of their keys.
  const Entries& entries() const { return entries_; }

 private:
  Entries entries_;
};

}  // namespace screenprobe
