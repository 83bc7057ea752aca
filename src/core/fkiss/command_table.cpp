#include "core/fkiss/command_table.h"

#include <cstring>

#include "core/fkiss/action_handlers.h"
#include "core/host/text.h"

namespace luma {
namespace {

// Parameter masks by what they accept.
constexpr uint32_t kTarget = PT_CEL | PT_OBJECT | PT_GROUP;
constexpr uint32_t kTargetOrVar = kTarget | PT_VARIABLE;
constexpr uint32_t kObjectOrVar = PT_OBJECT | PT_VARIABLE;
constexpr uint32_t kVar = PT_VARIABLE;
constexpr uint32_t kVarOrNum = PT_VARIABLE | PT_NUMBER;
constexpr uint32_t kVarNumAlarm = kVarOrNum | PT_ALARM;
constexpr uint32_t kVarNumLabel = kVarOrNum | PT_LABEL;

constexpr int8_t k1 = kFkissLevel1;
constexpr int8_t k1b = kFkissLevel1b;
constexpr int8_t k2 = kFkissLevel2;
constexpr int8_t k21 = kFkissLevel21;
constexpr int8_t k3 = kFkissLevel3;
constexpr int8_t k4 = kFkissLevel4;

using Act = FkissActions;

constexpr FkissCommandInfo kRows[FkissCommandTable::kCount] = {
    // Events.
    {"alarm", {PT_NUMBER | PT_ALARM, 0, 0}, kBlockNone, k1, nullptr},
    {"apart", {kTarget, kTarget, 0}, kBlockNone, k21, nullptr},
    {"begin", {0, 0, 0}, kBlockNone, k1, nullptr},
    {"catch", {kTarget, 0, 0}, kBlockNone, k1, nullptr},
    {"col", {PT_NUMBER, 0, 0}, kBlockNone, k1, nullptr},
    {"collide", {kTarget, kTarget, 0}, kBlockNone, k21, nullptr},
    {"detached", {PT_OBJECT, 0, 0}, kBlockNone, k4, nullptr},
    {"drop", {kTarget, 0, 0}, kBlockNone, k1, nullptr},
    {"end", {0, 0, 0}, kBlockNone, k1, nullptr},
    {"fixcatch", {kTarget, 0, 0}, kBlockNone, k1, nullptr},
    {"fixdrop", {kTarget, 0, 0}, kBlockNone, k1, nullptr},
    {"in", {kTarget, kTarget, 0}, kBlockNone, k2, nullptr},
    {"initialize", {0, 0, 0}, kBlockNone, k1, nullptr},
    {"keypress", {PT_KEY, 0, 0}, kBlockNone, k4, nullptr},
    {"keyrelease", {PT_KEY, 0, 0}, kBlockNone, k4, nullptr},
    {"label", {PT_NUMBER | PT_LABEL, 0, 0}, kBlockNone, k3, nullptr},
    {"mousein", {kTarget, 0, 0}, kBlockNone, k4, nullptr},
    {"mouseout", {kTarget, 0, 0}, kBlockNone, k4, nullptr},
    {"never", {0, 0, 0}, kBlockNone, k1b, nullptr},
    {"out", {kTarget, kTarget, 0}, kBlockNone, k2, nullptr},
    {"overflow", {0, 0, 0}, kBlockNone, k3, nullptr},
    {"press", {kTarget, 0, 0}, kBlockNone, k1, nullptr},
    {"release", {kTarget, 0, 0}, kBlockNone, k1, nullptr},
    {"set", {PT_NUMBER, 0, 0}, kBlockNone, k1, nullptr},
    {"stillin", {kTarget, kTarget, 0}, kBlockNone, k2, nullptr},
    {"stillout", {kTarget, kTarget, 0}, kBlockNone, k2, nullptr},
    {"unfix", {kTarget, 0, 0}, kBlockNone, k1, nullptr},
    {"version", {PT_NUMBER, 0, 0}, kBlockNone, k2, nullptr},
    // Actions.
    {"add", {kVar, kVarOrNum, kVarOrNum}, kBlockNone, k3, Act::Arithmetic},
    {"altmap", {kTargetOrVar, 0, 0}, kBlockNone, k1, Act::Map},
    {"attach", {kObjectOrVar, kObjectOrVar, 0}, kBlockNone, k4, Act::Attach},
    {"changecol", {kVarOrNum, 0, 0}, kBlockNone, k1, Act::Changecol},
    {"changeset", {kVarOrNum, 0, 0}, kBlockNone, k1, Act::Changeset},
    {"debug", {PT_TEXT, 0, 0}, kBlockNone, k1b, Act::Debug},
    {"deletevalue", {PT_VALUE, 0, 0}, kBlockNone, k4, Act::Deletevalue},
    {"detach", {kObjectOrVar, 0, 0}, kBlockNone, k4, Act::Detach},
    {"div", {kVar, kVarOrNum, kVarOrNum}, kBlockNone, k3, Act::Arithmetic},
    {"else", {0, 0, 0}, kBlockElse, k3, nullptr},
    {"elseifequal", {kVarOrNum, kVarOrNum, 0}, kBlockElseIf, k4, nullptr},
    {"elseifgreaterthan", {kVarOrNum, kVarOrNum, 0}, kBlockElseIf, k4, nullptr},
    {"elseiflessthan", {kVarOrNum, kVarOrNum, 0}, kBlockElseIf, k4, nullptr},
    {"elseifnotequal", {kVarOrNum, kVarOrNum, 0}, kBlockElseIf, k4, nullptr},
    {"endif", {0, 0, 0}, kBlockEndif, k3, nullptr},
    {"exitevent", {0, 0, 0}, kBlockNone, k3, nullptr},
    {"exitloop", {0, 0, 0}, kBlockNone, k4, nullptr},
    {"ghost", {kTargetOrVar, kVarOrNum, 0}, kBlockNone, k3, Act::Ghost},
    {"glue", {kObjectOrVar, kObjectOrVar, 0}, kBlockNone, k4, Act::Attach},
    {"gosub", {kVarNumLabel, 0, 0}, kBlockNone, k3, Act::Gosub},
    {"gosubrandom", {kVarOrNum, kVarNumLabel, kVarNumLabel}, kBlockNone, k3, Act::JumpRandom},
    {"goto", {kVarNumLabel, 0, 0}, kBlockNone, k3, Act::Goto},
    {"gotorandom", {kVarOrNum, kVarNumLabel, kVarNumLabel}, kBlockNone, k3, Act::JumpRandom},
    {"ifequal", {kVarOrNum, kVarOrNum, 0}, kBlockIf, k3, nullptr},
    {"iffixed", {kObjectOrVar, kVarNumAlarm, kVarOrNum}, kBlockNone, k21, Act::IfFixed},
    {"ifgreaterthan", {kVarOrNum, kVarOrNum, 0}, kBlockIf, k3, nullptr},
    {"iflessthan", {kVarOrNum, kVarOrNum, 0}, kBlockIf, k3, nullptr},
    {"ifmapped", {kTargetOrVar, kVarNumAlarm, kVarOrNum}, kBlockNone, k21, Act::IfMapped},
    {"ifmoved", {kObjectOrVar, kVarNumAlarm, kVarOrNum}, kBlockNone, k21, Act::IfMoved},
    {"ifnotequal", {kVarOrNum, kVarOrNum, 0}, kBlockIf, k3, nullptr},
    {"ifnotfixed", {kObjectOrVar, kVarNumAlarm, kVarOrNum}, kBlockNone, k21, Act::IfFixed},
    {"ifnotmapped", {kTargetOrVar, kVarNumAlarm, kVarOrNum}, kBlockNone, k21, Act::IfMapped},
    {"ifnotmoved", {kObjectOrVar, kVarNumAlarm, kVarOrNum}, kBlockNone, k21, Act::IfMoved},
    {"let", {kVar, kVarOrNum, 0}, kBlockNone, k3, Act::Let},
    {"letcatch", {kVar, 0, 0}, kBlockNone, k3, Act::Letcatch},
    {"letchild", {kVar, kObjectOrVar, 0}, kBlockNone, k4, Act::LetRelative},
    {"letcollide", {kVar, kTargetOrVar, kTargetOrVar}, kBlockNone, k3, Act::LetOverlap},
    {"letfix", {kVar, kObjectOrVar, 0}, kBlockNone, k3, Act::Letfix},
    {"letframe", {kVar, PT_GROUP, 0}, kBlockNone, k4, Act::Letframe},
    {"letheight", {kVar, kObjectOrVar, 0}, kBlockNone, k4, Act::LetExtent},
    {"letinitx", {kVar, kObjectOrVar, 0}, kBlockNone, k4, Act::LetPosition},
    {"letinity", {kVar, kObjectOrVar, 0}, kBlockNone, k4, Act::LetPosition},
    {"letinside", {kVar, kTargetOrVar, kTargetOrVar}, kBlockNone, k3, Act::LetOverlap},
    {"letkcf", {kVar, kTargetOrVar, 0}, kBlockNone, k4, Act::LetCelValue},
    {"letkey", {kVar, PT_KEY, 0}, kBlockNone, k4, Act::LetKeys},
    {"letkeymap", {kVar, PT_KEY, 0}, kBlockNone, k4, Act::LetKeys},
    {"letmapped", {kVar, kTargetOrVar, 0}, kBlockNone, k3, Act::Letmapped},
    {"letmousex", {kVar, 0, 0}, kBlockNone, k3, Act::Letmousex},
    {"letmousey", {kVar, 0, 0}, kBlockNone, k3, Act::Letmousey},
    {"letobjectx", {kVar, kObjectOrVar, 0}, kBlockNone, k3, Act::LetPosition},
    {"letobjecty", {kVar, kObjectOrVar, 0}, kBlockNone, k3, Act::LetPosition},
    {"letpal", {kVar, 0, 0}, kBlockNone, k3, Act::Letpal},
    {"letparent", {kVar, kObjectOrVar, 0}, kBlockNone, k4, Act::LetRelative},
    {"letset", {kVar, 0, 0}, kBlockNone, k3, Act::Letset},
    {"letsibling", {kVar, kObjectOrVar, 0}, kBlockNone, k4, Act::LetRelative},
    {"lettimer", {kVar, kVarNumAlarm, 0}, kBlockNone, k4, Act::Lettimer},
    {"lettransparent", {kVar, kTargetOrVar, 0}, kBlockNone, k3, Act::LetCelValue},
    {"letwidth", {kVar, kObjectOrVar, 0}, kBlockNone, k4, Act::LetExtent},
    {"loadvalue", {kVar, PT_VALUE, 0}, kBlockNone, k4, Act::Loadvalue},
    {"map", {kTargetOrVar, 0, 0}, kBlockNone, k1, Act::Map},
    {"mod", {kVar, kVarOrNum, kVarOrNum}, kBlockNone, k3, Act::Arithmetic},
    {"move", {kObjectOrVar, kVarOrNum, kVarOrNum}, kBlockNone, k1, Act::Move},
    {"movebyx", {kObjectOrVar, kObjectOrVar, kVarOrNum}, kBlockNone, k2, Act::MoveBy},
    {"movebyy", {kObjectOrVar, kObjectOrVar, kVarOrNum}, kBlockNone, k2, Act::MoveBy},
    {"moverandx", {kObjectOrVar, kVarOrNum, kVarOrNum}, kBlockNone, k21, Act::MoveRandom},
    {"moverandy", {kObjectOrVar, kVarOrNum, kVarOrNum}, kBlockNone, k21, Act::MoveRandom},
    {"moveto", {kObjectOrVar, kVarOrNum, kVarOrNum}, kBlockNone, k2, Act::Moveto},
    {"movetorand", {kObjectOrVar, 0, 0}, kBlockNone, k21, Act::Movetorand},
    {"mul", {kVar, kVarOrNum, kVarOrNum}, kBlockNone, k3, Act::Arithmetic},
    {"music", {PT_FILE, 0, 0}, kBlockNone, k2, Act::Music},
    {"nop", {0, 0, 0}, kBlockNone, k1, Act::Nop},
    {"notify", {PT_TEXT, 0, 0}, kBlockNone, k2, Act::Notify},
    {"quit", {0, 0, 0}, kBlockNone, k1b, Act::Quit},
    {"random", {kVar, kVarOrNum, kVarOrNum}, kBlockNone, k3, Act::Random},
    {"randomtimer", {kVarNumAlarm, kVarOrNum, kVarOrNum}, kBlockNone, k1, Act::Randomtimer},
    {"repeat", {kVarNumLabel, kVarOrNum, kVar}, kBlockNone, k4, Act::Repeat},
    {"restrictx", {kObjectOrVar, kVarOrNum, kVarOrNum}, kBlockNone, k4, Act::Restrict},
    {"restricty", {kObjectOrVar, kVarOrNum, kVarOrNum}, kBlockNone, k4, Act::Restrict},
    {"savevalue", {PT_VALUE, kVarOrNum, 0}, kBlockNone, k4, Act::Savevalue},
    {"setfix", {kObjectOrVar, kVarOrNum, 0}, kBlockNone, k21, Act::Setfix},
    {"setframe", {PT_GROUP, kVarOrNum, 0}, kBlockNone, k4, Act::Setframe},
    {"setkcf", {kTargetOrVar, kVarOrNum, 0}, kBlockNone, k4, Act::Setkcf},
    {"shell", {PT_TEXT, 0, 0}, kBlockNone, k21, Act::Shell},
    {"sound", {PT_FILE, 0, 0}, kBlockNone, k1, Act::Sound},
    {"sub", {kVar, kVarOrNum, kVarOrNum}, kBlockNone, k3, Act::Arithmetic},
    {"timer", {kVarNumAlarm, kVarOrNum, 0}, kBlockNone, k1, Act::Timer},
    {"transparent", {kTargetOrVar, kVarOrNum, 0}, kBlockNone, k1b, Act::Transparent},
    {"unmap", {kTargetOrVar, 0, 0}, kBlockNone, k1, Act::Map},
    {"valuepool", {PT_POOL, 0, 0}, kBlockNone, k4, Act::Valuepool},
    {"viewport", {kVarOrNum, kVarOrNum, 0}, kBlockNone, k1b, Act::Viewport},
    {"windowsize", {kVarOrNum, kVarOrNum, 0}, kBlockNone, k1, Act::Windowsize},
};

// Every action has a handler but those the event runner steps itself; no
// event has one. GCC's address sanitizer makes comparing a function's
// address with null no constant expression; the check runs in every other
// build.
#ifndef __SANITIZE_ADDRESS__
constexpr bool HandlersMatchRows() {
  for (int code = 0; code < FkissCommandTable::kCount; ++code) {
    const FkissCommandInfo& row = kRows[code];
    const bool runner_steps =
        row.block != kBlockNone || code == kCmdExitevent || code == kCmdExitloop;
    const bool wants_handler = code >= FkissCommandTable::kFirstAction && !runner_steps;
    if ((row.handler != nullptr) != wants_handler) return false;
  }
  return true;
}
static_assert(HandlersMatchRows());
#endif

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
