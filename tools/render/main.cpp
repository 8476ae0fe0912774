// kestrelphon-render: processes audio offline through a VST 2.4 module, as a
// host does with its transport running. See Usage() for the options.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "AudioFile.h"
#include "KstBank.h"
#include "ModuleChoice.h"
#include "OutputFile.h"
#include "ParamValues.h"
#include "Signals.h"
#include "VstHost.h"

namespace {

using kest::host::PluginModule;
using kest::host::VstHost;
namespace render = kest::render;

volatile std::sig_atomic_t gInterrupted = 0;
void OnInterrupt(int) { gInterrupted = 1; }

// Mistakes in the command line: reported with a hint to --help, exit code 2.
struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct Options {
  std::string plugin;
  std::string input;
  std::string signal;
  std::string output;
  double tempo = 120.0;
  double start = 0.0;
  int block = 512;
  std::optional<double> rate;
  std::optional<std::string> length;
  std::string bank;
  std::string preset;
  std::vector<std::string> sets;
  bool list = false;
  bool quiet = false;
};

void Usage(std::FILE* to) {
  std::fprintf(to, R"(usage: kestrelphon-render [OPTIONS] [INPUT] OUTPUT
       kestrelphon-render [OPTIONS] --list

Processes audio through a VST 2.4 plug-in as a host does, with a transport
running, and writes the result (32-bit float WAV, or by extension .flac, .ogg,
.aiff, .caf, .w64, .au).

Source (one of):
  -i, --input FILE      audio file (WAV, FLAC, OGG, ...); mono feeds both inputs
  -s, --signal NAME     built-in signal: drums (default), chord, noise
Output:
  -o, --output FILE     where to write; created only when the render succeeds
Plug-in and its state:
  --plugin PATH         VST 2.4 module (default: the Kestrelphon.so built with this tool)
  --bank FILE.kst       load a Kestrelphon bank into the 32 programs
  --preset NAME|NUMBER  select a program (numbers as --list shows them)
  --set NAME=VALUE      set a parameter in its own unit, repeatable:
                        "Depth=80", "Level=-60", "Note A1=C#5", "Step B3=off",
                        "Auto random=Each 2-th bar" (or its value number, 2)
  --list                print programs and parameters (after the options above)
Transport and format:
  --tempo BPM           tempo (default 120)
  --start QUARTERS      musical position of the first sample (default 0)
  --block FRAMES        processing block size (default 512)
  --rate HZ             sample rate of a built-in signal (default 44100);
                        an input file brings its own
  --length TIME         seconds ("8", "2.5s") or bars of 4/4 ("4bars"); default
                        8 s for a built-in signal, the whole input file otherwise
                        (longer than the file: silence follows, tails ring out)
  -q, --quiet           no progress bar and no summary
  -h, --help            this text
)");
}

double ParseOption(const std::string& name, const std::string& text) {
  const auto v = render::ParseNumber(text);
  if (!v) throw UsageError(name + " takes a number, not \"" + text + "\"");
  return *v;
}

Options ParseArgs(int argc, char** argv) {
  Options o;
  std::vector<std::string> positional;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    std::optional<std::string> inlineValue;
    if (arg.rfind("--", 0) == 0 && arg.find('=') != std::string::npos && arg.rfind("--set", 0) != 0) {
      inlineValue = arg.substr(arg.find('=') + 1);
      arg = arg.substr(0, arg.find('='));
    } else if (arg.rfind("--set=", 0) == 0) {
      inlineValue = arg.substr(6);
      arg = "--set";
    }
    const auto value = [&]() -> std::string {
      if (inlineValue) return *inlineValue;
      if (i + 1 >= argc) throw UsageError(arg + " needs a value");
      return argv[++i];
    };
    if (arg == "-h" || arg == "--help") {
      Usage(stdout);
      std::exit(0);
    } else if (arg == "-i" || arg == "--input") {
      o.input = value();
    } else if (arg == "-s" || arg == "--signal") {
      o.signal = value();
    } else if (arg == "-o" || arg == "--output") {
      o.output = value();
    } else if (arg == "--plugin") {
      o.plugin = value();
    } else if (arg == "--bank") {
      o.bank = value();
    } else if (arg == "--preset") {
      o.preset = value();
    } else if (arg == "--set") {
      o.sets.push_back(value());
    } else if (arg == "--list") {
      o.list = true;
    } else if (arg == "-q" || arg == "--quiet") {
      o.quiet = true;
    } else if (arg == "--tempo") {
      o.tempo = ParseOption(arg, value());
      if (!(o.tempo > 0.0 && o.tempo <= 1000.0)) throw UsageError("--tempo must be above 0 and at most 1000 BPM");
    } else if (arg == "--start") {
      o.start = ParseOption(arg, value());
    } else if (arg == "--block") {
      const double b = ParseOption(arg, value());
      if (b != std::floor(b) || b < 1 || b > 65536) throw UsageError("--block takes a whole number of frames from 1 to 65536");
      o.block = static_cast<int>(b);
    } else if (arg == "--rate") {
      const double r = ParseOption(arg, value());
      if (r != std::floor(r) || r < 8000 || r > 384000) throw UsageError("--rate takes a whole number of hertz from 8000 to 384000");
      o.rate = r;
    } else if (arg == "--length") {
      o.length = value();
    } else if (arg.size() > 1 && arg[0] == '-') {
      throw UsageError("unknown option " + arg);
    } else {
      positional.push_back(arg);
    }
  }
  if (positional.size() > 2) throw UsageError("too many arguments");
  if (positional.size() == 2) {
    if (!o.input.empty()) throw UsageError("two inputs given");
    o.input = positional[0];
  }
  if (!positional.empty()) {
    if (!o.output.empty()) throw UsageError("two outputs given");
    o.output = positional.back();
  }
  if (!o.input.empty() && !o.signal.empty()) throw UsageError("give either --input or --signal, not both");
  if (o.output.empty() && !o.list) throw UsageError("no output file given");
  return o;
}

