// The test run's PostgreSQL server (tests/support/pg-server.sh): the one
// CTest started for the whole run, or, when a test program runs on its
// own, one it starts itself and stops when it exits.
#pragma once

#include <string>

#include "tests/support/Process.h"

namespace pv14::testing {

class TestServer {
 public:
  // The server, or null when none can be had here (why says so: a test
  // skips then).
  static TestServer* Get(std::string* why);

  // A new empty database of its own; its name.
  std::string NewDatabase();
  // The URI of a database as user (the server's superuser by default).
  std::string Uri(const std::string& database, const std::string& user = "postgres") const;
  // Runs SQL in a database as the superuser; fails the test when it fails.
  ProcessResult Sql(const std::string& database, const std::string& sql) const;
  // The socket folder.
  const std::string& Folder() const { return folder_; }
  // The psql program, for scripts of the tests.
  const std::string& Psql() const { return psql_; }

 private:
  explicit TestServer(std::string folder, std::string psql)
      : folder_(std::move(folder)), psql_(std::move(psql)) {}
  std::string folder_;
  std::string psql_;
  int databases_ = 0;
};

}  // namespace pv14::testing
