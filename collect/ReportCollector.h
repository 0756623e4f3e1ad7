// Reads everything the report needs from the accounting engine into the
// collected data store: the statement rows, the monthly totals and the saved
// statement details, showing its progress on the way.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "collect/CollectedData.h"
#include "collect/Progress.h"
#include "engine/LedgerEngine.h"

namespace pv14 {

class ReportCollector {
 public:
  // Both are borrowed. progress may be null (nothing is shown); a null data
  // is a store that was never handed over, and Collect then reads nothing.
  ReportCollector(Progress* progress, CollectedData* data);
  ReportCollector(const ReportCollector&) = delete;
  ReportCollector& operator=(const ReportCollector&) = delete;
  // Deletes the save object, then the white and the blue rule objects.
  ~ReportCollector();

  // 1 when the rows of the record's return kind were asked for (whatever the
  // engine then delivered); 0 without a store, when the saved details could
  // not be read, or when the return kind is neither blue nor white. Rows
  // stored before a failure stay in the store.
  int Collect(const StDATAINFO& record, std::int16_t incomeKind);

  // Internal code of a row copy that could not be allocated.
  static constexpr std::int32_t kAllocationFailed = -1001;

  // A row's Code is replaced when its LineNo matches.
  struct Recoding {
    std::int32_t lineNo;
    std::int32_t code;
  };

 private:
  bool ReadSavedDetails();
  bool EnsureSaveObject();
  bool EnsureBlue();
  bool EnsureWhite();
  bool MakeBlueReady();

  bool BlueSequence(_RuleAoSumType type);
  bool WhiteSequence(_RuleSiroSumType type);
  bool ReadMonthlyTotals();
  bool TransferRealEstateIncome();

  template <class Row, class First, class Next>
  bool CopyList(std::int32_t count, First first, Next next, std::optional<Recoding> recoding);
  void Append(const StAOSUMINFO& row);
  void Append(const StSIROSUMINFO& row);

  void Advance(std::int16_t from, std::int16_t to);
  void Pump();

  Progress* progress_;
  CollectedData* data_;
  std::unique_ptr<ClRuleAo> blue_;
  std::unique_ptr<ClRuleSiro> white_;
  std::unique_ptr<ClSaveAoSiro> save_;
  std::int32_t ready_ = 0;  // 1 once the blue rule object is ready
};

}  // namespace pv14
