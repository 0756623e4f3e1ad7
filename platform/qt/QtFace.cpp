// The desktop face's entry: the programs load this module and call it when
// they choose the face (platform/posix/DefaultUi.cpp); null when no display can be
// reached, and then the console runs.
#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QThread>
#include <QTranslator>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "platform/DriveTable.h"
#include "platform/qt/QtTemplate.h"
#include "platform/qt/QtUi.h"

#ifdef PV14_HAVE_XCB
#include <xcb/xcb.h>
#endif

namespace pv14 {
namespace {

bool IsSet(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

// An X display named but not answering (a stale DISPLAY) counts as none:
// Qt would end the program instead.
bool DisplayReachable() {
  if (IsSet("WAYLAND_DISPLAY")) return true;
  if (!IsSet("DISPLAY")) return false;
#ifdef PV14_HAVE_XCB
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  const bool reachable = xcb_connection_has_error(connection) == 0;
  xcb_disconnect(connection);
  return reachable;
#else
  return true;
#endif
}

// True once the connection to the X server is broken (the server is gone).
bool DisplayLost() {
#if defined(PV14_HAVE_XCB) && QT_CONFIG(xcb)
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  return x11 != nullptr && xcb_connection_has_error(x11->connection()) != 0;
#else
  return false;
#endif
}

// When the X server goes away, Qt warns and then calls exit(1) from inside
// its event processing: the run's exit step would never run, and exit's
// handlers would meet statics already destroyed. The warning comes first,
// on the thread that runs the face, so the run ends there: its exit step
// gives the caller its window back and tells it, and the process ends with
// the step's status before Qt's exit.
qt::QtUi* faceUi = nullptr;
QtMessageHandler nextHandler = nullptr;

void OnQtMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (nextHandler != nullptr) nextHandler(type, context, text);
  if (type == QtDebugMsg || type == QtInfoMsg || faceUi == nullptr) return;
  if (QThread::currentThread() != qApp->thread() || !DisplayLost()) return;
  const std::function<int()> exitStep = faceUi->TakeExitStep();
  if (!exitStep) return;  // no run in progress: Qt's own end is right
  const int status = exitStep();
  std::fflush(nullptr);
  std::_Exit(status);
}

class DesktopFace {
 public:
  DesktopFace() : application_(argc_, argv_), ui_(DriveTable::FromEnvironment()) {
    faceUi = &ui_;
    nextHandler = qInstallMessageHandler(&OnQtMessage);
    // Message boxes and the file dialog speak the dialogs' font.
    QApplication::setFont(qt::DialogFont("ＭＳ Ｐゴシック", 9));
    // Qt's own words (the file dialog's Look in, Save, Cancel) in the
    // program's language, where Qt's translations are installed.
    if (translator_.load(QLocale(QLocale::Japanese, QLocale::Japan), "qtbase", "_",
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
      QApplication::installTranslator(&translator_);
    }
  }
  Ui& ui() { return ui_; }

 private:
  // The program's own name names its windows' class.
  static inline char* argv_[] = {program_invocation_short_name, nullptr};
  static inline int argc_ = 1;
  QApplication application_;
  QTranslator translator_;
  qt::QtUi ui_;
};

}  // namespace

Ui* OpenQtUi() {
  if (!DisplayReachable()) return nullptr;
  // Kept until the process ends: Qt's own statics may be gone before any
  // destructor of ours could run at exit.
  static DesktopFace* face = new DesktopFace;
  return &face->ui();
}

}  // namespace pv14

extern "C" __attribute__((visibility("default"))) pv14::Ui* pv14_open_qt_face() {
  return pv14::OpenQtUi();
}
