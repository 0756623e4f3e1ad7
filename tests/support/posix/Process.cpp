#include "tests/support/Process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>

extern char** environ;

namespace pv14::testing {
namespace {

std::vector<std::string> BuildEnvironment(const ProcessOptions& options) {
  std::map<std::string, std::string> merged;
  for (char** e = environ; *e != nullptr; ++e) {
    std::string entry = *e;
    const std::size_t eq = entry.find('=');
    if (eq != std::string::npos) merged[entry.substr(0, eq)] = entry.substr(eq + 1);
  }
  for (const auto& name : options.unsetEnv) merged.erase(name);
  for (const auto& [name, value] : options.env) merged[name] = value;
  std::vector<std::string> result;
  for (const auto& [name, value] : merged) result.push_back(name + "=" + value);
  return result;
}

}  // namespace

ProcessResult RunProcess(const std::string& program, const ProcessOptions& options) {
  int in[2], out[2], err[2];
  if (pipe(in) != 0 || pipe(out) != 0 || pipe(err) != 0) return {};

  std::vector<std::string> envStrings = BuildEnvironment(options);
  std::vector<char*> envp;
  for (auto& s : envStrings) envp.push_back(s.data());
  envp.push_back(nullptr);
  std::vector<std::string> argStrings{program};
  argStrings.insert(argStrings.end(), options.args.begin(), options.args.end());
  std::vector<char*> argv;
  for (auto& s : argStrings) argv.push_back(s.data());
  argv.push_back(nullptr);

  if (options.stderrClosed) {
    close(err[0]);
    err[0] = -1;
  }
  const pid_t pid = fork();
  if (pid == 0) {
    // A caller starts the program with the signals' default actions.
    signal(SIGPIPE, SIG_DFL);
    dup2(in[0], 0);
    dup2(out[1], 1);
    dup2(err[1], 2);
    for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]}) {
      if (fd >= 0) close(fd);
    }
    for (int stream : options.closedStreams) close(stream);
    if (!options.workingDirectory.empty() && chdir(options.workingDirectory.c_str()) != 0)
      _exit(126);
    if (options.fileSizeLimit >= 0) {
      const rlimit limit{static_cast<rlim_t>(options.fileSizeLimit),
                         static_cast<rlim_t>(options.fileSizeLimit)};
      if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(125);
    }
    execve(program.c_str(), argv.data(), envp.data());
    _exit(127);
  }
  close(in[0]);
  close(out[1]);
  close(err[1]);

  signal(SIGPIPE, SIG_IGN);
  std::size_t written = 0;
  if (options.input.empty()) {
    close(in[1]);
    in[1] = -1;
  }
  ProcessResult result;
  const auto start = std::chrono::steady_clock::now();
  const auto deadline = start + std::chrono::seconds(options.timeoutSeconds);
  const auto killAt = start + std::chrono::microseconds(options.killAfterMicroseconds);
  bool outOpen = true, errOpen = err[0] >= 0, killed = false;
  while (outOpen || errOpen) {
    if (options.killAfterMicroseconds > 0 && !killed) {
      const auto now = std::chrono::steady_clock::now();
      if (now >= killAt) {
        kill(pid, options.killSignal != 0 ? options.killSignal : SIGKILL);
        killed = true;
      }
    }
    std::vector<pollfd> fds;
    if (outOpen) fds.push_back({out[0], POLLIN, 0});
    if (errOpen) fds.push_back({err[0], POLLIN, 0});
    if (in[1] >= 0) fds.push_back({in[1], POLLOUT, 0});
    int wait = 200;
    if (options.killAfterMicroseconds > 0 && !killed) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          killAt - std::chrono::steady_clock::now());
      wait = static_cast<int>(std::clamp<long long>(left.count(), 0, 200));
    }
    const int ready = poll(fds.data(), fds.size(), wait);
    if (std::chrono::steady_clock::now() > deadline) {
      kill(pid, SIGKILL);
      break;
    }
    if (ready <= 0) continue;
    for (const pollfd& p : fds) {
      if (p.revents == 0) continue;
      if (p.fd == in[1]) {
        const ssize_t n =
            write(in[1], options.input.data() + written, options.input.size() - written);
        if (n > 0) written += static_cast<std::size_t>(n);
        if (n < 0 || written == options.input.size()) {
          close(in[1]);
          in[1] = -1;
        }
        continue;
      }
      char buffer[4096];
      const ssize_t n = read(p.fd, buffer, sizeof buffer);
      std::string& target = p.fd == out[0] ? result.out : result.err;
      if (n > 0) {
        target.append(buffer, static_cast<std::size_t>(n));
      } else {
        (p.fd == out[0] ? outOpen : errOpen) = false;
      }
    }
  }
  if (in[1] >= 0) close(in[1]);
  close(out[0]);
  if (err[0] >= 0) close(err[0]);
  int status = 0;
  rusage usage{};
  while (wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
  }
  result.peakKilobytes = usage.ru_maxrss;
  result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
  return result;
}

void PreloadLibrary(ProcessOptions& options, const std::string& library) {
  options.env["LD_PRELOAD"] = library;
  const char* sanitizer = std::getenv("ASAN_OPTIONS");
  options.env["ASAN_OPTIONS"] =
      (sanitizer != nullptr ? std::string(sanitizer) + ":" : "") + "verify_asan_link_order=0";
}

}  // namespace pv14::testing
