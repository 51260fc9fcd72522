// A temporary stdio stream whose bytes a test can read back.
#pragma once

#include <cstdio>
#include <string>

namespace screenprobe::testing {

class TempStream {
 public:
  TempStream() : file_(std::tmpfile()) {}
  ~TempStream() {
    if (file_ != nullptr) std::fclose(file_);
  }
  TempStream(const TempStream&) = delete;
  TempStream& operator=(const TempStream&) = delete;

  std::FILE* get() const { return file_; }

  // Everything written so far.
  std::string contents() const {
    std::string text;
    if (file_ == nullptr || std::fflush(file_) != 0) return "<unreadable>";
    std::rewind(file_);
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file_)) > 0) text.append(buffer, n);
    return text;
  }

 private:
  std::FILE* file_;
};

}  // namespace screenprobe::testing
