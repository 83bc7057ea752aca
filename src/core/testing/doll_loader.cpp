#include "core/testing/doll_loader.h"

#include <algorithm>

#include "core/host/text.h"
#include "core/model/cel_codec.h"
#include "core/model/cnf_lines.h"
#include "core/model/cnf_parser.h"
#include "core/model/kcf_codec.h"
#include "core/render/instance_geometry.h"
#include "core/testing/corpus_dolls.h"

namespace luma::testing {

std::unique_ptr<TestDoll> LoadTestDoll(std::string_view cnf, const FileSource& files,
                                       RenderDevice& device, Host& host, bool recycle) {
  auto out = std::make_unique<TestDoll>(device);
  DollModel& doll = out->doll;
  const bool paletted = device.flags().paletted_textures;
  doll.cnf_lines = SplitArchiveCnfText(cnf);
  ParseCnf(doll, host, {paletted});

  auto index_of = [&](const KissPalette* palette) {
    for (size_t i = 0; i < doll.palettes().size(); ++i) {
      if (doll.palettes()[i].get() == palette) return static_cast<int>(i);
    }
    return -1;
  };
  std::vector<int> colors_per_line;
  for (const std::string& name : doll.palette_file_names) {
    KissPalette* palette = doll.FindOrCreatePalette(name);
    int colors = 0;
    if (auto bytes = files(name)) colors = ReadKcf(*bytes, *palette, doll.report);
    if (colors > 0) palette->colors = colors <= 16 ? 16 : 256;
    colors_per_line.push_back(colors);
    doll.palette_line_index.push_back(index_of(palette));
  }
  doll.enhanced_palette = IsEnhancedPalette(colors_per_line);
  CountPaletteGroups(doll, paletted);
  if (!doll.palette_line_index.empty()) doll.ComputeGroupColors();

  const CelTextureSource source{&device, &out->pool, recycle};
  // Largest file first, as the pipeline does: it decides how pages fill.
  std::vector<std::pair<KissCel*, std::vector<uint8_t>>> reads;
  for (const auto& cel : doll.cels()) {
    if (cel->is_clone()) continue;
    if (auto bytes = files(cel->file_name)) reads.emplace_back(cel.get(), std::move(*bytes));
  }
  std::stable_sort(reads.begin(), reads.end(),
                   [](const auto& a, const auto& b) { return a.second.size() > b.second.size(); });
  bool indexed = false;
  for (auto& [cel, bytes] : reads) {
    if (!DecodeCel(*cel, bytes, source)) doll.report.AddError(cel->file_name + ": " + cel->message);
    indexed = indexed || (cel->present && cel->indexed());
  }
  for (const auto& cel : doll.cels()) {
    if (cel->is_clone()) MakeClone(*cel, source);
  }
  if (doll.palette_line_index.empty() && indexed) {
    doll.palette_line_index.push_back(index_of(doll.FindOrCreatePalette("default")));
  }

  std::vector<CelInstance*> gone;
  for (const auto& instance : doll.instances()) {
    if (instance->cel == nullptr || instance->cel->texture == nullptr)
      gone.push_back(instance.get());
  }
  for (CelInstance* instance : gone) doll.RemoveInstance(instance);
  for (const auto& instance : doll.instances()) {
    KissCel& cel = *instance->cel;
    if (!paletted && cel.indexed()) {
      const int index = PaletteIndexOfLine(doll, instance->palette);
      if (index >= 0) ApplyPalette(cel, doll.palettes()[index]->groups[0], false);
    }
    if (!BuildInstanceGeometry(device, *instance, host)) return nullptr;
  }
  if (paletted) out->palettes.UploadDevicePalettes(device, doll);
  return out;
}

FileSource MemoryFiles(std::map<std::string, std::vector<uint8_t>> files) {
  return [files = std::move(files)](std::string_view name) -> std::optional<std::vector<uint8_t>> {
    for (const auto& [key, bytes] : files) {
      if (EqualsIgnoreCase(key, name)) return bytes;
    }
    return std::nullopt;
  };
}

std::unique_ptr<TestDoll> LoadCorpusDoll(const std::filesystem::path& archive, RenderDevice& device,
                                         Host& host, std::string_view cnf_name) {
  std::map<std::string, std::vector<uint8_t>> files;
  std::string cnf;
  for (CorpusMember& member : ReadArchiveMembers(archive)) {
    if (EqualsIgnoreCase(ExtensionPart(member.name), "cnf") && cnf.empty() &&
        (cnf_name.empty() || EqualsIgnoreCase(member.name, cnf_name))) {
      cnf.assign(member.bytes.begin(), member.bytes.end());
    }
    files.emplace(member.name, std::move(member.bytes));
  }
  if (cnf.empty()) return nullptr;
  return LoadTestDoll(cnf, MemoryFiles(std::move(files)), device, host);
}

}  // namespace luma::testing
