#include "collect/CollectedData.h"

#include <cstring>

#include "platform/TaskMem.h"

namespace pv14 {

CollectedData::CollectedData() {
  std::memset(&MonthlyTotals, 0, sizeof MonthlyTotals);
  std::memset(&GeneralSaveInfo, 0, sizeof GeneralSaveInfo);
  std::memset(&RealEstateSaveInfo, 0, sizeof RealEstateSaveInfo);
}

CollectedData::~CollectedData() { Release(); }

int CollectedData::FindRow(std::int32_t key, std::int16_t mode, SumRecord* record) const {
  if (record == nullptr) return 0;
  if (mode == kByCode) {
    for (const SumRecord& row : SumRows) {
      if (row.Code == key) {
        *record = row;
        return 1;
      }
    }
    return 0;
  }
  if (mode == kByPosition) {
    if (key < 1 || static_cast<std::size_t>(key) > SumRows.size()) return 0;
    auto it = SumRows.begin();
    std::advance(it, key - 1);
    *record = *it;
    return 1;
  }
  return 0;
}

void CollectedData::Release() {
  auto freeBlock = [](auto*& block) {
    CoTaskMemFree(block);
    block = nullptr;
  };
  freeBlock(GeneralSaveInfo.Basic);
  freeBlock(GeneralSaveInfo.ReservesFamily);
  freeBlock(GeneralSaveInfo.Salaries);
  freeBlock(GeneralSaveInfo.InterestFees);
  freeBlock(GeneralSaveInfo.Rent);
  freeBlock(GeneralSaveInfo.Special);
  freeBlock(GeneralSaveInfo.SalesPurchases);
  freeBlock(RealEstateSaveInfo.Basic);
  freeBlock(RealEstateSaveInfo.IncomeRows);
  freeBlock(RealEstateSaveInfo.BorrowingFees);
  freeBlock(RealEstateSaveInfo.Salaries);
  freeBlock(RealEstateSaveInfo.Rent);
  freeBlock(RealEstateSaveInfo.Special);
  freeBlock(RealEstateSaveInfo.Repairs);
  freeBlock(RealEstateSaveInfo.Property);
  SumRows.clear();
}

}  // namespace pv14
