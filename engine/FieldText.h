// Reading the fixed text fields of engine records: never past the field,
// even when the engine left no terminator in it.
#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

template <std::size_t N>
std::string_view FieldText(const char (&field)[N]) {
  return std::string_view(field, ::strnlen(field, N));
}

// Stores text into a fixed field, cut to N - 1 bytes and terminated.
template <std::size_t N>
void SetFieldText(char (&field)[N], std::string_view text) {
  std::size_t n = text.size() < N - 1 ? text.size() : N - 1;
  if (n != 0) std::memcpy(field, text.data(), n);  // an empty view may have no data
  std::memset(field + n, 0, N - n);
}
