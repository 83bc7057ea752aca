#ifndef LUMA_APP_HELP_WINDOW_H_
#define LUMA_APP_HELP_WINDOW_H_

#include <QDialog>

class QTextBrowser;

namespace luma::app {

// The program's help and troubleshooting pages in a small browser window.
class HelpWindow : public QDialog {
 public:
  enum class Page { kHelp, kTroubleshooting };
  explicit HelpWindow(QWidget* parent);
  void ShowPage(Page page);
  QString page_title() const;

 private:
  QTextBrowser* browser_;
};

}  // namespace luma::app

#endif  // LUMA_APP_HELP_WINDOW_H_
