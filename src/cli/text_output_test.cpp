// The tool writes the doll's texts as UTF-8 whatever the doll's encoding;
// the trace keeps the doll's bytes unless asked to decode them.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <string>
#include <vector>

#include "cli/tool_fixture.h"
#include "core/testing/doll_builder.h"
#include "core/testing/doll_loader.h"
#include "core/testing/image_files.h"
#include "core/testing/lzh_builder.h"
#include "core/testing/run_program.h"
#include "core/testing/test_paths.h"
#include "core/testing/zip_builder.h"

namespace luma {
namespace {

using testing::ProgramResult;

// Shift-JIS こんにちは, a kanji comment (日本語), and ソフト (second bytes \ t g).
const std::string kHello = "\x82\xb1\x82\xf1\x82\xc9\x82\xbf\x82\xcd";
const std::string kJapaneseComment = "; \x93\xfa\x96\x7b\x8c\xea\x82\xcc\x83\x68\x81\x5b\x83\x8b\n";
const std::string kSoft = "\x83\x5c\x83\x74\x83\x67";
// Windows-1252 "Poupée à l'été".
const std::string kPoupee =
    "Poup\xe9"
    "e \xe0 l'\xe9t\xe9";

class TextOutputTest : public testing::ToolFixture {
 protected:
  // A 2 x 2 doll with one cel, `cnf` added to its CNF.
  std::string Doll(const std::string& cnf) {
    std::vector<uint32_t> colors(16, 0xFF0000);
    return doll_.WriteDoll("(2,2)\n%p.kcf\n#0 a.cel\n$0 0,0\n" + cnf,
                           {{"p.kcf", testing::MakeKcf({colors})},
                            {"a.cel", testing::MakeCel(4, 2, 2, {1, 1, 1, 1})}});
  }
};

TEST_F(TextOutputTest, RenderShowsAShiftJisNotifyAsUtf8AndTheTraceDecodesOnRequest) {
  const std::string doll =
      Doll(kJapaneseComment + ";@EventHandler\n;@initialize() notify(\"" + kHello + "\")\n");
  const std::string trace = (out_ / "run.trace").string();
  const ProgramResult raw = RenderFrame(doll, {"--trace", trace});
  ASSERT_EQ(raw.exit_code, 0) << raw.err;
  EXPECT_NE(raw.err.find("Lumadoll: こんにちは\n"), std::string::npos) << raw.err;
  EXPECT_EQ(testing::ReadFile(trace), "initialize()\r\n   notify(\"" + kHello + "\")\r\n");

  const ProgramResult decoded = RenderFrame(doll, {"--trace", trace, "--trace-utf8"});
  ASSERT_EQ(decoded.exit_code, 0) << decoded.err;
  EXPECT_EQ(testing::ReadFile(trace), "initialize()\r\n   notify(\"こんにちは\")\r\n");
  EXPECT_EQ(RenderFrame(doll, {"--trace-utf8"}).exit_code, 2);  // nothing to decode into
}

TEST_F(TextOutputTest, RenderShowsAWindowsLatinNotifyAsUtf8) {
  const std::string doll = Doll(";@EventHandler\n;@initialize() notify(\"" + kPoupee + "\")\n");
  const ProgramResult r = RenderFrame(doll);
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_NE(r.err.find("Lumadoll: Poupée à l'été\n"), std::string::npos) << r.err;
}

TEST_F(TextOutputTest, CheckNamesMissingCelsInUtf8) {
  const ProgramResult japanese = Tool({"check", Doll(kJapaneseComment + "#1 " + kSoft + ".cel\n")});
  ASSERT_EQ(japanese.exit_code, 0) << japanese.err;
  EXPECT_NE(japanese.out.find("\nソフト.cel file not found\n"), std::string::npos) << japanese.out;

  const ProgramResult latin = Tool({"check", Doll("; " + kPoupee + "\n#1 caf\xe9.cel\n")});
  ASSERT_EQ(latin.exit_code, 0) << latin.err;
  EXPECT_NE(latin.out.find("\ncafé.cel file not found\n"), std::string::npos) << latin.out;
}

TEST_F(TextOutputTest, ArchiveListShowsJapaneseMemberNames) {
  // An MS-DOS archiver's upper-case names: ソフト and ア keep their second
  // bytes ('\\', 'A') while the ASCII letters fold.
  std::vector<std::vector<uint8_t>> members;
  for (const std::string& name : {kSoft + ".CEL", std::string("\x83\x41") + ".KCF"}) {
    testing::LzhTestMember member = testing::StoredTestMember(name, "x");
    member.os_id = 'M';
    members.push_back(testing::LzhTestMemberBytes(member, 0));
  }
  const std::vector<uint8_t> image = testing::LzhTestArchive(members);
  const std::string path = (doll_ / "names.lzh").string();
  testing::WriteFile(path, std::string(image.begin(), image.end()));
  const ProgramResult list = Tool({"archive", "list", path});
  ASSERT_EQ(list.exit_code, 0) << list.err;
  EXPECT_NE(list.out.find(" ソフト.cel\n"), std::string::npos) << list.out;
  EXPECT_NE(list.out.find(" ア.kcf\n"), std::string::npos) << list.out;
  const ProgramResult test = Tool({"archive", "test", path});
  EXPECT_NE(test.out.find("ソフト.cel: OK\n"), std::string::npos) << test.out;
  const ProgramResult extract = Tool({"archive", "extract", path, kSoft + ".cel"});
  EXPECT_EQ(extract.out, "x");
}

TEST_F(TextOutputTest, CheckJsonRecordsAreUtf8InEveryDollsEncoding) {
  // An archive with two CNFs named in Shift-JIS, 人形 and 服, and a
  // Windows-1252 doll; each of the first and the last misses a cel.
  const std::string doll = "\x90\x6c\x8c\x60";
  const std::string clothes = "\x95\x9e";
  auto bytes = [](const std::vector<uint8_t>& v) { return std::string(v.begin(), v.end()); };
  const std::string kcf = bytes(testing::MakeKcf({std::vector<uint32_t>(16, 0xFF0000)}));
  const std::string cel = bytes(testing::MakeCel(4, 2, 2, {1, 1, 1, 1}));
  const std::string archive = (doll_ / "japan.lzh").string();
  testing::WriteFile(archive,
                     bytes(testing::TestDollArchive(
                         {{doll + ".cnf", kJapaneseComment + "%p.kcf\n#0 " + kSoft + ".cel\n"},
                          {clothes + ".cnf", kJapaneseComment + "%p.kcf\n#0 a.cel\n"},
                          {"p.kcf", kcf},
                          {"a.cel", cel}})));
  const std::string latin = Doll("; " + kPoupee + "\n#1 caf\xe9.cel\n");
  const std::string json = (out_ / "records.json").string();
  const ProgramResult r = Tool({"check", archive, latin, "--all-cnfs", "--json", json});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_NE(r.out.find("japan.lzh [人形.cnf]: 1 error"), std::string::npos) << r.out;

  QJsonParseError error;
  const QJsonArray records =
      QJsonDocument::fromJson(QByteArray::fromStdString(testing::ReadFile(json)), &error).array();
  ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
  ASSERT_EQ(records.size(), 3);
  auto field = [&](int i, const char* name) {
    return records[i].toObject()[name].toString().toStdString();
  };
  auto first_error = [&](int i) {
    return records[i].toObject()["errors"].toArray()[0].toString().toStdString();
  };
  EXPECT_EQ(field(0, "cnf"), "人形.cnf");
  EXPECT_EQ(field(0, "status"), "loaded");
  EXPECT_EQ(first_error(0), "ソフト.cel is not present in LZH");
  EXPECT_EQ(field(1, "cnf"), "服.cnf");
  EXPECT_EQ(field(1, "status"), "loaded");
  EXPECT_EQ(field(2, "path"), latin);
  EXPECT_EQ(first_error(2), "café.cel file not found");
}

TEST_F(TextOutputTest, CheckShowsZipNamesMarkedUtf8AsUtf8InAShiftJisDoll) {
  // 人形.cnf, marked UTF-8, beside an unmarked Shift-JIS 服.cnf.
  auto bytes = [](const std::vector<uint8_t>& v) { return std::string(v.begin(), v.end()); };
  const std::string cnf = kJapaneseComment + "%p.kcf\n#0 a.cel\n";
  testing::ZipTestMember marked = testing::ZipMember("\xE4\xBA\xBA\xE5\xBD\xA2.cnf", cnf);
  marked.utf8_flag = true;
  const std::string archive = (doll_ / "japan.zip").string();
  testing::WriteFile(
      archive,
      bytes(testing::ZipTestArchive(
          {marked, testing::ZipMember("\x95\x9e.cnf", cnf),
           testing::ZipMember("p.kcf", bytes(testing::MakeKcf({std::vector<uint32_t>(16, 0)}))),
           testing::ZipMember("a.cel", bytes(testing::MakeCel(4, 2, 2, {1, 1, 1, 1})))})));
  const std::string json = (out_ / "records.json").string();
  const ProgramResult r = Tool({"check", archive, "--json", json});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const QJsonObject record =
      QJsonDocument::fromJson(QByteArray::fromStdString(testing::ReadFile(json)))
          .array()[0]
          .toObject();
  EXPECT_EQ(record["cnf"].toString().toStdString(), "人形.cnf");
  EXPECT_EQ(record["Title"].toString().toStdString(), "japan.zip (人形.cnf)");
}

}  // namespace
}  // namespace luma
