#include "core/fkiss/variable_watch.h"

#include <algorithm>

#include "core/fkiss/fkiss_script.h"
#include "core/host/text.h"

namespace luma {

VariableWatch::VariableWatch(FkissScript& script) : script_(script) { script_.set_watch(this); }

VariableWatch::~VariableWatch() {
  if (script_.watch() == this) script_.set_watch(nullptr);
}

bool VariableWatch::IsWatched(int index) const {
  return std::find(watched_.begin(), watched_.end(), index) != watched_.end();
}

bool VariableWatch::Toggle(std::string_view name) {
  const int index = script_.FindVariable(name);
  if (index < 0) return false;
  const auto it = std::find(watched_.begin(), watched_.end(), index);
  const bool now_watched = it == watched_.end();
  if (now_watched) {
    watched_.push_back(index);
  } else {
    watched_.erase(it);
  }
  RefreshWatch();
  return now_watched;
}

std::string VariableWatch::ButtonLabel(std::string_view selected_name) const {
  if (selected_name.empty()) return std::string();
  return IsWatched(script_.FindVariable(selected_name)) ? "&Stop Watching" : "&Watch";
}

void VariableWatch::ClearWatch() {
  watched_.clear();
  RefreshWatch();
}

void VariableWatch::RefreshWatch() {
  text_.clear();
  const std::vector<std::string>& names = script_.variable_names();
  for (const int index : watched_) {
    if (index < 0 || static_cast<size_t>(index) >= names.size()) continue;
    if (!text_.empty()) text_ += "\r\n";
    text_ += StringPrintf("%s = %d", names[static_cast<size_t>(index)].c_str(),
                          script_.GetVariable(index));
  }
  if (on_refresh_) on_refresh_(text_);
}

}  // namespace luma
