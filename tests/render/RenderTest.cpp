// kestrelphon-render end to end: runs the built tool on files written here and
// checks the audio it writes against values worked out from the parameter
// ranges and the mixing rule, not from the tool's code.
#include <gtest/gtest.h>
#include <sndfile.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct RunResult {
  int code = -1;
  std::string out;
  std::string err;
};

std::string Slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

struct Audio {
  int rate = 0;
  int channels = 0;
  std::vector<float> samples; // interleaved
  int64_t Frames() const { return channels == 0 ? 0 : static_cast<int64_t>(samples.size()) / channels; }
  float At(int64_t frame, int channel) const {
    return samples[static_cast<std::size_t>(frame * channels + channel)];
  }
};

void WriteAudio(const fs::path& path, int rate, int channels, const std::vector<float>& samples) {
  SF_INFO info{};
  info.samplerate = rate;
  info.channels = channels;
  info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
  SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
  ASSERT_NE(f, nullptr) << sf_strerror(nullptr);
  sf_writef_float(f, samples.data(), static_cast<sf_count_t>(samples.size()) / channels);
  sf_close(f);
}

Audio ReadAudio(const fs::path& path) {
  SF_INFO info{};
  SNDFILE* f = sf_open(path.c_str(), SFM_READ, &info);
  Audio a;
  if (f == nullptr) return a;
  a.rate = info.samplerate;
  a.channels = info.channels;
  a.samples.resize(static_cast<std::size_t>(info.frames * info.channels));
  sf_readf_float(f, a.samples.data(), info.frames);
  sf_close(f);
  return a;
}

// Deterministic noise in -0.5 .. 0.5 so each test knows its input exactly.
std::vector<float> Noise(int64_t count, uint32_t seed) {
  std::vector<float> v(static_cast<std::size_t>(count));
  for (float& x : v) {
    seed = seed * 1103515245u + 12345u;
    x = static_cast<float>((seed >> 8) / 16777216.0 - 0.5);
  }
  return v;
}

class Render : public ::testing::Test {
protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "kest-render-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    fDir = pattern;
  }
  void TearDown() override { fs::remove_all(fDir); }

  fs::path Path(const std::string& name) const { return fDir / name; }

  // foreign: a third-party module is loaded, whose own leaks (reported when the
  // tests run under AddressSanitizer) are not ours to judge.
  RunResult Run(const std::vector<std::string>& args, bool foreign = false) const {
    const fs::path outFile = fDir / ".stdout";
    const fs::path errFile = fDir / ".stderr";
    const pid_t pid = fork();
    if (pid == 0) {
      if (!freopen(outFile.c_str(), "w", stdout) || !freopen(errFile.c_str(), "w", stderr)) _exit(127);
      if (foreign) {
        const char* asan = std::getenv("ASAN_OPTIONS");
        setenv("ASAN_OPTIONS", (std::string(asan ? asan : "") + ":detect_leaks=0").c_str(), 1);
      }
      std::vector<char*> argv;
      argv.push_back(const_cast<char*>(KEST_RENDER));
      for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
      argv.push_back(nullptr);
      execv(KEST_RENDER, argv.data());
      _exit(127);
    }
    RunResult r;
    int status = 0;
    waitpid(pid, &status, 0);
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    r.out = Slurp(outFile);
    r.err = Slurp(errFile);
    fs::remove(outFile);
    fs::remove(errFile);
    return r;
  }

  // Runs and expects success with the named output written.
  Audio RenderOk(std::vector<std::string> args, const std::string& name, bool foreign = false) const {
    args.push_back("-o");
    args.push_back(Path(name).string());
    const RunResult r = Run(args, foreign);
    EXPECT_EQ(r.code, 0) << r.err;
    return ReadAudio(Path(name));
  }

  // Everything in the folder but the given inputs: what a failed run left.
  std::vector<std::string> Leftovers(const std::vector<std::string>& keep) const {
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(fDir)) {
      const std::string name = entry.path().filename().string();
      if (std::find(keep.begin(), keep.end(), name) == keep.end()) left.push_back(name);
    }
    return left;
  }

  // Stereo noise, different on each side.
  fs::path StereoNoise(const std::string& name, int rate, double seconds) const {
    const auto frames = static_cast<int64_t>(seconds * rate);
    const auto l = Noise(frames, 1);
    const auto r = Noise(frames, 2);
    std::vector<float> s;
    for (int64_t i = 0; i < frames; ++i) {
      s.push_back(l[static_cast<std::size_t>(i)]);
      s.push_back(r[static_cast<std::size_t>(i)]);
    }
    WriteAudio(Path(name), rate, 2, s);
    return Path(name);
  }

  fs::path fDir;
};

