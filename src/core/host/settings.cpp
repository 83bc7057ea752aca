#include "core/host/settings.h"

#include <algorithm>
#include <array>

namespace luma {
namespace {

struct Binding {
  SettingDescriptor descriptor;
  bool Settings::*flag = nullptr;
  int Settings::*number = nullptr;
  std::string Settings::*text = nullptr;
};

constexpr int kMaxInt = 0x7fffffff;

Binding Flag(const char* name, bool Settings::*member, int def,
             SettingKind kind = SettingKind::kBool) {
  return {{name, kind, def, 0, 1}, member, nullptr, nullptr};
}
Binding Number(const char* name, int Settings::*member, int def, int min, int max,
               SettingKind kind = SettingKind::kRange) {
  return {{name, kind, def, min, max}, nullptr, member, nullptr};
}
Binding Text(const char* name, std::string Settings::*member) {
  return {{name, SettingKind::kString, 0, 0, 0}, nullptr, nullptr, member};
}

const std::array<Binding, 40>& Bindings() {
  static const std::array<Binding, 40> kBindings = {
      Flag("Sound Enabled", &Settings::sound_enabled, 1),
      Flag("Music Enabled", &Settings::music_enabled, 1),
      Flag("Edged Border", &Settings::edged_border, 1),
      Number("Boundary Enforcement", &Settings::boundary_enforcement, 3, 0, 4),
      Number("Bounding Ask", &Settings::bounding_ask, 0, 0, 2),
      Flag("Mouse Hide", &Settings::mouse_hide, 0),
      Number("Mouse Type", &Settings::mouse_type, 1, 0, 2),
      Number("Scroll Type", &Settings::scroll_type, 0, 0, 1),
      Number("Easy Click", &Settings::easy_click, 1, 0, 5),
      Flag("Stuck Mouse", &Settings::stuck_mouse, 1),
      Number("Shell Permission", &Settings::shell_permission, 1, 0, 2),
      Number("Quick Timer", &Settings::quick_timer, 5, 1, 50),
      Number("Strong Fix", &Settings::strong_fix, 100, 2, 16000000),
      Number("Max Stack", &Settings::max_stack, 20, 20, 16000000),
      Flag("File Association", &Settings::file_association, 1),
      Flag("Closing Progress", &Settings::closing_progress, 1),
      Flag("Ignore Snap", &Settings::ignore_snap, 1),
      Flag("Errors Only", &Settings::errors_only, 0),
      Flag("Errors LZH", &Settings::errors_lzh, 1),
      Flag("No Missing Cel", &Settings::no_missing_cel, 0),
      Flag("Single Instance", &Settings::single_instance, 1),
      Flag("Show Tips", &Settings::show_tips, 1),
      Number("Current Tip", &Settings::current_tip, 0, 0, Settings::kTipCount - 1),
      Flag("Warn Palette", &Settings::warn_palette, 1),
      Flag("Force Palette", &Settings::force_palette, 0),
      Flag("Recycle Textures", &Settings::recycle_textures, 0),
      Flag("Texel Adjust", &Settings::texel_adjust, 0),
      Flag("Video Memory Saver", &Settings::video_memory_saver, 0),
      Number("Thumb Width", &Settings::thumb_width, 64, Settings::kMinThumbWidth,
             Settings::kMaxThumbWidth),
      Number("Thumb Height", &Settings::thumb_height, 48, Settings::kMinThumbHeight,
             Settings::kMaxThumbHeight),
      Flag("Thumb Show", &Settings::thumb_show, 1),
      Flag("Thumb Create", &Settings::thumb_create, 0),
      Flag("Thumb Verbose", &Settings::thumb_verbose, 1),
      Flag("Thumb Use Directory", &Settings::thumb_use_directory, 0, SettingKind::kBoolNonZero),
      Text("Thumb Directory", &Settings::thumb_directory),
      Flag("Pool AutoExpire", &Settings::pool_auto_expire, 0),
      Number("Pool Expire", &Settings::pool_expire, 6, -kMaxInt - 1, kMaxInt,
             SettingKind::kAtLeastOne),
      Number("Pool DayMonth", &Settings::pool_day_month, 1, 0, 1),
      Number("Text Encoding", &Settings::text_encoding, 0, 0, 3),
      Flag("Cheat", &Settings::cheat, 0, SettingKind::kBoolNonZero),
  };
  return kBindings;
}

}  // namespace

std::span<const SettingDescriptor> OptionDescriptors() {
  static const auto kDescriptors = [] {
    std::array<SettingDescriptor, 40> out{};
    for (size_t i = 0; i < out.size(); ++i) out[i] = Bindings()[i].descriptor;
    return out;
  }();
  return kDescriptors;
}

void Settings::Load(const SettingsStore& store) {
  for (const Binding& b : Bindings()) {
    const SettingDescriptor& d = b.descriptor;
    if (d.kind == SettingKind::kString) {
      if (auto value = store.ReadString(kOptionsSection, d.name)) this->*b.text = *value;
      continue;
    }
    const int32_t raw = store.ReadInt(kOptionsSection, d.name).value_or(d.default_value);
    switch (d.kind) {
      case SettingKind::kBool:
        this->*b.flag = raw > 0;
        break;
      case SettingKind::kBoolNonZero:
        this->*b.flag = raw != 0;
        break;
      case SettingKind::kRange:
        this->*b.number = std::clamp<int>(raw, d.min, d.max);
        break;
      case SettingKind::kAtLeastOne:
        this->*b.number = raw == 0 ? 1 : raw;
        break;
      case SettingKind::kString:
        break;
    }
  }
  if (auto dir = store.ReadString(kGeneralSection, "Current Directory")) current_directory = *dir;
  if (auto pos = store.ReadString(kSettingsSection, "WindowPos")) window_pos = *pos;
}

void Settings::Clamp() {
  for (const Binding& b : Bindings()) {
    const SettingDescriptor& d = b.descriptor;
    if (d.kind == SettingKind::kRange) {
      this->*b.number = std::clamp(this->*b.number, d.min, d.max);
    } else if (d.kind == SettingKind::kAtLeastOne && this->*b.number == 0) {
      this->*b.number = 1;
    }
  }
}

void Settings::Save(SettingsStore& store) const {
  for (const Binding& b : Bindings()) {
    const SettingDescriptor& d = b.descriptor;
    if (b.text) {
      store.WriteString(kOptionsSection, d.name, this->*b.text);
    } else if (b.flag) {
      store.WriteInt(kOptionsSection, d.name, (this->*b.flag) ? 1 : 0);
    } else if (b.number == &Settings::current_tip) {
      store.WriteInt(kOptionsSection, d.name, (current_tip + 1) % kTipCount);
    } else {
      store.WriteInt(kOptionsSection, d.name, this->*b.number);
    }
  }
  store.WriteString(kGeneralSection, "Current Directory", current_directory);
  store.WriteString(kSettingsSection, "WindowPos", window_pos);
}

}  // namespace luma
