// ClSaveAoSiro over the sample in each kind of store: every block of the saved details, allocated
// for the caller to free, and nothing handed out when the call fails.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <tuple>

#include <sqlite3.h>

#include "engine/FieldText.h"
#include "platform/TaskMem.h"
#include "tests/engine/SampleEngine.h"

namespace pv14::testing {
namespace {

template <class Block>
void ExpectBlock(const Block* block) {
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(CoTaskMemGetSize(block), sizeof(Block));
}

template <class Row>
bool IsZero(const Row& row) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(&row);
  return std::all_of(bytes, bytes + sizeof row, [](unsigned char b) { return b == 0; });
}

// Rows given in the file fill the first slots; the rest stay blank.
template <class Row, std::size_t N, class Check>
void ExpectSlots(const Json& rows, const Row (&slots)[N], Check check) {
  ASSERT_LE(rows.size(), N);
  for (std::size_t i = 0; i < N; ++i) {
    SCOPED_TRACE(i);
    if (i < rows.size()) {
      check(rows[i], slots[i]);
    } else {
      EXPECT_TRUE(IsZero(slots[i]));
    }
  }
}

// Each check takes the file's row by value: a key it leaves out reads as null.
void ExpectSalary(Json j, const SalarySlot& r) {
  EXPECT_EQ(FieldText(r.Name), SjisOf(j["Name"]));
  EXPECT_EQ(r.Age, IntegerOf(j["Age"]));
  EXPECT_EQ(r.Months, IntegerOf(j["Months"]));
  EXPECT_EQ(r.Salary, Amount(j["Salary"]));
  EXPECT_EQ(r.Bonus, Amount(j["Bonus"]));
  EXPECT_EQ(r.WithheldTax, Amount(j["WithheldTax"]));
}

void ExpectFamily(Json j, const FamilyEmployeeRow& r) {
  EXPECT_EQ(FieldText(r.Name), SjisOf(j["Name"]));
  EXPECT_EQ(FieldText(r.Relationship), SjisOf(j["Relationship"]));
  EXPECT_EQ(r.Age, IntegerOf(j["Age"]));
  EXPECT_EQ(r.Months, IntegerOf(j["Months"]));
  EXPECT_EQ(r.Salary, Amount(j["Salary"]));
  EXPECT_EQ(r.Bonus, Amount(j["Bonus"]));
  EXPECT_EQ(r.WithheldTax, Amount(j["WithheldTax"]));
}

void ExpectInterest(Json j, const InterestRow& r) {
  EXPECT_EQ(FieldText(r.AddressNameUpper), SjisOf(j["AddressNameUpper"]));
  EXPECT_EQ(FieldText(r.AddressNameLower), SjisOf(j["AddressNameLower"]));
  EXPECT_EQ(r.Borrowed, Amount(j["Borrowed"]));
  EXPECT_EQ(r.Interest, Amount(j["Interest"]));
  EXPECT_EQ(r.ExpenseShare, Amount(j["ExpenseShare"]));
}

void ExpectFee(Json j, const FeeRow& r) {
  EXPECT_EQ(FieldText(r.AddressNameUpper), SjisOf(j["AddressNameUpper"]));
  EXPECT_EQ(FieldText(r.AddressNameLower), SjisOf(j["AddressNameLower"]));
  EXPECT_EQ(r.Fee, Amount(j["Fee"]));
  EXPECT_EQ(r.ExpenseShare, Amount(j["ExpenseShare"]));
  EXPECT_EQ(r.WithheldTax, Amount(j["WithheldTax"]));
}

void ExpectRent(Json j, const RentRow& r) {
  EXPECT_EQ(FieldText(r.AddressNameUpper), SjisOf(j["AddressNameUpper"]));
  EXPECT_EQ(FieldText(r.AddressNameLower), SjisOf(j["AddressNameLower"]));
  EXPECT_EQ(FieldText(r.Property), SjisOf(j["Property"]));
  EXPECT_EQ(r.FeeKind, IntegerOf(j["FeeKind"]));
  EXPECT_EQ(r.KeyOrRenewalFee, Amount(j["KeyOrRenewalFee"]));
  EXPECT_EQ(r.Rent, Amount(j["Rent"]));
  EXPECT_EQ(r.ExpenseShare, Amount(j["ExpenseShare"]));
}

void ExpectPartner(Json j, const PartnerRow& r) {
  EXPECT_EQ(FieldText(r.Name), SjisOf(j["Name"]));
  EXPECT_EQ(FieldText(r.Location), SjisOf(j["Location"]));
  EXPECT_EQ(r.Amount, Amount(j["Amount"]));
}

void ExpectRepair(Json j, const RepairRow& r) {
  EXPECT_EQ(FieldText(r.AddressNameUpper), SjisOf(j["AddressNameUpper"]));
  EXPECT_EQ(FieldText(r.AddressNameLower), SjisOf(j["AddressNameLower"]));
  EXPECT_EQ(FieldText(r.WorkOrMaterial), SjisOf(j["WorkOrMaterial"]));
  EXPECT_EQ(r.PaymentDate, IntegerOf(j["PaymentDate"]));
  EXPECT_EQ(r.Paid, Amount(j["Paid"]));
  EXPECT_EQ(r.ExpenseShare, Amount(j["ExpenseShare"]));
}

void ExpectIncome(Json j, const RealEstateIncomeRow& r) {
  EXPECT_EQ(r.RowKey, IntegerOf(j["RowKey"]));
  EXPECT_EQ(FieldText(r.LettingKind), SjisOf(j["LettingKind"]));
  EXPECT_EQ(FieldText(r.Use), SjisOf(j["Use"]));
  EXPECT_EQ(FieldText(r.Location), SjisOf(j["Location"]));
  EXPECT_EQ(FieldText(r.TenantAddress), SjisOf(j["TenantAddress"]));
  EXPECT_EQ(FieldText(r.TenantName), SjisOf(j["TenantName"]));
  EXPECT_EQ(r.ContractFrom, IntegerOf(j["ContractFrom"]));
  EXPECT_EQ(r.ContractTo, IntegerOf(j["ContractTo"]));
  EXPECT_EQ(r.Area, Amount(j["Area"]));
  EXPECT_EQ(r.MonthlyRent, Amount(j["MonthlyRent"]));
  EXPECT_EQ(r.AnnualRent, Amount(j["AnnualRent"]));
  EXPECT_EQ(r.GiftMoney, Amount(j["GiftMoney"]));
  EXPECT_EQ(r.KeyMoney, Amount(j["KeyMoney"]));
  EXPECT_EQ(r.RenewalFee, Amount(j["RenewalFee"]));
  EXPECT_EQ(r.NameChangeAndOtherFees, Amount(j["NameChangeAndOtherFees"]));
  EXPECT_EQ(r.Deposit, Amount(j["Deposit"]));
}

void Free(StAOSIROSAVEINFO_IPPAN& info) {
  for (void* block : {static_cast<void*>(info.Basic), static_cast<void*>(info.ReservesFamily),
                      static_cast<void*>(info.Salaries), static_cast<void*>(info.InterestFees),
                      static_cast<void*>(info.Rent), static_cast<void*>(info.Special),
                      static_cast<void*>(info.SalesPurchases)}) {
    CoTaskMemFree(block);
  }
}

void Free(StAOSIROSAVEINFO_FUDOUSAN& info) {
  for (void* block : {static_cast<void*>(info.Basic), static_cast<void*>(info.IncomeRows),
                      static_cast<void*>(info.BorrowingFees), static_cast<void*>(info.Salaries),
                      static_cast<void*>(info.Rent), static_cast<void*>(info.Special),
                      static_cast<void*>(info.Repairs), static_cast<void*>(info.Property)}) {
    CoTaskMemFree(block);
  }
}

std::unique_ptr<ClSaveAoSiro> SaveObject(const char* dataId) {
  auto save = std::make_unique<ClSaveAoSiro>();
  EXPECT_EQ(save->AttachSetMgr(ClDataMgr::Inst()->GetSetMgr()), kEngineOk);
  if (dataId != nullptr) {
    EXPECT_EQ(save->SetCurDataID(dataId), kEngineOk);
  }
  return save;
}

class SavedDetails : public SampleEngineOf<> {};

void ExpectGeneral(Json j, const StAOSIROSAVEINFO_IPPAN& info) {
  ExpectBlock(info.Basic);
  ExpectBlock(info.ReservesFamily);
  ExpectBlock(info.Salaries);
  ExpectBlock(info.InterestFees);
  ExpectBlock(info.Rent);
  ExpectBlock(info.Special);
  ExpectBlock(info.SalesPurchases);
  if (::testing::Test::HasFatalFailure()) return;
  EXPECT_EQ(FieldText(info.Basic->AssociationName), SjisOf(j["AssociationName"]));
  EXPECT_EQ(info.Basic->DeductionSelection, IntegerOf(j["DeductionSelection"]));
  EXPECT_EQ(info.Basic->RealEstateIncome, Amount(j["RealEstateIncome"]));
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(
        info.ReservesFamily->ReserveAmounts[i],
        i < static_cast<int>(j["ReserveAmounts"].size()) ? Amount(j["ReserveAmounts"][i]) : 0);
  }
  ExpectSlots(j["FamilyEmployees"], info.ReservesFamily->FamilyEmployees, ExpectFamily);
  ExpectSlots(j["Salaries"], info.Salaries->Salaries, ExpectSalary);
  ExpectSlots(j["InterestRows"], info.InterestFees->InterestRows, ExpectInterest);
  ExpectSlots(j["FeeRows"], info.InterestFees->FeeRows, ExpectFee);
  ExpectSlots(j["RentRows"], info.Rent->RentRows, ExpectRent);
  EXPECT_EQ(FieldText(info.Special->SpecialCircumstances), SjisOf(j["SpecialCircumstances"]));
  ExpectSlots(j["SalesRows"], info.SalesPurchases->SalesRows, ExpectPartner);
  ExpectSlots(j["PurchaseRows"], info.SalesPurchases->PurchaseRows, ExpectPartner);
  EXPECT_EQ(info.SalesPurchases->OtherSalesTotal, Amount(j["OtherSalesTotal"]));
  EXPECT_EQ(info.SalesPurchases->OtherPurchasesTotal, Amount(j["OtherPurchasesTotal"]));
}

