#include "core/host/text.h"

#include <gtest/gtest.h>

#include <limits>

namespace luma {
namespace {

TEST(TextTest, ParseIntBehavesLikeAtoiButSaturates) {
  size_t n = 0;
  EXPECT_EQ(ParseInt("  42abc", &n), 42);
  EXPECT_EQ(n, 4u);
  EXPECT_EQ(ParseInt("-17"), -17);
  EXPECT_EQ(ParseInt("x12", &n), 0);
  EXPECT_EQ(n, 0u);
  EXPECT_EQ(ParseInt("99999999999999999999"), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(ParseInt("-99999999999999999999"), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(ParseInt("-2147483648"), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(ParseInt("2147483648"), std::numeric_limits<int32_t>::max());
}

TEST(TextTest, CaseFoldingIsAsciiOnly) {
  EXPECT_TRUE(EqualsIgnoreCase("Shirt.CEL", "shirt.cel"));
  EXPECT_FALSE(EqualsIgnoreCase("\xC4", "\xE4"));
  EXPECT_LT(CompareIgnoreCase("abc", "ABD"), 0);
  EXPECT_LT(CompareIgnoreCase("ab", "abc"), 0);
  EXPECT_TRUE(StartsWithIgnoreCase("FKISS", "fk"));
}

TEST(TextTest, PathParts) {
  EXPECT_EQ(FileNamePart("a/b\\c.cel"), "c.cel");
  EXPECT_EQ(DirectoryPart("a/b\\c.cel"), "a/b\\");
  EXPECT_EQ(ExtensionPart("dir.x/file"), "");
  EXPECT_EQ(ExtensionPart("doll.LZH"), "LZH");
}

}  // namespace
}  // namespace luma
