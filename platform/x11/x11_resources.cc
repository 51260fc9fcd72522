#include "x11_resources.h"

#include <cstdlib>
#include <string>

namespace screenprobe::x11 {

namespace {

constexpr std::string_view kBlank = " \t";

// The text with every backslash-newline removed, as the resource manager joins continued lines.
// An escaped backslash before a newline does not continue the line.
std::string join_continued_lines(std::string_view text) {
  std::string joined;
  joined.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size()) {
      if (text[i + 1] != '\n') joined.append(text.substr(i, 2));
      ++i;
    } else {
      joined += text[i];
    }
  }
  return joined;
}

// How one component of an entry matches one level of the name. The resource manager prefers, in
// this order: a component over a level skipped by a loose binding (scored 0), a name over a class
// over "?", and a tight binding before the component over a loose one.
int level_score(std::string_view component, bool loose, std::string_view name,
                std::string_view class_name) {
  int kind = 0;
  if (component == name) {
    kind = 3;
  } else if (component == class_name) {
    kind = 2;
  } else if (component == "?") {
    kind = 1;
  } else {
    return -1;
  }
  return kind * 2 + (loose ? 0 : 1);
}

// How specifically the entry's name pattern `pattern` matches Xft.dpi (class Program.Name), the
// first level weighing more than the second; nothing when it does not match.
std::optional<int> precedence(std::string_view pattern) {
  struct Component {
    bool loose;
    std::string_view text;
  };
  Component parts[2];
  size_t count = 0;
  bool loose = false;
  for (size_t at = 0; at < pattern.size();) {
    if (pattern[at] == '.' || pattern[at] == '*') {
      loose = loose || pattern[at] == '*';  // a run of bindings is loose if any of it is
      ++at;
      continue;
    }
    const size_t end = std::min(pattern.find_first_of(".*", at), pattern.size());
    if (count == 2) return std::nullopt;  // more components than the name has levels
    parts[count++] = Component{loose, pattern.substr(at, end - at)};
    loose = false;
    at = end;
  }
  if (count == 0 || loose || parts[count - 1].text == "?") return std::nullopt;

  const Component& last = parts[count - 1];
  const int second = level_score(last.text, last.loose, "dpi", "Name");
  if (second < 0) return std::nullopt;
  if (count == 1) {
    // The first level can only have been skipped, which takes a loose binding.
    if (!last.loose) return std::nullopt;
    return second;
  }
  const int first = level_score(parts[0].text, parts[0].loose, "Xft", "Program");
  if (first < 0) return std::nullopt;
  return first * 8 + second;
}

// A value as the resource manager stores it: leading blanks dropped, then \<space>, \<tab>, \n,
// \\ and \ooo decoded. All of it, as Xft reads it: cut short, a value of 400 nines would read
// as a finite number where Xft's strtod overflows.
std::string decode_value(std::string_view value) {
  value.remove_prefix(std::min(value.find_first_not_of(kBlank), value.size()));
  std::string decoded;
  for (size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '\\' || i + 1 == value.size()) {
      decoded += value[i];
    } else if (value[i + 1] == 'n') {
      decoded += '\n';
      ++i;
    } else if (value[i + 1] == ' ' || value[i + 1] == '\t' || value[i + 1] == '\\') {
      decoded += value[++i];
    } else if (i + 3 < value.size() &&
               value.substr(i + 1, 3).find_first_not_of("01234567") == std::string_view::npos) {
      decoded += static_cast<char>((value[i + 1] - '0') * 64 + (value[i + 2] - '0') * 8 +
                                   (value[i + 3] - '0'));
      i += 3;
    } else {
      decoded += value[i];
    }
  }
  return decoded;
}

}  // namespace

std::optional<double> xft_dpi(std::string_view database, bool truncated) {
  std::string text = join_continued_lines(database);
  if (truncated) {
    const size_t last_newline = text.rfind('\n');
    text.erase(last_newline == std::string::npos ? 0 : last_newline);
  }

  std::optional<int> best;
  std::string_view best_value;
  std::string_view rest = text;
  while (!rest.empty()) {
    std::string_view line = rest.substr(0, rest.find('\n'));
    rest.remove_prefix(std::min(line.size() + 1, rest.size()));
    line.remove_prefix(std::min(line.find_first_not_of(kBlank), line.size()));
    const size_t colon = line.find(':');
    if (line.empty() || line[0] == '!' || line[0] == '#' || colon == std::string_view::npos) {
      continue;  // blank, a comment, a directive or not an entry
    }
    std::string_view pattern = line.substr(0, colon);
    pattern.remove_suffix(pattern.size() - (pattern.find_last_not_of(kBlank) + 1));
    const std::optional<int> score = precedence(pattern);
    // An entry as specific as the best so far replaces it: it is the same entry, loaded later.
    if (score && (!best || *score >= *best)) {
      best = score;
      best_value = line.substr(colon + 1);
    }
  }
  if (!best) return std::nullopt;

  // Xft reads the value with strtod and takes whatever number it starts with (192 from
  // "192 dpi", 144 from "0x90"). The probe never sets a locale, so this is the C locale's strtod.
  const std::string value = decode_value(best_value);
  char* end = nullptr;
  const double dpi = std::strtod(value.c_str(), &end);
  if (end == value.c_str()) return std::nullopt;
  return dpi;
}

}  // namespace screenprobe::x11
