#include "core/view/lzh_build_command.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "core/archive/lzh_archive.h"
#include "core/host/posix_file_system.h"
#include "core/testing/disk_doll.h"
#include "core/testing/doll_builder.h"
#include "core/testing/doll_description.h"
#include "core/testing/lzh_builder.h"

namespace luma {
namespace {

namespace fs = std::filesystem;
using testing::DescribeDoll;
using testing::DiskDoll;

std::vector<std::string> MessageTexts(const FakeHost& host) {
  std::vector<std::string> texts;
  for (const FakeHost::Message& m : host.messages()) texts.push_back(m.caption + "|" + m.text);
  return texts;
}

// Hooks that answer like a user who keeps what the Additional Files dialog
// lists, adds the files `additional` and picks `destination`, recording
// which steps were reached and what was listed.
struct ScriptedHooks {
  std::vector<std::string> additional;
  std::string destination;
  std::vector<std::string> steps;
  std::vector<AdditionalFile> listed;

  LzhBuildHooks Hooks() {
    LzhBuildHooks hooks;
    hooks.choose_additional_files =
        [this](std::vector<AdditionalFile> offered) -> std::optional<std::vector<AdditionalFile>> {
      steps.push_back("additional");
      listed = offered;
      for (const std::string& path : additional) offered.push_back({path, false});
      return offered;
    };
    hooks.choose_destination = [this]() -> std::optional<std::string> {
      steps.push_back("destination");
      return destination;
    };
    hooks.archive_created = [this](const std::string& path) { steps.push_back("created " + path); };
    return hooks;
  }
};

class LzhBuildTest : public ::testing::Test {
 protected:
  LzhBuildTest() {
    doll_.WritePalettedCels({"a.cel", "b.cel"});
    doll_.Write("pal2.kcf", testing::TestKcf(16));
    doll_.Write("boom.wav", "RIFF");
    doll_.Write("readme.txt", "read me");
    doll_.Write("doll.cnf",
                "%pal.kcf\n%pal2.kcf\n%pal.kcf\n"
                "#0 a.cel *0\n#1 a.cel *1\n#2 b.cel\n#3 missing.cel\n"
                ";@EventHandler\n;@press(#0) sound(\"boom.wav\")\n"
                "$0 1,1 2,2 3,3\n");
    fs::create_directory(doll_.dir() / "out");
    hooks_.destination = (doll_.dir() / "out" / "doll.lzh").string();
  }

