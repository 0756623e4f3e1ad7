// The engine's classes connected to a store holding the bundled sample,
// loaded through the tool; the sample's JSON is the tests' expectation.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/LedgerEngine.h"
#include "tests/engine/JsonValues.h"
#include "tests/engine/ToolStore.h"

namespace pv14::testing {

class SampleEngine : public ::testing::Test {
 public:
  static constexpr char kBlueId[] = "NOTO-HYOGU-2023";
  static constexpr char kWhiteId[] = "TOWADA-SEW-2023";

 protected:
  static void SetUpTestSuite();
  static void TearDownTestSuite();
  void SetUp() override;
  void TearDown() override;

  static const Json& Sample() { return *sample_; }
  // The sample's data set with that id.
  static const Json& DataSetOf(const std::string& dataId);

  // Loads another file into a store of its own and connects to it instead.
  static void ConnectTo(ToolStore& store, const std::string& json);

 private:
  static std::unique_ptr<ToolStore> store_;
  static std::unique_ptr<Json> sample_;
};

}  // namespace pv14::testing
