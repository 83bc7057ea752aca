// A doll's text encoding: decided once per load from all its CNF bytes,
// overridden by the "Text Encoding" setting, used to show its texts and to
// compare its names.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/doll/kiss_cnf_doc.h"
#include "core/gfx/software_device.h"
#include "core/testing/doll_builder.h"
#include "core/testing/fake_host.h"
#include "core/testing/test_paths.h"

namespace luma {
namespace {

using testing::TestCel;

// Shift-JIS: a comment of kanji and kana, a name whose second byte is "A"
// (ア) and one whose second byte is "a" (ヂ), half-width katakana ｱｲ.
const std::string kComment = "; \x96\xa3\x8c\xc4\x83\x54\x83\x93\x92\x85\x82\xb9\x91\xd6\x82\xa6";
const std::string kA = "\x83\x41";
const std::string kDi = "\x83\x61";
const std::string kHalfWidth = "\xb1\xb2";

class DollTextTest : public ::testing::Test {
 protected:
  DollTextTest() {
    host_.set_temp_folder(temp_.str());
    device_.mutable_flags().paletted_textures = false;
  }

  std::unique_ptr<CKissCnfDoc> Open(const std::string& cnf) {
    testing::WriteFile(dir_ / "doll.cnf", cnf);
    auto doc = std::make_unique<CKissCnfDoc>(host_, device_, settings_);
    if (!doc->OpenDoll((dir_ / "doll.cnf").string())) return nullptr;
    return doc;
  }
  void Write(const std::string& name, const std::string& bytes) {
    testing::WriteFile(dir_ / name, bytes);
  }

  testing::TempDir dir_;
  testing::TempDir temp_;
  FakeHost host_;
  Settings settings_;
  SoftwareDevice device_;
};

TEST_F(DollTextTest, OneDollIsDecidedOnceSoItsShortTextsDecodeAlike) {
  Write("body.cel", TestCel(4, 4, 32));
  const std::string cnf = kComment + "\n#0 body.cel\n#1 " + kA + ".cel\n$0 0,0 0,0\n" +
                          ";@EventHandler\n;@begin() notify(\"" + kHalfWidth + "\")\n";
  // Alone, two half-width katakana would be taken for Windows-1252 "±²".
  ASSERT_EQ(DecodeText(kHalfWidth, TextEncoding::kAutomatic), "±²");
  auto doc = Open(cnf);
  ASSERT_NE(doc, nullptr);
  EXPECT_EQ(doc->model().detected_encoding, TextEncoding::kShiftJis);
  EXPECT_EQ(doc->Shown(kHalfWidth), "ｱｲ");
  EXPECT_EQ(doc->model().report.errors(), std::vector<std::string>{kA + ".cel file not found"});
  EXPECT_EQ(doc->Shown(doc->model().report.ErrorText()), "ア.cel file not found\n");

  // The setting overrides the decision, and an open doll follows a change.
  settings_.text_encoding = static_cast<int>(TextEncoding::kWindows1252);
  auto forced = Open(cnf);
  ASSERT_NE(forced, nullptr);
  EXPECT_EQ(forced->Shown(kHalfWidth), "±²");
  forced->ApplySettings(Settings());
  EXPECT_EQ(forced->Shown(kHalfWidth), "ｱｲ");
  EXPECT_EQ(forced->model().detected_encoding, TextEncoding::kShiftJis);
}

TEST_F(DollTextTest, EuropeanDollShowsItsAccentedNames) {
  auto doc = Open(
      "; Poup\xe9"
      "e \xe0 l'\xe9t\xe9\n#0 caf\xe9.cel\n");
  ASSERT_NE(doc, nullptr);
  EXPECT_EQ(doc->model().detected_encoding, TextEncoding::kWindows1252);
  EXPECT_EQ(doc->Shown(doc->model().report.ErrorText()), "café.cel file not found\n");
  EXPECT_EQ(doc->ShownTitle(), "doll.cnf");
}

TEST_F(DollTextTest, ShiftJisNamesFoldOnlySingleByteLetters) {
  Write(kA + ".cel", TestCel(4, 4, 32));
  Write(kDi + ".cel", TestCel(2, 2, 32));
  Write(kA + "hat.cel", TestCel(3, 3, 32));
  const std::string cnf = kComment + "\n#0 " + kA + ".cel\n#1 " + kDi + ".cel\n#2 " + kA +
                          "HAT.CEL\n$0 0,0 0,0 0,0\n;@EventHandler\n;@begin() unmap(\"" + kDi +
                          ".cel\")\n";
  auto doc = Open(cnf);
  ASSERT_NE(doc, nullptr);
  const DollModel& doll = doc->model();
  ASSERT_EQ(doll.text_encoding, TextEncoding::kShiftJis);
  EXPECT_EQ(doll.report.error_count(), 0) << doll.report.ErrorText();
  // ア and ヂ are two cels of one line each, neither a clone of the other.
  ASSERT_EQ(doll.instances().size(), 3u);
  EXPECT_EQ(doll.instances()[1]->cel->width, 2);
  EXPECT_EQ(doll.instances()[2]->cel->width, 3);  // "HAT" found as "hat"
  EXPECT_TRUE(doll.ambiguous_cels().empty());
  EXPECT_FALSE(doll.instances()[1]->cel->is_clone());

  // Read as Windows-1252 the two names are one name in two cases.
  settings_.text_encoding = static_cast<int>(TextEncoding::kWindows1252);
  auto latin = Open(cnf);
  ASSERT_NE(latin, nullptr);
  EXPECT_EQ(latin->model().ambiguous_cels().size(), 1u);
}

TEST_F(DollTextTest, ArchiveMembersAreFoundByTheirWholeCharacters) {
  const std::vector<uint8_t> image = testing::TestDollArchive(
      {{"doll.cnf", kComment + "\r#0 " + kDi + ".cel\r#1 " + kA + "B.CEL\r"},
       {kA + ".cel", TestCel(4, 4, 32)},
       {kA + "b.cel", TestCel(4, 4, 32)}});
  testing::WriteFile(dir_ / "pack.lzh",
                     std::string(reinterpret_cast<const char*>(image.data()), image.size()));
  CKissCnfDoc doc(host_, device_, settings_);
  ASSERT_TRUE(doc.OpenDoll((dir_ / "pack.lzh").string()));
  EXPECT_EQ(doc.model().report.errors(),
            std::vector<std::string>{kDi + ".cel is not present in LZH"});
  ASSERT_EQ(doc.model().instances().size(), 1u);
  EXPECT_EQ(doc.model().instances()[0]->object_number, 1);
}

}  // namespace
}  // namespace luma
