// Loads arbitrary bytes through the whole doll pipeline twice: as an archive
// image, and as the CNF text of an archive that also holds a few good cels
// and a palette, so the later stages see the text's cel lines come true.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/doll/kiss_cnf_doc.h"
#include "core/gfx/software_device.h"
#include "core/testing/doll_builder.h"
#include "core/testing/fake_host.h"
#include "core/testing/test_paths.h"

namespace {

const std::string& TempFolder() {
  static const luma::testing::TempDir* dir = new luma::testing::TempDir();
  static const std::string path = dir->str();
  return path;
}

void Load(std::vector<uint8_t> image, bool paletted) {
  luma::FakeHost host;
  host.set_temp_folder(TempFolder());
  host.QueueChoice(1);
  luma::SoftwareDevice device;
  device.mutable_flags().paletted_textures = paletted;
  luma::Settings settings;
  settings.recycle_textures = !paletted;
  luma::CKissCnfDoc doc(host, device, settings);
  doc.LoadArchiveImage("fuzz.lzh", std::move(image), false);
  doc.model().Reset(paletted);
  doc.Close();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Load(std::vector<uint8_t>(data, data + size), false);
  const std::string text(reinterpret_cast<const char*>(data), size);
  Load(luma::testing::TestDollArchive({{"fuzz.cnf", text},
                                       {"a.cel", luma::testing::TestCel(20, 18, 4, 3)},
                                       {"b.cel", luma::testing::TestCel(3, 40, 8, 200)},
                                       {"c.cel", luma::testing::TestCel(17, 2, 32)},
                                       {"p.kcf", luma::testing::TestKcf(256)},
                                       {"second.cnf", "#1 a.cel\n"}}),
       true);
  return 0;
}
