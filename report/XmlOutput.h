// The only code that touches the report file: one write per line, values
// escaped, TAB indentation, CR LF line ends. Results: 1 written, 0 failed.
// After the first failed write the file is closed and every later write
// returns 0.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Env.h"

namespace pv14 {

class XmlOutput {
 public:
  // A line, indentation and CR LF included, holds at most this many bytes;
  // so does an escaped value and a formatted attribute.
  static constexpr std::size_t kMaxLine = 255;

  XmlOutput() = default;
  XmlOutput(const XmlOutput&) = delete;
  XmlOutput& operator=(const XmlOutput&) = delete;
  ~XmlOutput();

  // Opens (creates or truncates) the file write-only. 0 open, -1 failure.
  std::int16_t Open(File* file, const std::string* path);
  int WriteText(std::string_view text);
  // line is the caller's line buffer; its previous content is replaced.
  // An attribute is written only when both its name and value are given; a
  // second attribute never without a first.
  int OpenTag(std::string& line, const char* name, int depth, const char* attr1Name = nullptr,
              const char* attr1Value = nullptr, const char* attr2Name = nullptr,
              const char* attr2Value = nullptr);
  int WriteElement(std::string& line, const char* name, std::string_view value, int depth,
                   const char* attr1Name = nullptr, const char* attr1Value = nullptr,
                   const char* attr2Name = nullptr, const char* attr2Value = nullptr);
  int CloseTag(std::string& line, const char* name, int depth);
  // The five markup characters as entities; nullopt when the input or the
  // result exceeds kMaxLine bytes.
  static std::optional<std::string> Escape(std::string_view text);
  std::int16_t Close();

  const std::string& Path() const { return path_; }

 private:
  int Fail();

  File* file_ = nullptr;
  std::string path_;
};

}  // namespace pv14
