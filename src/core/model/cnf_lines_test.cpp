#include "core/model/cnf_lines.h"

#include <gtest/gtest.h>

#include <string>

namespace luma {
namespace {

TEST(CnfLinesTest, DiskTextEndsLinesAtLfAndCutsLongLines) {
  EXPECT_EQ(SplitDiskCnfText("a\r\n\nb\rc\nlast"), (CnfLines{"a", "", "b\rc", "last"}));
  EXPECT_EQ(SplitDiskCnfText("a\n"), (CnfLines{"a"}));
  EXPECT_TRUE(SplitDiskCnfText("").empty());

  const std::string exact(kMaxDiskLineLength, 'x');
  EXPECT_EQ(SplitDiskCnfText(exact + "\nz"), (CnfLines{exact, "z"}));
  const CnfLines split = SplitDiskCnfText(exact + "yy\n");
  EXPECT_EQ(split, (CnfLines{exact, "yy"}));
}

TEST(CnfLinesTest, ArchiveTextTreatsCrAndLfAndDropsControlBytes) {
  EXPECT_EQ(SplitArchiveCnfText("a\r\nb\rc\n\nd  \t\r\ne"),
            (CnfLines{"a", "b", "c", "", "d", "e"}));
  EXPECT_EQ(SplitArchiveCnfText("x\x01y\x1az\tw\xe4\n"), (CnfLines{"xyz\tw\xe4"}));
  EXPECT_EQ(SplitArchiveCnfText("a\n\n"), (CnfLines{"a", ""}));
}

}  // namespace
}  // namespace luma