void ExpectRealEstate(Json j, const StAOSIROSAVEINFO_FUDOUSAN& info) {
  ExpectBlock(info.Basic);
  ExpectBlock(info.BorrowingFees);
  ExpectBlock(info.Salaries);
  ExpectBlock(info.Rent);
  ExpectBlock(info.Special);
  ExpectBlock(info.Repairs);
  ExpectBlock(info.Property);
  ASSERT_NE(info.IncomeRows, nullptr);
  if (::testing::Test::HasFatalFailure()) return;
  EXPECT_EQ(info.Basic->LiabilityInterest, Amount(j["LiabilityInterest"]));

  // The stored rows, then one row of the engine's own that ends the list.
  Json& rows = j["IncomeRows"];
  ASSERT_EQ(CoTaskMemGetSize(info.IncomeRows), (rows.size() + 1) * sizeof(RealEstateIncomeRow));
  for (std::size_t i = 0; i < rows.size(); ++i) {
    SCOPED_TRACE(i);
    ExpectIncome(rows[i], info.IncomeRows[i]);
  }
  RealEstateIncomeRow end = info.IncomeRows[rows.size()];
  EXPECT_EQ(end.RowKey, kIncomeRowsEnd);
  end.RowKey = 0;
  EXPECT_TRUE(IsZero(end));

  ExpectSlots(j["BorrowingRows"], info.BorrowingFees->BorrowingRows, ExpectInterest);
  ExpectSlots(j["FeeRows"], info.BorrowingFees->FeeRows, ExpectFee);
  ExpectSlots(j["Salaries"], info.Salaries->Salaries, ExpectSalary);
  EXPECT_EQ(info.Salaries->OtherEmployeeCount, IntegerOf(j["OtherEmployeeCount"]));
  ExpectSlots(j["FamilyEmployees"], info.Salaries->FamilyEmployees, ExpectFamily);
  ExpectSlots(j["RentRows"], info.Rent->RentRows, ExpectRent);
  EXPECT_EQ(FieldText(info.Special->SpecialCircumstances), SjisOf(j["SpecialCircumstances"]));
  ExpectSlots(j["RepairRows"], info.Repairs->RepairRows, ExpectRepair);
  Json& counts = j["PropertyCounts"];
  const RentalPropertyCounts& c = info.Property->PropertyCounts;
  EXPECT_EQ(c.ResidentialDetachedHouses, IntegerOf(counts["ResidentialDetachedHouses"]));
  EXPECT_EQ(c.ResidentialOtherBuildings, IntegerOf(counts["ResidentialOtherBuildings"]));
  EXPECT_EQ(c.ResidentialLandContracts, IntegerOf(counts["ResidentialLandContracts"]));
  EXPECT_EQ(c.ResidentialLandArea, Amount(counts["ResidentialLandArea"]));
  EXPECT_EQ(c.OtherDetachedHouses, IntegerOf(counts["OtherDetachedHouses"]));
  EXPECT_EQ(c.OtherOtherBuildings, IntegerOf(counts["OtherOtherBuildings"]));
  EXPECT_EQ(c.OtherLandContracts, IntegerOf(counts["OtherLandContracts"]));
  EXPECT_EQ(c.OtherLandArea, Amount(counts["OtherLandArea"]));
  EXPECT_EQ(c.RoofedParkingSpaces, IntegerOf(counts["RoofedParkingSpaces"]));
  EXPECT_EQ(c.OpenParkingSpaces, IntegerOf(counts["OpenParkingSpaces"]));
}

