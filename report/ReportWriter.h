// Writes one report file from the collected data: the document skeleton,
// its header blocks and every section of the DATA block. Every operation
// returns 1 on success and 0 at the first failure.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "collect/CollectedData.h"
#include "collect/Progress.h"
#include "engine/LedgerEngine.h"
#include "platform/Env.h"
#include "platform/Ui.h"
#include "report/StatementTables.h"
#include "report/XmlOutput.h"

namespace pv14 {

class ReportWriter {
 public:
  // progress may be null (nothing is shown then). defaultProductName is the
  // edition's, written when the support file gives none. ui, when given,
  // shows the support file's out-of-memory message.
  ReportWriter(Env& env, Progress* progress, const CollectedData& data, std::int16_t incomeKind,
               std::string defaultProductName, Ui* ui = nullptr);

  void SetProgressBase(std::int16_t base) { progressBase_ = base; }

  // ---- the document
  int WriteReport(const std::string& outputPath, std::int16_t functionId, const StDATAINFO& record);
  int WriteSystem(XmlOutput& out, std::int16_t functionId);
  int WriteBasic(XmlOutput& out, const StDATAINFO& record);
  int WriteData(XmlOutput& out, const StDATAINFO& record);
  // The company name in full width, at most 63 bytes, never ending inside a
  // double-byte character.
  std::string ToFullWidth(std::string_view companyName);

  // ---- section dispatch
  int WriteGeneralSections(XmlOutput& out, const StDATAINFO& record);
  int WriteRealEstateSections(XmlOutput& out, const StDATAINFO& record);

  // ---- statement items
  int WriteStatementItems(XmlOutput& out, std::span<const ItemTableRow> table);
  int WriteBalanceSheet(XmlOutput& out, std::span<const BalanceTableRow> table);
  int WriteMonthlySales(XmlOutput& out);
  // Removes blanks, brackets and "(製)" from an account name. 0 when the
  // source is empty (nothing written), else 1.
  static int CleanItemName(std::string_view source, std::string& destination);

  // ---- deduction, reserves, association, liability interest
  int WriteBadDebtReserve(XmlOutput& out);
  int WriteBlueDeduction(XmlOutput& out, const StDATAINFO& record);
  int WriteAssociationName(XmlOutput& out);
  int WriteLiabilityInterest(XmlOutput& out);

  // ---- salaries and family employees
  int WriteSalariesGeneral(XmlOutput& out, int rows, int withOthers);
  int WriteSalariesRealEstate(XmlOutput& out, int rows, int withOthers);
  int WriteFamilyEmployeesGeneral(XmlOutput& out, const StDATAINFO& record, int rows);
  int WriteFamilyEmployeesRealEstate(XmlOutput& out, const StDATAINFO& record, int rows);

  // ---- interest, rent, fees
  int WriteInterest(XmlOutput& out, int rows);
  int WriteRentGeneral(XmlOutput& out, int rows);
  int WriteRentRealEstate(XmlOutput& out, const StDATAINFO& record, int rows);
  int WriteBorrowingInterest(XmlOutput& out, int rows);
  int WriteFeesGeneral(XmlOutput& out, int rows);
  int WriteFeesRealEstate(XmlOutput& out, int rows);

  // ---- special circumstances, sales and purchases
  int WriteSpecialCircumstancesGeneral(XmlOutput& out, int width, int lines);
  int WriteSpecialCircumstancesRealEstate(XmlOutput& out, int width, int lines);
  int WriteSalesBreakdown(XmlOutput& out, int rows);
  int WritePurchaseBreakdown(XmlOutput& out, int rows);

  // ---- real-estate income, repairs, rented property
  int WriteRealEstateIncome(XmlOutput& out, int maxRows);
  // Cuts text to at most max bytes without splitting a double-byte
  // character. Always 1.
  static int FitText(std::string_view text, std::string& out, std::int16_t max);
  // The area (1/10000 units) with the given decimals, rounded half away from
  // zero; out is left as it was when the text would not fit size bytes.
  static void FormatArea(std::int64_t value, std::string& out, std::size_t size, int decimals);
  int WriteRepairs(XmlOutput& out, int rows);
  int WriteRentalProperty(XmlOutput& out);

  // ---- value rules
  // Whole yen truncated toward zero; empty for 0.
  static std::string AmountText(std::int64_t stored);
  // Decimal; empty for 0.
  static std::string CountText(std::int32_t value);

 private:
  void Pump();
  void Advance(int from, int to);

  Env& env_;
  Ui* ui_;
  Progress* progress_;
  const CollectedData& data_;
  std::int16_t incomeKind_;
  std::string defaultProductName_;
  std::int16_t progressBase_ = progress::kWriteBase;
};

}  // namespace pv14
