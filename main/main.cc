// screenprobe: measures the main screen and prints where the menu bar and the camera housing
// are, as one JSON object. Arguments are ignored; see screenprobe(1).
#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <new>

#include "exit_status.h"
#include "probe.h"
#include "screen.h"

namespace {

bool descriptor_is_open(int fd) { return fcntl(fd, F_GETFD) != -1; }

void report_out_of_memory() { std::fputs("screenprobe: out of memory\n", stderr); }

// Throwing std::bad_alloc takes a little memory for the exception itself, which the C++ runtime
// draws from a pool it sets aside at start-up. When memory was short even then, the throw cannot
// be made and ends in std::terminate with no exception in flight; in this program nothing else
// does, so that too is reported as running out of memory. Anything else is left to the
// runtime's own handler.
std::terminate_handler runtime_terminate_handler = nullptr;

[[noreturn]] void on_terminate() {
  if (std::current_exception() == nullptr) {
    report_out_of_memory();
    std::_Exit(screenprobe::kExitOsError);
  }
  if (runtime_terminate_handler != nullptr) runtime_terminate_handler();
  std::abort();
}

int run() {
  try {
    // The screen lives until the report has been written, then goes with this scope.
    std::unique_ptr<screenprobe::Screen> screen = screenprobe::main_screen();
    return screenprobe::run_probe(screen.get(), stdout, stderr);
  } catch (const std::bad_alloc&) {
    // Short of memory the probe cannot tell whether there is a screen, and must not say there
    // is none. The report is written in one piece after every allocation, so nothing is out.
    report_out_of_memory();
    return screenprobe::kExitOsError;
  }
}

}  // namespace

int main() {
  // With descriptor 1 closed, the platform's connection could be given descriptor 1 and the
  // report would be written into it; there is nowhere to answer, so stop before connecting.
  if (!descriptor_is_open(STDOUT_FILENO)) {
    std::fputs("screenprobe: standard output is closed\n", stderr);
    return screenprobe::kExitIoError;
  }
  // Likewise keep descriptor 2 from being handed to a connection that a diagnostic would then
  // be written into. Should even that fail, the run goes on: it only loses its diagnostics.
  if (!descriptor_is_open(STDERR_FILENO)) {
    const int null_fd = open("/dev/null", O_WRONLY);
    if (null_fd != -1 && null_fd != STDERR_FILENO) (void)dup2(null_fd, STDERR_FILENO);
  }
  runtime_terminate_handler = std::set_terminate(on_terminate);
  // A reader that went away must show as a failed write (and status 74), not kill the process.
  if (std::signal(SIGPIPE, SIG_IGN) == SIG_ERR) {
    std::perror("screenprobe: cannot ignore SIGPIPE");
    return screenprobe::kExitSoftware;
  }
  return screenprobe::run_in_platform_scope(run);
}
