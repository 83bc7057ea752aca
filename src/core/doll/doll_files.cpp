#include "core/doll/doll_files.h"

#include "core/host/file_io.h"
#include "core/host/text.h"
#include "core/model/messages.h"

namespace luma {

std::string DollRelativePath(std::string_view name, TextEncoding encoding) {
  std::string path(name);
  for (size_t i = 0; i < path.size();) {
    const size_t length = CharacterLength(path, i, encoding);
    // The second byte of a Shift-JIS character may be a backslash.
    if (length == 1 && path[i] == '\\') path[i] = '/';
    i += length;
  }
  return path;
}

bool CanOpenForReading(FileSystem& files, const std::string& path) {
  Result<std::unique_ptr<ReadableFile>> file = files.OpenForReading(path);
  return file.ok() && (*file)->status().is_regular();
}

FolderDollFiles::FolderDollFiles(FileSystem& files, std::string folder)
    : files_(files), folder_(std::move(folder)) {}

void FolderDollFiles::SetNameEncoding(TextEncoding encoding) {
  if (encoding == name_encoding_) return;
  name_encoding_ = encoding;
  listing_.reset();
}

std::optional<std::string> FolderDollFiles::ExistingPath(std::string_view name) {
  if (name.empty()) return std::nullopt;
  const std::string relative = DollRelativePath(name, name_encoding_);
  std::string path = folder_ + relative;
  if (IsRegularFile(files_, path)) return path;
  if (relative.find('/') != std::string::npos) return std::nullopt;
  if (!listing_) {
    listing_.emplace();
    if (Result<std::vector<std::string>> names = files_.ListFolder(folder_); names.ok()) {
      for (std::string& entry : *names) {
        listing_->try_emplace(FoldNameCase(entry, name_encoding_), std::move(entry));
      }
    }
  }
  const auto it = listing_->find(FoldNameCase(relative, name_encoding_));
  if (it == listing_->end()) return std::nullopt;
  path = folder_ + it->second;
  if (!IsRegularFile(files_, path)) return std::nullopt;
  return path;
}

std::string FolderDollFiles::PathOf(std::string_view name) {
  if (std::optional<std::string> path = ExistingPath(name)) return *path;
  return folder_ + DollRelativePath(name, name_encoding_);
}

std::optional<DollFileInfo> FolderDollFiles::Find(std::string_view name) {
  const std::optional<std::string> path = ExistingPath(name);
  if (!path) return std::nullopt;
  const Result<FileStatus> status = files_.Stat(*path);
  if (!status.ok() || !status->is_regular()) return std::nullopt;
  DollFileInfo info;
  info.name = std::string(FileNamePart(*path));
  info.full_name = *path;
  info.size = status->size > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(status->size);
  info.time_stamp = static_cast<uint32_t>(status->modified);
  return info;
}

Result<std::vector<uint8_t>> FolderDollFiles::Read(std::string_view name) {
  const std::optional<std::string> path = ExistingPath(name);
  if (!path) return Status::Error("not found");
  return ReadWholeFile(files_, *path);
}

std::string FolderDollFiles::NotFoundText(std::string_view name) const {
  return FormatMessage(kMsgFileNotFound, name);
}

std::string FolderDollFiles::UnreadableText(std::string_view name, const Status&,
                                            bool for_script) const {
  return FormatMessage(for_script ? kMsgFkissUnableToRead : kMsgFileNotFound, name);
}

}  // namespace luma
