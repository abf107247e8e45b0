// The little of a window system the mixer needs: window classes, hidden windows
// that receive messages, and a message queue that is filled from any thread and
// emptied on the user-interface thread.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>

namespace kelvarok {

using HWND = std::uintptr_t;  // 0 is no window
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using WNDPROC = std::function<LRESULT(HWND, std::uint32_t, WPARAM, LPARAM)>;

constexpr std::uint32_t ERROR_CLASS_ALREADY_EXISTS = 1410;
constexpr std::uint32_t ERROR_CANNOT_FIND_WND_CLASS = 1407;
constexpr std::uint32_t WS_DISABLED = 0x08000000;

// The registration record of a window class. The cursor and background brush
// are kept only so that callers can state them; nothing is ever painted.
struct WNDCLASSA {
  std::uint32_t style = 0;
  WNDPROC lpfnWndProc;
  std::string hCursor;
  std::string hbrBackground;
  std::string lpszClassName;
};

struct MSG {
  HWND hwnd = 0;
  std::uint32_t message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
};

class WindowMessages {
 public:
  virtual ~WindowMessages() = default;

  // False when the class exists already or has no name; GetLastError says why.
  virtual bool RegisterClassA(const WNDCLASSA& window_class);
  bool UnregisterClassA(const std::string& class_name);
  // A hidden window of a registered class, or 0 (GetLastError says why).
  virtual HWND CreateWindowA(const std::string& class_name, const std::string& title,
                             std::uint32_t style);
  bool DestroyWindow(HWND window);
  bool IsWindow(HWND window) const;
  std::uint32_t GetLastError() const { return last_error_; }

  // Queues a message for a window; safe to call from any thread. False when the
  // window does not exist.
  bool PostMessageA(HWND window, std::uint32_t message, WPARAM w, LPARAM l);
  // Delivers, on the calling (user-interface) thread, the messages queued when
  // it was called; messages posted meanwhile wait for the next call. Messages
  // for windows destroyed in between are dropped. Returns the number delivered.
  // An exception from a window procedure leaves the rest queued.
  std::size_t DispatchPending();
  std::size_t PendingCount() const;

  // Called (on the posting thread) whenever a message is queued, so that the
  // host's event loop can wake up and call DispatchPending.
  void SetWakeHook(std::function<void()> hook);

  static LRESULT DefWindowProcA(HWND, std::uint32_t, WPARAM, LPARAM) { return 0; }

 protected:
  void SetLastError(std::uint32_t error) { last_error_ = error; }

 private:
  mutable std::mutex mutex_;
  std::map<std::string, WNDPROC> classes_;
  std::map<HWND, std::string> windows_;
  std::deque<MSG> queue_;
  HWND next_window_ = 1;
  std::uint32_t last_error_ = 0;
  std::function<void()> wake_;
};

}  // namespace kelvarok
