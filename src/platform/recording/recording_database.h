#pragma once
// The configuration database and the server connection, recorded: each
// query's record set (columns, rows, NULLs) or its error.
#include "platform/config_database.h"
#include "platform/recording/capture.h"

namespace fernwick::recording {

class RecordingDatabase : public platform::ConfigDatabase {
 public:
  RecordingDatabase(platform::ConfigDatabase& real, Capture& capture) : real_(real), capture_(capture) {}

  platform::RecordSet OpenQuery(const std::string& sql, const std::string& connectionString) override;
  std::unique_ptr<platform::ServerConnection> OpenServer(const std::string& connectionString) override;

 private:
  platform::ConfigDatabase& real_;
  Capture& capture_;
};

}  // namespace fernwick::recording
