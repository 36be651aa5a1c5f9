// Frame cost: the real main window, opened headless (SDL's dummy driver),
// drawing a frame as the redraw timer does (WM_TIMER: renderFrame) and
// showing it (WM_PAINT: BeginPaint, presentFrame, EndPaint), against the
// floor of filling W x H pixels once and copying them once. The text part
// (the status line and the eleven listing rows, as an idle frame draws
// them) is timed alone on a bitmap of the same size. A second benchmark
// compares the frame with 30000 and with 10 million values.
//
// Every timing is paired within one iteration, so that the ratios are of
// figures taken a moment apart.
#include <benchmark/benchmark.h>

#include <time.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/main_window.h"
#include "app/program_state.h"
#include "render/frame.h"
#include "support/window_harness.h"

namespace {

HWND window = nullptr;

double now() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<double>(t.tv_sec) + t.tv_nsec * 1e-9;
}

// The text a frame draws when no run is active.
void drawText(HDC context, int width) {
  TextOutW(context, statusX, statusY, statusText, lstrlenW(statusText));
  drawListing(context, width);
}

struct FrameTimes {
  double render = 0;
  double present = 0;
};

FrameTimes frame() {
  FrameTimes t;
  double t0 = now();
  mainWindowProc(window, WM_TIMER, 0, 0);
  double t1 = now();
  mainWindowProc(window, WM_PAINT, 0, 0);
  double t2 = now();
  t.render = t1 - t0;
  t.present = t2 - t1;
  return t;
}

void frameAgainstFloor(benchmark::State &state) {
  int width = static_cast<int>(state.range(0));
  int height = static_cast<int>(state.range(1));
  resizeClient(window, width, height);
  size_t pixels = size_t(width) * size_t(height);
  std::vector<uint32_t> filled(pixels), copied(pixels);

  HDC screen = GetDC(window);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  ReleaseDC(window, screen);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  // The first frames at a new size allocate; they are not what is measured.
  for (int k = 0; k < 3; ++k)
    frame();

  double floorTime = 0, render = 0, present = 0, text = 0;
  for (auto _ : state) {
    double t0 = now();
    std::fill(filled.begin(), filled.end(), 0xFFFFFFu);
    std::memcpy(copied.data(), filled.data(), pixels * sizeof(uint32_t));
    benchmark::ClobberMemory();
    double t1 = now();
    FrameTimes f = frame();
    double t2 = now();
    drawText(memory, width);
    double t3 = now();
    floorTime += t1 - t0;
    render += f.render;
    present += f.present;
    text += t3 - t2;
    state.SetIterationTime(f.render + f.present);
  }
  double n = double(state.iterations());
  double frameTime = render + present;
  state.counters["floor_us"] = floorTime / n * 1e6;
  state.counters["render_us"] = render / n * 1e6;
  state.counters["present_us"] = present / n * 1e6;
  state.counters["frame_us"] = frameTime / n * 1e6;
  state.counters["text_us"] = text / n * 1e6;
  state.counters["frame_over_floor"] = frameTime / floorTime;
  state.counters["text_share"] = text / frameTime;

  SelectObject(memory, previous);
  DeleteDC(memory);
  DeleteObject(bitmap);
}

// Frames with the 30000 values the window created and with 10 million,
// switching the shown array between the two every iteration.
void frameAgainstSize(benchmark::State &state) {
  int width = static_cast<int>(state.range(0));
  int height = static_cast<int>(state.range(1));
  resizeClient(window, width, height);
  uint32_t *smallArray = values.load();
  uint32_t smallCount = valueCount;
  constexpr uint32_t largeCount = 10000000;
  std::vector<uint32_t> large(largeCount);
  uint32_t x = 12345;
  for (uint32_t &v : large) { // values spread over the whole height
    x = x * 1664525u + 1013904223u;
    v = x % largeCount;
  }

  for (int k = 0; k < 3; ++k)
    frame();

  double smallTime = 0, largeTime = 0;
  for (auto _ : state) {
    values.store(smallArray);
    valueCount = smallCount;
    FrameTimes s = frame();
    values.store(large.data());
    valueCount = largeCount;
    FrameTimes l = frame();
    smallTime += s.render + s.present;
    largeTime += l.render + l.present;
    state.SetIterationTime(l.render + l.present);
  }
  values.store(smallArray);
  valueCount = smallCount;
  double n = double(state.iterations());
  state.counters["frame_30000_us"] = smallTime / n * 1e6;
  state.counters["frame_10M_us"] = largeTime / n * 1e6;
  state.counters["ratio"] = largeTime / smallTime;
}

} // namespace

int main(int argc, char **argv) {
  // Headless unless told otherwise.
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv))
    return 1;

  window = openMainWindow();
  if (!window)
    return 1;

  const int sizes[][2] = {{800, 600}, {1920, 1080}, {3840, 2160}};
  for (const auto &size : sizes)
    benchmark::RegisterBenchmark("Frame", frameAgainstFloor)
        ->Args({size[0], size[1]})
        ->UseManualTime()
        ->Unit(benchmark::kMicrosecond)
        ->MinTime(0.3)
        ->Repetitions(5);
  benchmark::RegisterBenchmark("FrameBySize", frameAgainstSize)
      ->Args({1920, 1080})
      ->UseManualTime()
      ->Unit(benchmark::kMicrosecond)
      ->MinTime(0.3)
      ->Repetitions(5);

  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  closeMainWindow(window);
  return 0;
}
