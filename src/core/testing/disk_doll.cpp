#include "core/testing/disk_doll.h"

#include <gtest/gtest.h>

#include "core/testing/doll_builder.h"
#include "core/testing/doll_description.h"
#include "core/testing/doll_loader.h"

namespace luma::testing {

DiskDoll::DiskDoll() {
  host_.set_temp_folder(temp_.str());
  device_.mutable_flags().paletted_textures = false;
}

std::string DiskDoll::Write(const std::string& name, std::string_view bytes) {
  WriteFile(dir_ / name, bytes);
  return Path(name);
}

std::string DiskDoll::Write(const std::string& name, const std::vector<uint8_t>& bytes) {
  return Write(name, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

void DiskDoll::WritePalettedCels(std::initializer_list<const char*> names) {
  Write("pal.kcf", TestKcf(16));
  for (const char* name : names) Write(name, TestCel(4, 4, 4));
}

std::string DiskDoll::WriteDoll(const std::string& cnf,
                                const std::map<std::string, std::vector<uint8_t>>& files) {
  return WriteTestDoll(dir_.path(), cnf, files);
}

std::unique_ptr<CKissCnfDoc> DiskDoll::Open(const std::string& name) {
  return OpenPath(Path(name));
}

std::unique_ptr<CKissCnfDoc> DiskDoll::OpenPath(const std::string& path) {
  auto doc = std::make_unique<CKissCnfDoc>(host_, device_, settings_);
  if (!doc->OpenDoll(path)) return nullptr;
  return doc;
}

std::unique_ptr<CKissCnfDoc> DiskDoll::OpenCnf(const std::string& cnf, const std::string& name) {
  Write(name, cnf);
  return Open(name);
}

std::string DiskDoll::ExpectLoadsTheSame(CKissCnfDoc& doc, const std::string& cnf) {
  auto again = OpenCnf(cnf, "again.cnf");
  EXPECT_TRUE(again);
  if (again) {
    EXPECT_EQ(DescribeDoll(again->model(), again->fkiss()), DescribeDoll(doc.model(), doc.fkiss()));
  }
  return cnf;
}

void DiskDoll::Options(const std::string& lines) {
  std::filesystem::create_directories(home_ / "config" / "Velmora");
  WriteFile(home_ / "config" / "Velmora" / "Lumadoll.conf", "[Options]\n" + lines);
}

ProgramResult DiskDoll::Run(const std::string& program,
                            const std::vector<std::string>& args) const {
  return RunProgram(program, args,
                    {"XDG_CONFIG_HOME=" + (home_ / "config").string(),
                     "XDG_DATA_HOME=" + (home_ / "data").string()});
}

}  // namespace luma::testing
