#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/unit/ReportFixture.h"

namespace pv14::testing {
namespace {

constexpr const char* kElements[] = {
    "JUUTAKU_TATEMONO_IKKODATE",     "JUUTAKU_TATEMONO_IKKODATEIGAI",
    "JUUTAKU_TOTI_KEIYAKU",          "JUUTAKU_TOTI_SOUMENSEKI",
    "JUUTAKUIGAI_TATEMONO_IKKODATE", "JUUTAKUIGAI_TATEMONO_IKKODATEIGAI",
    "JUUTAKUIGAI_TOTI_KEIYAKU",      "JUUTAKUIGAI_TOTI_SOUMENSEKI",
    "CHUUSYAJOU_YANETUKI",           "CHUUSYAJOU_AOZORA"};

std::string Expected(const std::vector<std::string>& values) {
  std::string text;
  for (std::size_t i = 0; i < std::size(kElements); ++i)
    text += Element(4, kElements[i], values[i]);
  return text;
}

const Operation kWrite = [](ReportWriter& w, XmlOutput& out) { return w.WriteRentalProperty(out); };

TEST(RentalPropertyTest, TenElementsWithoutWrapper) {
  CollectedData missing;
  EXPECT_EQ(RunSection(missing, kWrite).bytes, Expected(std::vector<std::string>(10)));

  CollectedData zero;
  NewZeroBlock(zero.RealEstateSaveInfo.Property);
  const SectionRun allZero = RunSection(zero, kWrite);
  EXPECT_EQ(allZero.result, 1);
  EXPECT_EQ(allZero.bytes, Expected(std::vector<std::string>(10)));

  CollectedData data;
  RentalPropertyCounts& c = NewZeroBlock(data.RealEstateSaveInfo.Property).PropertyCounts;
  c.ResidentialDetachedHouses = 1;
  c.ResidentialOtherBuildings = 2;
  c.ResidentialLandContracts = 3;
  c.ResidentialLandArea = 1505000;
  c.OtherDetachedHouses = 4;
  c.OtherOtherBuildings = 5;
  c.OtherLandContracts = 6;
  c.OtherLandArea = 1234567;
  c.RoofedParkingSpaces = 7;
  c.OpenParkingSpaces = 8;
  const SectionRun filled = RunSection(data, kWrite);
  EXPECT_EQ(filled.result, 1);
  EXPECT_EQ(filled.bytes, Expected({"1", "2", "3", "150.50", "4", "5", "6", "123.46", "7", "8"}));
  ExpectStopsAtEveryFailedWrite(data, kWrite);
}

}  // namespace
}  // namespace pv14::testing
