// The sort steps against the same steps with plain accesses, the shuffle,
// and the WELL1024a generator against the same recurrence inlined.
//
// The plain versions are the program's own sources compiled a second time,
// here, inside namespace plain: there unqualified lookup finds the plain
// helpers below before the program's (sort_catalogue.h, program_state.h),
// so the same steps run with plain loads and stores and a plain array
// pointer instead of std::atomic and std::atomic_ref. No hand copy to keep
// in step. Every header the sources include is included first, at global
// scope, so that their include guards keep the headers out of the
// namespace.
//
// Each sort benchmark runs both versions in every iteration, alternating
// which goes first, on the same shuffled 30000 values, on the calling
// thread, with pausing disabled (yieldInterval 0xFFFFFFFF). The ratio is of
// the thread's CPU time, which leaves out time the thread spends preempted
// by other processes (the machine is shared) and, for the merge sort, whose
// pauses do not depend on yieldInterval, the time it spends asleep. Wall
// times are reported beside it.
#include <benchmark/benchmark.h>

#include <time.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <utility>
#include <vector>

#include "app/program_state.h"
#include "data/data_set.h"
#include "data/value_memory.h"
#include "sorts/sort_catalogue.h"
#include "support/routine_facts.h"
#include "support/test_support.h"

namespace plain {

uint32_t *values = nullptr;
uint32_t yieldInterval = 1000;
uint32_t *retiredBuffer = nullptr;
uint32_t wellState[32];
uint32_t wellIndex = 0;

inline uint32_t *currentValues() { return values; }
inline void showValues(uint32_t *buffer) { values = buffer; }
inline uint32_t *retireBuffer(uint32_t *buffer) {
  return std::exchange(retiredBuffer, buffer);
}
inline void storeShared(uint32_t *array, size_t index, uint32_t value) {
  array[index] = value;
}
inline bool countStep() { return countStepEvery(yieldInterval); }
// Scratch memory, as allocateScratch; a failure is no case here.
inline uint32_t *allocateScratch(uint32_t count) {
  return allocateValues(count);
}

#include "data/well_generator.cpp"
#include "sorts/distribution_sorts.cpp"
#include "sorts/elementary_sorts.cpp"
#include "sorts/heap_sorts.cpp"
#include "sorts/merge_sort.cpp"
#include "sorts/partition_sorts.cpp"

} // namespace plain

