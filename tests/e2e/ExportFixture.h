// An installed program of its own for each test: a program folder with a
// copy of the executable (it finds KurodaiDef.ini and SUPPORT.INF beside
// itself), a fresh engine database, a home folder and a caller's window.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#ifndef _WIN32
#include "tests/support/CallerSocket.h"
#endif
#include "tests/support/Process.h"
#include "tests/support/TempDir.h"

namespace pv14::testing {

class ExportFixture : public ::testing::Test {
 public:
  // Z:\... form of a POSIX path under the default drive table; on Windows
  // the path with backslashes only.
  static std::string WindowsPath(const std::string& path);
  // Expected text: UTF-8 with LF in the test, Shift_JIS with CR LF on disk.
  static std::string ReportBytes(const std::string& utf8WithLf);

 protected:
  ExportFixture();

  // Copies the program into the program folder with a KurodaiDef.ini of the
  // given level text (none when levelFile is empty) and a SUPPORT.INF of the
  // given UTF-8 text (none when empty).
  void InstallProgram(const std::string& program, const std::string& levelFile,
                      const std::string& supportInfUtf8);
  // Loads an engine JSON text into the test's database; fails the test when
  // the tool refuses it.
  void LoadEngine(const std::string& json);
  // Runs the installed program with one command-line argument (none when
  // empty) and the given stdin script.
  ProcessResult Run(const std::string& commandLine, const std::string& input);
  // What Run runs with, for a test to add to (limits, a kill, a user).
  ProcessOptions RunOptions(const std::string& commandLine, const std::string& input) const;

  TempDir root_{"e2e"};
  std::string programPath_;
  // $LEDGER_ENGINE_DB of the tool and the program: a file in root_ unless a
  // test names a server store.
  std::string engineDb_;
#ifndef _WIN32
  // On Windows the caller is a real window (win32/CallerWindowTest.cpp).
  CallerSocket caller_{4242};
#endif
};

}  // namespace pv14::testing
