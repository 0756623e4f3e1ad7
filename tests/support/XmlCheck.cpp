#include "tests/support/XmlCheck.h"

#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "platform/Encoding.h"
#include "tests/support/Process.h"

namespace pv14::testing {
namespace {

constexpr std::string_view kShiftJisDeclaration = "encoding=\"Shift_JIS\"";

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size() - 1;
    lines.push_back(text.substr(start, end + 1 - start));
    start = end + 1;
  }
  return lines;
}

// A line as a reader wants to see it: UTF-8, line end shown.
std::string Readable(std::string_view line) {
  std::string text = Cp932ToUtf8Lossy(line);
  std::string shown;
  for (char c : text) {
    if (c == '\r') {
      shown += "\\r";
    } else if (c == '\n') {
      shown += "\\n";
    } else {
      shown += c;
    }
  }
  return shown;
}

}  // namespace

std::string FindOnPath(std::string_view program) {
  const char* path = std::getenv("PATH");
  std::string_view dirs = path != nullptr ? path : "/usr/bin:/bin";
  while (!dirs.empty()) {
    const std::size_t colon = dirs.find(':');
    std::string candidate(dirs.substr(0, colon));
    candidate += '/';
    candidate += program;
    if (::access(candidate.c_str(), X_OK) == 0) return candidate;
    dirs = colon == std::string_view::npos ? std::string_view() : dirs.substr(colon + 1);
  }
  return "";
}

std::string XmlWellFormednessErrors(std::string_view shiftJisDocument) {
  std::optional<std::string> utf8 = Cp932ToUtf8(shiftJisDocument);
  if (!utf8) return "the document is not valid code page 932";
  const std::size_t firstLineEnd = utf8->find('\n');
  const std::size_t declaration = utf8->find(kShiftJisDeclaration);
  if (declaration != std::string::npos && declaration < firstLineEnd) {
    utf8->replace(declaration, kShiftJisDeclaration.size(), "encoding=\"UTF-8\"");
  }
  const std::string xmllint = FindOnPath("xmllint");
  if (xmllint.empty()) return "xmllint is not installed (libxml2-utils)";
  ProcessOptions options;
  options.args = {"--noout", "-"};
  options.input = *utf8;
  ProcessResult result = RunProcess(xmllint, options);
  if (result.exitStatus == 0) return "";
  return "xmllint exit status " + std::to_string(result.exitStatus) + ": " + result.err;
}

std::string FirstDifference(std::string_view expected, std::string_view actual) {
  if (expected == actual) return "";
  const std::vector<std::string_view> want = SplitLines(expected);
  const std::vector<std::string_view> got = SplitLines(actual);
  std::size_t i = 0;
  while (i < want.size() && i < got.size() && want[i] == got[i]) ++i;
  const std::string expectedLine = i < want.size() ? Readable(want[i]) : "(end of file)";
  const std::string actualLine = i < got.size() ? Readable(got[i]) : "(end of file)";
  return "first difference at line " + std::to_string(i + 1) + "\n  expected: " + expectedLine +
         "\n  actual:   " + actualLine;
}

}  // namespace pv14::testing
