// The settings file's load and save over any file bytes, keys and paths, on
// an in-memory disk, with a write that may fail: after every save each line
// of another key is still there byte for byte and in order, a failed save
// leaves every byte, and a saved line loads back.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>
#include <vector>

#include "dialogs/ConditionDialog.h"
#include "dialogs/PathHelpers.h"
#include "fuzz/Check.h"
#include "fuzz/MemoryEnv.h"
#include "tests/fakes/FakeEngine.h"
#include "tests/fakes/FakeUi.h"

namespace {

constexpr char kFile[] = "Z:\\cfg\\LedgerStd19ToPv14.env";

// The file's lines, each with its LF (the last one may have none).
std::vector<std::string> Lines(const std::string& content) {
  std::vector<std::string> lines;
  for (std::size_t at = 0; at < content.size();) {
    const std::size_t lf = content.find('\n', at);
    const std::size_t end = lf == std::string::npos ? content.size() : lf + 1;
    lines.push_back(content.substr(at, end - at));
    at = end;
  }
  return lines;
}

std::size_t FirstLineOf(const std::string& content, const std::string& key) {
  std::size_t at = 0;
  for (const std::string& line : Lines(content)) {
    if (line.compare(0, key.size(), key) == 0) return at;
    at += line.size();
  }
  return std::string::npos;
}

std::string WithBreak(std::string line) {
  if (line.empty() || line.back() != '\n') line += '\n';
  return line;
}

// Every line of old but one that starts with key is in fresh, in order;
// fresh ends with line.
void CheckSaved(const std::string& old, const std::string& fresh, const std::string& key,
                const std::string& line) {
  const std::vector<std::string> before = Lines(old), after = Lines(fresh);
  FUZZ_CHECK(!after.empty() && after.back() == line);
  std::size_t next = 0;
  bool skipped = false;
  for (const std::string& kept : before) {
    if (next < after.size() - 1 && after[next] == WithBreak(kept)) {
      ++next;
    } else {
      FUZZ_CHECK(!skipped && kept.compare(0, key.size(), key) == 0);
      skipped = true;
    }
  }
  FUZZ_CHECK(next == after.size() - 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  pv14::testing::FakeEngine& engine = pv14::testing::FakeEngine::Get();
  engine.Reset();
  engine.appFolders = {"Z:\\docs\\", "Z:\\cfg\\"};
  pv14::fuzzing::MemoryEnv env;
  env.SetDrive('Z', pv14::DriveType::kFixed);
  if (input.ConsumeBool()) env.AddFolder("Z:\\cfg");
  if (input.ConsumeBool()) env.AddFile(kFile, input.ConsumeRandomLengthString(4096));
  env.failWriteAt = input.ConsumeIntegralInRange(0, 6);

  pv14::testing::FakeUi ui;
  pv14::ConditionDialog dialog(env, ui, pv14::kNoWindow, "LedgerStd19ToPv14.env");
  dialog.CurrentUserId = input.ConsumeRandomLengthString(70);
  dialog.SelectedKeyNo = input.ConsumeIntegral<std::int32_t>();
  dialog.SelectedDataNo = input.ConsumeIntegral<std::int32_t>();
  const std::string key = dialog.SettingsKey();

  for (int step = 0; step < 4 && input.remaining_bytes() > 0; ++step) {
    const pv14::fuzzing::MemoryEnv::Node* node = env.Find(kFile);
    const std::string old = node != nullptr ? node->content : "";
    std::int16_t kind = -1;
    std::string loaded = "untouched";
    const bool found = dialog.LoadSettings(kind, loaded);
    if (!found) FUZZ_CHECK(kind == -1 && loaded == "untouched");
    if (found) FUZZ_CHECK(kind >= 0 && kind <= 9 && loaded.size() <= pv14::kMaxPathBytes);
    if (found) dialog.SavedOutputPath = loaded;

    const std::int16_t newKind = input.ConsumeIntegralInRange<std::int16_t>(1, 3);
    std::optional<std::string> path;
    if (input.ConsumeBool()) path = input.ConsumeRandomLengthString(300);
    const bool saved = dialog.SaveSettings(0, 0, newKind, path);
    node = env.Find(kFile);
    const std::string fresh = node != nullptr ? node->content : "";
    if (!saved) {
      FUZZ_CHECK(fresh == old);
      continue;
    }
    const std::string line = fresh.substr(fresh.rfind('\n', fresh.size() - 2) + 1);
    const std::string head = key + "0/0/" + std::to_string(newKind) + "/";
    FUZZ_CHECK(line.compare(0, head.size(), head) == 0);
    if (path) FUZZ_CHECK(line == head + *path + "\n");
    CheckSaved(old, fresh, key, line);
    // The line loads back unless an earlier line starts with the same key
    // (an id that ends like another user's key).
    if (path && path->find('/') == std::string::npos && path->size() <= pv14::kMaxPathBytes &&
        FirstLineOf(fresh, key) == fresh.size() - line.size()) {
      kind = -1;
      FUZZ_CHECK(dialog.LoadSettings(kind, loaded) && kind == newKind && loaded == *path);
    }
  }
  return 0;
}
