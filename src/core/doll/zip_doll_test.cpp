#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/doll/kiss_cnf_doc.h"
#include "core/gfx/software_device.h"
#include "core/testing/doll_builder.h"
#include "core/testing/fake_host.h"
#include "core/testing/lzh_builder.h"
#include "core/testing/test_paths.h"
#include "core/testing/zip_builder.h"

namespace luma {
namespace {

namespace fs = std::filesystem;

using testing::ReadFile;
using testing::TestCel;
using testing::TestKcf;
using testing::ZipMember;
using testing::ZipTestArchive;
using testing::ZipTestMember;

// Dolls packed as ZIP files go through the same pipeline as LZH dolls.
class ZipDollTest : public ::testing::Test {
 protected:
  ZipDollTest() {
    host_.set_temp_folder(temp_.str());
    host_.set_data_folder(data_.str());
    device_.mutable_flags().paletted_textures = false;
  }
  std::unique_ptr<CKissCnfDoc> NewDoc() {
    return std::make_unique<CKissCnfDoc>(host_, device_, settings_);
  }
  std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) {
    testing::WriteFile(dir_ / name,
                       std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    return (dir_ / name).string();
  }
  std::vector<std::string> TempFiles() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(temp_.path())) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }

  testing::TempDir dir_;
  testing::TempDir temp_;
  testing::TempDir data_;
  FakeHost host_;
  Settings settings_;
  SoftwareDevice device_;
};

// The files of a small doll with two CNFs, documentation and a sound.
std::vector<std::pair<std::string, std::string>> DollFiles() {
  return {{"doll.cnf",
           "%pal.kcf\n#0 body.cel\n#1 shirt.cel *0\n#1 shirt.cel :2\n$0 0,0 0,0\n"
           ";@EventHandler\n;@initialize() sound(\"Bell.wav\")\n"},
          {"other.cnf", "%pal.kcf\n#0 body.cel\n$0 0,0\n"},
          {"pal.kcf", TestKcf(16)},
          {"body.cel", TestCel(20, 30, 4)},
          {"shirt.cel", TestCel(8, 8, 4, 3)},
          {"bell.wav", "RIFF-bell"},
          {"readme.txt", "Read me first"}};
}

TEST_F(ZipDollTest, AZipDollLoadsLikeTheSameDollFromLzh) {
  std::vector<ZipTestMember> members{ZipMember("doll/", "")};
  for (const auto& [name, content] : DollFiles()) {
    members.push_back(ZipMember("doll/" + name, content));
  }
  const std::string zip_path = Write("pack.zip", ZipTestArchive(members));
  const std::string lzh_path = Write("pack.lzh", testing::TestDollArchive(DollFiles()));

  host_.QueueChoice(0);
  auto lzh = NewDoc();
  ASSERT_TRUE(lzh->OpenDoll(lzh_path));
  host_.QueueChoice(0);
  auto zip = NewDoc();
  ASSERT_TRUE(zip->OpenDoll(zip_path));
  EXPECT_TRUE(host_.Logged("choose: Select CNF: doll/doll.cnf doll/other.cnf"));
  EXPECT_TRUE(zip->is_archive());
  EXPECT_EQ(zip->title(), "pack.zip (doll.cnf)");
  EXPECT_EQ(zip->cnf_member(), "doll/doll.cnf");
  for (CKissCnfDoc* doc : {lzh.get(), zip.get()}) {
    const DollModel& doll = doc->model();
    EXPECT_EQ(doll.instances().size(), 3u);
    EXPECT_EQ(doll.cel_counts.color16, 2);
    EXPECT_EQ(doll.kcf_counts.color16, 1);
    EXPECT_EQ(doll.report.errors(), std::vector<std::string>{});
    EXPECT_EQ(doc->quad_count(), lzh->quad_count());
  }

  // The sound has its temporary copy, the documentation one on demand.
  const int bell = zip->model().FindExternalFile("bell.wav", false);
  ASSERT_GE(bell, 0);
  EXPECT_EQ(ReadFile(zip->model().external_files[static_cast<size_t>(bell)].path), "RIFF-bell");
  ASSERT_EQ(zip->document_files().size(), 1u);
  EXPECT_EQ(zip->document_files()[0].full_name, "doll/readme.txt");
  const Result<std::string> readme = zip->DocumentFilePath(0);
  ASSERT_TRUE(readme.ok()) << readme.status().message();
  EXPECT_EQ(ReadFile(*readme), "Read me first");

  // Reload takes the same CNF and rereads nothing unchanged; Open other CNF
  // asks again.
  host_.ClearLog();
  ASSERT_TRUE(zip->ReloadCnf());
  EXPECT_FALSE(host_.Logged("choose:"));
  EXPECT_EQ(zip->cels_read(), 0);
  EXPECT_EQ(zip->model().instances().size(), 3u);
  host_.QueueChoice(1);
  ASSERT_TRUE(zip->OpenOtherCnf(zip_path));
  EXPECT_EQ(zip->title(), "pack.zip (other.cnf)");
  EXPECT_EQ(zip->model().instances().size(), 1u);

  zip->Close();
  lzh->Close();
  EXPECT_TRUE(TempFiles().empty());
}

