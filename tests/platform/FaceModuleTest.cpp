// A face module beside the program: what is missing or broken gives no face
// (the console runs instead), and only a broken one is worth a line.
#include "platform/FaceModule.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace pv14::testing {
namespace {

struct ModuleCase {
  const char* name;
  const char* content;  // null: no such file beside the program
  bool noted;
};

class FaceModuleTest : public ::testing::TestWithParam<ModuleCase> {};

TEST_P(FaceModuleTest, GivesNoFace) {
  const ModuleCase& c = GetParam();
  const std::string file = std::string("pv14-test-") + c.name + ".so";
  const auto beside = std::filesystem::read_symlink("/proc/self/exe").parent_path() / file;
  if (c.content != nullptr) std::ofstream(beside) << c.content;
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(OpenFaceModule(file, "pv14_open_test_face"), nullptr);
  const std::string said = ::testing::internal::GetCapturedStderr();
  std::filesystem::remove(beside);
  EXPECT_EQ(!said.empty(), c.noted) << said;
}

INSTANTIATE_TEST_SUITE_P(Modules, FaceModuleTest,
                         ::testing::Values(ModuleCase{"Missing", nullptr, false},
                                           ModuleCase{"NotAModule", "not a shared object", true},
                                           ModuleCase{"Empty", "", true}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pv14::testing
