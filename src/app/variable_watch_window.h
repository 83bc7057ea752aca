#ifndef LUMA_APP_VARIABLE_WATCH_WINDOW_H_
#define LUMA_APP_VARIABLE_WATCH_WINDOW_H_

#include <QDialog>
#include <memory>

#include "core/fkiss/variable_watch.h"
#include "core/host/text_encoding.h"

class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace luma::app {

// "Variables": the doll's script variables in a list; the user picks some
// and watches their values change as the script writes them.
class VariableWatchWindow : public QDialog {
 public:
  // Names and values are shown in the doll's text `encoding`.
  VariableWatchWindow(QWidget* parent, FkissScript& script, const QString& doll_title,
                      TextEncoding encoding);
  void SetDollTitle(const QString& doll_title, TextEncoding encoding);

  // The doll was loaded again: its variables may differ, so the list is
  // filled anew and nothing is watched.
  void Reload();

  QListWidget* names() const { return names_; }
  QPushButton* toggle_button() const { return toggle_; }
  QPlainTextEdit* display() const { return display_; }
  VariableWatch& watch() { return *watch_; }

 private:
  void SelectionChanged();
  void Toggle();
  void Show(const std::string& text);
  // The script's name of the selected variable; empty when none.
  std::string SelectedName() const;

  FkissScript& script_;
  TextEncoding encoding_;
  std::unique_ptr<VariableWatch> watch_;
  QListWidget* names_ = nullptr;
  QPushButton* toggle_ = nullptr;
  QPlainTextEdit* display_ = nullptr;
};

}  // namespace luma::app

#endif  // LUMA_APP_VARIABLE_WATCH_WINDOW_H_