int64_t LengthInFrames(const std::string& text, double rate, double tempo) {
  std::string number = text;
  double unit = rate; // seconds
  for (const char* suffix : {"bars", "bar"}) {
    const std::size_t n = std::strlen(suffix);
    if (number.size() > n && number.compare(number.size() - n, n, suffix) == 0) {
      number.resize(number.size() - n);
      unit = rate * 4.0 * 60.0 / tempo;
      break;
    }
  }
  if (unit == rate && !number.empty() && number.back() == 's') number.pop_back();
  const auto v = render::ParseNumber(number);
  if (!v || *v <= 0.0 || *v * unit > 1e10) {
    throw UsageError("--length takes a positive duration such as 8, 2.5s or 4bars, not \"" + text + "\"");
  }
  return std::max<int64_t>(1, std::llround(*v * unit));
}

void LoadBank(VstHost& host, render::ParamValueFinder& finder, const std::string& path) {
  AEffect* e = host.Effect();
  constexpr int32_t kKest = ('K' << 24) | ('E' << 16) | ('S' << 8) | 'T';
  if (e->uniqueID != kKest || e->numParams != render::kKstParams ||
      e->numPrograms != render::kKstPresets) {
    throw std::runtime_error("--bank loads Kestrelphon banks, and this plug-in is \"" +
                             host.EffectName() + "\"");
  }
  const auto bank = render::ReadKstBank(path);
  const auto current = static_cast<int32_t>(host.Dispatch(effGetProgram));
  // As a host restores a bank of programs it cannot hand over as one chunk:
  // program by program, name and every parameter, inside a program change so
  // that the root note does not transpose the note rows on the way.
  for (int32_t p = 0; p < render::kKstPresets; ++p) {
    const render::KstPreset& preset = bank[static_cast<std::size_t>(p)];
    host.Dispatch(effSetProgram, 0, p);
    host.Dispatch(effBeginSetProgram);
    std::string name = preset.name;
    host.Dispatch(effSetProgramName, 0, 0, name.data());
    for (int32_t i = 0; i < render::kKstParams; ++i) {
      float x = 0.0f;
      try {
        x = finder.FromPlain(i, preset.values[static_cast<std::size_t>(i)]);
      } catch (const std::invalid_argument& ex) {
        throw std::runtime_error("bank \"" + path + "\", preset " + std::to_string(p) + ", " +
                                 host.ParamName(i) + ": " + ex.what());
      }
      host.SetParameter(i, x);
    }
    host.Dispatch(effEndSetProgram);
  }
  host.Dispatch(effSetProgram, 0, current);
}

void ApplySetting(VstHost& host, render::ParamValueFinder& finder, const std::string& setting) {
  const auto eq = setting.find('=');
  if (eq == std::string::npos) {
    throw std::runtime_error("--set takes NAME=VALUE, not \"" + setting + "\"");
  }
  const std::string name = setting.substr(0, eq);
  const int32_t index = finder.FindParameter(name);
  if (index < 0) throw std::runtime_error("unknown parameter \"" + name + "\" (--list shows them)");
  try {
    host.SetParameter(index, finder.FromText(index, setting.substr(eq + 1)));
  } catch (const std::invalid_argument& ex) {
    throw std::runtime_error("--set " + name + ": " + ex.what());
  }
}

