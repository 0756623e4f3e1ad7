// The desktop's message boxes and progress window, and when the desktop
// face is offered at all.
#include <gtest/gtest.h>

#include <QApplication>
#include <QProgressBar>
#include <QTest>
#include <cstdlib>

#include "dialogs/ProgressDialog.h"
#include "platform/qt/QtProgressWindow.h"
#include "platform/qt/QtUi.h"
#include "resources/Templates.h"
#include "tests/qt/QtFaceFixture.h"

namespace pv14::testing {
namespace {

auto NameOf = [](const auto& info) { return std::string(info.param.name); };

// ---------------------------------------------------------------- message boxes

struct BoxCase {
  const char* name;
  std::uint32_t style;
  std::vector<std::pair<int, Qt::KeyboardModifiers>> keys;
  int answer;
  QMessageBox::Icon icon;
  QStringList buttons;
};

void PrintTo(const BoxCase& c, std::ostream* os) { *os << c.name; }

class QtMessageBoxes : public QtFaceTest, public ::testing::WithParamInterface<BoxCase> {};

TEST_P(QtMessageBoxes, AnswerAsTheKeysSay) {
  const BoxCase& c = GetParam();
  boxes_.keys.assign(c.keys.begin(), c.keys.end());
  const int answer = ui_.MessageBox(kNoWindow, "\x8f\x8a\x93\xbe\x90\xc5" /* 所得税 */,
                                    "\x8f\x8a\x93\xbe\x90\xc5", c.style);
  EXPECT_EQ(answer, c.answer);
  ASSERT_EQ(boxes_.shown.size(), 1u);
  EXPECT_EQ(boxes_.shown[0].title, "所得税");
  EXPECT_EQ(boxes_.shown[0].text, "所得税");
  EXPECT_EQ(boxes_.shown[0].icon, c.icon);
  EXPECT_EQ(boxes_.shown[0].buttons, c.buttons);
  EXPECT_EQ(boxes_.shown[0].defaultButton, c.buttons.front()) << "Yes or OK is the default";
}

constexpr auto kNone = Qt::NoModifier;
INSTANTIATE_TEST_SUITE_P(Cases, QtMessageBoxes,
                         ::testing::Values(BoxCase{"InformationOk",
                                                   kMbOk | kMbIconInformation,
                                                   {{Qt::Key_Return, kNone}},
                                                   kIdOk,
                                                   QMessageBox::Information,
                                                   {"1"}},
                                           BoxCase{"RefusalEscIsOk",
                                                   kMbOk | kMbIconExclamation,
                                                   {{Qt::Key_Escape, kNone}},
                                                   kIdOk,
                                                   QMessageBox::Warning,
                                                   {"1"}},
                                           BoxCase{"QuestionEnterIsYes",
                                                   kMbYesNo | kMbIconQuestion,
                                                   {{Qt::Key_Return, kNone}},
                                                   kIdYes,
                                                   QMessageBox::Question,
                                                   {"6", "7"}},
                                           BoxCase{"QuestionEscIsNo",
                                                   kMbYesNo | kMbIconQuestion,
                                                   {{Qt::Key_Escape, kNone}},
                                                   kIdNo,
                                                   QMessageBox::Question,
                                                   {"6", "7"}},
                                           BoxCase{"QuestionAltNIsNo",
                                                   kMbYesNo | kMbIconQuestion,
                                                   {{Qt::Key_N, Qt::AltModifier}},
                                                   kIdNo,
                                                   QMessageBox::Question,
                                                   {"6", "7"}}),
                         NameOf);

TEST_F(QtFaceTest, WaitCursorFromBeginToEndButNotOverABox) {
  ui_.BeginWaitCursor();
  ui_.BeginWaitCursor();
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  Qt::CursorShape overBox = Qt::WaitCursor;
  boxes_.keys.push_back({Qt::Key_Return, Qt::NoModifier});
  QTimer::singleShot(0, [&] { overBox = QApplication::overrideCursor()->shape(); });
  ui_.MessageBox(kNoWindow, "a", "b", kMbOk);
  EXPECT_EQ(overBox, Qt::ArrowCursor);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  ui_.EndWaitCursor();
  EXPECT_NE(QApplication::overrideCursor(), nullptr);
  ui_.EndWaitCursor();
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// ---------------------------------------------------------------- progress

QProgressBar* Bar(QWidget& window, int id) {
  return window.findChild<QProgressBar*>(QString::number(id));
}

TEST_F(QtFaceTest, ProgressOfAWholeRun) {
  ProgressDialog progress(ui_);
  ASSERT_TRUE(progress.Create());
  progress.Show();
  progress.Start();
  QWidget* window = ui_.ShownWindow(progress.Handle());
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->windowTitle(), "集計中");
  // Collection's three advances, a row pumped between them, then the writer's.
  for (auto [from, to] : {std::pair<int, int>{100, 300}, {300, 400}, {400, 500}}) {
    progress.Pump();
    progress.Advance(std::int16_t(from), std::int16_t(to));
  }
  EXPECT_EQ(window->windowTitle(), "集計中 50％");
  for (auto [from, to] : {std::pair<int, int>{500, 600}, {600, 700}, {700, 1000}}) {
    progress.Advance(std::int16_t(from), std::int16_t(to));
  }
  EXPECT_EQ(window->windowTitle(), "集計中 100％");
  EXPECT_EQ(Bar(*window, 1018)->maximum(), 1000);
  EXPECT_EQ(Bar(*window, 1018)->value(), 906);
  EXPECT_EQ(Bar(*window, 1019)->maximum(), 5);
  EXPECT_EQ(Bar(*window, 1019)->value(), 5) << "every pump leaves the activity bar full";
  const Qt::WindowFlags flags = window->windowFlags();
  EXPECT_TRUE(flags & Qt::WindowStaysOnTopHint);
  EXPECT_FALSE(flags & Qt::WindowSystemMenuHint);
  EXPECT_FALSE(flags & Qt::WindowCloseButtonHint);
  EXPECT_TRUE(flags & Qt::WindowTitleHint);
  progress.Close();
  EXPECT_EQ(ui_.ShownWindow(progress.Handle()), nullptr);
}

// Counts the paints a widget gets.
struct PaintCounter : QObject {
  int paints = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

TEST_F(QtFaceTest, ProgressPaintsAtOnceWithoutAnEventLoop) {
  qt::QtProgressWindow window(ProgressDialogTemplate(), 1);
  // A timer already due when the window opens is not the window's to run.
  bool timerRan = false;
  QTimer due;
  due.setSingleShot(true);
  QObject::connect(&due, &QTimer::timeout, [&] { timerRan = true; });
  due.start(0);
  window.Show();
  PaintCounter counter, still;
  Bar(window.Window(), 1018)->installEventFilter(&counter);
  Bar(window.Window(), 1019)->installEventFilter(&still);
  bool loopRan = false;
  QObject thisTest;  // drops the call when the test ends
  QTimer::singleShot(0, &thisTest, [&] { loopRan = true; });
  for (int step = 1; step <= 3; ++step) {
    window.DeltaPos(1018, 1);
    const int before = counter.paints;
    window.Update();
    EXPECT_GT(counter.paints, before) << "painted before Update returned, step " << step;
  }
  EXPECT_EQ(still.paints, 0) << "a step repaints only the bars it moved";
  window.Update();
  EXPECT_FALSE(loopRan) << "no queued event was dispatched";
  EXPECT_FALSE(timerRan) << "no timer ran";
  window.Close(1);
}

// ---------------------------------------------------------------- choice of face

struct DisplayCase {
  const char* name;
  const char* display;  // null: unset
};

void PrintTo(const DisplayCase& c, std::ostream* os) { *os << c.name; }

class QtDesktopChoice : public ::testing::TestWithParam<DisplayCase> {};

TEST_P(QtDesktopChoice, NoDesktopWithoutAReachableDisplay) {
  const DisplayCase& c = GetParam();
  const std::string savedDisplay = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
  const std::string savedWayland =
      std::getenv("WAYLAND_DISPLAY") ? std::getenv("WAYLAND_DISPLAY") : "";
  ::unsetenv("WAYLAND_DISPLAY");
  c.display ? ::setenv("DISPLAY", c.display, 1) : ::unsetenv("DISPLAY");
  EXPECT_EQ(OpenQtUi(), nullptr);
  savedDisplay.empty() ? ::unsetenv("DISPLAY") : ::setenv("DISPLAY", savedDisplay.c_str(), 1);
  if (!savedWayland.empty()) ::setenv("WAYLAND_DISPLAY", savedWayland.c_str(), 1);
}

INSTANTIATE_TEST_SUITE_P(Cases, QtDesktopChoice,
                         ::testing::Values(DisplayCase{"NoDisplaySet", nullptr},
                                           DisplayCase{"EmptyDisplay", ""},
                                           DisplayCase{"DisplayThatDoesNotAnswer", ":987"}),
                         NameOf);

}  // namespace
}  // namespace pv14::testing
