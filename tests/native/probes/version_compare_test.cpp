#include "probes/version_compare.h"

#include <gtest/gtest.h>

#include "common/conversions.h"
#include "common/runtime_error.h"
#include "native/probes/fakes.h"

namespace fernwick::probes {
namespace {

using fakes::ProbeWorld;

const std::string kFirstOverflow = "(error):6 (Overflow) in procedure FirstSeperator of Module VersionCompare";
const std::string kFirstMismatch = "(error):13 (Type mismatch) in procedure FirstSeperator of Module VersionCompare";
const std::string kSecondMismatch = "(error):13 (Type mismatch) in procedure SecondSeperator of Module VersionCompare";

struct Comparison {
  ProbeWorld world;
  VersionCompare compare{world.boxes};

  std::string operator()(const std::string& first, const std::string& second) {
    return compare.CompareVersions(first, second);
  }
};

void ExpectFields(const VersionFields& fields, std::int16_t f1, std::int16_t f2, std::int16_t f3, std::int16_t f4) {
  EXPECT_EQ(fields.iField1, f1);
  EXPECT_EQ(fields.iField2, f2);
  EXPECT_EQ(fields.iField3, f3);
  EXPECT_EQ(fields.iField4, f4);
}

// ---- verdicts ----------------------------------------------------------------

TEST(CompareVersions, SameVersionIsEqual) {
  Comparison compare;
  EXPECT_EQ(compare("6.5.8190.0", "6.5.8190.0"), "EQUAL");
  EXPECT_TRUE(compare.world.ui.shown.empty());
}

TEST(CompareVersions, OlderBuildIsLesser) {
  Comparison compare;
  EXPECT_EQ(compare("6.5.7638.1", "6.5.8190.0"), "LESSER");
}

TEST(CompareVersions, FirstDifferingFieldDecidesAndLaterFieldsAreNotLookedAt) {
  Comparison compare;
  EXPECT_EQ(compare("6.6.0.0", "6.5.8190.0"), "GREATER");
  EXPECT_EQ(compare("6.5.8190.0", "6.6.0.0"), "LESSER");
  EXPECT_EQ(compare("6.5.8190.1", "6.5.8190.0"), "GREATER");
}

TEST(CompareVersions, MissingFieldsAreZero) {
  Comparison compare;
  EXPECT_EQ(compare("6.5", "6.5.0.0"), "EQUAL");
  EXPECT_EQ(compare("6.5.1", "6.5.0.9"), "GREATER");
}

TEST(CompareVersions, TextWithoutDotIsTheFirstField) {
  Comparison compare;
  EXPECT_EQ(compare("10", "9.9.9.9"), "GREATER");
}

TEST(CompareVersions, FieldsCompareAsNumbersNotAsText) {
  Comparison compare;
  EXPECT_EQ(compare("6.5.10000.0", "6.5.9999.0"), "GREATER");
  EXPECT_EQ(compare("6.05.0.0", "6.5.0.0"), "EQUAL");
}

TEST(CompareVersions, OverflowingFieldShowsMessageBoxAndCountsAsZero) {
  Comparison compare;
  EXPECT_EQ(compare("6.5.40000.0", "6.5.8190.0"), "LESSER");
  EXPECT_EQ(compare.world.ShownTexts(), std::vector<std::string>{kFirstOverflow});
  ExpectFields(compare.compare.FirstVersion(), 6, 5, 0, 0);
  ExpectFields(compare.compare.SecondVersion(), 6, 5, 8190, 0);
}

TEST(CompareVersions, EmptyTextShowsMessageBoxAndCountsAsZero) {
  Comparison compare;
  EXPECT_EQ(compare("", "0.0.0.0"), "EQUAL");
  EXPECT_EQ(compare.world.ShownTexts(), std::vector<std::string>{kFirstMismatch});
}

TEST(CompareVersions, SecondTextErrorsNameSecondSeperator) {
  Comparison compare;
  EXPECT_EQ(compare("1.0", "x.1"), "GREATER");
  EXPECT_EQ(compare.world.ShownTexts(), std::vector<std::string>{kSecondMismatch});
}

TEST(CompareVersions, SilentRunRecordsTheMessagesInsteadOfShowingThem) {
  Comparison compare;
  compare.world.session.bSilentMode = true;
  EXPECT_EQ(compare("6.5.40000.0", "6.5.8190.0"), "LESSER");
  EXPECT_TRUE(compare.world.ui.shown.empty());
  EXPECT_EQ(compare.world.boxes.Recorded(), std::vector<std::string>{kFirstOverflow});
}

TEST(CompareVersions, KeepsBothParsedVersionsOfTheLatestComparison) {
  Comparison compare;
  compare("1.2.3.4", "5.6.7.8");
  compare("9.8", "7");
  ExpectFields(compare.compare.FirstVersion(), 9, 8, 0, 0);
  ExpectFields(compare.compare.SecondVersion(), 7, 0, 0, 0);
}

// ---- parsing -----------------------------------------------------------------

TEST(VersionSeperator, FourthFieldKeepsFurtherDots) {
  ProbeWorld world;
  VersionCompare compare(world.boxes);
  // "4.9" rounds to 5; "4.5.6" is no number at all.
  ExpectFields(compare.FirstSeperator("1.2.3.4.9"), 1, 2, 3, 5);
  ExpectFields(compare.FirstSeperator("1.2.3.4.5.6"), 1, 2, 3, 0);
  EXPECT_EQ(world.ShownTexts(), std::vector<std::string>{kFirstMismatch});
}

TEST(VersionSeperator, EmptyFieldsBetweenDotsOrAfterATrailingDotAreTypeMismatches) {
  ProbeWorld world;
  VersionCompare compare(world.boxes);
  ExpectFields(compare.SecondSeperator("6..5."), 6, 0, 5, 0);
  EXPECT_EQ(world.ShownTexts(), (std::vector<std::string>{kSecondMismatch, kSecondMismatch}));
}

TEST(VersionSeperator, BlanksAroundFieldsAreAllowed) {
  ProbeWorld world;
  VersionCompare compare(world.boxes);
  ExpectFields(compare.FirstSeperator(" 6 . 5 .8190 . 0 "), 6, 5, 8190, 0);
  EXPECT_TRUE(world.ui.shown.empty());
}

TEST(VersionSeperator, EveryFailingFieldGetsItsOwnMessageBoxAndParsingGoesOn) {
  ProbeWorld world;
  VersionCompare compare(world.boxes);
  ExpectFields(compare.FirstSeperator("a.99999.-40000.7"), 0, 0, 0, 7);
  EXPECT_EQ(world.ShownTexts(), (std::vector<std::string>{kFirstMismatch, kFirstOverflow, kFirstOverflow}));
}

TEST(VersionSeperator, NegativeFieldsAreSigned) {
  ProbeWorld world;
  VersionCompare compare(world.boxes);
  EXPECT_EQ(compare.CompareVersions("-1", "0"), "LESSER");
}

// ---- the runtime's text-to-integer conversion the fields go through ------------

long ErrorOf(std::string_view text) {
  try {
    CInt(text);
  } catch (const RuntimeError& e) {
    return e.Number();
  }
  return 0;
}

TEST(FieldConversion, SurroundingBlanksAreAllowed) {
  EXPECT_EQ(CInt(" 12 "), 12);
  EXPECT_EQ(CInt("\t7"), 7);
  EXPECT_EQ(CInt("+3"), 3);
  EXPECT_EQ(CInt("-3"), -3);
}

TEST(FieldConversion, FractionsRoundHalfToEven) {
  EXPECT_EQ(CInt("2.5"), 2);
  EXPECT_EQ(CInt("3.5"), 4);
  EXPECT_EQ(CInt("-2.5"), -2);
  EXPECT_EQ(CInt("0.5"), 0);
  EXPECT_EQ(CInt("2.51"), 3);
  EXPECT_EQ(CInt(".5"), 0);
  EXPECT_EQ(CInt("5."), 5);
  EXPECT_EQ(CInt("1e3"), 1000);
}

TEST(FieldConversion, RangeIsChecked16BitAfterRounding) {
  EXPECT_EQ(CInt("32767"), 32767);
  EXPECT_EQ(CInt("-32768"), -32768);
  EXPECT_EQ(CInt("32767.4"), 32767);
  EXPECT_EQ(CInt("-32768.5"), -32768);
  EXPECT_EQ(ErrorOf("32768"), err::kOverflow);
  EXPECT_EQ(ErrorOf("-32769"), err::kOverflow);
  EXPECT_EQ(ErrorOf("32767.5"), err::kOverflow);
  EXPECT_EQ(ErrorOf("99999999999999999999"), err::kOverflow);
  EXPECT_EQ(ErrorOf("1e999"), err::kOverflow);
}

TEST(FieldConversion, TextThatIsNoNumberIsATypeMismatch) {
  EXPECT_EQ(ErrorOf(""), err::kTypeMismatch);
  EXPECT_EQ(ErrorOf("   "), err::kTypeMismatch);
  EXPECT_EQ(ErrorOf("x"), err::kTypeMismatch);
  EXPECT_EQ(ErrorOf("1a"), err::kTypeMismatch);
  EXPECT_EQ(ErrorOf("1 2"), err::kTypeMismatch);
  EXPECT_EQ(ErrorOf("-"), err::kTypeMismatch);
  EXPECT_EQ(ErrorOf("."), err::kTypeMismatch);
  EXPECT_EQ(ErrorOf("1e"), err::kTypeMismatch);
  EXPECT_EQ(ErrorOf("0x10"), err::kTypeMismatch);
}

TEST(FieldConversion, HexadecimalTextIsSigned16Bit) {
  EXPECT_EQ(CInt("&H45"), 69);
  EXPECT_EQ(CInt("&hff"), 255);
  EXPECT_EQ(CInt("&HFFFF"), -1);
  EXPECT_EQ(CInt("&H8000"), -32768);
  EXPECT_EQ(ErrorOf("&H10000"), err::kOverflow);
  EXPECT_EQ(ErrorOf("&H"), err::kTypeMismatch);
  EXPECT_EQ(ErrorOf("&HG"), err::kTypeMismatch);
}

}  // namespace
}  // namespace fernwick::probes
