#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/unit/ReportFixture.h"

namespace pv14 {
namespace {

using namespace pv14::testing;

// Saved details present and empty, enough rows for the deduction.
void FillStore(CollectedData& data, std::uint8_t selection = 1) {
  AddEmptyBlocks(data);
  data.GeneralSaveInfo.Basic->DeductionSelection = selection;
  for (std::int32_t i = 1; i <= 43; ++i) data.SumRows.push_back(Row(1000 + i, "", 0, 0));
}

SectionRun Sections(const CollectedData& data, std::int16_t incomeKind, std::uint8_t returnKind) {
  return RunSection(data, [&](ReportWriter& w, XmlOutput& o) {
    StDATAINFO record = Record(returnKind);
    return incomeKind == 3 ? w.WriteRealEstateSections(o, record)
                           : w.WriteGeneralSections(o, record);
  });
}

// The names of the sections' start tags, and whether each was closed.
std::vector<std::string> SectionTags(const std::vector<std::string>& lines) {
  std::vector<std::string> tags;
  for (const std::string& line : lines) {
    if (line.starts_with("\t\t\t<")) tags.push_back(line.substr(3, line.size() - 5));
  }
  return tags;
}

std::vector<std::string> Body(const std::vector<std::string>& lines, const std::string& section) {
  auto first = std::find(lines.begin(), lines.end(), Open(3, section));
  auto last = std::find(first, lines.end(), Close(3, section));
  return first == lines.end() ? std::vector<std::string>{}
                              : std::vector<std::string>(first + 1, last);
}

std::vector<std::string> OpenAndClose(const std::vector<std::string>& names) {
  std::vector<std::string> tags;
  for (const std::string& name : names) {
    tags.push_back("<" + name + ">");
    tags.push_back("</" + name + ">");
  }
  return tags;
}

TEST(DispatchTest, EachFormWritesItsSeries) {
  const std::vector<std::string> blueGeneral = {"SONEKIKEISANSYO",
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
  const std::vector<std::string> whiteGeneral = {
      "SONEKIKEISANSYO", "KYUURYOUTINGIN", "SENJUUSYA",    "RISIWARIBIKIRYOU", "TIDAIYATIN",
      "ZEIRISIHOUSYUU",  "TOKUSYUJIJOU",   "URIAGEMEISAI", "SIIREMEISAI",      "OTHER"};
  const std::vector<std::string> blueRealEstate = {
      "SONEKIKEISANSYO", "FUDOUSANSYUUNYUU", "KYUURYOUTINGIN",     "SENJUUSYA",   "TIDAIYATIN",
      "KARIIREKINRISI",  "ZEIRISIHOUSYUU",   "TAISYAKUTAISYOUHYO", "TOKUSYUJIJOU"};
  const std::vector<std::string> whiteRealEstate = {
      "SONEKIKEISANSYO", "FUDOUSANSYUUNYUU", "KYUURYOUTINGIN", "SENJUUSYA", "TIDAIYATIN",
      "KARIIREKINRISI",  "ZEIRISIHOUSYUU",   "TOKUSYUJIJOU",   "SYUUZENHI", "KASITUKEFUDOUSAN"};
  const struct {
    std::int16_t incomeKind;
    std::uint8_t returnKind;
    const std::vector<std::string>& series;
    std::size_t profitAndLoss;  // lines inside SONEKIKEISANSYO
  } cases[] = {{1, kBlueReturn, blueGeneral, 35 + 10},
               {2, kBlueReturn, blueGeneral, 35 + 10},
               {1, kWhiteReturn, whiteGeneral, 30 + 5},
               {2, kWhiteReturn, whiteGeneral, 30 + 5},
               {3, kBlueReturn, blueRealEstate, 17 + 6 + 2},
               {3, kWhiteReturn, whiteRealEstate, 14 + 1 + 1},
               {1, 0, {}, 0},
               {3, 5, {}, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.incomeKind << "/" << int(c.returnKind));
    CollectedData data;
    FillStore(data);
    SectionRun run = Sections(data, c.incomeKind, c.returnKind);
    EXPECT_EQ(run.result, 1);
    EXPECT_EQ(SectionTags(run.lines), OpenAndClose(c.series));
    EXPECT_EQ(Body(run.lines, "SONEKIKEISANSYO").size(), c.profitAndLoss);
  }
}

TEST(DispatchTest, StatementSectionsHoldTheirTables) {
  CollectedData data;
  FillStore(data);
  SectionRun general = Sections(data, 1, kBlueReturn);
  EXPECT_EQ(Body(general.lines, "TAISYAKUTAISYOUHYO").size(), 114u);
  EXPECT_EQ(Body(general.lines, "SEIZOUGENKA").size(), 20u + 8u);
  EXPECT_EQ(Body(general.lines, "TUKIBETUURIAGESHIIRE").size(), 26u);
  EXPECT_EQ(Body(general.lines, "OTHER"), std::vector<std::string>{Element(4, "KANYUUDANTAIMEI")});
  EXPECT_EQ(Body(Sections(data, 3, kBlueReturn).lines, "TAISYAKUTAISYOUHYO").size(), 116u);
}

// In the real-estate blue form the selection follows the profit and loss
// items, ahead of the liability interest; an unknown one stops the report.
TEST(DispatchTest, RealEstateBlueSelection) {
  for (const auto& [selection, text] : {std::pair<std::uint8_t, const char*>{1, "1"}, {0, "2"}}) {
    CollectedData data;
    FillStore(data, selection);
    std::vector<std::string> body = Body(Sections(data, 3, kBlueReturn).lines, "SONEKIKEISANSYO");
    ASSERT_EQ(body.size(), 25u);
    EXPECT_EQ(body[22], Element(4, "SENJYUUSYAKYUUYO"));
    EXPECT_EQ(body[23], Element(4, "AOIROKOUJO_SENTAKU", text));
    EXPECT_EQ(body[24], Element(4, "FUSAIRISIGAKU"));
  }
  CollectedData unknown;
  FillStore(unknown, 3);
  SectionRun run = Sections(unknown, 3, kBlueReturn);
  EXPECT_EQ(run.result, 0);
  ASSERT_EQ(run.lines.size(), 1u + 23u);
  EXPECT_EQ(run.lines.back(), Element(4, "SENJYUUSYAKYUUYO"));
}

// A failed section leaves its start tag open and no later section begun.
TEST(DispatchTest, FailedContentsStopTheSeries) {
  CollectedData data;
  FillStore(data);
  data.SumRows.pop_back();  // too few rows for the deduction
  SectionRun run = Sections(data, 1, kBlueReturn);
  EXPECT_EQ(run.result, 0);
  EXPECT_EQ(SectionTags(run.lines).back(), "<AOIROKOUJO>");
  EXPECT_EQ(run.lines.back(), Element(4, "FUDOUSANSYOTOKU", "0"));
}

}  // namespace
}  // namespace pv14
