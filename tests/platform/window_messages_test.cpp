// Window classes, hidden windows and the message queue.
#include <gtest/gtest.h>

#include <thread>

#include "platform/window_messages.h"

namespace kelvarok {
namespace {

TEST(WindowMessages, PostedMessagesReachTheirWindowInOrder) {
  WindowMessages messages;
  std::vector<std::pair<HWND, WPARAM>> seen;
  WNDCLASSA window_class;
  window_class.lpszClassName = "WavMix32";
  window_class.lpfnWndProc = [&](HWND window, std::uint32_t, WPARAM w, LPARAM) {
    seen.emplace_back(window, w);
    if (w == 2) messages.PostMessageA(window, 1, 99, 0);  // waits for the next round
    return LRESULT{0};
  };
  ASSERT_TRUE(messages.RegisterClassA(window_class));
  EXPECT_FALSE(messages.RegisterClassA(window_class));
  EXPECT_EQ(messages.GetLastError(), ERROR_CLASS_ALREADY_EXISTS);

  const HWND a = messages.CreateWindowA("wavmix32", "", WS_DISABLED);
  const HWND b = messages.CreateWindowA("WavMix32", "", WS_DISABLED);
  EXPECT_EQ(messages.CreateWindowA("Nothing", "", 0), 0u);
  int wakes = 0;
  messages.SetWakeHook([&] { ++wakes; });
  EXPECT_TRUE(messages.PostMessageA(a, 1, 1, 0));
  EXPECT_TRUE(messages.PostMessageA(b, 1, 2, 0));
  EXPECT_TRUE(messages.PostMessageA(a, 1, 3, 0));
  EXPECT_FALSE(messages.PostMessageA(12345, 1, 4, 0));
  EXPECT_EQ(wakes, 3);
  EXPECT_EQ(messages.DispatchPending(), 3u);
  EXPECT_EQ(seen, (std::vector<std::pair<HWND, WPARAM>>{{a, 1}, {b, 2}, {a, 3}}));
  messages.PostMessageA(a, 1, 5, 0);
  messages.DestroyWindow(b);
  EXPECT_EQ(messages.DispatchPending(), 1u) << "the message for the destroyed window is dropped";
  EXPECT_EQ(seen.back(), (std::pair<HWND, WPARAM>{a, 5}));
}

TEST(WindowMessages, OtherThreadsMayPost) {
  WindowMessages messages;
  int delivered = 0;
  WNDCLASSA window_class;
  window_class.lpszClassName = "Counter";
  window_class.lpfnWndProc = [&](HWND, std::uint32_t, WPARAM, LPARAM) {
    ++delivered;
    return LRESULT{0};
  };
  messages.RegisterClassA(window_class);
  const HWND window = messages.CreateWindowA("Counter", "", 0);
  std::thread poster([&] {
    for (int i = 0; i < 1000; ++i) messages.PostMessageA(window, 1, 0, 0);
  });
  poster.join();
  messages.DispatchPending();
  EXPECT_EQ(delivered, 1000);
}

TEST(WindowMessages, AnExceptionLeavesTheRestQueued) {
  WindowMessages messages;
  int delivered = 0;
  WNDCLASSA window_class;
  window_class.lpszClassName = "Thrower";
  window_class.lpfnWndProc = [&](HWND, std::uint32_t message, WPARAM, LPARAM) -> LRESULT {
    if (message == 1) throw std::runtime_error("handler failed");
    ++delivered;
    return 0;
  };
  messages.RegisterClassA(window_class);
  const HWND window = messages.CreateWindowA("Thrower", "", 0);
  messages.PostMessageA(window, 1, 0, 0);
  messages.PostMessageA(window, 2, 0, 0);
  EXPECT_THROW(messages.DispatchPending(), std::runtime_error);
  EXPECT_EQ(messages.PendingCount(), 1u);
  messages.DispatchPending();
  EXPECT_EQ(delivered, 1);
}

}  // namespace
}  // namespace kelvarok
