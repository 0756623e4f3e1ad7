// Exceptions escaping the run: whatever throws them (the engine, the
// environment, the front end) and whatever they are, the run fails with
// ExitCode 2 and its failure message, and the exit step still gives the
// caller its window back and tells it.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <ios>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/ExportApp.h"
#include "platform/posix/PosixEnv.h"
#include "resources/Text.h"
#include "tests/fakes/FakeEngine.h"
#include "tests/fakes/FakeUi.h"
#include "tests/fakes/TestEdition.h"
#include "tests/fakes/WindowCallsEnv.h"
#include "tests/support/TempDir.h"
#include "tests/unit/ConditionDialogControls.h"

namespace pv14 {
namespace {

using testing::FakeEngine;

using Thrower = std::function<void()>;
const Thrower kOutOfMemory = [] { throw std::bad_alloc(); };
const Thrower kStreamFailure = [] { throw std::ios_base::failure("stream"); };
const Thrower kOutOfRange = [] { throw std::out_of_range("index"); };

// Throws once, from the first call of the named kind.
struct Fault {
  std::string call;
  Thrower thrower;

  void Fire(const std::string& name) {
    if (call != name) return;
    call.clear();
    thrower();
  }
};

// The real environment over a temporary folder (Z:), the caller's window
// recorded, and a fault armed on one call.
class FaultyEnv : public testing::WindowCallsEnv {
 public:
  explicit FaultyEnv(Env& target) : WindowCallsEnv(target) {}

  std::string GetModuleFileName() override {
    fault.Fire("GetModuleFileName");
    return "Z:\\program\\LedgerStd19ToPv14";
  }
  bool PathIsDirectory(const std::string& path) override {
    fault.Fire("PathIsDirectory");
    return EnvWrapper::PathIsDirectory(path);
  }
  std::unique_ptr<unsigned char[]> GlobalAlloc(std::size_t size) override {
    fault.Fire("GlobalAlloc");
    return EnvWrapper::GlobalAlloc(size);
  }
  bool PostMessage(WindowHandle window, std::uint32_t message, std::uint32_t wParam,
                   std::uint32_t lParam) override {
    fault.Fire("PostMessage");
    return WindowCallsEnv::PostMessage(window, message, wParam, lParam);
  }

  Fault fault;
};

// A user who presses 実行 at once.
int PressExecute(const DialogTemplate& dialog, WindowHandle, DialogLogic& logic) {
  testing::RecordingControls controls(dialog);
  logic.OnInitDialog(controls);
  logic.OnCommand(controls, 1013);
  return controls.results.empty() ? -1 : controls.results.back();
}

// The front end plays a user who presses 実行, and throws once where armed.
class FaultyUi : public testing::FakeUi {
 public:
  FaultyUi() { runModal = PressExecute; }
  int RunModal(const DialogTemplate& dialog, WindowHandle parent, DialogLogic& logic) override {
    fault.Fire("RunModal");
    return FakeUi::RunModal(dialog, parent, logic);
  }
  std::unique_ptr<ProgressWindow> CreateProgressWindow(const DialogTemplate& dialog) override {
    fault.Fire("CreateProgressWindow");
    return FakeUi::CreateProgressWindow(dialog);
  }
  int MessageBox(WindowHandle owner, const std::string& text, const std::string& caption,
                 std::uint32_t style) override {
    fault.Fire("MessageBox");
    return FakeUi::MessageBox(owner, text, caption, style);
  }

  Fault fault;
};

enum class Source { kEngine, kEnv, kUi };

struct FaultCase {
  const char* name;
  Source source;
  std::string call;
  Thrower thrower;
  bool runSucceeds;   // the fault comes only after the run's own end
  bool failureShown;  // the failure message box is seen
  // A blue return has statements to collect; the default kind has none, so
  // its report is written whole.
  std::uint8_t returnKind = 9;
};

// A program folder and an output folder under Z:, and a selected data set.
class ExportRunTest : public ::testing::Test {
 protected:
  ExportRunTest() {
    std::filesystem::create_directories(tmp_.Join("program"));
    std::filesystem::create_directories(tmp_.Join("out"));
    tmp_.WriteFile("program/KurodaiDef.ini", "[ProgramLevel]\r\nPV14=1\r\n");
    FakeEngine& engine = FakeEngine::Get();
    engine.Reset();
    engine.appFolders = {"Z:\\docs\\", "Z:\\settings\\"};
    engine.users["USER"] = {1, 7};
  }

