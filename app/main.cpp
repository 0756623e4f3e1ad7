// Entry point of both editions: the framework's part of the run.
#include "app/Edition.h"
#include "app/ExportApp.h"
#include "platform/ProgramCommandLine.h"

int main(int argc, char** argv) {
  pv14::ExportApp app(pv14::Env::Default(), pv14::Ui::Default(), pv14::CurrentEdition());
  app.InitInstance(pv14::ProgramCommandLine(argc, argv));
  return app.ExitInstance();
}
