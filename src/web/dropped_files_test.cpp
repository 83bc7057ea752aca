#include "web/dropped_files.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/testing/doll_builder.h"
#include "web/opened_web_doll.h"

namespace luma::web {
namespace {

// "ミラの服.cel" and "表.cel" in Shift-JIS (the second byte of 表 is a
// backslash) and in UTF-8, as the browser names dropped files.
const std::string kMiraSjis = "\x83\x7e\x83\x89\x82\xcc\x95\x9e.cel";
const std::string kMiraUtf8 = "\xe3\x83\x9f\xe3\x83\xa9\xe3\x81\xae\xe6\x9c\x8d.cel";
const std::string kHyouSjis = "\x95\x5c.cel";
const std::string kHyouUtf8 = "\xe8\xa1\xa8.cel";

TEST(DroppedFilesTest, UnicodeAndFlatNamesServeWhatTheCnfNames) {
  const std::string cnf = "(448,320)\r\n%BODY.KCF\r\n#0 parts\\Body.cel *0\r\n#1 " + kMiraSjis +
                          " *0\r\n#2 " + kHyouSjis +
                          " *0\r\n#3 gone.cel *0\r\n#4 a.cel *0\r\n#5 sub\\a.cel *0\r\n"
                          "#6 deep\\x.cel *0\r\n$0 0,0\r\n";
  const std::vector<std::string> dropped = {"japan.cnf", "body.kcf", "Body.cel", kMiraUtf8,
                                            kHyouUtf8,   "A.CEL",    "X.cel",    "x.cel"};
  const std::vector<DroppedCopy> copies =
      MatchDroppedFiles(FilesNamedBy(Bytes(cnf), TextEncoding::kAutomatic), dropped);
  // BODY.KCF and a.cel are found as dropped, ignoring case; gone.cel was
  // never dropped; of X.cel and x.cel the one of the same case serves.
  EXPECT_EQ(copies, (std::vector<DroppedCopy>{{"Body.cel", "parts/Body.cel"},
                                              {kMiraUtf8, kMiraSjis},
                                              {kHyouUtf8, kHyouSjis},
                                              {"A.CEL", "sub/a.cel"},
                                              {"x.cel", "deep/x.cel"}}));
}

TEST(DroppedFilesTest, ADropOpensWithoutMissingFilesAndIsPlacedOnce) {
  WebFiles web;
  const std::string folder = web.NewDollFolder();
  const std::string cel = testing::TestCel(20, 30, 4);
  ASSERT_TRUE(web.AddFile(folder, "japan.cnf",
                          Bytes("(40,40)\n%pal.kcf\n#0 Parts\\Body.cel\n#1 " + kMiraSjis + "\n#2 " +
                                kHyouSjis + "\n$0 0,0 5,5 9,9\n"))
                  .ok());
  ASSERT_TRUE(web.AddFile(folder, "PAL.KCF", Bytes(testing::TestKcf(16))).ok());
  for (const std::string& name : {std::string("body.cel"), kMiraUtf8, kHyouUtf8}) {
    ASSERT_TRUE(web.AddFile(folder, name, Bytes(cel)).ok());
  }
  EXPECT_EQ(PlaceDroppedFiles(web, folder, TextEncoding::kAutomatic), 3);
  EXPECT_EQ(PlaceDroppedFiles(web, folder, TextEncoding::kAutomatic), 0);

  const OpenedWebDoll doll = OpenWebDoll(web, folder + "/japan.cnf");
  ASSERT_TRUE(doll.opened);
  EXPECT_EQ(doll.errors, "");
  EXPECT_EQ(doll.cels, 3u);
}

}  // namespace
}  // namespace luma::web
