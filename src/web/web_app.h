#ifndef LUMA_WEB_WEB_APP_H_
#define LUMA_WEB_WEB_APP_H_

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "core/host/settings.h"
#include "web/web_doll.h"
#include "web/web_files.h"
#include "web/web_host.h"

namespace luma::web {

// The program behind the page: one doll at a time, the files it came with,
// and the commands of the page's buttons, keys and pointer. Texts it hands
// to the page are UTF-8 (doll text decoded for showing) or JSON.
class WebApp {
 public:
  WebApp();

  WebHost& host() { return host_; }
  WebFiles& files() { return files_; }
  const Settings& settings() const { return settings_; }
  // Null until a doll is open.
  WebDoll* doll() { return doll_ && doll_->is_open() ? doll_.get() : nullptr; }

  // Opens the doll at `path` in place of the one shown, and drops the files
  // of the dolls before; false when it could not be opened (the reason has
  // been shown), and then nothing is.
  bool Open(const std::string& path);
  void Close();
  void Resize(int width, int height);

  // What the pointer did, as the page numbers it; mouse, pen and touch alike.
  enum class PointerKind { kMove = 0, kLeftDown = 1, kLeftUp = 2, kRightDown = 3 };
  // The pointer at x, y: canvas pixels, or doll coordinates for the play
  // script's actions and the drag benchmark.
  void Pointer(PointerKind kind, int x, int y, bool left_held, bool in_doll_units);

  // Whether the doll's script has an event for the key `code`.
  bool ScriptListensToKey(int code);

  // State for the page's controls and status line.
  std::string StateJson();
  // The error report as lumadoll-tool check prints it.
  std::string ReportText();
  // What the play script's print commands print (positions, fix N, mapped,
  // var NAME, status); empty for an unknown question.
  std::string Print(std::string_view what, std::string_view argument);
  // For the drag benchmark: presses the largest object of the shown set
  // that moves when dragged (made free to move) and returns where, in doll
  // coordinates, as "X,Y"; empty when none moves.
  std::string GrabLargest();

  // The data folder's changes as JSON: [{"name": N, "data": BASE64 or null}].
  std::string DataChangesJson();

 private:
  WebFiles files_;
  WebHost host_{files_.files()};
  Settings settings_;
  std::unique_ptr<WebDoll> doll_;
  int width_ = 0;
  int height_ = 0;
};

// Engine text (bytes as the doll wrote them) as UTF-8 for the page.
std::string ShownText(std::string_view bytes);
// `text` as a JSON string with its quotes.
std::string JsonString(std::string_view text);

}  // namespace luma::web

#endif  // LUMA_WEB_WEB_APP_H_
