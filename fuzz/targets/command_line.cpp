// The caller's command line: complete exactly with three commas, each number
// read as the runtime library reads it, the path taken whole.
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/ExportApp.h"
#include "fuzz/Check.h"
#include "fuzz/MemoryEnv.h"
#include "tests/fakes/FakeUi.h"
#include "tests/fakes/TestEdition.h"

namespace {

// atol on a 32-bit system, by way of strtoll: saturates at the 32-bit range.
std::int32_t Reference(std::string text) {
  text = text.substr(0, text.find('\0'));
  errno = 0;
  const long long value = std::strtoll(text.c_str(), nullptr, 10);
  return static_cast<std::int32_t>(std::clamp<long long>(value, INT32_MIN, INT32_MAX));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string line(reinterpret_cast<const char*>(data), size);
  pv14::fuzzing::MemoryEnv env;
  pv14::testing::FakeUi ui;
  pv14::ExportApp app(env, ui, pv14::testing::TestEdition());
  const int complete = app.ParseCommandLine(line);

  std::size_t commas[3];
  int found = 0;
  for (std::size_t at = 0; found < 3; ++found) {
    commas[found] = line.find(',', at);
    if (commas[found] == std::string::npos) break;
    at = commas[found] + 1;
  }
  FUZZ_CHECK(complete == (found == 3 ? 1 : 0));
  const std::string first = found >= 1 ? line.substr(0, commas[0]) : "";
  const std::string second =
      found >= 2 ? line.substr(commas[0] + 1, commas[1] - commas[0] - 1) : "";
  const std::string third = found >= 3 ? line.substr(commas[1] + 1, commas[2] - commas[1] - 1) : "";
  FUZZ_CHECK(app.CallerWindow ==
             (found >= 1 ? static_cast<pv14::WindowHandle>(Reference(first)) : pv14::kNoWindow));
  FUZZ_CHECK(app.NotifyMessage ==
             (found >= 2 ? static_cast<std::uint32_t>(Reference(second)) : 0u));
  FUZZ_CHECK(
      app.FunctionId ==
      (found >= 3 ? static_cast<std::int16_t>(static_cast<std::uint16_t>(Reference(third))) : 1));
  FUZZ_CHECK(app.InitialOutputPath == (found == 3 ? line.substr(commas[2] + 1) : ""));
  FUZZ_CHECK(app.LaunchedByCaller == 0);
  return 0;
}
