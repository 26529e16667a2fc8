#include "platform/image/reg_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace fernwick::image {
namespace {

struct Read {
  long rc;
  std::uint32_t type;
  std::vector<std::uint8_t> data;
};

Read Query(RegistryDouble& r, const std::string& key, const std::string& value) {
  platform::RegKey h = 0;
  if (const long rc = r.OpenKey(platform::kHkeyLocalMachine, key, h); rc != 0) return {rc, 0, {}};
  std::vector<std::uint8_t> buffer(4096);
  std::uint32_t size = static_cast<std::uint32_t>(buffer.size());
  std::uint32_t type = 0;
  const long rc = r.QueryValue(h, value, type, buffer.data(), size);
  r.CloseKey(h);
  buffer.resize(rc == 0 ? size : 0);
  return {rc, type, buffer};
}

std::vector<std::uint8_t> Bytes(std::string_view s) {
  return {s.begin(), s.end()};
}

std::string Utf16File(const std::string& text) {
  std::string out = "\xFF\xFE";
  for (unsigned char c : text) {
    out.push_back(static_cast<char>(c));
    out.push_back('\0');
  }
  return out;
}

TEST(RegFile, Regedit4WithEveryValueSyntax) {
  RegistryDouble r;
  LoadRegText(r,
              "REGEDIT4\r\n"
              "\r\n"
              "; a comment\r\n"
              "[HKEY_LOCAL_MACHINE\\SOFTWARE\\T]\r\n"
              "@=\"default\"\r\n"
              "\"Text\"=\"caf\xE9 \\\"q\\\" \\\\\"\r\n"
              "\"Number\"=dword:0000002a\r\n"
              "\"Bin\"=hex:de,ad,\\\r\n"
              "  be,ef\r\n"
              "\"Expand\"=hex(2):25,41,25,00\r\n"
              "\"None\"=hex(0):\r\n"
              "\"Big\"=hex(b):01,00,00,00,00,00,00,00\r\n",
              "t.reg");
  EXPECT_EQ(Query(r, "SOFTWARE\\T", "").data, Bytes(std::string("default\0", 8)));
  EXPECT_EQ(Query(r, "SOFTWARE\\T", "Text").data, Bytes(std::string("caf\xE9 \"q\" \\\0", 11)));
  const Read number = Query(r, "SOFTWARE\\T", "Number");
  EXPECT_EQ(number.type, 4u);
  EXPECT_EQ(number.data, (std::vector<std::uint8_t>{42, 0, 0, 0}));
  EXPECT_EQ(Query(r, "SOFTWARE\\T", "Bin").data, (std::vector<std::uint8_t>{0xde, 0xad, 0xbe, 0xef}));
  const Read expand = Query(r, "SOFTWARE\\T", "Expand");
  EXPECT_EQ(expand.type, 2u);
  EXPECT_EQ(expand.data, Bytes(std::string("%A%\0", 4)));
  EXPECT_EQ(Query(r, "SOFTWARE\\T", "None").type, 0u);
  EXPECT_EQ(Query(r, "SOFTWARE\\T", "Big").data.size(), 8u);
}

TEST(RegFile, Version5InUtf16HoldsTextKindsAsAnsi) {
  RegistryDouble r;
  LoadRegText(r,
              Utf16File("Windows Registry Editor Version 5.00\r\n\r\n"
                        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\U]\r\n"
                        "\"Path\"=hex(2):43,00,3a,00,5c,00,e9,00,00,00\r\n"
                        "\"Multi\"=hex(7):61,00,00,00,62,00,00,00,00,00\r\n"
                        "\"Euro\"=\"\xE9\"\r\n"),
              "u.reg");
  EXPECT_EQ(Query(r, "SOFTWARE\\U", "Path").data, Bytes(std::string("C:\\\xE9\0", 5)));
  EXPECT_EQ(Query(r, "SOFTWARE\\U", "Multi").data, Bytes(std::string("a\0b\0\0", 5)));
  EXPECT_EQ(Query(r, "SOFTWARE\\U", "Euro").data, Bytes(std::string("\xE9\0", 2)));
}

TEST(RegFile, DeletionsRemoveKeysAndValuesLoadedEarlier) {
  RegistryDouble r;
  LoadRegText(r,
              "REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\D\\Gone]\n\"a\"=\"1\"\n"
              "[HKEY_LOCAL_MACHINE\\SOFTWARE\\D]\n\"keep\"=\"1\"\n\"drop\"=\"1\"\n",
              "first.reg");
  LoadRegText(r, "REGEDIT4\n[-HKEY_LOCAL_MACHINE\\SOFTWARE\\D\\Gone]\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\D]\n\"drop\"=-\n",
              "second.reg");
  EXPECT_EQ(Query(r, "SOFTWARE\\D\\Gone", "a").rc, platform::kErrorFileNotFound);
  EXPECT_EQ(Query(r, "SOFTWARE\\D", "keep").rc, 0);
  EXPECT_EQ(Query(r, "SOFTWARE\\D", "drop").rc, platform::kErrorFileNotFound);
}

