#include "platform/recording/recording_database.h"

#include <exception>

#include "common/runtime_error.h"

namespace fernwick::recording {
namespace {

CapturedAnswer ErrorAnswer(const std::exception& e) {
  const RuntimeError error = AsRuntimeError(e);
  return {std::nullopt, error.Number(), error.Description()};
}

const CapturedQuery* Known(const std::vector<CapturedQuery>& queries, const std::string& connection,
                           const std::string& sql) {
  for (const CapturedQuery& query : queries) {
    if (query.connection == connection && query.sql == sql) return &query;
  }
  return nullptr;
}

// Runs the query, noting its answer in `queries` the first time. The
// answer notes which fields the gathering reads (the same answer asked for
// again notes them in the first one's record): only those are written.
template <typename Run>
platform::RecordSet Recorded(std::vector<CapturedQuery>& queries, const std::string& connection, const std::string& sql,
                             Run&& run) {
  const CapturedQuery* known = Known(queries, connection, sql);
  try {
    platform::RecordSet records = run();
    if (known == nullptr) {
      records.TrackReads();
      queries.push_back({connection, sql, {records, 0, {}}});
    } else if (known->answer.records && known->answer.records->RowCount() == records.RowCount()) {
      records.ShareReadsWith(*known->answer.records);
    }
    return records;
  } catch (const std::exception& e) {
    if (known == nullptr) queries.push_back({connection, sql, ErrorAnswer(e)});
    throw;
  }
}

class RecordingConnection : public platform::ServerConnection {
 public:
  RecordingConnection(std::unique_ptr<platform::ServerConnection> real, Capture& capture, std::size_t server)
      : real_(std::move(real)), capture_(capture), server_(server) {}

  platform::RecordSet Execute(const std::string& sql) override {
    if (server_ >= capture_.servers.size()) return real_->Execute(sql);  // a restart forgot the server
    return Recorded(capture_.servers[server_].executed, {}, sql, [&] { return real_->Execute(sql); });
  }

 private:
  std::unique_ptr<platform::ServerConnection> real_;
  Capture& capture_;
  std::size_t server_;
};

}  // namespace

platform::RecordSet RecordingDatabase::OpenQuery(const std::string& sql, const std::string& connectionString) {
  return Recorded(capture_.queries, connectionString, sql, [&] { return real_.OpenQuery(sql, connectionString); });
}

std::unique_ptr<platform::ServerConnection> RecordingDatabase::OpenServer(const std::string& connectionString) {
  std::size_t index = 0;
  while (index < capture_.servers.size() && capture_.servers[index].connection != connectionString) ++index;
  const bool known = index < capture_.servers.size();
  if (!known) capture_.servers.push_back({connectionString, std::nullopt, {}});
  try {
    return std::make_unique<RecordingConnection>(real_.OpenServer(connectionString), capture_, index);
  } catch (const std::exception& e) {
    if (!known) capture_.servers[index].openError = ErrorAnswer(e);
    throw;
  }
}

}  // namespace fernwick::recording