class SavedDetailsOf : public SampleEngineOf<std::tuple<StoreKind, const char*>> {};

TEST_P(SavedDetailsOf, GeneralBlocksHoldTheSavedRowsInTheirSlots) {
  const char* dataId = std::get<1>(GetParam());
  auto save = SaveObject(dataId);
  StAOSIROSAVEINFO_IPPAN info{};
  ASSERT_EQ(save->GetDataIppan(&info), kEngineOk);
  ExpectGeneral(DataSetOf(dataId)["GeneralSaveInfo"], info);
  Free(info);
}

TEST_P(SavedDetailsOf, RealEstateBlocksHoldTheSavedRowsAndTheEndRow) {
  const char* dataId = std::get<1>(GetParam());
  auto save = SaveObject(dataId);
  StAOSIROSAVEINFO_FUDOUSAN info{};
  ASSERT_EQ(save->GetDataFudousan(&info), kEngineOk);
  ExpectRealEstate(DataSetOf(dataId)["RealEstateSaveInfo"], info);
  Free(info);
}

INSTANTIATE_TEST_SUITE_P(Stores, SavedDetailsOf,
                         ::testing::Combine(EveryStoreKind(),
                                            ::testing::Values(SampleEngine::kBlueId,
                                                              SampleEngine::kWhiteId)),
                         [](const auto& info) {
                           return StoreKindName(std::get<0>(info.param)) +
                                  (std::get<1>(info.param) == SampleEngine::kBlueId ? "_Blue"
                                                                                    : "_White");
                         });

