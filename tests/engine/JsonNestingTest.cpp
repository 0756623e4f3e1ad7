// Objects and arrays nested deeper than the form goes are refused before a
// document is built, at the place they start; the loader's memory stays in
// proportion to its input, whatever that input nests.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>
#endif

#include <string>

#include "ledgerengine/FormError.h"
#include "ledgerengine/JsonForm.h"
#include "tests/engine/ToolStore.h"

namespace pv14::testing {
namespace {

using ledger::FormError;
using ledger::ReadEngineJson;

// The form's deepest place: top level, DataSets, a data set, Statements,
// General, PL, a row; inner holds the row's members.
std::string DeepestRow(const std::string& inner) {
  return R"({"DataSets": [{"DataId": "D1", "DataNo": 1, "Statements": {"General": {"PL": [{)" +
         inner + "}]}}}]}";
}

struct Nesting {
  const char* name;
  std::string file;
  std::string refusal;  // empty: the nesting is accepted (whatever else is said)
};

class Nestings : public ::testing::TestWithParam<Nesting> {};

TEST_P(Nestings, AreRefusedOnlyPastTheFormsDepthAndWhereTheyStart) {
  const Nesting& nesting = GetParam();
  std::string refused;
  try {
    ReadEngineJson(nesting.file);
  } catch (const FormError& error) {
    refused = error.what();
  }
  if (nesting.refusal.empty()) {
    EXPECT_EQ(refused.find("nesting"), std::string::npos) << refused;
  } else {
    EXPECT_EQ(refused, nesting.refusal);
  }
}

const std::string kTooDeep = "nesting deeper than the form's 7 levels of objects and arrays at ";

INSTANTIATE_TEST_SUITE_P(
    Json, Nestings,
    ::testing::Values(
        Nesting{"AtTheLimitLoads", DeepestRow(R"("LineNo": 1, "ClosingBalance": 5)"), ""},
        Nesting{"ArraysAtTheLimitAreOnlyOfTheWrongShape", std::string(7, '[') + std::string(7, ']'),
                ""},
        Nesting{"OneBeyondInARow", DeepestRow(R"("LineNo": [1])"), kTooDeep + "line 1, column 90"},
        Nesting{"OneBeyondOnALaterLine", "{\"DataSets\": [[[[[\n  [ [ ] ] ] ] ] ] ] ]}",
                kTooDeep + "line 2, column 5"},
        Nesting{"BracketsInTextsDoNotCount",
                "{\"CurrentUserId\": \"[[[[[[[[\\\"[[\", \"DataSets\": [[[[[[[]]]]]]]}",
                kTooDeep + "line 1, column 53"},
        Nesting{"UnclosedBracketsWithoutEnd", std::string(100000, '['),
                kTooDeep + "line 1, column 8"}),
    [](const auto& info) { return std::string(info.param.name); });

#ifndef _WIN32
long PeakKilobytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// Once, 4 MB of brackets needed more than 24 GB.
TEST(JsonNesting, FourMegabytesOfBracketsStayWithinAFewMegabytes) {
  const long before = PeakKilobytes();
  for (const char* open : {"[", "{\"a\":"}) {
    std::string file;
    while (file.size() < 4 * 1024 * 1024) file += open;
    EXPECT_THROW(ReadEngineJson(file), FormError);
  }
  EXPECT_LT(PeakKilobytes() - before, 32 * 1024) << "kilobytes of peak growth";
}
#endif

TEST(JsonNesting, TheToolSaysWhereAndKeepsTheStore) {
  ToolStore store;
  ASSERT_EQ(store.Load(SampleText()).exitStatus, 0);
  const std::string before = store.Dump().out;
  const ProcessResult load = store.Load(std::string(1000000, '['));
  EXPECT_EQ(load.exitStatus, 1);
  // The place ends the line; a Windows text stream ends it with CR LF.
  const std::string where = ": " + kTooDeep + "line 1, column 8";
  const std::size_t at = load.err.find(where);
  ASSERT_NE(at, std::string::npos) << load.err;
  EXPECT_NE(std::string("\r\n").find(load.err[at + where.size()]), std::string::npos) << load.err;
  EXPECT_EQ(store.Dump().out, before);
}

}  // namespace
}  // namespace pv14::testing
