#include "core/fkiss/interpreter.h"

#include <algorithm>
#include <string>
#include <unordered_map>

#include "core/fkiss/fkiss_script.h"
#include "core/fkiss/key_codes.h"
#include "core/host/host.h"
#include "core/host/text.h"
#include "core/model/doll_model.h"
#include "core/pools/pool_file.h"

namespace luma {
namespace {

// Mask bits under which each token kind is accepted.
uint32_t AdmittingBits(int32_t lex_kind) {
  switch (lex_kind) {
    case TK_NUMBER:
      return PT_NUMBER;
    case TK_OBJECT:
      return PT_OBJECT;
    case TK_STRING:
      return PT_CEL | PT_TEXT | PT_FILE | PT_KEY | PT_POOL | PT_VALUE;
    case TK_GROUP:
      return PT_GROUP;
    case TK_WORD:
      return PT_VARIABLE | PT_ALARM | PT_LABEL;
    default:
      return 0;
  }
}

bool AllPoolNameChars(std::string_view s) { return std::all_of(s.begin(), s.end(), IsPoolIdChar); }

bool NameContains(const std::string& name, const char* part) {
  return name.find(part) != std::string::npos;
}

class Interpreter {
 public:
  Interpreter(FkissScript& script, DollModel& doll, const FkissParseOptions& options,
              ErrorReport& report)
      : script_(script), doll_(doll), options_(options), report_(report) {}

  void Run(Host* host) {
    const int count = static_cast<int>(script_.raw_commands.size());
    const int step = count / 100 + 1;
    if (host) {
      host->ProgressStatus("Interpreting FKiSS...");
      host->ProgressRange(count);
      host->ProgressPosition(0);
    }
    for (int i = 0; i < count; ++i) {
      if (host && i % step == 0) host->ProgressPosition(i);
      Command(script_.raw_commands[i]);
    }
    if (!script_.discard_event.actions.empty()) {
      report_.Warning(kMsgFkissBrokenEvents,
                      static_cast<int>(script_.discard_event.actions.size()));
    }
    script_.variable_values.assign(script_.variable_names().size(), 0);
  }

 private:
  void Command(FkissRawCommand& raw) {
    if (!raw.broken && Take(raw)) {
      if (current_ != &script_.discard_event) last_opened_ = current_;
      return;
    }
    UnkeptCommand unkept;
    if (current_ && current_ != &script_.discard_event) {
      unkept.event = current_;
      unkept.position = current_->actions.size();
    }
    unkept.after = last_opened_;
    unkept.text = raw.text;
    script_.unkept_commands.push_back(std::move(unkept));
  }

  // Whether the command found its place in the tables.
  bool Take(FkissRawCommand& raw) {
    const int line = raw.line;
    if (raw.name.empty()) {
      report_.Warning(kMsgFkissNoName, line);
      return false;
    }
    int code = FkissCommandTable::FindExact(raw.name);
    if (code < 0) {
      code = FkissCommandTable::FindClosest(raw.name);
      if (code < 0) {
        report_.Warning(kMsgFkissNoMatch, raw.name, line);
        return false;
      }
      report_.Warning(kMsgFkissClosestMatch, raw.name, line, FkissCommandTable::Name(code));
    }
    if (!CheckParameters(raw, code)) return false;
    return FkissCommandTable::IsEvent(code) ? EventHead(raw, code) : Action(raw, code);
  }

  bool CheckParameters(const FkissRawCommand& raw, int code) {
    const FkissCommandInfo& row = FkissCommandTable::Row(code);
    for (int i = 0; i < 3; ++i) {
      const FkissParam& param = raw.params[i];
      if (row.mask[i] == 0) {
        if (!param.empty()) {
          report_.Error(kMsgFkissTooManyParams, row.name, raw.line);
          return false;
        }
        continue;
      }
      if (param.empty()) {
        report_.Error(kMsgFkissTooFewParams, row.name, raw.line);
        return false;
      }
      if ((AdmittingBits(param.lex_kind) & row.mask[i]) == 0) {
        report_.Error(kMsgFkissInvalidParamType, i + 1, row.name, raw.line);
        return false;
      }
    }
    return true;
  }

  // --- Actions ---------------------------------------------------------------

