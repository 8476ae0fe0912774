// kestrelphon-editor: a VST 2.4 plug-in's editor in a window of its own, as a
// host shows it, with a running transport and a built-in signal playing
// through the plug-in, so that every control can be tried without a DAW.
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "EditorWindow.h"
#include "ModuleChoice.h"
#include "Playback.h"
#include "Signals.h"
#include "VstHost.h"
#include "ui/gfx/Png.h"

namespace {

using namespace kest;

struct Options {
  std::string plugin;
  std::string preset;
  double tempo = 120.0;
  std::string signal = "drums";
  double rate = 44100.0;
  bool playing = true;
  std::string screenshot;
  double after = 1.5;
  std::optional<double> seconds;
  std::string display;
};

struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

const char* const kUsage = R"(usage: kestrelphon-editor [options]

Shows a VST 2.4 plug-in's editor in a window, as a host would, while a
built-in signal plays through the plug-in with a running transport (nothing
is sent to a sound card). Close the window or press Ctrl+C to quit.

  --plugin PATH        VST 2.4 module (default: Kestrelphon.so of this build,
                       else the installed one, else ~/.vst/Kestrelphon.so;
                       on Windows Kestrelphon.dll of this build or beside
                       the program)
  --preset NAME|N      program to show, by name or number
  --tempo BPM          transport tempo (default 120)
  --stopped            the transport stands still (no running step)
  --signal NAME        input signal: drums, chord or noise (default drums)
  --rate HZ            sample rate (default 44100)
  --screenshot FILE    save the window's picture as PNG after --after
                       seconds, then quit
  --after SECONDS      when to take the screenshot (default 1.5)
  --seconds SECONDS    quit after this long
  --display NAME       X display (default $DISPLAY; not used on Windows)
  --help               this text
)";

double Number(const std::string& option, const std::string& text, double low, double high) {
  char* end = nullptr;
  const double v = std::strtod(text.c_str(), &end);
  if (text.empty() || end != text.c_str() + text.size() || !(v >= low && v <= high)) {
    throw UsageError(option + " takes a number from " + std::to_string(low) + " to " +
                     std::to_string(high) + ", not \"" + text + "\"");
  }
  return v;
}

Options Parse(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const auto value = [&]() -> std::string {
      if (i + 1 >= argc) throw UsageError(arg + " needs a value");
      return argv[++i];
    };
    if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      std::exit(0);
    } else if (arg == "--plugin") {
      o.plugin = value();
    } else if (arg == "--preset") {
      o.preset = value();
    } else if (arg == "--tempo") {
      o.tempo = Number(arg, value(), 1, 1000);
    } else if (arg == "--stopped") {
      o.playing = false;
    } else if (arg == "--signal") {
      o.signal = value();
    } else if (arg == "--rate") {
      o.rate = Number(arg, value(), 8000, 384000);
    } else if (arg == "--screenshot") {
      o.screenshot = value();
    } else if (arg == "--after") {
      o.after = Number(arg, value(), 0, 3600);
    } else if (arg == "--seconds") {
      o.seconds = Number(arg, value(), 0, 1e7);
    } else if (arg == "--display") {
      o.display = value();
    } else {
      throw UsageError("unknown option " + arg);
    }
  }
  return o;
}

volatile std::sig_atomic_t gInterrupted = 0;

void SaveScreenshot(host::EditorWindow& window, const std::string& path) {
  const std::vector<std::uint32_t> pixels = window.Capture();
  ui::Bitmap picture(window.Width(), window.Height());
  for (int y = 0; y < window.Height(); ++y)
    for (int x = 0; x < window.Width(); ++x) {
      const std::uint32_t p = pixels[static_cast<std::size_t>(y * window.Width() + x)];
      picture.SetPixel(x, y,
                       ui::MakePixel(static_cast<int>(p >> 16) & 255,
                                     static_cast<int>(p >> 8) & 255, static_cast<int>(p) & 255));
    }
  ui::SavePng(picture, path);
  std::printf("kestrelphon-editor: the editor's picture is in %s\n", path.c_str());
}

int Run(const Options& o, const char* argv0) {
  host::JoinTestDisplay();
  auto source = render::MakeSignal(o.signal, {o.rate, o.tempo, 0.0});
  if (!source) throw UsageError("unknown signal \"" + o.signal + "\" (drums, chord or noise)");
  const std::string path =
      o.plugin.empty() ? host::DefaultModulePath(argv0, KEST_DEFAULT_PLUGIN) : o.plugin;
  host::PluginModule module(path);
  host::VstHost vst;
  vst.SetStrictTexts(false); // any plug-in: texts cut where hosts cut them
  if (vst.Open(module.Entry()) == nullptr)
    throw std::runtime_error("\"" + path + "\" created no effect when its entry point was called");
  vst.SetSampleRate(static_cast<float>(o.rate));
  if (!o.preset.empty()) host::SelectProgram(vst, o.preset);
  vst.Time().tempo = o.tempo;
  vst.Time().playing = o.playing;

  host::EditorWindow window(vst, o.display.empty() ? nullptr : o.display.c_str(), 60, 60,
                            vst.EffectName().empty() ? "Kestrelphon" : vst.EffectName());
  host::Playback playback(vst, [&source](float* l, float* r, int32_t n) { source->Read(l, r, n); });
  std::printf("kestrelphon-editor: %s, program \"%s\", %s at %g BPM, %s\n", path.c_str(),
              vst.ProgramName().c_str(), source->Describe().c_str(), o.tempo,
              o.playing ? "playing" : "stopped");
  std::fflush(stdout);

  const auto start = std::chrono::steady_clock::now();
  const auto elapsed = [&] {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  };
  while (window.Idle() && gInterrupted == 0) {
    if (!o.screenshot.empty() && elapsed() >= o.after) {
      SaveScreenshot(window, o.screenshot);
      break;
    }
    if (o.seconds && elapsed() >= *o.seconds) break;
    // About as often as hosts call their editors' idle.
    window.Wait(16);
  }
  playback.Stop();
  return 0;
}

} // namespace

int main(int argc, char** argv) {
  std::signal(SIGINT, [](int) { gInterrupted = 1; });
  std::signal(SIGTERM, [](int) { gInterrupted = 1; });
  try {
    return Run(Parse(argc, argv), argv[0]);
  } catch (const UsageError& e) {
    std::fprintf(stderr, "kestrelphon-editor: %s\n(kestrelphon-editor --help lists the options)\n",
                 e.what());
    return 2;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "kestrelphon-editor: %s\n", e.what());
    return 1;
  }
}
