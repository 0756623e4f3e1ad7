// Numbers as the runtime library's atol/atoi read them on a 32-bit system.
#pragma once

#include <cstdint>
#include <string_view>

namespace pv14 {

// Leading blanks, an optional sign, digits up to the first non-digit; no
// digits give 0; values beyond the 32-bit range saturate.
std::int32_t ReadDecimal32(std::string_view text);

}  // namespace pv14