  bool Action(const FkissRawCommand& raw, int code) {
    const FkissCommandInfo& row = FkissCommandTable::Row(code);
    if (!current_) {
      report_.Error(kMsgFkissActionBeforeEvent, row.name, raw.line);
      return false;
    }
    FkissAction action;
    action.code = code;
    for (int i = 0; i < 3; ++i) {
      if (raw.params[i].empty()) break;
      action.params[i] = raw.params[i];
      if (!ResolveParameter(action.params[i], row.mask[i], code, raw.line)) return false;
    }
    switch (row.block) {
      case kBlockIf:
        if (block_open_) report_.Warning(kMsgFkissIllegalNesting, row.name, raw.line);
        block_open_ = true;
        block_name_ = row.name;
        block_line_ = raw.line;
        break;
      case kBlockElse:
      case kBlockElseIf:
        if (!block_open_) {
          report_.Error(kMsgFkissNoPrecedingIf, row.name, raw.line);
          return false;
        }
        break;
      case kBlockEndif:
        if (!block_open_) {
          report_.Error(kMsgFkissNoPrecedingIf, row.name, raw.line);
          return false;
        }
        block_open_ = false;
        break;
      default:
        break;
    }
    current_->actions.push_back(std::move(action));
    return current_ != &script_.discard_event;
  }

  bool ResolveParameter(FkissParam& param, uint32_t mask, int code, int line) {
    switch (param.lex_kind) {
      case TK_NUMBER:
        param.kind = RK_NUMBER;
        return true;
      case TK_OBJECT:
        param.object = doll_.FindObject(param.value, false);
        if (!param.object) {
          report_.Warning(kMsgFkissObjectNotFound, param.value, line);
          return false;
        }
        param.kind = RK_OBJECT;
        return true;
      case TK_GROUP:
        param.cel_set = doll_.FindGroup(param.text);
        if (!param.cel_set) {
          report_.Warning(kMsgFkissGroupNotFound, param.text, line);
          return false;
        }
        param.kind = RK_CELSET;
        return true;
      case TK_STRING:
        return ResolveString(param, mask, code, line);
      case TK_WORD:
        ResolveWord(param, mask);
        return true;
      default:
        return false;
    }
  }

  bool ResolveString(FkissParam& param, uint32_t mask, int code, int line) {
    if (mask & PT_CEL) {
      const FkissTarget target = FindCel(param.text, line);
      if (target.empty()) return false;
      param.kind = target.cel_set ? RK_CELSET : RK_CEL;
      param.cel_set = target.cel_set;
      param.cel = target.cel;
      return true;
    }
    switch (code) {
      case kCmdSound:
      case kCmdMusic:
        param.kind = RK_FILE;
        param.value = param.text.empty() ? -1 : doll_.FindExternalFile(param.text, true);
        return true;
      case kCmdValuepool:
        param.kind = RK_POOL;
        if (param.text.empty()) {
          param.value = kPrivatePool;
          return true;
        }
        if (!CheckPoolName(param.text, line)) return false;
        param.value = script_.FindOrCreatePool(param.text);
        return true;
      case kCmdLoadvalue:
      case kCmdSavevalue:
      case kCmdDeletevalue:
        return ResolvePoolValue(param, line);
      default:
        param.kind = RK_TEXT;
        return true;
    }
  }

  // "pool.id", ".id" (the doll's private pool) or "id" (the current pool).
  bool ResolvePoolValue(FkissParam& param, int line) {
    const std::string_view text = param.text;
    const size_t dot = text.find('.');
    std::string_view id = text;
    std::string_view pool_name;
    int32_t pool = kPoolNotGiven;
    if (dot == 0) {
      pool = kPrivatePool;
      id = text.substr(1);
    } else if (dot != std::string_view::npos) {
      pool_name = text.substr(0, dot);
      id = text.substr(dot + 1);
      if (!CheckPoolName(pool_name, line)) return false;
    }
    if (!CheckValueId(id, line)) return false;
    if (!pool_name.empty()) pool = script_.FindOrCreatePool(pool_name);
    param.kind = RK_POOLVALUE;
    param.value = script_.FindOrCreateValueId(id);
    param.value2 = pool;
    return true;
  }

  bool CheckPoolName(std::string_view name, int line) {
    if (name.size() > kPoolIdLength) {
      report_.Warning(kMsgFkissPoolNameTooLong, name, static_cast<int>(kPoolIdLength), line);
      return false;
    }
    if (!AllPoolNameChars(name)) {
      report_.Warning(kMsgFkissPoolNameInvalid, name, line);
      return false;
    }
    return true;
  }

  bool CheckValueId(std::string_view id, int line) {
    if (id.empty()) {
      report_.Warning(kMsgFkissValueIdEmpty, line);
      return false;
    }
    if (id.size() > kPoolIdLength) {
      report_.Warning(kMsgFkissValueIdTooLong, id, static_cast<int>(kPoolIdLength), line);
      return false;
    }
    if (!AllPoolNameChars(id)) {
      report_.Warning(kMsgFkissValueIdInvalid, id, line);
      return false;
    }
    return true;
  }

