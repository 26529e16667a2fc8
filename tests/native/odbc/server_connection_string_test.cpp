#include "platform/odbc/server_connection_string.h"

#include <gtest/gtest.h>

namespace fernwick::odbc {
namespace {

TEST(OdbcServerConnectionString, TheSqlServerProviderBecomesTheSqlServerDriver) {
  EXPECT_EQ(OdbcServerConnectionString("Provider=SQLOLEDB;Server=VOXTRA01;Trusted_Connection=Yes;"),
            "Driver={SQL Server};Server=VOXTRA01;Trusted_Connection=Yes;");
}

TEST(OdbcServerConnectionString, TheProviderIsMatchedWithoutRegardToCaseWhereverItStands) {
  EXPECT_EQ(OdbcServerConnectionString("Server=A;provider = sqloledb;Trusted_Connection=Yes"),
            "Server=A;Driver={SQL Server};Trusted_Connection=Yes");
}

TEST(OdbcServerConnectionString, AnOdbcStringComesBackUnchanged) {
  EXPECT_EQ(OdbcServerConnectionString("Driver={SQL Server};server=;database=VoxtraDb"),
            "Driver={SQL Server};server=;database=VoxtraDb");
  EXPECT_EQ(OdbcServerConnectionString(""), "");
}

}  // namespace
}  // namespace fernwick::odbc
