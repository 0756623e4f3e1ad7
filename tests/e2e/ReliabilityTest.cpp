// The built program under real faults: SIGKILL at random moments while it
// saves a settings file of several megabytes or writes its report, a file
// system that fills up under it, and eight exports of different users at
// once against one store and one settings folder. The counts are small here
// so every test run keeps them working; scripts/reliability.sh runs them
// with the counts of the README's figures (PV14_KILLS, PV14_CONCURRENT_TRIALS).
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

#include "tests/e2e/ExportFixture.h"

namespace pv14::testing {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::ordered_json;

constexpr char kLevelOne[] = "[ProgramLevel]\r\nPV14=1\r\n";
constexpr char kSettingsName[] = "LedgerStd19ToPv14.env";
// No socket of that number: the caller's window is gone, as a closed one is.
constexpr char kNoCaller[] = "999,32768,7,";

int Count(const char* variable, int fallback) {
  const char* text = std::getenv(variable);
  return text != nullptr && std::atoi(text) > 0 ? std::atoi(text) : fallback;
}

Json Golden(const std::string& name) {
  return Json::parse(ReadFileBytes(std::string(PV14_SOURCE_DIR) + "/tests/golden/" + name));
}

class ReliabilityTest : public ExportFixture {
 protected:
  ReliabilityTest() {
    fs::create_directories(root_.Join("home/settings"));
    InstallProgram(PV14_STD_PROGRAM, kLevelOne, "");
  }

  // The white general data set (user TARO, data number 8, key number 2),
  // with the settings folder in this test's home.
  void LoadWhiteGeneral() {
    Json data = Golden("white-general.json");
    data["AppFolders"] = Folders();
    LoadEngine(data.dump());
  }
  Json Folders() const {
    const std::string home = WindowsPath(root_.Join("home"));
    return {{"Documents", home + "\\Documents\\"}, {"Settings", home + "\\settings\\"}};
  }
  std::string SettingsPath() const {
    return root_.Join(std::string("home/settings/") + kSettingsName);
  }
  std::string Settings() const { return ReadFileBytes(SettingsPath()); }
  std::vector<std::string> Temporaries() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(root_.Join("home/settings"))) {
      const std::string name = entry.path().filename().string();
      if (name.size() > 4 && name.ends_with(".tmp")) names.push_back(name);
    }
    return names;
  }
  std::string Dump() {
    ProcessOptions options;
    options.args = {"dump"};
    options.env = {{"LEDGER_ENGINE_DB", root_.Join("engine.sqlite")}};
    ProcessResult result = RunProcess(LEDGER_ENGINE_TOOL, options);
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    return result.out;
  }
  ProcessResult Export(const std::string& report, int killAfterMicroseconds = 0,
                       long long fileSizeLimit = -1) {
    ProcessOptions options = RunOptions(kNoCaller + WindowsPath(report), "execute\n");
    options.killAfterMicroseconds = killAfterMicroseconds;
    options.fileSizeLimit = fileSizeLimit;
    return RunProcess(programPath_, options);
  }
};

// Other users' lines around TARO's, about four megabytes of them.
std::string BigSettings(const std::string& taroLine) {
  std::string before, after;
  for (int i = 0; before.size() < 2'000'000; ++i) {
    before +=
        "USER" + std::to_string(i) + "/1/1:0/0/1/Z:\\out\\" + std::string(i % 50, 'x') + ".xml\n";
  }
  for (int i = 0; after.size() < 2'000'000; ++i) {
    after += "LATER" + std::to_string(i) + "/2/3:0/0/2/Z:\\" + std::string(i % 70, 'y') + "\n";
  }
  return before + taroLine + after;
}

// ---------------------------------------------------------------- kills

