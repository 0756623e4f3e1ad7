// The support information file "SUPPORT.INF" of the program's folder: a form
// whose lines each hold a bracketed key and its value. It answers the
// product name and version for the report's SYSTEM block. A missing file, a
// missing key or a failed allocation all answer empty.
#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "platform/Env.h"
#include "platform/Ui.h"

namespace pv14 {

class SupportInfoFile {
 public:
  static constexpr std::size_t kBufferSize = 30000;
  static constexpr std::size_t kKeyCount = 21;
  // Positions (from 0) in Keys() of the keys this program reads.
  static constexpr std::size_t kProductNameKey = 0;
  static constexpr std::size_t kProductVersionKey = 1;
  static constexpr std::size_t kInquiryKey = 18;
  static constexpr std::size_t kReproductionKey = 19;

  // No file access yet. The buffer comes from the Env's global memory; the
  // Ui, when given, shows the out-of-memory message when there is none.
  // Without a Ui that failure only answers empty.
  explicit SupportInfoFile(Env& env, Ui* ui = nullptr);
  SupportInfoFile(const SupportInfoFile&) = delete;
  SupportInfoFile& operator=(const SupportInfoFile&) = delete;

  // The rest of the line after the key, not trimmed; empty when absent.
  std::string ProductName();
  std::string ProductVersion();
  // The value of any key of Keys(); the two free-text fields keep their line
  // breaks. Empty for a key not in the file or an index out of range.
  std::string Value(std::size_t keyIndex);

  // The form's keys in Shift_JIS, in their fixed order.
  static const std::array<std::string, kKeyCount>& Keys();

 private:
  // Reads the file once; true when a buffer exists, read or not.
  bool Load();
  void ReadFile();
  void SplitLines();
  void JoinMultiLineValues();
  std::string Lookup(std::string_view key);

  Env& env_;
  Ui* ui_;
  std::string folder_;  // put in front of the file name; empty: the current directory
  std::unique_ptr<unsigned char[]> memory_;
  std::span<unsigned char> buffer_;  // over memory_ once allocated
};

}  // namespace pv14
