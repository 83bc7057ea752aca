#include "web/web_files.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/host/file_io.h"
#include "core/testing/doll_builder.h"
#include "web/opened_web_doll.h"

namespace luma::web {
namespace {

TEST(WebFilesTest, ADollWithACelInASubfolderOpensFromTheEngineSeam) {
  WebFiles web;
  const std::string folder = web.NewDollFolder();
  ASSERT_TRUE(web.AddFile(folder, "doll.cnf",
                          Bytes("(40,40)\n%pal.kcf\n#0 Parts\\Body.cel\n"
                                "$0 0,0\n"))
                  .ok());
  ASSERT_TRUE(web.AddFile(folder, "pal.kcf", Bytes(testing::TestKcf(16))).ok());
  ASSERT_TRUE(web.AddFile(folder, "Parts/Body.cel", Bytes(testing::TestCel(20, 30, 4))).ok());
  ASSERT_TRUE(web.AddFile(folder, "readme.txt", Bytes("hello")).ok());
  ASSERT_TRUE(web.AddFile(folder, "Parts/other.cnf", Bytes("#0 x.cel\n")).ok());
  // The doll folder's own archives come before its CNFs; subfolders are no candidates.
  ASSERT_TRUE(web.AddFile(folder, "b.LZH", Bytes("not really")).ok());
  EXPECT_EQ(web.DollCandidates(folder),
            (std::vector<std::string>{folder + "/b.LZH", folder + "/doll.cnf"}));

  const OpenedWebDoll doll = OpenWebDoll(web, folder + "/doll.cnf");
  ASSERT_TRUE(doll.opened);
  EXPECT_EQ(doll.errors, "");
  EXPECT_EQ(doll.cels, 1u);
}

TEST(WebFilesTest, NamesThatWouldLeaveTheDollFolderAreRefused) {
  WebFiles web;
  const std::string folder = web.NewDollFolder();
  for (std::string_view name :
       {"../../data/pool.dat", "/data/pool.dat", "a/../../x", "", "a//b", "./x", "sub/"}) {
    EXPECT_FALSE(web.AddFile(folder, name, Bytes("x")).ok()) << name;
  }
  EXPECT_TRUE(web.DataChanges().empty());
  EXPECT_TRUE(web.files().ListFolder(folder)->empty());
}

TEST(WebFilesTest, DataFolderChangesAreReportedOnceEach) {
  WebFiles web;
  ASSERT_TRUE(web.RestoreDataFile("pools/a.dat", Bytes("1")).ok());
  ASSERT_TRUE(web.RestoreDataFile("b.dat", Bytes("2")).ok());
  EXPECT_FALSE(web.RestoreDataFile("../dolls/x", Bytes("3")).ok());
  EXPECT_TRUE(web.DataChanges().empty()) << "restored files are known already";

  FileSystem& files = web.files();
  ASSERT_TRUE(ReplaceFile(files, "/data/pools/a.dat", Bytes("11")).ok());
  ASSERT_TRUE(files.Remove("/data/b.dat").ok());
  ASSERT_TRUE(ReplaceFile(files, "/data/pools/c.dat", Bytes("3")).ok());
  std::vector<DataFileChange> changes = web.DataChanges();
  ASSERT_EQ(changes.size(), 3u);
  EXPECT_EQ(changes[0].name, "pools/a.dat");
  EXPECT_EQ(std::string(changes[0].bytes.begin(), changes[0].bytes.end()), "11");
  EXPECT_EQ(changes[1].name, "pools/c.dat");
  EXPECT_EQ(changes[2].name, "b.dat");
  EXPECT_TRUE(changes[2].removed);
  EXPECT_TRUE(web.DataChanges().empty());
}

TEST(WebFilesTest, OpeningAnotherDollForgetsTheFilesOfTheOthers) {
  WebFiles web;
  const std::string first = web.NewDollFolder();
  const std::string second = web.NewDollFolder();
  ASSERT_NE(first, second);
  ASSERT_TRUE(web.AddFile(first, "sub/a.cel", Bytes("aaaa")).ok());
  ASSERT_TRUE(web.AddFile(second, "b.cel", Bytes("bb")).ok());
  ASSERT_TRUE(web.RestoreDataFile("kept.dat", Bytes("1")).ok());
  web.ForgetDollsExcept(second + "/b.cel");
  EXPECT_FALSE(web.Read(first + "/sub/a.cel").ok());
  EXPECT_TRUE(web.Read(second + "/b.cel").ok());
  EXPECT_TRUE(web.Read("/data/kept.dat").ok());
}

}  // namespace
}  // namespace luma::web
