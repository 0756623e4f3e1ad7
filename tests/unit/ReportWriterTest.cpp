#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "dialogs/ProgressDialog.h"
#include "report/SupportInfoFile.h"
#include "resources/Text.h"
#include "tests/fakes/FakeUi.h"
#include "tests/unit/ReportFixture.h"

namespace pv14 {
namespace {

using namespace pv14::testing;

const std::string kPath = "Z:\\out\\report.xml";
constexpr std::uint8_t kNoReturnKind = 0;  // a data set that matched nothing

std::string SystemBlock(std::string_view id, std::string_view name, std::string_view version) {
  return Open(1, "SYSTEM") + Element(2, "GYOUMUPREFIX", "PV14") + Element(2, "VERSION", "1") +
         Element(2, "FUNCTIONID", id) + Element(2, "CONNECTEDPROGRAMVER", "19.00.00") +
         Element(2, "PROGRAMNAME", name) + Element(2, "PROGRAMVER", version) + Close(1, "SYSTEM");
}

std::string BasicBlock(std::string_view company, std::string_view kind, std::string_view income) {
  return Open(1, "BASIC") + Element(2, "KOMONSAKINAME", company) + Element(2, "AOSIROKUBUN", kind) +
         Element(2, "JIGYOUNENDOFROM", "20170101") + Element(2, "JIGYOUNENDOTO", "20171231") +
         Element(2, "SYOTOKUSYURUI", income) + Close(1, "BASIC");
}

struct SystemCase {
  const char* name;
  std::optional<std::string> supportFile;
  std::int16_t functionId;
  std::string expected;
};

TEST(ReportSystemTest, Block) {
  const std::string name = SJ("[=製品名=]"), version = SJ("[=製品ﾊﾞｰｼﾞｮﾝ=]");
  const SystemCase cases[] = {
      {"no support file", std::nullopt, 1,
       SystemBlock("1", testing::TestEdition().defaultProductName, "19.00.0X")},
      {"support file", name + "A & B\r\n" + version + "19.00.07\r\n", -7,
       SystemBlock("-7", "A &amp; B", "19.00.07")},
      {"keys without values", name + "\r\n" + version + "\r\n", 32767,
       SystemBlock("32767", testing::TestEdition().defaultProductName, "19.00.0X")},
      {"longest name its line holds", name + std::string(224, 'N'), 1,
       SystemBlock("1", std::string(224, 'N'), "19.00.0X")},
  };
  for (const SystemCase& c : cases) {
    SCOPED_TRACE(c.name);
    ReportTestEnv env;
    MemoryFile support;
    if (c.supportFile) {
      support.contents = *c.supportFile;
      env.support = &support;
    }
    CollectedData data;
    SectionRun run = RunSection(
        data, [&](auto& w, auto& o) { return w.WriteSystem(o, c.functionId); }, 0, 1, &env);
    EXPECT_EQ(run.bytes, c.expected);
    EXPECT_EQ(run.result, c.expected.ends_with("</SYSTEM>\r\n") ? 1 : 0);
  }
}

// A product name or version too long for its element line is cut at a
// character boundary where the line is full (255 bytes, escapes counted);
// the edition's default stands in only for an empty value.
struct SupportLengthCase {
  const char* name;
  std::string value;     // after the key in the support file
  std::string expected;  // the element's value
};

class SupportValueLengthTest : public ::testing::TestWithParam<SupportLengthCase> {
 protected:
  // The SYSTEM block written with the value as name (version false) or as
  // version (version true).
  static SectionRun Write(const std::string& value, bool version) {
    ReportTestEnv env;
    MemoryFile support;
    support.contents = SupportInfoFile::Keys()[version ? 1 : 0] + value + "\r\n";
    env.support = &support;
    CollectedData data;
    return RunSection(
        data, [](auto& w, auto& o) { return w.WriteSystem(o, 1); }, 0, 1, &env);
  }
};

std::string Times(const std::string& unit, std::size_t n) {
  std::string text;
  for (std::size_t i = 0; i < n; ++i) text += unit;
  return text;
}

// "\t\t<PROGRAMNAME>" and "</PROGRAMNAME>\r\n" leave 224 bytes of the line.
TEST_P(SupportValueLengthTest, ProductNameIsCutToItsLine) {
  const SectionRun run = Write(GetParam().value, false);
  EXPECT_EQ(run.result, 1);
  EXPECT_EQ(run.lines.at(5), Element(2, "PROGRAMNAME", GetParam().expected));
  EXPECT_LE(run.lines.at(5).size(), 255u);
}

const std::string kHyo = "\x95\x5C";  // 表, two bytes

INSTANTIATE_TEST_SUITE_P(
    Names, SupportValueLengthTest,
    ::testing::Values(
        SupportLengthCase{"SingleByte224Whole", std::string(224, 'a'), std::string(224, 'a')},
        SupportLengthCase{"SingleByte225Cut", std::string(225, 'a'), std::string(224, 'a')},
        SupportLengthCase{"SingleByte255Cut", std::string(255, 'a'), std::string(224, 'a')},
        SupportLengthCase{"SingleByte300Cut", std::string(300, 'a'), std::string(224, 'a')},
        SupportLengthCase{"DoubleByte224Whole", Times(kHyo, 112), Times(kHyo, 112)},
        SupportLengthCase{"DoubleByte226Cut", Times(kHyo, 113), Times(kHyo, 112)},
        SupportLengthCase{"DoubleByteNeverSplit", "a" + Times(kHyo, 112), "a" + Times(kHyo, 111)},
        SupportLengthCase{"DoubleByte255Cut", "a" + Times(kHyo, 127), "a" + Times(kHyo, 111)},
        SupportLengthCase{"EscapeThatWouldPassTheLine", std::string(220, 'a') + "&",
                          std::string(220, 'a')},
        SupportLengthCase{"EscapeThatFits", std::string(219, 'a') + "&",
                          std::string(219, 'a') + "&amp;"},
        SupportLengthCase{"NoValueGivesTheDefault", "", TestEdition().defaultProductName}),
    [](const auto& info) { return std::string(info.param.name); });

// "\t\t<PROGRAMVER>" and "</PROGRAMVER>\r\n" leave 226 bytes.
class SupportVersionLengthTest : public SupportValueLengthTest {};

TEST_P(SupportVersionLengthTest, ProductVersionIsCutToItsLine) {
  const SectionRun run = Write(GetParam().value, true);
  EXPECT_EQ(run.result, 1);
  EXPECT_EQ(run.lines.at(6), Element(2, "PROGRAMVER", GetParam().expected));
  EXPECT_LE(run.lines.at(6).size(), 255u);
}

INSTANTIATE_TEST_SUITE_P(
    Versions, SupportVersionLengthTest,
    ::testing::Values(
        SupportLengthCase{"SingleByte226Whole", std::string(226, '9'), std::string(226, '9')},
        SupportLengthCase{"SingleByte227Cut", std::string(227, '9'), std::string(226, '9')},
        SupportLengthCase{"SingleByte255Cut", std::string(255, '9'), std::string(226, '9')},
        SupportLengthCase{"DoubleByte226Whole", Times(kHyo, 113), Times(kHyo, 113)},
        SupportLengthCase{"DoubleByteNeverSplit", "a" + Times(kHyo, 113), "a" + Times(kHyo, 112)},
        SupportLengthCase{"OnlyEscapes", std::string(60, '&'), Times("&amp;", 45)},
        SupportLengthCase{"NoValueGivesTheDefault", "", "19.00.0X"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReportBasicTest, Block) {
  const struct {
    std::uint8_t returnKind;
    std::int16_t incomeKind;
    const char* expectedKind;
  } cases[] = {{kBlueReturn, 1, "1"}, {kWhiteReturn, 2, "2"}, {kNoReturnKind, 3, "1"}, {7, 1, "1"}};
  for (const auto& c : cases) {
    ReportTestEnv env;
    env.mapFullWidth = MapCapitalsAndDigits;
    CollectedData data;
    StDATAINFO record = Record(c.returnKind, "AB1");
    ReportWriter writer(env, nullptr, data, c.incomeKind,
                        testing::TestEdition().defaultProductName);
    MemoryFile file;
    XmlOutput out;
    out.Open(&file, &kPath);
    EXPECT_EQ(writer.WriteBasic(out, record), 1);
    EXPECT_EQ(file.contents,
              BasicBlock(SJ("ＡＢ１"), c.expectedKind, std::to_string(c.incomeKind)));
  }
}

// The result is the start of the full-width text, at most 63 bytes, never
// ending with half of a double-byte character.
TEST(ReportBasicTest, FullWidthNameCutAtTheLastWholeCharacter) {
  const std::pair<std::string, std::size_t> cases[] = {
      {"ABC", 6},
      {std::string(30, 'A'), 60},
      {std::string(31, 'A'), 62},
      {std::string(64, 'A'), 62},
      {std::string(255, 'A'), 62},
      {"-" + std::string(40, 'A'), 63},  // a byte left single shifts the cut
      {std::string(31, 'A') + "--", 63},
      {SJ("株式会社テスト"), 14},
  };
  ReportTestEnv env;
  env.mapFullWidth = MapCapitalsAndDigits;
  CollectedData data;
  ReportWriter writer(env, nullptr, data, 1, testing::TestEdition().defaultProductName);
  for (const auto& [company, bytes] : cases) {
    std::string result = writer.ToFullWidth(company);
    EXPECT_EQ(result, MapCapitalsAndDigits(company).substr(0, bytes)) << company;
  }
  StDATAINFO unterminated = Record(kBlueReturn);
  std::memset(unterminated.CompanyName, 'A', sizeof unterminated.CompanyName);
  MemoryFile file;
  XmlOutput out;
  out.Open(&file, &kPath);
  EXPECT_EQ(writer.WriteBasic(out, unterminated), 1);
  EXPECT_EQ(file.lines[1], Element(2, "KOMONSAKINAME", MapCapitalsAndDigits(std::string(31, 'A'))));
}

TEST(ReportDataTest, IncomeKindElementAroundTheSections) {
  const std::pair<std::int16_t, const char*> kinds[] = {{1, "EIGYOUSYOTOKU"},
                                                        {2, "SONOTASYOTOKU"},
                                                        {3, "FUDOUSANSYOTOKU"},
                                                        {4, nullptr},
                                                        {0, nullptr}};
  for (const auto& [kind, element] : kinds) {
    CollectedData data;
    StDATAINFO record = Record(kNoReturnKind);
    SectionRun run = RunSection(
        data, [&](auto& w, auto& o) { return w.WriteData(o, record); }, 0, kind);
    EXPECT_EQ(run.result, element ? 1 : 0) << kind;
    EXPECT_EQ(run.bytes,
              element ? Open(1, "DATA") + Open(2, element) + Close(2, element) + Close(1, "DATA")
                      : Open(1, "DATA"))
        << kind;
  }
}

struct ReportRun {
  int result;
  std::string bytes;
  std::vector<std::string> opened;
};

ReportRun WriteWholeReport(std::int16_t incomeKind, ProgressDialog* progress = nullptr,
                           int failAtWrite = 0) {
  ReportTestEnv env;
  env.mapFullWidth = MapCapitalsAndDigits;
  MemoryFile report(failAtWrite);
  env.report = &report;
  CollectedData data;
  ReportWriter writer(env, progress, data, incomeKind, testing::TestEdition().defaultProductName);
  int result = writer.WriteReport(kPath, 1, Record(kNoReturnKind, "AB1"));
  EXPECT_FALSE(report.IsOpen());
  return {result, report.contents, env.opened};
}

TEST(ReportDocumentTest, WritesTheWholeSkeleton) {
  ReportRun run = WriteWholeReport(1);
  EXPECT_EQ(run.result, 1);
  EXPECT_EQ(run.bytes, "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n" + Open(0, "REPORT") +
                           SystemBlock("1", testing::TestEdition().defaultProductName, "19.00.0X") +
                           BasicBlock(SJ("ＡＢ１"), "1", "1") + Open(1, "DATA") +
                           Open(2, "EIGYOUSYOTOKU") + Close(2, "EIGYOUSYOTOKU") + Close(1, "DATA") +
                           Close(0, "REPORT"));
  EXPECT_EQ(run.opened, (std::vector<std::string>{kPath + " create+write", "SUPPORT.INF read"}));
}

TEST(ReportDocumentTest, FailedBlockSkipsToTheEndOfTheReport) {
  ReportRun run = WriteWholeReport(9);
  EXPECT_EQ(run.result, 0);
  EXPECT_TRUE(run.bytes.ends_with(Close(1, "BASIC") + Open(1, "DATA") + Close(0, "REPORT")));

  ReportTestEnv env;  // no file behind the report's path, then no file object
  CollectedData data;
  ReportWriter writer(env, nullptr, data, 1, testing::TestEdition().defaultProductName);
  EXPECT_EQ(writer.WriteReport(kPath, 1, Record(kNoReturnKind)), 0);
  env.refuseNewFile = true;
  EXPECT_EQ(writer.WriteReport(kPath, 1, Record(kNoReturnKind)), 0);
}

// Every value of an advance steps the main bar once, both ends included.
TEST(ReportDocumentTest, AdvancesTheProgressFromItsBaseToTheEnd) {
  testing::FakeUi ui;
  ProgressDialog progress(ui);
  ASSERT_TRUE(progress.Create());
  ASSERT_EQ(WriteWholeReport(1, &progress).result, 1);
  const testing::ProgressRecord& window = ui.progress();
  EXPECT_EQ(window.Bar(ProgressDialog::kMainBar).totalDelta, 101 + 101 + 301);
  EXPECT_EQ(window.captions.front(), SJ("集計中 50％"));
  EXPECT_EQ(window.captions.back(), SJ("集計中 100％"));
  // Six per pump: the advances' own, then the writer's after the root tag,
  // each of the eleven header elements and each of the three blocks.
  EXPECT_EQ(window.bringToTopCalls, 6 * (503 + 1 + 11 + 3));

  testing::FakeUi failedUi;
  ProgressDialog failed(failedUi);
  ASSERT_TRUE(failed.Create());
  ASSERT_EQ(WriteWholeReport(1, &failed, /*the BASIC start tag*/ 11).result, 0);
  EXPECT_EQ(failedUi.progress().Bar(ProgressDialog::kMainBar).totalDelta, 101);
}

}  // namespace
}  // namespace pv14
