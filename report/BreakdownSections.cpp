// The special-circumstances lines and the sales and purchase breakdowns.
#include <algorithm>

#include "engine/FieldText.h"
#include "platform/ShiftJis.h"
#include "report/ReportWriter.h"
#include "report/ScheduleRows.h"

namespace pv14 {
namespace {

constexpr int kExaminedBytes = 960;
// Narrower lines could not hold a double-byte character and would never
// advance through one.
constexpr int kNarrowestLine = 2;

// Cuts a remark into numbered line elements of at most width bytes, a CR LF
// pair ending a line early, and always writes exactly `lines` elements.
class RemarkLines {
 public:
  RemarkLines(XmlOutput& out, std::string_view text, int width, int lines)
      : out_(out), text_(text), width_(std::max(width, kNarrowestLine)), lines_(lines) {}

  int Write() {
    int start = 0;
    for (int p = 0; p < kExaminedBytes && written_ < lines_; ++p) {
      const bool lineBreak = At(p) == '\r' && At(p + 1) == '\n';
      if (!lineBreak && At(p) != '\0' && p - start != width_) continue;
      // A character split by the width moves whole to the next line.
      if (p > start && sjis::FitLength(text_, p) < static_cast<std::size_t>(p)) --p;
      if (!WriteLine(text_.substr(start, p - start))) return 0;
      if (At(p) == '\0') break;
      start = (At(p) == '\r' && At(p + 1) == '\n') ? p + 2 : p;
    }
    while (written_ < lines_) {
      if (!WriteLine({})) return 0;
    }
    return 1;
  }

 private:
  // The field is read only as far as its text goes; beyond it reads as NUL.
  char At(int p) const { return static_cast<std::size_t>(p) < text_.size() ? text_[p] : '\0'; }

  int WriteLine(std::string_view value) {
    const std::string name = "TOKUSYUJIJOU" + std::to_string(++written_);
    return out_.WriteElement(line_, name.c_str(), value, kSectionContentDepth);
  }

  XmlOutput& out_;
  std::string_view text_;
  int width_;
  int lines_;
  int written_ = 0;
  std::string line_;
};

struct PartnerSchedule {
  const char* RowElement;
  const char* NameElement;
  const char* AmountElement;
  const char* OthersElement;
};

constexpr PartnerSchedule kSales = {"URIAGE_UTIWAKE", "URIAGESAKIMEI", "URIAGEKINGAKU",
                                    "JOUKIIGAI_URIAGESAKIKEI"};
constexpr PartnerSchedule kPurchases = {"SIIRE_UTIWAKE", "SIIRESAKIMEI", "SIIREKINGAKU",
                                        "JOUKIIGAI_SIIRESAKIKEI"};

template <std::size_t N>
int WritePartners(XmlOutput& out, const PartnerSchedule& schedule, const PartnerRow (&partners)[N],
                  std::int64_t othersTotal, int rows) {
  const auto partner = [&](std::size_t i) -> std::optional<ScheduleRow> {
    return ScheduleRow{{schedule.NameElement, std::string(FieldText(partners[i].Name))},
                       {"SYOZAITI", std::string(FieldText(partners[i].Location))},
                       {schedule.AmountElement, ReportWriter::AmountText(partners[i].Amount)}};
  };
  if (!WriteTableRows(out, schedule.RowElement, true, rows, static_cast<int>(N), partner)) {
    return 0;
  }
  std::string line;
  return out.WriteElement(line, schedule.OthersElement, ReportWriter::AmountText(othersTotal),
                          kSectionContentDepth);
}

}  // namespace

int ReportWriter::WriteSpecialCircumstancesGeneral(XmlOutput& out, int width, int lines) {
  const StIPPAN_SPECIAL& block = BlockOrZero(data_.GeneralSaveInfo.Special);
  return RemarkLines(out, FieldText(block.SpecialCircumstances), width, lines).Write();
}

int ReportWriter::WriteSpecialCircumstancesRealEstate(XmlOutput& out, int width, int lines) {
  const StFUDOUSAN_SPECIAL& block = BlockOrZero(data_.RealEstateSaveInfo.Special);
  return RemarkLines(out, FieldText(block.SpecialCircumstances), width, lines).Write();
}

int ReportWriter::WriteSalesBreakdown(XmlOutput& out, int rows) {
  const StIPPAN_SALES_PURCHASES& block = BlockOrZero(data_.GeneralSaveInfo.SalesPurchases);
  return WritePartners(out, kSales, block.SalesRows, block.OtherSalesTotal, rows);
}

int ReportWriter::WritePurchaseBreakdown(XmlOutput& out, int rows) {
  const StIPPAN_SALES_PURCHASES& block = BlockOrZero(data_.GeneralSaveInfo.SalesPurchases);
  return WritePartners(out, kPurchases, block.PurchaseRows, block.OtherPurchasesTotal, rows);
}

}  // namespace pv14
