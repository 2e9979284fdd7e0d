// A harness session on the minimal plug-in of fake_plugin/, which records how the session drives
// it into the test's log: the fixture of the session and stream tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "harness/HostSession.h"
#include "harness/fake_plugin/FakeFilterLog.h"

namespace quorlin_harness {

class SessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::memset(&log_, 0, sizeof(log_));
    char address[32];
    std::snprintf(address, sizeof(address), "%lx",
                  static_cast<unsigned long>(reinterpret_cast<uintptr_t>(&log_)));
    SetEnvironmentVariableA(kFakeFilterLogVariable, address);
    options_.aufPath = FAKE_AUF_PATH;
    options_.maxWidth = 64;
    options_.maxHeight = 48;
    options_.threads = 3;
  }

  // A YC48 frame whose pixels all differ, so a moved or dropped pixel shows.
  std::vector<PIXEL_YC> Frame(int width, int height) const {
    std::vector<PIXEL_YC> pixels(width * height);
    for (int i = 0; i < width * height; ++i)
      pixels[i] = PIXEL_YC{static_cast<int16_t>(i), static_cast<int16_t>(-i),
                           static_cast<int16_t>(i * 3)};
    return pixels;
  }

  bool Process(HostSession &session, const std::vector<PIXEL_YC> &pixels, int width,
               int height) const {
    FrameInput input;
    input.pixels = pixels.data();
    input.width = width;
    input.height = height;
    input.strideBytes = width * sizeof(PIXEL_YC);
    return session.ProcessFrame(input);
  }

  PIXEL_YC OutputPixel(const HostSession &session, int x, int y) const {
    const FrameView view = session.Output();
    PIXEL_YC pixel;
    std::memcpy(&pixel, view.pixels + view.strideBytes * y + x * sizeof(PIXEL_YC), sizeof(pixel));
    return pixel;
  }

  FakeFilterLog log_;
  HostSessionOptions options_;
};

}  // namespace quorlin_harness
