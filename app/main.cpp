// Entry point of both editions: the framework's part of the run.
#include <string>

#include "app/Edition.h"
#include "app/ExportApp.h"

int main(int argc, char** argv) {
  // The platform starts before anything is shown, so its set-up holds for
  // every front end.
  pv14::Env& env = pv14::Env::Default();
  // The caller passes one command-line text; arguments split by a shell
  // are joined back with single blanks.
  std::string commandLine;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) commandLine += ' ';
    commandLine += argv[i];
  }
  pv14::ExportApp app(env, pv14::Ui::Default(), pv14::CurrentEdition());
  app.InitInstance(commandLine);
  return app.ExitInstance();
}
