// Server images are outside input: exports and scripts built to hurt (or
// merely large) give a clear error or load quickly, never a crash or a hang.
// The inputs are generated here.
#include <gtest/gtest.h>

#include <string>

#include "common/runtime_error.h"
#include "native/odbc/scratch_folder.h"
#include "native/time_bound.h"
#include "platform/image/reg_file.h"
#include "platform/image/sqlite_script.h"

namespace fernwick::image {
namespace {

using namespace std::chrono_literals;
using namespace std::string_literals;
using testing::FinishesWithin;

enum class Encoding { Ansi, Utf16 };

std::string Encode(const std::string& text, Encoding encoding) {
  if (encoding == Encoding::Ansi) return text;
  std::string out = "\xFF\xFE";
  out.reserve(2 + 2 * text.size());
  for (char c : text) out += std::string{c, '\0'};
  return out;
}

std::string NestedKeyExport(std::size_t levels) {
  std::string text = "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE";
  for (std::size_t i = 0; i < levels; ++i) text += "\\a";
  return text + "]\r\n\"v\"=\"1\"\r\n";
}

// An error's text, or "" when the export loads.
std::string LoadError(RegistryDouble& registry, const std::string& bytes) {
  std::string error;
  FinishesWithin(10s, [&] {
    try {
      LoadRegText(registry, bytes, "deep.reg");
    } catch (const RegFileError& e) {
      error = e.what();
    }
  });
  return error;
}

TEST(HostileImage, KeysNestedDeeperThanWindowsAllowsAreAnErrorWithTheirLine) {
  for (const Encoding encoding : {Encoding::Ansi, Encoding::Utf16}) {
    for (const std::size_t levels : {513u, 300000u}) {
      RegistryDouble registry;
      EXPECT_EQ(LoadError(registry, Encode(NestedKeyExport(levels), encoding)),
                "deep.reg:3: key nested deeper than 512 levels")
          << levels;
    }
    RegistryDouble registry;
    EXPECT_EQ(LoadError(registry, Encode(NestedKeyExport(512), encoding)), "");
    std::string path = "a";
    for (int i = 1; i < 512; ++i) path += "\\a";
    platform::RegKey key = 0;
    ASSERT_EQ(registry.OpenKey(platform::kHkeyLocalMachine, path, key), 0);
    registry.CloseKey(key);
  }
}

TEST(HostileImage, AVeryDeepKeyIsDeletedAndFreedWithoutDeepRecursion) {
  std::string path = "HKEY_LOCAL_MACHINE\\SOFTWARE";
  for (int i = 0; i < 300000; ++i) path += "\\a";
  FinishesWithin(30s, [&] {
    RegistryDouble registry;
    ASSERT_TRUE(registry.CreateKey(path));
    ASSERT_TRUE(registry.CreateKey(path.substr(0, path.size() / 2) + "\\b"));
    ASSERT_TRUE(registry.DeleteKey("HKEY_LOCAL_MACHINE\\SOFTWARE\\a"));
    ASSERT_TRUE(registry.CreateKey(path));  // and once more for the destructor
  });
}

// A REG_BINARY value as regedit writes it: hex bytes wrapped at 76 columns
// with backslash continuations.
std::string LongBinaryExport(std::size_t bytes) {
  std::string text = "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Big]\r\n\"Blob\"=hex:";
  std::size_t column = text.size() - text.rfind('\n') - 1;
  static const char kDigits[] = "0123456789abcdef";
  for (std::size_t i = 0; i < bytes; ++i) {
    const auto byte = static_cast<unsigned char>(i * 7);
    text += {kDigits[byte >> 4], kDigits[byte & 15]};
    column += 2;
    if (i + 1 == bytes) break;
    text += ',';
    ++column;
    if (column >= 76) {
      text += "\\\r\n  ";
      column = 2;
    }
  }
  return text + "\r\n";
}

TEST(HostileImage, AMegabyteBinaryValueLoadsInLinearTime) {
  for (const Encoding encoding : {Encoding::Ansi, Encoding::Utf16}) {
    for (const std::size_t bytes : {512u * 1024u, 2u * 1024u * 1024u}) {
      RegistryDouble registry;
      EXPECT_EQ(LoadError(registry, Encode(LongBinaryExport(bytes), encoding)), "");
      platform::RegKey key = 0;
      ASSERT_EQ(registry.OpenKey(platform::kHkeyLocalMachine, "SOFTWARE\\Big", key), 0);
      std::uint32_t type = 0;
      std::uint32_t size = 0;
      EXPECT_EQ(registry.QueryValue(key, "Blob", type, nullptr, size), 0);
      std::vector<std::uint8_t> data(size);
      EXPECT_EQ(registry.QueryValue(key, "Blob", type, data.data(), size), 0);
      registry.CloseKey(key);
      ASSERT_EQ(data.size(), bytes);
      EXPECT_EQ(data[bytes - 1], static_cast<std::uint8_t>((bytes - 1) * 7));
    }
  }
}

TEST(HostileImage, TheDatabaseScriptWritesNoOtherFile) {
  testing::ScratchFolder folder;
  const std::string other = (folder.Path() / "other.db").string();
  const std::string prefix = "The configuration database script VoxtraDb.sql cannot be loaded: ";
  const struct {
    std::string script;
    std::string error;
  } cases[] = {
      {"ATTACH '" + other + "' AS x;\nCREATE TABLE x.t(a);\n", prefix + "line 1: not authorized"},
      {"CREATE TABLE t(a);\nCOMMIT;\nVACUUM INTO '" + other + "';\n", prefix + "line 3: authorization denied"},
  };
  for (const auto& c : cases) {
    std::string error;
    try {
      BuildSqliteDatabase(c.script, "VoxtraDb.sql", folder.Path() / "VoxtraDb");
    } catch (const RuntimeError& e) {
      error = e.Description();
    }
    EXPECT_EQ(error, c.error);
    EXPECT_FALSE(std::filesystem::exists(other));
  }
}

TEST(HostileImage, ANulByteInTheDatabaseScriptEndsItOrIsAnErrorWithItsLine) {
  struct Case {
    std::string script;
    std::string error;  // "" when the script loads
  };
  const std::string prefix = "The configuration database script VoxtraDb.sql cannot be loaded: ";
  const Case cases[] = {
      {"\0"s, ""},
      {"CREATE TABLE t(a);\0"s, ""},
      {"CREATE TABLE t(a);\n\0\r\n\0\0"s, ""},
      {"CREATE TABLE t(a);\n\0CREATE TABLE u(b);\n"s, prefix + "line 2: NUL byte in the script"},
      {"CREATE TABLE t(a);\nCREATE TABLE\0 u(b);\n"s, prefix + "line 2: incomplete input"},
  };
  for (const Case& c : cases) {
    testing::ScratchFolder folder;
    const auto target = folder.Path() / "VoxtraDb";
    std::string error;
    FinishesWithin(10s, [&] {
      try {
        BuildSqliteDatabase(c.script, "VoxtraDb.sql", target);
      } catch (const RuntimeError& e) {
        error = e.Description();
      }
    });
    EXPECT_EQ(error, c.error) << c.script.size();
    EXPECT_EQ(std::filesystem::exists(target), c.error.empty());
  }
}

// A script that loops or fills a table without end meets its bound with an
// error naming it, and leaves no file. The time is a fake clock that
// moves a second each time it is read.
TEST(HostileImage, TheDatabaseScriptIsBoundedInTimeAndSize) {
  const std::string prefix = "The configuration database script VoxtraDb.sql cannot be loaded: ";
  const std::string endless =
      "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c) SELECT count(*) FROM c;\n";
  const std::string filling =
      "CREATE TABLE t(a);\n"
      "INSERT INTO t WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < 100000)\n"
      "  SELECT randomblob(100) FROM c;\n";
  auto fakeNow = std::chrono::steady_clock::time_point();
  ScriptBounds bounds;
  bounds.maxBytes = 1 << 20;
  bounds.now = [&] { return fakeNow += 1s; };
  const struct {
    std::string script;
    std::string error;
  } cases[] = {
      {"CREATE TABLE t(a);\n" + endless, prefix + "line 2: the script ran longer than 60 seconds"},
      {filling, prefix + "line 2: the database grew beyond 1 MB"},
      {"PRAGMA max_page_count = 1000000;\n", prefix + "line 1: not authorized"},
      {"CREATE TEMP TABLE t(a);\n", prefix + "line 1: not authorized"},
  };
  for (const auto& c : cases) {
    testing::ScratchFolder folder;
    std::string error;
    FinishesWithin(30s, [&] {
      try {
        BuildSqliteDatabase(c.script, "VoxtraDb.sql", folder.Path() / "VoxtraDb", bounds);
      } catch (const RuntimeError& e) {
        error = e.Description();
      }
    });
    EXPECT_EQ(error, c.error);
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "VoxtraDb"));
  }
  // Within the bounds the same kind of script loads.
  testing::ScratchFolder folder;
  bounds.maxBytes = 64 << 20;
  bounds.now = nullptr;
  EXPECT_NO_THROW(BuildSqliteDatabase(filling, "VoxtraDb.sql", folder.Path() / "VoxtraDb", bounds));
}

}  // namespace
}  // namespace fernwick::image
