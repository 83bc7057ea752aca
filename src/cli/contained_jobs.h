#ifndef LUMA_CLI_CONTAINED_JOBS_H_
#define LUMA_CLI_CONTAINED_JOBS_H_

#include <functional>
#include <string>

namespace luma::cli {

// How one job ended.
struct JobOutcome {
  enum class Kind { kFinished, kCrashed, kTimedOut };
  Kind kind = Kind::kFinished;
  std::string output;  // what the job returned (kFinished only)
  std::string cause;   // for a crash: the signal or the exit status
  double seconds = 0;  // wall time from start to end
};

struct JobCallbacks {
  // Runs in a child process of its own: the job's work. Its result is handed
  // back to the parent. A crash or a hang of the child ends only that job.
  std::function<std::string(size_t job)> work;
  // Runs in the parent when job `job` starts and when it has ended.
  std::function<void(size_t job)> started;
  std::function<void(size_t job, const JobOutcome& outcome)> ended;
};

// Runs jobs 0 .. count-1, each in a forked child with its standard output
// and error silenced, at most `parallel` at once. A child still running
// after `time_limit_seconds` is killed and reported as timed out.
void RunContainedJobs(size_t count, int parallel, int time_limit_seconds,
                      const JobCallbacks& callbacks);

// The number of processors available to this process (at least 1).
int ProcessorCount();

}  // namespace luma::cli

#endif  // LUMA_CLI_CONTAINED_JOBS_H_