  testing::TempDir tmp_{"run-fault"};
  std::unique_ptr<Env> posix_ = NewPosixEnv(*DriveTable::Parse("Z=" + tmp_.path(), nullptr));
  FaultyEnv env_{*posix_};
  FaultyUi ui_;
};

class RunFaultTest : public ExportRunTest, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(RunFaultTest, FailsTheRunAndStillTellsTheCaller) {
  const FaultCase& c = GetParam();
  FakeEngine::Get().dataSets = {testing::DataInfo("D7", 7, c.returnKind, 3)};
  switch (c.source) {
    case Source::kEngine:
      FakeEngine::Get().throwAt = c.call;
      FakeEngine::Get().thrower = c.thrower;
      break;
    case Source::kEnv:
      env_.fault = {c.call, c.thrower};
      break;
    case Source::kUi:
      ui_.fault = {c.call, c.thrower};
      break;
  }
  ExportApp app(env_, ui_, testing::TestEdition());
  EXPECT_EQ(app.InitInstance("1234,32768,5,Z:\\out\\r.xml"), c.runSucceeds);
  EXPECT_EQ(app.ExitInstance(), ExportApp::kFailed);

  // The fault fired, and the caller got its window back and the failure.
  EXPECT_TRUE(FakeEngine::Get().throwAt.empty() && env_.fault.call.empty() &&
              ui_.fault.call.empty());
  EXPECT_EQ(env_.windowCalls,
            (std::vector<std::string>{"EnableWindow 1234 0", "SetForegroundWindow 1234",
                                      "EnableWindow 1234 1", "PostMessage 1234 32768 5 2",
                                      "EnableWindow 1234 1"}));
  // The engine was shut down in full.
  const FakeEngine& engine = FakeEngine::Get();
  ASSERT_GE(engine.IndexOf("LogOut"), 0);
  EXPECT_LT(engine.IndexOf("LogOut"), engine.IndexOf("Terminate"));
  EXPECT_LT(engine.IndexOf("Terminate"), engine.IndexOf("Release"));
  EXPECT_EQ(engine.liveRuleAo + engine.liveRuleSiro + engine.liveSaveAoSiro, 0);

  int failures = 0;
  for (const auto& box : ui_.messageBoxes) {
    if (box.text == SJ("XMLファイルの出力に失敗しました。\n\nアプリケーションを終了します。")) {
      ++failures;
      EXPECT_EQ(box.style, kMbOk | kMbIconExclamation);
    }
  }
  EXPECT_EQ(failures, c.failureShown ? 1 : 0);
  EXPECT_EQ(ui_.waitCursorDepth, 0);
  for (const auto& window : ui_.progressWindows) EXPECT_TRUE(window->destroyed);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RunFaultTest,
    ::testing::Values(
        FaultCase{"EngineLinkOutOfMemory", Source::kEngine, "ExpSysLink", kOutOfMemory, false,
                  true},
        FaultCase{"EngineCollectionOutOfRange", Source::kEngine, "ClRuleAo::Ready", kOutOfRange,
                  false, true, kBlueReturn},
        FaultCase{"EngineLogOutAfterASuccess", Source::kEngine, "LogOut", kStreamFailure, true,
                  false},
        FaultCase{"EnvProgramFolderStream", Source::kEnv, "GetModuleFileName", kStreamFailure,
                  false, true},
        FaultCase{"EnvDialogCheckOutOfRange", Source::kEnv, "PathIsDirectory", kOutOfRange, false,
                  true},
        FaultCase{"EnvWritingOutOfMemory", Source::kEnv, "GlobalAlloc", kOutOfMemory, false, true},
        FaultCase{"UiDialogOutOfMemory", Source::kUi, "RunModal", kOutOfMemory, false, true},
        FaultCase{"UiProgressWindowStream", Source::kUi, "CreateProgressWindow", kStreamFailure,
                  false, true},
        // The success message itself throws; the failure message follows.
        FaultCase{"UiMessageBoxOutOfRange", Source::kUi, "MessageBox", kOutOfRange, false, true}),
    [](const auto& info) { return std::string(info.param.name); });

// The engine served the collection with empty values after its store
// failed: no report is made of them, and the run fails as any failed run.
TEST_F(RunFaultTest, AStoreThatFailedDuringCollectionWritesNoReport) {
  for (const std::uint8_t kind : {kBlueReturn, kWhiteReturn}) {
    SCOPED_TRACE(static_cast<int>(kind));
    env_.windowCalls.clear();
    ui_.messageBoxes.clear();
    FakeEngine::Get().dataSets = {testing::DataInfo("D7", 7, kind, 3)};
    FakeEngine::Get().lastResult = 2006;
    ExportApp app(env_, ui_, testing::TestEdition());
    EXPECT_FALSE(app.InitInstance("1234,32768,5,Z:\\out\\r.xml"));
    EXPECT_EQ(app.ExitInstance(), ExportApp::kFailed);
    EXPECT_FALSE(std::filesystem::exists(tmp_.Join("out/r.xml")));
    ASSERT_EQ(ui_.messageBoxes.size(), 1u);
    EXPECT_EQ(ui_.messageBoxes[0].text,
              SJ("XMLファイルの出力に失敗しました。\n\nアプリケーションを終了します。"));
    EXPECT_EQ(env_.windowCalls.at(3), "PostMessage 1234 32768 5 2");
  }
}

TEST_F(RunFaultTest, AThrowingPostStillGivesTheWindowBack) {
  FakeEngine::Get().dataSets = {testing::DataInfo("D7", 7, 9, 3)};
  env_.fault = {"PostMessage", kOutOfMemory};
  ExportApp app(env_, ui_, testing::TestEdition());
  app.InitInstance("1234,32768,5,Z:\\out\\r.xml");
  EXPECT_EQ(app.ExitInstance(), ExportApp::kFailed);
  EXPECT_EQ(env_.windowCalls,
            (std::vector<std::string>{"EnableWindow 1234 0", "SetForegroundWindow 1234",
                                      "EnableWindow 1234 1", "EnableWindow 1234 1"}));
}

}  // namespace
}  // namespace pv14

