// A property a fuzz target asserts: a violation ends the run as a crash, so
// libFuzzer keeps the input that broke it. FuzzNote() holds what the target
// was working on; it is printed with the broken property.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

inline std::string& FuzzNote() {
  static std::string note;
  return note;
}

// Bytes as C escapes, for a note.
inline std::string Escaped(const std::string& bytes) {
  std::string text;
  char hex[8];
  for (unsigned char c : bytes) {
    if (c >= 0x20 && c < 0x7F && c != '\\') {
      text += static_cast<char>(c);
    } else {
      std::snprintf(hex, sizeof hex, "\\x%02x", c);
      text += hex;
    }
  }
  return text;
}

#define FUZZ_CHECK(condition)                                                            \
  do {                                                                                   \
    if (!(condition)) {                                                                  \
      std::fprintf(stderr, "%s:%d: property broken: %s\n  on: %s\n", __FILE__, __LINE__, \
                   #condition, FuzzNote().c_str());                                      \
      std::abort();                                                                      \
    }                                                                                    \
  } while (0)
