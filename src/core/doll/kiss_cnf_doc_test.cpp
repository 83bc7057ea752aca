#include "core/doll/kiss_cnf_doc.h"

#include <gtest/gtest.h>
#include <utime.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "core/gfx/software_device.h"
#include "core/host/file_io.h"
#include "core/host/memory_file_system.h"
#include "core/testing/doll_builder.h"
#include "core/testing/fake_host.h"
#include "core/testing/test_paths.h"

namespace luma {
namespace {

namespace fs = std::filesystem;

using testing::TestCel;
using testing::TestKcf;

std::vector<uint8_t> Archive(const std::vector<std::pair<std::string, std::string>>& files) {
  return testing::TestDollArchive(files);
}

bool Contains(const std::vector<std::string>& list, std::string_view text) {
  return std::find(list.begin(), list.end(), text) != list.end();
}

class KissCnfDocTest : public ::testing::Test {
 protected:
  KissCnfDocTest() {
    host_.set_temp_folder(temp_.str());
    settings_.closing_progress = true;
    device_.mutable_flags().paletted_textures = false;
  }

  std::unique_ptr<CKissCnfDoc> NewDoc() {
    return std::make_unique<CKissCnfDoc>(host_, device_, settings_);
  }
  void Write(const std::string& name, std::string_view bytes) {
    testing::WriteFile(dir_ / name, bytes);
  }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  std::vector<std::string> TempFiles() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(temp_.path())) names.push_back(e.path().filename());
    return names;
  }

  testing::TempDir dir_;
  testing::TempDir temp_;
  FakeHost host_;
  Settings settings_;
  SoftwareDevice device_;
};

TEST_F(KissCnfDocTest, LoadsADiskDollThroughEveryStage) {
  Write("doll.cnf",
        "(200,100)\n%pal.kcf\n#0 body.cel :0 1\n#1 shirt.cel *0\n#1 shirt.cel *0 :2\n$0\n$3 0,0\n");
  Write("pal.kcf", TestKcf(16));
  Write("BODY.CEL", TestCel(20, 30, 4));  // found whatever the case
  Write("shirt.cel", TestCel(8, 8, 8, 5));
  auto doc = NewDoc();
  ASSERT_TRUE(doc->OpenDoll(Path("doll.cnf")));
  const DollModel& doll = doc->model();
  EXPECT_FALSE(doc->loading());
  EXPECT_EQ(doc->title(), "doll.cnf");
  EXPECT_EQ(doll.instances().size(), 3u);
  EXPECT_EQ(doll.cel_counts.color16, 1);
  EXPECT_EQ(doll.cel_counts.color256, 1);
  EXPECT_EQ(doll.kcf_counts.color16, 1);
  EXPECT_EQ(doll.report.ErrorText(),
            "Doll contains 256-color CELs but no 256-color KCF palettes\n");
  EXPECT_EQ(doll.ambiguous_cels().size(), 1u);
  EXPECT_EQ(doll.ambiguous_cels()[0]->instances.size(), 2u);
  EXPECT_EQ(doc->indexed_instances(), 3);
  EXPECT_EQ(doll.sets[1].palette_group, 3);  // the set lines' groups survive loading
  EXPECT_EQ(doll.playfield, (PlayfieldSize{200, 100}));
  EXPECT_TRUE(doll.fkiss_lines.empty());  // handed over and freed
  EXPECT_EQ(host_.statuses(), (std::vector<std::string>{
                                  "Parsing CNF...", "Reading Palette...", "Reading 2 Cels...",
                                  "Processing 3 Cel Instances...", "Checking Cel Ambiguity..."}));
  EXPECT_TRUE(host_.Logged("progress: Loading doll.cnf..."));
  EXPECT_FALSE(host_.progress_visible());
}