// SIGKILL at random moments of runs that end by saving the settings file:
// after each, the file is exactly the old one or exactly the old one with
// TARO's line moved to the end and changed; the next whole run removes any
// temporary a killed save left.
TEST_F(ReliabilityTest, KilledWhileSavingTheSettingsLeavesTheOldOrTheNewFile) {
  LoadWhiteGeneral();
  const std::string oldLine = "TARO/2/8:0/0/3/Z:\\kept.xml\n";
  const std::string old = BigSettings(oldLine);
  std::string fresh = old;
  fresh.erase(fresh.find(oldLine), oldLine.size());
  fresh += "TARO/2/8:0/0/1/Z:\\kept.xml\n";  // scope 1 keeps business income

  WriteFileBytes(SettingsPath(), old);
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(Export(root_.Join("out/r.xml")).exitStatus, 0);
  const auto whole = std::chrono::duration_cast<std::chrono::microseconds>(
                         std::chrono::steady_clock::now() - start)
                         .count();
  ASSERT_EQ(Settings(), fresh);

  // The rename lies between the latest kill that left the old file and the
  // earliest that found the new one; the save, reading and writing four
  // megabytes, runs up to it.
  std::mt19937 random(20261207);
  const auto killAt = [&](long long from, long long to) {
    const ProcessResult result =
        Export(root_.Join("out/r.xml"), static_cast<int>(from + random() % (to - from)));
    return result.signal == SIGKILL;
  };
  long long lastOld = 0, firstNew = whole;
  for (int i = 0; i < 12; ++i) {
    WriteFileBytes(SettingsPath(), old);
    const long long at = whole / 4 + random() % (whole * 3 / 4);
    Export(root_.Join("out/r.xml"), static_cast<int>(at));
    if (Settings() == old) lastOld = std::max(lastOld, at);
    if (Settings() == fresh) firstNew = std::min(firstNew, at);
  }
  const long long rename = std::min(lastOld, firstNew);

  // Then a staircase around it: a kill that found the old file moves the
  // next one later, one that found the new file earlier, so the kills
  // gather where the save writes.
  const int kills = Count("PV14_KILLS", 25);
  const long long step = std::max(1LL, static_cast<long long>(whole) / 200);
  long long at = rename;
  int killed = 0, midSave = 0, changed = 0;
  for (int i = 0; i < kills; ++i) {
    WriteFileBytes(SettingsPath(), old);
    const auto before = Temporaries();
    killed += killAt(std::max(1LL, at - step), at + step);
    const bool partial = Temporaries().size() > before.size();
    midSave += partial;
    const std::string after = Settings();
    changed += after == fresh;
    ASSERT_TRUE(after == old || after == fresh) << "kill " << i;
    if (!partial) at += after == fresh ? -step : step;
  }
  const long long from = rename, to = at;
  RecordProperty("kills", killed);
  RecordProperty("killedMidSave", midSave);
  std::printf(
      "settings kill loop: %d runs, kills from %lld us settling at %lld us of a %lld us run: %d "
      "killed, "
      "%d of them with the temporary written in part, %d after the rename\n",
      kills, from, to, static_cast<long long>(whole), killed, midSave, changed);
  EXPECT_GT(killed, kills / 3);

  WriteFileBytes(SettingsPath(), old);
  ASSERT_EQ(Export(root_.Join("out/r.xml")).exitStatus, 0);
  EXPECT_EQ(Settings(), fresh);
  EXPECT_TRUE(Temporaries().empty());
}