std::vector<std::string> AllStepsOff() {
  std::vector<std::string> args;
  for (const char* ch : {"A", "B", "C"}) {
    for (int k = 1; k <= 16; ++k) {
      args.push_back("--set");
      args.push_back(std::string("Step ") + ch + std::to_string(k) + "=off");
    }
  }
  return args;
}

// The largest deviation of out from gain x in over the frames from..to.
double MaxDeviation(const Audio& out, const Audio& in, double gain, int64_t from, int64_t to) {
  double worst = 0.0;
  for (int64_t i = from; i < to; ++i) {
    for (int c = 0; c < out.channels; ++c) {
      const double x = in.At(i, in.channels == 1 ? 0 : c);
      worst = std::max(worst, std::fabs(out.At(i, c) - gain * x));
    }
  }
  return worst;
}

// With no step sounding the dry path alone remains: three times the output
// gain, that is 0.75 x 10^(dB/20); at the bottom of the range, nothing at all.
TEST_F(Render, DryPathFollowsLevelOnceTheGatesSettle) {
  const fs::path input = StereoNoise("in.wav", 44100, 0.3);
  const Audio in = ReadAudio(input);
  const int64_t settled = 44100 * 40 / 1000; // the 3 ms gates, ~13 time constants
  for (double db : {0.0, -20.0, 6.0, -60.0}) {
    std::vector<std::string> args = AllStepsOff();
    args.insert(args.end(), {"-i", input.string(), "--set", "Level=" + std::to_string(db)});
    const Audio out = RenderOk(args, "out.wav");
    ASSERT_EQ(out.Frames(), in.Frames());
    ASSERT_EQ(out.channels, 2);
    const double gain = db == -60.0 ? 0.0 : 0.75 * std::pow(10.0, db / 20.0);
    EXPECT_LT(MaxDeviation(out, in, gain, settled, in.Frames()), 2e-5 * std::max(gain, 0.01))
        << "Level " << db;
    if (db == -60.0) {
      for (float s : out.samples) ASSERT_EQ(s, 0.0f) << "Level -60 dB must silence everything";
    }
  }
}

TEST_F(Render, LevelAtItsMinimumSilencesThePresetToo) {
  const Audio loud = RenderOk({"--signal", "drums", "--length", "1"}, "loud.wav");
  float peak = 0.0f;
  for (float s : loud.samples) peak = std::max(peak, std::fabs(s));
  EXPECT_GT(peak, 0.05f);
  const Audio quiet = RenderOk({"--signal", "drums", "--length", "1", "--set", "Level=-60"}, "q.wav");
  ASSERT_EQ(quiet.Frames(), 44100);
  for (float s : quiet.samples) ASSERT_EQ(s, 0.0f);
}

TEST_F(Render, MonoInputFeedsBothSidesAtTheFilesRate) {
  const auto mono = Noise(48000 / 4, 7);
  WriteAudio(Path("mono.wav"), 48000, 1, mono);
  const Audio in = ReadAudio(Path("mono.wav"));
  std::vector<std::string> args = AllStepsOff();
  args.insert(args.end(), {"-i", Path("mono.wav").string(), "--length", "0.5"});
  const Audio out = RenderOk(args, "out.wav");
  EXPECT_EQ(out.rate, 48000);
  ASSERT_EQ(out.Frames(), 24000); // the tail past the file is rendered from silence
  const int64_t settled = 48000 * 40 / 1000;
  EXPECT_LT(MaxDeviation(out, in, 0.75, settled, in.Frames()), 2e-5);
  for (int64_t i = in.Frames() + settled; i < out.Frames(); ++i) {
    ASSERT_LT(std::fabs(out.At(i, 0)), 1e-5f);
  }
}