// A device that runs out of memory for vertex buffers after `room` of them.
class VertexStarvedDevice : public SoftwareDevice {
 public:
  explicit VertexStarvedDevice(int room) : room_(room) {}
  DeviceResult CreateVertexBuffer(size_t length, VertexFormat format, MemoryPool pool,
                                  std::unique_ptr<VertexBuffer>* out) override {
    if (room_-- <= 0) return DeviceResult::kOutOfMemory;
    return SoftwareDevice::CreateVertexBuffer(length, format, pool, out);
  }

 private:
  int room_;
};

TEST_F(KissCnfDocTest, RunningOutOfMemoryEndsTheLoadWithOneMessage) {
  // The second instance finds no memory: the load stops there, says so
  // once, and the script stage after it never runs.
  Write("doll.cnf",
        "%pal.kcf\n#0 a.cel *0 :0\n#1 b.cel *0 :0\n$0 0,0 0,0\n"
        ";@EventHandler\n;@initialize()\n;@ notify(\"never\")\n");
  Write("pal.kcf", TestKcf(16));
  Write("a.cel", TestCel(4, 4, 4));
  Write("b.cel", TestCel(4, 4, 4));
  VertexStarvedDevice device(1);
  CKissCnfDoc doc(host_, device, settings_);
  EXPECT_FALSE(doc.OpenDoll(Path("doll.cnf")));
  ASSERT_EQ(host_.messages().size(), 1u);
  EXPECT_EQ(host_.messages()[0].text, "Out of memory");
  EXPECT_EQ(host_.messages()[0].icon, MessageIcon::kError);
  EXPECT_EQ(doc.value_pools(), nullptr);
  ASSERT_NE(doc.script(), nullptr);
  EXPECT_EQ(doc.script()->event_count(), 0);
}

TEST_F(KissCnfDocTest, DollsOpenFromAFileSystemInMemory) {
  MemoryFileSystem files;
  host_.set_files(&files);
  host_.set_temp_folder("/tmp");
  auto put = [&](const std::string& path, std::string_view bytes) {
    const std::span<const uint8_t> data(reinterpret_cast<const uint8_t*>(bytes.data()),
                                        bytes.size());
    ASSERT_TRUE(ReplaceFile(files, path, data).ok());
  };
  ASSERT_TRUE(files.CreateFolder("/tmp").ok());
  ASSERT_TRUE(files.CreateFolder("/dolls").ok());
  put("/dolls/doll.cnf", "(40,40)\n%pal.kcf\n#0 body.cel\n$0 0,0\n");
  put("/dolls/pal.kcf", TestKcf(16));
  put("/dolls/BODY.CEL", TestCel(20, 30, 4));
  auto doc = NewDoc();
  ASSERT_TRUE(doc->OpenDoll("/dolls/doll.cnf"));
  EXPECT_EQ(doc->model().instances().size(), 1u);
  EXPECT_EQ(doc->model().report.ErrorText(), "");
  doc->Close();

  const std::vector<uint8_t> image =
      Archive({{"d.cnf", "#0 a.cel\n$0 0,0\n"}, {"a.cel", TestCel(4, 4, 32)}});
  put("/dolls/d.lzh", std::string_view(reinterpret_cast<const char*>(image.data()), image.size()));
  ASSERT_TRUE(doc->OpenDoll("/dolls/d.lzh"));
  EXPECT_EQ(doc->cnf_path(), "/tmp/LMD00000.CNF");
  EXPECT_TRUE(files.Stat("/tmp/LMD00000.CNF")->is_regular());
  doc->Close();
  EXPECT_TRUE(files.ListFolder("/tmp")->empty());
  EXPECT_TRUE(fs::is_empty(temp_.path())) << "the disk was touched";
}

