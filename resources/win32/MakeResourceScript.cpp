// Writes the resource script of the Windows programs from the templates and
// the string table in resources/: built for the build machine and run
// during a Windows build, so the templates exist once.
//   MakeResourceScript OUTPUT.rc
#include <cstdio>
#include <fstream>

#include "resources/win32/ResourceScript.h"
#include "resources/Strings.h"
#include "resources/Templates.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: MakeResourceScript OUTPUT.rc\n");
    return 2;
  }
  const pv14::DialogTemplate* dialogs[] = {&pv14::ConditionDialogTemplate(),
                                           &pv14::ProgressDialogTemplate()};
  const pv14::ResourceString strings[] = {
      {pv14::kIdsConnectedProgramVersion,
       pv14::LoadStringResource(pv14::kIdsConnectedProgramVersion)}};
  const auto script = pv14::ResourceScript(dialogs, strings);
  if (!script) {
    std::fprintf(stderr, "MakeResourceScript: a text of the resources is not Shift_JIS\n");
    return 1;
  }
  std::ofstream out(argv[1], std::ios::binary);
  out << "// Generated from resources/ by MakeResourceScript; do not edit.\n" << *script;
  out.close();
  if (!out) {
    std::fprintf(stderr, "MakeResourceScript: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
