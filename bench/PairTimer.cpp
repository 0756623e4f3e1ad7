// Times two programs from process start to exit, side by side in one run:
// in alternating pairs (A B, then B A, ...) so that a machine that speeds up
// or slows down during the run weighs on both alike. Each program gets its
// own file on stdin and /dev/null as stdout and stderr, and must end with
// its expected exit status (a run that fails early would look quick).
//   pair_timer PAIRS LIMIT -- NAME INPUT STATUS PROGRAM [ARG...] -- NAME INPUT STATUS PROGRAM ...
// Prints each program's median and fastest wall time and its median CPU time,
// and the ratio of the first's median to the second's against LIMIT (- for
// none).
// Exit status: 0 within LIMIT, 1 over it, 2 wrong usage or a failed run.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct Command {
  std::string name;
  std::string input;
  int status = 0;
  std::vector<std::string> argv;
  std::vector<double> wallMs;
  std::vector<double> cpuMs;
};

double Millis(const timespec& from, const timespec& to) {
  return (to.tv_sec - from.tv_sec) * 1e3 + (to.tv_nsec - from.tv_nsec) / 1e6;
}

double Millis(const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; }

// One run; false when it could not start or did not end as expected.
bool RunOnce(Command& command, bool keep) {
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_addopen(&files, 0, command.input.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&files, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&files, 2, "/dev/null", O_WRONLY, 0);
  std::vector<char*> argv;
  for (std::string& arg : command.argv) argv.push_back(arg.data());
  argv.push_back(nullptr);

  timespec start{};
  timespec end{};
  clock_gettime(CLOCK_MONOTONIC, &start);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, argv[0], &files, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&files);
  if (spawned != 0) {
    std::fprintf(stderr, "%s: cannot start %s\n", command.name.c_str(), argv[0]);
    return false;
  }
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) != pid) return false;
  clock_gettime(CLOCK_MONOTONIC, &end);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != command.status) {
    std::fprintf(stderr, "%s: the run ended with status %d, not %d\n", command.name.c_str(),
                 WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), command.status);
    return false;
  }
  if (keep) {
    command.wallMs.push_back(Millis(start, end));
    command.cpuMs.push_back(Millis(usage.ru_utime) + Millis(usage.ru_stime));
  }
  return true;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// NAME INPUT STATUS PROGRAM [ARG...] up to the next "--" or the end.
bool ParseCommand(int& i, int argc, char** argv, Command* command) {
  if (i >= argc || std::string(argv[i]) != "--") return false;
  ++i;
  if (argc - i < 4) return false;
  command->name = argv[i++];
  command->input = argv[i++];
  command->status = std::atoi(argv[i++]);
  while (i < argc && std::string(argv[i]) != "--") command->argv.push_back(argv[i++]);
  return !command->argv.empty();
}

}  // namespace

int main(int argc, char** argv) {
  Command first;
  Command second;
  int i = 3;
  const int pairs = argc > 3 ? std::atoi(argv[1]) : 0;
  const bool hasLimit = argc > 3 && std::string(argv[2]) != "-";
  const double limit = hasLimit ? std::atof(argv[2]) : 1;
  if (pairs < 1 || limit <= 0 || !ParseCommand(i, argc, argv, &first) ||
      !ParseCommand(i, argc, argv, &second) || i != argc) {
    std::fprintf(stderr,
                 "usage: pair_timer PAIRS LIMIT -- NAME INPUT STATUS PROGRAM [ARG...] -- NAME "
                 "INPUT STATUS PROGRAM [ARG...]\n");
    return 2;
  }
  // One pair untimed: both programs and their files are then in the cache.
  if (!RunOnce(first, false) || !RunOnce(second, false)) return 2;
  std::vector<double> pairRatios;
  for (int pair = 0; pair < pairs; ++pair) {
    Command& a = pair % 2 == 0 ? first : second;
    Command& b = pair % 2 == 0 ? second : first;
    if (!RunOnce(a, true) || !RunOnce(b, true)) return 2;
    pairRatios.push_back(first.wallMs.back() / second.wallMs.back());
  }
  for (const Command* command : {&first, &second}) {
    std::printf("  %-34s median %7.2f ms   fastest %7.2f ms   cpu %7.2f ms\n",
                command->name.c_str(), Median(command->wallMs),
                *std::min_element(command->wallMs.begin(), command->wallMs.end()),
                Median(command->cpuMs));
  }
  const double ratio = Median(first.wallMs) / Median(second.wallMs);
  std::printf("  ratio %.2f", ratio);
  if (hasLimit) std::printf(" (at most %.2f): %s", limit, ratio <= limit ? "within" : "OVER");
  std::printf("; median of the %d pairs' ratios %.2f\n", pairs, Median(pairRatios));
  return !hasLimit || ratio <= limit ? 0 : 1;
}
