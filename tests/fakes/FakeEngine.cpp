#include "tests/fakes/FakeEngine.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

#include "engine/FieldText.h"
#include "platform/TaskMem.h"

namespace pv14::testing {

namespace {

// Results the double gives for misuse the real engine would refuse.
constexpr std::int32_t kNotReady = 8;
constexpr std::int32_t kBadCursor = 6;
constexpr std::int32_t kBadArgument = 87;

FakeEngine& E() { return FakeEngine::Get(); }

std::string Text(const char* text) { return text == nullptr ? "(null)" : text; }

template <class T>
T* Block(const std::optional<T>& content) {
  if (!content) return nullptr;
  void* block = CoTaskMemAlloc(sizeof(T));
  if (block == nullptr) throw std::bad_alloc();
  std::memcpy(block, &*content, sizeof(T));
  return static_cast<T*>(block);
}

RealEstateIncomeRow* IncomeBlock(const FakeRealEstateSave& save) {
  if (!save.deliverIncomeRows) return nullptr;
  std::size_t n = save.IncomeRows.size() + (save.endIncomeRows ? 1 : 0);
  void* block = CoTaskMemAlloc(n * sizeof(RealEstateIncomeRow));
  if (block == nullptr) throw std::bad_alloc();
  auto* rows = static_cast<RealEstateIncomeRow*>(block);
  if (!save.IncomeRows.empty()) {
    std::memcpy(rows, save.IncomeRows.data(), save.IncomeRows.size() * sizeof(RealEstateIncomeRow));
  }
  if (save.endIncomeRows) {
    RealEstateIncomeRow end{};
    end.RowKey = kIncomeRowsEnd;
    rows[n - 1] = end;
  }
  return rows;
}

StSIROSUMINFO ToWhite(const StAOSUMINFO& row) {
  StSIROSUMINFO white{};
  white.LineNo = row.LineNo;
  white.Code = row.Code;
  std::memcpy(white.ItemName, row.ItemName, sizeof white.ItemName);
  white.OpeningBalance = row.OpeningBalance;
  white.ClosingBalance = row.ClosingBalance;
  return white;
}

}  // namespace

// ---------------------------------------------------------------- FakeList

std::int32_t FakeList::Count() const {
  return count ? *count : static_cast<std::int32_t>(rows.size());
}

std::int32_t FakeList::Deliver(bool first, StAOSUMINFO* row) {
  if (first) next = 0;
  ++deliveries;
  if (failAfter && next >= *failAfter) return failResult;
  if (next >= rows.size()) return kEngineNoMoreRows;
  if (row == nullptr) return kBadArgument;
  *row = rows[next++];
  return kEngineOk;
}

// -------------------------------------------------------------- FakeEngine

FakeEngine& FakeEngine::Get() {
  static FakeEngine engine;
  return engine;
}

void FakeEngine::Reset() { *this = FakeEngine(); }

std::vector<std::string> FakeEngine::CallsStartingWith(std::string_view prefix) const {
  std::vector<std::string> found;
  for (const std::string& call : calls) {
    if (call.starts_with(prefix)) found.push_back(call);
  }
  return found;
}

int FakeEngine::CountOf(std::string_view call) const {
  return static_cast<int>(std::count(calls.begin(), calls.end(), call));
}

int FakeEngine::IndexOf(std::string_view call) const {
  auto it = std::find(calls.begin(), calls.end(), call);
  return it == calls.end() ? -1 : static_cast<int>(it - calls.begin());
}

void FakeEngine::Record(std::string call) {
  const bool fault = !throwAt.empty() && call.starts_with(throwAt);
  calls.push_back(std::move(call));
  if (fault) {
    throwAt.clear();
    thrower();
  }
}

ClSetMgr* FakeEngine::setMgr() {
  static ClSetMgr mgr;
  return &mgr;
}

ClOptLink* FakeEngine::optLink() {
  static ClOptLink link;
  return &link;
}

StAOSUMINFO SumRow(std::int32_t lineNo, std::int32_t code, std::string_view name,
                   std::int64_t closing, std::int64_t opening) {
  StAOSUMINFO row{};
  row.LineNo = lineNo;
  row.Code = code;
  SetFieldText(row.ItemName, name);
  row.OpeningBalance = opening;
  row.ClosingBalance = closing;
  return row;
}

StDATAINFO DataInfo(std::string_view dataId, std::int32_t dataNo, std::uint8_t returnKind,
                    std::uint8_t statementScope) {
  StDATAINFO info{};
  SetFieldText(info.DataId, dataId);
  info.DataNo = dataNo;
  info.ReturnKind = returnKind;
  info.StatementScope = statementScope;
  return info;
}

}  // namespace pv14::testing

