#include "core/testing/disk_doll.h"

namespace luma::testing {

DiskDoll::DiskDoll() {
  host_.set_temp_folder(temp_.str());
  device_.mutable_flags().paletted_textures = false;
}

void DiskDoll::Write(const std::string& name, std::string_view bytes) {
  WriteFile(dir_ / name, bytes);
}

std::unique_ptr<CKissCnfDoc> DiskDoll::Open(const std::string& name) {
  return OpenPath(Path(name));
}

std::unique_ptr<CKissCnfDoc> DiskDoll::OpenPath(const std::string& path) {
  auto doc = std::make_unique<CKissCnfDoc>(host_, device_, settings_);
  if (!doc->OpenDoll(path)) return nullptr;
  return doc;
}

}  // namespace luma::testing
