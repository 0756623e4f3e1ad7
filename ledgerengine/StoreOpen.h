// Opening the store for reading, or one line that says why it cannot be.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "ledgerengine/Sqlite.h"

namespace pv14::ledger {

struct OpenedStore {
  // Inside the read transaction its reader works in; null when the store
  // cannot be read.
  std::unique_ptr<Database> db;
  // Why not, naming the path and, where the user can mend it, how.
  std::string problem;
};

// Opens the store at path (empty: there is no place for one) for reading:
// it is never created or written, but what a killed load left in its journal
// is rolled back first, so the store reads as it was before that load.
OpenedStore OpenStoreForReading(const std::string& path);

// The failure of a reading or a writing of the store at path in words a
// user can act on.
std::string StoreProblem(const std::string& path, const StoreError& error);

// Why what is at path cannot be a store's file (a directory, a FIFO, ...);
// empty when it is a regular file or nothing is there.
std::string NotAFileProblem(const std::string& path);

// The store's path as the file system takes it: the engine keeps it in
// UTF-8 on Windows (as SQLite takes it), as bytes elsewhere; and back.
std::filesystem::path StoreFilePath(const std::string& path);
std::string StoreFileText(const std::filesystem::path& path);

// What a user who meets the store's problem can do about it.
inline constexpr char kCreateStoreHint[] = "create one with `ledger-engine load FILE.json`";
inline constexpr char kStartOverHint[] =
    "to start over, move it away and run `ledger-engine load FILE.json`";

}  // namespace pv14::ledger
