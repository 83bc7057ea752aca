#ifndef LUMA_APP_COMMAND_TABLE_H_
#define LUMA_APP_COMMAND_TABLE_H_

#include <span>
#include <string>
#include <string_view>

namespace luma::app {

// Command identifiers of the menus, accelerators and toolbars.
enum CommandId : int {
  kIdSetToolbar = 32771,
  kIdPaletteToolbar = 32772,
  kIdOptions = 32773,
  kIdSet0 = 32803,      // .. kIdSet0 + 9
  kIdPalette0 = 32813,  // .. kIdPalette0 + 9
  kIdOpenExpansion = 32823,
  kIdFindFkiss = 32826,
  kIdTraceFkiss = 32828,
  kIdErrorReport = 32829,
  kIdZoomIn = 32831,
  kIdZoomOut = 32832,
  kIdZoomHome = 32837,
  kIdFitWindow = 32840,
  kIdSetInfo = 32841,
  kIdObjectCelInfo = 32842,
  kIdDisplayDebug = 32844,
  kIdViewCnf = 32846,
  kIdSaveThumbnail = 32849,
  kIdPatrolBounds = 32850,
  kIdResetAllPositions = 32853,
  kIdMuteSound = 32854,
  kIdPreviousSet = 32859,
  kIdNextSet = 32860,
  kIdCopyAllPositions = 32865,
  kIdSnapToWizard = 32866,
  kIdFindBorderViolators = 32867,
  kIdPaletteEditor = 32868,
  kIdReset = 32869,
  kIdPreviousPalette = 32871,
  kIdNextPalette = 32872,
  kIdBuildLzh = 32873,
  kIdOpenOtherCnf = 32874,
  kIdMuteMusic = 32875,
  kIdBoundAll = 32877,
  kIdBoundFkiss = 32878,
  kIdBoundNone = 32879,
  kIdBoundCycle = 32881,
  kIdNextKissSet = 32882,
  kIdBoundVisible = 32883,
  kIdBoundLimited = 32884,
  kIdObjectInfo = 32885,
  kIdCelInfo = 32886,
  kIdVariables = 32887,
  kIdLocate = 32889,
  kIdPauseFkiss = 32890,
  kIdCopyPosition = 32891,
  kIdBugReport = 32892,
  kIdCreateScreenshot = 32893,
  kIdReloadCnf = 32894,
  kIdTroubleshooting = 32895,
  kIdShowTips = 32896,
  kIdZoomFit = 32910,
  // Commands of the window framework.
  kIdFileOpen = 57601,
  kIdFileClose = 57602,
  kIdFileSaveAs = 57604,
  kIdEditCopy = 57634,
  kIdEditUndo = 57643,
  kIdEditRedo = 57644,
  kIdWindowArrange = 57649,
  kIdWindowCascade = 57650,
  kIdWindowTileHorizontal = 57651,
  kIdWindowTileVertical = 57652,
  kIdAppAbout = 57664,
  kIdAppExit = 57665,
  kIdHelpTopics = 57667,
  kIdContextHelp = 57669,
  kIdNextPane = 57680,
  kIdPreviousPane = 57681,
  kIdViewToolbar = 59392,
  kIdViewStatusBar = 59393,
};

// The bounding commands in the order of the modes 0 All .. 4 None.
inline constexpr int kBoundingIds[] = {kIdBoundAll, kIdBoundFkiss, kIdBoundLimited, kIdBoundVisible,
                                       kIdBoundNone};

// Text, prompt and keys of one command. The prompt's part after "\n" is the
// tooltip; `keys` lists shortcuts in QKeySequence form separated by "|".
struct CommandInfo {
  int id;
  const char* text;
  const char* prompt;
  const char* keys;
};

std::span<const CommandInfo> Commands();
// Nullptr for an unknown id.
const CommandInfo* FindCommand(int id);

// The status-bar prompt and the tooltip of a command's prompt text.
struct PromptParts {
  std::string status;
  std::string tip;  // empty when the prompt has none
};
PromptParts SplitPrompt(std::string_view prompt);

// The prompt shown for each entry of the recent-file list.
inline constexpr char kRecentFilePrompt[] = "Open this KiSS data set";

}  // namespace luma::app

#endif  // LUMA_APP_COMMAND_TABLE_H_
