// unixODBC reads ODBCSYSINI only at the first ODBC call of a process. The
// test program therefore registers the SQLite driver as "SQL Server" once,
// in a folder that lasts the whole run, before any test touches ODBC: the
// image databases the tests make (each pointing ODBCSYSINI at its own
// scratch folder, which unixODBC no longer reads) then find the driver in
// whatever order the tests run. A test that needs a process in which nothing
// has touched ODBC yet runs its work in a child process with
// FERNWICK_TEST_FRESH_ODBC set.
#include <gtest/gtest.h>

#include <optional>

#include "common/runtime_error.h"
#include "platform/odbc/odbc_database.h"
#include "scratch_folder.h"

namespace fernwick::testing {
namespace {

class SqliteDriverRegistration : public ::testing::Environment {
 public:
  void SetUp() override {
    if (getenv(kFreshOdbcProcess) != nullptr) return;
    folder_.emplace();
    folder_->Write("odbcinst.ini", std::string("[SQL Server]\nDriver=") + kSqliteOdbcDriver + "\n");
    setenv("ODBCSYSINI", folder_->Path().c_str(), 1);
    try {
      odbc::OdbcDatabase().OpenQuery("SELECT 1", "Driver={SQL Server};Database=:memory:");
    } catch (const RuntimeError& e) {
      FAIL() << "the SQLite ODBC driver cannot be registered: " << e.Description();
    }
  }
  void TearDown() override { folder_.reset(); }

 private:
  std::optional<ScratchFolder> folder_;
};

[[maybe_unused]] ::testing::Environment* const registration =
    ::testing::AddGlobalTestEnvironment(new SqliteDriverRegistration);

}  // namespace
}  // namespace fernwick::testing
