// The standard streams of the console face.
#pragma once

namespace pv14 {

// Makes stdin and stderr carry the console protocol's bytes as they are
// (UTF-8 out, lines in, no translation of line ends) and, on a terminal that
// needs it, shows UTF-8. True when stderr is a terminal.
bool PrepareConsoleStreams();

}  // namespace pv14
