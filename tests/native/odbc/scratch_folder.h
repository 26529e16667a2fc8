#pragma once
// A fresh folder below the system's temporary folder, removed with its
// contents when the test ends, and small helpers for building test
// databases and server images in it.
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>

#include "platform/image/sqlite_script.h"

namespace fernwick::testing {

class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "fernwick-odbc-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }

  std::filesystem::path Write(const std::filesystem::path& relative, std::string_view bytes) const {
    const auto file = path_ / relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
    return file;
  }

 private:
  std::filesystem::path path_;
};

// Set in the environment of a child process that must be the first ODBC
// user of its process (see odbc_registration.cpp).
inline constexpr const char* kFreshOdbcProcess = "FERNWICK_TEST_FRESH_ODBC";

inline constexpr const char* kSqliteOdbcDriver = "/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so";

// A SQLite database built from `script`, and the connection string that
// opens it through the SQLite ODBC driver named by its library path.
inline std::string SqliteDatabase(const ScratchFolder& folder, std::string_view script) {
  const auto file = folder.Path() / "test.sqlite";
  image::BuildSqliteDatabase(script, "test script", file);
  return std::string("Driver=") + kSqliteOdbcDriver + ";Database=" + file.string() + ";";
}

// Sets an environment variable for the length of a test.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const std::string& value) : name_(name) {
    if (const char* old = getenv(name)) previous_ = old;
    setenv(name, value.c_str(), 1);
  }
  ~ScopedEnvironment() {
    if (previous_) {
      setenv(name_, previous_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  const char* name_;
  std::optional<std::string> previous_;
};

}  // namespace fernwick::testing
