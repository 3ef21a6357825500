// What every benchmark program needs: the process set up as the launcher sets itself up, a
// monotonic clock, medians of repeated runs, the process's memory figures and one format for
// the result rows that bench/run.sh gathers into its table. Benchmarks measure and print only.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace kb {

// Common controls, OLE, regional formats and the application title, as the program's start.
void SetUpProcess();
void TearDownProcess();

double NowMs();
// Runs the action once and returns its duration in milliseconds.
double TimeMs(const std::function<void()>& action);
double Median(std::vector<double> values);

struct Memory {
  double privateMb = 0;         // PrivateUsage as psapi reports it (0 under Wine 8)
  double committedMb = 0;       // private committed pages, summed over VirtualQuery's regions
  double workingSetMb = 0;      // WorkingSetSize
  double peakWorkingSetMb = 0;  // PeakWorkingSetSize (process lifetime)
};
Memory MemoryNow();

// Samples the memory figures on its own thread every few milliseconds and keeps the highest
// seen between Start and Stop, so that a phase's peak is known even after it has been freed.
class MemorySampler {
 public:
  MemorySampler();
  ~MemorySampler();
  void Start();
  Memory Stop();  // the highest figures since Start

 private:
  void Run();
  std::atomic<bool> quit_{false}, active_{false};
  std::atomic<int64_t> maxPrivate_{0}, maxCommitted_{0}, maxWorkingSet_{0};
  std::thread thread_;
};

// One row of the summary table: "ROW<TAB>name<TAB>launcher<TAB>baseline<TAB>ratio<TAB>goal".
// bench/run.sh collects these lines from every benchmark's output.
void PrintRow(const std::string& name, const std::string& launcher, const std::string& baseline,
              const std::string& ratio, const std::string& goal);
std::string Fixed(double value, int decimals);

// An ordinary text line of detail, flushed at once so that the output interleaves correctly.
void Say(const char* format, ...);

}  // namespace kb
