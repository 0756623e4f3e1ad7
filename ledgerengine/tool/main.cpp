// ledger-engine: loads the engine's store from the JSON form, or dumps it.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <system_error>

#include "ledgerengine/ServerStore.h"
#include "ledgerengine/StoreFile.h"
#include "ledgerengine/StorePath.h"

namespace {

constexpr int kUsage = 2;

constexpr char kHelp[] =
    "usage: ledger-engine load FILE.json   replace the engine's whole store with FILE\n"
    "                                      (- reads standard input); all or nothing\n"
    "       ledger-engine dump             write the store as JSON to standard output\n"
    "       ledger-engine where            say which store the engine uses\n"
    "       ledger-engine --help\n"
    "\n"
    "The store is $LEDGER_ENGINE_DB, else $XDG_DATA_HOME/ledger19/engine.sqlite,\n"
    "else ~/.local/share/ledger19/engine.sqlite. A postgresql:// or postgres://\n"
    "URI there names a store on a PostgreSQL server instead.\n"
    "Exit status: 0 done, 1 the file was refused (the message names the value),\n"
    "2 wrong usage, 3 the store could not be read or written.\n";

bool ReadInput(const std::string& file, std::string* text) {
  if (file == "-") {
    text->assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    return !std::cin.bad();
  }
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  *text = bytes.str();
  return !in.bad();
}

int Report(const pv14::ledger::ToolResult& result, const std::string& subject) {
  if (result.status != pv14::ledger::ToolResult::kDone) {
    std::cerr << "ledger-engine: " << subject << result.message << "\n";
  } else if (!result.message.empty()) {
    std::cerr << "ledger-engine: " << result.message << "\n";
  }
  return static_cast<int>(result.status);
}

int Load(const std::string& file) {
  std::string text;
  std::error_code error;
  if (std::filesystem::is_directory(file, error)) {
    std::cerr << "ledger-engine: " << file << " is a directory, not a JSON file\n";
    return pv14::ledger::ToolResult::kRefused;
  }
  if (!ReadInput(file, &text)) {
    std::cerr << "ledger-engine: cannot read " << file << "\n";
    return pv14::ledger::ToolResult::kRefused;
  }
  return Report(pv14::ledger::LoadStore(text, pv14::ledger::StorePath()), file + ": ");
}

int Dump() {
  std::string json;
  pv14::ledger::ToolResult result = pv14::ledger::DumpStore(pv14::ledger::StorePath(), &json);
  if (result.status == pv14::ledger::ToolResult::kDone) {
    std::cout << json;
    std::cout.flush();
    if (!std::cout) {
      std::cerr << "ledger-engine: cannot write the dump\n";
      return pv14::ledger::ToolResult::kStoreFailed;
    }
  }
  return Report(result, "");
}

// The store's name, never with a password.
int Where() {
  const std::string location = pv14::ledger::StorePath();
  if (location.empty()) {
    std::cerr << "ledger-engine: no place for the store: set LEDGER_ENGINE_DB or HOME\n";
    return pv14::ledger::ToolResult::kStoreFailed;
  }
  if (pv14::ledger::IsServerStore(location)) {
    std::cout << "server store " << pv14::ledger::ServerStoreName(location) << "\n";
  } else {
    std::cout << "file store " << location << "\n";
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  try {
    if (argc == 2 && (command == "--help" || command == "-h")) {
      std::cout << kHelp;
      return 0;
    }
    if (argc == 3 && command == "load") return Load(argv[2]);
    if (argc == 2 && command == "dump") return Dump();
    if (argc == 2 && command == "where") return Where();
  } catch (const std::exception& failure) {
    std::cerr << "ledger-engine: " << failure.what() << "\n";
    return pv14::ledger::ToolResult::kStoreFailed;
  }
  std::cerr << kHelp;
  return kUsage;
}
