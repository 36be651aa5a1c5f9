// The sort steps against a plain copy of them, the shuffle, and the WELL1024a
// generator against a plain loop of the same recurrence.
//
// Each sort benchmark runs both copies in every iteration, alternating which
// goes first, on the same shuffled 30000 values, on the calling thread, with
// pausing disabled (yieldInterval 0xFFFFFFFF). The ratio is of the thread's
// CPU time, which leaves out time the thread spends preempted by other
// processes (the machine is shared) and, for the merge sort, whose pauses do
// not depend on yieldInterval, the time it spends asleep. Wall times are
// reported beside it.
#include <benchmark/benchmark.h>

#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/program_state.h"
#include "data/data_set.h"
#include "data/value_memory.h"
#include "plain_sorts.h"
#include "sorts/sort_catalogue.h"

namespace {

constexpr uint32_t sortSize = 30000;
constexpr uint32_t noPausing = 0xFFFFFFFF;

struct SortPair {
  const char *name;
  SortRoutine shared; // the program's routine
  SortRoutine plain;  // its plain copy
  bool quadratic;
};

const SortPair sortPairs[] = {
    {"bubble", bubbleSort, plain::bubbleSort, true},
    {"selection", selectionSort, plain::selectionSort, true},
    {"insertion", insertionSort, plain::insertionSort, true},
    {"shell", shellSort, plain::shellSort, false},
    {"distribution", distributionCountSort, plain::distributionCountSort,
     false},
    {"quick", quickSort, plain::quickSort, false},
    {"merge", mergeSort, plain::mergeSort, false},
    {"heap", heapSort, plain::heapSort, false},
    {"bottom_up_heap", bottomUpHeapSort, plain::bottomUpHeapSort, false},
    {"radix_exchange", radixExchangeSort, plain::radixExchangeSort, false},
    {"straight_radix", straightRadixSort, plain::straightRadixSort, false},
};

// A fixed generator state, so that every run shuffles the same way.
void fixedSeed() {
  uint32_t x = 0x9E3779B9u;
  for (uint32_t &word : wellState) {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    word = x;
  }
  wellIndex = 0;
}

// The program's own shuffle of `n` values, kept aside.
std::vector<uint32_t> shuffledValues(uint32_t n) {
  fixedSeed();
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
  if (pair.shared == distributionCountSort)
    prepareDistributionClasses();
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
    std::fprintf(stderr, "%s (%s) did not sort\n", pair.name,
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

// The same WELL1024a recurrence as wellNext, written out in a plain loop.
struct PlainWell {
  uint32_t s[32];
  uint32_t i = 0;
  uint32_t next() {
    uint32_t z0 = s[(i + 31) & 31];
    uint32_t z1 = s[i] ^ s[(i + 3) & 31] ^ (s[(i + 3) & 31] >> 8);
    uint32_t m2 = s[(i + 24) & 31];
    uint32_t m3 = s[(i + 10) & 31];
    uint32_t z2 = m2 ^ (m2 << 19) ^ m3 ^ (m3 << 14);
    s[i] = z1 ^ z2;
    s[(i + 31) & 31] = z0 ^ (z0 << 11) ^ z1 ^ (z1 << 7) ^ z2 ^ (z2 << 13);
    i = (i + 31) & 31;
    return s[i];
  }
};

// Both generators side by side in every iteration; they must agree.
void wellSteps(benchmark::State &state) {
  constexpr int steps = 1 << 20;
  fixedSeed();
  PlainWell local;
  std::memcpy(local.s, wellState, sizeof local.s);
  double program = 0, inlined = 0;
  for (auto _ : state) {
    uint32_t sumProgram = 0, sumPlain = 0;
    double t0 = seconds(CLOCK_THREAD_CPUTIME_ID);
    for (int k = 0; k < steps; ++k)
      sumProgram += wellNext();
    double t1 = seconds(CLOCK_THREAD_CPUTIME_ID);
    for (int k = 0; k < steps; ++k)
      sumPlain += local.next();
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
    auto *b = benchmark::RegisterBenchmark(
        (std::string("SortSteps/") + pair.name).c_str(), sortPair, &pair);
    b->UseManualTime()->Unit(benchmark::kMillisecond);
    // The quadratic sorts take about a second per copy, and the merge sort
    // sleeps about half a second per run whatever the interval: a few
    // rounds only.
    if (pair.quadratic)
      b->Iterations(1)->Repetitions(3);
    else if (pair.shared == mergeSort)
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
