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

// A display that takes the connection and then never answers (a stopped or wedged X server, a
// stalled remote link, a window server that hangs) would hold the probe, and the script waiting
// on it, for ever. The platform gets this long to produce the main screen; then the probe gives
// up with one line on standard error, never with an answer.
constexpr unsigned kPatienceSeconds = 10;

// Where the line goes: a copy of standard error, which a platform may point elsewhere while it
// connects (the X11 layer silences libxcb's complaints).
int no_answer_fd = STDERR_FILENO;

extern "C" void on_no_answer(int) {
  // Only async-signal-safe calls here.
  static constexpr char kLine[] = "screenprobe: the display did not answer\n";
  const ssize_t written = write(no_answer_fd, kLine, sizeof kLine - 1);
  (void)written;
  _exit(screenprobe::kExitTempFail);
}

int run() {
  try {
    const int copy = fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 3);
    if (copy != -1) no_answer_fd = copy;
    alarm(kPatienceSeconds);
    // The screen lives until the report has been written, then goes with this scope.
    std::unique_ptr<screenprobe::Screen> screen = screenprobe::main_screen();
    alarm(0);
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
  if (std::signal(SIGPIPE, SIG_IGN) == SIG_ERR || std::signal(SIGALRM, on_no_answer) == SIG_ERR) {
    std::perror("screenprobe: cannot set up its signals");
    return screenprobe::kExitSoftware;
  }
  return screenprobe::run_in_platform_scope(run);
}