namespace {

constexpr uint32_t sortSize = 30000;
constexpr uint32_t noPausing = 0xFFFFFFFF;

struct SortPair {
  SortRoutine shared; // the program's routine
  SortRoutine plain;  // the same source with plain accesses
};

const SortPair sortPairs[] = {
    {bubbleSort, plain::bubbleSort},
    {selectionSort, plain::selectionSort},
    {insertionSort, plain::insertionSort},
    {shellSort, plain::shellSort},
    {distributionCountSort, plain::distributionCountSort},
    {quickSort, plain::quickSort},
    {mergeSort, plain::mergeSort},
    {heapSort, plain::heapSort},
    {bottomUpHeapSort, plain::bottomUpHeapSort},
    {radixExchangeSort, plain::radixExchangeSort},
    {straightRadixSort, plain::straightRadixSort},
};

// The program's own shuffle of `n` values, kept aside.
std::vector<uint32_t> shuffledValues(uint32_t n) {
  seedGeneratorFrom(1);
  requestedSize = static_cast<int32_t>(n);
  shuffleValues();
  uint32_t *a = values.load();
  std::vector<uint32_t> kept(a, a + valueCount);
  releaseValues(values.exchange(nullptr));
  valueCount = 0;
  return kept;
}

double seconds(clockid_t clock) {
  timespec now{};
  clock_gettime(clock, &now);
  return static_cast<double>(now.tv_sec) + now.tv_nsec * 1e-9;
}

struct Times {
  double wall = 0;
  double cpu = 0;
};

// One run of one copy on `input`; everything but the routine itself is
// outside the timed part.
Times timedRun(const SortPair &pair, bool isPlain,
               const std::vector<uint32_t> &input, uint32_t *&shownArray) {
  uint32_t *a = shownArray;
  std::copy(input.begin(), input.end(), a);
  valueCount = static_cast<uint32_t>(input.size());
  values.store(a);
  plain::values = a;
  if (pair.shared == distributionCountSort) {
    if (isPlain)
      plain::prepareDistributionClasses();
    else
      prepareDistributionClasses();
  }
  operationCount = 0;
  heapSize = 0;

  SortRoutine routine = isPlain ? pair.plain : pair.shared;
  Times t;
  double wall = seconds(CLOCK_MONOTONIC);
  double cpu = seconds(CLOCK_THREAD_CPUTIME_ID);
  benchmark::DoNotOptimize(routine(nullptr));
  t.cpu = seconds(CLOCK_THREAD_CPUTIME_ID) - cpu;
  t.wall = seconds(CLOCK_MONOTONIC) - wall;

  // The merge sort leaves the other buffer shown: it becomes this copy's
  // array from now on, and the retired one is released.
  shownArray = isPlain ? plain::values : values.load();
  releaseValues(retiredBuffer.exchange(nullptr));
  releaseValues(std::exchange(plain::retiredBuffer, nullptr));
  if (!std::is_sorted(shownArray, shownArray + valueCount)) {
    std::fprintf(stderr, "%s (%s) did not sort\n", factsOf(pair.shared).label,
                 isPlain ? "plain" : "shared");
    std::abort();
  }
  return t;
}

void sortPair(benchmark::State &state, const SortPair *pair) {
  static const std::vector<uint32_t> input = shuffledValues(sortSize);
  // Each copy works in a block of its own.
  uint32_t *sharedArray = allocateValues(sortSize);
  uint32_t *plainArray = allocateValues(sortSize);
  yieldInterval.store(noPausing);
  plain::yieldInterval = noPausing;

  Times shared, plainTotal;
  int64_t round = 0;
  for (auto _ : state) {
    Times s, p;
    if (round++ % 2 == 0) {
      p = timedRun(*pair, true, input, plainArray);
      s = timedRun(*pair, false, input, sharedArray);
    } else {
      s = timedRun(*pair, false, input, sharedArray);
      p = timedRun(*pair, true, input, plainArray);
    }
    state.SetIterationTime(s.cpu);
    shared.wall += s.wall;
    shared.cpu += s.cpu;
    plainTotal.wall += p.wall;
    plainTotal.cpu += p.cpu;
  }
  double n = static_cast<double>(state.iterations());
  state.counters["shared_cpu_ms"] = shared.cpu / n * 1e3;
  state.counters["plain_cpu_ms"] = plainTotal.cpu / n * 1e3;
  state.counters["shared_wall_ms"] = shared.wall / n * 1e3;
  state.counters["plain_wall_ms"] = plainTotal.wall / n * 1e3;
  state.counters["ratio_cpu"] = shared.cpu / plainTotal.cpu;
  state.counters["ratio_wall"] = shared.wall / plainTotal.wall;

  values.store(nullptr);
  plain::values = nullptr;
  valueCount = 0;
  releaseValues(sharedArray);
  releaseValues(plainArray);
}

// The program's shuffle of 10 million values (the resize happens once,
// before the first iteration).
void shuffleTenMillion(benchmark::State &state) {
  requestedSize = 10000000;
  shuffleValues();
  for (auto _ : state)
    shuffleValues();
  state.counters["values_per_s"] =
      benchmark::Counter(double(valueCount) * double(state.iterations()),
                         benchmark::Counter::kIsRate);
  releaseValues(values.exchange(nullptr));
  valueCount = 0;
  requestedSize = 0;
}

// The program's wellNext (a call per step, on the program state) against
// the same source compiled here on plain::wellState, side by side in every
// iteration; they must agree.
void wellSteps(benchmark::State &state) {
  constexpr int steps = 1 << 20;
  seedGeneratorFrom(1);
  std::memcpy(plain::wellState, wellState, sizeof plain::wellState);
  double program = 0, inlined = 0;
  for (auto _ : state) {
    uint32_t sumProgram = 0, sumPlain = 0;
    double t0 = seconds(CLOCK_THREAD_CPUTIME_ID);
    for (int k = 0; k < steps; ++k)
      sumProgram += wellNext();
    double t1 = seconds(CLOCK_THREAD_CPUTIME_ID);
    for (int k = 0; k < steps; ++k)
      sumPlain += plain::wellNext();
    double t2 = seconds(CLOCK_THREAD_CPUTIME_ID);
    benchmark::DoNotOptimize(sumPlain);
    if (sumProgram != sumPlain) {
      std::fprintf(stderr, "wellNext and the plain recurrence differ\n");
      std::abort();
    }
    program += t1 - t0;
    inlined += t2 - t1;
    state.SetIterationTime(t1 - t0);
  }
  double total = double(steps) * double(state.iterations());
  state.counters["wellNext_steps_per_s"] = total / program;
  state.counters["plain_steps_per_s"] = total / inlined;
  state.counters["ratio_cpu"] = program / inlined;
}

int registerAll() {
  for (const SortPair &pair : sortPairs) {
    const RoutineFacts &facts = factsOf(pair.shared);
    auto *b = benchmark::RegisterBenchmark(
        (std::string("SortSteps/") + facts.label).c_str(), sortPair, &pair);
    b->UseManualTime()->Unit(benchmark::kMillisecond);
    // The quadratic sorts take about a second per copy, and the merge sort
    // sleeps about half a second per run whatever the interval: a few
    // rounds only.
    if (facts.quadratic)
      b->Iterations(1)->Repetitions(3);
    else if (facts.pacing == Pacing::ownCounter)
      b->Iterations(3)->Repetitions(3);
    else
      b->MinTime(0.3)->Repetitions(5);
  }
  benchmark::RegisterBenchmark("Shuffle/10000000", shuffleTenMillion)
      ->Unit(benchmark::kMillisecond)
      ->Iterations(1)
      ->Repetitions(3);
  benchmark::RegisterBenchmark("WellSteps", wellSteps)
      ->UseManualTime()
      ->Unit(benchmark::kMicrosecond)
      ->Repetitions(5);
  return 0;
}

} // namespace

int main(int argc, char **argv) {
  registerAll();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv))
    return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
