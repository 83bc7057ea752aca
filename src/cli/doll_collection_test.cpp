#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "cli/contained_jobs.h"
#include "cli/tool_fixture.h"
#include "core/testing/doll_builder.h"
#include "core/testing/run_program.h"
#include "core/testing/test_paths.h"
#include "core/testing/zip_builder.h"

namespace luma::cli {
namespace {

using testing::ProgramResult;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> Sorted(std::vector<std::string> v) {
  std::sort(v.begin(), v.end());
  return v;
}

// A collection: a CNF in a subfolder, an archive of two CNFs, a ZIP doll,
// a damaged archive and a file that is no doll.
class CollectionTest : public testing::ToolFixture {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(doll_ / "sub");
    doll_.Write("sub/one.cnf", "%p.kcf\n#0 a.cel\n#1 gone.cel\n$0 0,0 5,5\n");
    doll_.Write("sub/p.kcf", testing::TestKcf(16));
    doll_.Write("sub/a.cel", testing::TestCel(4, 4, 4));
    const std::string cel = testing::TestCel(3, 2, 4);
    doll_.Write("two.LZH",
                testing::TestDollArchive({{"first.cnf", "%p.kcf\n#0 b.cel\n$0 1,1\n"},
                                          {"second.cnf", "%p.kcf\n#0 b.cel\n#1 b.cel\n$0 1,1\n"},
                                          {"p.kcf", testing::TestKcf(16)},
                                          {"b.cel", cel}}));
    doll_.Write("broken.lha", "this is not an archive");
    doll_.Write("notes.txt", "not a doll");
    doll_.Write("three.Zip", testing::ZipTestArchive(
                                 {testing::ZipMember("doll/three.cnf", "#0 c.cel\n$0 0,0\n"),
                                  testing::ZipMember("doll/c.cel", testing::TestCel(2, 2, 32))}));
  }
};

TEST_F(CollectionTest, EveryDollGetsALineInAnyOrderAndTheDamagedOneFailsAlone) {
  const ProgramResult r = Tool({"check", doll_.dir().str(), "-j", "2"});
  EXPECT_EQ(r.exit_code, 1) << r.err;
  std::vector<std::string> lines = Lines(r.out);
  ASSERT_EQ(lines.size(), 5u) << r.out;
  const std::string closing = lines.back();
  lines.pop_back();
  EXPECT_EQ(closing.substr(0, closing.find(" (")),
            "4 dolls: 3 loaded, 1 failed, 0 crashed, 0 timed out");
  // The lines come as the dolls finish; only the set of lines is fixed.
  std::vector<std::string> heads;
  for (const std::string& line : lines) heads.push_back(line.substr(0, line.rfind(", ")));
  EXPECT_EQ(Sorted(heads), Sorted({doll_.Path("broken.lha") + ": failed: Unable to open " +
                                       doll_.Path("broken.lha") + " It is not an LZH archive.",
                                   doll_.Path("sub/one.cnf") + ": 1 error, 0 warnings",
                                   doll_.Path("three.Zip") + ": 0 errors, 0 warnings",
                                   doll_.Path("two.LZH") + ": 0 errors, 0 warnings"}));
  // No progress line when standard error is not a terminal.
  EXPECT_EQ(r.err, "");
}

TEST_F(CollectionTest, JsonRecordsAgreeWithSingleDollChecks) {
  const std::string json_path = doll_.Path("out/records.json");
  std::filesystem::create_directories(doll_ / "out");
  const ProgramResult r =
      Tool({"check", doll_.Path("two.LZH"), doll_.Path("sub"), doll_.Path("broken.lha"),
            "--all-cnfs", "--json", json_path, "-j", "3"});
  EXPECT_EQ(r.exit_code, 1) << r.err;
  QJsonParseError error;
  const QJsonDocument document =
      QJsonDocument::fromJson(QByteArray::fromStdString(testing::ReadFile(json_path)), &error);
  ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
  const QJsonArray records = document.array();
  ASSERT_EQ(records.size(), 4);
  // Records follow the order the dolls were named and found.
  const std::vector<std::pair<std::string, std::string>> expected = {
      {doll_.Path("two.LZH"), "first.cnf"},
      {doll_.Path("two.LZH"), "second.cnf"},
      {doll_.Path("sub/one.cnf"), "one.cnf"},
      {doll_.Path("broken.lha"), ""}};
  for (int i = 0; i < records.size(); ++i) {
    const QJsonObject record = records[i].toObject();
    const std::string path = record["path"].toString().toStdString();
    const std::string cnf = record["cnf"].toString().toStdString();
    EXPECT_EQ(path, expected[i].first);
    EXPECT_EQ(cnf, expected[i].second);
    EXPECT_TRUE(record["load ms"].isDouble());
    EXPECT_TRUE(record["seconds"].isDouble());
    if (path == doll_.Path("broken.lha")) {
      EXPECT_EQ(record["status"].toString(), "failed");
      EXPECT_EQ(record["failure"].toString().toStdString(),
                "Unable to open\n" + path + "\nIt is not an LZH archive.");
      continue;
    }
    EXPECT_EQ(record["status"].toString(), "loaded");

    // The same doll checked on its own.
    std::vector<std::string> args = {"check", path};
    if (path.ends_with(".LZH")) args.insert(args.end(), {"--cnf", cnf});
    const ProgramResult single = Tool(args);
    ASSERT_EQ(single.exit_code, 0) << single.err;
    std::vector<std::string> lines = Lines(single.out);
    size_t at = 0;
    if (lines[0] == "CNF files:") {
      while (at < lines.size() && !lines[at].empty()) ++at;
      ++at;
    }
    std::vector<std::string> errors, warnings;
    for (++at; !lines[at].empty(); ++at) errors.push_back(lines[at]);
    for (at += 2; !lines[at].empty(); ++at) warnings.push_back(lines[at]);
    auto list = [](const QJsonValue& value) {
      std::vector<std::string> items;
      for (const QJsonValue& item : value.toArray()) items.push_back(item.toString().toStdString());
      return items;
    };
    EXPECT_EQ(list(record["errors"]), errors) << path << " " << cnf;
    EXPECT_EQ(list(record["warnings"]), warnings);
    EXPECT_EQ(record["error count"].toInt(), static_cast<int>(errors.size()));
    EXPECT_EQ(record["warning count"].toInt(), static_cast<int>(warnings.size()));
    int counters = 0;
    for (++at; at < lines.size() && !lines[at].empty(); ++at, ++counters) {
      const std::string name = lines[at].substr(0, lines[at].find(": "));
      const std::string value = lines[at].substr(name.size() + 2);
      const QJsonValue field = record[QString::fromStdString(name)];
      std::string shown;
      if (field.isDouble()) {
        shown = std::to_string(field.toInt());
      } else if (field.isArray()) {
        for (const QJsonValue& n : field.toArray()) {
          EXPECT_TRUE(n.isDouble()) << name;
          shown += (shown.empty() ? "" : " / ") + std::to_string(n.toInt());
        }
      } else {
        shown = field.toString().toStdString();
      }
      EXPECT_EQ(shown, value) << name;
    }
    EXPECT_EQ(counters, 12);
    EXPECT_EQ("Title: " + record["Title"].toString().toStdString(), lines[at + 1]);
  }
}

TEST_F(CollectionTest, ThumbnailsForAFolderAndEveryCnfOfAnArchive) {
  const ProgramResult r = Tool({"thumbnail", doll_.dir().str(), "--all-cnfs", "-j", "2"});
  EXPECT_EQ(r.exit_code, 1) << r.err;  // the damaged archive
  EXPECT_TRUE(std::filesystem::exists(doll_ / "sub/one.KTN"));
  EXPECT_TRUE(std::filesystem::exists(doll_ / "two.KTN"));
  EXPECT_TRUE(std::filesystem::exists(doll_ / "two_second.KTN"));
  const std::vector<std::string> lines = Lines(r.out);
  EXPECT_NE(std::find(lines.begin(), lines.end(),
                      doll_.Path("two.LZH") + " [second.cnf]: " + doll_.Path("two_second.KTN")),
            lines.end())
      << r.out;
}

// How a job that touches memory it must not ends. AddressSanitizer catches
// the fault itself, reports it and aborts.
#if defined(__SANITIZE_ADDRESS__)
constexpr const char* kCrashSignal = "signal 6";
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr const char* kCrashSignal = "signal 6";
#else
constexpr const char* kCrashSignal = "signal 11";
#endif
#else
constexpr const char* kCrashSignal = "signal 11";
#endif

TEST(ContainedJobsTest, CrashesAndHangsEndOnlyTheirOwnJob) {
  std::map<size_t, JobOutcome> outcomes;
  std::vector<size_t> started;
  JobCallbacks callbacks;
  callbacks.work = [](size_t job) -> std::string {
    if (job == 1) raise(SIGSEGV);
    if (job == 2) pause();  // hangs until killed
    if (job == 3) _exit(4);
    return "done " + std::to_string(job) + std::string(100000, '.');
  };
  callbacks.started = [&](size_t job) { started.push_back(job); };
  callbacks.ended = [&](size_t job, const JobOutcome& outcome) { outcomes[job] = outcome; };
  RunContainedJobs(6, 3, 1, callbacks);
  EXPECT_EQ(started, (std::vector<size_t>{0, 1, 2, 3, 4, 5}));
  ASSERT_EQ(outcomes.size(), 6u);
  for (size_t job : {0, 4, 5}) {
    EXPECT_EQ(outcomes[job].kind, JobOutcome::Kind::kFinished);
    EXPECT_EQ(outcomes[job].output, "done " + std::to_string(job) + std::string(100000, '.'));
  }
  EXPECT_EQ(outcomes[1].kind, JobOutcome::Kind::kCrashed);
  EXPECT_EQ(outcomes[1].cause.rfind(kCrashSignal, 0), 0u) << outcomes[1].cause;
  EXPECT_EQ(outcomes[2].kind, JobOutcome::Kind::kTimedOut);
  EXPECT_GE(outcomes[2].seconds, 1.0);
  EXPECT_EQ(outcomes[3].kind, JobOutcome::Kind::kCrashed);
  EXPECT_EQ(outcomes[3].cause, "exit status 4");
}

}  // namespace
}  // namespace luma::cli
