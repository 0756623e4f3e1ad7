// The built programs run as the accounting application runs them, on full
// engine data sets: every report must equal, byte for byte, the one the
// independent oracle (tests/golden/make_expected.py, a second writing of the
// report's rules never derived from the C++) makes of the same data, and
// must be well-formed XML.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <ostream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "tests/e2e/ExportFixture.h"
#ifndef _WIN32
#include "tests/support/TestServer.h"
#endif
#include "tests/support/XmlCheck.h"

namespace pv14::testing {
namespace {

using std::chrono::milliseconds;

constexpr char kLevelOne[] = "[ProgramLevel]\r\nPV14=1\r\n";

std::string GoldenFile(const std::string& name) {
  return std::string(PV14_SOURCE_DIR) + "/tests/golden/" + name;
}

struct GoldenCase {
  const char* name;     // the data set and its expected report
  const char* program;  // the edition that writes it
  bool supportFile;     // SUPPORT.INF beside the program
  const char* input;    // what the user answers in the conditions dialog
  const char* incomeKind;
  const char* edition;
};

void PrintTo(const GoldenCase& c, std::ostream* os) { *os << c.name; }

// Keep in step with tests/golden/regenerate.sh, which writes the expected
// reports with the same income kind, edition and SUPPORT.INF.
const GoldenCase kCases[] = {
    // Scope 3 preselects business income.
    {"blue-general", PV14_STD_PROGRAM, true, "execute\n", "1", "std"},
    // Scope 1: other income is chosen by hand.
    {"white-general", PV14_STD_PROGRAM, true, "2\nexecute\n", "2", "std"},
    // Scope 3: real estate is chosen by hand.
    {"blue-real-estate", PV14_NET_PROGRAM, true, "3\nexecute\n", "3", "net"},
    // Scope 2 preselects real estate; no SUPPORT.INF: the edition's defaults.
    {"white-real-estate", PV14_NET_PROGRAM, false, "execute\n", "3", "net"},
};

class GoldenReportTest : public ExportFixture, public ::testing::WithParamInterface<GoldenCase> {
 protected:
  // The data set with its folders moved into this test's home.
  std::string EngineData() {
    nlohmann::ordered_json data = nlohmann::ordered_json::parse(
        ReadFileBytes(GoldenFile(GetParam().name + std::string(".json"))));
    const std::string home = WindowsPath(root_.Join("home"));
    data["AppFolders"] = {{"Documents", home + "\\Documents\\"},
                          {"Settings", home + "\\settings\\"}};
    return data.dump();
  }

  std::string ExpectedReport() {
    return ReadFileBytes(GoldenFile(GetParam().name + std::string(".expected.xml")));
  }

  // Runs the case's export as the caller does and compares its report with
  // the oracle's. With a server store, meanwhile (a shell command) runs once
  // the run holds its connection and before the dialog is answered.
  void ExpectReportEqualsTheOracles(const std::string& meanwhile = "") {
    const GoldenCase& c = GetParam();
    InstallProgram(c.program, kLevelOne, "");
    if (c.supportFile)
      root_.WriteFile("program/SUPPORT.INF", ReadFileBytes(GoldenFile("SUPPORT.INF")));
    LoadEngine(EngineData());
    const std::string report = root_.Join("out/report.xml");

#ifndef _WIN32
    ProcessResult result = meanwhile.empty()
                               ? Run("4242,32768,7," + WindowsPath(report), c.input)
                               : RunPaused("4242,32768,7," + WindowsPath(report), meanwhile);
#else
    // The Windows programs keep the file store: nothing runs meanwhile.
    static_cast<void>(meanwhile);
    ProcessResult result = Run("4242,32768,7," + WindowsPath(report), c.input);
#endif

    EXPECT_EQ(result.exitStatus, 0) << result.err;
#ifndef _WIN32
    EXPECT_EQ(caller_.Drain(milliseconds(300)),
              (std::vector<std::string>{"EnableWindow 0", "SetForegroundWindow", "EnableWindow 1",
                                        "PostMessage 32768 7 0", "EnableWindow 1"}));
#endif
    const std::string expected = ExpectedReport();
    ASSERT_FALSE(expected.empty()) << "missing " << c.name << ".expected.xml";
    const std::string written = ReadFileBytes(report);
    const std::string difference = FirstDifference(expected, written);
    EXPECT_TRUE(difference.empty()) << difference << "\n" << result.err;
#ifndef _WIN32
    // Byte for byte the expected report, which is checked below.
    const std::string errors = XmlWellFormednessErrors(written);
    EXPECT_TRUE(errors.empty()) << errors;
#endif
  }

#ifndef _WIN32
  // Makes the test's store a database of its own on the run's server;
  // false when there is no server here.
  bool UseServerStore() {
    std::string why;
    server_ = TestServer::Get(&why);
    if (server_ == nullptr) return false;
    database_ = server_->NewDatabase();
    engineDb_ = server_->Uri(database_);
    return true;
  }

