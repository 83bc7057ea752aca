#include "app/help_window.h"

#include <QDialogButtonBox>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace luma::app {

HelpWindow::HelpWindow(QWidget* parent) : QDialog(parent) {
  setWindowTitle("Lumadoll Help");
  browser_ = new QTextBrowser;
  browser_->setOpenExternalLinks(true);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(browser_);
  layout->addWidget(buttons);
  resize(560, 520);
}

void HelpWindow::ShowPage(Page page) {
  browser_->setSource(
      QUrl(page == Page::kHelp ? "qrc:/help/help.html" : "qrc:/help/troubleshooting.html"));
  show();
  raise();
}

QString HelpWindow::page_title() const {
  return browser_->toPlainText().section('\n', 0, 0).trimmed();
}

}  // namespace luma::app
