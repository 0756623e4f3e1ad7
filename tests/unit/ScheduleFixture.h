// What the tests of the breakdown schedules share: a writer over a store the
// test fills, an output in memory, and expected report lines.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <string_view>

#include "collect/CollectedData.h"
#include "platform/TaskMem.h"
#include "report/ReportWriter.h"
#include "report/XmlOutput.h"
#include "tests/fakes/MemoryFile.h"
#include "tests/fakes/TestEdition.h"

namespace pv14::testing {

// An engine block as the collection leaves it: from the task allocator, all
// zero. The store frees it.
template <class Block>
Block& NewBlock(Block*& member) {
  member = static_cast<Block*>(CoTaskMemAlloc(sizeof(Block)));
  std::memset(static_cast<void*>(member), 0, sizeof(Block));
  return *member;
}

// Expected report lines.
inline std::string Tabs(int depth) { return std::string(static_cast<std::size_t>(depth), '\t'); }
inline std::string Tag(int depth, std::string_view name, std::string_view value = {}) {
  return Tabs(depth) + "<" + std::string(name) + ">" + std::string(value) + "</" +
         std::string(name) + ">\r\n";
}
inline std::string OpenRow(std::string_view name, int count) {
  return "\t\t\t\t<" + std::string(name) + " COUNT=\"" + std::to_string(count) + "\">\r\n";
}
inline std::string CloseRow(std::string_view name) {
  return "\t\t\t\t</" + std::string(name) + ">\r\n";
}

using Operation = std::function<int(ReportWriter&, XmlOutput&)>;

// One row of a section table: the operation, its result and the exact
// bytes it writes over the test's filled store.
struct SectionCase {
  const char* name;
  Operation op;
  int result;
  std::string expected;
};

struct Written {
  int result;
  std::string bytes;
  int writes;
};

// Runs one operation over the store into a file that refuses its
// failAtWrite-th write (0: none).
inline Written RunOn(const CollectedData& data, const Operation& op, int failAtWrite = 0) {
  MemoryFile file(failAtWrite);
  const std::string path = "Z:\\report.xml";
  XmlOutput out;
  out.Open(&file, &path);
  // The schedules never ask the environment for anything.
  ReportWriter writer(Env::Default(), nullptr, data, 1, testing::TestEdition().defaultProductName);
  const int result = op(writer, out);
  return {result, file.contents, file.writes};
}

// Every write of the operation fails in turn: the operation must stop with 0
// and leave exactly the lines written before the failed one.
inline void ExpectStopsAtEveryFailedWrite(const CollectedData& data, const Operation& op) {
  const Written clean = RunOn(data, op);
  ASSERT_EQ(clean.result, 1);
  std::string before;
  for (int k = 1; k <= clean.writes; ++k) {
    const Written failed = RunOn(data, op, k);
    EXPECT_EQ(failed.result, 0) << "write " << k;
    EXPECT_EQ(failed.bytes, before) << "write " << k;
    const std::size_t lineEnd = clean.bytes.find("\r\n", before.size());
    before = clean.bytes.substr(0, lineEnd + 2);
  }
}

}  // namespace pv14::testing
