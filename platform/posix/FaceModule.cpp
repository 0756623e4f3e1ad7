#include "platform/FaceModule.h"

#include <dlfcn.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

namespace pv14 {

Ui* OpenFaceModule(std::string_view file, const char* entry) {
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return nullptr;
  const std::filesystem::path module = program.parent_path() / file;
  if (!std::filesystem::is_regular_file(module, error)) return nullptr;
  // Kept loaded for the rest of the process: the face's windows live on.
  void* handle = ::dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    std::fprintf(stderr, "%s\n", ::dlerror());
    return nullptr;
  }
  auto open = reinterpret_cast<Ui* (*)()>(::dlsym(handle, entry));
  if (open == nullptr) {
    std::fprintf(stderr, "%s: no %s\n", module.c_str(), entry);
    return nullptr;
  }
  return open();
}

}  // namespace pv14
