#include "core/files/cnf_save.h"

#include "core/files/cnf_text.h"
#include "core/files/set_line_writer.h"
#include "core/fkiss/fkiss_script.h"
#include "core/host/file_io.h"

namespace luma {
namespace {

HintValues CurrentHints(const CKissCnfDoc& doc) {
  return HintValues{doc.settings().max_stack, doc.settings().strong_fix};
}

// The lines of a CNF just written, each with its bytes, as the writers
// counted them (no line is cut).
CnfSourceLines SplitWrittenLines(const std::string& text) {
  CnfSourceLines out;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    end = end == std::string::npos ? text.size() : end + 1;
    std::string_view line = std::string_view(text).substr(start, end - start);
    out.raw.emplace_back(line);
    if (line.ends_with('\n')) line.remove_suffix(1);
    if (line.ends_with('\r')) line.remove_suffix(1);
    out.lines.emplace_back(line);
    start = end;
  }
  return out;
}

Status WriteCnf(CKissCnfDoc& doc, const std::string& path, const CnfSaveOptions& options,
                const CnfText& cnf, bool reformatted) {
  const std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(cnf.text.data()),
                                       cnf.text.size());
  if (!ReplaceFile(doc.host().Files(), path, bytes).ok()) {
    return Status::Error("Unable to write to file " + doc.ShownPath(path));
  }
  DollModel& doll = doc.model();
  CnfSourceLines written = SplitWrittenLines(cnf.text);
  doll.cnf_lines = std::move(written.lines);
  doll.cnf_raw_lines = std::move(written.raw);
  doll.cnf_lone_cr_ends_lines = false;
  for (size_t i = 0; i < doll.instances().size() && i < cnf.instance_lines.size(); ++i) {
    CelInstance& instance = *doll.instances()[i];
    instance.line = cnf.instance_lines[i];
    if (reformatted) instance.extra_lines = 0;
  }
  if (options.positions) AdoptLivePositions(doll);
  if (FkissScript* script = doc.fkiss()) {
    script->added_text.clear();
    if (reformatted) script->reformat_on_save = false;
  }
  return Status::Ok();
}

}  // namespace

Status WriteReformatted(CKissCnfDoc& doc, const std::string& path, const CnfSaveOptions& options) {
  const CnfText cnf = FormatReformattedCnf(doc.model(), doc.fkiss(), options, CurrentHints(doc));
  return WriteCnf(doc, path, options, cnf, true);
}

Status WritePreserving(CKissCnfDoc& doc, const std::string& path, const CnfSaveOptions& options) {
  const CnfText cnf = FormatPreservedCnf(doc.model(), doc.fkiss(), options, CurrentHints(doc));
  return WriteCnf(doc, path, options, cnf, false);
}

bool CnfReformatRequired(CKissCnfDoc& doc) {
  const FkissScript* script = doc.fkiss();
  return script && script->reformat_on_save;
}

Status SaveToNewCnf(CKissCnfDoc& doc, const std::string& path, const CnfSaveOptions& options) {
  const bool reformat = options.reformat || CnfReformatRequired(doc);
  Status saved =
      reformat ? WriteReformatted(doc, path, options) : WritePreserving(doc, path, options);
  if (!saved.ok()) return saved;
  doc.save_options() = options;
  if (!doc.is_archive()) doc.AdoptSavedCnf(path);
  return Status::Ok();
}

}  // namespace luma