TEST_F(KissCnfDocTest, PalettedInstancesTakeTheDevicePalettesOfTheirKcf) {
  device_.mutable_flags().paletted_textures = true;
  Write("doll.cnf", "%a.kcf\n%b.kcf\n#0 x.cel *1\n#1 x.cel *0\n");
  Write("a.kcf", TestKcf(16));
  Write("b.kcf", TestKcf(16));
  Write("x.cel", TestCel(4, 4, 4));
  auto doc = NewDoc();
  ASSERT_TRUE(doc->OpenDoll(Path("doll.cnf")));
  EXPECT_EQ(doc->model().cels().size(), 1u);  // one cel serves both palettes
  const std::vector<unsigned>& bases = doc->device_palettes().bases();
  ASSERT_EQ(bases.size(), 2u);
  EXPECT_EQ(doc->model().instances()[0]->geometry.palette_base, bases[1]);
  EXPECT_EQ(doc->model().instances()[1]->geometry.palette_base, bases[0]);
  EXPECT_EQ(device_.palette_bases_in_use(), 2u);
  doc->Close();
  EXPECT_EQ(device_.palette_bases_in_use(), 0u);
}

TEST_F(KissCnfDocTest, MissingCelIsReportedOncePerFileAndItsInstancesGo) {
  Write("doll.cnf", "%p.kcf\n#0 gone.cel\n#1 gone.cel\n#2 here.cel\n");
  Write("p.kcf", TestKcf(16));
  Write("here.cel", TestCel(4, 4, 4));
  auto doc = NewDoc();
  ASSERT_TRUE(doc->OpenDoll(Path("doll.cnf")));
  EXPECT_EQ(doc->model().report.errors(), std::vector<std::string>{"gone.cel file not found"});
  ASSERT_EQ(doc->model().instances().size(), 1u);
  EXPECT_EQ(doc->model().instances()[0]->cel->file_name, "here.cel");
  EXPECT_TRUE(doc->model().FindObject(0, false)->cels.empty());
}

TEST_F(KissCnfDocTest, IndexedCelsWithoutKcfUseTheDefaultPalette) {
  Write("doll.cnf", "#0 a.cel\n#1 b.cel *0 :1\n");
  Write("a.cel", TestCel(4, 4, 4));
  Write("b.cel", TestCel(4, 4, 32));
  auto doc = NewDoc();
  ASSERT_TRUE(doc->OpenDoll(Path("doll.cnf")));
  const DollModel& doll = doc->model();
  EXPECT_EQ(doll.report.errors(),
            std::vector<std::string>{"Doll contains 16-color CELs but no KCF palettes"});
  ASSERT_NE(doll.PaletteOfLine(0), nullptr);
  EXPECT_EQ(doll.PaletteOfLine(0)->name, "default");
  EXPECT_EQ(doc->truecolor_instances(), 1);
  EXPECT_TRUE(doll.ckiss);
}

TEST_F(KissCnfDocTest, InstancePaletteBeyondThePaletteLinesIsReported) {
  Write("doll.cnf", "%p.kcf\n#0 a.cel * 3\n");
  Write("p.kcf", TestKcf(16));
  Write("a.cel", TestCel(4, 4, 4));
  auto doc = NewDoc();
  ASSERT_TRUE(doc->OpenDoll(Path("doll.cnf")));
  EXPECT_EQ(doc->model().report.errors(),
            std::vector<std::string>{"Instance KCF (3) out of range (1)"});
}

TEST_F(KissCnfDocTest, CelsAreReadFromTheLargestFileToTheSmallest) {
  // Names too long for DOS are warned about as each file is read.
  Write("doll.cnf", "#0 small0001.cel\n#1 large0001.cel\n#2 middle001.cel\n#3 same00001.cel\n");
  Write("small0001.cel", TestCel(2, 2, 32));
  Write("large0001.cel", TestCel(30, 30, 32));
  Write("middle001.cel", TestCel(10, 10, 32));
  Write("same00001.cel", TestCel(2, 2, 32));
  auto doc = NewDoc();
  ASSERT_TRUE(doc->OpenDoll(Path("doll.cnf")));
  std::vector<std::string> order;
  for (const std::string& w : doc->model().report.warnings()) order.push_back(w.substr(10, 9));
  EXPECT_EQ(order, (std::vector<std::string>{"large0001", "middle001", "same00001", "small0001"}));
}