using pv14::testing::E;
using pv14::testing::kBadArgument;
using pv14::testing::kBadCursor;
using pv14::testing::kNotReady;
using pv14::testing::Text;

// ------------------------------------------------------------ ClAccConnect

ClAccConnect::ClAccConnect() : impl_(nullptr) {}

ClAccConnect* ClAccConnect::Inst() {
  static ClAccConnect connection;
  return &connection;
}

void ClAccConnect::SetCaption(const char* caption) {
  E().caption = Text(caption);
  E().Record("SetCaption " + Text(caption));
}

void ClAccConnect::SetOwnerWindow(pv14::WindowHandle owner) {
  E().ownerWindow = owner;
  E().Record("SetOwnerWindow " + std::to_string(owner));
}

void ClAccConnect::SetAppType(std::int32_t type) {
  E().Record("SetAppType " + std::to_string(type));
}

void ClAccConnect::SetUseDataType(std::int32_t type) {
  E().Record("SetUseDataType " + std::to_string(type));
}

std::int32_t ClAccConnect::Initiate() {
  E().Record("Initiate");
  return E().initiateResult;
}

std::int32_t ClAccConnect::ExpSysLink() {
  E().Record("ExpSysLink");
  return E().expSysLinkResult;
}

std::int32_t ClAccConnect::GetLastResult() { return E().lastResult; }

std::int32_t ClAccConnect::DispMsg(pv14::WindowHandle owner, const char* text, const char* caption,
                                   std::uint32_t style) {
  E().Record("DispMsg " + Text(text));
  E().messages.push_back({owner, Text(text), Text(caption), style});
  return E().dispMsgResult;
}

void ClAccConnect::LogOut() { E().Record("LogOut"); }
void ClAccConnect::Terminate() { E().Record("Terminate"); }
void ClAccConnect::Release() { E().Record("Release"); }

// ------------------------------------------------------------ the managers

ClDataMgr* ClDataMgr::Inst() {
  static ClDataMgr mgr;
  return &mgr;
}

ClSysUser* ClDataMgr::GetSysUserObject() {
  static ClSysUser user;
  E().Record("ClDataMgr::GetSysUserObject");
  return &user;
}

ClSetData* ClDataMgr::GetSetObject(std::int32_t kind, std::int32_t sub) {
  static ClSetData sets;
  E().Record("ClDataMgr::GetSetObject " + std::to_string(kind) + " " + std::to_string(sub));
  if (E().setObjectMissing || kind != 5 || sub != 1) return nullptr;
  return &sets;
}

ClSetMgr* ClDataMgr::GetSetMgr() {
  E().Record("ClDataMgr::GetSetMgr");
  return E().setMgr();
}

ClLinkMgr* ClLinkMgr::Inst() {
  static ClLinkMgr mgr;
  return &mgr;
}

ClOptLink* ClLinkMgr::GetOptLink() {
  E().Record("ClLinkMgr::GetOptLink");
  return E().optLink();
}

ClFileMgr* ClFileMgr::Inst() {
  static ClFileMgr mgr;
  return &mgr;
}

std::int32_t ClFileMgr::GetAppFolderPath(std::int32_t type, char* out, std::int32_t size) {
  E().Record("ClFileMgr::GetAppFolderPath " + std::to_string(type));
  if (out == nullptr || size <= 0) return kBadArgument;
  std::string_view folder = (type == 0 || type == 1) ? std::string_view(E().appFolders[type]) : "";
  std::size_t n = std::min(folder.size(), static_cast<std::size_t>(size) - 1);
  std::memcpy(out, folder.data(), n);
  out[n] = '\0';
  return kEngineOk;
}

// ------------------------------------------------------- user and data sets

