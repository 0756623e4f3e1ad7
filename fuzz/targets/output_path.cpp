// The output-path checks and folder helpers over any Shift_JIS path, drive
// table and set of existing folders, on an in-memory disk that creates
// nothing real: no call creates or removes a path over the limit, no helper
// hands back a text over its buffer or cut inside a character, a failed
// folder chain leaves the disk as it was, and the dialog accepts no path the
// edit or the file dialog could not hold.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>

#include "dialogs/ConditionDialog.h"
#include "dialogs/PathHelpers.h"
#include "fuzz/Check.h"
#include "fuzz/MemoryEnv.h"
#include "platform/ShiftJis.h"
#include "tests/fakes/FakeEngine.h"
#include "tests/fakes/FakeUi.h"
#include "tests/unit/ConditionDialogControls.h"

namespace {

using pv14::kMaxPathBytes;
using pv14::kPathBufferSize;

// A text of path-like pieces: drive letters, separators, names, double-byte
// characters whose second byte is a backslash.
std::string PathText(FuzzedDataProvider& input, std::size_t pieces) {
  static const char* const kPieces[] = {"C:", "D:",  "Q:",    "\\",       "\\\\",
                                        "a",  "dir", "x.xml", "\x95\x5c", "\x83\x5c",
                                        ":",  "*",   ".",     " ",        "\\\\srv\\share"};
  std::string text;
  for (std::size_t i = 0; i < pieces && input.remaining_bytes() > 0; ++i) {
    if (input.ConsumeBool()) {
      text += kPieces[input.ConsumeIntegralInRange<std::size_t>(0, std::size(kPieces) - 1)];
    } else {
      text += input.ConsumeBytesAsString(input.ConsumeIntegralInRange<std::size_t>(1, 40));
    }
  }
  return text;
}

bool EndsOnBoundary(const std::string& text) {
  return pv14::sjis::FitLength(text, text.size()) == text.size();
}

void CheckHelpers(pv14::fuzzing::MemoryEnv& env, const std::string& path) {
  FuzzNote() = "path " + Escaped(path);
  pv14::IsValidPathText(path);
  pv14::IsValidDrive(env, path);
  FUZZ_CHECK(pv14::SplitFolder(path) + pv14::SplitFileName(path) == path);
  FUZZ_CHECK(pv14::SplitDrive(path) + pv14::SplitAfterDrive(path) == path);
  FUZZ_CHECK(EndsOnBoundary(pv14::SplitFolder(path)) && EndsOnBoundary(pv14::SplitDrive(path)));

  std::string slashed = path;
  if (pv14::AddTrailingBackslash(slashed, kPathBufferSize)) {
    FUZZ_CHECK(slashed.size() <= kMaxPathBytes && pv14::sjis::EndsWithSingleByte(slashed, '\\'));
    FUZZ_CHECK(slashed.compare(0, path.size(), path) == 0);
  } else {
    FUZZ_CHECK(slashed == path);
  }
  std::string folder = path;
  if (pv14::ReduceToFolder(folder)) {
    FUZZ_CHECK(!folder.empty() && folder.size() <= kMaxPathBytes);
  } else {
    FUZZ_CHECK(folder == path);
  }
  std::string root = "untouched";
  if (pv14::CopyRoot(env, path, root, kPathBufferSize)) {
    FUZZ_CHECK(root.size() < kPathBufferSize && path.compare(0, root.size(), root) == 0);
  }
}

void CheckFolderChain(pv14::fuzzing::MemoryEnv& env, const std::string& folder) {
  FuzzNote() = "folder " + Escaped(folder);
  const auto before = env.Nodes();
  const bool created = pv14::CreateFolderChain(env, folder);
  for (const auto& [name, node] : before) FuzzNote() += "\n  before: " + Escaped(name);
  for (const auto& [name, node] : env.Nodes()) FuzzNote() += "\n  after: " + Escaped(name);
  FUZZ_CHECK(env.longestChanged <= kMaxPathBytes);
  if (folder.size() > kMaxPathBytes) FUZZ_CHECK(!created && env.Nodes() == before);
  if (!created && env.failRemoveAt == 0) FUZZ_CHECK(env.Nodes() == before);
  // A folder that is its root alone has no level to create.
  std::string reduced = folder;
  const bool levels = pv14::ReduceToFolder(reduced) &&
                      pv14::AddTrailingBackslash(reduced, kPathBufferSize) &&
                      env.PathSkipRoot(reduced).value_or(reduced.size()) < reduced.size();
  if (created && levels) FUZZ_CHECK(pv14::IsExistingFolder(env, folder));
}

void CheckDialog(pv14::fuzzing::MemoryEnv& env, FuzzedDataProvider& input) {
  pv14::testing::FakeUi ui;
  ui.defaultAnswer = input.ConsumeBool() ? pv14::kIdYes : pv14::kIdNo;
  pv14::ConditionDialog dialog(env, ui, pv14::kNoWindow, "LedgerStd19ToPv14.env");
  pv14::testing::RecordingControls controls;
  dialog.OnInitDialog(controls);
  // Typing stops at the edit's limit; the file dialog hands any name.
  const std::string typed = PathText(input, 12);
  controls.SetText(pv14::ConditionDialog::kOutputPathEditId,
                   typed.substr(0, pv14::sjis::FitLength(typed, dialog.kPathEditLimit)));
  if (input.ConsumeBool()) {
    ui.fileAnswers.push_back(PathText(input, 16));
    dialog.OnBrowse(controls);
  }
  dialog.OnExecute(controls);
  if (controls.results.empty()) return;
  FUZZ_CHECK(dialog.OutputPath.size() <= dialog.kBrowsedPathLimit);
  FUZZ_CHECK(pv14::IsValidPathText(dialog.OutputPath));
  FUZZ_CHECK(!pv14::SplitFileName(dialog.OutputPath).empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  pv14::testing::FakeEngine::Get().Reset();
  pv14::testing::FakeEngine::Get().appFolders = {"", "Z:\\cfg\\"};
  pv14::fuzzing::MemoryEnv env;
  for (char letter : {'C', 'D', 'Q', 'Z'}) {
    env.SetDrive(letter, static_cast<pv14::DriveType>(input.ConsumeIntegralInRange(0, 7)));
  }
  for (int i = input.ConsumeIntegralInRange(0, 3); i > 0; --i) env.AddFolder(PathText(input, 6));
  env.failCreateAt = input.ConsumeIntegralInRange(0, 4);
  env.failRemoveAt = input.ConsumeIntegralInRange(0, 2);

  switch (input.ConsumeIntegralInRange(0, 2)) {
    case 0:
      CheckHelpers(env, PathText(input, 16));
      break;
    case 1:
      CheckFolderChain(env, PathText(input, 24));
      break;
    default:
      CheckDialog(env, input);
      break;
  }
  return 0;
}
