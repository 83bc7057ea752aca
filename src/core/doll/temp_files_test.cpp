#include "core/doll/temp_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "core/testing/fake_host.h"
#include "core/testing/test_paths.h"

namespace luma {
namespace {

namespace fs = std::filesystem;

std::span<const uint8_t> Bytes(std::string_view s) {
  return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

class TempFilesTest : public ::testing::Test {
 protected:
  TempFilesTest() { host_.set_temp_folder(dir_.str()); }
  testing::TempDir dir_;
  FakeHost host_;
};

TEST_F(TempFilesTest, TakesTheFirstFreeNameForTheExtension) {
  testing::WriteFile(dir_ / "LMD00000.CNF", "older");
  testing::WriteFile(dir_ / "LMD00001.WAV", "other extension");
  Result<std::string> cnf = WriteTempCopy(host_, Bytes("#1 a.cel\n"), "CNF");
  ASSERT_TRUE(cnf.ok());
  EXPECT_EQ(*cnf, (dir_ / "LMD00001.CNF").string());
  EXPECT_EQ(testing::ReadFile(*cnf), "#1 a.cel\n");
  EXPECT_EQ(testing::ReadFile(dir_ / "LMD00000.CNF"), "older");

  Result<std::string> wav = WriteTempCopy(host_, Bytes("RIFF"), "wav");
  ASSERT_TRUE(wav.ok());
  EXPECT_EQ(*wav, (dir_ / "LMD00000.wav").string());
  DeleteTempFile(host_.Files(), *wav);
  DeleteTempFile(host_.Files(), *wav);  // already gone: silent
  EXPECT_FALSE(fs::exists(*wav));
}

TEST_F(TempFilesTest, NeverWritesThroughAPlantedLink) {
  testing::WriteFile(dir_ / "victim", "keep");
  fs::create_symlink(dir_ / "victim", dir_ / "LMD00000.CNF");
  Result<std::string> copy = WriteTempCopy(host_, Bytes("x"), "CNF");
  ASSERT_TRUE(copy.ok());
  EXPECT_EQ(*copy, (dir_ / "LMD00001.CNF").string());
  EXPECT_EQ(testing::ReadFile(dir_ / "victim"), "keep");
}

TEST_F(TempFilesTest, FailsQuietlyWhenNoFileCanBeMadeThere) {
  // An extension taken from a script's file name never leads out of the folder.
  fs::create_directory(dir_ / "LMD00000.w");
  EXPECT_FALSE(WriteTempCopy(host_, Bytes("x"), "w/../../luma-escaped-copy").ok());
  EXPECT_FALSE(fs::exists(dir_.path().parent_path() / "luma-escaped-copy"));
  EXPECT_TRUE(fs::is_empty(dir_ / "LMD00000.w"));
  host_.set_temp_folder((dir_ / "missing").string());
  EXPECT_FALSE(WriteTempCopy(host_, Bytes("x"), "CNF").ok());
  EXPECT_TRUE(host_.messages().empty());
}

TEST_F(TempFilesTest, AllNamesTakenTellsTheUser) {
  // The real count is 100,000; three stand in for it.
  for (int i = 0; i < 3; ++i) testing::WriteFile(TempFileName(dir_.str(), i, "CNF"), "");
  EXPECT_FALSE(WriteTempCopy(host_, Bytes("x"), "CNF", 3).ok());
  ASSERT_EQ(host_.messages().size(), 1u);
  EXPECT_EQ(host_.messages()[0].caption, "File Extraction Error");
  EXPECT_EQ(host_.messages()[0].text,
            "Tried 99,999 different filenames but couldn't find one that wasn't already used.\n"
            "Please clean out your Windows TEMP folder.");
  EXPECT_EQ(host_.messages()[0].icon, MessageIcon::kWarning);
  EXPECT_EQ(TempFileName("/tmp", 99999, "CNF"), "/tmp/LMD99999.CNF");
}

TEST_F(TempFilesTest, CleansOnlyStaleTemporaryFiles) {
  const std::time_t now = 2'000'000'000;
  auto make = [&](const std::string& name, int days_old) {
    testing::WriteFile(dir_ / name, "x");
    const std::time_t t = now - days_old * 24 * 60 * 60;
    struct utimbuf times = {t, t};
    ::utime((dir_ / name).c_str(), &times);
  };
  make("LMD00000.CNF", 8);
  make("lmd00001.wav", 8);
  make("LMD00002.CNF", 6);
  make("LMD0003.CNF", 8);    // four digits: not ours
  make("LMD000004.CNF", 8);  // six digits: not ours
  make("notes.txt", 30);
  EXPECT_EQ(CleanStaleTempFiles(host_.Files(), dir_.str(), now), 2);
  std::vector<std::string> left;
  for (const auto& e : fs::directory_iterator(dir_.path())) left.push_back(e.path().filename());
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"LMD000004.CNF", "LMD00002.CNF", "LMD0003.CNF",
                                            "notes.txt"}));
}

}  // namespace
}  // namespace luma
