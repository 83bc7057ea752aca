// CNFs from outside through both CNF writers: whatever a writer makes of a
// doll must read back to the same doll, also after the values a player may
// change were changed and saved with every option on.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>
#include <string_view>
#include <unordered_map>

#include "core/files/cnf_text.h"
#include "core/fkiss/fkiss_script.h"
#include "core/fkiss/parse_fkiss.h"
#include "core/host/text.h"
#include "core/model/cnf_parser.h"
#include "core/testing/doll_description.h"
#include "core/testing/fake_host.h"

namespace {

// Reads `lines` the way loading does, short of the files: the CNF, the
// cel sets of shared cel files, the script.
std::string Load(luma::CnfSourceLines text, luma::DollModel& doll, luma::FkissScript& script) {
  luma::FakeHost host;
  doll.cnf_lines = std::move(text.lines);
  doll.cnf_raw_lines = std::move(text.raw);
  doll.cnf_lone_cr_ends_lines = text.lone_cr_ends_lines;
  (void)luma::ParseCnf(doll, host, luma::CnfParseOptions());
  std::unordered_map<std::string, int> uses;
  for (const auto& instance : doll.instances())
    ++uses[luma::AsciiLowerCopy(instance->cel->file_name)];
  for (const auto& instance : doll.instances()) {
    if (uses[luma::AsciiLowerCopy(instance->cel->file_name)] < 2) continue;
    doll.FindOrCreateAmbiguous(instance->cel->file_name)->AddInstance(instance.get());
  }
  if (!doll.fkiss_lines.empty()) {
    (void)luma::ParseFkiss(doll, script, luma::FkissParseOptions(), nullptr);
  }
  return luma::testing::DescribeDoll(doll, &script);
}

// Changes what playing the doll may change, each value with a chance of 1
// in 4, drawn from `seed`.
void Perturb(luma::DollModel& doll, uint64_t seed) {
  std::mt19937_64 random(seed);
  const auto chance = [&] { return random() % 4 == 0; };
  const auto in = [&](int low, int high) {
    return low + static_cast<int>(random() % static_cast<uint64_t>(high - low + 1));
  };
  if (chance()) doll.border_color = in(0, 255);
  if (chance()) doll.playfield = luma::PlayfieldSize{in(1, 2000), in(1, 2000)};
  if (chance()) doll.hints.bounds = static_cast<luma::BoundsMode>(in(0, 4));
  for (const auto& instance : doll.instances()) {
    if (chance()) instance->transparency = static_cast<uint16_t>(in(0, 255));
    if (chance()) instance->mapped = !instance->mapped;
    if (chance()) instance->x_offset = in(0, 500);
    if (chance()) instance->y_offset = in(0, 500);
    if (chance()) instance->in_set = std::bitset<luma::kSetCount>(random() & 1023);
  }
  for (const auto& object : doll.objects()) {
    for (luma::Position& at : object->position) {
      if (chance()) at = luma::Position{in(-500, 1500), in(-500, 1500)};
    }
  }
}

// The doll as it reads after a save with every option on: the live values
// are the ones read, and the hints are present with the values written.
void AdoptSaved(luma::DollModel& doll, const luma::HintValues& hints) {
  doll.cnf_border_color = doll.border_color;
  doll.cnf_playfield = doll.playfield;
  luma::HintSettings& h = doll.hints;
  h.cnf_bounds = h.bounds;
  h.bounds_hint = h.stack_hint = h.max_fix_hint = true;
  h.stack_depth = hints.stack_depth;
  h.max_fix = hints.max_fix;
  for (luma::DollSet& set : doll.sets) set.used = false;
  for (const auto& instance : doll.instances()) {
    instance->cnf_transparency = instance->transparency;
    instance->cnf_mapped = instance->mapped;
    for (int s = 0; s < luma::kSetCount; ++s) {
      if (instance->in_set.test(s)) doll.sets[s].used = true;
    }
  }
  for (const auto& object : doll.objects()) object->initial_position = object->position;
}

void Check(const std::string& before, const std::string& text, const char* writer) {
  luma::DollModel doll;
  luma::FkissScript script;
  const std::string after = Load(luma::ReadDiskCnfText(text), doll, script);
  if (after == before) return;
  // The CNF may hold NUL bytes: written by size, not as a C string.
  std::fprintf(stderr, "%s writer changed the doll.\n--- CNF written:\n", writer);
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fprintf(stderr, "\n--- before:\n%s\n--- after:\n%s\n", before.c_str(), after.c_str());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 8192) return 0;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  luma::DollModel doll;
  luma::FkissScript script;
  const std::string before = Load(luma::ReadDiskCnfText(input), doll, script);
  luma::CnfSaveOptions options;
  Check(before, luma::FormatReformattedCnf(doll, &script, options, luma::HintValues()).text,
        "reformatting");
  Check(before, luma::FormatPreservedCnf(doll, &script, options, luma::HintValues()).text,
        "preserving");

  Perturb(doll, std::hash<std::string_view>()(input));
  const luma::HintValues hints{37, 55};
  options.transparencies = options.mapping = options.positions = true;
  options.bounds_hint = options.stack_hint = options.maxfix_hint = true;
  const std::string reformatted = luma::FormatReformattedCnf(doll, &script, options, hints).text;
  const std::string preserved = luma::FormatPreservedCnf(doll, &script, options, hints).text;
  AdoptSaved(doll, hints);
  const std::string changed = luma::testing::DescribeDoll(doll, &script);
  Check(changed, reformatted, "reformatting (changed doll)");
  Check(changed, preserved, "preserving (changed doll)");
  return 0;
}
