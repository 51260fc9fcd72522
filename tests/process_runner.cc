#include "process_runner.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

extern char** environ;

namespace screenprobe::testing {

namespace {

void check(bool ok, const char* what) {
  if (!ok) throw std::runtime_error(std::string(what) + ": " + std::strerror(errno));
}

class TempFile {
 public:
  TempFile() {
    const char* dir = std::getenv("TMPDIR");
    path_ = std::string(dir != nullptr ? dir : "/tmp") + "/screenprobe-test-XXXXXX";
    fd_ = mkstemp(path_.data());
    check(fd_ != -1, "mkstemp");
  }
  ~TempFile() {
    close(fd_);
    unlink(path_.c_str());
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  const std::string& path() const { return path_; }

  std::string contents() const {
    std::string text;
    char buffer[4096];
    ssize_t n;
    off_t offset = 0;
    while ((n = pread(fd_, buffer, sizeof buffer, offset)) > 0) {
      text.append(buffer, static_cast<size_t>(n));
      offset += n;
    }
    check(n == 0, "pread");
    return text;
  }

 private:
  std::string path_;
  int fd_ = -1;
};

std::vector<std::string> child_environment(
    const std::map<std::string, std::optional<std::string>>& changes) {
  std::vector<std::string> result;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    std::string text = *entry;
    std::string name = text.substr(0, text.find('='));
    if (changes.count(name) == 0) result.push_back(text);
  }
  for (const auto& [name, value] : changes) {
    if (value) result.push_back(name + "=" + *value);
  }
  return result;
}

}  // namespace

std::map<std::string, std::optional<std::string>> without_display() {
  return {{"DISPLAY", std::nullopt}, {"WAYLAND_DISPLAY", std::nullopt}};
}

ProcessResult run_process(const std::string& path, const ProcessOptions& options) {
  TempFile out, err;

  posix_spawn_file_actions_t actions;
  check(posix_spawn_file_actions_init(&actions) == 0, "posix_spawn_file_actions_init");
  int pipe_fds[2] = {-1, -1};
  switch (options.standard_output) {
    case StandardOutput::kCaptured:
      posix_spawn_file_actions_addopen(&actions, 1, out.path().c_str(), O_WRONLY | O_TRUNC, 0);
      break;
    case StandardOutput::kDevFull:
      posix_spawn_file_actions_addopen(&actions, 1, "/dev/full", O_WRONLY, 0);
      break;
    case StandardOutput::kClosed:
      posix_spawn_file_actions_addclose(&actions, 1);
      break;
    case StandardOutput::kBrokenPipe:
      check(pipe(pipe_fds) == 0, "pipe");
      close(pipe_fds[0]);
      posix_spawn_file_actions_adddup2(&actions, pipe_fds[1], 1);
      posix_spawn_file_actions_addclose(&actions, pipe_fds[1]);
      break;
  }
  posix_spawn_file_actions_addopen(&actions, 2, err.path().c_str(), O_WRONLY | O_TRUNC, 0);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);

  std::vector<std::string> argv_text{path};
  argv_text.insert(argv_text.end(), options.args.begin(), options.args.end());
  std::vector<char*> argv;
  for (std::string& arg : argv_text) argv.push_back(arg.data());
  argv.push_back(nullptr);
  std::vector<std::string> env_text = child_environment(options.environment);
  std::vector<char*> envp;
  for (std::string& entry : env_text) envp.push_back(entry.data());
  envp.push_back(nullptr);

  pid_t pid = 0;
  const int spawned = posix_spawnp(&pid, path.c_str(), &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (pipe_fds[1] != -1) close(pipe_fds[1]);
  errno = spawned;
  check(spawned == 0, "posix_spawn");

  int status = 0;
  pid_t waited;
  do {
    waited = waitpid(pid, &status, 0);
  } while (waited == -1 && errno == EINTR);
  check(waited == pid, "waitpid");

  ProcessResult result;
  if (WIFEXITED(status)) {
    result.exit_status = WEXITSTATUS(status);
  } else if (WIFSIGNALED(status)) {
    result.signal = WTERMSIG(status);
  }
  result.out = out.contents();
  result.err = err.contents();
  return result;
}

}  // namespace screenprobe::testing
