#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
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

TEST(SupportInfoFileTest, FileThatFailsPartWayCountsAsMissing) {
  ReportTestEnv env;
  MemoryFile file;
  file.contents = NameKey() + "N\r\n" + VersionKey() + "V\r\n";
  file.failReadAt = NameKey().size() + 3;  // the name's line came in before the failure
  env.support = &file;
  SupportInfoFile info(env);
  EXPECT_EQ(info.ProductName(), "");
  EXPECT_EQ(info.ProductVersion(), "");
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

// The support file's buffer is global memory. When there is none, the
// writer's Ui shows the out-of-memory message at each attempt, and the
// lookup answers empty, so the defaults are written.
class NoMemoryEnv : public ReportTestEnv {
 public:
  std::unique_ptr<unsigned char[]> GlobalAlloc(std::size_t size) override {
    ++allocations;
    if (failures > 0) {
      --failures;
      return nullptr;
    }
    return ReportTestEnv::GlobalAlloc(size);
  }
  int failures = 0;
  int allocations = 0;
};

struct NoMemoryCase {
  const char* name;
  int failures;
  int messages;
  std::string productName, productVersion;
};

class SupportInfoNoMemoryTest : public ::testing::TestWithParam<NoMemoryCase> {};

TEST_P(SupportInfoNoMemoryTest, TheWritersUiShowsTheMessage) {
  const NoMemoryCase& c = GetParam();
  NoMemoryEnv env;
  env.failures = c.failures;
  MemoryFile file;
  file.contents = NameKey() + "N\r\n" + VersionKey() + "19.00.07\r\n";
  env.support = &file;
  testing::FakeUi ui;
  CollectedData data;
  MemoryFile report;
  const std::string path = "Z:\\r.xml";
  XmlOutput out;
  out.Open(&report, &path);
  ReportWriter writer(env, nullptr, data, 1, TestEdition().defaultProductName, &ui);
  ASSERT_EQ(writer.WriteSystem(out, 1), 1);
  EXPECT_NE(report.contents.find("<PROGRAMNAME>" + c.productName + "</PROGRAMNAME>"),
            std::string::npos);
  EXPECT_NE(report.contents.find("<PROGRAMVER>" + c.productVersion + "</PROGRAMVER>"),
            std::string::npos);
  ASSERT_EQ(ui.messageBoxes.size(), static_cast<std::size_t>(c.messages));
  for (const auto& box : ui.messageBoxes) {
    EXPECT_EQ(box.text, SJ("ﾒﾓﾘが不足しています。"));
    EXPECT_EQ(box.style, kMbOk);
  }
  // Each lookup tries again until a buffer exists; then it is kept.
  EXPECT_EQ(env.allocations, std::min(c.failures + 1, 2));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SupportInfoNoMemoryTest,
    ::testing::Values(NoMemoryCase{"Enough", 0, 0, "N", "19.00.07"},
                      NoMemoryCase{"OnceThenEnough", 1, 1, TestEdition().defaultProductName,
                                   "19.00.07"},
                      NoMemoryCase{"Never", 5, 2, TestEdition().defaultProductName, "19.00.0X"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pv14
