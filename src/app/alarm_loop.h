#ifndef LUMA_APP_ALARM_LOOP_H_
#define LUMA_APP_ALARM_LOOP_H_

#include <QTimer>
#include <cstdint>

namespace luma::app {

// The doll whose FKiSS alarms run: the view of the active doll window.
class AlarmClient {
 public:
  virtual ~AlarmClient() = default;
  // Runs the alarms that are due (at most the "Quick Timer" budget) and
  // returns the milliseconds until the next one, 0 when none is pending.
  virtual uint32_t ProcessAlarms() = 0;
};

// Drives the active doll's alarms from a precise single-shot timer instead
// of a polling message loop: it is armed for the next due alarm when that is
// within 100 ms, and otherwise polls every 10 ms (alarms can be scheduled by
// any user action in between). While the application is in the background
// it polls every 100 ms. Only the active doll runs; the others wait.
class AlarmLoop {
 public:
  static constexpr int kPollMs = 10;
  static constexpr int kNearMs = 100;
  static constexpr int kBackgroundMs = 100;

  AlarmLoop();

  // The active doll, or nullptr when no doll window is active. A client must
  // be cleared here before it is destroyed.
  void SetClient(AlarmClient* client);
  AlarmClient* client() const { return client_; }
  void SetApplicationActive(bool active);
  bool application_active() const { return application_active_; }

  // Runs the alarm service now and re-arms the timer.
  void RunNow();
  // The doll window handled an input message. Every kMessagesPerPass of
  // them run the alarm service, so alarms keep time under a flood of input
  // (a drag) that could otherwise hold the timer back.
  void MessageHandled();
  static constexpr int kMessagesPerPass = 11;

  // The delay the timer is armed with, or -1 when it is stopped.
  int armed_ms() const { return timer_.isActive() ? timer_.interval() : -1; }

  // The wait before the next pass, from ProcessAlarms' result.
  static int NextDelay(uint32_t due_in_ms, bool application_active);

 private:
  void Arm(int ms);

  QTimer timer_;
  AlarmClient* client_ = nullptr;
  bool application_active_ = true;
  bool running_ = false;
  int messages_ = 0;
};

}  // namespace luma::app

#endif  // LUMA_APP_ALARM_LOOP_H_
