#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/archive/lzh_archive.h"
#include "core/host/posix_file_system.h"
#include "core/testing/run_program.h"
#include "core/testing/sample_data.h"
#include "core/testing/test_paths.h"

namespace luma {
namespace {

using testing::ProgramResult;

ProgramResult Create(std::vector<std::string> args) {
  args.insert(args.begin(), {"archive", "create"});
  return testing::RunProgram(LUMA_TOOL_PATH, args);
}

bool HaveLha() { return std::system("command -v lha >/dev/null 2>&1") == 0; }

std::string AsString(const std::vector<uint8_t>& b) { return std::string(b.begin(), b.end()); }

// A small doll's files in a folder of their own.
struct DollFiles {
  explicit DollFiles(const testing::TempDir& dir) : folder(dir / "doll") {
    std::filesystem::create_directory(folder);
    files = {{"doll.cnf", AsString(testing::SampleText(20000, 1))},
             {"body.cel", std::string(3000, '\0') + "KiSS"},
             {"noise.wav", AsString(testing::RandomBytes(5000, 2))},
             {"empty.txt", ""}};
    for (const auto& [name, content] : files) testing::WriteFile(folder / name, content);
  }
  std::vector<std::string> paths() const {
    std::vector<std::string> out;
    for (const auto& f : files) out.push_back((folder / f.first).string());
    return out;
  }
  std::filesystem::path folder;
  std::vector<std::pair<std::string, std::string>> files;
};

TEST(ArchiveCreateTest, StoresEachFileUnderItsNameAndReadsBack) {
  PosixFileSystem disk;
  testing::TempDir dir;
  const DollFiles doll(dir);
  const std::string out = (dir / "doll.lzh").string();
  std::vector<std::string> args = {out};
  for (const std::string& p : doll.paths()) args.push_back(p);
  const ProgramResult r = Create(args);
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out, out + " has been created.\n");

  LzhArchive archive;
  ASSERT_TRUE(archive.Open(disk, out).ok());
  ASSERT_EQ(archive.index().size(), doll.files.size());
  for (size_t i = 0; i < doll.files.size(); ++i) {
    const auto& [name, content] = doll.files[i];
    EXPECT_EQ(archive.index()[i].name, name);
    if (content.empty()) continue;
    const Result<std::vector<uint8_t>> back = archive.ExtractToMemory(name);
    ASSERT_TRUE(back.ok()) << name;
    EXPECT_EQ(AsString(*back), content) << name;
  }
}

// Other LZH programs must accept what we write.
TEST(ArchiveCreateTest, LhaAcceptsTheArchive) {
  if (!HaveLha()) GTEST_SKIP() << "lha (package lhasa) is not installed";
  testing::TempDir dir;
  const DollFiles doll(dir);
  std::vector<std::string> args = {(dir / "doll.lzh").string()};
  for (const std::string& p : doll.paths()) args.push_back(p);
  ASSERT_EQ(Create(args).exit_code, 0);
  std::filesystem::create_directory(dir / "x");
  const std::string in_dir = "cd '" + (dir / "x").string() + "' && ";
  EXPECT_EQ(std::system((in_dir + "lha tq ../doll.lzh").c_str()), 0);
  ASSERT_EQ(std::system((in_dir + "lha xq ../doll.lzh").c_str()), 0);
  for (const auto& [name, content] : doll.files) {
    EXPECT_EQ(testing::ReadFile(dir / "x" / name), content) << name;
  }
}

TEST(ArchiveCreateTest, SkipsFilesItCannotAddButWritesTheRest) {
  PosixFileSystem disk;
  testing::TempDir dir;
  const std::string long_name = std::string(67, 'l') + ".cel";
  testing::WriteFile(dir / long_name, "long");
  testing::WriteFile(dir / "ok.cel", "fine");
  const std::string out = (dir / "out.lzh").string();
  const ProgramResult r = Create(
      {out, (dir / long_name).string(), (dir / "missing.cel").string(), (dir / "ok.cel").string()});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err.find(long_name), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("missing.cel"), std::string::npos) << r.err;
  LzhArchive archive;
  ASSERT_TRUE(archive.Open(disk, out).ok());
  ASSERT_EQ(archive.index().size(), 1u);
  EXPECT_EQ(archive.index()[0].name, "ok.cel");
}

TEST(ArchiveCreateTest, FailuresLeaveAnExistingArchiveAlone) {
  testing::TempDir dir;
  testing::WriteFile(dir / "old.lzh", "old archive");
  testing::WriteFile(dir / "a.cel", "a");
  // Nothing that can go in: the old archive stays.
  EXPECT_EQ(Create({(dir / "old.lzh").string(), (dir / "none.cel").string()}).exit_code, 1);
  EXPECT_EQ(testing::ReadFile(dir / "old.lzh"), "old archive");
  const ProgramResult r = Create({(dir / "no" / "x.lzh").string(), (dir / "a.cel").string()});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err.find("x.lzh"), std::string::npos) << r.err;
  EXPECT_EQ(Create({(dir / "x.lzh").string()}).exit_code, 2);
}

}  // namespace
}  // namespace luma
