#include "report.h"

namespace screenprobe {

void Report::set(std::string_view key, ReportValue value) {
  entries_.insert_or_assign(std::string(key), value);
}

std::optional<ReportValue> Report::get(std::string_view key) const {
  auto found = entries_.find(key);
  if (found == entries_.end()) return std::nullopt;
  return found->second;
}

}  // namespace screenprobe
