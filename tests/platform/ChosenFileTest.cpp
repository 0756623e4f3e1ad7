// A path picked in the desktop's file dialog, turned into the program's
// Windows form through the drive table, or refused with a reason.
#include "platform/ChosenFile.h"

#include <string>

#include <gtest/gtest.h>

#include "tests/platform/Sj.h"

namespace pv14::testing {
namespace {

struct ChosenCase {
  const char* name;
  std::string table;
  std::string posix;
  std::string windows;  // Shift_JIS; empty: refused
  const char* refusalMentions = "";
};

class ChosenFileTest : public ::testing::TestWithParam<ChosenCase> {};

TEST_P(ChosenFileTest, ConvertsOrRefuses) {
  const ChosenCase& c = GetParam();
  std::string error;
  auto drives = DriveTable::Parse(c.table, &error);
  ASSERT_TRUE(drives) << error;
  ChosenFile chosen = ChosenFileInWindowsForm(*drives, c.posix);
  EXPECT_EQ(chosen.windowsPath, c.windows);
  EXPECT_EQ(chosen.refusal.empty(), !c.windows.empty());
  if (!c.windows.empty()) return;
  EXPECT_NE(chosen.refusal.find(c.refusalMentions), std::string::npos);
  EXPECT_TRUE(Cp932ToUtf8(chosen.refusal).has_value()) << "the refusal is Shift_JIS text";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ChosenFileTest,
    ::testing::Values(
        ChosenCase{"DefaultTable", "Z=/", "/home/me/out.xml", "Z:\\home\\me\\out.xml"},
        ChosenCase{"LongestRootWins", "Z=/;D=/home/me", "/home/me/a/b.xml", "D:\\a\\b.xml"},
        ChosenCase{"Share", "\\\\srv\\docs=/mnt/docs", "/mnt/docs/r.xml", "\\\\srv\\docs\\r.xml"},
        ChosenCase{"JapaneseNames", "D=/data", "/data/表/ソ.xml", Sj("D:\\表\\ソ.xml")},
        ChosenCase{"NoDriveCoversIt", "D=/data", "/home/me/out.xml", "", "PV14_DRIVES"},
        ChosenCase{"SiblingWithTheRootAsPrefix", "D=/data", "/database/out.xml", "", "PV14_DRIVES"},
        ChosenCase{"PathShownInTheRefusal", "D=/data", "/srv/x.xml", "", "/srv/x.xml"},
        ChosenCase{"NameWithoutShiftJisForm", "Z=/", "/tmp/\xED\x95\x9C.xml", "", "/tmp/?.xml"},
        ChosenCase{"BackslashInAPosixName", "Z=/", "/tmp/a\\b.xml", "", "Shift_JIS"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pv14::testing
