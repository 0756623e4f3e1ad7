// A store of one test's own, filled and read through the `ledger-engine`
// tool as a user would: a file in a folder of its own, or a database of its
// own on the test run's PostgreSQL server.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <type_traits>
#include <vector>

#include "tests/support/Process.h"
#include "tests/support/TempDir.h"

namespace pv14::testing {

class TestServer;

enum class StoreKind { kFile, kServer };

// Both kinds, for a suite that holds for every store; a server kind's test
// skips where no server can be had.
inline auto EveryStoreKind() { return ::testing::Values(StoreKind::kFile, StoreKind::kServer); }
std::string StoreKindName(StoreKind kind);
std::string StoreKindTestName(const ::testing::TestParamInfo<StoreKind>& info);

class ToolStore {
 public:
  explicit ToolStore(StoreKind kind = StoreKind::kFile);
  ToolStore(const ToolStore&) = delete;
  ToolStore& operator=(const ToolStore&) = delete;
  ~ToolStore();

  StoreKind Kind() const { return kind_; }
  // Why the store cannot be had here (no server); empty when it can.
  const std::string& Unavailable() const { return unavailable_; }
  // $LEDGER_ENGINE_DB of every run: the file's path or the database's URI.
  const std::string& Location() const { return location_; }
  // The database file of a file store.
  const std::string& DatabasePath() const;
  // The server and the database name of a server store.
  TestServer* Server() const { return server_; }
  const std::string& Database() const { return database_; }
  TempDir& Folder() { return folder_; }

  ProcessResult Run(const std::vector<std::string>& args);
  // Writes the text to a file and loads it.
  ProcessResult Load(const std::string& json);
  ProcessResult Dump();

 private:
  StoreKind kind_;
  TempDir folder_{"engine"};
  std::string location_;
  std::string unavailable_;
  TestServer* server_ = nullptr;
  std::string database_;
  int files_ = 0;
};

// The store kind of a suite's parameter: the kind, or the first of a tuple.
template <class Param>
StoreKind KindOf(const Param& param) {
  if constexpr (std::is_same_v<Param, StoreKind>) {
    return param;
  } else {
    return std::get<0>(param);
  }
}

// A suite whose every test has a store of its own of the parameter's kind.
template <class Param = StoreKind>
class StoreSuite : public ::testing::TestWithParam<Param> {
 protected:
  void SetUp() override {
    if (!store_.Unavailable().empty()) GTEST_SKIP() << store_.Unavailable();
  }
  ToolStore store_{KindOf(this->GetParam())};
};

// The bundled sample company, as text.
std::string SampleText();

}  // namespace pv14::testing
