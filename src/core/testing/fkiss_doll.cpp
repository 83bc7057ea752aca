#include "core/testing/fkiss_doll.h"

#include <algorithm>
#include <map>

#include "core/fkiss/parse_fkiss.h"
#include "core/host/text.h"
#include "core/model/cnf_parser.h"

namespace luma::testing {
namespace {

CnfLines SplitLines(std::string_view text) {
  CnfLines lines;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    lines.emplace_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

void CollectAmbiguousCels(DollModel& doll) {
  std::map<std::string, std::vector<CelInstance*>> by_name;
  for (const auto& instance : doll.instances()) {
    if (instance->cel) by_name[AsciiLowerCopy(instance->cel->file_name)].push_back(instance.get());
  }
  for (auto& [name, instances] : by_name) {
    if (instances.size() < 2) continue;
    CelSet* set = doll.FindOrCreateAmbiguous(instances.front()->cel->file_name);
    for (CelInstance* instance : instances) set->AddInstance(instance);
  }
}

int CountPrefix(const std::vector<std::string>& list, std::string_view prefix) {
  return static_cast<int>(std::count_if(list.begin(), list.end(), [&](const std::string& s) {
    return std::string_view(s).substr(0, prefix.size()) == prefix;
  }));
}

bool Contains(const std::vector<std::string>& list, std::string_view text) {
  std::string_view wanted = text;
  if (!wanted.empty() && wanted.back() == '\n') wanted.remove_suffix(1);
  return std::find(list.begin(), list.end(), wanted) != list.end();
}

}  // namespace

ScriptedDoll::ScriptedDoll(std::string_view cnf, FkissParseOptions options)
    : ScriptedDoll(SplitLines(cnf), options) {}

ScriptedDoll::ScriptedDoll(CnfLines lines, FkissParseOptions options) {
  doll.cnf_lines = std::move(lines);
  ParseCnf(doll, host, CnfParseOptions());
  CollectAmbiguousCels(doll);
  (void)ParseFkiss(doll, script, options, &host);
}

int ScriptedDoll::ErrorsStartingWith(std::string_view prefix) const {
  return CountPrefix(doll.report.errors(), prefix);
}

int ScriptedDoll::WarningsStartingWith(std::string_view prefix) const {
  return CountPrefix(doll.report.warnings(), prefix);
}

bool ScriptedDoll::HasError(std::string_view text) const {
  return Contains(doll.report.errors(), text);
}

bool ScriptedDoll::HasWarning(std::string_view text) const {
  return Contains(doll.report.warnings(), text);
}

std::string ScriptedDoll::ReportText() const {
  std::string text;
  for (const std::string& e : doll.report.errors()) text += "error: " + e + "\n";
  for (const std::string& w : doll.report.warnings()) text += "warning: " + w + "\n";
  return text;
}

std::string CnfWithObjects(int objects) {
  std::string cnf = "(640,480)\n";
  for (int i = 0; i < objects; ++i) cnf += StringPrintf("#%d c%d.cel\n", i, i);
  cnf += "$0";
  for (int i = 0; i < objects; ++i) cnf += StringPrintf(" %d,%d", 10 * i, 10 * i);
  cnf += "\n";
  return cnf;
}

}  // namespace luma::testing
