#include <gtest/gtest.h>

#include <string>

#include "engine/FieldText.h"
#include "tests/unit/ReportFixture.h"

namespace pv14::testing {
namespace {

// Row i of a table whose texts start with prefix ("G" general, "R" real
// estate) holds the amounts 100 * i + 1, + 2 and + 3 yen in field order.
constexpr std::int64_t kYen = 10000;
std::string Text(const std::string& prefix, const char* what, int i) {
  return prefix + what + std::to_string(i);
}
std::string Yen(int i, int k) { return std::to_string(100 * i + k); }

template <class Row>
void FillPayee(Row& row, const std::string& prefix, int i) {
  SetFieldText(row.AddressNameUpper, Text(prefix, "UP", i));
  SetFieldText(row.AddressNameLower, Text(prefix, "LO", i));
}
void FillInterest(InterestRow& row, const std::string& prefix, int i) {
  FillPayee(row, prefix, i);
  row.Borrowed = (100 * i + 1) * kYen;
  row.Interest = (100 * i + 2) * kYen;
  row.ExpenseShare = (100 * i + 3) * kYen;
}
void FillFee(FeeRow& row, const std::string& prefix, int i) {
  FillPayee(row, prefix, i);
  row.Fee = (100 * i + 1) * kYen;
  row.ExpenseShare = (100 * i + 2) * kYen;
  row.WithheldTax = (100 * i + 3) * kYen;
}
// Row 1 pays key money, row 2 a renewal fee.
void FillRent(RentRow& row, const std::string& prefix, int i) {
  FillPayee(row, prefix, i);
  SetFieldText(row.Property, Text(prefix, "PROP", i));
  row.FeeKind = static_cast<std::uint8_t>(i - 1);
  row.KeyOrRenewalFee = (100 * i + 1) * kYen;
  row.Rent = (100 * i + 2) * kYen;
  row.ExpenseShare = (100 * i + 3) * kYen;
}

void Fill(CollectedData& data) {
  auto& interestFees = NewZeroBlock(data.GeneralSaveInfo.InterestFees);
  auto& rent = NewZeroBlock(data.GeneralSaveInfo.Rent);
  auto& borrowingFees = NewZeroBlock(data.RealEstateSaveInfo.BorrowingFees);
  auto& realEstateRent = NewZeroBlock(data.RealEstateSaveInfo.Rent);
  for (int i = 1; i <= 2; ++i) {
    FillInterest(interestFees.InterestRows[i - 1], "G", i);
    FillFee(interestFees.FeeRows[i - 1], "G", i);
    FillRent(rent.RentRows[i - 1], "G", i);
    FillFee(borrowingFees.FeeRows[i - 1], "R", i);
    FillRent(realEstateRent.RentRows[i - 1], "R", i);
  }
  for (int i = 1; i <= 3; ++i) FillInterest(borrowingFees.BorrowingRows[i - 1], "R", i);
}

std::string Payee(const std::string& prefix, int i) {
  return Element(5, "JUUSYO_SIMEI_JOUDAN", Text(prefix, "UP", i)) +
         Element(5, "JUUSYO_SIMEI_GEDAN", Text(prefix, "LO", i));
}

// Rows 1..to of a schedule, each wrapped in its counted element.
template <class RowText>
std::string Rows(const char* element, int to, RowText rowText) {
  std::string text;
  for (int n = 1; n <= to; ++n) text += OpenRow(element, n) + rowText(n) + CloseRow(element);
  return text;
}

std::string InterestRows(const char* element, const char* interest, const char* prefix, int to) {
  return Rows(element, to, [=](int i) {
    return Payee(prefix, i) + Element(5, "KARIIREKIN_KINGAKU", Yen(i, 1)) +
           Element(5, interest, Yen(i, 2)) + Element(5, "HITUYOUKEIHIGAKU", Yen(i, 3));
  });
}
std::string FeeRows(const char* prefix, int to) {
  return Rows("ZEIRISI_UTIWAKE", to, [=](int i) {
    return Payee(prefix, i) + Element(5, "HOUSYUU_KINGAKU", Yen(i, 1)) +
           Element(5, "HITUYOUKEIHIGAKU", Yen(i, 2)) + Element(5, "GENSENZEIGAKU", Yen(i, 3));
  });
}
std::string RentAmounts(int i) {
  const std::string fee = Yen(i, 1);
  return Element(5, "KENRIKIN", i == 1 ? fee : "") + Element(5, "KOUSINRYOU", i == 2 ? fee : "") +
         Element(5, "TINSYAKURYOU", Yen(i, 2)) + Element(5, "HITUYOUKEIHIGAKU", Yen(i, 3));
}
std::string RentTwoLineRows(const char* prefix, int to) {
  return Rows("TIDAI_UTIWAKE", to, [=](int i) {
    return Payee(prefix, i) + Element(5, "TINSYAKUBUKKEN_JOUDAN", Text(prefix, "PROP", i)) +
           Element(5, "TINSYAKUBUKKEN_GEDAN") + RentAmounts(i);
  });
}
std::string RentNumberedRows(int to) {
  return Rows("TIDAI_UTIWAKE", to, [](int i) {
    return Element(5, "JUUSYO_SIMEI_1", Text("R", "UP", i)) +
           Element(5, "JUUSYO_SIMEI_2", Text("R", "LO", i)) + Element(5, "JUUSYO_SIMEI_3") +
           Element(5, "JUUSYO_SIMEI_4") + Element(5, "TINSYAKUBUKKEN_1", Text("R", "PROP", i)) +
           Element(5, "TINSYAKUBUKKEN_2") + Element(5, "TINSYAKUBUKKEN_3") +
           Element(5, "TINSYAKUBUKKEN_4") + RentAmounts(i);
  });
}

using Member = int (ReportWriter::*)(XmlOutput&, int);
Operation Call(Member member, int rows) {
  return [=](ReportWriter& w, XmlOutput& out) { return (w.*member)(out, rows); };
}
Operation RentRealEstate(std::uint8_t returnKind, int rows) {
  return [=](ReportWriter& w, XmlOutput& out) {
    StDATAINFO record{};
    record.ReturnKind = returnKind;
    return w.WriteRentRealEstate(out, record, rows);
  };
}

class PaymentSectionTest : public ::testing::TestWithParam<SectionCase> {};

TEST_P(PaymentSectionTest, WritesTheSectionContents) {
  CollectedData data;
  Fill(data);
  const SectionRun w = RunSection(data, GetParam().op);
  EXPECT_EQ(w.result, GetParam().result);
  EXPECT_EQ(w.bytes, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Schedules, PaymentSectionTest,
    ::testing::Values(
        SectionCase{"InterestTwoRows", Call(&ReportWriter::WriteInterest, 2), 1,
                    InterestRows("RISI_UTIWAKE", "RISIWARIBIKIRYOU", "G", 2)},
        SectionCase{
            "InterestThirdRowFails", Call(&ReportWriter::WriteInterest, 3), 0,
            InterestRows("RISI_UTIWAKE", "RISIWARIBIKIRYOU", "G", 2) + OpenRow("RISI_UTIWAKE", 3)},
        SectionCase{"InterestNoRows", Call(&ReportWriter::WriteInterest, 0), 1, ""},
        SectionCase{"BorrowingBlueThreeRows", Call(&ReportWriter::WriteBorrowingInterest, 3), 1,
                    InterestRows("KARIIRE_UTIWAKE", "KARIIREKINRISI", "R", 3)},
        SectionCase{"BorrowingWhiteTwoRows", Call(&ReportWriter::WriteBorrowingInterest, 2), 1,
                    InterestRows("KARIIRE_UTIWAKE", "KARIIREKINRISI", "R", 2)},
        SectionCase{"BorrowingFourthRowFails", Call(&ReportWriter::WriteBorrowingInterest, 4), 0,
                    InterestRows("KARIIRE_UTIWAKE", "KARIIREKINRISI", "R", 3) +
                        OpenRow("KARIIRE_UTIWAKE", 4)},
        SectionCase{"FeesGeneral", Call(&ReportWriter::WriteFeesGeneral, 2), 1, FeeRows("G", 2)},
        SectionCase{"FeesRealEstate", Call(&ReportWriter::WriteFeesRealEstate, 2), 1,
                    FeeRows("R", 2)},
        SectionCase{"FeesThirdRowFails", Call(&ReportWriter::WriteFeesRealEstate, 3), 0,
                    FeeRows("R", 2) + OpenRow("ZEIRISI_UTIWAKE", 3)},
        SectionCase{"RentGeneralKeyMoneyThenRenewalFee", Call(&ReportWriter::WriteRentGeneral, 2),
                    1, RentTwoLineRows("G", 2)},
        SectionCase{"RentGeneralThirdRowFails", Call(&ReportWriter::WriteRentGeneral, 3), 0,
                    RentTwoLineRows("G", 2) + OpenRow("TIDAI_UTIWAKE", 3)},
        SectionCase{"RentRealEstateBlueNumbered", RentRealEstate(kBlueReturn, 2), 1,
                    RentNumberedRows(2)},
        SectionCase{"RentRealEstateWhiteTwoLines", RentRealEstate(kWhiteReturn, 2), 1,
                    RentTwoLineRows("R", 2)},
        SectionCase{"RentRealEstateOtherKindFailsAfterStartTag", RentRealEstate(5, 2), 0,
                    OpenRow("TIDAI_UTIWAKE", 1)},
        SectionCase{"RentRealEstateThirdRowFails", RentRealEstate(kBlueReturn, 3), 0,
                    RentNumberedRows(2) + OpenRow("TIDAI_UTIWAKE", 3)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PaymentTest, FeeKindOfNeitherSortWritesNoFeePair) {
  CollectedData data;
  RentRow& row = NewZeroBlock(data.GeneralSaveInfo.Rent).RentRows[0];
  row.FeeKind = 2;
  row.KeyOrRenewalFee = 3000000000;
  row.Rent = 1200000000;
  const SectionRun w = RunSection(data, Call(&ReportWriter::WriteRentGeneral, 1));
  EXPECT_EQ(w.result, 1);
  EXPECT_EQ(w.bytes, OpenRow("TIDAI_UTIWAKE", 1) + Element(5, "JUUSYO_SIMEI_JOUDAN") +
                         Element(5, "JUUSYO_SIMEI_GEDAN") + Element(5, "TINSYAKUBUKKEN_JOUDAN") +
                         Element(5, "TINSYAKUBUKKEN_GEDAN") + Element(5, "TINSYAKURYOU", "120000") +
                         Element(5, "HITUYOUKEIHIGAKU") + CloseRow("TIDAI_UTIWAKE"));
}

TEST(PaymentTest, MissingBlocksGiveBlankRows) {
  CollectedData data;
  const std::string blankRow = Element(5, "JUUSYO_SIMEI_JOUDAN") +
                               Element(5, "JUUSYO_SIMEI_GEDAN") + Element(5, "KARIIREKIN_KINGAKU") +
                               Element(5, "RISIWARIBIKIRYOU") + Element(5, "HITUYOUKEIHIGAKU");
  const SectionRun w = RunSection(data, Call(&ReportWriter::WriteInterest, 2));
  EXPECT_EQ(w.result, 1);
  EXPECT_EQ(w.bytes, Rows("RISI_UTIWAKE", 2, [&](int) { return blankRow; }));
}

TEST(PaymentTest, StopsAtEveryFailedWrite) {
  CollectedData data;
  Fill(data);
  ExpectStopsAtEveryFailedWrite(data, RentRealEstate(kBlueReturn, 2));
  ExpectStopsAtEveryFailedWrite(data, Call(&ReportWriter::WriteBorrowingInterest, 3));
}

}  // namespace
}  // namespace pv14::testing
