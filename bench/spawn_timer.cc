// Times whole processes: runs each given command in turn, round after round (so drift in the
// machine's load hits them alike), and prints the median and quartiles of each command's wall
// time and each median's ratio to the second command's.
//
//   spawn_timer RUNS [--accept STATUS]... -- COMMAND... [-- COMMAND...]...
//
// Standard output and standard error of the commands go to /dev/null; a command that exits
// with a status other than 0 stops the benchmark, since its timing would mean nothing, unless
// that status is accepted (the probe's no-screen answer, status 1, is a whole run too).
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

double run_once(std::vector<char*>& argv, const posix_spawn_file_actions_t& actions,
                const std::vector<int>& accepted) {
  const Clock::time_point start = Clock::now();
  pid_t pid = 0;
  if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
    std::fprintf(stderr, "spawn_timer: cannot start %s\n", argv[0]);
    std::exit(2);
  }
  int status = 0;
  if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status) ||
      std::find(accepted.begin(), accepted.end(), WEXITSTATUS(status)) == accepted.end()) {
    std::fprintf(stderr, "spawn_timer: %s did not exit with an accepted status\n", argv[0]);
    std::exit(2);
  }
  return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

double quantile(std::vector<double> sorted, double q) {
  return sorted[static_cast<size_t>(q * static_cast<double>(sorted.size() - 1) + 0.5)];
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<int> accepted = {0};
  int first = 2;
  for (; first + 1 < argc && std::string(argv[first]) == "--accept"; first += 2) {
    accepted.push_back(std::atoi(argv[first + 1]));
  }
  if (argc < first + 2 || std::string(argv[first]) != "--") {
    std::fprintf(stderr,
                 "usage: spawn_timer RUNS [--accept STATUS]... -- COMMAND... [-- COMMAND...]...\n");
    return 2;
  }
  const int runs = std::atoi(argv[1]);
  if (runs < 1) {
    std::fprintf(stderr, "spawn_timer: RUNS must be a positive number\n");
    return 2;
  }
  std::vector<std::vector<char*>> commands;
  for (int i = first; i < argc; ++i) {
    if (std::string(argv[i]) == "--") {
      commands.emplace_back();
    } else {
      commands.back().push_back(argv[i]);
    }
  }
  for (auto& command : commands) {
    if (command.empty()) {
      std::fprintf(stderr, "spawn_timer: empty command\n");
      return 2;
    }
    command.push_back(nullptr);
  }

  posix_spawn_file_actions_t actions;
  if (posix_spawn_file_actions_init(&actions) != 0 ||
      posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0) != 0 ||
      posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0) != 0) {
    std::fprintf(stderr, "spawn_timer: cannot prepare the child's descriptors\n");
    return 2;
  }

  std::vector<std::vector<double>> times(commands.size());
  for (auto& command : commands) run_once(command, actions, accepted);  // warm the page cache
  for (int round = 0; round < runs; ++round) {
    for (size_t i = 0; i < commands.size(); ++i)
      times[i].push_back(run_once(commands[i], actions, accepted));
  }

  std::vector<double> medians;
  for (auto& samples : times) {
    std::sort(samples.begin(), samples.end());
    medians.push_back(quantile(samples, 0.5));
  }
  const double reference = medians.size() > 1 ? medians[1] : medians[0];
  std::printf("%-40s %10s %10s %10s %8s\n", "command", "p25 us", "median us", "p75 us", "ratio");
  for (size_t i = 0; i < commands.size(); ++i) {
    std::string name;
    for (char* word : commands[i]) {
      if (word == nullptr) break;
      if (!name.empty()) name += ' ';
      name += word;
    }
    std::printf("%-40s %10.0f %10.0f %10.0f %8.2f\n", name.c_str(), quantile(times[i], 0.25),
                medians[i], quantile(times[i], 0.75), medians[i] / reference);
  }
  return 0;
}