void List(VstHost& host) {
  AEffect* e = host.Effect();
  const auto current = host.Dispatch(effGetProgram);
  std::printf("%s by %s\n\nPrograms (%d):\n", host.EffectName().c_str(),
              host.VendorString().c_str(), e->numPrograms);
  for (int32_t i = 0; i < e->numPrograms; ++i) {
    std::printf("%s %3d  %s\n", i == current ? "*" : " ", i, host.ProgramNameIndexed(i).c_str());
  }
  std::printf("\nParameters (%d):\n", e->numParams);
  for (int32_t i = 0; i < e->numParams; ++i) {
    std::printf("  %3d  %-18s %-16s %-8s (%.6f)\n", i, host.ParamName(i).c_str(),
                host.ParamDisplay(i).c_str(), host.ParamLabel(i).c_str(),
                static_cast<double>(host.GetParameter(i)));
  }
  std::fflush(stdout);
}

std::string Decibels(float peak) {
  if (peak <= 0.0f) return "silent";
  char text[32];
  std::snprintf(text, sizeof text, "%.2f dB", 20.0 * std::log10(static_cast<double>(peak)));
  return text;
}

class Progress {
public:
  Progress(bool show, int64_t total) : fShow(show), fTotal(total) {}
  void Update(int64_t done) {
    if (!fShow) return;
    const auto now = std::chrono::steady_clock::now();
    if (done < fTotal && now - fLast < std::chrono::milliseconds(100)) return;
    fLast = now;
    constexpr int kWidth = 40;
    done = std::min(done, fTotal);
    const int filled = static_cast<int>(kWidth * done / std::max<int64_t>(1, fTotal));
    std::fprintf(stderr, "\r[%.*s%*s] %3d%%", filled, "########################################",
                 kWidth - filled, "", static_cast<int>(100 * done / std::max<int64_t>(1, fTotal)));
    std::fflush(stderr);
  }
  void Finish() {
    if (fShow) std::fprintf(stderr, "\r\033[K");
  }

private:
  bool fShow;
  int64_t fTotal;
  std::chrono::steady_clock::time_point fLast{};
};

