#include "web/percent_encoding.h"

#include <gtest/gtest.h>

#include <string>

namespace luma::web {
namespace {

TEST(PercentEncodingTest, PercentEncodingKeepsEveryByte) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  const std::string encoded = PercentEncode(all);
  EXPECT_EQ(encoded.find_first_not_of(
                "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-._~/%"),
            std::string::npos);
  EXPECT_EQ(PercentDecode(encoded), all);
  EXPECT_EQ(PercentDecode("a%2fb%2F"), "a/b/");
  EXPECT_EQ(PercentDecode("%"), std::nullopt);
  EXPECT_EQ(PercentDecode("%4"), std::nullopt);
  EXPECT_EQ(PercentDecode("%zz"), std::nullopt);
}

}  // namespace
}  // namespace luma::web
