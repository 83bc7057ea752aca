#ifndef LUMA_CORE_TESTING_DISK_DOLL_H_
#define LUMA_CORE_TESTING_DISK_DOLL_H_

#include <memory>
#include <string>
#include <string_view>

#include "core/doll/kiss_cnf_doc.h"
#include "core/gfx/software_device.h"
#include "core/host/settings.h"
#include "core/testing/fake_host.h"
#include "core/testing/test_paths.h"

namespace luma::testing {

// A folder for a doll made in a test, with the host, settings and software
// device to open it. Textures are not paletted, so cels with several
// palettes get clones.
class DiskDoll {
 public:
  DiskDoll();

  void Write(const std::string& name, std::string_view bytes);
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  // Opens a CNF (or archive) of this folder; null when it does not load.
  std::unique_ptr<CKissCnfDoc> Open(const std::string& name);
  std::unique_ptr<CKissCnfDoc> OpenPath(const std::string& path);

  const TempDir& dir() const { return dir_; }
  FakeHost& host() { return host_; }
  Settings& settings() { return settings_; }
  SoftwareDevice& device() { return device_; }

 private:
  TempDir dir_;
  TempDir temp_;
  FakeHost host_;
  Settings settings_;
  SoftwareDevice device_;
};

}  // namespace luma::testing

#endif  // LUMA_CORE_TESTING_DISK_DOLL_H_