std::int32_t ClSysUser::GetCurUserID(char* out) {
  E().Record("ClSysUser::GetCurUserID");
  if (out == nullptr) return kBadArgument;
  std::size_t n = std::min<std::size_t>(E().currentUserId.size(), 64);
  std::memcpy(out, E().currentUserId.data(), n);
  out[n] = '\0';
  return kEngineOk;
}

std::int32_t ClSysUser::GetSelectedNo(const char* userId, std::int32_t* keyNo,
                                      std::int32_t* dataNo) {
  E().Record("ClSysUser::GetSelectedNo " + Text(userId));
  pv14::testing::FakeSelection selection;
  if (userId != nullptr) {
    auto it = E().users.find(userId);
    if (it != E().users.end()) selection = it->second;
  }
  if (keyNo != nullptr) *keyNo = selection.keyNo;
  if (dataNo != nullptr) *dataNo = selection.dataNo;
  return kEngineOk;
}

std::int32_t ClSetData::GetDatCursor(std::int32_t* cursor) {
  E().Record("ClSetData::GetDatCursor");
  if (cursor == nullptr) return kBadArgument;
  *cursor = E().cursorValue;
  ++E().openCursors;
  E().walkPosition = 0;
  return kEngineOk;
}

std::int32_t ClSetData::ReadyDat(std::int32_t cursor, std::int32_t flags) {
  E().Record("ClSetData::ReadyDat " + std::to_string(cursor) + " " + std::to_string(flags));
  if (cursor != E().cursorValue) return kBadCursor;
  E().walkPosition = 0;
  return kEngineOk;
}

std::int32_t ClSetData::WalkDat(StDATAINFO* record, std::int32_t cursor) {
  E().Record("ClSetData::WalkDat " + std::to_string(cursor));
  if (cursor != E().cursorValue) return kBadCursor;
  if (E().walkFailAfter && E().walkPosition >= *E().walkFailAfter) return E().walkFailResult;
  if (E().walkPosition >= E().dataSets.size()) return kEngineNoMoreRows;
  if (record == nullptr) return kBadArgument;
  *record = E().dataSets[E().walkPosition++];
  return kEngineOk;
}

std::int32_t ClSetData::ReleaseDatCursor(std::int32_t cursor) {
  E().Record("ClSetData::ReleaseDatCursor " + std::to_string(cursor));
  if (cursor != E().cursorValue) return kBadCursor;
  --E().openCursors;
  return kEngineOk;
}

const StDATAINFO* ClSetData::GetSelectedInfo() {
  E().Record("ClSetData::GetSelectedInfo");
  return E().selectedInfo ? &*E().selectedInfo : nullptr;
}

// ------------------------------------------------------------ rule objects

struct ClRuleBase::Impl {
  std::string name = "ClRuleBase";
  bool ready = false;
};

ClRuleBase::ClRuleBase() : impl_(new Impl) {}
ClRuleBase::~ClRuleBase() { delete impl_; }

std::int32_t ClRuleBase::AttachSetMgr(ClSetMgr* mgr) {
  E().Record(impl_->name + "::AttachSetMgr" + (mgr == E().setMgr() ? "" : " (foreign)"));
  return mgr == nullptr ? kBadArgument : kEngineOk;
}

std::int32_t ClRuleBase::SetCurDataID(const char* dataId) {
  E().Record(impl_->name + "::SetCurDataID " + Text(dataId));
  return dataId == nullptr ? kBadArgument : kEngineOk;
}

std::int32_t ClRuleBase::AttachOptLink(ClOptLink* link) {
  E().Record(impl_->name + "::AttachOptLink" + (link == E().optLink() ? "" : " (foreign)"));
  return link == nullptr ? kBadArgument : kEngineOk;
}

namespace {

void FailNewIfScripted(const std::string& name) {
  const std::vector<std::string>& failing = E().failNew;
  if (std::find(failing.begin(), failing.end(), name) != failing.end()) throw std::bad_alloc();
}

std::string Typed(const std::string& name, const char* call, std::int32_t type) {
  return name + "::" + call + " " + std::to_string(type);
}

}  // namespace