// One step on (A5, the sixteenth that spans quarters 1.0 .. 1.25): the comb
// replaces the dry signal exactly while the transport is in that step.
TEST_F(Render, StepFollowsTempoAndStartPosition) {
  const int rate = 44100;
  const fs::path input = StereoNoise("in.wav", rate, 1.2);
  const Audio in = ReadAudio(input);
  struct Case {
    double tempo;
    double start;
  };
  for (const Case c : {Case{120, 0.5}, Case{90, 0.5}, Case{120, -0.5}}) {
    std::vector<std::string> args = AllStepsOff();
    args.insert(args.end(), {"-i", input.string(), "--set", "Step A5=on", "--set", "Ch. B=off",
                             "--set", "Ch. C=off", "--tempo", std::to_string(c.tempo), "--start",
                             std::to_string(c.start), "--block", "64"});
    const Audio out = RenderOk(args, "out.wav");
    ASSERT_EQ(out.Frames(), in.Frames());
    const double secondsPerQuarter = 60.0 / c.tempo;
    const auto frameAt = [&](double quarter) {
      return static_cast<int64_t>((quarter - c.start) * secondsPerQuarter * rate);
    };
    const int64_t on = frameAt(1.0);
    const int64_t off = frameAt(1.25);
    const int64_t margin = rate * 40 / 1000;
    SCOPED_TRACE("tempo " + std::to_string(c.tempo) + ", start " + std::to_string(c.start));
    EXPECT_LT(MaxDeviation(out, in, 0.75, margin, on - 100), 2e-5);
    EXPECT_LT(MaxDeviation(out, in, 0.75, off + margin, in.Frames()), 2e-5);
    double diff = 0.0;
    double dry = 0.0;
    for (int64_t i = on + margin / 4; i < off - 100; ++i) {
      diff += std::fabs(out.At(i, 0) - 0.75 * in.At(i, 0));
      dry += std::fabs(0.75 * in.At(i, 0));
    }
    EXPECT_GT(diff, 0.3 * dry) << "the comb should sound during step A5";
  }
}

// Values given in each parameter's own unit arrive as the plug-in shows them;
// continuous ones land on the exact normalised value.
TEST_F(Render, SetTakesValuesInTheParametersOwnUnits) {
  struct Case {
    const char* set;
    const char* name;
    const char* shown;
    double normalised; // < 0: not checked (stepped values sit mid-interval)
  };
  const Case cases[] = {
      {"Depth=80", "Depth", "80.0", 0.8},
      {"Level=-20", "Level", "-20.0", 40.0 / 66.0},
      {"Level=-60", "Level", "-60.0", 0.0},
      {"Glide=100", "Glide", "100.0", 1.0},
      {"Detune=12.5", "Detune", "12.5", -1},
      {"Note A1=C#6", "Note A1", "C#6", -1},
      {"Note A2=61", "Note A2", "C#5", -1},
      {"note c16=Db3", "Note C16", "C#3", -1},
      {"Step B3=off", "Step B3", "off", -1},
      {"Random style #=144", "Random style #", "144", -1},
      {"Random style #=303", "Random style #", "303", 1.0},
      {"Auto random=3", "Auto random", "Each 3-th bar", -1},
      {"Auto random=each 8-th bar", "Auto random", "Each 8-th bar", -1},
      {"Random range=1", "Random range", "1", 0.0},
  };
  std::vector<std::string> args = {"--list"};
  for (const Case& c : cases) {
    args.push_back("--set");
    args.push_back(c.set);
  }
  const RunResult r = Run(args);
  ASSERT_EQ(r.code, 0) << r.err;
  std::istringstream lines(r.out);
  std::map<std::string, std::pair<std::string, double>> shown;
  for (std::string line; std::getline(lines, line);) {
    // "  index  name  display  label  (normalised)": names and displays may hold
    // blanks, so split on the fixed columns the listing uses.
    if (line.size() < 52 || line.rfind("  ", 0) != 0 || line.back() != ')') continue;
    const auto trim = [](std::string s) {
      while (!s.empty() && s.back() == ' ') s.pop_back();
      return s;
    };
    const std::string name = trim(line.substr(7, 18));
    const std::string display = trim(line.substr(26, 16));
    const double x = std::stod(line.substr(line.rfind('(') + 1));
    shown[name] = {display, x};
  }
  ASSERT_EQ(shown.size(), 108u) << r.out;
  for (const Case& c : cases) {
    // Later settings of the same parameter win.
    const bool last = std::none_of(&c + 1, std::end(cases), [&](const Case& o) {
      return std::string(o.name) == c.name;
    });
    if (!last) continue;
    EXPECT_EQ(shown[c.name].first, c.shown) << c.set;
    if (c.normalised >= 0) {
      EXPECT_NEAR(shown[c.name].second, c.normalised, 1e-6) << c.set;
    }
  }
}

