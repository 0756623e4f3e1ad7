#include "tests/engine/SampleEngine.h"

#include <cstdlib>

namespace pv14::testing {

std::unique_ptr<ToolStore> SampleEngine::samples_[2];

const Json& SampleEngine::Sample() {
  static const Json sample = Json::parse(SampleText());
  return sample;
}

void SampleEngine::TearDownTestSuite() {
  for (auto& store : samples_) store.reset();
}

void SampleEngine::SetUp() {
  std::unique_ptr<ToolStore>& sample = samples_[Kind() == StoreKind::kFile ? 0 : 1];
  if (sample == nullptr) {
    auto store = std::make_unique<ToolStore>(Kind());
    if (!store->Unavailable().empty()) GTEST_SKIP() << store->Unavailable();
    const ProcessResult load = store->Load(SampleText());
    ASSERT_EQ(load.exitStatus, 0) << load.err;
    sample = std::move(store);
  }
  connected_ = sample.get();
  ::setenv("LEDGER_ENGINE_DB", sample->Location().c_str(), 1);
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

void SampleEngine::ConnectTo(const std::string& json) {
  own_.push_back(std::make_unique<ToolStore>(Kind()));
  ToolStore& store = *own_.back();
  ASSERT_TRUE(store.Unavailable().empty()) << store.Unavailable();
  const ProcessResult load = store.Load(json);
  ASSERT_EQ(load.exitStatus, 0) << load.err;
  connected_ = &store;
  ::setenv("LEDGER_ENGINE_DB", store.Location().c_str(), 1);
  ASSERT_EQ(ClAccConnect::Inst()->Initiate(), kEngineOk);
}

}  // namespace pv14::testing
