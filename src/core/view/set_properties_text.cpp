#include "core/view/set_properties_text.h"

#include "core/host/text.h"

namespace luma {
namespace {

std::string Number(int value) { return StringPrintf("%d", value); }

std::string CountOr(int count, const char* none) { return count == 0 ? none : Number(count); }

}  // namespace

std::string ArchiveSizeText(const std::string& name, uint64_t bytes) {
  constexpr uint64_t kKilo = 1024;
  if (bytes < kKilo) return StringPrintf("%s (%d bytes)", name.c_str(), static_cast<int>(bytes));
  if (bytes < kKilo * kKilo) {
    return StringPrintf("%s (%.01f Kilobytes)", name.c_str(),
                        static_cast<double>(bytes) / static_cast<double>(kKilo));
  }
  return StringPrintf("%s (%.01f Megabytes)", name.c_str(),
                      static_cast<double>(bytes) / static_cast<double>(kKilo * kKilo));
}

std::string TextureUsageText(int used_blocks, int total_blocks) {
  if (total_blocks <= 0) return "0%";
  const int64_t percent = static_cast<int64_t>(used_blocks) * 100 / total_blocks;
  return StringPrintf("%d%%", static_cast<int>(percent));
}

PropertyRows SetPropertiesRows(const DollStatistics& s) {
  PropertyRows rows;
  rows.emplace_back("Configuration File:", s.cnf_name);
  rows.emplace_back("Archive:", s.from_archive ? ArchiveSizeText(s.archive_name, s.archive_bytes)
                                               : std::string("none"));
  rows.emplace_back("Playfield:", StringPrintf("%d x %d", s.playfield.width, s.playfield.height));
  rows.emplace_back("Border Color:", StringPrintf("%u", static_cast<unsigned>(s.border_color)));
  rows.emplace_back("Errors:", CountOr(s.errors, "No Errors"));
  rows.emplace_back("Warnings:", CountOr(s.warnings, "No Warnings"));
  rows.emplace_back("Cels (16 / 256 / CKiSS):",
                    StringPrintf("%d / %d / %d", s.cel_counts.color16, s.cel_counts.color256,
                                 s.cel_counts.truecolor));
  rows.emplace_back("Unique Cels:", Number(s.unique_cels));
  rows.emplace_back("Ambiguous Cels:", Number(s.ambiguous_cels));
  rows.emplace_back("Total Cels:", Number(s.total_cels));
  rows.emplace_back("KCFs (16 / 256):",
                    StringPrintf("%d / %d", s.kcf_counts.color16, s.kcf_counts.color256));
  rows.emplace_back("Total Objects:", Number(s.objects));
  rows.emplace_back("Total Groups:", Number(s.groups));
  rows.emplace_back("FKiSS Events:", Number(s.events));
  rows.emplace_back("FKiSS Actions:", Number(s.actions));
  rows.emplace_back("Deepest Stack:", Number(s.deepest_stack));
  rows.emplace_back("Most Commands:", Number(s.most_commands));
  rows.emplace_back("Total Chunks:", Number(s.quads));
  rows.emplace_back("Total Textures:", Number(s.textures));
  rows.emplace_back("Texture Usage:", TextureUsageText(s.used_blocks, s.total_blocks));
  return rows;
}

}  // namespace luma