TEST_F(ZipDollTest, AnExpansionCanComeFromAZip) {
  const std::string base = Write(
      "base.zip",
      ZipTestArchive({ZipMember("a.cnf", "#0 a.cel\n"), ZipMember("a.cel", TestCel(4, 4, 32))}));
  const std::string more =
      Write("more.ZIP", ZipTestArchive({ZipMember("b.cnf", "#0 a.cel\n#1 b.cel\n"),
                                        ZipMember("a.cel", TestCel(4, 4, 32)),
                                        ZipMember("b.cel", TestCel(6, 6, 32), false)}));
  auto doc = NewDoc();
  ASSERT_TRUE(doc->OpenDoll(base));
  ASSERT_TRUE(doc->OpenExpansion(more));
  EXPECT_EQ(doc->title(), "more.ZIP");
  EXPECT_EQ(doc->model().instances().size(), 2u);
  EXPECT_EQ(doc->model().FindCel("b.cel", 0)->width, 6);
}

TEST_F(ZipDollTest, MembersThatCannotBeReadAreReportedWithTheReasonAndTheDollStillLoads) {
  ZipTestMember secret = ZipMember("secret.cel", TestCel(4, 4, 32));
  secret.encrypted = true;
  ZipTestMember huge = ZipMember("huge.cel", TestCel(4, 4, 32));
  huge.declared_size = uint64_t{1} << 32;
  huge.zip64 = true;
  // A few kilobytes of zeros that claim to be a small cel: a bomb by ratio.
  ZipTestMember bomb = ZipMember("bomb.cel", std::string(1 << 20, '\0'));
  bomb.declared_size = 40;
  const std::string path =
      Write("bad.zip",
            ZipTestArchive(
                {ZipMember("d.cnf",
                           "#0 fine.cel\n#1 secret.cel\n#2 huge.cel\n#3 bomb.cel\n#4 gone.cel\n"
                           ";@EventHandler\n;@initialize() sound(\"shh.wav\") sound(\"no.wav\")\n"),
                 ZipMember("fine.cel", TestCel(4, 4, 32)), secret, huge, bomb, [] {
                   ZipTestMember shh = ZipMember("shh.wav", "RIFF");
                   shh.encrypted = true;
                   return shh;
                 }()}));
  auto doc = NewDoc();
  ASSERT_TRUE(doc->OpenDoll(path));
  const std::vector<std::string> errors = doc->model().report.errors();
  // Cels are read from the largest to the smallest.
  EXPECT_EQ(errors,
            (std::vector<std::string>{
                "huge.cel: too large for a doll (4294967296 bytes unpacked; at most 256 MiB)",
                "secret.cel: encrypted; Lumadoll does not read encrypted ZIP members",
                "bomb.cel: damaged data (unpacks to more than the size it declares)",
                "gone.cel is not present in ZIP",
                "FKiSS: Unable to extract shh.wav from ZIP: encrypted; Lumadoll does not "
                "read encrypted ZIP members",
                "no.wav is not present in ZIP"}));
  EXPECT_EQ(doc->model().instances().size(), 1u);
}

