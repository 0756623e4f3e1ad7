#include "tests/engine/SampleEngine.h"

#include <cstdlib>

namespace pv14::testing {

std::unique_ptr<ToolStore> SampleEngine::store_;
std::unique_ptr<Json> SampleEngine::sample_;

void SampleEngine::SetUpTestSuite() {
  sample_ = std::make_unique<Json>(Json::parse(SampleText()));
  store_ = std::make_unique<ToolStore>();
  const ProcessResult load = store_->Load(SampleText());
  ASSERT_EQ(load.exitStatus, 0) << load.err;
}

void SampleEngine::TearDownTestSuite() {
  store_.reset();
  sample_.reset();
}

void SampleEngine::SetUp() {
  ::setenv("LEDGER_ENGINE_DB", store_->DatabasePath().c_str(), 1);
  ASSERT_EQ(ClAccConnect::Inst()->Initiate(), kEngineOk);
}

void SampleEngine::TearDown() {
  ClAccConnect::Inst()->LogOut();
  ClAccConnect::Inst()->Terminate();
  ClAccConnect::Inst()->Release();
}

const Json& SampleEngine::DataSetOf(const std::string& dataId) {
  for (const Json& set : Sample()["DataSets"]) {
    if (set["DataId"] == dataId) return set;
  }
  ADD_FAILURE() << "the sample has no data set " << dataId;
  static const Json none = Json::object();
  return none;
}

void SampleEngine::ConnectTo(ToolStore& store, const std::string& json) {
  const ProcessResult load = store.Load(json);
  ASSERT_EQ(load.exitStatus, 0) << load.err;
  ::setenv("LEDGER_ENGINE_DB", store.DatabasePath().c_str(), 1);
  ASSERT_EQ(ClAccConnect::Inst()->Initiate(), kEngineOk);
}

}  // namespace pv14::testing
