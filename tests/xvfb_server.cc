#include "xvfb_server.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <stdexcept>

#include "process_runner.h"

extern char** environ;

namespace screenprobe::testing {

namespace {

constexpr int kStartTimeoutMs = 20000;

[[noreturn]] void fail(const std::string& what) { throw std::runtime_error("Xvfb: " + what); }

struct Disconnect {
  void operator()(xcb_connection_t* connection) const { xcb_disconnect(connection); }
};

xcb_atom_t intern(xcb_connection_t* connection, std::string_view name) {
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
      connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(name.size()), name.data()),
      nullptr);
  if (reply == nullptr) fail("cannot intern " + std::string(name));
  const xcb_atom_t atom = reply->atom;
  std::free(reply);
  return atom;
}

}  // namespace

XvfbServer::XvfbServer(const Options& options) {
  int fds[2];
  if (pipe(fds) != 0) fail(std::string("pipe: ") + std::strerror(errno));
  std::vector<std::string> args = {
      "Xvfb",
      "-displayfd",
      std::to_string(fds[1]),
      "-noreset",
      "-nolisten",
      "tcp",
      "-screen",
      "0",
      std::to_string(options.width) + "x" + std::to_string(options.height) + "x24"};
  if (!options.auth_file.empty()) {
    args.push_back("-auth");
    args.push_back(options.auth_file);
  }
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addclose(&actions, fds[0]);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  const int spawned = posix_spawnp(&pid_, "Xvfb", &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(fds[1]);
  if (spawned != 0) {
    close(fds[0]);
    pid_ = -1;
    fail(std::string("cannot start: ") + std::strerror(spawned));
  }

  // Xvfb writes its display number and a newline once it accepts connections.
  std::string text;
  while (text.find('\n') == std::string::npos) {
    pollfd ready{fds[0], POLLIN, 0};
    const int polled = poll(&ready, 1, kStartTimeoutMs);
    char buffer[16];
    const ssize_t n = polled > 0 ? read(fds[0], buffer, sizeof buffer) : -1;
    if (n <= 0) {
      close(fds[0]);
      stop();
      fail("did not report a display number");
    }
    text.append(buffer, static_cast<size_t>(n));
  }
  close(fds[0]);
  number_ = std::atoi(text.c_str());
  display_ = std::to_string(number_);
  display_.insert(display_.begin(), ':');
}

XvfbServer::~XvfbServer() { stop(); }

void XvfbServer::stop() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  int status = 0;
  while (waitpid(pid_, &status, 0) == -1 && errno == EINTR) {
  }
  pid_ = -1;
}

void XvfbServer::set_property(std::string_view name, std::string_view type, uint8_t format,
                              const void* data, uint32_t count) {
  std::unique_ptr<xcb_connection_t, Disconnect> connection(xcb_connect(display_.c_str(), nullptr));
  xcb_connection_t* c = connection.get();
  if (xcb_connection_has_error(c) != 0) fail("cannot connect to " + display_);
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
  const xcb_void_cookie_t cookie = xcb_change_property_checked(
      c, XCB_PROP_MODE_REPLACE, root, intern(c, name), intern(c, type), format, count, data);
  if (xcb_generic_error_t* error = xcb_request_check(c, cookie)) {
    std::free(error);
    fail("cannot set " + std::string(name));
  }
}

void XvfbServer::set_cardinals(std::string_view name, const std::vector<uint32_t>& values) {
  set_property(name, "CARDINAL", 32, values.data(), static_cast<uint32_t>(values.size()));
}

void XvfbServer::set_string(std::string_view name, std::string_view text) {
  set_property(name, "STRING", 8, text.data(), static_cast<uint32_t>(text.size()));
}

void XvfbServer::xrandr(const std::vector<std::string>& args) {
  ProcessOptions options;
  options.args = args;
  options.environment = {{"DISPLAY", display_}};
  const ProcessResult result = run_process("xrandr", options);
  if (result.exit_status != 0) fail("xrandr failed: " + result.err);
}

}  // namespace screenprobe::testing