namespace pv14 {
namespace {

// The face loses its display during one of its calls (the X server went
// away): it runs the exit step there and ends the process with its status,
// never returning into the run.
class LosingUi : public testing::FakeUi {
 public:
  explicit LosingUi(FaultyEnv& env) : env_(env) { runModal = PressExecute; }
  int RunModal(const DialogTemplate& dialog, WindowHandle parent, DialogLogic& logic) override {
    if (LoseAt("RunModal")) return kIdCancel;
    return FakeUi::RunModal(dialog, parent, logic);
  }
  int MessageBox(WindowHandle owner, const std::string& text, const std::string& caption,
                 std::uint32_t style) override {
    if (LoseAt("MessageBox")) return kIdOk;
    return FakeUi::MessageBox(owner, text, caption, style);
  }

  std::string loseAt;
  std::optional<int> status;  // the step's, when the display was lost
  std::vector<std::string> callerTold;
  bool stepLeftSet = true;

 private:
  bool LoseAt(const std::string& call) {
    if (loseAt != call || status) return false;
    const std::function<int()> step = exitStep;
    if (!step) return false;
    status = step();
    callerTold = env_.windowCalls;
    stepLeftSet = static_cast<bool>(exitStep);
    return true;
  }

  FaultyEnv& env_;
};

struct LostCase {
  const char* name;
  std::string call;
  std::int32_t storeResult;  // the engine's last result after collecting
  int status;
  bool reportAndSettings;
};

class DisplayLostTest : public ExportRunTest, public ::testing::WithParamInterface<LostCase> {};

TEST_P(DisplayLostTest, EndsThroughTheExitStepWithWhatHappened) {
  const LostCase& c = GetParam();
  FakeEngine::Get().dataSets = {testing::DataInfo("D7", 7, 9, 3)};
  FakeEngine::Get().lastResult = c.storeResult;
  LosingUi ui(env_);
  ui.loseAt = c.call;
  ExportApp app(env_, ui, testing::TestEdition());
  app.InitInstance("1234,32768,5,Z:\\out\\r.xml");

  ASSERT_EQ(ui.status, c.status);
  EXPECT_FALSE(ui.stepLeftSet);  // a second loss must not end the run twice
  EXPECT_EQ(ui.callerTold,
            (std::vector<std::string>{
                "EnableWindow 1234 0", "SetForegroundWindow 1234", "EnableWindow 1234 1",
                "PostMessage 1234 32768 5 " + std::to_string(c.status), "EnableWindow 1234 1"}));
  const FakeEngine& engine = FakeEngine::Get();
  EXPECT_GE(engine.IndexOf("Terminate"), 0);
  EXPECT_EQ(std::filesystem::exists(tmp_.Join("out/r.xml")), c.reportAndSettings);
  const bool settingsWritten = std::filesystem::exists(tmp_.Join("settings")) &&
                               !std::filesystem::is_empty(tmp_.Join("settings"));
  EXPECT_EQ(settingsWritten, c.reportAndSettings);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DisplayLostTest,
    ::testing::Values(LostCase{"WhileTheDialogShows", "RunModal", kEngineOk, 2, false},
                      LostCase{"WhileTheClosingMessageShows", "MessageBox", kEngineOk, 0, true},
                      LostCase{"WhileTheFailureShows", "MessageBox", 2006, 2, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ExportRunTest, NoExitStepIsLeftOnceTheRunHasEnded) {
  FakeEngine::Get().dataSets = {testing::DataInfo("D7", 7, 9, 3)};
  ExportApp app(env_, ui_, testing::TestEdition());
  app.InitInstance("1234,32768,5,Z:\\out\\r.xml");
  EXPECT_TRUE(ui_.exitStep);
  EXPECT_EQ(app.ExitInstance(), ExportApp::kDone);
  EXPECT_FALSE(ui_.exitStep);
}

}  // namespace
}  // namespace pv14
