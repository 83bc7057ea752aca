#include "core/view/lzh_build_command.h"

namespace luma {
namespace {

void WarnSkipped(CKissCnfDoc& doc, const std::vector<SkippedFile>& skipped) {
  for (const SkippedFile& file : skipped) {
    const std::string text = file.problem.empty() ? "Can't read " + doc.ShownPath(file.name)
                                                  : doc.ShownPath(file.problem);
    doc.host().ShowMessage("", text, MessageIcon::kWarning);
  }
}

}  // namespace

bool BuildLzhArchive(CKissCnfDoc& doc, const LzhBuildHooks& hooks) {
  Host& host = doc.host();
  if (hooks.palettes_modified && hooks.palettes_modified()) {
    const Answer answer = host.Ask("KCF Palette Modified",
                                   "One or more KCF palettes have been modified. Do you wish to "
                                   "save these changes before building your LZH?",
                                   Buttons::kYesNoCancel, MessageIcon::kQuestion);
    if (answer == Answer::kCancel) return false;
    // Packing the old palettes after a failed save would pass for success.
    if (answer == Answer::kYes && !(hooks.save_palettes && hooks.save_palettes())) return false;
  }
  const Answer answer =
      host.Ask("Save CNF?", "Do you wish to save your CNF before building your LZH?",
               Buttons::kYesNoCancel, MessageIcon::kQuestion);
  if (answer == Answer::kCancel) return false;
  std::string saved_cnf;
  if (answer == Answer::kYes) {
    const std::optional<std::string> saved = hooks.save_cnf ? hooks.save_cnf() : std::nullopt;
    if (!saved) return false;
    // A disk doll now is the saved file; an archived doll keeps its archive,
    // so the saved file has to be named.
    if (doc.is_archive()) saved_cnf = *saved;
  }
  const std::optional<std::vector<AdditionalFile>> additional =
      hooks.choose_additional_files ? hooks.choose_additional_files(OtherArchiveMembers(doc))
                                    : std::nullopt;
  if (!additional) return false;
  const std::optional<std::string> destination =
      hooks.choose_destination ? hooks.choose_destination() : std::nullopt;
  if (!destination) return false;

  const DollArchiveBuild built = WriteDollArchive(doc, *destination, *additional, saved_cnf);
  WarnSkipped(doc, built.skipped);
  if (!built.written.ok()) {
    host.ShowMessage("Build LZH Archive", built.written.message(), MessageIcon::kError);
    return false;
  }
  if (hooks.archive_created) hooks.archive_created(*destination);
  host.ShowMessage("LZH Creation Complete", doc.ShownPath(*destination) + " has been created.",
                   MessageIcon::kInformation);
  return true;
}

}  // namespace luma
