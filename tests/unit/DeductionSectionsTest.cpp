#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>

#include "resources/Text.h"
#include "tests/unit/ReportFixture.h"

namespace pv14 {
namespace {

using namespace report_test;

// The store of a blue general data set: the income before the deduction is
// the closing balance of the 43rd row.
void FillDeductionData(CollectedData& data, std::uint8_t selection, std::int64_t realEstate,
                       std::int64_t income, std::size_t rows = 43) {
  StIPPAN_BASIC& basic = NewZeroBlock(data.GeneralSaveInfo.Basic);
  basic.DeductionSelection = selection;
  basic.RealEstateIncome = realEstate;
  for (std::size_t i = 1; i <= rows; ++i) {
    data.SumRows.push_back(Row(static_cast<std::int32_t>(i), "", 0, i == 43 ? income : 1 * kYen));
  }
}

const auto kDeduction = [](ReportWriter& w, XmlOutput& o) {
  StDATAINFO record = Record(kBlueReturn);
  return w.WriteBlueDeduction(o, record);
};

std::string FiveElements(std::string_view realEstate, std::string_view income,
                         std::string_view selection, std::string_view blue,
                         std::string_view other) {
  return Element(4, "FUDOUSANSYOTOKU", realEstate) + Element(4, "AOIROKOUJOMAESYOTOKU", income) +
         Element(4, "AOIROKOUJO_SENTAKU", selection) + Element(4, "AOIROKOUJO_KOUJYOGAKU", blue) +
         Element(4, "JOUKIIGAI_KOUJYOGAKU", other);
}

struct DeductionCase {
  const char* name;
  std::uint8_t selection;
  std::int64_t realEstate;  // stored
  std::int64_t income;      // stored
  const char* expectedRealEstate;
  const char* expectedIncome;
  const char* expectedDeduction;
};

void PrintTo(const DeductionCase& c, std::ostream* os) { *os << c.name; }

class DeductionBlueTest : public ::testing::TestWithParam<DeductionCase> {};

TEST_P(DeductionBlueTest, WritesTheFiveElements) {
  const DeductionCase& c = GetParam();
  CollectedData data;
  FillDeductionData(data, c.selection, c.realEstate, c.income);
  SectionRun run = RunSection(data, kDeduction);
  EXPECT_EQ(run.result, 1);
  const bool full = c.selection == 1;
  EXPECT_EQ(run.bytes,
            FiveElements(c.expectedRealEstate, c.expectedIncome, full ? "1" : "2",
                         full ? c.expectedDeduction : "", full ? "" : c.expectedDeduction));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DeductionBlueTest,
    ::testing::Values(
        DeductionCase{"RealEstateUsesPartOfTheFullDeduction", 1, 200000 * kYen, 3000000 * kYen,
                      "200000", "3000000", "450000"},
        DeductionCase{"RealEstateUsesAllOfIt", 1, 800000 * kYen, 3000000 * kYen, "800000",
                      "3000000", "0"},
        DeductionCase{"CappedAtTheIncome", 1, 0, 300000 * kYen, "0", "300000", "300000"},
        DeductionCase{"ReducedDeductionGoesToTheOtherElement", 0, 30000 * kYen, 1000000 * kYen,
                      "30000", "1000000", "70000"},
        DeductionCase{"RealEstateLossCountsAsNothing", 1, -500000 * kYen, 3000000 * kYen, "0",
                      "3000000", "650000"},
        DeductionCase{"BusinessLossGivesNoDeduction", 1, 0, -20000 * kYen, "0", "0", "0"},
        DeductionCase{"HalfAYenRoundsUp", 0, 12345000, 1000000 * kYen, "1235", "1000000", "98765"},
        DeductionCase{"JustBelowHalfAYenRoundsDown", 0, 12344999, 1000000 * kYen, "1234", "1000000",
                      "98766"},
        DeductionCase{"RoundedIncomeCapsTheDeduction", 1, 0, 300000 * kYen + 4999, "0", "300000",
                      "300000"},
        DeductionCase{"RoundedRealEstateReducesTheRest", 1, 100000 * kYen + 5000, 3000000 * kYen,
                      "100001", "3000000", "549999"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DeductionBlueTest, FewerThanFortyThreeRowsFailsAfterTheRealEstateIncome) {
  CollectedData data;
  FillDeductionData(data, 1, 200000 * kYen, 0, 42);
  SectionRun run = RunSection(data, kDeduction);
  EXPECT_EQ(run.result, 0);
  EXPECT_EQ(run.bytes, Element(4, "FUDOUSANSYOTOKU", "200000"));
}

TEST(DeductionBlueTest, UnknownSelectionFailsAfterTheIncome) {
  for (std::uint8_t selection : {2, 255}) {
    CollectedData data;
    FillDeductionData(data, selection, 0, 500000 * kYen);
    SectionRun run = RunSection(data, kDeduction);
    EXPECT_EQ(run.result, 0);
    EXPECT_EQ(run.bytes,
              Element(4, "FUDOUSANSYOTOKU", "0") + Element(4, "AOIROKOUJOMAESYOTOKU", "500000"));
  }
}

// Without the engine's basic block the values read as zero: the reduced
// deduction, capped at the income.
TEST(DeductionBlueTest, MissingBasicBlockReadsAsZero) {
  CollectedData data;
  for (std::int32_t i = 1; i <= 43; ++i) data.SumRows.push_back(Row(i, "", 0, 40000 * kYen));
  SectionRun run = RunSection(data, kDeduction);
  EXPECT_EQ(run.result, 1);
  EXPECT_EQ(run.bytes, FiveElements("0", "40000", "2", "", "40000"));
}

TEST(DeductionBlueTest, EveryFailedWriteStopsTheSection) {
  CollectedData data;
  FillDeductionData(data, 1, 200000 * kYen, 3000000 * kYen);
  ExpectStopsAtEveryFailedWrite(data, kDeduction);
}

const auto kReserve = [](ReportWriter& w, XmlOutput& o) { return w.WriteBadDebtReserve(o); };

TEST(DeductionReserveTest, FourAmountsAndTheFixedRate) {
  CollectedData data;
  std::int64_t* amounts = NewZeroBlock(data.GeneralSaveInfo.ReservesFamily).ReserveAmounts;
  amounts[0] = 11 * kYen;
  amounts[1] = 2000000 * kYen;
  amounts[2] = 110000 * kYen + 9999;
  amounts[3] = -3 * kYen;
  SectionRun run = RunSection(data, kReserve);
  EXPECT_EQ(run.result, 1);
  EXPECT_EQ(run.bytes, Element(4, "KOBETU_KURIIREGAKU", "11") +
                           Element(4, "IKKATU_KURIIREGOUKEIGAKU", "2000000") +
                           Element(4, "IKKATU_KURIIRERITU", "1") +
                           Element(4, "IKKATU_KURIIREGENDOGAKU", "110000") +
                           Element(4, "IKKATU_KURIIREGAKU", "-3"));
  ExpectStopsAtEveryFailedWrite(data, kReserve);
}

TEST(DeductionReserveTest, RateIsOneWhateverTheData) {
  CollectedData withoutBlock;
  EXPECT_EQ(RunSection(withoutBlock, kReserve).bytes,
            Element(4, "KOBETU_KURIIREGAKU") + Element(4, "IKKATU_KURIIREGOUKEIGAKU") +
                Element(4, "IKKATU_KURIIRERITU", "1") + Element(4, "IKKATU_KURIIREGENDOGAKU") +
                Element(4, "IKKATU_KURIIREGAKU"));
}

const auto kAssociation = [](ReportWriter& w, XmlOutput& o) { return w.WriteAssociationName(o); };

struct AssociationCase {
  const char* name;
  std::optional<std::string> field;  // nullopt: no basic block
  std::string expected;
};

void PrintTo(const AssociationCase& c, std::ostream* os) { *os << c.name; }

class DeductionAssociationTest : public ::testing::TestWithParam<AssociationCase> {};

TEST_P(DeductionAssociationTest, WritesTheName) {
  CollectedData data;
  if (GetParam().field) {
    StIPPAN_BASIC& basic = NewZeroBlock(data.GeneralSaveInfo.Basic);
    std::memcpy(basic.AssociationName, GetParam().field->data(),
                std::min(GetParam().field->size(), sizeof basic.AssociationName));
  }
  SectionRun run = RunSection(data, kAssociation);
  EXPECT_EQ(run.result, 1);
  EXPECT_EQ(run.bytes, Element(4, "KANYUUDANTAIMEI", GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Names, DeductionAssociationTest,
    ::testing::Values(AssociationCase{"Plain", SJ("青色申告会"), SJ("青色申告会")},
                      AssociationCase{"Escaped", std::string("A&B <C>"), "A&amp;B &lt;C&gt;"},
                      AssociationCase{"Empty", std::string(), ""},
                      AssociationCase{"NoBlock", std::nullopt, ""},
                      // A field the engine left unterminated: its 127 bytes fit the
                      // buffer, the last one never half a character.
                      AssociationCase{"UnterminatedSingleBytes", std::string(128, 'A'),
                                      std::string(127, 'A')},
                      AssociationCase{"UnterminatedDoubleBytes",
                                      [] {
                                        std::string s;
                                        for (int i = 0; i < 64; ++i) s += SJ("会");
                                        return s;
                                      }(),
                                      [] {
                                        std::string s;
                                        for (int i = 0; i < 63; ++i) s += SJ("会");
                                        return s;
                                      }()}),
    [](const auto& info) { return std::string(info.param.name); });

const auto kInterest = [](ReportWriter& w, XmlOutput& o) { return w.WriteLiabilityInterest(o); };

TEST(DeductionLiabilityInterestTest, WholeYenOrEmpty) {
  const std::pair<std::optional<std::int64_t>, const char*> cases[] = {
      {123456 * kYen, "123456"}, {0, ""}, {9999, ""}, {std::nullopt, ""}};
  for (const auto& [stored, expected] : cases) {
    CollectedData data;
    if (stored) NewZeroBlock(data.RealEstateSaveInfo.Basic).LiabilityInterest = *stored;
    SectionRun run = RunSection(data, kInterest);
    EXPECT_EQ(run.result, 1);
    EXPECT_EQ(run.bytes, Element(4, "FUSAIRISIGAKU", expected)) << expected;
  }
}

}  // namespace
}  // namespace pv14