TEST_F(KissCnfDocTest, ArchiveWithTwoCnfsAsksAndNamesTheChoiceInTheTitle) {
  const std::vector<uint8_t> image = Archive({{"one.cnf", "#0 a.cel\n"},
                                              {"two.cnf", "#0 a.cel\r#1 a.cel\r"},
                                              {"readme.txt", "hello"},
                                              {"a.cel", TestCel(4, 4, 32)}});
  Write("pack.lzh", std::string_view(reinterpret_cast<const char*>(image.data()), image.size()));
  host_.QueueChoice(1);
  auto doc = NewDoc();
  ASSERT_TRUE(doc->OpenDoll(Path("pack.lzh")));
  EXPECT_TRUE(host_.Logged("choose: Select CNF: one.cnf two.cnf"));
  EXPECT_EQ(doc->title(), "pack.lzh (two.cnf)");
  EXPECT_EQ(doc->cnf_name(), "two.cnf");
  EXPECT_TRUE(doc->is_archive());
  EXPECT_EQ(doc->model().instances().size(), 2u);
  ASSERT_EQ(doc->document_files().size(), 1u);
  EXPECT_EQ(doc->document_files()[0].name, "readme.txt");
  // The documentation is copied out when the user opens it.
  const Result<std::string> readme = doc->DocumentFilePath(0);
  ASSERT_TRUE(readme.ok()) << readme.status().message();
  EXPECT_EQ(testing::ReadFile(*readme), "hello");
  EXPECT_EQ(TempFiles().size(), 2u);
  // The CNF's temporary copy exists while the doll is open.
  EXPECT_EQ(doc->cnf_path(), (temp_.path() / "LMD00000.CNF").string());
  EXPECT_EQ(testing::ReadFile(doc->cnf_path()), "#0 a.cel\r#1 a.cel\r");
  // Reloading takes the same CNF again without asking, and its copy replaces
  // the earlier one.
  host_.ClearLog();
  ASSERT_TRUE(doc->ReloadCnf());
  EXPECT_FALSE(host_.Logged("choose:"));
  EXPECT_EQ(doc->title(), "pack.lzh (two.cnf)");
  EXPECT_EQ(doc->model().instances().size(), 2u);
  EXPECT_EQ(doc->cels_read(), 0);
  EXPECT_EQ(TempFiles().size(), 1u);  // the reload's CNF copy; the readme's went
  doc->Close();
  EXPECT_TRUE(TempFiles().empty());

  host_.QueueChoice(-1);
  auto cancelled = NewDoc();
  EXPECT_FALSE(cancelled->OpenDoll(Path("pack.lzh")));
}

TEST_F(KissCnfDocTest, TemporaryCnfTakesTheNextFreeName) {
  testing::WriteFile(temp_ / "LMD00000.CNF", "someone else's");
  const std::vector<uint8_t> image =
      Archive({{"d.cnf", "#0 a.cel\n"}, {"a.cel", TestCel(4, 4, 32)}});
  auto doc = NewDoc();
  ASSERT_TRUE(doc->LoadArchiveImage("d.lzh", image, false));
  EXPECT_EQ(doc->cnf_path(), (temp_.path() / "LMD00001.CNF").string());
  EXPECT_EQ(doc->title(), "d.lzh");
  doc->Close();
  EXPECT_EQ(TempFiles(), std::vector<std::string>{"LMD00000.CNF"});
}

