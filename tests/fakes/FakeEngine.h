// A scriptable double of the accounting engine: defines every member of
// engine/LedgerEngine.h over one global state, so unit tests link it in place
// of the engine library and produce on demand what the real engine only does
// on a bad day ("count 0 but a first row", "7 after 3 rows").
//
// Every test starts with FakeEngine::Get().Reset(). Calls are recorded in
// `calls`, one text each:
//   connection:  "SetCaption <text>", "SetOwnerWindow <h>", "SetAppType <n>",
//                "SetUseDataType <n>", "Initiate", "ExpSysLink", "DispMsg <text>",
//                "LogOut", "Terminate", "Release"
//   managers:    "ClDataMgr::GetSetObject 5 1", "ClSysUser::GetSelectedNo <user>",
//                "ClSetData::WalkDat <cursor>", "ClFileMgr::GetAppFolderPath <type>", ...
//   objects:     "new ClRuleAo", "delete ClRuleAo", "ClRuleAo::Ready",
//                "ClRuleAo::GetCount_PL 0", "ClRuleAo::MoveFirst_PL 0",
//                "ClRuleSiro::MoveNext_PL 1", "ClSaveAoSiro::GetDataIppan",
//                "ClRuleAo::SetCurDataID <id>", "ClRuleAo::AttachSetMgr", ...
// (the data id, user id and texts are written as the program passed them).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/LedgerEngine.h"

namespace pv14::testing {

// One statement list as a rule object delivers it. The first-row call is
// delivery 0, each next-row call the following one.
struct FakeList {
  std::vector<StAOSUMINFO> rows;
  // What GetCount_* reports; the number of rows when unset.
  std::optional<std::int32_t> count;
  // After this many rows have been delivered, every further call returns
  // failResult instead of a row (so 0 with 7 makes the first-row call fail).
  std::optional<std::size_t> failAfter;
  std::int32_t failResult = 7;

  std::size_t next = 0;  // delivery position, reset by the first-row call
  int deliveries = 0;    // row calls made, failed ones included

  std::int32_t Count() const;
  // Copies the next row into *row (untouched when none) and returns 0,
  // kEngineNoMoreRows past the end, or the injected result.
  std::int32_t Deliver(bool first, StAOSUMINFO* row);
};

// The four lists of one summing type of a blue data set.
struct FakeBlueLists {
  FakeList PL;
  FakeList BS_Shisan;
  FakeList BS_FusaiShihon;
  FakeList SeizoGenka;  // used only for the general type
};

// The saved statement details. A block left empty (nullopt) is delivered as
// a null member; every other block is a fresh CoTaskMemAlloc copy.
struct FakeGeneralSave {
  std::optional<StIPPAN_BASIC> Basic = StIPPAN_BASIC{};
  std::optional<StIPPAN_RESERVES_FAMILY> ReservesFamily = StIPPAN_RESERVES_FAMILY{};
  std::optional<StIPPAN_SALARIES> Salaries = StIPPAN_SALARIES{};
  std::optional<StIPPAN_INTEREST_FEES> InterestFees = StIPPAN_INTEREST_FEES{};
  std::optional<StIPPAN_RENT> Rent = StIPPAN_RENT{};
  std::optional<StIPPAN_SPECIAL> Special = StIPPAN_SPECIAL{};
  std::optional<StIPPAN_SALES_PURCHASES> SalesPurchases = StIPPAN_SALES_PURCHASES{};
};

struct FakeRealEstateSave {
  std::optional<StFUDOUSAN_BASIC> Basic = StFUDOUSAN_BASIC{};
  // The income list; the engine appends its own RowKey -1 row unless
  // endIncomeRows is false. With deliverIncomeRows false the member is null.
  std::vector<RealEstateIncomeRow> IncomeRows;
  bool deliverIncomeRows = true;
  bool endIncomeRows = true;
  std::optional<StFUDOUSAN_BORROWING_FEES> BorrowingFees = StFUDOUSAN_BORROWING_FEES{};
  std::optional<StFUDOUSAN_SALARIES> Salaries = StFUDOUSAN_SALARIES{};
  std::optional<StFUDOUSAN_RENT> Rent = StFUDOUSAN_RENT{};
  std::optional<StFUDOUSAN_SPECIAL> Special = StFUDOUSAN_SPECIAL{};
  std::optional<StFUDOUSAN_REPAIRS> Repairs = StFUDOUSAN_REPAIRS{};
  std::optional<StFUDOUSAN_PROPERTY> Property = StFUDOUSAN_PROPERTY{};
};

struct FakeDispMsg {
  WindowHandle owner;
  std::string text;
  std::string caption;
  std::uint32_t style;
};

struct FakeSelection {
  std::int32_t keyNo = 0;
  std::int32_t dataNo = 0;
};

class FakeEngine {
 public:
  static FakeEngine& Get();
  // Every script and record back to its default.
  void Reset();

