// The text helpers over any Shift_JIS bytes: item-name cleaning, fitting a
// text to its field, the full-width company name and the cutting of the
// special-circumstances remark. Each result ends on a character boundary
// (read from the text's first byte) and stays within its limit.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstring>
#include <string>

#include "collect/CollectedData.h"
#include "engine/FieldText.h"
#include "fuzz/Check.h"
#include "fuzz/MemoryEnv.h"
#include "platform/ShiftJis.h"
#include "platform/TaskMem.h"
#include "report/ReportWriter.h"
#include "report/XmlOutput.h"
#include "tests/fakes/MemoryFile.h"

namespace {

using pv14::ReportWriter;
using pv14::sjis::FitLength;

bool EndsOnBoundary(std::string_view text, std::size_t end) { return FitLength(text, end) == end; }

std::string Unescaped(std::string_view text) {
  static const std::pair<std::string_view, char> kEntities[] = {
      {"&amp;", '&'}, {"&gt;", '>'}, {"&lt;", '<'}, {"&quot;", '"'}, {"&apos;", '\''}};
  std::string plain;
  for (std::size_t i = 0; i < text.size();) {
    bool replaced = false;
    for (const auto& [entity, c] : kEntities) {
      if (text.substr(i, entity.size()) == entity) {
        plain += c;
        i += entity.size();
        replaced = true;
        break;
      }
    }
    if (!replaced) plain += text[i++];
  }
  return plain;
}

void CheckRemark(const std::string& remark, int width, int lines) {
  pv14::CollectedData data;
  auto* block = static_cast<StIPPAN_SPECIAL*>(CoTaskMemAlloc(sizeof(StIPPAN_SPECIAL)));
  std::memset(block, 0, sizeof *block);
  std::memcpy(block->SpecialCircumstances, remark.data(),
              std::min(remark.size(), sizeof block->SpecialCircumstances));
  data.GeneralSaveInfo.Special = block;
  const std::string text(FieldText(block->SpecialCircumstances));

  pv14::fuzzing::MemoryEnv env;
  ReportWriter writer(env, nullptr, data, 1, "P");
  pv14::testing::MemoryFile file;
  pv14::XmlOutput out;
  const std::string path = "C:\\r.xml";
  FUZZ_CHECK(out.Open(&file, &path) == 0);
  const bool written = writer.WriteSpecialCircumstancesGeneral(out, width, lines) != 0;
  FUZZ_CHECK(written ? file.lines.size() == static_cast<std::size_t>(lines)
                     : file.lines.size() < static_cast<std::size_t>(lines));
  std::size_t cursor = 0;
  for (std::size_t k = 0; k < file.lines.size(); ++k) {
    const std::string tag = "TOKUSYUJIJOU" + std::to_string(k + 1) + ">";
    const std::string& line = file.lines[k];
    const std::size_t open = line.find(tag), close = line.rfind("</" + tag);
    FUZZ_CHECK(open != std::string::npos && close != std::string::npos);
    const std::string value = Unescaped(line.substr(open + tag.size(), close - open - tag.size()));
    FUZZ_CHECK(value.size() <= static_cast<std::size_t>(width));
    FUZZ_CHECK(text.compare(cursor, value.size(), value) == 0);
    cursor += value.size();
    FUZZ_CHECK(EndsOnBoundary(text, cursor));
    if (text.compare(cursor, 2, "\r\n") == 0) cursor += 2;
  }
  data.Release();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const int helper = input.ConsumeIntegralInRange(0, 3);
  const auto max = input.ConsumeIntegralInRange<std::int16_t>(1, 127);
  const int remarkForm = input.ConsumeIntegralInRange(0, 3);
  const std::string text = input.ConsumeRemainingBytesAsString();
  switch (helper) {
    case 0: {  // an account name of the engine's 127-byte field
      const std::string name = text.substr(0, 127);
      std::string cleaned;
      FUZZ_CHECK(ReportWriter::CleanItemName(name, cleaned) == (name.empty() ? 0 : 1));
      FUZZ_CHECK(cleaned.size() <= name.size() && EndsOnBoundary(cleaned, cleaned.size()));
      break;
    }
    case 1: {  // a record's text, up to its terminator
      std::string fitted;
      const std::string_view whole = std::string_view(text).substr(0, text.find('\0'));
      FUZZ_CHECK(ReportWriter::FitText(whole, fitted, max) == 1);
      FUZZ_CHECK(fitted.size() <= static_cast<std::size_t>(max));
      FUZZ_CHECK(whole.substr(0, fitted.size()) == fitted && EndsOnBoundary(whole, fitted.size()));
      break;
    }
    case 2: {  // the company name of the engine's record, in full width
      pv14::fuzzing::MemoryEnv env;
      pv14::CollectedData store;
      ReportWriter writer(env, nullptr, store, 1, "P");
      const std::string name = text.substr(0, text.find('\0')).substr(0, 127);
      const std::string full = writer.ToFullWidth(name);
      const std::string mapped = env.MapFullWidth(name);
      FUZZ_CHECK(full.size() <= 63 && mapped.compare(0, full.size(), full) == 0);
      FUZZ_CHECK(EndsOnBoundary(mapped, full.size()));
      break;
    }
    default: {  // the dispatch's widths and line counts
      static const int kForms[4][2] = {{60, 5}, {60, 9}, {30, 25}, {60, 7}};
      CheckRemark(text, kForms[remarkForm][0], kForms[remarkForm][1]);
      break;
    }
  }
  return 0;
}
