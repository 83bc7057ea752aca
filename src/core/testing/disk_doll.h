#ifndef LUMA_CORE_TESTING_DISK_DOLL_H_
#define LUMA_CORE_TESTING_DISK_DOLL_H_

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/doll/kiss_cnf_doc.h"
#include "core/gfx/software_device.h"
#include "core/host/settings.h"
#include "core/testing/fake_host.h"
#include "core/testing/run_program.h"
#include "core/testing/test_paths.h"

namespace luma::testing {

// A folder for a doll made in a test, with the host, settings and software
// device to open it, and settings and data folders of its own for the
// programs run over it. Textures are not paletted, so cels with several
// palettes get clones.
class DiskDoll {
 public:
  DiskDoll();

  // Both return the file's path.
  std::string Write(const std::string& name, std::string_view bytes);
  std::string Write(const std::string& name, const std::vector<uint8_t>& bytes);
  // pal.kcf (16 colours) and a 4 x 4 cel of 16 colours for each name.
  void WritePalettedCels(std::initializer_list<const char*> names);
  // doll.cnf with `files` beside it; returns its path.
  std::string WriteDoll(const std::string& cnf,
                        const std::map<std::string, std::vector<uint8_t>>& files = {});
  std::string Read(const std::string& name) const { return ReadFile(dir_ / name); }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  std::filesystem::path operator/(const std::string& name) const { return dir_ / name; }

  // Opens a CNF (or archive) of this folder; null when it does not load.
  std::unique_ptr<CKissCnfDoc> Open(const std::string& name);
  std::unique_ptr<CKissCnfDoc> OpenPath(const std::string& path);
  // Writes `cnf` under `name` and opens it.
  std::unique_ptr<CKissCnfDoc> OpenCnf(const std::string& cnf,
                                       const std::string& name = "doll.cnf");
  // Writes `cnf` (as written from `doc`) as again.cnf and expects it to load
  // to the same doll as `doc`; returns `cnf`.
  std::string ExpectLoadsTheSame(CKissCnfDoc& doc, const std::string& cnf);

  // "[Options]" lines of the settings file the programs read, e.g. "Easy Click=3".
  void Options(const std::string& lines);
  // Runs `program` with this folder's settings and data folders.
  ProgramResult Run(const std::string& program, const std::vector<std::string>& args) const;

  const TempDir& dir() const { return dir_; }
  FakeHost& host() { return host_; }
  Settings& settings() { return settings_; }
  SoftwareDevice& device() { return device_; }

 private:
  TempDir dir_;
  TempDir temp_;
  TempDir home_;
  FakeHost host_;
  Settings settings_;
  SoftwareDevice device_;
};

}  // namespace luma::testing

#endif  // LUMA_CORE_TESTING_DISK_DOLL_H_
