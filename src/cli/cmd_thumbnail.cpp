// lumadoll-tool thumbnail FILE... [--16bit] [--emulate-palettes]: writes the
// doll's ".KTN" thumbnail where the thumbnail settings put it and prints its
// path; for a collection, one thumbnail and one line per doll.
#include <chrono>
#include <cstdio>
#include <string>

#include "cli/check_report.h"
#include "cli/commands.h"
#include "cli/doll_collection.h"
#include "cli/render_doll.h"
#include "core/host/text.h"
#include "core/view/picture_saving.h"

namespace luma::cli {

namespace {

// Writes the thumbnail of `doll` where the settings put it, named after
// `name_path`; returns its path, or empty when it could not be written.
std::string WriteThumbnail(CliHost& host, DrawableDoll& doll, const std::string& name_path) {
  Settings settings = doll.settings();
  // Without a folder of its own the tool writes the thumbnail beside the doll.
  if (settings.thumb_directory.empty()) settings.thumb_use_directory = false;
  return SaveThumbnail(doll.device(), doll.FirstSetScene(), name_path, settings, host.DataFolder(),
                       host);
}

// The further CNFs of an archive get thumbnails of their own beside the
// archive's: "doll_other.KTN" for other.cnf in doll.lzh.
std::string ThumbnailNameFor(const DollJob& job) {
  if (job.first_of_archive) return job.path;
  const std::string_view extension = ExtensionPart(job.path);
  std::string base = job.path.substr(0, job.path.size() - extension.size());
  if (!base.empty() && base.back() == '.') base.pop_back();
  std::string cnf(FileNamePart(job.cnf));
  cnf = cnf.substr(0, cnf.size() - ExtensionPart(cnf).size());
  if (!cnf.empty() && cnf.back() == '.') cnf.pop_back();
  return base + "_" + cnf + "." + std::string(extension);
}

DollResult ThumbnailOne(const DollJob& job, const DrawOptions& options) {
  CliHost host;
  host.set_collect_messages(true);
  host.set_choice_name(job.shown_cnf);
  DollResult result;
  const auto start = std::chrono::steady_clock::now();
  DrawableDoll doll(host, options);
  const bool opened = doll.Open(job.path);
  const double ms =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  std::string written;
  if (opened) {
    result.cnf = LoadedCnf(job, doll.doc());
    written = WriteThumbnail(host, doll, ThumbnailNameFor(job));
  }
  std::string failure;
  for (const std::string& m : host.messages()) failure += (failure.empty() ? "" : " ") + m;
  result.loaded = !written.empty();
  if (result.loaded) {
    result.summary = written;
    result.json_members = "\"thumbnail\": " + JsonString(written);
  } else {
    if (failure.empty())
      failure = opened ? "the thumbnail could not be written" : "the doll could not be loaded";
    result.summary = "failed: " + failure;
    result.json_members = "\"failure\": " + JsonString(failure);
  }
  result.json_members += StringPrintf(", \"load ms\": %.3f", ms);
  return result;
}

int RunThumbnail(const ParsedArgs& args) {
  const DrawOptions options = DrawOptionsFrom(args);
  if (IsCollection(args)) {
    return RunCollection(args,
                         [&options](const DollJob& job) { return ThumbnailOne(job, options); });
  }
  const std::string& path = args.operand(0);
  CliHost host;
  DrawableDoll doll(host, options);
  if (!doll.Open(path)) return kExitFailed;
  const std::string written = WriteThumbnail(host, doll, path);
  if (written.empty()) return kExitFailed;
  std::printf("%s\n", written.c_str());
  return kExitOk;
}

}  // namespace

const CommandSpec& ThumbnailCommand() {
  static const CommandSpec spec = [] {
    CommandSpec c{
        .name = "thumbnail",
        .summary = "Write the .KTN thumbnails of dolls",
        .description =
            "Writes the doll's thumbnail (a BMP file named like the doll with the extension "
            ".KTN, of \"Thumb Width\" x \"Thumb Height\" fitted to the playfield's shape) "
            "showing the first set in use, and prints its path. It goes beside the doll, or "
            "into \"Thumb Directory\" when \"Thumb Use Directory\" is on and a directory is "
            "set (with no directory set the tool writes beside the doll). With \"Thumb "
            "Verbose\" on, \"PATH saved\" also goes to standard error.\n\n"
            "Collections work as for check: several FILEs or folders, one process per doll with "
            "a time limit, -j at once, one line per doll (\"PATH: \" and the thumbnail written, "
            "or the failure) and JSON records of path, cnf, status, thumbnail or failure, load "
            "ms and seconds. With --all-cnfs the further CNFs of an archive get thumbnails named "
            "ARCHIVE_CNF.KTN beside the archive's own.\n\n"
            "Exit status 1 when the doll cannot be opened or the file not written (for a "
            "collection: for any doll).",
        .operands = {{.name = "FILE", .complete = Complete::kDoll, .repeatable = true}},
        .options = DrawOptionSpecs(),
        .run = RunThumbnail,
    };
    for (OptionSpec& o : CollectionOptionSpecs()) c.options.push_back(std::move(o));
    return c;
  }();
  return spec;
}

}  // namespace luma::cli
