#include "web/web_app.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "core/fkiss/fkiss_script.h"
#include "core/host/text.h"
#include "core/host/text_encoding.h"
#include "core/render/scene_picture.h"
#include "core/view/doll_statistics.h"
#include "core/view/error_report_view.h"

namespace luma::web {
namespace {

std::string Base64(const std::vector<uint8_t>& bytes) {
  static constexpr char kDigits[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  for (size_t i = 0; i < bytes.size(); i += 3) {
    const uint32_t n = (bytes[i] << 16) | (i + 1 < bytes.size() ? bytes[i + 1] << 8 : 0) |
                       (i + 2 < bytes.size() ? bytes[i + 2] : 0);
    out += kDigits[(n >> 18) & 63];
    out += kDigits[(n >> 12) & 63];
    out += i + 1 < bytes.size() ? kDigits[(n >> 6) & 63] : '=';
    out += i + 2 < bytes.size() ? kDigits[n & 63] : '=';
  }
  return out;
}

bool InSet(const KissObject& object, int set) {
  return std::any_of(object.cels.begin(), object.cels.end(),
                     [set](const CelInstance* c) { return c->in_set[set]; });
}

// The view takes canvas pixels and doll coordinates alike.
template <typename Point>
void DispatchPointer(CKissCnfView& view, WebApp::PointerKind kind, Point p, bool left_held) {
  switch (kind) {
    case WebApp::PointerKind::kMove:
      view.MouseMove(p, left_held);
      break;
    case WebApp::PointerKind::kLeftDown:
      view.MouseMove(p, false);
      view.LeftButtonDown(p);
      break;
    case WebApp::PointerKind::kLeftUp:
      view.LeftButtonUp(p);
      break;
    case WebApp::PointerKind::kRightDown:
      view.RightButtonDown(p);
      break;
  }
}

}  // namespace

std::string ShownText(std::string_view bytes) {
  return DecodeText(bytes, TextEncoding::kAutomatic);
}

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    const auto b = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (b < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", b);
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

WebApp::WebApp() {}

bool WebApp::Open(const std::string& path) {
  Close();
  doll_ = std::make_unique<WebDoll>(host_, settings_);
  doll_->Resize(width_, height_);
  if (!doll_->Open(path)) {
    doll_.reset();
    return false;
  }
  files_.ForgetDollsExcept(path);
  return true;
}

void WebApp::Close() { doll_.reset(); }

void WebApp::Resize(int width, int height) {
  width_ = width;
  height_ = height;
  if (doll_) doll_->Resize(width, height);
}

void WebApp::Pointer(PointerKind kind, int x, int y, bool left_held, bool in_doll_units) {
  WebDoll* d = doll();
  if (!d) return;
  if (in_doll_units) {
    DispatchPointer(d->view(), kind, PlayPoint{x, y}, left_held);
  } else {
    DispatchPointer(d->view(), kind, ClientPoint{x, y}, left_held);
  }
}

bool WebApp::ScriptListensToKey(int code) {
  WebDoll* d = doll();
  FkissScript* script = d ? d->doc().fkiss() : nullptr;
  if (!script || code < 0 || code >= kKeyCount) return false;
  return !script->keypress_events[code].actions.empty() ||
         !script->keyrelease_events[code].actions.empty();
}

std::string WebApp::StateJson() {
  WebDoll* d = doll();
  if (!d) return "{\"open\":false}";
  CKissCnfView& view = d->view();
  const DollModel& model = d->doc().model();
  std::string sets, palettes;
  for (int i = 0; i < kSetCount; ++i) sets += view.SetEnabled(i) ? '1' : '0';
  for (int i = 0; i < kPaletteGroupCount; ++i) palettes += view.PaletteEnabled(i) ? '1' : '0';
  const ErrorReport& report = model.report;
  std::string json = "{\"open\":true";
  json += ",\"title\":" + JsonString(ShownText(d->doc().title()));
  json += ",\"set\":" + std::to_string(view.CurrentSet());
  json += ",\"palette\":" + std::to_string(view.palette_group());
  json += ",\"sets\":\"" + sets + "\",\"palettes\":\"" + palettes + "\"";
  json += ",\"zoom\":" + std::to_string(view.zoom_level());
  json += ",\"width\":" + std::to_string(model.playfield.width);
  json += ",\"height\":" + std::to_string(model.playfield.height);
  // The size of lumadoll-tool render's picture at this zoom level.
  const Scene scene = view.CurrentScene();
  json += ",\"pictureWidth\":" + std::to_string(PlayfieldPictureWidth(scene, view.zoom_level()));
  json += ",\"pictureHeight\":" + std::to_string(PlayfieldPictureHeight(scene, view.zoom_level()));
  json += ",\"celInfo\":" + JsonString(ShownText(d->cel_info()));
  json += ",\"coordinates\":" + JsonString(d->coordinates());
  json += ",\"fkiss\":" + JsonString(FkissLevelName(model.fkiss_level));
  json += ",\"pointer\":" + std::to_string(static_cast<int>(d->pointer()));
  json += ",\"errors\":" + std::to_string(report.error_count());
  json += ",\"warnings\":" + std::to_string(report.warning_count());
  json += std::string(",\"showReport\":") +
          (ShowReportAfterLoad(report, settings_, d->doc().is_archive()) ? "true" : "false");
  json += std::string(",\"canUndo\":") + (view.CanUndo() ? "true" : "false");
  json += std::string(",\"canRedo\":") + (view.CanRedo() ? "true" : "false");
  json += std::string(",\"closeRequested\":") + (d->close_requested() ? "true" : "false");
  return json + "}";
}

std::string WebApp::ReportText() {
  WebDoll* d = doll();
  if (!d) return "";
  const ErrorReport& report = d->doc().model().report;
  const std::string text = ErrorHeading(report.error_count()) + "\n" + report.ErrorText() + "\n" +
                           WarningHeading(report.warning_count()) + "\n" + report.WarningText();
  // Each entry names its own file, so each line is decoded on its own: a
  // Japanese name stays Japanese beside a line quoting one of its bytes.
  std::string shown;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    shown += ShownText(std::string_view(text).substr(start, end - start));
    if (end < text.size()) shown += '\n';
    start = end + 1;
  }
  return shown;
}

std::string WebApp::Print(std::string_view what, std::string_view argument) {
  WebDoll* d = doll();
  if (!d) return "";
  CKissCnfView& view = d->view();
  DollModel& model = d->doc().model();
  const int set = view.CurrentSet();
  std::string out;
  if (what == "positions") {
    std::vector<const KissObject*> objects;
    for (const auto& object : model.objects()) {
      if (InSet(*object, set)) objects.push_back(object.get());
    }
    std::sort(objects.begin(), objects.end(),
              [](const KissObject* a, const KissObject* b) { return a->number < b->number; });
    for (const KissObject* o : objects) {
      out += StringPrintf("#%d %d,%d\n", o->number, o->position[set].x, o->position[set].y);
    }
  } else if (what == "fix") {
    const KissObject* object = model.FindObject(ParseInt(argument), false);
    if (object) out = StringPrintf("#%d fix %d\n", object->number, static_cast<int>(object->fix));
  } else if (what == "mapped") {
    for (const auto& cel : model.instances()) {
      if (cel->mapped && cel->in_set[set] && cel->cel) out += cel->cel->file_name + "\n";
    }
  } else if (what == "var") {
    FkissScript* script = d->doc().fkiss();
    const int id = script ? script->FindVariable(argument) : -1;
    out = std::string(argument) + " = " + std::to_string(id >= 0 ? script->GetVariable(id) : 0) +
          "\n";
  } else if (what == "status") {
    out = view.cel_info() + "\n";
  }
  return ShownText(out);
}

std::string WebApp::GrabLargest() {
  WebDoll* d = doll();
  if (!d) return "";
  CKissCnfView& view = d->view();
  const int set = view.CurrentSet();
  std::vector<std::pair<int64_t, KissObject*>> by_area;
  for (const auto& object : d->doc().model().objects()) {
    int64_t area = 0;
    for (const CelInstance* cel : object->cels) {
      if (cel->in_set[set] && cel->mapped && cel->cel) {
        area += int64_t{cel->cel->width} * cel->cel->height;
      }
    }
    if (area > 0) by_area.emplace_back(area, object.get());
  }
  std::sort(by_area.rbegin(), by_area.rend());
  for (const auto& [area, object] : by_area) {
    for (const CelInstance* cel : object->cels) {
      if (!cel->in_set[set] || !cel->mapped || !cel->cel) continue;
      const Position p = object->position[set];
      for (int y = 0; y < cel->cel->height; y += 2) {
        for (int x = 0; x < cel->cel->width; x += 2) {
          const PlayPoint point{p.x + cel->x_offset + x, p.y + cel->y_offset + y};
          const CelInstance* hit = view.PickCel(point, PickPurpose::kEvents);
          if (!hit || hit->object != object) continue;
          object->fix = 0;
          view.MouseMove(point, false);
          view.LeftButtonDown(point);
          view.MouseMove(PlayPoint{point.x + 3, point.y + 3}, true);
          if (object->position[set] == p) {
            view.LeftButtonUp(point);
            break;
          }
          return std::to_string(point.x) + "," + std::to_string(point.y);
        }
      }
    }
  }
  return "";
}

std::string WebApp::DataChangesJson() {
  std::string json = "[";
  for (const DataFileChange& change : files_.DataChanges()) {
    if (json.size() > 1) json += ",";
    json += "{\"name\":" + JsonString(change.name) + ",\"data\":" +
            (change.removed ? std::string("null") : "\"" + Base64(change.bytes) + "\"") + "}";
  }
  return json + "]";
}

}  // namespace luma::web
