#include "json_writer.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace screenprobe {

namespace {

// Keys are the program's own ASCII names, but a key is still escaped as JSON requires, so no
// key can ever break the object.
void append_json_string(std::string& out, std::string_view text) {
  out += '"';
  for (char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
      out += escaped;
    } else {
      out += c;
    }
  }
  out += '"';
}

}  // namespace

std::string json_number(double value) {
  // 24 characters hold the longest shortest form of a double: -2.2250738585072014e-308.
  char digits[32];
  auto [end, error] = std::to_chars(digits, digits + sizeof digits, value);
  if (error != std::errc()) return {};  // cannot happen with this buffer size
  return std::string(digits, end);
}

std::optional<std::string> report_to_json(const Report& report, std::string* unwritable_key) {
  std::string out = "{\n";
  bool first = true;
  for (const auto& [key, value] : report.entries()) {
    if (!first) out += ",\n";
    first = false;
    out += "  ";
    append_json_string(out, key);
    out += " : ";
    if (const bool* flag = std::get_if<bool>(&value)) {
      out += *flag ? "true" : "false";
      continue;
    }
    double number = std::get<double>(value);
    if (!std::isfinite(number)) {
      if (unwritable_key != nullptr) *unwritable_key = key;
      return std::nullopt;
    }
    out += json_number(number);
  }
  out += "\n}";
  return out;
}

}  // namespace screenprobe