ClRuleAo::ClRuleAo() {
  FailNewIfScripted("ClRuleAo");
  impl_->name = "ClRuleAo";
  ++E().liveRuleAo;
  E().lifecycle.push_back("new ClRuleAo");
  E().Record("new ClRuleAo");
}

ClRuleAo::~ClRuleAo() {
  --E().liveRuleAo;
  E().lifecycle.push_back("delete ClRuleAo");
  E().Record("delete ClRuleAo");
}

std::int32_t ClRuleAo::Ready(const StAOSUMCONDITION* condition) {
  E().Record("ClRuleAo::Ready");
  if (condition != nullptr) E().lastCondition = *condition;
  if (E().blueReadyResult == kEngineOk) impl_->ready = true;
  return E().blueReadyResult;
}

namespace {

pv14::testing::FakeBlueLists& BlueLists(std::int32_t type) { return E().blue[type == 1 ? 1 : 0]; }

}  // namespace

#define PV14_FAKE_BLUE_LIST(LIST)                                                  \
  std::int32_t ClRuleAo::GetCount_##LIST(_RuleAoSumType type) {                    \
    E().Record(Typed(impl_->name, "GetCount_" #LIST, type));                       \
    return impl_->ready ? BlueLists(type).LIST.Count() : 0;                        \
  }                                                                                \
  std::int32_t ClRuleAo::MoveFirst_##LIST(_RuleAoSumType type, StAOSUMINFO* row) { \
    E().Record(Typed(impl_->name, "MoveFirst_" #LIST, type));                      \
    return impl_->ready ? BlueLists(type).LIST.Deliver(true, row) : kNotReady;     \
  }                                                                                \
  std::int32_t ClRuleAo::MoveNext_##LIST(_RuleAoSumType type, StAOSUMINFO* row) {  \
    E().Record(Typed(impl_->name, "MoveNext_" #LIST, type));                       \
    return impl_->ready ? BlueLists(type).LIST.Deliver(false, row) : kNotReady;    \
  }

PV14_FAKE_BLUE_LIST(PL)
PV14_FAKE_BLUE_LIST(BS_Shisan)
PV14_FAKE_BLUE_LIST(BS_FusaiShihon)
#undef PV14_FAKE_BLUE_LIST

std::int32_t ClRuleAo::GetCount_SeizoGenka() {
  E().Record("ClRuleAo::GetCount_SeizoGenka");
  return impl_->ready ? E().blue[0].SeizoGenka.Count() : 0;
}

std::int32_t ClRuleAo::MoveFirst_SeizoGenka(StAOSUMINFO* row) {
  E().Record("ClRuleAo::MoveFirst_SeizoGenka");
  return impl_->ready ? E().blue[0].SeizoGenka.Deliver(true, row) : kNotReady;
}

std::int32_t ClRuleAo::MoveNext_SeizoGenka(StAOSUMINFO* row) {
  E().Record("ClRuleAo::MoveNext_SeizoGenka");
  return impl_->ready ? E().blue[0].SeizoGenka.Deliver(false, row) : kNotReady;
}

std::int32_t ClRuleAo::GetTsukibetsuUriageShiire(StAOSUMINFO_TSUKIBETSU* totals) {
  E().Record("ClRuleAo::GetTsukibetsuUriageShiire");
  if (!impl_->ready) return kNotReady;
  if (E().monthlyTotalsResult != kEngineOk) return E().monthlyTotalsResult;
  if (totals == nullptr) return kBadArgument;
  *totals = E().monthlyTotals;
  return kEngineOk;
}

ClRuleSiro::ClRuleSiro() {
  FailNewIfScripted("ClRuleSiro");
  impl_->name = "ClRuleSiro";
  ++E().liveRuleSiro;
  E().lifecycle.push_back("new ClRuleSiro");
  E().Record("new ClRuleSiro");
}

ClRuleSiro::~ClRuleSiro() {
  --E().liveRuleSiro;
  E().lifecycle.push_back("delete ClRuleSiro");
  E().Record("delete ClRuleSiro");
}

std::int32_t ClRuleSiro::Ready() {
  E().Record("ClRuleSiro::Ready");
  if (E().whiteReadyResult == kEngineOk) impl_->ready = true;
  return E().whiteReadyResult;
}

std::int32_t ClRuleSiro::GetCount_PL(_RuleSiroSumType type) {
  E().Record(Typed(impl_->name, "GetCount_PL", type));
  return impl_->ready ? E().white[type == 1 ? 1 : 0].Count() : 0;
}

namespace {

std::int32_t DeliverWhite(std::int32_t type, bool first, StSIROSUMINFO* row) {
  StAOSUMINFO blue{};
  std::int32_t result = E().white[type == 1 ? 1 : 0].Deliver(first, &blue);
  if (result != kEngineOk) return result;
  if (row == nullptr) return kBadArgument;
  *row = pv14::testing::ToWhite(blue);
  return kEngineOk;
}

}  // namespace

std::int32_t ClRuleSiro::MoveFirst_PL(_RuleSiroSumType type, StSIROSUMINFO* row) {
  E().Record(Typed(impl_->name, "MoveFirst_PL", type));
  return impl_->ready ? DeliverWhite(type, true, row) : kNotReady;
}

std::int32_t ClRuleSiro::MoveNext_PL(_RuleSiroSumType type, StSIROSUMINFO* row) {
  E().Record(Typed(impl_->name, "MoveNext_PL", type));
  return impl_->ready ? DeliverWhite(type, false, row) : kNotReady;
}

// ------------------------------------------------------------- save object

struct ClSaveBase::Impl {
  std::string name = "ClSaveBase";
};

ClSaveBase::ClSaveBase() : impl_(new Impl) {}
ClSaveBase::~ClSaveBase() { delete impl_; }

std::int32_t ClSaveBase::AttachSetMgr(ClSetMgr* mgr) {
  E().Record(impl_->name + "::AttachSetMgr" + (mgr == E().setMgr() ? "" : " (foreign)"));
  return mgr == nullptr ? kBadArgument : kEngineOk;
}

std::int32_t ClSaveBase::SetCurDataID(const char* dataId) {
  E().Record(impl_->name + "::SetCurDataID " + Text(dataId));
  return dataId == nullptr ? kBadArgument : kEngineOk;
}

ClSaveAoSiro::ClSaveAoSiro() {
  FailNewIfScripted("ClSaveAoSiro");
  impl_->name = "ClSaveAoSiro";
  ++E().liveSaveAoSiro;
  E().lifecycle.push_back("new ClSaveAoSiro");
  E().Record("new ClSaveAoSiro");
}

ClSaveAoSiro::~ClSaveAoSiro() {
  --E().liveSaveAoSiro;
  E().lifecycle.push_back("delete ClSaveAoSiro");
  E().Record("delete ClSaveAoSiro");
}

std::int32_t ClSaveAoSiro::GetDataIppan(StAOSIROSAVEINFO_IPPAN* info) {
  E().Record("ClSaveAoSiro::GetDataIppan");
  if (E().getDataIppanResult != kEngineOk) return E().getDataIppanResult;
  if (info == nullptr) return kBadArgument;
  const pv14::testing::FakeGeneralSave& save = E().general;
  using pv14::testing::Block;
  info->Basic = Block(save.Basic);
  info->ReservesFamily = Block(save.ReservesFamily);
  info->Salaries = Block(save.Salaries);
  info->InterestFees = Block(save.InterestFees);
  info->Rent = Block(save.Rent);
  info->Special = Block(save.Special);
  info->SalesPurchases = Block(save.SalesPurchases);
  return kEngineOk;
}

std::int32_t ClSaveAoSiro::GetDataFudousan(StAOSIROSAVEINFO_FUDOUSAN* info) {
  E().Record("ClSaveAoSiro::GetDataFudousan");
  if (E().getDataFudousanResult != kEngineOk) return E().getDataFudousanResult;
  if (info == nullptr) return kBadArgument;
  const pv14::testing::FakeRealEstateSave& save = E().realEstate;
  using pv14::testing::Block;
  info->Basic = Block(save.Basic);
  info->IncomeRows = pv14::testing::IncomeBlock(save);
  info->BorrowingFees = Block(save.BorrowingFees);
  info->Salaries = Block(save.Salaries);
  info->Rent = Block(save.Rent);
  info->Special = Block(save.Special);
  info->Repairs = Block(save.Repairs);
  info->Property = Block(save.Property);
  return kEngineOk;
}
