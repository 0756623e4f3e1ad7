#include <gtest/gtest.h>

#include <string>

#include "report/SupportInfoFile.h"
#include "resources/Text.h"
#include "tests/fakes/FakeUi.h"
#include "tests/unit/ReportFixture.h"

namespace pv14 {
namespace {

using namespace pv14::testing;

const std::string& Key(std::size_t index) { return SupportInfoFile::Keys()[index]; }
const std::string& NameKey() { return Key(SupportInfoFile::kProductNameKey); }
const std::string& VersionKey() { return Key(SupportInfoFile::kProductVersionKey); }

TEST(SupportInfoFileTest, KeyTableHoldsTheFormsKeys) {
  ASSERT_EQ(SupportInfoFile::Keys().size(), 21u);
  EXPECT_EQ(NameKey(), SJ("[=製品名=]"));
  EXPECT_EQ(NameKey().size(), 10u);
  EXPECT_EQ(VersionKey().size(), 15u);  // its half-width katakana are single bytes
  EXPECT_EQ(Key(SupportInfoFile::kInquiryKey).size(), 20u);
  EXPECT_EQ(Key(SupportInfoFile::kReproductionKey).size(), 28u);
  EXPECT_EQ(SupportInfoFile::Keys().back(), SJ("[=再現性=]"));
}

struct LookupCase {
  const char* name;
  std::string contents;
  std::string expectedName;
  std::string expectedVersion;
};

TEST(SupportInfoFileTest, Lookups) {
  const std::size_t size = SupportInfoFile::kBufferSize;
  const LookupCase cases[] = {
      {"line", NameKey() + SJ("勘定丸１９") + "\r\n", SJ("勘定丸１９"), ""},
      {"both", VersionKey() + "19.00.03\r\n" + NameKey() + "N\r\n", "N", "19.00.03"},
      {"blanks kept", NameKey() + " N \r\n", " N ", ""},
      {"first of two", NameKey() + "A\r\n" + NameKey() + "B\r\n", "A", ""},
      {"last line without CR LF", "x\r\n" + NameKey() + "Last", "Last", ""},
      {"end-of-file mark", NameKey() + "N\x1A", "N", ""},
      {"key inside a line", "see " + NameKey() + "Mid\r\n", "Mid", ""},
      {"lone CR kept", NameKey() + "a\rb\r\n", "a\rb", ""},
      {"missing keys", "[=TEL=]1\r\n", "", ""},
      {"value cut where the buffer ends",
       std::string(size - NameKey().size() - 5, 'x') + NameKey() + "ABCDEFGH\r\n" + VersionKey() +
           "2",
       "ABCDE", ""},
      {"key beyond the buffer", std::string(size - 4, 'x') + NameKey() + "N\r\n", "", ""},
      {"unterminated value filling the buffer",
       std::string(size - NameKey().size() - 4, 'x') + NameKey() + "Last", "Last", ""},
  };
  for (const LookupCase& c : cases) {
    SCOPED_TRACE(c.name);
    ReportTestEnv env;
    MemoryFile file;
    file.contents = c.contents;
    env.support = &file;
    SupportInfoFile info(env);
    EXPECT_EQ(info.ProductName(), c.expectedName);
    EXPECT_EQ(info.ProductVersion(), c.expectedVersion);
    EXPECT_EQ(env.opened, std::vector<std::string>{"SUPPORT.INF read"});  // read once
  }
}

TEST(SupportInfoFileTest, FreeTextFieldsKeepLineBreaksUpToTheNextKey) {
  ReportTestEnv env;
  MemoryFile file;
  file.contents = Key(SupportInfoFile::kInquiryKey) + "line 1\r\nline 2\r\n" + NameKey() + "N\r\n" +
                  Key(SupportInfoFile::kReproductionKey) + "step 1\r\nstep 2\r\n";
  env.support = &file;
  SupportInfoFile info(env);
  EXPECT_EQ(info.Value(SupportInfoFile::kInquiryKey), "line 1\r\nline 2");
  EXPECT_EQ(info.ProductName(), "N");
  EXPECT_EQ(info.Value(SupportInfoFile::kReproductionKey), "step 1\r\nstep 2\r\n");
}

TEST(SupportInfoFileTest, MissingFileAnswersEmptyWithoutMessage) {
  ReportTestEnv env;
  testing::FakeUi ui;
  SupportInfoFile info(env, &ui);
  EXPECT_EQ(env.newFileCalls, 0);  // construction touches nothing
  EXPECT_EQ(info.ProductName(), "");
  EXPECT_EQ(info.ProductVersion(), "");
  EXPECT_TRUE(ui.messageBoxes.empty());
  EXPECT_EQ(env.newFileCalls, 1);
  env.refuseNewFile = true;
  EXPECT_EQ(SupportInfoFile(env).ProductName(), "");
}

}  // namespace
}  // namespace pv14
