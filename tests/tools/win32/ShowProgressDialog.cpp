// Shows the progress dialog of the Win32 face part way through a run and
// keeps it on the screen for a while, so that scripts/win-screenshots.sh can
// take its picture: the program itself shows it only as long as the work
// lasts.
//   show_progress_dialog [SECONDS]
#include <chrono>
#include <cstdlib>
#include <thread>

#include "dialogs/ProgressDialog.h"
#include "platform/Ui.h"

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::atoi(argv[1]) : 30;
  pv14::ProgressDialog dialog(pv14::Ui::Default());
  if (!dialog.Create()) return 1;
  dialog.Show();
  dialog.Start();
  dialog.Advance(0, 450);
  std::this_thread::sleep_for(std::chrono::seconds(seconds));
  dialog.Close();
  return 0;
}
