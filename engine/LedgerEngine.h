// Declarations of the accounting engine as the export program sees it: its
// records, enumerations and classes, with the engine's own names.
//
// The product links the ledger engine library (ledgerengine/), which keeps the
// data in SQLite. Unit tests may link a scriptable double of these same
// declarations instead (a link seam), so every class keeps its state behind an
// opaque pointer and the layouts below are shared by both implementations.
//
// Results of engine calls: 0 success, 5000 no more rows, anything else a
// failure. Texts are Shift_JIS (code page 932), NUL-terminated, in fixed
// fields whose sizes are part of the record layout.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/Types.h"

inline constexpr std::int32_t kEngineOk = 0;
inline constexpr std::int32_t kEngineNoMoreRows = 5000;

// ---------------------------------------------------------------- records

// One company data set.
struct StDATAINFO {
  char DataId[33];  // leading text of the record: the engine's id of the set
  std::int32_t DataNo;
  char CompanyName[256];
  std::int32_t PeriodFrom;  // yyyymmdd
  std::int32_t PeriodTo;    // yyyymmdd
  std::int32_t HasCostOfManufacture;
  std::int16_t DataKind;        // 99 = past-performance data
  std::uint8_t ReturnKind;      // 3 blue, 4 white
  std::uint8_t StatementScope;  // 1 general, 2 real estate, 3 both
};

inline constexpr std::int16_t kPastDataKind = 99;
inline constexpr std::uint8_t kBlueReturn = 3;
inline constexpr std::uint8_t kWhiteReturn = 4;

// One statement row of a blue data set. Amounts are yen x 10000.
struct StAOSUMINFO {
  std::int32_t LineNo;
  std::int32_t Code;
  char ItemName[128];
  std::int64_t OpeningBalance;
  std::int64_t ClosingBalance;
};

// One statement row of a white data set; stored and read like a blue row.
struct StSIROSUMINFO {
  std::int32_t LineNo;
  std::int32_t Code;
  char ItemName[128];
  std::int64_t OpeningBalance;
  std::int64_t ClosingBalance;
};

// Summing condition handed to ClRuleAo::Ready.
struct StAOSUMCONDITION {
  std::uint8_t Bytes[32];
};

// Monthly sales and purchases of a blue general data set.
struct StAOSUMINFO_TSUKIBETSU {
  std::int64_t Sales[12];
  std::int64_t HouseholdConsumption;
  std::int64_t MiscellaneousIncome;
  std::int64_t Other;
  std::int64_t Purchases[12];
};

enum _RuleAoSumType : std::int32_t { RuleAoSumGeneral = 0, RuleAoSumRealEstate = 1 };
enum _RuleSiroSumType : std::int32_t { RuleSiroSumGeneral = 0, RuleSiroSumRealEstate = 1 };

// ---------------------------------------------------- saved statement rows

struct SalarySlot {
  char Name[41];
  std::int32_t Age;  // in the slot of other employees: their number
  std::int32_t Months;
  std::int64_t Salary;
  std::int64_t Bonus;
  std::int64_t WithheldTax;
};

struct FamilyEmployeeRow {
  char Name[41];
  char Relationship[7];
  std::int32_t Age;
  std::int32_t Months;
  std::int64_t Salary;
  std::int64_t Bonus;
  std::int64_t WithheldTax;
};

struct InterestRow {
  char AddressNameUpper[41];
  char AddressNameLower[41];
  std::int64_t Borrowed;
  std::int64_t Interest;
  std::int64_t ExpenseShare;
};

struct FeeRow {
  char AddressNameUpper[41];
  char AddressNameLower[41];
  std::int64_t Fee;
  std::int64_t ExpenseShare;
  std::int64_t WithheldTax;
};

struct RentRow {
  char AddressNameUpper[41];
  char AddressNameLower[41];
  char Property[21];
  std::uint8_t FeeKind;  // 0 key money, 1 renewal fee
  std::int64_t KeyOrRenewalFee;
  std::int64_t Rent;
  std::int64_t ExpenseShare;
};

