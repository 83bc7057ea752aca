#ifndef LUMA_CORE_FKISS_COMMAND_TABLE_H_
#define LUMA_CORE_FKISS_COMMAND_TABLE_H_

#include <cstdint>
#include <string_view>

#include "core/host/status.h"

namespace luma {

// What a parameter position accepts; one mask per position, 0 = no parameter.
enum ParamMask : uint32_t {
  PT_CEL = 0x001,
  PT_OBJECT = 0x002,
  PT_VARIABLE = 0x004,
  PT_GROUP = 0x008,
  PT_NUMBER = 0x010,
  PT_TEXT = 0x020,
  PT_ALARM = 0x040,
  PT_LABEL = 0x080,
  PT_FILE = 0x100,
  PT_KEY = 0x200,
  PT_POOL = 0x400,
  PT_VALUE = 0x800,
};

// How a command takes part in an if block. Blocks never nest.
enum BlockRole : int8_t {
  kBlockNone = 0,
  kBlockIf = 1,
  kBlockElse = 2,
  kBlockElseIf = 3,
  kBlockEndif = 4,
};

// Command codes: the row index of the table. Events first, then actions,
// each group in alphabetical order.
enum FkissCode : int32_t {
  kCmdAlarm = 0,
  kCmdApart,
  kCmdBegin,
  kCmdCatch,
  kCmdCol,
  kCmdCollide,
  kCmdDetached,
  kCmdDrop,
  kCmdEnd,
  kCmdFixcatch,
  kCmdFixdrop,
  kCmdIn,
  kCmdInitialize,
  kCmdKeypress,
  kCmdKeyrelease,
  kCmdLabel,
  kCmdMousein,
  kCmdMouseout,
  kCmdNever,
  kCmdOut,
  kCmdOverflow,
  kCmdPress,
  kCmdRelease,
  kCmdSet,
  kCmdStillin,
  kCmdStillout,
  kCmdUnfix,
  kCmdVersion,
  kCmdAdd,  // 28: the first action
  kCmdAltmap,
  kCmdAttach,
  kCmdChangecol,
  kCmdChangeset,
  kCmdDebug,
  kCmdDeletevalue,
  kCmdDetach,
  kCmdDiv,
  kCmdElse,
  kCmdElseifequal,
  kCmdElseifgreaterthan,
  kCmdElseiflessthan,
  kCmdElseifnotequal,
  kCmdEndif,
  kCmdExitevent,
  kCmdExitloop,
  kCmdGhost,
  kCmdGlue,
  kCmdGosub,
  kCmdGosubrandom,
  kCmdGoto,
  kCmdGotorandom,
  kCmdIfequal,
  kCmdIffixed,
  kCmdIfgreaterthan,
  kCmdIflessthan,
  kCmdIfmapped,
  kCmdIfmoved,
  kCmdIfnotequal,
  kCmdIfnotfixed,
  kCmdIfnotmapped,
  kCmdIfnotmoved,
  kCmdLet,
  kCmdLetcatch,
  kCmdLetchild,
  kCmdLetcollide,
  kCmdLetfix,
  kCmdLetframe,
  kCmdLetheight,
  kCmdLetinitx,
  kCmdLetinity,
  kCmdLetinside,
  kCmdLetkcf,
  kCmdLetkey,
  kCmdLetkeymap,
  kCmdLetmapped,
  kCmdLetmousex,
  kCmdLetmousey,
  kCmdLetobjectx,
  kCmdLetobjecty,
  kCmdLetpal,
  kCmdLetparent,
  kCmdLetset,
  kCmdLetsibling,
  kCmdLettimer,
  kCmdLettransparent,
  kCmdLetwidth,
  kCmdLoadvalue,
  kCmdMap,
  kCmdMod,
  kCmdMove,
  kCmdMovebyx,
  kCmdMovebyy,
  kCmdMoverandx,
  kCmdMoverandy,
  kCmdMoveto,
  kCmdMovetorand,
  kCmdMul,
  kCmdMusic,
  kCmdNop,
  kCmdNotify,
  kCmdQuit,
  kCmdRandom,
  kCmdRandomtimer,
  kCmdRepeat,
  kCmdRestrictx,
  kCmdRestricty,
  kCmdSavevalue,
  kCmdSetfix,
  kCmdSetframe,
  kCmdSetkcf,
  kCmdShell,
  kCmdSound,
  kCmdSub,
  kCmdTimer,
  kCmdTransparent,
  kCmdUnmap,
  kCmdValuepool,
  kCmdViewport,
  kCmdWindowsize,
};

// Index into the level names; a doll without script has kFkissLevelNone.
inline constexpr int kFkissLevelNone = -1;
inline constexpr int kFkissLevel1 = 0;
inline constexpr int kFkissLevel1b = 1;
inline constexpr int kFkissLevel2 = 2;
inline constexpr int kFkissLevel21 = 3;
inline constexpr int kFkissLevel3 = 4;
inline constexpr int kFkissLevel4 = 5;

class FkissRuntime;
struct FkissAction;

// Performs one action on the run-time; false ends the running event.
using FkissActionHandler = bool (*)(FkissRuntime& run, const FkissAction& action);

struct FkissCommandInfo {
  const char* name;  // lower case
  uint32_t mask[3];
  BlockRole block;
  int8_t level;
  // nullptr for events and for what the event runner steps itself: the if
  // blocks, exitevent and exitloop.
  FkissActionHandler handler;
};

// The static vocabulary shared by every open doll.
class FkissCommandTable {
 public:
  static constexpr int kCount = 119;
  static constexpr int kFirstAction = kCmdAdd;

  static bool IsValid(int code) { return code >= 0 && code < kCount; }
  static bool IsEvent(int code) { return code >= 0 && code < kFirstAction; }
  // `code` must be valid.
  static const FkissCommandInfo& Row(int code);
  // The row of any code; a code outside the table is a fault of the caller,
  // reported as "Error! %d out of function range".
  static Result<const FkissCommandInfo*> Lookup(int code);
  static const char* Name(int code) { return Row(code).name; }

  // Case-insensitive exact match; -1 when no row has that name.
  static int FindExact(std::string_view name);
  // The longest row name contained (case-sensitively) in `name`; among equally
  // long candidates the highest code. -1 when none is contained.
  static int FindClosest(std::string_view name);

  // "FKiSS 1" .. "FKiSS 4"; nullptr outside 0..5.
  static const char* LevelName(int level);
};

}  // namespace luma

#endif  // LUMA_CORE_FKISS_COMMAND_TABLE_H_
