#include "app/ExportApp.h"

#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

#include "collect/ReportCollector.h"
#include "dialogs/ConditionDialog.h"
#include "dialogs/ProgressDialog.h"
#include "report/ReportWriter.h"
#include "resources/Strings.h"
#include "resources/Text.h"

namespace pv14 {

ExportApp::ExportApp(Env& env, Ui& ui, const Edition& edition)
    : env_(env), ui_(ui), edition_(edition) {}

ExportApp::~ExportApp() = default;

bool ExportApp::InitInstance(const std::string& commandLine) {
  try {
    ui_.SetExitStep([this] { return EndForLostFace(); });
    return Run(commandLine);
  } catch (...) {
    // Whatever escaped the run (memory, a stream, an index out of range) is
    // a failed run: the user is told as for a failed report, and the exit
    // step still gives the caller its window back.
    ExitCode = kFailed;
    if (waitCursor_) {
      Guarded([&] { ui_.EndWaitCursor(); });
      waitCursor_ = false;
    }
    Guarded([&] {
      ui_.MessageBox(CallerWindow, FailureMessage(), MessageCaption(), kMbOk | kMbIconExclamation);
    });
    return false;
  }
}

void ExportApp::Guarded(const std::function<void()>& step) {
  try {
    step();
  } catch (...) {
    ExitCode = kFailed;
  }
}

const std::string& ExportApp::FailureMessage() {
  return SJ("XMLファイルの出力に失敗しました。\n\nアプリケーションを終了します。");
}

bool ExportApp::Run(const std::string& commandLine) {
  ClAccConnect* engine = ClAccConnect::Inst();
  engine->SetCaption(MessageCaption().c_str());
  engine->SetAppType(edition_.appType);
  engine->SetUseDataType(2);
  if (engine->Initiate() != 0) {
    ExitCode = kFailed;
    return false;
  }

  if (ParseCommandLine(commandLine)) {
    LaunchedByCaller = 1;
    env_.EnableWindow(CallerWindow, false);
    engine->SetOwnerWindow(CallerWindow);
  }

  SetWorkingDirectoryToProgramFolder();

  if (!CompatibilityCheck(1)) {
    ExitCode = kFailed;
    return false;
  }

  const std::int32_t link = engine->ExpSysLink();
  if (link != 0) {
    ExitCode = link == 1 ? kCancelled : kFailed;
    return false;
  }

  const WindowHandle parent = LaunchedByCaller ? CallerWindow : kNoWindow;
  auto dialog = std::make_unique<ConditionDialog>(env_, ui_, parent, edition_.settingsFileName);

  StDATAINFO record;
  std::memset(&record, 0, sizeof record);
  CurrentDataReader(&record);

  UserSelection selection = ReadUserSelection();
  dialog->CurrentUserId = std::move(selection.userId);
  dialog->SelectedKeyNo = selection.keyNo;
  dialog->SelectedDataNo = selection.dataNo;
  dialog->StatementScope = record.StatementScope;
  dialog->IsPastData = record.DataKind == kPastDataKind ? 1 : 0;
  dialog->CompanyText = CaptionText(0, &record);
  dialog->PeriodText = CaptionText(1, &record);
  dialog->CostText = record.HasCostOfManufacture != 0 ? SJ("あり") : SJ("なし");
  dialog->PresetOutputPath.clear();
  if (LaunchedByCaller) dialog->PresetOutputPath = InitialOutputPath;

  // Only 実行 with every check passed goes on; any other end of the dialog
  // (its cancel, or a front end closing it some other way) is a cancel, so
  // no path can skip the output checks.
  const int ended = dialog->DoModal();
  // A stop asked for while the dialog was up fails the run, whichever way
  // the dialog ended.
  if (env_.StopRequested()) {
    ui_.MessageBox(CallerWindow, FailureMessage(), MessageCaption(), kMbOk | kMbIconExclamation);
    ExitCode = kFailed;
    return false;
  }
  if (ended != ConditionDialog::kResultExecute) {
    ExitCode = kCancelled;
    return false;
  }
  // The path is taken whole: cutting a long caller path would name another
  // file.
  const std::string outputPath = dialog->OutputPath;
  const std::int16_t incomeKind = dialog->IncomeKind;

  auto progress = std::make_unique<ProgressDialog>(ui_);
  progress->Create();
  if (LaunchedByCaller) progress->SetParent(CallerWindow);
  progress->Show();
  ui_.BeginWaitCursor();
  waitCursor_ = true;
  progress->Start();

  auto collector = std::make_unique<ReportCollector>(progress.get(), &Data);
  auto writer = std::make_unique<ReportWriter>(env_, progress.get(), Data, incomeKind,
                                               edition_.defaultProductName, &ui_);

  collector->Collect(record, incomeKind);
  // A store that failed part-way gave empty values, not the user's figures:
  // no report is written from them.
  const bool collected = engine->GetLastResult() == kEngineOk;

  writer->SetProgressBase(progress::kWriteBase);
  // A stop asked for (an interrupt, the session's end) fails the run as a
  // failed write does; the settings are then kept as a failed run keeps them.
  bool written = collected && writer->WriteReport(outputPath, FunctionId, record) != 0 &&
                 !env_.StopRequested();
  if (written) {
    const bool saved = dialog->SaveSettings(
        0, 0, incomeKind, LaunchedByCaller ? std::nullopt : std::optional<std::string>(outputPath));
    // A stop during the save makes it give up before its rename; one after
    // the rename comes too late, and the run is done.
    written = saved || !env_.StopRequested();
  }
  if (written) {
    reported_ = true;
    progress->Close();
    ui_.MessageBox(CallerWindow,
                   SJ("所得税情報の出力が終了しました。\n\nアプリケーションを終了します。"),
                   MessageCaption(), kMbOk | kMbIconInformation);
  } else {
    ui_.MessageBox(progress->Handle(), FailureMessage(), MessageCaption(),
                   kMbOk | kMbIconExclamation);
    progress->Close();
    ExitCode = kFailed;
  }

  writer.reset();
  collector.reset();
  ui_.EndWaitCursor();
  waitCursor_ = false;
  progress.reset();
  dialog.reset();
  return written;
}

int ExportApp::EndForLostFace() {
  if (!reported_) ExitCode = kFailed;
  return ExitInstance();
}

int ExportApp::ExitInstance() {
  // Once here, the run is over for the face too.
  Guarded([&] { ui_.SetExitStep({}); });
  // Each step runs whatever the one before did: the caller's window must
  // come back and be told. A step that throws fails the run.
  Guarded([&] { Data.Release(); });
  Guarded([] { ClAccConnect::Inst()->LogOut(); });
  Guarded([] { ClAccConnect::Inst()->Terminate(); });
  Guarded([] { ClAccConnect::Inst()->Release(); });
  if (LaunchedByCaller) {
    Guarded([&] { env_.SetForegroundWindow(CallerWindow); });
    Guarded([&] { env_.EnableWindow(CallerWindow, true); });
    Guarded([&] {
      env_.PostMessage(CallerWindow, NotifyMessage,
                       static_cast<std::uint32_t>(static_cast<std::int32_t>(FunctionId)),
                       static_cast<std::uint32_t>(ExitCode));
    });
    Guarded([&] { env_.EnableWindow(CallerWindow, true); });
  }
  return ExitCode;
}

}  // namespace pv14
