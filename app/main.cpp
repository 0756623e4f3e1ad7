// Entry point of both editions: the framework's part of the run.
#include "app/ExportApp.h"
#include "platform/ProgramCommandLine.h"

int main(int argc, char** argv) {
  pv14::ExportApp app(pv14::Env::Default(), pv14::Ui::Default());
  app.InitInstance(pv14::ProgramCommandLine(argc, argv));
  return app.ExitInstance();
}
