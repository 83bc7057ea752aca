#include "app/document_viewer.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace luma::app {

DocumentViewer::DocumentViewer(QWidget* parent, const QString& title, const QString& path,
                               TextEncoding chosen)
    : QDialog(parent) {
  setWindowTitle(title);
  setSizeGripEnabled(true);
  auto* layout = new QVBoxLayout(this);
  text_ = new QPlainTextEdit(this);
  text_->setReadOnly(true);
  text_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  // Doll documents are laid out for a fixed-width font, often as ASCII art.
  text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  layout->addWidget(text_, 1);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
  layout->addWidget(buttons);
  resize(640, 480);

  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    text_->setPlainText("Unable to read " + path + "\n" + file.errorString());
    return;
  }
  const QByteArray bytes = file.readAll();
  const std::string_view text(bytes.constData(), static_cast<size_t>(bytes.size()));
  const std::string decoded = DecodeText(text, EffectiveEncoding(chosen, GuessTextEncoding(text)));
  // Line endings of any system show as lines.
  QString shown = QString::fromUtf8(decoded.data(), static_cast<qsizetype>(decoded.size()));
  shown.replace("\r\n", "\n");
  shown.replace('\r', '\n');
  text_->setPlainText(shown);
  loaded_ = true;
}

}  // namespace luma::app
