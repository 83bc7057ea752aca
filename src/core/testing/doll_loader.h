#ifndef LUMA_CORE_TESTING_DOLL_LOADER_H_
#define LUMA_CORE_TESTING_DOLL_LOADER_H_

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "core/doll/kiss_cnf_doc.h"
#include "core/gfx/render_device.h"
#include "core/host/host.h"
#include "core/host/settings.h"

namespace luma::testing {

// A doll opened by the loading pipeline, ready for drawing (with paletted
// textures the pipeline has uploaded its device palettes).
class TestDoll {
 public:
  TestDoll(RenderDevice& device, Host& host, const Settings& settings = Settings())
      : doc_(host, device, settings) {}
  TestDoll(const TestDoll&) = delete;
  TestDoll& operator=(const TestDoll&) = delete;

  bool Open(const std::string& path);

  CKissCnfDoc& doc() { return doc_; }
  DollModel& model() { return doc_.model(); }

 private:
  CKissCnfDoc doc_;
};

// Writes `cnf` as doll.cnf and the files beside it into `dir`; returns the
// CNF's path.
std::string WriteTestDoll(const std::filesystem::path& dir, const std::string& cnf,
                          const std::map<std::string, std::vector<uint8_t>>& files);

}  // namespace luma::testing

#endif  // LUMA_CORE_TESTING_DOLL_LOADER_H_