  DiskDoll doll_;
  ScriptedHooks hooks_;
};

TEST_F(LzhBuildTest, PacksEveryFileOnceInItsOrder) {
  auto doc = doll_.Open("doll.cnf");
  ASSERT_TRUE(doc);
  // A name too long for an LZH header is refused by the archive, in its own words.
  const std::string long_name = doll_.Write(std::string(70, 'n') + ".txt", "notes");
  hooks_.additional = {doll_.Path("readme.txt"), "/no/such/notes.txt", doll_.Path("readme.txt"),
                       long_name};
  doll_.host().ClearLog();
  ASSERT_TRUE(BuildLzhArchive(*doc, hooks_.Hooks()));

  const std::string& out = hooks_.destination;
  EXPECT_EQ(testing::LzhMemberNames(out),
            (std::vector<std::string>{"doll.cnf", "pal.kcf", "pal2.kcf", "a.cel", "b.cel",
                                      "boom.wav", "readme.txt"}));
  EXPECT_EQ(doll_.host().questions().size(), 1u);  // "Save CNF?", answered No
  EXPECT_EQ(
      MessageTexts(doll_.host()),
      (std::vector<std::string>{"|Can't read missing.cel", "|Can't read /no/such/notes.txt",
                                "|Can't add " + long_name +
                                    " to the archive: its file name is longer than 66 characters.",
                                "LZH Creation Complete|" + out + " has been created."}));
  EXPECT_EQ(hooks_.steps,
            (std::vector<std::string>{"additional", "destination", "created " + out}));
  EXPECT_EQ(
      doll_.host().statuses(),
      (std::vector<std::string>{
          "Compressing CNF to " + out + "...", "Compressing KCFs to " + out + "...",
          "Compressing Cels to " + out + "...", "Compressing External Files to " + out + "...",
          "Compressing Additional Files to " + out + "..."}));
  EXPECT_EQ(doll_.host().progress_range(), 10);
  EXPECT_EQ(doll_.host().progress_position(), 10);
  EXPECT_FALSE(doll_.host().progress_visible());

  auto packed = doll_.OpenPath(out);
  ASSERT_TRUE(packed);
  EXPECT_EQ(DescribeDoll(packed->model(), packed->fkiss()),
            DescribeDoll(doc->model(), doc->fkiss()));
}

TEST_F(LzhBuildTest, EachQuestionCanEndTheCommand) {
  auto doc = doll_.Open("doll.cnf");
  ASSERT_TRUE(doc);
  struct Case {
    Answer palettes;  // kOk: no palette modified
    bool palettes_saved;
    Answer cnf;
    bool cnf_saved;
  };
  const Case cases[] = {{Answer::kCancel, true, Answer::kNo, true},
                        {Answer::kYes, false, Answer::kNo, true},
                        {Answer::kOk, true, Answer::kCancel, true},
                        {Answer::kOk, true, Answer::kYes, false}};
  for (const Case& c : cases) {
    ScriptedHooks scripted = hooks_;
    LzhBuildHooks hooks = scripted.Hooks();
    hooks.palettes_modified = [&] { return c.palettes != Answer::kOk; };
    hooks.save_palettes = [&] { return c.palettes_saved; };
    hooks.save_cnf = [&]() -> std::optional<std::string> {
      if (!c.cnf_saved) return std::nullopt;
      return doll_.Path("doll.cnf");
    };
    if (c.palettes != Answer::kOk) doll_.host().QueueAnswer(c.palettes);
    if (c.palettes == Answer::kOk) doll_.host().QueueAnswer(c.cnf);
    EXPECT_FALSE(BuildLzhArchive(*doc, hooks));
    EXPECT_TRUE(scripted.steps.empty());
    EXPECT_FALSE(fs::exists(hooks_.destination));
  }
}

TEST_F(LzhBuildTest, TheArchivedDollPacksTheCnfItSaved) {
  const std::vector<uint8_t> image =
      testing::TestDollArchive({{"doll.cnf", "#0 b.cel\n"}, {"b.cel", testing::TestCel(4, 4, 4)}});
  doll_.Write("in.lzh", image);
  auto doc = doll_.Open("in.lzh");
  ASSERT_TRUE(doc);
  doll_.Write("saved.cnf", "#0 b.cel ;%t9\n");
  LzhBuildHooks hooks = hooks_.Hooks();
  hooks.save_cnf = [&]() -> std::optional<std::string> { return doll_.Path("saved.cnf"); };
  doll_.host().QueueAnswer(Answer::kYes);
  ASSERT_TRUE(BuildLzhArchive(*doc, hooks));
  EXPECT_EQ(testing::LzhMemberNames(hooks_.destination),
            (std::vector<std::string>{"saved.cnf", "b.cel"}));
  auto packed = doll_.OpenPath(hooks_.destination);
  ASSERT_TRUE(packed);
  EXPECT_EQ(packed->model().instances()[0]->transparency, 9);
}

// The palette editor saves an archived doll's palette to a file of the
// user's choice: the build packs that file under the palette's own name.
TEST_F(LzhBuildTest, AnArchivedDollPacksThePaletteSavedBesideIt) {
  const std::vector<uint8_t> image =
      testing::TestDollArchive({{"doll.cnf", "%pal.kcf\n#0 b.cel\n"},
                                {"pal.kcf", testing::TestKcf(16)},
                                {"b.cel", testing::TestCel(4, 4, 4)}});
  doll_.Write("in.lzh", image);
  auto doc = doll_.Open("in.lzh");
  ASSERT_TRUE(doc);
  doll_.Write("edited.kcf", testing::TestKcf(32));
  doc->model().FindPalette("pal.kcf")->full_path = doll_.Path("edited.kcf");
  ASSERT_TRUE(BuildLzhArchive(*doc, hooks_.Hooks()));
  EXPECT_EQ(testing::LzhMemberNames(hooks_.destination),
            (std::vector<std::string>{"doll.cnf", "pal.kcf", "b.cel"}));
  auto packed = doll_.OpenPath(hooks_.destination);
  ASSERT_TRUE(packed);
  EXPECT_EQ(packed->model().FindPalette("pal.kcf")->colors, 256);
}

// Rebuilding an archived doll into the archive it was opened from: its
// members are read before the archive is replaced.
TEST_F(LzhBuildTest, AnArchivedDollCanReplaceItsOwnArchive) {
  const std::vector<uint8_t> image = testing::TestDollArchive(
      {{"doll.cnf", "%pal.kcf\n%pal2.kcf\n#0 b.cel\n#1 b.cel *1\n$0 3,4 5,6\n"},
       {"pal.kcf", testing::TestKcf(16)},
       {"pal2.kcf", testing::TestKcf(16)},
       {"b.cel", testing::TestCel(4, 4, 4)}});
  const std::string path = doll_.Path("in.lzh");
  doll_.Write("in.lzh", image);
  auto doc = doll_.OpenPath(path);
  ASSERT_TRUE(doc);
  hooks_.destination = path;
  ASSERT_TRUE(BuildLzhArchive(*doc, hooks_.Hooks()));
  EXPECT_EQ(testing::LzhMemberNames(path),
            (std::vector<std::string>{"doll.cnf", "pal.kcf", "pal2.kcf", "b.cel"}));
  auto packed = doll_.OpenPath(path);
  ASSERT_TRUE(packed);
  EXPECT_EQ(DescribeDoll(packed->model(), packed->fkiss()),
            DescribeDoll(doc->model(), doc->fkiss()));
}

// A user who rebuilds an archived doll to replace its archive keeps its
// readme, its documentation and its other CNFs: the dialog lists them.
TEST_F(LzhBuildTest, AnArchivedDollKeepsTheOtherMembersOfItsArchive) {
  const std::vector<uint8_t> image =
      testing::TestDollArchive({{"doll.cnf", "%pal.kcf\n#0 b.cel\n$0 1,1\n"},
                                {"pal.kcf", testing::TestKcf(16)},
                                {"readme.txt", "read me first"},
                                {"b.cel", testing::TestCel(4, 4, 4)},
                                {"manual.doc", "the manual"},
                                {"other.cnf", "#0 c.cel\n$0 1,1\n"},
                                {"c.cel", testing::TestCel(4, 4, 32)}});
  const std::string path = doll_.Path("in.lzh");
  doll_.Write("in.lzh", image);
  auto doc = doll_.OpenPath(path);
  ASSERT_TRUE(doc);
  const std::vector<AdditionalFile> others = OtherArchiveMembers(*doc);
  EXPECT_EQ(others,
            (std::vector<AdditionalFile>{
                {"readme.txt", true}, {"manual.doc", true}, {"other.cnf", true}, {"c.cel", true}}));
  hooks_.additional = {doll_.Path("readme.txt")};  // a file on disk of the same name comes after
  hooks_.destination = path;
  ASSERT_TRUE(BuildLzhArchive(*doc, hooks_.Hooks()));
  EXPECT_EQ(hooks_.listed, others);
  EXPECT_EQ(testing::LzhMemberNames(path),
            (std::vector<std::string>{"doll.cnf", "pal.kcf", "b.cel", "readme.txt", "manual.doc",
                                      "other.cnf", "c.cel", "readme.txt"}));
  LzhArchive rebuilt;
  PosixFileSystem files;
  ASSERT_TRUE(rebuilt.Open(files, path).ok());
  const Result<std::vector<uint8_t>> readme = rebuilt.ExtractToMemory("readme.txt");
  ASSERT_TRUE(readme.ok());
  EXPECT_EQ(std::string(readme->begin(), readme->end()), "read me first");
  auto again = doll_.OpenPath(path);
  ASSERT_TRUE(again);
  EXPECT_EQ(again->document_files().size(), 3u);

  // A doll from disk has no archive to keep.
  auto disk = doll_.Open("doll.cnf");
  ASSERT_TRUE(disk);
  EXPECT_TRUE(OtherArchiveMembers(*disk).empty());
}

TEST_F(LzhBuildTest, LeavesOtherFilesAlone) {
  auto doc = doll_.Open("doll.cnf");
  ASSERT_TRUE(doc);
  testing::WriteFile(doll_.dir() / "out" / "lmdtemp.lzh", "mine");
  ASSERT_TRUE(BuildLzhArchive(*doc, hooks_.Hooks()));
  EXPECT_EQ(testing::ReadFile(doll_.dir() / "out" / "lmdtemp.lzh"), "mine");
  std::vector<std::string> files;
  for (const auto& e : fs::directory_iterator(doll_.dir() / "out")) {
    files.push_back(e.path().filename());
  }
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, (std::vector<std::string>{"doll.lzh", "lmdtemp.lzh"}));
}

TEST_F(LzhBuildTest, AFailedWriteIsReportedAndLeavesTheDestination) {
  auto doc = doll_.Open("doll.cnf");
  ASSERT_TRUE(doc);
  testing::WriteFile(hooks_.destination, "old");
  // Nothing the doll uses can be read any more: there is nothing to write.
  for (const char* name : {"doll.cnf", "pal.kcf", "pal2.kcf", "a.cel", "b.cel", "boom.wav"}) {
    fs::remove(doll_.dir() / name);
  }
  doll_.host().ClearLog();
  EXPECT_FALSE(BuildLzhArchive(*doc, hooks_.Hooks()));
  EXPECT_EQ(testing::ReadFile(hooks_.destination), "old");
  ASSERT_FALSE(doll_.host().messages().empty());
  EXPECT_EQ(doll_.host().messages().back().text, "Unable to write to file " + hooks_.destination);
  EXPECT_EQ(hooks_.steps, (std::vector<std::string>{"additional", "destination"}));

  // A destination folder that does not exist.
  doll_.Write("doll.cnf", "#0 x.cel\n");
  hooks_.destination = doll_.Path("missing/doll.lzh");
  hooks_.steps.clear();
  EXPECT_FALSE(BuildLzhArchive(*doc, hooks_.Hooks()));
  EXPECT_EQ(doll_.host().messages().back().text, "Unable to write to file " + hooks_.destination);
  EXPECT_EQ(hooks_.steps, (std::vector<std::string>{"additional", "destination"}));
}

}  // namespace
}  // namespace luma
