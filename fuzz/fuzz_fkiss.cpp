// FKiSS lines from outside: the lexer and the interpreter against a small doll
// with objects, a cel used twice, a single cel and a cel group.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/fkiss/fkiss_script.h"
#include "core/fkiss/interpreter.h"
#include "core/fkiss/lexer.h"
#include "core/fkiss/script_check.h"
#include "core/fkiss/snap_to.h"
#include "core/model/cnf_parser.h"
#include "core/testing/fake_host.h"

namespace {

constexpr const char* kCnf[] = {
    "%a.kcf",
    "(640,480)",
    "#0 body.cel",
    "#1 shoe.cel ;!feet :1 :2",
    "#1 shoe.cel *0 :0 1",
    "#2.5 hat.cel ;%t10 !hats",
    "#3 bow.cel",
    "$0 0,0 10,10 20,20 30,30",
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  luma::FakeHost host;
  luma::DollModel doll;
  for (const char* line : kCnf) doll.cnf_lines.emplace_back(line);
  (void)luma::ParseCnf(doll, host, luma::CnfParseOptions());
  if (luma::CelSet* shoes = doll.FindOrCreateAmbiguous("shoe.cel")) {
    for (const auto& instance : doll.instances()) {
      if (instance->cel && instance->cel->file_name == "shoe.cel")
        shoes->AddInstance(instance.get());
    }
  }

  luma::FkissScript script;
  luma::LexLine("EventHandler", 1, 0, script, doll.report);
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  size_t start = 0;
  int line = 2;
  while (start <= input.size()) {
    size_t end = input.find('\n', start);
    if (end == std::string_view::npos) end = input.size();
    luma::LexLine(input.substr(start, end - start), line++, 0, script, doll.report);
    start = end + 1;
  }
  luma::PrePass(script, doll);
  luma::FkissParseOptions options;
  options.no_missing_cel = size % 2 == 0;
  luma::Interpret(script, doll, options, doll.report, nullptr);
  luma::AnalyseSnapTo(script);
  luma::CheckScript(script, doll, doll.report);
  return 0;
}
