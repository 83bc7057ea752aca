#include "app/alarm_loop.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <deque>
#include <functional>

namespace luma::app {
namespace {

// Returns scripted "next alarm due in" values and counts the passes.
class FakeClient : public AlarmClient {
 public:
  explicit FakeClient(uint32_t due_in) : due_in_(due_in) {}
  uint32_t ProcessAlarms() override {
    ++calls;
    ++depth;
    max_depth = std::max(max_depth, depth);
    if (on_process) on_process();
    --depth;
    return due_in_;
  }
  uint32_t due_in_;
  int calls = 0;
  int depth = 0;
  int max_depth = 0;
  std::function<void()> on_process;
};

void Spin(int ms) {
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

TEST(AlarmLoopTest, WaitFollowsTheNextDueAlarm) {
  EXPECT_EQ(AlarmLoop::NextDelay(0, true), 10);  // nothing pending: keep polling
  EXPECT_EQ(AlarmLoop::NextDelay(1, true), 1);
  EXPECT_EQ(AlarmLoop::NextDelay(37, true), 37);  // due soon: wake exactly then
  EXPECT_EQ(AlarmLoop::NextDelay(100, true), 100);
  EXPECT_EQ(AlarmLoop::NextDelay(101, true), 10);
  EXPECT_EQ(AlarmLoop::NextDelay(5000, true), 10);
  EXPECT_EQ(AlarmLoop::NextDelay(3, false), 100);  // in the background
}

// Processes events until `done` holds or a generous deadline passes, so the
// outcome does not depend on how busy the machine is.
bool SpinUntil(const std::function<bool()>& done, int deadline_ms = 5000) {
  QElapsedTimer timer;
  timer.start();
  while (!done() && timer.elapsed() < deadline_ms) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  }
  return done();
}

TEST(AlarmLoopTest, EveryEleventhInputMessageRunsAPass) {
  FakeClient doll(5000);
  AlarmLoop loop;
  loop.SetClient(&doll);
  ASSERT_TRUE(SpinUntil([&] { return doll.calls == 1; }));
  // No event loop runs from here on: only the messages count.
  for (int i = 0; i < 10; ++i) loop.MessageHandled();
  EXPECT_EQ(doll.calls, 1);
  loop.MessageHandled();
  EXPECT_EQ(doll.calls, 2);
  for (int i = 0; i < 22; ++i) loop.MessageHandled();
  EXPECT_EQ(doll.calls, 4);
  loop.SetClient(nullptr);
}

TEST(AlarmLoopTest, OnlyTheActiveDollRuns) {
  AlarmLoop loop;
  FakeClient first(30), second(5);
  EXPECT_EQ(loop.armed_ms(), -1);
  loop.SetClient(&first);
  loop.RunNow();
  EXPECT_EQ(first.calls, 1);
  EXPECT_EQ(loop.armed_ms(), 30);

  loop.SetClient(&second);
  ASSERT_TRUE(SpinUntil([&] { return second.calls >= 5; }));
  EXPECT_EQ(first.calls, 1) << "an inactive doll's alarms wait";
  EXPECT_EQ(loop.armed_ms(), 5) << "armed for the next due alarm";

  loop.SetClient(nullptr);
  EXPECT_EQ(loop.armed_ms(), -1);
  const int calls = second.calls;
  Spin(50);
  EXPECT_EQ(second.calls, calls);
}

TEST(AlarmLoopTest, BackgroundPollingIsSlow) {
  AlarmLoop loop;
  FakeClient client(1);
  loop.SetClient(&client);
  loop.SetApplicationActive(false);
  EXPECT_EQ(loop.armed_ms(), AlarmLoop::kBackgroundMs);
  client.calls = 0;
  ASSERT_TRUE(SpinUntil([&] { return client.calls >= 1; }));
  EXPECT_EQ(loop.armed_ms(), AlarmLoop::kBackgroundMs) << "stays slow after a pass";

  loop.SetApplicationActive(true);
  client.calls = 0;
  ASSERT_TRUE(SpinUntil([&] { return client.calls >= 3; }));
  EXPECT_EQ(loop.armed_ms(), 1) << "armed for the alarm due in 1 ms";
  loop.SetClient(nullptr);
}

TEST(AlarmLoopTest, AModalLoopInsideAnAlarmDoesNotReenter) {
  AlarmLoop loop;
  FakeClient client(1);
  client.on_process = [&] {
    if (client.calls == 1) Spin(60);  // as a question box would
  };
  loop.SetClient(&client);
  ASSERT_TRUE(SpinUntil([&] { return client.calls >= 2; }));
  EXPECT_EQ(client.max_depth, 1);

  // A doll that closes itself during its alarm leaves the loop stopped.
  FakeClient closing(1);
  closing.on_process = [&] { loop.SetClient(nullptr); };
  loop.SetClient(&closing);
  ASSERT_TRUE(SpinUntil([&] { return closing.calls >= 1; }));
  Spin(30);
  EXPECT_EQ(closing.calls, 1);
  EXPECT_EQ(loop.armed_ms(), -1);
}

}  // namespace
}  // namespace luma::app
