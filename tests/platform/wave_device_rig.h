// What a wave device test needs around the device: a hidden window that
// collects the block-done messages, and prepared blocks kept alive for it.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <vector>

#include "platform/wave_out.h"
#include "platform/window_messages.h"

namespace kelvarok::testing {

class DoneWindow {
 public:
  explicit DoneWindow(WindowMessages& messages) {
    WNDCLASSA window_class;
    window_class.lpszClassName = "Callback";
    window_class.lpfnWndProc = [this](HWND, std::uint32_t message, WPARAM, LPARAM l) {
      if (message == MM_WOM_DONE) done.push_back(reinterpret_cast<WAVEHDR*>(l));
      return LRESULT{0};
    };
    messages.RegisterClassA(window_class);
    handle = messages.CreateWindowA("Callback", "", 0);
  }
  DoneWindow(const DoneWindow&) = delete;
  DoneWindow& operator=(const DoneWindow&) = delete;

  HWND handle = 0;
  // The blocks reported done, in the order of their messages.
  std::vector<WAVEHDR*> done;
};

class TestBlocks {
 public:
  // A block of size bytes of value, prepared on the open device handle.
  WAVEHDR* Make(WaveOut& device, HWAVEOUT handle, std::size_t size, std::uint8_t value) {
    auto& bytes = buffers_.emplace_back(size, value);
    auto& header = headers_.emplace_back();
    header.lpData = reinterpret_cast<char*>(bytes.data());
    header.dwBufferLength = static_cast<std::uint32_t>(size);
    EXPECT_EQ(device.waveOutPrepareHeader(handle, &header), 0u);
    return &header;
  }

 private:
  std::deque<std::vector<std::uint8_t>> buffers_;
  std::deque<WAVEHDR> headers_;
};

}  // namespace kelvarok::testing
