// The console's two ends: lines read from an input (UTF-8, as typed) and
// everything shown written to an output (UTF-8). The program's texts are
// Shift_JIS and are converted here, for display only.
#pragma once

#include <cstddef>
#include <istream>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace pv14 {

// Where console lines come from and go to.
class ConsoleEnds {
 public:
  virtual ~ConsoleEnds() = default;
  // One line without its line feed; false at the end of input (or when the
  // input cannot be read).
  virtual bool ReadLine(std::string* line) = 0;
  // Writes the bytes at once and flushes them; a failed write is dropped, as
  // a console nobody reads must never stop the program.
  virtual void Write(std::string_view bytes) = 0;
};

// Over C++ streams, such as a test's string streams.
class StreamEnds : public ConsoleEnds {
 public:
  StreamEnds(std::istream& in, std::ostream& out) : in_(in), out_(out) {}
  bool ReadLine(std::string* line) override;
  void Write(std::string_view bytes) override;

 private:
  std::istream& in_;
  std::ostream& out_;
};

// The process's standard input and standard error through C stdio. A
// console run constructs no C++ stream, so it never pays for setting up the
// C++ locales.
class StandardEnds : public ConsoleEnds {
 public:
  bool ReadLine(std::string* line) override;
  void Write(std::string_view bytes) override;
};

class ConsoleIo {
 public:
  explicit ConsoleIo(std::unique_ptr<ConsoleEnds> ends) : ends_(std::move(ends)) {}
  ConsoleIo(std::istream& in, std::ostream& out)
      : ConsoleIo(std::make_unique<StreamEnds>(in, out)) {}

  // One line without its line end; nullopt at the end of input.
  std::optional<std::string> ReadLine();

  // Writes a line of UTF-8 text.
  void WriteLine(std::string_view utf8);
  // Writes a line of Shift_JIS text, shown in UTF-8.
  void ShowLine(std::string_view sjis) { WriteLine(ToDisplay(sjis)); }
  // Writes a prompt, without a line end: the answer typed ends the line.
  void WritePrompt(std::string_view utf8);
  // Replaces the open status line (a progress bar) by utf8, without a line end.
  void WriteStatus(std::string_view utf8);
  // Ends an open status line.
  void EndStatus();
  bool StatusOpen() const { return statusOpen_; }

  // Shift_JIS -> UTF-8; bytes that are not valid Shift_JIS show as U+FFFD.
  // Control characters never reach the terminal raw: each shows as its
  // picture (U+2400-U+241F, U+2421 for DEL), line feeds too unless
  // keepLineBreaks.
  static std::string ToDisplay(std::string_view sjis, bool keepLineBreaks = false);
  // UTF-8 with its control characters shown as pictures (see ToDisplay).
  static std::string Escaped(std::string_view utf8, bool keepLineBreaks = false);

 private:
  std::unique_ptr<ConsoleEnds> ends_;
  bool statusOpen_ = false;
};

}  // namespace pv14
