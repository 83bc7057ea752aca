#include "core/testing/doll_description.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <unordered_map>

#include "core/fkiss/fkiss_script.h"
#include "core/host/text.h"
#include "core/model/doll_model.h"

namespace luma::testing {
namespace {

class Describer {
 public:
  Describer(const DollModel& doll, const FkissScript* script) : doll_(doll), script_(script) {
    for (size_t i = 0; i < doll.instances().size(); ++i) {
      index_[doll.instances()[i].get()] = static_cast<int>(i);
    }
  }

  std::string Run() {
    Line("playfield %dx%d cnf %dx%d border %d cnf %d", doll_.playfield.width,
         doll_.playfield.height, doll_.cnf_playfield.width, doll_.cnf_playfield.height,
         doll_.border_color, doll_.cnf_border_color);
    for (const std::string& name : doll_.palette_file_names) Line("palette line %s", name.c_str());
    const HintSettings& h = doll_.hints;
    Line("hints stack %d%s maxfix %d%s bounds %d/%d%s", h.stack_depth, h.stack_hint ? "!" : "",
         h.max_fix, h.max_fix_hint ? "!" : "", static_cast<int>(h.bounds),
         static_cast<int>(h.cnf_bounds), h.bounds_hint ? "!" : "");
    for (int s = 0; s < kSetCount; ++s) {
      Line("set %d group %d cnf %d used %d", s, doll_.sets[s].palette_group,
           doll_.sets[s].cnf_palette_group, doll_.sets[s].used ? 1 : 0);
    }
    for (const auto& instance : doll_.instances()) DescribeInstance(*instance);
    for (const auto& object : doll_.objects()) DescribeObject(*object);
    for (const auto& group : doll_.groups()) DescribeCelSet("group", *group);
    for (const auto& set : doll_.ambiguous_cels()) DescribeCelSet("shared", *set);
    Line("cels %zu", doll_.cels().size());
    if (script_) DescribeScript();
    return out_;
  }

 private:
  void Line(const char* format, ...) __attribute__((format(printf, 2, 3))) {
    va_list args;
    va_start(args, format);
    char buffer[4096];
    vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    out_ += buffer;
    out_ += '\n';
  }

  void DescribeInstance(const CelInstance& i) {
    // Blanks and ";" in front of a comment are layout: the CNF parser drops
    // them when the line also has an extension.
    std::string_view comment = i.comment;
    comment.remove_prefix(std::min(comment.size(), comment.find_first_not_of("; \t")));
    std::string groups;
    for (const CelSet* set : i.cel_sets) {
      if (doll_.FindGroup(set->name) == set) groups += " !" + set->name;
    }
    Line("cel %d #%d %s pal %d/%d sets %s t %d/%d mapped %d/%d ghost %d/%d at %d,%d [%s]%s",
         index_.at(&i), i.object_number, i.cel ? i.cel->file_name.c_str() : "-", i.palette,
         i.cnf_palette, i.in_set.to_string().c_str(), i.transparency, i.cnf_transparency, i.mapped,
         i.cnf_mapped, i.ghost, i.cnf_ghost, i.x_offset, i.y_offset, std::string(comment).c_str(),
         groups.c_str());
  }

  void DescribeObject(const KissObject& object) {
    if (object.cels.empty()) return;
    std::string positions;
    for (int s = 0; s < kSetCount; ++s) {
      const bool shown = std::any_of(object.cels.begin(), object.cels.end(),
                                     [s](const CelInstance* c) { return c->in_set.test(s); });
      if (!shown) continue;
      positions += StringPrintf(" %d:%d,%d/%d,%d", s, object.position[s].x, object.position[s].y,
                                object.initial_position[s].x, object.initial_position[s].y);
    }
    Line("object #%d fix %u/%u cels %zu%s", object.number, object.fix, object.cnf_fix,
         object.cels.size(), positions.c_str());
  }

  void DescribeCelSet(const char* kind, const CelSet& set) {
    std::string text = StringPrintf("%s %s:", kind, set.name.c_str());
    for (const CelInstance* i : set.instances) text += StringPrintf(" %d", index_.at(i));
    for (int s = 0; s < kSetCount; ++s) {
      if (set.by_set[s].empty()) continue;
      text += StringPrintf(" set%d=", s);
      for (const CelInstance* i : set.by_set[s]) text += StringPrintf("%d,", index_.at(i));
    }
    Line("%s", text.c_str());
  }

  std::string Target(const FkissParam& p) const {
    if (p.object) return StringPrintf("object #%d", p.object->number);
    if (p.cel) return StringPrintf("cel %d", index_.at(p.cel));
    if (p.cel_set) {
      return (doll_.FindGroup(p.cel_set->name) == p.cel_set ? "group " : "shared ") +
             p.cel_set->name;
    }
    if (p.event) return "event " + p.event->display_name;
    return "-";
  }

  std::string Param(const FkissParam& p) const {
    const auto name_at = [](const std::vector<std::string>& names, int i) {
      return i >= 0 && static_cast<size_t>(i) < names.size() ? names[i] : std::string("-");
    };
    switch (p.kind) {
      case RK_NUMBER:
        return StringPrintf("number %d", p.value);
      case RK_TEXT:
        return "text \"" + p.text + "\"";
      case RK_VARIABLE:
        return "variable " + name_at(script_->variable_names(), p.value);
      case RK_FILE:
        return "file " + (p.value < 0 ? std::string("-") : doll_.external_files[p.value].name);
      case RK_POOL:
        return "pool " + name_at(script_->pool_names(), p.value);
      case RK_POOLVALUE:
        // Pools are numbered in the order the script first names them, which
        // a rewritten script may change; the name is what counts.
        return (p.value2 < 0 ? StringPrintf("value %d:", p.value2) : std::string("value ")) +
               name_at(script_->pool_names(), p.value2) + "." +
               name_at(script_->value_ids(), p.value);
      default:
        return StringPrintf("kind %d ", p.kind) + Target(p);
    }
  }

  void DescribeScript() {
    for (const FkissEvent* event : script_->opened_events) {
      if (event->actions.empty()) continue;
      Line("event %s", event->display_name.c_str());
      for (const FkissAction& action : event->actions) {
        std::string text = StringPrintf("  %s(", FkissCommandTable::Name(action.code));
        for (const FkissParam& p : action.params) {
          if (p.empty()) break;
          text += Param(p) + "; ";
        }
        Line("%s)", text.c_str());
      }
    }
  }

  const DollModel& doll_;
  const FkissScript* script_;
  std::unordered_map<const CelInstance*, int> index_;
  std::string out_;
};

}  // namespace

std::string DescribeDoll(const DollModel& doll, const FkissScript* script) {
  return Describer(doll, script).Run();
}

}  // namespace luma::testing
