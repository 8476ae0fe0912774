// What a host finds when it opens the module, and its text and program answers.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include "ModuleFixture.h"

namespace {

TEST_F(ModuleTest, RecordAsTheHostFindsIt) {
  EXPECT_EQ(e->magic, kEffectMagic);
  EXPECT_EQ(e->numPrograms, 32);
  EXPECT_EQ(e->numParams, 108);
  EXPECT_EQ(e->numInputs, 2);
  EXPECT_EQ(e->numOutputs, 2);
  EXPECT_TRUE(e->flags & effFlagsCanReplacing);
  EXPECT_TRUE(e->flags & effFlagsCanMono);
  EXPECT_FALSE(e->flags & effFlagsProgramChunks);
  EXPECT_FALSE(e->flags & effFlagsIsSynth);
  EXPECT_EQ(e->uniqueID, VstFourCC('K', 'E', 'S', 'T'));
  EXPECT_EQ(e->version, 1);
  EXPECT_EQ(e->initialDelay, 0);
  EXPECT_EQ(host.EffectName(), "Kestrelphon");
  EXPECT_EQ(host.ProductString(), "Kestrelphon");
  EXPECT_EQ(host.VendorString(), "Grauwick");
  EXPECT_EQ(host.Dispatch(effGetVendorVersion), 1);
  EXPECT_EQ(host.Dispatch(effGetVstVersion), 2400);
  EXPECT_EQ(host.Dispatch(effGetPlugCategory), 0);
  EXPECT_EQ(host.Dispatch(effGetVu), 0);
  EXPECT_EQ(host.Dispatch(effIdentify), VstFourCC('N', 'v', 'E', 'f'));
}

TEST_F(ModuleTest, ProgramsHaveNamesAndSwitch) {
  EXPECT_EQ(host.ProgramName(), "Hyper flanger");
  EXPECT_EQ(host.ProgramNameIndexed(31), "Pengan");
  EXPECT_EQ(host.ProgramNameIndexed(6), "Quil's");
  host.Dispatch(effSetProgram, 0, 7);
  EXPECT_EQ(host.Dispatch(effGetProgram), 7);
  EXPECT_EQ(host.ProgramName(), "Sueta");
  EXPECT_EQ(host.ParamDisplay(71), "on");  // Step C1
  EXPECT_EQ(host.ParamDisplay(72), "off"); // Step C2
  host.Dispatch(effSetProgram, 0, 32);
  host.Dispatch(effSetProgram, 0, -1);
  EXPECT_EQ(host.Dispatch(effGetProgram), 7);
  char name[64] = "My preset";
  host.Dispatch(effSetProgramName, 0, 0, name);
  EXPECT_EQ(host.ProgramName(), "My preset");
  EXPECT_EQ(host.ProgramNameIndexed(7), "My preset");
  char untouched[64] = "keep";
  EXPECT_EQ(host.Dispatch(effGetProgramNameIndexed, 40, 0, untouched), 0);
  EXPECT_STREQ(untouched, "keep");
}

// Reads a text into a buffer of the size a host hands over, with a guard
// behind it: the text must end within the buffer and nothing may be written
// past it.
std::string HostText(kest::host::VstHost& host, int32_t opcode, int32_t index, std::size_t size) {
  std::vector<char> buffer(size + 256, 0x7F);
  host.Dispatch(opcode, index, opcode == effGetProgramNameIndexed ? -1 : 0, buffer.data());
  for (std::size_t i = size; i < buffer.size(); ++i) {
    if (buffer[i] != 0x7F) {
      ADD_FAILURE() << "opcode " << opcode << " wrote past a buffer of " << size << " bytes";
      break;
    }
  }
  const void* zero = std::memchr(buffer.data(), 0, size);
  if (zero == nullptr) {
    ADD_FAILURE() << "opcode " << opcode << " left its text unterminated in " << size << " bytes";
    return {};
  }
  return std::string(buffer.data(), static_cast<const char*>(zero) - buffer.data());
}

// The buffers hosts pass: the published limits (characters plus the zero)
// and the larger ones real hosts use. Parameter names and displays here are
// longer than the published eight characters, as with most plug-ins; hosts
// give them 64 bytes or more.
struct TextRequest {
  int32_t opcode;
  std::size_t smallest;
};
constexpr TextRequest kRequests[] = {
    {effGetParamName, 64},        {effGetParamDisplay, 64},           {effGetParamLabel, 8 + 1},
    {effGetProgramName, 24 + 1},  {effGetProgramNameIndexed, 24 + 1}, {effGetEffectName, 32 + 1},
    {effGetVendorString, 64 + 1}, {effGetProductString, 64 + 1},
};

TEST_F(ModuleTest, EveryTextFitsTheBuffersHostsPass) {
  char longName[] = "A program name far longer than hosts show";
  host.Dispatch(effSetProgram, 0, 5);
  host.Dispatch(effSetProgramName, 0, 0, longName);
  host.SetParameter(107, 1.0f);
  for (const TextRequest& r : kRequests) {
    const bool perParameter = r.opcode == effGetParamName || r.opcode == effGetParamDisplay ||
                              r.opcode == effGetParamLabel;
    const int count = perParameter ? 108 : (r.opcode == effGetProgramNameIndexed ? 32 : 1);
    for (int i = 0; i < count; ++i) {
      const std::string text = HostText(host, r.opcode, i, r.smallest);
      EXPECT_EQ(HostText(host, r.opcode, i, 512), text) << "cut to fit: opcode " << r.opcode;
      if (r.opcode == effGetParamName) {
        EXPECT_FALSE(text.empty()) << i;
      }
    }
  }
  EXPECT_EQ(HostText(host, effGetProgramName, 0, 25), "A program name far longe");
  EXPECT_EQ(HostText(host, effGetParamName, 104, 64), "Random root note");
  EXPECT_EQ(HostText(host, effGetParamDisplay, 107, 64), "Each 8-th bar");
  EXPECT_EQ(HostText(host, effGetParamLabel, 0, 9), "db");
  EXPECT_EQ(host.ParamDisplay(0), "0.0");
  EXPECT_EQ(host.ParamName(46), "Step B8");
  EXPECT_EQ(host.ParamName(102), "Note C16");
  EXPECT_EQ(host.ParamLabel(105), "Oct");
  host.SetParameter(23, 61.0f / 127.0f);
  EXPECT_EQ(host.ParamDisplay(23), "C#5");
  host.SetParameter(3, 0.5f);
  EXPECT_EQ(host.ParamDisplay(3), "25.0");
  EXPECT_EQ(host.ParamLabel(3), "Cnt");
}

TEST_F(ModuleTest, AutomationReadsBackAndBadValuesAreSafe) {
  host.SetParameter(1, 0.25f);
  EXPECT_FLOAT_EQ(host.GetParameter(1), 0.25f);
  EXPECT_EQ(host.ParamDisplay(1), "25.0");
  host.SetParameter(1, 1.5f);
  EXPECT_FLOAT_EQ(host.GetParameter(1), 1.0f);
  host.SetParameter(1, -3.0f);
  EXPECT_FLOAT_EQ(host.GetParameter(1), 0.0f);
  host.SetParameter(1, std::numeric_limits<float>::quiet_NaN());
  host.SetParameter(1, std::numeric_limits<float>::infinity());
  EXPECT_FLOAT_EQ(host.GetParameter(1), 0.0f);
  host.SetParameter(-1, 0.5f);
  host.SetParameter(108, 0.5f);
  host.SetParameter(1 << 30, 0.5f);
  EXPECT_EQ(host.GetParameter(108), 0.0f);
  EXPECT_EQ(host.ParamName(108), "");
  EXPECT_EQ(host.ParamDisplay(-7), "");
  EXPECT_TRUE(host.Automation().empty()) << "host-set values are not echoed back";
}

TEST_F(ModuleTest, CapabilitiesAndPins) {
  char events[] = "receiveVstEvents", midi[] = "receiveVstMidiEvent", other[] = "sendVstEvents";
  EXPECT_EQ(host.Dispatch(effCanDo, 0, 0, events), 1);
  EXPECT_EQ(host.Dispatch(effCanDo, 0, 0, midi), 1);
  EXPECT_EQ(host.Dispatch(effCanDo, 0, 0, other), -1);
  EXPECT_EQ(host.Dispatch(effCanDo, 0, 0, nullptr), -1);
  VstPinProperties pin{};
  EXPECT_EQ(host.Dispatch(effGetOutputProperties, 1, 0, &pin), 1);
  EXPECT_STREQ(pin.label, "KEST 2");
  EXPECT_EQ(pin.flags, kVstPinIsActive | kVstPinIsStereo);
  EXPECT_EQ(host.Dispatch(effGetOutputProperties, 2, 0, &pin), 0);
  EXPECT_EQ(host.Dispatch(effGetInputProperties, 0, 0, &pin), 0);
  EXPECT_EQ(host.Dispatch(effKeysRequired), 1);
  EXPECT_EQ(host.Dispatch(effProcessEvents, 0, 0, nullptr), 1);
}

// The module has its editor where the editor's toolkit and a display backend
// are built (X11 on Linux, Win32 on Windows).
#ifdef KEST_MODULE_HAS_EDITOR
constexpr bool kHasEditor = true;
#else
constexpr bool kHasEditor = false;
#endif

TEST_F(ModuleTest, EditorRequestsAreAnsweredSafely) {
  EXPECT_EQ((e->flags & effFlagsHasEditor) != 0, kHasEditor);
  EXPECT_EQ(host.Dispatch(effEditGetRect, 0, 0, nullptr), 0);
  ERect* rect = reinterpret_cast<ERect*>(0x10);
  if (kHasEditor) {
    ASSERT_EQ(host.Dispatch(effEditGetRect, 0, 0, &rect), 1);
    EXPECT_EQ(rect->right - rect->left, 494);
    EXPECT_EQ(rect->bottom - rect->top, 383);
  } else {
    EXPECT_EQ(host.Dispatch(effEditGetRect, 0, 0, &rect), 0);
    EXPECT_EQ(rect, reinterpret_cast<ERect*>(0x10));
  }
  EXPECT_EQ(host.Dispatch(effEditOpen, 0, 0, nullptr), 0) << "no parent window";
  host.Dispatch(effEditIdle);
  host.Dispatch(effEditClose);
  EXPECT_EQ(host.Dispatch(effEditKeyDown, 'a', 0, nullptr, 0.0f), 0);
}

TEST_F(ModuleTest, ResumeAsksForMidi) {
  host.Resume();
  EXPECT_EQ(host.CallCount(audioMasterWantMidi), 1);
  host.Suspend();
  host.Suspend(); // a scanner may suspend what it never resumed
  host.Resume();
  EXPECT_EQ(host.CallCount(audioMasterWantMidi), 2);
}

TEST(ModuleEntry, RefusesAHostWithoutVersionAndOpensManyInstances) {
  kest::host::PluginModule module(KEST_MODULE_PATH);
  kest::host::VstHost refused;
  EXPECT_EQ(refused.Open(module.Entry(), 0), nullptr);
  std::vector<std::unique_ptr<kest::host::VstHost>> hosts;
  for (int i = 0; i < 8; ++i) {
    hosts.push_back(std::make_unique<kest::host::VstHost>());
    ASSERT_NE(hosts.back()->Open(module.Entry()), nullptr);
  }
  hosts[3]->Dispatch(effSetProgram, 0, 4);
  EXPECT_EQ(hosts[2]->ProgramName(), "Hyper flanger") << "instances are independent";
  EXPECT_EQ(hosts[3]->ProgramName(), "Full chaos");
  hosts.clear();
  for (int i = 0; i < 200; ++i) {
    kest::host::VstHost h;
    ASSERT_NE(h.Open(module.Entry()), nullptr);
  }
}

// Hosts look the entry point up under any of three names.
TEST(ModuleEntry, ExportedUnderEveryNameHostsLookUp) {
  for (const char* name : {"VSTPluginMain", "VstPluginMain", "main"}) {
#if defined(_WIN32)
    std::string path = KEST_MODULE_PATH;
    std::replace(path.begin(), path.end(), '/', '\\');
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    ASSERT_NE(module, nullptr);
    auto entry = reinterpret_cast<VstPluginMainProc>(
        reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
#else
    void* module = dlopen(KEST_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(module, nullptr) << dlerror();
    auto entry = reinterpret_cast<VstPluginMainProc>(dlsym(module, name));
#endif
    EXPECT_NE(entry, nullptr) << name;
    if (entry != nullptr) {
      kest::host::VstHost host;
      EXPECT_NE(host.Open(entry), nullptr) << name;
    }
#if defined(_WIN32)
    FreeLibrary(module);
#else
    dlclose(module);
#endif
  }
}

TEST(ModuleEntry, RejectsFilesThatAreNotPlugins) {
  EXPECT_THROW(kest::host::PluginModule("/nonexistent/Kestrelphon.so"), std::runtime_error);
  EXPECT_THROW(kest::host::PluginModule("libm.so.6"), std::runtime_error);
}

} // namespace
