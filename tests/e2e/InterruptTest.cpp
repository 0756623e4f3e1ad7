// The built program when a run is cut short from outside or shares its
// files: an interrupt, a hang-up or a termination request at random moments,
// a second export to the same report, standard streams closed at start, and
// a caller's folder that others could use.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

#include "tests/e2e/ExportFixture.h"

namespace pv14::testing {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::ordered_json;
using std::chrono::milliseconds;

constexpr char kLevelOne[] = "[ProgramLevel]\r\nPV14=1\r\n";
constexpr char kSettingsName[] = "LedgerStd19ToPv14.env";
constexpr char kFailure[] = "XMLファイルの出力に失敗しました";
constexpr char kDone[] = "所得税情報の出力が終了しました";

class InterruptTest : public ExportFixture {
 protected:
  InterruptTest() {
    fs::create_directories(root_.Join("home/settings"));
    fs::create_directories(root_.Join("out"));
    InstallProgram(PV14_STD_PROGRAM, kLevelOne, "");
    Json data = Json::parse(
        ReadFileBytes(std::string(PV14_SOURCE_DIR) + "/tests/golden/white-general.json"));
    const std::string home = WindowsPath(root_.Join("home"));
    data["AppFolders"] = {{"Documents", home + "\\Documents\\"},
                          {"Settings", home + "\\settings\\"}};
    LoadEngine(data.dump());
  }

