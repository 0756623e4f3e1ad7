#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>

#include "resources/Text.h"
#include "tests/unit/ReportFixture.h"

namespace pv14 {
namespace {

using namespace report_test;

constexpr ItemTableRow kSales[] = {{"URIAGEKINGAKU", 101, 0}};
constexpr ItemTableRow kSpare[] = {{"KEIHI_YOBI1", 125, 1}};

std::function<int(ReportWriter&, XmlOutput&)> Items(std::span<const ItemTableRow> table) {
  return [table](ReportWriter& w, XmlOutput& o) { return w.WriteStatementItems(o, table); };
}

struct AmountCase {
  const char* name;
  std::int64_t stored;
  const char* expected;
};

void PrintTo(const AmountCase& c, std::ostream* os) { *os << c.name; }

class StatementAmountTest : public ::testing::TestWithParam<AmountCase> {};

TEST_P(StatementAmountTest, ClosingBalanceInWholeYen) {
  CollectedData data;
  data.SumRows.push_back(Row(101, "", 0, GetParam().stored));
  SectionRun run = RunSection(data, Items(kSales));
  EXPECT_EQ(run.result, 1);
  EXPECT_EQ(run.bytes, Element(4, "URIAGEKINGAKU", GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Amounts, StatementAmountTest,
    ::testing::Values(AmountCase{"WholeYen", 123450000, "12345"},
                      AmountCase{"Negative", -500 * kYen, "-500"},
                      AmountCase{"HalfAYenIsEmpty", 5000, ""},
                      AmountCase{"MinusHalfAYenIsEmpty", -5000, ""},
                      AmountCase{"ZeroIsEmpty", 0, ""},
                      AmountCase{"FractionTruncated", 12345 * kYen + 9999, "12345"},
                      AmountCase{"NegativeFractionTruncated", -(12345 * kYen + 9999), "-12345"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StatementItemsTest, MissingCodeGivesEmptyElements) {
  CollectedData data;
  data.SumRows.push_back(Row(102, "other", 0, 7 * kYen));
  EXPECT_EQ(RunSection(data, Items(kSales)).bytes, Element(4, "URIAGEKINGAKU"));
  EXPECT_EQ(RunSection(data, Items(kSpare)).bytes,
            Element(4, "KEIHI_YOBI1_KAMOKU") + Element(4, "KEIHI_YOBI1"));
}

TEST(StatementItemsTest, SpareLineWritesItsCleanedAccountNameFirst) {
  CollectedData data;
  data.SumRows.push_back(Row(125, SJ("【雑費】 (製)"), 0, 3000 * kYen));
  SectionRun run = RunSection(data, Items(kSpare));
  EXPECT_EQ(run.result, 1);
  EXPECT_EQ(run.bytes,
            Element(4, "KEIHI_YOBI1_KAMOKU", SJ("雑費")) + Element(4, "KEIHI_YOBI1", "3000"));
}

TEST(StatementItemsTest, UnterminatedItemNameIsReadWithinItsField) {
  CollectedData data;
  SumRecord row = Row(125, "", 0, 0);
  std::memset(row.ItemName, 'N', sizeof row.ItemName);
  data.SumRows.push_back(row);
  SectionRun run = RunSection(data, Items(kSpare));
  EXPECT_EQ(run.result, 1);
  EXPECT_EQ(run.bytes, Element(4, "KEIHI_YOBI1_KAMOKU", std::string(sizeof row.ItemName, 'N')) +
                           Element(4, "KEIHI_YOBI1"));
}

TEST(StatementItemsTest, WholeTableInItsOrder) {
  CollectedData data;
  data.SumRows.push_back(Row(101, "", 0, 1000000 * kYen));
  data.SumRows.push_back(Row(143, SJ("（予備）"), 0, 20 * kYen));
  SectionRun run = RunSection(data, Items(BlueGeneralProfitLossTable()));
  EXPECT_EQ(run.result, 1);
  ASSERT_EQ(run.lines.size(), 35u + 10u);
  EXPECT_EQ(run.lines.front(), Element(4, "URIAGEKINGAKU", "1000000"));
  EXPECT_EQ(run.lines[1], Element(4, "KISYUSYOHINTANAOROSIDAKA"));
  EXPECT_EQ(run.lines[run.lines.size() - 2], Element(4, "KURIIRE_YOBI2_KAMOKU", SJ("予備")));
  EXPECT_EQ(run.lines.back(), Element(4, "KURIIRE_YOBI2", "20"));
  ExpectStopsAtEveryFailedWrite(data, Items(BlueGeneralProfitLossTable()));
}

struct CleanCase {
  const char* name;
  std::string source;
  std::string expected;
};

void PrintTo(const CleanCase& c, std::ostream* os) { *os << c.name; }

class StatementCleanNameTest : public ::testing::TestWithParam<CleanCase> {};

TEST_P(StatementCleanNameTest, RemovesBlanksBracketsAndMark) {
  std::string cleaned;
  EXPECT_EQ(ReportWriter::CleanItemName(GetParam().source, cleaned), 1);
  EXPECT_EQ(cleaned, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Names, StatementCleanNameTest,
    ::testing::Values(CleanCase{"Untouched", SJ("雑費"), SJ("雑費")},
                      CleanCase{"MarkAndBrackets", SJ("【雑費】 (製)"), SJ("雑費")},
                      CleanCase{"Blanks", " a b ", "ab"},
                      CleanCase{"FullWidthBlanks", SJ("　消耗品　費"), SJ("消耗品費")},
                      CleanCase{"EveryBracket", SJ("《a》（b）［c］【d】"), "abcd"},
                      CleanCase{"HalfWidthParenthesesStay", "(a)", "(a)"},
                      CleanCase{"IncompleteMarkStays", SJ("(製"), SJ("(製")},
                      CleanCase{"OnlyRemovals", SJ(" 【】(製)"), ""},
                      // Matching is tried at every byte: here the second byte of "＝"
                      // and the letter y read as "【" and are removed together.
                      CleanCase{"MatchStartingOnASecondByte", SJ("＝") + "y", "\x81"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StatementCleanNameTest, EmptySourceWritesNothing) {
  std::string destination = "kept";
  EXPECT_EQ(ReportWriter::CleanItemName("", destination), 0);
  EXPECT_EQ(destination, "kept");
}

// One row per account of both balance-sheet tables.
void AddEveryAccount(CollectedData& data, std::int64_t opening, std::int64_t closing) {
  for (std::int32_t code = 201; code <= 247; ++code) {
    data.SumRows.push_back(Row(code, SJ("［科目］"), opening, closing));
  }
  data.SumRows.push_back(Row(999, "", opening, closing));
}

std::function<int(ReportWriter&, XmlOutput&)> Balance(std::span<const BalanceTableRow> table) {
  return [table](ReportWriter& w, XmlOutput& o) { return w.WriteBalanceSheet(o, table); };
}

TEST(StatementBalanceSheetTest, OpeningClosingAndAccountNames) {
  CollectedData data;
  data.SumRows.push_back(Row(201, "", 100 * kYen, 200 * kYen));
  data.SumRows.push_back(Row(217, SJ("［予備 1］"), 0, 5 * kYen));
  data.SumRows.push_back(Row(224, "", 30 * kYen, 40 * kYen));
  data.SumRows.push_back(Row(999, "", 1 * kYen, 123 * kYen));
  data.SumRows.push_back(Row(201, "", 9 * kYen, 9 * kYen));  // later rows of a code are not read
  SectionRun run = RunSection(data, Balance(GeneralBalanceSheetTable()));
  EXPECT_EQ(run.result, 1);
  ASSERT_EQ(run.lines.size(), 114u);
  EXPECT_EQ(run.lines[0], Element(4, "GENKIN_KISYU", "100"));
  EXPECT_EQ(run.lines[1], Element(4, "GENKIN_KIMATU", "200"));
  EXPECT_EQ(run.lines[2], Element(4, "TOUZAYOKIN_KISYU"));
  auto at = [&](const std::string& line) {
    return std::find(run.lines.begin(), run.lines.end(), line);
  };
  auto kamoku = at(Element(4, "SISAN_YOBI1_KAMOKU", SJ("予備1")));
  ASSERT_NE(kamoku, run.lines.end());
  EXPECT_EQ(*(kamoku + 1), Element(4, "SISAN_YOBI1_KISYU"));
  EXPECT_EQ(*(kamoku + 2), Element(4, "SISAN_YOBI1_KIMATU", "5"));
  EXPECT_NE(at(Element(4, "JIGYOUNUSIKASI_KIMATU", "40")), run.lines.end());
  EXPECT_EQ(run.lines.back(), Element(4, "KOUJYOMAESYOTOKUKINNGAKU_KIMATU", "123"));
}

TEST(StatementBalanceSheetTest, EveryFailedWriteStopsTheSheet) {
  CollectedData data;
  AddEveryAccount(data, 1 * kYen, 2 * kYen);
  ExpectStopsAtEveryFailedWrite(data, Balance(RealEstateBalanceSheetTable()));
}

// A report file that changes every row of the store after each line, so a
// value shows when its row was looked up.
class ChangingStoreFile : public MemoryFile {
 public:
  explicit ChangingStoreFile(CollectedData& data) : data_(data) {}
  bool Write(const void* data, std::size_t size) override {
    bool written = MemoryFile::Write(data, size);
    ++generation_;
    for (SumRecord& row : data_.SumRows) {
      row.OpeningBalance = generation_ * kYen;
      row.ClosingBalance = generation_ * kYen;
      SetFieldText(row.ItemName, std::to_string(generation_));
    }
    return written;
  }

 private:
  CollectedData& data_;
  std::int64_t generation_ = 1;
};

std::string ValueOf(const std::string& line) {
  std::size_t start = line.find('>') + 1;
  return line.substr(start, line.find('<', start) - start);
}

class StatementBalanceLookupTest
    : public ::testing::TestWithParam<std::span<const BalanceTableRow> (*)()> {};

// The rows of one account come from one lookup: all its elements carry the
// values the store held when the account's first element was written.
TEST_P(StatementBalanceLookupTest, OneLookupPerAccount) {
  CollectedData data;
  AddEveryAccount(data, 1 * kYen, 1 * kYen);
  ReportTestEnv env;
  ChangingStoreFile file(data);
  const std::string path = "Z:\\report.xml";
  XmlOutput out;
  out.Open(&file, &path);
  ReportWriter writer(env, nullptr, data, 1);
  auto table = GetParam()();
  ASSERT_EQ(writer.WriteBalanceSheet(out, table), 1);
  ASSERT_EQ(file.lines.size(), table.size());
  std::string accountValue;
  std::set<std::string> seen;
  for (std::size_t i = 0; i < table.size(); ++i) {
    std::string value = ValueOf(file.lines[i]);
    if (i == 0 || table[i].Code != table[i - 1].Code) {
      accountValue = value;
      EXPECT_TRUE(seen.insert(value).second) << "no new lookup for " << table[i].ElementName;
    } else {
      EXPECT_EQ(value, accountValue) << table[i].ElementName;
    }
  }
  EXPECT_EQ(seen.size(), 48u);
}

INSTANTIATE_TEST_SUITE_P(Tables, StatementBalanceLookupTest,
                         ::testing::Values(GeneralBalanceSheetTable, RealEstateBalanceSheetTable));

TEST(StatementMonthlySalesTest, TwentySixElementsWithoutTheSkippedAmount) {
  CollectedData data;
  StAOSUMINFO_TSUKIBETSU& totals = data.MonthlyTotals;
  for (int i = 0; i < 12; ++i) {
    totals.Sales[i] = (1000 + i + 1) * kYen;
    totals.Purchases[i] = (2000 + i + 1) * kYen;
  }
  totals.HouseholdConsumption = 31 * kYen;
  totals.MiscellaneousIncome = 32 * kYen;
  totals.Other = 777 * kYen;
  auto op = [](ReportWriter& w, XmlOutput& o) { return w.WriteMonthlySales(o); };
  SectionRun run = RunSection(data, op);
  EXPECT_EQ(run.result, 1);
  ASSERT_EQ(run.lines.size(), 26u);
  EXPECT_EQ(run.lines[0], Element(4, "URIAGEKINGAKU1", "1001"));
  EXPECT_EQ(run.lines[11], Element(4, "URIAGEKINGAKU12", "1012"));
  EXPECT_EQ(run.lines[12], Element(4, "KAJISYOUHI", "31"));
  EXPECT_EQ(run.lines[13], Element(4, "ZATUSYUNYU", "32"));
  EXPECT_EQ(run.lines[14], Element(4, "SIIREKINGAKU1", "2001"));
  EXPECT_EQ(run.lines[25], Element(4, "SIIREKINGAKU12", "2012"));
  EXPECT_EQ(run.bytes.find("777"), std::string::npos);
  ExpectStopsAtEveryFailedWrite(data, op);
}

TEST(StatementMonthlySalesTest, EmptyTotalsGiveEmptyElements) {
  CollectedData data;
  SectionRun run =
      RunSection(data, [](ReportWriter& w, XmlOutput& o) { return w.WriteMonthlySales(o); });
  ASSERT_EQ(run.lines.size(), 26u);
  EXPECT_EQ(run.lines[6], Element(4, "URIAGEKINGAKU7"));
  EXPECT_EQ(run.lines[20], Element(4, "SIIREKINGAKU7"));
}

}  // namespace
}  // namespace pv14
