// The engine's classes connected to a store holding the bundled sample,
// loaded through the tool; the sample's JSON is the tests' expectation.
// A suite over it holds for every store: its parameter is the store's kind
// (or a tuple that begins with it), and the server kind skips where no
// server can be had.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/LedgerEngine.h"
#include "tests/engine/JsonValues.h"
#include "tests/engine/ToolStore.h"

namespace pv14::testing {

class SampleEngine : public ::testing::Test {
 public:
  static constexpr char kBlueId[] = "NOTO-HYOGU-2023";
  static constexpr char kWhiteId[] = "TOWADA-SEW-2023";

 protected:
  static void TearDownTestSuite();
  void SetUp() override;
  void TearDown() override;

  virtual StoreKind Kind() const = 0;

  static const Json& Sample();
  // The sample's data set with that id.
  static const Json& DataSetOf(const std::string& dataId);

  // Loads another file into a store of its own, of the same kind, and
  // connects to it instead.
  void ConnectTo(const std::string& json);
  // The store last connected.
  ToolStore& Connected() const { return *connected_; }

 private:
  // The sample's store of each kind, loaded once for the suite.
  static std::unique_ptr<ToolStore> samples_[2];
  std::vector<std::unique_ptr<ToolStore>> own_;
  ToolStore* connected_ = nullptr;
};

template <class Param = StoreKind>
class SampleEngineOf : public SampleEngine, public ::testing::WithParamInterface<Param> {
 protected:
  StoreKind Kind() const override { return KindOf(this->GetParam()); }
};

}  // namespace pv14::testing