TEST_F(KissCnfDocTest, ArchiveFailuresStopTheLoadWithAMessage) {
  auto doc = NewDoc();
  EXPECT_FALSE(doc->LoadArchiveImage("junk.lzh", std::vector<uint8_t>(100, 0xef), false));
  ASSERT_EQ(host_.messages().size(), 1u);
  EXPECT_EQ(host_.messages()[0].text, "Unable to open\njunk.lzh\nIt is not an LZH archive.");
  // The reader says why it could not read the archive.
  std::vector<uint8_t> cut = Archive({{"d.cnf", "#0 a.cel\n"}});
  cut.resize(12);
  EXPECT_FALSE(NewDoc()->LoadArchiveImage("cut.lzh", cut, false));
  EXPECT_EQ(host_.messages().back().text,
            "Unable to open\ncut.lzh\nIts first header is damaged, or the file is truncated.");
  EXPECT_FALSE(NewDoc()->LoadArchiveImage("empty.lzh", {}, false));
  EXPECT_EQ(host_.messages().back().text, "Unable to open\nempty.lzh\nThe file is empty.");

  auto no_cnf = NewDoc();
  EXPECT_FALSE(no_cnf->LoadArchiveImage("x.lzh", Archive({{"a.cel", TestCel(4, 4, 32)}}), false));
  EXPECT_EQ(host_.messages().back().text,
            "x.lzh does not contain a CNF file.\nMight not be KiSS data.");

  std::vector<uint8_t> broken = Archive({{"d.cnf", "#0 a.cel\n"}});
  broken[broken.size() - 3] ^= 0xff;  // damage the CNF's data: the CRC no longer matches
  auto bad_cnf = NewDoc();
  EXPECT_FALSE(bad_cnf->LoadArchiveImage("y.lzh", broken, false));
  EXPECT_EQ(host_.messages().back().text, "Unable to extract d.cnf");

  auto wrong_type = NewDoc();
  EXPECT_FALSE(wrong_type->OpenDoll(Path("doll.txt")));
  EXPECT_EQ(host_.messages().back().text, Path("doll.txt") + "\nis not a KiSS file type");
  EXPECT_FALSE(wrong_type->OpenDoll(Path("absent.cnf")));
  EXPECT_EQ(host_.messages().back().text, "Unable to open\n" + Path("absent.cnf"));
}

TEST(DollFileTypeTest, TheNameAloneSaysWhatAFileMayHold) {
  EXPECT_EQ(DollFileTypeOf("/dolls/My Doll.CNF"), DollFileType::kCnf);
  EXPECT_EQ(DollFileTypeOf("pack.Lzh"), DollFileType::kArchive);
  EXPECT_EQ(DollFileTypeOf("pack.lha"), DollFileType::kArchive);
  EXPECT_EQ(DollFileTypeOf("pack.ZIP"), DollFileType::kArchive);
  EXPECT_EQ(DollFileTypeOf("doll.exe"), DollFileType::kProgram);
  EXPECT_EQ(DollFileTypeOf("DOLL.COM"), DollFileType::kProgram);
  // Only the last part of the last name counts.
  EXPECT_EQ(DollFileTypeOf("doll.cnf.bak"), DollFileType::kNone);
  EXPECT_EQ(DollFileTypeOf("old.cnf/readme"), DollFileType::kNone);
  EXPECT_EQ(DollFileTypeOf("cnf"), DollFileType::kNone);
  EXPECT_EQ(DollFileTypeOf(""), DollFileType::kNone);
}

TEST_F(KissCnfDocTest, SelfExtractingDollsOpenLikeTheirArchive) {
  const std::vector<uint8_t> archive =
      Archive({{"d.cnf", "#0 a.cel\n"}, {"a.cel", TestCel(4, 4, 32)}});
  std::string program(30 * 1024, 'x');
  program[0] = 'M';
  program[1] = 'Z';
  Write("doll.exe", program + std::string(archive.begin(), archive.end()));
  auto doc = NewDoc();
  ASSERT_TRUE(doc->OpenDoll(Path("doll.exe")));
  EXPECT_TRUE(doc->is_archive());
  EXPECT_EQ(doc->title(), "doll.exe");
  EXPECT_EQ(doc->model().instances().size(), 1u);
  EXPECT_TRUE(doc->model().report.errors().empty());
  doc->Close();

  // Any other program stays what it was: not a doll.
  Write("tool.exe", program);
  auto other = NewDoc();
  EXPECT_FALSE(other->OpenDoll(Path("tool.exe")));
  EXPECT_EQ(host_.messages().back().text, Path("tool.exe") + "\nis not a KiSS file type");
}

