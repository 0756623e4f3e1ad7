// The profile-string reader over any KurodaiDef.ini bytes: a found value
// comes from the file, and the answer never passes its size nor ends inside
// a double-byte character.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>

#include "fuzz/Check.h"
#include "platform/ShiftJis.h"
#include "platform/posix/ProfileString.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const bool usual = input.ConsumeBool();
  const std::string section = usual ? "ProgramLevel" : input.ConsumeRandomLengthString(16);
  const std::string key = usual ? "PV14" : input.ConsumeRandomLengthString(16);
  const std::string def = input.ConsumeRandomLengthString(8);
  const std::size_t bufferSize = input.ConsumeIntegralInRange<std::size_t>(0, 300);
  const std::string contents = input.ConsumeRemainingBytesAsString();

  const std::optional<std::string> value = pv14::FindProfileValue(contents, section, key);
  if (value) FUZZ_CHECK(contents.find(*value) != std::string::npos);
  const std::string answer = pv14::ProfileResult(value, def, bufferSize);
  FUZZ_CHECK(bufferSize == 0 ? answer.empty() : answer.size() < bufferSize);
  const std::string& whole = value ? *value : def;
  FUZZ_CHECK(whole.compare(0, answer.size(), answer) == 0);
  FUZZ_CHECK(pv14::sjis::FitLength(whole, answer.size()) == answer.size());
  return 0;
}