TEST_P(SavedDetails, ADataSetWithoutDetailsGetsBlankBlocksAndTheEndRowAlone) {
  auto save = SaveObject("NOTO-HYOGU-2022");
  StAOSIROSAVEINFO_FUDOUSAN info{};
  ASSERT_EQ(save->GetDataFudousan(&info), kEngineOk);
  ASSERT_EQ(CoTaskMemGetSize(info.IncomeRows), sizeof(RealEstateIncomeRow));
  EXPECT_EQ(info.IncomeRows[0].RowKey, kIncomeRowsEnd);
  ASSERT_NE(info.Repairs, nullptr);
  EXPECT_TRUE(IsZero(*info.Repairs));
  Free(info);
}

TEST_P(SavedDetails, AFailedCallHandsOutNoBlock) {
  // Members the caller left filled are never mistaken for blocks.
  auto* stale = reinterpret_cast<StIPPAN_BASIC*>(0x1);
  for (const char* dataId : {"NO-SUCH-SET", static_cast<const char*>(nullptr)}) {
    SCOPED_TRACE(dataId == nullptr ? "no data id" : dataId);
    auto save = SaveObject(dataId);
    StAOSIROSAVEINFO_IPPAN general{};
    general.Basic = stale;
    EXPECT_NE(save->GetDataIppan(&general), kEngineOk);
    EXPECT_TRUE(IsZero(general));
    StAOSIROSAVEINFO_FUDOUSAN realEstate{};
    realEstate.IncomeRows = reinterpret_cast<RealEstateIncomeRow*>(0x1);
    EXPECT_NE(save->GetDataFudousan(&realEstate), kEngineOk);
    EXPECT_TRUE(IsZero(realEstate));
  }
  auto save = SaveObject(kBlueId);
  EXPECT_NE(save->GetDataIppan(nullptr), kEngineOk);
  ClAccConnect::Inst()->LogOut();
  StAOSIROSAVEINFO_IPPAN general{};
  EXPECT_NE(save->GetDataIppan(&general), kEngineOk);
  EXPECT_TRUE(IsZero(general));
}

