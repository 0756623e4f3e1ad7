// The console progress window: bar state, and what it writes on a terminal
// and elsewhere.
#include "platform/console/ConsoleProgress.h"

#include <sstream>
#include <utility>
#include <string>

#include <gtest/gtest.h>

#include "platform/console/ConsoleIo.h"
#include "tests/platform/Sj.h"

namespace pv14::testing {
namespace {

constexpr int kMain = 21;
constexpr int kActivity = 22;

// A window of two bars, the main one bound as the bar shown.
const DialogTemplate& ProgressTemplate() {
  static const DialogTemplate dialog{7,
                                     Sj("作業中"),
                                     100,
                                     40,
                                     "",
                                     9,
                                     0,
                                     0,
                                     {{kMain, ControlKind::kProgressBar, "", 5, 5, 90, 10, 0},
                                      {kActivity, ControlKind::kProgressBar, "", 5, 20, 90, 10, 0}},
                                     {{ConsoleProgressWindow::kShownBar, kMain}}};
  return dialog;
}

struct Console {
  std::istringstream in;
  std::ostringstream out;
  ConsoleIo io{in, out};
};

TEST(ConsoleProgressTest, BarsAreHeldToTheirRange) {
  Console console;
  ConsoleProgressWindow window(console.io, ProgressTemplate(), 1, false);
  window.SetRange(kActivity, 0, 5);
  window.SetPos(kActivity, 0);
  for (int i = 0; i < 6; ++i) window.DeltaPos(kActivity, 1);
  EXPECT_EQ(window.GetPos(kActivity), 5);
  window.SetPos(kActivity, -3);
  EXPECT_EQ(window.GetPos(kActivity), 0);
  window.DeltaPos(kActivity, 2147483647);
  EXPECT_EQ(window.GetPos(kActivity), 5);

  window.SetRange(kMain, 0, 1000);
  window.SetPos(kMain, 906);
  EXPECT_EQ(window.GetPos(kMain), 906);
  EXPECT_EQ(window.Percent(), 90);
  window.SetRange(kMain, 0, 500);
  EXPECT_EQ(window.GetPos(kMain), 500);
  EXPECT_EQ(window.GetPos(4242), 0);
}

// The percentage shown is the bound main bar's wherever the template lists it.
TEST(ConsoleProgressTest, PercentIsTheMainBarsNotTheFirstBars) {
  DialogTemplate activityFirst = ProgressTemplate();
  std::swap(activityFirst.controls[0], activityFirst.controls[1]);
  Console console;
  ConsoleProgressWindow window(console.io, activityFirst, 1, false);
  window.SetRange(kActivity, 0, 4);
  window.SetPos(kActivity, 4);
  window.SetRange(kMain, 0, 1000);
  window.SetPos(kMain, 250);
  EXPECT_EQ(window.Percent(), 25);
}

TEST(ConsoleProgressTest, ElsewhereWritesANewCaptionOncePerTenthAfterShow) {
  Console console;
  ConsoleProgressWindow window(console.io, ProgressTemplate(), 1, false);
  window.SetCaption(Sj("集計中 0％"));  // hidden: nothing yet
  EXPECT_EQ(console.out.str(), "");
  window.Show();
  window.SetRange(kMain, 0, 1000);
  window.DeltaPos(kMain, 1);
  window.SetCaption(Sj("集計中 10％"));  // set in the same tenth: not written
  window.DeltaPos(kMain, 99);            // moving the bar writes nothing
  window.SetCaption(Sj("集計中 10％"));  // set in the next tenth
  window.SetCaption(Sj("集計中 20％"));  // but that tenth has its line
  window.DeltaPos(kMain, 100);
  window.SetCaption(Sj("集計中 20％"));
  window.Close(1);
  window.SetCaption(Sj("集計中 30％"));
  EXPECT_EQ(console.out.str(), "集計中 0％\n集計中 10％\n集計中 20％\n");
}

// A whole run's progress as the program drives it: six advances, the
// caption changing with every percent.
TEST(ConsoleProgressTest, ARunLogsTenCaptions) {
  Console console;
  ConsoleProgressWindow window(console.io, ProgressTemplate(), 1, false);
  window.Show();
  window.SetRange(kMain, 0, 1000);
  window.SetPos(kMain, 0);
  const std::pair<int, int> advances[] = {{100, 300}, {300, 400}, {400, 500},
                                          {500, 600}, {600, 700}, {700, 1000}};
  for (auto [from, to] : advances) {
    for (int v = from; v <= to; ++v) {
      if (v % 10 == 0) window.SetCaption(Sj("集計中 " + std::to_string(v / 10) + "％"));
      window.DeltaPos(kMain, 1);
    }
  }
  std::string expected = "作業中\n";
  for (int percent = 20; percent <= 100; percent += 10) {
    expected += "集計中 " + std::to_string(percent) + "％\n";
  }
  EXPECT_EQ(console.out.str(), expected);
}

TEST(ConsoleProgressTest, TerminalRedrawsOneLineAndEndsItOnClose) {
  Console console;
  ConsoleProgressWindow window(console.io, ProgressTemplate(), 1, true);
  window.Show();
  window.SetRange(kMain, 0, 1000);
  window.SetPos(kMain, 0);
  for (int i = 0; i < 500; ++i) window.DeltaPos(kMain, 1);
  window.SetCaption(Sj("集計中 50％"));
  const std::string before = console.out.str();
  EXPECT_EQ(before.find('\n'), std::string::npos);  // all on one line
  EXPECT_NE(before.find("\r集計中 50％ ["), std::string::npos);
  EXPECT_NE(before.find("] 50%"), std::string::npos);
  // Only changes are drawn: 101 percentages, one caption change, the first draw.
  std::size_t draws = 0;
  for (char c : before) draws += c == '\r';
  EXPECT_LE(draws, 104u);
  window.Close(1);
  EXPECT_EQ(console.out.str().back(), '\n');
}

TEST(ConsoleProgressTest, AMessageBetweenDrawsStartsOnItsOwnLine) {
  Console console;
  ConsoleProgressWindow window(console.io, ProgressTemplate(), 1, true);
  window.Show();
  console.io.WriteLine("message");
  EXPECT_NE(console.out.str().find("%\x1b[K\nmessage\n"), std::string::npos);
  window.Update();
  window.SetPos(kMain, 0);  // unchanged, yet drawn again after the message
  EXPECT_EQ(console.out.str().substr(console.out.str().size() - 1), "K");
}

}  // namespace
}  // namespace pv14::testing
