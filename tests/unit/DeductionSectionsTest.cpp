#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>

#include "resources/Text.h"
#include "tests/unit/ReportFixture.h"

namespace pv14 {
namespace {

using namespace pv14::testing;

// A blue general store: the income before the deduction is the closing
// balance of the 43rd row.
void FillStore(CollectedData& data, std::uint8_t selection, std::int64_t realEstate,
               std::int64_t income, std::int32_t rows = 43) {
  StIPPAN_BASIC& basic = NewZeroBlock(data.GeneralSaveInfo.Basic);
  basic.DeductionSelection = selection;
  basic.RealEstateIncome = realEstate;
  for (std::int32_t i = 1; i <= rows; ++i)
    data.SumRows.push_back(Row(i, "", 0, i == 43 ? income : kYen));
}

SectionRun Deduction(const CollectedData& data) {
  return RunSection(data,
                    [](auto& w, auto& o) { return w.WriteBlueDeduction(o, Record(kBlueReturn)); });
}

std::string Elements(std::string_view realEstate, std::string_view income,
                     std::string_view selection, std::string_view full, std::string_view reduced) {
  return Element(4, "FUDOUSANSYOTOKU", realEstate) + Element(4, "AOIROKOUJOMAESYOTOKU", income) +
         Element(4, "AOIROKOUJO_SENTAKU", selection) + Element(4, "AOIROKOUJO_KOUJYOGAKU", full) +
         Element(4, "JOUKIIGAI_KOUJYOGAKU", reduced);
}

TEST(DeductionBlueTest, FixedDeductionSharedWithRealEstateAndCappedAtIncome) {
  const struct {
    std::uint8_t selection;
    std::int64_t realEstate, income;  // stored
    const char *expectedRealEstate, *expectedIncome, *expectedDeduction;
  } cases[] = {
      {1, 200000 * kYen, 3000000 * kYen, "200000", "3000000", "450000"},
      {1, 800000 * kYen, 3000000 * kYen, "800000", "3000000", "0"},
      {1, 0, 300000 * kYen, "0", "300000", "300000"},
      {0, 30000 * kYen, 1000000 * kYen, "30000", "1000000", "70000"},
      {1, -500000 * kYen, 3000000 * kYen, "0", "3000000", "650000"},  // a loss counts as 0
      {1, 0, -20000 * kYen, "0", "0", "0"},
      {0, 12345000, 1000000 * kYen, "1235", "1000000", "98765"},  // 1234.5 yen
      {0, 12344999, 1000000 * kYen, "1234", "1000000", "98766"},  // 1234.4999 yen
      {1, 0, 300000 * kYen + 4999, "0", "300000", "300000"},
      {1, 100000 * kYen + 5000, 3000000 * kYen, "100001", "3000000", "549999"},
  };
  for (const auto& c : cases) {
    CollectedData data;
    FillStore(data, c.selection, c.realEstate, c.income);
    SectionRun run = Deduction(data);
    EXPECT_EQ(run.result, 1);
    const bool full = c.selection == 1;
    EXPECT_EQ(run.bytes,
              Elements(c.expectedRealEstate, c.expectedIncome, full ? "1" : "2",
                       full ? c.expectedDeduction : "", full ? "" : c.expectedDeduction));
  }
}

TEST(DeductionBlueTest, FailuresStopWhereTheyArise) {
  CollectedData shortList;
  FillStore(shortList, 1, 200000 * kYen, 0, 42);
  SectionRun run = Deduction(shortList);
  EXPECT_EQ(run.result, 0);
  EXPECT_EQ(run.bytes, Element(4, "FUDOUSANSYOTOKU", "200000"));

  CollectedData unknownSelection;
  FillStore(unknownSelection, 2, 0, 500000 * kYen);
  run = Deduction(unknownSelection);
  EXPECT_EQ(run.result, 0);
  EXPECT_EQ(run.bytes,
            Element(4, "FUDOUSANSYOTOKU", "0") + Element(4, "AOIROKOUJOMAESYOTOKU", "500000"));
}

// Without the engine's basic block the values read as zero: the reduced
// deduction, capped at the income.
TEST(DeductionBlueTest, MissingBasicBlockReadsAsZero) {
  CollectedData data;
  for (std::int32_t i = 1; i <= 43; ++i) data.SumRows.push_back(Row(i, "", 0, 40000 * kYen));
  SectionRun run = Deduction(data);
  EXPECT_EQ(run.result, 1);
  EXPECT_EQ(run.bytes, Elements("0", "40000", "2", "", "40000"));
}

TEST(DeductionReserveTest, FourAmountsAndTheFixedRate) {
  CollectedData data;
  std::int64_t* amounts = NewZeroBlock(data.GeneralSaveInfo.ReservesFamily).ReserveAmounts;
  amounts[0] = 11 * kYen;
  amounts[2] = 110000 * kYen + 9999;
  amounts[3] = -3 * kYen;
  const auto op = [](auto& w, auto& o) { return w.WriteBadDebtReserve(o); };
  const std::string rate = Element(4, "IKKATU_KURIIRERITU", "1");
  EXPECT_EQ(RunSection(data, op).bytes, Element(4, "KOBETU_KURIIREGAKU", "11") +
                                            Element(4, "IKKATU_KURIIREGOUKEIGAKU") + rate +
                                            Element(4, "IKKATU_KURIIREGENDOGAKU", "110000") +
                                            Element(4, "IKKATU_KURIIREGAKU", "-3"));
  CollectedData withoutBlock;
  EXPECT_EQ(RunSection(withoutBlock, op).bytes,
            Element(4, "KOBETU_KURIIREGAKU") + Element(4, "IKKATU_KURIIREGOUKEIGAKU") + rate +
                Element(4, "IKKATU_KURIIREGENDOGAKU") + Element(4, "IKKATU_KURIIREGAKU"));
}

std::string Times(const std::string& text, int n) {
  std::string repeated;
  for (int i = 0; i < n; ++i) repeated += text;
  return repeated;
}

TEST(DeductionAssociationTest, NameEscapedAndKeptWithinItsBuffer) {
  const std::pair<std::optional<std::string>, std::string> cases[] = {
      {SJ("青色申告会"), SJ("青色申告会")},
      {std::string("A&B <C>"), "A&amp;B &lt;C&gt;"},
      {std::string(), ""},
      {std::nullopt, ""},  // no basic block
      // Unterminated fields: 127 bytes at most, never half a character.
      {std::string(128, 'A'), std::string(127, 'A')},
      {Times(SJ("会"), 64), Times(SJ("会"), 63)},
  };
  for (const auto& [field, expected] : cases) {
    CollectedData data;
    if (field) {
      char* name = NewZeroBlock(data.GeneralSaveInfo.Basic).AssociationName;
      std::memcpy(name, field->data(), std::min<std::size_t>(field->size(), 128));
    }
    SectionRun run = RunSection(data, [](auto& w, auto& o) { return w.WriteAssociationName(o); });
    EXPECT_EQ(run.result, 1);
    EXPECT_EQ(run.bytes, Element(4, "KANYUUDANTAIMEI", expected));
  }
}

TEST(DeductionLiabilityInterestTest, WholeYenOrEmpty) {
  const std::pair<std::optional<std::int64_t>, const char*> cases[] = {
      {123456 * kYen, "123456"}, {0, ""}, {9999, ""}, {std::nullopt, ""}};
  for (const auto& [stored, expected] : cases) {
    CollectedData data;
    if (stored) NewZeroBlock(data.RealEstateSaveInfo.Basic).LiabilityInterest = *stored;
    SectionRun run = RunSection(data, [](auto& w, auto& o) { return w.WriteLiabilityInterest(o); });
    EXPECT_EQ(run.bytes, Element(4, "FUSAIRISIGAKU", expected)) << expected;
  }
}

}  // namespace
}  // namespace pv14
