#ifndef LUMA_APP_SCRIPT_OUTPUT_WINDOW_H_
#define LUMA_APP_SCRIPT_OUTPUT_WINDOW_H_

#include <QDialog>
#include <functional>
#include <string_view>

#include "core/fkiss/trace_log.h"
#include "core/host/text_encoding.h"

class QBoxLayout;
class QPlainTextEdit;

namespace luma::app {

// A window that a doll's script writes lines into: the debug output and
// the FKiSS trace. It keeps the text within the log's limit, dropping the
// oldest lines, and stays scrolled to the end. "Clear" empties it.
// Modeless.
class ScriptOutputWindow : public QDialog {
 public:
  ScriptOutputWindow(const QString& title, QWidget* parent);

  void AddLine(std::string_view line);
  // The lines are the doll's bytes, shown in `encoding`; a change shows
  // the whole text again.
  void SetTextEncoding(TextEncoding encoding);
  void Clear();
  // The text as the log holds it (lines ending in "\r\n").
  const std::string& text() const { return log_.text(); }
  QPlainTextEdit* edit() const { return edit_; }
  // The row of buttons, for windows that add their own.
  QBoxLayout* button_row() const { return buttons_; }

  // Told when the user closes the window (also with Escape).
  void set_closed_handler(std::function<void()> handler) { closed_ = std::move(handler); }
  void reject() override;

 private:
  void ShowAll();

  TraceLog log_;
  TextEncoding encoding_ = TextEncoding::kWindows1252;
  QPlainTextEdit* edit_;
  QBoxLayout* buttons_;
  std::function<void()> closed_;
};

}  // namespace luma::app

#endif  // LUMA_APP_SCRIPT_OUTPUT_WINDOW_H_