  std::string SettingsPath() const {
    return root_.Join(std::string("home/settings/") + kSettingsName);
  }
  ProcessOptions Options(const std::string& report, const std::string& input = "execute\n") const {
    return RunOptions("4242,32768,7," + WindowsPath(report), input);
  }
  // The messages the caller gets until it has been quiet a while.
  std::vector<std::string> CallerMessages() { return caller_.Drain(milliseconds(300)); }
};

// True when text is whole lines of report from its start.
bool IsWholeLinesOf(const std::string& text, const std::string& report) {
  return report.compare(0, text.size(), text) == 0 && (text.empty() || text.ends_with("\r\n"));
}

// SIGINT, SIGTERM and SIGHUP at random moments of a run: never the end of
// the process. A run that took the signal before it was done fails as a
// failed write does: its message, status 2, the caller enabled and told 2,
// the report cut at a whole line, the settings as they were.
TEST_F(InterruptTest, SignalsEndTheRunAsAFailure) {
  const std::string settings = "TARO/2/8:0/0/3/Z:\\kept.xml\n";
  const std::string report = root_.Join("out/r.xml");
  fs::remove(SettingsPath());
  WriteFileBytes(SettingsPath(), settings);
  const auto start = std::chrono::steady_clock::now();
  const ProcessResult alone = RunProcess(programPath_, Options(report));
  const long long whole = std::chrono::duration_cast<std::chrono::microseconds>(
                              std::chrono::steady_clock::now() - start)
                              .count();
  ASSERT_EQ(alone.exitStatus, 0) << alone.err;
  const std::string full = ReadFileBytes(report);
  const std::string saved = ReadFileBytes(SettingsPath());
  ASSERT_NE(saved, settings);
  CallerMessages();

  std::mt19937 random(20261208);
  const int signals[] = {SIGINT, SIGTERM, SIGHUP};
  int failed = 0, cut = 0, early = 0;
  for (int i = 0; i < 18; ++i) {
    WriteFileBytes(SettingsPath(), settings);
    fs::remove(report);
    ProcessOptions options = Options(report);
    options.killSignal = signals[i % 3];
    options.killAfterMicroseconds = static_cast<int>(whole / 3 + random() % whole);
    const ProcessResult result = RunProcess(programPath_, options);
    const std::vector<std::string> messages = CallerMessages();
    const std::string written = ReadFileBytes(report);
    if (result.signal != 0) {
      // Only before the program has set itself up (a slow start): then the
      // caller's window was never disabled and nothing was written.
      EXPECT_TRUE(messages.empty()) << "run " << i;
      EXPECT_FALSE(fs::exists(report)) << "run " << i;
      ++early;
      continue;
    }
    ASSERT_FALSE(messages.empty()) << "run " << i;
    EXPECT_EQ(messages.back(), "EnableWindow 1") << "run " << i;
    if (result.exitStatus == 0) {
      EXPECT_EQ(written, full) << "run " << i;
      EXPECT_EQ(ReadFileBytes(SettingsPath()), saved) << "run " << i;
      EXPECT_NE(std::find(messages.begin(), messages.end(), "PostMessage 32768 7 0"),
                messages.end());
      continue;
    }
    ++failed;
    cut += written != full;
    ASSERT_EQ(result.exitStatus, 2) << "run " << i << "\n" << result.err;
    EXPECT_NE(result.err.find(kFailure), std::string::npos) << "run " << i;
    EXPECT_EQ(result.err.find(kDone), std::string::npos) << "run " << i;
    EXPECT_TRUE(IsWholeLinesOf(written, full)) << "run " << i << ": " << written.size();
    EXPECT_EQ(ReadFileBytes(SettingsPath()), settings) << "run " << i;
    EXPECT_NE(std::find(messages.begin(), messages.end(), "PostMessage 32768 7 2"), messages.end())
        << "run " << i;
  }
  std::printf(
      "signals: %d of 18 runs failed, %d of them with the report cut short; %d ended before the "
      "program had started\n",
      failed, cut, early);
  EXPECT_GT(failed, 0);
}

// A report another export is writing (it holds the file's lock) is not
// written a second time: the second run fails as a failed write does and
// leaves the file alone.
TEST_F(InterruptTest, ReportBeingWrittenIsNotWrittenAgain) {
  const std::string report = root_.Join("out/r.xml");
  WriteFileBytes(report, "the first export's bytes\r\n");
  const int fd = ::open(report.c_str(), O_RDWR);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
  const ProcessResult second = RunProcess(programPath_, Options(report));
  ::close(fd);
  EXPECT_EQ(second.exitStatus, 2) << second.err;
  EXPECT_NE(second.err.find(kFailure), std::string::npos) << second.err;
  EXPECT_EQ(ReadFileBytes(report), "the first export's bytes\r\n");
  const auto messages = CallerMessages();
  EXPECT_NE(std::find(messages.begin(), messages.end(), "PostMessage 32768 7 2"), messages.end());

  // Once the first has closed it, the file is free again.
  const ProcessResult later = RunProcess(programPath_, Options(report));
  EXPECT_EQ(later.exitStatus, 0) << later.err;
  EXPECT_NE(ReadFileBytes(report), "the first export's bytes\r\n");
}

// Two exports of different reports to one file at the same moment: the file
// ends as exactly one of them, written by a run that said it was done; a
// run that lost says it failed.
TEST_F(InterruptTest, TwoExportsToOneFileNeverMix) {
  const std::string business = root_.Join("out/business.xml");
  const std::string other = root_.Join("out/other.xml");
  // Each names its kind: the settings remember the last one.
  ASSERT_EQ(RunProcess(programPath_, Options(business, "1\nexecute\n")).exitStatus, 0);
  ASSERT_EQ(RunProcess(programPath_, Options(other, "2\nexecute\n")).exitStatus, 0);
  const std::string reports[] = {ReadFileBytes(business), ReadFileBytes(other)};
  ASSERT_NE(reports[0], reports[1]);

  const std::string shared = root_.Join("out/shared.xml");
  for (int trial = 0; trial < 4; ++trial) {
    fs::remove(shared);
    ProcessResult results[2];
    std::thread second(
        [&] { results[1] = RunProcess(programPath_, Options(shared, "2\nexecute\n")); });
    results[0] = RunProcess(programPath_, Options(shared, "1\nexecute\n"));
    second.join();
    const std::string written = ReadFileBytes(shared);
    ASSERT_TRUE(written == reports[0] || written == reports[1]) << "trial " << trial;
    const int winner = written == reports[0] ? 0 : 1;
    EXPECT_EQ(results[winner].exitStatus, 0) << "trial " << trial;
    const ProcessResult& loser = results[1 - winner];
    if (loser.exitStatus != 0) {
      EXPECT_EQ(loser.exitStatus, 2) << "trial " << trial;
      EXPECT_NE(loser.err.find(kFailure), std::string::npos) << "trial " << trial;
    }
  }
  CallerMessages();
}

// With standard streams closed at start no file takes their descriptors:
// the report and the settings file are what a normal run writes.
TEST_F(InterruptTest, ClosedStandardStreamsGetNoFile) {
  const std::string normal = root_.Join("out/normal.xml");
  ASSERT_EQ(RunProcess(programPath_, Options(normal)).exitStatus, 0);
  const std::string expected = ReadFileBytes(normal);
  const std::string settings = ReadFileBytes(SettingsPath());

  for (const std::vector<int>& closed : {std::vector<int>{1, 2}, std::vector<int>{2}}) {
    fs::remove(SettingsPath());
    const std::string report = root_.Join("out/closed.xml");
    ProcessOptions options = Options(report);
    options.closedStreams = closed;
    const ProcessResult result = RunProcess(programPath_, options);
    EXPECT_EQ(result.exitStatus, 0) << closed.size();
    EXPECT_EQ(ReadFileBytes(report), expected) << closed.size();
    EXPECT_EQ(ReadFileBytes(SettingsPath()), settings) << closed.size();
  }
  CallerMessages();
}

// A caller's folder others may write to is not used: the run goes on, and
// one line says why the caller is not told.
TEST_F(InterruptTest, CallerFolderOthersMayWriteIsNotUsed) {
  ASSERT_EQ(::chmod(caller_.folder().c_str(), 0777), 0);
  const std::string report = root_.Join("out/r.xml");
  const ProcessResult result = RunProcess(programPath_, Options(report));
  ::chmod(caller_.folder().c_str(), 0700);
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_TRUE(caller_.Drain(milliseconds(300)).empty());
  const std::string line = "caller window: the folder " + caller_.folder();
  const std::size_t at = result.err.find(line);
  ASSERT_NE(at, std::string::npos) << result.err;
  EXPECT_EQ(result.err.find(line, at + 1), std::string::npos) << result.err;
}

}  // namespace
}  // namespace pv14::testing
