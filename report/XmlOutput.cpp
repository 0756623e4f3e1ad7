#include "report/XmlOutput.h"

#include <string_view>
#include <utility>

namespace pv14 {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

// Indentation of a line; nullopt when the tabs alone would not fit a line.
std::optional<std::string> Indent(int depth) {
  if (depth < 0) depth = 0;
  if (static_cast<std::size_t>(depth) > XmlOutput::kMaxLine) return std::nullopt;
  return std::string(static_cast<std::size_t>(depth), '\t');
}

constexpr std::pair<char, std::string_view> kEntities[] = {
    {'&', "&amp;"}, {'>', "&gt;"}, {'<', "&lt;"}, {'"', "&quot;"}, {'\'', "&apos;"}};

// The entity that stands for a markup character; empty for any other byte.
std::string_view EntityOf(char c) {
  for (const auto& [markup, entity] : kEntities) {
    if (c == markup) return entity;
  }
  return {};
}

// A line over the limit is never written, not even in part: the report fails
// as it would on a full disk.
bool Fits(const std::string& line) { return line.size() <= XmlOutput::kMaxLine; }

bool Given(const char* name, const char* value) { return name != nullptr && value != nullptr; }

// ` a="escaped"` for a complete first attribute, followed by the same for a
// complete second one; nullopt when a value is too long to escape. Every
// attribute also lies within the line, whose length the caller checks.
std::optional<std::string> Attributes(const char* attr1Name, const char* attr1Value,
                                      const char* attr2Name, const char* attr2Value) {
  std::string text;
  const std::pair<const char*, const char*> attributes[] = {{attr1Name, attr1Value},
                                                            {attr2Name, attr2Value}};
  for (const auto& [name, value] : attributes) {
    if (!Given(name, value)) break;  // a second attribute never without a first
    std::optional<std::string> escaped = XmlOutput::Escape(value);
    if (!escaped) return std::nullopt;
    text.append(" ").append(name).append("=\"").append(*escaped).append("\"");
  }
  return text;
}

}  // namespace

XmlOutput::~XmlOutput() {
  if (file_ != nullptr) Close();
}

std::int16_t XmlOutput::Open(File* file, const std::string* path) {
  if (file == nullptr || path == nullptr) return -1;
  path_ = *path;
  file_ = file;
  return file_->Open(path_, File::kCreate | File::kWrite) ? 0 : -1;
}

int XmlOutput::Fail() {
  // The file stays attached: every later write finds it closed and fails too.
  if (file_ != nullptr) file_->Close();
  return 0;
}

int XmlOutput::WriteText(std::string_view text) {
  if (file_ == nullptr) return 0;
  if (!file_->IsOpen()) return Fail();
  if (!file_->Write(text.data(), text.size())) return Fail();
  return 1;
}

int XmlOutput::OpenTag(std::string& line, const char* name, int depth, const char* attr1Name,
                       const char* attr1Value, const char* attr2Name, const char* attr2Value) {
  std::optional<std::string> indent = Indent(depth);
  std::optional<std::string> attributes = Attributes(attr1Name, attr1Value, attr2Name, attr2Value);
  if (name == nullptr || !indent || !attributes) return Fail();
  line = *indent;
  line.append("<").append(name).append(*attributes).append(">").append(kLineEnd);
  return Fits(line) ? WriteText(line) : Fail();
}

int XmlOutput::WriteElement(std::string& line, const char* name, std::string_view value, int depth,
                            const char* attr1Name, const char* attr1Value, const char* attr2Name,
                            const char* attr2Value) {
  std::optional<std::string> indent = Indent(depth);
  std::optional<std::string> attributes = Attributes(attr1Name, attr1Value, attr2Name, attr2Value);
  std::optional<std::string> escaped = Escape(value);
  if (name == nullptr || !indent || !attributes || !escaped) return Fail();
  line = *indent;
  line.append("<").append(name).append(*attributes).append(">").append(*escaped);
  line.append("</").append(name).append(">").append(kLineEnd);
  return Fits(line) ? WriteText(line) : Fail();
}

int XmlOutput::CloseTag(std::string& line, const char* name, int depth) {
  std::optional<std::string> indent = Indent(depth);
  if (name == nullptr || !indent) return Fail();
  line = *indent;
  line.append("</").append(name).append(">").append(kLineEnd);
  return Fits(line) ? WriteText(line) : Fail();
}

std::optional<std::string> XmlOutput::Escape(std::string_view text) {
  if (text.size() > kMaxLine) return std::nullopt;
  std::string result;
  result.reserve(text.size());
  // Byte by byte: none of the five can be the trail byte of a Shift_JIS
  // character, so double-byte text passes unchanged.
  for (char c : text) {
    std::string_view entity = EntityOf(c);
    if (entity.empty()) {
      result += c;
    } else {
      result += entity;
    }
  }
  if (result.size() > kMaxLine) return std::nullopt;
  return result;
}

std::int16_t XmlOutput::Close() {
  if (file_ != nullptr) file_->Close();
  file_ = nullptr;
  return 0;
}

}  // namespace pv14
