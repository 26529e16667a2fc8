#include <gtest/gtest.h>

#include <string>

#include "platform/image/version_block_reader.h"

namespace fernwick::image {
namespace {

// Builds version-resource nodes the way resource compilers lay them out.
class NodeWriter {
 public:
  static std::vector<std::uint8_t> Node(const std::u16string& key, std::uint16_t type,
                                        const std::vector<std::uint8_t>& value, std::uint16_t valueLength,
                                        const std::vector<std::vector<std::uint8_t>>& children) {
    std::vector<std::uint8_t> out(6, 0);
    for (char16_t c : key) Put16(out, c);
    Put16(out, 0);
    Pad(out);
    out.insert(out.end(), value.begin(), value.end());
    for (const auto& child : children) {
      Pad(out);
      out.insert(out.end(), child.begin(), child.end());
    }
    const auto length = static_cast<std::uint16_t>(out.size());
    out[0] = static_cast<std::uint8_t>(length & 0xFF);
    out[1] = static_cast<std::uint8_t>(length >> 8);
    out[2] = static_cast<std::uint8_t>(valueLength & 0xFF);
    out[3] = static_cast<std::uint8_t>(valueLength >> 8);
    out[4] = static_cast<std::uint8_t>(type);
    return out;
  }
  static std::vector<std::uint8_t> Text(const std::u16string& key, const std::u16string& text) {
    std::vector<std::uint8_t> value;
    for (char16_t c : text) Put16(value, c);
    Put16(value, 0);
    return Node(key, 1, value, static_cast<std::uint16_t>(text.size() + 1), {});
  }

 private:
  static void Put16(std::vector<std::uint8_t>& out, char16_t c) {
    out.push_back(static_cast<std::uint8_t>(c & 0xFF));
    out.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  static void Pad(std::vector<std::uint8_t>& out) {
    while (out.size() % 4 != 0) out.push_back(0);
  }
};

std::vector<std::uint8_t> Fixed(std::uint32_t fileVersionMS) {
  std::vector<std::uint8_t> value(52, 0);
  value[0] = 0xBD, value[1] = 0x04, value[2] = 0xEF, value[3] = 0xFE;
  for (int i = 0; i < 4; ++i)
    value[static_cast<std::size_t>(8 + i)] = static_cast<std::uint8_t>(fileVersionMS >> (8 * i));
  return value;
}

std::vector<std::uint8_t> Resource(const std::u16string& euroText) {
  auto table = NodeWriter::Node(u"040904E4", 1, {}, 0, {NodeWriter::Text(u"CompanyName", euroText)});
  auto strings = NodeWriter::Node(u"StringFileInfo", 1, {}, 0, {table});
  return NodeWriter::Node(u"VS_VERSION_INFO", 0, Fixed(0x00020003), 52, {strings});
}

TEST(VersionBlockReader, ReadsAHandBuiltResource) {
  VersionBlockReader reader(Resource(u"Voxtra \u20AC \u4E2D"));
  ASSERT_TRUE(reader.Fixed());
  EXPECT_EQ(reader.Fixed()->fileVersionMS, 0x00020003u);
  // The euro sign has a place in the ANSI code page; the CJK character has
  // none and becomes a question mark.
  EXPECT_EQ(reader.StringValue("\\StringFileInfo\\040904E4\\CompanyName"), "Voxtra \x80 ?");
  EXPECT_TRUE(reader.Translations().empty());
}

TEST(VersionBlockReader, EveryTruncationOfAResourceIsAnsweredWithoutReadingPastIt) {
  const std::vector<std::uint8_t> whole = Resource(u"Voxtra Systems");
  for (std::size_t size = 0; size < whole.size(); ++size) {
    std::vector<std::uint8_t> cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
    VersionBlockReader reader(cut);
    reader.Fixed();
    reader.Translations();
    reader.StringValue("\\StringFileInfo\\040904E4\\CompanyName");
  }
}

TEST(VersionBlockReader, NodeClaimingMoreThanItsParentIsCutToTheParent) {
  std::vector<std::uint8_t> resource = Resource(u"Voxtra Systems");
  resource[0] = 0xFF, resource[1] = 0xFF;  // root claims 65535 bytes
  VersionBlockReader reader(resource);
  EXPECT_EQ(reader.StringValue("\\StringFileInfo\\040904E4\\CompanyName"), "Voxtra Systems");
}

TEST(VersionBlockReader, EmptyResourceHasNothing) {
  VersionBlockReader reader({});
  EXPECT_FALSE(reader.Fixed());
  EXPECT_TRUE(reader.Translations().empty());
  EXPECT_EQ(reader.StringValue("\\StringFileInfo\\040904E4\\CompanyName"), std::nullopt);
}

}  // namespace
}  // namespace fernwick::image
