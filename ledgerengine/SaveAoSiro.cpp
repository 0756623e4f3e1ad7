// ClSaveAoSiro: the saved statement details of a data set, handed out as
// blocks of the task allocator that the caller frees.
#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "engine/LedgerEngine.h"
#include "ledgerengine/Session.h"
#include "ledgerengine/Store.h"
#include "platform/TaskMem.h"

struct ClSaveBase::Impl {
  std::optional<std::string> dataId;  // absent until SetCurDataID
  ClSetMgr* setMgr = nullptr;
};

ClSaveBase::ClSaveBase() : impl_(new Impl) {}
ClSaveBase::~ClSaveBase() { delete impl_; }

std::int32_t ClSaveBase::AttachSetMgr(ClSetMgr* mgr) {
  if (mgr == nullptr) return pv14::ledger::kEngineBadArgument;
  impl_->setMgr = mgr;
  return kEngineOk;
}

std::int32_t ClSaveBase::SetCurDataID(const char* dataId) {
  if (dataId == nullptr) return pv14::ledger::kEngineBadArgument;
  impl_->dataId = dataId;
  return kEngineOk;
}

ClSaveAoSiro::ClSaveAoSiro() = default;
ClSaveAoSiro::~ClSaveAoSiro() = default;

namespace {

using pv14::ledger::Database;

// Blocks handed out by one call: all freed again unless the call succeeds.
class Blocks {
 public:
  Blocks() { owned_.reserve(kMostBlocks); }
  Blocks(const Blocks&) = delete;
  Blocks& operator=(const Blocks&) = delete;
  ~Blocks() {
    for (void* block : owned_) CoTaskMemFree(block);
  }

  void* Allocate(std::size_t size) {
    if (owned_.size() == kMostBlocks) throw std::bad_alloc();
    void* block = CoTaskMemAlloc(size);
    if (block == nullptr) throw std::bad_alloc();
    std::memset(block, 0, size);
    owned_.push_back(block);
    return block;
  }
  template <class Block>
  Block* Add() {
    return static_cast<Block*>(Allocate(sizeof(Block)));
  }
  void HandOver() { owned_.clear(); }

