// Runs a program as a child process with a chosen environment and standard output, and
// collects what it wrote and how it ended.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace screenprobe::testing {

enum class StandardOutput {
  kCaptured,    // a file the result returns
  kDevFull,     // every write fails with ENOSPC
  kClosed,      // descriptor 1 is closed when the program starts
  kBrokenPipe,  // a pipe whose reader has gone
};

struct ProcessOptions {
  std::vector<std::string> args;
  // Variables to set (a value) or to remove (nullopt); the rest come from this process.
  std::map<std::string, std::optional<std::string>> environment;
  StandardOutput standard_output = StandardOutput::kCaptured;
};

struct ProcessResult {
  int exit_status = -1;  // -1 when the process ended by a signal
  int signal = 0;
  std::string out;
  std::string err;
};

ProcessResult run_process(const std::string& path, const ProcessOptions& options = {});

// The environment a probe run gets when no display is reachable.
std::map<std::string, std::optional<std::string>> without_display();

}  // namespace screenprobe::testing
