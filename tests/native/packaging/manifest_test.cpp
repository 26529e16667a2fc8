#include "packaging/manifest.h"

#include <glib.h>
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "common/sha256.h"
#include "packaging/manifest_check.h"

namespace fernwick::packaging {
namespace {

std::string GlibSha256(const std::string& bytes) {
  GChecksum* checksum = g_checksum_new(G_CHECKSUM_SHA256);
  g_checksum_update(checksum, reinterpret_cast<const guchar*>(bytes.data()), static_cast<gssize>(bytes.size()));
  std::string hex = g_checksum_get_string(checksum);
  g_checksum_free(checksum);
  return hex;
}

// The published test vectors (FIPS 180-2 appendix B), and the lengths
// around the padding's block edges checked against GLib, fed in uneven
// pieces.
TEST(Sha256, PublishedVectorsAndEveryPaddingEdge) {
  EXPECT_EQ(Sha256Hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  EXPECT_EQ(Sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  EXPECT_EQ(Sha256Hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
            "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
  Sha256 million;
  const std::string thousand(1000, 'a');
  for (int i = 0; i < 1000; ++i) million.Add(thousand);
  EXPECT_EQ(million.HexDigest(), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");

  std::mt19937 random(7);
  for (std::size_t size : {1u, 55u, 56u, 57u, 63u, 64u, 65u, 119u, 120u, 127u, 128u, 129u, 1000u, 65537u}) {
    std::string bytes(size, '\0');
    for (char& c : bytes) c = static_cast<char>(random());
    Sha256 pieces;
    for (std::size_t at = 0; at < size; at += 37) pieces.Add(std::string_view(bytes).substr(at, 37));
    EXPECT_EQ(pieces.HexDigest(), GlibSha256(bytes)) << size;
  }
}

const std::string kDigestA(64, 'a');
const std::string kDigestB(64, 'b');

std::vector<ManifestRecord> Sample() {
  return {{"VoxtraSystemInfo.txt", 12, kDigestA, "Fernwick", "", "", "this run's"},
          {"ServiceInfo.csv", 99, kDigestB, "\"<install>\\Tabulex\" -o \"<output>\\ServiceInfo.csv\"", "exit code 1",
           "2", "this run's"},
          {"system_event_log.csv", std::nullopt, "", "\"<install>\\dumpel\" -l system, \"x\"", "exit code 5", "14",
           "lost: dumpel ended with exit code 5"}};
}

TEST(Manifest, WhatIsWrittenReadsBackTheSame) {
  const std::string text = ManifestText(Sample());
  EXPECT_TRUE(text.starts_with("Fernwick manifest 1\r\nname,size,sha256,made by,ended,seconds,status\r\n"));
  const ParsedManifest parsed = ParseManifest(text);
  ASSERT_EQ(parsed.error, "");
  ASSERT_EQ(parsed.records.size(), 3u);
  const std::vector<ManifestRecord> sample = Sample();
  for (std::size_t i = 0; i < 3; ++i) {
    const auto& r = parsed.records[i];
    const auto& s = sample[i];
    EXPECT_EQ(std::tie(r.name, r.size, r.sha256, r.madeBy, r.ended, r.seconds, r.status),
              std::tie(s.name, s.size, s.sha256, s.madeBy, s.ended, s.seconds, s.status));
  }
  // A line end in a field never splits a record.
  std::vector<ManifestRecord> broken = Sample();
  broken[2].status = "lost: two\r\nlines";
  EXPECT_EQ(ParseManifest(ManifestText(broken)).records.at(2).status, "lost: two  lines");
}

struct BadManifest {
  std::string text;
  std::string error;
};

TEST(Manifest, OnlyAWellFormedManifestIsRead) {
  const std::string head = "Fernwick manifest 1\r\nname,size,sha256,made by,ended,seconds,status\r\n";
  for (const BadManifest& c : std::vector<BadManifest>{
           {"", "line 1: the manifest ends before its header"},
           {"name,size\r\n", "line 1: not a Fernwick manifest"},
           {"Fernwick manifest 2\r\n",
            "line 1: a manifest of a later format (\"Fernwick manifest 2\") than this "
            "Fernwick reads"},
           {"Fernwick manifest 1\r\nname,size\r\n", "line 2: the header is not the manifest's"},
           {head + "a,1," + kDigestA + ",F,,,this run's,extra\r\n", "line 3: 8 fields instead of 7"},
           {head + "a,1,abc,F,,,this run's\r\n", "line 3: no SHA-256 digest"},
           {head + "a,-1," + kDigestA + ",F,,,this run's\r\n", "line 3: no size"},
           {head + "a,99999999999999999999," + kDigestA + ",F,,,this run's\r\n", "line 3: no size"},
           {head + "a,1," + kDigestA + ",F,,,mine\r\n", "line 3: a status of no known kind"},
           {head + "a,1," + kDigestA + ",F,,,lost: gone\r\n", "line 3: a lost part with a size or digest"},
           {head + ",1," + kDigestA + ",F,,,this run's\r\n", "line 3: no name"},
           {head + "\"a,1," + kDigestA + ",F,,,this run's\r\n", "line 3: a quote out of place"},
           {head + "a\"b,1," + kDigestA + ",F,,,this run's\r\n", "line 3: a quote out of place"},
           {head + "a,1," + kDigestA + ",F,,,this run's\r\nA,2," + kDigestB + ",F,,,this run's\r\n",
            "line 4: a name listed twice"},
       }) {
    const ParsedManifest parsed = ParseManifest(c.text);
    EXPECT_EQ(parsed.error, c.error) << c.text;
    EXPECT_TRUE(parsed.records.empty()) << c.text;
  }
}

struct Damage {
  const char* what;
  std::vector<CabinetEntry> entries;  // beside the manifest
  int exitCode;
  std::vector<std::string> lines;
};

TEST(Manifest, VerificationNamesEveryEntryThatDiffersFromTheManifest) {
  // The manifest lists a report and a service list, and a lost event log.
  const std::string manifest = ManifestText(Sample());
  const CabinetEntry report{"VoxtraSystemInfo.txt", 12, kDigestA};
  const CabinetEntry services{"ServiceInfo.csv", 99, kDigestB};
  const std::string lost = "lost in the run that made it: system_event_log.csv (dumpel ended with exit code 5)";
  const std::string whole =
      "X.cab is whole: the 2 entries its manifest lists are as they were packed; the manifest records 1 lost part";
  const std::string differs = "X.cab does not match its manifest: it was changed after it was made, or is damaged";
  for (const Damage& c : std::vector<Damage>{
           {"whole", {report, services}, kVerifiedWithLostParts, {lost, whole}},
           {"names know no case", {{"voxtrasysteminfo.TXT", 12, kDigestA}, services}, 6, {lost, whole}},
           {"removed",
            {report},
            kVerifyFailed,
            {"missing: ServiceInfo.csv (the manifest lists 99 bytes)", lost, differs}},
           {"added",
            {report, services, {"extra.txt", 3, kDigestA}},
            kVerifyFailed,
            {lost, "not in the manifest: extra.txt (3 bytes)", differs}},
           {"changed",
            {report, {"ServiceInfo.csv", 99, kDigestA}},
            kVerifyFailed,
            {"changed: ServiceInfo.csv is not what the run that made it packed (99 bytes, SHA-256 " + kDigestA + ")",
             lost, differs}},
           {"truncated",
            {report, {"ServiceInfo.csv", 50, kDigestA}},
            kVerifyFailed,
            {"truncated: ServiceInfo.csv holds 50 of its 99 bytes", lost, differs}},
           {"lost but there",
            {report, services, {"system_event_log.csv", 7, kDigestA}},
            kVerifyFailed,
            {"in the cabinet though the manifest records it as lost: system_event_log.csv", differs}},
           {"twice",
            {report, services, services},
            kVerifyFailed,
            {"twice in the cabinet: ServiceInfo.csv", lost, differs}},
       }) {
    std::vector<CabinetEntry> entries = c.entries;
    entries.push_back({"Manifest.csv", manifest.size(), kDigestB});
    const Verification v = VerifyAgainstManifest("X.cab", entries, manifest);
    EXPECT_EQ(v.exitCode, c.exitCode) << c.what;
    EXPECT_EQ(v.lines, c.lines) << c.what;
  }
  // Without a lost part: 0.
  std::vector<ManifestRecord> clean = Sample();
  clean.pop_back();
  EXPECT_EQ(VerifyAgainstManifest("X.cab", {report, services}, ManifestText(clean)).exitCode, kVerifiedWhole);
}

TEST(Manifest, ACabinetWithoutAReadableManifestIsNeverWhole) {
  const Verification none = VerifyAgainstManifest("Old.cab", {{"VoxtraSystemInfo.txt", 12, kDigestA}}, std::nullopt);
  EXPECT_EQ(none.exitCode, kVerifyFailed);
  EXPECT_EQ(none.lines, (std::vector<std::string>{"Old.cab holds no Manifest.csv: it was made before cabinets "
                                                  "carried one, or not by Fernwick; it holds 1 entry:",
                                                  "  VoxtraSystemInfo.txt (12 bytes)"}));
  std::string edited = ManifestText(Sample());
  edited.replace(edited.find("this run's"), 10, "this runs!");
  const Verification damaged = VerifyAgainstManifest("X.cab", {}, edited);
  EXPECT_EQ(damaged.exitCode, kVerifyFailed);
  EXPECT_EQ(damaged.lines, (std::vector<std::string>{"Manifest.csv is damaged (line 3: a status of no known kind): "
                                                     "nothing can be verified"}));
}

}  // namespace
}  // namespace fernwick::packaging