TEST_F(Render, PresetByNameOrNumberSelectsThatProgram) {
  for (const char* wanted : {"Octave flanger", "octave FLANGER", "1"}) {
    const RunResult r = Run({"--preset", wanted, "--list"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("*   1  Octave flanger"), std::string::npos) << wanted << "\n" << r.out;
    // The second preset of the default bank plays around C6.
    EXPECT_NE(r.out.find("Random root note   C6"), std::string::npos) << wanted;
  }
  const Audio byName = RenderOk({"--preset", "Octave flanger", "--length", "1"}, "a.wav");
  const Audio byNumber = RenderOk({"--preset", "1", "--length", "1"}, "b.wav");
  const Audio first = RenderOk({"--preset", "Hyper flanger", "--length", "1"}, "c.wav");
  EXPECT_EQ(byName.samples, byNumber.samples);
  EXPECT_NE(byName.samples, first.samples);
}

// A bank file built byte by byte from the format, loaded as a user would,
// replaces the 32 programs.
TEST_F(Render, BankFileReplacesThePrograms) {
  std::string bytes = "\xA4KST";
  bytes += '\x01';
  const auto put32 = [&](int32_t v) { bytes.append(reinterpret_cast<const char*>(&v), 4); };
  const auto putDouble = [&](double v) { bytes.append(reinterpret_cast<const char*>(&v), 8); };
  put32(32);
  put32(0); // the size, patched below
  for (int p = 0; p < 32; ++p) {
    const std::string name = p == 5 ? "Quiet one" : p == 7 ? "Odd one" : "Bank preset " + std::to_string(p);
    bytes += static_cast<char>(name.size());
    bytes += name;
    putDouble(p == 5 ? -60.0 : 0.0);  // Level
    putDouble(p == 7 ? 33.3 : 50.0);  // Depth
    putDouble(0.0);                    // Glide
    putDouble(p == 7 ? 7.5 : 0.0);    // Detune
    for (int i = 4; i <= 104; ++i) {
      unsigned char v = 1;
      if (i == 5 || i == 6 || i == 103) v = 0;
      if ((i >= 23 && i <= 38) || (i >= 55 && i <= 70) || (i >= 87 && i <= 102) || i == 104) v = 60;
      if (p == 7 && i == 23) v = 70;
      bytes += static_cast<char>(v);
    }
    put32(3);                  // Random range
    put32(p == 7 ? 200 : 132); // Random style #
    bytes += static_cast<char>(p == 7 ? 4 : 0); // Auto random
  }
  const auto size = static_cast<int32_t>(bytes.size());
  std::memcpy(bytes.data() + 9, &size, 4);
  std::ofstream(Path("my.kst"), std::ios::binary) << bytes;

  RunResult r = Run({"--bank", Path("my.kst").string(), "--preset", "Odd one", "--list"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find("    5  Quiet one"), std::string::npos);
  EXPECT_NE(r.out.find("*   7  Odd one"), std::string::npos);
  for (const char* row : {"Depth              33.3", "Detune             7.5", "Note A1            A#5",
                          "Note A2            C5", "Random style #     200",
                          "Auto random        Each 4-th bar", "Ch. B              off"}) {
    EXPECT_NE(r.out.find(row), std::string::npos) << row;
  }
  const Audio quiet =
      RenderOk({"--bank", Path("my.kst").string(), "--preset", "Quiet one", "--length", "0.5"}, "q.wav");
  ASSERT_EQ(quiet.Frames(), 22050);
  for (float s : quiet.samples) ASSERT_EQ(s, 0.0f);

  // Damaged copies are refused whole.
  std::ofstream(Path("short.kst"), std::ios::binary) << bytes.substr(0, bytes.size() - 1);
  std::string wrongSize = bytes;
  wrongSize[9] = static_cast<char>(wrongSize[9] + 1);
  std::ofstream(Path("size.kst"), std::ios::binary) << wrongSize;
  for (const char* bad : {"short.kst", "size.kst"}) {
    r = Run({"--bank", Path(bad).string(), "-o", Path("x.wav").string()});
    EXPECT_EQ(r.code, 1) << bad;
    EXPECT_NE(r.err.find(bad), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(Path("x.wav")));
  }
}

// Every refusal names the problem, exits non-zero and leaves no file behind.
TEST_F(Render, BadRequestsFailCleanly) {
  StereoNoise("in.wav", 44100, 0.1);
  std::ofstream(Path("text.wav")) << "this is not audio\n";
  const std::string out = Path("out.wav").string();
  struct Case {
    std::vector<std::string> args;
    const char* message;
  };
  const std::vector<Case> cases = {
      {{"--frobnicate", out}, "unknown option --frobnicate"},
      {{}, "no output file"},
      {{"--tempo", "fast", out}, "--tempo takes a number"},
      {{"--tempo", "0", out}, "--tempo must be above 0"},
      {{"--block", "0", out}, "--block"},
      {{"--rate", "100", out}, "--rate"},
      {{"--length", "-1", out}, "--length"},
      {{"--signal", "whistle", out}, "unknown signal"},
      {{"-i", Path("missing.wav").string(), out}, "missing.wav"},
      {{"-i", Path("text.wav").string(), out}, "text.wav"},
      {{"-i", Path("in.wav").string(), "--rate", "48000", out}, "does not resample"},
      {{"--preset", "No such preset", out}, "unknown preset \"No such preset\""},
      {{"--preset", "32", out}, "no program 32"},
      {{"--set", "Bogus=1", out}, "unknown parameter \"Bogus\""},
      {{"--set", "Depth", out}, "NAME=VALUE"},
      {{"--set", "Depth=150", out}, "outside the range 0.0 to 100.0"},
      {{"--set", "Depth=loud", out}, "not a number"},
      {{"--set", "Level=-61", out}, "outside the range"},
      {{"--set", "Detune=12.3", out}, "nearest: 12.5"},
      {{"--set", "Step B3=maybe", out}, "neither on nor off"},
      {{"--set", "Note A1=H5", out}, "note name"},
      {{"--set", "Note A1=200", out}, "outside the range"},
      {{"--set", "Auto random=9", out}, "not one of"},
      {{"--plugin", Path("text.wav").string(), out}, "cannot load"},
      {{"--plugin", KEST_NOT_A_PLUGIN, out}, "not a VST 2.4 plug-in"},
      {{"--bank", Path("text.wav").string(), out}, "unsupported format"},
      {{Path("out.mp3").string()}, "unknown audio extension"},
  };
  for (const Case& c : cases) {
    const RunResult r = Run(c.args);
    std::string joined;
    for (const auto& a : c.args) joined += a + " ";
    EXPECT_NE(r.code, 0) << joined;
    EXPECT_LT(r.code, 128) << "crashed: " << joined;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << joined << "\n" << r.err;
    EXPECT_EQ(Leftovers({"in.wav", "text.wav"}), std::vector<std::string>{}) << joined;
  }
  // A file already there is left as it was by a failed render.
  std::ofstream(Path("keep.wav")) << "old";
  EXPECT_EQ(Run({"--set", "Depth=150", Path("keep.wav").string()}).code, 1);
  EXPECT_EQ(Slurp(Path("keep.wav")), "old");
}

TEST_F(Render, InterruptedRenderLeavesNoFile) {
  const pid_t pid = fork();
  if (pid == 0) {
    if (!freopen("/dev/null", "w", stdout) || !freopen("/dev/null", "w", stderr)) _exit(127);
    const std::string out = Path("long.wav").string();
    execl(KEST_RENDER, KEST_RENDER, "--length", "3600", "--block", "4096", out.c_str(),
          static_cast<char*>(nullptr));
    _exit(127);
  }
  // Wait until samples are being written, then stop it as Ctrl-C would.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  bool writing = false;
  while (!writing && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    for (const auto& entry : fs::directory_iterator(fDir)) {
      writing = writing || (entry.path().filename().string().find("partial") != std::string::npos &&
                            entry.file_size() > 1000000);
    }
  }
  EXPECT_TRUE(writing);
  kill(pid, SIGINT);
  int status = 0;
  waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_EQ(Leftovers({}), std::vector<std::string>{});
}

TEST_F(Render, OtherVstModulesRenderToo) {
  const char* third = "/usr/lib/vst/lsp-plugins/comp-delay-stereo.so";
  if (!fs::exists(third)) GTEST_SKIP() << "lsp-plugins-vst is not installed";
  const fs::path input = StereoNoise("in.wav", 44100, 0.2);
  const Audio in = ReadAudio(input);
  const Audio out = RenderOk({"--plugin", third, "-i", input.string()}, "out.wav", true);
  ASSERT_EQ(out.Frames(), in.Frames());
  // Its defaults: dry muted (-inf dB), wet at 0 dB with no delay.
  EXPECT_LT(MaxDeviation(out, in, 1.0, 0, in.Frames()), 1e-4);
  const RunResult r =
      Run({"--plugin", third, "--bank", Path("x.kst").string(), Path("o.wav").string()}, true);
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("loads Kestrelphon banks"), std::string::npos) << r.err;
}

} // namespace
