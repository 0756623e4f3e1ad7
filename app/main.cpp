// Entry point of both editions: the framework's part of the run.
#include "app/Edition.h"
#include "app/ExportApp.h"
#include "platform/ProgramCommandLine.h"

int main(int argc, char** argv) {
  // The platform starts before anything is shown, so its set-up holds for
  // every front end.
  pv14::Env& env = pv14::Env::Default();
  pv14::ExportApp app(env, pv14::Ui::Default(), pv14::CurrentEdition());
  app.InitInstance(pv14::ProgramCommandLine(argc, argv));
  return app.ExitInstance();
}
