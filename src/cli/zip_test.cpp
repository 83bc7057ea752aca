#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/tool_fixture.h"
#include "core/doll/kiss_cnf_doc.h"
#include "core/gfx/software_device.h"
#include "core/testing/corpus_dolls.h"
#include "core/testing/doll_builder.h"
#include "core/testing/fake_host.h"
#include "core/testing/run_program.h"
#include "core/testing/test_paths.h"
#include "core/testing/zip_builder.h"

namespace luma {
namespace {

using testing::ProgramResult;
using testing::ZipMember;
using testing::ZipTestArchive;
using testing::ZipTestMember;

class ZipToolTest : public testing::ToolFixture {};

// A folder entry, a deflated and a stored member, an escape in a name and
// an encrypted member.
std::vector<uint8_t> MixedZip() {
  ZipTestMember secret = ZipMember("secret.txt", "hidden");
  secret.encrypted = true;
  return ZipTestArchive({ZipMember("doc/", ""), ZipMember("doc/readme.txt", "hello\n"),
                         ZipMember("odd\x1b]2;x.txt", "odd", false), secret});
}

TEST_F(ZipToolTest, ArchiveListTestAndExtractReadZipFiles) {
  const std::string zip = doll_.Write("mixed.zip", MixedZip());
  ProgramResult r = Tool({"archive", "list", zip});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out,
            "stored            0          0 00000000 2025-01-15 12:00:00 doc/\n"
            "deflated          8          6 363a3020 2025-01-15 12:00:00 doc/readme.txt\n"
            "stored            3          3 f7845eed 2025-01-15 12:00:00 odd?]2;x.txt\n"
            "deflated         20          6 885de9bd 2025-01-15 12:00:00 secret.txt (encrypted)\n");

  r = Tool({"archive", "test", zip});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.out,
            "doc/: OK\ndoc/readme.txt: OK\nodd?]2;x.txt: OK\n"
            "secret.txt: encrypted; Lumadoll does not read encrypted ZIP members\n");

  r = Tool({"archive", "extract", zip, "README.TXT"});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out, "hello\n");
  const std::string out = (doll_ / "out.txt").string();
  r = Tool({"archive", "extract", zip, "doc/readme.txt", "-o", out});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(testing::ReadFile(out), "hello\n");
  r = Tool({"archive", "extract", zip, "secret.txt"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.err, "secret.txt: encrypted; Lumadoll does not read encrypted ZIP members\n");
  EXPECT_EQ(Tool({"archive", "extract", zip, "missing.txt"}).exit_code, 1);

  // Names show as UTF-8 text: a marked one as it is, the others in the
  // encoding their bytes are in; extract takes either spelling.
  ZipTestMember marked = ZipMember(
      "poup\xC3\xA9"
      "e.cel",
      "utf8");
  marked.utf8_flag = true;
  const std::string names =
      doll_.Write("names.zip", ZipTestArchive({marked, ZipMember("\xE9t\xE9.cel", "cp1252")}));
  r = Tool({"archive", "test", names});
  EXPECT_EQ(r.out,
            "poup\xC3\xA9"
            "e.cel: OK\n\xC3\xA9t\xC3\xA9.cel: OK\n");
  EXPECT_EQ(Tool({"archive", "extract", names, "\xC3\xA9t\xC3\xA9.cel"}).out, "cp1252");
  EXPECT_EQ(Tool({"archive", "extract", names, "\xE9T\xE9.CEL"}).out, "cp1252");

  // A name that says ZIP on bytes that are not.
  const std::string junk = doll_.Write("junk.zip", {'j', 'u', 'n', 'k'});
  r = Tool({"archive", "list", junk});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.err, "It is not a ZIP archive.\nUnable to open\n" + junk + "\n");
}

TEST_F(ZipToolTest, DollCommandsTakeZipDolls) {
  const std::string zip = doll_.Write(
      "doll.zip", ZipTestArchive({ZipMember("doll/doll.cnf", "(6,4)\n%p.kcf\n#0 a.cel\n$0 0,0\n"),
                                  ZipMember("doll/p.kcf", testing::TestKcf(16)),
                                  ZipMember("doll/a.cel", testing::TestCel(6, 4, 4)),
                                  ZipMember("doll/readme.txt", "read me")}));
  ProgramResult r = Tool({"check", zip});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_NE(r.out.find("No Errors Found\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Title: doll.zip\n"), std::string::npos) << r.out;

  r = Tool({"render", zip, "-o", (doll_ / "doll.png").string()});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(QImage(QString::fromStdString((doll_ / "doll.png").string())).width(), 6);
  r = Tool({"thumbnail", zip});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out, (doll_ / "doll.KTN").string() + "\n");
  r = Tool({"save-cnf", zip, "-o", (doll_ / "saved.cnf").string()});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(testing::ReadFile(doll_ / "saved.cnf").substr(0, 24), "(6,4)\n%p.kcf\n#0 a.cel\n$0");

  // Build LZH Archive of a ZIP doll writes an LZH archive of it.
  const std::string lzh = (doll_ / "rebuilt.lzh").string();
  r = Tool({"build-archive", zip, "-o", lzh});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  r = Tool({"archive", "list", lzh});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_NE(r.out.find(" doll.cnf\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find(" a.cel\n"), std::string::npos) << r.out;
  r = Tool({"check", lzh});
  EXPECT_NE(r.out.find("No Errors Found\n"), std::string::npos) << r.out;
}

// Everything after the error and warning lists, and those lists.
std::string Report(std::string out) {
  const size_t title = out.rfind("Title: ");
  return title == std::string::npos ? out : out.substr(0, title);
}

TEST_F(ZipToolTest, EveryCorpusDollRepackedAsZipChecksAndRendersLikeItsLzh) {
  LUMA_REQUIRE_CORPUS();
  for (const auto& archive : testing::CorpusDollArchives()) {
    const std::string lzh = archive.string();
    const std::string zip =
        doll_.Write(archive.stem().string() + ".zip", testing::RepackAsZip(archive));
    const ProgramResult from_lzh = Tool({"check", lzh});
    const ProgramResult from_zip = Tool({"check", zip});
    ASSERT_EQ(from_zip.exit_code, 0) << zip << ": " << from_zip.err;
    EXPECT_EQ(Report(from_zip.out), Report(from_lzh.out)) << archive;

    SoftwareDevice device;
    FakeHost host;
    CKissCnfDoc doc(host, device, Settings());
    ASSERT_TRUE(doc.OpenDoll(lzh)) << archive;
    for (int set = 0; set < kSetCount; ++set) {
      if (!doc.model().sets[set].used) continue;
      QImage frames[2];
      for (int i = 0; i < 2; ++i) {
        const std::string png = (doll_ / (archive.stem().string() + std::to_string(set) + "-" +
                                          std::to_string(i) + ".png"))
                                    .string();
        const ProgramResult r =
            Tool({"render", i == 0 ? lzh : zip, "--set", std::to_string(set), "-o", png});
        ASSERT_EQ(r.exit_code, 0) << archive << " set " << set << ": " << r.err;
        frames[i] = QImage(QString::fromStdString(png));
      }
      EXPECT_FALSE(frames[0].isNull());
      EXPECT_TRUE(frames[0] == frames[1]) << archive << " set " << set;
    }
  }
}

}  // namespace
}  // namespace luma
