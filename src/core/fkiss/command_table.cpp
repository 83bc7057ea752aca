#include "core/fkiss/command_table.h"

#include <cstring>

#include "core/host/text.h"

namespace luma {
namespace {

// Parameter masks by what they accept.
constexpr uint32_t kTarget = 0x00b;       // cel, object, group
constexpr uint32_t kTargetOrVar = 0x00f;  // cel, object, variable, group
constexpr uint32_t kObjectOrVar = 0x006;
constexpr uint32_t kVar = 0x004;
constexpr uint32_t kVarOrNum = 0x014;
constexpr uint32_t kVarNumAlarm = 0x054;
constexpr uint32_t kVarNumLabel = 0x094;

constexpr int8_t k1 = kFkissLevel1;
constexpr int8_t k1b = kFkissLevel1b;
constexpr int8_t k2 = kFkissLevel2;
constexpr int8_t k21 = kFkissLevel21;
constexpr int8_t k3 = kFkissLevel3;
constexpr int8_t k4 = kFkissLevel4;

constexpr FkissCommandInfo kRows[FkissCommandTable::kCount] = {
    // Events.
    {"alarm", {0x050, 0, 0}, kBlockNone, k1},
    {"apart", {kTarget, kTarget, 0}, kBlockNone, k21},
    {"begin", {0, 0, 0}, kBlockNone, k1},
    {"catch", {kTarget, 0, 0}, kBlockNone, k1},
    {"col", {0x010, 0, 0}, kBlockNone, k1},
    {"collide", {kTarget, kTarget, 0}, kBlockNone, k21},
    {"detached", {0x002, 0, 0}, kBlockNone, k4},
    {"drop", {kTarget, 0, 0}, kBlockNone, k1},
    {"end", {0, 0, 0}, kBlockNone, k1},
    {"fixcatch", {kTarget, 0, 0}, kBlockNone, k1},
    {"fixdrop", {kTarget, 0, 0}, kBlockNone, k1},
    {"in", {kTarget, kTarget, 0}, kBlockNone, k2},
    {"initialize", {0, 0, 0}, kBlockNone, k1},
    {"keypress", {0x200, 0, 0}, kBlockNone, k4},
    {"keyrelease", {0x200, 0, 0}, kBlockNone, k4},
    {"label", {0x090, 0, 0}, kBlockNone, k3},
    {"mousein", {kTarget, 0, 0}, kBlockNone, k4},
    {"mouseout", {kTarget, 0, 0}, kBlockNone, k4},
    {"never", {0, 0, 0}, kBlockNone, k1b},
    {"out", {kTarget, kTarget, 0}, kBlockNone, k2},
    {"overflow", {0, 0, 0}, kBlockNone, k3},
    {"press", {kTarget, 0, 0}, kBlockNone, k1},
    {"release", {kTarget, 0, 0}, kBlockNone, k1},
    {"set", {0x010, 0, 0}, kBlockNone, k1},
    {"stillin", {kTarget, kTarget, 0}, kBlockNone, k2},
    {"stillout", {kTarget, kTarget, 0}, kBlockNone, k2},
    {"unfix", {kTarget, 0, 0}, kBlockNone, k1},
    {"version", {0x010, 0, 0}, kBlockNone, k2},
    // Actions.
    {"add", {kVar, kVarOrNum, kVarOrNum}, kBlockNone, k3},
    {"altmap", {kTargetOrVar, 0, 0}, kBlockNone, k1},
    {"attach", {kObjectOrVar, kObjectOrVar, 0}, kBlockNone, k4},
    {"changecol", {kVarOrNum, 0, 0}, kBlockNone, k1},
    {"changeset", {kVarOrNum, 0, 0}, kBlockNone, k1},
    {"debug", {0x020, 0, 0}, kBlockNone, k1b},
    {"deletevalue", {0x800, 0, 0}, kBlockNone, k4},
    {"detach", {kObjectOrVar, 0, 0}, kBlockNone, k4},
    {"div", {kVar, kVarOrNum, kVarOrNum}, kBlockNone, k3},
    {"else", {0, 0, 0}, kBlockElse, k3},
    {"elseifequal", {kVarOrNum, kVarOrNum, 0}, kBlockElseIf, k4},
    {"elseifgreaterthan", {kVarOrNum, kVarOrNum, 0}, kBlockElseIf, k4},
    {"elseiflessthan", {kVarOrNum, kVarOrNum, 0}, kBlockElseIf, k4},
    {"elseifnotequal", {kVarOrNum, kVarOrNum, 0}, kBlockElseIf, k4},
    {"endif", {0, 0, 0}, kBlockEndif, k3},
    {"exitevent", {0, 0, 0}, kBlockNone, k3},
    {"exitloop", {0, 0, 0}, kBlockNone, k4},
    {"ghost", {kTargetOrVar, kVarOrNum, 0}, kBlockNone, k3},
    {"glue", {kObjectOrVar, kObjectOrVar, 0}, kBlockNone, k4},
    {"gosub", {kVarNumLabel, 0, 0}, kBlockNone, k3},
    {"gosubrandom", {kVarOrNum, kVarNumLabel, kVarNumLabel}, kBlockNone, k3},
    {"goto", {kVarNumLabel, 0, 0}, kBlockNone, k3},
    {"gotorandom", {kVarOrNum, kVarNumLabel, kVarNumLabel}, kBlockNone, k3},
    {"ifequal", {kVarOrNum, kVarOrNum, 0}, kBlockIf, k3},
    {"iffixed", {kObjectOrVar, kVarNumAlarm, kVarOrNum}, kBlockNone, k21},
    {"ifgreaterthan", {kVarOrNum, kVarOrNum, 0}, kBlockIf, k3},
    {"iflessthan", {kVarOrNum, kVarOrNum, 0}, kBlockIf, k3},
    {"ifmapped", {kTargetOrVar, kVarNumAlarm, kVarOrNum}, kBlockNone, k21},
    {"ifmoved", {kObjectOrVar, kVarNumAlarm, kVarOrNum}, kBlockNone, k21},
    {"ifnotequal", {kVarOrNum, kVarOrNum, 0}, kBlockIf, k3},
    {"ifnotfixed", {kObjectOrVar, kVarNumAlarm, kVarOrNum}, kBlockNone, k21},
    {"ifnotmapped", {kTargetOrVar, kVarNumAlarm, kVarOrNum}, kBlockNone, k21},
    {"ifnotmoved", {kObjectOrVar, kVarNumAlarm, kVarOrNum}, kBlockNone, k21},
    {"let", {kVar, kVarOrNum, 0}, kBlockNone, k3},
    {"letcatch", {kVar, 0, 0}, kBlockNone, k3},
    {"letchild", {kVar, kObjectOrVar, 0}, kBlockNone, k4},
    {"letcollide", {kVar, kTargetOrVar, kTargetOrVar}, kBlockNone, k3},
    {"letfix", {kVar, kObjectOrVar, 0}, kBlockNone, k3},
    {"letframe", {kVar, 0x008, 0}, kBlockNone, k4},
    {"letheight", {kVar, kObjectOrVar, 0}, kBlockNone, k4},
    {"letinitx", {kVar, kObjectOrVar, 0}, kBlockNone, k4},
    {"letinity", {kVar, kObjectOrVar, 0}, kBlockNone, k4},
    {"letinside", {kVar, kTargetOrVar, kTargetOrVar}, kBlockNone, k3},
    {"letkcf", {kVar, kTargetOrVar, 0}, kBlockNone, k4},
    {"letkey", {kVar, 0x200, 0}, kBlockNone, k4},
    {"letkeymap", {kVar, 0x200, 0}, kBlockNone, k4},
    {"letmapped", {kVar, kTargetOrVar, 0}, kBlockNone, k3},
    {"letmousex", {kVar, 0, 0}, kBlockNone, k3},
    {"letmousey", {kVar, 0, 0}, kBlockNone, k3},
    {"letobjectx", {kVar, kObjectOrVar, 0}, kBlockNone, k3},
    {"letobjecty", {kVar, kObjectOrVar, 0}, kBlockNone, k3},
    {"letpal", {kVar, 0, 0}, kBlockNone, k3},
    {"letparent", {kVar, kObjectOrVar, 0}, kBlockNone, k4},
    {"letset", {kVar, 0, 0}, kBlockNone, k3},
    {"letsibling", {kVar, kObjectOrVar, 0}, kBlockNone, k4},
    {"lettimer", {kVar, kVarNumAlarm, 0}, kBlockNone, k4},
    {"lettransparent", {kVar, kTargetOrVar, 0}, kBlockNone, k3},
    {"letwidth", {kVar, kObjectOrVar, 0}, kBlockNone, k4},
    {"loadvalue", {kVar, 0x800, 0}, kBlockNone, k4},
    {"map", {kTargetOrVar, 0, 0}, kBlockNone, k1},
    {"mod", {kVar, kVarOrNum, kVarOrNum}, kBlockNone, k3},
    {"move", {kObjectOrVar, kVarOrNum, kVarOrNum}, kBlockNone, k1},
    {"movebyx", {kObjectOrVar, kObjectOrVar, kVarOrNum}, kBlockNone, k2},
    {"movebyy", {kObjectOrVar, kObjectOrVar, kVarOrNum}, kBlockNone, k2},
    {"moverandx", {kObjectOrVar, kVarOrNum, kVarOrNum}, kBlockNone, k21},
    {"moverandy", {kObjectOrVar, kVarOrNum, kVarOrNum}, kBlockNone, k21},
    {"moveto", {kObjectOrVar, kVarOrNum, kVarOrNum}, kBlockNone, k2},
    {"movetorand", {kObjectOrVar, 0, 0}, kBlockNone, k21},
    {"mul", {kVar, kVarOrNum, kVarOrNum}, kBlockNone, k3},
    {"music", {0x100, 0, 0}, kBlockNone, k2},
    {"nop", {0, 0, 0}, kBlockNone, k1},
    {"notify", {0x020, 0, 0}, kBlockNone, k2},
    {"quit", {0, 0, 0}, kBlockNone, k1b},
    {"random", {kVar, kVarOrNum, kVarOrNum}, kBlockNone, k3},
    {"randomtimer", {kVarNumAlarm, kVarOrNum, kVarOrNum}, kBlockNone, k1},
    {"repeat", {kVarNumLabel, kVarOrNum, kVar}, kBlockNone, k4},
    {"restrictx", {kObjectOrVar, kVarOrNum, kVarOrNum}, kBlockNone, k4},
    {"restricty", {kObjectOrVar, kVarOrNum, kVarOrNum}, kBlockNone, k4},
    {"savevalue", {0x800, kVarOrNum, 0}, kBlockNone, k4},
    {"setfix", {kObjectOrVar, kVarOrNum, 0}, kBlockNone, k21},
    {"setframe", {0x008, kVarOrNum, 0}, kBlockNone, k4},
    {"setkcf", {kTargetOrVar, kVarOrNum, 0}, kBlockNone, k4},
    {"shell", {0x020, 0, 0}, kBlockNone, k21},
    {"sound", {0x100, 0, 0}, kBlockNone, k1},
    {"sub", {kVar, kVarOrNum, kVarOrNum}, kBlockNone, k3},
    {"timer", {kVarNumAlarm, kVarOrNum, 0}, kBlockNone, k1},
    {"transparent", {kTargetOrVar, kVarOrNum, 0}, kBlockNone, k1b},
    {"unmap", {kTargetOrVar, 0, 0}, kBlockNone, k1},
    {"valuepool", {0x400, 0, 0}, kBlockNone, k4},
    {"viewport", {kVarOrNum, kVarOrNum, 0}, kBlockNone, k1b},
    {"windowsize", {kVarOrNum, kVarOrNum, 0}, kBlockNone, k1},
};

constexpr const char* kLevelNames[] = {"FKiSS 1",   "FKiSS 1b", "FKiSS 2",
                                       "FKiSS 2.1", "FKiSS 3",  "FKiSS 4"};

}  // namespace

const FkissCommandInfo& FkissCommandTable::Row(int code) { return kRows[code]; }

Result<const FkissCommandInfo*> FkissCommandTable::Lookup(int code) {
  if (!IsValid(code)) return Status::Error(StringPrintf("Error! %d out of function range", code));
  return &kRows[code];
}

int FkissCommandTable::FindExact(std::string_view name) {
  for (int code = 0; code < kCount; ++code) {
    if (EqualsIgnoreCase(name, kRows[code].name)) return code;
  }
  return -1;
}

int FkissCommandTable::FindClosest(std::string_view name) {
  int best = -1;
  size_t best_length = 0;
  for (int code = kCount - 1; code >= 0; --code) {
    const std::string_view candidate = kRows[code].name;
    if (candidate.size() > best_length && name.find(candidate) != std::string_view::npos) {
      best = code;
      best_length = candidate.size();
    }
  }
  return best;
}

const char* FkissCommandTable::LevelName(int level) {
  if (level < 0 || level > kFkissLevel4) return nullptr;
  return kLevelNames[level];
}

}  // namespace luma
