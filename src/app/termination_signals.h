#ifndef LUMA_APP_TERMINATION_SIGNALS_H_
#define LUMA_APP_TERMINATION_SIGNALS_H_

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace luma::app {

// SIGTERM, SIGINT and SIGHUP end the session as closing the main window
// does: the signal handler only writes a byte to a pipe, and `on_signal`
// runs later in the event loop, where closing the dolls (their temporary
// files go) and saving the settings is safe. One object at a time; the
// default actions come back when it goes.
class TerminationSignals : public QObject {
 public:
  explicit TerminationSignals(std::function<void()> on_signal);
  ~TerminationSignals() override;
  TerminationSignals(const TerminationSignals&) = delete;
  TerminationSignals& operator=(const TerminationSignals&) = delete;

 private:
  void Received();

  std::function<void()> on_signal_;
  int fds_[2] = {-1, -1};
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace luma::app

#endif  // LUMA_APP_TERMINATION_SIGNALS_H_
