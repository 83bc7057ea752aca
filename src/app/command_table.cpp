#include "app/command_table.h"

#include <cstring>

namespace luma::app {
namespace {

constexpr CommandInfo kCommands[] = {
    {kIdSetToolbar, "S&et Toolbar", "Show or hide the set toolbar\nToggle Set Toolbar", ""},
    {kIdPaletteToolbar, "&Palette Toolbar",
     "Show or hide the palette toolbar\nToggle Palette Toolbar", ""},
    {kIdOptions, "&Options...", "Set various options for Lumadoll\nSet Options", "Alt+O"},
    {kIdSet0 + 0, "Set &0", "Display set 0 of KiSS data\nSet 0 (Ctrl+0)", "Ctrl+0"},
    {kIdSet0 + 1, "Set &1", "Display set 1 of KiSS data\nSet 1 (Ctrl+1)", "Ctrl+1"},
    {kIdSet0 + 2, "Set &2", "Display set 2 of KiSS data\nSet 2 (Ctrl+2)", "Ctrl+2"},
    {kIdSet0 + 3, "Set &3", "Display set 3 of KiSS data\nSet 3 (Ctrl+3)", "Ctrl+3"},
    {kIdSet0 + 4, "Set &4", "Display set 4 of KiSS data\nSet 4 (Ctrl+4)", "Ctrl+4"},
    {kIdSet0 + 5, "Set &5", "Display set 5 of KiSS data\nSet 5 (Ctrl+5)", "Ctrl+5"},
    {kIdSet0 + 6, "Set &6", "Display set 6 of KiSS data\nSet 6 (Ctrl+6)", "Ctrl+6"},
    {kIdSet0 + 7, "Set &7", "Display set 7 of KiSS data\nSet 7 (Ctrl+7)", "Ctrl+7"},
    {kIdSet0 + 8, "Set &8", "Display set 8 of KiSS data\nSet 8 (Ctrl+8)", "Ctrl+8"},
    {kIdSet0 + 9, "Set &9", "Display set 9 of KiSS data\nSet 9 (Ctrl+9)", "Ctrl+9"},
    {kIdPalette0 + 0, "Palette &0", "Display with palette 0\nPalette 0 (Shift+0)", "Shift+0"},
    {kIdPalette0 + 1, "Palette &1", "Display with palette 1\nPalette 1 (Shift+1)", "Shift+1"},
    {kIdPalette0 + 2, "Palette &2", "Display with palette 2\nPalette 2 (Shift+2)", "Shift+2"},
    {kIdPalette0 + 3, "Palette &3", "Display with palette 3\nPalette 3 (Shift+3)", "Shift+3"},
    {kIdPalette0 + 4, "Palette &4", "Display with palette 4\nPalette 4 (Shift+4)", "Shift+4"},
    {kIdPalette0 + 5, "Palette &5", "Display with palette 5\nPalette 5 (Shift+5)", "Shift+5"},
    {kIdPalette0 + 6, "Palette &6", "Display with palette 6\nPalette 6 (Shift+6)", "Shift+6"},
    {kIdPalette0 + 7, "Palette &7", "Display with palette 7\nPalette 7 (Shift+7)", "Shift+7"},
    {kIdPalette0 + 8, "Palette &8", "Display with palette 8\nPalette 8 (Shift+8)", "Shift+8"},
    {kIdPalette0 + 9, "Palette &9", "Display with palette 9\nPalette 9 (Shift+9)", "Shift+9"},
    {kIdOpenExpansion, "Open &Expansion", "Open an Expansion to this KiSS data set\nOpen Expansion",
     ""},
    {kIdFindFkiss, "&Find FKiSS",
     "Highlights cels and objects which have attached FKiSS events\nFind FKiSS", "Ctrl+F"},
    {kIdTraceFkiss, "&Trace FKiSS", "Begin tracing FKiSS code execution\nTrace FKiSS", "Ctrl+T"},
    {kIdErrorReport, "&Error Report",
     "Display any error or warning messages for this KiSS data set\nDisplay error report",
     "Ctrl+E"},
    {kIdZoomIn, "&Zoom In", "Zoom In\nZoom In (+)", "+|="},
    {kIdZoomOut, "Zoom &Out", "Zoom Out\nZoom Out (-)", "-|_"},
    {kIdZoomHome, "Zoom &Home", "Return to unzoomed view.\nZoom Home (Home)", "Home"},
    {kIdZoomFit, "Zoom to Fit &Window",
     "Zoom to the largest size at which the whole playfield fits the window\nZoom to Fit Window "
     "(Ctrl+Shift+F)",
     "Ctrl+Shift+F"},
    {kIdFitWindow, "&Fit Window to Playfield",
     "Resizes the current window to the size of the playfield in the KiSS data set.\nFit Window to "
     "playfield",
     ""},
    {kIdSetInfo, "Set &Info",
     "Display information and statistics for this KiSS data set\nDisplay Set Info", "Ctrl+I"},
    {kIdObjectCelInfo, "Object/&Cel Info",
     "Display information and statistics for the most recently clicked object and cel\nDisplay "
     "Object/Cel Info",
     "Ctrl+Return|Ctrl+Enter"},
    {kIdDisplayDebug, "Display &Debug", "Display Debug() output\nDebug", "Ctrl+D"},
    {kIdViewCnf, "CNF", "View CNF for this KiSS set.\nView CNF", ""},
    {kIdSaveThumbnail, "Save Thumbnail",
     "Saves a Thumbnail of the current KiSS data set\nSave Thumbnail", ""},
    {kIdPatrolBounds, "Patrol &Bounds",
     "Moves all objects which are outside of the edges of the playfield to the closest position "
     "entirely inside the playfield\nPatrol Bounds",
     "Ctrl+B"},
    {kIdResetAllPositions, "Reset All Positions",
     "Restores all objects on the current set to their initial positions\nReset All Positions", ""},
    {kIdMuteSound, "&Mute Sound", "Stops all sound effects from playing when checked", ""},
    {kIdPreviousSet, "Previous", "Display previous set of KiSS data\nPrevious Set (Ctrl+Left)",
     "Ctrl+Left"},
    {kIdNextSet, "Next", "Display next set of KiSS data\nNext Set (Ctrl+Right)", "Ctrl+Right"},
    {kIdCopyAllPositions, "Copy All Positions",
     "Copies the positions of all objects present in the current set to all other sets\nCopy All "
     "Positions",
     ""},
    {kIdSnapToWizard, "Snap-To Wizard",
     "Opens the Snap-To Wizard for setting up Snap-To FKiSS code.\nSnap-To Wizard", "Ctrl+N"},
    {kIdFindBorderViolators, "Find Border &Violators",
     "Flashes all objects on the current page which are past the edges of the playfield\nFind "
     "Border Violators",
     "Ctrl+V"},
    {kIdPaletteEditor, "&KCF Palette Editor", "", "Ctrl+Shift+P"},
    {kIdReset, "&Reset", "Resets the current KiSS data set to its starting state\nReset", "Ctrl+R"},
    {kIdPreviousPalette, "Previous", "Display with previous palette\nPrevious Palette (Shift+Left)",
     "Shift+Left"},
    {kIdNextPalette, "Next", "Display with next palette\nNext Palette (Shift+Right)",
     "Shift+Right"},
    {kIdBuildLzh, "Build &LZH Archive",
     "Saves all files necessary for this doll to a single LZH archive\nBuild LZH", ""},
    {kIdOpenOtherCnf, "Open Other C&nf", "Open a different CNF for this KiSS set\nOpen other CNF",
     ""},
    {kIdMuteMusic, "&Mute Music", "Stops all music from playing when checked", ""},
    {kIdBoundAll, "E&nforce All Boundaries", "", ""},
    {kIdBoundFkiss, "&FKiSS Boundaries", "", ""},
    {kIdBoundNone, "&No Bounds", "", ""},
    {kIdBoundCycle, "Bound Cycle", "Cycle through Bounding modes for the currently loaded doll.",
     ""},
    {kIdNextKissSet, "Next KiSS Set",
     "Brings the next KiSS set currently loaded into memory to the foreground.\nNext KiSS Set",
     "Alt+N"},
    {kIdBoundVisible, "&Visible Bounds", "", ""},
    {kIdBoundLimited, "&Limited Bounds", "", ""},
    {kIdObjectInfo, "Object Info", "", ""},
    {kIdCelInfo, "Cel Info", "", ""},
    {kIdVariables, "&Variables", "Watch values of FKiSS variables", "Ctrl+Shift+V"},
    {kIdLocate, "Locate Object/Cel", "Locate a specific Object or Cel and cause it to flash",
     "Ctrl+L"},
    {kIdPauseFkiss, "&Pause FKiSS", "Temporarily halts all FKiSS activity\tPause FKiSS", "Ctrl+P"},
    {kIdCopyPosition, "Copy Position",
     "Copies the positions of the last-clicked object in the current set to all other sets\nCopy "
     "Position",
     ""},
    {kIdBugReport, "Bug Report", "Submit a bug report about Lumadoll", ""},
    {kIdCreateScreenshot, "Create Screenshot",
     "Creates a BMP or PNG screenshot of the current KiSS data set\nCreate Screenshot",
     "Ctrl+Shift+S"},
    {kIdReloadCnf, "&Reload this CNF", "", "Ctrl+Shift+R"},
    {kIdTroubleshooting, "&Troubleshooting", "", ""},
    {kIdShowTips, "&Show Tips", "Show the Lumadoll Tip of the Day", ""},
    {kIdFileOpen, "&Open...", "Open a KiSS data set (CNF, LZH or LHA file)\nOpen (Ctrl+O)",
     "Ctrl+O"},
    {kIdFileClose, "&Close", "Close this KiSS data set\nClose (Ctrl+W)", "Ctrl+W|Ctrl+F4"},
    {kIdFileSaveAs, "Save &As...", "Save data to a new KiSS Configuration file\nSave As (Ctrl+S)",
     "Ctrl+S"},
    {kIdEditCopy, "&Copy", "Copy the picture of this KiSS data set to the clipboard\nCopy (Ctrl+C)",
     "Ctrl+C|Ctrl+Ins"},
    {kIdEditUndo, "&Undo Move", "Put back the object you moved last\nUndo Move (Ctrl+Z)", "Ctrl+Z"},
    {kIdEditRedo, "&Redo Move", "Move the object again that Undo put back\nRedo Move (Ctrl+Y)",
     "Ctrl+Shift+Z|Ctrl+Y"},
    {kIdWindowArrange, "&Arrange Icons",
     "Line up the minimised windows along the bottom\nArrange Icons", ""},
    {kIdWindowCascade, "&Cascade", "Arrange the windows so that they overlap\nCascade Windows", ""},
    {kIdWindowTileHorizontal, "Tile &Horizontally",
     "Arrange the windows one above the other\nTile Horizontally", ""},
    {kIdWindowTileVertical, "Tile &Vertically", "Arrange the windows side by side\nTile Vertically",
     ""},
    {kIdAppAbout, "&About Lumadoll...", "Show the program's version and credits\nAbout", ""},
    {kIdAppExit, "E&xit", "Quit Lumadoll\nExit", ""},
    {kIdHelpTopics, "&Help Topics", "Show the Lumadoll help\nHelp Topics", "F1"},
    {kIdContextHelp, "What's &This?",
     "Display help for clicked on buttons, menus and windows\nHelp", "Shift+F1"},
    {kIdNextPane, "Next Pane", "Switch to the next window\nNext Pane", "F6"},
    {kIdPreviousPane, "Previous Pane", "Switch to the previous window\nPrevious Pane", "Shift+F6"},
    {kIdViewToolbar, "&Toolbar", "Show or hide the toolbar\nToggle Toolbar", ""},
    {kIdViewStatusBar, "&Status Bar", "Show or hide the status bar\nToggle Status Bar", ""},
};

}  // namespace

std::span<const CommandInfo> Commands() { return kCommands; }

const CommandInfo* FindCommand(int id) {
  for (const CommandInfo& c : kCommands) {
    if (c.id == id) return &c;
  }
  return nullptr;
}

PromptParts SplitPrompt(std::string_view prompt) {
  // A tab also separates the tooltip: one prompt was written that way, and
  // showing the tab in the status bar helps nobody.
  const size_t cut = prompt.find_first_of("\n\t");
  if (cut == std::string_view::npos) return {std::string(prompt), {}};
  return {std::string(prompt.substr(0, cut)), std::string(prompt.substr(cut + 1))};
}

}  // namespace luma::app
