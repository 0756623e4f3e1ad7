// setenv and unsetenv, which the tests call and mingw-w64 does not have;
// given to every test source of a Windows build (-include). The runtime
// library's _putenv_s changes its narrow and wide copies and the process's
// own environment, which child processes inherit.
#pragma once

#include <cstdlib>

inline int setenv(const char* name, const char* value, int overwrite) {
  if (overwrite == 0 && std::getenv(name) != nullptr) return 0;
  return ::_putenv_s(name, value);
}

// An empty value removes the variable.
inline int unsetenv(const char* name) { return ::_putenv_s(name, ""); }
