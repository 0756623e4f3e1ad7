#include "tests/e2e/ExportFixture.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <algorithm>
#include <filesystem>

#include "platform/Encoding.h"

namespace pv14::testing {

ExportFixture::ExportFixture() : engineDb_(root_.Join("engine.sqlite")) {
  std::filesystem::create_directories(root_.Join("program"));
  std::filesystem::create_directories(root_.Join("home"));
  std::filesystem::create_directories(root_.Join("out"));
}

void ExportFixture::InstallProgram(const std::string& program, const std::string& levelFile,
                                   const std::string& supportInfUtf8) {
  programPath_ = root_.Join("program/" + std::filesystem::path(program).filename().string());
  std::filesystem::copy_file(program, programPath_,
                             std::filesystem::copy_options::overwrite_existing);
#ifndef _WIN32
  chmod(programPath_.c_str(), 0755);
#endif
  if (!levelFile.empty()) root_.WriteFile("program/KurodaiDef.ini", levelFile);
  if (!supportInfUtf8.empty()) {
    auto bytes = Utf8ToCp932(supportInfUtf8);
    ASSERT_TRUE(bytes.has_value());
    root_.WriteFile("program/SUPPORT.INF", *bytes);
  }
}

void ExportFixture::LoadEngine(const std::string& json) {
  const std::string file = root_.WriteFile("engine.json", json);
  ProcessOptions options;
  options.args = {"load", file};
  options.env = {{"LEDGER_ENGINE_DB", engineDb_}, {"HOME", root_.Join("home")}};
  ProcessResult result = RunProcess(LEDGER_ENGINE_TOOL, options);
  ASSERT_EQ(result.exitStatus, 0) << result.err;
}

ProcessResult ExportFixture::Run(const std::string& commandLine, const std::string& input) {
  return RunProcess(programPath_, RunOptions(commandLine, input));
}

ProcessOptions ExportFixture::RunOptions(const std::string& commandLine,
                                         const std::string& input) const {
  ProcessOptions options;
  if (!commandLine.empty()) options.args = {commandLine};
  options.input = input;
  options.env = {
      {"LEDGER_ENGINE_DB", engineDb_}, {"HOME", root_.Join("home")}, {"PV14_UI", "console"}};
#ifndef _WIN32
  options.env["PV14_WINDOWS"] = caller_.folder();
#endif
  options.unsetEnv = {"PV14_DRIVES", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "DISPLAY",
                      "WAYLAND_DISPLAY"};
  options.workingDirectory = root_.path();
  return options;
}

std::string ExportFixture::WindowsPath(const std::string& path) {
#ifdef _WIN32
  std::string result = path;
#else
  std::string result = "Z:" + path;
#endif
  std::replace(result.begin(), result.end(), '/', '\\');
  return result;
}

std::string ExportFixture::ReportBytes(const std::string& utf8WithLf) {
  std::string crlf;
  for (char c : utf8WithLf) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  auto bytes = Utf8ToCp932(crlf);
  EXPECT_TRUE(bytes.has_value());
  return bytes.value_or("");
}

}  // namespace pv14::testing