int Run(const Options& o, const char* argv0) {
  const std::string pluginPath =
      o.plugin.empty() ? kest::host::DefaultModulePath(argv0, KEST_DEFAULT_PLUGIN) : o.plugin;
  if (!o.output.empty()) render::OutputFile::FormatFor(o.output); // fail before any work

  // Sources first: an unreadable input is reported before the plug-in loads.
  std::unique_ptr<render::Source> source;
  double rate = o.rate.value_or(44100.0);
  if (!o.input.empty()) {
    source = render::OpenAudioFile(o.input);
    if (o.rate && *o.rate != source->SampleRate()) {
      throw UsageError("--rate " + std::to_string(static_cast<long>(*o.rate)) +
                       " differs from the input file's " +
                       std::to_string(static_cast<long>(source->SampleRate())) +
                       " Hz; the renderer does not resample");
    }
    rate = source->SampleRate();
  } else {
    const std::string name = o.signal.empty() ? "drums" : o.signal;
    source = render::MakeSignal(name, {rate, o.tempo, o.start});
    if (!source) throw UsageError("unknown signal \"" + name + "\" (drums, chord or noise)");
  }
  std::optional<int64_t> total;
  if (o.length) total = LengthInFrames(*o.length, rate, o.tempo);
  else if (o.input.empty()) total = static_cast<int64_t>(std::llround(8.0 * rate));

  // The module outlives both hosts below.
  PluginModule module(pluginPath);
  VstHost host;
  // Our own module is held to the text sizes hosts rely on; others are read
  // as a tolerant host reads them.
  const bool ours = std::filesystem::path(pluginPath).filename() == "Kestrelphon.so";
  host.SetStrictTexts(ours);
  AEffect* e = host.Open(module.Entry());
  if (e == nullptr) {
    throw std::runtime_error("\"" + pluginPath + "\" created no effect when its entry point was called");
  }
  if ((e->flags & effFlagsCanReplacing) == 0 || e->processReplacing == nullptr) {
    throw std::runtime_error("\"" + pluginPath + "\" does not offer processReplacing");
  }
  if (e->numInputs > 2 || e->numOutputs < 1 || e->numOutputs > 2) {
    throw std::runtime_error("\"" + pluginPath + "\" has " + std::to_string(e->numInputs) +
                             " inputs and " + std::to_string(e->numOutputs) +
                             " outputs; the renderer plays stereo effects");
  }
  host.SetSampleRate(static_cast<float>(rate));
  host.SetBlockSize(o.block);

  std::unique_ptr<VstHost> scratch;
  std::unique_ptr<render::ParamValueFinder> finder;
  if (!o.bank.empty() || !o.sets.empty()) {
    scratch = std::make_unique<VstHost>();
    scratch->SetStrictTexts(ours);
    if (scratch->Open(module.Entry()) == nullptr) {
      throw std::runtime_error("\"" + pluginPath + "\" refused a second instance for reading its parameters");
    }
    scratch->SetSampleRate(static_cast<float>(rate));
    scratch->SetBlockSize(o.block);
    finder = std::make_unique<render::ParamValueFinder>(*scratch);
  }
  if (!o.bank.empty()) LoadBank(host, *finder, o.bank);
  if (!o.preset.empty())
    kest::host::SelectProgram(host, o.preset, " (--list shows the programs)");
  for (const std::string& setting : o.sets) ApplySetting(host, *finder, setting);
  if (o.list) List(host);
  if (o.output.empty()) return 0;

  kest::host::Transport& t = host.Time();
  t.tempo = o.tempo;
  t.ppqPos = o.start;
  t.samplePos = 0.0;
  t.playing = true;
  t.answerTimeInfo = true;

  render::OutputFile out(o.output, static_cast<int>(rate), 2);
  const auto block = static_cast<std::size_t>(o.block);
  std::vector<float> inL(block), inR(block), outL(block), outR(block);
  float peak[2] = {0.0f, 0.0f};
  int64_t done = 0;
  bool sourceEnded = false;
  std::chrono::steady_clock::duration busy{};
  const int64_t expected = total.value_or(source->Length());
  const bool longRender = expected > static_cast<int64_t>(5.0 * rate);
  Progress progress(!o.quiet && longRender && isatty(STDERR_FILENO) == 1, expected);

  host.Resume();
  while (!total || done < *total) {
    if (gInterrupted != 0) throw std::runtime_error("interrupted");
    int64_t frames = o.block;
    if (total) frames = std::min<int64_t>(frames, *total - done);
    int64_t got = sourceEnded ? 0 : source->Read(inL.data(), inR.data(), frames);
    if (got < frames) {
      sourceEnded = true;
      if (!total) {
        frames = got;
        if (frames == 0) break;
      }
      std::fill(inL.begin() + got, inL.begin() + frames, 0.0f);
      std::fill(inR.begin() + got, inR.begin() + frames, 0.0f);
    }
    std::fill(outL.begin(), outL.end(), 0.0f);
    std::fill(outR.begin(), outR.end(), 0.0f);
    const auto begin = std::chrono::steady_clock::now();
    host.Process(inL.data(), inR.data(), outL.data(), outR.data(), static_cast<int32_t>(frames));
    busy += std::chrono::steady_clock::now() - begin;
    if (e->numOutputs == 1) std::copy(outL.begin(), outL.begin() + frames, outR.begin());
    for (int64_t i = 0; i < frames; ++i) {
      peak[0] = std::max(peak[0], std::fabs(outL[static_cast<std::size_t>(i)]));
      peak[1] = std::max(peak[1], std::fabs(outR[static_cast<std::size_t>(i)]));
    }
    out.Write(outL.data(), outR.data(), frames);
    done += frames;
    progress.Update(done);
  }
  host.Suspend();
  progress.Finish();
  out.Commit();

  if (!o.quiet) {
    const double seconds = static_cast<double>(done) / rate;
    const double spent = std::chrono::duration<double>(busy).count();
    std::printf("%s -> %s\n", source->Describe().c_str(), o.output.c_str());
    std::printf("  plug-in     %s", host.EffectName().c_str());
    if (e->numPrograms > 0) {
      std::printf(" (program %ld, \"%s\")", static_cast<long>(host.Dispatch(effGetProgram)),
                  host.ProgramName().c_str());
    }
    std::printf("\n");
    std::printf("  length      %.3f s (%lld frames at %.0f Hz, blocks of %d)\n", seconds,
                static_cast<long long>(done), rate, o.block);
    std::printf("  transport   %.2f BPM from quarter %.3f to %.3f\n", o.tempo, o.start, t.ppqPos);
    std::printf("  peak        left %s, right %s\n", Decibels(peak[0]).c_str(),
                Decibels(peak[1]).c_str());
    if (spent > 0.0) std::printf("  speed       %.1fx real time\n", seconds / spent);
  }
  return 0;
}

} // namespace

int main(int argc, char** argv) {
  std::signal(SIGINT, OnInterrupt);
  std::signal(SIGTERM, OnInterrupt);
  try {
    return Run(ParseArgs(argc, argv), argv[0]);
  } catch (const UsageError& ex) {
    std::fprintf(stderr, "kestrelphon-render: %s\n(kestrelphon-render --help shows the options)\n", ex.what());
    return 2;
  } catch (const std::exception& ex) {
    std::fprintf(stderr, "kestrelphon-render: %s\n", ex.what());
    return 1;
  }
}
