#ifndef LUMA_CORE_FKISS_FKISS_SCRIPT_H_
#define LUMA_CORE_FKISS_FKISS_SCRIPT_H_

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/fkiss/fkiss_event.h"
#include "core/fkiss/fkiss_target.h"
#include "core/fkiss/key_codes.h"

namespace luma {

class VariableWatch;

// Alarm and label ids, variable names: what a script may write, cut to this length.
inline constexpr size_t kFkissIdLength = 32;

// One command as the lexer found it, before names and targets are resolved.
struct FkissRawCommand {
  std::string name;
  int line = 0;    // 1-based CNF line
  int column = 0;  // where the command starts in the CNF line
  int length = 0;  // characters of the command text
  std::array<FkissParam, 3> params;
  std::string text;     // the command as written
  bool broken = false;  // unreadable text the lexer reported; no name, no parameters
};

// A command the event tables do not hold (unknown name, unresolved target,
// no usable event, unreadable text), kept as written so that a script
// written from the tables still carries it and reads back the same. With
// `reopening` it is a second head of an event already opened instead: it
// ends any if-block, which decides whether an else or endif after it counts.
struct UnkeptCommand {
  // The opened event it stood in and the actions that event had before it;
  // null for a command outside any opened event, which then follows `after`,
  // the event opened last before it (null: before every event).
  const FkissEvent* event = nullptr;
  size_t position = 0;
  const FkissEvent* after = nullptr;
  std::string text;
  bool reopening = false;
};

// collide/apart of two targets; `state` is the overlap seen last.
struct CollisionPair {
  FkissTarget first, second;
  FkissEvent collide, apart;
  uint8_t state = 0;
};

// in/out/stillin/stillout of two targets.
struct RegionPair {
  FkissTarget first, second;
  FkissEvent in, out, stillin, stillout;
  uint8_t state = 0;
};

// A pair as listed with one of its targets; the first target's entry owns it,
// so a full pass evaluates each pair once.
template <typename Pair>
struct PairLink {
  FkissTarget partner;
  bool owner = false;
  Pair* pair = nullptr;
};

// Events a single target carries.
enum TargetEventKind {
  kOnPress,
  kOnRelease,
  kOnCatch,
  kOnDrop,
  kOnFixcatch,
  kOnFixdrop,
  kOnUnfix,
  kOnMousein,
  kOnMouseout,
  kTargetEventKinds,
};

// The event code of a target event kind and back (-1 for other codes).
int TargetEventCode(TargetEventKind kind);
int TargetEventKindOf(int code);

// What the snap-to analysis found for one target.
struct SnapToInfo {
  std::vector<FkissEvent*> events;  // every event attached to the target
  bool has_events = false;
  bool only_snap_to = false;
};

// The script record of one target: its events and pairs. Made on first need.
struct TargetRecord {
  FkissTarget target;
  std::array<std::unique_ptr<FkissEvent>, kTargetEventKinds> events;
  std::unique_ptr<FkissEvent> detached;  // objects only
  std::vector<PairLink<CollisionPair>> collisions;
  std::vector<PairLink<RegionPair>> regions;
  bool mouse_region = false;  // listed in the mouse regions
  uint8_t mouse_over = 0;     // the pointer was over it at the last check
  SnapToInfo snap_to;

  FkissEvent* event(TargetEventKind kind) const { return events[kind].get(); }
};

// Links and limits that scripts give objects.
struct ObjectLinks {
  KissObject* parent = nullptr;
  std::vector<KissObject*> children;  // in order of attaching
  bool glue = false;
  bool x_limited = false, y_limited = false;
  int x_min = 0, x_max = 0, y_min = 0, y_max = 0;
};

// The parsed script of one doll and the state its run-time keeps with the
// doll: event tables, alarms, labels, variables, pools, pairs and
// frame groups. Owned by the document; rebuilt from scratch on reload.
class FkissScript {
 public:
  FkissScript();
  FkissScript(const FkissScript&) = delete;
  FkissScript& operator=(const FkissScript&) = delete;

  // --- Lexer output ----------------------------------------------------------
  std::vector<FkissRawCommand> raw_commands;
  bool script_flag = false;  // the EventHandler line was seen (and the level is not -1)

  // --- Fixed events ----------------------------------------------------------
  FkissEvent overflow_event, begin_event, end_event, initialize_event, never_event;
  std::array<FkissEvent, 10> set_events, col_events;
  std::array<FkissEvent, 6> version_events;
  std::array<FkissEvent, kKeyCount> keypress_events, keyrelease_events;
  // Takes the actions of every head that failed to resolve; never runs.
  FkissEvent discard_event;

