// The page's ZipArchive: the web build has no libzip, so a ZIP file is
// recognised and refused with a message saying what to open instead; the
// engine treats it like any archive that cannot be read.
#include <string>
#include <utility>

#include "core/archive/zip_archive.h"
#include "core/host/text.h"

namespace luma {

// No libzip handle or libdeflate inflater is ever made here.
void ZipArchive::ZipCloser::operator()(struct zip*) const {}
void ZipArchive::InflaterFree::operator()(libdeflate_decompressor*) const {}

ZipArchive::ZipArchive() = default;
ZipArchive::~ZipArchive() = default;

bool StartsLikeZip(std::span<const uint8_t> bytes) {
  if (bytes.size() < 4 || bytes[0] != 'P' || bytes[1] != 'K') return false;
  return (bytes[2] == 3 && bytes[3] == 4) || (bytes[2] == 5 && bytes[3] == 6) ||
         (bytes[2] == 7 && bytes[3] == 8);
}

std::string ZipArchive::MethodName(uint16_t method) { return StringPrintf("method %u", method); }

Status ZipArchive::OpenImage(std::vector<uint8_t> image, const ZipLimits& limits) {
  image_ = std::move(image);
  limits_ = limits;
  return Status::Error(
      "The web page cannot read ZIP files: open the doll's .lzh archive, or its .cnf with its "
      ".cel and .kcf files, or open the ZIP file in the desktop program.");
}

Result<std::vector<uint8_t>> ZipArchive::ReadMember(size_t) {
  return Status::Error("The web page cannot read ZIP files.");
}

Status ZipArchive::StreamMember(size_t, const Sink&) {
  return Status::Error("The web page cannot read ZIP files.");
}

Status ZipArchive::CheckReadable(size_t) const {
  return Status::Error("The web page cannot read ZIP files.");
}

Status ZipArchive::Unpack(size_t, std::vector<uint8_t>*, const Sink&) {
  return Status::Error("The web page cannot read ZIP files.");
}

}  // namespace luma