  void ResolveWord(FkissParam& param, uint32_t mask) {
    if (mask & PT_LABEL) {
      if (FkissEvent* label = script_.FindLabel(param.text)) {
        param.kind = RK_LABEL;
        param.event = label;
        return;
      }
    } else if (mask & PT_ALARM) {
      if (FkissEvent* alarm = script_.FindAlarm(param.text)) {
        param.kind = RK_ALARM;
        param.event = alarm;
        return;
      }
    }
    param.kind = RK_VARIABLE;
    param.value = script_.FindOrCreateVariable(param.text);
  }

  // --- Targets ---------------------------------------------------------------

  // A cel name: the cel set of that file name when several lines use it,
  // otherwise its one cel line.
  FkissTarget FindCel(const std::string& name, int line) {
    if (CelSet* set = doll_.FindAmbiguous(name)) return FkissTarget::Of(set);
    if (first_cels_.empty()) IndexCels();
    auto it = first_cels_.find(FoldNameCase(name, doll_.text_encoding));
    if (it != first_cels_.end()) return FkissTarget::Of(it->second);
    if (!options_.no_missing_cel) report_.Warning(kMsgFkissCelNotFound, name, line);
    return {};
  }

  void IndexCels() {
    for (const auto& instance : doll_.instances()) {
      if (instance->cel)
        first_cels_.try_emplace(FoldNameCase(instance->cel->file_name, doll_.text_encoding),
                                instance.get());
    }
  }

  FkissTarget HeadTarget(const FkissParam& param, int line) {
    switch (param.lex_kind) {
      case TK_GROUP:
        if (CelSet* group = doll_.FindGroup(param.text)) return FkissTarget::Of(group);
        report_.Warning(kMsgFkissGroupNotFound, param.text, line);
        return {};
      case TK_OBJECT:
        if (KissObject* object = doll_.FindObject(param.value, false)) {
          return FkissTarget::Of(object);
        }
        report_.Warning(kMsgFkissObjectNotFound, param.value, line);
        return {};
      case TK_STRING:
        return FindCel(param.text, line);
      default:
        return {};
    }
  }

  // --- Event heads -----------------------------------------------------------

  bool EventHead(const FkissRawCommand& raw, int code) {
    if (block_open_) {
      report_.Warning(kMsgFkissNoMatchingEndif, block_name_, block_line_);
      block_open_ = false;
    }
    current_ = &script_.discard_event;
    FkissEvent* event = ResolveHead(raw, code);
    if (!event) return false;
    current_ = event;
    if (event->opened) {
      report_.Warning(kMsgFkissDuplicateEvent, event->display_name);
      UnkeptCommand reopening;
      reopening.event = event;
      reopening.position = event->actions.size();
      reopening.reopening = true;
      script_.unkept_commands.push_back(std::move(reopening));
    } else {
      event->opened = true;
      script_.opened_events.push_back(event);
    }
    return true;
  }

  FkissEvent* ResolveHead(const FkissRawCommand& raw, int code) {
    const FkissParam& p1 = raw.params[0];
    const int line = raw.line;
    switch (code) {
      case kCmdAlarm:
        return p1.lex_kind == TK_WORD ? script_.FindOrCreateAlarm(p1.text)
                                      : script_.FindOrCreateAlarm(static_cast<uint32_t>(p1.value));
      case kCmdLabel:
        return p1.lex_kind == TK_WORD ? script_.FindOrCreateLabel(p1.text)
                                      : script_.FindOrCreateLabel(static_cast<uint32_t>(p1.value));
      case kCmdBegin:
        return &script_.begin_event;
      case kCmdEnd:
        return &script_.end_event;
      case kCmdInitialize:
        return &script_.initialize_event;
      case kCmdNever:
        return &script_.never_event;
      case kCmdOverflow:
        return &script_.overflow_event;
      case kCmdSet:
      case kCmdCol:
        if (p1.value < 0 || p1.value > 9) {
          report_.Error(kMsgFkissOutOfRange, code == kCmdSet ? "Set" : "Col", p1.value, line);
          return nullptr;
        }
        return code == kCmdSet ? &script_.set_events[p1.value] : &script_.col_events[p1.value];
      case kCmdVersion:
        if (p1.value < 0 || p1.value > 5) return nullptr;
        return &script_.version_events[p1.value];
      case kCmdKeypress:
      case kCmdKeyrelease:
        return KeyHead(p1.text, code, line);
      case kCmdDetached: {
        KissObject* object = doll_.FindObject(p1.value, false);
        if (!object) {
          report_.Warning(kMsgFkissObjectNotFound, p1.value, line);
          return nullptr;
        }
        TargetRecord& record = script_.Record(FkissTarget::Of(object));
        if (!record.detached) {
          record.detached = std::make_unique<FkissEvent>();
          record.detached->code = kCmdDetached;
          record.detached->display_name = DetachedDisplayName(object->number);
        }
        return record.detached.get();
      }
      case kCmdApart:
      case kCmdCollide:
      case kCmdIn:
      case kCmdOut:
      case kCmdStillin:
      case kCmdStillout:
        return PairHead(raw, code);
      default:
        return TargetHead(raw, code);
    }
  }

