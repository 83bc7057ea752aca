#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/doll/kiss_cnf_doc.h"
#include "core/fkiss/fkiss_param.h"
#include "core/fkiss/fkiss_script.h"
#include "core/gfx/software_device.h"
#include "core/pools/value_pool.h"
#include "core/testing/doll_builder.h"
#include "core/testing/fake_host.h"
#include "core/testing/test_paths.h"

namespace luma {
namespace {

namespace fs = std::filesystem;

using testing::ReadFile;
using testing::TestCel;
using testing::TestDollArchive;
using testing::WriteFile;

// What a doll's script reaches outside the doll: its sound and music files
// and its value pools.
class DocScriptFilesTest : public ::testing::Test {
 protected:
  DocScriptFilesTest() {
    host_.set_temp_folder(temp_.str());
    host_.set_data_folder(data_.str());
  }
  std::unique_ptr<CKissCnfDoc> NewDoc() {
    return std::make_unique<CKissCnfDoc>(host_, device_, settings_);
  }
  std::vector<std::string> TempFiles() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(temp_.path())) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }
  const ExternalFile* External(CKissCnfDoc& doc, std::string_view name) {
    const int index = doc.model().FindExternalFile(name, false);
    return index < 0 ? nullptr : &doc.model().external_files[static_cast<size_t>(index)];
  }
  int32_t SaveAndLoad(CKissCnfDoc& doc, const char* id, int32_t saved) {
    FkissScript& script = *doc.fkiss();
    const auto& ids = script.value_ids();
    const int index = static_cast<int>(std::find(ids.begin(), ids.end(), id) - ids.begin());
    if (saved != 0) doc.value_pools()->Save(kPrivatePool, index, saved);
    int32_t value = 0;
    doc.value_pools()->Load(kPrivatePool, index, &value);
    return value;
  }

  testing::TempDir dir_;
  testing::TempDir temp_;
  testing::TempDir data_;
  FakeHost host_;
  Settings settings_;
  SoftwareDevice device_;
};

TEST_F(DocScriptFilesTest, ArchivedSoundsBecomeOneTemporaryCopyEach) {
  const std::string cnf =
      "#0 a.cel\n$0 0,0\n"
      ";@EventHandler\n"
      ";@initialize() sound(\"Bell.wav\") music(\"tune.MID\") sound(\"x.au\")\n"
      ";@press(#0) sound(\"BELL.WAV\") sound(\"gone.wav\") sound(\"noext\")\n";
  auto doc = NewDoc();
  ASSERT_TRUE(doc->LoadArchiveImage("d.lzh",
                                    TestDollArchive({{"d.cnf", cnf},
                                                     {"a.cel", TestCel(4, 4, 32)},
                                                     {"sounds/bell.wav", "RIFF-bell"},
                                                     {"tune.mid", "MThd-tune"},
                                                     {"x.au", "snd"},
                                                     {"noext", "raw"}}),
                                    false));
  // The file named twice is one entry with one copy, under its own extension.
  ASSERT_EQ(doc->model().external_files.size(), 5u);
  const ExternalFile* bell = External(*doc, "bell.wav");
  ASSERT_NE(bell, nullptr);
  EXPECT_TRUE(bell->available && bell->temporary);
  EXPECT_EQ(fs::path(bell->path).extension(), ".wav");
  EXPECT_EQ(ReadFile(bell->path), "RIFF-bell");
  EXPECT_EQ(ReadFile(External(*doc, "tune.mid")->path), "MThd-tune");
  // Names of four characters or fewer are never matched in an archive.
  EXPECT_FALSE(External(*doc, "x.au")->available);
  EXPECT_FALSE(External(*doc, "gone.wav")->available);
  EXPECT_FALSE(External(*doc, "noext")->available);
  const std::vector<std::string>& errors = doc->model().report.errors();
  EXPECT_NE(std::find(errors.begin(), errors.end(), "x.au is not present in LZH"), errors.end());
  EXPECT_NE(std::find(errors.begin(), errors.end(), "gone.wav is not present in LZH"),
            errors.end());
  const std::vector<std::string>& warnings = doc->model().report.warnings();
  EXPECT_NE(
      std::find(warnings.begin(), warnings.end(), "FKiSS: Unable to determine file type of noext"),
      warnings.end());
  EXPECT_TRUE(host_.Logged("status: Processing 5 External files..."));
  // Two sound copies and the CNF's; all go with the doll.
  EXPECT_EQ(TempFiles().size(), 3u);
  doc->Close();
  EXPECT_TRUE(TempFiles().empty());
}

