// The process-wide note that the user or the system asked the program to
// stop (a signal, a console's control event, the session's end). Set from a
// signal handler or another thread; read through Env::StopRequested().
#pragma once

namespace pv14 {

// Safe in a signal handler and from any thread.
void NoteStopRequest();
bool IsStopRequested();

}  // namespace pv14
