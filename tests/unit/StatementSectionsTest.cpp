#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "resources/Text.h"
#include "tests/unit/ReportFixture.h"

namespace pv14 {
namespace {

using namespace pv14::testing;

constexpr ItemTableRow kSales[] = {{"URIAGEKINGAKU", 101, 0}};
constexpr ItemTableRow kSpare[] = {{"KEIHI_YOBI1", 125, 1}};

SectionRun Items(const CollectedData& data, std::span<const ItemTableRow> table) {
  return RunSection(data, [&](auto& w, auto& o) { return w.WriteStatementItems(o, table); });
}

TEST(StatementItemsTest, ClosingBalanceInWholeYen) {
  const std::pair<std::int64_t, const char*> cases[] = {
      {123450000, "12345"}, {-500 * kYen, "-500"},          {5000, ""},
      {-5000, ""},          {12345 * kYen + 9999, "12345"}, {0, ""}};
  for (const auto& [stored, expected] : cases) {
    CollectedData data;
    data.SumRows.push_back(Row(101, "", 0, stored));
    SectionRun run = Items(data, kSales);
    EXPECT_EQ(run.result, 1);
    EXPECT_EQ(run.bytes, Element(4, "URIAGEKINGAKU", expected)) << stored;
  }
}

TEST(StatementItemsTest, SpareLineWritesItsCleanedNameFirst) {
  CollectedData data;
  data.SumRows.push_back(Row(125, SJ("【雑費】 (製)"), 0, 3000 * kYen));
  EXPECT_EQ(Items(data, kSpare).bytes,
            Element(4, "KEIHI_YOBI1_KAMOKU", SJ("雑費")) + Element(4, "KEIHI_YOBI1", "3000"));
  CollectedData missing;  // a code the data lacks: empty elements
  EXPECT_EQ(Items(missing, kSpare).bytes,
            Element(4, "KEIHI_YOBI1_KAMOKU") + Element(4, "KEIHI_YOBI1"));
  CollectedData unterminated;  // a name filling its field is read within it
  SumRecord row = Row(125, "", 0, 0);
  std::memset(row.ItemName, 'N', sizeof row.ItemName);
  unterminated.SumRows.push_back(row);
  EXPECT_EQ(Items(unterminated, kSpare).lines.at(0),
            Element(4, "KEIHI_YOBI1_KAMOKU", std::string(sizeof row.ItemName, 'N')));
}

TEST(StatementItemsTest, CleanItemName) {
  const std::pair<std::string, std::string> cases[] = {
      {SJ("【雑費】 (製)"), SJ("雑費")},
      {" a b ", "ab"},
      {SJ("　消耗品　費"), SJ("消耗品費")},
      {SJ("《a》（b）［c］【d】"), "abcd"},
      {"(a)", "(a)"},
      {SJ("(製"), SJ("(製")},
      // Tried at character starts only: the second byte of "＝" and the
      // letter y would read as "【", the second byte of メ and n as "］".
      {SJ("＝") + "y", SJ("＝") + "y"},
      {SJ("メnテ"), SJ("メnテ")},
      {SJ("メ（n）"), SJ("メn")},
  };
  for (const auto& [source, expected] : cases) {
    std::string cleaned;
    EXPECT_EQ(ReportWriter::CleanItemName(source, cleaned), 1);
    EXPECT_EQ(cleaned, expected);
  }
  std::string untouched = "kept";
  EXPECT_EQ(ReportWriter::CleanItemName("", untouched), 0);
  EXPECT_EQ(untouched, "kept");
}

// One row for every account of both balance sheets.
void AddEveryAccount(CollectedData& data) {
  for (std::int32_t code = 201; code <= 247; ++code) data.SumRows.push_back(Row(code, "", 0, 0));
  data.SumRows.push_back(Row(999, "", 0, 0));
}

TEST(StatementBalanceSheetTest, OpeningClosingAndAccountNames) {
  CollectedData data;
  data.SumRows.push_back(Row(201, "", 100 * kYen, 200 * kYen));
  data.SumRows.push_back(Row(217, SJ("［予備 1］"), 0, 5 * kYen));
  data.SumRows.push_back(Row(224, "", 30 * kYen, 40 * kYen));
  data.SumRows.push_back(Row(999, "", 1 * kYen, 123 * kYen));
  SectionRun run = RunSection(
      data, [](auto& w, auto& o) { return w.WriteBalanceSheet(o, GeneralBalanceSheetTable()); });
  EXPECT_EQ(run.result, 1);
  ASSERT_EQ(run.lines.size(), 114u);
  EXPECT_EQ(run.lines[0], Element(4, "GENKIN_KISYU", "100"));
  EXPECT_EQ(run.lines[1], Element(4, "GENKIN_KIMATU", "200"));
  EXPECT_EQ(run.lines[2], Element(4, "TOUZAYOKIN_KISYU"));
  auto name =
      std::find(run.lines.begin(), run.lines.end(), Element(4, "SISAN_YOBI1_KAMOKU", SJ("予備1")));
  ASSERT_NE(name, run.lines.end());
  EXPECT_EQ(name[1], Element(4, "SISAN_YOBI1_KISYU"));
  EXPECT_EQ(name[2], Element(4, "SISAN_YOBI1_KIMATU", "5"));
  EXPECT_NE(
      std::find(run.lines.begin(), run.lines.end(), Element(4, "JIGYOUNUSIKASI_KIMATU", "40")),
      run.lines.end());
  EXPECT_EQ(run.lines.back(), Element(4, "KOUJYOMAESYOTOKUKINNGAKU_KIMATU", "123"));
}

// A report file that rewrites every row of the store after each line, so a
// value tells when its row was looked up.
class ChangingStoreFile : public MemoryFile {
 public:
  explicit ChangingStoreFile(CollectedData& data) : data_(data) {}
  bool Write(const void* bytes, std::size_t size) override {
    ++generation_;
    for (SumRecord& row : data_.SumRows) {
      row.OpeningBalance = row.ClosingBalance = generation_ * kYen;
      SetFieldText(row.ItemName, std::to_string(generation_));
    }
    return MemoryFile::Write(bytes, size);
  }