struct PartnerRow {
  char Name[21];
  char Location[41];
  std::int64_t Amount;
};

struct RealEstateIncomeRow {
  std::int32_t RowKey;  // -1 ends the list
  char LettingKind[11];
  char Use[13];
  char Location[41];
  char TenantAddress[41];
  char TenantName[41];
  std::int32_t ContractFrom;
  std::int32_t ContractTo;
  std::int64_t Area;  // square metres x 10000
  std::int64_t MonthlyRent;
  std::int64_t AnnualRent;
  std::int64_t GiftMoney;
  std::int64_t KeyMoney;
  std::int64_t RenewalFee;
  std::int64_t NameChangeAndOtherFees;
  std::int64_t Deposit;
};

inline constexpr std::int32_t kIncomeRowsEnd = -1;

struct RepairRow {
  char AddressNameUpper[41];
  char AddressNameLower[41];
  char WorkOrMaterial[21];
  std::int32_t PaymentDate;
  std::int64_t Paid;
  std::int64_t ExpenseShare;
};

struct RentalPropertyCounts {
  std::int32_t ResidentialDetachedHouses;
  std::int32_t ResidentialOtherBuildings;
  std::int32_t ResidentialLandContracts;
  std::int64_t ResidentialLandArea;  // square metres x 10000
  std::int32_t OtherDetachedHouses;
  std::int32_t OtherOtherBuildings;
  std::int32_t OtherLandContracts;
  std::int64_t OtherLandArea;  // square metres x 10000
  std::int32_t RoofedParkingSpaces;
  std::int32_t OpenParkingSpaces;
};

inline constexpr int kSpecialCircumstancesSize = 1025;

// ------------------------------------------- saved statement blocks, general

struct StIPPAN_BASIC {  // block 1
  char AssociationName[128];
  std::uint8_t DeductionSelection;  // 1: 650,000 yen, 0: 100,000 yen
  std::int64_t RealEstateIncome;
};
struct StIPPAN_RESERVES_FAMILY {  // block 2
  std::int64_t ReserveAmounts[4];
  FamilyEmployeeRow FamilyEmployees[5];
};
struct StIPPAN_SALARIES {  // block 3
  SalarySlot Salaries[6];
};
struct StIPPAN_INTEREST_FEES {  // block 4
  InterestRow InterestRows[2];
  FeeRow FeeRows[2];
};
struct StIPPAN_RENT {  // block 5
  RentRow RentRows[2];
};
struct StIPPAN_SPECIAL {  // block 6
  char SpecialCircumstances[kSpecialCircumstancesSize];
};
struct StIPPAN_SALES_PURCHASES {  // block 7
  PartnerRow SalesRows[4];
  std::int64_t OtherSalesTotal;
  PartnerRow PurchaseRows[4];
  std::int64_t OtherPurchasesTotal;
};

// Seven blocks, each allocated by the engine and freed by the program with
// CoTaskMemFree. A null member is a block the engine did not deliver.
struct StAOSIROSAVEINFO_IPPAN {
  StIPPAN_BASIC* Basic;
  StIPPAN_RESERVES_FAMILY* ReservesFamily;
  StIPPAN_SALARIES* Salaries;
  StIPPAN_INTEREST_FEES* InterestFees;
  StIPPAN_RENT* Rent;
  StIPPAN_SPECIAL* Special;
  StIPPAN_SALES_PURCHASES* SalesPurchases;
};

// ------------------------------------- saved statement blocks, real estate

