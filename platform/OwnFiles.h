// Files the program keeps for itself beyond those beside it: the engine's
// store and its journals. Env::IsProgramFile refuses them as a report's
// target. Paths are the system's own form (POSIX, or UTF-8 on Windows).
#pragma once

#include <string>
#include <vector>

namespace pv14 {

// Safe from any thread.
void NoteOwnFile(const std::string& nativePath);
std::vector<std::string> OwnFiles();

}  // namespace pv14
