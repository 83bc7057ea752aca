#include "core/view/system_report.h"

#include "core/host/text.h"
#include "core/view/device_status.h"

namespace luma {
namespace {

int Megabytes(uint64_t bytes) { return static_cast<int>(bytes >> 20); }

std::string ComputerSection(const SystemFacts& facts) {
  std::string text = "Computer:\r\n\tOS: ";
  text += facts.os_name.empty() ? std::string("Unknown") : facts.os_name + " v";
  if (!facts.os_name.empty()) {
    text += StringPrintf("%u.%u.%u", facts.os_version[0], facts.os_version[1], facts.os_version[2]);
  }
  text += "\r\n\tSystem Memory:\r\n";
  if (facts.memory_known) {
    text += StringPrintf("\t\tPhysical Memory: %dMb\r\n", Megabytes(facts.physical_memory));
    text += StringPrintf("\t\tAvailable Physical Memory: %dMb\r\n",
                         Megabytes(facts.available_physical));
    text += StringPrintf("\t\tVirtual Memory: %dMb\r\n", Megabytes(facts.virtual_memory));
    text +=
        StringPrintf("\t\tAvailable Virtual Memory: %dMb\r\n", Megabytes(facts.available_virtual));
  }
  text += "\tDiskspace:\r\n";
  if (facts.disk_known) {
    text +=
        StringPrintf("\t\tTotal space: %uMb\r\n", static_cast<unsigned>(facts.disk_total >> 20));
    text += StringPrintf("\t\tFree space: %uMb\r\n", static_cast<unsigned>(facts.disk_free >> 20));
  } else {
    text += "\t\tUnable to read disk status\r\n";
  }
  return text;
}

std::string OptionsSection(const Settings& s) {
  static constexpr const char* kBounding[] = {"All", "FKiSS", "Limited", "Visible", "None"};
  static constexpr const char* kOverride[] = {"Never", "Ask", "Auto"};
  auto either = [](bool on, const char* yes, const char* no) { return std::string(on ? yes : no); };
  std::string text = "\r\nLumadoll Options:\r\n";
  text += either(s.sound_enabled, "\tSound enabled\r\n", "\tSound disabled\r\n");
  text += either(s.music_enabled, "\tMusic enabled\r\n", "\tMusic disabled\r\n");
  const int bounding =
      s.boundary_enforcement >= 0 && s.boundary_enforcement < 5 ? s.boundary_enforcement : 3;
  text += std::string("\tDefault bounding: ") + kBounding[bounding] + "\r\n";
  const int ask = s.bounding_ask >= 0 && s.bounding_ask < 3 ? s.bounding_ask : 0;
  text += std::string("\tBounding override: ") + kOverride[ask] + "\r\n";
  text += StringPrintf("\tQuick Timer: %u\r\n", static_cast<unsigned>(s.quick_timer));
  text += StringPrintf("\tStrong Fix: %u\r\n", static_cast<unsigned>(s.strong_fix));
  text += StringPrintf("\tMax Stack: %u\r\n", static_cast<unsigned>(s.max_stack));
  text += either(s.warn_palette, "\tAlpha palette warning enabled\r\n",
                 "\tAlpha palette warning disabled\r\n");
  text += either(s.recycle_textures, "\tTexture Recycling enabled\r\n",
                 "\tTexture Recycling disabled\r\n");
  text += either(s.video_memory_saver, "\tMemory Saver enforced\r\n",
                 "\tMemory Saver not enforced\r\n");
  text += either(s.thumb_create, "\tThumbnail auto-create enabled\r\n",
                 "\tThumbnail auto-create disabled\r\n");
  text += either(s.thumb_verbose, "\tThumbnail creation verbose\r\n",
                 "\tThumbnail creation silent\r\n");
  return text;
}

std::string DollSection(const DollStatistics& d) {
  std::string text = "\t" + d.name + "\r\n";
  if (d.from_archive) text += "\t\tFrom LZH\r\n";
  text += StringPrintf("\t\tPlayfield: %d x %d\r\n", d.playfield.width, d.playfield.height);
  if (d.ckiss) text += "\t\tCKiSS\r\n";
  if (d.enhanced_palette) text += "\t\tEnhanced Palette\r\n";
  text += std::string("\t\tFKiSS: ") + FkissLevelName(d.fkiss_level) + "\r\n";
  text += StringPrintf("\t\tCels: %d\r\n", d.total_cels);
  text += StringPrintf("\t\tCel counts: %d / %d / %d\r\n", d.cel_counts.color16,
                       d.cel_counts.color256, d.cel_counts.truecolor);
  text += StringPrintf("\t\tUnique Cels: %d\r\n", d.unique_cels);
  text += StringPrintf("\t\tAmbiguous cels: %d\r\n", d.ambiguous_cels);
  text += StringPrintf("\t\tKCF counts: %d / %d\r\n", d.kcf_counts.color16, d.kcf_counts.color256);
  text += StringPrintf("\t\tObjects: %d\r\n", d.objects);
  text += StringPrintf("\t\tGroups: %d\r\n", d.groups);
  text += StringPrintf("\t\tEvents: %d\r\n", d.events);
  text += StringPrintf("\t\tActions: %d\r\n", d.actions);
  text += StringPrintf("\t\tDeepest stack: %d\r\n", d.deepest_stack);
  text += StringPrintf("\t\tMost commands: %d\r\n", d.most_commands);
  text += StringPrintf("\t\tQuads: %d\r\n", d.quads);
  text += StringPrintf("\t\tTextures: %d\r\n", d.textures);
  return text;
}

}  // namespace

std::string ComposeSystemReport(const SystemFacts& facts, RenderDevice* device,
                                const Settings& settings,
                                const std::vector<DollStatistics>& dolls) {
  std::string text = ComputerSection(facts);
  text += DeviceStatusReport(device);
  text += OptionsSection(settings);
  text += "\r\nData Sets:\r\n";
  text += StringPrintf("\t%d KiSS data sets loaded\r\n", static_cast<int>(dolls.size()));
  for (const DollStatistics& doll : dolls) text += DollSection(doll);
  return text;
}

}  // namespace luma
