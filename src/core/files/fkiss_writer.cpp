#include "core/files/fkiss_writer.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "core/fkiss/fkiss_script.h"
#include "core/host/text.h"
#include "core/model/doll_model.h"

namespace luma {
namespace {

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

// A cel set is either a cel group ("!name") or the set of all lines that use
// one cel file (found again by the file name).
std::string CelSetText(const CelSet& set, const DollModel& doll) {
  if (doll.FindGroup(set.name) == &set) return "!" + set.name;
  return Quoted(set.name);
}

std::string TargetText(const FkissTarget& target, const DollModel& doll) {
  if (target.object) return StringPrintf("#%d", target.object->number);
  if (target.cel) return Quoted(target.cel->cel ? target.cel->cel->file_name : "");
  if (target.cel_set) return CelSetText(*target.cel_set, doll);
  return "NULL";
}

std::string EventIdText(const FkissEvent& event) {
  if (!event.id_name.empty()) return event.id_name;
  return StringPrintf("%d", static_cast<int32_t>(event.id_number));
}

// Heads of events that belong to targets, written from the targets rather
// than from the display names, which show cel groups like cel names.
std::unordered_map<const FkissEvent*, std::string> TargetEventHeads(const FkissScript& script,
                                                                    const DollModel& doll) {
  std::unordered_map<const FkissEvent*, std::string> heads;
  auto pair_head = [&](const FkissEvent& event, const FkissTarget& a, const FkissTarget& b) {
    heads[&event] = std::string(FkissCommandTable::Name(event.code)) + "(" + TargetText(a, doll) +
                    ", " + TargetText(b, doll) + ")";
  };
  for (const TargetRecord* record : script.records()) {
    const std::string target = TargetText(record->target, doll);
    for (int kind = 0; kind < kTargetEventKinds; ++kind) {
      if (const FkissEvent* event = record->events[kind].get()) {
        heads[event] = std::string(FkissCommandTable::Name(event->code)) + "(" + target + ")";
      }
    }
    for (const PairLink<CollisionPair>& link : record->collisions) {
      if (!link.owner) continue;
      const CollisionPair& pair = *link.pair;
      for (const FkissEvent* event : {&pair.collide, &pair.apart}) {
        pair_head(*event, pair.first, pair.second);
      }
    }
    for (const PairLink<RegionPair>& link : record->regions) {
      if (!link.owner) continue;
      const RegionPair& pair = *link.pair;
      for (const FkissEvent* event : {&pair.in, &pair.out, &pair.stillin, &pair.stillout}) {
        pair_head(*event, pair.first, pair.second);
      }
    }
  }
  return heads;
}

std::string NameAt(const std::vector<std::string>& names, int32_t index) {
  return index >= 0 && static_cast<size_t>(index) < names.size() ? names[index] : "";
}

std::string ParamText(const FkissParam& param, const FkissScript& script, const DollModel& doll) {
  switch (param.kind) {
    case RK_OBJECT:
      return StringPrintf("#%d", param.object ? param.object->number : param.value);
    case RK_CEL:
      return Quoted(param.cel && param.cel->cel ? param.cel->cel->file_name : param.text);
    case RK_TEXT:
      return Quoted(param.text);
    case RK_NUMBER:
      return StringPrintf("%d", param.value);
    case RK_CELSET:
      return param.cel_set ? CelSetText(*param.cel_set, doll) : "!" + param.text;
    case RK_LABEL:
    case RK_ALARM:
      return param.event ? EventIdText(*param.event) : param.text;
    case RK_VARIABLE:
      return NameAt(script.variable_names(), param.value);
    case RK_FILE:
      if (param.value < 0 || static_cast<size_t>(param.value) >= doll.external_files.size()) {
        return Quoted(param.text);
      }
      return Quoted(doll.external_files[param.value].name);
    case RK_POOL:
      return Quoted(param.value == kPrivatePool ? "" : NameAt(script.pool_names(), param.value));
    case RK_POOLVALUE: {
      // "pool.id", ".id" for the doll's own pool, or "id" for whichever
      // pool is current when the action runs.
      const std::string id = NameAt(script.value_ids(), param.value);
      if (param.value2 == kPoolNotGiven) return Quoted(id);
      if (param.value2 == kPrivatePool) return Quoted("." + id);
      return Quoted(NameAt(script.pool_names(), param.value2) + "." + id);
    }
    default:
      return "***ERROR***";
  }
}

bool OpensIndent(int code) {
  const BlockRole role = FkissCommandTable::Row(code).block;
  return role == kBlockIf || role == kBlockElse || role == kBlockElseIf;
}

// Where the commands the tables do not hold go: inside the opened event
// they stood in, after the event opened last before them, or before every
// event. A command of an event removed since goes with it.
struct UnkeptPlaces {
  std::vector<const UnkeptCommand*> first;
  std::unordered_map<const FkissEvent*, std::vector<const UnkeptCommand*>> inside, following;
};

UnkeptPlaces PlaceUnkept(const FkissScript& script) {
  const std::unordered_set<const FkissEvent*> opened(script.opened_events.begin(),
                                                     script.opened_events.end());
  UnkeptPlaces places;
  for (const UnkeptCommand& command : script.unkept_commands) {
    if (command.event) {
      if (opened.contains(command.event)) places.inside[command.event].push_back(&command);
    } else if (command.after && opened.contains(command.after)) {
      places.following[command.after].push_back(&command);
    } else {
      // Outside events a command follows a head that did not resolve (or
      // stands before all heads), so it reads back the same at the start.
      places.first.push_back(&command);
    }
  }
  return places;
}

// Whether an event has anything to write besides its heads.
bool HasCommands(const FkissEvent& event, const std::vector<const UnkeptCommand*>& inside) {
  return !event.actions.empty() ||
         std::any_of(inside.begin(), inside.end(),
                     [](const UnkeptCommand* command) { return !command->reopening; });
}

void WriteLines(std::string& out, const std::vector<const UnkeptCommand*>& commands) {
  if (commands.empty()) return;
  for (const UnkeptCommand* command : commands) out += ";@" + command->text + "\n";
  out += "\n";
}

}  // namespace

std::string FormatFkissScript(const FkissScript& script, const DollModel& doll) {
  const UnkeptPlaces unkept = PlaceUnkept(script);
  const std::vector<const UnkeptCommand*> none;
  auto inside_of = [&](const FkissEvent* event) -> const std::vector<const UnkeptCommand*>& {
    const auto inside = unkept.inside.find(event);
    return inside != unkept.inside.end() ? inside->second : none;
  };
  bool any = !unkept.first.empty();
  for (const FkissEvent* event : script.opened_events) {
    any = any || HasCommands(*event, inside_of(event)) || unkept.following.contains(event);
  }
  if (!any) return "";

  const std::unordered_map<const FkissEvent*, std::string> heads = TargetEventHeads(script, doll);
  std::string out = ";@EventHandler\n\n";
  WriteLines(out, unkept.first);
  for (const FkissEvent* event : script.opened_events) {
    const std::vector<const UnkeptCommand*>& kept_text = inside_of(event);
    if (HasCommands(*event, kept_text)) {
      const auto head = heads.find(event);
      const std::string head_line =
          ";@" + (head != heads.end() ? head->second : event->display_name) + "\n";
      out += head_line;
      bool indent = false;
      size_t next_text = 0;
      for (size_t i = 0; i <= event->actions.size(); ++i) {
        for (; next_text < kept_text.size() && kept_text[next_text]->position <= i; ++next_text) {
          const UnkeptCommand& text = *kept_text[next_text];
          if (text.reopening) {
            out += head_line;
            indent = false;
            continue;
          }
          out += indent ? ";@    " : ";@  ";
          out += text.text + "\n";
        }
        if (i == event->actions.size()) break;
        const FkissAction& action = event->actions[i];
        const FkissCommandInfo& row = FkissCommandTable::Row(action.code);
        const bool block_line = row.block != kBlockNone;
        out += ";@  ";
        if (indent && !block_line) out += "  ";
        out += row.name;
        out += "(";
        for (int p = 0; p < 3 && row.mask[p] != 0; ++p) {
          if (p > 0) out += ", ";
          out += ParamText(action.params[p], script, doll);
        }
        out += ")\n";
        if (OpensIndent(action.code)) indent = true;
        if (row.block == kBlockEndif) indent = false;
      }
      out += "\n";
    }
    if (const auto following = unkept.following.find(event); following != unkept.following.end()) {
      WriteLines(out, following->second);
    }
  }
  return out;
}

}  // namespace luma
