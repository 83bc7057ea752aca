#ifndef LUMA_CORE_TESTING_FKISS_DOLL_H_
#define LUMA_CORE_TESTING_FKISS_DOLL_H_

#include <string>
#include <string_view>
#include <vector>

#include "core/fkiss/fkiss_script.h"
#include "core/fkiss/interpreter.h"
#include "core/model/doll_model.h"
#include "core/testing/fake_host.h"

namespace luma::testing {

// A doll read from CNF text, with cel files that need not exist, and its
// script parsed through every FKiSS stage. Cel names that several lines use
// are collected as ambiguous cels, as loading does.
struct ScriptedDoll {
  explicit ScriptedDoll(std::string_view cnf, FkissParseOptions options = {});
  explicit ScriptedDoll(CnfLines lines, FkissParseOptions options = {});

  // Listed errors and warnings whose text starts with `prefix`.
  int ErrorsStartingWith(std::string_view prefix) const;
  int WarningsStartingWith(std::string_view prefix) const;
  bool HasError(std::string_view text) const;
  bool HasWarning(std::string_view text) const;
  // Every listed entry, errors first, one per line, for failure output.
  std::string ReportText() const;

  DollModel doll;
  FkissScript script;
  FakeHost host;
};

// Lines "#obj name.cel" plus a set line, for dolls whose cels don't matter.
std::string CnfWithObjects(int objects);

}  // namespace luma::testing

#endif  // LUMA_CORE_TESTING_FKISS_DOLL_H_
