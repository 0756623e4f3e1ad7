// Where the engine's database lives.
#pragma once

#include <string>

namespace pv14::ledger {

// $LEDGER_ENGINE_DB; else $XDG_DATA_HOME/ledger19/engine.sqlite; else
// $HOME/.local/share/ledger19/engine.sqlite. On Windows %LEDGER_ENGINE_DB%,
// else %LOCALAPPDATA%\ledger19\engine.sqlite, in UTF-8. Empty when none can
// be formed.
std::string StorePath();

}  // namespace pv14::ledger