TEST_F(DocScriptFilesTest, DollsOfOneNameKeepTheirValuesApartAndFollowAMove) {
  const std::string cnf =
      "#0 a.cel\n$0 0,0\n;@EventHandler\n;@initialize() savevalue(\"best\", 1)\n";
  const auto make_doll = [&](const fs::path& folder, const std::string& text) {
    fs::create_directories(folder);
    WriteFile(folder / "doll.cnf", text);
    WriteFile(folder / "a.cel", TestCel(4, 4, 32));
    auto doc = NewDoc();
    EXPECT_TRUE(doc->OpenDoll((folder / "doll.cnf").string()));
    return doc;
  };
  const fs::path pool = data_ / "pooldata" / "~doll~cnf.pool";
  const fs::path numbered = data_ / "pooldata" / "~doll~cnf-0.pool";

  auto first = make_doll(dir_ / "one", cnf);
  EXPECT_EQ(first->value_pools()->identity().name, (dir_ / "one" / "doll.cnf").string());
  EXPECT_EQ(SaveAndLoad(*first, "best", 42), 42);
  first->Close();

  // A doll of the same file name elsewhere, with other text, has its own pool.
  auto other = make_doll(dir_ / "two", cnf + "; another doll\n");
  EXPECT_EQ(SaveAndLoad(*other, "best", 0), 0);
  EXPECT_EQ(SaveAndLoad(*other, "best", 7), 7);
  EXPECT_EQ(other->value_pools()->FindPrivatePool(), numbered.string());
  other->Close();

  // The first doll moved to another folder finds its pool by its text, and
  // the pool now stores the new path.
  fs::remove_all(dir_ / "one");
  auto moved = make_doll(dir_ / "moved", cnf);
  moved->value_pools()->Reset();
  EXPECT_EQ(
      ValuePool(host_.Files(), pool.string(), moved->value_pools()->identity()).ReadHeader()->name,
      (dir_ / "moved" / "doll.cnf").string());
  EXPECT_EQ(SaveAndLoad(*moved, "best", 0), 42);
  auto again = make_doll(dir_ / "two", cnf + "; another doll\n");
  EXPECT_EQ(SaveAndLoad(*again, "best", 0), 7);
}

TEST_F(DocScriptFilesTest, AnArchivedDollIsKnownByItsArchive) {
  const std::string cnf =
      "#0 a.cel\n$0 0,0\n;@EventHandler\n;@initialize() savevalue(\"best\", 1)\n";
  auto doc = NewDoc();
  ASSERT_TRUE(doc->LoadArchiveImage(
      (dir_ / "Set 1.LZH").string(),
      TestDollArchive({{"Doll.cnf", cnf}, {"a.cel", TestCel(4, 4, 32)}}), false));
  ASSERT_NE(doc->value_pools(), nullptr);
  EXPECT_EQ(doc->value_pools()->identity().name, (dir_ / "Set 1.LZH").string());
  EXPECT_EQ(doc->value_pools()->identity().size, cnf.size() - 4);  // line ends not counted
  EXPECT_EQ(doc->value_pools()->FindPrivatePool(),
            (data_ / "pooldata" / "~set~1~lzh~doll~cnf.pool").string());
}

// A real doll's sound script, packed with sounds made here.
TEST_F(DocScriptFilesTest, CorpusSoundDollPlaysFromOneCopyPerFile) {
  LUMA_REQUIRE_CORPUS();
  const std::string cnf = ReadFile(testing::CorpusDir() / "cnf" / "fkisswav.cnf");
  ASSERT_FALSE(cnf.empty());
  auto doc = NewDoc();
  ASSERT_TRUE(doc->LoadArchiveImage("fkisswav.lzh",
                                    TestDollArchive({{"fkisswav.cnf", cnf},
                                                     {"splash.wav", "RIFF-splash"},
                                                     {"DRIP.WAV", "RIFF-drip"},
                                                     {"grunt2.wav", "RIFF-grunt"}}),
                                    false));
  ASSERT_NE(doc->fkiss(), nullptr);
  ASSERT_EQ(doc->model().external_files.size(), 3u);
  for (const ExternalFile& file : doc->model().external_files) {
    EXPECT_TRUE(file.available && file.temporary) << file.name;
  }
  EXPECT_EQ(ReadFile(External(*doc, "SPLASH.WAV")->path), "RIFF-splash");
  EXPECT_EQ(TempFiles().size(), 4u);
  doc->Close();
  EXPECT_TRUE(TempFiles().empty());
}

}  // namespace
}  // namespace luma