// A report killed before it was written whole: the store dumps as before,
// and the settings file is untouched.
TEST_F(ReliabilityTest, KilledExportLeavesTheStoreReadableAndTheSettingsUntouched) {
  LoadWhiteGeneral();
  const std::string dump = Dump();
  const std::string settings = "TARO/2/8:0/0/3/Z:\\kept.xml\nX/1/1:0/0/1/\n";
  WriteFileBytes(SettingsPath(), settings);
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(Export(root_.Join("out/whole.xml")).exitStatus, 0);
  const auto whole = std::chrono::duration_cast<std::chrono::microseconds>(
                         std::chrono::steady_clock::now() - start)
                         .count();
  const std::string report = ReadFileBytes(root_.Join("out/whole.xml"));

  std::mt19937 random(7);
  const int kills = Count("PV14_EXPORT_KILLS", 6);
  for (int i = 0; i < kills; ++i) {
    WriteFileBytes(SettingsPath(), settings);
    fs::remove(root_.Join("out/r.xml"));
    const ProcessResult result =
        Export(root_.Join("out/r.xml"), static_cast<int>(whole * (random() % 900) / 1000));
    const std::string written = ReadFileBytes(root_.Join("out/r.xml"));
    ASSERT_EQ(report.compare(0, written.size(), written), 0) << "kill " << i;
    if (result.signal == SIGKILL && written != report) {
      EXPECT_EQ(Settings(), settings) << "kill " << i;
    }
    EXPECT_EQ(Dump(), dump) << "kill " << i;
  }
}

// ---------------------------------------------------------------- disk full

// The report meets the file-size limit at each kind of place: the run fails
// with its message and status 2, the file ends with the last whole line that
// fitted, the settings file is untouched.
TEST_F(ReliabilityTest, DiskFullEndsTheReportAtItsLastWholeLine) {
  LoadWhiteGeneral();
  const std::string settings = "TARO/2/8:0/0/3/Z:\\kept.xml\n";
  WriteFileBytes(SettingsPath(), settings);
  ASSERT_EQ(Export(root_.Join("out/whole.xml")).exitStatus, 0);
  const std::string report = ReadFileBytes(root_.Join("out/whole.xml"));
  ASSERT_GT(report.size(), 2000u);
  const std::size_t thirdLine =
      report.find("\r\n", report.find("\r\n", report.find("\r\n") + 2) + 2) + 2;

  const long long limits[] = {
      0,    1,    static_cast<long long>(thirdLine),        static_cast<long long>(thirdLine) + 1,
      1000, 2047, static_cast<long long>(report.size()) - 1};
  for (long long limit : limits) {
    WriteFileBytes(SettingsPath(), settings);
    const ProcessResult result = Export(root_.Join("out/r.xml"), 0, limit);
    EXPECT_EQ(result.exitStatus, 2) << limit << "\n" << result.err;
    EXPECT_EQ(result.signal, 0) << limit;
    EXPECT_NE(result.err.find("XMLファイルの出力に失敗しました"), std::string::npos) << limit;
    std::size_t whole = 0;
    for (std::size_t next; (next = report.find("\r\n", whole)) != std::string::npos &&
                           next + 2 <= static_cast<std::size_t>(limit);) {
      whole = next + 2;
    }
    EXPECT_EQ(ReadFileBytes(root_.Join("out/r.xml")), report.substr(0, whole)) << limit;
    EXPECT_EQ(Settings(), settings) << limit;
  }

  // The report fits, the settings file does not: the run is done and the
  // settings file is as it was, with no temporary left.
  const std::string big(report.size() + 100, 'S');
  const std::string bigSettings = "X/1/1:0/0/1/Z:\\" + big + "\n" + settings;
  WriteFileBytes(SettingsPath(), bigSettings);
  const ProcessResult fits = Export(root_.Join("out/r.xml"), 0, report.size());
  EXPECT_EQ(fits.exitStatus, 0) << fits.err;
  EXPECT_EQ(ReadFileBytes(root_.Join("out/r.xml")), report);
  EXPECT_EQ(Settings(), bigSettings);
  EXPECT_TRUE(Temporaries().empty());
}

// ---------------------------------------------------------------- at once

