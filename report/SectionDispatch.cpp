#include <span>

#include "report/ReportWriter.h"
#include "report/SectionSupport.h"

namespace pv14 {
namespace {

// What a section's contents need besides the writer itself.
struct SectionContext {
  ReportWriter& Writer;
  XmlOutput& Out;
  const StDATAINFO& Record;
  const CollectedData& Data;
};

struct Section {
  const char* Name;
  int (*WriteContents)(const SectionContext&);
};

// "AOIROKOUJO_SENTAKU" of the real-estate blue form: the same selection byte
// as the general form's deduction section; an unknown value fails.
int WriteDeductionSelection(const SectionContext& c) {
  const char* text =
      DeductionSelectionText(BlockOrZero(c.Data.GeneralSaveInfo.Basic).DeductionSelection);
  if (text == nullptr) return 0;
  std::string line;
  return c.Out.WriteElement(line, "AOIROKOUJO_SENTAKU", text, kSectionContentDepth);
}

constexpr Section kBlueGeneral[] = {
    {"SONEKIKEISANSYO",
     [](const SectionContext& c) {
       return c.Writer.WriteStatementItems(c.Out, BlueGeneralProfitLossTable());
     }},
    {"TUKIBETUURIAGESHIIRE",
     [](const SectionContext& c) { return c.Writer.WriteMonthlySales(c.Out); }},
    {"KYUURYOUTINGIN",
     [](const SectionContext& c) { return c.Writer.WriteSalariesGeneral(c.Out, 5, 1); }},
    {"SENJUUSYA",
     [](const SectionContext& c) {
       return c.Writer.WriteFamilyEmployeesGeneral(c.Out, c.Record, 5);
     }},
    {"KASIDAOREKURIIRE",
     [](const SectionContext& c) { return c.Writer.WriteBadDebtReserve(c.Out); }},
    {"AOIROKOUJO",
     [](const SectionContext& c) { return c.Writer.WriteBlueDeduction(c.Out, c.Record); }},
    {"RISIWARIBIKIRYOU", [](const SectionContext& c) { return c.Writer.WriteInterest(c.Out, 2); }},
    {"TIDAIYATIN", [](const SectionContext& c) { return c.Writer.WriteRentGeneral(c.Out, 2); }},
    {"ZEIRISIHOUSYUU", [](const SectionContext& c) { return c.Writer.WriteFeesGeneral(c.Out, 2); }},
    {"TOKUSYUJIJOU",
     [](const SectionContext& c) {
       return c.Writer.WriteSpecialCircumstancesGeneral(c.Out, 60, 5);
     }},
    {"TAISYAKUTAISYOUHYO",
     [](const SectionContext& c) {
       return c.Writer.WriteBalanceSheet(c.Out, GeneralBalanceSheetTable());
     }},
    {"SEIZOUGENKA",
     [](const SectionContext& c) {
       return c.Writer.WriteStatementItems(c.Out, CostOfManufactureTable());
     }},
    {"OTHER", [](const SectionContext& c) { return c.Writer.WriteAssociationName(c.Out); }},
};

constexpr Section kWhiteGeneral[] = {
    {"SONEKIKEISANSYO",
     [](const SectionContext& c) {
       return c.Writer.WriteStatementItems(c.Out, WhiteGeneralProfitLossTable());
     }},
    {"KYUURYOUTINGIN",
     [](const SectionContext& c) { return c.Writer.WriteSalariesGeneral(c.Out, 3, 1); }},
    {"SENJUUSYA",
     [](const SectionContext& c) {
       return c.Writer.WriteFamilyEmployeesGeneral(c.Out, c.Record, 3);
     }},
    {"RISIWARIBIKIRYOU", [](const SectionContext& c) { return c.Writer.WriteInterest(c.Out, 2); }},
    {"TIDAIYATIN", [](const SectionContext& c) { return c.Writer.WriteRentGeneral(c.Out, 2); }},
    {"ZEIRISIHOUSYUU", [](const SectionContext& c) { return c.Writer.WriteFeesGeneral(c.Out, 2); }},
    {"TOKUSYUJIJOU",
     [](const SectionContext& c) {
       return c.Writer.WriteSpecialCircumstancesGeneral(c.Out, 60, 9);
     }},
    {"URIAGEMEISAI",
     [](const SectionContext& c) { return c.Writer.WriteSalesBreakdown(c.Out, 4); }},
    {"SIIREMEISAI",
     [](const SectionContext& c) { return c.Writer.WritePurchaseBreakdown(c.Out, 4); }},
    {"OTHER", [](const SectionContext& c) { return c.Writer.WriteAssociationName(c.Out); }},
};

constexpr Section kBlueRealEstate[] = {
    {"SONEKIKEISANSYO",
     [](const SectionContext& c) {
       return c.Writer.WriteStatementItems(c.Out, BlueRealEstateProfitLossTable()) &&
                      WriteDeductionSelection(c) && c.Writer.WriteLiabilityInterest(c.Out)
                  ? 1
                  : 0;
     }},
    {"FUDOUSANSYUUNYUU",
     [](const SectionContext& c) { return c.Writer.WriteRealEstateIncome(c.Out, 9999); }},
    {"KYUURYOUTINGIN",
     [](const SectionContext& c) { return c.Writer.WriteSalariesRealEstate(c.Out, 2, 0); }},
    {"SENJUUSYA",
     [](const SectionContext& c) {
       return c.Writer.WriteFamilyEmployeesRealEstate(c.Out, c.Record, 1);
     }},
    {"TIDAIYATIN",
     [](const SectionContext& c) { return c.Writer.WriteRentRealEstate(c.Out, c.Record, 2); }},
    {"KARIIREKINRISI",
     [](const SectionContext& c) { return c.Writer.WriteBorrowingInterest(c.Out, 3); }},
    {"ZEIRISIHOUSYUU",
     [](const SectionContext& c) { return c.Writer.WriteFeesRealEstate(c.Out, 2); }},
    {"TAISYAKUTAISYOUHYO",
     [](const SectionContext& c) {
       return c.Writer.WriteBalanceSheet(c.Out, RealEstateBalanceSheetTable());
     }},
    {"TOKUSYUJIJOU",
     [](const SectionContext& c) {
       return c.Writer.WriteSpecialCircumstancesRealEstate(c.Out, 30, 25);
     }},
};

constexpr Section kWhiteRealEstate[] = {
    {"SONEKIKEISANSYO",
     [](const SectionContext& c) {
       return c.Writer.WriteStatementItems(c.Out, WhiteRealEstateProfitLossTable()) &&
                      c.Writer.WriteLiabilityInterest(c.Out)
                  ? 1
                  : 0;
     }},
    {"FUDOUSANSYUUNYUU",
     [](const SectionContext& c) { return c.Writer.WriteRealEstateIncome(c.Out, 9999); }},
    {"KYUURYOUTINGIN",
     [](const SectionContext& c) { return c.Writer.WriteSalariesRealEstate(c.Out, 1, 1); }},
    {"SENJUUSYA",
     [](const SectionContext& c) {
       return c.Writer.WriteFamilyEmployeesRealEstate(c.Out, c.Record, 2);
     }},
    {"TIDAIYATIN",
     [](const SectionContext& c) { return c.Writer.WriteRentRealEstate(c.Out, c.Record, 2); }},
    {"KARIIREKINRISI",
     [](const SectionContext& c) { return c.Writer.WriteBorrowingInterest(c.Out, 2); }},
    {"ZEIRISIHOUSYUU",
     [](const SectionContext& c) { return c.Writer.WriteFeesRealEstate(c.Out, 2); }},
    {"TOKUSYUJIJOU",
     [](const SectionContext& c) {
       return c.Writer.WriteSpecialCircumstancesRealEstate(c.Out, 60, 7);
     }},
    {"SYUUZENHI", [](const SectionContext& c) { return c.Writer.WriteRepairs(c.Out, 3); }},
    {"KASITUKEFUDOUSAN",
     [](const SectionContext& c) { return c.Writer.WriteRentalProperty(c.Out); }},
};

// Each section is its start tag, its contents and its end tag; the first
// step that fails ends the series, leaving its start tags unclosed.
int WriteSeries(std::span<const Section> series, const SectionContext& context) {
  std::string line;
  for (const Section& section : series) {
    if (!context.Out.OpenTag(line, section.Name, kSectionDepth)) return 0;
    if (!section.WriteContents(context)) return 0;
    if (!context.Out.CloseTag(line, section.Name, kSectionDepth)) return 0;
  }
  return 1;
}

// The series of a form by return kind; an empty one for any other kind.
std::span<const Section> ChooseSeries(const StDATAINFO& record, std::span<const Section> blue,
                                      std::span<const Section> white) {
  switch (record.ReturnKind) {
    case kBlueReturn:
      return blue;
    case kWhiteReturn:
      return white;
    default:
      return {};
  }
}

}  // namespace

int ReportWriter::WriteGeneralSections(XmlOutput& out, const StDATAINFO& record) {
  return WriteSeries(ChooseSeries(record, kBlueGeneral, kWhiteGeneral),
                     SectionContext{*this, out, record, data_});
}

int ReportWriter::WriteRealEstateSections(XmlOutput& out, const StDATAINFO& record) {
  return WriteSeries(ChooseSeries(record, kBlueRealEstate, kWhiteRealEstate),
                     SectionContext{*this, out, record, data_});
}

}  // namespace pv14
