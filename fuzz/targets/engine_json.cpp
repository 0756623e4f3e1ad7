// The engine's JSON loader over any bytes: refused or loaded, never a crash.
// A loaded form writes back to a text that loads to the same text, and that
// text, put into a store and dumped, comes back unchanged.
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "fuzz/Check.h"
#include "ledgerengine/FormError.h"
#include "ledgerengine/JsonForm.h"
#include "ledgerengine/StoreFile.h"

namespace {

// A store file of the run's own, in memory-backed /dev/shm when there is one.
const std::string& StorePath() {
  static const std::string path = [] {
    std::string folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    std::string name = folder + "/pv14-fuzz-store-" + std::to_string(getpid()) + ".sqlite";
    std::atexit([] { unlink(StorePath().c_str()); });
    return name;
  }();
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pv14::ledger;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::string dumped;
  try {
    dumped = WriteEngineJson(ReadEngineJson(text)).dump(2) + "\n";
  } catch (const FormError&) {
    return 0;  // refused
  }
  std::string again;
  try {
    again = WriteEngineJson(ReadEngineJson(dumped)).dump(2) + "\n";
  } catch (const FormError& error) {
    std::fprintf(stderr, "the written form was refused: %s\n", error.what());
    FUZZ_CHECK(false);
  }
  FUZZ_CHECK(again == dumped);

  FUZZ_CHECK(LoadStore(text, StorePath()).status == ToolResult::kDone);
  std::string stored;
  FUZZ_CHECK(DumpStore(StorePath(), &stored).status == ToolResult::kDone);
  FUZZ_CHECK(stored == dumped);
  return 0;
}
