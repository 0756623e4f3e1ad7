// Runs a program as a caller would: its own environment, a text on stdin,
// stdout and stderr captured, the exit status returned.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace pv14::testing {

struct ProcessResult {
  int exitStatus = -1;  // -1 when the program did not exit normally
  int signal = 0;       // the signal that ended it, 0 when none
  std::string out;
  std::string err;
  long peakKilobytes = 0;  // the program's peak resident memory (POSIX)
};

struct ProcessOptions {
  std::vector<std::string> args;           // after the program's name
  std::map<std::string, std::string> env;  // added to (or replacing in) the current one
  std::vector<std::string> unsetEnv;       // removed from the environment
  std::string input;                       // written to stdin, then closed
  std::string workingDirectory;            // empty: the current one
  int timeoutSeconds = 60;
  // The reading end of stderr is closed before the program starts, as when
  // the reader of a pipe has gone: every write to stderr fails (EPIPE).
  bool stderrClosed = false;
  int killAfterMicroseconds = 0;  // SIGKILL once this long has passed; 0 never
  int killSignal = 0;             // sent then instead of SIGKILL (POSIX); 0 SIGKILL
  // Standard streams (0, 1, 2) closed when the program starts (POSIX): what
  // it writes there is not captured.
  std::vector<int> closedStreams;
  long long fileSizeLimit = -1;  // RLIMIT_FSIZE of the program in bytes; -1 none
  // Windows: the standard streams are the test process's console (it must
  // have one), the input typed into it as keys; nothing is captured.
  bool onConsole = false;
};

ProcessResult RunProcess(const std::string& program, const ProcessOptions& options);

#ifndef _WIN32
// Preloads a library into the program; a sanitizer's runtime, which would
// refuse a library loaded before it, is told to accept it.
void PreloadLibrary(ProcessOptions& options, const std::string& library);
#endif

// Reads a whole file; empty when it cannot be read.
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);

}  // namespace pv14::testing
