// Opens arbitrary bytes as a ZIP archive and reads every member it lists,
// whole and streamed, by index and by name.
//
// Seeds: the target makes its own small ZIPs (stored, deflated, ZIP64, a
// folder, UTF-8 and Shift-JIS names, an encrypted member, overlapping
// entries) and writes them into the first corpus folder it is given when
// that folder is empty.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/archive/zip_archive.h"
#include "core/testing/zip_builder.h"

namespace {

using luma::testing::ZipMember;
using luma::testing::ZipTestArchive;
using luma::testing::ZipTestMember;

// Small limits keep each run fast; the code paths are the same.
constexpr luma::ZipLimits kLimits{1u << 20, 4u << 20, 4096};

std::vector<std::vector<uint8_t>> Seeds() {
  ZipTestMember utf8 = ZipMember("caf\xC3\xA9.cel", "utf8 name");
  utf8.utf8_flag = true;
  ZipTestMember secret = ZipMember("secret.kcf", "hidden");
  secret.encrypted = true;
  ZipTestMember wide = ZipMember("wide.cel", std::string(300, 'w'));
  wide.zip64 = true;
  ZipTestMember again = ZipMember("again.cel", "");
  again.same_data_as = 0;
  luma::testing::ZipTestOptions zip64_end;
  zip64_end.zip64_end = true;
  luma::testing::ZipTestOptions commented;
  commented.comment = "note";
  return {
      ZipTestArchive({ZipMember("doll.cnf", "#0 a.cel\n", false)}),
      ZipTestArchive({ZipMember("doll.cnf", "%p.kcf\n#0 a.cel *0 :0\n$0 0,0\n"),
                      ZipMember("dir/", ""), ZipMember("dir/a.cel", std::string(200, 'a'))}),
      ZipTestArchive({utf8, ZipMember("\x95\x5C.cel", "sjis name"), secret}),
      ZipTestArchive({wide, ZipMember("b.cel", "b", false)}, zip64_end),
      ZipTestArchive({ZipMember("x.cel", std::string(1000, 'x')), again}, commented),
      ZipTestArchive({}),
  };
}

void WriteSeedsIfEmpty(const std::filesystem::path& folder) {
  std::error_code error;
  if (!std::filesystem::is_directory(folder, error) || !std::filesystem::is_empty(folder, error)) {
    return;
  }
  int n = 0;
  for (const std::vector<uint8_t>& seed : Seeds()) {
    std::ofstream out(folder / ("seed-" + std::to_string(n++) + ".zip"), std::ios::binary);
    out.write(reinterpret_cast<const char*>(seed.data()),
              static_cast<std::streamsize>(seed.size()));
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  for (int i = 1; i < *argc; ++i) {
    const char* arg = (*argv)[i];
    if (arg[0] == '-') continue;
    WriteSeedsIfEmpty(arg);
    break;
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  luma::ZipArchive zip;
  if (!zip.OpenImage(std::vector<uint8_t>(data, data + size), kLimits).ok()) return 0;
  const std::vector<luma::ArchiveMember>& members = zip.members();
  for (size_t i = 0; i < members.size(); ++i) {
    const auto bytes = zip.ReadMember(i);
    if (bytes.ok() && bytes->size() != members[i].size) __builtin_trap();
    if (members[i].size > kLimits.max_member_size) continue;
    uint64_t streamed = 0;
    const luma::Status status = zip.StreamMember(i, [&](std::span<const uint8_t> piece) {
      streamed += piece.size();
      return luma::Status::Ok();
    });
    if (status.ok() && streamed != members[i].size) __builtin_trap();
    // A whole member is inflated by libdeflate, a streamed one by zlib.
    // libdeflate takes a few codes zlib refuses, its output still checked
    // against the CRC; any other failure of the stream (CRC, size) must fail
    // the whole read too.
    if (bytes.ok() && !status.ok() && !status.message().starts_with("damaged data (Zlib")) {
      __builtin_trap();
    }
  }
  if (!members.empty()) (void)zip.Read(members.front().full_name);
  (void)zip.Read("no such member");
  return 0;
}
