#include "web/named_files.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace luma::web {
namespace {

std::vector<NamedFile> Named(std::string_view cnf, TextEncoding chosen = TextEncoding::kAutomatic) {
  return FilesNamedBy({reinterpret_cast<const uint8_t*>(cnf.data()), cnf.size()}, chosen);
}

std::vector<std::string> Paths(const std::vector<NamedFile>& files) {
  std::vector<std::string> paths;
  for (const NamedFile& f : files) paths.push_back(f.path);
  return paths;
}

TEST(NamedFilesTest, PalettesCelsAndTheScriptsSoundsEachOnceInOrder) {
  const auto files = Named(
      "(448,320)\r\n%Main.KCF\r\n%extra.kcf\r\n"
      "#0 Parts\\Body.cel *0 :0\r\n#1 body.CEL *1 :0\r\n#2 hair.cel\r\n"
      "#3 ..\\other\\shared.cel\r\n#4 \\KISS\\abs.cel\r\n"
      "$0 0,0 0,0 0,0 0,0 0,0\r\n"
      ";@EventHandler\r\n;@initialize() sound(\"Bell.WAV\") music(\"songs\\tune.mid\")\r\n"
      ";@set(1) sound(\"bell.wav\")\r\n");
  EXPECT_EQ(Paths(files),
            (std::vector<std::string>{"Main.KCF", "extra.kcf", "Parts/Body.cel", "body.CEL",
                                      "hair.cel", "Bell.WAV", "songs/tune.mid"}));
  // The cel in a subfolder: as written, then in lower and in upper case.
  EXPECT_EQ(files[2].urls,
            (std::vector<std::string>{"Parts/Body.cel", "parts/body.cel", "PARTS/BODY.CEL"}));
  EXPECT_EQ(files[4].urls, (std::vector<std::string>{"hair.cel", "HAIR.CEL"}));
}

TEST(NamedFilesTest, ShiftJisNamesAreTriedAsBytesThenAsUtf8) {
  // "ミラの服.cel" and "アB.cel": the second byte of ア (0x83 0x41) reads
  // as an "A" and must not change case with the letters around it.
  const std::string mira = "\x83\x7e\x83\x89\x82\xcc\x95\x9e.cel";
  const std::string a_b =
      "\x83\x41"
      "b.cel";
  const auto files =
      Named("(448,320)\n%p.kcf\n#0 " + mira + " *0\n#1 " + a_b + " *0\n$0 0,0 0,0\n");
  ASSERT_EQ(files.size(), 3u);
  EXPECT_EQ(files[1].path, mira);
  const std::string utf8 = "%E3%83%9F%E3%83%A9%E3%81%AE%E6%9C%8D";
  EXPECT_EQ(files[1].urls, (std::vector<std::string>{"%83~%83%89%82%CC%95%9E.cel", utf8 + ".cel",
                                                     "%83~%83%89%82%CC%95%9E.CEL", utf8 + ".CEL"}));
  EXPECT_EQ(files[2].urls, (std::vector<std::string>{"%83Ab.cel", "%E3%82%A2b.cel", "%83AB.CEL",
                                                     "%E3%82%A2B.CEL"}));
}

TEST(NamedFilesTest, TheUsersEncodingDecidesTheUtf8Spelling) {
  const auto files = Named("#0 caf\xe9.cel\n$0 0,0\n", TextEncoding::kWindows1252);
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(files[0].urls[0], "caf%E9.cel");
  EXPECT_EQ(files[0].urls[1], "caf%C3%A9.cel");
}

TEST(NamedFilesTest, NothingNamedInATextThatIsNoDoll) {
  EXPECT_TRUE(Named("").empty());
  EXPECT_TRUE(Named("hello world\n\x00\xff\xfe").empty());
}

}  // namespace
}  // namespace luma::web
