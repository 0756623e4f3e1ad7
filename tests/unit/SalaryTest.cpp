#include <gtest/gtest.h>

#include <string>

#include "engine/FieldText.h"
#include "resources/Text.h"
#include "tests/unit/ReportFixture.h"

namespace pv14::testing {
namespace {

// Slot or row i holds values derived from i, so each expected line can be
// told from its neighbours: amounts of 1000 * i yen, i yen plus a fraction
// that must be cut off, and -i yen.
template <class Row>
void FillPerson(Row& row, int i, const char* prefix, int ageBase) {
  SetFieldText(row.Name, prefix + std::to_string(i));
  row.Age = ageBase + i;
  row.Months = i;
  row.Salary = 10000000LL * i;
  row.Bonus = 10000LL * i + 9999;
  row.WithheldTax = -10000LL * i;
}

void Fill(CollectedData& data) {
  auto& general = NewZeroBlock(data.GeneralSaveInfo.Salaries);
  for (int i = 1; i <= 6; ++i) FillPerson(general.Salaries[i - 1], i, "NAME", 20);
  auto& family = NewZeroBlock(data.GeneralSaveInfo.ReservesFamily);
  for (int i = 1; i <= 5; ++i) {
    FillPerson(family.FamilyEmployees[i - 1], i, "FAM", 40);
    SetFieldText(family.FamilyEmployees[i - 1].Relationship, "REL" + std::to_string(i));
  }
  auto& realEstate = NewZeroBlock(data.RealEstateSaveInfo.Salaries);
  for (int i = 1; i <= 2; ++i) {
    FillPerson(realEstate.Salaries[i - 1], i, "NAME", 20);
    FillPerson(realEstate.FamilyEmployees[i - 1], i, "FAM", 40);
    SetFieldText(realEstate.FamilyEmployees[i - 1].Relationship, "REL" + std::to_string(i));
  }
  realEstate.OtherEmployeeCount = 7;  // differs from slot 2's age on purpose
}

std::string Amount(int yen) { return std::to_string(yen); }

std::string SalaryRow(int i, int depth) {
  return Element(depth, "SIMEI", "NAME" + std::to_string(i)) +
         Element(depth, "NENREI", std::to_string(20 + i)) +
         Element(depth, "JUUJITUKISUU", std::to_string(i)) +
         Element(depth, "KYUURYOU", Amount(1000 * i)) + Element(depth, "SYOUYO", Amount(i)) +
         Element(depth, "GENSENZEIGAKU", Amount(-i));
}

std::string Others(int headCount, int slot) {
  return Element(4, "SONOTA_NINBUN", std::to_string(headCount)) +
         Element(4, "SONOTA_JUUJITUKISUU", std::to_string(slot)) +
         Element(4, "SONOTA_KYUURYOU", Amount(1000 * slot)) +
         Element(4, "SONOTA_SYOUYO", Amount(slot)) +
         Element(4, "SONOTA_GENSENZEIGAKU", Amount(-slot));
}

std::string FamilyRow(int i, bool blue, int depth) {
  const std::string age = Element(depth, "NENREI", std::to_string(40 + i));
  const std::string relationship = Element(depth, "ZOKUGARA", "REL" + std::to_string(i));
  std::string text = Element(depth, "SIMEI", "FAM" + std::to_string(i));
  text += blue ? relationship + age : age + relationship;
  text += Element(depth, "JUUJITUKISUU", std::to_string(i));
  if (blue) {
    text += Element(depth, "KYUURYOU", Amount(1000 * i)) + Element(depth, "SYOUYO", Amount(i)) +
            Element(depth, "GENSENZEIGAKU", Amount(-i));
  }
  return text;
}

// Rows from..to, each wrapped in its counted element.
template <class RowText>
std::string Wrapped(const char* element, int from, int to, RowText rowText) {
  std::string text;
  for (int n = from; n <= to; ++n) text += OpenRow(element, n) + rowText(n) + CloseRow(element);
  return text;
}

std::string Salaries(int to) {
  return Wrapped("KYUURYOU_UTIWAKE", 1, to, [](int n) { return SalaryRow(n, 5); });
}
std::string Family(int to, bool blue) {
  return Wrapped("SENJUUSYA_UTIWAKE", 1, to, [&](int n) { return FamilyRow(n, blue, 5); });
}

Operation SalariesGeneral(int rows, int others) {
  return [=](ReportWriter& w, XmlOutput& out) { return w.WriteSalariesGeneral(out, rows, others); };
}
Operation SalariesRealEstate(int rows, int others) {
  return
      [=](ReportWriter& w, XmlOutput& out) { return w.WriteSalariesRealEstate(out, rows, others); };
}
Operation FamilyGeneral(std::uint8_t kind, int rows) {
  return [=](ReportWriter& w, XmlOutput& out) {
    return w.WriteFamilyEmployeesGeneral(out, Record(kind), rows);
  };
}
Operation FamilyRealEstate(std::uint8_t kind, int rows) {
  return [=](ReportWriter& w, XmlOutput& out) {
    return w.WriteFamilyEmployeesRealEstate(out, Record(kind), rows);
  };
}

class SalarySectionTest : public ::testing::TestWithParam<SectionCase> {};

TEST_P(SalarySectionTest, WritesTheSectionContents) {
  CollectedData data;
  Fill(data);
  const SectionRun w = RunSection(data, GetParam().op);
  EXPECT_EQ(w.result, GetParam().result);
  EXPECT_EQ(w.bytes, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Salaries, SalarySectionTest,
    ::testing::Values(
        SectionCase{"GeneralBlueFiveRowsOthersFromSlotSix", SalariesGeneral(5, 1), 1,
                    Salaries(5) + Others(26, 6)},
        SectionCase{"GeneralWhiteThreeRowsOthersFromSlotFour", SalariesGeneral(3, 1), 1,
                    Salaries(3) + Others(24, 4)},
        SectionCase{"GeneralWithoutOthers", SalariesGeneral(2, 0), 1, Salaries(2)},
        SectionCase{"GeneralSixthRowFailsAfterItsStartTag", SalariesGeneral(6, 0), 0,
                    Salaries(5) + OpenRow("KYUURYOU_UTIWAKE", 6)},
        SectionCase{"GeneralOthersAfterFourRowsFail", SalariesGeneral(4, 1), 0, Salaries(4)},
        SectionCase{"GeneralOthersAfterNoRowsFail", SalariesGeneral(0, 1), 0, ""},
        SectionCase{"GeneralNothingAsked", SalariesGeneral(0, 0), 1, ""},
        SectionCase{"RealEstateBlueTwoWrappedRows", SalariesRealEstate(2, 0), 1, Salaries(2)},
        SectionCase{"RealEstateWhiteUnwrappedRowOthersCountedApart", SalariesRealEstate(1, 1), 1,
                    SalaryRow(1, 4) + Others(7, 2)},
        SectionCase{"RealEstateThirdRowFailsAfterItsStartTag", SalariesRealEstate(3, 0), 0,
                    Salaries(2) + OpenRow("KYUURYOU_UTIWAKE", 3)},
        SectionCase{"RealEstateOthersWithoutRowsFail", SalariesRealEstate(0, 1), 0, ""}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    FamilyEmployees, SalarySectionTest,
    ::testing::Values(SectionCase{"GeneralBlueRelationshipFirstWithAmounts",
                                  FamilyGeneral(kBlueReturn, 5), 1, Family(5, true)},
                      SectionCase{"GeneralWhiteAgeFirstNoAmounts", FamilyGeneral(kWhiteReturn, 3),
                                  1, Family(3, false)},
                      SectionCase{"GeneralSixthRowFailsAfterItsStartTag",
                                  FamilyGeneral(kBlueReturn, 6), 0,
                                  Family(5, true) + OpenRow("SENJUUSYA_UTIWAKE", 6)},
                      SectionCase{"GeneralNoRows", FamilyGeneral(kBlueReturn, 0), 1, ""},
                      SectionCase{"RealEstateBlueOneUnwrappedRow", FamilyRealEstate(kBlueReturn, 1),
                                  1, FamilyRow(1, true, 4)},
                      SectionCase{"RealEstateWhiteTwoWrappedRows",
                                  FamilyRealEstate(kWhiteReturn, 2), 1, Family(2, false)},
                      SectionCase{"RealEstateThirdRowFailsAfterItsStartTag",
                                  FamilyRealEstate(kWhiteReturn, 3), 0,
                                  Family(2, false) + OpenRow("SENJUUSYA_UTIWAKE", 3)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SalaryTest, ValuesFollowTheAmountAndCountRules) {
  CollectedData data;
  auto& block = NewZeroBlock(data.RealEstateSaveInfo.Salaries);
  SetFieldText(block.Salaries[0].Name, SJ("山田&子"));
  block.Salaries[0].Age = 0;
  block.Salaries[0].Months = 12;
  block.Salaries[0].Salary = 1234567890000;
  block.Salaries[0].Bonus = 99990;
  block.Salaries[0].WithheldTax = -25000;
  block.Salaries[1].Salary = 5000;
  const std::string blank = Element(5, "SIMEI") + Element(5, "NENREI") +
                            Element(5, "JUUJITUKISUU") + Element(5, "KYUURYOU") +
                            Element(5, "SYOUYO") + Element(5, "GENSENZEIGAKU");
  const std::string expected =
      OpenRow("KYUURYOU_UTIWAKE", 1) + Element(5, "SIMEI", SJ("山田&amp;子")) +
      Element(5, "NENREI") + Element(5, "JUUJITUKISUU", "12") +
      Element(5, "KYUURYOU", "123456789") + Element(5, "SYOUYO", "9") +
      Element(5, "GENSENZEIGAKU", "-2") + CloseRow("KYUURYOU_UTIWAKE") +
      OpenRow("KYUURYOU_UTIWAKE", 2) + blank + CloseRow("KYUURYOU_UTIWAKE");
  const SectionRun w = RunSection(data, SalariesRealEstate(2, 0));
  EXPECT_EQ(w.result, 1);
  EXPECT_EQ(w.bytes, expected);
}

TEST(SalaryTest, MissingBlocksReadAsEmptyRows) {
  CollectedData data;  // nothing collected: every block is null
  const std::string blankRow = Element(5, "SIMEI") + Element(5, "NENREI") +
                               Element(5, "JUUJITUKISUU") + Element(5, "KYUURYOU") +
                               Element(5, "SYOUYO") + Element(5, "GENSENZEIGAKU");
  const std::string blankOthers = Element(4, "SONOTA_NINBUN") + Element(4, "SONOTA_JUUJITUKISUU") +
                                  Element(4, "SONOTA_KYUURYOU") + Element(4, "SONOTA_SYOUYO") +
                                  Element(4, "SONOTA_GENSENZEIGAKU");
  const SectionRun w = RunSection(data, SalariesGeneral(3, 1));
  EXPECT_EQ(w.result, 1);
  EXPECT_EQ(w.bytes,
            Wrapped("KYUURYOU_UTIWAKE", 1, 3, [&](int) { return blankRow; }) + blankOthers);
  const SectionRun family = RunSection(data, FamilyRealEstate(kWhiteReturn, 1));
  EXPECT_EQ(family.bytes, Element(4, "SIMEI") + Element(4, "NENREI") + Element(4, "ZOKUGARA") +
                              Element(4, "JUUJITUKISUU"));
}

TEST(SalaryTest, StopsAtEveryFailedWrite) {
  CollectedData data;
  Fill(data);
  ExpectStopsAtEveryFailedWrite(data, SalariesGeneral(5, 1));
  ExpectStopsAtEveryFailedWrite(data, FamilyRealEstate(kBlueReturn, 1));
}

}  // namespace
}  // namespace pv14::testing