  // ---- the record of calls
  std::vector<std::string> calls;
  // Calls whose text starts with prefix, in order.
  std::vector<std::string> CallsStartingWith(std::string_view prefix) const;
  // How often exactly this call text was recorded.
  int CountOf(std::string_view call) const;
  // Position of the first such call in `calls`, or -1.
  int IndexOf(std::string_view call) const;

  // ---- connection
  std::int32_t initiateResult = 0;
  std::int32_t expSysLinkResult = 0;
  std::int32_t lastResult = 0;
  std::int32_t dispMsgResult = 1;  // IDOK
  std::string caption;
  WindowHandle ownerWindow = 0;
  std::vector<FakeDispMsg> messages;

  // ---- user, selection, data sets
  std::string currentUserId = "USER";
  std::map<std::string, FakeSelection> users;  // unknown users select 0, 0
  std::vector<StDATAINFO> dataSets;            // the walk's order
  std::int32_t cursorValue = 1;                // what GetDatCursor hands out
  std::optional<std::size_t> walkFailAfter;    // records delivered before failing
  std::int32_t walkFailResult = 9;
  int openCursors = 0;  // GetDatCursor minus ReleaseDatCursor
  std::size_t walkPosition = 0;
  // The engine's own record of the selected data set; null when unset.
  std::optional<StDATAINFO> selectedInfo;
  bool setObjectMissing = false;  // GetSetObject answers null
  std::array<std::string, 2> appFolders{"Z:\\docs\\", "Z:\\settings\\"};

  // ---- statement rows, per summing type (0 general, 1 real estate)
  std::array<FakeBlueLists, 2> blue;
  std::array<FakeList, 2> white;
  std::int32_t blueReadyResult = 0;
  std::int32_t whiteReadyResult = 0;
  std::optional<StAOSUMCONDITION> lastCondition;  // as handed to ClRuleAo::Ready
  StAOSUMINFO_TSUKIBETSU monthlyTotals{};
  std::int32_t monthlyTotalsResult = 0;

  // ---- saved statement details
  FakeGeneralSave general;
  FakeRealEstateSave realEstate;
  std::int32_t getDataIppanResult = 0;  // non-zero: nothing is allocated
  std::int32_t getDataFudousanResult = 0;

  // ---- an exception from inside the engine: the first call whose text
  // starts with throwAt is recorded and then runs thrower (once).
  std::string throwAt;
  std::function<void()> thrower;

  // ---- engine objects the program constructs
  // Class names ("ClRuleAo", "ClRuleSiro", "ClSaveAoSiro") whose construction
  // fails with std::bad_alloc, as a new without memory does.
  std::vector<std::string> failNew;
  int liveRuleAo = 0;
  int liveRuleSiro = 0;
  int liveSaveAoSiro = 0;
  // "new ClRuleAo", "delete ClSaveAoSiro", ... in order.
  std::vector<std::string> lifecycle;

  // Plumbing for the engine definitions.
  void Record(std::string call);
  ClSetMgr* setMgr();
  ClOptLink* optLink();
};

// Test-data helpers.
StAOSUMINFO SumRow(std::int32_t lineNo, std::int32_t code, std::string_view name = {},
                   std::int64_t closing = 0, std::int64_t opening = 0);
StDATAINFO DataInfo(std::string_view dataId, std::int32_t dataNo, std::uint8_t returnKind,
                    std::uint8_t statementScope);

}  // namespace pv14::testing
