// The host harness on a plug-in that is not ours, from a Debian package.
#include <cmath>
#include <filesystem>

#include <gtest/gtest.h>

#include "VstHost.h"

namespace {

constexpr const char* kThirdParty = "/usr/lib/vst/lsp-plugins/comp-delay-stereo.so";

TEST(ThirdParty, ListsParametersAndProcessesAudio) {
  if (!std::filesystem::exists(kThirdParty)) {
    GTEST_SKIP() << kThirdParty << " is not installed (Debian package lsp-plugins-vst)";
  }
  kest::host::PluginModule module(kThirdParty);
  kest::host::VstHost host;
  host.SetStrictTexts(false);
  AEffect* e = host.Open(module.Entry());
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->numInputs, 2);
  EXPECT_EQ(e->numOutputs, 2);
  ASSERT_GT(e->numParams, 0);
  for (int i = 0; i < e->numParams; ++i)
    EXPECT_FALSE(host.ParamName(i).empty()) << i;
  EXPECT_FALSE(host.EffectName().empty());
  host.SetSampleRate(48000.0f);
  host.SetBlockSize(256);
  host.Resume();
  std::vector<float> in(256), l(256), r(256);
  double energy = 0;
  for (int block = 0; block < 200; ++block) {
    for (int i = 0; i < 256; ++i)
      in[i] = std::sin(0.05f * static_cast<float>(block * 256 + i));
    host.Process(in.data(), in.data(), l.data(), r.data(), 256);
    for (float v : l) {
      ASSERT_TRUE(std::isfinite(v));
      energy += v * v;
    }
  }
  EXPECT_GT(energy, 0.0) << "the delay compensator passes the signal";
  host.Suspend();
  host.Close();
}

} // namespace
