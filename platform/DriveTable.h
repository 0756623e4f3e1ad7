// The mapping of Windows drive letters and UNC shares to POSIX folders,
// read from PV14_DRIVES ("KEY=POSIXDIR[,TYPE];..."; default "Z=/").
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/Env.h"

namespace pv14 {

class DriveTable {
 public:
  struct Entry {
    std::string key;        // "Z" or "\\server\share" (as written, case kept)
    std::string posixRoot;  // "/home/me"
    DriveType type = DriveType::kFixed;
  };

  // Parses a table text; nullopt (with *error set) on a malformed entry
  // and on a text that is not empty but names no drive.
  static std::optional<DriveTable> Parse(const std::string& text, std::string* error);
  // The table of PV14_DRIVES, or the default when unset or malformed.
  static const DriveTable& FromEnvironment();

  // The entry whose key is the drive letter or share of a Windows path
  // (letters and shares compared without regard to case); null when none.
  const Entry* Find(const std::string& windowsPath) const;
  // Windows path -> POSIX path; nullopt when its drive or share is not in
  // the table or the path is relative.
  std::optional<std::string> ToPosix(const std::string& windowsPath) const;
  // The entry with the longest root that holds a POSIX absolute path; null
  // when none does.
  const Entry* Covering(const std::string& posixPath) const;
  // POSIX absolute path -> Windows path through the longest matching root;
  // nullopt when no entry covers it or a name has no Windows form.
  std::optional<std::string> ToWindows(const std::string& posixPath) const;

  const std::vector<Entry>& Entries() const { return entries_; }

 private:
  std::vector<Entry> entries_;
};

}  // namespace pv14