  // Runs the program with the case's answers held back until its dialog
  // is shown (its first words on stderr) and meanwhile (a shell command) ran.
  ProcessResult RunPaused(const std::string& commandLine, const std::string& meanwhile) {
    ProcessOptions options = RunOptions(commandLine, "");
    options.env["PV14_PSQL"] = server_->Psql();
    options.env["PV14_PG"] = server_->Folder();
    options.env["PV14_ANSWERS"] = GetParam().input;
    options.env["PV14_ERR"] = root_.Join("program.err");
    options.args = {"-c",
                    "{ i=0; until [ -s \"$PV14_ERR\" ] || [ $i -ge 400 ]; do sleep 0.05; "
                    "i=$((i+1)); done; " +
                        meanwhile +
                        "; printf '%s' \"$PV14_ANSWERS\"; } | \"$0\" \"$1\" 2>\"$PV14_ERR\"; "
                        "status=$?; cat \"$PV14_ERR\" >&2; exit $status",
                    programPath_, commandLine};
    return RunProcess("/bin/sh", options);
  }

  TestServer* server_ = nullptr;
  std::string database_;
#endif
};

TEST_P(GoldenReportTest, ReportEqualsTheOraclesByteForByte) { ExpectReportEqualsTheOracles(); }

#ifndef _WIN32
// The same report from the same data on a PostgreSQL server.
TEST_P(GoldenReportTest, ReportFromAServerStoreEqualsTheOraclesByteForByte) {
  if (!UseServerStore()) GTEST_SKIP() << "no PostgreSQL server here";
  ExpectReportEqualsTheOracles();
}

// A load that replaces the whole store while the run waits in its dialog:
// the report is still wholly the state the run began with.
TEST_P(GoldenReportTest, ALoadDuringAServerStoreExportDoesNotReachItsReport) {
  if (!UseServerStore()) GTEST_SKIP() << "no PostgreSQL server here";
  const std::string other = root_.WriteFile(
      "other.json", R"({"CurrentUserId": "X", "DataSets": [{"DataId": "X", "DataNo": 1}]})");
  const std::string status = root_.Join("load-status");
  ExpectReportEqualsTheOracles("LEDGER_ENGINE_DB='" + engineDb_ + "' '" +
                               std::string(LEDGER_ENGINE_TOOL) + "' load '" + other +
                               "' >/dev/null 2>&1; echo $? >'" + status + "'");
  EXPECT_EQ(ReadFileBytes(status), "0\n");  // the load did replace the store meanwhile
}

// The server's connections cut while the run waits in its dialog: the run
// holds the whole state it read at its start, so its report is still whole.
TEST_P(GoldenReportTest, AServerLostWhileTheDialogWaitsDoesNotCutTheReportShort) {
  if (!UseServerStore()) GTEST_SKIP() << "no PostgreSQL server here";
  ExpectReportEqualsTheOracles(
      "\"$PV14_PSQL\" -X -q -h \"$PV14_PG\" -U postgres -d postgres -c \"SELECT "
      "pg_terminate_backend(pid) FROM pg_stat_activity WHERE datname = '" +
      database_ + "'\" >/dev/null");
}

// A server store that cannot serve fails the run at its start, as a file
// store does: status 2, one line naming the store without its password.
TEST_P(GoldenReportTest, AServerStoreNeverLoadedFailsTheRunInOneLine) {
  if (!UseServerStore()) GTEST_SKIP() << "no PostgreSQL server here";
  InstallProgram(GetParam().program, kLevelOne, "");
  engineDb_ = "postgresql://postgres:Pa55word@/" + database_ + "?host=" + server_->Folder();
  const std::string report = root_.Join("out/report.xml");
  const ProcessResult result = Run("4242,32768,7," + WindowsPath(report), GetParam().input);
  EXPECT_EQ(result.exitStatus, 2) << result.err;
  EXPECT_EQ(result.err, "ledger engine: the server store " + database_ + " on " +
                            server_->Folder() +
                            ":5432 as postgres holds no store yet; fill it with `ledger-engine "
                            "load FILE.json`\n");
  EXPECT_FALSE(std::filesystem::exists(report));
}
#endif

// The committed expected reports are what the oracle writes today: a data
// set edited without regenerating them is caught here.
TEST_P(GoldenReportTest, ExpectedReportIsTheOraclesCurrentOutput) {
  const GoldenCase& c = GetParam();
  const std::string python = FindOnPath("python3");
  if (python.empty()) GTEST_SKIP() << "python3 is not installed";
  const std::string output = root_.Join("oracle.xml");
  ProcessOptions options;
  options.args = {GoldenFile("make_expected.py"),
                  GoldenFile(c.name + std::string(".json")),
                  output,
                  "--income-kind",
                  c.incomeKind,
                  "--edition",
                  c.edition,
                  "--function-id",
                  "7"};
  if (c.supportFile) {
    options.args.push_back("--support");
    options.args.push_back(GoldenFile("SUPPORT.INF"));
  }
  ProcessResult result = RunProcess(python, options);
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  const std::string difference = FirstDifference(ExpectedReport(), ReadFileBytes(output));
  EXPECT_TRUE(difference.empty()) << difference << "\nrun tests/golden/regenerate.sh";
}

// The oracle's own rules against their tables of cases worked out by hand.
TEST(GoldenOracle, PassesItsOwnRuleTests) {
  const std::string python = FindOnPath("python3");
  if (python.empty()) GTEST_SKIP() << "python3 is not installed";
  ProcessOptions options;
  options.args = {GoldenFile("test_make_expected.py")};
  ProcessResult result = RunProcess(python, options);
  EXPECT_EQ(result.exitStatus, 0) << result.err;
}

// xmllint is a tool of the build machine; a Windows build relies on these
// checks of the same files there.
#ifndef _WIN32
TEST_P(GoldenReportTest, ExpectedReportIsWellFormed) {
  const std::string errors = XmlWellFormednessErrors(ExpectedReport());
  EXPECT_TRUE(errors.empty()) << errors;
}

#endif

INSTANTIATE_TEST_SUITE_P(DataSets, GoldenReportTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) {
                           std::string name;
                           for (const char* p = info.param.name; *p != '\0'; ++p) {
                             if (*p != '-') name += *p;
                           }
                           return name;
                         });

#ifndef _WIN32
// The checker itself must tell a broken report from a sound one, or the
// well-formedness checks above prove nothing.
struct MalformedCase {
  const char* name;
  std::string document;
};

void PrintTo(const MalformedCase& c, std::ostream* os) { *os << c.name; }

class XmlCheckTest : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(XmlCheckTest, RefusesABrokenReport) {
  EXPECT_NE(XmlWellFormednessErrors(GetParam().document), "");
}

const std::string kDeclaration = "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n";

INSTANTIATE_TEST_SUITE_P(
    Documents, XmlCheckTest,
    ::testing::Values(
        MalformedCase{"UnclosedElement", kDeclaration + "<REPORT>\r\n\t<DATA>\r\n</REPORT>\r\n"},
        MalformedCase{"BareAmpersand", kDeclaration + "<REPORT><A>x & y</A></REPORT>\r\n"},
        MalformedCase{"LoneLeadByte", kDeclaration + "<REPORT><A>\x95</A></REPORT>\r\n"},
        MalformedCase{"TruncatedDocument", kDeclaration + "<REPORT>\r\n\t<SYSTEM>\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(XmlCheck, AcceptsASoundShiftJisReport) {
  // 表 ends in 0x5C, the byte of a backslash: still one character.
  const std::string document =
      kDeclaration + "<REPORT>\r\n\t<A>\x95\x5C &amp; B</A>\r\n</REPORT>\r\n";
  EXPECT_EQ(XmlWellFormednessErrors(document), "");
}

#endif

TEST(XmlCheck, FirstDifferenceNamesTheLine) {
  const std::string expected = "a\r\nb\r\nc\r\n";
  EXPECT_EQ(FirstDifference(expected, expected), "");
  EXPECT_NE(FirstDifference(expected, "a\r\nB\r\nc\r\n").find("line 2"), std::string::npos);
  EXPECT_NE(FirstDifference(expected, "a\r\nb\r\n").find("(end of file)"), std::string::npos);
}

}  // namespace
}  // namespace pv14::testing
