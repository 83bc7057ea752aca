#include "core/testing/fkiss_doll.h"

#include <algorithm>
#include <map>

#include "core/fkiss/parse_fkiss.h"
#include "core/host/text.h"
#include "core/model/cel_codec.h"
#include "core/model/cnf_parser.h"

namespace luma::testing {
namespace {

CnfLines SplitLines(std::string_view text) {
  CnfLines lines;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    lines.emplace_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

void CollectAmbiguousCels(DollModel& doll) {
  std::map<std::string, std::vector<CelInstance*>> by_name;
  for (const auto& instance : doll.instances()) {
    if (instance->cel) by_name[AsciiLowerCopy(instance->cel->file_name)].push_back(instance.get());
  }
  for (auto& [name, instances] : by_name) {
    if (instances.size() < 2) continue;
    CelSet* set = doll.FindOrCreateAmbiguous(instances.front()->cel->file_name);
    for (CelInstance* instance : instances) set->AddInstance(instance);
  }
}

std::string CelFile(const TestCelImage& image) {
  std::string bytes = "KiSS";
  bytes += static_cast<char>(0x21);
  bytes += static_cast<char>(32);
  bytes += std::string(2, '\0');
  for (const int v : {image.width, image.height, image.x_offset, image.y_offset}) {
    bytes += static_cast<char>(v & 0xff);
    bytes += static_cast<char>((v >> 8) & 0xff);
  }
  bytes += std::string(16, '\0');
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      const char c = image.rows.empty() ? '#'
                     : static_cast<size_t>(y) < image.rows.size() &&
                             static_cast<size_t>(x) < image.rows[y].size()
                         ? image.rows[y][x]
                         : '.';
      const int alpha = c == '#' ? 0xff : IsAsciiDigit(c) ? (c - '0') * 16 : 0;
      bytes +=
          alpha ? std::string("\x40\x80\xc0", 3) + static_cast<char>(alpha) : std::string(4, '\0');
    }
  }
  return bytes;
}

void DecodeImages(DollModel& doll, SoftwareDevice& device, TexturePool& textures,
                  const std::vector<TestCelImage>& images) {
  const CelTextureSource source{&device, &textures, false};
  for (const TestCelImage& image : images) {
    const std::string file = CelFile(image);
    const std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(file.data()),
                                         file.size());
    // A cel that does not decode stays absent, as it would in a load.
    for (const auto& cel : doll.cels()) {
      if (EqualsIgnoreCase(cel->file_name, image.file_name)) (void)DecodeCel(*cel, bytes, source);
    }
  }
  for (const auto& instance : doll.instances()) {
    if (!instance->cel) continue;
    if (!instance->x_offset_given) instance->x_offset = instance->cel->x_offset;
    if (!instance->y_offset_given) instance->y_offset = instance->cel->y_offset;
  }
}

int CountPrefix(const std::vector<std::string>& list, std::string_view prefix) {
  return static_cast<int>(std::count_if(list.begin(), list.end(), [&](const std::string& s) {
    return std::string_view(s).substr(0, prefix.size()) == prefix;
  }));
}

bool Contains(const std::vector<std::string>& list, std::string_view text) {
  std::string_view wanted = text;
  if (!wanted.empty() && wanted.back() == '\n') wanted.remove_suffix(1);
  return std::find(list.begin(), list.end(), wanted) != list.end();
}

}  // namespace

ScriptedDoll::ScriptedDoll(std::string_view cnf, FkissParseOptions options,
                           const std::vector<TestCelImage>& images,
                           const SoftwareDeviceOptions& device_options)
    : ScriptedDoll(SplitLines(cnf), options, images, device_options) {}

ScriptedDoll::ScriptedDoll(CnfLines lines, FkissParseOptions options,
                           const std::vector<TestCelImage>& images,
                           const SoftwareDeviceOptions& device_options)
    : device(device_options) {
  doll.cnf_lines = std::move(lines);
  (void)ParseCnf(doll, host, CnfParseOptions());
  if (!images.empty()) DecodeImages(doll, device, textures, images);
  CollectAmbiguousCels(doll);
  (void)ParseFkiss(doll, script, options, &host);
}

CelInstance* ScriptedDoll::Cel(std::string_view file_name) {
  for (const auto& instance : doll.instances()) {
    if (instance->cel && EqualsIgnoreCase(instance->cel->file_name, file_name)) {
      return instance.get();
    }
  }
  return nullptr;
}

int ScriptedDoll::ErrorsStartingWith(std::string_view prefix) const {
  return CountPrefix(doll.report.errors(), prefix);
}

int ScriptedDoll::WarningsStartingWith(std::string_view prefix) const {
  return CountPrefix(doll.report.warnings(), prefix);
}

bool ScriptedDoll::HasError(std::string_view text) const {
  return Contains(doll.report.errors(), text);
}

bool ScriptedDoll::HasWarning(std::string_view text) const {
  return Contains(doll.report.warnings(), text);
}

std::string ScriptedDoll::ReportText() const {
  std::string text;
  for (const std::string& e : doll.report.errors()) text += "error: " + e + "\n";
  for (const std::string& w : doll.report.warnings()) text += "warning: " + w + "\n";
  return text;
}

std::string CnfWithObjects(int objects) {
  std::string cnf = "(640,480)\n";
  for (int i = 0; i < objects; ++i) cnf += StringPrintf("#%d c%d.cel\n", i, i);
  cnf += "$0";
  for (int i = 0; i < objects; ++i) cnf += StringPrintf(" %d,%d", 10 * i, 10 * i);
  cnf += "\n";
  return cnf;
}

}  // namespace luma::testing
