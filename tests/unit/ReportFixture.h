// What the tests of the report writer and its sections share: an
// environment whose files live in memory (the report in one MemoryFile,
// "SUPPORT.INF" in another), a store the test fills, builders of expected
// report lines, and runs of one writer operation, also failing at every
// write in turn.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "collect/CollectedData.h"
#include "engine/FieldText.h"
#include "platform/EnvWrapper.h"
#include "platform/ShiftJis.h"
#include "platform/TaskMem.h"
#include "report/ReportWriter.h"
#include "report/XmlOutput.h"
#include "tests/fakes/MemoryFile.h"
#include "tests/fakes/TestEdition.h"

namespace pv14::testing {

// A file object that chooses its backing MemoryFile when it is opened: the
// support file by its name, the report for any other path. The test keeps
// the MemoryFiles, so they outlive the writer's file objects. A missing
// backing file cannot be opened.
class ReportTestFile : public File {
 public:
  ReportTestFile(MemoryFile* report, MemoryFile* support, std::vector<std::string>* opened)
      : report_(report), support_(support), opened_(opened) {}

  bool Open(const std::string& path, unsigned flags) override {
    opened_->push_back(path + (flags == (kCreate | kWrite) ? " create+write"
                               : flags == kRead            ? " read"
                                                           : " other"));
    target_ = path == "SUPPORT.INF" ? support_ : report_;
    return target_ != nullptr && target_->Open(path, flags);
  }
  bool Write(const void* data, std::size_t size) override {
    return target_ != nullptr && target_->Write(data, size);
  }
  bool Read(void* buffer, std::size_t size, std::size_t* got) override {
    return target_ != nullptr && target_->Read(buffer, size, got);
  }
  void Close() override {
    if (target_ != nullptr) target_->Close();
  }
  bool IsOpen() const override { return target_ != nullptr && target_->IsOpen(); }

 private:
  MemoryFile* report_;
  MemoryFile* support_;
  std::vector<std::string>* opened_;
  MemoryFile* target_ = nullptr;
};

class ReportTestEnv : public EnvWrapper {
 public:
  ReportTestEnv() : EnvWrapper(Env::Default()) {}

  std::unique_ptr<File> NewFile() override {
    ++newFileCalls;
    if (refuseNewFile) return nullptr;
    return std::make_unique<ReportTestFile>(report, support, &opened);
  }
  std::string MapFullWidth(const std::string& text) override {
    return mapFullWidth ? mapFullWidth(text) : text;
  }

  MemoryFile* report = nullptr;
  MemoryFile* support = nullptr;  // null: there is no support file
  bool refuseNewFile = false;
  std::function<std::string(const std::string&)> mapFullWidth;
  std::vector<std::string> opened;  // "<path> <flags>" per Open
  int newFileCalls = 0;
};

// The full-width form the locale service gives ASCII capitals and digits;
// any other character stays as it is.
inline std::string MapCapitalsAndDigits(const std::string& text) {
  std::string mapped;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (i + 1 < text.size() && sjis::IsLeadByte(static_cast<unsigned char>(c)) &&
        sjis::IsTrailByte(static_cast<unsigned char>(text[i + 1]))) {
      mapped += text.substr(i, 2);
      ++i;
    } else if (c >= 'A' && c <= 'Z') {
      mapped += '\x82';
      mapped += static_cast<char>(0x60 + (c - 'A'));
    } else if (c >= '0' && c <= '9') {
      mapped += '\x82';
      mapped += static_cast<char>(0x4F + (c - '0'));
    } else {
      mapped += c;
    }
  }
  return mapped;
}

// ---------------------------------------------------------------- the store

// An engine block as the collection leaves it: from the task allocator, all
// zero. The store frees it.
template <class Block>
Block& NewZeroBlock(Block*& member, std::size_t count = 1) {
  member = static_cast<Block*>(CoTaskMemAlloc(sizeof(Block) * count));
  std::memset(static_cast<void*>(member), 0, sizeof(Block) * count);
  return *member;
}

// Every saved-details block present and empty, as for a data set whose
// statements hold nothing yet.
inline void AddEmptyBlocks(CollectedData& data) {
  auto addAll = [](auto& info) {
    ForEachBlock(info, [&info](auto member) { NewZeroBlock(info.*member); });
  };
  addAll(data.GeneralSaveInfo);
  addAll(data.RealEstateSaveInfo);
  data.RealEstateSaveInfo.IncomeRows->RowKey = kIncomeRowsEnd;
}

