#include "tests/support/TempDir.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <system_error>

#include "tests/support/TempFolder.h"

namespace pv14::testing {

TempDir::TempDir(std::string_view prefix) : path_(CreateUniqueTempFolder(prefix)) {}

TempDir::~TempDir() {
  // Tests may leave read-only folders behind; give write access back first.
  std::error_code ignored;
  for (auto it = std::filesystem::recursive_directory_iterator(path_, ignored);
       it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
    if (it->is_directory(ignored) && !it->is_symlink(ignored)) {
      std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                   std::filesystem::perm_options::add, ignored);
    }
  }
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::Join(std::string_view relative) const {
  std::string joined = path_;
  joined += '/';
  joined += relative;
  return joined;
}

std::string TempDir::WriteFile(std::string_view relative, std::string_view contents) const {
  std::string full = Join(relative);
  std::ofstream out(full, std::ios::binary | std::ios::trunc);
  out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
  if (!out) throw std::runtime_error("cannot write " + full);
  return full;
}

std::string TempDir::ReadFile(std::string_view relative) const {
  std::ifstream in(Join(relative), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace pv14::testing
