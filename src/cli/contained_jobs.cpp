#include "cli/contained_jobs.h"

#include <fcntl.h>
#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>
#include <vector>

#include "core/host/text.h"

namespace luma::cli {
namespace {

using Clock = std::chrono::steady_clock;

struct Running {
  size_t job = 0;
  pid_t pid = -1;
  int pipe = -1;  // read end of the child's result
  std::string output;
  Clock::time_point start;
};

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

[[noreturn]] void RunChild(const JobCallbacks& callbacks, size_t job, int result_fd) {
  // The parent's output stays readable: whatever the engine or a library
  // writes goes nowhere; the result travels through the pipe.
  const int null = open("/dev/null", O_RDWR);
  if (null >= 0) {
    dup2(null, STDOUT_FILENO);
    dup2(null, STDERR_FILENO);
    close(null);
  }
  const std::string output = callbacks.work(job);
  _exit(WriteAll(result_fd, output) ? 0 : 3);
}

std::string CauseOf(int status) {
  if (WIFSIGNALED(status)) {
    const int sig = WTERMSIG(status);
    const char* name = strsignal(sig);
    return StringPrintf("signal %d, %s", sig, name ? name : "unknown");
  }
  return StringPrintf("exit status %d", WEXITSTATUS(status));
}

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

int ProcessorCount() {
  cpu_set_t set;
  if (sched_getaffinity(0, sizeof set, &set) == 0) return std::max(1, CPU_COUNT(&set));
  return std::max(1u, std::thread::hardware_concurrency());
}

void RunContainedJobs(size_t count, int parallel, int time_limit_seconds,
                      const JobCallbacks& callbacks) {
  std::fflush(stdout);
  std::fflush(stderr);
  const auto limit = std::chrono::seconds(time_limit_seconds);
  std::vector<Running> running;
  size_t next = 0;
  while (next < count || !running.empty()) {
    while (next < count && running.size() < static_cast<size_t>(std::max(1, parallel))) {
      int fds[2];
      if (pipe2(fds, O_CLOEXEC) != 0) break;
      if (callbacks.started) callbacks.started(next);
      std::fflush(stdout);
      std::fflush(stderr);
      const pid_t pid = fork();
      if (pid == 0) {
        close(fds[0]);
        RunChild(callbacks, next, fds[1]);
      }
      close(fds[1]);
      if (pid < 0) {
        close(fds[0]);
        JobOutcome failed;
        failed.kind = JobOutcome::Kind::kCrashed;
        failed.cause = std::string("could not start: ") + std::strerror(errno);
        callbacks.ended(next++, failed);
        continue;
      }
      running.push_back({next++, pid, fds[0], "", Clock::now()});
    }
    if (running.empty()) break;

    // Wait for output or an end, but no longer than the nearest deadline.
    std::vector<pollfd> polls;
    auto wait_ms = std::chrono::milliseconds(1000);
    for (const Running& r : running) {
      polls.push_back({r.pipe, POLLIN, 0});
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(r.start + limit - Clock::now());
      wait_ms = std::max(std::chrono::milliseconds(0), std::min(wait_ms, left));
    }
    const int ready = poll(polls.data(), polls.size(), static_cast<int>(wait_ms.count()));
    if (ready < 0 && errno != EINTR) break;

    for (size_t i = running.size(); i-- > 0;) {
      Running& r = running[i];
      bool ended = false;
      JobOutcome outcome;
      if (polls[i].revents & (POLLIN | POLLHUP | POLLERR)) {
        char buffer[65536];
        const ssize_t n = read(r.pipe, buffer, sizeof buffer);
        if (n > 0) {
          r.output.append(buffer, static_cast<size_t>(n));
        } else if (n == 0 || errno != EINTR) {
          int status = 0;
          waitpid(r.pid, &status, 0);
          ended = true;
          if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
            outcome.kind = JobOutcome::Kind::kFinished;
            outcome.output = std::move(r.output);
          } else {
            outcome.kind = JobOutcome::Kind::kCrashed;
            outcome.cause = CauseOf(status);
          }
        }
      }
      if (!ended && Clock::now() - r.start >= limit) {
        kill(r.pid, SIGKILL);
        int status = 0;
        waitpid(r.pid, &status, 0);
        ended = true;
        outcome.kind = JobOutcome::Kind::kTimedOut;
      }
      if (ended) {
        close(r.pipe);
        outcome.seconds = SecondsSince(r.start);
        const size_t job = r.job;
        running.erase(running.begin() + static_cast<long>(i));
        callbacks.ended(job, outcome);
      }
    }
  }
}

}  // namespace luma::cli