std::string Hex(const std::string& bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string hex;
  for (unsigned char c : bytes) {
    hex += digits[c >> 4];
    hex += digits[c & 15];
  }
  return hex;
}

// A file store changed behind the tool's back (more rows than slots, a text
// longer than its field) is still read into the blocks without overrunning
// them. (A server store's copy keeps the checks: such a store is refused.)
class EditedFileStore : public SampleEngineOf<> {};

TEST_P(EditedFileStore, AStoreEditedPastItsLimitsStaysWithinTheBlocks) {
  ToolStore store;
  const std::string file =
      R"({"DataSets": [{"DataId": "E", "ReturnKind": 3,
                        "Statements": {"General": {"PL": [{"LineNo": 1}]}}}]})";
  ASSERT_EQ(store.Load(file).exitStatus, 0);
  // 49 bytes: a single-byte letter, then double-byte characters.
  const std::string longName = Sjis("a表十表十表十表十表十表十表十表十表十表十表十表十");
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(store.DatabasePath().c_str(), &db), SQLITE_OK);
  const std::string edit =
      "PRAGMA ignore_check_constraints = ON;"
      "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 8) "
      "INSERT INTO general_salaries SELECT 0, i, X'" +
      Hex(longName) +
      "', i, 0, 0, 0, 0 FROM n;"
      "UPDATE statement_rows SET ItemName = CAST(printf('%.200c', 'A') AS BLOB);";
  ASSERT_EQ(sqlite3_exec(db, edit.c_str(), nullptr, nullptr, nullptr), SQLITE_OK)
      << sqlite3_errmsg(db);
  sqlite3_close(db);
  ::setenv("LEDGER_ENGINE_DB", store.DatabasePath().c_str(), 1);
  ASSERT_EQ(ClAccConnect::Inst()->Initiate(), kEngineOk);

  auto save = SaveObject("E");
  StAOSIROSAVEINFO_IPPAN info{};
  ASSERT_EQ(save->GetDataIppan(&info), kEngineOk);
  for (int slot = 0; slot < 6; ++slot) {
    EXPECT_EQ(info.Salaries->Salaries[slot].Age, slot) << "the first rows fill the slots";
    // Cut to 39 bytes: the 40th is the first half of a character.
    EXPECT_EQ(FieldText(info.Salaries->Salaries[slot].Name), longName.substr(0, 39));
  }
  Free(info);

  ClRuleAo rules;
  ASSERT_EQ(rules.SetCurDataID("E"), kEngineOk);
  StAOSUMCONDITION condition{};
  ASSERT_EQ(rules.Ready(&condition), kEngineOk);
  StAOSUMINFO row;
  std::memset(&row, 'x', sizeof row);
  ASSERT_EQ(rules.MoveFirst_PL(RuleAoSumGeneral, &row), kEngineOk);
  EXPECT_EQ(FieldText(row.ItemName), std::string(127, 'A'));
  EXPECT_EQ(row.LineNo, 1);
}

