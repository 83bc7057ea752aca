#include "core/doll/value_pool_commands.h"

#include <string>
#include <string_view>

#include "core/host/host.h"
#include "core/host/text.h"

namespace luma {

ValuePoolCommands::ValuePoolCommands(Host& host)
    : host_(host), pools_(host.Files(), host.DataFolder()) {}

int ValuePoolCommands::DeleteSelected(bool private_list, const std::vector<int>& selected) {
  const std::vector<PoolListEntry> chosen = pools_.Selected(private_list, selected);
  if (chosen.empty()) return 0;
  const std::string question =
      chosen.size() == 1
          ? StringPrintf("Delete the value pool \"%s\"?", chosen.front().display_name.c_str())
          : StringPrintf("Delete these %d value pools?", static_cast<int>(chosen.size()));
  const char* caption = private_list ? "Delete Private Value Pool" : "Delete Public Value Pool";
  if (host_.Ask(caption, question, Buttons::kYesNo, MessageIcon::kQuestion) != Answer::kYes) {
    return 0;
  }
  return pools_.Delete(chosen);
}

int ValuePoolCommands::DeleteAll() {
  pools_.Refresh();
  std::vector<PoolListEntry> all = pools_.public_pools();
  all.insert(all.end(), pools_.private_pools().begin(), pools_.private_pools().end());
  constexpr std::string_view kCaption = "Delete All Value Pools";
  if (all.empty()) {
    host_.ShowMessage(kCaption, "No KiSS value pools currently exist.", MessageIcon::kInformation);
    return 0;
  }
  const std::string question = StringPrintf(
      "You are about to delete all KiSS value pools (%d pools exist) for all known KiSS dolls. "
      "This action is not reversible.\nAre you absolutely certain that you want to do this?",
      static_cast<int>(all.size()));
  if (host_.Ask(kCaption, question, Buttons::kYesNo, MessageIcon::kWarning) != Answer::kYes) {
    return 0;
  }
  const int deleted = pools_.Delete(all);
  host_.ShowMessage(
      kCaption,
      StringPrintf("%d KiSS value pools for all known KiSS dolls have been deleted.", deleted),
      MessageIcon::kInformation);
  return deleted;
}

}  // namespace luma
