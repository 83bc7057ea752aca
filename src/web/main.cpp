// The page's entry points into the engine. lumadoll-page.js calls these
// through emscripten's ccall; texts are UTF-8, paths and file names are
// percent-encoded bytes (a doll's names need not be UTF-8), byte buffers
// come as pointers into the module's memory, and returned strings stay
// valid until the next call that returns one.
#include <emscripten.h>

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/fkiss/key_codes.h"
#include "web/dropped_files.h"
#include "web/named_files.h"
#include "web/percent_encoding.h"
#include "web/web_app.h"

using luma::web::PercentDecode;
using luma::web::PercentEncode;
using luma::web::WebApp;

namespace {

// The one program of the page; main() makes it and it lives as long as the page.
WebApp* app = nullptr;
std::string returned;
std::vector<uint8_t> file_bytes;

const char* Return(std::string text) {
  returned = std::move(text);
  return returned.c_str();
}

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE void lumadoll_use_simulated_clock() { app->host().UseSimulatedClock(0); }

EMSCRIPTEN_KEEPALIVE void lumadoll_seed(double seed) {
  app->host().SeedRandom(static_cast<uint32_t>(seed));
}

EMSCRIPTEN_KEEPALIVE const char* lumadoll_new_doll_folder() {
  return Return(app->files().NewDollFolder());
}

// `name` is the file's path relative to `folder`, "/" between folders.
EMSCRIPTEN_KEEPALIVE int lumadoll_add_file(const char* folder, const char* name,
                                           const uint8_t* bytes, int size) {
  const std::optional<std::string> relative = PercentDecode(name);
  return relative &&
         app->files().AddFile(folder, *relative, std::span(bytes, static_cast<size_t>(size))).ok();
}

EMSCRIPTEN_KEEPALIVE const char* lumadoll_doll_candidates(const char* folder) {
  std::string joined;
  for (const std::string& path : app->files().DollCandidates(folder)) {
    joined += (joined.empty() ? "" : "\n") + PercentEncode(path);
  }
  return Return(joined);
}

// The files the CNF at `path` names, as JSON: [{"path": P, "urls": [U...]}],
// P relative to the CNF's folder and each U relative to the CNF's URL.
EMSCRIPTEN_KEEPALIVE const char* lumadoll_named_files(const char* path) {
  const std::optional<std::string> cnf = PercentDecode(path);
  luma::Result<std::vector<uint8_t>> bytes =
      cnf ? app->files().Read(*cnf) : luma::Status::Error("");
  if (!bytes.ok()) return Return("[]");
  std::string json = "[";
  for (const luma::web::NamedFile& file :
       luma::web::FilesNamedBy(*bytes, app->settings().text_encoding_choice())) {
    json += json.size() > 1 ? ",{" : "{";
    json += "\"path\":\"" + PercentEncode(file.path) + "\",\"urls\":[";
    for (size_t i = 0; i < file.urls.size(); ++i) {
      json += (i ? ",\"" : "\"") + file.urls[i] + "\"";
    }
    json += "]}";
  }
  return Return(json + "]");
}

// Gives the files dropped into `folder` the names its CNFs know them by;
// returns how many were added again under another name.
EMSCRIPTEN_KEEPALIVE int lumadoll_place_dropped_files(const char* folder) {
  return luma::web::PlaceDroppedFiles(app->files(), folder, app->settings().text_encoding_choice());
}

EMSCRIPTEN_KEEPALIVE int lumadoll_restore_data_file(const char* name, const uint8_t* bytes,
                                                    int size) {
  return app->files().RestoreDataFile(name, std::span(bytes, static_cast<size_t>(size))).ok();
}

EMSCRIPTEN_KEEPALIVE const char* lumadoll_data_changes() { return Return(app->DataChangesJson()); }

// Opens the doll at `path`; the files of the dolls opened before it are
// dropped once it is open.
EMSCRIPTEN_KEEPALIVE int lumadoll_open(const char* path) {
  const std::optional<std::string> decoded = PercentDecode(path);
  return decoded && app->Open(*decoded);
}

EMSCRIPTEN_KEEPALIVE void lumadoll_close() { app->Close(); }

EMSCRIPTEN_KEEPALIVE void lumadoll_resize(int width, int height) { app->Resize(width, height); }

EMSCRIPTEN_KEEPALIVE int lumadoll_draw() { return app->doll() && app->doll()->DrawIfNeeded(); }

EMSCRIPTEN_KEEPALIVE const uint8_t* lumadoll_frame() {
  return app->doll() ? app->doll()->frame_rgba() : nullptr;
}
EMSCRIPTEN_KEEPALIVE int lumadoll_frame_width() {
  return app->doll() ? app->doll()->frame_width() : 0;
}
EMSCRIPTEN_KEEPALIVE int lumadoll_frame_height() {
  return app->doll() ? app->doll()->frame_height() : 0;
}

// kind: WebApp::PointerKind; in_doll: x, y are doll coordinates, not
// canvas pixels.
EMSCRIPTEN_KEEPALIVE void lumadoll_pointer(int kind, int x, int y, int left_held, int in_doll) {
  if (kind < 0 || kind > static_cast<int>(WebApp::PointerKind::kRightDown)) return;
  app->Pointer(static_cast<WebApp::PointerKind>(kind), x, y, left_held != 0, in_doll != 0);
}

// `name` is a key name as scripts and the play script write them ("a", "5",
// "space", "up"). Returns whether the doll's script has an event for it.
EMSCRIPTEN_KEEPALIVE int lumadoll_key(const char* name, int down, int repeat) {
  const int code = luma::KeyCodeFromName(name);
  if (code < 0 || !app->doll()) return 0;
  if (down) {
    app->doll()->view().KeyDown(code, repeat != 0);
  } else {
    app->doll()->view().KeyUp(code);
  }
  return app->ScriptListensToKey(code);
}

// The file's bytes stay at lumadoll_file_data() until the next read; -1
// when it cannot be read.
EMSCRIPTEN_KEEPALIVE int lumadoll_read_file(const char* path) {
  const std::optional<std::string> decoded = PercentDecode(path);
  luma::Result<std::vector<uint8_t>> bytes =
      decoded ? app->files().Read(*decoded) : luma::Status::Error("");
  if (!bytes.ok()) return -1;
  file_bytes = std::move(*bytes);
  return static_cast<int>(file_bytes.size());
}
EMSCRIPTEN_KEEPALIVE const uint8_t* lumadoll_file_data() { return file_bytes.data(); }

EMSCRIPTEN_KEEPALIVE void lumadoll_select_set(int set) {
  if (app->doll()) app->doll()->view().SelectSet(set);
}

EMSCRIPTEN_KEEPALIVE void lumadoll_select_palette(int group) {
  if (app->doll()) app->doll()->view().SelectPaletteGroup(group);
}

EMSCRIPTEN_KEEPALIVE void lumadoll_zoom(int level) {
  if (app->doll()) app->doll()->view().SetZoom(level);
  if (app->doll()) app->doll()->Invalidate();
}

EMSCRIPTEN_KEEPALIVE void lumadoll_zoom_to_fit() {
  if (app->doll()) app->doll()->view().ZoomToFit();
  if (app->doll()) app->doll()->Invalidate();
}

// Edit > Undo Move and Redo Move.
EMSCRIPTEN_KEEPALIVE void lumadoll_undo() {
  if (app->doll()) app->doll()->view().Undo();
}
EMSCRIPTEN_KEEPALIVE void lumadoll_redo() {
  if (app->doll()) app->doll()->view().Redo();
}

EMSCRIPTEN_KEEPALIVE void lumadoll_wheel(int delta, int ctrl) {
  if (app->doll()) app->doll()->view().Wheel(delta, ctrl != 0);
}

EMSCRIPTEN_KEEPALIVE int lumadoll_reset() { return app->doll() && app->doll()->view().ResetDoll(); }

EMSCRIPTEN_KEEPALIVE double lumadoll_run_due_alarms() {
  return app->doll() ? app->doll()->RunDueAlarms() : 0;
}

EMSCRIPTEN_KEEPALIVE void lumadoll_run_alarms_for(int ms) {
  if (app->doll()) app->doll()->RunAlarmsFor(ms);
}

EMSCRIPTEN_KEEPALIVE int lumadoll_cel_line_count() {
  return app->doll() ? static_cast<int>(app->doll()->doc().model().instances().size()) : 0;
}

EMSCRIPTEN_KEEPALIVE const char* lumadoll_grab_largest() { return Return(app->GrabLargest()); }

EMSCRIPTEN_KEEPALIVE const char* lumadoll_state() { return Return(app->StateJson()); }

EMSCRIPTEN_KEEPALIVE const char* lumadoll_report() { return Return(app->ReportText()); }

EMSCRIPTEN_KEEPALIVE const char* lumadoll_print(const char* what, const char* argument) {
  return Return(app->Print(what, argument));
}

}  // extern "C"

// The runtime stays alive after main returns, and so does the program.
int main() {
  static WebApp the_app;
  app = &the_app;
  return 0;
}
