#include "tests/support/TestServer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>

namespace pv14::testing {
namespace {

bool HasSocket(const std::string& folder) {
  struct stat status {};
  return ::stat((folder + "/.s.PGSQL.5432").c_str(), &status) == 0;
}

std::string Script() { return std::string(PV14_SOURCE_DIR) + "/tests/support/pg-server.sh"; }

std::string& OwnFolder() {
  static std::string folder;
  return folder;
}

void StopOwnServer() {
  ProcessOptions options;
  options.args = {Script(), "stop", OwnFolder()};
  RunProcess("/bin/sh", options);
}

}  // namespace

TestServer* TestServer::Get(std::string* why) {
  static std::unique_ptr<TestServer> server;
  static std::string failure;
  if (server != nullptr || !failure.empty()) {
    if (why != nullptr) *why = failure;
    return server.get();
  }
  const std::string psql = "/usr/bin/psql";
  std::string folder = PV14_TEST_PG_FOLDER;  // the run's, started by CTest
  if (!HasSocket(folder)) {
    folder += "-" + std::to_string(::getpid());
    ProcessOptions options;
    options.args = {Script(), "start", folder};
    options.timeoutSeconds = 120;
    const ProcessResult started = RunProcess("/bin/sh", options);
    if (started.exitStatus != 0 || !HasSocket(folder)) {
      failure = "no PostgreSQL server: " + started.err;
      // Installed but not starting is a fault of the run, not a machine
      // without a server.
      if (started.exitStatus != 0) ADD_FAILURE() << failure;
      if (why != nullptr) *why = failure;
      return nullptr;
    }
    OwnFolder() = folder;
    std::atexit(StopOwnServer);
  }
  if (::access(psql.c_str(), X_OK) != 0) {
    failure = "no psql";
    if (why != nullptr) *why = failure;
    return nullptr;
  }
  server.reset(new TestServer(folder, psql));
  return server.get();
}

std::string TestServer::NewDatabase() {
  const std::string name = "t" + std::to_string(::getpid()) + "_" + std::to_string(++databases_);
  Sql("postgres", "CREATE DATABASE " + name);
  return name;
}

std::string TestServer::Uri(const std::string& database, const std::string& user) const {
  return "postgresql:///" + database + "?host=" + folder_ + "&user=" + user;
}

ProcessResult TestServer::Sql(const std::string& database, const std::string& sql) const {
  ProcessOptions options;
  options.args = {"-X",       "-q", "-A",     "-t", "-v", "ON_ERROR_STOP=1", "-h", folder_, "-U",
                  "postgres", "-d", database, "-c", sql};
  options.unsetEnv = {"PGPASSWORD", "PGSERVICE", "PGOPTIONS"};
  ProcessResult result = RunProcess(psql_, options);
  EXPECT_EQ(result.exitStatus, 0) << sql << "\n" << result.err;
  return result;
}

}  // namespace pv14::testing
