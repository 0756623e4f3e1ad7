// SupportInfoFile over any SUPPORT.INF bytes: every lookup answers a text
// without a NUL or an end-of-file mark; a one-line key's answer is what
// follows it in the file's first 30000 bytes (the two free-text keys join
// their lines, so theirs, and a key's found inside their text, need not
// stand in the file as it is); the two named lookups agree.
#include <string>

#include "fuzz/Check.h"
#include "fuzz/MemoryEnv.h"
#include "report/SupportInfoFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using pv14::SupportInfoFile;
  const std::string file(reinterpret_cast<const char*>(data), size);
  pv14::fuzzing::MemoryEnv env;
  env.AddFile("C:\\PROGRAM\\SUPPORT.INF", file);
  SupportInfoFile info(env);
  const std::string seen = file.substr(0, SupportInfoFile::kBufferSize);
  for (std::size_t key = 0; key <= SupportInfoFile::kKeyCount; ++key) {
    const std::string value = info.Value(key);
    FuzzNote() = "key " + std::to_string(key) + ", value " + Escaped(value);
    FUZZ_CHECK(value.size() < SupportInfoFile::kBufferSize);
    FUZZ_CHECK(value.find('\0') == std::string::npos);
    FUZZ_CHECK(value.find('\x1a') == std::string::npos);
    if (key == SupportInfoFile::kKeyCount) {
      FUZZ_CHECK(value.empty());
    } else if (!value.empty() && key != SupportInfoFile::kInquiryKey &&
               key != SupportInfoFile::kReproductionKey &&
               value.find_first_of("\r\n") == std::string::npos) {
      FUZZ_CHECK(seen.find(SupportInfoFile::Keys()[key] + value) != std::string::npos);
    }
  }
  FUZZ_CHECK(info.ProductName() == info.Value(SupportInfoFile::kProductNameKey));
  FUZZ_CHECK(info.ProductVersion() == info.Value(SupportInfoFile::kProductVersionKey));
  return 0;
}
