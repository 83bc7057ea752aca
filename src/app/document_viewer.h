#ifndef LUMA_APP_DOCUMENT_VIEWER_H_
#define LUMA_APP_DOCUMENT_VIEWER_H_

#include <QDialog>
#include <QString>

#include "core/host/text_encoding.h"

class QPlainTextEdit;

namespace luma::app {

// A doll's documentation (or its CNF) in a read-only text window of the
// program, for when the desktop has no program for the file's type. The
// bytes are decoded in the Text Encoding the user chose; with the automatic
// choice the document decides for itself (UTF-8, Shift-JIS or Windows-1252),
// as a doll's readme is often in another encoding than its CNF.
class DocumentViewer : public QDialog {
 public:
  // `title` names the document; `path` is the file to show.
  DocumentViewer(QWidget* parent, const QString& title, const QString& path, TextEncoding chosen);

  QPlainTextEdit* text() const { return text_; }
  // False when the file could not be read (the window then says so).
  bool loaded() const { return loaded_; }

 private:
  QPlainTextEdit* text_;
  bool loaded_ = false;
};

}  // namespace luma::app

#endif  // LUMA_APP_DOCUMENT_VIEWER_H_
