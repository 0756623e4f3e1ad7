// A temporary folder for one test: created empty (mkdtemp under $TMPDIR or
// /tmp; on Windows under the user's temporary folder), removed with
// everything in it when the object goes away.
#pragma once

#include <string>
#include <string_view>

namespace pv14::testing {

class TempDir {
 public:
  // prefix names the folder ("pv14-<prefix>-XXXXXX") to help when one is left behind.
  explicit TempDir(std::string_view prefix = "test");
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  ~TempDir();

  // The folder's path (a Windows one on Windows), without a trailing separator.
  const std::string& path() const { return path_; }
  // path() + "/" + relative.
  std::string Join(std::string_view relative) const;
  // Writes contents to the file at relative (folders must exist); returns its full path.
  std::string WriteFile(std::string_view relative, std::string_view contents) const;
  // The contents of the file at relative; empty when it cannot be read.
  std::string ReadFile(std::string_view relative) const;

 private:
  std::string path_;
};

}  // namespace pv14::testing
