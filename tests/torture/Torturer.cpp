#include "Torturer.h"

#include <cfloat>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <limits>
#include <sstream>
#include <stdexcept>

namespace torture {

namespace {

constexpr std::size_t kMaxBlock = 8192;
constexpr std::size_t kBufferSize = 16384;
// No host request lets the plug-in write this far into a buffer.
constexpr std::size_t kWriteLimit = 1024;
// Written into the outputs before a block: a processed block must replace it.
constexpr float kSentinel = 31337.0f;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

// Opcodes whose pointer argument points at a host buffer or structure.
bool TakesBuffer(int32_t opcode) {
  switch (opcode) {
  case effSetProgramName:
  case effGetProgramName:
  case effGetParamLabel:
  case effGetParamDisplay:
  case effGetParamName:
  case effEditGetRect:
  case effGetChunk:
  case effSetChunk:
  case effProcessEvents:
  case effString2Parameter:
  case effGetProgramNameIndexed:
  case effGetInputProperties:
  case effGetOutputProperties:
  case effOfflineNotify:
  case effOfflinePrepare:
  case effOfflineRun:
  case effProcessVarIo:
  case effSetSpeakerArrangement:
  case effGetEffectName:
  case effGetErrorText:
  case effGetVendorString:
  case effGetProductString:
  case effVendorSpecific:
  case effCanDo:
  case effGetParameterProperties:
  case effGetMidiProgramName:
  case effGetCurrentMidiProgram:
  case effGetMidiProgramCategory:
  case effGetMidiKeyName:
  case effGetSpeakerArrangement:
  case effShellGetNextPlugin:
  case effBeginLoadBank:
  case effBeginLoadProgram:
    return true;
  default:
    return false;
  }
}

} // namespace

Torturer::Torturer(std::uint64_t seed)
    : fSeed(seed), fRng(seed), fNoise(Noise(kMaxBlock, static_cast<std::uint32_t>(seed) | 1u)),
      fL(kMaxBlock + 1), fR(kMaxBlock + 1), fBuffer(kBufferSize), fValueBuffer(kBufferSize) {
  fInstance = std::make_unique<Instance>(44100.0f, 512);
}

void Torturer::Note(const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  std::vsnprintf(fLog[fNext].data(), fLog[fNext].size(), format, args);
  va_end(args);
  fNext = (fNext + 1) % fLog.size();
}

std::string Torturer::Fail(long n, const std::string& what) const {
  std::ostringstream s;
  s << what << "\n  at operation " << n << " of " << SeedText(fSeed) << "\n  last operations:";
  for (std::size_t i = 0; i < fLog.size(); ++i) {
    const auto& line = fLog[(fNext + i) % fLog.size()];
    if (line[0] != '\0') s << "\n    " << line.data();
  }
  return s.str();
}

std::string Torturer::Run(long operations) {
  for (long n = 0; n < operations; ++n, ++fCount) {
    std::string failure;
    try {
      failure = RandomOperation();
    } catch (const std::exception& e) {
      failure = std::string("exception: ") + e.what();
    }
    if (!failure.empty()) return Fail(fCount, failure);
  }
  return {};
}

std::string Torturer::RandomOperation() {
  const int r = Pick(1000);
  if (r < 300) return ProcessBlock();
  if (r < 500) return SetParameter();
  if (r < 530) return ReadBack();
  if (r < 580) return Texts();
  if (r < 650) return Program();
  if (r < 700) return Rate();
  if (r < 800) return Transport();
  if (r < 995) return Dispatch(static_cast<int32_t>(Pick(101)));
  return Reopen();
}

// ---- Random arguments ----

float Torturer::AnyFloat() {
  static constexpr float kOdd[] = {
      kNaN, -kNaN, kInf, -kInf, FLT_MAX, -FLT_MAX, FLT_MIN, 1e-42f,      -1e-42f,    -0.0f,
      0.5f, 1.0f,  0.0f, 1.5f,  -0.2f,   1e30f,    -1e30f,  0.49999997f, 0.50000006f};
  const int r = Pick(100);
  if (r < 50) return std::uniform_real_distribution<float>(0.0f, 1.0f)(fRng);
  if (r < 70) return std::uniform_real_distribution<float>(-2.0f, 3.0f)(fRng);
  return kOdd[Pick(static_cast<int>(std::size(kOdd)))];
}

float Torturer::AnyRate() {
  static constexpr float kGood[] = {8000.0f,   11025.0f, 22050.0f,  44100.0f,  48000.0f,
                                    88200.0f,  96000.0f, 192000.0f, 384000.0f, 1000.0f,
                                    768000.0f, 44100.5f, 1234.5f};
  static constexpr float kOdd[] = {0.0f,      -44100.0f, kNaN,    kInf,   -kInf, 999.9f,
                                   768001.0f, 1e9f,      FLT_MAX, 1e-42f, -0.0f, 1.0f};
  if (Chance(75)) return kGood[Pick(static_cast<int>(std::size(kGood)))];
  return kOdd[Pick(static_cast<int>(std::size(kOdd)))];
}

double Torturer::AnyPosition() {
  static constexpr double kOdd[] = {DBL_MAX,
                                    -DBL_MAX,
                                    1e300,
                                    -1e300,
                                    std::numeric_limits<double>::quiet_NaN(),
                                    std::numeric_limits<double>::infinity(),
                                    -std::numeric_limits<double>::infinity(),
                                    9007199254740992.0,
                                    -9007199254740993.0,
                                    4.9e-324,
                                    -4.9e-324,
                                    -0.0,
                                    1e15,
                                    -1e15,
                                    4503599627370495.75,
                                    -0.0625,
                                    3.9999999999999996};
  const int r = Pick(100);
  if (r < 50) return std::uniform_real_distribution<double>(0.0, 64.0)(fRng);
  if (r < 70) return std::uniform_real_distribution<double>(-64.0, 0.0)(fRng);
  return kOdd[Pick(static_cast<int>(std::size(kOdd)))];
}

int32_t Torturer::AnyIndex() {
  static constexpr int32_t kOdd[] = {-1, -2, 108, 109, 1000, INT32_MIN, INT32_MAX, 32, 33};
  if (Chance(85)) return static_cast<int32_t>(Pick(kNumParams));
  return kOdd[Pick(static_cast<int>(std::size(kOdd)))];
}

intptr_t Torturer::AnyValue() {
  const int r = Pick(100);
  if (r < 60) return Pick(40);
  if (r < 70) return -1 - Pick(3);
  if (r < 75) return INT32_MAX;
  if (r < 80) return INT32_MIN;
  if (r < 85) return (static_cast<intptr_t>(1) << 32) + Pick(32);
  return static_cast<intptr_t>(fRng());
}

// ---- Operations ----

std::string Torturer::ProcessBlock() {
  static constexpr int kSizes[] = {0, 1, 2, 31, 32, 64, 256, 1000, 4096, 8192};
  const int frames =
      Chance(70) ? kSizes[Pick(static_cast<int>(std::size(kSizes)))] : 1 + Pick(2048);
  const bool accumulating = Chance(15);
  Note("%s %d frames", accumulating ? "process (accumulating)" : "processReplacing", frames);
  std::fill(fL.begin(), fL.end(), kSentinel);
  std::fill(fR.begin(), fR.end(), kSentinel);
  Instance& p = *fInstance;
  if (accumulating) {
    p.host.ProcessAccumulating(fNoise.data(), fNoise.data(), fL.data(), fR.data(), frames);
  } else {
    p.host.Process(fNoise.data(), fNoise.data(), fL.data(), fR.data(), frames);
  }
  const auto n = static_cast<std::size_t>(frames);
  if (fL[n] != kSentinel || fR[n] != kSentinel) return "a block wrote past its last frame";
  std::string bad = BadSample(fL.data(), n);
  if (bad.empty()) bad = BadSample(fR.data(), n);
  return bad.empty() ? bad : "output: " + bad;
}

std::string Torturer::SetParameter() {
  const int32_t index = AnyIndex();
  const float value = AnyFloat();
  Note("setParameter(%d, %g)", index, static_cast<double>(value));
  fInstance->host.SetParameter(index, value);
  return {};
}

std::string Torturer::ReadBack() {
  for (int i = 0; i < kNumParams; ++i) {
    const float v = fInstance->host.GetParameter(i);
    if (!(v >= 0.0f && v <= 1.0f)) {
      return "getParameter(" + std::to_string(i) + ") answered " + std::to_string(v) +
             ", outside 0 .. 1";
    }
  }
  const intptr_t program = fInstance->host.Dispatch(effGetProgram);
  if (program < 0 || program >= kNumPrograms)
    return "effGetProgram answered " + std::to_string(program);
  Note("read back every parameter and the program");
  return {};
}

std::string Torturer::Texts() {
  // The harness throws when a text overruns the size hosts give.
  kest::host::VstHost& h = fInstance->host;
  const int32_t index = AnyIndex();
  Note("texts of parameter %d and program %d", index, index);
  h.ParamName(index);
  h.ParamLabel(index);
  h.ParamDisplay(index);
  h.ProgramName();
  if (index >= 0 && index < kNumPrograms) {
    h.ProgramNameIndexed(index);
  } else {
    // No such program: the answer is false and the buffer is left alone.
    std::fill(fBuffer.begin(), fBuffer.end(), 0);
    if (h.Dispatch(effGetProgramNameIndexed, index, -1, fBuffer.data()) != 0) {
      return "effGetProgramNameIndexed answered true for program " + std::to_string(index);
    }
  }
  return {};
}

std::string Torturer::Program() {
  kest::host::VstHost& h = fInstance->host;
  const intptr_t program = Chance(85) ? Pick(kNumPrograms) : AnyValue();
  const bool bracketed = Chance(50);
  Note("effSetProgram %lld%s", static_cast<long long>(program),
       bracketed ? " inside begin/end" : "");
  if (bracketed) h.Dispatch(effBeginSetProgram);
  h.Dispatch(effSetProgram, 0, program);
  if (bracketed) h.Dispatch(effEndSetProgram);
  return {};
}

std::string Torturer::Rate() {
  kest::host::VstHost& h = fInstance->host;
  const float rate = AnyRate();
  const int how = Pick(4);
  Note("rate %g (%s)", static_cast<double>(rate),
       how == 0   ? "suspended"
       : how == 1 ? "while resumed"
       : how == 2 ? "with block size"
                  : "block size only");
  switch (how) {
  case 0:
    h.Suspend();
    h.SetSampleRate(rate);
    h.Resume();
    break;
  case 1:
    h.SetSampleRate(rate);
    break;
  case 2:
    h.Dispatch(effSetBlockSizeAndSampleRate, 0, 1 + Pick(8192), nullptr, rate);
    break;
  default:
    h.SetBlockSize(static_cast<int32_t>(AnyValue()));
    break;
  }
  return {};
}

std::string Torturer::Transport() {
  kest::host::VstHost& h = fInstance->host;
  kest::host::Transport& t = h.Time();
  static constexpr double kTempi[] = {120.0, 60.0, 240.0, 999.0, 1.0, 0.0, -120.0, 1e9, 1e-6};
  switch (Pick(8)) {
  case 0:
    t.ppqPos = AnyPosition();
    Note("transport jumps to %.17g", t.ppqPos);
    break;
  case 1:
    t.ppqPos = std::floor(t.ppqPos / 4.0) * 4.0 - 4.0 * Pick(3);
    Note("transport loops back to %.17g", t.ppqPos);
    break;
  case 2:
    t.playing = !t.playing;
    Note("transport %s", t.playing ? "plays" : "stands still");
    break;
  case 3:
    t.tempo = Chance(80) ? kTempi[Pick(static_cast<int>(std::size(kTempi)))]
                         : std::numeric_limits<double>::quiet_NaN();
    Note("tempo %g", t.tempo);
    break;
  case 4:
    t.answerTimeInfo = !t.answerTimeInfo;
    Note("host %s time information", t.answerTimeInfo ? "answers" : "answers no");
    break;
  case 5:
    Note("suspend");
    h.Suspend();
    break;
  default:
    Note("resume");
    h.Resume();
    break;
  }
  return {};
}

std::string Torturer::Reopen() {
  Note("close and open again");
  fInstance = std::make_unique<Instance>(AnyRate(), 1 + Pick(8192));
  return {};
}

std::string Torturer::Dispatch(int32_t opcode) {
  kest::host::VstHost& h = fInstance->host;
  if (opcode == effClose) return Reopen();
  const int32_t index = Chance(50) ? static_cast<int32_t>(Pick(40)) : AnyIndex();
  intptr_t value = AnyValue();
  float opt =
      opcode == effSetSampleRate || opcode == effSetBlockSizeAndSampleRate ? AnyRate() : AnyFloat();
  void* ptr = nullptr;
  const bool buffer = TakesBuffer(opcode);
  if (buffer ? Chance(90) : Chance(10)) ptr = fBuffer.data();
  if (opcode == effEditOpen) ptr = nullptr; // a parent window needs a window system
  if (opcode == effSetSpeakerArrangement || opcode == effGetSpeakerArrangement) {
    // The value carries a pointer here too.
    value = Chance(90) ? reinterpret_cast<intptr_t>(fValueBuffer.data()) : 0;
  }
  if (opcode == effSetChunk) value = Pick(static_cast<int>(kBufferSize));
  std::fill(fBuffer.begin(), fBuffer.end(), 0);
  std::fill(fValueBuffer.begin(), fValueBuffer.end(), 0);
  Note("dispatcher(%d, %d, %lld, %s, %g)", opcode, index, static_cast<long long>(value),
       ptr != nullptr ? "buffer" : "null", static_cast<double>(opt));
  h.Dispatch(opcode, index, value, ptr, opt);
  for (const auto* b : {&fBuffer, &fValueBuffer}) {
    for (std::size_t i = kWriteLimit; i < kBufferSize; ++i) {
      if ((*b)[i] != 0) {
        return "opcode " + std::to_string(opcode) + " wrote byte " + std::to_string(i) +
               " of a host buffer";
      }
    }
  }
  return {};
}

} // namespace torture
