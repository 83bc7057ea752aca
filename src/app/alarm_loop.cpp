#include "app/alarm_loop.h"

namespace luma::app {

AlarmLoop::AlarmLoop() {
  timer_.setSingleShot(true);
  timer_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer_, &QTimer::timeout, [this] { RunNow(); });
}

void AlarmLoop::SetClient(AlarmClient* client) {
  client_ = client;
  if (client_) {
    Arm(0);
  } else {
    timer_.stop();
  }
}

void AlarmLoop::SetApplicationActive(bool active) {
  if (active == application_active_) return;
  application_active_ = active;
  if (client_) Arm(active ? 0 : kBackgroundMs);
}

int AlarmLoop::NextDelay(uint32_t due_in_ms, bool application_active) {
  if (!application_active) return kBackgroundMs;
  if (due_in_ms >= 1 && due_in_ms <= static_cast<uint32_t>(kNearMs))
    return static_cast<int>(due_in_ms);
  return kPollMs;
}

void AlarmLoop::RunNow() {
  // An alarm can open a modal question whose event loop fires the timer
  // again; the outer pass re-arms when it returns.
  if (!client_ || running_) return;
  running_ = true;
  const uint32_t due_in = client_->ProcessAlarms();
  running_ = false;
  // The alarm may have closed the doll or switched windows.
  if (!client_) return;
  Arm(NextDelay(due_in, application_active_));
}

void AlarmLoop::MessageHandled() {
  if (++messages_ < kMessagesPerPass) return;
  messages_ = 0;
  RunNow();
}

void AlarmLoop::Arm(int ms) { timer_.start(ms); }

}  // namespace luma::app
