#include "web/web_host.h"

#include <emscripten.h>

#include <cstdlib>
#include <string>

#include "web/percent_encoding.h"
#include "web/web_files.h"

namespace luma::web {
namespace {

// The page's side (lumadoll-page.js, object Module.page). Strings cross as
// UTF-8 pointers with their lengths, since engine text is bytes.
// clang-format off
EM_JS(void, PageShowMessage, (const char* caption, size_t caption_size, const char* text,
                              size_t text_size, int icon), {
  Module.page.showMessage(UTF8ToString(caption, caption_size), UTF8ToString(text, text_size),
                          icon);
});
EM_JS(int, PageAsk, (const char* caption, size_t caption_size, const char* text,
                     size_t text_size, int buttons), {
  return Module.page.ask(UTF8ToString(caption, caption_size), UTF8ToString(text, text_size),
                         buttons);
});
EM_JS(int, PageChoose, (const char* caption, size_t caption_size, const char* items,
                        size_t items_size), {
  return Module.page.choose(UTF8ToString(caption, caption_size),
                            UTF8ToString(items, items_size).split("\n"));
});
EM_JS(void, PageProgress, (const char* text, size_t size), {
  Module.page.progress(UTF8ToString(text, size));
});
EM_JS(double, PageNow, (), { return performance.now(); });
// The path percent-encoded, as the page hands it back to read the file.
EM_JS(void, PagePlay, (const char* path, int music), {
  Module.page.play(UTF8ToString(path), music !== 0);
});
EM_JS(void, PageStop, (int music), { Module.page.stop(music !== 0); });
EM_JS(int, PageOpenLink, (const char* target), {
  return Module.page.openLink(UTF8ToString(target)) ? 1 : 0;
});
// clang-format on

}  // namespace

WebHost::WebHost(FileSystem& files)
    : random_(static_cast<uint32_t>(PageNow() * 1000.0)), files_(files) {}

void WebHost::ShowMessage(std::string_view caption, std::string_view text, MessageIcon icon) {
  PageShowMessage(caption.data(), caption.size(), text.data(), text.size(), static_cast<int>(icon));
}

Answer WebHost::Ask(std::string_view caption, std::string_view text, Buttons buttons, MessageIcon) {
  return static_cast<Answer>(
      PageAsk(caption.data(), caption.size(), text.data(), text.size(), static_cast<int>(buttons)));
}

int WebHost::Choose(std::string_view caption, std::string_view,
                    const std::vector<std::string>& items) {
  if (items.empty()) return -1;
  std::string joined;
  for (const std::string& item : items) joined += (joined.empty() ? "" : "\n") + item;
  const int chosen = PageChoose(caption.data(), caption.size(), joined.data(), joined.size());
  return chosen >= 0 && static_cast<size_t>(chosen) < items.size() ? chosen : -1;
}

void WebHost::ProgressShow(std::string_view caption) {
  PageProgress(caption.data(), caption.size());
}

void WebHost::ProgressStatus(std::string_view text) { PageProgress(text.data(), text.size()); }

void WebHost::ProgressHide() { PageProgress("", 0); }

uint32_t WebHost::Milliseconds() {
  if (simulated_) return now_;
  return static_cast<uint32_t>(static_cast<uint64_t>(PageNow()));
}

void WebHost::Sleep(uint32_t ms) {
  if (simulated_) now_ += ms;
}

void WebHost::PlaySound(const std::string& path) { PagePlay(PercentEncode(path).c_str(), 0); }
void WebHost::PlayMusic(const std::string& path) { PagePlay(PercentEncode(path).c_str(), 1); }
void WebHost::StopSound() { PageStop(0); }
void WebHost::StopMusic() { PageStop(1); }

bool WebHost::OpenLink(const std::string& target) { return PageOpenLink(target.c_str()) != 0; }

std::string WebHost::DataFolder() { return std::string(kDataFolder); }
std::string WebHost::TempFolder() { return std::string(kTempFolder); }

}  // namespace luma::web