struct StFUDOUSAN_BASIC {  // block 1
  std::int64_t LiabilityInterest;
};
// Block 2 is the income list itself: RealEstateIncomeRow entries ended by a
// row whose RowKey is -1. Its allocation size (CoTaskMemGetSize) bounds it.
struct StFUDOUSAN_BORROWING_FEES {  // block 3
  InterestRow BorrowingRows[3];
  FeeRow FeeRows[2];
};
struct StFUDOUSAN_SALARIES {  // block 4
  SalarySlot Salaries[2];
  std::int32_t OtherEmployeeCount;
  FamilyEmployeeRow FamilyEmployees[2];
};
struct StFUDOUSAN_RENT {  // block 5
  RentRow RentRows[2];
};
struct StFUDOUSAN_SPECIAL {  // block 6
  char SpecialCircumstances[kSpecialCircumstancesSize];
};
struct StFUDOUSAN_REPAIRS {  // block 7
  RepairRow RepairRows[3];
};
struct StFUDOUSAN_PROPERTY {  // block 8
  RentalPropertyCounts PropertyCounts;
};

struct StAOSIROSAVEINFO_FUDOUSAN {
  StFUDOUSAN_BASIC* Basic;
  RealEstateIncomeRow* IncomeRows;
  StFUDOUSAN_BORROWING_FEES* BorrowingFees;
  StFUDOUSAN_SALARIES* Salaries;
  StFUDOUSAN_RENT* Rent;
  StFUDOUSAN_SPECIAL* Special;
  StFUDOUSAN_REPAIRS* Repairs;
  StFUDOUSAN_PROPERTY* Property;
};

// ---------------------------------------------------------------- classes

class ClSysUser;
class ClSetData;
class ClSetMgr;
class ClOptLink;

// Connection to the engine; one instance.
class ClAccConnect {
 public:
  static ClAccConnect* Inst();
  ClAccConnect(const ClAccConnect&) = delete;
  ClAccConnect& operator=(const ClAccConnect&) = delete;

  void SetCaption(const char* caption);  // caption of the engine's messages
  void SetOwnerWindow(pv14::WindowHandle owner);
  void SetAppType(std::int32_t type);  // 0 Std, 3 Net
  void SetUseDataType(std::int32_t type);
  std::int32_t Initiate();
  std::int32_t ExpSysLink();  // 0 linked, 1 cancelled, other failed
  // 0 while every call since Initiate was served; else the first failure
  // of the store underneath (already told to the user by the engine).
  std::int32_t GetLastResult();
  // Shows a message modally; result as a message box's.
  std::int32_t DispMsg(pv14::WindowHandle owner, const char* text, const char* caption,
                       std::uint32_t style);
  void LogOut();
  void Terminate();
  void Release();

  struct Impl;

 private:
  ClAccConnect();
  Impl* impl_;
};

// The arguments of ClDataMgr::GetSetObject that give the object of the
// company data sets, the only one the program asks for.
inline constexpr std::int32_t kDataSetObjectKind = 5;
inline constexpr std::int32_t kDataSetObjectSub = 1;

class ClDataMgr {
 public:
  static ClDataMgr* Inst();
  ClSysUser* GetSysUserObject();
  ClSetData* GetSetObject(std::int32_t kind, std::int32_t sub);
  ClSetMgr* GetSetMgr();

 private:
  ClDataMgr() = default;
};

class ClLinkMgr {
 public:
  static ClLinkMgr* Inst();
  ClOptLink* GetOptLink();

 private:
  ClLinkMgr() = default;
};

class ClFileMgr {
 public:
  static ClFileMgr* Inst();
  // Folder of the given type (0 documents, 1 settings) ending with a
  // backslash, or an empty text. size includes the terminator.
  std::int32_t GetAppFolderPath(std::int32_t type, char* out, std::int32_t size);

 private:
  ClFileMgr() = default;
};

// The buffer of ClSysUser::GetCurUserID: a user id of at most 64 bytes and
// its terminator.
inline constexpr std::size_t kUserIdSize = 65;

class ClSysUser {
 public:
  std::int32_t GetCurUserID(char* out /* kUserIdSize bytes */);
  std::int32_t GetSelectedNo(const char* userId, std::int32_t* keyNo, std::int32_t* dataNo);
};

