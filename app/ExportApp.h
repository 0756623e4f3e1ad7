// The application object: one whole run, from the engine connection to the
// exit notification of the caller's window.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "app/Edition.h"
#include "collect/CollectedData.h"
#include "engine/LedgerEngine.h"
#include "platform/Env.h"
#include "platform/Ui.h"

namespace pv14 {

class ExportApp {
 public:
  // ExitCode values.
  static constexpr int kDone = 0;
  static constexpr int kCancelled = 1;
  static constexpr int kFailed = 2;

  // The edition's values are copied: the app type goes to the engine, the
  // settings file name to the conditions dialog, the default product name to
  // the report writer.
  ExportApp(Env& env, Ui& ui, const Edition& edition);
  ExportApp(const ExportApp&) = delete;
  ExportApp& operator=(const ExportApp&) = delete;
  ~ExportApp();

  // The run. commandLine is the text after the program's name. Nothing
  // escapes it: an exception is a failed run (ExitCode 2, with the failure
  // message).
  bool InitInstance(const std::string& commandLine);
  // The exit step; returns the process exit status (ExitCode). Every step of
  // it runs, and the caller is told, even when one of them throws.
  int ExitInstance();

  // Fills the caller's members from the command line; 1 when it was complete.
  int ParseCommandLine(const std::string& commandLine);
  // 1 passed, 0 refused (with its message when showMessages).
  int CompatibilityCheck(std::int32_t showMessages);
  // 0 only without a record; else 1, also when no data set matched.
  int CurrentDataReader(StDATAINFO* record);
  // kind 0: " %s" of the company name; kind 1: the period; else empty.
  static std::string CaptionText(std::int16_t kind, const StDATAINFO* record);

  std::int32_t LaunchedByCaller = 0;
  WindowHandle CallerWindow = kNoWindow;
  std::uint32_t NotifyMessage = 0;
  std::int16_t FunctionId = 1;
  std::string InitialOutputPath;
  int ExitCode = kDone;
  CollectedData Data;

 private:
  // The current user's id and the numbers of the user's selection.
  struct UserSelection {
    std::string userId;
    std::int32_t keyNo = 0;
    std::int32_t dataNo = 0;
  };
  static UserSelection ReadUserSelection();

  bool Run(const std::string& commandLine);
  // The exit step for a face that can no longer show anything: a run whose
  // report is complete is done, any other failed.
  int EndForLostFace();
  void SetWorkingDirectoryToProgramFolder();
  // Runs step; an exception from it fails the run and goes no further.
  void Guarded(const std::function<void()>& step);
  static const std::string& FailureMessage();

  Env& env_;
  Ui& ui_;
  const Edition edition_;
  ClSetData* setData_ = nullptr;
  bool waitCursor_ = false;  // begun by the run and not yet ended
  bool reported_ = false;    // the report and the settings are written
};

}  // namespace pv14