 private:
  CollectedData& data_;
  std::int64_t generation_ = 1;
};

// All elements of an account carry the values of one lookup, and each
// account has its own.
TEST(StatementBalanceSheetTest, OneLookupPerAccount) {
  for (auto table : {GeneralBalanceSheetTable(), RealEstateBalanceSheetTable()}) {
    CollectedData data;
    AddEveryAccount(data);
    ChangingStoreFile file(data);
    const std::string path = "Z:\\report.xml";
    XmlOutput out;
    out.Open(&file, &path);
    ReportTestEnv env;
    ReportWriter writer(env, nullptr, data, 1, testing::TestEdition().defaultProductName);
    ASSERT_EQ(writer.WriteBalanceSheet(out, table), 1);
    ASSERT_EQ(file.lines.size(), table.size());
    std::set<std::string> accountValues;
    std::string value;
    for (std::size_t i = 0; i < table.size(); ++i) {
      const std::string& line = file.lines[i];
      std::string lineValue = line.substr(line.find('>') + 1, line.find("</") - line.find('>') - 1);
      if (i == 0 || table[i].Code != table[i - 1].Code) {
        value = lineValue;
        EXPECT_TRUE(accountValues.insert(value).second) << table[i].ElementName;
      }
      EXPECT_EQ(lineValue, value) << table[i].ElementName;
    }
    EXPECT_EQ(accountValues.size(), 48u);
  }
}

TEST(StatementMonthlySalesTest, TwentySixElementsWithoutTheSkippedAmount) {
  CollectedData data;
  StAOSUMINFO_TSUKIBETSU& totals = data.MonthlyTotals;
  for (int i = 0; i < 12; ++i) {
    totals.Sales[i] = (1001 + i) * kYen;
    totals.Purchases[i] = (2001 + i) * kYen;
  }
  totals.HouseholdConsumption = 31 * kYen;
  totals.MiscellaneousIncome = 32 * kYen;
  totals.Other = 777 * kYen;
  SectionRun run = RunSection(data, [](auto& w, auto& o) { return w.WriteMonthlySales(o); });
  EXPECT_EQ(run.result, 1);
  ASSERT_EQ(run.lines.size(), 26u);
  EXPECT_EQ(run.lines[0], Element(4, "URIAGEKINGAKU1", "1001"));
  EXPECT_EQ(run.lines[11], Element(4, "URIAGEKINGAKU12", "1012"));
  EXPECT_EQ(run.lines[12], Element(4, "KAJISYOUHI", "31"));
  EXPECT_EQ(run.lines[13], Element(4, "ZATUSYUNYU", "32"));
  EXPECT_EQ(run.lines[14], Element(4, "SIIREKINGAKU1", "2001"));
  EXPECT_EQ(run.lines[25], Element(4, "SIIREKINGAKU12", "2012"));
  EXPECT_EQ(run.bytes.find("777"), std::string::npos);
}

}  // namespace
}  // namespace pv14
