// GoogleTest's hook for platform adaptations, found before its own empty one.
// MinGW-w64's win32 threading model has no std::mutex or
// std::condition_variable, which GoogleTest's Notification is built on; this
// Notification waits on a Win32 event instead.
#pragma once

#include <windows.h>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing {
namespace internal {
class Notification {
  public:
    Notification() : event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~Notification() { CloseHandle(event_); }
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;

    void Notify() { SetEvent(event_); }
    void WaitForNotification() { WaitForSingleObject(event_, INFINITE); }

  private:
    HANDLE event_;
};
} // namespace internal
} // namespace testing