inline SumRecord Row(std::int32_t code, std::string_view name, std::int64_t opening,
                     std::int64_t closing) {
  SumRecord row{};
  row.Code = code;
  SetFieldText(row.ItemName, name);
  row.OpeningBalance = opening;
  row.ClosingBalance = closing;
  return row;
}

inline StDATAINFO Record(std::uint8_t returnKind, std::string_view company = "ABC",
                         std::int32_t from = 20170101, std::int32_t to = 20171231) {
  StDATAINFO record{};
  SetFieldText(record.CompanyName, company);
  record.ReturnKind = returnKind;
  record.PeriodFrom = from;
  record.PeriodTo = to;
  return record;
}

constexpr std::int64_t kYen = 10000;  // stored amounts are yen x 10000

// ---------------------------------------------------------- expected lines

inline std::string Tabs(int depth) { return std::string(static_cast<std::size_t>(depth), '\t'); }
inline std::string Element(int depth, std::string_view name, std::string_view value = {}) {
  return Tabs(depth) + "<" + std::string(name) + ">" + std::string(value) + "</" +
         std::string(name) + ">\r\n";
}
inline std::string Open(int depth, std::string_view name) {
  return Tabs(depth) + "<" + std::string(name) + ">\r\n";
}
inline std::string Close(int depth, std::string_view name) {
  return Tabs(depth) + "</" + std::string(name) + ">\r\n";
}
// A schedule's counted row element and its end.
inline std::string OpenRow(std::string_view name, int count) {
  return Tabs(4) + "<" + std::string(name) + " COUNT=\"" + std::to_string(count) + "\">\r\n";
}
inline std::string CloseRow(std::string_view name) { return Close(4, name); }

// ---------------------------------------------------------- one operation

using Operation = std::function<int(ReportWriter&, XmlOutput&)>;

// One row of a section table: the operation, its result and the exact
// bytes it writes over the test's filled store.
struct SectionCase {
  const char* name;
  Operation op;
  int result;
  std::string expected;
};

struct SectionRun {
  int result;
  std::string bytes;
  std::vector<std::string> lines;  // one per successful write
  int writes;                      // write calls, the failed one included
};

// One writer operation over the store into a memory file that refuses its
// failAtWrite-th write (0: none). env, when given, serves the writer's
// other needs (the support file, the full-width mapping).
inline SectionRun RunSection(const CollectedData& data, const Operation& op, int failAtWrite = 0,
                             std::int16_t incomeKind = 1, ReportTestEnv* env = nullptr) {
  ReportTestEnv ownEnv;
  MemoryFile file(failAtWrite);
  const std::string path = "Z:\\report.xml";
  XmlOutput out;
  out.Open(&file, &path);
  ReportWriter writer(env != nullptr ? *env : ownEnv, nullptr, data, incomeKind,
                      TestEdition().defaultProductName);
  const int result = op(writer, out);
  return {result, file.contents, file.lines, file.writes};
}

// The k-th write of the operation fails, for k = 1, 2, ... until the
// operation no longer meets the fault: each time it must stop with 0 and
// leave exactly the lines written before the failed one.
inline void ExpectStopsAtEveryFailedWrite(const CollectedData& data, const Operation& op) {
  const SectionRun clean = RunSection(data, op);
  ASSERT_EQ(clean.result, 1);
  std::string before;
  for (int k = 1;; ++k) {
    const SectionRun run = RunSection(data, op, k);
    if (run.writes < k) {  // the fault never fired
      EXPECT_EQ(run.result, 1);
      EXPECT_EQ(run.bytes, clean.bytes);
      break;
    }
    EXPECT_EQ(run.result, 0) << "write " << k;
    EXPECT_EQ(run.bytes, before) << "write " << k;
    const std::size_t lineEnd = clean.bytes.find("\r\n", before.size());
    ASSERT_NE(lineEnd, std::string::npos) << "write " << k << " past the clean run's lines";
    before = clean.bytes.substr(0, lineEnd + 2);
  }
}

}  // namespace pv14::testing
