#include "core/doll/external_files.h"

#include "core/doll/temp_files.h"
#include "core/host/text.h"
#include "core/model/file_name_check.h"

namespace luma {
namespace {

void PrepareFromFolder(ExternalFile& file, DollFiles& files, FileSystem& disk,
                       ErrorReport& report) {
  const std::optional<DollFileInfo> info = files.Find(file.name);
  if (info && CanOpenForReading(disk, info->full_name)) {
    file.path = info->full_name;
    file.available = true;
    file.temporary = false;
  } else if (!file.available) {
    report.AddError(files.UnreadableText(file.name, Status::Error("not found"), true));
  }
}

void PrepareFromArchive(ExternalFile& file, DollFiles& files, Host& host, ErrorReport& report) {
  // Very short names are never matched against members.
  const std::optional<DollFileInfo> member =
      file.name.size() > 4 ? files.Find(file.name) : std::nullopt;
  if (!member) {
    if (!file.available) report.AddError(files.NotFoundText(file.name));
    return;
  }
  if (file.temporary) {
    DeleteTempFile(host.Files(), file.path);
    file.temporary = false;
    file.available = false;
    file.path.clear();
  }
  Result<std::vector<uint8_t>> bytes = files.Read(file.name);
  if (!bytes.ok()) {
    report.AddError(files.UnreadableText(file.name, bytes.status(), true));
    return;
  }
  const size_t dot = file.name.find_last_of('.');
  if (dot == std::string::npos || dot == 0) {
    report.Warning(kMsgFkissUnknownFileType, file.name);
    return;
  }
  Result<std::string> copy =
      WriteTempCopy(host, *bytes, std::string_view(file.name).substr(dot + 1));
  if (!copy.ok()) {
    report.Warning(kMsgTempCopyFailed, file.name);
    return;
  }
  file.path = *copy;
  file.available = true;
  file.temporary = true;
}

}  // namespace

void PrepareExternalFiles(DollModel& doll, DollFiles& files, Host& host, LoadProgress& progress) {
  const int count = static_cast<int>(doll.external_files.size());
  progress.Stage(count == 1 ? std::string("Processing External file...")
                            : StringPrintf("Processing %d External files...", count),
                 count);
  for (int i = 0; i < count; ++i) {
    progress.Step(i);
    ExternalFile& file = doll.external_files[static_cast<size_t>(i)];
    CheckFileName(file.name, doll.report, doll.text_encoding);
    if (files.is_archive()) {
      PrepareFromArchive(file, files, host, doll.report);
    } else {
      PrepareFromFolder(file, files, host.Files(), doll.report);
    }
  }
}

}  // namespace luma
