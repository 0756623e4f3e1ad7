#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/unit/ReportFixture.h"

namespace pv14 {
namespace {

using namespace report_test;

// A data set whose saved details are all present and empty, with enough
// statement rows for the blue-return deduction.
void FillStore(CollectedData& data, std::uint8_t selection = 1) {
  AddEmptyBlocks(data);
  data.GeneralSaveInfo.Basic->DeductionSelection = selection;
  for (std::int32_t i = 1; i <= 43; ++i) data.SumRows.push_back(Row(1000 + i, "", 0, 0));
}

// The section tags of a run: the lines with exactly three leading TABs.
std::vector<std::string> SectionLines(const std::string& bytes) {
  std::vector<std::string> lines;
  for (std::size_t start = 0; start < bytes.size();) {
    std::size_t end = bytes.find("\r\n", start);
    std::string line = bytes.substr(start, end - start);
    if (line.starts_with("\t\t\t<") || line.starts_with("\t\t\t</"))
      lines.push_back(line.substr(3));
    start = end == std::string::npos ? bytes.size() : end + 2;
  }
  return lines;
}

std::vector<std::string> Tags(const std::vector<std::string>& sections) {
  std::vector<std::string> tags;
  for (const std::string& name : sections) {
    tags.push_back("<" + name + ">");
    tags.push_back("</" + name + ">");
  }
  return tags;
}

std::function<int(ReportWriter&, XmlOutput&)> Sections(std::int16_t incomeKind,
                                                       std::uint8_t returnKind) {
  return [=](ReportWriter& w, XmlOutput& o) {
    StDATAINFO record = Record(returnKind);
    return incomeKind == 3 ? w.WriteRealEstateSections(o, record)
                           : w.WriteGeneralSections(o, record);
  };
}

struct SeriesCase {
  const char* name;
  std::int16_t incomeKind;
  std::uint8_t returnKind;
  std::vector<std::string> sections;
};

void PrintTo(const SeriesCase& c, std::ostream* os) { *os << c.name; }

class DispatchSeriesTest : public ::testing::TestWithParam<SeriesCase> {};

TEST_P(DispatchSeriesTest, WritesTheFormsSectionsInOrder) {
  CollectedData data;
  FillStore(data);
  SectionRun run = RunSection(data, Sections(GetParam().incomeKind, GetParam().returnKind), 0,
                              GetParam().incomeKind);
  EXPECT_EQ(run.result, 1);
  EXPECT_EQ(SectionLines(run.bytes), Tags(GetParam().sections));
}

const std::vector<std::string> kBlueGeneral = {"SONEKIKEISANSYO",
                                               "TUKIBETUURIAGESHIIRE",
                                               "KYUURYOUTINGIN",
                                               "SENJUUSYA",
                                               "KASIDAOREKURIIRE",
                                               "AOIROKOUJO",
                                               "RISIWARIBIKIRYOU",
                                               "TIDAIYATIN",
                                               "ZEIRISIHOUSYUU",
                                               "TOKUSYUJIJOU",
                                               "TAISYAKUTAISYOUHYO",
                                               "SEIZOUGENKA",
                                               "OTHER"};
const std::vector<std::string> kWhiteGeneral = {
    "SONEKIKEISANSYO", "KYUURYOUTINGIN", "SENJUUSYA",    "RISIWARIBIKIRYOU", "TIDAIYATIN",
    "ZEIRISIHOUSYUU",  "TOKUSYUJIJOU",   "URIAGEMEISAI", "SIIREMEISAI",      "OTHER"};
const std::vector<std::string> kBlueRealEstate = {
    "SONEKIKEISANSYO", "FUDOUSANSYUUNYUU", "KYUURYOUTINGIN",     "SENJUUSYA",   "TIDAIYATIN",
    "KARIIREKINRISI",  "ZEIRISIHOUSYUU",   "TAISYAKUTAISYOUHYO", "TOKUSYUJIJOU"};
const std::vector<std::string> kWhiteRealEstate = {
    "SONEKIKEISANSYO", "FUDOUSANSYUUNYUU", "KYUURYOUTINGIN", "SENJUUSYA", "TIDAIYATIN",
    "KARIIREKINRISI",  "ZEIRISIHOUSYUU",   "TOKUSYUJIJOU",   "SYUUZENHI", "KASITUKEFUDOUSAN"};

INSTANTIATE_TEST_SUITE_P(
    Forms, DispatchSeriesTest,
    ::testing::Values(SeriesCase{"BlueBusiness", 1, kBlueReturn, kBlueGeneral},
                      SeriesCase{"BlueOther", 2, kBlueReturn, kBlueGeneral},
                      SeriesCase{"WhiteBusiness", 1, kWhiteReturn, kWhiteGeneral},
                      SeriesCase{"WhiteOther", 2, kWhiteReturn, kWhiteGeneral},
                      SeriesCase{"BlueRealEstate", 3, kBlueReturn, kBlueRealEstate},
                      SeriesCase{"WhiteRealEstate", 3, kWhiteReturn, kWhiteRealEstate},
                      SeriesCase{"UnmatchedGeneral", 1, 0, {}},
                      SeriesCase{"UnknownKindRealEstate", 3, 5, {}}),
    [](const auto& info) { return std::string(info.param.name); });

// Lines of the run from the start tag of a section to its end tag.
std::vector<std::string> SectionBody(const std::vector<std::string>& lines,
                                     const std::string& name) {
  auto first = std::find(lines.begin(), lines.end(), Open(3, name));
  auto last = std::find(first, lines.end(), Close(3, name));
  if (first == lines.end() || last == lines.end()) return {};
  return std::vector<std::string>(first + 1, last);
}

TEST(DispatchSeriesTest, ProfitAndLossSectionsHoldTheirTables) {
  struct {
    std::int16_t incomeKind;
    std::uint8_t returnKind;
    std::size_t items;  // rows and spare names
    const char* last;
  } cases[] = {{1, kBlueReturn, 35 + 10, "KURIIRE_YOBI2"},
               {2, kWhiteReturn, 30 + 5, "SENJYUSYAKOUJYO"},
               {3, kBlueReturn, 17 + 6 + 1 + 1, "FUSAIRISIGAKU"},
               {3, kWhiteReturn, 14 + 1 + 1, "FUSAIRISIGAKU"}};
  for (const auto& c : cases) {
    CollectedData data;
    FillStore(data);
    SectionRun run = RunSection(data, Sections(c.incomeKind, c.returnKind), 0, c.incomeKind);
    std::vector<std::string> body = SectionBody(run.lines, "SONEKIKEISANSYO");
    ASSERT_EQ(body.size(), c.items) << c.incomeKind << "/" << int(c.returnKind);
    EXPECT_EQ(body.back(), Element(4, c.last));
  }
}

TEST(DispatchSeriesTest, BlueGeneralHoldsTheBalanceSheetAndCostOfManufacture) {
  CollectedData data;
  FillStore(data);
  SectionRun run = RunSection(data, Sections(1, kBlueReturn));
  EXPECT_EQ(SectionBody(run.lines, "TAISYAKUTAISYOUHYO").size(), 114u);
  EXPECT_EQ(SectionBody(run.lines, "SEIZOUGENKA").size(), 20u + 8u);
  EXPECT_EQ(SectionBody(run.lines, "TUKIBETUURIAGESHIIRE").size(), 26u);
  EXPECT_EQ(SectionBody(run.lines, "OTHER"),
            std::vector<std::string>{Element(4, "KANYUUDANTAIMEI")});
}

TEST(DispatchSeriesTest, BlueRealEstateHoldsItsBalanceSheet) {
  CollectedData data;
  FillStore(data);
  SectionRun run = RunSection(data, Sections(3, kBlueReturn), 0, 3);
  EXPECT_EQ(SectionBody(run.lines, "TAISYAKUTAISYOUHYO").size(), 116u);
}

class DispatchSelectionTest
    : public ::testing::TestWithParam<std::pair<std::uint8_t, const char*>> {};

// In the real-estate blue form the selection follows the profit and loss
// items, before the liability interest.
TEST_P(DispatchSelectionTest, WrittenAfterTheItems) {
  CollectedData data;
  FillStore(data, GetParam().first);
  SectionRun run = RunSection(data, Sections(3, kBlueReturn), 0, 3);
  EXPECT_EQ(run.result, 1);
  std::vector<std::string> body = SectionBody(run.lines, "SONEKIKEISANSYO");
  ASSERT_EQ(body.size(), 25u);
  EXPECT_EQ(body[22], Element(4, "SENJYUUSYAKYUUYO"));
  EXPECT_EQ(body[23], Element(4, "AOIROKOUJO_SENTAKU", GetParam().second));
  EXPECT_EQ(body[24], Element(4, "FUSAIRISIGAKU"));
}

INSTANTIATE_TEST_SUITE_P(Selections, DispatchSelectionTest,
                         ::testing::Values(std::pair<std::uint8_t, const char*>{1, "1"},
                                           std::pair<std::uint8_t, const char*>{0, "2"}));

TEST(DispatchSelectionTest, UnknownSelectionStopsAfterTheItems) {
  CollectedData data;
  FillStore(data, 3);
  SectionRun run = RunSection(data, Sections(3, kBlueReturn), 0, 3);
  EXPECT_EQ(run.result, 0);
  ASSERT_EQ(run.lines.size(), 1u + 23u);
  EXPECT_EQ(run.lines.front(), Open(3, "SONEKIKEISANSYO"));
  EXPECT_EQ(run.lines.back(), Element(4, "SENJYUUSYAKYUUYO"));
}

// A section writer's failure ends the series: its start tag stays open and
// no later section is begun.
TEST(DispatchSeriesTest, FailedContentsStopTheSeries) {
  CollectedData data;
  FillStore(data);
  data.SumRows.pop_back();  // too few rows for the deduction
  SectionRun run = RunSection(data, Sections(1, kBlueReturn));
  EXPECT_EQ(run.result, 0);
  std::vector<std::string> sections = SectionLines(run.bytes);
  ASSERT_FALSE(sections.empty());
  EXPECT_EQ(sections.back(), "<AOIROKOUJO>");
  EXPECT_EQ(run.lines.back(), Element(4, "FUDOUSANSYOTOKU", "0"));
}

TEST(DispatchSeriesTest, EveryFailedWriteStopsEachSeries) {
  const std::pair<std::int16_t, std::uint8_t> forms[] = {
      {1, kBlueReturn}, {2, kWhiteReturn}, {3, kBlueReturn}, {3, kWhiteReturn}};
  for (const auto& [incomeKind, returnKind] : forms) {
    SCOPED_TRACE(::testing::Message() << incomeKind << "/" << int(returnKind));
    CollectedData data;
    FillStore(data);
    ExpectStopsAtEveryFailedWrite(data, Sections(incomeKind, returnKind));
  }
}

}  // namespace
}  // namespace pv14
