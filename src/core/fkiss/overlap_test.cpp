#include "core/fkiss/overlap.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/model/cel_codec.h"
#include "core/testing/fkiss_doll.h"

namespace luma {
namespace {

using testing::ScriptedDoll;

// Soft edges of true-colour cels in 16-bit texels: a 4-bit alpha of 1 is
// clear for collisions, while picking keeps counting it.
TEST(PixelOverlapTest, SixteenBitTexelsOfAlphaOneAreClearForCollisionsOnly) {
  const std::vector<std::string> soft_right(10, "#########1");
  const std::vector<std::string> soft_left(10, "1#########");
  const std::vector<std::string> firm_left(10, "2#########");
  for (const bool sixteen : {false, true}) {
    SCOPED_TRACE(sixteen ? "16-bit texels" : "32-bit texels");
    SoftwareDeviceOptions device;
    device.desktop_16_bit = sixteen;
    // a and b meet only in their soft columns; the opaque c meets d where
    // d's edge has alpha 2.
    ScriptedDoll d("(100,100)\n#0 a.cel\n#1 b.cel\n#2 c.cel\n#3 d.cel\n$0 0,0 9,0 50,0 59,0\n", {},
                   {{"a.cel", 10, 10, soft_right},
                    {"b.cel", 10, 10, soft_left},
                    {"c.cel", 10, 10, {}},
                    {"d.cel", 10, 10, firm_left}},
                   device);
    CelOpacityCache cache;
    auto target = [&](int object) { return FkissTarget::Of(d.Object(object)); };
    EXPECT_EQ(PixelOverlap(target(0), target(1), 0, cache), !sixteen);
    EXPECT_TRUE(PixelOverlap(target(3), target(2), 0, cache));
    EXPECT_TRUE(BoxOverlap(target(0), target(1), 0));
    EXPECT_TRUE(IsOpaque(*d.Cel("a.cel")->cel, 9, 0));
  }
}

}  // namespace
}  // namespace luma
