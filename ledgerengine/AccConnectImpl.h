// What ClAccConnect remembers of its callers' settings.
#pragma once

#include <cstdint>
#include <string>

#include "engine/LedgerEngine.h"

struct ClAccConnect::Impl {
  std::string caption;  // Shift_JIS
  pv14::WindowHandle owner = pv14::kNoWindow;
  std::int32_t appType = 0;
  std::int32_t useDataType = 0;
};