TEST(RegFile, ClassesRootIsAHiveOfItsOwn) {
  RegistryDouble r;
  LoadRegText(r, "REGEDIT4\n[HKEY_CLASSES_ROOT\\.htm]\n@=\"htmlfile\"\n", "c.reg");
  platform::RegKey h = 0;
  EXPECT_EQ(r.OpenKey(platform::kHkeyClassesRoot, ".htm", h), 0);
  r.CloseKey(h);
  EXPECT_NE(r.OpenKey(platform::kHkeyLocalMachine, ".htm", h), 0);
}

void ExpectError(const std::string& text, const std::string& expected) {
  RegistryDouble r;
  try {
    LoadRegText(r, text, "bad.reg");
    FAIL() << "no error for: " << text;
  } catch (const RegFileError& e) {
    EXPECT_EQ(std::string(e.what()), expected);
  }
}

TEST(RegFile, MalformedFilesNameFileAndLine) {
  ExpectError("", "bad.reg:1: empty file, expected a registry export header");
  ExpectError("[HKEY_LOCAL_MACHINE\\X]\n",
              "bad.reg:1: not a registry export (first line is \"[HKEY_LOCAL_MACHINE\\X]\")");
  ExpectError("REGEDIT4\n\"a\"=\"b\"\n", "bad.reg:2: value outside of a key");
  ExpectError("REGEDIT4\n[HKEY_LOCAL_MACHINE\\X\n", "bad.reg:2: key line without closing ']'");
  ExpectError("REGEDIT4\n[HKEY_NOWHERE\\X]\n", "bad.reg:2: unknown hive or bad key path: HKEY_NOWHERE\\X");
  ExpectError(std::string("REGEDIT4\n[HKEY_LOCAL_MACHINE\\X\0Y]\n", 34), "bad.reg:2: NUL character in the key name");
  ExpectError("REGEDIT4\n[HKEY_LOCAL_MACHINE\\X]\n\"a\"=dword:123456789\n", "bad.reg:3: bad dword \"123456789\"");
  ExpectError("REGEDIT4\n[HKEY_LOCAL_MACHINE\\X]\n\"a\"=hex:1,zz\n", "bad.reg:3: bad hex byte \"zz\"");
  ExpectError("REGEDIT4\n[HKEY_LOCAL_MACHINE\\X]\n\"a\"=\"open\n", "bad.reg:3: unterminated quoted string");
  ExpectError("REGEDIT4\n[HKEY_LOCAL_MACHINE\\X]\n\"a\"=hex:01,\\\n",
              "bad.reg:3: line continuation at the end of the file");
  ExpectError("REGEDIT4\n[HKEY_LOCAL_MACHINE\\X]\n\"a\" \"b\"\n", "bad.reg:3: expected '=' after the value name");
  ExpectError("REGEDIT4\n[HKEY_LOCAL_MACHINE\\X]\nrubbish\n", "bad.reg:3: unexpected text: rubbish");
}

}  // namespace
}  // namespace fernwick::image

namespace fernwick::image {
namespace {

// Windows compares subkey names upper-cased, so "_" (after "Z") follows the
// letters; Wine folds to lower case and lists it first.
TEST(RegistryDouble, SubkeysEnumerateAsWindowsOrdersThem) {
  RegistryDouble r;
  for (const char* name : {"gamma", "_under", "Alpha", "beta", "Zulu"}) {
    r.CreateKey(std::string("HKEY_LOCAL_MACHINE\\SOFTWARE\\Order\\") + name);
  }
  platform::RegKey key = 0;
  ASSERT_EQ(r.OpenKey(platform::kHkeyLocalMachine, "software\\ORDER", key), 0);
  std::vector<std::string> names;
  char name[260];
  for (std::uint32_t i = 0; r.EnumKey(key, i, name, sizeof name) == 0; ++i) names.emplace_back(name);
  r.CloseKey(key);
  EXPECT_EQ(names, (std::vector<std::string>{"Alpha", "beta", "gamma", "Zulu", "_under"}));
  EXPECT_EQ(r.OpenHandleCount(), 0u);
}

}  // namespace
}  // namespace fernwick::image
