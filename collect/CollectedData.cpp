#include "collect/CollectedData.h"

#include <cstring>

#include "platform/TaskMem.h"

namespace pv14 {

CollectedData::CollectedData(std::pmr::memory_resource* rowMemory) : SumRows(rowMemory) {
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
  auto release = [](auto& info) {
    ForEachBlock(info, [&info](auto member) {
      CoTaskMemFree(info.*member);
      info.*member = nullptr;
    });
  };
  release(GeneralSaveInfo);
  release(RealEstateSaveInfo);
  SumRows.clear();
}

}  // namespace pv14
