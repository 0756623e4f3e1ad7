#include "report/ReportWriter.h"

#include <cstring>

#include <memory>
#include <string>
#include <utility>

#include "engine/FieldText.h"
#include "platform/ShiftJis.h"
#include "report/SectionSupport.h"
#include "report/SupportInfoFile.h"
#include "resources/Strings.h"

namespace pv14 {
namespace {

constexpr std::string_view kDeclaration = "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n";
constexpr const char* kDefaultProductVersion = "19.00.0X";
// The product name and version are copied into 256-byte buffers.
constexpr std::size_t kSupportValueBytes = 255;
// KOMONSAKINAME holds at most this many bytes of the full-width name.
constexpr std::size_t kFullWidthNameBytes = 63;

// The income-kind element of the DATA block; nullptr for an unknown kind.
const char* IncomeKindElement(std::int16_t incomeKind) {
  switch (incomeKind) {
    case 1:
      return "EIGYOUSYOTOKU";
    case 2:
      return "SONOTASYOTOKU";
    case 3:
      return "FUDOUSANSYOTOKU";
    default:
      return nullptr;
  }
}

// The longest start of text within maxBytes that keeps its last character whole.
std::string_view CutAtCharacter(std::string_view text, std::size_t maxBytes) {
  return text.substr(0, sjis::FitLength(text, maxBytes));
}

// A support-file value cut to its 255 bytes and then, at a character
// boundary, to what its element line holds once escaped, so a vendor's
// overlong text neither fails the report nor gives way to the default.
// Empty only when not even its first character fits.
std::string SupportValue(std::string_view value, const char* element) {
  const std::string_view copied = CutAtCharacter(value, kSupportValueBytes);
  const std::size_t frame = kBlockElementDepth + 2 * std::strlen(element) + 5 + 2;
  const std::size_t room = XmlOutput::kMaxLine > frame ? XmlOutput::kMaxLine - frame : 0;
  std::size_t end = 0;
  std::size_t escapedSize = 0;
  while (end < copied.size()) {
    const std::size_t n = sjis::CharLength(copied, end);
    const auto escaped = XmlOutput::Escape(copied.substr(end, n));
    if (!escaped || escapedSize + escaped->size() > room) break;
    escapedSize += escaped->size();
    end += n;
  }
  return std::string(copied.substr(0, end));
}

struct Element {
  const char* Name;
  std::string Value;
};

}  // namespace

ReportWriter::ReportWriter(Env& env, Progress* progress, const CollectedData& data,
                           std::int16_t incomeKind, std::string defaultProductName, Ui* ui)
    : env_(env),
      ui_(ui),
      progress_(progress),
      data_(data),
      incomeKind_(incomeKind),
      defaultProductName_(std::move(defaultProductName)) {}

void ReportWriter::Pump() {
  if (progress_ != nullptr) progress_->Pump();
}

void ReportWriter::Advance(int from, int to) {
  if (progress_ != nullptr) {
    progress_->Advance(static_cast<std::int16_t>(from), static_cast<std::int16_t>(to));
  }
}

int ReportWriter::WriteReport(const std::string& outputPath, std::int16_t functionId,
                              const StDATAINFO& record) {
  std::unique_ptr<File> file = env_.NewFile();
  XmlOutput out;
  std::string line;
  // Not checked one by one: after a failure here the file is not open, so
  // the first write of the SYSTEM block fails and with it the report.
  out.Open(file.get(), &outputPath);
  out.WriteText(kDeclaration);
  out.OpenTag(line, "REPORT", kReportDepth);
  Pump();

  bool written = WriteSystem(out, functionId) == 1;
  if (written) {
    Pump();
    written = WriteBasic(out, record) == 1;
  }
  if (written) {
    Pump();
    written = WriteData(out, record) == 1;
  }
  if (written) Pump();

  int closed = out.CloseTag(line, "REPORT", kReportDepth);
  out.Close();
  file.reset();
  return written && closed == 1 ? 1 : 0;
}

int ReportWriter::WriteSystem(XmlOutput& out, std::int16_t functionId) {
  std::string line;
  auto write = [&](const char* name, std::string_view value) {
    if (!out.WriteElement(line, name, value, kBlockElementDepth)) return false;
    Pump();
    return true;
  };
  if (!out.OpenTag(line, "SYSTEM", kBlockDepth)) return 0;
  if (!write("GYOUMUPREFIX", "PV14") || !write("VERSION", "1") ||
      !write("FUNCTIONID", std::to_string(functionId)) ||
      !write("CONNECTEDPROGRAMVER", LoadStringResource(kIdsConnectedProgramVersion))) {
    return 0;
  }
  // Read only now, once per report.
  SupportInfoFile support(env_, ui_);
  std::string productName = SupportValue(support.ProductName(), "PROGRAMNAME");
  if (productName.empty()) productName = defaultProductName_;
  if (!write("PROGRAMNAME", productName)) return 0;
  std::string productVersion = SupportValue(support.ProductVersion(), "PROGRAMVER");
  if (productVersion.empty()) productVersion = kDefaultProductVersion;
  if (!write("PROGRAMVER", productVersion)) return 0;
  if (!out.CloseTag(line, "SYSTEM", kBlockDepth)) return 0;
  Advance(progressBase_, progressBase_ + progress::kSystemBlock);
  return 1;
}

int ReportWriter::WriteBasic(XmlOutput& out, const StDATAINFO& record) {
  std::string line;
  const Element elements[] = {
      {"KOMONSAKINAME", ToFullWidth(FieldText(record.CompanyName))},
      {"AOSIROKUBUN", record.ReturnKind == kWhiteReturn ? "2" : "1"},
      {"JIGYOUNENDOFROM", std::to_string(record.PeriodFrom)},
      {"JIGYOUNENDOTO", std::to_string(record.PeriodTo)},
      {"SYOTOKUSYURUI", std::to_string(incomeKind_)},
  };
  if (!out.OpenTag(line, "BASIC", kBlockDepth)) return 0;
  for (const Element& element : elements) {
    if (!out.WriteElement(line, element.Name, element.Value, kBlockElementDepth)) return 0;
    Pump();
  }
  if (!out.CloseTag(line, "BASIC", kBlockDepth)) return 0;
  Advance(progressBase_ + progress::kSystemBlock, progressBase_ + progress::kBasicBlock);
  return 1;
}

int ReportWriter::WriteData(XmlOutput& out, const StDATAINFO& record) {
  std::string line;
  if (!out.OpenTag(line, "DATA", kBlockDepth)) return 0;
  const char* kindElement = IncomeKindElement(incomeKind_);
  if (kindElement == nullptr) return 0;
  if (!out.OpenTag(line, kindElement, kBlockElementDepth)) return 0;
  int sections =
      incomeKind_ == 3 ? WriteRealEstateSections(out, record) : WriteGeneralSections(out, record);
  if (!sections) return 0;
  if (!out.CloseTag(line, kindElement, kBlockElementDepth)) return 0;
  if (!out.CloseTag(line, "DATA", kBlockDepth)) return 0;
  Advance(progressBase_ + progress::kBasicBlock, progress::kEnd);
  return 1;
}

std::string ReportWriter::ToFullWidth(std::string_view companyName) {
  std::string fullWidth = env_.MapFullWidth(std::string(companyName));
  // Half-width characters double in size, so only names of more than 30
  // bytes can need the cut; it never leaves half a character behind.
  return std::string(CutAtCharacter(fullWidth, kFullWidthNameBytes));
}

}  // namespace pv14
