// The editor's costs.
//
// On the headless screen (the editor form from the static libraries, no
// display's own work): one level meter update with its repaint, and a
// repaint of the whole face.
//
// On X11 (needs $DISPLAY, e.g. a private Xvfb; skipped otherwise), through the
// built module as a host has it: effEditOpen until the first picture is on
// the screen, and the share of one core that the host's user-interface
// thread spends on the editor over ten seconds while a transport plays
// (meters and step lights moving), with idle calls at about 60 per second.
#include <benchmark/benchmark.h>
#include <time.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <vector>

#include "EditorWindow.h"
#include "Playback.h"
#include "TFrmEditor.h"
#include "VstHost.h"
#include "uKestSkins.h"
#include "ui/headless/HeadlessBackend.h"

namespace {

using namespace kest;

// The form on the headless screen, shown and painted once.
struct HeadlessFace {
  ui::headless::HeadlessScreen screen;
  std::unique_ptr<TFrmEditor> form;
  HeadlessFace() {
    LoadSharedSkins();
    ui::WindowDesc d;
    d.bounds = ui::Rect::FromSize(0, 0, TFrmEditor::kWidth, TFrmEditor::kHeight);
    d.visible = true;
    const ui::WindowHandle standIn = ui::CreateWnd(d);
    form = std::make_unique<TFrmEditor>(nullptr);
    form->SetParentWindow(standIn);
    form->Show();
    form->VUTimer->SetEnabled(false);
    screen.Pump();
  }
};

void BM_MeterUpdate(benchmark::State& state) {
  HeadlessFace face;
  float level = -40.0f;
  for (auto _ : state) {
    level = level > -3.0f ? -40.0f : level + 1.0f;
    face.form->VU1->Display(level, level - 6.0f);
    face.screen.Pump();
  }
}
BENCHMARK(BM_MeterUpdate)->Unit(benchmark::kMicrosecond);

void BM_FullFaceRepaint(benchmark::State& state) {
  HeadlessFace face;
  for (auto _ : state) {
    face.form->Invalidate();
    face.screen.Pump();
  }
}
BENCHMARK(BM_FullFaceRepaint)->Unit(benchmark::kMicrosecond);

// ---- X11, through the module ----

host::PluginModule* Module() {
  static std::unique_ptr<host::PluginModule> module =
      std::make_unique<host::PluginModule>(KEST_MODULE);
  return module.get();
}

bool HaveDisplay(benchmark::State& state) {
  const char* d = std::getenv("DISPLAY");
  if (d != nullptr && *d != '\0') return true;
  state.SkipWithError("no X display ($DISPLAY): run under Xvfb");
  return false;
}

double ThreadCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

void BM_OpenToFirstPicture(benchmark::State& state) {
  if (!HaveDisplay(state)) return;
  host::VstHost vst;
  vst.Open(Module()->Entry());
  vst.SetSampleRate(44100.0f);
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    host::EditorWindow window(vst);
    // A spot of the face where no control lies; the host's window is black.
    while (window.PixelAt(20, 370) == 0)
      window.Idle();
    state.SetIterationTime(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
}
BENCHMARK(BM_OpenToFirstPicture)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_UiThreadWhilePlaying(benchmark::State& state) {
  if (!HaveDisplay(state)) return;
  host::VstHost vst;
  vst.Open(Module()->Entry());
  vst.SetSampleRate(44100.0f);
  vst.Time().tempo = 120.0;
  host::EditorWindow window(vst);
  host::Playback playback(vst, [seed = 7u](float* l, float* r, int32_t n) mutable {
    for (int32_t i = 0; i < n; ++i) {
      seed = seed * 1664525u + 1013904223u;
      l[i] = r[i] = 0.3f * static_cast<float>(static_cast<int32_t>(seed) / 2147483648.0);
    }
  });
  double cpu = 0.0, wall = 0.0;
  for (auto _ : state) {
    const double cpu0 = ThreadCpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    const auto end = start + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < end) {
      window.Idle();
      window.Wait(16);
    }
    cpu = ThreadCpuSeconds() - cpu0;
    wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }
  playback.Stop();
  state.counters["ui_cpu_percent"] = 100.0 * cpu / wall;
  state.counters["blocks_played"] = static_cast<double>(playback.Blocks());
}
BENCHMARK(BM_UiThreadWhilePlaying)->Unit(benchmark::kSecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
