// The JSON form of the whole store: read with every check the store relies
// on, written back so that reading it again gives the same content.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "ledgerengine/EngineData.h"
#include "ledgerengine/JsonDocument.h"

namespace pv14::ledger {

// Longest folder text of AppFolders, in Shift_JIS bytes (a Windows path).
inline constexpr std::size_t kFolderLimit = sizeof(StoreInfoRecord::Documents) - 1;
inline constexpr std::size_t kUserIdLimit = sizeof(StoreInfoRecord::CurrentUserId) - 1;

// Takes the content a piece at a time, in the file's order, so that a file
// of any length is never held whole. The rows of a data set's long lists
// come before the data set, which comes without them.
class EngineSink {
 public:
  virtual ~EngineSink() = default;
  virtual void User(std::size_t position, const UserEntry& user) = 0;
  virtual void StatementRow(std::size_t dataSet, int type, int list, std::size_t position,
                            const StAOSUMINFO& row) = 0;
  virtual void IncomeRow(std::size_t dataSet, std::size_t position,
                         const RealEstateIncomeRow& row) = 0;
  virtual void Set(std::size_t position, DataSet&& set) = 0;
  // Last, once the whole file has been read.
  virtual void Top(const std::string& currentUserId, const std::optional<AppFolders>& folders) = 0;
};

// Throws FormError naming the first value that cannot be taken; the sink may
// have been given part of the content by then.
void ReadEngineJson(std::string_view text, EngineSink& sink);
EngineData ReadEngineJson(std::string_view text);
// Throws FormError when the store holds a text that is not Shift_JIS.
Json WriteEngineJson(const EngineData& data);

}  // namespace pv14::ledger
