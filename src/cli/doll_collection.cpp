#include "cli/doll_collection.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string_view>

#include "cli/check_report.h"
#include "cli/contained_jobs.h"
#include "core/doll/archive_doll_files.h"
#include "core/doll/kiss_cnf_doc.h"
#include "core/host/file_io.h"
#include "core/host/posix_file_system.h"
#include "core/host/text.h"
#include "core/host/text_encoding.h"

namespace luma::cli {
namespace {

namespace fs = std::filesystem;

constexpr int kDefaultTimeLimit = 120;

// The files a folder stands for: CNFs and LZH archives. A self-extracting
// program named on the command line is opened too, but in a folder it is
// most likely just a program. An archive is any doll but a .cnf.
bool IsDollFile(std::string_view path) {
  const DollFileType type = DollFileTypeOf(path);
  return type == DollFileType::kCnf || type == DollFileType::kArchive;
}

bool IsArchive(std::string_view path) { return DollFileTypeOf(path) != DollFileType::kCnf; }

// The dolls under `folder`, in name order; unreadable subfolders are skipped.
std::vector<std::string> DollsUnder(const fs::path& folder) {
  std::vector<std::string> found;
  std::error_code error;
  fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, error);
  for (; !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
    std::error_code ignored;
    if (it->is_regular_file(ignored) && IsDollFile(it->path().string())) {
      found.push_back(it->path().string());
    }
  }
  std::sort(found.begin(), found.end());
  return found;
}

void AddDoll(const std::string& path, bool all_cnfs, std::vector<DollJob>& jobs) {
  if (all_cnfs && IsArchive(path)) {
    ArchiveDollFiles archive;
    PosixFileSystem disk;
    if (archive.Open(disk, path).ok()) {
      bool any = false;
      const TextEncoding names = MemberNameEncoding(archive.members());
      for (const DollFileInfo& member : archive.members()) {
        if (DollFileTypeOf(member.name) != DollFileType::kCnf) continue;
        jobs.push_back({path, member.full_name,
                        DecodeMemberName(member.full_name, member.utf8_name, names), !any});
        any = true;
      }
      if (any) return;
    }
  }
  // A file that cannot be read still gets a record: its load fails.
  jobs.push_back({path, "", "", true});
}

// The path as text: folders the desktop made are UTF-8; a name a doll
// brought along is decoded.
std::string ShownPath(const std::string& path) {
  return DecodePath(path, TextEncoding::kAutomatic);
}

std::string Label(const DollJob& job) {
  const std::string path = ShownPath(job.path);
  return job.shown_cnf.empty() ? path : path + " [" + job.shown_cnf + "]";
}

// The progress line goes to standard error when that is a terminal, and is
// cleared before anything else is printed.
class Progress {
 public:
  Progress(size_t total) : total_(total), shown_(isatty(STDERR_FILENO) == 1) {}

  void Update(size_t done, const std::string& current) {
    if (!shown_) return;
    std::string line = StringPrintf("[%zu/%zu] %s", done, total_, current.c_str());
    if (line.size() > 78) line = line.substr(0, 75) + "...";
    std::fprintf(stderr, "\r\033[K%s", line.c_str());
    std::fflush(stderr);
  }
  void Clear() {
    if (!shown_) return;
    std::fputs("\r\033[K", stderr);
    std::fflush(stderr);
  }

 private:
  size_t total_;
  bool shown_;
};

}  // namespace

std::string LoadedCnf(const DollJob& job, const CKissCnfDoc& doc) {
  if (!job.shown_cnf.empty()) return job.shown_cnf;
  if (doc.cnf_member().empty()) return doc.ShownCnfName();
  return doc.ShownMember(doc.cnf_member(), doc.cnf_utf8_name());
}

std::vector<DollJob> FindDolls(const std::vector<std::string>& operands, bool all_cnfs) {
  std::vector<DollJob> jobs;
  for (const std::string& operand : operands) {
    std::error_code error;
    if (fs::is_directory(operand, error)) {
      for (const std::string& path : DollsUnder(operand)) AddDoll(path, all_cnfs, jobs);
    } else {
      AddDoll(operand, all_cnfs, jobs);
    }
  }
  return jobs;
}

std::vector<OptionSpec> CollectionOptionSpecs() {
  return {
      {.name = "-j",
       .value = "N",
       .help = "Work on N dolls at once (default: the number of processors).",
       .check = WholeNumber(1, 1024, "jobs are 1 to 1024")},
      {.name = "--json",
       .value = "FILE",
       .help = "Write a JSON array with one record per doll to FILE (- for standard output, "
               "which moves the doll lines to standard error).",
       .complete = Complete::kAnyFile},
      {.name = "--all-cnfs",
       .help = "Take every CNF of an archive as a doll of its own, instead of the first."},
      {.name = "--timeout",
       .value = "SECONDS",
       .help = "Give up on a doll that takes longer than SECONDS (default 120) and report it "
               "as timed out.",
       .check = WholeNumber(1, 86400, "the time limit is 1 to 86400 seconds")},
  };
}

