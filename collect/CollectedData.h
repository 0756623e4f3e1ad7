// Everything the report is written from, filled by ReportCollector and read
// by ReportWriter. Owned by the application for the whole run.
#pragma once

#include <cstdint>
#include <list>

#include "engine/LedgerEngine.h"

namespace pv14 {

// Blue and white statement rows share one layout; the store keeps blue rows.
using SumRecord = StAOSUMINFO;
static_assert(sizeof(StAOSUMINFO) == sizeof(StSIROSUMINFO));

class CollectedData {
 public:
  CollectedData();
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

  std::list<SumRecord> SumRows;
  StAOSUMINFO_TSUKIBETSU MonthlyTotals;
  StAOSIROSAVEINFO_IPPAN GeneralSaveInfo;
  StAOSIROSAVEINFO_FUDOUSAN RealEstateSaveInfo;
};

}  // namespace pv14
