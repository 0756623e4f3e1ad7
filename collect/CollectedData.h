// Everything the report is written from, filled by ReportCollector and read
// by ReportWriter. Owned by the application for the whole run.
#pragma once

#include <cstdint>
#include <list>
#include <memory_resource>
#include <tuple>

#include "engine/LedgerEngine.h"

namespace pv14 {

// The block members of each saved-details record, in block order: the one
// list by which the blocks are adopted, released and (in tests) made.
inline constexpr std::tuple kGeneralBlocks{
    &StAOSIROSAVEINFO_IPPAN::Basic,          &StAOSIROSAVEINFO_IPPAN::ReservesFamily,
    &StAOSIROSAVEINFO_IPPAN::Salaries,       &StAOSIROSAVEINFO_IPPAN::InterestFees,
    &StAOSIROSAVEINFO_IPPAN::Rent,           &StAOSIROSAVEINFO_IPPAN::Special,
    &StAOSIROSAVEINFO_IPPAN::SalesPurchases,
};
inline constexpr std::tuple kRealEstateBlocks{
    &StAOSIROSAVEINFO_FUDOUSAN::Basic,         &StAOSIROSAVEINFO_FUDOUSAN::IncomeRows,
    &StAOSIROSAVEINFO_FUDOUSAN::BorrowingFees, &StAOSIROSAVEINFO_FUDOUSAN::Salaries,
    &StAOSIROSAVEINFO_FUDOUSAN::Rent,          &StAOSIROSAVEINFO_FUDOUSAN::Special,
    &StAOSIROSAVEINFO_FUDOUSAN::Repairs,       &StAOSIROSAVEINFO_FUDOUSAN::Property,
};
// Every member of a record is a block: a block added to a record and not to
// its list is caught here.
static_assert(std::tuple_size_v<decltype(kGeneralBlocks)> * sizeof(void*) ==
              sizeof(StAOSIROSAVEINFO_IPPAN));
static_assert(std::tuple_size_v<decltype(kRealEstateBlocks)> * sizeof(void*) ==
              sizeof(StAOSIROSAVEINFO_FUDOUSAN));
constexpr const auto& BlocksOf(const StAOSIROSAVEINFO_IPPAN&) { return kGeneralBlocks; }
constexpr const auto& BlocksOf(const StAOSIROSAVEINFO_FUDOUSAN&) { return kRealEstateBlocks; }

// Calls visit with the pointer to each block member of info's record, in
// block order.
template <class Info, class Visit>
void ForEachBlock(const Info& info, Visit&& visit) {
  std::apply([&](auto... member) { (visit(member), ...); }, BlocksOf(info));
}

// Blue and white statement rows share one layout; the store keeps blue rows.
using SumRecord = StAOSUMINFO;
static_assert(sizeof(StAOSUMINFO) == sizeof(StSIROSUMINFO));

class CollectedData {
 public:
  // The row copies are allocated from rowMemory (which must outlive the
  // store): a test hands one that refuses, as a full memory would.
  explicit CollectedData(std::pmr::memory_resource* rowMemory = std::pmr::new_delete_resource());
  CollectedData(const CollectedData&) = delete;
  CollectedData& operator=(const CollectedData&) = delete;
  ~CollectedData();

  // FindRow modes.
  static constexpr std::int16_t kByCode = 0;
  static constexpr std::int16_t kByPosition = 1;  // 1-based

  // Copies the first row (collection order) whose Code equals key, or the
  // row at position key, into *record. 1 found; 0 otherwise, *record untouched.
  int FindRow(std::int32_t key, std::int16_t mode, SumRecord* record) const;

  // Frees the engine blocks (CoTaskMemFree) and the rows; the store is empty
  // and all zero afterwards. Safe to call more than once.
  void Release();

  std::pmr::list<SumRecord> SumRows;
  StAOSUMINFO_TSUKIBETSU MonthlyTotals;
  StAOSIROSAVEINFO_IPPAN GeneralSaveInfo;
  StAOSIROSAVEINFO_FUDOUSAN RealEstateSaveInfo;
};

}  // namespace pv14