bool IsCollection(const ParsedArgs& args) {
  if (args.operands().size() != 1 || args.Has("--json") || args.Has("--all-cnfs")) return true;
  std::error_code error;
  return fs::is_directory(args.operand(0), error);
}

int RunCollection(const ParsedArgs& args, const std::function<DollResult(const DollJob&)>& work) {
  const std::vector<DollJob> jobs = FindDolls(args.operands(), args.Has("--all-cnfs"));
  const std::string json_path = args.Value("--json");
  FILE* lines = json_path == "-" ? stderr : stdout;
  std::vector<std::string> records(jobs.size());
  size_t done = 0, loaded = 0, failed = 0, crashed = 0, timed_out = 0;
  Progress progress(jobs.size());
  const auto start = std::chrono::steady_clock::now();

  JobCallbacks callbacks;
  callbacks.work = [&](size_t i) {
    DollResult result = work(jobs[i]);
    std::replace(result.summary.begin(), result.summary.end(), '\n', ' ');
    // Three lines: the outcome and the CNF as JSON, the summary, the record's members.
    return std::string(result.loaded ? "L" : "F") +
           JsonString(result.cnf.empty() ? jobs[i].shown_cnf : result.cnf) + "\n" + result.summary +
           "\n" + result.json_members;
  };
  callbacks.started = [&](size_t i) { progress.Update(done, Label(jobs[i])); };
  callbacks.ended = [&](size_t i, const JobOutcome& outcome) {
    const DollJob& job = jobs[i];
    std::string status, summary, members, cnf = JsonString(job.shown_cnf);
    const std::string& out = outcome.output;
    const size_t first = out.find('\n');
    const size_t second = first == std::string::npos ? first : out.find('\n', first + 1);
    if (outcome.kind == JobOutcome::Kind::kFinished && second != std::string::npos) {
      const bool ok = out[0] == 'L';
      status = ok ? "loaded" : "failed";
      ++(ok ? loaded : failed);
      cnf = out.substr(1, first - 1);
      summary = out.substr(first + 1, second - first - 1);
      members = out.substr(second + 1);
    } else if (outcome.kind == JobOutcome::Kind::kTimedOut) {
      status = "timed out";
      ++timed_out;
      summary = StringPrintf("timed out after %d s", args.Number("--timeout", kDefaultTimeLimit));
      members = "\"failure\": " + JsonString(summary);
    } else {
      status = "crashed";
      ++crashed;
      summary = "crashed (" + (outcome.cause.empty() ? "no result" : outcome.cause) + ")";
      members = "\"failure\": " + JsonString(summary);
    }
    records[i] = "{\"path\": " + JsonString(ShownPath(job.path)) + ", \"cnf\": " + cnf +
                 ", \"status\": " + JsonString(status) + (members.empty() ? "" : ", ") + members +
                 StringPrintf(", \"seconds\": %.3f}", outcome.seconds);
    ++done;
    progress.Clear();
    std::fprintf(lines, "%s: %s\n", Label(job).c_str(), summary.c_str());
    std::fflush(lines);
    progress.Update(done, Label(job));
  };
  RunContainedJobs(jobs.size(), args.Number("-j", ProcessorCount()),
                   args.Number("--timeout", kDefaultTimeLimit), callbacks);
  progress.Clear();

  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::fprintf(lines, "%zu doll%s: %zu loaded, %zu failed, %zu crashed, %zu timed out (%.1f s)\n",
               jobs.size(), jobs.size() == 1 ? "" : "s", loaded, failed, crashed, timed_out,
               seconds);
  std::fflush(lines);

  int status = loaded == jobs.size() ? kExitOk : kExitFailed;
  if (!json_path.empty()) {
    std::string json = "[";
    for (size_t i = 0; i < records.size(); ++i) json += (i ? ",\n " : "\n ") + records[i];
    json += records.empty() ? "]\n" : "\n]\n";
    if (json_path == "-") {
      std::fwrite(json.data(), 1, json.size(), stdout);
      std::fflush(stdout);
    } else {
      PosixFileSystem disk;
      const Status written = ReplaceFile(
          disk, json_path, std::span(reinterpret_cast<const uint8_t*>(json.data()), json.size()));
      if (!written.ok()) {
        std::fprintf(stderr, "%s\n", written.message().c_str());
        status = kExitFailed;
      }
    }
  }
  return status;
}

}  // namespace luma::cli