INSTANTIATE_TEST_SUITE_P(Stores, EditedFileStore, ::testing::Values(StoreKind::kFile),
                         StoreKindTestName);

// Shift_JIS names whose second byte is 0x5C (a backslash on its own) come
// back byte for byte, wherever the engine keeps them.
TEST_P(SavedDetails, NamesWithBackslashTrailBytesComeBackByteForByte) {
  const Json& blue = DataSetOf(kBlueId);
  auto save = SaveObject(kBlueId);
  StAOSIROSAVEINFO_IPPAN general{};
  ASSERT_EQ(save->GetDataIppan(&general), kEngineOk);
  StAOSIROSAVEINFO_FUDOUSAN realEstate{};
  ASSERT_EQ(save->GetDataFudousan(&realEstate), kEngineOk);
  const StDATAINFO* selected = ClDataMgr::Inst()->GetSetObject(5, 1)->GetSelectedInfo();
  ASSERT_NE(selected, nullptr);

  struct Name {
    const char* what;
    std::string_view delivered;
    const Json& stored;
  } names[] = {
      {"company", FieldText(selected->CompanyName), blue["CompanyName"]},
      {"salary 1", FieldText(general.Salaries->Salaries[0].Name),
       blue["GeneralSaveInfo"]["Salaries"][0]["Name"]},
      {"salary 2", FieldText(general.Salaries->Salaries[1].Name),
       blue["GeneralSaveInfo"]["Salaries"][1]["Name"]},
      {"salary 3", FieldText(general.Salaries->Salaries[2].Name),
       blue["GeneralSaveInfo"]["Salaries"][2]["Name"]},
      {"salary 4", FieldText(general.Salaries->Salaries[3].Name),
       blue["GeneralSaveInfo"]["Salaries"][3]["Name"]},
      {"family", FieldText(general.ReservesFamily->FamilyEmployees[0].Name),
       blue["GeneralSaveInfo"]["FamilyEmployees"][0]["Name"]},
      {"sales partner", FieldText(general.SalesPurchases->SalesRows[0].Name),
       blue["GeneralSaveInfo"]["SalesRows"][0]["Name"]},
      {"lessor", FieldText(general.Rent->RentRows[0].AddressNameLower),
       blue["GeneralSaveInfo"]["RentRows"][0]["AddressNameLower"]},
      {"repair", FieldText(realEstate.Repairs->RepairRows[1].WorkOrMaterial),
       blue["RealEstateSaveInfo"]["RepairRows"][1]["WorkOrMaterial"]},
      {"tenant", FieldText(realEstate.IncomeRows[3].TenantName),
       blue["RealEstateSaveInfo"]["IncomeRows"][3]["TenantName"]},
      {"remarks", FieldText(general.Special->SpecialCircumstances),
       blue["GeneralSaveInfo"]["SpecialCircumstances"]},
  };
  for (const Name& name : names) {
    SCOPED_TRACE(name.what);
    const std::string expected = SjisOf(name.stored);
    EXPECT_NE(expected.find('\x5C'), std::string::npos) << "the sample's name has a 0x5C byte";
    EXPECT_EQ(name.delivered, expected);
  }
  Free(general);
  Free(realEstate);
}

INSTANTIATE_TEST_SUITE_P(Stores, SavedDetails, EveryStoreKind(), StoreKindTestName);

}  // namespace
}  // namespace pv14::testing