// A member above the doll size limit is named as too large whichever
// archive holds it; a damaged LZH member keeps the classic wording.
TEST_F(ZipDollTest, AMemberTooLargeForADollSaysSoInLzhAsInZip) {
  const std::string cnf =
      "#0 fine.cel\n#1 huge.cel\n#2 bad.cel\n"
      ";@EventHandler\n;@initialize() sound(\"huge.wav\")\n";
  constexpr uint32_t kHuge = 300u << 20;
  std::vector<std::vector<uint8_t>> lzh_members;
  for (const auto& [name, content] : std::vector<std::pair<std::string, std::string>>{
           {"d.cnf", cnf}, {"fine.cel", TestCel(4, 4, 32)}, {"huge.cel", "x"}, {"huge.wav", "x"}}) {
    testing::LzhTestMember member = testing::StoredTestMember(name, content);
    if (name.starts_with("huge")) member.unpacked_size = kHuge;
    lzh_members.push_back(testing::LzhTestMemberBytes(member, 1));
  }
  testing::LzhTestMember bad = testing::StoredTestMember("bad.cel", TestCel(4, 4, 32));
  bad.crc ^= 0x1234;
  lzh_members.push_back(testing::LzhTestMemberBytes(bad, 1));

  std::vector<ZipTestMember> zip_members{ZipMember("d.cnf", cnf),
                                         ZipMember("fine.cel", TestCel(4, 4, 32))};
  for (const char* name : {"huge.cel", "huge.wav"}) {
    ZipTestMember member = ZipMember(name, "x");
    member.declared_size = kHuge;
    zip_members.push_back(member);
  }

  const std::string too_large = "too large for a doll (314572800 bytes unpacked; at most 256 MiB)";
  auto lzh = NewDoc();
  ASSERT_TRUE(lzh->OpenDoll(Write("big.lzh", testing::LzhTestArchive(lzh_members))));
  EXPECT_EQ(lzh->model().report.errors(),
            (std::vector<std::string>{"huge.cel: " + too_large, "bad.cel is not present in LZH",
                                      "FKiSS: Unable to extract huge.wav from LZH: " + too_large}));
  auto zip = NewDoc();
  ASSERT_TRUE(zip->OpenDoll(Write("big.zip", ZipTestArchive(zip_members))));
  EXPECT_EQ(zip->model().report.errors(),
            (std::vector<std::string>{"huge.cel: " + too_large, "bad.cel is not present in ZIP",
                                      "FKiSS: Unable to extract huge.wav from ZIP: " + too_large}));
}

TEST_F(ZipDollTest, ZipFilesThatCannotBeOpenedSayWhy) {
  auto doc = NewDoc();
  const std::string junk = Write("junk.zip", {'n', 'o', 't', ' ', 'z', 'i', 'p'});
  EXPECT_FALSE(doc->OpenDoll(junk));
  EXPECT_EQ(host_.messages().back().text, "Unable to open\n" + junk + "\nIt is not a ZIP archive.");

  std::vector<uint8_t> whole = ZipTestArchive({ZipMember("d.cnf", "#0 a.cel\n")});
  const std::string cut = Write("cut.zip", {whole.begin(), whole.begin() + 40});
  EXPECT_FALSE(doc->OpenDoll(cut));
  EXPECT_EQ(host_.messages().back().text,
            "Unable to open\n" + cut +
                "\nThe ZIP archive is damaged or cut off: the directory at its end is missing.");

  ZipTestMember locked = ZipMember("d.cnf", "#0 a.cel\n");
  locked.encrypted = true;
  EXPECT_FALSE(doc->OpenDoll(Write("locked.zip", ZipTestArchive({locked}))));
  EXPECT_EQ(host_.messages().back().text,
            "Unable to extract d.cnf\nencrypted; Lumadoll does not read encrypted ZIP members");

  EXPECT_FALSE(doc->OpenDoll(Write("nocnf.zip", ZipTestArchive({ZipMember("a.cel", "x")}))));
  EXPECT_EQ(host_.messages().back().text,
            "nocnf.zip does not contain a CNF file.\nMight not be KiSS data.");
}

}  // namespace
}  // namespace luma
