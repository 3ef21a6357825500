// The shared parts of the benchmark programs; see bench_support.h.
#include "bench_support.h"

#include <objbase.h>
#include <psapi.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>

#include "win_test_support.h"

namespace kb {

void SetUpProcess() { kt::SetUpProcessLikeTheLauncher(); }

void TearDownProcess() {
  OleUninitialize();
}

double NowMs() {
  static const double perMs = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER c;
  QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) / perMs;
}

double TimeMs(const std::function<void()>& action) {
  double start = NowMs();
  action();
  return NowMs() - start;
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

namespace {
PROCESS_MEMORY_COUNTERS_EX Counters() {
  PROCESS_MEMORY_COUNTERS_EX c{};
  c.cb = sizeof(c);
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&c), sizeof(c));
  return c;
}
// Wine 8 reports PrivateUsage as 0; the committed private regions are the figure that grows
// when a program holds data in memory.
int64_t CommittedPrivate() {
  int64_t total = 0;
  MEMORY_BASIC_INFORMATION m;
  const char* p = nullptr;
  while (VirtualQuery(p, &m, sizeof(m)) == sizeof(m)) {
    if (m.State == MEM_COMMIT && m.Type == MEM_PRIVATE) total += static_cast<int64_t>(m.RegionSize);
    const char* next = static_cast<const char*>(m.BaseAddress) + m.RegionSize;
    if (next <= p) break;  // wrapped at the top of the address space
    p = next;
  }
  return total;
}
constexpr double kMb = 1024.0 * 1024.0;
}  // namespace

Memory MemoryNow() {
  PROCESS_MEMORY_COUNTERS_EX c = Counters();
  return {c.PrivateUsage / kMb, CommittedPrivate() / kMb, c.WorkingSetSize / kMb, c.PeakWorkingSetSize / kMb};
}

MemorySampler::MemorySampler() : thread_([this] { Run(); }) {}

MemorySampler::~MemorySampler() {
  quit_ = true;
  thread_.join();
}

void MemorySampler::Start() {
  PROCESS_MEMORY_COUNTERS_EX c = Counters();
  maxPrivate_ = static_cast<int64_t>(c.PrivateUsage);
  maxCommitted_ = CommittedPrivate();
  maxWorkingSet_ = static_cast<int64_t>(c.WorkingSetSize);
  active_ = true;
}

Memory MemorySampler::Stop() {
  active_ = false;
  Sleep(10);  // lets a sample in progress finish
  Memory m = MemoryNow();
  m.privateMb = std::max(m.privateMb, maxPrivate_ / kMb);
  m.committedMb = std::max(m.committedMb, maxCommitted_ / kMb);
  m.workingSetMb = std::max(m.workingSetMb, maxWorkingSet_ / kMb);
  return m;
}

void MemorySampler::Run() {
  while (!quit_) {
    if (active_) {
      PROCESS_MEMORY_COUNTERS_EX c = Counters();
      auto raise = [](std::atomic<int64_t>& slot, int64_t v) {
        int64_t old = slot.load();
        while (v > old && !slot.compare_exchange_weak(old, v)) {
        }
      };
      raise(maxPrivate_, static_cast<int64_t>(c.PrivateUsage));
      raise(maxWorkingSet_, static_cast<int64_t>(c.WorkingSetSize));
      raise(maxCommitted_, CommittedPrivate());
    }
    Sleep(5);
  }
}

void PrintRow(const std::string& name, const std::string& launcher, const std::string& baseline,
              const std::string& ratio, const std::string& goal) {
  std::printf("ROW\t%s\t%s\t%s\t%s\t%s\n", name.c_str(), launcher.c_str(), baseline.c_str(), ratio.c_str(),
              goal.c_str());
  std::fflush(stdout);
}

std::string Fixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

void Say(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::vfprintf(stdout, format, args);
  va_end(args);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

}  // namespace kb