TEST_F(KissCnfDocTest, MissingArchiveCelIsNotPresentInLzh) {
  auto doc = NewDoc();
  ASSERT_TRUE(doc->LoadArchiveImage(
      "d.lzh",
      Archive({{"d.cnf", "#0 a.cel\n#1 b.cel\n#2 b.cel :1\n"}, {"dir/A.CEL", TestCel(4, 4, 32)}}),
      false));
  EXPECT_EQ(doc->model().report.errors(), std::vector<std::string>{"b.cel is not present in LZH"});
  EXPECT_EQ(doc->model().instances().size(), 1u);
  EXPECT_EQ(doc->model().ambiguous_cels().size(), 0u);  // the removed instances no longer count
}

TEST_F(KissCnfDocTest, ReloadRereadsOnlyTheChangedCel) {
  Write("doll.cnf", "#0 a.cel\n#1 b.cel\n#2 c.cel\n");
  for (const char* name : {"a.cel", "b.cel", "c.cel"}) {
    Write(name, TestCel(4, 4, 32));
    const struct utimbuf old_time = {1000000, 1000000};
    ::utime(Path(name).c_str(), &old_time);
  }
  auto doc = NewDoc();
  ASSERT_TRUE(doc->OpenDoll(Path("doll.cnf")));
  EXPECT_EQ(doc->cels_read(), 3);
  KissCel* a = doc->model().FindCel("a.cel", 0);
  Write("b.cel", TestCel(6, 6, 32));  // a new modification time
  ASSERT_TRUE(doc->ReloadCnf());
  EXPECT_TRUE(doc->loading());  // the view clears it once it has restarted the doll
  EXPECT_EQ(doc->cels_read(), 1);
  EXPECT_EQ(doc->model().FindCel("a.cel", 0), a);
  EXPECT_EQ(doc->model().FindCel("b.cel", 0)->width, 6);
  EXPECT_EQ(doc->model().cel_counts.truecolor, 3);
  EXPECT_EQ(doc->model().instances().size(), 3u);
}

// Every way of loading into an open doll gives back the textures of the
// cels it frees or reads again: texture memory stays as after the first load.
TEST_F(KissCnfDocTest, LoadingAgainKeepsTextureMemoryFlat) {
  Write("doll.cnf", "%pal.kcf\n%pal2.kcf\n#0 a.cel\n#1 a.cel *1\n#2 b.cel\n#3 c.cel\n");
  Write("other.cnf", "%pal.kcf\n#0 a.cel\n#1 c.cel\n");
  Write("pal.kcf", TestKcf(16));
  Write("pal2.kcf", TestKcf(16));
  Write("a.cel", TestCel(20, 20, 4));
  Write("c.cel", TestCel(8, 8, 4));
  for (bool recycle : {false, true}) {
    settings_.recycle_textures = recycle;
    auto doc = NewDoc();
    Write("b.cel", TestCel(30, 10, 32));
    ASSERT_TRUE(doc->OpenDoll(Path("doll.cnf")));
    const int textures = doc->textures().texture_count();
    const int blocks = doc->textures().used_blocks();
    const uint64_t memory = device_.AvailableTextureMemory();
    for (int i = 0; i < 20; ++i) {
      // b.cel changes every time, so each reload decodes it again.
      Write("b.cel", TestCel(30, 10, 32));
      const struct utimbuf changed = {2000000 + i, 2000000 + i};
      ::utime(Path("b.cel").c_str(), &changed);
      switch (i % 3) {
        case 0:
          ASSERT_TRUE(doc->ReloadCnf());
          break;
        case 1:
          ASSERT_TRUE(doc->OpenOtherCnf(Path("other.cnf")));
          ASSERT_TRUE(doc->OpenOtherCnf(Path("doll.cnf")));
          break;
        default:
          ASSERT_TRUE(doc->OpenExpansion(Path("doll.cnf")));
          break;
      }
      doc->set_loading(false);
    }
    EXPECT_EQ(doc->textures().texture_count(), textures) << recycle;
    EXPECT_EQ(doc->textures().used_blocks(), blocks) << recycle;
    EXPECT_EQ(device_.AvailableTextureMemory(), memory) << recycle;
    doc->Close();
  }
}

