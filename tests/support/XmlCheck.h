// Checks on a written report that any end-to-end test can make: whether it
// is well-formed XML (as xmllint sees it), and where it first differs from
// the expected bytes.
#pragma once

#include <string>
#include <string_view>

namespace pv14::testing {

// Empty when the Shift_JIS document is well-formed XML; otherwise what is
// wrong: bytes that are not code page 932, xmllint's complaint, or that
// xmllint cannot be run. The document is converted to UTF-8 (its declaration
// with it) before xmllint reads it, so the check does not depend on the code
// pages libxml2 was built with.
std::string XmlWellFormednessErrors(std::string_view shiftJisDocument);

// Empty when the two documents are equal byte for byte; otherwise the number
// of the first line (split at LF) that differs and both versions of it, in
// UTF-8 for reading.
std::string FirstDifference(std::string_view expected, std::string_view actual);

// Full path of a program found on PATH; empty when there is none.
std::string FindOnPath(std::string_view program);

}  // namespace pv14::testing
