// The registry wrappers against the same fixture natively and under Wine.
#include <gtest/gtest.h>

#include <string>

#include "common/runtime_error.h"
#include "common/test_registry.h"
#include "probes/registry_api.h"

namespace fernwick::probes {
namespace {

using testing::CasesRegistry;
constexpr auto kHklm = platform::kHkeyLocalMachine;
const std::string kValues = std::string(testing::kCasesRoot) + "\\Values";

RegValue Get(const std::string& value, std::int16_t kind, const RegValue& fallback = {}) {
  return RegGetValue(CasesRegistry(), kHklm, kValues, value, kind, fallback);
}

TEST(RegistryWrappers, StringsUpTo1023CharactersAreReadWholeLongerOnesGiveTheDefault) {
  EXPECT_EQ(RegValueText(Get("String1023", 1)), std::string(1023, 'a'));
  EXPECT_EQ(RegValueText(Get("String1024", 1, std::string("fallback"))), "fallback");
  EXPECT_EQ(RegValueText(Get("EmptyString", 1, std::string("fallback"))), "");
  EXPECT_EQ(RegValueText(Get("Quoted", 1)), "say \"hi\" C:\\path");
  EXPECT_EQ(RegValueText(Get("", 1)), "default value");
}

TEST(RegistryWrappers, MissingKeysAndValuesGiveTheDefault) {
  EXPECT_TRUE(std::holds_alternative<std::monostate>(Get("NoSuchValue", 1)));
  EXPECT_EQ(std::get<std::int32_t>(Get("NoSuchValue", 4, std::int32_t{-1})), -1);
  EXPECT_EQ(
      RegValueText(RegGetValue(CasesRegistry(), kHklm, "SOFTWARE\\FernwickTests\\Nothing", "x", 1, std::string("d"))),
      "d");
}

TEST(RegistryWrappers, DwordsAreSignedAndAnyShortDataReadsAsLittleEndianNumber) {
  EXPECT_EQ(RegValueText(Get("AllOnes", 4)), "-1");
  EXPECT_EQ(RegValueText(Get("SharedMemory", 4)), "4194304");
  EXPECT_EQ(std::get<std::int32_t>(Get("ThreeBytes", 4)), 0x030201);
  EXPECT_EQ(std::get<std::int32_t>(Get("ShortString", 4)), 0x00636261);  // "abc" and its NUL
  EXPECT_TRUE(std::holds_alternative<std::monostate>(Get("Qword", 4)));  // 8 bytes do not fit
}

TEST(RegistryWrappers, BytesComeBackWithExactLengthAndEmptyDataIsASubscriptError) {
  EXPECT_EQ(std::get<std::vector<std::uint8_t>>(Get("ThreeBytes", 3)), (std::vector<std::uint8_t>{1, 2, 3}));
  try {
    Get("EmptyBinary", 3);
    FAIL() << "expected error 9";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), 9);
  }
}

TEST(RegistryWrappers, OtherKindsRaiseUnsupportedValueType) {
  try {
    Get("Small", 2);
    FAIL() << "expected error 1001";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), 1001);
    EXPECT_EQ(e.Description(), "Unsupported value type");
  }
}

TEST(RegistryWrappers, ValueTypeIsTheStoredTypeOrZero) {
  EXPECT_EQ(RegGetValueType(CasesRegistry(), kHklm, kValues, "Small"), 4u);
  EXPECT_EQ(RegGetValueType(CasesRegistry(), kHklm, kValues, "LongString"), 1u);
  EXPECT_EQ(RegGetValueType(CasesRegistry(), kHklm, kValues, "ThreeBytes"), 3u);
  EXPECT_EQ(RegGetValueType(CasesRegistry(), kHklm, kValues, "NoSuchValue"), 0u);
  EXPECT_EQ(RegGetValueType(CasesRegistry(), kHklm, "SOFTWARE\\FernwickTests\\Nothing", "Small"), 0u);
}

TEST(RegistryWrappers, KeyExistsIgnoresCaseAndATrailingBackslash) {
  EXPECT_TRUE(RegKeyExists(CasesRegistry(), kHklm, kValues));
  EXPECT_TRUE(RegKeyExists(CasesRegistry(), kHklm, "software\\fernwicktests\\REGISTRY\\values"));
  EXPECT_TRUE(RegKeyExists(CasesRegistry(), kHklm, "SOFTWARE\\FernwickTests\\"));
  EXPECT_FALSE(RegKeyExists(CasesRegistry(), kHklm, "SOFTWARE\\FernwickTests\\Nothing"));
}

TEST(RegistryWrappers, SubkeysComeInCaseInsensitiveOrderAndTheListGrowsPast101) {
  const std::string root = testing::kCasesRoot;
  const SubkeyList many = RegEnumSubkeys(CasesRegistry(), kHklm, root + "\\Many");
  ASSERT_EQ(many.size(), 250u);
  EXPECT_EQ(UpperBound(many), 249);
  EXPECT_EQ(many.front(), "Item001");
  EXPECT_EQ(many[100], "Item101");
  EXPECT_EQ(many.back(), "Item250");
  EXPECT_EQ(RegEnumSubkeys(CasesRegistry(), kHklm, root + "\\Mixed"), (SubkeyList{"Alpha", "beta", "gamma", "Zulu"}));
}

TEST(RegistryWrappers, AKeyWithoutSubkeysGivesOneEmptyNameAndAMissingKeyNoList) {
  const std::string root = testing::kCasesRoot;
  EXPECT_EQ(RegEnumSubkeys(CasesRegistry(), kHklm, root + "\\NoSubkeys"), SubkeyList{""});
  const SubkeyList missing = RegEnumSubkeys(CasesRegistry(), kHklm, root + "\\Nothing");
  EXPECT_TRUE(missing.empty());
  EXPECT_THROW(UpperBound(missing), RuntimeError);
}

TEST(RegistryWrappers, RecommendedDwordTexts) {
  const std::string hklm = "-2147483646";
  const std::string root = "SOFTWARE\\FernwickTests\\";
  EXPECT_EQ(CheckRecommendedDword(CasesRegistry(), hklm, root, "Registry\\Values", "SharedMemory", "4194304").text,
            "Registry\\Values : is set to recommended value");
  EXPECT_EQ(CheckRecommendedDword(CasesRegistry(), hklm, root, "Registry\\Values", "Small", "4194304").text,
            "Registry\\Values : is set to 7.  Recommended value 4194304(decimal)");
  EXPECT_EQ(CheckRecommendedDword(CasesRegistry(), hklm, root, "Registry\\Values", "Absent", "4194304").text,
            "Registry\\Values : DWORD not found.  Recommended add DWORD Absent with a value of 4194304 (decimal)");
  EXPECT_EQ(
      CheckRecommendedDword(CasesRegistry(), hklm, root, "Registry\\Gone", "SharedMemory", "4194304").text,
      "Registry\\Gone : RegKey not found.  Recommend add the key Registry\\Gone and set DWORD SharedMemory with a "
      "value of 4194304 (decimal)");
}

}  // namespace
}  // namespace fernwick::probes