  FkissEvent* KeyHead(const std::string& key, int code, int line) {
    const int key_code = KeyCodeFromName(key);
    if (key_code < 0) {
      report_.Error(kMsgFkissInvalidKey, code == kCmdKeypress ? "Keypress" : "Keyrelease", key,
                    line);
      return nullptr;
    }
    FkissEvent& event = code == kCmdKeypress ? script_.keypress_events[key_code]
                                             : script_.keyrelease_events[key_code];
    event.display_name = KeyEventDisplayName(code, key);
    return &event;
  }

  FkissEvent* TargetHead(const FkissRawCommand& raw, int code) {
    const int kind = TargetEventKindOf(code);
    if (kind < 0) return nullptr;
    const FkissTarget target = HeadTarget(raw.params[0], raw.line);
    if (target.empty()) return nullptr;
    TargetRecord& record = script_.Record(target);
    std::unique_ptr<FkissEvent>& event = record.events[kind];
    if (!event) {
      event = std::make_unique<FkissEvent>();
      event->code = code;
      event->display_name = TargetEventDisplayName(code, TargetDisplayText(target));
    }
    if ((code == kCmdMousein || code == kCmdMouseout) && !record.mouse_region) {
      record.mouse_region = true;
      script_.mouse_regions.push_back(&record);
    }
    return event.get();
  }

  FkissEvent* PairHead(const FkissRawCommand& raw, int code) {
    // Both targets are looked up, so that each missing one is reported.
    const FkissTarget first = HeadTarget(raw.params[0], raw.line);
    const FkissTarget second = HeadTarget(raw.params[1], raw.line);
    if (first.empty() || second.empty()) return nullptr;
    FkissEvent* event = nullptr;
    if (code == kCmdCollide || code == kCmdApart) {
      CollisionPair& pair = script_.FindOrCreateCollisionPair(first, second);
      event = code == kCmdCollide ? &pair.collide : &pair.apart;
    } else {
      RegionPair& pair = script_.FindOrCreateRegionPair(first, second);
      event = code == kCmdIn        ? &pair.in
              : code == kCmdOut     ? &pair.out
              : code == kCmdStillin ? &pair.stillin
                                    : &pair.stillout;
    }
    event->display_name =
        PairEventDisplayName(code, TargetDisplayText(first), TargetDisplayText(second));
    return event;
  }

  FkissScript& script_;
  DollModel& doll_;
  const FkissParseOptions& options_;
  ErrorReport& report_;
  FkissEvent* current_ = nullptr;
  const FkissEvent* last_opened_ = nullptr;  // the event of the last head that resolved
  bool block_open_ = false;
  std::string block_name_;
  int block_line_ = 0;
  std::unordered_map<std::string, CelInstance*> first_cels_;
};

}  // namespace

void PrePass(FkissScript& script, DollModel& doll) {
  for (const FkissRawCommand& raw : script.raw_commands) {
    const FkissParam& p1 = raw.params[0];
    // Any token that is not a word registers the id by its number.
    if (NameContains(raw.name, "alarm")) {
      if (p1.lex_kind == TK_WORD) {
        script.FindOrCreateAlarm(p1.text);
      } else {
        script.FindOrCreateAlarm(static_cast<uint32_t>(p1.value));
      }
    } else if (NameContains(raw.name, "label")) {
      if (p1.lex_kind == TK_WORD) {
        script.FindOrCreateLabel(p1.text);
      } else {
        script.FindOrCreateLabel(static_cast<uint32_t>(p1.value));
      }
    } else if (NameContains(raw.name, "sound") || NameContains(raw.name, "music")) {
      if (p1.lex_kind == TK_STRING && !p1.text.empty()) doll.FindExternalFile(p1.text, true);
    }
  }
}

void Interpret(FkissScript& script, DollModel& doll, const FkissParseOptions& options,
               ErrorReport& report, Host* host) {
  Interpreter(script, doll, options, report).Run(host);
}

}  // namespace luma
