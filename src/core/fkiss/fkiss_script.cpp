#include "core/fkiss/fkiss_script.h"

#include <algorithm>

#include "core/fkiss/variable_watch.h"
#include "core/host/text.h"

namespace luma {
namespace {

std::string IdKey(std::string_view name) {
  return AsciiLowerCopy(name.substr(0, std::min(name.size(), kFkissIdLength)));
}

template <typename Pair>
Pair* FindPair(const std::vector<PairLink<Pair>>& links, const FkissTarget& partner) {
  for (const PairLink<Pair>& link : links) {
    if (link.partner == partner) return link.pair;
  }
  return nullptr;
}

}  // namespace

int TargetEventCode(TargetEventKind kind) {
  static constexpr int kCodes[kTargetEventKinds] = {kCmdPress, kCmdRelease,  kCmdCatch,
                                                    kCmdDrop,  kCmdFixcatch, kCmdFixdrop,
                                                    kCmdUnfix, kCmdMousein,  kCmdMouseout};
  return kCodes[kind];
}

int TargetEventKindOf(int code) {
  for (int kind = 0; kind < kTargetEventKinds; ++kind) {
    if (TargetEventCode(static_cast<TargetEventKind>(kind)) == code) return kind;
  }
  return -1;
}

FkissScript::FkissScript() { InitFixedEvents(); }

void FkissScript::InitFixedEvents() {
  auto init = [](FkissEvent& event, int code, std::string name) {
    event = FkissEvent();
    event.code = code;
    event.display_name = std::move(name);
  };
  init(overflow_event, kCmdOverflow, FixedEventDisplayName(kCmdOverflow));
  init(begin_event, kCmdBegin, FixedEventDisplayName(kCmdBegin));
  init(end_event, kCmdEnd, FixedEventDisplayName(kCmdEnd));
  init(initialize_event, kCmdInitialize, FixedEventDisplayName(kCmdInitialize));
  init(never_event, kCmdNever, FixedEventDisplayName(kCmdNever));
  for (int i = 0; i < 10; ++i) {
    init(set_events[i], kCmdSet, NumberEventDisplayName(kCmdSet, i));
    init(col_events[i], kCmdCol, NumberEventDisplayName(kCmdCol, i));
  }
  for (int i = 0; i < 6; ++i) {
    init(version_events[i], kCmdVersion, NumberEventDisplayName(kCmdVersion, i));
  }
  for (int i = 0; i < kKeyCount; ++i) {
    keypress_events[i] = FkissEvent();
    keypress_events[i].code = kCmdKeypress;
    keyrelease_events[i] = FkissEvent();
    keyrelease_events[i].code = kCmdKeyrelease;
  }
  discard_event = FkissEvent();
}

void FkissScript::Clear() {
  raw_commands.clear();
  script_flag = false;
  InitFixedEvents();
  alarms_ = EventMaps();
  labels_ = EventMaps();
  mouse_regions.clear();
  records_.clear();
  record_order_.clear();
  collision_pairs_.clear();
  region_pairs_.clear();
  opened_events.clear();
  event_count = 0;
  action_count = 0;
  level = -1;
  unkept_commands.clear();
  variable_names_.clear();
  variable_index_.clear();
  variable_values.clear();
  pool_names_.clear();
  value_ids_.clear();
  links_.clear();
  frames_.clear();
  added_text.clear();
  reformat_on_save = false;
}

// --- Alarms and labels --------------------------------------------------------

FkissEvent* FkissScript::Find(const EventMaps& maps, uint32_t id) {
  auto it = maps.by_number.find(id);
  return it == maps.by_number.end() ? nullptr : it->second.get();
}

FkissEvent* FkissScript::Find(const EventMaps& maps, std::string_view name) {
  auto it = maps.by_name.find(IdKey(name));
  return it == maps.by_name.end() ? nullptr : it->second.get();
}

FkissEvent* FkissScript::Create(EventMaps& maps, uint32_t id, int code) {
  std::unique_ptr<FkissEvent>& slot = maps.by_number[id];
  if (!slot) {
    slot = std::make_unique<FkissEvent>();
    slot->code = code;
    slot->id_number = id;
    slot->display_name = code == kCmdAlarm ? AlarmDisplayName(*slot) : LabelDisplayName(*slot);
  }
  return slot.get();
}

FkissEvent* FkissScript::Create(EventMaps& maps, std::string_view name, int code) {
  std::unique_ptr<FkissEvent>& slot = maps.by_name[IdKey(name)];
  if (!slot) {
    slot = std::make_unique<FkissEvent>();
    slot->code = code;
    slot->id_name = std::string(name.substr(0, std::min(name.size(), kFkissIdLength)));
    slot->display_name = code == kCmdAlarm ? AlarmDisplayName(*slot) : LabelDisplayName(*slot);
  }
  return slot.get();
}

std::vector<FkissEvent*> FkissScript::All(const EventMaps& maps) {
  std::vector<FkissEvent*> all;
  all.reserve(maps.by_number.size() + maps.by_name.size());
  for (const auto& [id, event] : maps.by_number) all.push_back(event.get());
  for (const auto& [name, event] : maps.by_name) all.push_back(event.get());
  return all;
}

FkissEvent* FkissScript::FindAlarm(uint32_t id) const { return Find(alarms_, id); }
FkissEvent* FkissScript::FindAlarm(std::string_view name) const { return Find(alarms_, name); }
FkissEvent* FkissScript::FindOrCreateAlarm(uint32_t id) { return Create(alarms_, id, kCmdAlarm); }
FkissEvent* FkissScript::FindOrCreateAlarm(std::string_view name) {
  return Create(alarms_, name, kCmdAlarm);
}
FkissEvent* FkissScript::FindLabel(uint32_t id) const { return Find(labels_, id); }
FkissEvent* FkissScript::FindLabel(std::string_view name) const { return Find(labels_, name); }
FkissEvent* FkissScript::FindOrCreateLabel(uint32_t id) { return Create(labels_, id, kCmdLabel); }
FkissEvent* FkissScript::FindOrCreateLabel(std::string_view name) {
  return Create(labels_, name, kCmdLabel);
}
std::vector<FkissEvent*> FkissScript::Alarms() const { return All(alarms_); }
std::vector<FkissEvent*> FkissScript::Labels() const { return All(labels_); }

// --- Targets and pairs ----------------------------------------------------------

TargetRecord* FkissScript::FindRecord(const FkissTarget& target) const {
  auto it = records_.find(target.key());
  return it == records_.end() ? nullptr : it->second.get();
}

TargetRecord& FkissScript::Record(const FkissTarget& target) {
  std::unique_ptr<TargetRecord>& slot = records_[target.key()];
  if (!slot) {
    slot = std::make_unique<TargetRecord>();
    slot->target = target;
    record_order_.push_back(slot.get());
  }
  return *slot;
}

CollisionPair& FkissScript::FindOrCreateCollisionPair(const FkissTarget& first,
                                                      const FkissTarget& second) {
  TargetRecord& a = Record(first);
  if (CollisionPair* pair = FindPair(a.collisions, second)) return *pair;
  auto pair = std::make_unique<CollisionPair>();
  pair->first = first;
  pair->second = second;
  pair->collide.code = kCmdCollide;
  pair->apart.code = kCmdApart;
  a.collisions.push_back({second, true, pair.get()});
  if (!(first == second)) Record(second).collisions.push_back({first, false, pair.get()});
  collision_pairs_.push_back(std::move(pair));
  return *collision_pairs_.back();
}

RegionPair& FkissScript::FindOrCreateRegionPair(const FkissTarget& first,
                                                const FkissTarget& second) {
  TargetRecord& a = Record(first);
  if (RegionPair* pair = FindPair(a.regions, second)) return *pair;
  auto pair = std::make_unique<RegionPair>();
  pair->first = first;
  pair->second = second;
  pair->in.code = kCmdIn;
  pair->out.code = kCmdOut;
  pair->stillin.code = kCmdStillin;
  pair->stillout.code = kCmdStillout;
  a.regions.push_back({second, true, pair.get()});
  if (!(first == second)) Record(second).regions.push_back({first, false, pair.get()});
  region_pairs_.push_back(std::move(pair));
  return *region_pairs_.back();
}

// --- Variables and pools ----------------------------------------------------

int FkissScript::FindVariable(std::string_view name) const {
  auto it = variable_index_.find(IdKey(name));
  return it == variable_index_.end() ? -1 : it->second;
}

int FkissScript::FindOrCreateVariable(std::string_view name) {
  auto [it, inserted] = variable_index_.try_emplace(IdKey(name), 0);
  if (inserted) {
    it->second = static_cast<int>(variable_names_.size());
    variable_names_.emplace_back(name.substr(0, std::min(name.size(), kFkissIdLength)));
  }
  return it->second;
}

void FkissScript::SetVariable(int index, int32_t value) {
  if (index < 0 || static_cast<size_t>(index) >= variable_values.size()) return;
  variable_values[static_cast<size_t>(index)] = value;
  if (watch_ && watch_->IsWatched(index)) watch_->RefreshWatch();
}

namespace {

int FindOrAppendName(std::vector<std::string>& names, std::string_view name) {
  for (size_t i = 0; i < names.size(); ++i) {
    if (EqualsIgnoreCase(names[i], name)) return static_cast<int>(i);
  }
  names.emplace_back(name);
  return static_cast<int>(names.size() - 1);
}

}  // namespace

int FkissScript::FindOrCreatePool(std::string_view name) {
  return FindOrAppendName(pool_names_, name);
}

int FkissScript::FindOrCreateValueId(std::string_view name) {
  return FindOrAppendName(value_ids_, name);
}

// --- Run-time tables ------------------------------------------------------------

ObjectLinks* FkissScript::FindLinks(const KissObject* object) const {
  auto it = links_.find(object);
  return it == links_.end() ? nullptr : it->second.get();
}

ObjectLinks& FkissScript::Links(const KissObject* object) {
  std::unique_ptr<ObjectLinks>& slot = links_[object];
  if (!slot) slot = std::make_unique<ObjectLinks>();
  return *slot;
}

void FkissScript::DetachAll() {
  for (auto& [object, links] : links_) {
    links->parent = nullptr;
    links->children.clear();
    links->glue = false;
  }
}

int FkissScript::CurrentFrame(const CelSet* group) const {
  auto it = frames_.find(group);
  return it == frames_.end() ? -1 : it->second;
}

}  // namespace luma
