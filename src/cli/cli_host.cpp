#include "cli/cli_host.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>

#include "core/host/text.h"
#include "platform/platform_paths.h"

namespace luma {

CliHost::CliHost() : random_(static_cast<uint32_t>(std::time(nullptr))) {}

void CliHost::ShowMessage(std::string_view caption, std::string_view text, MessageIcon) {
  if (collect_messages_) {
    messages_.emplace_back(text);
    return;
  }
  std::fprintf(stderr, "%.*s%s%.*s\n", static_cast<int>(caption.size()), caption.data(),
               caption.empty() ? "" : ": ", static_cast<int>(text.size()), text.data());
}

Answer CliHost::Ask(std::string_view caption, std::string_view text, Buttons buttons, MessageIcon) {
  Answer a = answer_;
  if (buttons == Buttons::kOk) a = Answer::kOk;
  if (buttons == Buttons::kOkCancel && (a == Answer::kYes || a == Answer::kNo)) {
    a = a == Answer::kYes ? Answer::kOk : Answer::kCancel;
  }
  if (verbose_) {
    const char* said = a == Answer::kYes  ? "Yes"
                       : a == Answer::kNo ? "No"
                       : a == Answer::kOk ? "OK"
                                          : "Cancel";
    std::fprintf(stderr, "%.*s: %.*s [%s]\n", static_cast<int>(caption.size()), caption.data(),
                 static_cast<int>(text.size()), text.data(), said);
  }
  return a;
}

int CliHost::Choose(std::string_view, std::string_view, const std::vector<std::string>& items) {
  if (items.empty()) return -1;
  if (!choice_name_.empty()) {
    for (size_t i = 0; i < items.size(); ++i) {
      if (EqualsIgnoreCase(items[i], choice_name_) ||
          EqualsIgnoreCase(FileNamePart(items[i]), choice_name_)) {
        return static_cast<int>(i);
      }
    }
    return -1;
  }
  return choice_ >= 0 && static_cast<size_t>(choice_) < items.size() ? choice_ : -1;
}

uint32_t CliHost::Milliseconds() {
  if (simulated_) return now_;
  using namespace std::chrono;
  return static_cast<uint32_t>(
      duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void CliHost::Sleep(uint32_t ms) {
  if (simulated_) {
    now_ += ms;
  } else {
    Host::Sleep(ms);
  }
}

int CliHost::Random() { return random_.Next(); }

void CliHost::PlaySound(const std::string& path) {
  if (verbose_) std::fprintf(stderr, "sound: %s\n", path.c_str());
}

void CliHost::PlayMusic(const std::string& path) {
  if (verbose_) std::fprintf(stderr, "music: %s\n", path.c_str());
}

void CliHost::StopSound() {
  if (verbose_) std::fprintf(stderr, "sound stopped\n");
}

void CliHost::StopMusic() {
  if (verbose_) std::fprintf(stderr, "music stopped\n");
}

bool CliHost::OpenLink(const std::string& target) {
  std::fprintf(stderr, "link (not opened): %s\n", target.c_str());
  return false;
}

std::string CliHost::DataFolder() { return UserDataFolder(); }
std::string CliHost::TempFolder() { return SystemTempFolder(); }

}  // namespace luma
