// The Windows programs have no server store: there is no server to test
// against, and the server-store tests skip saying so.
#include "tests/support/TestServer.h"

#include <gtest/gtest.h>

namespace pv14::testing {

TestServer* TestServer::Get(std::string* why) {
  if (why != nullptr) *why = "the Windows build has no server store";
  return nullptr;
}

// Reached only through a server Get never hands out.
std::string TestServer::NewDatabase() {
  ADD_FAILURE() << "no test server on Windows";
  return {};
}

std::string TestServer::Uri(const std::string&, const std::string&) const {
  ADD_FAILURE() << "no test server on Windows";
  return {};
}

ProcessResult TestServer::Sql(const std::string&, const std::string&) const {
  ADD_FAILURE() << "no test server on Windows";
  return {};
}

}  // namespace pv14::testing
