#ifndef LUMA_CORE_HOST_SETTINGS_H_
#define LUMA_CORE_HOST_SETTINGS_H_

#include <cstdint>
#include <span>
#include <string>

#include "core/host/settings_store.h"
#include "core/host/text_encoding.h"

namespace luma {

// The user's settings: read once when the main window is made, changed by the
// options dialog, written back when it closes. Every value keeps its stored
// name; clamps apply on reading.
struct Settings {
  // Section "Options".
  bool sound_enabled = true;         // "Sound Enabled"
  bool music_enabled = true;         // "Music Enabled"
  bool edged_border = true;          // "Edged Border"
  int boundary_enforcement = 3;      // "Boundary Enforcement" 0 All .. 4 None
  int bounding_ask = 0;              // "Bounding Ask" 0 Never, 1 Ask, 2 Auto
  bool mouse_hide = false;           // "Mouse Hide"
  int mouse_type = 1;                // "Mouse Type" 0 Normal, 1 Custom, 2 Dot
  int scroll_type = 0;               // "Scroll Type"
  int easy_click = 1;                // "Easy Click" radius in pixels, 0 off
  bool stuck_mouse = true;           // "Stuck Mouse"
  int shell_permission = 1;          // "Shell Permission" 0 never, 1 ask, 2 always
  int quick_timer = 5;               // "Quick Timer" alarms per pass
  int strong_fix = 100;              // "Strong Fix"
  int max_stack = 20;                // "Max Stack"
  bool file_association = true;      // "File Association"
  bool closing_progress = true;      // "Closing Progress"
  bool ignore_snap = true;           // "Ignore Snap"
  bool errors_only = false;          // "Errors Only"
  bool errors_lzh = true;            // "Errors LZH"
  bool no_missing_cel = false;       // "No Missing Cel"
  bool single_instance = true;       // "Single Instance"
  bool show_tips = true;             // "Show Tips"
  int current_tip = 0;               // "Current Tip" 0..11
  bool warn_palette = true;          // "Warn Palette"
  bool force_palette = false;        // "Force Palette"
  bool recycle_textures = false;     // "Recycle Textures"
  bool texel_adjust = false;         // "Texel Adjust"
  bool video_memory_saver = false;   // "Video Memory Saver"
  int thumb_width = 64;              // "Thumb Width"
  int thumb_height = 48;             // "Thumb Height"
  bool thumb_show = true;            // "Thumb Show"
  bool thumb_create = false;         // "Thumb Create"
  bool thumb_verbose = true;         // "Thumb Verbose"
  bool thumb_use_directory = false;  // "Thumb Use Directory"
  std::string thumb_directory;       // "Thumb Directory"
  bool pool_auto_expire = false;     // "Pool AutoExpire"
  int pool_expire = 6;               // "Pool Expire"
  int pool_day_month = 1;            // "Pool DayMonth" 0 days, 1 months
  bool cheat = false;                // "Cheat"
  // "Text Encoding": how doll text is shown, a TextEncoding value; 0 decides per doll.
  int text_encoding = 0;

  // Section "General".
  std::string current_directory;  // "Current Directory"
  // Section "Settings".
  std::string window_pos;  // "WindowPos"

  static constexpr int kTipCount = 12;
  static constexpr int kMinThumbWidth = 64;
  static constexpr int kMaxThumbWidth = 256;
  static constexpr int kMinThumbHeight = 48;
  static constexpr int kMaxThumbHeight = 200;

  TextEncoding text_encoding_choice() const { return static_cast<TextEncoding>(text_encoding); }

  // Reads every value; missing or unreadable ones keep their defaults.
  void Load(const SettingsStore& store);
  // Writes every value back; "Current Tip" is written advanced by one.
  void Save(SettingsStore& store) const;
  // Brings edited numbers into the ranges reading applies.
  void Clamp();
};

// How a value of section "Options" is read.
enum class SettingKind {
  kBool,         // on when the stored value is above 0
  kBoolNonZero,  // on when the stored value is not 0
  kRange,        // clamped to [min, max]
  kAtLeastOne,   // 0 reads as 1; anything else as stored
  kString,
};

struct SettingDescriptor {
  const char* name;
  SettingKind kind;
  int default_value;
  int min;
  int max;
};

// The values of section "Options" in their reading order.
std::span<const SettingDescriptor> OptionDescriptors();

inline constexpr char kOptionsSection[] = "Options";
inline constexpr char kGeneralSection[] = "General";
inline constexpr char kSettingsSection[] = "Settings";

}  // namespace luma

#endif  // LUMA_CORE_HOST_SETTINGS_H_
