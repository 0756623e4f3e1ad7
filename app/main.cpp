// Entry point of both editions: the framework's part of the run.
#include <cstdio>

#include "app/Edition.h"
#include "app/ExportApp.h"
#include "app/Usage.h"
#include "platform/ProgramCommandLine.h"

int main(int argc, char** argv) {
  const std::string commandLine = pv14::ProgramCommandLine(argc, argv);
  if (auto text = pv14::InformationRequested(commandLine, pv14::CurrentEdition())) {
    std::fputs(text->c_str(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 2;
  }
  // The platform starts before anything is shown, so its set-up holds for
  // every front end.
  pv14::Env& env = pv14::Env::Default();
  pv14::ExportApp app(env, pv14::Ui::Default(), pv14::CurrentEdition());
  app.InitInstance(commandLine);
  return app.ExitInstance();
}
