#include "platform/window_messages.h"

#include <cctype>

namespace kelvarok {

namespace {
// Window class names compare without regard to case.
std::string Folded(const std::string& name) {
  std::string folded = name;
  for (char& c : folded) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return folded;
}
}  // namespace

bool WindowMessages::RegisterClassA(const WNDCLASSA& window_class) {
  std::lock_guard lock(mutex_);
  if (window_class.lpszClassName.empty() || !window_class.lpfnWndProc) {
    last_error_ = ERROR_CANNOT_FIND_WND_CLASS;
    return false;
  }
  if (!classes_.emplace(Folded(window_class.lpszClassName), window_class.lpfnWndProc).second) {
    last_error_ = ERROR_CLASS_ALREADY_EXISTS;
    return false;
  }
  return true;
}

bool WindowMessages::UnregisterClassA(const std::string& class_name) {
  std::lock_guard lock(mutex_);
  return classes_.erase(Folded(class_name)) == 1;
}

HWND WindowMessages::CreateWindowA(const std::string& class_name, const std::string&,
                                   std::uint32_t) {
  std::lock_guard lock(mutex_);
  const std::string key = Folded(class_name);
  if (classes_.count(key) == 0) {
    last_error_ = ERROR_CANNOT_FIND_WND_CLASS;
    return 0;
  }
  const HWND window = next_window_++;
  windows_.emplace(window, key);
  return window;
}

bool WindowMessages::DestroyWindow(HWND window) {
  std::lock_guard lock(mutex_);
  return windows_.erase(window) == 1;
}

bool WindowMessages::IsWindow(HWND window) const {
  std::lock_guard lock(mutex_);
  return windows_.count(window) == 1;
}

bool WindowMessages::PostMessageA(HWND window, std::uint32_t message, WPARAM w, LPARAM l) {
  std::function<void()> wake;
  {
    std::lock_guard lock(mutex_);
    if (windows_.count(window) == 0) return false;
    queue_.push_back(MSG{window, message, w, l});
    wake = wake_;
  }
  if (wake) wake();
  return true;
}

std::size_t WindowMessages::DispatchPending() {
  std::size_t waiting = PendingCount();
  std::size_t delivered = 0;
  while (waiting-- > 0) {
    MSG msg;
    WNDPROC procedure;
    {
      std::lock_guard lock(mutex_);
      if (queue_.empty()) break;
      msg = queue_.front();
      queue_.pop_front();
      const auto window = windows_.find(msg.hwnd);
      if (window == windows_.end()) continue;
      const auto window_class = classes_.find(window->second);
      if (window_class == classes_.end()) continue;
      procedure = window_class->second;
    }
    ++delivered;
    procedure(msg.hwnd, msg.message, msg.wParam, msg.lParam);
  }
  return delivered;
}

std::size_t WindowMessages::PendingCount() const {
  std::lock_guard lock(mutex_);
  return queue_.size();
}

void WindowMessages::SetWakeHook(std::function<void()> hook) {
  std::lock_guard lock(mutex_);
  wake_ = std::move(hook);
}

}  // namespace kelvarok
