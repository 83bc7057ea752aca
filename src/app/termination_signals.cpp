#include "app/termination_signals.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>

namespace luma::app {
namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

// A signal handler can reach nothing but process-wide state: the write end
// of the pipe is the one value it needs.
volatile sig_atomic_t g_write_fd = -1;

void OnSignal(int number) {
  const int fd = g_write_fd;
  if (fd < 0) return;
  const char byte = static_cast<char>(number);
  // Nothing can be done about a full pipe here: a byte is waiting already.
  [[maybe_unused]] const ssize_t written = ::write(fd, &byte, 1);
}

}  // namespace

TerminationSignals::TerminationSignals(std::function<void()> on_signal)
    : on_signal_(std::move(on_signal)) {
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds_) != 0) return;
  ::fcntl(fds_[0], F_SETFL, O_NONBLOCK);
  ::fcntl(fds_[1], F_SETFL, O_NONBLOCK);
  g_write_fd = fds_[1];
  notifier_ = new QSocketNotifier(fds_[0], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, [this] { Received(); });
  struct sigaction action = {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int number : kSignals) ::sigaction(number, &action, nullptr);
}

TerminationSignals::~TerminationSignals() {
  struct sigaction action = {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  for (int number : kSignals) ::sigaction(number, &action, nullptr);
  g_write_fd = -1;
  delete notifier_;
  for (int& fd : fds_) {
    if (fd >= 0) ::close(fd);
    fd = -1;
  }
}

void TerminationSignals::Received() {
  char bytes[16];
  while (::read(fds_[0], bytes, sizeof bytes) > 0) {
  }
  if (on_signal_) on_signal_();
}

}  // namespace luma::app
