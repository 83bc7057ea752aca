#include "core/testing/zip_builder.h"

#include <zlib.h>

#include <stdexcept>

namespace luma::testing {
namespace {

constexpr uint32_t kMax32 = 0xFFFFFFFFu;

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}
void Put64(std::vector<uint8_t>& out, uint64_t v) {
  Put32(out, static_cast<uint32_t>(v));
  Put32(out, static_cast<uint32_t>(v >> 32));
}
void PutBytes(std::vector<uint8_t>& out, std::string_view s) {
  out.insert(out.end(), s.begin(), s.end());
}

struct Written {
  uint64_t offset = 0;
  uint32_t crc = 0;
  uint64_t packed = 0;
  uint64_t size = 0;
  uint16_t method = 0;
};

uint16_t Flags(const ZipTestMember& m) {
  return static_cast<uint16_t>((m.encrypted ? 1 : 0) | (m.utf8_flag ? 0x800 : 0));
}

}  // namespace

ZipTestMember ZipMember(std::string name, std::string_view content, bool deflate) {
  ZipTestMember m;
  m.name = std::move(name);
  m.data.assign(content.begin(), content.end());
  m.deflate = deflate;
  return m;
}

std::vector<uint8_t> DeflateRaw(const std::vector<uint8_t>& data, int level) {
  z_stream z{};
  if (deflateInit2(&z, level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
    throw std::runtime_error("deflateInit2");
  }
  std::vector<uint8_t> out(deflateBound(&z, data.size()));
  z.next_in = const_cast<Bytef*>(data.data());
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(out.size());
  const int result = deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  if (result != Z_STREAM_END) throw std::runtime_error("deflate");
  return out;
}

std::vector<uint8_t> ZipTestArchive(const std::vector<ZipTestMember>& members,
                                    const ZipTestOptions& options) {
  std::vector<uint8_t> out;
  std::vector<Written> written;
  for (const ZipTestMember& m : members) {
    if (m.same_data_as) {
      written.push_back(written.at(*m.same_data_as));
      continue;
    }
    Written w;
    w.offset = out.size();
    w.crc = static_cast<uint32_t>(crc32(0, m.data.data(), static_cast<uInt>(m.data.size())));
    w.size = m.declared_size.value_or(m.data.size());
    const bool deflate = m.deflate && !m.method && !m.data.empty();
    std::vector<uint8_t> packed = deflate ? DeflateRaw(m.data) : m.data;
    w.method = m.method.value_or(deflate ? 8 : 0);
    if (m.encrypted) packed.insert(packed.begin(), 12, 0x5A);
    w.packed = packed.size();
    Put32(out, 0x04034b50);
    Put16(out, m.zip64 ? 45 : 20);
    Put16(out, Flags(m));
    Put16(out, w.method);
    Put32(out, m.dos_time);
    Put32(out, w.crc);
    Put32(out, m.zip64 ? kMax32 : static_cast<uint32_t>(w.packed));
    Put32(out, m.zip64 ? kMax32 : static_cast<uint32_t>(w.size));
    Put16(out, static_cast<uint32_t>(m.name.size()));
    Put16(out, m.zip64 ? 20 : 0);
    PutBytes(out, m.name);
    if (m.zip64) {
      Put16(out, 0x0001);
      Put16(out, 16);
      Put64(out, w.size);
      Put64(out, w.packed);
    }
    out.insert(out.end(), packed.begin(), packed.end());
    written.push_back(w);
  }

  const uint64_t directory_offset = out.size();
  for (size_t i = 0; i < members.size(); ++i) {
    const ZipTestMember& m = members[i];
    const Written& w = written[i];
    Put32(out, 0x02014b50);
    Put16(out, 0x031E);  // UNIX, version 3.0
    Put16(out, m.zip64 ? 45 : 20);
    Put16(out, Flags(m));
    Put16(out, w.method);
    Put32(out, m.dos_time);
    Put32(out, w.crc);
    Put32(out, m.zip64 ? kMax32 : static_cast<uint32_t>(w.packed));
    Put32(out, m.zip64 ? kMax32 : static_cast<uint32_t>(w.size));
    Put16(out, static_cast<uint32_t>(m.name.size()));
    Put16(out, m.zip64 ? 28 : 0);
    Put16(out, 0);  // comment
    Put16(out, 0);  // disk
    Put16(out, 0);  // internal attributes
    const bool folder = !m.name.empty() && m.name.back() == '/';
    Put32(out, folder ? 0x41ED0010u : 0x81A40000u);
    Put32(out, m.zip64 ? kMax32 : static_cast<uint32_t>(w.offset));
    PutBytes(out, m.name);
    if (m.zip64) {
      Put16(out, 0x0001);
      Put16(out, 24);
      Put64(out, w.size);
      Put64(out, w.packed);
      Put64(out, w.offset);
    }
  }
  const uint64_t directory_size = out.size() - directory_offset;
  const uint64_t count = members.size();

  if (options.zip64_end) {
    const uint64_t end64 = out.size();
    Put32(out, 0x06064b50);
    Put64(out, 44);
    Put16(out, 45);
    Put16(out, 45);
    Put32(out, 0);
    Put32(out, 0);
    Put64(out, count);
    Put64(out, count);
    Put64(out, directory_size);
    Put64(out, directory_offset);
    Put32(out, 0x07064b50);
    Put32(out, 0);
    Put64(out, end64);
    Put32(out, 1);
  }
  Put32(out, 0x06054b50);
  Put16(out, 0);
  Put16(out, 0);
  Put16(out, options.zip64_end ? 0xFFFF : static_cast<uint32_t>(count));
  Put16(out, options.zip64_end ? 0xFFFF : static_cast<uint32_t>(count));
  Put32(out, options.zip64_end ? kMax32 : static_cast<uint32_t>(directory_size));
  Put32(out, options.zip64_end ? kMax32 : static_cast<uint32_t>(directory_offset));
  Put16(out, static_cast<uint32_t>(options.comment.size()));
  PutBytes(out, options.comment);
  return out;
}

}  // namespace luma::testing