TEST_F(KissCnfDocTest, AFileWithoutCelLinesSaysItMayNotBeADoll) {
  Write("notes.cnf", "Dear diary,\ntoday I renamed a text file.\n");
  auto doc = NewDoc();
  ASSERT_TRUE(doc->OpenDoll(Path("notes.cnf")));
  EXPECT_EQ(doc->model().report.errors(),
            std::vector<std::string>{
                "No cels were found in notes.cnf: it may not be a KiSS configuration file"});
  Write("noise.cnf", std::string("\x01\xff\x80junk\0\x7f", 9));
  auto noise = NewDoc();
  ASSERT_TRUE(noise->OpenDoll(Path("noise.cnf")));
  EXPECT_EQ(noise->model().report.error_count(), 1);
  // A doll whose cel files are missing has cel lines: that is another fault.
  Write("missing.cnf", "#0 gone.cel\n");
  auto missing = NewDoc();
  ASSERT_TRUE(missing->OpenDoll(Path("missing.cnf")));
  EXPECT_EQ(missing->model().report.errors(), std::vector<std::string>{"gone.cel file not found"});
}

TEST_F(KissCnfDocTest, ExpansionKeepsPresentCelsAndFindsThemByName) {
  Write("doll.cnf", "#0 a.cel\n#1 b.cel\n");
  Write("more.cnf", "#0 a.cel\n#5 c.cel\n");
  for (const char* name : {"a.cel", "b.cel", "c.cel"}) Write(name, TestCel(4, 4, 32));
  auto doc = NewDoc();
  ASSERT_TRUE(doc->OpenDoll(Path("doll.cnf")));
  KissCel* a = doc->model().FindCel("a.cel", 0);
  ASSERT_TRUE(doc->OpenExpansion(Path("more.cnf")));
  EXPECT_EQ(doc->model().FindCel("a.cel", 0), a);
  // No line uses b.cel now: it goes, and its texture with it.
  EXPECT_EQ(doc->model().FindCel("b.cel", 0), nullptr);
  EXPECT_EQ(doc->textures().texture_count(), 2);
  EXPECT_EQ(doc->model().instances().size(), 2u);
  EXPECT_EQ(doc->cels_read(), 2);  // an expansion rereads every file it names
  EXPECT_TRUE(host_.Logged("progress: Preparing doll.cnf for expansion..."));
  EXPECT_EQ(doc->title(), "more.cnf");
}

TEST_F(KissCnfDocTest, CloseFreesEverythingButDeletesNoFileOfADiskDoll) {
  Write("doll.cnf", "#0 a.cel\n");
  Write("a.cel", TestCel(4, 4, 32));
  auto doc = NewDoc();
  ASSERT_TRUE(doc->OpenDoll(Path("doll.cnf")));
  host_.ClearLog();
  doc->Close();
  EXPECT_TRUE(fs::exists(Path("doll.cnf")));
  EXPECT_TRUE(fs::exists(Path("a.cel")));
  EXPECT_FALSE(doc->has_temp_cnf());
  EXPECT_TRUE(doc->model().cels().empty());
  EXPECT_TRUE(doc->model().instances().empty());
  EXPECT_EQ(doc->textures().texture_count(), 0);
  EXPECT_TRUE(host_.Logged("progress: Closing doll.cnf..."));
  EXPECT_TRUE(Contains(host_.statuses(), "Freeing palette memory used by doll.cnf..."));
}

}  // namespace
}  // namespace luma
