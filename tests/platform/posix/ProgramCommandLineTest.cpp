// The command line as the program takes it here: the arguments joined with
// single blanks, each byte as the caller gave it, so a caller's path that is
// not code page 932 still arrives with its window and message (the path
// check then refuses it where the user sees it).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ProgramCommandLine.h"

namespace pv14::testing {
namespace {

struct CommandLineCase {
  const char* name;
  std::vector<std::string> arguments;  // after the program's name
  std::string text;
};

class ProgramCommandLineTest : public ::testing::TestWithParam<CommandLineCase> {};

TEST_P(ProgramCommandLineTest, JoinsTheArgumentsAsTheyStand) {
  std::vector<std::string> storage = {"LedgerStd19ToPv14"};
  storage.insert(storage.end(), GetParam().arguments.begin(), GetParam().arguments.end());
  std::vector<char*> argv;
  for (std::string& argument : storage) argv.push_back(argument.data());
  argv.push_back(nullptr);
  EXPECT_EQ(ProgramCommandLine(static_cast<int>(storage.size()), argv.data()), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProgramCommandLineTest,
    ::testing::Values(
        CommandLineCase{"NameAlone", {}, ""},
        CommandLineCase{"Plain", {"1234,32768,5,Z:\\out\\r.xml"}, "1234,32768,5,Z:\\out\\r.xml"},
        CommandLineCase{
            "SplitAtBlanks", {"1,2,3,Z:\\my", "folder\\r.xml"}, "1,2,3,Z:\\my folder\\r.xml"},
        CommandLineCase{"EmptyArgumentsKeepTheirBlanks", {"", "1,2,3", ""}, " 1,2,3 "},
        CommandLineCase{"BytesOfNoCodePage932FormStand",
                        {"1,2,3,Z:\\\x80\xFF\\r.xml"},
                        "1,2,3,Z:\\\x80\xFF\\r.xml"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pv14::testing
