#ifndef LUMA_CORE_MODEL_ERROR_REPORT_H_
#define LUMA_CORE_MODEL_ERROR_REPORT_H_

#include <string>
#include <string_view>
#include <vector>

#include "core/model/messages.h"

namespace luma {

// The problems found while loading one doll: an error list and a warning
// list. Each counts every entry but lists only the first kListLimit; the
// entry after that is replaced by a note saying so, and later ones are only
// counted. Entries are stored without their line ending, so messages with and
// without a trailing "\n" read alike in the report.
class ErrorReport {
 public:
  static constexpr int kListLimit = 100;

  void AddError(std::string_view text);
  void AddWarning(std::string_view text);

  // The numbered message `id` formatted with `args`.
  template <typename... Args>
  void Error(int id, const Args&... args) {
    AddError(FormatMessage(id, args...));
  }
  template <typename... Args>
  void Warning(int id, const Args&... args) {
    AddWarning(FormatMessage(id, args...));
  }

  int error_count() const { return error_count_; }
  int warning_count() const { return warning_count_; }
  // The listed entries, at most kListLimit plus the note.
  const std::vector<std::string>& errors() const { return errors_; }
  const std::vector<std::string>& warnings() const { return warnings_; }
  // The listed entries as text, each ending in "\n".
  std::string ErrorText() const;
  std::string WarningText() const;
  bool empty() const { return error_count_ == 0 && warning_count_ == 0; }

  void Clear();

 private:
  static void Add(std::string_view text, int note_id, int& count, std::vector<std::string>& list);

  int error_count_ = 0;
  int warning_count_ = 0;
  std::vector<std::string> errors_;
  std::vector<std::string> warnings_;
};

}  // namespace luma

#endif  // LUMA_CORE_MODEL_ERROR_REPORT_H_