class ClSetData {
 public:
  std::int32_t GetDatCursor(std::int32_t* cursor);
  std::int32_t ReadyDat(std::int32_t cursor, std::int32_t flags);
  std::int32_t WalkDat(StDATAINFO* record, std::int32_t cursor);
  std::int32_t ReleaseDatCursor(std::int32_t cursor);
  // The engine's own record of the selected data set; null when none.
  const StDATAINFO* GetSelectedInfo();
};

class ClSetMgr {};
class ClOptLink {};

// The rule and save objects own their state (impl_): a copy would delete it
// twice, so they cannot be copied.
class ClRuleBase {
 public:
  ClRuleBase(const ClRuleBase&) = delete;
  ClRuleBase& operator=(const ClRuleBase&) = delete;
  virtual ~ClRuleBase();
  std::int32_t AttachSetMgr(ClSetMgr* mgr);
  std::int32_t SetCurDataID(const char* dataId);
  std::int32_t AttachOptLink(ClOptLink* link);

  struct Impl;

 protected:
  ClRuleBase();
  Impl* impl_;
};

class ClRuleAo : public ClRuleBase {
 public:
  ClRuleAo();
  ~ClRuleAo() override;
  std::int32_t Ready(const StAOSUMCONDITION* condition);
  std::int32_t GetCount_PL(_RuleAoSumType type);
  std::int32_t GetCount_BS_Shisan(_RuleAoSumType type);
  std::int32_t GetCount_BS_FusaiShihon(_RuleAoSumType type);
  std::int32_t GetCount_SeizoGenka();
  std::int32_t MoveFirst_PL(_RuleAoSumType type, StAOSUMINFO* row);
  std::int32_t MoveNext_PL(_RuleAoSumType type, StAOSUMINFO* row);
  std::int32_t MoveFirst_BS_Shisan(_RuleAoSumType type, StAOSUMINFO* row);
  std::int32_t MoveNext_BS_Shisan(_RuleAoSumType type, StAOSUMINFO* row);
  std::int32_t MoveFirst_BS_FusaiShihon(_RuleAoSumType type, StAOSUMINFO* row);
  std::int32_t MoveNext_BS_FusaiShihon(_RuleAoSumType type, StAOSUMINFO* row);
  std::int32_t MoveFirst_SeizoGenka(StAOSUMINFO* row);
  std::int32_t MoveNext_SeizoGenka(StAOSUMINFO* row);
  std::int32_t GetTsukibetsuUriageShiire(StAOSUMINFO_TSUKIBETSU* totals);
};

class ClRuleSiro : public ClRuleBase {
 public:
  ClRuleSiro();
  ~ClRuleSiro() override;
  std::int32_t Ready();
  std::int32_t GetCount_PL(_RuleSiroSumType type);
  std::int32_t MoveFirst_PL(_RuleSiroSumType type, StSIROSUMINFO* row);
  std::int32_t MoveNext_PL(_RuleSiroSumType type, StSIROSUMINFO* row);
};

class ClSaveBase {
 public:
  ClSaveBase(const ClSaveBase&) = delete;
  ClSaveBase& operator=(const ClSaveBase&) = delete;
  virtual ~ClSaveBase();
  std::int32_t AttachSetMgr(ClSetMgr* mgr);
  std::int32_t SetCurDataID(const char* dataId);

  struct Impl;

 protected:
  ClSaveBase();
  Impl* impl_;
};

class ClSaveAoSiro : public ClSaveBase {
 public:
  ClSaveAoSiro();
  ~ClSaveAoSiro() override;
  // Fill every member with a block allocated by CoTaskMemAlloc; the caller
  // frees them with CoTaskMemFree.
  std::int32_t GetDataIppan(StAOSIROSAVEINFO_IPPAN* info);
  std::int32_t GetDataFudousan(StAOSIROSAVEINFO_FUDOUSAN* info);
};