 private:
  static constexpr std::size_t kMostBlocks = 8;
  std::vector<void*> owned_;
};

// Stored rows into the block's fixed slots; never more than the slots.
template <class Row, std::size_t N>
void CopyRows(const std::vector<Row>& rows, Row (&slots)[N]) {
  std::copy_n(rows.begin(), std::min(rows.size(), N), slots);
}

template <std::size_t N, std::size_t M>
void CopyText(char (&to)[N], const char (&from)[M]) {
  static_assert(N == M, "the stored text and the block's field have one size");
  std::memcpy(to, from, N);
}

std::optional<std::int64_t> DataSetOf(Database& store, const std::optional<std::string>& dataId) {
  if (!dataId) return std::nullopt;
  const auto set = pv14::ledger::FindDataSetById(store, *dataId);
  return set ? std::optional<std::int64_t>(set->position) : std::nullopt;
}

void FillGeneral(const pv14::ledger::GeneralSave& save, Blocks& blocks,
                 StAOSIROSAVEINFO_IPPAN& info) {
  info.Basic = blocks.Add<StIPPAN_BASIC>();
  CopyText(info.Basic->AssociationName, save.values.AssociationName);
  info.Basic->DeductionSelection = save.values.DeductionSelection;
  info.Basic->RealEstateIncome = save.values.RealEstateIncome;

  info.ReservesFamily = blocks.Add<StIPPAN_RESERVES_FAMILY>();
  std::copy(std::begin(save.values.ReserveAmounts), std::end(save.values.ReserveAmounts),
            info.ReservesFamily->ReserveAmounts);
  CopyRows(save.familyEmployees, info.ReservesFamily->FamilyEmployees);

  info.Salaries = blocks.Add<StIPPAN_SALARIES>();
  CopyRows(save.salaries, info.Salaries->Salaries);

  info.InterestFees = blocks.Add<StIPPAN_INTEREST_FEES>();
  CopyRows(save.interestRows, info.InterestFees->InterestRows);
  CopyRows(save.feeRows, info.InterestFees->FeeRows);

  info.Rent = blocks.Add<StIPPAN_RENT>();
  CopyRows(save.rentRows, info.Rent->RentRows);

  info.Special = blocks.Add<StIPPAN_SPECIAL>();
  CopyText(info.Special->SpecialCircumstances, save.values.SpecialCircumstances);

  info.SalesPurchases = blocks.Add<StIPPAN_SALES_PURCHASES>();
  CopyRows(save.salesRows, info.SalesPurchases->SalesRows);
  info.SalesPurchases->OtherSalesTotal = save.values.OtherSalesTotal;
  CopyRows(save.purchaseRows, info.SalesPurchases->PurchaseRows);
  info.SalesPurchases->OtherPurchasesTotal = save.values.OtherPurchasesTotal;
}

// The stored income rows followed by the end row (RowKey -1), read straight
// into the block: the list can be long.
RealEstateIncomeRow* IncomeList(Database& store, std::int64_t dataSet, Blocks& blocks) {
  constexpr std::size_t kMostRows =
      std::numeric_limits<std::size_t>::max() / sizeof(RealEstateIncomeRow) - 1;
  const std::int64_t stored = pv14::ledger::CountIncomeRows(store, dataSet);
  if (stored < 0 || static_cast<std::uint64_t>(stored) > kMostRows) throw std::bad_alloc();
  const auto rows = static_cast<std::size_t>(stored);
  auto* list =
      static_cast<RealEstateIncomeRow*>(blocks.Allocate((rows + 1) * sizeof(RealEstateIncomeRow)));
  const std::size_t read = pv14::ledger::ReadIncomeRows(store, dataSet, list, rows);
  list[read].RowKey = kIncomeRowsEnd;
  return list;
}

// The blocks of the real-estate details; the income rows come from the store.
void FillRealEstate(const pv14::ledger::RealEstateSave& save, Database& store, std::int64_t dataSet,
                    Blocks& blocks, StAOSIROSAVEINFO_FUDOUSAN& info) {
  info.Basic = blocks.Add<StFUDOUSAN_BASIC>();
  info.Basic->LiabilityInterest = save.values.LiabilityInterest;

  info.IncomeRows = IncomeList(store, dataSet, blocks);

  info.BorrowingFees = blocks.Add<StFUDOUSAN_BORROWING_FEES>();
  CopyRows(save.borrowingRows, info.BorrowingFees->BorrowingRows);
  CopyRows(save.feeRows, info.BorrowingFees->FeeRows);

  info.Salaries = blocks.Add<StFUDOUSAN_SALARIES>();
  CopyRows(save.salaries, info.Salaries->Salaries);
  info.Salaries->OtherEmployeeCount = save.values.OtherEmployeeCount;
  CopyRows(save.familyEmployees, info.Salaries->FamilyEmployees);

  info.Rent = blocks.Add<StFUDOUSAN_RENT>();
  CopyRows(save.rentRows, info.Rent->RentRows);

  info.Special = blocks.Add<StFUDOUSAN_SPECIAL>();
  CopyText(info.Special->SpecialCircumstances, save.values.SpecialCircumstances);

  info.Repairs = blocks.Add<StFUDOUSAN_REPAIRS>();
  CopyRows(save.repairRows, info.Repairs->RepairRows);

  info.Property = blocks.Add<StFUDOUSAN_PROPERTY>();
  info.Property->PropertyCounts = save.propertyCounts;
}

}  // namespace

std::int32_t ClSaveAoSiro::GetDataIppan(StAOSIROSAVEINFO_IPPAN* info) {
  if (info == nullptr) return pv14::ledger::kEngineBadArgument;
  *info = StAOSIROSAVEINFO_IPPAN{};
  return pv14::ledger::WithStore([&](Database& store) {
    const auto dataSet = DataSetOf(store, impl_->dataId);
    if (!dataSet) return pv14::ledger::kEngineNoDataSet;
    const pv14::ledger::GeneralSave save = pv14::ledger::ReadGeneralSave(store, *dataSet);
    Blocks blocks;
    StAOSIROSAVEINFO_IPPAN filled{};
    FillGeneral(save, blocks, filled);
    blocks.HandOver();
    *info = filled;
    return kEngineOk;
  });
}

std::int32_t ClSaveAoSiro::GetDataFudousan(StAOSIROSAVEINFO_FUDOUSAN* info) {
  if (info == nullptr) return pv14::ledger::kEngineBadArgument;
  *info = StAOSIROSAVEINFO_FUDOUSAN{};
  return pv14::ledger::WithStore([&](Database& store) {
    const auto dataSet = DataSetOf(store, impl_->dataId);
    if (!dataSet) return pv14::ledger::kEngineNoDataSet;
    const pv14::ledger::RealEstateSave save =
        pv14::ledger::ReadRealEstateSave(store, *dataSet, false);
    Blocks blocks;
    StAOSIROSAVEINFO_FUDOUSAN filled{};
    FillRealEstate(save, store, *dataSet, blocks, filled);
    blocks.HandOver();
    *info = filled;
    return kEngineOk;
  });
}