// Eight users, each with a company of their own, export at the same moment
// against one store and one settings folder: every report equals the one the
// same export writes alone, and the settings file keeps every earlier line
// and gains each user's.
TEST_F(ReliabilityTest, EightExportsAtOnceWriteWhatEachWritesAlone) {
  constexpr int kUsers = 8;
  Json data = Golden("white-general.json");
  data["AppFolders"] = Folders();
  data["Users"] = Json::array();
  data["DataSets"] = Json::array();
  // Each golden company twice, under another number and name, with the
  // answers its golden run gives.
  struct Company {
    const char* file;
    const char* dataId;
    const char* input;
  };
  const Company companies[] = {{"blue-general.json", "BG2019", "execute\n"},
                               {"white-general.json", "WG2020", "2\nexecute\n"},
                               {"blue-real-estate.json", "BRE2021", "3\nexecute\n"},
                               {"white-real-estate.json", "WRE2022", "execute\n"}};
  std::vector<std::string> inputs(kUsers + 1);
  int number = 0;
  for (int copy = 0; copy < 2; ++copy) {
    for (const Company& company : companies) {
      const Json golden = Golden(company.file);
      for (Json set : golden["DataSets"]) {
        if (set["DataId"] != company.dataId) continue;
        ++number;
        set["DataNo"] = number;
        set["DataId"] = "SET" + std::to_string(number);
        set["CompanyName"] = set["CompanyName"].get<std::string>() + std::to_string(number);
        data["DataSets"].push_back(set);
        data["Users"].push_back({{"UserId", "U" + std::to_string(number)},
                                 {"SelectedKeyNo", 1},
                                 {"SelectedDataNo", number}});
        inputs[number] = company.input;
      }
    }
  }
  ASSERT_EQ(number, kUsers);
  LoadEngine(data.dump());

  const auto run = [&](int user, const std::string& report) {
    ProcessOptions options = RunOptions(kNoCaller + WindowsPath(report), inputs[user]);
    options.env["LEDGER_ENGINE_USER"] = "U" + std::to_string(user);
    return RunProcess(programPath_, options);
  };
  const std::string earlier = "OLD/1/1:0/0/1/Z:\\a.xml\nOLD/1/2:0/0/3/\n";
  std::vector<std::string> alone(kUsers + 1);
  std::multiset<std::string> lines;
  for (int user = 1; user <= kUsers; ++user) {
    WriteFileBytes(SettingsPath(), earlier);
    const std::string report = root_.Join("out/alone" + std::to_string(user) + ".xml");
    const ProcessResult result = run(user, report);
    ASSERT_EQ(result.exitStatus, 0) << "user " << user << "\n" << result.err;
    alone[user] = ReadFileBytes(report);
    lines.insert(Settings().substr(earlier.size()));
  }
  ASSERT_EQ(lines.size(), static_cast<std::size_t>(kUsers));

  const int trials = Count("PV14_CONCURRENT_TRIALS", 1);
  for (int trial = 0; trial < trials; ++trial) {
    WriteFileBytes(SettingsPath(), earlier);
    std::vector<std::thread> threads;
    std::vector<int> status(kUsers + 1, -1);
    for (int user = 1; user <= kUsers; ++user) {
      threads.emplace_back([&, user] {
        status[user] =
            run(user, root_.Join("out/at-once" + std::to_string(user) + ".xml")).exitStatus;
      });
    }
    for (std::thread& thread : threads) thread.join();
    std::multiset<std::string> saved;
    const std::string after = Settings();
    ASSERT_EQ(after.substr(0, earlier.size()), earlier) << "trial " << trial;
    for (std::size_t at = earlier.size(); at < after.size();) {
      const std::size_t end = after.find('\n', at);
      ASSERT_NE(end, std::string::npos) << "trial " << trial;
      saved.insert(after.substr(at, end + 1 - at));
      at = end + 1;
    }
    EXPECT_EQ(saved, lines) << "trial " << trial;
    for (int user = 1; user <= kUsers; ++user) {
      EXPECT_EQ(status[user], 0) << "trial " << trial << " user " << user;
      EXPECT_TRUE(ReadFileBytes(root_.Join("out/at-once" + std::to_string(user) + ".xml")) ==
                  alone[user])
          << "trial " << trial << " user " << user;
    }
    EXPECT_TRUE(Temporaries().empty());
  }
  std::printf("eight at once: %d trials of %d exports\n", trials, kUsers);
}

}  // namespace
}  // namespace pv14::testing
