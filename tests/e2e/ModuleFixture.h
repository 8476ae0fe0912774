#pragma once
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "VstHost.h"

// The built module, opened as a host opens it.
struct ModuleTest : ::testing::Test {
  static inline std::unique_ptr<kest::host::PluginModule> module;
  kest::host::VstHost host;
  AEffect* e = nullptr;

  static void SetUpTestSuite() {
    if (!module) module = std::make_unique<kest::host::PluginModule>(KEST_MODULE_PATH);
  }
  void SetUp() override {
    e = host.Open(module->Entry());
    ASSERT_NE(e, nullptr);
    host.SetSampleRate(44100.0f);
    host.SetBlockSize(256);
  }

  // Sets a parameter by the value its display shows, searching the normalised range.
  void SetDisplayed(int index, const std::string& display) {
    for (int k = 0; k <= 4096; ++k) {
      host.SetParameter(index, k / 4096.0f);
      if (host.ParamDisplay(index) == display) return;
    }
    FAIL() << "no value of parameter " << index << " shows " << display;
  }

  std::pair<std::vector<float>, std::vector<float>> Run(const std::vector<float>& in,
                                                        int block = 256) {
    std::vector<float> l(in.size()), r(in.size());
    for (std::size_t at = 0; at < in.size(); at += block) {
      const int n = static_cast<int>(std::min<std::size_t>(block, in.size() - at));
      host.Process(in.data() + at, in.data() + at, l.data() + at, r.data() + at, n);
    }
    return {l, r};
  }

  static std::vector<float> Noise(std::size_t n, unsigned seed = 5) {
    std::vector<float> v(n);
    for (auto& x : v) {
      seed = seed * 1664525u + 1013904223u;
      x = static_cast<float>(static_cast<int>(seed >> 9) % 2001 - 1000) / 2000.0f;
    }
    return v;
  }
};