  // --- Alarms and labels -----------------------------------------------------
  FkissEvent* FindAlarm(uint32_t id) const;
  FkissEvent* FindAlarm(std::string_view name) const;
  FkissEvent* FindOrCreateAlarm(uint32_t id);
  FkissEvent* FindOrCreateAlarm(std::string_view name);
  FkissEvent* FindLabel(uint32_t id) const;
  FkissEvent* FindLabel(std::string_view name) const;
  FkissEvent* FindOrCreateLabel(uint32_t id);
  FkissEvent* FindOrCreateLabel(std::string_view name);
  // Numeric ones ascending, then named ones by name ignoring case.
  std::vector<FkissEvent*> Alarms() const;
  std::vector<FkissEvent*> Labels() const;
  bool HasNamedAlarms() const { return !alarms_.by_name.empty(); }
  bool HasNamedLabels() const { return !labels_.by_name.empty(); }

  // --- Targets and pairs -----------------------------------------------------
  TargetRecord* FindRecord(const FkissTarget& target) const;
  TargetRecord& Record(const FkissTarget& target);
  // Records in order of first need.
  const std::vector<TargetRecord*>& records() const { return record_order_; }
  // The pair of `first` with `second`, as listed with `first`; made when missing.
  CollisionPair& FindOrCreateCollisionPair(const FkissTarget& first, const FkissTarget& second);
  RegionPair& FindOrCreateRegionPair(const FkissTarget& first, const FkissTarget& second);
  // Targets with mousein or mouseout events, in order of first head.
  std::vector<TargetRecord*> mouse_regions;

  // --- Opened events and statistics ----------------------------------------
  std::vector<FkissEvent*> opened_events;  // in order of first opening
  int event_count = 0;                     // opened events with actions
  int action_count = 0;                    // actions in opened events
  int level = -1;
  // In script order.
  std::vector<UnkeptCommand> unkept_commands;

  // --- Variables -------------------------------------------------------------
  int FindVariable(std::string_view name) const;  // -1 when unknown
  int FindOrCreateVariable(std::string_view name);
  const std::vector<std::string>& variable_names() const { return variable_names_; }
  // One value per name; made after parsing, zeroed at every script start.
  std::vector<int32_t> variable_values;
  int32_t GetVariable(int index) const {
    return index >= 0 && static_cast<size_t>(index) < variable_values.size()
               ? variable_values[index]
               : 0;
  }
  // Writes inside the array only, then refreshes a watch that shows the variable.
  void SetVariable(int index, int32_t value);
  // The watch window's model, told of writes; not owned.
  void set_watch(VariableWatch* watch) { watch_ = watch; }
  VariableWatch* watch() const { return watch_; }

  // --- Value pools -----------------------------------------------------------
  int FindOrCreatePool(std::string_view name);
  int FindOrCreateValueId(std::string_view name);
  const std::vector<std::string>& pool_names() const { return pool_names_; }
  const std::vector<std::string>& value_ids() const { return value_ids_; }

  // --- Objects and frame groups at run time ----------------------------------
  ObjectLinks* FindLinks(const KissObject* object) const;
  ObjectLinks& Links(const KissObject* object);
  // Every object leaves its parent and loses its children; limits stay.
  void DetachAll();
  // The frame a cel group shows, -1 for none.
  int CurrentFrame(const CelSet* group) const;
  void SetCurrentFrame(const CelSet* group, int frame) { frames_[group] = frame; }
  void ClearFrames() { frames_.clear(); }

  // --- Snap-to ---------------------------------------------------------------
  // FKiSS text added to the doll (snap-to effects) that the CNF writer saves.
  std::string added_text;
  // Set when saving must rewrite the CNF from the model.
  bool reformat_on_save = false;

  // Drops every table and runs nothing until parsed again.
  void Clear();

 private:
  struct EventMaps {
    std::map<uint32_t, std::unique_ptr<FkissEvent>> by_number;
    std::map<std::string, std::unique_ptr<FkissEvent>> by_name;  // key: lower case
  };
  static FkissEvent* Find(const EventMaps& maps, uint32_t id);
  static FkissEvent* Find(const EventMaps& maps, std::string_view name);
  static FkissEvent* Create(EventMaps& maps, uint32_t id, int code);
  static FkissEvent* Create(EventMaps& maps, std::string_view name, int code);
  static std::vector<FkissEvent*> All(const EventMaps& maps);
  void InitFixedEvents();

  EventMaps alarms_;
  EventMaps labels_;

  std::unordered_map<const void*, std::unique_ptr<TargetRecord>> records_;
  std::vector<TargetRecord*> record_order_;
  std::vector<std::unique_ptr<CollisionPair>> collision_pairs_;
  std::vector<std::unique_ptr<RegionPair>> region_pairs_;

  std::vector<std::string> variable_names_;
  std::unordered_map<std::string, int> variable_index_;  // key: lower case
  VariableWatch* watch_ = nullptr;
  std::vector<std::string> pool_names_;
  std::vector<std::string> value_ids_;

  std::unordered_map<const KissObject*, std::unique_ptr<ObjectLinks>> links_;
  std::unordered_map<const CelSet*, int> frames_;
};

}  // namespace luma

#endif  // LUMA_CORE_FKISS_FKISS_SCRIPT_H_
