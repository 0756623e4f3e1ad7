#include <gtest/gtest.h>

#include <string>

#include "dialogs/ProgressDialog.h"
#include "resources/Text.h"
#include "tests/fakes/FakeUi.h"
#include "tests/unit/ReportFixture.h"

namespace pv14 {
namespace {

using namespace report_test;

const std::string kPath = "Z:\\out\\report.xml";
const std::string kDeclaration = "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n";
constexpr std::uint8_t kNoReturnKind = 0;  // a data set that matched nothing

std::string SystemBlock(std::string_view functionId, std::string_view name,
                        std::string_view version) {
  return Open(1, "SYSTEM") + Element(2, "GYOUMUPREFIX", "PV14") + Element(2, "VERSION", "1") +
         Element(2, "FUNCTIONID", functionId) + Element(2, "CONNECTEDPROGRAMVER", "19.00.00") +
         Element(2, "PROGRAMNAME", name) + Element(2, "PROGRAMVER", version) + Close(1, "SYSTEM");
}

// One block written on its own into memory.
struct BlockRun {
  int result;
  std::string bytes;
};

BlockRun RunBlock(ReportTestEnv& env, const CollectedData& data, std::int16_t incomeKind,
                  const std::function<int(ReportWriter&, XmlOutput&)>& block) {
  MemoryFile file;
  XmlOutput out;
  out.Open(&file, &kPath);
  ReportWriter writer(env, nullptr, data, incomeKind);
  int result = block(writer, out);
  return {result, file.contents};
}

TEST(ReportSystemTest, WithoutSupportFileWritesTheEditionsDefaults) {
  ReportTestEnv env;
  CollectedData data;
  BlockRun run =
      RunBlock(env, data, 1, [](ReportWriter& w, XmlOutput& o) { return w.WriteSystem(o, 1); });
  EXPECT_EQ(run.result, 1);
  EXPECT_EQ(run.bytes, SystemBlock("1", SJ("勘定丸１９"), "19.00.0X"));
  EXPECT_EQ(env.opened, (std::vector<std::string>{"SUPPORT.INF read"}));
}

TEST(ReportSystemTest, SupportFileGivesNameAndVersionEscaped) {
  ReportTestEnv env;
  MemoryFile support;
  support.contents = SJ("[=製品名=]") + "Books & Co\r\n" + SJ("[=製品ﾊﾞｰｼﾞｮﾝ=]") + "19.00.07\r\n";
  env.support = &support;
  CollectedData data;
  BlockRun run =
      RunBlock(env, data, 1, [](ReportWriter& w, XmlOutput& o) { return w.WriteSystem(o, 1); });
  EXPECT_EQ(run.result, 1);
  EXPECT_EQ(run.bytes, SystemBlock("1", "Books &amp; Co", "19.00.07"));
}

class ReportFunctionIdTest : public ::testing::TestWithParam<std::pair<std::int16_t, const char*>> {
};

TEST_P(ReportFunctionIdTest, WrittenInDecimal) {
  ReportTestEnv env;
  CollectedData data;
  const auto [id, text] = GetParam();
  BlockRun run =
      RunBlock(env, data, 1, [id](ReportWriter& w, XmlOutput& o) { return w.WriteSystem(o, id); });
  EXPECT_EQ(run.bytes, SystemBlock(text, SJ("勘定丸１９"), "19.00.0X"));
}

INSTANTIATE_TEST_SUITE_P(Ids, ReportFunctionIdTest,
                         ::testing::Values(std::pair<std::int16_t, const char*>{1, "1"},
                                           std::pair<std::int16_t, const char*>{-7, "-7"},
                                           std::pair<std::int16_t, const char*>{32767, "32767"},
                                           std::pair<std::int16_t, const char*>{-32768, "-32768"}));

// A name too long for its line fails the block like a full disk: nothing of
// it, and nothing after it, reaches the file.
TEST(ReportSystemTest, ProductNameTooLongForItsLineFailsTheBlock) {
  ReportTestEnv env;
  MemoryFile support;
  support.contents = SJ("[=製品名=]") + std::string(300, 'N') + "\r\n";
  env.support = &support;
  CollectedData data;
  BlockRun run =
      RunBlock(env, data, 1, [](ReportWriter& w, XmlOutput& o) { return w.WriteSystem(o, 1); });
  EXPECT_EQ(run.result, 0);
  std::string expectedStart = Open(1, "SYSTEM") + Element(2, "GYOUMUPREFIX", "PV14") +
                              Element(2, "VERSION", "1") + Element(2, "FUNCTIONID", "1") +
                              Element(2, "CONNECTEDPROGRAMVER", "19.00.00");
  EXPECT_EQ(run.bytes, expectedStart);
}

TEST(ReportSystemTest, LongestProductNameThatFitsItsLineIsWrittenWhole) {
  // Two tabs, the tags and CR LF take 31 of the line's 255 bytes.
  const std::string name(224, 'N');
  ReportTestEnv env;
  MemoryFile support;
  support.contents = SJ("[=製品名=]") + name + "\r\n";
  env.support = &support;
  CollectedData data;
  BlockRun run =
      RunBlock(env, data, 1, [](ReportWriter& w, XmlOutput& o) { return w.WriteSystem(o, 1); });
  EXPECT_EQ(run.result, 1);
  EXPECT_EQ(run.bytes, SystemBlock("1", name, "19.00.0X"));
}

std::string BasicBlock(std::string_view company, std::string_view kind, std::string_view from,
                       std::string_view to, std::string_view income) {
  return Open(1, "BASIC") + Element(2, "KOMONSAKINAME", company) + Element(2, "AOSIROKUBUN", kind) +
         Element(2, "JIGYOUNENDOFROM", from) + Element(2, "JIGYOUNENDOTO", to) +
         Element(2, "SYOTOKUSYURUI", income) + Close(1, "BASIC");
}

struct BasicCase {
  const char* name;
  std::uint8_t returnKind;
  std::int16_t incomeKind;
  const char* expectedKind;
};

void PrintTo(const BasicCase& c, std::ostream* os) { *os << c.name; }

class ReportBasicTest : public ::testing::TestWithParam<BasicCase> {};

TEST_P(ReportBasicTest, WritesTheRecordsValues) {
  ReportTestEnv env;
  env.mapFullWidth = MapCapitalsAndDigits;
  CollectedData data;
  StDATAINFO record = Record(GetParam().returnKind, "ABC", 20170101, 20171231);
  BlockRun run = RunBlock(env, data, GetParam().incomeKind,
                          [&](ReportWriter& w, XmlOutput& o) { return w.WriteBasic(o, record); });
  EXPECT_EQ(run.result, 1);
  EXPECT_EQ(run.bytes, BasicBlock(SJ("ＡＢＣ"), GetParam().expectedKind, "20170101", "20171231",
                                  std::to_string(GetParam().incomeKind)));
}

INSTANTIATE_TEST_SUITE_P(Records, ReportBasicTest,
                         ::testing::Values(BasicCase{"BlueBusiness", kBlueReturn, 1, "1"},
                                           BasicCase{"WhiteOther", kWhiteReturn, 2, "2"},
                                           BasicCase{"WhiteRealEstate", kWhiteReturn, 3, "2"},
                                           BasicCase{"UnmatchedCountsAsBlue", kNoReturnKind, 1,
                                                     "1"},
                                           BasicCase{"UnknownKindCountsAsBlue", 7, 3, "1"}),
                         [](const auto& info) { return std::string(info.param.name); });

struct FullWidthCase {
  const char* name;
  std::string company;
  std::size_t expectedBytes;
};

void PrintTo(const FullWidthCase& c, std::ostream* os) { *os << c.name; }

class ReportFullWidthTest : public ::testing::TestWithParam<FullWidthCase> {};

// The result is the start of the full-width text, at most 63 bytes, and it
// never ends with half of a double-byte character.
TEST_P(ReportFullWidthTest, CutsAtTheLastWholeCharacter) {
  ReportTestEnv env;
  env.mapFullWidth = MapCapitalsAndDigits;
  CollectedData data;
  ReportWriter writer(env, nullptr, data, 1);
  std::string mapped = MapCapitalsAndDigits(GetParam().company);
  std::string result = writer.ToFullWidth(GetParam().company);
  EXPECT_EQ(result.size(), GetParam().expectedBytes);
  EXPECT_EQ(result, mapped.substr(0, result.size()));
}

INSTANTIATE_TEST_SUITE_P(
    Names, ReportFullWidthTest,
    ::testing::Values(FullWidthCase{"ThreeCapitals", "ABC", 6}, FullWidthCase{"Empty", "", 0},
                      FullWidthCase{"Thirty", std::string(30, 'A'), 60},
                      FullWidthCase{"ThirtyOne", std::string(31, 'A'), 62},
                      FullWidthCase{"ThirtyTwo", std::string(32, 'A'), 62},
                      FullWidthCase{"SixtyFour", std::string(64, 'A'), 62},
                      FullWidthCase{"TwoHundredFiftyFive", std::string(255, 'A'), 62},
                      // A byte the mapping leaves single shifts the boundaries by one.
                      FullWidthCase{"SingleByteFirstFillsAllSixtyThree", "-" + std::string(40, 'A'),
                                    63},
                      FullWidthCase{"SingleByteAtTheCut", std::string(31, 'A') + "--", 63},
                      FullWidthCase{"DoubleByteNamePassesUnchanged", SJ("株式会社テスト"), 14}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReportBasicTest, UnterminatedCompanyNameIsReadWithinItsField) {
  ReportTestEnv env;
  env.mapFullWidth = MapCapitalsAndDigits;
  CollectedData data;
  StDATAINFO record = Record(kBlueReturn);
  std::memset(record.CompanyName, 'A', sizeof record.CompanyName);
  BlockRun run = RunBlock(env, data, 1,
                          [&](ReportWriter& w, XmlOutput& o) { return w.WriteBasic(o, record); });
  EXPECT_EQ(run.result, 1);
  EXPECT_EQ(run.bytes, BasicBlock(MapCapitalsAndDigits(std::string(31, 'A')), "1", "20170101",
                                  "20171231", "1"));
}

struct DataCase {
  const char* name;
  std::int16_t incomeKind;
  const char* element;
};

void PrintTo(const DataCase& c, std::ostream* os) { *os << c.name; }

class ReportDataTest : public ::testing::TestWithParam<DataCase> {};

TEST_P(ReportDataTest, WrapsTheSectionsInTheIncomeKindsElement) {
  ReportTestEnv env;
  CollectedData data;
  StDATAINFO record = Record(kNoReturnKind);
  BlockRun run = RunBlock(env, data, GetParam().incomeKind,
                          [&](ReportWriter& w, XmlOutput& o) { return w.WriteData(o, record); });
  EXPECT_EQ(run.result, 1);
  EXPECT_EQ(run.bytes, Open(1, "DATA") + Open(2, GetParam().element) +
                           Close(2, GetParam().element) + Close(1, "DATA"));
}

INSTANTIATE_TEST_SUITE_P(Kinds, ReportDataTest,
                         ::testing::Values(DataCase{"Business", 1, "EIGYOUSYOTOKU"},
                                           DataCase{"Other", 2, "SONOTASYOTOKU"},
                                           DataCase{"RealEstate", 3, "FUDOUSANSYOTOKU"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ReportDataTest, UnknownIncomeKindFailsAfterTheDataTag) {
  for (std::int16_t kind : {0, 4, -1}) {
    ReportTestEnv env;
    CollectedData data;
    StDATAINFO record = Record(kBlueReturn);
    BlockRun run = RunBlock(env, data, kind,
                            [&](ReportWriter& w, XmlOutput& o) { return w.WriteData(o, record); });
    EXPECT_EQ(run.result, 0) << kind;
    EXPECT_EQ(run.bytes, Open(1, "DATA")) << kind;
  }
}

struct ReportRun {
  int result;
  std::string bytes;
  std::vector<std::string> opened;
};

ReportRun WriteWholeReport(std::int16_t incomeKind, const StDATAINFO& record,
                           ProgressDialog* progress = nullptr, int failAtWrite = 0) {
  ReportTestEnv env;
  env.mapFullWidth = MapCapitalsAndDigits;
  MemoryFile report(failAtWrite);
  env.report = &report;
  CollectedData data;
  ReportWriter writer(env, progress, data, incomeKind);
  int result = writer.WriteReport(kPath, 1, record);
  EXPECT_FALSE(report.IsOpen());
  return {result, report.contents, env.opened};
}

TEST(ReportDocumentTest, WritesTheWholeSkeleton) {
  ReportRun run = WriteWholeReport(1, Record(kNoReturnKind, "AB1"));
  EXPECT_EQ(run.result, 1);
  EXPECT_EQ(run.bytes, kDeclaration + Open(0, "REPORT") +
                           SystemBlock("1", SJ("勘定丸１９"), "19.00.0X") +
                           BasicBlock(SJ("ＡＢ１"), "1", "20170101", "20171231", "1") +
                           Open(1, "DATA") + Open(2, "EIGYOUSYOTOKU") + Close(2, "EIGYOUSYOTOKU") +
                           Close(1, "DATA") + Close(0, "REPORT"));
  EXPECT_EQ(run.opened, (std::vector<std::string>{kPath + " create+write", "SUPPORT.INF read"}));
}

TEST(ReportDocumentTest, FailedDataBlockStillEndsTheReport) {
  ReportRun run = WriteWholeReport(9, Record(kBlueReturn));
  EXPECT_EQ(run.result, 0);
  EXPECT_TRUE(run.bytes.ends_with(Close(1, "BASIC") + Open(1, "DATA") + Close(0, "REPORT")));
}

TEST(ReportDocumentTest, FileThatCannotBeCreatedFailsTheReport) {
  ReportTestEnv env;
  CollectedData data;
  ReportWriter writer(env, nullptr, data, 1);
  EXPECT_EQ(writer.WriteReport(kPath, 1, Record(kNoReturnKind)), 0);  // no backing file
  env.refuseNewFile = true;
  EXPECT_EQ(writer.WriteReport(kPath, 1, Record(kNoReturnKind)), 0);
}

// Counts of the progress dialog's main bar: every value of an advance is one
// step, both ends included.
TEST(ReportDocumentTest, AdvancesTheProgressFromItsBaseToTheEnd) {
  testing::FakeUi ui;
  ProgressDialog progress(ui);
  ASSERT_TRUE(progress.Create());
  progress.Start();
  ReportRun run = WriteWholeReport(1, Record(kNoReturnKind), &progress);
  ASSERT_EQ(run.result, 1);
  const testing::ProgressRecord& window = ui.progress();
  // 500..600, 600..700, 700..1000.
  EXPECT_EQ(window.Bar(ProgressDialog::kMainBar).totalDelta, 101 + 101 + 301);
  ASSERT_FALSE(window.captions.empty());
  EXPECT_EQ(window.captions.front(), SJ("集計中 50％"));
  EXPECT_EQ(window.captions.back(), SJ("集計中 100％"));
  // Each pump brings the window to the top six times; besides those of the
  // advances, the writer pumps after the root tag, after each of the eleven
  // header elements and after each of the three blocks.
  EXPECT_EQ(window.bringToTopCalls, 6 * (503 + 1 + 11 + 3));
}

TEST(ReportDocumentTest, FailedBlockStopsTheProgressWhereItWas) {
  testing::FakeUi ui;
  ProgressDialog progress(ui);
  ASSERT_TRUE(progress.Create());
  progress.Start();
  // The 11th write is the start tag of BASIC.
  ReportRun run = WriteWholeReport(1, Record(kNoReturnKind), &progress, 11);
  ASSERT_EQ(run.result, 0);
  EXPECT_EQ(ui.progress().Bar(ProgressDialog::kMainBar).totalDelta, 101);
}

}  // namespace
}  // namespace pv14
